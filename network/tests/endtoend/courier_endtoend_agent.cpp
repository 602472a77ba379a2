// One side of the end-to-end run: started by tst_courier_endtoend inside a
// temporary ready-to-run tree, with the real bridge, Java client and a shared
// peer service. "uploader" registers, signs in and uploads; "downloader"
// registers another user, searches, downloads, stores and signs in offline.

#include "AgentSession.h"
#include "BridgeLibrary.h"
#include "IDbManager.h"
#include "INetManager.h"
#include "IUserResource.h"
#include "XmlPathMap.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoTranslation.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QtTest>

#include <memory>

using Table = QHash<QString, QString>;

namespace {

const QString kTerm = QStringLiteral("chien endtoend");
const QString kTranslation = QStringLiteral("dog endtoend");
const QString kSoundName = QStringLiteral("endtoend-chien.ogg");
const QString kLessonTitle = QStringLiteral("Animals endtoend");
const int kSoundSeed = 7;

} // namespace

class EndToEndAgent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void uploader();
    void downloader();
    void hostile();

private:
    // Sends a message as written through the bridge, as the signed-in user; the reply's status.
    QString sendRaw(const QString& type, const QString& body, QString* reply = nullptr);
    QString uploadRaw(const QString& exercise);
    void registerAndSignIn(const QString& name, const QString& password);
    int uploadExerciseOnly(const QString& exerciseId);

    AgentSession mSession;
    INetManager* mNet = nullptr;
    IDbManager* mDb = nullptr;
    IUserResource* mUsers = nullptr;
};

void EndToEndAgent::initTestCase()
{
    mSession.open();
    mNet = mSession.net();
    mDb = mSession.db();
    mUsers = mSession.users();
}

void EndToEndAgent::cleanupTestCase()
{
    mSession.close();
}

void EndToEndAgent::registerAndSignIn(const QString& name, const QString& password)
{
    const Table fields = mSession.accountFields(name, password,
                                                {{"FirstName", "First " + name},
                                                 {"StateProv", "IDF"},
                                                 {"FLocality1", "Paris"},
                                                 {"FLocaleDesc1", "Parisian"},
                                                 {"FLanguage2", mSession.languageName("eng")},
                                                 {"FFluencyLevel2", mSession.topLevelName()},
                                                 {"FCountry2", mSession.countryName("GB")},
                                                 {"FNonSpeaking2", "1"}});
    QCOMPARE(mNet->registerAccount(fields), 1);
    QCOMPARE(mNet->registerAccount(fields), -1);
    mSession.signIn(name, password);
    if (QTest::currentTestFailed())
        return;

    const QList<ZoUser*> stored = mDb->select(QStringLiteral("User"), {{"Username", name}});
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first()->fluencyCount(), 2);
    QStringList languages;
    for (ZoUserFluency* fluency : stored.first()->fluencies())
        languages << fluency->language();
    languages.sort();
    QStringList expected{mSession.languageName("fra"), mSession.languageName("eng")};
    expected.sort();
    QCOMPARE(languages, expected);
    qDeleteAll(stored);
}

// As the upload dialog does it: send, then record the persistent ids.
int EndToEndAgent::uploadExerciseOnly(const QString& exerciseId)
{
    ZoDbHelper helper;
    if (helper.persistentIdOf(exerciseId) != QLatin1String("0"))
        return 1;
    std::unique_ptr<ZoExercise> exercise(mDb->getExercise(QStringLiteral("Exercise"), exerciseId));
    if (!exercise)
        return 0;
    const Table reply = mNet->uploadExercise(exerciseId, exercise->mediaName());
    if (reply.value("timedOut") == QLatin1String("yes") || reply.value("PId").isEmpty()) {
        qWarning() << "upload of" << exerciseId << "gave" << reply;
        return 0;
    }
    helper.assignPersistentId(exercise->id(), reply.value("PId"), false);
    helper.assignPersistentId(exercise->termId(), reply.value("PersistentTermId"), false);
    if (reply.contains(QStringLiteral("PersistentMediaId")))
        helper.assignPersistentId(exercise->mediaId(), reply.value("PersistentMediaId"), false);
    return 1;
}

