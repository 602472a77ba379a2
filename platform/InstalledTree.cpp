#include "InstalledTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QFile::Permissions kOwnerFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

bool makeOwnerFolder(const QString& path, QString* error)
{
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path)) {
        *error = QStringLiteral("cannot make the folder %1").arg(path);
        return false;
    }
    if (!QFile::setPermissions(path, kOwnerFolder)) {
        *error = QStringLiteral("cannot make the folder %1 private").arg(path);
        return false;
    }
    return true;
}

} // namespace

bool InstalledTree::isInstalled(const QString& programDir)
{
    return QFileInfo(QDir(programDir).filePath(QLatin1String(MarkerFile))).isFile();
}

bool InstalledTree::prepare(const QString& programDir, const QString& dataDir, QString* error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    if (!makeOwnerFolder(dataDir, error))
        return false;
    const QDir source(programDir);
    const QDir target(dataDir);
    const QString content = QStringLiteral("Content");
    const QStringList entries = source.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : entries) {
        if (name == QLatin1String(MarkerFile) || name == content)
            continue;
        const QString linkPath = target.filePath(name);
        const QString wanted = source.absoluteFilePath(name);
        const QFileInfo existing(linkPath);
        if (existing.isSymLink()) {
            if (existing.symLinkTarget() == wanted)
                continue;
            QFile::remove(linkPath); // an earlier install elsewhere
        } else if (existing.exists()) {
            continue; // the learner's own
        }
        if (!QFile::link(wanted, linkPath)) {
            *error = QStringLiteral("cannot link %1 to %2").arg(linkPath, wanted);
            return false;
        }
    }
    return makeOwnerFolder(target.filePath(content), error);
}
