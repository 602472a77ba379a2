// The exercise rows read on a thread of their own after sign-in: whatever the
// store writes while the read is under way, the rows taken up are those a
// whole read of the file gives afterwards, and a search before the read has
// ended waits for it.
#include "tst_storekeeper.h"

#include "CountedWrite.h"
#include "ExerciseIndex.h"
#include "ExerciseSnapshot.h"
#include "IDbManager.h"
#include "UploadCounter.h"
#include "ZoDbExercise.h"
#include "ZoDbLesson.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// Every row with every column, then the rows a type-ahead gives, in order.
QStringList contentOf(const std::shared_ptr<const ExerciseSnapshot>& snapshot)
{
    QStringList lines;
    if (!snapshot)
        return {QStringLiteral("<no snapshot>")};
    auto line = [&snapshot](int row) {
        QStringList values;
        for (int column = 0; column < ExerciseSnapshot::kColumnCount; ++column) {
            const QVariant value = snapshot->value(row, column);
            values << (value.isNull() ? QStringLiteral("<null>") : value.toString());
        }
        return values.join(QLatin1Char('|'));
    };
    for (int row = 0; row < snapshot->rowCount(); ++row)
        lines << line(row);
    for (const QString& fragment : {QString(), QStringLiteral("a"), QStringLiteral("ch")}) {
        for (bool descending : {false, true}) {
            lines << QStringLiteral("-- '%1' %2").arg(fragment).arg(descending);
            for (int row : snapshot->select(fragment, QString(), 1, descending))
                lines << line(row);
        }
    }
    return lines;
}

// Holds an index's read once it has begun, until released.
class HeldRead
{
public:
    explicit HeldRead(ExerciseIndex& index)
    {
        index.setLoadHook([this] {
            mBegun.release();
            mGo.acquire();
        });
    }
    void waitUntilBegun() { mBegun.acquire(); }
    void release() { mGo.release(); }

private:
    QSemaphore mBegun;
    QSemaphore mGo;
};

// The rows as a whole read on the store's connection gives them now.
QStringList wholeRead(QSqlDatabase database)
{
    ExerciseIndex fresh;
    return contentOf(fresh.current(database));
}

// The terms a type-ahead through the plug-in lists, sorted by term.
QStringList typeAheadTerms(IDbManager* store, const QString& fragment)
{
    std::unique_ptr<QSqlQueryModel> model(
        store->queryModel(QStringLiteral("Exercise"),
                          {{QStringLiteral("Term"), fragment}, {QStringLiteral("SortColumn"), QStringLiteral("1")}},
                          nullptr, nullptr, nullptr, nullptr, nullptr));
    QStringList terms;
    for (int row = 0; model && row < model->rowCount(); ++row)
        terms << model->index(row, 1).data().toString();
    return model ? terms : QStringList{QStringLiteral("<no model>")};
}

} // namespace

void tst_Storekeeper::writesDuringBackgroundRead_data()
{
    QTest::addColumn<QString>("write");
    // Whether the rows read are brought up to date (else read whole again).
    QTest::addColumn<bool>("followed");
    QTest::newRow("save") << QStringLiteral("save") << true;
    QTest::newRow("overwrite") << QStringLiteral("overwrite") << true;
    QTest::newRow("delete") << QStringLiteral("delete") << true;
    QTest::newRow("newest deleted, its id saved again") << QStringLiteral("delete newest, save") << true;
    QTest::newRow("newest lessons deleted, their ids saved again") << QStringLiteral("delete lessons, save") << true;
    QTest::newRow("saves, overwrite, delete") << QStringLiteral("several") << true;
    QTest::newRow("lesson") << QStringLiteral("lesson") << true;
    QTest::newRow("mark transferred") << QStringLiteral("mark") << true;
    QTest::newRow("another connection") << QStringLiteral("other") << false;
    QTest::newRow("store's connection, not the store") << QStringLiteral("raw") << false;
    QTest::newRow("save, then another connection") << QStringLiteral("save, other") << false;
}

