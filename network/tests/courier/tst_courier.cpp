#include "ContentGate.h"
#include "FakeBridge.h"
#include "FakePeerReplies.h"
#include "HostAddresses.h"
#include "IDbManager.h"
#include "INetManager.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "ProductInfo.h"
#include "SettingsStore.h"
#include "StdoutCapture.h"
#include "TestDatabase.h"
#include "TestTree.h"
#include "XmlPathMap.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoTranslation.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QDomDocument>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using Table = QHash<QString, QString>;
using namespace FakePeerReplies;

namespace {

const QString kNull; // a null reply of the bridge

QString loginReply(const QString& status, const QString& userId, int fluencies,
                   const QString& username = QStringLiteral("anna_b"))
{
    static const char* const languages[] = {"fra", "eng", "deu"};
    QString fluencyText;
    for (int i = 0; i < fluencies; ++i)
        fluencyText += QStringLiteral("<fluency><languageID>%1</languageID><localeDescriptor>d%2</localeDescriptor>"
                                      "<fluencyID>%3</fluencyID><countryID>FR</countryID><provState>p%2</provState>"
                                      "<locality>l%2</locality><nonSpeaking>%4</nonSpeaking></fluency>")
                           .arg(QLatin1String(languages[i % 3]), QString::number(i), QString::number(i % 3 + 1),
                                QString::number(i % 2));
    return QStringLiteral("<message><header><status>%1</status></header><body><loginReply><user><general>"
                          "<userID>%2</userID><username>%4</username><password>newpass1</password>"
                          "<given>Anna</given><family>Berg</family><email>a@b.cd</email><countryID>FR</countryID>"
                          "<provState>IDF</provState><locality>Paris</locality></general>%3</user>"
                          "<error_description/></loginReply></body></message>")
        .arg(status, userId, fluencyText, username);
}

// The element at a path such as "register/fluency[1]/languageID" below body.
QDomElement elementAt(const QDomElement& body, const QString& path)
{
    QDomElement current = body;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        static const QRegularExpression indexed(QStringLiteral("^(.*)\\[(\\d+)\\]$"));
        const QRegularExpressionMatch match = indexed.match(part);
        const QString name = match.hasMatch() ? match.captured(1) : part;
        int index = match.hasMatch() ? match.captured(2).toInt() : 0;
        QDomElement child = current.firstChildElement(name);
        while (index-- > 0 && !child.isNull())
            child = child.nextSiblingElement(name);
        current = child;
    }
    return current;
}

QStringList childNames(const QDomElement& element)
{
    QStringList names;
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        names << e.tagName();
    return names;
}

} // namespace

class TestCourier : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void startNetwork_data();
    void startNetwork();
    void constructionStartsNetwork();
    void offlineSignInDuringStart_data();
    void offlineSignInDuringStart();
    void bridgeMissing();
    void networkReady_data();
    void networkReady();
    void resetKeepsOfflineFlag();
    void downloadWrappers_data();
    void downloadWrappers();
    void translationXmlWithoutDocumentIsNull();
    void getMyIpsNamesHost_data();
    void getMyIpsNamesHost();

    void requestBody_data();
    void requestBody();
    void replyStatus_data();
    void replyStatus();
    void notSent_data();
    void notSent();

    void onlineLoginStoresUser_data();
    void onlineLoginStoresUser();
    void onlineLoginLeavesOtherAccounts();
    void onlineLoginWithoutStoredCopy_data();
    void onlineLoginWithoutStoredCopy();
    void offlineLogin_data();
    void offlineLogin();
    void loginReplyForAnotherUser_data();
    void loginReplyForAnotherUser();
    void loginInOtherCaseTakesRegisteredSpelling();
    void stopNetworkEndsOnlineSession();
    void updateFluencyStoresLocallyFirst();
    void unknownLanguageKeepsEveryFluency_data();
    void unknownLanguageKeepsEveryFluency();
    void fluencyNotStoredIsNotSent();

    void queryExercisesStatus_data();
    void queryExercisesStatus();
    void queryExercisesFields();
    void queryLessonsDropsInconsistentLessons();
    void exerciseFromXmlTags_data();
    void exerciseFromXmlTags();
    void lessonFromXml_data();
    void lessonFromXml();
    void lessonFromXmlRefusesFalseCount_data();
    void lessonFromXmlRefusesFalseCount();
    void translationFromXml();
    void parseTranslationXml_data();
    void parseTranslationXml();
    void resultsOutliveManager();

    void uploads_data();
    void uploads();
    void uploadRetriesUntilHandle();
    void uploadTimesOut_data();
    void uploadTimesOut();

private:
    INetManager* loadManager();
    QString storeExercise(const QString& term);
    void storeUser(const QString& uid, const QString& name, const QString& password);
    ZoUser* storedUser(const QString& name);
    QDomDocument lastSent(const QString& exportName);
    QVariant runOperation(const QString& operation, const Table& input);

    TestTree* mTree = nullptr;
    FakeBridge mBridge;
    INetManager* mNet = nullptr;
    IDbManager* mDb = nullptr;
    IUserResource* mUsers = nullptr;
};

void TestCourier::initTestCase()
{
    mTree = new TestTree(TestTree::NoPlugins);
    QVERIFY(mTree->isValid());
    for (const char* kind : {"Language", "Country", "FluencyLevel", "LearnerLevel", "Tag"})
        QVERIFY(mTree->addPlugin(QStringLiteral("courier/CourierTest%1Resource.so").arg(QLatin1String(kind)),
                                 QStringLiteral("Resources"),
                                 QStringLiteral("Zo%1Resource.so").arg(QLatin1String(kind))));
    const QString dist = TestTree::distPath() + QStringLiteral("/Plugins_dll/");
    QVERIFY(mTree->addPlugin(dist + QStringLiteral("Resources/ZoUserResource.so"), QStringLiteral("Resources")));
    QVERIFY(mTree->addPlugin(dist + QStringLiteral("Managers/Storekeeper.so"), QStringLiteral("Managers")));
    QVERIFY(mTree->addPlugin(dist + QStringLiteral("Managers/Courier.so"), QStringLiteral("Managers")));
    QVERIFY(TestDatabase::createFile(mTree->filePath(QStringLiteral("vireda.db"))));
    mTree->enter();
    SettingsStore::configure();
    QSettings settings;
    settings.setValue(QStringLiteral("network/localips"), QStringLiteral("pc1,10.0.0.5"));
    settings.setValue(QStringLiteral("xml/version"), QStringLiteral("1.3"));
    settings.setValue(QStringLiteral("software/internal_version"), QString::fromLatin1(ProductInfo::InternalVersion));
    settings.setValue(QStringLiteral("database/version"), QStringLiteral("2"));

    qputenv("VIREDA_JAVABRIDGE", QFile::encodeName(FakeBridge::fileName()));
    QVERIFY(mBridge.load());
    mBridge.reset();
    mDb = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    QVERIFY(mDb);
    mUsers = PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    QVERIFY(mUsers);
    mNet = loadManager();
    QVERIFY(mNet);
}

INetManager* TestCourier::loadManager()
{
    return PluginLocator::load<INetManager>(QStringLiteral("plugins_dll/Managers/Courier.dll"));
}

void TestCourier::init()
{
    QSqlQuery clear(QSqlDatabase::database());
    QVERIFY(clear.exec(QStringLiteral("DELETE FROM u")) && clear.exec(QStringLiteral("DELETE FROM uf")));
    mUsers->clearCurrentUser();
    // The flags wait for a start still running, so the log is cleared after it.
    mNet->setNetworkStarted(1);
    mNet->setMessagingServiceStarted(1);
    mNet->setQueryServiceStarted(1);
    mNet->setDownloadServiceStarted(1);
    mNet->setUploadServiceStarted(1);
    mNet->setOfflineLogin(0);
    // No test inherits the session of an earlier sign-in.
    mNet->stopNetwork();
    mBridge.reset();
}

void TestCourier::cleanupTestCase()
{
    delete mNet;
    mUsers->clearCurrentUser();
    // The store closes its connection while the SQL module is still alive.
    delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    mTree->restore();
    delete mTree;
    mTree = nullptr;
}

QDomDocument TestCourier::lastSent(const QString& exportName)
{
    QDomDocument document;
    const QStringList args = mBridge.lastArgs(exportName);
    if (!args.isEmpty())
        document.setContent(args.first());
    return document;
}

