// Start-up of the real program, from the process start to the sign-in
// dialog, in a fresh temporary tree linked to build/dist (own settings,
// home, database and peer data each run). The program writes its moments
// when VIREDA_STARTUP_PROBE is set; its resident memory is read from /proc
// as soon as the dialog is painted, then the program is asked to end.
// Usage: StartupBench [runs]   (default 3; the medians are printed)
// QT_QPA_PLATFORM is offscreen unless set otherwise (e.g. xcb under Xvfb).
#include "TestTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <chrono>

namespace {

QTextStream out(stdout);
const int kRunTimeoutMs = 60000;
const double kDialogGoalMs = 100;
const double kResidentGoalMiB = 90;

qint64 nowMicroseconds()
{
    // The program's probe reads the same monotonic clock.
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double residentMiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

struct Run
{
    double splashMs = -1;
    double timerMs = -1;
    double signInMs = -1;
    double afterTimerMs = -1;
    double networkUpMs = -1;
    double networkWaitMs = -1;
    double residentMiB = -1;
    double residentUpMiB = -1;
    QString error;
};

QString greeting(const TestTree& tree)
{
    QFile boxes(tree.filePath(QStringLiteral("boxes.log")));
    if (!boxes.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(boxes.readLine()).trimmed();
}

Run startOnce()
{
    Run run;
    TestTree tree(TestTree::RealPlugins);
    if (!tree.isValid()) {
        run.error = QStringLiteral("no temporary tree");
        return run;
    }
    const QString home = tree.filePath(QStringLiteral("home"));
    QDir().mkpath(home);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VIREDA_STARTUP_PROBE"), QStringLiteral("1"));
    env.insert(QStringLiteral("VIREDA_HOME"), tree.path());
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), tree.configPath());
    env.remove(QStringLiteral("XDG_CACHE_HOME"));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    // The peer inside the program, as on a first start.
    env.remove(QStringLiteral("VIREDA_PEER"));
    // Boxes are logged, not shown: the dialog itself is the first window after the splash.
    env.insert(QStringLiteral("VIREDA_MSGBOX_LOG"), tree.filePath(QStringLiteral("boxes.log")));
    env.insert(QStringLiteral("VIREDA_MSGBOX_ANSWERS"), QString());
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(tree.path());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setProgram(tree.filePath(QStringLiteral("vireda")));

    const qint64 start = nowMicroseconds();
    process.start();
    if (!process.waitForStarted()) {
        run.error = QStringLiteral("the program did not start");
        return run;
    }
    const auto sinceStart = [start](qint64 moment) { return (moment - start) / 1000.0; };

    // On to the network's start: the greeting comes after it.
    while ((run.signInMs < 0 || run.networkUpMs < 0 || run.networkWaitMs < 0) && process.state() == QProcess::Running) {
        if (nowMicroseconds() - start > kRunTimeoutMs * 1000LL) {
            run.error = QStringLiteral("no sign-in dialog and network within %1 s").arg(kRunTimeoutMs / 1000);
            break;
        }
        if (!process.canReadLine() && !process.waitForReadyRead(1000))
            continue;
        while (process.canReadLine()) {
            // Other output may share the line: the probe's text is found anywhere in it.
            const QByteArray line = process.readLine().trimmed();
            const int at = line.indexOf("startup-probe ");
            const QList<QByteArray> parts = line.mid(at).split(' ');
            if (at < 0 || parts.size() != 3)
                continue;
            const QByteArray& name = parts.at(1);
            const qint64 value = parts.at(2).toLongLong();
            if (name == "signin" && run.signInMs < 0) {
                run.residentMiB = residentMiB(process.processId());
                run.signInMs = sinceStart(value);
            } else if (name == "splash" && run.splashMs < 0) {
                run.splashMs = sinceStart(value);
            } else if (name == "timer" && run.timerMs < 0) {
                run.timerMs = sinceStart(value);
            } else if (name == "network" && run.networkUpMs < 0) {
                run.residentUpMiB = residentMiB(process.processId());
                run.networkUpMs = sinceStart(value);
            } else if (name == "network-wait" && run.networkWaitMs < 0) {
                run.networkWaitMs = value / 1000.0;
            }
        }
    }
    if (run.error.isEmpty() && run.signInMs < 0)
        run.error = QStringLiteral("the program ended before the sign-in dialog");
    // The greeting follows the network's start on the window's loop.
    for (int i = 0; i < 500 && run.error.isEmpty() && greeting(tree).isEmpty(); ++i)
        process.waitForFinished(10);

    process.terminate();
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
    }
    // A network that did not start greets with an error, not the welcome.
    if (run.error.isEmpty() && !greeting(tree).contains(QLatin1String("\tWelcome\t")))
        run.error = QStringLiteral("the network did not start: ") + greeting(tree);
    if (run.error.isEmpty() && (run.splashMs < 0 || run.timerMs < 0 || run.networkWaitMs < 0))
        run.error = QStringLiteral("a moment is missing from the program's output");
    run.afterTimerMs = run.signInMs - run.timerMs;
    return run;
}

