#include "ScriptedNetManager.h"

#include "../CallLog.h"
#include "IDbManager.h"
#include "PluginLocator.h"
#include "XmlPathMap.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoTranslation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QSettings>

namespace {

QString scriptPath()
{
    const QString env = qEnvironmentVariable("VIREDA_NET_SCRIPT");
    return env.isEmpty() ? QDir::current().absoluteFilePath(QStringLiteral("netscript.ini")) : env;
}

QString logPath()
{
    const QString env = qEnvironmentVariable("VIREDA_NET_LOG");
    return env.isEmpty() ? QDir::current().absoluteFilePath(QStringLiteral("netcalls.log")) : env;
}

QJsonObject hashToJson(const QHash<QString, QString>& hash)
{
    QJsonObject object;
    for (auto it = hash.cbegin(); it != hash.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

// The objects of a JSON array file, each as a hash of texts.
QList<QHash<QString, QString>> readRows(const QString& path)
{
    QList<QHash<QString, QString>> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    const QJsonArray array = QJsonDocument::fromJson(file.readAll()).array();
    for (const QJsonValue& value : array) {
        QHash<QString, QString> row;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            row.insert(it.key(), it.value().toVariant().toString());
        rows.append(row);
    }
    return rows;
}

} // namespace

void ScriptedNetManager::reloadScript()
{
    QByteArray text;
    QFile file(scriptPath());
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    if (mLoaded && text == mScriptText)
        return;
    mLoaded = true;
    mScriptText = text;
    mScript.clear();
    mCounts.clear();
    mOverrides.clear();
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.section(QLatin1Char('#'), 0, 0).trimmed();
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        QStringList values;
        for (const QString& v : line.mid(eq + 1).split(QLatin1Char('|')))
            values.append(v.trimmed());
        mScript.insert(line.left(eq).trimmed(), values);
    }
}

QString ScriptedNetManager::next(const QString& op, const QString& fallback)
{
    reloadScript();
    const int n = mCounts.value(op);
    mCounts.insert(op, n + 1);
    if (mOverrides.contains(op))
        return mOverrides.value(op);
    const QStringList values = mScript.value(op);
    if (values.isEmpty())
        return fallback;
    return values.at(qMin(n, values.size() - 1));
}

QString ScriptedNetManager::nextText(const QString& op, const QString& fallback)
{
    const QString value = next(op, fallback);
    if (!value.startsWith(QLatin1Char('@')))
        return value;
    QFile file(QFileInfo(scriptPath()).absoluteDir().absoluteFilePath(value.mid(1)));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QList<QHash<QString, QString>> ScriptedNetManager::nextRows(const QString& op)
{
    const QString value = next(op, QString());
    if (!value.startsWith(QLatin1Char('@')))
        return {};
    return readRows(QFileInfo(scriptPath()).absoluteDir().absoluteFilePath(value.mid(1)));
}

QString ScriptedNetManager::perHandle(const QString& op, int handle)
{
    reloadScript();
    const QString specific = op + QLatin1Char('.') + QString::number(handle);
    return mScript.contains(specific) ? specific : op;
}

int ScriptedNetManager::nextInt(const QString& op, int fallback)
{
    bool ok = false;
    const int value = next(op, QString::number(fallback)).toInt(&ok);
    return ok ? value : fallback;
}

bool ScriptedNetManager::nextBool(const QString& op, bool fallback)
{
    const QString value = next(op, fallback ? QStringLiteral("1") : QStringLiteral("0")).toLower();
    return value == QLatin1String("1") || value == QLatin1String("true") || value == QLatin1String("yes");
}

QHash<QString, QString> ScriptedNetManager::nextHash(const QString& op)
{
    QHash<QString, QString> result;
    for (const QString& pair : next(op, QString()).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = pair.indexOf(QLatin1Char('='));
        if (eq > 0)
            result.insert(pair.left(eq).trimmed(), pair.mid(eq + 1).trimmed());
    }
    return result;
}

void ScriptedNetManager::log(const QString& op, const QJsonArray& args)
{
    QJsonObject entry;
    entry.insert(QStringLiteral("op"), op);
    entry.insert(QStringLiteral("args"), args);
    QFile file(logPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        file.write(QJsonDocument(entry).toJson(QJsonDocument::Compact));
        file.write("\n");
    }
}

ScriptedNetManager::~ScriptedNetManager()
{
    log(QStringLiteral("destroyed"), {});
    // Instances left to the end of the process go after the application object.
    if (!QCoreApplication::instance())
        return;
    // Whether the host had stored its window geometry before deleting this.
    const bool stored = QSettings().contains(QStringLiteral("software/size"));
    CallLog::append(QStringLiteral("net:deleted, geometry stored: ") + (stored ? "yes" : "no"));
}

int ScriptedNetManager::registerAccount(QHash<QString, QString> fields)
{
    log(QStringLiteral("registerAccount"), {hashToJson(fields)});
    return nextInt(QStringLiteral("registerAccount"), 1);
}

int ScriptedNetManager::loginUser(QString username, QString password, int offline)
{
    log(QStringLiteral("loginUser"), {username, password, offline});
    return nextInt(QStringLiteral("loginUser"), 1);
}

int ScriptedNetManager::passwordReminder(QString username)
{
    log(QStringLiteral("passwordReminder"), {username});
    return nextInt(QStringLiteral("passwordReminder"), 1);
}

int ScriptedNetManager::updateFluency(QString username, QString password, QHash<QString, QString> userProperties)
{
    log(QStringLiteral("updateFluency"), {username, password, hashToJson(userProperties)});
    // As the real manager: the local copy of the user first, whatever the network answers.
    // A scripted NotStoredLocally stands for a store that refused the change.
    const int answer = nextInt(QStringLiteral("updateFluency"), 1);
    if (answer == NotStoredLocally)
        return answer;
    // Trees without a database have a store that refuses; the answer stays the scripted one.
    if (auto* store = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll")))
        store->update(QStringLiteral("User"), userProperties.value(QStringLiteral("Id")), userProperties);
    return answer;
}

QList<ZoExercise> ScriptedNetManager::queryExercises(QHash<QString, QString> criteria, int* status, int* totalResults)
{
    log(QStringLiteral("queryExercises"), {hashToJson(criteria)});
    const int found = nextInt(QStringLiteral("queryExercises"), 1);
    const int total = nextInt(QStringLiteral("queryExercises.total"), 0);
    if (status)
        *status = found;
    // As the real manager: a total only with results.
    if (totalResults && found == 1)
        *totalResults = total;
    QList<ZoExercise> results;
    for (const QHash<QString, QString>& row : nextRows(QStringLiteral("queryExercises.results")))
        results.append(ZoExercise(row));
    return results;
}

QList<ZoLesson> ScriptedNetManager::queryLessons(QHash<QString, QString> criteria, int* status, int* totalResults)
{
    log(QStringLiteral("queryLessons"), {hashToJson(criteria)});
    const int found = nextInt(QStringLiteral("queryLessons"), 1);
    const int total = nextInt(QStringLiteral("queryLessons.total"), 0);
    if (status)
        *status = found;
    // As the real manager: a total only with results.
    if (totalResults && found == 1)
        *totalResults = total;
    QList<ZoLesson> results;
    for (const QHash<QString, QString>& row : nextRows(QStringLiteral("queryLessons.results"))) {
        ZoLesson lesson;
        lesson.setPId(row.value(QStringLiteral("PId")));
        lesson.setTitle(row.value(QStringLiteral("Title")));
        lesson.setDescription(row.value(QStringLiteral("Description")));
        lesson.setUsername(row.value(QStringLiteral("Username")));
        lesson.setUserId(row.value(QStringLiteral("UserId")));
        lesson.setLanguage(row.value(QStringLiteral("Language")));
        lesson.setLearnerLevel(row.value(QStringLiteral("LearnerLevel")));
        // Members as the network gives them: persistent ids, no local ones.
        for (int n = 1; row.contains(QStringLiteral("EId%1").arg(n)); ++n)
            lesson.addExercise(QString(), row.value(QStringLiteral("EId%1").arg(n)));
        results.append(lesson);
    }
    return results;
}

int ScriptedNetManager::downloadManifest(QString persistentId, QString kind)
{
    log(QStringLiteral("downloadManifest"), {persistentId, kind});
    return nextInt(QStringLiteral("downloadManifest"), 1);
}

int ScriptedNetManager::getDownloadStatus(int handle, QString kind)
{
    log(QStringLiteral("getDownloadStatus"), {handle, kind});
    return nextInt(perHandle(QStringLiteral("getDownloadStatus"), handle), 100);
}

QString ScriptedNetManager::getDownloadXml(int handle)
{
    log(QStringLiteral("getDownloadXml"), {handle});
    return nextText(perHandle(QStringLiteral("getDownloadXml"), handle), QString());
}

QString ScriptedNetManager::getTranslationXml(int handle)
{
    log(QStringLiteral("getTranslationXml"), {handle});
    return nextText(perHandle(QStringLiteral("getTranslationXml"), handle), QString());
}

ZoExercise ScriptedNetManager::exerciseFromXml(XmlPathMap map, ZoDbHelper*)
{
    log(QStringLiteral("exerciseFromXml"), {hashToJson(map.entries())});
    return ZoExercise();
}

ZoLesson ScriptedNetManager::lessonFromXml(XmlPathMap map, ZoDbHelper*)
{
    log(QStringLiteral("lessonFromXml"), {hashToJson(map.entries())});
    return ZoLesson();
}

ZoTranslation ScriptedNetManager::translationFromXml(XmlPathMap map, ZoDbHelper*)
{
    log(QStringLiteral("translationFromXml"), {hashToJson(map.entries())});
    return ZoTranslation();
}

QHash<QString, QString> ScriptedNetManager::uploadManifest(QString localManifestId, QString kind)
{
    log(QStringLiteral("uploadManifest"), {localManifestId, kind});
    return nextHash(QStringLiteral("uploadManifest"));
}

QHash<QString, QString> ScriptedNetManager::uploadExercise(QString exerciseId, QString soundFile)
{
    log(QStringLiteral("uploadExercise"), {exerciseId, soundFile});
    return nextHash(QStringLiteral("uploadExercise"));
}

QString ScriptedNetManager::getMyIps()
{
    log(QStringLiteral("getMyIps"), {});
    return next(QStringLiteral("getMyIps"), QStringLiteral("127.0.0.1"));
}

QString ScriptedNetManager::parseTranslationXml(QString xml, ZoDbHelper*, QList<ZoTranslation>*, QList<ZoExercise>*)
{
    log(QStringLiteral("parseTranslationXml"), {xml});
    return next(QStringLiteral("parseTranslationXml"), QString());
}

int ScriptedNetManager::downloadExercise(QString persistentId)
{
    log(QStringLiteral("downloadExercise"), {persistentId});
    return nextInt(QStringLiteral("downloadExercise"), 1);
}

int ScriptedNetManager::cancelDownload(int handle)
{
    log(QStringLiteral("cancelDownload"), {handle});
    return nextInt(QStringLiteral("cancelDownload"), 1);
}

bool ScriptedNetManager::isNetworkReady()
{
    log(QStringLiteral("isNetworkReady"), {});
    return nextBool(QStringLiteral("isNetworkReady"), true);
}

bool ScriptedNetManager::isNetworkStarted()
{
    log(QStringLiteral("isNetworkStarted"), {});
    return nextBool(QStringLiteral("isNetworkStarted"), true);
}

bool ScriptedNetManager::isMessagingServiceStarted()
{
    log(QStringLiteral("isMessagingServiceStarted"), {});
    return nextBool(QStringLiteral("isMessagingServiceStarted"), true);
}

bool ScriptedNetManager::isQueryServiceStarted()
{
    log(QStringLiteral("isQueryServiceStarted"), {});
    return nextBool(QStringLiteral("isQueryServiceStarted"), true);
}

bool ScriptedNetManager::isDownloadServiceStarted()
{
    log(QStringLiteral("isDownloadServiceStarted"), {});
    return nextBool(QStringLiteral("isDownloadServiceStarted"), true);
}

bool ScriptedNetManager::isUploadServiceStarted()
{
    log(QStringLiteral("isUploadServiceStarted"), {});
    return nextBool(QStringLiteral("isUploadServiceStarted"), true);
}

int ScriptedNetManager::resetServiceFlags()
{
    log(QStringLiteral("resetServiceFlags"), {});
    reloadScript();
    for (const char* op : {"isNetworkReady", "isNetworkStarted", "isMessagingServiceStarted", "isQueryServiceStarted",
                           "isDownloadServiceStarted", "isUploadServiceStarted"})
        mOverrides.insert(QLatin1String(op), QStringLiteral("0"));
    return nextInt(QStringLiteral("resetServiceFlags"), 1);
}

void ScriptedNetManager::setNetworkStarted(int value)
{
    log(QStringLiteral("setNetworkStarted"), {value});
    reloadScript();
    mOverrides.insert(QStringLiteral("isNetworkStarted"), QString::number(value > 0 ? 1 : 0));
}

void ScriptedNetManager::setMessagingServiceStarted(int value)
{
    log(QStringLiteral("setMessagingServiceStarted"), {value});
    reloadScript();
    mOverrides.insert(QStringLiteral("isMessagingServiceStarted"), QString::number(value > 0 ? 1 : 0));
}

void ScriptedNetManager::setQueryServiceStarted(int value)
{
    log(QStringLiteral("setQueryServiceStarted"), {value});
    reloadScript();
    mOverrides.insert(QStringLiteral("isQueryServiceStarted"), QString::number(value > 0 ? 1 : 0));
}

void ScriptedNetManager::setDownloadServiceStarted(int value)
{
    log(QStringLiteral("setDownloadServiceStarted"), {value});
    reloadScript();
    mOverrides.insert(QStringLiteral("isDownloadServiceStarted"), QString::number(value > 0 ? 1 : 0));
}

void ScriptedNetManager::setUploadServiceStarted(int value)
{
    log(QStringLiteral("setUploadServiceStarted"), {value});
    reloadScript();
    mOverrides.insert(QStringLiteral("isUploadServiceStarted"), QString::number(value > 0 ? 1 : 0));
}

void ScriptedNetManager::setOfflineLogin(int value)
{
    log(QStringLiteral("setOfflineLogin"), {value});
    reloadScript();
    mOverrides.insert(QStringLiteral("isOfflineLogin"), QString::number(value));
}

int ScriptedNetManager::isOfflineLogin()
{
    log(QStringLiteral("isOfflineLogin"), {});
    return nextInt(QStringLiteral("isOfflineLogin"), 0);
}

int ScriptedNetManager::sendFeedback(QString comment, QString type)
{
    log(QStringLiteral("sendFeedback"), {comment, type});
    return nextInt(QStringLiteral("sendFeedback"), 1);
}

int ScriptedNetManager::startNetwork()
{
    log(QStringLiteral("startNetwork"), {});
    reloadScript();
    const int result = nextInt(QStringLiteral("startNetwork"), 1);
    // A successful start brings the services back after resetServiceFlags.
    if (result > 0) {
        for (const char* op : {"isNetworkReady", "isNetworkStarted", "isMessagingServiceStarted",
                               "isQueryServiceStarted", "isDownloadServiceStarted", "isUploadServiceStarted"})
            mOverrides.remove(QLatin1String(op));
    }
    return result;
}

int ScriptedNetManager::networkFailure()
{
    reloadScript();
    return nextInt(QStringLiteral("networkFailure"), 0);
}

int ScriptedNetManager::stopNetwork()
{
    log(QStringLiteral("stopNetwork"), {});
    return nextInt(QStringLiteral("stopNetwork"), 1);
}

bool ScriptedNetManager::isNetworkStarting()
{
    // Asked often and waits for nothing: not logged.
    return nextBool(QStringLiteral("isNetworkStarting"), false);
}

void ScriptedNetManager::whenNetworkStarted(QObject* context, std::function<void()> done)
{
    log(QStringLiteral("whenNetworkStarted"), {});
    QMetaObject::invokeMethod(
        this,
        [context = QPointer<QObject>(context), done = std::move(done)] {
            if (context)
                done();
        },
        Qt::QueuedConnection);
}