QString TestCourier::storeExercise(const QString& term)
{
    std::unique_ptr<QObject> created(
        mDb->create(QStringLiteral("Exercise"), {{QStringLiteral("Term"), term},
                                                 {QStringLiteral("Language"), QStringLiteral("French")},
                                                 {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                                 {QStringLiteral("MediaName"), term + QStringLiteral(".ogg")},
                                                 {QStringLiteral("Creator"), QStringLiteral("anna_b")}}));
    auto* exercise = qobject_cast<ZoExercise*>(created.get());
    if (!exercise || mDb->insertExercise(QStringLiteral("Exercise"), exercise) != 1)
        return QString();
    const QList<Table> rows = mDb->search(QStringLiteral("Exercise"), {{QStringLiteral("Term"), term}});
    return rows.isEmpty() ? QString() : rows.first().value(QStringLiteral("Id"));
}

void TestCourier::storeUser(const QString& uid, const QString& name, const QString& password)
{
    delete mDb->insert(QStringLiteral("User"), {{QStringLiteral("Id"), uid},
                                                {QStringLiteral("Username"), name},
                                                {QStringLiteral("Password"), password},
                                                {QStringLiteral("Country"), QStringLiteral("France")}});
}

ZoUser* TestCourier::storedUser(const QString& name)
{
    const QList<ZoUser*> users = mDb->select(QStringLiteral("User"), {{QStringLiteral("Username"), name}});
    ZoUser* found = nullptr;
    for (ZoUser* user : users) {
        if (!found && user->username() == name)
            found = user;
        else
            delete user;
    }
    return found;
}

// ------------------------------------------------------------------ start-up and flags

void TestCourier::startNetwork_data()
{
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("started");

    const QStringList all{"init()",
                          "startViredaNet()",
                          "startMessagingService()",
                          "startQueryService()",
                          "startDownloadService()",
                          "startUploadService()"};
    QTest::newRow("all up") << QStringList{"1", "1", "1", "1", "1", "1"} << all
                            << QStringList{"ViredaNet successful", "Messaging Service successful",
                                           "Query Service successful", "Download Service successful",
                                           "Upload Service successful"}
                            << "11111";
    QTest::newRow("init fails") << QStringList{"0"} << all.mid(0, 1) << QStringList() << "00000";
    QTest::newRow("peer network down") << QStringList{"1", "0"} << all.mid(0, 2)
                                       << QStringList{"ViredaNet not successful"} << "00000";
    QTest::newRow("pinned certificate refused")
        << QStringList{"1", "-6"} << all.mid(0, 2)
        << QStringList{"ViredaNet not successful: the peer's certificate does not match the one named in "
                       "vireda-peer.properties (peer.certificate)"}
        << "00000";
    QTest::newRow("query method missing")
        << QStringList{"1", "1", "1", "-999", "1", "1"} << all
        << QStringList{"ViredaNet successful", "Messaging Service successful", "Query Service  not successful",
                       "Download Service successful", "Upload Service successful"}
        << "11011";
    QTest::newRow("services above one") << QStringList{"1", "3", "2", "1", "7", "1"} << all
                                        << QStringList{"ViredaNet successful", "Messaging Service successful",
                                                       "Query Service successful", "Download Service successful",
                                                       "Upload Service successful"}
                                        << "11111";
}

void TestCourier::startNetwork()
{
    QFETCH(QStringList, replies);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, lines);
    QFETCH(QString, started);
    static const char* const exports[] = {"init",
                                          "startViredaNet",
                                          "startMessagingService",
                                          "startQueryService",
                                          "startDownloadService",
                                          "startUploadService"};
    for (int i = 0; i < replies.size(); ++i)
        mBridge.queue(QLatin1String(exports[i]), replies.at(i));
    mNet->resetServiceFlags();

    StdoutCapture capture;
    mNet->startNetwork();
    QStringList printed;
    // The test logger writes debug lines to standard output too.
    for (const QString& line : QString::fromUtf8(capture.text()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (!line.startsWith(QLatin1String("QDEBUG")))
            printed << line;
    }

    QCOMPARE(mBridge.callSummary(), calls);
    QCOMPARE(printed, lines);
    const QString flags = QString::number(mNet->isNetworkStarted()) + QString::number(mNet->isMessagingServiceStarted())
                          + QString::number(mNet->isQueryServiceStarted())
                          + QString::number(mNet->isDownloadServiceStarted())
                          + QString::number(mNet->isUploadServiceStarted());
    QCOMPARE(flags, started);
    QCOMPARE(mNet->isNetworkReady(), started == QLatin1String("11111"));
    QCOMPARE(mNet->networkFailure(), replies.value(1) == QLatin1String("-6") ? INetManager::PeerCertificateRefused : 0);
}

void TestCourier::constructionStartsNetwork()
{
    delete mNet;
    mBridge.reset();
    mNet = loadManager();
    QVERIFY(mNet);
    // The start runs in the background; asking for the network waits for it.
    QVERIFY(mNet->isNetworkReady());
    QCOMPARE(mBridge.callSummary(),
             (QStringList{"init()", "startViredaNet()", "startMessagingService()", "startQueryService()",
                          "startDownloadService()", "startUploadService()", "detachThread()"}));
}

void TestCourier::offlineSignInDuringStart_data()
{
    QTest::addColumn<QString>("heldExport");
    QTest::newRow("virtual machine starting") << QStringLiteral("init");
    QTest::newRow("peer network starting") << QStringLiteral("startViredaNet");
}

void TestCourier::offlineSignInDuringStart()
{
    QFETCH(QString, heldExport);
    storeUser(QStringLiteral("u7"), QStringLiteral("offline_o"), QStringLiteral("secret7"));
    delete mNet;
    mBridge.reset();
    mBridge.hold(heldExport);
    mNet = loadManager();
    QVERIFY(mNet);

    // Lets the start go once the sign-in returned, or after a minute when it
    // waited for the start (then the sign-in returns late, and the test fails).
    std::mutex mutex;
    std::condition_variable returned;
    bool signedIn = false;
    bool released = false;
    std::thread releaser([&] {
        std::unique_lock<std::mutex> lock(mutex);
        returned.wait_for(lock, std::chrono::minutes(1), [&] { return signedIn; });
        released = true;
        mBridge.release();
    });
    const int result = mNet->loginUser(QStringLiteral("offline_o"), QStringLiteral("secret7"), 1);
    bool startHeld = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        startHeld = !released;
        signedIn = true;
    }
    returned.notify_all();
    releaser.join();

    QVERIFY2(startHeld, "the offline sign-in waited for the network's start");
    QCOMPARE(result, 1);
    QCOMPARE(mNet->isOfflineLogin(), 1);
    // Asking for the network afterwards waits for the start and finds it up.
    QVERIFY(mNet->isNetworkReady());
}

void TestCourier::bridgeMissing()
{
    delete mNet;
    mBridge.reset();
    qputenv("VIREDA_JAVABRIDGE", QFile::encodeName(mTree->filePath(QStringLiteral("no-such-bridge.so"))));
    mNet = loadManager();
    QVERIFY(mNet);
    const bool ready = mNet->isNetworkReady();
    qputenv("VIREDA_JAVABRIDGE", QFile::encodeName(FakeBridge::fileName()));
    const bool started = mNet->isNetworkStarted() || mNet->isMessagingServiceStarted() || mNet->isQueryServiceStarted()
                         || mNet->isDownloadServiceStarted() || mNet->isUploadServiceStarted();
    const int download = mNet->downloadExercise(QStringLiteral("E-1"));
    const int cancel = mNet->cancelDownload(3);
    const QString xml = mNet->getDownloadXml(3);
    const int login = mNet->loginUser(QStringLiteral("anna_b"), QStringLiteral("secret1"), 0);
    // Flags forced up still reach no bridge.
    init();
    const int feedback = mNet->sendFeedback(QStringLiteral("hello"), QStringLiteral("1"));
    const int forcedLogin = mNet->loginUser(QStringLiteral("anna_b"), QStringLiteral("secret1"), 0);
    const int bridgeCalls = int(mBridge.calls().size());

    delete mNet;
    mNet = loadManager();
    QVERIFY(mNet && mNet->isNetworkReady());

    QVERIFY(!ready);
    QVERIFY(!started);
    QCOMPARE(download, -1);
    QCOMPARE(cancel, -1);
    QVERIFY(xml.isEmpty());
    QCOMPARE(login, 3);
    QCOMPARE(feedback, -1);
    QCOMPARE(forcedLogin, 3);
    QCOMPARE(bridgeCalls, 0);
}

void TestCourier::networkReady_data()
{
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<bool>("ready");
    QTest::newRow("all one") << QList<int>{1, 1, 1, 1, 1} << true;
    QTest::newRow("all above one") << QList<int>{2, 5, 1, 9, 3} << true;
    QTest::newRow("download zero") << QList<int>{1, 1, 1, 0, 1} << false;
    QTest::newRow("method missing") << QList<int>{1, -999, 1, 1, 1} << false;
    QTest::newRow("failed start") << QList<int>{-1, 1, 1, 1, 1} << false;
}

void TestCourier::networkReady()
{
    QFETCH(QList<int>, values);
    QFETCH(bool, ready);
    mNet->setNetworkStarted(values.at(0));
    mNet->setMessagingServiceStarted(values.at(1));
    mNet->setQueryServiceStarted(values.at(2));
    mNet->setDownloadServiceStarted(values.at(3));
    mNet->setUploadServiceStarted(values.at(4));
    QCOMPARE(mNet->isNetworkReady(), ready);
}

void TestCourier::resetKeepsOfflineFlag()
{
    mNet->setOfflineLogin(2);
    QCOMPARE(mNet->resetServiceFlags(), 0);
    QCOMPARE(mNet->isOfflineLogin(), 2);
    QVERIFY(!mNet->isNetworkStarted() && !mNet->isMessagingServiceStarted() && !mNet->isQueryServiceStarted()
            && !mNet->isDownloadServiceStarted() && !mNet->isUploadServiceStarted());
}

void TestCourier::downloadWrappers_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("downloadService");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("download exercise") << "downloadExercise"
                                       << "E-1"
                                       << "" << 1 << "3" << QStringList{"downloadExercise(E-1)"};
    QTest::newRow("download exercise, service down") << "downloadExercise"
                                                     << "E-1"
                                                     << "" << 0 << "-1" << QStringList();
    QTest::newRow("cancel") << "cancelDownload"
                            << "3"
                            << "" << 1 << "1" << QStringList{"cancelDownload(3)"};
    // Given up after the program went offline: the client must still stop it.
    QTest::newRow("cancel, service down") << "cancelDownload"
                                          << "3"
                                          << "" << -999 << "1" << QStringList{"cancelDownload(3)"};
    QTest::newRow("manifest, no guard") << "downloadManifest"
                                        << "L-2"
                                        << "lesson" << 0 << "4" << QStringList{"downloadManifest(L-2,lesson)"};
    QTest::newRow("status of an exercise") << "getDownloadStatus"
                                           << "3"
                                           << "exercise" << 1 << "100" << QStringList{"getDownloadStatus(3)"};
    QTest::newRow("status, capital E") << "getDownloadStatus"
                                       << "3"
                                       << "Exercise" << 1 << "1" << QStringList{"isDownloadXmlDone(3)"};
    QTest::newRow("status of a lesson") << "getDownloadStatus"
                                        << "4"
                                        << "lesson" << 1 << "1" << QStringList{"isDownloadXmlDone(4)"};
    QTest::newRow("download xml") << "getDownloadXml"
                                  << "4"
                                  << "" << 1 << "<lesson/>" << QStringList{"getDownloadXml(4)"};
}

