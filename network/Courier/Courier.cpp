#include "Courier.h"

#include "BoundedXml.h"
#include "BridgeLibrary.h"
#include "ContentGate.h"
#include "HostAddresses.h"
#include "IDbManager.h"
#include "IResource.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "StartupProbe.h"
#include "XmlPathMap.h"
#include "ZoDbHelper.h"
#include "ZoUser.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDomCDATASection>
#include <QDomNodeList>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>

#include <cstdio>
#include <memory>
#include <thread>

namespace {

const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";

// The manager whose start may still run when the application object goes.
Courier* startingManager = nullptr;

void printLine(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString folded(const QString& value)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return value.trimmed().replace(blanks, QStringLiteral(" "));
}

QString withoutBrackets(QString value)
{
    return value.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
}

QString elementText(const QDomNode& node)
{
    return node.toElement().text().trimmed();
}

// The first child element of that name (any letter case), or null.
QDomElement childNamed(const QDomElement& parent, const QString& name)
{
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName().compare(name, Qt::CaseInsensitive) == 0)
            return e;
    }
    return {};
}

// The element reached from the root by that exact path of names, or null.
QDomElement elementAt(const QDomElement& from, const QStringList& names)
{
    QDomElement e = from;
    for (const QString& name : names) {
        if (e.isNull())
            break;
        e = childNamed(e, name);
    }
    return e;
}

QString textAt(const QDomElement& from, const QStringList& names)
{
    return elementText(elementAt(from, names));
}

// What the Java client gives instead of a reply it stopped reading past its limit.
const QString kReplyTooLarge = QStringLiteral("reply refused: larger than the limit");

// Parses a reply within the parser's limits; false (and a debug line) when
// refused; *pastLimit (may be null) tells whether a limit refused it.
bool parseReply(const QString& text, QDomDocument* document, bool* pastLimit = nullptr)
{
    BoundedXml::Error error;
    if (pastLimit)
        *pastLimit = false;
    if (BoundedXml::parse(text, document, &error))
        return true;
    BoundedXml::report(error);
    if (pastLimit)
        *pastLimit = error.pastLimit || text == kReplyTooLarge;
    return false;
}

// The element copied into a document of its own, so paths start below it.
XmlPathMap ownMap(const QDomNode& element)
{
    QDomDocument own;
    own.appendChild(own.importNode(element, true));
    return XmlPathMap(own);
}

QString suffixed(const QString& path, int index, int count)
{
    return count > 1 ? path + QStringLiteral("#%1").arg(index) : path;
}

// Children of a reply element: under "body.<reply>" when the map holds the
// whole message, else the map is the element itself.
QHash<QString, QString> replyElement(const XmlPathMap& map, const QString& prefix)
{
    const QHash<QString, QString> below = map.subtree(prefix);
    return below.isEmpty() ? map.entries() : below;
}

// The answer to an upload whose reply never came.
QHash<QString, QString> timedOut()
{
    return {{QStringLiteral("timedOut"), QStringLiteral("yes")}};
}

// What an operation returns when the peer accepts, refuses or does not answer.
struct Answers
{
    int accepted;
    int refused;
    int noAnswer;
};

// header.status 1 accepts, -1 refuses (the reply's error description is logged);
// anything else means no answer came in time.
int answerOf(const XmlPathMap& reply, const QString& replyName, const char* awaited, const Answers& answers)
{
    const QString status = reply.valueOf(QStringLiteral("header.status"));
    if (status == QLatin1String("1"))
        return answers.accepted;
    if (status == QLatin1String("-1")) {
        qDebug().noquote() << "ERROR: " + reply.valueOf(QStringLiteral("body.") + replyName + QStringLiteral(".error_description"));
        return answers.refused;
    }
    qDebug().noquote() << QStringLiteral("ERROR: network timeout waiting for %1 confirmation").arg(QLatin1String(awaited));
    return answers.noAnswer;
}

// Reads the reply to a query, handing each element of that tag found directly
// in message/body/<replyName> to read; elements elsewhere are not results.
// status (may be null): 0 without a reply or for a refused query, -1 for an
// unreadable reply, INetManager::ReplyPastLimit for one refused for its size
// or with more results than a page may hold, 1 once elements were read, 2
// when none were found.
template <typename Read>
void readQueryReply(const QString& answer, bool isNull, const QString& replyName, const QString& tag, int* status,
                    int* totalResults, Read read)
{
    int ignored = 0;
    if (!status)
        status = &ignored;
    *status = 2;
    if (isNull) {
        qDebug().noquote() << "srcResult is NULL";
        *status = 0;
        return;
    }
    QDomDocument document;
    bool pastLimit = false;
    if (!parseReply(answer, &document, &pastLimit)) {
        *status = pastLimit ? INetManager::ReplyPastLimit : -1;
        return;
    }
    const QDomElement root = document.documentElement();
    const QDomElement reply = elementAt(root, {QStringLiteral("body"), replyName});
    if (textAt(root, {QStringLiteral("header"), QStringLiteral("status")}) == QLatin1String("-1")) {
        qDebug().noquote() << textAt(reply, {QStringLiteral("error_description")});
        *status = 0;
        return;
    }
    const QList<QDomElement> elements = XmlPathMap::childrenNamed(reply, tag);
    if (elements.isEmpty())
        return;
    if (elements.size() > ContentGate::MaxResultRows) {
        qDebug().noquote() << QStringLiteral("refused reply: %1 results").arg(elements.size());
        *status = INetManager::ReplyPastLimit;
        return;
    }
    for (const QDomElement& element : elements)
        read(element);
    *status = 1;
    // A total below zero counts nothing.
    if (totalResults)
        *totalResults = qMax(0, textAt(reply, {QStringLiteral("total_result_available")}).toInt());
}

} // namespace

