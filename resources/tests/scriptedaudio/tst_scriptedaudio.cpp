#include "IAudio.h"
#include "PluginLocator.h"
#include "TestTree.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <memory>

namespace {

QObject* scriptedRoot()
{
    return PluginLocator::instance(QStringLiteral("plugins_dll/Managers/ZoAudio.dll"));
}

IAudio* scripted()
{
    return qobject_cast<IAudio*>(scriptedRoot());
}

} // namespace

// The tabs' tests rely on this double's timing and files; it must behave as promised.
class TestScriptedAudio : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestTree> mTree;

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<TestTree>(TestTree::NoPlugins);
        QVERIFY(mTree->isValid());
        QVERIFY(mTree->addPlugin(QStringLiteral("Managers/ZoAudio.so"), QStringLiteral("Managers")));
        mTree->enter();
        QVERIFY2(scripted(), "scripted ZoAudio missing");
        QVERIFY(scriptedRoot()->property("playMs").isValid());
    }

    void cleanup()
    {
        scripted()->stop();
        scriptedRoot()->setProperty("failRecord", false);
        scriptedRoot()->setProperty("calls", QStringList());
    }

    void playLastsAsScripted_data()
    {
        QTest::addColumn<int>("playMs");
        QTest::newRow("short") << 100;
        QTest::newRow("longer") << 400;
    }

    void playLastsAsScripted()
    {
        QFETCH(int, playMs);
        QFile file(mTree->filePath(QStringLiteral("Content/x.wav")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        scriptedRoot()->setProperty("playMs", playMs);
        QElapsedTimer clock;
        clock.start();
        scripted()->play(QStringLiteral("Content"), QStringLiteral("x.wav"));
        QVERIFY(scripted()->isPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(!scripted()->isPlaying(), playMs + 3000);
        QVERIFY(clock.elapsed() >= playMs - 5);
        QCOMPARE(scriptedRoot()->property("calls").toStringList(), QStringList{"play Content/x.wav"});
    }

    void playOfMissingFileDoesNotStart()
    {
        scripted()->play(QStringLiteral("Content"), QStringLiteral("none.wav"));
        QVERIFY(!scripted()->isPlaying());
    }

    void recordWritesARecordingOfItsLength()
    {
        scriptedRoot()->setProperty("recordMs", 300);
        scripted()->record(1, 16000, 30);
        QVERIFY(scripted()->isRecording());
        QTRY_VERIFY_WITH_TIMEOUT(!scripted()->isRecording(), 3000);
        QVERIFY(scripted()->fileExists(QStringLiteral("Content"), QStringLiteral("AudioTemp.tmp")));
        QVERIFY(scripted()->recordingLength() >= 295);
        QString result[2];
        const QString source[2] = {QStringLiteral("Content"), QStringLiteral("AudioTemp.tmp")};
        scripted()->storeRecording(result, source, QStringLiteral("dora"));
        QCOMPARE(result[0], QStringLiteral("Content"));
        QVERIFY(scripted()->fileExists(result[0], result[1]));
    }

    void recordIntoWritesItsOwnFile()
    {
        QFile authored(mTree->filePath(QStringLiteral("Content/AudioTemp.tmp")));
        QVERIFY(authored.open(QIODevice::WriteOnly));
        authored.write("authored");
        authored.close();
        scriptedRoot()->setProperty("recordMs", 200);
        scripted()->recordInto(QStringLiteral("StudentTemp.tmp"), 1, 16000, 30);
        QVERIFY(scripted()->isRecording());
        QTRY_VERIFY_WITH_TIMEOUT(!scripted()->isRecording(), 3000);
        QVERIFY(scripted()->fileExists(QStringLiteral("Content"), QStringLiteral("StudentTemp.tmp")));
        QVERIFY(authored.open(QIODevice::ReadOnly));
        QCOMPARE(authored.readAll(), QByteArray("authored"));
        QCOMPARE(scriptedRoot()->property("calls").toStringList(),
                 QStringList{"recordInto StudentTemp.tmp 1 16000 30"});
    }

    void recordIntoRefusesPaths()
    {
        scripted()->recordInto(QStringLiteral("../StudentTemp.tmp"), 1, 16000, 30);
        QVERIFY(!scripted()->isRecording());
        QVERIFY(!QFile::exists(mTree->filePath(QStringLiteral("StudentTemp.tmp"))));
    }

    void failingRecordLeavesNoFile()
    {
        QFile stale(mTree->filePath(QStringLiteral("Content/AudioTemp.tmp")));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        scriptedRoot()->setProperty("failRecord", true);
        scripted()->record(1, 16000, 30);
        QVERIFY(!scripted()->isRecording());
        QVERIFY(!stale.exists());
    }
};

QTEST_MAIN(TestScriptedAudio)
#include "tst_scriptedaudio.moc"
