#include "ContentGate.h"
#include "CourierOverFakeBridge.h"
#include "DownloadBars.h"
#include "DownloadStore.h"
#include "DownloadTransfer.h"
#include "FakePeerReplies.h"
#include "IDbManager.h"
#include "INetManager.h"
#include "PluginFiles.h"
#include "TestDatabase.h"
#include "WizardTestTree.h"

#include <QDir>
#include <QDomDocument>
#include <QFileInfo>
#include <QMap>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace FakePeerReplies;

using DownloadBars::store;
using DownloadBars::storedIdOf;

Q_DECLARE_METATYPE(DownloadFailure)

namespace {

QString exerciseDocument(const QString& n)
{
    return statusReply(QStringLiteral("1"), QStringLiteral("downloadExerciseReply"), exerciseElement(n));
}

// An exercise document whose sound is named by a path that climbs out of "Content".
QString climbingDocument(const QString& n)
{
    return exerciseDocument(n).replace(QStringLiteral("chien%1.ogg").arg(n), QStringLiteral("../../etc/hostname"));
}

// An exercise document holding that many fields.
QString documentWithFields(const QString& n, int fields)
{
    return statusReply(QStringLiteral("1"), QStringLiteral("downloadExerciseReply"),
                       exerciseElement(n, QStringLiteral("<kvp kvpTypeID=\"7\"/>").repeated(fields)));
}

// Every file of "Content" with its bytes and time.
QMap<QString, QByteArray> contentFiles()
{
    QMap<QString, QByteArray> files;
    const QDir content(QStringLiteral("Content"));
    for (const QFileInfo& info : content.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(info.filePath());
        files.insert(info.fileName(), (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable"))
                                          + info.lastModified().toString(Qt::ISODateWithMs).toUtf8());
    }
    return files;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A sound the player plays: 8-bit mono PCM at 8000 Hz, eight samples.
const QByteArray kWav = QByteArray("RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0"
                                   "data\x08\0\0\0",
                                   44)
                        + QByteArray(8, '\x80');

int callsOf(FakeBridge& bridge, const char* name)
{
    int count = 0;
    for (const FakeBridge::Call& call : bridge.calls())
        count += call.name == QLatin1String(name) ? 1 : 0;
    return count;
}

} // namespace

// The transfer of a download, without a bar: the real network manager over
// the fake bridge, the real store.
class TestDownloadTransfer : public QObject
{
    Q_OBJECT

    std::unique_ptr<WizardTestTree> mTree;
    CourierOverFakeBridge mCourier;

    FakeBridge& bridge() { return mCourier.bridge(); }

    ZoExercise foundExercise(const QString& n)
    {
        bridge().queue(QStringLiteral("sendQuery"), exerciseQueryReply(exerciseElement(n), 1));
        int status = 0;
        int total = 0;
        return CourierOverFakeBridge::manager()
            ->queryExercises({{"Term", "x"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}}, &status,
                             &total)
            .value(0);
    }

    // Members E-<n>1, E-<n>2, ...; the lesson itself among them when listsItself.
    ZoLesson foundLesson(const QString& n, int members, bool listsItself)
    {
        QList<QPair<QString, QString>> ids;
        for (int i = 1; i <= members; ++i)
            ids.append({QString::number(i), QStringLiteral("E-%1%2").arg(n).arg(i)});
        if (listsItself)
            ids.append({QString::number(members + 1), QStringLiteral("L-") + n});
        bridge().queue(QStringLiteral("sendQuery"), lessonQueryReply(lessonElement(QStringLiteral("L-") + n, ids), 1));
        int status = 0;
        int total = 0;
        return CourierOverFakeBridge::manager()
            ->queryLessons({{"Title", "x"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}}, &status,
                           &total)
            .value(0);
    }

    // A lesson past the member limit, as no search reply would hand it on.
    static ZoLesson longLesson(const QString& n)
    {
        ZoLesson lesson(QHash<QString, QString>{{"PId", QStringLiteral("L-") + n}, {"Title", "long"}});
        QHash<QString, QString> members;
        for (int i = 1; i <= ContentGate::MaxLessonMembers + 1; ++i)
            members.insert(QStringLiteral("EId%1").arg(i), QStringLiteral("E-%1%2").arg(n).arg(i));
        lesson.setPersistentExerciseIds(members);
        return lesson;
    }

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<WizardTestTree>();
        QVERIFY(mTree->isValid());
        QVERIFY(mCourier.install(mTree->tree()));
        QVERIFY(TestDatabase::createFile(mTree->tree().filePath(QStringLiteral("vireda.db"))));
        QVERIFY(store());
        QVERIFY(CourierOverFakeBridge::manager());
    }

    void init() { bridge().reset(); }

    void cleanupTestCase()
    {
        CourierOverFakeBridge::unload();
        delete PluginLocator::instance(PluginFiles::Storekeeper);
        mTree.reset();
    }

    // Every way a job ends: what it reports, the progress on the way, the
    // transfers it cancels (so that the client removes partial files) and
    // what it stores.
    void outcome_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("n");
        QTest::addColumn<QStringList>("statuses");
        QTest::addColumn<QString>("lastStatus");
        QTest::addColumn<QStringList>("documents");
        QTest::addColumn<QString>("action");
        QTest::addColumn<DownloadFailure>("failure");
        QTest::addColumn<QList<int>>("progress");
        // The last progress value repeats until the job ends.
        QTest::addColumn<bool>("repeats");
        QTest::addColumn<int>("cancels");
        using F = DownloadFailure;
        using P = QList<int>;
        const QString none;
        const QStringList no;
        QTest::newRow("exercise arrives")
            << "exercise"
            << "A1" << QStringList{"20", "60"} << none << QStringList{exerciseDocument("A1")} << none << F::None
            << P{20, 60, 100} << false << 0;
        QTest::newRow("exercise without a document")
            << "exercise"
            << "A2" << no << none << no << none << F::None << P{100} << false << 0;
        QTest::newRow("lesson arrives") << "lesson"
                                        << "B1" << QStringList{"40"} << none
                                        << QStringList{exerciseDocument("B11"), exerciseDocument("B12")} << none
                                        << F::None << P{1, 2} << false << 0;
        QTest::newRow("no handle") << "no handle"
                                   << "C0" << no << none << no << none << F::Network << P() << false << 0;
        QTest::newRow("status -1") << "exercise"
                                   << "C1" << QStringList{"30", "-1"} << none << no << none << F::Network << P{30}
                                   << false << 0;
        QTest::newRow("content refused") << "exercise"
                                         << "C2" << no << "-2" << no << none << F::SoundRefused << P() << false << 0;
        QTest::newRow("content refused, name not plain") << "exercise"
                                                         << "C3" << no << "-2" << QStringList{climbingDocument("C3")}
                                                         << none << F::SoundNameNotPlain << P() << false << 0;
        QTest::newRow("no progress") << "exercise"
                                     << "C4" << no << "0" << no << none << F::Network << P{0} << true << 1;
        QTest::newRow("stalled") << "exercise"
                                 << "C5" << no << "10" << no << none << F::Network << P{10} << true << 1;
        QTest::newRow("another exercise sent") << "exercise"
                                               << "C6" << no << none << QStringList{exerciseDocument("C7")} << none
                                               << F::OtherExercise << P{100} << false << 0;
        QTest::newRow("downloaded name not plain") << "exercise"
                                                   << "C8" << no << none << QStringList{climbingDocument("C8")} << none
                                                   << F::SoundNameNotPlain << P{100} << false << 0;
        QTest::newRow("member status -1") << "lesson"
                                          << "D1" << no << "-1" << no << none << F::Network << P() << false << 0;
        QTest::newRow("member unreadable") << "lesson"
                                           << "D2" << no << none << QStringList{exerciseDocument("D21"), "<<not xml"}
                                           << none << F::Parsing << P{1} << false << 0;
        QTest::newRow("lesson past the member limit")
            << "too long"
            << "D3" << no << none << no << none << F::TooManyMembers << P() << false << 0;
        QTest::newRow("lesson lists itself") << "lists itself"
                                             << "D4" << no << none << no << none << F::ListsItself << P() << false << 0;
        QTest::newRow("cancelled") << "exercise"
                                   << "E1" << no << "10" << no << "cancel" << F::Cancelled << P{10} << true << 1;
        QTest::newRow("lesson cancelled") << "lesson"
                                          << "E2" << no << "10" << no << "cancel" << F::Cancelled << P() << false << 1;
        QTest::newRow("gone offline") << "exercise"
                                      << "E3" << no << "10" << no << "offline" << F::WentOffline << P{10} << true << 1;
    }

