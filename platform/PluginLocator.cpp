#include "PluginLocator.h"

#include "PluginFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Replaces each directory component below base with the entry of that
// directory whose name matches without regard to case.
QString matchCase(const QString& absolute)
{
    QFileInfo info(absolute);
    if (info.exists())
        return info.absoluteFilePath();
    const QStringList parts = QDir::cleanPath(absolute).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path = QStringLiteral("/");
    for (const QString& part : parts) {
        QDir dir(path);
        QString next = dir.filePath(part);
        if (!QFileInfo::exists(next)) {
            // Names differing only in case sort in no fixed order: a real
            // entry wins over a link to it, so the answer does not vary.
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
            QString link;
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) != 0)
                    continue;
                if (!QFileInfo(dir.filePath(entry)).isSymLink()) {
                    link.clear();
                    next = dir.filePath(entry);
                    break;
                }
                if (link.isEmpty())
                    link = dir.filePath(entry);
            }
            if (!link.isEmpty())
                next = link;
        }
        path = next;
    }
    return path;
}

} // namespace

QString PluginLocator::fileName(const QString& name)
{
    QString mapped = name;
    mapped.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (mapped.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        mapped = mapped.left(mapped.size() - 4) + QLatin1String(".so");
    return mapped;
}

QString PluginLocator::treeName(const QString& name)
{
    QString mapped = fileName(name);
    const qsizetype folder = PluginFiles::Folder.size();
    if (mapped.startsWith(PluginFiles::Folder, Qt::CaseInsensitive)
        && (mapped.size() == folder || mapped.at(folder) == QLatin1Char('/')))
        mapped.replace(0, folder, PluginFiles::TreeFolder);
    return mapped;
}

QString PluginLocator::resolve(const QString& name)
{
    QString mapped = fileName(name);
    if (QDir::isRelativePath(mapped))
        mapped = QDir::current().absoluteFilePath(mapped);
    return matchCase(QDir::cleanPath(mapped));
}

QObject* PluginLocator::instance(const QString& name)
{
    const QString file = resolve(name);
    if (!QFileInfo::exists(file))
        return nullptr;
    QPluginLoader loader(file);
    return loader.instance();
}