void TestCourier::downloadWrappers()
{
    QFETCH(QString, operation);
    QFETCH(QString, argument);
    QFETCH(QString, kind);
    QFETCH(int, downloadService);
    QFETCH(QString, result);
    QFETCH(QStringList, calls);
    mNet->setDownloadServiceStarted(downloadService);
    mBridge.queue(QStringLiteral("getDownloadXml"), QStringLiteral("<lesson/>"));
    QString actual;
    if (operation == QLatin1String("downloadExercise"))
        actual = QString::number(mNet->downloadExercise(argument));
    else if (operation == QLatin1String("cancelDownload"))
        actual = QString::number(mNet->cancelDownload(argument.toInt()));
    else if (operation == QLatin1String("downloadManifest"))
        actual = QString::number(mNet->downloadManifest(argument, kind));
    else if (operation == QLatin1String("getDownloadStatus"))
        actual = QString::number(mNet->getDownloadStatus(argument.toInt(), kind));
    else
        actual = mNet->getDownloadXml(argument.toInt());
    QCOMPARE(actual, result);
    QCOMPARE(mBridge.callSummary(), calls);
}

void TestCourier::translationXmlWithoutDocumentIsNull()
{
    QVERIFY(mNet->getTranslationXml(3).isNull());
    mBridge.queue(QStringLiteral("getTranslationXml"), QStringLiteral("<message/>"));
    QCOMPARE(mNet->getTranslationXml(3), QStringLiteral("<message/>"));
}

void TestCourier::getMyIpsNamesHost_data()
{
    QTest::addColumn<QString>("host"); // null: this computer, through the plug-in
    QTest::addColumn<QString>("expected");
    QTest::newRow("this computer") << QString() << QString();
    QTest::newRow("loopback name") << "localhost"
                                   << "localhost,127.0.0.1";
    QTest::newRow("no host name") << ""
                                  << "getMyIps: gethostname error";
    // Refused before any name server is asked.
    QTest::newRow("bad host lookup") << "no..such"
                                     << "getMyIps: bad host lookup";
}

void TestCourier::getMyIpsNamesHost()
{
    QFETCH(QString, host);
    QFETCH(QString, expected);
    if (!host.isNull()) {
        QCOMPARE(HostAddresses::summary(host), expected);
        return;
    }
    const QString ips = mNet->getMyIps();
    const QRegularExpression form(QStringLiteral("^[^,\\s]+,((\\d{1,3}\\.){3}\\d{1,3}( (\\d{1,3}\\.){3}\\d{1,3})*)?$"));
    QVERIFY2(form.match(ips).hasMatch(), qPrintable(ips));
    QCOMPARE(ips.section(QLatin1Char(','), 0, 0), QSysInfo::machineHostName());
}

// ------------------------------------------------------------------ messages

QVariant TestCourier::runOperation(const QString& operation, const Table& input)
{
    int status = 0;
    int total = 0;
    if (operation == QLatin1String("register"))
        return mNet->registerAccount(input);
    if (operation == QLatin1String("login"))
        return mNet->loginUser(input.value("Username"), input.value("Password"), input.value("Offline").toInt());
    if (operation == QLatin1String("passwordReminder"))
        return mNet->passwordReminder(input.value("Username"));
    if (operation == QLatin1String("updateFluency"))
        return mNet->updateFluency(QString(), QString(), input);
    if (operation == QLatin1String("feedback"))
        return mNet->sendFeedback(input.value("Comment"), input.value("Type"));
    if (operation == QLatin1String("exerciseQuery")) {
        mNet->queryExercises(input, &status, &total);
        return status;
    }
    if (operation == QLatin1String("lessonQuery")) {
        mNet->queryLessons(input, &status, &total);
        return status;
    }
    return QVariant();
}

void TestCourier::requestBody_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<Table>("input");
    QTest::addColumn<QStringList>("checks");

    QTest::newRow("register")
        << "register"
        << Table{{"Username", "anna_b"},       {"Password", "pa.ss_1"},  {"FirstName", "  Ann   [Marie]\n"},
                 {"LastName", "O'Brien & co"}, {"Email", "a@b.cd"},      {"Country", "France"},
                 {"StateProv", "IDF"},         {"FLanguage1", "French"}, {"FFluencyLevel1", "Native"},
                 {"FCountry1", "France"},      {"FLocality1", "Paris"},  {"FLocaleDesc1", "Parisian"},
                 {"FNonSpeaking1", "0"},       {"FIsStudying1", "9"},    {"FLanguage3", "German"}}
        << QStringList{
               "register|=general,fluency",
               "register/general|=username,password,given,family,email,countryID,provState,"
               "passwordQuestion,passwordAnswer",
               "register/general/username|C|anna_b",
               "register/general/password|C|pa.ss_1",
               "register/general/given|C|Ann Marie",
               "register/general/family|C|O'Brien & co",
               "register/general/email|C|a@b.cd",
               "register/general/countryID|T|FR",
               "register/general/provState|C|IDF",
               "register/general/passwordQuestion|C|",
               "register/fluency|=languageID,fluencyID,countryID,provState,locality,localeDescriptor,nonSpeaking",
               "register/fluency/languageID|T|fra",
               "register/fluency/fluencyID|T|3",
               "register/fluency/countryID|T|FR",
               "register/fluency/provState|C|",
               "register/fluency/locality|C|Paris",
               "register/fluency/localeDescriptor|C|Parisian",
               "register/fluency/nonSpeaking|T|0"};
    QTest::newRow("updateFluency")
        << "updateFluency" << Table{{"Username", "anna_b"},    {"Password", "pa.ss_1"},        {"FirstName", "Anna"},
                                    {"FLanguage1", "English"}, {"FFluencyLevel1", "Beginner"}, {"FIsStudying1", "1"},
                                    {"FNonSpeaking1", "7"},    {"FLanguage2", "Spanish"},      {"FIsStudying2", "0"},
                                    {"FCountry2", "Nowhere"}}
        << QStringList{"updateFluency|=general,fluency,fluency",    "updateFluency/general|=username,password",
                       "updateFluency/general/password|C|pa.ss_1",  "updateFluency/fluency[0]/languageID|T|eng",
                       "updateFluency/fluency[0]/fluencyID|T|1",    "updateFluency/fluency[0]/nonSpeaking|T|1",
                       "updateFluency/fluency[1]/languageID|T|spa", "updateFluency/fluency[1]/countryID|T|",
                       "updateFluency/fluency[1]/nonSpeaking|T|0"};
    QTest::newRow("login") << "login" << Table{{"Username", "Anna.B_2"}, {"Password", "x.Y_z9"}}
                           << QStringList{"login|=username,password", "login/username|C|Anna.B_2",
                                          "login/password|C|x.Y_z9"};
    QTest::newRow("passwordReminder") << "passwordReminder" << Table{{"Username", "anna_b"}}
                                      << QStringList{"passwordReminder|=username",
                                                     "passwordReminder/username|C|anna_b"};
    QTest::newRow("feedback") << "feedback" << Table{{"Comment", "Line one\nline  two [x]"}, {"Type", "2"}}
                              << QStringList{"feedback|@type|2", "feedback|=comment",
                                             "feedback/comment|C|Line one line two x"};
    QTest::newRow("exerciseQuery")
        << "exerciseQuery"
        << Table{{"Term", "  a  [x] b "},
                 {"LanguageID", "fra"},
                 {"ResultsLanguageID", "eng"},
                 {"PageNum", "2"},
                 {"ResultsVoice", " [v] "}}
        << QStringList{"exerciseQuery|=term,query_langID,results_langID,results_voice,results_speakingSpeedID,"
                       "results_countryLangID,results_stateProv,results_locality,results_localeDescriptor,"
                       "results_fluencyLevelID,results_learnerLevelID,max_results,page_num",
                       "exerciseQuery/term|C|  a  x b ",
                       "exerciseQuery/query_langID|T|fra",
                       "exerciseQuery/results_langID|T|eng",
                       "exerciseQuery/results_voice|C|v",
                       "exerciseQuery/max_results|T|",
                       "exerciseQuery/page_num|T|2"};
    QTest::newRow("lessonQuery")
        << "lessonQuery" << Table{{"Title", " Food  and [drink] "}, {"LanguageID", "fra"}, {"MaxResults", "20"}}
        << QStringList{"lessonQuery|=title,description,query_langID,results_langID,results_voice,"
                       "results_speakingSpeedID,results_countryLangID,results_stateProv,results_locality,"
                       "results_localeDescriptor,results_fluencyLevelID,results_learnerLevelID,max_results,page_num",
                       "lessonQuery/title|C|Food and drink", "lessonQuery/description|C|",
                       "lessonQuery/query_langID|T|fra", "lessonQuery/max_results|T|20"};
}

