#include "INetManager.h"
#include "PluginLocator.h"
#include "ScriptedNet.h"
#include "SignedInUser.h"
#include "TestDatabase.h"
#include "WizardTestTree.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QtTest>

#include <memory>

using Rows = QList<QHash<QString, QString>>;

// The tabs' tests rely on the scripted network manager's results; it must answer as promised.
class TestScriptedNet : public QObject
{
    Q_OBJECT

    std::unique_ptr<WizardTestTree> mTree;

    static INetManager* net()
    {
        return PluginLocator::load<INetManager>(QStringLiteral("plugins_dll/Managers/Courier.dll"));
    }
    QString file(const QString& name) const { return mTree->tree().filePath(name); }

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<WizardTestTree>();
        QVERIFY(mTree->isValid());
        QVERIFY(TestDatabase::createFile(file(QStringLiteral("vireda.db"))));
        QVERIFY(net());
    }

    void cleanupTestCase()
    {
        SignedInUser::signOut();
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mTree.reset();
    }

    void exerciseResultPages()
    {
        QVERIFY(ScriptedNet::writeRows(
            file("page1.json"),
            Rows{{{"PId", "E-1"}, {"Term", "<b>chien</b>"}, {"Language", "French"}, {"Voice", "bert"}},
                 {{"PId", "E-2"}, {"Term", "chat"}, {"Language", "French"}}}));
        QVERIFY(ScriptedNet::writeRows(file("page2.json"), Rows{{{"PId", "E-3"}, {"Term", "oiseau"}}}));
        QVERIFY(mTree->scriptNet({{"queryExercises", "1 | 1 | 0"},
                                  {"queryExercises.total", "3"},
                                  {"queryExercises.results", "@page1.json | @page2.json | @none.json"}}));
        int status = -5;
        int total = -5;
        QList<ZoExercise> found = net()->queryExercises({{"Term", "c"}}, &status, &total);
        QCOMPARE(status, 1);
        QCOMPARE(total, 3);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found.at(0).pId(), QStringLiteral("E-1"));
        QCOMPARE(found.at(0).term(), QStringLiteral("<b>chien</b>"));
        QCOMPARE(found.at(0).voice(), QStringLiteral("bert"));
        QCOMPARE(found.at(0).languageId(), QStringLiteral("fra"));
        found = net()->queryExercises({}, &status, &total);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.at(0).term(), QStringLiteral("oiseau"));
        found = net()->queryExercises({}, &status, &total);
        QCOMPARE(status, 0);
        QVERIFY(found.isEmpty());
        QCOMPARE(mTree->netCalls(QStringLiteral("queryExercises")).first().hashArg(0),
                 (QHash<QString, QString>{{"Term", "c"}}));
    }

    void lessonResults()
    {
        QVERIFY(ScriptedNet::writeRows(file("lessons.json"), Rows{{{"PId", "L-1"},
                                                                   {"Title", "Animals"},
                                                                   {"Username", "bert"},
                                                                   {"Language", "fra"},
                                                                   {"EId1", "E-1"},
                                                                   {"EId2", "E-2"}},
                                                                  {{"PId", "L-2"}, {"Title", "Empty"}}}));
        QVERIFY(mTree->scriptNet({{"queryLessons.total", "12"}, {"queryLessons.results", "@lessons.json"}}));
        int status = 0;
        int total = 0;
        const QList<ZoLesson> found = net()->queryLessons({}, &status, &total);
        QCOMPARE(status, 1);
        QCOMPARE(total, 12);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found.at(0).title(), QStringLiteral("Animals"));
        QCOMPARE(found.at(0).exerciseCount(), 2);
        QCOMPARE(found.at(0).persistentExerciseId(1), QStringLiteral("E-2"));
        QVERIFY(found.at(0).exerciseId(0).isEmpty());
        QCOMPARE(found.at(1).exerciseCount(), 0);
    }

    void downloadsPerHandle()
    {
        QVERIFY(ScriptedNet::writeText(file("lesson3.xml"), QStringLiteral("<lesson>x | # y</lesson>")));
        QVERIFY(mTree->scriptNet({{"downloadManifest", "3 | 4"},
                                  {"getDownloadStatus.3", "10 | 60 | 100"},
                                  {"getDownloadStatus", "-1"},
                                  {"getDownloadXml.3", "@lesson3.xml"},
                                  {"getTranslationXml", "@missing.xml"}}));
        QCOMPARE(net()->downloadManifest(QStringLiteral("L-1"), QStringLiteral("Lesson")), 3);
        QCOMPARE(net()->downloadManifest(QStringLiteral("L-2"), QStringLiteral("Lesson")), 4);
        QList<int> three;
        for (int i = 0; i < 4; ++i)
            three << net()->getDownloadStatus(3, QStringLiteral("Lesson"));
        QCOMPARE(three, (QList<int>{10, 60, 100, 100}));
        QCOMPARE(net()->getDownloadStatus(4, QStringLiteral("Lesson")), -1);
        QCOMPARE(net()->getDownloadXml(3), QStringLiteral("<lesson>x | # y</lesson>"));
        QVERIFY(net()->getDownloadXml(4).isEmpty());
        QVERIFY(net()->getTranslationXml(3).isEmpty());
    }

    // Like the real manager: the user's local copy is written whatever the network answers.
    void updateFluencyWritesTheStore_data()
    {
        QTest::addColumn<QString>("result");
        QTest::newRow("accepted") << "1";
        QTest::newRow("network down") << "-1";
    }

    void updateFluencyWritesTheStore()
    {
        QFETCH(QString, result);
        QVERIFY(SignedInUser::signIn(QStringLiteral("maria"), {QStringLiteral("French")}));
        QVERIFY(mTree->scriptNet({{"updateFluency", result}}));
        QHash<QString, QString> properties = SignedInUser::properties(QStringLiteral("maria"),
                                                                      {QStringLiteral("French"),
                                                                       QStringLiteral("Italian")});
        properties.insert(QStringLiteral("Id"), SignedInUser::current()->id());
        QCOMPARE(net()->updateFluency(QStringLiteral("maria"), QStringLiteral("secret1"), properties), result.toInt());
        QList<ZoUser*> stored = SignedInUser::store()->select(QStringLiteral("User"), {{"Username", "maria"}});
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first()->fluencyCount(), 2);
        qDeleteAll(stored);
    }
};

QTEST_MAIN(TestScriptedNet)
#include "tst_scriptednet.moc"
