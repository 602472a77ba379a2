#pragma once

#include "INetManager.h"

#include <QHash>
#include <QJsonArray>
#include <QObject>
#include <QStringList>

// A network manager for tests: every result comes from a script file and every
// call is appended to a call log. Install it into a TestTree as the real one:
//     tree.addPlugin("shell/ScriptedNetManager.so", "Managers", "Courier.so");
// (CMake: add_dependencies(<test> ScriptedNetManager); tests that include
// ScriptedNet.h add this folder to their include path.)
//
// Script: $VIREDA_NET_SCRIPT, else "netscript.ini" in the working directory.
// It is read again on each call; rewriting it with other content starts the
// sequences anew. One operation per line, "#" starts a comment:
//     registerAccount = -1 | 1        successive calls, the last value repeats
//     isNetworkReady = 0              bool results: 0/1, false/true
//     uploadManifest = PId=7;Status=1 | timedOut=yes     hash results
//     queryExercises = 1              *status; "queryExercises.total" gives *totalResults
//                                     (written only with status 1, as the real one does)
//     queryExercises.results = @page1.json | @page2.json
//                                     the results of successive calls: JSON arrays
//                                     of objects (ScriptedNet::writeRows); an exercise
//                                     from the keys of ZoExercise::toHash, a lesson
//                                     from PId, Title, Description, Username, UserId,
//                                     Language, LearnerLevel and EId1, EId2, ... (the
//                                     members' persistent ids); queryLessons.results alike
//     getDownloadStatus.3 = 10 | 60 | 100   the statuses of handle 3 (before
//                                     the general "getDownloadStatus")
//     getDownloadXml.3 = @lesson3.xml  the document of handle 3; "@name" reads the
//                                     file next to the script (getTranslationXml alike)
// Unscripted operations answer as a working network: 1, true, handle 1,
// download status 100, empty texts and result lists, isOfflineLogin 0,
// getMyIps "127.0.0.1". updateFluency first writes the user to the store
// (IDbManager::update "User" with the properties' "Id"), as the real one does.
// The setters (setOfflineLogin, setMessagingServiceStarted, ...) and
// resetServiceFlags override the matching getters until the script changes;
// a successful startNetwork lifts the overrides of resetServiceFlags.
// networkFailure (unscripted 0) is answered without an entry in the call log.
//
// Call log: $VIREDA_NET_LOG, else "netcalls.log" in the working directory. One
// JSON object per line: {"op": name, "args": [...]}, a hash argument as a JSON
// object. ScriptedNet.h writes scripts and reads the log back.
class ScriptedNetManager : public QObject, public INetManager
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "NetManagerInterface/1.0")
    Q_INTERFACES(INetManager)

public:
    // Logs "destroyed" and, for the shell's tests, "net:deleted, geometry
    // stored: yes|no" in the shared call list (CallLog.h).
    ~ScriptedNetManager() override;

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
    // Scripted as "isNetworkStarting" (not logged), false unless scripted;
    // whenNetworkStarted runs done from the event loop.
    bool isNetworkStarting() override;
    void whenNetworkStarted(QObject* context, std::function<void()> done) override;

private:
    // The next scripted text for op (fallback when unscripted); counts the call.
    QString next(const QString& op, const QString& fallback);
    // next(), reading the file named by a value "@name" next to the script.
    QString nextText(const QString& op, const QString& fallback);
    // The rows of the JSON file named by the next value ("@name").
    QList<QHash<QString, QString>> nextRows(const QString& op);
    // "op.<handle>" when the script names it, else op.
    QString perHandle(const QString& op, int handle);
    int nextInt(const QString& op, int fallback);
    bool nextBool(const QString& op, bool fallback);
    QHash<QString, QString> nextHash(const QString& op);
    void reloadScript();
    void log(const QString& op, const QJsonArray& args);

    bool mLoaded = false;
    QByteArray mScriptText;
    QHash<QString, QStringList> mScript;
    QHash<QString, int> mCounts;
    QHash<QString, QString> mOverrides;
};