void TestCourier::requestBody()
{
    QFETCH(QString, operation);
    QFETCH(Table, input);
    QFETCH(QStringList, checks);

    runOperation(operation, input);
    const bool isQuery = operation.endsWith(QLatin1String("Query"));
    const QString exportName = isQuery ? QStringLiteral("sendQuery") : QStringLiteral("sendMessage");
    const QStringList args = mBridge.lastArgs(exportName);
    QCOMPARE(args.size(), 1);
    const QString text = args.first();
    if (operation == QLatin1String("lessonQuery"))
        QVERIFY(text.startsWith(QLatin1String("<message>")));
    else
        QVERIFY(text.startsWith(QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<message>")));

    QDomDocument document;
    QVERIFY(document.setContent(text));
    const QDomElement message = document.documentElement();
    QCOMPARE(childNames(message), (QStringList{"header", "body"}));
    const QDomElement header = message.firstChildElement(QStringLiteral("header"));
    QCOMPARE(childNames(header), (QStringList{"from", "to", "type", "xmlVersion", "uiVersion", "dbVersion"}));
    QVERIFY(QRegularExpression(QStringLiteral("^pc1,10\\.0\\.0\\.5\\|\\d\\d\\.\\d\\d\\.\\d{4}\\|\\d\\d:\\d\\d$"))
                .match(header.firstChildElement(QStringLiteral("from")).text())
                .hasMatch());
    QCOMPARE(header.firstChildElement(QStringLiteral("to")).text(), QStringLiteral("not-impelented"));
    QCOMPARE(header.firstChildElement(QStringLiteral("type")).text(), operation);
    QCOMPARE(header.firstChildElement(QStringLiteral("xmlVersion")).text(), QStringLiteral("1.3"));
    QCOMPARE(header.firstChildElement(QStringLiteral("uiVersion")).text(),
             QString::fromLatin1(ProductInfo::InternalVersion));
    QCOMPARE(header.firstChildElement(QStringLiteral("dbVersion")).text(), QStringLiteral("2"));
    const QDomElement body = message.firstChildElement(QStringLiteral("body"));
    QCOMPARE(childNames(body), QStringList{operation});

    for (const QString& check : checks) {
        const QStringList parts = check.split(QLatin1Char('|'));
        const QDomElement element = elementAt(body, parts.at(0));
        QVERIFY2(!element.isNull(), qPrintable(check));
        const QString kind = parts.at(1);
        if (kind.startsWith(QLatin1Char('='))) {
            QCOMPARE(childNames(element).join(QLatin1Char(',')), kind.mid(1));
        } else if (kind.startsWith(QLatin1Char('@'))) {
            QCOMPARE(element.attribute(kind.mid(1)), parts.at(2));
        } else {
            const QDomNode content = element.firstChild();
            QVERIFY2(element.childNodes().count() <= 1, qPrintable(check));
            if (kind == QLatin1String("C")) {
                QVERIFY2(parts.at(2).isEmpty() ? content.isNull() || content.isCDATASection()
                                               : content.isCDATASection(),
                         qPrintable(check));
            } else {
                QVERIFY2(content.isNull() || (content.isText() && !content.isCDATASection()), qPrintable(check));
            }
            QCOMPARE(element.text(), parts.at(2));
        }
    }
}

void TestCourier::replyStatus_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("messagingUp");
    QTest::addColumn<bool>("networkUp");

    QTest::newRow("register: registered") << "register" << statusReply("1") << 1 << true << true;
    QTest::newRow("register: name taken") << "register" << statusReply("-1") << -1 << true << true;
    QTest::newRow("register: too many") << "register" << statusReply("-4") << -4 << true << true;
    QTest::newRow("register: other refusal") << "register" << statusReply("-3") << -3 << false << true;
    QTest::newRow("register: no answer") << "register" << kNull << 0 << false << true;
    QTest::newRow("register: not XML") << "register"
                                       << "garbage" << 0 << false << true;
    QTest::newRow("login: wrong password") << "login" << statusReply("-1") << 2 << true << true;
    QTest::newRow("login: version refused") << "login" << statusReply("-2") << -2 << true << true;
    QTest::newRow("login: too many") << "login" << statusReply("-4") << -4 << true << true;
    QTest::newRow("login: other status") << "login" << statusReply("5") << 3 << false << true;
    QTest::newRow("login: no answer") << "login" << kNull << 3 << false << true;
    QTest::newRow("login: empty answer") << "login"
                                         << "" << 3 << false << true;
    QTest::newRow("reminder: sent") << "passwordReminder" << statusReply("1") << 1 << true << true;
    QTest::newRow("reminder: refused") << "passwordReminder" << statusReply("-1") << -1 << true << true;
    QTest::newRow("reminder: no answer") << "passwordReminder" << kNull << 0 << false << true;
    QTest::newRow("reminder: not available") << "passwordReminder" << statusReply("-2") << 2 << true << true;
    QTest::newRow("reminder: too many") << "passwordReminder" << statusReply("-4") << 3 << true << true;
    QTest::newRow("fluency: accepted") << "updateFluency" << statusReply("1") << 1 << true << true;
    QTest::newRow("fluency: refused") << "updateFluency" << statusReply("-1") << 0 << true << true;
    QTest::newRow("fluency: status 0") << "updateFluency" << statusReply("0") << -1 << false << false;
    QTest::newRow("fluency: no answer") << "updateFluency" << kNull << -1 << false << false;
    QTest::newRow("feedback: accepted") << "feedback" << statusReply("1") << 1 << true << true;
    QTest::newRow("feedback: refused") << "feedback" << statusReply("-1") << 0 << true << true;
    QTest::newRow("feedback: no answer") << "feedback" << kNull << -1 << true << true;
}

void TestCourier::replyStatus()
{
    QFETCH(QString, operation);
    QFETCH(QString, reply);
    QFETCH(int, result);
    QFETCH(bool, messagingUp);
    QFETCH(bool, networkUp);
    mBridge.queue(QStringLiteral("sendMessage"), reply);
    const Table input{{"Username", "anna_b"}, {"Password", "secret1"}, {"Comment", "hi"}, {"Type", "1"}};
    QCOMPARE(runOperation(operation, input).toInt(), result);
    QCOMPARE(mBridge.calls().size(), 1);
    QCOMPARE(mNet->isMessagingServiceStarted(), messagingUp);
    QCOMPARE(mNet->isNetworkStarted(), networkUp);
    QCOMPARE(mNet->isUploadServiceStarted(), networkUp);
}

void TestCourier::notSent_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<Table>("input");
    QTest::addColumn<QList<int>>("flags");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("sent");

    const Table creds{{"Username", "anna_b"}, {"Password", "secret1"}};
    QTest::newRow("register, messaging down") << "register" << creds << QList<int>{1, 0, 0} << 0 << false;
    QTest::newRow("register, network down") << "register" << creds << QList<int>{0, 1, 0} << 0 << false;
    QTest::newRow("register, bracketed password")
        << "register" << Table{{"Username", "anna_b"}, {"Password", "[secret]"}} << QList<int>{1, 1, 0} << 0 << false;
    QTest::newRow("login, messaging down") << "login" << creds << QList<int>{1, 0, 0} << 3 << false;
    QTest::newRow("login, empty password")
        << "login" << Table{{"Username", "anna_b"}} << QList<int>{1, 1, 0} << 2 << false;
    QTest::newRow("login, bracketed password")
        << "login" << Table{{"Username", "anna_b"}, {"Password", "[secret1]"}} << QList<int>{1, 1, 0} << 2 << false;
    QTest::newRow("login, blank in password")
        << "login" << Table{{"Username", "anna_b"}, {"Password", "sec ret1"}} << QList<int>{1, 1, 0} << 2 << false;
    QTest::newRow("reminder, empty name") << "passwordReminder" << Table() << QList<int>{1, 1, 0} << 0 << false;
    QTest::newRow("reminder, messaging down") << "passwordReminder" << creds << QList<int>{1, -999, 0} << 0 << false;
    QTest::newRow("fluency, signed in offline") << "updateFluency" << creds << QList<int>{1, 1, 2} << -1 << false;
    QTest::newRow("fluency, messaging value 2") << "updateFluency" << creds << QList<int>{1, 2, 0} << -1 << false;
    QTest::newRow("feedback, 8000 characters")
        << "feedback" << Table{{"Comment", QString(8000, QLatin1Char('a'))}} << QList<int>{1, 1, 0} << 0 << false;
    QTest::newRow("feedback, 7999 characters")
        << "feedback" << Table{{"Comment", QString(7999, QLatin1Char('a'))}} << QList<int>{0, 1, 0} << -1 << true;
    QTest::newRow("feedback, messaging down")
        << "feedback" << Table{{"Comment", "hi"}} << QList<int>{1, 0, 0} << 0 << false;
}

void TestCourier::notSent()
{
    QFETCH(QString, operation);
    QFETCH(Table, input);
    QFETCH(QList<int>, flags);
    QFETCH(int, result);
    QFETCH(bool, sent);
    mNet->setNetworkStarted(flags.at(0));
    mNet->setMessagingServiceStarted(flags.at(1));
    mNet->setOfflineLogin(flags.at(2));
    QCOMPARE(runOperation(operation, input).toInt(), result);
    QCOMPARE(!mBridge.lastArgs(QStringLiteral("sendMessage")).isEmpty(), sent);
    if (operation == QLatin1String("login") && result == 3) {
        QVERIFY(!mNet->isMessagingServiceStarted());
        QCOMPARE(runOperation(operation, input).toInt(), 3);
    }
}

// ------------------------------------------------------------------ sign-in

void TestCourier::onlineLoginStoresUser_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("fluencies");
    QTest::newRow("status 1, one fluency") << "1" << 1;
    QTest::newRow("status 0, three fluencies") << "0" << 3;
    QTest::newRow("status 1, no fluency") << "1" << 0;
}

