#include "DialogFixture.h"
#include "DownloadBars.h"
#include "IDbManager.h"
#include "PluginLocator.h"
#include "TestDatabase.h"
#include "ZoDbHelper.h"
#include "ZoDownload.h"

#include <QDir>
#include <QDomDocument>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <memory>

using Hash = QHash<QString, QString>;

using DownloadBars::store;
using DownloadBars::storedIdOf;

namespace {

// A found exercise as the network manager gives it: level as an id, no local id.
ZoExercise foundExercise(const QString& pid, const QString& term)
{
    return ZoExercise(QStringLiteral("0"), pid, term, QStringLiteral("French"), QString(), QStringLiteral("Content"),
                      term + QStringLiteral(".ogg"), QStringLiteral("France"), QStringLiteral("3"), QString(),
                      QStringLiteral("Lyon"), QStringLiteral("bob"), QStringLiteral("0"), pid + QStringLiteral("-t"),
                      QStringLiteral("0"), pid + QStringLiteral("-m"), QString(), QStringLiteral("bob"),
                      QStringLiteral("12"), QStringLiteral("12"));
}

} // namespace

// One download bar against the real store and a scripted network.
class TestDownload : public QObject
{
    Q_OBJECT

    DialogFixture<> mFixture;
    WizardTestTree& tree() { return mFixture.tree(); }

    std::unique_ptr<ZoDownload> bar(const ZoExercise& exercise) { return DownloadBars::bar(exercise, mFixture.host()); }

    // Runs the job to its end.
    static void run(ZoDownload& download) { QVERIFY(DownloadBars::run(download)); }

