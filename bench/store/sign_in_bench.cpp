// The first type-ahead of a session, measured from sign-in: the count the
// window asks for at sign-in starts the store's read of the exercise rows on
// a thread of its own, while a timer on the window's thread keeps firing.
// Usage: store_sign_in_bench [--smoke] [sizes...]   (default 100000 1000000;
// the file is filled through the store with up to 20,000 exercises, the rest
// are copies of those made in SQL, each with ids of its own)
#include "BenchExercises.h"
#include "IDbManager.h"
#include "MallocTuning.h"
#include "PluginLocator.h"
#include "TestTree.h"
#include "ZoDbConnection.h"
#include "ZoDbSchema.h"
#include "ZoExercise.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

namespace {

QTextStream out(stdout);
const QString kPlugin = QStringLiteral("plugins_dll/Managers/Storekeeper.dll");
// The exercises' owner, and the learner who signs in (owning none of them).
const QString kUser = QStringLiteral("bench");
const QString kLearner = QStringLiteral("learner");
const int kStoredAtMost = 20000;

// Copies the manifests of the first stored exercises until there are size of
// them: the same rows under ids above every id there.
bool copyUpTo(QSqlDatabase db, int stored, int size)
{
    auto top = [&db](const char* sql) {
        QSqlQuery query(db);
        return query.exec(QLatin1String(sql)) && query.next() ? query.value(0).toLongLong() : -1;
    };
    const qint64 lastManifest = top("SELECT MAX(lmid) FROM m");
    const qint64 lastLink = top("SELECT MAX(crid) FROM crlt");
    const qint64 lastField = top("SELECT COALESCE(MAX(kid), 0) FROM k");
    if (lastManifest < 0 || lastLink < 0 || lastField < 0 || !db.transaction())
        return false;
    const char* const copies[] = {
        "INSERT INTO m SELECT lmid + :m, pmid, mtmtid, r, sbuid, sbun, dc, ip, id, ddl, dul, dnul FROM m "
        "WHERE lmid <= :lastm",
        "INSERT INTO tm SELECT mlmid + :m, tmttmtid, mt, mv, md, cccid, lclid, llllid, it, ir, sr FROM tm "
        "WHERE mlmid <= :lastm",
        "INSERT INTO mm SELECT mlmid + :m, mmtmmtid, mmfn, mmf, mms, mmd, mmh, mmp, v, ssssid, cccid, lclid, sp, l, "
        "ld, mmbr, flflid, mmsf, nc FROM mm WHERE mlmid <= :lastm",
        "INSERT INTO crlt SELECT crid + :c, mprmid + :m, mchmid + :m, sn, crtcrtid FROM crlt WHERE crid <= :lastc",
        "INSERT INTO k SELECT kid + :k, ktktid, mlmid + :m, kv, lclid FROM k WHERE kid <= :lastk",
    };
    for (int copy = 1; copy * stored < size; ++copy) {
        for (const char* sql : copies) {
            QSqlQuery query(db);
            query.prepare(QLatin1String(sql));
            const QString text = QLatin1String(sql);
            auto bind = [&](const char* name, qint64 value) {
                if (text.contains(QLatin1String(name)))
                    query.bindValue(QLatin1String(name), value);
            };
            bind(":m", copy * lastManifest);
            bind(":lastm", lastManifest);
            bind(":c", copy * lastLink);
            bind(":lastc", lastLink);
            bind(":k", copy * lastField);
            bind(":lastk", lastField);
            if (!query.exec()) {
                db.rollback();
                return false;
            }
        }
    }
    if (!db.commit())
        return false;
    // Into the file: a search reads a log this long page by page through its index.
    QSqlQuery checkpoint(db);
    checkpoint.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QSqlQuery count(db);
    return count.exec(QStringLiteral("SELECT COUNT(*) FROM tm WHERE tmttmtid = 2")) && count.next()
           && count.value(0).toInt() == size;
}

// Count and first screen of a type-ahead, in ms.
double typeAhead(IDbManager* store, const QString& fragment, int* count)
{
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QSqlQueryModel> model(store->queryModel(QStringLiteral("Exercise"),
                                                            {{QStringLiteral("Term"), fragment},
                                                             {QStringLiteral("SortColumn"), QStringLiteral("1")},
                                                             {QStringLiteral("SortOrder"), QStringLiteral("0")}},
                                                            nullptr, nullptr, nullptr, nullptr, nullptr));
    *count = model->rowCount();
    for (int row = 0; row < std::min(*count, 30); ++row) {
        for (int column = 0; column < model->columnCount(); ++column)
            model->data(model->index(row, column));
    }
    return timer.nsecsElapsed() / 1e6;
}

// The longest time between two turns of the window's event loop while it
// runs for ms milliseconds after start() was called on it.
class GapWatch
{
public:
    GapWatch()
    {
        mTimer.setTimerType(Qt::PreciseTimer);
        mTimer.setInterval(1);
        QObject::connect(&mTimer, &QTimer::timeout, [this] { tick(); });
    }
    void start()
    {
        mLongest = 0;
        mTicks = 0;
        mOverFrame = 0;
        mClock.start();
        mLast = 0;
        mTimer.start();
    }
    void onTick(std::function<void()> each) { mEach = std::move(each); }
    void tick()
    {
        if (mEach)
            mEach();
        const double now = mClock.nsecsElapsed() / 1e6;
        mLongest = std::max(mLongest, now - mLast);
        mOverFrame += now - mLast > 16 ? 1 : 0;
        mLast = now;
        ++mTicks;
    }
    // Runs the loop until ms after start().
    void runUntil(double ms)
    {
        QEventLoop loop;
        QTimer::singleShot(int(std::max(0.0, ms - mClock.nsecsElapsed() / 1e6)), &loop, &QEventLoop::quit);
        loop.exec();
        tick();
        mTimer.stop();
    }
    double longest() const { return mLongest; }
    int ticks() const { return mTicks; }
    // Gaps longer than a frame of 16 ms.
    int overFrame() const { return mOverFrame; }

private:
    QTimer mTimer;
    QElapsedTimer mClock;
    std::function<void()> mEach;
    double mLast = 0;
    double mLongest = 0;
    int mTicks = 0;
    int mOverFrame = 0;
};

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

