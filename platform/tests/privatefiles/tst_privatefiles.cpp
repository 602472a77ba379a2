#include "PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QFileDevice::Permissions kOwner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
const QFileDevice::Permissions kShared = kOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
const QFileDevice::Permissions kGroupOther = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                             | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

bool makeFile(const QDir& home, const QString& name, QFileDevice::Permissions permissions = kShared)
{
    if (!QDir().mkpath(QFileInfo(home.filePath(name)).absolutePath()))
        return false;
    QFile file(home.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1 && file.setPermissions(permissions);
}

} // namespace

class TestPrivateFiles : public QObject
{
    Q_OBJECT

private slots:
    void tighten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("own");
        QTest::newRow("database") << "vireda.db" << true;
        QTest::newRow("first-start copy") << "vireda.db.bak" << true;
        QTest::newRow("later copy") << "vireda.db.bak3" << true;
        QTest::newRow("set aside") << "vireda.db.damaged" << true;
        QTest::newRow("set aside, second") << "vireda.db.damaged2" << true;
        QTest::newRow("write-ahead log") << "vireda.db-wal" << true;
        QTest::newRow("shared memory") << "vireda.db-shm" << true;
        QTest::newRow("journal of a copy") << "vireda.db.bak-journal" << true;
        QTest::newRow("recording") << "Content/maria_1.wav" << true;
        QTest::newRow("term list") << "Content/TemplateList/Words.xml" << true;
        QTest::newRow("not ours") << "notes.txt" << false;
        QTest::newRow("similar name") << "vireda.dbx" << false;
        QTest::newRow("program file") << "Translations/x.qm" << false;
    }

    // An existing shared file of the learner's loses group and other rights;
    // the program's other files keep theirs.
    void tighten()
    {
        QFETCH(QString, name);
        QFETCH(bool, own);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QDir home(dir.path());
        QVERIFY(makeFile(home, name));
        QVERIFY(QFile::setPermissions(home.filePath(QStringLiteral(".")), kShared | QFileDevice::ExeOwner));
        if (name.startsWith(QLatin1String("Content/")))
            QVERIFY(QFile::setPermissions(home.filePath(QStringLiteral("Content")), kShared | QFileDevice::ExeOwner
                                                                                        | QFileDevice::ExeGroup
                                                                                        | QFileDevice::ExeOther));

        const QStringList changed = PrivateFiles::tighten(home);
        const QFileDevice::Permissions now = QFileInfo(home.filePath(name)).permissions();
        if (own) {
            QCOMPARE(now & kGroupOther, QFileDevice::Permissions());
            QCOMPARE(now & kOwner, kOwner);
            QVERIFY(changed.contains(name));
        } else {
            QCOMPARE(now & kGroupOther, kShared & kGroupOther);
            QVERIFY(!changed.contains(name));
        }
        if (name.startsWith(QLatin1String("Content/"))) {
            const QFileDevice::Permissions folder = QFileInfo(home.filePath(QStringLiteral("Content"))).permissions();
            QCOMPARE(folder & kGroupOther, QFileDevice::Permissions());
            QVERIFY(folder & QFileDevice::ExeOwner);
        }
        // A second pass finds nothing left to change.
        QVERIFY(PrivateFiles::tighten(home).isEmpty());
    }

    void newFilesAreOwnerOnly()
    {
        const mode_t before = ::umask(022);
        PrivateFiles::restrictNewFiles();
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QDir home(dir.path());
        QVERIFY(home.mkpath(QStringLiteral("Content/TemplateList")));
        QFile file(home.filePath(QStringLiteral("vireda.db")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const mode_t now = ::umask(before);
        QCOMPARE(int(now), 077);
        QCOMPARE(QFileInfo(file.fileName()).permissions() & kGroupOther, QFileDevice::Permissions());
        QCOMPARE(QFileInfo(home.filePath(QStringLiteral("Content/TemplateList"))).permissions() & kGroupOther,
                 QFileDevice::Permissions());
    }

    void staleTemporaries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("removed");
        QTest::newRow("recording on its way") << "Content/.store-Ab12Cd" << true;
        QTest::newRow("term list being replaced") << "Content/TemplateList/Words.xml.x1Y2z3" << true;
        QTest::newRow("recording") << "Content/maria_20260101.wav" << false;
        QTest::newRow("term list") << "Content/TemplateList/Words.xml" << false;
        QTest::newRow("other length") << "Content/.store-Ab12" << false;
        QTest::newRow("beside the folder") << ".store-Ab12Cd" << false;
        QTest::newRow("a list titled like one") << "Content/TemplateList/Words.xml.txt" << false;
    }

    void staleTemporaries()
    {
        QFETCH(QString, name);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QDir home(dir.path());
        QVERIFY(makeFile(home, name));
        QVERIFY(makeFile(home, QStringLiteral("Content/TemplateList/Other.xml")));
        const QStringList gone = PrivateFiles::removeStaleTemporaries(home);
        QCOMPARE(QFileInfo::exists(home.filePath(name)), !removed);
        QCOMPARE(gone, removed ? QStringList{name} : QStringList());
        QVERIFY(QFileInfo::exists(home.filePath(QStringLiteral("Content/TemplateList/Other.xml"))));
    }
};

QTEST_GUILESS_MAIN(TestPrivateFiles)
#include "tst_privatefiles.moc"
