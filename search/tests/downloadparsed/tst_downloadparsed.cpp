#include "CourierOverFakeBridge.h"
#include "DialogFixture.h"
#include "DownloadBars.h"
#include "FakePeerReplies.h"
#include "IDbManager.h"
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
        const QList<QHash<QString, QString>> rows = store()->search(QStringLiteral("Lesson"), {{"Id", QString::number(id)}});
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
        QTest::newRow("none") << "12" << statusReply(QStringLiteral("-1"), QStringLiteral("downloadTranslation"))
                              << 0 << "complete" << QStringList() << QString();
        QTest::newRow("two") << "13" << translationDocument({"21", "22"}) << 2 << "complete"
                             << QStringList({"chien 21", "chien 22"}) << QString();
        QTest::newRow("garbage") << "14" << QStringLiteral("<<not xml") << -1 << "Parsing Error." << QStringList()
                                 << QString();
        QTest::newRow("with a context") << "15" << translationWithContext(QStringLiteral("23"), QStringLiteral("at the door"))
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
        download->start();
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
        download->start();
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
        download.start();
        QVERIFY(storedIdOf(QStringLiteral("E-41")) > 0);
        QCOMPARE(storedMembers(QStringLiteral("L-4")), QStringList{QString::number(storedIdOf(QStringLiteral("E-41")))});
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
        QTest::newRow("unreadable") << "5" << false << "<message><body/></message>" << "Parsing Error.";
        QTest::newRow("refused by the store") << "7" << true << QString() << "The download could not be stored.";
        QTest::newRow("not xml") << "8" << false << "<<not xml" << "Parsing Error.";
        QTest::newRow("no document") << "9" << false << "" << "Network Error.";
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
        const ZoLesson lesson = foundLesson(QStringLiteral("L-") + lessonPid, {{"1", first}, {"2", second}, {"3", third}});
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
        download.start();
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
        first.start();
        QVERIFY(storedIdOf(QStringLiteral("L-6")) > 0);
        bridge().reset();
        ZoDownload again(lesson);
        QSignalSpy complete(&again, &ZoDownload::downloadComplete);
        again.start();
        QCOMPARE(complete.size(), 1);
        QCOMPARE(again.lesson().exerciseId(0), QString::number(storedIdOf(QStringLiteral("E-61"))));
        QVERIFY(bridge().calls().isEmpty());
    }
};

QTEST_MAIN(TestDownloadParsed)
#include "tst_downloadparsed.moc"
