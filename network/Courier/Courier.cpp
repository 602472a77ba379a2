#include "Courier.h"

#include "AccountReply.h"
#include "BridgeLibrary.h"
#include "Echo.h"
#include "HostAddresses.h"
#include "IDbManager.h"
#include "IResource.h"
#include "IUserResource.h"
#include "ManifestReader.h"
#include "MessageEnvelope.h"
#include "NetworkLog.h"
#include "PeerReply.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SearchReply.h"
#include "StartupProbe.h"
#include "UploadReply.h"
#include "ZoDbHelper.h"
#include "ZoUser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <memory>
#include <thread>
#include <utility>

namespace {

// The manager whose start may still run when the application object goes.
Courier* startingManager = nullptr;

const QString kUserType = QStringLiteral("User");
// Keys of the user field map.
const QString kUsername = QStringLiteral("Username");
const QString kPassword = QStringLiteral("Password");

} // namespace

Courier::Courier(QWidget* parent)
    : QWidget(parent)
{
    // Text from the bridge is decoded as UTF-8 explicitly; nothing process-wide to set.
    mUserResource = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
    mLanguages = PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);
    mCountries = PluginLocator::load<IResource>(PluginFiles::ZoCountryResource);
    mFluencyLevels = PluginLocator::load<IResource>(PluginFiles::ZoFluencyLevelResource);
    mLearnerLevels = PluginLocator::load<IResource>(PluginFiles::ZoLearnerLevelResource);
    // The virtual machine and the services start while the program goes on;
    // whatever needs the network waits for them.
    mStarter = std::thread([this] {
        startNetworkNow();
        StartupProbe::mark("network");
        if (mBridge)
            mBridge->call("detachThread", 0);
        mStarting = false;
        QMetaObject::invokeMethod(this, &Courier::runOnStarted, Qt::QueuedConnection);
    });
    // A program ending before anything asked for the network (a start-up
    // given up) lets the start finish first.
    startingManager = this;
    qAddPostRoutine(&Courier::finishStartAtShutdown);
}

void Courier::finishStartAtShutdown()
{
    if (startingManager)
        startingManager->awaitStart();
}

Courier::~Courier()
{
    qRemovePostRoutine(&Courier::finishStartAtShutdown);
    if (startingManager == this)
        startingManager = nullptr;
    awaitStart();
    if (mNetStarted >= 0)
        stopNetwork();
}

IDbManager* Courier::store()
{
    // Loaded when first needed: the program may still be preparing the file
    // when the network manager is made.
    if (!mDbManager)
        mDbManager = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    return mDbManager;
}

void Courier::awaitStart()
{
    if (mStarter.joinable() && mStarter.get_id() != std::this_thread::get_id()) {
        const qint64 begin = StartupProbe::now();
        mStarter.join();
        StartupProbe::report("network-wait", StartupProbe::now() - begin);
    }
}

// ---------------------------------------------------------------- network start

bool Courier::isNetworkStarting()
{
    return mStarting;
}

void Courier::whenNetworkStarted(QObject* context, std::function<void()> done)
{
    mOnStarted.append({QPointer<QObject>(context), std::move(done)});
    // Ended already: its own call to runOnStarted may have run before.
    if (!mStarting)
        QMetaObject::invokeMethod(this, &Courier::runOnStarted, Qt::QueuedConnection);
}

void Courier::runOnStarted()
{
    awaitStart();
    const QList<QPair<QPointer<QObject>, std::function<void()>>> waiting = std::exchange(mOnStarted, {});
    for (const auto& [context, done] : waiting) {
        if (context)
            done();
    }
}

int Courier::startNetwork()
{
    awaitStart();
    return startNetworkNow();
}

int Courier::startNetworkNow()
{
    if (!mBridge)
        mBridge = std::make_unique<BridgeLibrary>();
    mFailure = 0;
    if (mBridge->call("init", 0) <= 0)
        return mNetStarted;
    mNetStarted = mBridge->call("startViredaNet", 0);
    if (mNetStarted == PeerCertificateRefused) {
        mFailure = PeerCertificateRefused;
        Echo::line(QStringLiteral("ViredaNet not successful: the peer's certificate does not match the one named in "
                                  "vireda-peer.properties (peer.certificate)"));
        return mNetStarted;
    }
    if (mNetStarted <= 0) {
        Echo::line(QStringLiteral("ViredaNet not successful"));
        return mNetStarted;
    }
    Echo::line(QStringLiteral("ViredaNet successful"));
    startMessagingService();
    startQueryService();
    startDownloadService();
    startUploadService();
    return mNetStarted;
}

