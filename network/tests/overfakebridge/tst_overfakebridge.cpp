#include "CourierOverFakeBridge.h"
#include "FakePeerReplies.h"
#include "SettingsStore.h"
#include "TestDatabase.h"
#include "TestTree.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QtTest>

#include <memory>

// What a tab test does to have search replies parsed for real.
class TestOverFakeBridge : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestTree> mTree;
    CourierOverFakeBridge mNet;

private slots:
    void initTestCase()
    {
        SettingsStore::configure();
        mTree = std::make_unique<TestTree>();
        QVERIFY(mTree->isValid());
        QVERIFY(TestDatabase::createFile(mTree->filePath(QStringLiteral("vireda.db"))));
        QVERIFY(mNet.install(*mTree));
        mTree->enter();
        QVERIFY(CourierOverFakeBridge::manager());
        QVERIFY(CourierOverFakeBridge::manager()->isNetworkReady());
    }

    void cleanupTestCase()
    {
        CourierOverFakeBridge::unload();
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mTree->restore();
    }

    void exerciseSearchParsed()
    {
        using namespace FakePeerReplies;
        mNet.bridge().queue(QStringLiteral("sendQuery"), exerciseQueryReply(exerciseElement(QStringLiteral("1"))
                                                                                + exerciseElement(QStringLiteral("2")),
                                                                            40));
        int status = 0;
        int total = 0;
        const QList<ZoExercise> found = CourierOverFakeBridge::manager()->queryExercises({{"Term", "chien"}}, &status,
                                                                                         &total);
        QCOMPARE(status, 1);
        QCOMPARE(total, 40);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found.at(1).term(), QStringLiteral("chien 2"));
        QCOMPARE(found.at(1).language(), QStringLiteral("French"));
        QCOMPARE(mNet.bridge().calls().constLast().name, QStringLiteral("sendQuery"));
    }

    void lessonSearchParsed()
    {
        using namespace FakePeerReplies;
        mNet.bridge().queue(QStringLiteral("sendQuery"),
                            lessonQueryReply(lessonElement(QStringLiteral("L-1"), {{"1", "E-1"}, {"2", "E-2"}}), 1));
        int status = 0;
        int total = 0;
        const QList<ZoLesson> found = CourierOverFakeBridge::manager()->queryLessons({{"Title", "t"}}, &status, &total);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.at(0).title(), QStringLiteral("Title L-1"));
        QCOMPARE(found.at(0).persistentExerciseId(1), QStringLiteral("E-2"));
    }
};

QTEST_MAIN(TestOverFakeBridge)
#include "tst_overfakebridge.moc"
