// One side of the end-to-end run: started by tst_courier_endtoend inside a
// temporary ready-to-run tree, with the real bridge, Java client and a shared
// peer service. "uploader" registers, signs in and uploads; "downloader"
// registers another user, searches, downloads, stores and signs in offline.

#include "IDbManager.h"
#include "INetManager.h"
#include "IResource.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "SettingsStore.h"
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
#include <QSettings>
#include <QThread>
#include <QtTest>

#include <memory>

using Table = QHash<QString, QString>;

namespace {

const QString kTerm = QStringLiteral("chien endtoend");
const QString kTranslation = QStringLiteral("dog endtoend");
const QString kSoundName = QStringLiteral("endtoend-chien.ogg");
const QString kLessonTitle = QStringLiteral("Animals endtoend");

QByteArray soundBytes()
{
    QByteArray bytes("OggS");
    for (int i = 0; i < 50000; ++i)
        bytes.append(char((i * 7 + i / 13) & 0xff));
    return bytes;
}

} // namespace

class EndToEndAgent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void uploader();
    void downloader();

private:
    void registerAndSignIn(const QString& name, const QString& password);
    QString storeExercise(ZoExercise& exercise);
    int uploadExerciseOnly(const QString& exerciseId);

    INetManager* mNet = nullptr;
    IDbManager* mDb = nullptr;
    IUserResource* mUsers = nullptr;
    IResource* mLanguages = nullptr;
    IResource* mCountries = nullptr;
    IResource* mLevels = nullptr;
};

void EndToEndAgent::initTestCase()
{
    SettingsStore::configure();
    QSettings settings;
    settings.setValue(QStringLiteral("xml/version"), QStringLiteral("1"));
    settings.setValue(QStringLiteral("software/internal_version"), QStringLiteral("0.8.7"));
    settings.setValue(QStringLiteral("database/version"), QStringLiteral("2"));
    mDb = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    mUsers = PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    mLanguages = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll"));
    mCountries = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoCountryResource.dll"));
    mLevels = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoFluencyLevelResource.dll"));
    QVERIFY(mDb && mUsers && mLanguages && mCountries && mLevels);
    mNet = PluginLocator::load<INetManager>(QStringLiteral("plugins_dll/Managers/Courier.dll"));
    QVERIFY(mNet);
    QVERIFY(mNet->isNetworkReady());
    settings.setValue(QStringLiteral("network/localips"), mNet->getMyIps());
}

void EndToEndAgent::cleanupTestCase()
{
    if (mUsers)
        mUsers->clearCurrentUser();
    delete mNet;
    delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
}

void EndToEndAgent::registerAndSignIn(const QString& name, const QString& password)
{
    const QString level = mLevels->listIds().last();
    const Table fields{{"Username", name},
                       {"Password", password},
                       {"FirstName", "First " + name},
                       {"LastName", "Last"},
                       {"Email", name + "@example.org"},
                       {"Country", mCountries->nameOf("FR")},
                       {"StateProv", "IDF"},
                       {"FLanguage1", mLanguages->nameOf("fra")},
                       {"FFluencyLevel1", mLevels->nameOf(level)},
                       {"FCountry1", mCountries->nameOf("FR")},
                       {"FLocality1", "Paris"},
                       {"FLocaleDesc1", "Parisian"},
                       {"FNonSpeaking1", "0"},
                       {"FLanguage2", mLanguages->nameOf("eng")},
                       {"FFluencyLevel2", mLevels->nameOf(level)},
                       {"FCountry2", mCountries->nameOf("GB")},
                       {"FNonSpeaking2", "1"}};
    QCOMPARE(mNet->registerAccount(fields), 1);
    QCOMPARE(mNet->registerAccount(fields), -1);

    const int signedIn = mNet->loginUser(name, password, 0);
    QVERIFY2(signedIn == 1 || signedIn == 0, qPrintable(QString::number(signedIn)));
    QCOMPARE(mNet->isOfflineLogin(), 0);
    ZoUser* current = mUsers->currentUser();
    QVERIFY(current);
    QCOMPARE(current->username(), name);
    const QList<ZoUser*> stored = mDb->select(QStringLiteral("User"), {{"Username", name}});
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first()->fluencyCount(), 2);
    QStringList languages;
    for (ZoUserFluency* fluency : stored.first()->fluencies())
        languages << fluency->language();
    languages.sort();
    QStringList expected{mLanguages->nameOf("fra"), mLanguages->nameOf("eng")};
    expected.sort();
    QCOMPARE(languages, expected);
    qDeleteAll(stored);
}

