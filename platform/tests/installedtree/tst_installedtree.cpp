#include "InstalledTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QFile::Permissions kGroupOrOther = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                         | QFile::WriteOther | QFile::ExeOther;

// An installed tree as the install rules lay it out, in miniature.
struct Installed
{
    QTemporaryDir dir;
    QString program;

    Installed()
    {
        program = dir.filePath(QStringLiteral("lib/vireda"));
        QDir().mkpath(program + QStringLiteral("/Plugins_dll/Forms"));
        QDir().mkpath(program + QStringLiteral("/Translations/Deutsch"));
        QDir().mkpath(program + QStringLiteral("/Content"));
        writeFile(program + QStringLiteral("/vireda"), "program");
        writeFile(program + QStringLiteral("/ViredaClientNetwork.jar"), "jar");
        writeFile(program + QStringLiteral("/Plugins_dll/Forms/Tutor.dll"), "form");
        QFile::link(QStringLiteral("Plugins_dll"), program + QStringLiteral("/plugins_dll"));
        writeFile(program + QLatin1Char('/') + QLatin1String(InstalledTree::MarkerFile), "");
    }
};

} // namespace

class TestInstalledTree : public QObject
{
    Q_OBJECT

private slots:
    void onlyMarkedTreesAreInstalled()
    {
        Installed installed;
        QVERIFY(InstalledTree::isInstalled(installed.program));
        QVERIFY(QFile::remove(installed.program + QLatin1Char('/') + QLatin1String(InstalledTree::MarkerFile)));
        QVERIFY(!InstalledTree::isInstalled(installed.program));
    }

    // The first start lays out the learner's tree: links to the read-only
    // parts, the learner's own Content, all of it private.
    void firstStart()
    {
        Installed installed;
        QTemporaryDir data;
        const QString tree = data.filePath(QStringLiteral("Quorvantel/Vireda"));
        QString error;
        QVERIFY2(InstalledTree::prepare(installed.program, tree, &error), qPrintable(error));

        const QDir dir(tree);
        for (const char* name : {"vireda", "ViredaClientNetwork.jar", "Plugins_dll", "Translations", "plugins_dll"}) {
            const QFileInfo entry(dir.filePath(QLatin1String(name)));
            QVERIFY2(entry.isSymLink(), name);
            QCOMPARE(entry.symLinkTarget(), QDir(installed.program).absoluteFilePath(QLatin1String(name)));
        }
        QCOMPARE(readFile(dir.filePath(QStringLiteral("plugins_dll/Forms/Tutor.dll"))), QByteArray("form"));
        QVERIFY(!QFileInfo::exists(dir.filePath(QLatin1String(InstalledTree::MarkerFile))));
        const QFileInfo content(dir.filePath(QStringLiteral("Content")));
        QVERIFY(content.isDir() && !content.isSymLink());
        QCOMPARE(content.permissions() & kGroupOrOther, QFile::Permissions());
        QCOMPARE(QFileInfo(tree).permissions() & kGroupOrOther, QFile::Permissions());
    }

    // A later start after an install elsewhere re-points the links and keeps
    // everything the learner made.
    void laterStartKeepsTheLearnersFiles()
    {
        Installed first;
        QTemporaryDir data;
        const QString tree = data.filePath(QStringLiteral("tree"));
        QVERIFY(InstalledTree::prepare(first.program, tree, nullptr));
        const QDir dir(tree);
        QVERIFY(writeFile(dir.filePath(QStringLiteral("vireda.db")), "learner's database"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("Content/learner_1.wav")), "recording"));
        // A file of the learner's that happens to share a name with an installed one stays.
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("ViredaClientNetwork.jar"))));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("ViredaClientNetwork.jar")), "learner's"));

        Installed second;
        QVERIFY(writeFile(second.program + QStringLiteral("/vireda.db"), "never linked over the learner's"));
        QString error;
        QVERIFY2(InstalledTree::prepare(second.program, tree, &error), qPrintable(error));
        QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("vireda"))).symLinkTarget(),
                 QDir(second.program).absoluteFilePath(QStringLiteral("vireda")));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("vireda.db"))), QByteArray("learner's database"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("Content/learner_1.wav"))), QByteArray("recording"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("ViredaClientNetwork.jar"))), QByteArray("learner's"));
    }

    void unwritableDataFolderIsReported()
    {
        Installed installed;
        QTemporaryDir data;
        QVERIFY(writeFile(data.filePath(QStringLiteral("file")), "not a folder"));
        QString error;
        QVERIFY(!InstalledTree::prepare(installed.program, data.filePath(QStringLiteral("file/tree")), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestInstalledTree)
#include "tst_installedtree.moc"
