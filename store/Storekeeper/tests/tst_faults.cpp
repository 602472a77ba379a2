#include "tst_storekeeper.h"

#include "IDbManager.h"
#include "ZoDbConnection.h"
#include "ZoDbExercise.h"
#include "ZoDbLesson.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoUser.h"

#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <functional>

namespace {

const QString kExercise = QStringLiteral("Exercise");

QStringList plan(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql))
        return {QStringLiteral("error: ") + query.lastError().text()};
    for (int i = 0; i < sql.count(QLatin1Char('?')); ++i)
        query.addBindValue(QStringLiteral("1"));
    if (!query.exec())
        return {QStringLiteral("error: ") + query.lastError().text()};
    QStringList steps;
    while (query.next())
        steps.append(query.value(3).toString());
    return steps;
}

ZoExercise* richExercise(const QString& term)
{
    ZoExercise* e = StoreFixture::exercise(term, QStringLiteral("German"));
    e->addField(QStringLiteral("Note"), {{QStringLiteral("Value"), QStringLiteral("n")}});
    e->addField(QStringLiteral("Translation"), {{QStringLiteral("Value"), term + QStringLiteral(" en")},
                                                {QStringLiteral("Language"), QStringLiteral("English")},
                                                {QStringLiteral("Context"), QStringLiteral("c")}});
    return e;
}

QHash<QString, QString> userData(const QString& id, const QString& name)
{
    return {{QStringLiteral("Id"), id},
            {QStringLiteral("Username"), name},
            {QStringLiteral("Password"), QStringLiteral("pw")},
            {QStringLiteral("Country"), QStringLiteral("Italy")},
            {QStringLiteral("FLanguage1"), QStringLiteral("Italian")},
            {QStringLiteral("FNonSpeaking1"), QStringLiteral("1")},
            {QStringLiteral("FIsStudying1"), QStringLiteral("1")},
            {QStringLiteral("FLanguage2"), QStringLiteral("Spanish")},
            {QStringLiteral("FNonSpeaking2"), QStringLiteral("0")},
            {QStringLiteral("FIsStudying2"), QStringLiteral("0")}};
}

} // namespace

void tst_Storekeeper::statementPlans_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("allowedScans");
    QTest::addColumn<QString>("mustUse");
    const QStringList termScan{QStringLiteral("SCAN tm"), QStringLiteral("SCAN t")};
    QTest::newRow("term look-up") << "term" << QStringList{} << "idx_tm_mv";
    QTest::newRow("type-ahead sorted by term") << "sorted" << termScan << "";
    QTest::newRow("type-ahead sorted by voice") << "voice" << termScan << "";
    QTest::newRow("type-ahead count") << "count" << termScan << "";
    QTest::newRow("type-ahead with language") << "language" << termScan << "";
    // The id list itself is read once; each id is found by key.
    const QStringList idList{QStringLiteral("SCAN json_each VIRTUAL TABLE INDEX 1:")};
    QTest::newRow("by id") << "id" << idList << "";
    QTest::newRow("by id list") << "idlist" << idList << "";
    QTest::newRow("uploadable exercises") << "uploadable" << QStringList{} << "idx_m_upload";
    QTest::newRow("uploadable lessons") << "uploadableLessons" << QStringList{} << "idx_tm_tmttmtid";
}

void tst_Storekeeper::statementPlans()
{
    QFETCH(QString, statement);
    QFETCH(QStringList, allowedScans);
    QFETCH(QString, mustUse);
    ZoDbExercise exercises(f->database());
    const QHash<QString, QString> typeAhead{{QStringLiteral("Term"), QStringLiteral("ab")}};
    const QHash<QString, QString> withLanguage{{QStringLiteral("Term"), QStringLiteral("ab")},
                                               {QStringLiteral("Language"), QStringLiteral("German")}};
    const QHash<QString, QString> sqls{
        {QStringLiteral("term"), ZoDbExercise::termLookupSql()},
        {QStringLiteral("sorted"), exercises.rowQuery(typeAhead, 1, false).sql},
        {QStringLiteral("voice"), exercises.rowQuery(typeAhead, 8, true).sql},
        {QStringLiteral("count"), exercises.rowQuery(typeAhead, 1, false).countSql},
        {QStringLiteral("language"), exercises.rowQuery(withLanguage, 1, false).sql},
        {QStringLiteral("id"), exercises.rowQuery({{QStringLiteral("Id"), QStringLiteral("5")}}, 1, false).sql},
        {QStringLiteral("idlist"),
         exercises.rowQuery({{QStringLiteral("IdList"), QStringLiteral("5,6,")}}, 1, false).sql},
        {QStringLiteral("uploadable"), ZoDbExercise::uploadableCountSql()},
        {QStringLiteral("uploadableLessons"), ZoDbLesson::uploadableCountSql()}};
    const QString sql = sqls.value(statement);
    if (statement == QLatin1String("language"))
        QVERIFY(sql.contains(QLatin1String("lclid = ?")));
    const QStringList steps = plan(f->database(), sql);
    QVERIFY2(!steps.isEmpty() && !steps.first().startsWith(QLatin1String("error")), qPrintable(steps.join('\n')));
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("SCAN")))
            QVERIFY2(allowedScans.contains(step.trimmed()), qPrintable(sql + QLatin1Char('\n') + steps.join('\n')));
    }
    if (!mustUse.isEmpty())
        QVERIFY2(steps.join(' ').contains(mustUse), qPrintable(steps.join('\n')));
}

