// Search latency through the real bridge, client and loopback peer:
// 100,000 exercises, the first page of a search by term, median of many.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kExercises = 100000;
constexpr int kWarmUp = 30;
constexpr int kRuns = 300;
constexpr double kGoalMs = 50.0;

const char kQuery[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<message><header><from>bench|01.01.2024|10:00</from>"
    "<to>not-impelented</to><type>exerciseQuery</type><xmlVersion>1</xmlVersion><uiVersion>1</uiVersion>"
    "<dbVersion>2</dbVersion></header><body><exerciseQuery><term><![CDATA[ZANAHORIA]]></term>"
    "<query_langID>spa</query_langID><results_langID>spa</results_langID><results_voice/>"
    "<results_speakingSpeedID/><results_countryLangID/><results_stateProv/><results_locality/>"
    "<results_localeDescriptor/><results_fluencyLevelID/><results_learnerLevelID/><max_results>20</max_results>"
    "<page_num>1</page_num></exerciseQuery></body></message>";

// Keeps the bridge's banner lines out of the measurement's output.
class QuietStdout
{
public:
    QuietStdout()
    {
        std::fflush(stdout);
        mSaved = ::dup(1);
        mNull = std::fopen("/dev/null", "w");
        if (mNull)
            ::dup2(fileno(mNull), 1);
    }
    ~QuietStdout()
    {
        std::fflush(stdout);
        ::dup2(mSaved, 1);
        ::close(mSaved);
        if (mNull)
            std::fclose(mNull);
    }

private:
    int mSaved = -1;
    std::FILE* mNull = nullptr;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString dist = QStringLiteral(VIREDA_DIST_DIR);
    for (const char* jar : {"ViredaClientNetwork.jar", "sqlite-jdbc.jar"})
        QFile::link(dist + QLatin1Char('/') + QLatin1String(jar), dir.filePath(QLatin1String(jar)));
    QDir(dir.path()).mkpath(QStringLiteral("Content"));

    std::printf("Seeding %d exercises...\n", kExercises);
    std::fflush(stdout);
    QProcess seed;
    seed.setProcessChannelMode(QProcess::ForwardedChannels);
    seed.start(QStringLiteral(VIREDA_JAVA),
               {QStringLiteral("-cp"), dir.filePath(QStringLiteral("ViredaClientNetwork.jar")) + QLatin1Char(':')
                    + QStringLiteral(VIREDA_SEEDER_JAR),
                QStringLiteral("com.vireda.bench.SeedPeer"), dir.filePath(QStringLiteral("BenchPeer")),
                QString::number(kExercises)});
    if (!seed.waitForFinished(600000) || seed.exitCode() != 0) {
        std::fprintf(stderr, "seeding failed\n");
        return 2;
    }
    QFile settings(dir.filePath(QStringLiteral("vireda-peer.properties")));
    if (!settings.open(QIODevice::WriteOnly))
        return 2;
    settings.write("peer.data=BenchPeer\n");
    settings.close();
    qunsetenv("VIREDA_PEER");
    QDir::setCurrent(dir.path());

    QLibrary bridge(QStringLiteral(VIREDA_BRIDGE_LIBRARY));
    auto init = reinterpret_cast<int (*)()>(bridge.resolve("init"));
    auto start = reinterpret_cast<int (*)()>(bridge.resolve("startViredaNet"));
    auto sendQuery = reinterpret_cast<const char* (*)(const char*)>(bridge.resolve("sendQuery"));
    if (!init || !start || !sendQuery) {
        std::fprintf(stderr, "bridge not loadable: %s\n", qPrintable(bridge.errorString()));
        return 2;
    }
    int started = 0;
    {
        QuietStdout quiet;
        started = init() == 1 ? start() : 0;
    }
    if (started != 1) {
        std::fprintf(stderr, "network did not start\n");
        return 2;
    }

    std::vector<double> times;
    QByteArray firstReply;
    {
        QuietStdout quiet;
        for (int i = 0; i < kWarmUp + kRuns; ++i) {
            QElapsedTimer timer;
            timer.start();
            const char* reply = sendQuery(kQuery);
            const double ms = timer.nsecsElapsed() / 1e6;
            if (!reply) {
                firstReply.clear();
                break;
            }
            if (i == 0)
                firstReply = reply;
            if (i >= kWarmUp)
                times.push_back(ms);
        }
    }
    if (times.size() != static_cast<std::size_t>(kRuns)) {
        std::fprintf(stderr, "a query got no reply\n");
        return 2;
    }
    const int found = static_cast<int>(firstReply.count("<exercise>"));
    const int totalAt = firstReply.indexOf("<total_result_available>");
    const QByteArray total = firstReply.mid(totalAt + 24, firstReply.indexOf('<', totalAt + 24) - totalAt - 24);
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("first page: %d exercises of %s found\n", found, total.constData());
    std::printf("search by term, first page: median %.2f ms, 90th percentile %.2f ms, best %.2f ms (%d runs)\n",
                median, times[times.size() * 9 / 10], times.front(), kRuns);
    std::printf("goal: median under %.0f ms: %s\n", kGoalMs, median < kGoalMs ? "met" : "MISSED");
    return median < kGoalMs && found == 20 ? 0 : 1;
}