    void outcome()
    {
        QFETCH(QString, kind);
        QFETCH(QString, n);
        QFETCH(QStringList, statuses);
        QFETCH(QString, lastStatus);
        QFETCH(QStringList, documents);
        QFETCH(QString, action);
        QFETCH(DownloadFailure, failure);
        QFETCH(QList<int>, progress);
        QFETCH(bool, repeats);
        QFETCH(int, cancels);

        ZoExercise exercise;
        ZoLesson lesson;
        const bool isLesson = kind != QLatin1String("exercise") && kind != QLatin1String("no handle");
        if (kind == QLatin1String("too long"))
            lesson = longLesson(n);
        else if (isLesson)
            lesson = foundLesson(n, 2, kind == QLatin1String("lists itself"));
        else
            exercise = foundExercise(n);
        QVERIFY(!(isLesson ? lesson.pId() : exercise.pId()).isEmpty());
        for (const QString& status : statuses)
            bridge().queue(QStringLiteral("getDownloadStatus"), status);
        if (!lastStatus.isEmpty())
            bridge().setDefault(QStringLiteral("getDownloadStatus"), lastStatus);
        for (const QString& document : documents)
            bridge().queue(QStringLiteral("getDownloadXml"), document);
        if (kind == QLatin1String("no handle"))
            bridge().queue(QStringLiteral("downloadExercise"), QStringLiteral("-1"));

        INetManager* net = CourierOverFakeBridge::manager();
        DownloadTransfer transfer(net, store());
        transfer.setTimeLimits(100, 200);
        QSignalSpy completed(&transfer, &DownloadTransfer::completed);
        QList<DownloadFailure> failures;
        connect(&transfer, &DownloadTransfer::failed, this, [&](DownloadFailure reason) { failures << reason; });
        QList<int> seen;
        connect(&transfer, &DownloadTransfer::progress, this, [&](int value) { seen << value; });
        if (action == QLatin1String("cancel"))
            QTimer::singleShot(100, &transfer, [&] { transfer.cancel(); });
        else if (action == QLatin1String("offline"))
            QTimer::singleShot(100, &transfer, [&] { net->setOfflineLogin(1); });

        if (isLesson)
            transfer.startLesson(lesson);
        else
            transfer.startExercise(exercise);
        QTRY_VERIFY_WITH_TIMEOUT(!transfer.isRunning(), 5000);
        // Nothing more is reported after the end.
        QTest::qWait(50);
        if (action == QLatin1String("offline"))
            CourierOverFakeBridge::unload(); // the next row gets a manager online

        QCOMPARE(completed.size() + failures.size(), 1);
        QCOMPARE(failures.value(0, DownloadFailure::None), failure);
        if (repeats) {
            QVERIFY(seen.size() >= progress.size());
            for (int value : std::as_const(seen))
                QCOMPARE(value, progress.last());
        } else {
            QCOMPARE(seen, progress);
        }
        QCOMPARE(callsOf(bridge(), "cancelDownload"), cancels);

        const bool stored = failure == DownloadFailure::None;
        if (isLesson) {
            const int id = storedIdOf(lesson.pId());
            QCOMPARE(id > 0, stored);
            if (stored) {
                const QStringList expected{QString::number(storedIdOf(QStringLiteral("E-") + n + QStringLiteral("1"))),
                                           QString::number(storedIdOf(QStringLiteral("E-") + n + QStringLiteral("2")))};
                QCOMPARE(QStringList({transfer.lesson().exerciseId(0), transfer.lesson().exerciseId(1)}), expected);
                QVERIFY(!expected.contains(QStringLiteral("0")));
            }
        } else {
            const int id = storedIdOf(exercise.pId());
            QCOMPARE(id > 0, stored);
            if (stored)
                QCOMPARE(transfer.exercise().id(), QString::number(id));
        }
    }

