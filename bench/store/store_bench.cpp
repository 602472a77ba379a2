// Figures of the local store on its own layout: inserting exercises one
// transaction each, type-ahead models, reading exercises and the upload
// count, each beside the plain statement it replaces where there is one.
// Usage: store_bench [--smoke] [--million] [--ids] [sizes...]   (default 10000 100000;
// --million adds 1000000, filled without waiting for the disk but the last
// 5,000 inserts; --ids runs only the id-list queries, over exercises written
// in one transaction, once each in idListQueries() so that a profiler can
// count that function alone, e.g. valgrind --tool=callgrind
// --toggle-collect='*idListQueries*')
#include "BenchExercises.h"
#include "IDbManager.h"
#include "MallocTuning.h"
#include "PluginLocator.h"
#include "QueryTableFixture.h"
#include "TestTree.h"
#include "ZoDbConnection.h"
#include "ZoDbSchema.h"
#include "ZoExercise.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

QTextStream out(stdout);
// Above this size only the last kMeasuredInserts inserts wait for the disk.
const int kFillAbove = 200000;
const int kMeasuredInserts = 5000;

double rssMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// Milliseconds of one call, median of n.
template <class F>
double timed(int n, F call)
{
    QList<double> times;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer timer;
        timer.start();
        call();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

// The upload count as the plain statements give it, on a connection of its own.
int plainUploadableCount(QSqlDatabase db, const QString& user)
{
    int total = 0;
    for (const char* sql :
         {"SELECT COUNT(mlmid) FROM v_e, m WHERE v_e.mlmid = m.lmid AND m.dnul=0 AND m.dul=0 AND m.ddl=0 AND sbun = ?",
          "SELECT COUNT (mlmid) FROM v_l WHERE dnul=0 AND dul=0 AND ddl=0 AND unm = ? AND mlmid NOT IN (SELECT "
          "DISTINCT mprmid FROM crlt WHERE crtcrtid=3 AND mchmid IN (SELECT lmid FROM m WHERE sbuid='-1'))"}) {
        QSqlQuery query(db);
        query.prepare(QLatin1String(sql));
        query.addBindValue(user);
        if (query.exec() && query.next())
            total += query.value(0).toInt();
    }
    return total;
}

// The type-ahead as the plain statement gives it: every row fetched, then the first screen read.
int plainTypeAhead(QSqlDatabase db, const QString& fragment)
{
    QSqlQueryModel model;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT mlmid, mv, lclid, mmp, mmfn, cccid, sp, l, v FROM v_e WHERE mv like ? "
                                 "ORDER BY lower(mv)"));
    query.addBindValue(QLatin1Char('%') + fragment + QLatin1Char('%'));
    query.exec();
    model.setQuery(std::move(query));
    while (model.canFetchMore())
        model.fetchMore();
    for (int row = 0; row < std::min(model.rowCount(), 30); ++row) {
        for (int column = 0; column < model.columnCount(); ++column)
            model.data(model.index(row, column));
    }
    return model.rowCount();
}

QString ratio(double ours, double plain)
{
    const double times = ours > 0 ? plain / ours : 0;
    return ours > 0 ? QStringLiteral("%1x faster than the plain statement (%2 ms)")
                          .arg(times, 0, 'f', times < 10 ? 1 : 0)
                          .arg(plain, 0, 'f', 1)
                    : QString();
}

struct Figures
{
    double insertPerSecond = 0;
    double insertSeconds = 0;
};