void EndToEndAgent::uploader()
{
    registerAndSignIn(qEnvironmentVariable("ENDTOEND_FIRST_USER"), QStringLiteral("first.pass1"));
    if (QTest::currentTestFailed())
        return;

    const QString exerciseId = mSession.addRecordedExercise(kTerm, kSoundName, kSoundSeed, kTranslation);
    QVERIFY(!exerciseId.isEmpty());

    QCOMPARE(uploadExerciseOnly(exerciseId), 1);
    ZoDbHelper helper;
    QVERIFY(helper.persistentIdOf(exerciseId) != QLatin1String("0"));

    const QStringList groups = helper.translationRelatives(exerciseId);
    QCOMPARE(groups.size(), 1);
    const QStringList parts = groups.first().split(QLatin1Char(','));
    QCOMPARE(parts.size(), 2);
    QCOMPARE(uploadExerciseOnly(parts.at(1)), 1);
    const Table translation = mNet->uploadManifest(parts.at(0), QStringLiteral("uploadTranslation"));
    QVERIFY2(!translation.value("PId").isEmpty(), qPrintable(translation.value("Error")));
    helper.assignPersistentId(parts.at(0), translation.value("PId"), false);

    const QString lessonId = mSession.addLesson(kLessonTitle, QStringLiteral("Pets"), {exerciseId});
    QVERIFY(!lessonId.isEmpty());
    const Table lessonReply = mNet->uploadManifest(lessonId, QStringLiteral("uploadLesson"));
    QVERIFY2(!lessonReply.value("PId").isEmpty(), qPrintable(lessonReply.value("Error")));
}

void EndToEndAgent::downloader()
{
    const QString name = qEnvironmentVariable("ENDTOEND_SECOND_USER");
    registerAndSignIn(name, QStringLiteral("second.pass2"));
    if (QTest::currentTestFailed())
        return;

    int status = 0;
    int total = -1;
    const QList<ZoExercise> found = mNet->queryExercises(
        {{"Term", "chien"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}}, &status, &total);
    QCOMPARE(status, 1);
    QCOMPARE(total, 1);
    QCOMPARE(found.size(), 1);
    ZoExercise exercise(found.first());
    QCOMPARE(exercise.term(), kTerm);
    QCOMPARE(exercise.language(), mSession.languageName("fra"));
    QCOMPARE(exercise.creator(), qEnvironmentVariable("ENDTOEND_FIRST_USER"));
    QCOMPARE(exercise.mediaPath(), QStringLiteral("Content"));
    QVERIFY(!exercise.pId().isEmpty());

    // Download as the search tab's job does: poll, then fetch the translations.
    const int handle = mNet->downloadExercise(exercise.pId());
    QVERIFY(handle >= 0);
    QElapsedTimer timer;
    timer.start();
    int progress = 0;
    while ((progress = mNet->getDownloadStatus(handle, QStringLiteral("exercise"))) != 100 && progress >= 0
           && timer.elapsed() < 30000)
        QThread::msleep(200);
    QCOMPARE(progress, 100);
    QFile sound(QDir(QStringLiteral("Content")).filePath(exercise.mediaName()));
    QVERIFY2(sound.open(QIODevice::ReadOnly), qPrintable(sound.fileName()));
    QCOMPARE(sound.readAll(), AgentSession::soundBytes(kSoundSeed));

    const QString translationXml = mNet->getTranslationXml(handle);
    QVERIFY(!translationXml.isEmpty());
    ZoDbHelper helper;
    QList<ZoTranslation> translations;
    QList<ZoExercise> translated;
    QCOMPARE(mNet->parseTranslationXml(translationXml, &helper, &translations, &translated), QStringLiteral("OK"));
    QCOMPARE(translations.size(), 1);
    QCOMPARE(translated.size(), 1);
    QCOMPARE(translated.first().term(), kTranslation);
    QCOMPARE(translated.first().language(), mSession.languageName("eng"));
    QVERIFY(translations.first().persistentExerciseIds().contains(exercise.pId()));

    for (int i = 0; i < translations.size(); ++i) {
        Table field{{"Value", translated.at(i).term()},
                    {"Language", translated.at(i).language()},
                    {"PersistentTranslationId", translations.at(i).pId()},
                    {"PersistentTrExerciseId", translated.at(i).pId()},
                    {"PersistentTrTermId", translated.at(i).persistentTermId()},
                    {"Username", translations.at(i).username()},
                    {"UserId", translations.at(i).userId()}};
        for (const ZoTranslation::Kvp& kvp : translations.at(i).kvps()) {
            field.insert("Context", kvp.value("value"));
            field.insert("Context_Language", helper.languageName(kvp.value("langID")));
        }
        exercise.addField(QStringLiteral("Translation"), field);
    }
    exercise.setFluencyLevel(helper.fluencyLevelName(exercise.fluencyLevel()));
    QCOMPARE(mDb->insertExercise(QStringLiteral("Exercise"), &exercise), 1);
    const int localId = helper.localIdOf(exercise.pId());
    QVERIFY(localId > 0);
    std::unique_ptr<ZoExercise> stored(mDb->getExercise(QStringLiteral("Exercise"), QString::number(localId)));
    QVERIFY(stored);
    QCOMPARE(stored->term(), kTerm);
    QCOMPARE(stored->mediaName(), exercise.mediaName());
    const QList<Table> storedTranslations = stored->fields().values(QStringLiteral("Translation"));
    QCOMPARE(storedTranslations.size(), 1);
    QCOMPARE(storedTranslations.first().value("Value"), kTranslation);

    int lessonStatus = 0;
    const QList<ZoLesson> lessons = mNet->queryLessons(
        {{"Title", "Animals"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}}, &lessonStatus, &total);
    QCOMPARE(lessonStatus, 1);
    QCOMPARE(lessons.size(), 1);
    QCOMPARE(lessons.first().title(), kLessonTitle);
    QCOMPARE(lessons.first().persistentExerciseId(0), exercise.pId());

    QCOMPARE(mNet->loginUser(name, QStringLiteral("second.pass2"), 2), 1);
    QCOMPARE(mNet->isOfflineLogin(), 2);
    QCOMPARE(mUsers->currentUser()->username(), name);
}