Courier::Courier(QWidget* parent)
    : QWidget(parent)
{
    // Text from the bridge is decoded as UTF-8 explicitly; nothing process-wide to set.
    mUserResource = PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    mLanguages = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll"));
    mCountries = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoCountryResource.dll"));
    mFluencyLevels =
        PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoFluencyLevelResource.dll"));
    mLearnerLevels =
        PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLearnerLevelResource.dll"));
    // The virtual machine and the services start while the program goes on;
    // whatever needs the network waits for them.
    mStarter = std::thread([this] {
        startNetworkNow();
        StartupProbe::mark("network");
        if (mBridge)
            mBridge->call("detachThread", 0);
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
    delete mBridge;
}

IDbManager* Courier::store()
{
    // Loaded when first needed: the program may still be preparing the file
    // when the network manager is made.
    if (!mDbManager)
        mDbManager = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
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

int Courier::startNetwork()
{
    awaitStart();
    return startNetworkNow();
}

int Courier::startNetworkNow()
{
    if (!mBridge)
        mBridge = new BridgeLibrary;
    if (mBridge->call("init", 0) <= 0)
        return mNetStarted;
    mNetStarted = mBridge->call("startViredaNet", 0);
    if (mNetStarted <= 0) {
        printLine(QStringLiteral("ViredaNet not successful"));
        return mNetStarted;
    }
    printLine(QStringLiteral("ViredaNet successful"));
    startMessagingService();
    startQueryService();
    startDownloadService();
    startUploadService();
    return mNetStarted;
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
    qDebug().noquote() << QStringLiteral("Courier::%1()").arg(QLatin1String(exportName));
    const int result = mBridge ? mBridge->call(exportName, 0) : 0;
    printLine(QLatin1String(label) + (result >= 1 ? QStringLiteral(" successful") : QStringLiteral("  not successful")));
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
void Courier::setOfflineLogin(int value) { mOfflineLogin = value; }
int Courier::isOfflineLogin() { return mOfflineLogin; }

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
    const QString host = HostAddresses::hostName();
    if (host.isEmpty())
        return QStringLiteral("getMyIps: gethostname error");
    QString result = host + QLatin1Char(',');
    const QStringList addresses = HostAddresses::ipv4Addresses();
    for (const QString& address : addresses)
        result += address + QLatin1Char(' ');
    return result.trimmed();
}

void Courier::delay(int ms)
{
    qDebug().noquote() << QString::asprintf("delaying %d milliseconds...", ms);
    QThread::msleep(ulong(ms));
    qDebug().noquote() << "delay over";
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// ---------------------------------------------------------------- messages

QString Courier::declared(const QDomDocument& document)
{
    return QLatin1String(kDeclaration) + document.toString(1);
}

QDomDocument Courier::newMessage(const QString& type)
{
    QDomDocument document;
    QDomElement message = document.createElement(QStringLiteral("message"));
    document.appendChild(message);
    message.appendChild(writeMessageHeader(document, type, true));
    return document;
}

void Courier::finishMessage(QDomDocument& document, const QDomElement& request)
{
    QDomElement body = document.createElement(QStringLiteral("body"));
    body.appendChild(request);
    document.documentElement().appendChild(body);
}

QDomElement Courier::writeMessageHeader(QDomDocument& document, QString type, bool withVersions)
{
    QSettings settings;
    const QString from = settings.value(QStringLiteral("network/localips")).toString() + QLatin1Char('|')
                         + QDateTime::currentDateTime().toString(QStringLiteral("MM.dd.yyyy|hh:mm"));
    QDomElement header = document.createElement(QStringLiteral("header"));
    header.appendChild(appendTextElement(document, QStringLiteral("from"), from, false));
    header.appendChild(appendTextElement(document, QStringLiteral("to"), QStringLiteral("not-impelented"), false));
    header.appendChild(appendTextElement(document, QStringLiteral("type"), type, false));
    if (withVersions) {
        header.appendChild(appendTextElement(document, QStringLiteral("xmlVersion"),
                                             settings.value(QStringLiteral("xml/version")).toString(), false));
        header.appendChild(appendTextElement(document, QStringLiteral("uiVersion"),
                                             settings.value(QStringLiteral("software/internal_version")).toString(),
                                             false));
        header.appendChild(appendTextElement(document, QStringLiteral("dbVersion"),
                                             settings.value(QStringLiteral("database/version")).toString(), false));
    }
    return header;
}

QDomElement Courier::appendTextElement(QDomDocument& document, QString name, QString value, bool asCdata)
{
    QDomElement element = document.createElement(name);
    if (asCdata)
        element.appendChild(document.createCDATASection(folded(withoutBrackets(value))));
    else
        element.appendChild(document.createTextNode(folded(value)));
    return element;
}

QDomElement Courier::appendVerbatimElement(QDomDocument& document, QString name, QString value, bool asCdata,
                                           bool verbatim)
{
    if (!(asCdata && verbatim))
        return appendTextElement(document, name, value, asCdata);
    QDomElement element = document.createElement(name);
    element.appendChild(document.createCDATASection(withoutBrackets(value)));
    return element;
}

bool Courier::isCredential(const QString& text)
{
    static const QRegularExpression allowed(QStringLiteral("^[a-zA-Z0-9._]*$"));
    return allowed.match(text).hasMatch();
}

QDomElement Courier::credentialElement(QDomDocument& document, const QString& name, const QString& value)
{
    // Folding or stripping would let a different typed password pass.
    QDomElement element = document.createElement(name);
    element.appendChild(document.createCDATASection(value));
    return element;
}

QString Courier::languageCode(const QString& language) const
{
    const QString id = mLanguages ? mLanguages->idOf(language) : QString();
    return id.isEmpty() && ZoDbHelper::isLanguageCode(language) ? language : id;
}

void Courier::appendFluencies(QDomDocument& document, QDomElement& parent, QHash<QString, QString>& fields,
                              const QString& studyingKey, bool logValues)
{
    for (int i = 1; !fields.value(QStringLiteral("FLanguage%1").arg(i)).isEmpty(); ++i) {
        const QString n = QString::number(i);
        QDomElement fluency = document.createElement(QStringLiteral("fluency"));
        const QString language = fields[QStringLiteral("FLanguage") + n];
        const QString level = fields[QStringLiteral("FFluencyLevel") + n];
        const QString country = fields[QStringLiteral("FCountry") + n];
        fluency.appendChild(appendTextElement(document, QStringLiteral("languageID"),
                                              languageCode(language), false));
        fluency.appendChild(appendTextElement(document, QStringLiteral("fluencyID"),
                                              mFluencyLevels ? mFluencyLevels->idOf(level) : QString(), false));
        fluency.appendChild(appendTextElement(document, QStringLiteral("countryID"),
                                              mCountries ? mCountries->idOf(country) : QString(), false));
        fluency.appendChild(appendTextElement(document, QStringLiteral("provState"),
                                              fields[QStringLiteral("FStateProv") + n], true));
        fluency.appendChild(appendTextElement(document, QStringLiteral("locality"),
                                              fields[QStringLiteral("FLocality") + n], true));
        fluency.appendChild(appendTextElement(document, QStringLiteral("localeDescriptor"),
                                              fields[QStringLiteral("FLocaleDesc") + n], true));
        fluency.appendChild(appendTextElement(document, QStringLiteral("nonSpeaking"), fields[studyingKey + n], false));
        parent.appendChild(fluency);
        if (logValues) {
            qDebug().noquote() << "Language is " + language;
            qDebug().noquote() << "Fluency is " + level;
            qDebug().noquote() << "Non speaking is " + fields[studyingKey + n];
        }
    }
}

QDomElement Courier::buildRegisterBody(QDomDocument& document, QHash<QString, QString> fields)
{
    QDomElement request = document.createElement(QStringLiteral("register"));
    QDomElement general = document.createElement(QStringLiteral("general"));
    general.appendChild(credentialElement(document, QStringLiteral("username"), fields[QStringLiteral("Username")]));
    general.appendChild(credentialElement(document, QStringLiteral("password"), fields[QStringLiteral("Password")]));
    general.appendChild(appendTextElement(document, QStringLiteral("given"), fields[QStringLiteral("FirstName")], true));
    general.appendChild(appendTextElement(document, QStringLiteral("family"), fields[QStringLiteral("LastName")], true));
    general.appendChild(appendTextElement(document, QStringLiteral("email"), fields[QStringLiteral("Email")], true));
    general.appendChild(appendTextElement(document, QStringLiteral("countryID"),
                                          mCountries ? mCountries->idOf(fields[QStringLiteral("Country")]) : QString(),
                                          false));
    general.appendChild(appendTextElement(document, QStringLiteral("provState"), fields[QStringLiteral("StateProv")], true));
    general.appendChild(appendTextElement(document, QStringLiteral("passwordQuestion"),
                                          fields[QStringLiteral("passwordQuestion")], true));
    general.appendChild(appendTextElement(document, QStringLiteral("passwordAnswer"),
                                          fields[QStringLiteral("passwordAnswer")], true));
    request.appendChild(general);
    appendFluencies(document, request, fields, QStringLiteral("FNonSpeaking"), false);
    return request;
}

QDomElement Courier::buildLoginBody(QDomDocument& document, QString username, QString password)
{
    QDomElement request = document.createElement(QStringLiteral("login"));
    request.appendChild(credentialElement(document, QStringLiteral("username"), username));
    request.appendChild(credentialElement(document, QStringLiteral("password"), password));
    return request;
}

QDomElement Courier::buildPasswordReminderBody(QDomDocument& document, QString username)
{
    QDomElement request = document.createElement(QStringLiteral("passwordReminder"));
    request.appendChild(credentialElement(document, QStringLiteral("username"), username));
    return request;
}

QDomElement Courier::buildUpdateFluencyBody(QDomDocument& document, QHash<QString, QString> fields)
{
    QDomElement request = document.createElement(QStringLiteral("updateFluency"));
    QDomElement general = document.createElement(QStringLiteral("general"));
    general.appendChild(credentialElement(document, QStringLiteral("username"), fields[QStringLiteral("Username")]));
    general.appendChild(credentialElement(document, QStringLiteral("password"), fields[QStringLiteral("Password")]));
    request.appendChild(general);
    appendFluencies(document, request, fields, QStringLiteral("FIsStudying"), true);
    return request;
}

QDomElement Courier::buildFeedbackBody(QDomDocument& document, QString comment, QString type)
{
    QDomElement request = document.createElement(QStringLiteral("feedback"));
    request.setAttribute(QStringLiteral("type"), type);
    request.appendChild(appendTextElement(document, QStringLiteral("comment"), comment, true));
    return request;
}

namespace {

struct QueryElement
{
    const char* element;
    const char* key;
    bool cdata;
};

// Shared tail of both query bodies.
const QueryElement kQueryElements[] = {
    {"query_langID", "LanguageID", false},
    {"results_langID", "ResultsLanguageID", false},
    {"results_voice", "ResultsVoice", true},
    {"results_speakingSpeedID", "ResultsSpeakingSpeedID", false},
    {"results_countryLangID", "ResultsCountryLangID", true},
    {"results_stateProv", "ResultsStateProv", true},
    {"results_locality", "ResultsLocality", true},
    {"results_localeDescriptor", "ResultsLocaleDescriptor", true},
    {"results_fluencyLevelID", "ResultsFluencyLevelID", false},
    {"results_learnerLevelID", "ResultsLearnerLevelID", false},
    {"max_results", "MaxResults", false},
    {"page_num", "PageNum", false},
};

} // namespace

QDomElement Courier::buildExerciseQueryBody(QDomDocument& document, QHash<QString, QString> criteria)
{
    qDebug().noquote() << "Term is |" + criteria[QStringLiteral("Term")] + "|.";
    QDomElement request = document.createElement(QStringLiteral("exerciseQuery"));
    request.appendChild(appendVerbatimElement(document, QStringLiteral("term"), criteria[QStringLiteral("Term")], true, true));
    for (const QueryElement& item : kQueryElements)
        request.appendChild(appendTextElement(document, QLatin1String(item.element),
                                              criteria[QLatin1String(item.key)], item.cdata));
    return request;
}

QDomElement Courier::buildLessonQueryBody(QDomDocument& document, QHash<QString, QString> criteria)
{
    QDomElement request = document.createElement(QStringLiteral("lessonQuery"));
    request.appendChild(appendTextElement(document, QStringLiteral("title"), criteria[QStringLiteral("Title")], true));
    request.appendChild(
        appendTextElement(document, QStringLiteral("description"), criteria[QStringLiteral("Description")], true));
    for (const QueryElement& item : kQueryElements)
        request.appendChild(appendTextElement(document, QLatin1String(item.element),
                                              criteria[QLatin1String(item.key)], item.cdata));
    return request;
}

QString Courier::createFullMessageXml(QString manifestXml, QString kind)
{
    QDomDocument document = newMessage(kind);
    QDomElement request = document.createElement(kind);
    QDomDocument manifest;
    if (manifest.setContent(manifestXml.toUtf8()))
        request.appendChild(document.importNode(manifest.documentElement(), true));
    finishMessage(document, request);
    const QString text = declared(document);
    qDebug().noquote() << text;
    return text;
}

QString Courier::exchange(const QString& text, bool* isNull)
{
    awaitStart();
    if (!mBridge) {
        *isNull = true;
        return QString();
    }
    return mBridge->text("sendMessage", text, isNull);
}

XmlPathMap Courier::send(const QDomDocument& document)
{
    bool isNull = false;
    return XmlPathMap(exchange(declared(document), &isNull), QStringLiteral("doc"));
}

// ---------------------------------------------------------------- accounts

int Courier::registerAccount(QHash<QString, QString> fields)
{
    awaitStart();
    if (mNetStarted <= 0 || mMessaging <= 0)
        return 0;
    if (!isCredential(fields.value(QStringLiteral("Username"))) || !isCredential(fields.value(QStringLiteral("Password"))))
        return 0;
    QDomDocument document = newMessage(QStringLiteral("register"));
    finishMessage(document, buildRegisterBody(document, fields));
    const XmlPathMap reply = send(document);
    const int status = reply.intValueOf(QStringLiteral("header.status"));
    qDebug().noquote() << QString::asprintf("mReturnValue is %i\n\n", status);
    if (status == 1)
        return 1;
    if (status == -1) {
        qDebug().noquote() << "Username already taken.";
        return -1;
    }
    if (status == TooManyRequests) {
        qDebug().noquote() << "Too many registrations from this computer.";
        return TooManyRequests;
    }
    qDebug().noquote() << "Network is down.";
    qDebug().noquote() << "ERROR: " + reply.valueOf(QStringLiteral("body.registerReply.error_description"));
    mMessaging = 0;
    return status;
}

int Courier::loginUser(QString username, QString password, int offline)
{
    if (username.isEmpty() || password.isEmpty())
        return 2;
    // Outside the registration characters no account can match.
    if (!isCredential(username) || !isCredential(password))
        return 2;
    if (mUserResource)
        mUserResource->clearCurrentUser();

    auto finish = [](int result) {
        qDebug().noquote() << QStringLiteral("Courier::loginUser.mResult=%1").arg(result);
        return result;
    };

    if (offline != 0) {
        ZoUser* match = storedUser(username, password);
        // Names are one account in any letter case: the stored copy holds the registered spelling.
        const QString registered = match ? QString() : registeredSpelling(username);
        if (!registered.isEmpty() && registered != username)
            match = storedUser(registered, password);
        if (!match)
            return finish(2);
        // Offline: the network's start, still running or not, is not waited for.
        stopNetwork();
        if (mUserResource)
            mUserResource->setCurrentUser(match);
        else
            delete match;
        mOfflineLogin = offline;
        return finish(1);
    }
    awaitStart();

    if (mNetStarted <= 0 || mMessaging <= 0) {
        mMessaging = 0;
        return finish(3);
    }

    QDomDocument document = newMessage(QStringLiteral("login"));
    finishMessage(document, buildLoginBody(document, username, password));
    qDebug().noquote() << "Sending Message...";
    bool isNull = false;
    const QString answer = exchange(declared(document), &isNull);
    if (answer.isEmpty()) {
        qDebug().noquote() << "Login Reply is NULL";
        mMessaging = 0;
        return 3;
    }
    XmlPathMap reply(answer, QStringLiteral("doc"));
    const QString status = reply.valueOf(QStringLiteral("header.status"));
    if (status == QLatin1String("1") || status == QLatin1String("0")) {
        // Only the user whose name was sent signs in, under the spelling it was registered with.
        const QString registered = reply.valueOf(QStringLiteral("body.loginreply.user.general.username"));
        if (registered.compare(username, Qt::CaseInsensitive) != 0 || !isCredential(registered)) {
            qDebug().noquote() << "ERROR: the sign-in reply names another user: " + registered;
            return finish(3);
        }
        ZoUser* user = nullptr;
        if (store()) {
            const QString uid = ZoDbHelper().userIdOf(registered);
            qDebug().noquote() << "uid obtained";
            qDebug().noquote() << "uid is " + uid;
            const QHash<QString, QString> fields = userFromLoginReply(reply);
            user = replaceStoredUser(uid, registered, fields);
        }
        if (!user)
            return finish(LoginNotStored);
        if (mUserResource)
            mUserResource->setCurrentUser(user);
        else
            delete user;
        mOfflineLogin = 0;
        mOnlineSession = true;
        const int result = status.toInt();
        qDebug().noquote() << QString::asprintf("login status is %i", result);
        return finish(result);
    }
    qDebug().noquote() << "\nheader.status is " + status;
    qDebug().noquote() << "message: " + reply.valueOf(QStringLiteral("body.loginreply.error_description"));
    if (status == QLatin1String("-1"))
        return finish(2);
    if (status == QLatin1String("-2"))
        return finish(-2);
    if (status.toInt() == TooManyRequests)
        return finish(TooManyRequests);
    mMessaging = 0;
    return finish(3);
}

ZoUser* Courier::storedUser(const QString& username, const QString& password)
{
    if (!store())
        return nullptr;
    ZoUser* found = nullptr;
    QHash<QString, QString> criteria{{QStringLiteral("Username"), username}};
    if (!password.isNull())
        criteria.insert(QStringLiteral("Password"), password);
    const QList<ZoUser*> users = store()->select(QStringLiteral("User"), criteria);
    for (ZoUser* user : users) {
        if (!found && user->username() == username && (password.isNull() || user->password() == password))
            found = user;
        else
            delete user;
    }
    return found;
}

QString Courier::registeredSpelling(const QString& username)
{
    // Names hold ASCII only, where SQLite's NOCASE folds every letter.
    QSqlQuery query(QSqlDatabase::database());
    query.prepare(QStringLiteral("SELECT unm FROM u WHERE unm = ? COLLATE NOCASE LIMIT 2"));
    query.addBindValue(username);
    if (!query.exec() || !query.next())
        return QString();
    const QString name = query.value(0).toString();
    // Two local copies differing in case name no single account.
    return query.next() ? QString() : name;
}

ZoUser* Courier::replaceStoredUser(const QString& uid, const QString& username, const QHash<QString, QString>& fields)
{
    // The store runs each write in a transaction of its own, so the earlier
    // copy is kept aside and written back when the new one cannot be stored.
    std::unique_ptr<ZoUser> previous(storedUser(username));
    if (uid != QLatin1String("-1"))
        store()->remove(QStringLiteral("User"), {uid});
    ZoUser* user = qobject_cast<ZoUser*>(store()->insert(QStringLiteral("User"), fields));
    if (!user && previous) {
        qDebug().noquote() << "storing the signed-in user failed; restoring the earlier copy";
        QHash<QString, QString> earlier = previous->toHash();
        for (int i = 1; earlier.contains(QStringLiteral("FIsStudying%1").arg(i)); ++i)
            earlier.insert(QStringLiteral("FNonSpeaking%1").arg(i), earlier.value(QStringLiteral("FIsStudying%1").arg(i)));
        delete store()->insert(QStringLiteral("User"), earlier);
    }
    return user ? user : storedUser(username);
}

QHash<QString, QString> Courier::userFromLoginReply(XmlPathMap& reply)
{
    ZoDbHelper helper;
    const QString user = QStringLiteral("body.loginreply.user.");
    auto general = [&](const char* path) { return reply.valueOf(user + QStringLiteral("general.") + QLatin1String(path)); };
    QHash<QString, QString> fields{
        {QStringLiteral("Id"), general("userid")},
        {QStringLiteral("Username"), general("username")},
        {QStringLiteral("Password"), general("password")},
        {QStringLiteral("FirstName"), general("given")},
        {QStringLiteral("LastName"), general("family")},
        {QStringLiteral("Email"), general("email")},
        {QStringLiteral("Country"), helper.countryName(general("countryid"))},
        {QStringLiteral("StateProv"), general("provstate")},
        {QStringLiteral("Locality"), general("locality")},
        {QStringLiteral("passwordQuestion"), general("passwordquestion")},
        {QStringLiteral("passwordAnswer"), general("passwordanswer")},
    };
    const QString fluency = user + QStringLiteral("fluency.");
    const int count = reply.occurrences(fluency + QStringLiteral("languageID"));
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i + 1);
        auto value = [&](const char* path) { return reply.valueOf(suffixed(fluency + QLatin1String(path), i, count)); };
        fields.insert(QStringLiteral("FLanguage") + n, helper.languageNameOrCode(value("languageID")));
        fields.insert(QStringLiteral("FLocaleDesc") + n, value("localeDescriptor"));
        fields.insert(QStringLiteral("FFluencyLevel") + n, helper.fluencyLevelName(value("fluencyID")));
        fields.insert(QStringLiteral("FCountry") + n, helper.countryName(value("countryID")));
        fields.insert(QStringLiteral("FStateProv") + n, value("provState"));
        fields.insert(QStringLiteral("FLocality") + n, value("locality"));
        fields.insert(QStringLiteral("FNonSpeaking") + n, value("nonSpeaking"));
    }
    return fields;
}

int Courier::passwordReminder(QString username)
{
    awaitStart();
    if (username.isEmpty() || mNetStarted <= 0 || mMessaging <= 0 || !isCredential(username))
        return 0;
    QDomDocument document = newMessage(QStringLiteral("passwordReminder"));
    finishMessage(document, buildPasswordReminderBody(document, username));
    const XmlPathMap reply = send(document);
    // The peer has no mail server to send reminders through.
    if (reply.valueOf(QStringLiteral("header.status")) == QLatin1String("-2")) {
        qDebug().noquote() << "ERROR: " + reply.valueOf(QStringLiteral("body.passwordReminderReply.error_description"));
        return ReminderNotAvailable;
    }
    if (reply.valueOf(QStringLiteral("header.status")) == QLatin1String("-4")) {
        qDebug().noquote() << "ERROR: " + reply.valueOf(QStringLiteral("body.passwordReminderReply.error_description"));
        return ReminderTooMany;
    }
    const int result = answerOf(reply, QStringLiteral("passwordReminderReply"), "password reminder", {1, -1, 0});
    if (result == 0)
        mMessaging = 0;
    return result;
}

int Courier::updateFluency(QString username, QString password, QHash<QString, QString> userProperties)
{
    awaitStart();
    Q_UNUSED(username)
    Q_UNUSED(password)
    // The network never gets a list the learner's own store does not hold.
    if (!store() || !store()->update(QStringLiteral("User"), userProperties.value(QStringLiteral("Id")), userProperties)) {
        qDebug().noquote() << "ERROR: the fluency change could not be stored locally.";
        return NotStoredLocally;
    }
    if (mOfflineLogin != 0 || mMessaging != 1) {
        qDebug().noquote() << "ERROR: network is down.";
        return -1;
    }
    if (!isCredential(userProperties.value(QStringLiteral("Username")))
        || !isCredential(userProperties.value(QStringLiteral("Password")))) {
        qDebug().noquote() << "ERROR: credentials outside the accepted characters";
        return 0;
    }
    QDomDocument document = newMessage(QStringLiteral("updateFluency"));
    finishMessage(document, buildUpdateFluencyBody(document, userProperties));
    const XmlPathMap reply = send(document);
    const int result = answerOf(reply, QStringLiteral("updatefluencyreply"), "fluency update", {1, 0, -1});
    if (result == -1)
        resetServiceFlags();
    return result;
}

int Courier::sendFeedback(QString comment, QString type)
{
    awaitStart();
    if (mMessaging <= 0 || comment.size() >= FeedbackLimit)
        return 0;
    QDomDocument document = newMessage(QStringLiteral("feedback"));
    finishMessage(document, buildFeedbackBody(document, comment, type));
    qDebug().noquote() << "Passing suggestion/bug to JNI";
    const XmlPathMap reply = send(document);
    qDebug().noquote() << "Recieved suggestion/bug reply from server";
    return answerOf(reply, QStringLiteral("feedbackreply"), "feedback", {1, 0, -1});
}

// ---------------------------------------------------------------- searches

ZoExercise Courier::exerciseFromMap(const XmlPathMap& map, ZoDbHelper& lookup, const QString& voicePath)
{
    auto v = [&](const char* path) { return map.valueOf(QLatin1String(path)); };
    return ZoExercise(QStringLiteral("0"), v("manifest.persistentmanifestid"), v("term.textual_manifest.manifestvalue"),
                      lookup.languageName(v("term.textual_manifest.langid")),
                      v("media.media_manifest.localedescriptor"), QStringLiteral("Content"),
                      v("media.media_manifest.mediamanifestfilename"),
                      lookup.countryName(v("media.media_manifest.countryid")),
                      v("media.media_manifest.fluencylevelid"), v("media.media_manifest.stateprov"),
                      v("media.media_manifest.locality"), map.valueOf(voicePath), QStringLiteral("0"),
                      v("term.manifest.persistentmanifestid"), QStringLiteral("0"),
                      v("media.manifest.persistentmanifestid"), QString(), v("manifest.suppliedbyusername"),
                      v("manifest.suppliedbyuserid"), v("media.manifest.suppliedbyuserid"));
}

QList<ZoExercise> Courier::queryExercises(QHash<QString, QString> criteria, int* status, int* totalResults)
{
    awaitStart();
    QList<ZoExercise> results;
    ZoDbHelper helper;
    QDomDocument message = newMessage(QStringLiteral("exerciseQuery"));
    finishMessage(message, buildExerciseQueryBody(message, criteria));
    const QString text = declared(message);
    qDebug().noquote() << text;
    qDebug().noquote() << "Sending Query";
    bool isNull = true;
    const QString answer = mBridge ? mBridge->text("sendQuery", text, &isNull) : QString();
    qDebug().noquote() << "Result of query received.";
    readQueryReply(answer, isNull, QStringLiteral("exerciseQueryReply"), QStringLiteral("exercise"), status, totalResults, [&](const QDomElement& element) {
        results.append(exerciseFromMap(ownMap(element), helper, QStringLiteral("media.manifest.suppliedbyusername")));
    });
    return results;
}

QList<ZoLesson> Courier::queryLessons(QHash<QString, QString> criteria, int* status, int* totalResults)
{
    awaitStart();
    QList<ZoLesson> results;
    bool tooLarge = false;
    QDomDocument message = newMessage(QStringLiteral("lessonQuery"));
    finishMessage(message, buildLessonQueryBody(message, criteria));
    qDebug().noquote() << "message:\n" + declared(message);
    bool isNull = true;
    const QString answer = mBridge ? mBridge->text("sendQuery", message.toString(1), &isNull) : QString();
    readQueryReply(answer, isNull, QStringLiteral("lessonQueryReply"), QStringLiteral("lesson"), status, totalResults, [&](const QDomElement& element) {
        const int members =
            int(XmlPathMap::childrenNamed(childNamed(element, QStringLiteral("exercises")), QStringLiteral("exercise")).size());
        if (tooLarge || members > ContentGate::MaxLessonMembers) {
            tooLarge = true;
            return;
        }
        const XmlPathMap map = ownMap(element);
        ZoLesson lesson;
        lesson.setPId(map.valueOf(QStringLiteral("manifest.persistentmanifestid")));
        lesson.setTitle(map.valueOf(QStringLiteral("textual_manifest.manifesttitle")));
        lesson.setDescription(map.valueOf(QStringLiteral("textual_manifest.manifestdescription")));
        lesson.setUsername(map.valueOf(QStringLiteral("manifest.suppliedbyusername")));
        lesson.setUserId(map.valueOf(QStringLiteral("manifest.suppliedbyuserid")));
        lesson.setLanguage(map.valueOf(QStringLiteral("textual_manifest.langid")));
        lesson.setLearnerLevel(map.valueOf(QStringLiteral("textual_manifest.learnerlevelid")));
        qDebug().noquote() << QString::asprintf("Lesson has %i exercises", members);
        const QString idPath = QStringLiteral("exercises.exercise.persistentmanifestid");
        bool consistent = true;
        if (members == 1) {
            lesson.addExercise(QString(), map.valueOf(idPath));
        } else {
            for (int m = 0; m < members; ++m) {
                const QString suffix = QStringLiteral("#%1").arg(m);
                bool isNumber = false;
                const int sequence =
                    map.valueOf(QStringLiteral("exercises.exercise.sequencenb") + suffix).toInt(&isNumber, 10);
                // Members are numbered from 1; anything else cannot be placed.
                consistent = consistent && isNumber && sequence >= 1 && sequence <= members;
                lesson.setPersistentExerciseId(sequence, map.valueOf(idPath + suffix));
            }
        }
        // Repeated numbers leave fewer members than elements.
        if (!consistent || members != lesson.persistentExerciseIds().size())
            return;
        lesson.dump();
        results.append(lesson);
    });
    // A lesson past the limit refuses the whole reply: nothing of it is used.
    if (tooLarge) {
        results.clear();
        if (status)
            *status = ReplyPastLimit;
        if (totalResults)
            *totalResults = 0;
    }
    return results;
}

ZoExercise Courier::exerciseFromXml(XmlPathMap map, ZoDbHelper* lookup)
{
    ZoDbHelper own;
    ZoDbHelper& helper = lookup ? *lookup : own;
    qDebug().noquote() << "Voice is " + map.valueOf(QStringLiteral("media.manifest.suppliedbyusername"));
    ZoExercise exercise = exerciseFromMap(map, helper, QStringLiteral("media.manifest.suppliedbyusername"));
    // Each kvp carries its tag in the kvpTypeID attribute.
    const QString typePath = QStringLiteral("kvps.kvp.kvptypeid");
    const int count = map.occurrences(typePath);
    qDebug().noquote() << QString::asprintf("Num kvps is %i", count);
    for (int j = 0; j < count; ++j) {
        const QString tag = helper.tagName(map.valueOf(suffixed(typePath, j, count)));
        if (tag.isEmpty()) {
            qDebug().noquote() << "unknown kvp type " + map.valueOf(suffixed(typePath, j, count));
            continue;
        }
        exercise.addField(tag, {{QStringLiteral("Value"), map.valueOf(suffixed(QStringLiteral("kvps.kvp.kvpvalue"), j, count))},
                                {QStringLiteral("Language"),
                                 helper.languageName(map.valueOf(suffixed(QStringLiteral("kvps.kvp.langid"), j, count)))}});
    }
    return exercise;
}

ZoLesson Courier::lessonFromXml(XmlPathMap map, ZoDbHelper* lookup)
{
    Q_UNUSED(lookup)
    const QHash<QString, QString> table = replyElement(map, QStringLiteral("body.uploadlesson.lesson"));
    // The lesson claims its number of members: it must be the number it holds.
    const QString member = QStringLiteral("exercises.exercise.persistentmanifestid");
    int held = 0;
    if (table.contains(member))
        held = 1;
    else
        while (held <= ContentGate::MaxLessonMembers && table.contains(member + QStringLiteral("#%1").arg(held)))
            ++held;
    bool isNumber = false;
    const int claimed = table.value(QStringLiteral("numchildren"), QStringLiteral("0")).toInt(&isNumber);
    if (!isNumber || claimed != held || held > ContentGate::MaxLessonMembers) {
        qDebug().noquote() << QStringLiteral("refused lesson: it claims %1 exercises and holds %2")
                                  .arg(table.value(QStringLiteral("numchildren")))
                                  .arg(held);
        return ZoLesson();
    }
    return ZoLesson(table, true);
}

ZoTranslation Courier::translationFromXml(XmlPathMap map, ZoDbHelper* lookup)
{
    Q_UNUSED(lookup)
    return ZoTranslation(replyElement(map, QStringLiteral("body.translation")));
}

QString Courier::parseTranslationXml(QString xml, ZoDbHelper* lookup, QList<ZoTranslation>* translations,
                                     QList<ZoExercise>* exercises)
{
    QDomDocument document;
    if (!parseReply(xml, &document))
        return QStringLiteral("setContent failed");
    const QDomElement root = document.documentElement();
    const QDomElement reply = elementAt(root, {QStringLiteral("body"), QStringLiteral("downloadTranslation")});
    if (textAt(root, {QStringLiteral("header"), QStringLiteral("status")}) == QLatin1String("-1")) {
        qDebug().noquote() << textAt(elementAt(root, {QStringLiteral("body")}).firstChildElement(),
                                     {QStringLiteral("error_description")});
        return QStringLiteral("ExerciseHasNoTranslations");
    }
    ZoDbHelper own;
    ZoDbHelper& helper = lookup ? *lookup : own;
    QList<ZoExercise> foundExercises;
    for (const QDomElement& element : XmlPathMap::childrenNamed(reply, QStringLiteral("exercise"))) {
        qDebug().noquote() << "PARENT==> " + element.parentNode().nodeName();
        foundExercises.append(exerciseFromMap(ownMap(element), helper, QStringLiteral("media.media_manifest.voice")));
        qDebug().noquote() << "Exercise has term " + foundExercises.last().term();
        qDebug().noquote() << QString::asprintf("\n\nreturnExerciseList size is %i\n\n", int(foundExercises.size()));
    }
    // A translation goes out with the exercise it names, each exercise at most once;
    // a translation naming none of the reply's exercises is dropped.
    QList<bool> used(foundExercises.size(), false);
    for (const QDomElement& element : XmlPathMap::childrenNamed(reply, QStringLiteral("translation"))) {
        const ZoTranslation translation(ownMap(element).entries());
        const QStringList named = translation.persistentExerciseIds();
        qsizetype match = -1;
        for (qsizetype i = 0; i < foundExercises.size() && match < 0; ++i) {
            const QString id = foundExercises.at(i).pId();
            if (!used.at(i) && !id.isEmpty() && named.contains(id))
                match = i;
        }
        if (match < 0) {
            qDebug().noquote() << "translation " + translation.pId() + " names no exercise of the reply";
            continue;
        }
        used[match] = true;
        if (exercises)
            exercises->append(foundExercises.at(match));
        if (translations)
            translations->append(translation);
    }
    return QStringLiteral("OK");
}

// ---------------------------------------------------------------- uploads

int Courier::uploadFiles(QString xml, QStringList files)
{
    awaitStart();
    if (mNetStarted <= 0 || mUpload <= 0 || !mBridge)
        return -1;
    return mBridge->upload(xml, files, -1);
}

bool Courier::awaitUploadReply(int handle, int pollMs, int limitMs, qint64 startedAt, XmlPathMap* reply)
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
    *reply = XmlPathMap(mBridge->text("getUploadReply", handle), QStringLiteral("doc"));
    qDebug().noquote() << "Reply:\n" + reply->dump() + "\n";
    return true;
}

QHash<QString, QString> Courier::uploadManifest(QString localManifestId, QString kind)
{
    awaitStart();
    QString document;
    QString bridgeKind;
    QString replyName;
    if (kind == QLatin1String("uploadLesson")) {
        document = ZoLesson::manifestXml(localManifestId);
        bridgeKind = QStringLiteral("lesson");
        replyName = QStringLiteral("uploadLessonReply");
    } else if (kind == QLatin1String("uploadTranslation")) {
        document = ZoTranslation::manifestXml(localManifestId);
        bridgeKind = QStringLiteral("translation");
        replyName = QStringLiteral("uploadTranslationReply");
    } else {
        return {{QStringLiteral("Error"), QStringLiteral("Invalid manifest type given: ") + kind}};
    }
    const QString message = createFullMessageXml(document, kind);
    const int handle = mBridge ? mBridge->call("uploadManifest", message, bridgeKind, -1) : -1;
    XmlPathMap reply;
    if (!awaitUploadReply(handle, 100, 10000, 0, &reply))
        return timedOut();
    if (reply.valueOf(QStringLiteral("header.status")) == QLatin1String("1"))
        return {{QStringLiteral("PId"),
                 reply.valueOf(QStringLiteral("body.") + replyName + QLatin1Char('.') + bridgeKind
                               + QStringLiteral(".persistentmanifestid"))}};
    QString error = reply.valueOf(QStringLiteral("body.") + replyName + QStringLiteral(".error_description"));
    if (error.isEmpty())
        error = reply.valueOf(QStringLiteral("body.uploadExerciseReply.error_description"));
    return {{QStringLiteral("Error"), error}};
}

QHash<QString, QString> Courier::uploadExercise(QString exerciseId, QString soundFile)
{
    awaitStart();
    std::unique_ptr<ZoExercise> exercise(store() ? store()->getExercise(QStringLiteral("Exercise"), exerciseId)
                                                    : nullptr);
    if (!exercise)
        return {{QStringLiteral("Error"), QStringLiteral("No stored exercise with id ") + exerciseId}};
    const QString message = createFullMessageXml(exercise->manifestXml(), QStringLiteral("uploadExercise"));
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
    XmlPathMap reply;
    if (!awaitUploadReply(handle, 200, 20000, timer.elapsed(), &reply))
        return timedOut();
    if (reply.valueOf(QStringLiteral("header.status")) != QLatin1String("1"))
        return {{QStringLiteral("Error"), reply.valueOf(QStringLiteral("body.uploadExerciseReply.error_description"))}};
    QHash<QString, QString> result{
        {QStringLiteral("PId"), reply.valueOf(QStringLiteral("body.uploadExerciseReply.exercise.persistentmanifestid"))},
        {QStringLiteral("PersistentTermId"),
         reply.valueOf(QStringLiteral("body.uploadExerciseReply.term.persistentmanifestid"))}};
    if (!soundFile.isEmpty())
        result.insert(QStringLiteral("PersistentMediaId"),
                      reply.valueOf(QStringLiteral("body.uploadExerciseReply.media.persistentmanifestid")));
    return result;
}
