#include "InstalledTree.h"
#include "JavaRuntime.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QFile::Permissions kGroupOrOther = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                         | QFile::WriteOther | QFile::ExeOther;

// Runs a command to its end; its exit code, or -1, with what it printed.
int runTool(const QString& program, const QStringList& arguments, QByteArray* output, int ms = 300000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(ms)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(mPrefix.isValid());
        QByteArray output;
        const int code = runTool(QStringLiteral(VIREDA_CMAKE_COMMAND),
                                 {QStringLiteral("--install"), QStringLiteral(VIREDA_BUILD_DIR),
                                  QStringLiteral("--prefix"), mPrefix.path()},
                                 &output);
        QVERIFY2(code == 0, output.constData());
    }

    // The prefix holds the program's tree, its entry on the PATH and the
    // desktop's files; nothing built only for tests.
    void layout_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("program") << QStringLiteral("lib/vireda/vireda");
        QTest::newRow("on the PATH") << QStringLiteral("bin/vireda");
        QTest::newRow("marker") << QStringLiteral("lib/vireda/vireda-installed");
        QTest::newRow("store") << QStringLiteral("lib/vireda/Plugins_dll/Managers/Storekeeper.so");
        QTest::newRow("form") << QStringLiteral("lib/vireda/plugins_dll/Forms/Tutor.so");
        QTest::newRow("resource") << QStringLiteral("lib/vireda/Plugins_dll/Resources/ZoSILResource.so");
        QTest::newRow("library") << QStringLiteral("lib/vireda/libViredaStore.so");
        QTest::newRow("bridge") << QStringLiteral("lib/vireda/libJavabridge.so");
        QTest::newRow("client") << QStringLiteral("lib/vireda/ViredaClientNetwork.jar");
        QTest::newRow("help") << QStringLiteral("lib/vireda/Docs/html/overview.html");
        QTest::newRow("German help") << QStringLiteral("lib/vireda/Docs/html/Deutsch/overview.html");
        QTest::newRow("translation") << QStringLiteral("lib/vireda/Translations/Deutsch/dravel-Deutsch.qm");
        QTest::newRow("window icon") << QStringLiteral("lib/vireda/Icons/vireda.png");
        QTest::newRow("desktop entry") << QStringLiteral("share/applications/org.vireda.Vireda.desktop");
        QTest::newRow("metadata") << QStringLiteral("share/metainfo/org.vireda.Vireda.metainfo.xml");
        QTest::newRow("icon") << QStringLiteral("share/icons/hicolor/scalable/apps/org.vireda.Vireda.svg");
        QTest::newRow("licence") << QStringLiteral("share/doc/vireda/LICENSE");
    }

    void layout()
    {
        QFETCH(QString, file);
        QVERIFY2(QFileInfo(QDir(mPrefix.path()).filePath(file)).isFile(), qPrintable(file));
    }

    void nothingForTestsOrFromRuns()
    {
        const QDir tree(QDir(mPrefix.path()).filePath(QStringLiteral("lib/vireda")));
        for (const char* name : {"Content", "PeerData", "vireda.db"})
            QVERIFY2(!QFileInfo::exists(tree.filePath(QLatin1String(name))), name);
        QDirIterator it(tree.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            QVERIFY2(!file.contains(QLatin1String("Test")) && !file.contains(QLatin1String("Scripted"))
                         && !file.contains(QLatin1String("Fake")),
                     qPrintable(file));
        }
    }

    void desktopFilesValidate_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry") << QStringLiteral("desktop-file-validate")
                                       << QStringList{QStringLiteral("share/applications/org.vireda.Vireda.desktop")};
        QTest::newRow("metadata") << QStringLiteral("appstreamcli")
                                  << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                 QStringLiteral("share/metainfo/org.vireda.Vireda.metainfo.xml")};
    }

    void desktopFilesValidate()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        const QString program = QStandardPaths::findExecutable(tool);
        QVERIFY2(!program.isEmpty(), qPrintable(tool + QStringLiteral(" is missing (scripts/setup installs it)")));
        for (QString& argument : arguments) {
            if (argument.startsWith(QLatin1String("share/")))
                argument = QDir(mPrefix.path()).filePath(argument);
        }
        QByteArray output;
        QCOMPARE(runTool(program, arguments, &output), 0);
        // Clean: no error, warning or pedantic remark.
        QVERIFY2(!output.contains("E:") && !output.contains("W:") && !output.contains("I:") && !output.contains("P:")
                     && !output.contains("error") && !output.contains("warning"),
                 output.constData());
    }

    // A fresh user's first start makes their own tree under the data folder.
    void firstStartOfTheInstalledProgram()
    {
        if (!JavaRuntime::isUsableHome(JavaRuntime::candidateHome()))
            QSKIP("no Java runtime on this machine");
        QTemporaryDir user;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("VIREDA_HOME"));
        env.insert(QStringLiteral("HOME"), user.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), user.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), user.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("VIREDA_MSGBOX_LOG"), user.filePath(QStringLiteral("boxes.log")));
        env.insert(QStringLiteral("VIREDA_MSGBOX_ANSWERS"), QString());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(user.path());
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QDir(mPrefix.path()).filePath(QStringLiteral("bin/vireda")), {});
        QVERIFY(program.waitForStarted());

        const QDir tree(user.filePath(QStringLiteral("data/Quorvantel/Vireda")));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(tree.filePath(QStringLiteral("vireda.db"))).size() > 0, 60000);
        program.terminate();
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);

        QCOMPARE(QFileInfo(tree.path()).permissions() & kGroupOrOther, QFile::Permissions());
        const QFileInfo content(tree.filePath(QStringLiteral("Content")));
        QVERIFY(content.isDir() && !content.isSymLink());
        const QString installed = QDir(mPrefix.path()).filePath(QStringLiteral("lib/vireda"));
        for (const char* name : {"vireda", "Plugins_dll", "Translations", "ViredaClientNetwork.jar"}) {
            const QFileInfo link(tree.filePath(QLatin1String(name)));
            QVERIFY2(link.isSymLink(), name);
            QCOMPARE(QFileInfo(link.symLinkTarget()).canonicalFilePath(),
                     QFileInfo(QDir(installed).filePath(QLatin1String(name))).canonicalFilePath());
        }
        // The installed tree stays as it was installed.
        QVERIFY(!QFileInfo::exists(QDir(installed).filePath(QStringLiteral("vireda.db"))));
        QVERIFY(!QFileInfo::exists(QDir(installed).filePath(QStringLiteral("PeerData"))));
        // A fresh user is welcomed, and told of nothing amiss.
        QFile boxes(user.filePath(QStringLiteral("boxes.log")));
        QVERIFY(boxes.open(QIODevice::ReadOnly));
        const QByteArray shown = boxes.readAll();
        QVERIFY2(shown.startsWith("information\tWelcome\t") && shown.count('\n') == 1, shown.constData());
    }

private:
    QTemporaryDir mPrefix;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
