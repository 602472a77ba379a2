#include "PrivateFiles.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>
#include <sys/types.h>

namespace {

const char* const kDatabase = "vireda.db";
const char* const kContent = "Content";

const QFileDevice::Permissions kGroupOther = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                             | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

bool makeOwnerOnly(const QFileInfo& info)
{
    const QFileDevice::Permissions now = info.permissions();
    if (!(now & kGroupOther))
        return false;
    return QFile::setPermissions(info.absoluteFilePath(), now & ~kGroupOther);
}

} // namespace

void PrivateFiles::restrictNewFiles()
{
    ::umask(077);
}

bool PrivateFiles::isDatabaseFile(const QString& name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^vireda\\.db(\\.bak\\d*|\\.damaged\\d*)?(-wal|-shm|-journal)?$"));
    return pattern.match(name).hasMatch();
}

QStringList PrivateFiles::tighten(const QDir& home)
{
    QStringList changed;
    const QFileInfoList entries = home.entryInfoList({QString::fromLatin1(kDatabase) + QLatin1Char('*')},
                                                     QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& info : entries)
        if (isDatabaseFile(info.fileName()) && makeOwnerOnly(info))
            changed << info.fileName();

    const QFileInfo content(home.filePath(QLatin1String(kContent)));
    if (!content.isDir() || content.isSymLink())
        return changed;
    if (makeOwnerOnly(content))
        changed << QLatin1String(kContent);
    QDirIterator it(content.absoluteFilePath(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (!info.isSymLink() && makeOwnerOnly(info))
            changed << home.relativeFilePath(info.absoluteFilePath());
    }
    return changed;
}

QStringList PrivateFiles::removeStaleTemporaries(const QDir& home)
{
    static const QRegularExpression recording(QStringLiteral("^\\.store-[A-Za-z0-9]{6}$"));
    static const QRegularExpression list(QStringLiteral("^.+\\.xml\\.[A-Za-z0-9]{6}$"));
    QStringList removed;
    const QFileInfo content(home.filePath(QLatin1String(kContent)));
    if (!content.isDir() || content.isSymLink())
        return removed;
    QDirIterator it(content.absoluteFilePath(), QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if ((recording.match(name).hasMatch() || list.match(name).hasMatch()) && QFile::remove(it.filePath()))
            removed << home.relativeFilePath(it.filePath());
    }
    return removed;
}