    // Filled without waiting for the disk.
    QObject* root = PluginLocator::instance(kPlugin);
    IDbManager* store = qobject_cast<IDbManager*>(root);
    if (!store)
        return false;
    QSqlQuery(QSqlDatabase::database()).exec(QStringLiteral("PRAGMA synchronous=OFF"));
    QStringList languages = store->languageList().mid(0, 5);
    if (languages.size() < 5)
        languages = {QStringLiteral("English"), QStringLiteral("French"), QStringLiteral("German"),
                     QStringLiteral("Italian"), QStringLiteral("Spanish")};
    QRandomGenerator random(20240601);
    QString sample;
    QElapsedTimer fill;
    fill.start();
    const int stored = std::min(size, kStoredAtMost);
    for (int i = 0; i < stored; ++i) {
        const QString term = BenchExercises::word(random);
        if (i == stored / 2)
            sample = term;
        ZoExercise exercise = BenchExercises::exercise(term, languages.at(i % languages.size()), i);
        if (store->insertExercise(QStringLiteral("Exercise"), &exercise) != 1) {
            out << "insert failed at " << i << Qt::endl;
            return false;
        }
    }
    if (size % stored != 0 || !copyUpTo(QSqlDatabase::database(), stored, size)) {
        out << "copying failed" << Qt::endl;
        return false;
    }
    delete root;
    const QString fragment = sample.mid(1, 2);
    out << QStringLiteral("%1 exercises (filled in %2 s); type-ahead \"%3\", sorted by term, count and first screen")
               .arg(size)
               .arg(fill.nsecsElapsed() / 1e9, 0, 'f', 0)
               .arg(fragment)
        << Qt::endl;