void typeAhead(IDbManager* store, const QString& label, const QString& fragment)
{
    QList<double> firstScreen;
    int count = 0;
    double fullFetch = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        std::unique_ptr<QSqlQueryModel> model(store->queryModel(QStringLiteral("Exercise"),
                                                                {{QStringLiteral("Term"), fragment},
                                                                 {QStringLiteral("SortColumn"), QStringLiteral("1")},
                                                                 {QStringLiteral("SortOrder"), QStringLiteral("0")}},
                                                                nullptr, nullptr, nullptr, nullptr, nullptr));
        count = model->rowCount();
        for (int row = 0; row < std::min(count, 30); ++row) {
            for (int column = 0; column < model->columnCount(); ++column)
                model->data(model->index(row, column));
        }
        firstScreen.append(timer.nsecsElapsed() / 1e6);
        if (round == 0) {
            QElapsedTimer all;
            all.start();
            for (int row = 0; row < count; ++row)
                model->data(model->index(row, 1));
            fullFetch = all.nsecsElapsed() / 1e6;
        }
    }
    out << QStringLiteral("  type-ahead %1 %2: %3 rows, count and first screen %4 ms (median of 5; first call %5 ms),"
                          " reading every row %6 ms more")
               .arg(label,
                    fragment.isEmpty() ? QStringLiteral("(empty)") : QLatin1Char('"') + fragment + QLatin1Char('"'))
               .arg(count)
               .arg(median(firstScreen), 0, 'f', 1)
               .arg(firstScreen.first(), 0, 'f', 1)
               .arg(fullFetch, 0, 'f', 1)
        << Qt::endl;
}

// Every listed exercise by its id, then the languages of the list.
[[gnu::noinline]] void idListQueries(IDbManager* store, const QString& idList, const QStringList& idTexts, int* found,
                                     int* languages)
{
    *found = int(store->search(QStringLiteral("Exercise"), {{QStringLiteral("IdList"), idList}}).size());
    *languages = int(store->languagesOf(idTexts).size());
}

bool runIdList(int size)
{
    QueryTableFixture fixture;
    if (!fixture.isValid() || !fixture.addManyExercises(size))
        return false;
    QString idList;
    QStringList idTexts;
    QSqlQuery ids(QSqlDatabase::database());
    ids.setForwardOnly(true);
    if (!ids.exec(QStringLiteral("SELECT mlmid FROM tm WHERE tmttmtid = 2")))
        return false;
    while (ids.next()) {
        idTexts << ids.value(0).toString();
        idList += idTexts.constLast() + QLatin1Char(',');
    }
    int found = 0;
    int languages = 0;
    QElapsedTimer timer;
    timer.start();
    idListQueries(fixture.store(), idList, idTexts, &found, &languages);
    out << QStringLiteral("%1 ids: %2 found, %3 languages, %4 ms for both (one run)")
               .arg(idTexts.size())
               .arg(found)
               .arg(languages)
               .arg(timer.nsecsElapsed() / 1e6, 0, 'f', 1)
        << Qt::endl;
    return found == size;
}