void TestCourier::onlineLoginStoresUser()
{
    QFETCH(QString, status);
    QFETCH(int, fluencies);
    storeUser(QStringLiteral("u1"), QStringLiteral("anna_b"), QStringLiteral("oldpass1"));
    mNet->setOfflineLogin(2);
    mBridge.queue(QStringLiteral("sendMessage"), loginReply(status, QStringLiteral("u1"), fluencies));

    QCOMPARE(mNet->loginUser(QStringLiteral("anna_b"), QStringLiteral("newpass1"), 0), status.toInt());
    QCOMPARE(mNet->isOfflineLogin(), 0);
    ZoUser* current = mUsers->currentUser();
    QVERIFY(current);
    QCOMPARE(current->username(), QStringLiteral("anna_b"));
    QCOMPARE(current->password(), QStringLiteral("newpass1"));
    QCOMPARE(current->country(), QStringLiteral("France"));

    std::unique_ptr<ZoUser> stored(storedUser(QStringLiteral("anna_b")));
    QVERIFY(stored);
    QCOMPARE(stored->password(), QStringLiteral("newpass1"));
    QCOMPARE(stored->firstName(), QStringLiteral("Anna"));
    const QList<ZoUserFluency*> list = stored->fluencies();
    QCOMPARE(list.size(), fluencies);
    static const char* const names[] = {"French", "English", "German"};
    static const char* const levels[] = {"Beginner", "Intermediate", "Native"};
    QStringList languages;
    for (ZoUserFluency* fluency : list)
        languages << fluency->language() + QLatin1Char('/') + fluency->fluencyLevel() + QLatin1Char('/')
                         + fluency->localeDesc();
    languages.sort();
    QStringList expected;
    for (int i = 0; i < fluencies; ++i)
        expected
            << QStringLiteral("%1/%2/d%3").arg(QLatin1String(names[i]), QLatin1String(levels[i]), QString::number(i));
    expected.sort();
    QCOMPARE(languages, expected);
}

void TestCourier::stopNetworkEndsOnlineSession()
{
    auto ends = [this] {
        int n = 0;
        for (const FakeBridge::Call& call : mBridge.calls())
            n += call.name == QLatin1String("endSession");
        return n;
    };
    QCOMPARE(mNet->stopNetwork(), 1);
    QCOMPARE(ends(), 0);

    mBridge.queue(QStringLiteral("sendMessage"), loginReply(QStringLiteral("1"), QStringLiteral("u1"), 1));
    QCOMPARE(mNet->loginUser(QStringLiteral("anna_b"), QStringLiteral("newpass1"), 0), 1);
    QCOMPARE(ends(), 0);
    QCOMPARE(mNet->stopNetwork(), 1);
    QCOMPARE(ends(), 1);
    QCOMPARE(mNet->stopNetwork(), 1);
    QCOMPARE(ends(), 1);
    // The services stay up for the next sign-in.
    QVERIFY(mNet->isNetworkReady());

    // Offline, no session is held.
    QCOMPARE(mNet->loginUser(QStringLiteral("anna_b"), QStringLiteral("newpass1"), 2), 1);
    QCOMPARE(mNet->stopNetwork(), 1);
    QCOMPARE(ends(), 1);
}

void TestCourier::onlineLoginLeavesOtherAccounts()
{
    storeUser(QStringLiteral("u2"), QStringLiteral("annaxb"), QStringLiteral("other11"));
    storeUser(QStringLiteral("u3"), QStringLiteral("Anna_b"), QStringLiteral("other22"));
    mBridge.queue(QStringLiteral("sendMessage"), loginReply(QStringLiteral("1"), QStringLiteral("u1"), 1));

    QCOMPARE(mNet->loginUser(QStringLiteral("anna_b"), QStringLiteral("newpass1"), 0), 1);
    // "_" matches no other letter; "Anna_b" is the same account in another
    // letter case, so its copy gives way to the registered spelling.
    QSqlQuery users(QStringLiteral("SELECT group_concat(unm || ':' || uid, ' ') FROM (SELECT * FROM u ORDER BY unm)"));
    QVERIFY(users.next());
    QCOMPARE(users.value(0).toString(), QStringLiteral("anna_b:u1 annaxb:u2"));
}

void TestCourier::onlineLoginWithoutStoredCopy_data()
{
    QTest::addColumn<bool>("earlierCopy");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("currentPassword");
    QTest::newRow("no earlier copy") << false << -3 << QString();
    QTest::newRow("earlier copy kept") << true << 1 << "oldpass1";
}

void TestCourier::onlineLoginWithoutStoredCopy()
{
    QFETCH(bool, earlierCopy);
    QFETCH(int, result);
    QFETCH(QString, currentPassword);
    if (earlierCopy)
        storeUser(QStringLiteral("u1"), QStringLiteral("anna_b"), QStringLiteral("oldpass1"));
    mNet->setOfflineLogin(2);
    // The store refuses a reply whose user id is another stored user's.
    storeUser(QStringLiteral("u2"), QStringLiteral("annaxb"), QStringLiteral("other11"));
    mBridge.queue(QStringLiteral("sendMessage"), loginReply(QStringLiteral("1"), QStringLiteral("u2"), 1));

    QCOMPARE(mNet->loginUser(QStringLiteral("anna_b"), QStringLiteral("newpass1"), 0), result);
    if (currentPassword.isEmpty()) {
        QVERIFY(!mUsers->currentUser());
        QCOMPARE(mNet->isOfflineLogin(), 2);
    } else {
        QVERIFY(mUsers->currentUser());
        QCOMPARE(mUsers->currentUser()->password(), currentPassword);
        std::unique_ptr<ZoUser> stored(storedUser(QStringLiteral("anna_b")));
        QVERIFY(stored);
        QCOMPARE(stored->password(), currentPassword);
    }
}

void TestCourier::offlineLogin_data()
{
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("typedPassword");
    QTest::addColumn<int>("offline");
    QTest::addColumn<int>("netStarted");
    QTest::addColumn<int>("result");

    QTest::newRow("exact") << "anna_b"
                           << "secret1" << 2 << 1 << 1;
    QTest::newRow("network never started") << "anna_b"
                                           << "secret1" << 2 << 0 << 1;
    QTest::newRow("network failed") << "anna_b"
                                    << "secret1" << 1 << -1 << 1;
    QTest::newRow("name in other case") << "Anna_B"
                                        << "secret1" << 2 << 1 << 1;
    QTest::newRow("underscore is no wildcard") << "annaxb"
                                               << "secret1" << 2 << 1 << 2;
    QTest::newRow("password in other case") << "anna_b"
                                            << "Secret1" << 2 << 1 << 2;
    QTest::newRow("unknown user") << "bert_c"
                                  << "secret1" << 2 << 1 << 2;
}

void TestCourier::offlineLogin()
{
    QFETCH(QString, typedName);
    QFETCH(QString, typedPassword);
    QFETCH(int, offline);
    QFETCH(int, netStarted);
    QFETCH(int, result);
    storeUser(QStringLiteral("u1"), QStringLiteral("anna_b"), QStringLiteral("secret1"));
    mNet->setNetworkStarted(netStarted);

    QCOMPARE(mNet->loginUser(typedName, typedPassword, offline), result);
    QVERIFY(mBridge.calls().isEmpty());
    if (result == 1) {
        QVERIFY(mUsers->currentUser());
        // Signed in under the spelling the name was registered with.
        QCOMPARE(mUsers->currentUser()->username(), QStringLiteral("anna_b"));
        QCOMPARE(mNet->isOfflineLogin(), offline);
    } else {
        QVERIFY(!mUsers->currentUser());
        QCOMPARE(mNet->isOfflineLogin(), 0);
    }
}

void TestCourier::loginReplyForAnotherUser_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("status");
    QTest::newRow("no user") << QStringLiteral("<message><header><status>1</status></header><body><loginReply>"
                                               "<error_description/></loginReply></body></message>")
                             << "1";
    QTest::newRow("another user") << loginReply(QStringLiteral("1"), QStringLiteral("u5"), 1, QStringLiteral("bert_c"))
                                  << "1";
    QTest::newRow("another user, new version")
        << loginReply(QStringLiteral("0"), QStringLiteral("u5"), 1, QStringLiteral("bert_c")) << "0";
    QTest::newRow("name outside the character set")
        << loginReply(QStringLiteral("1"), QStringLiteral("u5"), 1, QStringLiteral("anna_b<")) << "1";
}

void TestCourier::loginReplyForAnotherUser()
{
    QFETCH(QString, reply);
    mBridge.queue(QStringLiteral("sendMessage"), reply);
    QCOMPARE(mNet->loginUser(QStringLiteral("anna_b"), QStringLiteral("newpass1"), 0), 3);
    QVERIFY(!mUsers->currentUser());
    std::unique_ptr<ZoUser> other(storedUser(QStringLiteral("bert_c")));
    QVERIFY(!other);
    QCOMPARE(ZoDbHelper().userIdOf(QString()), QStringLiteral("-1"));
}

void TestCourier::loginInOtherCaseTakesRegisteredSpelling()
{
    // Twice online, typed in other cases, then offline: one account, one spelling.
    for (const char* typed : {"ANNA_B", "Anna_b"}) {
        mBridge.queue(QStringLiteral("sendMessage"), loginReply(QStringLiteral("1"), QStringLiteral("u1"), 1));
        QCOMPARE(mNet->loginUser(QLatin1String(typed), QStringLiteral("newpass1"), 0), 1);
        QVERIFY(mUsers->currentUser());
        QCOMPARE(mUsers->currentUser()->username(), QStringLiteral("anna_b"));
    }
    QSqlQuery count(QStringLiteral("SELECT count(*) FROM u WHERE unm = 'anna_b' COLLATE NOCASE"));
    QVERIFY(count.next());
    QCOMPARE(count.value(0).toInt(), 1);
    QCOMPARE(mNet->loginUser(QStringLiteral("aNNa_b"), QStringLiteral("newpass1"), 2), 1);
    QCOMPARE(mUsers->currentUser()->username(), QStringLiteral("anna_b"));
    QCOMPARE(mNet->loginUser(QStringLiteral("aNNa_b"), QStringLiteral("NEWPASS1"), 2), 2);
}