QString ms(double value)
{
    return QString::number(value, 'f', 0) + QStringLiteral(" ms");
}

void print(const QString& label, const Run& run)
{
    out << qSetFieldWidth(10) << Qt::left << label << qSetFieldWidth(0) << "splash " << ms(run.splashMs) << ", timer "
        << ms(run.timerMs) << ", sign-in " << ms(run.signInMs) << " (" << ms(run.afterTimerMs)
        << " after the timer), network wait " << ms(run.networkWaitMs) << ", network up " << ms(run.networkUpMs) << ", "
        << QString::number(run.residentMiB, 'f', 1) << " MiB resident at the dialog, "
        << QString::number(run.residentUpMiB, 'f', 1) << " MiB with the network up\n";
    out.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const int runs = args.isEmpty() ? 3 : args.first().toInt();
    if (runs < 1) {
        out << "usage: StartupBench [runs]\n";
        return 2;
    }
    out << "start to the sign-in dialog, " << runs << " processes, " << TestTree::distPath() << "\n";
    QList<Run> done;
    for (int i = 0; i < runs; ++i) {
        const Run run = startOnce();
        if (!run.error.isEmpty()) {
            out << "run " << i + 1 << ": " << run.error << "\n";
            return 1;
        }
        print(QStringLiteral("run %1:").arg(i + 1), run);
        done.append(run);
    }
    const auto medianOf = [&done](double Run::*field) {
        QList<double> values;
        for (const Run& run : done)
            values.append(run.*field);
        return median(values);
    };
    Run middle;
    for (double Run::*field : {&Run::splashMs, &Run::timerMs, &Run::signInMs, &Run::afterTimerMs, &Run::networkUpMs,
                               &Run::networkWaitMs, &Run::residentMiB, &Run::residentUpMiB})
        middle.*field = medianOf(field);
    print(QStringLiteral("median:"), middle);
    // The dialog comes right after the splash's timer and waits for no network.
    const bool soon = middle.afterTimerMs < kDialogGoalMs;
    const bool notWaiting = std::all_of(done.cbegin(), done.cend(), [](const Run& run) {
        return run.signInMs < run.networkUpMs || run.networkWaitMs < 1;
    });
    const bool small = middle.residentMiB < kResidentGoalMiB;
    out << "goal: the sign-in dialog under " << kDialogGoalMs
        << " ms after the splash timer: " << (soon ? "held" : "MISSED")
        << "; no run waiting for the network: " << (notWaiting ? "held" : "MISSED") << "; under " << kResidentGoalMiB
        << " MiB resident at the dialog: " << (small ? "held" : "MISSED") << "\n";
    return soon && notWaiting && small ? 0 : 1;
}