bool runSize(int size)
{
    TestTree tree(TestTree::RealPlugins);
    if (!tree.isValid()
        || !tree.addPlugin(TestTree::distPath() + QStringLiteral("/Plugins_dll/Managers/Storekeeper.so"),
                           QStringLiteral("Managers")))
        return false;
    tree.enter();
    {
        QSqlDatabase db = ZoDbConnection::open(tree.filePath(QStringLiteral("vireda.db")),
                                               QStringLiteral("benchSetup"));
        const bool ok = db.isOpen() && ZoDbSchema::create(db);
        db.close();
        if (!ok)
            return false;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("benchSetup"));
    QObject* root = PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    IDbManager* store = qobject_cast<IDbManager*>(root);
    if (!store)
        return false;

    QStringList languages = store->languageList().mid(0, 5);
    if (languages.size() < 5)
        languages = {QStringLiteral("English"), QStringLiteral("French"), QStringLiteral("German"),
                     QStringLiteral("Italian"), QStringLiteral("Spanish")};
    out << QStringLiteral("%1 exercises (languages %2)").arg(size).arg(languages.join(QStringLiteral(", ")))
        << Qt::endl;

    QRandomGenerator random(20240601);
    const double rssBefore = rssMb();
    // Large sizes are filled without waiting for the disk; the insert rate is
    // then measured over the last inserts, with synchronous=FULL again.
    const int measured = size > kFillAbove ? kMeasuredInserts : size;
    QSqlDatabase storeConnection = QSqlDatabase::database();
    if (measured < size)
        QSqlQuery(storeConnection).exec(QStringLiteral("PRAGMA synchronous=OFF"));
    QElapsedTimer timer;
    timer.start();
    // Numbers, not texts: a million texts would weigh on the resident figure.
    QList<qint64> ids;
    QString sample;
    for (int i = 0; i < size; ++i) {
        if (i == size - measured && measured < size) {
            QSqlQuery(storeConnection).exec(QStringLiteral("PRAGMA synchronous=FULL"));
            out << QStringLiteral("  fill: %1 exercises in %2 s (synchronous=OFF)")
                       .arg(i)
                       .arg(timer.nsecsElapsed() / 1e9, 0, 'f', 1)
                << Qt::endl;
            timer.restart();
        }
        const QString language = languages.at(i % languages.size());
        const QString term = BenchExercises::word(random);
        if (i == size / 2)
            sample = term;
        ZoExercise exercise = BenchExercises::exercise(term, language, i);
        if (i % 3 == 0) {
            exercise.addField(QStringLiteral("Translation"),
                              {{QStringLiteral("Value"), BenchExercises::word(random)},
                               {QStringLiteral("Language"), languages.at((i + 1) % languages.size())}});
        }
        if (store->insertExercise(QStringLiteral("Exercise"), &exercise) != 1) {
            out << "insert failed at " << i << Qt::endl;
            return false;
        }
        ids.append(exercise.id().toLongLong());
        if ((i + 1) % 20000 == 0)
            out << "  ... " << (i + 1) << Qt::endl;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    out << QStringLiteral("  insert: %1 exercises in %2 s = %3 per second (one transaction each%4)")
               .arg(measured)
               .arg(seconds, 0, 'f', 2)
               .arg(measured / seconds, 0, 'f', 0)
               .arg(measured < size ? QStringLiteral(", the last ones of %1").arg(size) : QString())
        << Qt::endl;
    out << QStringLiteral("  file: %1 MB")
               .arg(QFile(tree.filePath(QStringLiteral("vireda.db"))).size() / 1048576.0, 0, 'f', 1)
        << Qt::endl;

    typeAhead(store, QStringLiteral("1 character"), sample.left(1));
    typeAhead(store, QStringLiteral("2 characters"), sample.mid(1, 2));
    typeAhead(store, QStringLiteral("4 characters"), sample.mid(1, 4));
    typeAhead(store, QStringLiteral("no term"), QString());

    QList<double> gets;
    for (int i = 0; i < 1000; ++i) {
        const QString id = QString::number(ids.at(random.bounded(ids.size())));
        QElapsedTimer one;
        one.start();
        std::unique_ptr<ZoExercise> exercise(store->getExercise(QStringLiteral("Exercise"), id));
        gets.append(one.nsecsElapsed() / 1e6);
        if (!exercise) {
            out << "get failed for " << id << Qt::endl;
            return false;
        }
    }
    out << QStringLiteral("  getExercise: %1 ms (median of 1000)").arg(median(gets), 0, 'f', 3) << Qt::endl;

    // Every exercise by its id at once, as a term list or a lesson of that size asks.
    QString idList;
    QStringList idTexts;
    for (qint64 id : std::as_const(ids)) {
        idTexts << QString::number(id);
        idList += idTexts.constLast() + QLatin1Char(',');
    }
    int byIdsFound = 0;
    int languagesFound = 0;
    const double byIds = timed(3, [&] {
        byIdsFound = store->search(QStringLiteral("Exercise"), {{QStringLiteral("IdList"), idList}}).size();
    });
    const double languagesOf = timed(3, [&] { languagesFound = store->languagesOf(idTexts).size(); });
    out << QStringLiteral("  search by IdList of %1 ids: %2 found in %3 ms; languagesOf: %4 languages in %5 ms "
                          "(median of 3)")
               .arg(ids.size())
               .arg(byIdsFound)
               .arg(byIds, 0, 'f', 1)
               .arg(languagesFound)
               .arg(languagesOf, 0, 'f', 1)
        << Qt::endl;

    // The plain statements run on a connection of their own.
    QSqlDatabase plain = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("benchPlain"));
    plain.setDatabaseName(tree.filePath(QStringLiteral("vireda.db")));
    plain.open();
    for (const QString& user : {QStringLiteral("bench"), QStringLiteral("nobody")}) {
        int uploadable = 0;
        int expected = 0;
        const double ours = timed(5, [&] { uploadable = store->uploadableCount(user); });
        const double statement = timed(3, [&] { expected = plainUploadableCount(plain, user); });
        out << QStringLiteral("  uploadableCount of %1: %2 in %3 ms (median of 5), %4%5")
                   .arg(user)
                   .arg(uploadable)
                   .arg(ours, 0, 'f', 3)
                   .arg(ratio(ours, statement))
                   .arg(uploadable == expected ? QString() : QStringLiteral(" MISMATCH %1").arg(expected))
            << Qt::endl;
    }

    // A save, an overwrite and a delete, each followed by the first type-ahead
    // and the count the main window asks for.
    const double plainTyping = timed(3, [&] { plainTypeAhead(plain, sample.mid(1, 2)); });
    auto afterEach = [&](const QString& label, const std::function<void(int)>& write) {
        QList<double> afterWrite;
        QList<double> countAfterWrite;
        for (int round = 0; round < 3; ++round) {
            write(round);
            QElapsedTimer timer;
            timer.start();
            store->uploadableCount(QStringLiteral("bench"));
            countAfterWrite.append(timer.nsecsElapsed() / 1e6);
            timer.start();
            std::unique_ptr<QSqlQueryModel> model(
                store->queryModel(QStringLiteral("Exercise"),
                                  {{QStringLiteral("Term"), sample.mid(1, 2)},
                                   {QStringLiteral("SortColumn"), QStringLiteral("1")}},
                                  nullptr, nullptr, nullptr, nullptr, nullptr));
            for (int row = 0; row < std::min(model->rowCount(), 30); ++row)
                model->data(model->index(row, 1));
            afterWrite.append(timer.nsecsElapsed() / 1e6);
        }
        out << QStringLiteral("  after %1: uploadableCount %2 ms, first type-ahead %3 ms (median of 3), %4")
                   .arg(label)
                   .arg(median(countAfterWrite), 0, 'f', 1)
                   .arg(median(afterWrite), 0, 'f', 1)
                   .arg(ratio(median(afterWrite), plainTyping))
            << Qt::endl;
    };
    afterEach(QStringLiteral("a save"), [&](int round) {
        ZoExercise exercise = BenchExercises::exercise(BenchExercises::word(random), languages.first(), size + round);
        store->insertExercise(QStringLiteral("Exercise"), &exercise);
    });
    afterEach(QStringLiteral("an overwrite"), [&](int round) {
        const QString id = QString::number(ids.at(random.bounded(ids.size())));
        ZoExercise exercise = BenchExercises::exercise(BenchExercises::word(random), languages.at(1),
                                                       size + 10 + round);
        exercise.setId(id);
        store->overwrite(QStringLiteral("Exercise"), id, &exercise);
    });
    afterEach(QStringLiteral("a delete"), [&](int) {
        store->remove(QStringLiteral("Exercise"), {QString::number(ids.takeAt(random.bounded(ids.size())))});
    });
    plain.close();
    plain = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("benchPlain"));
    out << QStringLiteral("  memory: %1 MB resident after the run, %2 MB more than before inserting")
               .arg(rssMb(), 0, 'f', 1)
               .arg(rssMb() - rssBefore, 0, 'f', 1)
        << Qt::endl;

    delete root;
    tree.restore();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The allocator keeps memory as the program's does.
    MallocTuning::apply();
    QApplication app(argc, argv);
    QList<int> sizes;
    bool idsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--ids")
            idsOnly = true;
        else if (arg == "--smoke")
            sizes.append(1000);
        else if (arg == "--million")
            sizes.append(1000000);
        else if (arg.toInt() > 0)
            sizes.append(arg.toInt());
    }
    if (sizes.isEmpty())
        sizes = {10000, 100000};
    // The store is one per process: each size of --ids runs in a process of its own.
    if (idsOnly && sizes.size() > 1) {
        int failed = 0;
        for (int size : sizes)
            failed += QProcess::execute(QCoreApplication::applicationFilePath(),
                                        {QStringLiteral("--ids"), QString::number(size)})
                      != 0;
        return failed == 0 ? 0 : 1;
    }
    for (int size : sizes) {
        if (!(idsOnly ? runIdList(size) : runSize(size))) {
            out << "benchmark failed at size " << size << Qt::endl;
            return 1;
        }
    }
    return 0;
}