void tst_Storekeeper::writesDuringBackgroundRead()
{
    QFETCH(QString, write);
    QFETCH(bool, followed);
    QSqlDatabase db = f->database();
    QStringList ids;
    for (const char* term : {"Apple", "bread", "Cherry", "cheese", "Tea", "apple pie"})
        ids << f->addExercise(term, ids.size() % 2 ? QStringLiteral("French") : QStringLiteral("English"));
    QVERIFY(!ids.contains(QString()));
    // The two newest manifests.
    QStringList lessons;
    for (const QString& title : {QStringLiteral("Fruit"), QStringLiteral("Food")}) {
        std::unique_ptr<QObject> lesson(
            f->store()->insert(QStringLiteral("Lesson"), {{QStringLiteral("Title"), title},
                                                          {QStringLiteral("Language"), QStringLiteral("English")},
                                                          {QStringLiteral("Username"), QStringLiteral("alice")},
                                                          {QStringLiteral("EId1"), ids.at(0)}}));
        QVERIFY(qobject_cast<ZoLesson*>(lesson.get()));
        lessons << qobject_cast<ZoLesson*>(lesson.get())->id();
    }

    ExerciseIndex index;
    UploadCounter counter;
    // Held once its read has begun, until the writes are done.
    HeldRead held(index);
    index.startLoading(db);
    QVERIFY(index.isLoading());
    held.waitUntilBegun();

    auto save = [&](const QString& term, const QString& language = QStringLiteral("German")) {
        const CountedWrite bracket(&counter, &index, db, CountedWrite::RowsOfListed);
        std::unique_ptr<ZoExercise> e(StoreFixture::exercise(term, language));
        QCOMPARE(ZoDbExercise(db).insert(e.get()), 1);
    };
    auto overwrite = [&](const QString& id, const QString& term) {
        const CountedWrite bracket(&counter, &index, db, CountedWrite::RowsOfListed, {id.toLongLong()});
        std::unique_ptr<ZoExercise> e(StoreFixture::exercise(term, QStringLiteral("French")));
        e->setId(id);
        QCOMPARE(ZoDbExercise(db).overwrite(id, e.get()), 1);
    };
    auto remove = [&](const QString& id) {
        const CountedWrite bracket(&counter, &index, db, CountedWrite::RowsOfListed, {id.toLongLong()});
        QCOMPARE(ZoDbExercise(db).remove({id}), 1);
    };
    auto other = [&] {
        QSqlDatabase second = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("second"));
        second.setDatabaseName(f->treePath() + QStringLiteral("/vireda.db"));
        QVERIFY(second.open());
        QVERIFY(QSqlQuery(second).exec(QStringLiteral("UPDATE tm SET mv = 'Chai' WHERE mv = 'Tea'")));
        second.close();
        second = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("second"));
    };

    if (write == QLatin1String("save")) {
        save(QStringLiteral("Banana"));
    } else if (write == QLatin1String("overwrite")) {
        overwrite(ids.at(2), QStringLiteral("Chair"));
    } else if (write == QLatin1String("delete")) {
        remove(ids.at(1));
    } else if (write == QLatin1String("delete newest, save")) {
        // The new exercise may take up the ids the newest left.
        remove(ids.last());
        save(QStringLiteral("Banana"));
    } else if (write == QLatin1String("delete lessons, save")) {
        {
            const CountedWrite bracket(&counter, &index, db, CountedWrite::RowsUnchanged);
            QCOMPARE(ZoDbLesson(db).remove(lessons), 1);
        }
        // A stored term: only a recording and the exercise are new, on the lessons' ids.
        save(QStringLiteral("Apple"), QStringLiteral("English"));
        QCOMPARE(f->value(QStringLiteral("SELECT MAX(lmid) FROM m")), lessons.last());
    } else if (write == QLatin1String("several")) {
        save(QStringLiteral("Banana"));
        overwrite(ids.at(0), QStringLiteral("Apricot"));
        remove(ids.at(3));
        save(QStringLiteral("cherry tea"));
        overwrite(ids.at(4), QStringLiteral("Teapot"));
    } else if (write == QLatin1String("lesson")) {
        const CountedWrite bracket(&counter, &index, db, CountedWrite::RowsUnchanged);
        std::unique_ptr<ZoLesson> second(ZoDbLesson(db).insert({{QStringLiteral("Title"), QStringLiteral("Nuts")},
                                                                {QStringLiteral("Language"), QStringLiteral("English")},
                                                                {QStringLiteral("Username"), QStringLiteral("alice")},
                                                                {QStringLiteral("EId1"), ids.at(0)}}));
        QVERIFY(second);
    } else if (write == QLatin1String("mark")) {
        const CountedWrite bracket(&counter, &index, db, CountedWrite::RowsUnchanged, {ids.at(0).toLongLong()});
        QCOMPARE(ZoDbExercise(db).markTransferred(ids.at(0), QStringLiteral("up")), 1);
    } else if (write == QLatin1String("other")) {
        other();
    } else if (write == QLatin1String("raw")) {
        QVERIFY(f->exec(QStringLiteral("UPDATE tm SET mv = 'Chai' WHERE mv = 'Tea'")));
    } else if (write == QLatin1String("save, other")) {
        save(QStringLiteral("Banana"));
        other();
    }
    if (QTest::currentTestFailed()) {
        held.release();
        return;
    }
    held.release();

    const QStringList taken = contentOf(index.current(db));
    QCOMPARE(taken, wholeRead(db));
    QVERIFY(!index.isLoading());
    QCOMPARE(index.wholeReads(), followed ? 0 : 1);

    // And the copy goes on following the store's writes.
    save(QStringLiteral("Chestnut"));
    QCOMPARE(contentOf(index.current(db)), wholeRead(db));
    QCOMPARE(index.wholeReads(), followed ? 0 : 1);
}

