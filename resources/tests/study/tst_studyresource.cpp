#include "IStudyResource.h"
#include "PluginLocator.h"
#include "TestTree.h"

#include <QtTest>

#include <memory>

namespace {

IStudyResource* study()
{
    return PluginLocator::load<IStudyResource>(QStringLiteral("plugins_dll/Resources/ZoStudyResource.dll"));
}

QHash<QString, QString> entry(const QString& id)
{
    return {{"Id", id},
            {"Term", "term " + id},
            {"Language", "English"},
            {"Country", "Canada"},
            {"StateProv", "Ontario"},
            {"Locality", "Ottawa"},
            {"Voice", "voice" + id},
            {"MediaPath", "Content"},
            {"MediaName", id + ".wav"}};
}

} // namespace

class TestStudyResource : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestTree> mTree;

    // Runs a script of "+id" (append), "-id" (remove by id), "@row" (remove at) and "clear".
    // Returns the counts that "-id" steps answered.
    QList<int> run(const QStringList& script)
    {
        QList<int> counts;
        for (const QString& step : script) {
            if (step == QLatin1String("clear"))
                study()->clearList();
            else if (step.startsWith(QLatin1Char('+')))
                study()->appendExercise(entry(step.mid(1)));
            else if (step.startsWith(QLatin1Char('-')))
                counts.append(study()->removeById(step.mid(1)));
            else if (step.startsWith(QLatin1Char('@')))
                study()->removeAt(step.mid(1).toInt());
        }
        return counts;
    }

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<TestTree>();
        QVERIFY(mTree->isValid());
        mTree->enter();
        QVERIFY2(study(), "ZoStudyResource missing");
        QCOMPARE(PluginLocator::load<IStudyResource>(QStringLiteral("Plugins_dll/Resources/ZoStudyResource.dll")),
                 study());
    }

    void init()
    {
        study()->clearList();
        study()->setChanged(false);
    }

    void listScripts_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QList<int>>("removed");
        QTest::newRow("order kept") << QStringList{"+3", "+1", "+2"} << QStringList{"3", "1", "2"} << QList<int>{};
        QTest::newRow("duplicates kept") << QStringList{"+1", "+1", "+2", "+1"} << QStringList{"1", "1", "2", "1"}
                                         << QList<int>{};
        QTest::newRow("remove by id takes every copy")
            << QStringList{"+1", "+2", "+1", "+3", "+1", "-1"} << QStringList{"2", "3"} << QList<int>{3};
        QTest::newRow("remove by id, none there")
            << QStringList{"+1", "-9", "-1", "-1"} << QStringList{} << QList<int>{0, 1, 0};
        QTest::newRow("id compared whole") << QStringList{"+1", "+11", "-1"} << QStringList{"11"} << QList<int>{1};
        QTest::newRow("remove at") << QStringList{"+1", "+2", "+3", "@1"} << QStringList{"1", "3"} << QList<int>{};
        QTest::newRow("remove at outside") << QStringList{"+1", "@-1", "@1", "@5"} << QStringList{"1"} << QList<int>{};
        QTest::newRow("clear") << QStringList{"+1", "+2", "clear", "+4"} << QStringList{"4"} << QList<int>{};
    }

    void listScripts()
    {
        QFETCH(QStringList, script);
        QFETCH(QStringList, ids);
        QFETCH(QList<int>, removed);
        QCOMPARE(run(script), removed);
        QCOMPARE(study()->ids(), ids);
        QCOMPARE(study()->count(), ids.size());
        for (int row = 0; row < ids.size(); ++row)
            QCOMPARE(study()->idAt(row), ids.at(row));
    }

    void changedFlag_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QStringList>("step");
        QTest::addColumn<bool>("changed");
        QTest::newRow("append") << QStringList{} << QStringList{"+1"} << true;
        QTest::newRow("remove at") << QStringList{"+1"} << QStringList{"@0"} << true;
        QTest::newRow("remove by id") << QStringList{"+1"} << QStringList{"-1"} << true;
        QTest::newRow("clear") << QStringList{"+1"} << QStringList{"clear"} << true;
        QTest::newRow("remove at outside") << QStringList{"+1"} << QStringList{"@3"} << false;
        QTest::newRow("remove by absent id") << QStringList{"+1"} << QStringList{"-2"} << false;
    }

    void changedFlag()
    {
        QFETCH(QStringList, setup);
        QFETCH(QStringList, step);
        QFETCH(bool, changed);
        run(setup);
        study()->setChanged(false);
        QVERIFY(!study()->isChanged());
        run(step);
        QCOMPARE(study()->isChanged(), changed);
        study()->setChanged(true);
        QVERIFY(study()->isChanged());
    }

    void gettersReadTheAppendedEntry()
    {
        QHash<QString, QString> fields = entry(QStringLiteral("42"));
        fields.insert(QStringLiteral("FromLesson"), QStringLiteral("Lesson A"));
        study()->appendExercise(entry(QStringLiteral("7")));
        study()->appendExercise(fields);
        QCOMPARE(study()->exerciseAt(1), fields);
        QCOMPARE(study()->idAt(1), QStringLiteral("42"));
        QCOMPARE(study()->termAt(1), QStringLiteral("term 42"));
        QCOMPARE(study()->languageAt(1), QStringLiteral("English"));
        QCOMPARE(study()->countryAt(1), QStringLiteral("Canada"));
        QCOMPARE(study()->stateProvAt(1), QStringLiteral("Ontario"));
        QCOMPARE(study()->localityAt(1), QStringLiteral("Ottawa"));
        QCOMPARE(study()->voiceAt(1), QStringLiteral("voice42"));
        QCOMPARE(study()->mediaPathAt(1), QStringLiteral("Content"));
        QCOMPARE(study()->mediaNameAt(1), QStringLiteral("42.wav"));
        QCOMPARE(study()->indexOf(QStringLiteral("42")), 1);
        QCOMPARE(study()->indexOf(QStringLiteral("4")), -1);
        // Rows outside the list answer empty values, never a crash.
        QCOMPARE(study()->idAt(2), QString());
        QCOMPARE(study()->termAt(-1), QString());
        QVERIFY(study()->exerciseAt(5).isEmpty());
    }
};

QTEST_MAIN(TestStudyResource)
#include "tst_studyresource.moc"