void TestCourier::updateFluencyStoresLocallyFirst()
{
    storeUser(QStringLiteral("u1"), QStringLiteral("anna_b"), QStringLiteral("secret1"));
    mNet->setOfflineLogin(1);
    const Table properties{{"Id", "u1"},          {"Username", "anna_b"},   {"Password", "secret1"},
                           {"Country", "France"}, {"FLanguage1", "German"}, {"FFluencyLevel1", "Native"},
                           {"FIsStudying1", "0"}};
    QCOMPARE(mNet->updateFluency(QStringLiteral("ignored"), QStringLiteral("ignored"), properties), -1);
    QVERIFY(mBridge.calls().isEmpty());
    std::unique_ptr<ZoUser> stored(storedUser(QStringLiteral("anna_b")));
    QVERIFY(stored);
    QCOMPARE(stored->fluencyCount(), 1);
    QCOMPARE(stored->fluencies().first()->language(), QStringLiteral("German"));
}

void TestCourier::unknownLanguageKeepsEveryFluency_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("codes"); // sent and stored, in order

    QTest::newRow("add") << "add" << QStringList{"fra", "xqz", "deu", "eng"};
    QTest::newRow("edit the unknown one") << "edit" << QStringList{"fra", "xqz", "deu"};
    QTest::newRow("remove the one before") << "remove first" << QStringList{"xqz", "deu"};
    QTest::newRow("remove the unknown one") << "remove unknown" << QStringList{"fra", "deu"};
}

// A sign-in reply may name a language the table does not know: it stays, shown as its code.
void TestCourier::unknownLanguageKeepsEveryFluency()
{
    QFETCH(QString, change);
    QFETCH(QStringList, codes);
    storeUser(QStringLiteral("u1"), QStringLiteral("anna_b"), QStringLiteral("oldpass1"));
    mNet->setOfflineLogin(2);
    QString reply = loginReply(QStringLiteral("1"), QStringLiteral("u1"), 3);
    reply.replace(QStringLiteral("<languageID>eng</languageID>"), QStringLiteral("<languageID>xqz</languageID>"));
    mBridge.queue(QStringLiteral("sendMessage"), reply);
    QCOMPARE(mNet->loginUser(QStringLiteral("anna_b"), QStringLiteral("newpass1"), 0), 1);

    std::unique_ptr<ZoUser> stored(storedUser(QStringLiteral("anna_b")));
    QVERIFY(stored);
    QCOMPARE(stored->fluencyCount(), 3);
    const ZoUserFluency* unknown = stored->fluencies().at(1);
    QCOMPARE(unknown->language(), QStringLiteral("xqz"));

    Table properties = stored->toHash();
    if (change == QLatin1String("add")) {
        properties.insert(QStringLiteral("FLanguage4"), QStringLiteral("English"));
        properties.insert(QStringLiteral("FFluencyLevel4"), QStringLiteral("Beginner"));
        properties.insert(QStringLiteral("FIsStudying4"), QStringLiteral("1"));
    } else if (change == QLatin1String("edit")) {
        properties.insert(QStringLiteral("FFluencyLevel2"), QStringLiteral("Native"));
    } else {
        const int index = change == QLatin1String("remove first") ? 0 : 1;
        QCOMPARE(mDb->remove(QStringLiteral("Fluency"), {stored->fluencies().at(index)->id()}), 1);
        stored.reset(storedUser(QStringLiteral("anna_b")));
        properties = stored->toHash();
    }
    mBridge.queue(QStringLiteral("sendMessage"), statusReply(QStringLiteral("1")));
    QCOMPARE(mNet->updateFluency(QString(), QString(), properties), 1);

    const QDomElement body =
        lastSent(QStringLiteral("sendMessage")).documentElement().firstChildElement(QStringLiteral("body"));
    QStringList sent;
    for (QDomElement f = elementAt(body, QStringLiteral("updateFluency/fluency")); !f.isNull();
         f = f.nextSiblingElement(QStringLiteral("fluency")))
        sent << f.firstChildElement(QStringLiteral("languageID")).text();
    QCOMPARE(sent, codes);

    stored.reset(storedUser(QStringLiteral("anna_b")));
    QStringList kept;
    ZoDbHelper helper;
    for (const ZoUserFluency* fluency : stored->fluencies()) {
        const QString id = helper.languageId(fluency->language());
        kept << (id.isEmpty() ? fluency->language() : id);
        if (fluency->language() == QLatin1String("xqz"))
            QCOMPARE(fluency->fluencyLevel(),
                     change == QLatin1String("edit") ? QStringLiteral("Native") : QStringLiteral("Intermediate"));
    }
    QCOMPARE(kept, codes);
}

