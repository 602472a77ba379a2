#include "HelpPages.h"

#include "ContentGate.h"
#include "SettingsKeys.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

QString HelpPages::language()
{
    const QString stored = QSettings().value(SettingsKeys::UiLanguage).toString();
    return ContentGate::isPlainFileName(stored) ? stored : QString();
}

QStringList HelpPages::searchPaths(const QStringList& paths, const QString& language)
{
    if (!ContentGate::isPlainFileName(language))
        return paths;
    QStringList all;
    for (const QString& path : paths)
        all << QDir(path).filePath(language) << path;
    return all;
}

QString HelpPages::localFile(const QString& path, const QString& language)
{
    if (!ContentGate::isPlainFileName(language))
        return path;
    const QFileInfo page(path);
    const QString local = page.dir().filePath(language + QLatin1Char('/') + page.fileName());
    return QFileInfo(local).isFile() ? local : path;
}
