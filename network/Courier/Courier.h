#pragma once

#include "AccountReply.h"
#include "INetManager.h"
#include "PeerReply.h"
#include "RequestBuilder.h"
#include "XmlPathMap.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoTranslation.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class BridgeLibrary;
class IDbManager;
class IResource;
class IUserResource;
class ZoUser;

// The network manager: sends the account operations, searches, uploads and
// downloads as XML messages to the Java peer client reached through the
// bridge library, and hands the replies to their readers (network/messages).
class Courier : public QWidget, public INetManager
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID INetManager_iid)
    Q_INTERFACES(INetManager)

public:
    // Sign-in succeeded at the peer but no local copy of the user could be
    // stored or found.
    static constexpr int LoginNotStored = -3;
    // passwordReminder: the network sends no reminders (it has no mail server).
    static constexpr int ReminderNotAvailable = AccountReply::ReminderNotAvailable;
    // passwordReminder: too many reminders were asked for; try later.
    static constexpr int ReminderTooMany = AccountReply::ReminderTooMany;
    // Comments of this length or longer are not sent.
    static constexpr int FeedbackLimit = 8000;

    explicit Courier(QWidget* parent = nullptr);
    ~Courier() override;

    int registerAccount(QHash<QString, QString> fields) override;
    int loginUser(QString username, QString password, int offline) override;
    int passwordReminder(QString username) override;
    int updateFluency(QString username, QString password, QHash<QString, QString> userProperties) override;
    QList<ZoExercise> queryExercises(QHash<QString, QString> criteria, int* status, int* totalResults) override;
    QList<ZoLesson> queryLessons(QHash<QString, QString> criteria, int* status, int* totalResults) override;
    int downloadManifest(QString persistentId, QString kind) override;
    int getDownloadStatus(int handle, QString kind) override;
    QString getDownloadXml(int handle) override;
    QString getTranslationXml(int handle) override;
    ZoExercise exerciseFromXml(XmlPathMap map, ZoDbHelper* lookup) override;
    ZoLesson lessonFromXml(XmlPathMap map, ZoDbHelper* lookup) override;
    ZoTranslation translationFromXml(XmlPathMap map, ZoDbHelper* lookup) override;
    QHash<QString, QString> uploadManifest(QString localManifestId, QString kind) override;
    QHash<QString, QString> uploadExercise(QString exerciseId, QString soundFile) override;
    QString getMyIps() override;
    QString parseTranslationXml(QString xml, ZoDbHelper* lookup, QList<ZoTranslation>* translations,
                                QList<ZoExercise>* exercises) override;
    int downloadExercise(QString persistentId) override;
    int cancelDownload(int handle) override;
    bool isNetworkReady() override;
    bool isNetworkStarted() override;
    bool isMessagingServiceStarted() override;
    bool isQueryServiceStarted() override;
    bool isDownloadServiceStarted() override;
    bool isUploadServiceStarted() override;
    int resetServiceFlags() override;
    void setNetworkStarted(int value) override;
    void setMessagingServiceStarted(int value) override;
    void setQueryServiceStarted(int value) override;
    void setDownloadServiceStarted(int value) override;
    void setUploadServiceStarted(int value) override;
    void setOfflineLogin(int value) override;
    int isOfflineLogin() override;
    int sendFeedback(QString comment, QString type) override;
    int startNetwork() override;
    int networkFailure() override;
    int stopNetwork() override;
    bool isNetworkStarting() override;
    void whenNetworkStarted(QObject* context, std::function<void()> done) override;

private slots:
    void startMessagingService();
    void startQueryService();
    void startDownloadService();
    void startUploadService();

private:
    // The request builder over the loaded name tables.
    RequestBuilder requests() const;
    // Sends a message text through the bridge's sendMessage (sendQuery) and reads the reply.
    PeerReply sendMessage(const QString& text);
    PeerReply sendQuery(const QString& text);
    int startService(const char* exportName, const char* label);
    // Starts the bridge, the client and its services on the calling thread.
    int startNetworkNow();
    // The local store, loaded at first use.
    IDbManager* store();
    // Waits for the start begun by the constructor, if it still runs.
    void awaitStart();
    // Runs what waited for the start's end.
    void runOnStarted();
    static void finishStartAtShutdown();
    // Sign-in against the local store, or through the peer.
    int loginOffline(const QString& username, const QString& password, int offline);
    int loginOnline(const QString& username, const QString& password);
    // Logs the result of a sign-in and returns it.
    static int loginResult(int result);
    // Makes user the current user; the user resource takes it over.
    void signIn(std::unique_ptr<ZoUser> user);
    // The stored user of that name in any letter case (and exactly that
    // password, unless null), or null.
    std::unique_ptr<ZoUser> storedUser(const QString& username, const QString& password = QString());
    // Puts the signed-in user's reply in place of the stored copy.
    std::unique_ptr<ZoUser> replaceStoredUser(const QString& uid, const QString& username,
                                              const QHash<QString, QString>& fields);
    // Hands a message and its files to the client; -1 when the network is down.
    int uploadFiles(const QString& xml, const QStringList& files);
    // Waits for and reads the reply to the upload of that handle; false when none came in time.
    bool awaitUploadReply(int handle, int pollMs, int limitMs, qint64 startedAt, PeerReply* reply);
    void delay(int ms);

    int mNetStarted = 0;
    // Why the last start failed, when known (INetManager::networkFailure).
    int mFailure = 0;
    int mMessaging = 0;
    int mQuery = 0;
    int mDownload = 0;
    int mUpload = 0;
    int mOfflineLogin = 0;
    // A user signed in online holds a session with the peer.
    bool mOnlineSession = false;
    IUserResource* mUserResource = nullptr;
    IDbManager* mDbManager = nullptr;
    IResource* mLanguages = nullptr;
    IResource* mCountries = nullptr;
    IResource* mFluencyLevels = nullptr;
    IResource* mLearnerLevels = nullptr;
    std::unique_ptr<BridgeLibrary> mBridge;
    // The first start, on a thread of its own; the members above are the
    // starter's until it has been joined.
    std::thread mStarter;
    // Cleared by the starter when the start has ended.
    std::atomic<bool> mStarting{true};
    // Waiting for that end; only the window's thread touches them.
    QList<QPair<QPointer<QObject>, std::function<void()>>> mOnStarted;
};