// A change the local store refuses is neither sent nor reported as taken.
void TestCourier::fluencyNotStoredIsNotSent()
{
    storeUser(QStringLiteral("u1"), QStringLiteral("anna_b"), QStringLiteral("oldpass1"));
    mNet->setOfflineLogin(2);
    mBridge.queue(QStringLiteral("sendMessage"), loginReply(QStringLiteral("1"), QStringLiteral("u1"), 2));
    QCOMPARE(mNet->loginUser(QStringLiteral("anna_b"), QStringLiteral("newpass1"), 0), 1);
    std::unique_ptr<ZoUser> before(storedUser(QStringLiteral("anna_b")));
    QVERIFY(before);
    QCOMPARE(before->fluencyCount(), 2);

    Table properties = before->toHash();
    properties.insert(QStringLiteral("FLanguage3"), QStringLiteral("English"));
    properties.insert(QStringLiteral("FFluencyLevel3"), QStringLiteral("Beginner"));
    properties.insert(QStringLiteral("FIsStudying3"), QStringLiteral("1"));
    QSqlQuery refuse(QSqlDatabase::database());
    QVERIFY(refuse.exec(QStringLiteral("CREATE TEMP TRIGGER refuse_fluency BEFORE INSERT ON uf "
                                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
    mBridge.reset();
    mBridge.queue(QStringLiteral("sendMessage"), statusReply(QStringLiteral("1")));
    const int result = mNet->updateFluency(QString(), QString(), properties);
    QVERIFY(refuse.exec(QStringLiteral("DROP TRIGGER temp.refuse_fluency")));
    QCOMPARE(result, INetManager::NotStoredLocally);
    QVERIFY(mBridge.calls().isEmpty());

    std::unique_ptr<ZoUser> after(storedUser(QStringLiteral("anna_b")));
    QVERIFY(after);
    QCOMPARE(after->fluencyCount(), 2);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(after->fluencies().at(i)->language(), before->fluencies().at(i)->language());
}

// ------------------------------------------------------------------ searches and parsers

void TestCourier::queryExercisesStatus_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("total");

    const QString two = exerciseElement("1") + exerciseElement("2");
    QTest::newRow("no answer") << kNull << 0 << 0 << -7;
    QTest::newRow("empty answer") << "" << -1 << 0 << -7;
    QTest::newRow("not well-formed") << "<message><body></message>" << -1 << 0 << -7;
    QTest::newRow("refused") << statusReply("-1", "exerciseQueryReply", two) << 0 << 0 << -7;
    QTest::newRow("nothing found") << statusReply("1", "exerciseQueryReply") << 2 << 0 << -7;
    QTest::newRow("two found") << statusReply("1", "exerciseQueryReply",
                                              "<total_result_available>57</total_result_available>" + two)
                               << 1 << 2 << 57;
    QTest::newRow("total missing") << statusReply("1", "exerciseQueryReply", two) << 1 << 2 << 0;
    QTest::newRow("total below zero") << statusReply("1", "exerciseQueryReply",
                                                     "<total_result_available>-5</total_result_available>" + two)
                                      << 1 << 2 << 0;
    // An upload carrying exercises inside itself is one result, credited to its own uploader.
    QString carrier = exerciseElement("1");
    carrier.insert(carrier.lastIndexOf(QStringLiteral("</exercise>")), two + "<exercise>" + two + "</exercise>");
    QTest::newRow("nested exercises are one result") << statusReply("1", "exerciseQueryReply", carrier) << 1 << 1 << 0;
    QTest::newRow("exercises outside the reply element")
        << statusReply("1", "exerciseQueryReply", exerciseElement("1")).replace("</header>", "</header>" + two) << 1
        << 1 << 0;
    QTest::newRow("nesting past the limit")
        << statusReply("1", "exerciseQueryReply",
                       exerciseElement("1").replace("</kvps>", "</kvps>" + QString("<x>").repeated(2000)
                                                                   + QString("</x>").repeated(2000)))
        << int(INetManager::ReplyPastLimit) << 0 << -7;
}

void TestCourier::queryExercisesStatus()
{
    QFETCH(QString, reply);
    QFETCH(int, status);
    QFETCH(int, count);
    QFETCH(int, total);
    mBridge.queue(QStringLiteral("sendQuery"), reply);
    int actualStatus = 99;
    int actualTotal = -7;
    const QList<ZoExercise> found = mNet->queryExercises({{"Term", "chien"}}, &actualStatus, &actualTotal);
    QCOMPARE(actualStatus, status);
    QCOMPARE(found.size(), count);
    QCOMPARE(actualTotal, total);
}

void TestCourier::queryExercisesFields()
{
    mBridge.queue(QStringLiteral("sendQuery"),
                  statusReply("1", "exerciseQueryReply", exerciseElement("1") + exerciseElement("2")));
    int status = 0;
    int total = 0;
    const QList<ZoExercise> found = mNet->queryExercises({{"Term", "chien"}}, &status, &total);
    QCOMPARE(found.size(), 2);
    const ZoExercise& e = found.at(1);
    const Table expected{{"Id", "0"},
                         {"PId", "E-2"},
                         {"Term", "chien 2"},
                         {"Language", "French"},
                         {"LanguageID", "fra"},
                         {"LocaleDesc", "Parisian"},
                         {"MediaPath", "Content"},
                         {"MediaName", "chien2.ogg"},
                         {"Country", "France"},
                         {"CountryID", "FR"},
                         {"StateProv", "IDF"},
                         {"Locality", "Paris"},
                         {"Voice", "voice_2"},
                         {"FluencyLevel", "3"},
                         {"Status", ""},
                         {"MediaId", "0"},
                         {"TermId", "0"},
                         {"PersistentMediaId", "MEDIA-2"},
                         {"PersistentTermId", "TERM-2"},
                         {"Creator", "bert_c"},
                         {"CreatorUid", "u9"},
                         {"VoiceUid", "u7"}};
    QCOMPARE(e.toHash(), expected);
    QCOMPARE(found.at(0).term(), QStringLiteral("chien 1"));
}

void TestCourier::queryLessonsDropsInconsistentLessons()
{
    const QString lessons = lessonElement("L-1", {{"1", "E-1"}}) + lessonElement("L-2", {{"1", "E-1"}, {"1", "E-2"}})
                            + lessonElement("L-3", {{"2", "E-2"}, {"1", "E-1"}, {"3", "E-3"}})
                            + lessonElement("L-4", {}) + lessonElement("L-5", {{"x", "E-1"}, {"1", "E-2"}});
    mBridge.queue(QStringLiteral("sendQuery"),
                  statusReply("1", "lessonQueryReply", "<total_result_available>5</total_result_available>" + lessons));
    int status = 0;
    int total = 0;
    const QList<ZoLesson> found = mNet->queryLessons({{"Title", "t"}}, &status, &total);
    QCOMPARE(status, 1);
    QCOMPARE(total, 5);
    QStringList ids;
    for (const ZoLesson& lesson : found)
        ids << lesson.pId();
    QCOMPARE(ids, (QStringList{"L-1", "L-3", "L-4"}));

    const ZoLesson& one = found.at(0);
    QCOMPARE(one.exerciseCount(), 1);
    QCOMPARE(one.exerciseId(0), QString());
    QCOMPARE(one.persistentExerciseId(0), QStringLiteral("E-1"));
    QCOMPARE(one.language(), QStringLiteral("fra"));
    QCOMPARE(one.learnerLevel(), QStringLiteral("2"));
    QCOMPARE(one.title(), QStringLiteral("Title L-1"));
    QCOMPARE(one.username(), QStringLiteral("bert_c"));
    QCOMPARE(one.userId(), QStringLiteral("u9"));

    const ZoLesson& three = found.at(1);
    QCOMPARE(three.persistentExerciseId(0), QStringLiteral("E-1"));
    QCOMPARE(three.persistentExerciseId(1), QStringLiteral("E-2"));
    QCOMPARE(three.persistentExerciseId(2), QStringLiteral("E-3"));
    QCOMPARE(found.at(2).persistentExerciseIds().size(), 0);
}

void TestCourier::exerciseFromXmlTags_data()
{
    QTest::addColumn<QString>("kvps");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("none") << "" << QStringList();
    QTest::newRow("one tag") << kvpElement("1", "noun", "eng") << QStringList{"Part of Speech=noun/English"};
    QTest::newRow("two tags") << kvpElement("1", "noun", "eng") + kvpElement("2", "at the market", "fra")
                              << QStringList{"Context=at the market/French", "Part of Speech=noun/English"};
    QTest::newRow("empty value refused") << kvpElement("3", "", "fra") + kvpElement("1", "verb", "fra")
                                         << QStringList{"Part of Speech=verb/French"};
    QTest::newRow("unknown tag skipped") << kvpElement("42", "x", "eng") << QStringList();
}

void TestCourier::exerciseFromXmlTags()
{
    QFETCH(QString, kvps);
    QFETCH(QStringList, fields);
    QDomDocument document;
    QVERIFY(document.setContent(exerciseElement("5", kvps)));
    ZoDbHelper helper;
    const ZoExercise exercise = mNet->exerciseFromXml(XmlPathMap(document), &helper);
    QCOMPARE(exercise.pId(), QStringLiteral("E-5"));
    QCOMPARE(exercise.language(), QStringLiteral("French"));
    QCOMPARE(exercise.voice(), QStringLiteral("voice_5"));
    QCOMPARE(exercise.mediaPath(), QStringLiteral("Content"));
    QStringList actual;
    const ZoExercise::FieldMap map = exercise.fields();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        actual << it.key() + QLatin1Char('=') + it.value().value("Value") + QLatin1Char('/')
                      + it.value().value("Language");
    actual.sort();
    QCOMPARE(actual, fields);
}

void TestCourier::lessonFromXml_data()
{
    QTest::addColumn<QString>("xml");
    const QString lesson = lessonElement("L-7", {{"1", "E-1"}, {"2", "E-2"}});
    QTest::newRow("whole upload message") << statusReply("1", "uploadLesson", lesson);
    QTest::newRow("lesson element") << lesson;
}

void TestCourier::lessonFromXml()
{
    QFETCH(QString, xml);
    const ZoLesson lesson = mNet->lessonFromXml(XmlPathMap(xml, QStringLiteral("doc")), nullptr);
    QCOMPARE(lesson.pId(), QStringLiteral("L-7"));
    QCOMPARE(lesson.title(), QStringLiteral("Title L-7"));
    QCOMPARE(lesson.language(), QStringLiteral("French"));
    QCOMPARE(lesson.learnerLevel(), QStringLiteral("2"));
    QCOMPARE(lesson.exerciseCount(), 2);
    QCOMPARE(lesson.persistentExerciseId(1), QStringLiteral("E-2"));
}

void TestCourier::lessonFromXmlRefusesFalseCount_data()
{
    QTest::addColumn<int>("held");
    QTest::addColumn<QString>("claimed");
    QTest::newRow("100,000,000 children") << 2 << "100000000";
    QTest::newRow("fewer than held") << 2 << "1";
    QTest::newRow("below zero") << 2 << "-2";
    QTest::newRow("not a number") << 2 << "two";
    // Counted truly, but past the limit on members.
    const int limit = ContentGate::MaxLessonMembers;
    QTest::newRow("limit + 1 members") << limit + 1 << QString::number(limit + 1);
    QTest::newRow("10^5 members") << 100000 << QStringLiteral("100000");
}

void TestCourier::lessonFromXmlRefusesFalseCount()
{
    QFETCH(int, held);
    QFETCH(QString, claimed);
    QList<QPair<QString, QString>> members;
    for (int i = 1; i <= held; ++i)
        members.append({QString::number(i), QStringLiteral("E-%1").arg(i)});
    const QString lesson = lessonElement("L-7", members)
                               .replace(QStringLiteral("numChildren=\"%1\"").arg(held),
                                        QStringLiteral("numChildren=\"%1\"").arg(claimed));
    const ZoLesson refused = mNet->lessonFromXml(XmlPathMap(statusReply("1", "uploadLesson", lesson),
                                                            QStringLiteral("doc")),
                                                 nullptr);
    QVERIFY(refused.pId().isEmpty());
    QVERIFY(refused.title().isEmpty());
    QCOMPARE(refused.exerciseCount(), 0);
}

void TestCourier::translationFromXml()
{
    const ZoTranslation translation = mNet->translationFromXml(
        XmlPathMap(statusReply("1", "translation")
                       .replace(QStringLiteral("<translation>"),
                                QStringLiteral("<translation><manifest persistentManifestID=\"TR-8\"/>")),
                   QStringLiteral("doc")),
        nullptr);
    QCOMPARE(translation.pId(), QStringLiteral("TR-8"));
}

void TestCourier::parseTranslationXml_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QStringList>("translations");

    const auto reply = [](const QString& content) { return statusReply("1", "downloadTranslation", content); };
    QTest::newRow("two pairs in order") << reply(translationElement("2") + exerciseElement("2")
                                                 + translationElement("3") + exerciseElement("3"))
                                        << "OK" << QStringList{"chien 2", "chien 3"} << QStringList{"TR-2", "TR-3"};
    QTest::newRow("exercise directly under body")
        << QStringLiteral("<message><header><status>1</status></header><body>%1</body></message>")
               .arg(exerciseElement("4"))
        << "OK" << QStringList() << QStringList();
    QTest::newRow("translation without its exercise")
        << reply(translationElement("2") + exerciseElement("2") + translationElement("9")) << "OK"
        << QStringList{"chien 2"} << QStringList{"TR-2"};
    // Each translation goes with the exercise it names, wherever that stands.
    QTest::newRow("shifted order") << reply(translationElement("3") + exerciseElement("2") + translationElement("2")
                                            + exerciseElement("3"))
                                   << "OK" << QStringList{"chien 3", "chien 2"} << QStringList{"TR-3", "TR-2"};
    // Elements an uploader nested inside an exercise are no part of the reply.
    QString carrier = exerciseElement("2");
    carrier.insert(carrier.lastIndexOf(QStringLiteral("</exercise>")),
                   translationElement("7") + exerciseElement("7") + translationElement("8") + exerciseElement("8"));
    QTest::newRow("nested elements ignored")
        << reply(translationElement("2") + carrier + translationElement("3") + exerciseElement("3")) << "OK"
        << QStringList{"chien 2", "chien 3"} << QStringList{"TR-2", "TR-3"};
    QTest::newRow("one exercise for two translations")
        << reply(translationElement("2") + exerciseElement("2") + translationElement("2")) << "OK"
        << QStringList{"chien 2"} << QStringList{"TR-2"};
    QTest::newRow("no translations") << statusReply("-1") << "ExerciseHasNoTranslations" << QStringList()
                                     << QStringList();
    QTest::newRow("not XML") << "<message>"
                             << "setContent failed" << QStringList() << QStringList();
}

void TestCourier::parseTranslationXml()
{
    QFETCH(QString, xml);
    QFETCH(QString, result);
    QFETCH(QStringList, terms);
    QFETCH(QStringList, translations);
    // The lists are appended to, not cleared.
    QList<ZoExercise> exercises{ZoExercise()};
    QList<ZoTranslation> found{ZoTranslation()};
    ZoDbHelper helper;
    QCOMPARE(mNet->parseTranslationXml(xml, &helper, &found, &exercises), result);
    QCOMPARE(exercises.size(), terms.size() + 1);
    QCOMPARE(found.size(), translations.size() + 1);
    for (int i = 0; i < terms.size(); ++i) {
        QCOMPARE(exercises.at(i + 1).term(), terms.at(i));
        QCOMPARE(exercises.at(i + 1).voice(), QStringLiteral("speaker_%1").arg(terms.at(i).right(1)));
        QCOMPARE(exercises.at(i + 1).language(), QStringLiteral("French"));
        QCOMPARE(found.at(i + 1).pId(), translations.at(i));
        QCOMPARE(found.at(i + 1).persistentExerciseIds().last(), exercises.at(i + 1).pId());
    }
}

void TestCourier::resultsOutliveManager()
{
    mBridge.queue(QStringLiteral("sendQuery"), statusReply("1", "exerciseQueryReply", exerciseElement("1")));
    int status = 0;
    const QList<ZoExercise> found = mNet->queryExercises({{"Term", "chien"}}, &status, nullptr);
    delete mNet;
    mNet = loadManager();
    QVERIFY(mNet);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().term(), QStringLiteral("chien 1"));
    QCOMPARE(found.first().language(), QStringLiteral("French"));
}