int Courier::networkFailure()
{
    awaitStart();
    return mFailure;
}

int Courier::stopNetwork()
{
    // The Java client and its virtual machine run until the process ends;
    // only the signed-in user's session with the peer ends here.
    if (mOnlineSession) {
        mOnlineSession = false;
        if (mBridge)
            mBridge->call("endSession", 0);
    }
    return 1;
}

int Courier::startService(const char* exportName, const char* label)
{
    qCDebug(lcNetwork).noquote() << QStringLiteral("Courier::%1()").arg(QLatin1String(exportName));
    const int result = mBridge ? mBridge->call(exportName, 0) : 0;
    Echo::line(QLatin1String(label)
               + (result >= 1 ? QStringLiteral(" successful") : QStringLiteral("  not successful")));
    return result;
}

void Courier::startMessagingService()
{
    mMessaging = startService("startMessagingService", "Messaging Service");
}

void Courier::startQueryService()
{
    mQuery = startService("startQueryService", "Query Service");
}

void Courier::startDownloadService()
{
    mDownload = startService("startDownloadService", "Download Service");
}

void Courier::startUploadService()
{
    mUpload = startService("startUploadService", "Upload Service");
}

// ---------------------------------------------------------------- flags

bool Courier::isNetworkReady()
{
    awaitStart();
    // A failed start (-999, -1) is not a running service.
    return mNetStarted > 0 && mMessaging > 0 && mQuery > 0 && mDownload > 0 && mUpload > 0;
}

bool Courier::isNetworkStarted()
{
    awaitStart();
    return mNetStarted > 0;
}
bool Courier::isMessagingServiceStarted()
{
    awaitStart();
    return mMessaging > 0;
}
bool Courier::isQueryServiceStarted()
{
    awaitStart();
    return mQuery > 0;
}
bool Courier::isDownloadServiceStarted()
{
    awaitStart();
    return mDownload > 0;
}
bool Courier::isUploadServiceStarted()
{
    awaitStart();
    return mUpload > 0;
}

int Courier::resetServiceFlags()
{
    awaitStart();
    mNetStarted = mMessaging = mQuery = mDownload = mUpload = 0;
    return 0;
}

void Courier::setNetworkStarted(int value)
{
    awaitStart();
    mNetStarted = value;
}
void Courier::setMessagingServiceStarted(int value)
{
    awaitStart();
    mMessaging = value;
}
void Courier::setQueryServiceStarted(int value)
{
    awaitStart();
    mQuery = value;
}
void Courier::setDownloadServiceStarted(int value)
{
    awaitStart();
    mDownload = value;
}
void Courier::setUploadServiceStarted(int value)
{
    awaitStart();
    mUpload = value;
}
void Courier::setOfflineLogin(int value)
{
    mOfflineLogin = value;
}
int Courier::isOfflineLogin()
{
    return mOfflineLogin;
}

// ---------------------------------------------------------------- downloads

int Courier::downloadExercise(QString persistentId)
{
    awaitStart();
    if (mDownload <= 0 || !mBridge)
        return -1;
    return mBridge->call("downloadExercise", persistentId, -1);
}

int Courier::cancelDownload(int handle)
{
    awaitStart();
    // Also after a move to offline mode: a transfer given up must stop and
    // remove its partial file.
    if (!mBridge)
        return -1;
    return mBridge->call("cancelDownload", handle, -1);
}

int Courier::downloadManifest(QString persistentId, QString kind)
{
    awaitStart();
    return mBridge ? mBridge->call("downloadManifest", persistentId, kind, -1) : -1;
}

int Courier::getDownloadStatus(int handle, QString kind)
{
    awaitStart();
    if (!mBridge)
        return -1;
    if (kind == QLatin1String("exercise"))
        return mBridge->call("getDownloadStatus", handle, -1);
    return mBridge->call("isDownloadXmlDone", handle, 0);
}

QString Courier::getDownloadXml(int handle)
{
    awaitStart();
    return mBridge ? mBridge->text("getDownloadXml", handle) : QString();
}

QString Courier::getTranslationXml(int handle)
{
    awaitStart();
    return mBridge ? mBridge->text("getTranslationXml", handle) : QString();
}

