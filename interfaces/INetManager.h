#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QtPlugin>

#include <functional>

class QObject;
class XmlPathMap;
class ZoDbHelper;
class ZoExercise;
class ZoLesson;
class ZoTranslation;

// The peer network. Objects returned by value are the caller's copies.
//
// User names: a name is one account in any letter case, and the account keeps
// the spelling it was registered with. The peer refuses a name that differs
// from a taken one only in case and signs in under the registered spelling;
// the network manager stores and signs in the user under that spelling, online
// and offline; the local store finds a user by name in any letter case.
// Passwords are compared exactly.
class INetManager
{
public:
    // loginUser and registerAccount: the peer refused, too many requests came
    // from this computer; trying again later works.
    static constexpr int TooManyRequests = -4;
    // updateFluency: the local store did not take the change; nothing was sent.
    static constexpr int NotStoredLocally = -5;
    // queryExercises and queryLessons: the reply went past a limit (its size,
    // its results or a lesson's members) and was refused; nothing of it is used.
    static constexpr int ReplyPastLimit = -3;

    // networkFailure: the peer's certificate is not the one that
    // "vireda-peer.properties" pins.
    static constexpr int PeerCertificateRefused = -6;

    virtual ~INetManager() = default;
    virtual int registerAccount(QHash<QString, QString> fields) = 0;
    virtual int loginUser(QString username, QString password, int offline) = 0;
    virtual int passwordReminder(QString username) = 0;
    virtual int updateFluency(QString username, QString password, QHash<QString, QString> userProperties) = 0;
    virtual QList<ZoExercise> queryExercises(QHash<QString, QString> criteria, int* status, int* totalResults) = 0;
    virtual QList<ZoLesson> queryLessons(QHash<QString, QString> criteria, int* status, int* totalResults) = 0;
    virtual int downloadManifest(QString persistentId, QString kind) = 0;
    virtual int getDownloadStatus(int handle, QString kind) = 0;
    virtual QString getDownloadXml(int handle) = 0;
    virtual QString getTranslationXml(int handle) = 0;
    virtual ZoExercise exerciseFromXml(XmlPathMap map, ZoDbHelper* lookup) = 0;
    virtual ZoLesson lessonFromXml(XmlPathMap map, ZoDbHelper* lookup) = 0;
    virtual ZoTranslation translationFromXml(XmlPathMap map, ZoDbHelper* lookup) = 0;
    virtual QHash<QString, QString> uploadManifest(QString localManifestId, QString kind) = 0;
    virtual QHash<QString, QString> uploadExercise(QString exerciseId, QString soundFile) = 0;
    virtual QString getMyIps() = 0;
    virtual QString parseTranslationXml(QString xml, ZoDbHelper* lookup, QList<ZoTranslation>* translations,
                                        QList<ZoExercise>* exercises) = 0;
    virtual int downloadExercise(QString persistentId) = 0;
    virtual int cancelDownload(int handle) = 0;
    virtual bool isNetworkReady() = 0;
    virtual bool isNetworkStarted() = 0;
    virtual bool isMessagingServiceStarted() = 0;
    virtual bool isQueryServiceStarted() = 0;
    virtual bool isDownloadServiceStarted() = 0;
    virtual bool isUploadServiceStarted() = 0;
    virtual int resetServiceFlags() = 0;
    virtual void setNetworkStarted(int value) = 0;
    virtual void setMessagingServiceStarted(int value) = 0;
    virtual void setQueryServiceStarted(int value) = 0;
    virtual void setDownloadServiceStarted(int value) = 0;
    virtual void setUploadServiceStarted(int value) = 0;
    virtual void setOfflineLogin(int value) = 0;
    virtual int isOfflineLogin() = 0;
    virtual int sendFeedback(QString comment, QString type) = 0;
    virtual int startNetwork() = 0;
    // Why the last start of the network failed when that is known
    // (PeerCertificateRefused), else 0.
    virtual int networkFailure() = 0;
    virtual int stopNetwork() = 0;
    // True while the start begun when the manager was made still runs; asking
    // waits for nothing (every other call waits for that start to end).
    virtual bool isNetworkStarting() = 0;
    // Runs done on the caller's thread once that start has ended (from the
    // event loop, also when it has ended already), unless context is gone.
    virtual void whenNetworkStarted(QObject* context, std::function<void()> done) = 0;
};

#define INetManager_iid "NetManagerInterface/1.0"
Q_DECLARE_INTERFACE(INetManager, INetManager_iid)