    // A refused download leaves "Content" as it was: a sound it fetched is
    // removed, a file there before it is not.
    void refusalLeavesContentAsItWas_data()
    {
        QTest::addColumn<QString>("n");
        QTest::addColumn<QString>("document");
        // The status the client ends with: 100 (all is in) or -2 (refused by the client).
        QTest::addColumn<QString>("lastStatus");
        // What the client fetched meanwhile as the document's sound; none when empty.
        QTest::addColumn<QByteArray>("fetched");
        QTest::addColumn<QString>("translations");
        // The document names the learner's own recording, there before the download.
        QTest::addColumn<bool>("namesLearnersFile");
        QTest::addColumn<DownloadFailure>("failure");
        using F = DownloadFailure;
        const QString none;
        for (int fields : {ContentGate::MaxFieldsPerExercise + 1, 50000, 150000}) {
            const QString n = QStringLiteral("F%1").arg(fields);
            QTest::addRow("%d fields", fields)
                << n << documentWithFields(n, fields) << "100" << kWav << none << false << F::TooManyFields;
            QTest::addRow("%d fields, refused by the client", fields)
                << n << documentWithFields(n, fields) << "-2" << QByteArray() << none << false << F::TooManyFields;
        }
        QTest::newRow("sound not a WAV file") << "G1" << exerciseDocument("G1") << "100" << QByteArray("MZ\x90\0prog")
                                              << none << false << F::SoundRefused;
        QTest::newRow("another exercise sent") << "G2" << exerciseDocument("G9").replace("chienG9", "chienG2") << "100"
                                               << kWav << none << false << F::OtherExercise;
        QTest::newRow("translations unreadable")
            << "G3" << exerciseDocument("G3") << "100" << kWav << "<<not xml" << false << F::Parsing;
        QTest::newRow("the learner's own file named")
            << "G4" << exerciseDocument("G4") << "100" << QByteArray() << none << true << F::SoundRefused;
        QTest::newRow("the learner's own file named, refused by the client")
            << "G5" << documentWithFields("G5", 1001) << "-2" << QByteArray() << none << true << F::TooManyFields;
    }