// ------------------------------------------------------------------ uploads

void TestCourier::uploads_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("sound");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<Table>("result");
    QTest::addColumn<QString>("handedOver");

    const QString exerciseIds = QStringLiteral(
        "<exercise persistentManifestID=\"PX\"/><term persistentManifestID=\"PT\"/>"
        "<media persistentManifestID=\"PM\"/>");
    QTest::newRow("exercise with sound") << "exercise"
                                         << "chien.ogg" << statusReply("1", "uploadExerciseReply", exerciseIds)
                                         << Table{{"PId", "PX"},
                                                  {"PersistentTermId", "PT"},
                                                  {"PersistentMediaId", "PM"}}
                                         << "upload";
    QTest::newRow("exercise without sound")
        << "exercise"
        << "" << statusReply("1", "uploadExerciseReply", exerciseIds)
        << Table{{"PId", "PX"}, {"PersistentTermId", "PT"}} << "uploadManifest:exerciseWithoutSound";
    QTest::newRow("exercise refused") << "exercise"
                                      << "chien.ogg" << statusReply("0", "uploadExerciseReply")
                                      << Table{{"Error", "refused: 0"}} << "upload";
    QTest::newRow("exercise not stored") << "missing"
                                         << "chien.ogg" << kNull
                                         << Table{{"Error", "No stored exercise with id 999999"}} << "";
    QTest::newRow("lesson") << "uploadLesson"
                            << "" << statusReply("1", "uploadLessonReply", "<lesson persistentManifestID=\"PL\"/>")
                            << Table{{"PId", "PL"}} << "uploadManifest:lesson";
    QTest::newRow("lesson refused, exercise reply path")
        << "uploadLesson"
        << "" << statusReply("-1", "uploadExerciseReply") << Table{{"Error", "refused: -1"}} << "uploadManifest:lesson";
    QTest::newRow("lesson refused, lesson reply path")
        << "uploadLesson"
        << "" << statusReply("-1", "uploadLessonReply") << Table{{"Error", "refused: -1"}} << "uploadManifest:lesson";
    QTest::newRow("translation") << "uploadTranslation"
                                 << ""
                                 << statusReply("1", "uploadTranslationReply",
                                                "<translation persistentManifestID=\"PR\"/>")
                                 << Table{{"PId", "PR"}} << "uploadManifest:translation";
    QTest::newRow("exercise as manifest kind")
        << "uploadExercise"
        << "" << kNull << Table{{"Error", "Invalid manifest type given: uploadExercise"}} << "";
}

void TestCourier::uploads()
{
    QFETCH(QString, kind);
    QFETCH(QString, sound);
    QFETCH(QString, reply);
    QFETCH(Table, result);
    QFETCH(QString, handedOver);

    QString localId;
    QHash<QString, QString> actual;
    if (kind == QLatin1String("exercise")) {
        localId = storeExercise(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(!localId.isEmpty());
        mBridge.queue(QStringLiteral("getUploadReply"), reply);
        actual = mNet->uploadExercise(localId, sound);
    } else if (kind == QLatin1String("missing")) {
        actual = mNet->uploadExercise(QStringLiteral("999999"), sound);
    } else {
        if (kind == QLatin1String("uploadLesson")) {
            const QString first = storeExercise(QStringLiteral("lesson-member-a"));
            const QString second = storeExercise(QStringLiteral("lesson-member-b"));
            std::unique_ptr<QObject> lesson(mDb->insert(QStringLiteral("Lesson"), {{"Id", "0"},
                                                                                   {"PId", "0"},
                                                                                   {"Title", "Food"},
                                                                                   {"Language", "French"},
                                                                                   {"EId1", first},
                                                                                   {"EId2", second}}));
            auto* stored = qobject_cast<ZoLesson*>(lesson.get());
            localId = stored ? stored->id() : QString();
        } else {
            localId = QStringLiteral("1");
        }
        mBridge.queue(QStringLiteral("getUploadReply"), reply);
        actual = mNet->uploadManifest(localId, kind);
    }
    QCOMPARE(actual, result);

    const QList<FakeBridge::Call> calls = mBridge.calls();
    if (handedOver.isEmpty()) {
        QVERIFY(calls.isEmpty());
        return;
    }
    const QString exportName = handedOver.section(QLatin1Char(':'), 0, 0);
    const QStringList args = mBridge.lastArgs(exportName);
    QVERIFY(!args.isEmpty());
    if (exportName == QLatin1String("upload")) {
        QCOMPARE(args.mid(1), (QStringList{"1", sound}));
    } else {
        QCOMPARE(args.at(1), handedOver.section(QLatin1Char(':'), 1));
    }
    QDomDocument sent;
    QVERIFY(sent.setContent(args.first()));
    const QString messageType = kind == QLatin1String("exercise") ? QStringLiteral("uploadExercise") : kind;
    const QDomElement header = sent.documentElement().firstChildElement(QStringLiteral("header"));
    QCOMPARE(header.firstChildElement(QStringLiteral("type")).text(), messageType);
    const QDomElement request = sent.documentElement().firstChildElement(QStringLiteral("body")).firstChildElement();
    QCOMPARE(request.tagName(), messageType);
    const QDomElement manifest = request.firstChildElement();
    if (kind == QLatin1String("exercise")) {
        QCOMPARE(manifest.tagName(), QStringLiteral("exercise"));
        QCOMPARE(manifest.firstChildElement(QStringLiteral("manifest")).attribute(QStringLiteral("localManifestID")),
                 localId);
    } else if (kind == QLatin1String("uploadLesson")) {
        QCOMPARE(manifest.tagName(), QStringLiteral("lesson"));
        QCOMPARE(manifest.attribute(QStringLiteral("numChildren")), QStringLiteral("2"));
    } else {
        QCOMPARE(manifest.tagName(), QStringLiteral("translation"));
    }
}

void TestCourier::uploadRetriesUntilHandle()
{
    const QString localId = storeExercise(QStringLiteral("retry"));
    QVERIFY(!localId.isEmpty());
    mBridge.queue(QStringLiteral("upload"), QStringLiteral("-1"));
    mBridge.queue(QStringLiteral("upload"), QStringLiteral("-1"));
    mBridge.queue(QStringLiteral("upload"), QStringLiteral("5"));
    mBridge.queue(QStringLiteral("isUploadXmlDone"), QStringLiteral("0"));
    mBridge.queue(QStringLiteral("isUploadXmlDone"), QStringLiteral("1"));
    mBridge.queue(QStringLiteral("getUploadReply"),
                  statusReply("1", "uploadExerciseReply", "<exercise persistentManifestID=\"P5\"/>"));
    const QHash<QString, QString> result = mNet->uploadExercise(localId, QStringLiteral("retry.ogg"));
    QCOMPARE(result.value(QStringLiteral("PId")), QStringLiteral("P5"));
    QCOMPARE(mBridge.callSummary(),
             (QStringList{"upload(...,1,retry.ogg)", "upload(...,1,retry.ogg)", "upload(...,1,retry.ogg)",
                          "isUploadXmlDone(5)", "isUploadXmlDone(5)", "getUploadReply(5)"}));
}

void TestCourier::uploadTimesOut_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("uploadReply");
    QTest::addColumn<int>("uploadCalls");
    QTest::newRow("no handle for the sound") << "exercise"
                                             << "-1" << 6;
    QTest::newRow("upload service down") << "service down"
                                         << "5" << 0;
    QTest::newRow("lesson never done") << "uploadLesson"
                                       << "5" << 0;
    QTest::newRow("exercise never done") << "exercise"
                                         << "5" << 1;
}

void TestCourier::uploadTimesOut()
{
    QFETCH(QString, kind);
    QFETCH(QString, uploadReply);
    QFETCH(int, uploadCalls);
    const QString exerciseId = storeExercise(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(!exerciseId.isEmpty());
    mBridge.reset();
    mBridge.setDefault(QStringLiteral("upload"), uploadReply);
    mBridge.setDefault(QStringLiteral("isUploadXmlDone"), QStringLiteral("0"));
    QHash<QString, QString> result;
    if (kind == QLatin1String("uploadLesson")) {
        result = mNet->uploadManifest(QStringLiteral("1"), kind);
    } else {
        if (kind == QLatin1String("service down"))
            mNet->setUploadServiceStarted(0);
        result = mNet->uploadExercise(exerciseId, QStringLiteral("timeout.ogg"));
    }
    QCOMPARE(result, (Table{{"timedOut", "yes"}}));
    int uploads = 0;
    for (const FakeBridge::Call& call : mBridge.calls())
        uploads += call.name == QLatin1String("upload");
    QCOMPARE(uploads, uploadCalls);
}

QTEST_MAIN(TestCourier)
#include "tst_courier.moc"
