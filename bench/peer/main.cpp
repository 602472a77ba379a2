// Search latency through the real bridge, client and loopback peer:
// 100,000 exercises, the first page of a search by term, median of many; then a
// page of hostile, deeply nested exercises, fetched and refused by the reader.
#include "BoundedXml.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
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
constexpr int kHostileRuns = 30;
constexpr double kHostileGoalMs = 100.0;

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
    // The client's jar and the jars its Class-Path names.
    for (const QString& jar : QDir(dist).entryList({QStringLiteral("*.jar")}, QDir::Files))
        QFile::link(dist + QLatin1Char('/') + jar, dir.filePath(jar));
    QDir(dir.path()).mkpath(QStringLiteral("Content"));

    std::printf("Seeding %d exercises...\n", kExercises);
    std::fflush(stdout);
    QProcess seed;
    seed.setProcessChannelMode(QProcess::ForwardedChannels);
    seed.start(QStringLiteral(VIREDA_JAVA), {QStringLiteral("-cp"),
                                             dir.filePath(QStringLiteral("ViredaClientNetwork.jar")) + QLatin1Char(':')
                                                 + QStringLiteral(VIREDA_SEEDER_JAR),
                                             QStringLiteral("com.vireda.bench.SeedPeer"),
                                             dir.filePath(QStringLiteral("BenchPeer")), QString::number(kExercises)});
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
    std::printf("search by term, first page: median %.2f ms, 90th percentile %.2f ms, best %.2f ms (%d runs)\n", median,
                times[times.size() * 9 / 10], times.front(), kRuns);
    std::printf("goal: median under %.0f ms: %s\n", kGoalMs, median < kGoalMs ? "met" : "MISSED");

    // 20 exercises nested 2,000 deep with long names, stored before uploads were checked:
    // the search that finds them, and the reader refusing such a page had a peer sent it.
    QByteArray hostileQuery(kQuery);
    hostileQuery.replace("ZANAHORIA", "hostil");
    std::vector<double> hostile;
    {
        QuietStdout quiet;
        for (int i = 0; i < 5 + kHostileRuns; ++i) {
            QElapsedTimer timer;
            timer.start();
            const char* reply = sendQuery(hostileQuery.constData());
            QDomDocument document;
            if (!reply || !BoundedXml::parse(QString::fromUtf8(reply), &document, nullptr))
                break;
            if (i >= 5)
                hostile.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    if (hostile.size() != static_cast<std::size_t>(kHostileRuns)) {
        std::fprintf(stderr, "the search finding hostile exercises got no readable reply\n");
        return 2;
    }
    std::sort(hostile.begin(), hostile.end());
    std::printf("search finding 20 exercises nested 2,000 deep: median %.2f ms, slowest %.2f ms (%d runs)\n",
                hostile[hostile.size() / 2], hostile.back(), kHostileRuns);
    const QString level = QStringLiteral("<%1>").arg(QString(200, QLatin1Char('n')));
    const QString page =
        QStringLiteral("<message><header><status>1</status></header><body><exerciseQueryReply>")
        + (QStringLiteral("<exercise>") + level.repeated(2000) + QStringLiteral("</exercise>")).repeated(20)
        + QStringLiteral("</exerciseQueryReply></body></message>");
    QElapsedTimer refusal;
    refusal.start();
    QDomDocument document;
    const bool refused = !BoundedXml::parse(page, &document, nullptr);
    const double refusalMs = refusal.nsecsElapsed() / 1e6;
    std::printf("reader refusing such a page (%lld characters): %.2f ms\n", static_cast<long long>(page.size()),
                refusalMs);
    const bool hostileMet = refused && hostile[hostile.size() / 2] < kHostileGoalMs && refusalMs < kHostileGoalMs;
    std::printf("goal: median search and refusal under %.0f ms: %s\n", kHostileGoalMs, hostileMet ? "met" : "MISSED");
    return median < kGoalMs && found == 20 && hostileMet ? 0 : 1;
}