QString EndToEndAgent::storeExercise(ZoExercise& exercise)
{
    if (mDb->insertExercise(QStringLiteral("Exercise"), &exercise) != 1)
        return QString();
    const QList<Table> rows = mDb->search(QStringLiteral("Exercise"), {{"Term", exercise.term()}});
    for (const Table& row : rows) {
        if (row.value("Term") == exercise.term())
            return row.value("Id");
    }
    return QString();
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
    ZoUser* user = mUsers->currentUser();

    QFile sound(QStringLiteral("Content/") + kSoundName);
    QVERIFY(sound.open(QIODevice::WriteOnly));
    sound.write(soundBytes());
    sound.close();

    ZoExercise exercise;
    exercise.setTerm(kTerm);
    exercise.setLanguage(mLanguages->nameOf("fra"));
    exercise.setMediaPath(QStringLiteral("Content"));
    exercise.setMediaName(kSoundName);
    exercise.setCountry(mCountries->nameOf("FR"));
    exercise.setVoice(user->username());
    exercise.setVoiceUid(user->id());
    exercise.setCreator(user->username());
    exercise.setCreatorUid(user->id());
    exercise.setPId(QStringLiteral("0"));
    exercise.addField(QStringLiteral("Translation"), {{"Value", kTranslation}, {"Language", mLanguages->nameOf("eng")}});
    const QString exerciseId = storeExercise(exercise);
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

    std::unique_ptr<QObject> lesson(mDb->insert(QStringLiteral("Lesson"),
                                                {{"Id", "0"}, {"PId", "0"}, {"Title", kLessonTitle},
                                                 {"Description", "Pets"}, {"Username", user->username()},
                                                 {"UserId", user->id()}, {"Language", mLanguages->nameOf("fra")},
                                                 {"EId1", exerciseId}}));
    auto* storedLesson = qobject_cast<ZoLesson*>(lesson.get());
    QVERIFY(storedLesson);
    const Table lessonReply = mNet->uploadManifest(storedLesson->id(), QStringLiteral("uploadLesson"));
    QVERIFY2(!lessonReply.value("PId").isEmpty(), qPrintable(lessonReply.value("Error")));
}

void EndToEndAgent::downloader()
{
    const QString name = qEnvironmentVariable("ENDTOEND_SECOND_USER");
    registerAndSignIn(name, QStringLiteral("second.pass2"));

    int status = 0;
    int total = -1;
    const QList<ZoExercise> found = mNet->queryExercises(
        {{"Term", "chien"}, {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}}, &status, &total);
    QCOMPARE(status, 1);
    QCOMPARE(total, 1);
    QCOMPARE(found.size(), 1);
    ZoExercise exercise(found.first());
    QCOMPARE(exercise.term(), kTerm);
    QCOMPARE(exercise.language(), mLanguages->nameOf("fra"));
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
    QCOMPARE(sound.readAll(), soundBytes());

    const QString translationXml = mNet->getTranslationXml(handle);
    QVERIFY(!translationXml.isEmpty());
    ZoDbHelper helper;
    QList<ZoTranslation> translations;
    QList<ZoExercise> translated;
    QCOMPARE(mNet->parseTranslationXml(translationXml, &helper, &translations, &translated), QStringLiteral("OK"));
    QCOMPARE(translations.size(), 1);
    QCOMPARE(translated.size(), 1);
    QCOMPARE(translated.first().term(), kTranslation);
    QCOMPARE(translated.first().language(), mLanguages->nameOf("eng"));
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

QTEST_MAIN(EndToEndAgent)
#include "courier_endtoend_agent.moc"