void tst_Storekeeper::failedWriteLeavesDatabaseUnchanged_data()
{
    QTest::addColumn<QString>("operation");
    for (const char* operation : {"exercise insert", "exercise overwrite", "exercise remove", "lesson insert",
                                  "lesson update", "lesson remove", "user insert", "user update"})
        QTest::newRow(operation) << QString::fromLatin1(operation);
}

void tst_Storekeeper::failedWriteLeavesDatabaseUnchanged()
{
    QFETCH(QString, operation);
    IDbManager* store = f->store();
    std::unique_ptr<ZoExercise> kept(richExercise(QStringLiteral("Haus")));
    QCOMPARE(store->insertExercise(kExercise, kept.get()), 1);
    std::unique_ptr<ZoExercise> free(richExercise(QStringLiteral("Maus")));
    QCOMPARE(store->insertExercise(kExercise, free.get()), 1);
    std::unique_ptr<QObject> lessonObject(
        store->insert(QStringLiteral("Lesson"), {{QStringLiteral("Title"), QStringLiteral("L")},
                                                 {QStringLiteral("Username"), QStringLiteral("alice")},
                                                 {QStringLiteral("EId1"), kept->id()}}));
    QVERIFY(lessonObject);
    const QString lessonId = qobject_cast<ZoLesson*>(lessonObject.get())->id();
    std::unique_ptr<QObject> user(
        store->insert(QStringLiteral("User"), userData(QStringLiteral("u1"), QStringLiteral("alice"))));
    QVERIFY(user);

    const std::function<bool()> run = [&]() -> bool {
        if (operation == QLatin1String("exercise insert")) {
            std::unique_ptr<ZoExercise> e(richExercise(QStringLiteral("Neu")));
            e->setMediaName(QStringLiteral("neu.wav"));
            const bool ok = store->insertExercise(kExercise, e.get()) == 1;
            return ok && !e->id().isEmpty();
        }
        if (operation == QLatin1String("exercise overwrite")) {
            std::unique_ptr<ZoExercise> source(richExercise(QStringLiteral("Haus2")));
            source->setId(kept->id());
            return store->overwrite(kExercise, kept->id(), source.get());
        }
        if (operation == QLatin1String("exercise remove"))
            return store->remove(kExercise, {free->id()});
        if (operation == QLatin1String("lesson insert")) {
            std::unique_ptr<QObject> l(
                store->insert(QStringLiteral("Lesson"), {{QStringLiteral("Title"), QStringLiteral("M")},
                                                         {QStringLiteral("Language"), QStringLiteral("German")},
                                                         {QStringLiteral("EId1"), free->id()},
                                                         {QStringLiteral("EId2"), kept->id()}}));
            return l != nullptr;
        }
        if (operation == QLatin1String("lesson update"))
            return store->update(QStringLiteral("Lesson"), QString(),
                                 {{QStringLiteral("Id"), lessonId},
                                  {QStringLiteral("Title"), QStringLiteral("N")},
                                  {QStringLiteral("EId1"), free->id()},
                                  {QStringLiteral("EId2"), kept->id()}});
        if (operation == QLatin1String("lesson remove"))
            return store->remove(QStringLiteral("Lesson"), {lessonId});
        if (operation == QLatin1String("user insert")) {
            std::unique_ptr<QObject> u(
                store->insert(QStringLiteral("User"), userData(QStringLiteral("u2"), QStringLiteral("bob"))));
            return u != nullptr;
        }
        QHash<QString, QString> data = userData(QStringLiteral("u1"), QStringLiteral("alice"));
        data.insert(QStringLiteral("FirstName"), QStringLiteral("Changed"));
        return store->update(QStringLiteral("User"), QString(), data);
    };

    // Every row write counts; the nth one is refused.
    QVERIFY(f->exec(QStringLiteral("CREATE TEMP TABLE fault (n INTEGER, seen INTEGER)")));
    QVERIFY(f->exec(QStringLiteral("INSERT INTO fault VALUES (0, 0)")));
    for (const char* table : {"m", "tm", "mm", "k", "crlt", "u", "uf"}) {
        for (const char* event : {"INSERT", "UPDATE", "DELETE"}) {
            QVERIFY(
                f->exec(QStringLiteral("CREATE TEMP TRIGGER fault_%1_%2 BEFORE %2 ON main.%1 BEGIN "
                                       "UPDATE fault SET seen = seen + 1; "
                                       "SELECT RAISE(ABORT, 'injected fault') WHERE (SELECT seen = n FROM fault); END")
                            .arg(QLatin1String(table), QLatin1String(event))));
        }
    }
    bool completed = false;
    int n = 1;
    for (; n <= 200 && !completed; ++n) {
        QVERIFY(f->exec(QStringLiteral("UPDATE fault SET n = %1, seen = 0").arg(n)));
        const QStringList before = f->snapshot();
        if (run()) {
            completed = true;
            QVERIFY(f->count(QStringLiteral("SELECT seen FROM fault")) < n);
            break;
        }
        QCOMPARE(f->snapshot(), before);
        // No transaction is left open on the connection.
        QVERIFY(f->database().transaction());
        QVERIFY(f->database().rollback());
    }
    QVERIFY(completed);
    QVERIFY2(n > 2, "the operation wrote fewer than two rows");
}

