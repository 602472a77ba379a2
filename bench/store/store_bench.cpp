// Figures of the local store on its own layout: inserting exercises one
// transaction each, type-ahead models, reading exercises and the upload
// count. Usage: store_bench [--smoke] [sizes...]   (default 10000 100000)
#include "IDbManager.h"
#include "PluginLocator.h"
#include "TestTree.h"
#include "ZoDbConnection.h"
#include "ZoDbSchema.h"
#include "ZoExercise.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTextStream>

#include <algorithm>
#include <memory>

namespace {

QTextStream out(stdout);

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

QString word(QRandomGenerator& random)
{
    static const char* const syllables[] = {"ka", "lo", "mi", "ne", "ru", "ta", "be", "so", "di", "fa",
                                            "gu", "ho", "ji", "pe", "va", "zu", "en", "ar", "ol", "is"};
    QString text;
    const int parts = 2 + random.bounded(4);
    for (int i = 0; i < parts; ++i)
        text += QString::fromLatin1(syllables[random.bounded(20)]);
    return text;
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
        std::unique_ptr<QSqlQueryModel> model(store->queryModel(
                QStringLiteral("Exercise"),
                {{QStringLiteral("Term"), fragment}, {QStringLiteral("SortColumn"), QStringLiteral("1")},
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
                   .arg(label, fragment.isEmpty() ? QStringLiteral("(empty)") : QLatin1Char('"') + fragment + QLatin1Char('"'))
                   .arg(count)
                   .arg(median(firstScreen), 0, 'f', 1)
                   .arg(firstScreen.first(), 0, 'f', 1)
                   .arg(fullFetch, 0, 'f', 1)
        << Qt::endl;
}

bool runSize(int size)
{
    TestTree tree(TestTree::RealPlugins);
    if (!tree.isValid() || !tree.addPlugin(TestTree::distPath() + QStringLiteral("/Plugins_dll/Managers/Storekeeper.so"),
                                           QStringLiteral("Managers")))
        return false;
    tree.enter();
    {
        QSqlDatabase db = ZoDbConnection::open(tree.filePath(QStringLiteral("vireda.db")), QStringLiteral("benchSetup"));
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
    out << QStringLiteral("%1 exercises (languages %2)").arg(size).arg(languages.join(QStringLiteral(", "))) << Qt::endl;

    QRandomGenerator random(20240601);
    const double rssBefore = rssMb();
    QElapsedTimer timer;
    timer.start();
    QStringList ids;
    QString sample;
    for (int i = 0; i < size; ++i) {
        const QString language = languages.at(i % languages.size());
        const QString term = word(random);
        if (i == size / 2)
            sample = term;
        ZoExercise exercise(QHash<QString, QString>{{QStringLiteral("Term"), term},
                                                    {QStringLiteral("Language"), language},
                                                    {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                                    {QStringLiteral("MediaName"), QStringLiteral("s%1.wav").arg(i)},
                                                    {QStringLiteral("Voice"), QStringLiteral("bench")},
                                                    {QStringLiteral("Creator"), QStringLiteral("bench")},
                                                    {QStringLiteral("CreatorUid"), QStringLiteral("u-bench")}});
        if (i % 3 == 0) {
            exercise.addField(QStringLiteral("Translation"),
                              {{QStringLiteral("Value"), word(random)},
                               {QStringLiteral("Language"), languages.at((i + 1) % languages.size())}});
        }
        if (store->insertExercise(QStringLiteral("Exercise"), &exercise) != 1) {
            out << "insert failed at " << i << Qt::endl;
            return false;
        }
        ids.append(exercise.id());
        if ((i + 1) % 20000 == 0)
            out << "  ... " << (i + 1) << Qt::endl;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    out << QStringLiteral("  insert: %1 exercises in %2 s = %3 per second (one transaction each)")
                   .arg(size).arg(seconds, 0, 'f', 2).arg(size / seconds, 0, 'f', 0)
        << Qt::endl;
    out << QStringLiteral("  file: %1 MB").arg(QFile(tree.filePath(QStringLiteral("vireda.db"))).size() / 1048576.0, 0, 'f', 1)
        << Qt::endl;

    typeAhead(store, QStringLiteral("1 character"), sample.left(1));
    typeAhead(store, QStringLiteral("2 characters"), sample.mid(1, 2));
    typeAhead(store, QStringLiteral("4 characters"), sample.mid(1, 4));
    typeAhead(store, QStringLiteral("no term"), QString());

    QList<double> gets;
    for (int i = 0; i < 1000; ++i) {
        const QString id = ids.at(random.bounded(ids.size()));
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

    QList<double> counts;
    int uploadable = 0;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer one;
        one.start();
        uploadable = store->uploadableCount(QStringLiteral("bench"));
        counts.append(one.nsecsElapsed() / 1e6);
    }
    out << QStringLiteral("  uploadableCount: %1 in %2 ms (median of 5)").arg(uploadable).arg(median(counts), 0, 'f', 1)
        << Qt::endl;
    out << QStringLiteral("  memory: %1 MB resident after the run, %2 MB more than before inserting")
                   .arg(rssMb(), 0, 'f', 1).arg(rssMb() - rssBefore, 0, 'f', 1)
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
        sizes = {10000, 100000};
    for (int size : sizes) {
        if (!runSize(size)) {
            out << "benchmark failed at size " << size << Qt::endl;
            return 1;
        }
    }
    return 0;
}