namespace {

QString rawExercise(const QString& term, const QString& language, const QString& inside = QString())
{
    return QStringLiteral("<exercise><manifest persistentManifestID=\"0\"/><term><textual_manifest><manifestValue>"
                          "<![CDATA[%1]]></manifestValue><langID>%2</langID></textual_manifest></term><media>"
                          "<media_manifest fluencyLevelID=\"3\"><voice>v</voice><langID>%2</langID></media_manifest>"
                          "</media><kvps/>%3</exercise>")
        .arg(term, language, inside);
}

QString rawTranslation(const QString& a, const QString& b)
{
    return QStringLiteral("<translation><manifest persistentManifestID=\"0\"/><textual_manifest><langID>eng"
                          "</langID></textual_manifest><exercises><exercise persistentManifestID=\"%1\"/>"
                          "<exercise persistentManifestID=\"%2\"/></exercises><kvps/></translation>")
        .arg(a, b);
}

QString statusOf(const QString& reply)
{
    return XmlPathMap(reply, QStringLiteral("doc")).valueOf(QStringLiteral("header.status"));
}

} // namespace

QString EndToEndAgent::sendRaw(const QString& type, const QString& body, QString* reply)
{
    BridgeLibrary bridge;
    const QString message = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<message><header><from>agent"
                                           "</from><to/><type>%1</type></header><body><%1>%2</%1></body></message>")
                                .arg(type, body);
    const QString answer = bridge.text("sendMessage", message);
    if (reply)
        *reply = answer;
    return statusOf(answer);
}

QString EndToEndAgent::uploadRaw(const QString& exercise)
{
    QString reply;
    if (sendRaw(QStringLiteral("uploadExercise"), exercise, &reply) != QLatin1String("1"))
        return QString();
    return XmlPathMap(reply, QStringLiteral("doc"))
        .valueOf(QStringLiteral("body.uploadExerciseReply.exercise.persistentmanifestid"));
}