void tst_Storekeeper::killedWriterLeavesCompleteExercises()
{
    QProcess writer;
    writer.setProgram(QStringLiteral(STORE_CRASH_WRITER));
    writer.setArguments({f->treePath()});
    writer.setWorkingDirectory(f->treePath());
    writer.setProcessChannelMode(QProcess::SeparateChannels);
    writer.start();
    QVERIFY(writer.waitForStarted());
    QByteArray output;
    int stored = 0;
    QDeadlineTimer deadline(120000);
    while (stored < 60 && !deadline.hasExpired() && writer.state() == QProcess::Running) {
        writer.waitForReadyRead(1000);
        output += writer.readAllStandardOutput();
        const int at = output.lastIndexOf("stored ");
        if (at >= 0)
            stored = output.mid(at + 7).split('\n').first().trimmed().toInt();
    }
    QVERIFY2(stored >= 60, output.right(400).constData());
    writer.kill();
    QVERIFY(writer.waitForFinished());
    QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

    QSqlDatabase db = ZoDbConnection::open(f->treePath() + QStringLiteral("/vireda.db"), QStringLiteral("afterCrash"));
    QVERIFY(db.isOpen());
    {
        QSqlQuery query(db);
        auto value = [&](const QString& sql) {
            if (!query.exec(sql) || !query.next())
                return QStringLiteral("error: ") + query.lastError().text();
            return query.value(0).toString();
        };
        QCOMPARE(value(QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
        const int exercises = value(QStringLiteral("SELECT count(*) FROM tm WHERE tmttmtid = 2")).toInt();
        QVERIFY(exercises >= stored);
        QCOMPARE(value(QStringLiteral("SELECT count(DISTINCT mlmid) FROM v_e")).toInt(), exercises);
        QCOMPARE(value(QStringLiteral("SELECT count(*) FROM tm e WHERE e.tmttmtid = 2 AND "
                                      "(SELECT count(*) FROM k WHERE k.mlmid = e.mlmid) <> 1")),
                 QStringLiteral("0"));
        QCOMPARE(value(QStringLiteral("SELECT count(*) FROM m WHERE lmid NOT IN (SELECT mlmid FROM tm UNION "
                                      "SELECT mlmid FROM mm)")),
                 QStringLiteral("0"));
        QCOMPARE(value(QStringLiteral("SELECT count(*) FROM crlt WHERE crtcrtid = 2 AND mchmid NOT IN "
                                      "(SELECT lmid FROM m)")),
                 QStringLiteral("0"));
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("afterCrash"));
}
