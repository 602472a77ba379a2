#include "PluginLocator.h"

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
            // Sorted with case, so names differing only in case are met in one fixed order.
            const QStringList entries =
                dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    next = dir.filePath(entry);
                    break;
                }
            }
        }
        path = next;
    }
    return path;
}

} // namespace

QString PluginLocator::resolve(const QString& name)
{
    QString mapped = name;
    mapped.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (mapped.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        mapped = mapped.left(mapped.size() - 4) + QLatin1String(".so");
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