    // Each session a store of its own: nothing of the rows in memory yet.
    auto session = [&](const std::function<void(IDbManager*)>& run) {
        QObject* instance = PluginLocator::instance(kPlugin);
        IDbManager* sessionStore = qobject_cast<IDbManager*>(instance);
        if (sessionStore)
            run(sessionStore);
        delete instance;
        return sessionStore != nullptr;
    };
    int count = 0;
    double whole = 0;
    double atOnce = 0;
    double signInCall = 0;
    bool ok = session([&](IDbManager* s) { whole = typeAhead(s, fragment, &count); });
    out << QStringLiteral("  without a read at sign-in, the first type-ahead reads every row: %1 ms (%2 rows)")
               .arg(whole, 0, 'f', 1)
               .arg(count)
        << Qt::endl;
    ok = ok && session([&](IDbManager* s) {
             QElapsedTimer timer;
             timer.start();
             s->uploadableCount(kLearner);
             signInCall = timer.nsecsElapsed() / 1e6;
             typeAhead(s, fragment, &count);
             atOnce = timer.nsecsElapsed() / 1e6;
         });
    out << QStringLiteral("  a type-ahead at once after sign-in waits for the read: %1 ms from sign-in "
                          "(the sign-in's count %2 ms)")
               .arg(atOnce, 0, 'f', 1)
               .arg(signInCall, 0, 'f', 1)
        << Qt::endl;
    // The window idles while the read runs, then the learner types.
    const double idle = std::max(500.0, 2 * atOnce + 200);
    ok = ok && session([&](IDbManager* s) {
             GapWatch watch;
             watch.start();
             QElapsedTimer timer;
             timer.start();
             // The first turn of the loop after the store took its rows up, which is
             // when the library tab lists.
             double ready = -1;
             auto* object = dynamic_cast<QObject*>(s);
             watch.onTick([&] {
                 if (ready < 0 && object && !object->property("exerciseRowsLoading").toBool())
                     ready = timer.nsecsElapsed() / 1e6;
             });
             s->uploadableCount(kLearner);
             signInCall = timer.nsecsElapsed() / 1e6;
             watch.runUntil(idle);
             out << QStringLiteral("  the rows taken up, seen from the window's loop, %1 ms after sign-in")
                        .arg(ready, 0, 'f', 1)
                 << Qt::endl;
             const double first = typeAhead(s, fragment, &count);
             const double second = typeAhead(s, fragment, &count);
             out << QStringLiteral(
                        "  from sign-in: %1 ms of the window's loop, a 1 ms timer fired %2 times, longest gap "
                        "%3 ms, %8 gaps over 16 ms (the sign-in's count %4 ms); then the first type-ahead "
                        "%5 ms, the second %6 ms (%7 rows)")
                        .arg(idle, 0, 'f', 0)
                        .arg(watch.ticks())
                        .arg(watch.longest(), 0, 'f', 1)
                        .arg(signInCall, 0, 'f', 1)
                        .arg(first, 0, 'f', 1)
                        .arg(second, 0, 'f', 1)
                        .arg(count)
                        .arg(watch.overFrame())
                 << Qt::endl;
         });
    // The same loop with nothing read: what the machine itself adds.
    GapWatch idleWatch;
    idleWatch.start();
    idleWatch.runUntil(idle);
    out << QStringLiteral("  the same loop without a sign-in: longest gap %1 ms, %2 gaps over 16 ms")
               .arg(idleWatch.longest(), 0, 'f', 1)
               .arg(idleWatch.overFrame())
        << Qt::endl;
    // The count itself is a statement over the owner's rows at its first call.
    double ownerCount = 0;
    ok = ok && session([&](IDbManager* s) {
             QElapsedTimer timer;
             timer.start();
             count = s->uploadableCount(kUser);
             ownerCount = timer.nsecsElapsed() / 1e6;
         });
    out << QStringLiteral("  the sign-in's count for the owner of every exercise: %1 ms (%2)")
               .arg(ownerCount, 0, 'f', 1)
               .arg(count)
        << Qt::endl;
    tree.restore();
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    MallocTuning::apply();
    QApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--smoke")
            sizes.append(1000);
        else if (arg.toInt() > 0)
            sizes.append(arg.toInt());
    }
    if (sizes.isEmpty())
        sizes = {100000, 1000000};
    for (int size : sizes) {
        if (!runSize(size)) {
            out << "benchmark failed at size " << size << Qt::endl;
            return 1;
        }
    }
    return 0;
}
