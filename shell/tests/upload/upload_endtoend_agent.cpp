// The uploading side of tst_upload_endtoend: started inside a temporary
// ready-to-run tree with the real network manager, bridge, Java client and a
// stand-alone peer service. It registers and signs in a user, makes content
// through the store, uploads it with the upload dialog, uploads again, and
// writes the local ids of what it made to "made.json" for the test to check.

#include "IDbManager.h"
#include "INetManager.h"
#include "IResource.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "SettingsStore.h"
#include "TestHost.h"
#include "UploadForm.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoUser.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSettings>
#include <QtTest>

#include <memory>

using Table = QHash<QString, QString>;

namespace {

QByteArray soundBytes(int seed)
{
    QByteArray bytes("OggS");
    for (int i = 0; i < 20000; ++i)
        bytes.append(char((i * seed + i / 11) & 0xff));
    return bytes;
}

QStringList boxes()
{
    QFile file(qEnvironmentVariable("VIREDA_MSGBOX_LOG"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class UploadAgent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void uploadsEverythingOnce();

private:
    QString addExercise(const QString& term, const QString& translation);

    INetManager* mNet = nullptr;
    IDbManager* mDb = nullptr;
    IUserResource* mUsers = nullptr;
    IResource* mLanguages = nullptr;
    IResource* mCountries = nullptr;
    IResource* mLevels = nullptr;
};

void UploadAgent::initTestCase()
{
    SettingsStore::configure();
    QSettings settings;
    settings.setValue(QStringLiteral("software/version"), QStringLiteral("Vireda Upload"));
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

    const QString name = qEnvironmentVariable("UPLOAD_USER");
    const QString password = QStringLiteral("upload.pass1");
    const QString level = mLevels->listIds().last();
    const Table fields{{"Username", name},
                       {"Password", password},
                       {"FirstName", "First"},
                       {"LastName", "Last"},
                       {"Email", name + "@example.org"},
                       {"Country", mCountries->nameOf("FR")},
                       {"FLanguage1", mLanguages->nameOf("fra")},
                       {"FFluencyLevel1", mLevels->nameOf(level)},
                       {"FCountry1", mCountries->nameOf("FR")},
                       {"FNonSpeaking1", "0"}};
    QCOMPARE(mNet->registerAccount(fields), 1);
    const int signedIn = mNet->loginUser(name, password, 0);
    QVERIFY2(signedIn == 1 || signedIn == 0, qPrintable(QString::number(signedIn)));
    QCOMPARE(mNet->isOfflineLogin(), 0);
    QVERIFY(mUsers->currentUser());
    QCOMPARE(mUsers->currentUser()->username(), name);
}

void UploadAgent::cleanupTestCase()
{
    if (mUsers)
        mUsers->clearCurrentUser();
    delete mNet;
    delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
}

QString UploadAgent::addExercise(const QString& term, const QString& translation)
{
    ZoUser* user = mUsers->currentUser();
    const QString sound = term + QStringLiteral(".ogg");
    QFile file(QStringLiteral("Content/") + sound);
    if (!file.open(QIODevice::WriteOnly) || file.write(soundBytes(term.size() + 3)) < 0)
        return QString();
    file.close();

    ZoExercise exercise;
    exercise.setTerm(term);
    exercise.setLanguage(mLanguages->nameOf("fra"));
    exercise.setMediaPath(QStringLiteral("Content"));
    exercise.setMediaName(sound);
    exercise.setCountry(mCountries->nameOf("FR"));
    exercise.setVoice(user->username());
    exercise.setVoiceUid(user->id());
    exercise.setCreator(user->username());
    exercise.setCreatorUid(user->id());
    exercise.setPId(QStringLiteral("0"));
    if (!translation.isEmpty())
        exercise.addField(QStringLiteral("Translation"), {{"Value", translation}, {"Language", mLanguages->nameOf("eng")}});
    if (mDb->insertExercise(QStringLiteral("Exercise"), &exercise) != 1)
        return QString();
    return exercise.id();
}

void UploadAgent::uploadsEverythingOnce()
{
    ZoUser* user = mUsers->currentUser();
    const QString first = addExercise(QStringLiteral("maison upload"), QStringLiteral("house upload"));
    const QString second = addExercise(QStringLiteral("jardin upload"), QString());
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    std::unique_ptr<QObject> lesson(mDb->insert(QStringLiteral("Lesson"),
                                                {{"PId", "0"}, {"Title", "Home upload"}, {"Description", "Rooms"},
                                                 {"Username", user->username()}, {"UserId", user->id()},
                                                 {"Language", mLanguages->nameOf("fra")},
                                                 {"EId1", first}, {"EId2", second}}));
    auto* stored = qobject_cast<ZoLesson*>(lesson.get());
    QVERIFY(stored);
    ZoDbHelper helper;
    const QStringList groups = helper.translationRelatives(first);
    QCOMPARE(groups.size(), 1);
    const QString translation = groups.first().section(QLatin1Char(','), 0, 0);
    const QString translated = groups.first().section(QLatin1Char(','), 1, 1);

    TestHost host;
    {
        UploadForm form(&host);
        QCOMPARE(form.pendingCount(), 3);
        form.upload();
    }
    QCOMPARE(host.offlineMoves, 0);
    QCOMPARE(boxes().size(), 1);
    QVERIFY2(boxes().last().endsWith(QStringLiteral("\tUpload complete.\tOK")), qPrintable(boxes().last()));

    // Nothing is left, so a second upload has nothing to send.
    {
        UploadForm form(&host);
        QCOMPARE(form.pendingCount(), 0);
        QCOMPARE(form.tbl->rowCount(), 0);
        form.upload();
    }
    QCOMPARE(boxes().size(), 2);
    QVERIFY2(boxes().last().endsWith(QStringLiteral("\tPlease select something to upload.\tOK")),
             qPrintable(boxes().last()));

    QJsonArray exercises;
    for (const QString& id : {first, second, translated}) {
        std::unique_ptr<ZoExercise> exercise(mDb->getExercise(QStringLiteral("Exercise"), id));
        QVERIFY(exercise);
        exercises.append(QJsonObject{{"id", id},
                                     {"term", exercise->termId()},
                                     {"media", id == translated ? QString() : exercise->mediaId()}});
    }
    const QJsonObject made{{"exercises", exercises},
                           {"translation", translation},
                           {"lesson", stored->id()},
                           {"members", QJsonArray{first, second}}};
    QSaveFile out(QStringLiteral("made.json"));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(made).toJson());
    QVERIFY(out.commit());
}

QTEST_MAIN(UploadAgent)
#include "upload_endtoend_agent.moc"