QString Courier::getMyIps()
{
    return HostAddresses::summary(HostAddresses::hostName());
}

void Courier::delay(int ms)
{
    qCDebug(lcNetwork).noquote() << QStringLiteral("delaying %1 milliseconds...").arg(ms);
    QThread::msleep(ulong(ms));
    qCDebug(lcNetwork).noquote() << "delay over";
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// ---------------------------------------------------------------- exchanges

RequestBuilder Courier::requests() const
{
    return RequestBuilder(RequestBuilder::Lookups{mLanguages, mCountries, mFluencyLevels});
}

PeerReply Courier::sendMessage(const QString& text)
{
    awaitStart();
    if (!mBridge)
        return PeerReply();
    bool isNull = false;
    const QString answer = mBridge->text("sendMessage", text, &isNull);
    return PeerReply(answer, isNull);
}

PeerReply Courier::sendQuery(const QString& text)
{
    awaitStart();
    if (!mBridge)
        return PeerReply();
    bool isNull = true;
    const QString answer = mBridge->text("sendQuery", text, &isNull);
    return PeerReply(answer, isNull);
}

// ---------------------------------------------------------------- accounts

int Courier::registerAccount(QHash<QString, QString> fields)
{
    awaitStart();
    if (mNetStarted <= 0 || mMessaging <= 0)
        return 0;
    if (!MessageEnvelope::isCredential(fields.value(kUsername))
        || !MessageEnvelope::isCredential(fields.value(kPassword)))
        return 0;
    const AccountReply::Outcome outcome = AccountReply::registration(sendMessage(requests().registerMessage(fields)));
    if (outcome.networkDown)
        mMessaging = 0;
    return outcome.result;
}

int Courier::loginUser(QString username, QString password, int offline)
{
    if (username.isEmpty() || password.isEmpty())
        return 2;
    // Outside the registration characters no account can match.
    if (!MessageEnvelope::isCredential(username) || !MessageEnvelope::isCredential(password))
        return 2;
    if (mUserResource)
        mUserResource->clearCurrentUser();
    return offline != 0 ? loginOffline(username, password, offline) : loginOnline(username, password);
}

int Courier::loginResult(int result)
{
    qCDebug(lcNetwork).noquote() << QStringLiteral("Courier::loginUser.mResult=%1").arg(result);
    return result;
}

int Courier::loginOffline(const QString& username, const QString& password, int offline)
{
    // The stored copy, found in any letter case, holds the registered spelling (see INetManager.h).
    std::unique_ptr<ZoUser> match = storedUser(username, password);
    if (!match)
        return loginResult(2);
    // Offline: the network's start, still running or not, is not waited for.
    stopNetwork();
    signIn(std::move(match));
    mOfflineLogin = offline;
    return loginResult(1);
}

int Courier::loginOnline(const QString& username, const QString& password)
{
    awaitStart();
    if (mNetStarted <= 0 || mMessaging <= 0) {
        mMessaging = 0;
        return loginResult(3);
    }
    const QString message = RequestBuilder::loginMessage(username, password);
    qCDebug(lcNetwork).noquote() << "Sending Message...";
    const PeerReply reply = sendMessage(message);
    if (reply.isEmpty()) {
        qCDebug(lcNetwork).noquote() << "Login Reply is NULL";
        mMessaging = 0;
        return 3;
    }
    const AccountReply::Login login = AccountReply::login(reply, username);
    if (login.networkDown)
        mMessaging = 0;
    if (!login.signedIn)
        return loginResult(login.result);
    std::unique_ptr<ZoUser> user;
    if (store()) {
        const ZoDbHelper lookup;
        const QString uid = lookup.userIdOf(login.registeredName);
        qCDebug(lcNetwork).noquote() << "uid obtained";
        qCDebug(lcNetwork).noquote() << "uid is " + uid;
        user = replaceStoredUser(uid, login.registeredName, AccountReply::userFields(reply, lookup));
    }
    if (!user)
        return loginResult(LoginNotStored);
    signIn(std::move(user));
    mOfflineLogin = 0;
    mOnlineSession = true;
    qCDebug(lcNetwork).noquote() << QStringLiteral("login status is %1").arg(login.result);
    return loginResult(login.result);
}

void Courier::signIn(std::unique_ptr<ZoUser> user)
{
    // The user resource holds the current user from here on.
    if (mUserResource)
        mUserResource->setCurrentUser(user.release());
}

std::unique_ptr<ZoUser> Courier::storedUser(const QString& username, const QString& password)
{
    if (!store())
        return nullptr;
    QHash<QString, QString> criteria{{kUsername, username}};
    if (!password.isNull())
        criteria.insert(kPassword, password);
    std::unique_ptr<ZoUser> found;
    // Every user the store hands over is ours; all but the match go at the end of the loop.
    const QList<ZoUser*> users = store()->select(kUserType, criteria);
    for (ZoUser* handed : users) {
        std::unique_ptr<ZoUser> user(handed);
        if (!found && user->username().compare(username, Qt::CaseInsensitive) == 0
            && (password.isNull() || user->password() == password))
            found = std::move(user);
    }
    return found;
}

std::unique_ptr<ZoUser> Courier::replaceStoredUser(const QString& uid, const QString& username,
                                                   const QHash<QString, QString>& fields)
{
    // The store runs each write in a transaction of its own, so the earlier
    // copy is kept aside and written back when the new one cannot be stored.
    const std::unique_ptr<ZoUser> previous = storedUser(username);
    if (uid != QLatin1String("-1"))
        store()->remove(kUserType, {uid});
    std::unique_ptr<QObject> inserted(store()->insert(kUserType, fields));
    if (auto* user = qobject_cast<ZoUser*>(inserted.get())) {
        inserted.release();
        return std::unique_ptr<ZoUser>(user);
    }
    if (previous) {
        qCDebug(lcNetwork).noquote() << "storing the signed-in user failed; restoring the earlier copy";
        QHash<QString, QString> earlier = previous->toHash();
        for (int i = 1; earlier.contains(QStringLiteral("FIsStudying%1").arg(i)); ++i)
            earlier.insert(QStringLiteral("FNonSpeaking%1").arg(i),
                           earlier.value(QStringLiteral("FIsStudying%1").arg(i)));
        const std::unique_ptr<QObject> restored(store()->insert(kUserType, earlier));
    }
    return storedUser(username);
}

int Courier::passwordReminder(QString username)
{
    awaitStart();
    if (username.isEmpty() || mNetStarted <= 0 || mMessaging <= 0 || !MessageEnvelope::isCredential(username))
        return 0;
    const AccountReply::Outcome outcome = AccountReply::passwordReminder(
        sendMessage(RequestBuilder::passwordReminderMessage(username)));
    if (outcome.networkDown)
        mMessaging = 0;
    return outcome.result;
}

int Courier::updateFluency(QString username, QString password, QHash<QString, QString> userProperties)
{
    awaitStart();
    Q_UNUSED(username)
    Q_UNUSED(password)
    // The network never gets a list the learner's own store does not hold.
    if (!store() || !store()->update(kUserType, userProperties.value(QStringLiteral("Id")), userProperties)) {
        qCDebug(lcNetwork).noquote() << "ERROR: the fluency change could not be stored locally.";
        return NotStoredLocally;
    }
    if (mOfflineLogin != 0 || mMessaging != 1) {
        qCDebug(lcNetwork).noquote() << "ERROR: network is down.";
        return -1;
    }
    if (!MessageEnvelope::isCredential(userProperties.value(kUsername))
        || !MessageEnvelope::isCredential(userProperties.value(kPassword))) {
        qCDebug(lcNetwork).noquote() << "ERROR: credentials outside the accepted characters";
        return 0;
    }
    const AccountReply::Outcome outcome = AccountReply::fluencyUpdate(
        sendMessage(requests().updateFluencyMessage(userProperties)));
    if (outcome.networkDown)
        resetServiceFlags();
    return outcome.result;
}

int Courier::sendFeedback(QString comment, QString type)
{
    awaitStart();
    if (mMessaging <= 0 || comment.size() >= FeedbackLimit)
        return 0;
    const QString message = RequestBuilder::feedbackMessage(comment, type);
    qCDebug(lcNetwork).noquote() << "Passing suggestion/bug to JNI";
    const PeerReply reply = sendMessage(message);
    qCDebug(lcNetwork).noquote() << "Recieved suggestion/bug reply from server";
    return AccountReply::feedback(reply);
}

// ---------------------------------------------------------------- searches

QList<ZoExercise> Courier::queryExercises(QHash<QString, QString> criteria, int* status, int* totalResults)
{
    awaitStart();
    const ZoDbHelper lookup;
    const QString message = RequestBuilder::exerciseQueryMessage(criteria);
    qCDebug(lcNetwork).noquote() << "Sending Query";
    const PeerReply reply = sendQuery(message);
    qCDebug(lcNetwork).noquote() << "Result of query received.";
    return SearchReply::exercises(reply, lookup, status, totalResults);
}

QList<ZoLesson> Courier::queryLessons(QHash<QString, QString> criteria, int* status, int* totalResults)
{
    awaitStart();
    return SearchReply::lessons(sendQuery(RequestBuilder::lessonQueryMessage(criteria)), status, totalResults);
}

ZoExercise Courier::exerciseFromXml(XmlPathMap map, ZoDbHelper* lookup)
{
    const ZoDbHelper own;
    return ManifestReader::exerciseWithFields(map, lookup ? *lookup : own);
}

ZoLesson Courier::lessonFromXml(XmlPathMap map, ZoDbHelper* lookup)
{
    Q_UNUSED(lookup)
    return ManifestReader::lesson(map);
}

ZoTranslation Courier::translationFromXml(XmlPathMap map, ZoDbHelper* lookup)
{
    Q_UNUSED(lookup)
    return ManifestReader::translation(map);
}

QString Courier::parseTranslationXml(QString xml, ZoDbHelper* lookup, QList<ZoTranslation>* translations,
                                     QList<ZoExercise>* exercises)
{
    const ZoDbHelper own;
    return ManifestReader::translations(xml, lookup ? *lookup : own, translations, exercises);
}

// ---------------------------------------------------------------- uploads

int Courier::uploadFiles(const QString& xml, const QStringList& files)
{
    awaitStart();
    if (mNetStarted <= 0 || mUpload <= 0 || !mBridge)
        return -1;
    return mBridge->upload(xml, files, -1);
}

bool Courier::awaitUploadReply(int handle, int pollMs, int limitMs, qint64 startedAt, PeerReply* reply)
{
    awaitStart();
    // Without a handle nothing was started: no answer can come.
    if (handle < 0)
        return false;
    QElapsedTimer timer;
    timer.start();
    while (!mBridge || mBridge->call("isUploadXmlDone", handle, 0) == 0) {
        delay(pollMs);
        if (timer.elapsed() + startedAt > limitMs)
            return false;
    }
    *reply = PeerReply(mBridge->text("getUploadReply", handle));
    return true;
}

QHash<QString, QString> Courier::uploadManifest(QString localManifestId, QString kind)
{
    awaitStart();
    QString document;
    if (kind == UploadReply::LessonKind)
        document = ZoLesson::manifestXml(localManifestId);
    else if (kind == UploadReply::TranslationKind)
        document = ZoTranslation::manifestXml(localManifestId);
    else
        return UploadReply::invalidKind(kind);
    const QString message = RequestBuilder::uploadMessage(document, kind);
    const int handle = mBridge ? mBridge->call("uploadManifest", message, UploadReply::bridgeKind(kind), -1) : -1;
    PeerReply reply;
    if (!awaitUploadReply(handle, 100, 10000, 0, &reply))
        return UploadReply::timedOut();
    return UploadReply::manifest(reply, kind);
}

QHash<QString, QString> Courier::uploadExercise(QString exerciseId, QString soundFile)
{
    awaitStart();
    const std::unique_ptr<ZoExercise> exercise(store() ? store()->getExercise(QStringLiteral("Exercise"), exerciseId)
                                                       : nullptr);
    if (!exercise)
        return UploadReply::error(QStringLiteral("No stored exercise with id ") + exerciseId);
    const QString message = RequestBuilder::uploadMessage(exercise->manifestXml(), UploadReply::ExerciseKind);
    QElapsedTimer timer;
    timer.start();
    int handle = -1;
    if (soundFile.isEmpty()) {
        handle = mBridge ? mBridge->call("uploadManifest", message, QStringLiteral("exerciseWithoutSound"), -1) : -1;
    } else {
        for (int attempt = 0; attempt < 6 && handle < 0; ++attempt) {
            handle = uploadFiles(message, {soundFile});
            delay(200);
        }
    }
    PeerReply reply;
    if (!awaitUploadReply(handle, 200, 20000, timer.elapsed(), &reply))
        return UploadReply::timedOut();
    return UploadReply::exercise(reply, !soundFile.isEmpty());
}