    static QString face(const ZoDownload& download)
    {
        if (download.btnDownloadComplete->isVisible())
            return QStringLiteral("complete");
        if (download.btnError->isVisible())
            return download.btnError->text() + (download.btnError->isEnabled() ? QString() : QStringLiteral(" (off)"));
        return QStringLiteral("running");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mFixture.setUp());
        QVERIFY(TestDatabase::createFile(tree().tree().filePath(QStringLiteral("vireda.db"))));
        QVERIFY(store());
    }

    void init() { QVERIFY(mFixture.reset()); }
    void cleanupTestCase() { mFixture.tearDown(); }

    void titleIsPlainText()
    {
        auto download = bar(foundExercise(QStringLiteral("pm-title"), QStringLiteral("<b>chat</b>")));
        QCOMPARE(download->lblContentTitle->textFormat(), Qt::PlainText);
        QCOMPARE(download->lblContentTitle->text(), QStringLiteral("<b>chat</b>"));
        QVERIFY(!download->btnError->isVisible());
        QVERIFY(!download->btnDownloadComplete->isVisible());
        QCOMPARE(download->btnDownloadComplete->toolTip(), QStringLiteral("Go Practice!"));
    }

    // The progress follows the status; the stored copy is what the job hands on.
    void exerciseArrives()
    {
        QVERIFY(tree().scriptNet({{"getDownloadStatus", "20 | 60 | 100"}}));
        auto download = bar(foundExercise(QStringLiteral("pm-arrive"), QStringLiteral("chien")));
        QSignalSpy complete(download.get(), &ZoDownload::downloadComplete);
        QList<int> progress;
        connect(download->pbStatus, &QProgressBar::valueChanged, this, [&](int v) { progress << v; });
        run(*download);
        QCOMPARE(complete.size(), 1);
        QCOMPARE(face(*download), QStringLiteral("complete"));
        QCOMPARE(progress, QList<int>({20, 60, 100}));
        const int id = storedIdOf(QStringLiteral("pm-arrive"));
        QVERIFY(id > 0);
        QCOMPARE(download->exercise().id(), QString::number(id));
        QCOMPARE(download->exercise().term(), QStringLiteral("chien"));
        QCOMPARE(tree().netCalls(QStringLiteral("downloadExercise")).size(), 1);
    }

    void alreadyStoredIsNotDownloaded()
    {
        ZoExercise stored = foundExercise(QStringLiteral("pm-stored"), QStringLiteral("maison"));
        stored.setFluencyLevel(QString());
        QCOMPARE(store()->insertExercise(QStringLiteral("Exercise"), &stored), 1);
        const int id = storedIdOf(QStringLiteral("pm-stored"));
        QVERIFY(id > 0);
        QVERIFY(tree().scriptNet({}));
        auto download = bar(foundExercise(QStringLiteral("pm-stored"), QStringLiteral("maison")));
        QSignalSpy complete(download.get(), &ZoDownload::downloadComplete);
        run(*download);
        QCOMPARE(complete.size(), 1);
        QCOMPARE(face(*download), QStringLiteral("complete"));
        QCOMPARE(download->exercise().id(), QString::number(id));
        QVERIFY(tree().netCalls(QStringLiteral("downloadExercise")).isEmpty());
        QCOMPARE(storedIdOf(QStringLiteral("pm-stored")), id);
    }

    // Failures of the transfer: the program goes offline and the bar shows why.
    void transferFails_data()
    {
        QTest::addColumn<QString>("statuses");
        QTest::addColumn<int>("minimumMs");
        QTest::newRow("no progress") << "0" << 300;
        QTest::newRow("stalled") << "10 | 40" << 500;
        QTest::newRow("negative") << "30 | -1" << 0;
        QTest::newRow("no handle") << "" << 0;
    }

    void transferFails()
    {
        QFETCH(QString, statuses);
        QFETCH(int, minimumMs);
        Hash script{{"getDownloadStatus", statuses}};
        if (statuses.isEmpty())
            script = {{"downloadExercise", "-1"}};
        QVERIFY(tree().scriptNet(script));
        const QString pid = QStringLiteral("pm-fail-") + QTest::currentDataTag();
        auto download = bar(foundExercise(pid, QStringLiteral("cheval")));
        download->setTimeLimits(300, 500);
        QSignalSpy complete(download.get(), &ZoDownload::downloadComplete);
        QSignalSpy next(download.get(), &ZoDownload::signalMoveNextToHeadOfQueue);
        QSignalSpy offline(download.get(), &ZoDownload::signalMoveToOfflineMode);
        QElapsedTimer timer;
        timer.start();
        run(*download);
        QVERIFY(timer.elapsed() >= minimumMs);
        QVERIFY(timer.elapsed() < minimumMs + 5000);
        QCOMPARE(complete.size(), 0);
        QCOMPARE(next.size(), 1);
        QCOMPARE(offline.size(), 1);
        QCOMPARE(mFixture.host()->offlineMoves, 1);
        QCOMPARE(face(*download), QStringLiteral("Error"));
        QCOMPARE(download->message(), QStringLiteral("Network Error."));
        QCOMPARE(storedIdOf(pid), 0);
    }

    void cancelWhilePolling()
    {
        QVERIFY(tree().scriptNet({{"getDownloadStatus", "5 | 10"}, {"downloadExercise", "7"}}));
        auto download = bar(foundExercise(QStringLiteral("pm-cancel"), QStringLiteral("vache")));
        QSignalSpy next(download.get(), &ZoDownload::signalMoveNextToHeadOfQueue);
        QTimer::singleShot(400, download->btnCancel, [&] { QTest::mouseClick(download->btnCancel, Qt::LeftButton); });
        run(*download);
        QCOMPARE(face(*download), QStringLiteral("Cancelled (off)"));
        QCOMPARE(download->message(), QStringLiteral("You cancelled it."));
        QCOMPARE(next.size(), 1);
        const auto cancels = tree().netCalls(QStringLiteral("cancelDownload"));
        QCOMPARE(cancels.size(), 1);
        QCOMPARE(cancels.first().arg(0), QStringLiteral("7"));
        QCOMPARE(storedIdOf(QStringLiteral("pm-cancel")), 0);
    }

    void cancelWhileQueued()
    {
        auto download = bar(foundExercise(QStringLiteral("pm-queued"), QStringLiteral("poule")));
        download->queue();
        QCOMPARE(face(*download), QStringLiteral("Queued"));
        QCOMPARE(download->message(), QStringLiteral("This Exercise will be downloaded soon."));
        QSignalSpy clear(download.get(), &ZoDownload::enableClearDownloadedButton);
        QTest::mouseClick(download->btnCancel, Qt::LeftButton);
        QCOMPARE(face(*download), QStringLiteral("Cancelled (off)"));
        QCOMPARE(download->state(), int(ZoDownload::Idle));
        QCOMPARE(clear.size(), 1);
        // Its turn comes: it only reports itself done, cancelled.
        QSignalSpy complete(download.get(), &ZoDownload::downloadComplete);
        run(*download);
        QCOMPARE(complete.size(), 1);
        QVERIFY(download->isCancelled());
        QVERIFY(tree().netCalls(QStringLiteral("downloadExercise")).isEmpty());
    }

    // A job without a persistent id asks the network nothing and stores nothing.
    void refusedWithoutPersistentId_data()
    {
        QTest::addColumn<bool>("lesson");
        QTest::newRow("exercise") << false;
        QTest::newRow("lesson") << true;
    }

    void refusedWithoutPersistentId()
    {
        QFETCH(bool, lesson);
        QVERIFY(tree().scriptNet({}));
        const int lessonsBefore = int(store()->search(QStringLiteral("Lesson"), {{"Title", QString()}}).size());
        std::unique_ptr<ZoDownload> download;
        if (lesson) {
            download = std::make_unique<ZoDownload>(ZoLesson(Hash{{"Title", "sans nom"}, {"EId1", "pm-lapin"}}));
            download->setMainWindow(mFixture.host());
        } else {
            download = bar(foundExercise(QString(), QStringLiteral("lapin")));
        }
        QSignalSpy complete(download.get(), &ZoDownload::downloadComplete);
        run(*download);
        QCOMPARE(complete.size(), 0);
        QVERIFY(!download->btnError->isHidden());
        QVERIFY(download->btnDownloadComplete->isHidden());
        QCOMPARE(download->btnError->text(), QStringLiteral("Error"));
        QCOMPARE(download->message(), QStringLiteral("Parsing Error."));
        QVERIFY(tree().netCalls(QStringLiteral("downloadExercise")).isEmpty());
        QVERIFY(tree().netCalls(QStringLiteral("downloadManifest")).isEmpty());
        QCOMPARE(int(store()->search(QStringLiteral("Lesson"), {{"Title", QString()}}).size()), lessonsBefore);
    }

    // A translation document the manager cannot read stores nothing.
    void unreadableTranslations()
    {
        QVERIFY(tree().scriptNet({{"getTranslationXml", "garbage"}, {"parseTranslationXml", "setContent failed"}}));
        auto download = bar(foundExercise(QStringLiteral("pm-garbage"), QStringLiteral("canard")));
        run(*download);
        QCOMPARE(face(*download), QStringLiteral("Error"));
        QCOMPARE(download->message(), QStringLiteral("Parsing Error."));
        QCOMPARE(storedIdOf(QStringLiteral("pm-garbage")), 0);
    }

    // The bar in German: every message of the bar is translated, and the
    // bar shows the German texts.
    void german()
    {
        QFile ts(QStringLiteral(VIREDA_SOURCE_DIR "/search/translations/search-Deutsch.ts"));
        QVERIFY(ts.open(QIODevice::ReadOnly));
        QDomDocument document;
        QVERIFY(document.setContent(&ts));
        QStringList sources;
        const QDomNodeList contexts = document.elementsByTagName(QStringLiteral("context"));
        for (int i = 0; i < contexts.size(); ++i) {
            const QDomElement context = contexts.at(i).toElement();
            if (context.firstChildElement(QStringLiteral("name")).text() != QLatin1String("ZoDownload"))
                continue;
            for (QDomElement message = context.firstChildElement(QStringLiteral("message")); !message.isNull();
                 message = message.nextSiblingElement(QStringLiteral("message"))) {
                const QString source = message.firstChildElement(QStringLiteral("source")).text();
                const QDomElement translation = message.firstChildElement(QStringLiteral("translation"));
                QVERIFY2(!translation.text().isEmpty() && !translation.hasAttribute(QStringLiteral("type")),
                         qPrintable(source));
                sources << source;
            }
        }
        for (const char* text : {"Cancel", "Error", "Download Complete", "Go Practice!", "Queued", "Cancelled",
                                 "Exercise", "Lesson", "This %1 will be downloaded soon.", "You cancelled it.",
                                 "Network Error.", "Parsing Error.", "The download could not be stored."})
            QVERIFY2(sources.contains(QLatin1String(text)), text);

        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral("search-Deutsch"),
                                QDir(TestTree::distPath()).filePath(QStringLiteral("Translations/Deutsch"))));
        QCoreApplication::installTranslator(&translator);
        QVERIFY(tree().scriptNet({}));
        auto queued = bar(foundExercise(QStringLiteral("pm-de"), QStringLiteral("loup")));
        queued->queue();
        auto refused = bar(foundExercise(QString(), QStringLiteral("ours")));
        run(*refused);
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(queued->btnCancel->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(queued->btnDownloadComplete->text(), QStringLiteral("Fertig geladen"));
        QCOMPARE(queued->btnDownloadComplete->toolTip(), QStringLiteral("Jetzt üben!"));
        QCOMPARE(face(*queued), QStringLiteral("Wartet"));
        QCOMPARE(queued->message(), QStringLiteral("Diese Übung wird bald heruntergeladen."));
        QCOMPARE(face(*refused), QStringLiteral("Fehler"));
        QCOMPARE(refused->message(), QStringLiteral("Fehler beim Lesen der Daten."));
    }

    // Deleted while it polls (later, as the queue does): the poll returns at once.
    void abandonedWhilePolling()
    {
        QVERIFY(tree().scriptNet({{"getDownloadStatus", "5"}, {"downloadExercise", "9"}}));
        auto* download = new ZoDownload(foundExercise(QStringLiteral("pm-gone"), QStringLiteral("mouton")));
        download->setMainWindow(mFixture.host());
        QPointer<ZoDownload> guard(download);
        QTimer::singleShot(300, download, [download] {
            download->abandon();
            download->deleteLater();
        });
        QElapsedTimer timer;
        timer.start();
        download->start();
        QVERIFY(timer.elapsed() < 5000);
        QTRY_VERIFY(!guard);
        QCOMPARE(tree().netCalls(QStringLiteral("cancelDownload")).size(), 1);
        QCOMPARE(storedIdOf(QStringLiteral("pm-gone")), 0);
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
