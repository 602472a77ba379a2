#include "TestTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

bool linkEntry(const QString& from, const QString& to)
{
    return QFile::link(from, to);
}

} // namespace

QString TestTree::distPath()
{
    const QString env = qEnvironmentVariable("VIREDA_DIST");
    return env.isEmpty() ? QStringLiteral(VIREDA_DIST_DIR) : env;
}

QString TestTree::testPluginPath()
{
    return QStringLiteral(VIREDA_TEST_PLUGIN_DIR);
}

TestTree::TestTree(Plugins plugins)
{
    if (!mDir.isValid())
        return;
    const QDir dist(distPath());
    const QDir root(mDir.path());
    const QStringList entries = dist.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    for (const QString& entry : entries) {
        const QString lower = entry.toLower();
        if (lower == QLatin1String("plugins_dll") || lower == QLatin1String("content") || lower == QLatin1String("docs")
            || lower == QLatin1String("peerdata") || lower == QLatin1String("vireda-peer.properties")
            || entry.startsWith(QLatin1String("vireda.db")) || entry.endsWith(QLatin1String(".lock"))
            || entry.endsWith(QLatin1String(".log")))
            continue;
        linkEntry(dist.absoluteFilePath(entry), root.filePath(entry));
    }
    root.mkpath(QStringLiteral("Content"));
    root.mkpath(QStringLiteral("config"));
    // docs holds the help pages; Docs is a relative link to it as in the real tree.
    linkEntry(dist.absoluteFilePath(QStringLiteral("docs")), root.filePath(QStringLiteral("docs")));
    QFile::link(QStringLiteral("docs"), root.filePath(QStringLiteral("Docs")));
    for (const QString& sub : {QStringLiteral("Managers"), QStringLiteral("Resources"), QStringLiteral("Forms")}) {
        root.mkpath(QStringLiteral("Plugins_dll/") + sub);
        if (plugins == NoPlugins)
            continue;
        const QDir real(dist.filePath(QStringLiteral("Plugins_dll/") + sub));
        for (const QString& file : real.entryList(QDir::Files))
            linkEntry(real.absoluteFilePath(file),
                      root.filePath(QStringLiteral("Plugins_dll/") + sub + QLatin1Char('/') + file));
    }
    QFile::link(QStringLiteral("Plugins_dll"), root.filePath(QStringLiteral("plugins_dll")));
}

TestTree::~TestTree()
{
    restore();
}

bool TestTree::isValid() const
{
    return mDir.isValid();
}

QString TestTree::path() const
{
    return mDir.path();
}

QString TestTree::filePath(const QString& relative) const
{
    return QDir(mDir.path()).filePath(relative);
}

QString TestTree::configPath() const
{
    return filePath(QStringLiteral("config"));
}

bool TestTree::addPlugin(const QString& file, const QString& subdir, const QString& asName)
{
    const QString source = QDir::isAbsolutePath(file) ? file : QDir(testPluginPath()).filePath(file);
    const QString name = asName.isEmpty() ? QFileInfo(source).fileName() : asName;
    const QString target = filePath(QStringLiteral("Plugins_dll/") + subdir + QLatin1Char('/') + name);
    QFile::remove(target);
    return QFileInfo::exists(source) && QFile::link(source, target);
}

bool TestTree::removePlugin(const QString& subdir, const QString& fileName)
{
    return QFile::remove(filePath(QStringLiteral("Plugins_dll/") + subdir + QLatin1Char('/') + fileName));
}

void TestTree::enter()
{
    if (mEntered)
        return;
    mOldCwd = QDir::currentPath();
    mOldConfig = qgetenv("XDG_CONFIG_HOME");
    QDir::setCurrent(path());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configPath()));
    // QSettings keeps the folder it saw first; point it at this tree's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configPath());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configPath());
    mEntered = true;
}

void TestTree::restore()
{
    if (!mEntered)
        return;
    QDir::setCurrent(mOldCwd);
    if (mOldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", mOldConfig);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
    mEntered = false;
}