void EndToEndAgent::hostile()
{
    // Registered as "Alice.e2e", typed in another case: twice online, then offline.
    mSession.registerAndSignIn(QStringLiteral("Alice.e2e"), QStringLiteral("alice.pass1"));
    if (QTest::currentTestFailed())
        return;
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(mNet->loginUser(QStringLiteral("alice.e2e"), QStringLiteral("alice.pass1"), 0), 1);
        QCOMPARE(mUsers->currentUser()->username(), QStringLiteral("Alice.e2e"));
    }
    // This peer has no mail server.
    QCOMPARE(mNet->passwordReminder(QStringLiteral("alice.e2e")), 2);

    // Exercises nested in an upload are no results of their own.
    const QString nested = rawExercise(QStringLiteral("forged e2e"), QStringLiteral("fra"))
                               .replace(QStringLiteral("persistentManifestID=\"0\""),
                                        QStringLiteral("persistentManifestID=\"0\" suppliedByUserName=\"victim\""));
    const QString carrier = uploadRaw(
        rawExercise(QStringLiteral("carrier e2e"), QStringLiteral("fra"), nested + nested + rawTranslation("a", "b")));
    QVERIFY(!carrier.isEmpty());
    int status = 0;
    int total = -1;
    const QList<ZoExercise> found = mNet->queryExercises(
        {{"Term", "e2e"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}}, &status, &total);
    QCOMPARE(status, 1);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().pId(), carrier);
    QCOMPARE(found.first().creator(), QStringLiteral("Alice.e2e"));

    // An upload past the limits is refused with a reason.
    QString reply;
    const QString deep = QStringLiteral("<a>").repeated(2000) + QStringLiteral("</a>").repeated(2000);
    QCOMPARE(sendRaw(QStringLiteral("uploadExercise"),
                     rawExercise(QStringLiteral("deep e2e"), QStringLiteral("fra"), deep), &reply),
             QStringLiteral("-1"));

    // Translations of one exercise, one of them to an exercise carrying forged translations inside.
    const QString source = uploadRaw(rawExercise(QStringLiteral("chat e2e"), QStringLiteral("fra")));
    const QString cat = uploadRaw(rawExercise(QStringLiteral("cat e2e"), QStringLiteral("eng")));
    const QString kitty = uploadRaw(rawExercise(QStringLiteral("kitty e2e"), QStringLiteral("eng"),
                                                rawTranslation(source, carrier) + rawTranslation(source, carrier)));
    QVERIFY(!source.isEmpty() && !cat.isEmpty() && !kitty.isEmpty());
    for (const QString& other : {cat, kitty})
        QCOMPARE(sendRaw(QStringLiteral("uploadTranslation"), rawTranslation(source, other)), QStringLiteral("1"));
    QCOMPARE(sendRaw(QStringLiteral("downloadTranslation"),
                     QStringLiteral("<persistentManifestID>%1</persistentManifestID>").arg(source), &reply),
             QStringLiteral("1"));
    ZoDbHelper helper;
    QList<ZoTranslation> translations;
    QList<ZoExercise> translated;
    QCOMPARE(mNet->parseTranslationXml(reply, &helper, &translations, &translated), QStringLiteral("OK"));
    QStringList pairs;
    for (int i = 0; i < translations.size(); ++i) {
        QVERIFY(translations.at(i).persistentExerciseIds().contains(translated.at(i).pId()));
        pairs << translated.at(i).term();
    }
    pairs.sort();
    QCOMPARE(pairs, (QStringList{"cat e2e", "kitty e2e"}));

    QCOMPARE(mNet->loginUser(QStringLiteral("ALICE.E2E"), QStringLiteral("alice.pass1"), 2), 1);
    QCOMPARE(mUsers->currentUser()->username(), QStringLiteral("Alice.e2e"));
}

QTEST_MAIN(EndToEndAgent)
#include "courier_endtoend_agent.moc"