    void refusalLeavesContentAsItWas()
    {
        QFETCH(QString, n);
        QFETCH(QString, document);
        QFETCH(QString, lastStatus);
        QFETCH(QByteArray, fetched);
        QFETCH(QString, translations);
        QFETCH(bool, namesLearnersFile);
        QFETCH(DownloadFailure, failure);

        QVERIFY(QDir().mkpath(QStringLiteral("Content")));
        const QString soundPath = QStringLiteral("Content/chien%1.ogg").arg(n);
        if (namesLearnersFile) {
            // Recorded an hour ago; not a WAV file, so the gate refuses it as the download's sound.
            QVERIFY(writeFile(soundPath, "the learner's own recording"));
            QFile file(soundPath);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        }
        const QMap<QString, QByteArray> before = contentFiles();
        const ZoExercise exercise = foundExercise(n);
        QVERIFY(!exercise.pId().isEmpty());
        // Running at the first look; then done or refused.
        bridge().queue(QStringLiteral("getDownloadStatus"), QStringLiteral("20"));
        bridge().setDefault(QStringLiteral("getDownloadStatus"), lastStatus);
        bridge().setDefault(QStringLiteral("getDownloadXml"), document);
        if (!translations.isEmpty())
            bridge().queue(QStringLiteral("getTranslationXml"), translations);

        DownloadTransfer transfer(CourierOverFakeBridge::manager(), store());
        QList<DownloadFailure> failures;
        connect(&transfer, &DownloadTransfer::failed, this, [&](DownloadFailure reason) { failures << reason; });
        transfer.startExercise(exercise);
        QVERIFY(transfer.isRunning());
        // The client puts the sound in place while the transfer runs.
        if (!fetched.isEmpty()) {
            QVERIFY(writeFile(soundPath, fetched));
            QVERIFY(contentFiles() != before);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!transfer.isRunning(), 10000);
        QCOMPARE(failures, QList<DownloadFailure>{failure});
        QCOMPARE(contentFiles(), before);
        QCOMPARE(storedIdOf(exercise.pId()), 0);
        QFile::remove(soundPath);
    }

