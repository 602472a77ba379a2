#include "BoundedXml.h"
#include "ContentGate.h"
#include "CourierOverFakeBridge.h"
#include "DialogFixture.h"
#include "DownloadBars.h"
#include "FakePeerReplies.h"
#include "IDbManager.h"
#include "INetManager.h"
#include "PluginLocator.h"
#include "StoreRefusal.h"
#include "TestDatabase.h"
#include "ZoDbHelper.h"
#include "ZoDownload.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace FakePeerReplies;

using DownloadBars::store;
using DownloadBars::storedIdOf;

namespace {

// The document of a downloaded exercise.
QString exerciseDocument(const QString& n)
{
    return statusReply(QStringLiteral("1"), QStringLiteral("downloadExerciseReply"), exerciseElement(n));
}

// A translation document with one translated term and translation per number.
QString translationDocument(const QStringList& numbers)
{
    QString exercises;
    QString translations;
    for (const QString& n : numbers) {
        exercises += exerciseElement(n);
        translations += translationElement(n);
    }
    return statusReply(QStringLiteral("1"), QStringLiteral("downloadTranslation"), exercises + translations);
}

// A translation document with one translated term whose translation has a
// context in English.
QString translationWithContext(const QString& n, const QString& context)
{
    QString translation = translationElement(n);
    translation.replace(QStringLiteral("</translation>"),
                        QStringLiteral("<kvps>") + kvpElement(QStringLiteral("2"), context, QStringLiteral("eng"))
                            + QStringLiteral("</kvps></translation>"));
    return statusReply(QStringLiteral("1"), QStringLiteral("downloadTranslation"), exerciseElement(n) + translation);
}

// The media part of exerciseElement(n), to be replaced by a hostile one.
QString mediaPart(const QString& n)
{
    return QStringLiteral(
               "<media_manifest fluencyLevelID=\"3\"><mediaManifestFileName>chien%1.ogg</mediaManifestFileName>")
        .arg(n);
}

// An exercise document whose media part is replaced; "%1" in media stands for n.
QString withMedia(const QString& n, const QString& media)
{
    QString element = exerciseElement(n);
    element.replace(mediaPart(n), QString(media).replace(QStringLiteral("%1"), n));
    return statusReply(QStringLiteral("1"), QStringLiteral("downloadExerciseReply"), element);
}

QString namedMedia(const QString& name)
{
    return QStringLiteral("<media_manifest fluencyLevelID=\"3\"><mediaManifestFileName>%1</mediaManifestFileName>")
        .arg(name);
}

QString manyFields(int count)
{
    QString kvps;
    for (int i = 0; i < count; ++i)
        kvps += kvpElement(QStringLiteral("1"), QStringLiteral("v"), QStringLiteral("fra"));
    return kvps;
}

const char* const kOneSound = "The exercise does not name exactly one sound.";
const char* const kNotPlain = "The name of the exercise's sound is not a plain file name.";
const char* const kSoundRefused = "The exercise's sound was refused: the peer does not have it, or it is not a WAV "
                                  "sound of at most 32 MB.";

} // namespace

// Download bars whose documents the real network manager parses (over the fake bridge).
class TestDownloadParsed : public QObject
{
    Q_OBJECT

    DialogFixture<> mFixture;
    CourierOverFakeBridge mCourier;

    FakeBridge& bridge() { return mCourier.bridge(); }

    std::unique_ptr<ZoDownload> bar(const ZoExercise& exercise) { return DownloadBars::bar(exercise, mFixture.host()); }

    // A lesson as a search finds it: members as (sequence number, persistent id).
    ZoLesson foundLesson(const QString& pid, const QList<QPair<QString, QString>>& members)
    {
        bridge().queue(QStringLiteral("sendQuery"), lessonQueryReply(lessonElement(pid, members), 1));
        int status = 0;
        int total = 0;
        const QList<ZoLesson> found = CourierOverFakeBridge::manager()->queryLessons(
            {{"Title", "x"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}}, &status, &total);
        return found.value(0);
    }

