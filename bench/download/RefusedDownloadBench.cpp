// A download refused for its fields at 150,000 fields: the real network
// manager over the fake bridge, the real store and transfer. Prints how long
// the window's thread went without its 50 ms timer and whether the refusal
// left "Content" as it was. Exit status 0 when every goal held.

#include "ContentGate.h"
#include "CourierOverFakeBridge.h"
#include "DownloadStore.h"
#include "DownloadTransfer.h"
#include "FakePeerReplies.h"
#include "IDbManager.h"
#include "INetManager.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "TestDatabase.h"
#include "WizardTestTree.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTextStream>
#include <QTimer>

#include <memory>

namespace {

constexpr int kFields = 150000;
constexpr int kTickMs = 50;
constexpr qint64 kGoalMs = 100;

QString document(const QString& n)
{
    using namespace FakePeerReplies;
    return statusReply(QStringLiteral("1"), QStringLiteral("downloadExerciseReply"),
                       exerciseElement(n, QStringLiteral("<kvp kvpTypeID=\"7\"><kvpValue>v</kvpValue></kvp>")
                                                  .repeated(ContentGate::MaxFieldsPerExercise)
                                              + QStringLiteral("<kvp kvpTypeID=\"7\"/>")
                                                    .repeated(kFields - ContentGate::MaxFieldsPerExercise)));
}

ZoExercise foundExercise(FakeBridge& bridge, const QString& n)
{
    using namespace FakePeerReplies;
    bridge.queue(QStringLiteral("sendQuery"), exerciseQueryReply(exerciseElement(n), 1));
    int status = 0;
    int total = 0;
    return CourierOverFakeBridge::manager()
        ->queryExercises({{"Term", "x"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}}, &status,
                         &total)
        .value(0);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    WizardTestTree tree;
    CourierOverFakeBridge courier;
    if (!tree.isValid() || !courier.install(tree.tree())
        || !TestDatabase::createFile(tree.tree().filePath(QStringLiteral("vireda.db")))) {
        out << "cannot set up the tree\n";
        return 1;
    }
    IDbManager* store = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    INetManager* net = CourierOverFakeBridge::manager();
    if (!store || !net) {
        out << "cannot load the store or the network manager\n";
        return 1;
    }
    QDir().mkpath(QStringLiteral("Content"));
    out << "Refused download of an exercise of " << kFields << " fields; goal: the window's thread never waits "
        << kGoalMs << " ms for its " << kTickMs << " ms timer, \"Content\" as it was\n";
    bool held = true;
    struct Row
    {
        const char* name;
        const char* n;
        const char* lastStatus;
    };
    const Row rows[] = {{"let through by the client", "B1", "100"}, {"refused by the client", "B2", "-2"}};
    for (const Row& row : rows) {
        FakeBridge& bridge = courier.bridge();
        bridge.reset();
        const ZoExercise exercise = foundExercise(bridge, QLatin1String(row.n));
        const QString sound = QStringLiteral("Content/chien%1.ogg").arg(QLatin1String(row.n));
        const QStringList before = QDir(QStringLiteral("Content")).entryList(QDir::Files);
        bridge.queue(QStringLiteral("getDownloadStatus"), QStringLiteral("20"));
        bridge.setDefault(QStringLiteral("getDownloadStatus"), QLatin1String(row.lastStatus));
        bridge.setDefault(QStringLiteral("getDownloadXml"), document(QLatin1String(row.n)));

        DownloadTransfer transfer(net, store);
        QEventLoop loop;
        DownloadFailure failure = DownloadFailure::None;
        QObject::connect(&transfer, &DownloadTransfer::failed, &loop, [&](DownloadFailure reason) {
            failure = reason;
            loop.quit();
        });
        QObject::connect(&transfer, &DownloadTransfer::completed, &loop, &QEventLoop::quit);
        QElapsedTimer sinceTick;
        qint64 longest = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] { longest = qMax(longest, sinceTick.restart()); });
        QElapsedTimer total;
        total.start();
        sinceTick.start();
        tick.start(kTickMs);
        transfer.startExercise(exercise);
        if (row.lastStatus == QLatin1String("100")) {
            // The client puts the sound in place while the transfer runs.
            QFile file(sound);
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) + QByteArray(28, '\0'));
        }
        if (transfer.isRunning())
            loop.exec();
        // The last stretch up to the next tick counts too.
        QEventLoop settle;
        QTimer::singleShot(2 * kTickMs, &settle, &QEventLoop::quit);
        settle.exec();
        tick.stop();
        const bool refused = failure == DownloadFailure::TooManyFields;
        const bool asItWas = QDir(QStringLiteral("Content")).entryList(QDir::Files) == before;
        const bool rowHeld = refused && asItWas && longest < kGoalMs;
        held = held && rowHeld;
        out << "  " << row.name << ": longest wait " << longest << " ms, refused "
            << (refused ? "for its fields" : "otherwise") << ", \"Content\" " << (asItWas ? "as it was" : "changed")
            << ", in all " << total.elapsed() << " ms: " << (rowHeld ? "held" : "MISSED") << '\n';
        out.flush();
    }
    CourierOverFakeBridge::unload();
    delete PluginLocator::instance(PluginFiles::Storekeeper);
    out << (held ? "goal held\n" : "goal MISSED\n");
    return held ? 0 : 1;
}