    // A sound named like one of Qt's resources is looked at in "Content".
    void soundCheckLooksAtTheFile()
    {
        QVERIFY(QDir().mkpath(QStringLiteral("Content")));
        QVERIFY(writeFile(QStringLiteral("Content/:evil.wav"), "MZ\x90 program"));
        ZoExercise exercise;
        exercise.setMediaPath(QStringLiteral("Content"));
        exercise.setMediaName(QStringLiteral(":evil.wav"));
        QCOMPARE(DownloadStore::soundRefusal(exercise), DownloadFailure::SoundRefused);
        QVERIFY(QFile::remove(QStringLiteral("Content/:evil.wav")));
    }

    // Stored content is not asked for again: the job hands on the stored copy.
    void storedIsNotFetched_data()
    {
        QTest::addColumn<bool>("lesson");
        QTest::newRow("exercise") << false;
        QTest::newRow("lesson") << true;
    }

    void storedIsNotFetched()
    {
        QFETCH(bool, lesson);
        const QString n = lesson ? QStringLiteral("S2") : QStringLiteral("S1");
        const ZoExercise exercise = lesson ? ZoExercise() : foundExercise(n);
        const ZoLesson found = lesson ? foundLesson(n, 2, false) : ZoLesson();
        INetManager* net = CourierOverFakeBridge::manager();
        for (int round = 0; round < 2; ++round) {
            bridge().reset();
            if (lesson) {
                bridge().queue(QStringLiteral("getDownloadXml"), exerciseDocument(n + QStringLiteral("1")));
                bridge().queue(QStringLiteral("getDownloadXml"), exerciseDocument(n + QStringLiteral("2")));
            }
            DownloadTransfer transfer(net, store());
            QSignalSpy completed(&transfer, &DownloadTransfer::completed);
            if (lesson)
                transfer.startLesson(found);
            else
                transfer.startExercise(exercise);
            QTRY_VERIFY_WITH_TIMEOUT(!transfer.isRunning(), 5000);
            QCOMPARE(completed.size(), 1);
            const int fetches = callsOf(bridge(), "downloadExercise") + callsOf(bridge(), "downloadManifest");
            QCOMPARE(fetches, round == 0 ? (lesson ? 2 : 1) : 0);
            if (lesson) {
                QCOMPARE(transfer.lesson().exerciseId(1),
                         QString::number(storedIdOf(QStringLiteral("E-") + n + QStringLiteral("2"))));
            } else {
                QCOMPARE(transfer.exercise().id(), QString::number(storedIdOf(exercise.pId())));
            }
        }
    }
};

// The store plug-in needs an application that can make widgets.
QTEST_MAIN(TestDownloadTransfer)
#include "tst_downloadtransfer.moc"
