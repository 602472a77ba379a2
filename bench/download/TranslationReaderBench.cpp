// The reader of a translation download at 10^4 and 4x10^4 exercises and
// translations that name none of them (a reply inside every byte limit).
// Linear: the larger takes about 4 times as long. Exit status 0 when it held.

#include "ManifestReader.h"
#include "SettingsStore.h"
#include "TestDatabase.h"
#include "ZoDbHelper.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

namespace {

// Quadratic work would take 16 times as long; linear about 4.
constexpr double kGoalRatio = 6.0;

// n exercises and n translations naming none of them, inside the byte and
// element limits of a reply.
QString reply(int n)
{
    QString inner;
    inner.reserve(n * 140);
    for (int i = 0; i < n; ++i)
        inner += QStringLiteral("<exercise><manifest persistentManifestID=\"E-%1\"/></exercise>").arg(i);
    for (int i = 0; i < n; ++i)
        inner += QStringLiteral("<translation><manifest persistentManifestID=\"T-%1\"/></translation>").arg(i);
    return QStringLiteral("<message><header><status>1</status></header><body><downloadTranslation>%1"
                          "</downloadTranslation></body></message>")
        .arg(inner);
}

// Median of three reads, in ms; *result gets what the reader answered.
double timed(const QString& text, QString* result)
{
    const ZoDbHelper lookup;
    QList<double> times;
    for (int round = 0; round < 3; ++round) {
        QList<ZoTranslation> translations;
        QList<ZoExercise> exercises;
        QElapsedTimer timer;
        timer.start();
        *result = ManifestReader::translations(text, lookup, &translations, &exercises);
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times.at(1);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SettingsStore::configure();
    TestDatabase database;
    QTextStream out(stdout);
    if (!database.isValid()) {
        out << "no database\n";
        return 1;
    }
    out << "Translation download reader; goal: linear, 4x10^4 within " << kGoalRatio << " times 10^4\n";
    double ms[2] = {0, 0};
    const int sizes[2] = {10000, 40000};
    for (int i = 0; i < 2; ++i) {
        const QString text = reply(sizes[i]);
        QString result;
        ms[i] = timed(text, &result);
        out << "  " << sizes[i] << " exercises and translations (" << text.size() << " characters): " << ms[i]
            << " ms, \"" << result << "\"\n";
    }
    const double ratio = ms[1] / qMax(ms[0], 0.001);
    const bool held = ratio <= kGoalRatio;
    out << "  ratio " << ratio << ": " << (held ? "goal held" : "goal MISSED") << '\n';
    return held ? 0 : 1;
}