void tst_Storekeeper::searchBeforeBackgroundReadWaits()
{
    QSqlDatabase db = f->database();
    for (const char* term : {"Apple", "bread", "Cherry", "cheese"})
        QVERIFY(!f->addExercise(term).isEmpty());
    const QStringList expected = wholeRead(db);

    ExerciseIndex index;
    HeldRead held(index);
    std::atomic<bool> searching{false};
    index.startLoading(db);
    QVERIFY(index.isLoading());
    // Lets the read go on only once the search has been asked for: the search
    // is asked before the read can have ended.
    std::thread releaser([&] {
        held.waitUntilBegun();
        while (!searching.load())
            std::this_thread::yield();
        held.release();
    });
    searching = true;
    const QStringList first = contentOf(index.current(db));
    releaser.join();
    QCOMPARE(first, expected);
    QCOMPARE(index.wholeReads(), 0);
    QCOMPARE(contentOf(index.current(db)), expected);
    QCOMPARE(index.wholeReads(), 0);
}

void tst_Storekeeper::signInStartsTheRead()
{
    // Through the plug-in: the count the window asks at sign-in, a save
    // while the rows are read, then the first type-ahead.
    IDbManager* store = f->store();
    for (const char* term : {"Apple", "bread", "Cherry"})
        QVERIFY(!f->addExercise(term).isEmpty());
    QCOMPARE(store->uploadableCount(QStringLiteral("alice")), 3);
    QVERIFY(!f->addExercise(QStringLiteral("apple pie")).isEmpty());
    QCOMPARE(typeAheadTerms(store, QStringLiteral("apple")),
             (QStringList{QStringLiteral("Apple"), QStringLiteral("apple pie")}));
}

void tst_Storekeeper::takingUpTheReadNeverWaits()
{
    QSqlDatabase db = f->database();
    for (const char* term : {"Apple", "bread", "Cherry"})
        QVERIFY(!f->addExercise(term).isEmpty());
    const QStringList expected = wholeRead(db);

    ExerciseIndex index;
    HeldRead held(index);
    QSemaphore loaded;
    index.setLoadedCallback([&] { loaded.release(); });
    index.startLoading(db);
    QVERIFY(index.isLoading());
    held.waitUntilBegun();
    // Held before its first row: nothing to take up yet, and no wait for it.
    QVERIFY(!index.takeUpLoaded(db));
    QVERIFY(index.isLoading());
    QCOMPARE(loaded.available(), 0);
    held.release();
    loaded.acquire();
    QVERIFY(index.takeUpLoaded(db));
    QVERIFY(!index.isLoading());
    QVERIFY(!index.takeUpLoaded(db));
    QCOMPARE(contentOf(index.current(db)), expected);
    QCOMPARE(index.wholeReads(), 0);
}

void tst_Storekeeper::storeTellsWhenTheRowsAreIn()
{
    IDbManager* store = f->store();
    auto* object = dynamic_cast<QObject*>(store);
    QVERIFY(object);
    for (const char* term : {"Apple", "bread", "apple pie"})
        QVERIFY(!f->addExercise(term).isEmpty());
    QVERIFY(!object->property("exerciseRowsLoading").toBool());
    QSignalSpy ready(object, SIGNAL(exerciseRowsReady()));
    QVERIFY(ready.isValid());
    QCOMPARE(store->uploadableCount(QStringLiteral("alice")), 3);
    // Taken up from the window's loop only.
    QVERIFY(object->property("exerciseRowsLoading").toBool());
    QVERIFY(ready.wait(10000));
    QCOMPARE(ready.count(), 1);
    QVERIFY(!object->property("exerciseRowsLoading").toBool());
    QCOMPARE(typeAheadTerms(store, QStringLiteral("apple")),
             (QStringList{QStringLiteral("Apple"), QStringLiteral("apple pie")}));
}

void tst_Storekeeper::stoppedReadIsNotTakenUp()
{
    // The store going while its rows are read: the read ends at its next row.
    QSqlDatabase db = f->database();
    for (const char* term : {"Apple", "bread", "Cherry"})
        QVERIFY(!f->addExercise(term).isEmpty());
    const QStringList expected = wholeRead(db);

    ExerciseIndex index;
    HeldRead held(index);
    bool called = false;
    index.setLoadedCallback([&] { called = true; });
    index.startLoading(db);
    held.waitUntilBegun();
    index.stopLoading();
    held.release();
    // Nothing of it is used: the rows are read whole when asked for.
    QCOMPARE(contentOf(index.current(db)), expected);
    QCOMPARE(index.wholeReads(), 1);
    QVERIFY(!called);
}
