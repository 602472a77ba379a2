// Entering the study tab with a long study list: the time from the tab's
// refresh to the list painted, and the longest time the window's thread went
// without running a 10 ms timer meanwhile (median of 3 rounds per size).
// Usage: StudyListBench [entries...]   (default 100000 250000 500000 1000000)
// Goals: 100,000 entries shown in under 1 s with no silence over 100 ms, and
// twice the entries costing at most 2.2 times the time.

#include "BenchMedian.h"
#include "IForm.h"
#include "StudyFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

#include <cmath>

namespace {

QTextStream out(stdout);

struct Round
{
    double shownMs = 0;
    double silenceMs = 0;
};

// Longest gap between two ticks of a 10 ms timer while it runs.
class SilenceWatch
{
public:
    SilenceWatch()
    {
        QObject::connect(&mTimer, &QTimer::timeout, [this] { mLongest = qMax(mLongest, mSince.restart()); });
    }
    void start()
    {
        mLongest = 0;
        mSince.start();
        mTimer.start(10);
    }
    qint64 stop()
    {
        mTimer.stop();
        return qMax(mLongest, mSince.elapsed());
    }

private:
    QTimer mTimer;
    QElapsedTimer mSince;
    qint64 mLongest = 0;
};

// One entry the way the library puts a stored exercise on the list.
QHash<QString, QString> entry(int i, const QString& language)
{
    const QString n = QString::number(i);
    return {{QStringLiteral("Id"), n},
            {QStringLiteral("Term"), QStringLiteral("Wort %1 über").arg(n)},
            {QStringLiteral("Language"), language},
            {QStringLiteral("MediaPath"), QStringLiteral("Content")},
            {QStringLiteral("MediaName"), n + QStringLiteral(".wav")},
            {QStringLiteral("Voice"), QStringLiteral("bench")}};
}

// The tab refreshed as on entering it, then events run until its list has
// been painted.
Round enterTab(IForm* tutor)
{
    auto* list = tutor->widget()->findChild<QAbstractItemView*>(QStringLiteral("tbl"));
    SilenceWatch watch;
    watch.start();
    QElapsedTimer timer;
    timer.start();
    tutor->customRefresh();
    list->viewport()->repaint();
    QCoreApplication::processEvents();
    Round round;
    round.shownMs = double(timer.nsecsElapsed()) / 1e6;
    // Let the timer tick again so a silence at the end is counted too.
    QTest::qWait(30);
    round.silenceMs = double(watch.stop());
    return round;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]).toInt() > 0)
            sizes.append(QByteArray(argv[i]).toInt());
    }
    if (sizes.isEmpty())
        sizes = {100000, 250000, 500000, 1000000};
    std::sort(sizes.begin(), sizes.end());

    StudyFixture fx;
    if (!fx.isValid() || !fx.signIn(QStringLiteral("learner"))) {
        out << "the fixture does not load\n";
        return 2;
    }
    TestHost host;
    IForm* tutor = fx.openForm(&host);
    if (!tutor) {
        out << "the study tab does not load\n";
        return 2;
    }

    out << "goal: 100,000 entries shown in under 1000 ms, no silence over 100 ms, "
           "2x the entries at most 2.2x the time\n";
    bool held = true;
    double previousMs = 0;
    int previousSize = 0;
    for (const int size : std::as_const(sizes)) {
        fx.study()->clearList();
        for (int i = 0; i < size; ++i)
            fx.study()->appendExercise(entry(i + 1, fx.language()));
        QList<double> shown;
        QList<double> silence;
        for (int round = 0; round < 3; ++round) {
            // Another tab in between, as a learner would come back.
            tutor->customLeave();
            const Round r = enterTab(tutor);
            shown.append(r.shownMs);
            silence.append(r.silenceMs);
        }
        const double shownMs = benchMedian(shown);
        const double silenceMs = benchMedian(silence);
        out << QStringLiteral("%1 entries: shown in %2 ms, longest silence %3 ms")
                   .arg(size)
                   .arg(shownMs, 0, 'f', 1)
                   .arg(silenceMs, 0, 'f', 0);
        bool rowHeld = silenceMs <= 100;
        if (size <= 100000)
            rowHeld = rowHeld && shownMs < 1000;
        if (previousSize > 0 && previousMs > 0) {
            // Time per doubling of the entries, from the ratio of sizes.
            const double doublings = std::log2(double(size) / previousSize);
            const double perDoubling = std::pow(shownMs / previousMs, 1.0 / doublings);
            out << QStringLiteral(", %1x per doubling").arg(perDoubling, 0, 'f', 2);
            rowHeld = rowHeld && perDoubling <= 2.2;
        }
        out << (rowHeld ? " (held)\n" : " (MISSED)\n");
        out.flush();
        held = held && rowHeld;
        previousMs = shownMs;
        previousSize = size;
    }
    out << (held ? "goal held\n" : "goal MISSED\n");
    fx.study()->clearList();
    delete PluginLocator::instance(StudyFixture::formFile());
    return held ? 0 : 1;
}
