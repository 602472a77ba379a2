// One side of the lesson download benchmark, inside a temporary ready-to-run
// tree with the real network manager, bridge, Java client and a shared peer
// service. "uploader" makes 50 exercises and a lesson of them and uploads
// them; "downloader" finds the lesson and downloads it with the download bar,
// writing the time it took to the file named by BENCH_RESULT.

#include "AgentSession.h"
#include "DownloadStore.h"
#include "INetManager.h"
#include "TestHost.h"
#include "UploadForm.h"
#include "ZoDbHelper.h"
#include "ZoDownload.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

namespace {

const int kMembers = 50;
const QString kTitle = QStringLiteral("Cinquante mots");

} // namespace

class LessonDownloadAgent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        mSession.open();
        if (QTest::currentTestFailed())
            return;
        mSession.registerAndSignIn(QStringLiteral("bench_") + QCoreApplication::arguments().last(),
                                   QStringLiteral("bench.pass1"));
    }

    void cleanupTestCase() { mSession.close(); }

    void uploader()
    {
        QStringList ids;
        for (int i = 1; i <= kMembers; ++i) {
            ids << mSession.addRecordedExercise(QStringLiteral("mot %1").arg(i), QStringLiteral("mot-%1.wav").arg(i),
                                                i);
            QVERIFY(!ids.last().isEmpty());
        }
        QVERIFY(!mSession.addLesson(kTitle, QStringLiteral("Bench"), ids).isEmpty());
        TestHost host;
        UploadForm form(&host);
        QCOMPARE(form.pendingCount(), kMembers + 1);
        form.upload();
        QCOMPARE(host.offlineMoves, 0);
    }

    void downloader()
    {
        int status = 0;
        int total = 0;
        const QList<ZoLesson> found = mSession.net()->queryLessons(
            {{"Title", kTitle}, {"Description", kTitle}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}},
            &status, &total);
        QCOMPARE(found.size(), 1);
        QCOMPARE(DownloadStore::memberCount(found.first()), kMembers);
        TestHost host;
        ZoDownload download(found.first());
        download.setMainWindow(&host);
        QSignalSpy complete(&download, &ZoDownload::downloadComplete);
        QSignalSpy finished(&download, &ZoDownload::finished);
        QElapsedTimer timer;
        timer.start();
        download.start();
        QVERIFY(!finished.isEmpty() || finished.wait(600000));
        const qint64 ms = timer.elapsed();
        QCOMPARE(complete.size(), 1);
        QCOMPARE(host.offlineMoves, 0);
        QVERIFY(ZoDbHelper().countByPersistentId(found.first().pId()) == 1);
        QFile result(qEnvironmentVariable("BENCH_RESULT"));
        QVERIFY(result.open(QIODevice::WriteOnly));
        result.write(QStringLiteral("lesson of %1 exercises with sound, downloaded and stored: %2 ms (%3 ms each)\n")
                         .arg(kMembers)
                         .arg(ms)
                         .arg(double(ms) / kMembers, 0, 'f', 1)
                         .toUtf8());
    }

private:
    AgentSession mSession;
};

QTEST_MAIN(LessonDownloadAgent)
#include "lesson_download_agent.moc"