    // A found exercise: the first of a search reply.
    ZoExercise foundExercise(const QString& n)
    {
        bridge().queue(QStringLiteral("sendQuery"), exerciseQueryReply(exerciseElement(n), 1));
        int status = 0;
        int total = 0;
        const QList<ZoExercise> found = CourierOverFakeBridge::manager()->queryExercises(
            {{"Term", "x"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}}, &status, &total);
        return found.value(0);
    }

    QStringList storedMembers(const QString& lessonPid)
    {
        const int id = storedIdOf(lessonPid);
        const QList<QHash<QString, QString>> rows = store()->search(QStringLiteral("Lesson"),
                                                                    {{"Id", QString::number(id)}});
        QStringList members;
        if (rows.isEmpty())
            return {QStringLiteral("<no lesson>")};
        for (int i = 1; rows.first().contains(QStringLiteral("EId%1").arg(i)); ++i)
            members << rows.first().value(QStringLiteral("EId%1").arg(i));
        return members;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mFixture.setUp());
        QVERIFY(mCourier.install(mFixture.tree().tree()));
        QVERIFY(TestDatabase::createFile(mFixture.tree().tree().filePath(QStringLiteral("vireda.db"))));
        QVERIFY(store());
        QVERIFY(CourierOverFakeBridge::manager());
    }

    void init()
    {
        QVERIFY(mFixture.reset());
        bridge().reset();
    }

    void cleanupTestCase()
    {
        CourierOverFakeBridge::unload();
        mFixture.tearDown();
    }

    // The translations that come with an exercise are stored with it.
    void translations_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("context");
        QTest::newRow("no document") << "11" << QString() << 0 << "complete" << QStringList() << QString();
        QTest::newRow("none") << "12" << statusReply(QStringLiteral("-1"), QStringLiteral("downloadTranslation")) << 0
                              << "complete" << QStringList() << QString();
        QTest::newRow("two") << "13" << translationDocument({"21", "22"}) << 2 << "complete"
                             << QStringList({"chien 21", "chien 22"}) << QString();
        QTest::newRow("garbage") << "14" << QStringLiteral("<<not xml") << -1 << "Parsing Error." << QStringList()
                                 << QString();
        QTest::newRow("with a context") << "15"
                                        << translationWithContext(QStringLiteral("23"), QStringLiteral("at the door"))
                                        << 1 << "complete" << QStringList{"chien 23"} << "at the door";
    }

    void translations()
    {
        QFETCH(QString, number);
        QFETCH(QString, document);
        QFETCH(int, stored);
        QFETCH(QString, face);
        QFETCH(QStringList, values);
        QFETCH(QString, context);
        const ZoExercise found = foundExercise(number);
        QCOMPARE(found.pId(), QStringLiteral("E-") + number);
        if (!document.isNull())
            bridge().setDefault(QStringLiteral("getTranslationXml"), document);
        auto download = bar(found);
        QSignalSpy complete(download.get(), &ZoDownload::downloadComplete);
        QVERIFY(DownloadBars::run(*download));
        const int id = storedIdOf(found.pId());
        if (stored < 0) {
            QCOMPARE(complete.size(), 0);
            QCOMPARE(download->message(), face);
            QCOMPARE(id, 0);
            return;
        }
        QCOMPARE(complete.size(), 1);
        QVERIFY(id > 0);
        std::unique_ptr<ZoExercise> exercise(store()->getExercise(QStringLiteral("Exercise"), QString::number(id)));
        QVERIFY(exercise);
        const QList<QHash<QString, QString>> fields = exercise->fields().values(QStringLiteral("Translation"));
        QCOMPARE(fields.size(), stored);
        QStringList storedValues;
        for (const auto& field : fields)
            storedValues << field.value(QStringLiteral("Value"));
        storedValues.sort();
        QCOMPARE(storedValues, values);
        ZoDbHelper helper;
        for (const auto& field : fields) {
            QCOMPARE(field.value(QStringLiteral("Language")), helper.languageName(QStringLiteral("fra")));
            QCOMPARE(field.value(QStringLiteral("Context")), context);
            QCOMPARE(field.value(QStringLiteral("Context_Language")),
                     context.isEmpty() ? QString() : helper.languageName(QStringLiteral("eng")));
        }
    }

    // A member stored already is not downloaded again; the rest are, in order.
    void lessonWithAStoredMember()
    {
        ZoExercise first = foundExercise(QStringLiteral("31"));
        first.setFluencyLevel(QString());
        QCOMPARE(store()->insertExercise(QStringLiteral("Exercise"), &first), 1);
        const int firstId = storedIdOf(QStringLiteral("E-31"));
        QVERIFY(firstId > 0);
        const ZoLesson lesson = foundLesson(QStringLiteral("L-3"), {{"1", "E-31"}, {"2", "E-32"}, {"3", "E-33"}});
        QCOMPARE(lesson.persistentExerciseId(2), QStringLiteral("E-33"));
        bridge().queue(QStringLiteral("getDownloadXml"), exerciseDocument(QStringLiteral("32")));
        bridge().queue(QStringLiteral("getDownloadXml"), exerciseDocument(QStringLiteral("33")));

        auto download = std::make_unique<ZoDownload>(lesson);
        download->setMainWindow(mFixture.host());
        QList<int> progress;
        connect(download->pbStatus, &QProgressBar::valueChanged, this, [&](int v) { progress << v; });
        QSignalSpy complete(download.get(), &ZoDownload::downloadComplete);
        QVERIFY(DownloadBars::run(*download));
        QCOMPARE(complete.size(), 1);
        QCOMPARE(download->pbStatus->maximum(), 3);
        QCOMPARE(progress, QList<int>({1, 2, 3}));
        QStringList downloaded;
        for (const FakeBridge::Call& call : bridge().calls()) {
            if (call.name == QLatin1String("downloadManifest"))
                downloaded << call.args.value(0);
        }
        QCOMPARE(downloaded, QStringList({"E-32", "E-33"}));
        QCOMPARE(storedMembers(QStringLiteral("L-3")),
                 QStringList({QString::number(firstId), QString::number(storedIdOf(QStringLiteral("E-32"))),
                              QString::number(storedIdOf(QStringLiteral("E-33")))}));
    }

    // A lesson of one member is stored with that member.
    void lessonOfOneMember()
    {
        const ZoLesson lesson = foundLesson(QStringLiteral("L-4"), {{"1", "E-41"}});
        bridge().queue(QStringLiteral("getDownloadXml"), exerciseDocument(QStringLiteral("41")));
        ZoDownload download(lesson);
        QVERIFY(DownloadBars::run(download));
        QVERIFY(storedIdOf(QStringLiteral("E-41")) > 0);
        QCOMPARE(storedMembers(QStringLiteral("L-4")),
                 QStringList{QString::number(storedIdOf(QStringLiteral("E-41")))});
        QVERIFY(!download.btnDownloadComplete->isHidden());
    }

    // A member that cannot be read, or that the store refuses, stops the
    // lesson: members stored before stay, the rest are not fetched and the
    // lesson is not stored.
    void lessonWithAFailingMember_data()
    {
        QTest::addColumn<QString>("lessonPid");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("message");
        QTest::newRow("unreadable") << "5" << false << "<message><body/></message>"
                                    << "Parsing Error.";
        QTest::newRow("refused by the store") << "7" << true << QString() << "The download could not be stored.";
        QTest::newRow("not xml") << "8" << false << "<<not xml"
                                 << "Parsing Error.";
        QTest::newRow("no document") << "9" << false << ""
                                     << "Network Error.";
    }

    void lessonWithAFailingMember()
    {
        QFETCH(QString, lessonPid);
        QFETCH(bool, refused);
        QFETCH(QString, document);
        QFETCH(QString, message);
        const QString first = QStringLiteral("E-") + lessonPid + QLatin1Char('1');
        const QString second = QStringLiteral("E-") + lessonPid + QLatin1Char('2');
        const QString third = QStringLiteral("E-") + lessonPid + QLatin1Char('3');
        const ZoLesson lesson = foundLesson(QStringLiteral("L-") + lessonPid,
                                            {{"1", first}, {"2", second}, {"3", third}});
        bridge().queue(QStringLiteral("getDownloadXml"), exerciseDocument(lessonPid + QStringLiteral("1")));
        if (refused) {
            QVERIFY(StoreRefusal::refuse(mFixture.tree().tree().filePath(QStringLiteral("vireda.db")), second));
            bridge().queue(QStringLiteral("getDownloadXml"), exerciseDocument(lessonPid + QStringLiteral("2")));
        } else {
            bridge().queue(QStringLiteral("getDownloadXml"), document);
        }
        ZoDownload download(lesson);
        QSignalSpy complete(&download, &ZoDownload::downloadComplete);
        QSignalSpy next(&download, &ZoDownload::signalMoveNextToHeadOfQueue);
        QVERIFY(DownloadBars::run(download));
        QCOMPARE(complete.size(), 0);
        QCOMPARE(next.size(), 1);
        QCOMPARE(download.btnError->text(), QStringLiteral("Error"));
        QVERIFY(download.btnError->isEnabled());
        QCOMPARE(download.message(), message);
        QVERIFY(storedIdOf(first) > 0);
        QCOMPARE(storedIdOf(second), 0);
        QCOMPARE(storedIdOf(third), 0);
        QCOMPARE(storedIdOf(QStringLiteral("L-") + lessonPid), 0);
        QStringList fetched;
        for (const FakeBridge::Call& call : bridge().calls()) {
            if (call.name == QLatin1String("downloadManifest"))
                fetched << call.args.value(0);
        }
        QCOMPARE(fetched, QStringList({first, second}));
    }

    // A lesson stored already only hands on its members.
    void storedLessonIsNotDownloaded()
    {
        const ZoLesson lesson = foundLesson(QStringLiteral("L-6"), {{"1", "E-61"}});
        bridge().queue(QStringLiteral("getDownloadXml"), exerciseDocument(QStringLiteral("61")));
        ZoDownload first(lesson);
        QVERIFY(DownloadBars::run(first));
        QVERIFY(storedIdOf(QStringLiteral("L-6")) > 0);
        bridge().reset();
        ZoDownload again(lesson);
        QSignalSpy complete(&again, &ZoDownload::downloadComplete);
        QVERIFY(DownloadBars::run(again));
        QCOMPARE(complete.size(), 1);
        QCOMPARE(again.lesson().exerciseId(0), QString::number(storedIdOf(QStringLiteral("E-61"))));
        QVERIFY(bridge().calls().isEmpty());
    }

    // Hostile member documents: nothing of them is stored, the job says why
    // on its bar, and the program stays online.
    void hostileMember_data()
    {
        QTest::addColumn<QString>("n");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QByteArray>("soundFile");
        QTest::addColumn<QString>("message");
        const QString attribute = QStringLiteral(
            "<media_manifest fluencyLevelID=\"3\" mediaManifestFileName=\"../../../../etc/hostname\">");
        QTest::newRow("name in an attribute")
            << "H1" << withMedia("H1", attribute) << "100" << QByteArray() << kOneSound;
        QTest::newRow("attribute beside the element")
            << "H2"
            << withMedia("H2", attribute + QStringLiteral("<mediaManifestFileName>chien%1.ogg</mediaManifestFileName>"))
            << "100" << QByteArray() << kOneSound;
        QTest::newRow("two elements")
            << "H3"
            << withMedia("H3", mediaPart("%1") + QStringLiteral("<mediaManifestFileName>b.wav</mediaManifestFileName>"))
            << "100" << QByteArray() << kOneSound;
        QTest::newRow("markup in the name")
            << "H4" << withMedia("H4", namedMedia(QStringLiteral("a<b/>.wav"))) << "100" << QByteArray() << kOneSound;
        QTest::newRow("climbs") << "H5" << withMedia("H5", namedMedia(QStringLiteral("../../../../etc/hostname")))
                                << "100" << QByteArray() << kNotPlain;
        QTest::newRow("absolute") << "H6" << withMedia("H6", namedMedia(QStringLiteral("/etc/hostname"))) << "100"
                                  << QByteArray() << kNotPlain;
        QTest::newRow("line feed") << "H7" << withMedia("H7", namedMedia(QStringLiteral("a&#10;b.wav"))) << "100"
                                   << QByteArray() << kNotPlain;
        QTest::newRow("tab") << "H8" << withMedia("H8", namedMedia(QStringLiteral("a&#9;b.wav"))) << "100"
                             << QByteArray() << kNotPlain;
        QTest::newRow("right-to-left override")
            << "H9" << withMedia("H9", namedMedia(QStringLiteral("evil\u202Evaw.exe"))) << "100" << QByteArray()
            << kNotPlain;
        QTest::newRow("empty name") << "H10" << withMedia("H10", namedMedia(QString())) << "100" << QByteArray()
                                    << kNotPlain;
        QTest::newRow("another exercise") << "H11" << exerciseDocument(QStringLiteral("H99")) << "100" << QByteArray()
                                          << "The peer sent another exercise than the one asked for.";
        QTest::newRow("too many fields")
            << "H12"
            << statusReply(QStringLiteral("1"), QStringLiteral("downloadExerciseReply"),
                           exerciseElement(QStringLiteral("H12"), manyFields(ContentGate::MaxFieldsPerExercise + 1)))
            << "100" << QByteArray() << "The exercise has more than 1000 fields.";
        QTest::newRow("sound refused by the client")
            << "H13" << exerciseDocument(QStringLiteral("H13")) << "-2" << QByteArray() << kSoundRefused;
        QTest::newRow("name refused by the client")
            << "H14" << withMedia("H14", namedMedia(QStringLiteral("../x.wav"))) << "-2" << QByteArray() << kNotPlain;
        QTest::newRow("sound not a WAV file")
            << "H15" << exerciseDocument(QStringLiteral("H15")) << "100"
            << QByteArray("MZ\x90\0\x03\0\0\0\x04\0\0\0 program", 20) << kSoundRefused;
    }

    void hostileMember()
    {
        QFETCH(QString, n);
        QFETCH(QString, document);
        QFETCH(QString, status);
        QFETCH(QByteArray, soundFile);
        QFETCH(QString, message);
        const QString member = QStringLiteral("E-") + n;
        const ZoLesson lesson = foundLesson(QStringLiteral("L-") + n, {{"1", member}});
        QCOMPARE(lesson.persistentExerciseId(0), member);
        QFile sound(QDir::current().filePath(QStringLiteral("Content/chien%1.ogg").arg(n)));
        if (!soundFile.isNull()) {
            QVERIFY(QDir::current().mkpath(QStringLiteral("Content")));
            QVERIFY(sound.open(QIODevice::WriteOnly));
            sound.write(soundFile);
            sound.close();
        }
        bridge().setDefault(QStringLiteral("getDownloadStatus"), status);
        bridge().setDefault(QStringLiteral("getDownloadXml"), document);
        auto download = std::make_unique<ZoDownload>(lesson);
        download->setMainWindow(mFixture.host());
        QSignalSpy complete(download.get(), &ZoDownload::downloadComplete);
        QSignalSpy offline(download.get(), &ZoDownload::signalMoveToOfflineMode);
        QVERIFY(DownloadBars::run(*download));
        sound.remove();
        QCOMPARE(complete.size(), 0);
        QCOMPARE(download->btnError->text(), QStringLiteral("Error"));
        QCOMPARE(download->message(), message);
        QCOMPARE(offline.size(), 0);
        QCOMPARE(mFixture.host()->offlineMoves, 0);
        QCOMPARE(storedIdOf(member), 0);
        QCOMPARE(storedIdOf(QStringLiteral("MEDIA-") + n), 0);
        QCOMPARE(storedIdOf(QStringLiteral("L-") + n), 0);
    }

    // A found exercise whose sound name is not plain is not fetched at all; one
    // whose downloaded document is hostile is not stored.
    void hostileExercise_data()
    {
        QTest::addColumn<QString>("n");
        QTest::addColumn<QString>("found");
        QTest::addColumn<QString>("document");
        QTest::addColumn<bool>("fetched");
        QTest::addColumn<QString>("message");
        const QString climbing = namedMedia(QStringLiteral("../../../../etc/hostname"));
        const QString attribute = QStringLiteral(
            "<media_manifest fluencyLevelID=\"3\" mediaManifestFileName=\"../../../../etc/hostname\">");
        QTest::newRow("found name climbs") << "X1" << climbing << QString() << false << kNotPlain;
        QTest::newRow("found name in an attribute") << "X2" << attribute << QString() << false << kNotPlain;
        QTest::newRow("downloaded name climbs") << "X3" << mediaPart("%1") << climbing << true << kNotPlain;
        QTest::newRow("downloaded name in an attribute") << "X4" << mediaPart("%1") << attribute << true << kOneSound;
    }

    void hostileExercise()
    {
        QFETCH(QString, n);
        QFETCH(QString, found);
        QFETCH(QString, document);
        QFETCH(bool, fetched);
        QFETCH(QString, message);
        QString element = exerciseElement(n);
        element.replace(mediaPart(n), QString(found).replace(QStringLiteral("%1"), n));
        bridge().queue(QStringLiteral("sendQuery"), exerciseQueryReply(element, 1));
        int status = 0;
        int total = 0;
        const ZoExercise exercise =
            CourierOverFakeBridge::manager()
                ->queryExercises({{"Term", "x"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}},
                                 &status, &total)
                .value(0);
        QCOMPARE(exercise.pId(), QStringLiteral("E-") + n);
        if (!document.isNull())
            bridge().setDefault(QStringLiteral("getDownloadXml"), withMedia(n, document));
        auto download = bar(exercise);
        QSignalSpy complete(download.get(), &ZoDownload::downloadComplete);
        QVERIFY(DownloadBars::run(*download));
        QCOMPARE(complete.size(), 0);
        QCOMPARE(download->message(), message);
        QCOMPARE(mFixture.host()->offlineMoves, 0);
        QCOMPARE(storedIdOf(exercise.pId()), 0);
        bool asked = false;
        for (const FakeBridge::Call& call : bridge().calls())
            asked = asked || call.name == QLatin1String("downloadExercise");
        QCOMPARE(asked, fetched);
    }

    // A lesson that lists itself is refused before anything is fetched.
    void selfListingLesson()
    {
        const ZoLesson lesson = foundLesson(QStringLiteral("L-S"), {{"1", "E-S1"}, {"2", "L-S"}});
        QCOMPARE(lesson.persistentExerciseId(1), QStringLiteral("L-S"));
        ZoDownload download(lesson);
        download.setMainWindow(mFixture.host());
        QVERIFY(DownloadBars::run(download));
        QCOMPARE(download.message(), QStringLiteral("The lesson lists itself as one of its exercises."));
        QCOMPARE(storedIdOf(QStringLiteral("L-S")), 0);
        QCOMPARE(storedIdOf(QStringLiteral("E-S1")), 0);
        for (const FakeBridge::Call& call : bridge().calls())
            QVERIFY(call.name != QLatin1String("downloadManifest"));
    }

    // Search replies past a limit are refused whole, as past a limit (not as
    // a broken service): nothing of them is used.
    void searchRepliesPastALimit_data()
    {
        QTest::addColumn<bool>("lessons");
        QTest::addColumn<QString>("reply");
        const auto results = [](int count) {
            QString rows;
            for (int i = 0; i < count; ++i)
                rows += exerciseElement(QStringLiteral("R%1").arg(i));
            return exerciseQueryReply(rows, count);
        };
        const auto members = [](int count) {
            QList<QPair<QString, QString>> ids;
            for (int i = 1; i <= count; ++i)
                ids.append({QString::number(i), QStringLiteral("E-M%1").arg(i)});
            return lessonQueryReply(lessonElement(QStringLiteral("L-1"), {{"1", "E-1"}})
                                        + lessonElement(QStringLiteral("L-M"), ids),
                                    2);
        };
        QTest::newRow("results: limit + 1") << false << results(ContentGate::MaxResultRows + 1);
        QTest::newRow("results: 10^5") << false << results(100000);
        QTest::newRow("members: limit + 1") << true << members(ContentGate::MaxLessonMembers + 1);
        QTest::newRow("members: 10^5") << true << members(100000);
        // What the client gives for a reply it stopped reading at its limit.
        QTest::newRow("reply past the client's limit")
            << false << QStringLiteral("reply refused: larger than the limit");
        QTest::newRow("reply longer than the reader's limit")
            << true << lessonQueryReply(QString(BoundedXml::MaxDocumentLength, QLatin1Char(' ')), 1);
    }

    void searchRepliesPastALimit()
    {
        QFETCH(bool, lessons);
        QFETCH(QString, reply);
        bridge().queue(QStringLiteral("sendQuery"), reply);
        const QHash<QString, QString> criteria{
            {"Term", "x"}, {"Title", "x"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}};
        int status = 0;
        int total = 0;
        INetManager* net = CourierOverFakeBridge::manager();
        const qsizetype found = lessons ? net->queryLessons(criteria, &status, &total).size()
                                        : net->queryExercises(criteria, &status, &total).size();
        QCOMPARE(found, 0);
        QCOMPARE(status, INetManager::ReplyPastLimit);
        QCOMPARE(total, 0);
    }

    // The status is looked at before any wait: a finished member moves on
    // after one look.
    void finishedMemberIsLookedAtOnce()
    {
        const ZoLesson lesson = foundLesson(QStringLiteral("L-P"), {{"1", "E-P1"}, {"2", "E-P2"}, {"3", "E-P3"}});
        for (const QString n : {"P1", "P2", "P3"})
            bridge().queue(QStringLiteral("getDownloadXml"), exerciseDocument(n));
        ZoDownload download(lesson);
        QSignalSpy complete(&download, &ZoDownload::downloadComplete);
        QVERIFY(DownloadBars::run(download));
        QCOMPARE(complete.size(), 1);
        int looks = 0;
        for (const FakeBridge::Call& call : bridge().calls())
            looks += call.name == QLatin1String("getDownloadStatus") ? 1 : 0;
        QCOMPARE(looks, 3);
    }

    // A transfer given up for making no progress is cancelled, so that the
    // client stops it and removes its partial file.
    void givenUpTransferIsCancelled()
    {
        const ZoLesson lesson = foundLesson(QStringLiteral("L-G"), {{"1", "E-G1"}});
        bridge().setDefault(QStringLiteral("getDownloadStatus"), QStringLiteral("0"));
        ZoDownload download(lesson);
        download.setMainWindow(mFixture.host());
        download.setTimeLimits(50, 100);
        QVERIFY(DownloadBars::run(download));
        QCOMPARE(download.message(), QStringLiteral("Network Error."));
        QStringList cancelled;
        for (const FakeBridge::Call& call : bridge().calls()) {
            if (call.name == QLatin1String("cancelDownload"))
                cancelled << call.args.value(0);
        }
        QCOMPARE(cancelled, QStringList{QStringLiteral("4")});
        QCOMPARE(storedIdOf(QStringLiteral("E-G1")), 0);
    }

    // A transfer running when the program goes offline, or when the learner
    // signs out after it went offline, is cancelled so that the client stops
    // it and removes its partial file; the bar ends with its reason.
    void offlineOrSignOutCancelsTheTransfer_data()
    {
        QTest::addColumn<bool>("signOut");
        QTest::newRow("the program goes offline") << false;
        QTest::newRow("sign-out after going offline") << true;
    }

    void offlineOrSignOutCancelsTheTransfer()
    {
        QFETCH(bool, signOut);
        const ZoExercise exercise = foundExercise(QStringLiteral("OF"));
        bridge().setDefault(QStringLiteral("getDownloadStatus"), QStringLiteral("10"));
        auto download = bar(exercise);
        INetManager* net = CourierOverFakeBridge::manager();
        bool ran = false;
        // As the main window goes offline: every service flag off.
        QTimer::singleShot(100, download.get(), [&] {
            ran = true;
            net->resetServiceFlags();
            if (signOut)
                download->abandon(); // the tab closes its bars at sign-out
            else
                net->setOfflineLogin(1);
        });
        QSignalSpy finished(download.get(), &ZoDownload::finished);
        download->start();
        // Ended with its reason, or abandoned without a word.
        QTRY_VERIFY(ran && (signOut || !finished.isEmpty()));
        QCOMPARE(finished.size(), signOut ? 0 : 1);
        QStringList cancelled;
        for (const FakeBridge::Call& call : bridge().calls()) {
            if (call.name == QLatin1String("cancelDownload"))
                cancelled << call.args.value(0);
        }
        QCOMPARE(cancelled, QStringList{QStringLiteral("3")});
        QCOMPARE(storedIdOf(exercise.pId()), 0);
        QCOMPARE(mFixture.host()->offlineMoves, 0);
        if (!signOut) {
            QVERIFY(download->btnError->isVisibleTo(download.get()));
            QCOMPARE(download->btnError->text(), QStringLiteral("Error"));
            QCOMPARE(download->message(), QStringLiteral("The program went offline, so the download was stopped."));
        }
        download.reset();
        // The next test gets a manager started afresh.
        CourierOverFakeBridge::unload();
    }

    // A translated exercise stored only as a translation of another is still
    // downloaded, and then stored with its sound.
    void translatedExerciseIsDownloaded()
    {
        const ZoExercise first = foundExercise(QStringLiteral("T0"));
        bridge().setDefault(QStringLiteral("getTranslationXml"), translationDocument({"T1"}));
        auto download = bar(first);
        QVERIFY(DownloadBars::run(*download));
        QVERIFY(storedIdOf(QStringLiteral("E-T0")) > 0);
        QVERIFY(storedIdOf(QStringLiteral("E-T1")) > 0);
        QVERIFY(!ZoDbHelper().isExerciseStored(QStringLiteral("E-T1")));
        bridge().reset();
        const ZoExercise translated = foundExercise(QStringLiteral("T1"));
        auto second = bar(translated);
        QSignalSpy complete(second.get(), &ZoDownload::downloadComplete);
        QVERIFY(DownloadBars::run(*second));
        QCOMPARE(complete.size(), 1);
        bool asked = false;
        for (const FakeBridge::Call& call : bridge().calls())
            asked = asked || call.name == QLatin1String("downloadExercise");
        QVERIFY(asked);
        QVERIFY(ZoDbHelper().isExerciseStored(QStringLiteral("E-T1")));
        QCOMPARE(second->exercise().mediaName(), QStringLiteral("chienT1.ogg"));
    }
};

QTEST_MAIN(TestDownloadParsed)
#include "tst_downloadparsed.moc"
