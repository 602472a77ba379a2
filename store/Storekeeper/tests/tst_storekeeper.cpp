#include "tst_storekeeper.h"

#include "IDbManager.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoUser.h"

#include <QSqlQueryModel>
#include <QtTest>

void tst_Storekeeper::init()
{
    f = std::make_unique<StoreFixture>();
    QVERIFY(f->isValid());
}

void tst_Storekeeper::cleanup()
{
    f.reset();
}

void tst_Storekeeper::unknownTypeChangesNothing_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("lower case") << QStringLiteral("exercise");
    QTest::newRow("upper case") << QStringLiteral("LESSON");
    QTest::newRow("blank") << QStringLiteral("User ");
    QTest::newRow("empty") << QString();
    QTest::newRow("plural") << QStringLiteral("Fluencies");
}

void tst_Storekeeper::unknownTypeChangesNothing()
{
    QFETCH(QString, type);
    const QString id = f->addExercise(QStringLiteral("Haus"), QStringLiteral("German"));
    QVERIFY(!id.isEmpty());
    const QStringList before = f->snapshot();
    IDbManager* store = f->store();

    std::unique_ptr<ZoExercise> e(StoreFixture::exercise(QStringLiteral("Baum")));
    QCOMPARE(store->insertExercise(type, e.get()), 0);
    QVERIFY(!store->create(type, {{QStringLiteral("Term"), QStringLiteral("x")}}));
    QVERIFY(!store->insert(type, {{QStringLiteral("Title"), QStringLiteral("x")},
                                  {QStringLiteral("Username"), QStringLiteral("bob")}}));
    QVERIFY(!store->getExercise(type, id));
    QVERIFY(!store->remove(type, {id}));
    QVERIFY(store->select(type, {{QStringLiteral("Username"), QStringLiteral("alice")}}).isEmpty());
    QVERIFY(store->search(type, {}).isEmpty());
    int column = 42;
    QVERIFY(!store->queryModel(type, {}, nullptr, nullptr, &column, nullptr, nullptr));
    QCOMPARE(column, 42);
    QVERIFY(!store->update(type, id, {{QStringLiteral("Id"), id}}));
    QVERIFY(!store->overwrite(type, id, e.get()));
    QCOMPARE(store->markTransferred(type, id, QStringLiteral("up")), 0);
    QCOMPARE(f->snapshot(), before);
}

void tst_Storekeeper::createBuildsObjectsWithoutRows()
{
    IDbManager* store = f->store();
    const QStringList before = f->snapshot();
    std::unique_ptr<QObject> exercise(
        store->create(QStringLiteral("Exercise"), {{QStringLiteral("Term"), QStringLiteral("Katze")},
                                                   {QStringLiteral("Language"), QStringLiteral("German")}}));
    auto* e = qobject_cast<ZoExercise*>(exercise.get());
    QVERIFY(e);
    QCOMPARE(e->term(), QStringLiteral("Katze"));
    QCOMPARE(e->languageId(), QStringLiteral("deu"));
    std::unique_ptr<QObject> lesson(
        store->create(QStringLiteral("Lesson"), {{QStringLiteral("Title"), QStringLiteral("Tiere")},
                                                 {QStringLiteral("EId1"), QStringLiteral("7")}}));
    auto* l = qobject_cast<ZoLesson*>(lesson.get());
    QVERIFY(l);
    QCOMPARE(l->title(), QStringLiteral("Tiere"));
    QCOMPARE(l->exerciseId(0), QStringLiteral("7"));
    QVERIFY(!store->create(QStringLiteral("User"), {{QStringLiteral("Username"), QStringLiteral("x")}}));
    QVERIFY(!store->insert(QStringLiteral("Exercise"), {{QStringLiteral("Term"), QStringLiteral("x")}}));
    QCOMPARE(f->snapshot(), before);
}

void tst_Storekeeper::fixedAnswers()
{
    IDbManager* store = f->store();
    const QString a = f->addExercise(QStringLiteral("Haus"), QStringLiteral("German"));
    const QString b = f->addExercise(QStringLiteral("Maison"), QStringLiteral("French"));
    const QString c = f->addExercise(QStringLiteral("Baum"), QStringLiteral("German"));
    const QStringList before = f->snapshot();
    QVERIFY(store->select(QStringLiteral("Exercise"), {}).isEmpty());
    QVERIFY(store->select(QStringLiteral("Lesson"), {}).isEmpty());
    QVERIFY(store->update(QStringLiteral("Exercise"), a, {{QStringLiteral("Term"), QStringLiteral("x")}}));
    std::unique_ptr<ZoExercise> source(StoreFixture::exercise(QStringLiteral("x")));
    QVERIFY(store->overwrite(QStringLiteral("Lesson"), a, source.get()));
    QVERIFY(store->overwrite(QStringLiteral("User"), a, source.get()));
    QCOMPARE(f->snapshot(), before);
    QCOMPARE(store->dbVersion(), QStringLiteral("2"));
    QStringList languages = store->languagesOf({a, b, c});
    languages.sort();
    QCOMPARE(languages, (QStringList{"French", "German"}));
    QCOMPARE(store->tagList(), (QStringList{"Translation", "Context", "Note"}));
    QString legacy[2] = {QStringLiteral("x"), QStringLiteral("y")};
    store->legacyMediaPath(legacy, a);
    QCOMPARE(legacy[0], QString());
    QCOMPARE(legacy[1], QString());
}

QTEST_MAIN(tst_Storekeeper)
