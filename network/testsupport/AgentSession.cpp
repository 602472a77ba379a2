#include "AgentSession.h"

#include "IDbManager.h"
#include "INetManager.h"
#include "IResource.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "ProductInfo.h"
#include "SettingsStore.h"
#include "TestSound.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoUser.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

#include <memory>

namespace {

const QString kStore = QStringLiteral("plugins_dll/Managers/Storekeeper.dll");

} // namespace

AgentSession::~AgentSession()
{
    close();
}

void AgentSession::writeSettings()
{
    SettingsStore::configure();
    QSettings settings;
    settings.setValue(QStringLiteral("software/version"), QStringLiteral("Vireda"));
    settings.setValue(QStringLiteral("xml/version"), QStringLiteral("1"));
    settings.setValue(QStringLiteral("software/internal_version"), QString::fromLatin1(ProductInfo::InternalVersion));
    settings.setValue(QStringLiteral("database/version"), QStringLiteral("2"));
}

void AgentSession::open()
{
    writeSettings();
    mDb = PluginLocator::load<IDbManager>(kStore);
    mUsers = PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    mLanguages = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll"));
    mCountries = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoCountryResource.dll"));
    mLevels = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoFluencyLevelResource.dll"));
    QVERIFY(mDb && mUsers && mLanguages && mCountries && mLevels);
    mNet = PluginLocator::load<INetManager>(QStringLiteral("plugins_dll/Managers/Courier.dll"));
    QVERIFY(mNet);
    QVERIFY(mNet->isNetworkReady());
    QSettings().setValue(QStringLiteral("network/localips"), mNet->getMyIps());
}

void AgentSession::close()
{
    if (mUsers)
        mUsers->clearCurrentUser();
    delete mNet;
    mNet = nullptr;
    // The store closes its database while the application object lives.
    if (mDb)
        delete PluginLocator::instance(kStore);
    mDb = nullptr;
    mUsers = nullptr;
}

QString AgentSession::languageName(const QString& code) const
{
    return mLanguages->nameOf(code);
}

QString AgentSession::countryName(const QString& code) const
{
    return mCountries->nameOf(code);
}

QString AgentSession::topLevelName() const
{
    return mLevels->nameOf(mLevels->listIds().last());
}

AgentSession::Table AgentSession::accountFields(const QString& name, const QString& password, const Table& extra) const
{
    Table fields{{"Username", name},
                 {"Password", password},
                 {"FirstName", "First"},
                 {"LastName", "Last"},
                 {"Email", name + "@example.org"},
                 {"Country", countryName("FR")},
                 {"FLanguage1", languageName("fra")},
                 {"FFluencyLevel1", topLevelName()},
                 {"FCountry1", countryName("FR")},
                 {"FNonSpeaking1", "0"}};
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        fields.insert(it.key(), it.value());
    return fields;
}

void AgentSession::signIn(const QString& name, const QString& password)
{
    // 0: signed in, a newer version is available.
    const int signedIn = mNet->loginUser(name, password, 0);
    QVERIFY2(signedIn == 1 || signedIn == 0, qPrintable(QString::number(signedIn)));
    QCOMPARE(mNet->isOfflineLogin(), 0);
    ZoUser* current = mUsers->currentUser();
    QVERIFY(current);
    QCOMPARE(current->username(), name);
}

void AgentSession::registerAndSignIn(const QString& name, const QString& password, const Table& extra)
{
    QCOMPARE(mNet->registerAccount(accountFields(name, password, extra)), 1);
    signIn(name, password);
}

QByteArray AgentSession::soundBytes(int seed)
{
    // A WAV sound, as downloads keep only those: any bytes are 8-bit samples.
    QByteArray samples;
    for (int i = 0; i < 50000; ++i)
        samples.append(char((i * seed + i / 13) & 0xff));
    return TestSound::pcm8(samples);
}

QString AgentSession::addRecordedExercise(const QString& term, const QString& soundName, int seed,
                                          const QString& translation)
{
    ZoUser* user = mUsers->currentUser();
    if (!user)
        return QString();
    QFile sound(QStringLiteral("Content/") + soundName);
    if (!sound.open(QIODevice::WriteOnly) || sound.write(soundBytes(seed)) < 0)
        return QString();
    sound.close();

    ZoExercise exercise;
    exercise.setTerm(term);
    exercise.setLanguage(languageName("fra"));
    exercise.setMediaPath(QStringLiteral("Content"));
    exercise.setMediaName(soundName);
    exercise.setCountry(countryName("FR"));
    exercise.setVoice(user->username());
    exercise.setVoiceUid(user->id());
    exercise.setCreator(user->username());
    exercise.setCreatorUid(user->id());
    exercise.setPId(QStringLiteral("0"));
    if (!translation.isEmpty())
        exercise.addField(QStringLiteral("Translation"), {{"Value", translation}, {"Language", languageName("eng")}});
    if (mDb->insertExercise(QStringLiteral("Exercise"), &exercise) != 1)
        return QString();
    return exercise.id();
}

QString AgentSession::addLesson(const QString& title, const QString& description, const QStringList& members)
{
    ZoUser* user = mUsers->currentUser();
    if (!user)
        return QString();
    Table data{{"PId", "0"},
               {"Title", title},
               {"Description", description},
               {"Username", user->username()},
               {"UserId", user->id()},
               {"Language", languageName("fra")}};
    for (int i = 0; i < members.size(); ++i)
        data.insert(QStringLiteral("EId") + QString::number(i + 1), members.at(i));
    std::unique_ptr<QObject> lesson(mDb->insert(QStringLiteral("Lesson"), data));
    auto* stored = qobject_cast<ZoLesson*>(lesson.get());
    return stored ? stored->id() : QString();
}
