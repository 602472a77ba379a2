#include "AboutSplash.h"
#include "DialogFit.h"
#include "FormPluginEntry.h"
#include "HelpBrowser.h"
#include "IAudio.h"
#include "IForm.h"
#include "IUserResource.h"
#include "LanguageChooser.h"
#include "MainWindow.h"
#include "MessageBoxHelper.h"
#include "PluginDialog.h"
#include "PluginLocator.h"
#include "SettingsStore.h"
#include "WindowFixture.h"
#include "ZoDbFileManager.h"
#include "ZoDbSchema.h"
#include "ZoTabWidget.h"
#include "ZoUser.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QSplashScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabBar>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString kFormA = QStringLiteral("ShellTestFormA.so=Forms/ShellTestFormA.so");
const QString kFormB = QStringLiteral("ShellTestFormB.so=Forms/ShellTestFormB.so");
const QString kFormC = QStringLiteral("ShellTestFormC.so=Forms/ShellTestFormC.so");
const QString kPluginResource = QStringLiteral("ShellTestPluginResource.so=Resources/ZoPluginResource.so");
const QString kAudio = QStringLiteral("ShellTestAudio.so=Managers/ZoAudio.so");
const QString kDb = QStringLiteral("ShellTestDbManager.so=Managers/Storekeeper.so");
const QString kUser = QStringLiteral("ShellTestUserResource.so=Resources/ZoUserResource.so");
const QString kNet = QStringLiteral("ScriptedNetManager.so=Managers/Courier.so");

// Three forms, all available offline except C.
const QStringList kThreeForms = {QStringLiteral("ShellTestFormA.so,microphone.png,1,0"),
                                 QStringLiteral("ShellTestFormB.so,soundVolume.png,1,0"),
                                 QStringLiteral("ShellTestFormC.so,,0,0")};

QStringList formCalls(const QString& prefix)
{
    QStringList result;
    for (const QString& call : WindowFixture::calls())
        if (call.startsWith(prefix))
            result.append(call);
    return result;
}

QWidget* formWidget(MainWindow* window, int index)
{
    return window->tabWidget()->widget(index);
}

template <class T>
T* child(MainWindow* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

// Examines the file like the real one but fails where the test says.
class FaultyDbFileManager : public ZoDbFileManager
{
public:
    FaultyDbFileManager(bool backupFails, bool scriptsFail)
        : ZoDbFileManager(QStringLiteral("vireda.db"))
        , mBackupFails(backupFails)
        , mScriptsFail(scriptsFail)
    {
    }
    int backupDatabase() override { return mBackupFails ? 0 : ZoDbFileManager::backupDatabase(); }
    int runScript(const QString& script) override
    {
        const bool ours = script == ZoDbSchema::creationText() || script == ZoDbFileManager::conversionText();
        return mScriptsFail && ours ? 0 : ZoDbFileManager::runScript(script);
    }

private:
    bool mBackupFails;
    bool mScriptsFail;
};

class FaultyWindow : public MainWindow
{
public:
    FaultyWindow(QApplication* app, bool backupFails, bool scriptsFail)
        : MainWindow(app)
        , mBackupFails(backupFails)
        , mScriptsFail(scriptsFail)
    {
    }

protected:
    std::unique_ptr<ZoDbFileManager> createDbFileManager() override
    {
        return std::make_unique<FaultyDbFileManager>(mBackupFails, mScriptsFail);
    }

private:
    bool mBackupFails;
    bool mScriptsFail;
};

// A small file of schema version 0 holding one row; its bytes.
QByteArray writeOldDatabase(const QString& fileName)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("oldFile"));
        db.setDatabaseName(fileName);
        if (!db.open())
            return {};
        QSqlQuery query(db);
        query.exec(QStringLiteral("CREATE TABLE keep (x INTEGER)"));
        query.exec(QStringLiteral("INSERT INTO keep VALUES (42)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("oldFile"));
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString keptValue(const QString& fileName)
{
    QString value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(fileName);
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT x FROM keep"), db);
            if (query.next())
                value = query.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return value;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    // A window with forms A, B and C loaded online.
    void loadThreeForms(WindowFixture& fixture)
    {
        qApp->setProperty("shellTestFormRows", kThreeForms);
        fixture.window()->loadForms(0, 0);
        QVERIFY(fixture.window()->tabWidget());
        QCOMPARE(fixture.window()->tabWidget()->count(), 3);
        WindowFixture::clearCalls();
    }

private slots:
    void initTestCase() { SettingsStore::configure(); }

    void formPluginEntry_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("offline");
        QTest::addColumn<bool>("wanted");
        QTest::addColumn<QString>("dllFile");
        QTest::addColumn<QString>("iconFile");

        QTest::newRow("online-only form, online") << "F.so,f.png,0,0" << 0 << 0 << true << "F.so"
                                                  << "f.png";
        QTest::newRow("online-only form, offline") << "F.so,f.png,0,0" << 0 << 1 << false << "F.so"
                                                   << "f.png";
        QTest::newRow("blank before flag, offline") << "F.so,f.png, 0,0" << 0 << 1 << true << "F.so"
                                                    << "f.png";
        QTest::newRow("level above highest") << "F.so,f.png,1,-1" << 0 << 0 << false << "F.so"
                                             << "f.png";
        QTest::newRow("level at highest") << "F.so,f.png,1,5" << 5 << 0 << true << "F.so"
                                          << "f.png";
        QTest::newRow("level not a number, 0") << "F.so,f.png,1,abc" << 0 << 0 << true << "F.so"
                                               << "f.png";
        QTest::newRow("level not a number, 1") << "F.so,f.png,1,abc" << 1 << 0 << false << "F.so"
                                               << "f.png";
        QTest::newRow("file only, offline") << "F.so" << 0 << 1 << true << "F.so"
                                            << "";
        QTest::newRow("file and icon") << "F.so,f.png" << 0 << 0 << true << "F.so"
                                       << "f.png";
        QTest::newRow("empty row") << "" << 0 << 0 << true << ""
                                   << "";
        QTest::newRow("extra fields kept apart") << "F.so,f.png,1,2,x" << 2 << 0 << true << "F.so"
                                                 << "f.png";
    }

    void formPluginEntry()
    {
        QFETCH(QString, row);
        QFETCH(int, level);
        QFETCH(int, offline);
        QFETCH(bool, wanted);
        QFETCH(QString, dllFile);
        QFETCH(QString, iconFile);
        const FormPluginEntry entry = FormPluginEntry::parse(row);
        QCOMPARE(entry.isWanted(level, offline), wanted);
        QCOMPARE(entry.dllFile, dllFile);
        QCOMPARE(entry.iconFile, iconFile);
    }

    void loadFormsInRowOrder_data()
    {
        QTest::addColumn<int>("offline");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("listed");

        const QStringList rows = {"Plugins_dll/Forms/ShellTestFormB.so", "Plugins_dll/Forms/NotAForm.so",
                                  "Plugins_dll/Forms/ShellTestFormA.so"};
        QTest::newRow("online") << 0 << QStringList{"Form B", "Form A", "Form C"}
                                << (rows + QStringList{"Plugins_dll/Forms/ShellTestFormC.so"});
        QTest::newRow("offline") << 1 << QStringList{"Form B", "Form A"} << rows;
    }

    void loadFormsInRowOrder()
    {
        QFETCH(int, offline);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, listed);

        WindowFixture fixture({kFormA, kFormB, kFormC, kPluginResource, "ShellTestAudio.so=Forms/NotAForm.so"});
        QVERIFY(fixture.isValid());
        qApp->setProperty("shellTestFormRows",
                          QStringList{"ShellTestFormB.dll,soundVolume.png,1,0", "Missing.dll,x.png,1,0",
                                      "NotAForm.so,,1,0", "ShellTestFormA.so,microphone.png", "",
                                      "ShellTestFormC.so,,0,0", "ShellTestFormA.so,,1,-1"});
        MainWindow* window = fixture.window();
        window->loadForms(0, offline);

        ZoTabWidget* tabs = window->tabWidget();
        QVERIFY(tabs);
        QStringList shown;
        for (int i = 0; i < tabs->count(); ++i)
            shown.append(tabs->tabText(i));
        QCOMPARE(shown, titles);
        QCOMPARE(window->loadedPlugins(), listed);
        QCOMPARE(window->currentTab(), 0);
        QVERIFY(!tabs->tabIcon(0).isNull());
        QVERIFY(fixture.boxes().isEmpty());

        QCOMPARE(formCalls("A:"), (QStringList{"A:setMainWindow", "A:title", "A:widget", "A:init", "A:title"}));
        // B was loaded first, so its calls all come before A's.
        const QStringList calls = WindowFixture::calls();
        QVERIFY(calls.lastIndexOf("B:init") < calls.indexOf("A:setMainWindow"));
        QCOMPARE(formCalls("C:").isEmpty(), offline != 0);
    }

    void loadFormsWithoutPluginResource()
    {
        WindowFixture fixture({kFormA});
        QVERIFY(fixture.isValid());
        qApp->setProperty("shellTestFormRows", QStringList{"ShellTestFormA.so,,1,0"});
        fixture.window()->loadForms(0, 0);
        QVERIFY(!fixture.window()->tabWidget() || fixture.window()->tabWidget()->count() == 0);
        QVERIFY(fixture.window()->loadedPlugins().isEmpty());
        QVERIFY(WindowFixture::calls().isEmpty());
        QVERIFY(fixture.boxes().isEmpty());
    }

    void loadFormsTwiceListsTwice()
    {
        WindowFixture fixture({kFormA, kPluginResource});
        QVERIFY(fixture.isValid());
        qApp->setProperty("shellTestFormRows", QStringList{"ShellTestFormA.so,,1,0"});
        fixture.window()->loadForms(0, 0);
        fixture.window()->loadForms(0, 0);
        QCOMPARE(fixture.window()->loadedPlugins(),
                 QStringList(2, QStringLiteral("Plugins_dll/Forms/ShellTestFormA.so")));
    }

    void tabSwitch_data()
    {
        QTest::addColumn<int>("leaveA");
        QTest::addColumn<int>("refreshB");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("calls");

        QTest::newRow("both agree") << 1 << 1 << 1 << 1 << QStringList{"A:customLeave", "B:customRefresh"};
        QTest::newRow("current refuses") << 0 << 1 << 1 << 0 << QStringList{"A:customLeave"};
        QTest::newRow("target refuses") << 1 << 0 << 1 << 0 << QStringList{"A:customLeave", "B:customRefresh"};
        QTest::newRow("own position") << 1 << 1 << 0 << 0 << QStringList{};
        QTest::newRow("no such tab") << 1 << 1 << 7 << 0 << QStringList{};
    }

    void tabSwitch()
    {
        QFETCH(int, leaveA);
        QFETCH(int, refreshB);
        QFETCH(int, target);
        QFETCH(int, expected);
        QFETCH(QStringList, calls);

        WindowFixture fixture({kFormA, kFormB, kFormC, kPluginResource});
        QVERIFY(fixture.isValid());
        loadThreeForms(fixture);
        MainWindow* window = fixture.window();
        formWidget(window, 0)->setProperty("leave", leaveA);
        formWidget(window, 1)->setProperty("refresh", refreshB);

        if (target < window->tabWidget()->count())
            window->tabWidget()->setCurrentIndex(target); // as a click on the tab does
        else
            window->refreshTabForms(target);

        QCOMPARE(window->currentTab(), expected);
        QCOMPARE(window->tabWidget()->currentIndex(), expected);
        QStringList switching;
        for (const QString& call : WindowFixture::calls())
            if (call.contains("customLeave") || call.contains("customRefresh"))
                switching.append(call);
        QCOMPARE(switching, calls);
    }

    void updateAllViewListsVisitsEveryTab()
    {
        WindowFixture fixture({kFormA, kFormB, kFormC, kPluginResource});
        QVERIFY(fixture.isValid());
        loadThreeForms(fixture);
        fixture.window()->updateAllViewLists();
        QCOMPARE(WindowFixture::calls(), (QStringList{"A:updateViewLists", "B:updateViewLists", "C:updateViewLists"}));
    }

    void closeAskedOfForms_data()
    {
        QTest::addColumn<int>("refusing");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QStringList>("asked");

        QTest::newRow("nobody refuses") << -1 << true << QStringList{"A:closeEvent", "B:closeEvent", "C:closeEvent"};
        QTest::newRow("first refuses") << 0 << false << QStringList{"A:closeEvent"};
        QTest::newRow("second refuses") << 1 << false << QStringList{"A:closeEvent", "B:closeEvent"};
    }

    void closeAskedOfForms()
    {
        QFETCH(int, refusing);
        QFETCH(bool, closed);
        QFETCH(QStringList, asked);

        WindowFixture fixture({kFormA, kFormB, kFormC, kPluginResource});
        QVERIFY(fixture.isValid());
        loadThreeForms(fixture);
        MainWindow* window = fixture.window();
        if (refusing >= 0)
            formWidget(window, refusing)->setProperty("refuseClose", true);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        QCOMPARE(window->close(), closed);
        QCOMPARE(window->isVisible(), !closed);
        QCOMPARE(WindowFixture::calls(), asked);
    }

    void generalPlugins_data()
    {
        QTest::addColumn<QStringList>("plugins");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<bool>("audio");
        QTest::addColumn<bool>("db");
        QTest::addColumn<bool>("user");
        QTest::addColumn<QString>("dbVersion");
        QTest::addColumn<QString>("localIps");

        QStringList withDb{"Plugins_dll/Managers/ZoAudio.so", "Plugins_dll/Managers/Storekeeper.so"};
        for (const char* name :
             {"ZoSILResource", "ZoLanguageResource", "ZoUserResource", "ZoCountryResource", "ZoFluencyLevelResource",
              "ZoLearnerLevelResource", "ZoStudyResource", "ZoPluginResource"})
            withDb.append(QStringLiteral("Plugins_dll/Resources/%1.so").arg(QLatin1String(name)));

        QTest::newRow("none") << QStringList{} << QStringList{} << false << false << false << QString() << QString();
        QTest::newRow("sound only") << QStringList{kAudio} << QStringList{"Plugins_dll/Managers/ZoAudio.so"} << true
                                    << false << false << QString() << QString();
        QTest::newRow("sound, store, user")
            << QStringList{kAudio, kDb, kUser} << withDb << true << true << true << "2" << QString();
        QTest::newRow("all") << QStringList{kAudio, kDb, kUser, kNet}
                             << (withDb + QStringList{"Plugins_dll/Managers/Courier.so"}) << true << true << true << "2"
                             << "192.0.2.7";
        // Files that load but are something else: listed, pointers null, no settings.
        QTest::newRow("wrong kinds") << QStringList{kAudio, "ShellTestAudio.so=Managers/Storekeeper.so",
                                                    "ShellTestAudio.so=Managers/Courier.so"}
                                     << (withDb + QStringList{"Plugins_dll/Managers/Courier.so"}) << true << false
                                     << false << QString() << QString();
    }

    void generalPlugins()
    {
        QFETCH(QStringList, plugins);
        QFETCH(QStringList, listed);
        QFETCH(bool, audio);
        QFETCH(bool, db);
        QFETCH(bool, user);
        QFETCH(QString, dbVersion);
        QFETCH(QString, localIps);

        WindowFixture fixture(plugins);
        QVERIFY(fixture.isValid());
        MainWindow* window = fixture.window();
        window->loadGeneralPlugins();
        QCOMPARE(window->loadedPlugins(), listed);
        QCOMPARE(window->audio() != nullptr, audio);
        QCOMPARE(window->dbManager() != nullptr, db);
        QCOMPARE(window->userResource() != nullptr, user);
        QCOMPARE(window->netManager() != nullptr, !localIps.isEmpty());
        QVERIFY(!window->languageResource());
        QCOMPARE(QSettings().value("database/version").toString(), dbVersion);
        QCOMPARE(QSettings().value("network/localips").toString(), localIps);
        QVERIFY(fixture.boxes().isEmpty());
    }

    void currentDatabaseLeftAlone()
    {
        WindowFixture fixture({kDb});
        QVERIFY(fixture.isValid());
        const QString dbFile = fixture.tree().filePath("vireda.db");
        QFile file(dbFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        fixture.window()->loadGeneralPlugins();
        QVERIFY(!fixture.window()->startupAborted());
        QVERIFY(fixture.window()->dbManager());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QVERIFY(QDir(fixture.tree().path()).entryList({"vireda.db.bak*"}).isEmpty());
        QVERIFY(fixture.boxes().isEmpty());
    }

    void finishInitializationSetsVolumesAndShows()
    {
        WindowFixture fixture({kAudio});
        QVERIFY(fixture.isValid());
        IAudio* audio = PluginLocator::load<IAudio>("plugins_dll/Managers/ZoAudio.dll");
        QVERIFY(audio);
        audio->setRecordVolume(41);
        audio->setPlaybackVolume(72);

        MainWindow* window = fixture.window();
        window->finishInitialization();
        QVERIFY(window->isVisible());
        auto* record = child<QSlider>(window, "recordVolumeSlider");
        auto* playback = child<QSlider>(window, "playbackVolumeSlider");
        QCOMPARE(record->value(), 41);
        QCOMPARE(playback->value(), 72);

        record->setValue(12);
        playback->setValue(87);
        QCOMPARE(audio->recordVolume(), 12);
        QCOMPARE(audio->playbackVolume(), 87);
    }

    void startsItselfFromTheEventLoop()
    {
        WindowFixture fixture({kAudio});
        QVERIFY(fixture.isValid());
        const auto visibleSplashes = [] {
            int count = 0;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (qobject_cast<QSplashScreen*>(widget) && widget->isVisible())
                    ++count;
            return count;
        };
        MainWindow* window = fixture.window();
        QCOMPARE(visibleSplashes(), 1);
        QVERIFY(!window->isVisible());
        QVERIFY(!window->audio());
        QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), 10000);
        QVERIFY(window->audio());
        QCOMPARE(visibleSplashes(), 0);
    }

    void slidersWithoutSound()
    {
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        MainWindow* window = fixture.window();
        window->finishInitialization();
        QVERIFY(window->isVisible());
        child<QSlider>(window, "playbackVolumeSlider")->setValue(50);
        QVERIFY(!window->audio());
    }

    void fontSize_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("rowHeight");
        QTest::newRow("8") << 8 << 20;
        QTest::newRow("12") << 12 << 30;
    }

    void fontSize()
    {
        QFETCH(int, size);
        QFETCH(int, rowHeight);
        WindowFixture fixture({kFormA, kPluginResource});
        QVERIFY(fixture.isValid());
        qApp->setProperty("shellTestFormRows", QStringList{"ShellTestFormA.so,,1,0"});
        MainWindow* window = fixture.window();
        window->loadForms(0, 0);
        QCOMPARE(window->mRowHeight, 25);
        QSignalSpy spy(window, SIGNAL(fontChanged()));

        child<QSpinBox>(window, "sBoxFontSize")->setValue(size);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(window->mFont->pointSize(), size);
        QCOMPARE(QApplication::font().pointSize(), size);
        QCOMPARE(window->mRowHeight, rowHeight);
        for (const char* name : {"lblUsername1", "lblUsername2"}) {
            const QFont font = child<QLabel>(window, name)->font();
            QCOMPARE(font.pointSize(), size + 2);
            QVERIFY(font.bold());
        }
        QVERIFY(WindowFixture::calls().contains("A:redrawView"));
    }

    void fontSizeTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value");
        QTest::newRow("8") << "8" << 8;
        QTest::newRow("12") << "12" << 12;
        QTest::newRow("9 refused") << "9" << 10;
        QTest::newRow("11 refused") << "11" << 10;
        QTest::newRow("14 refused") << "14" << 10;
    }

    void fontSizeTyped()
    {
        QFETCH(QString, typed);
        QFETCH(int, value);
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        auto* box = child<QSpinBox>(fixture.window(), "sBoxFontSize");
        QCOMPARE(box->minimum(), 8);
        QCOMPARE(box->maximum(), 12);
        QLineEdit* edit = box->findChild<QLineEdit*>();
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        box->clearFocus();
        QCOMPARE(box->value(), value);
        QCOMPARE(fixture.window()->mFont->pointSize(), value);
    }

    void defaultGeometry_data()
    {
        QTest::addColumn<QSize>("desktop");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("1280x800") << QSize(1280, 800) << QRect(240, 100, 800, 540);
        QTest::newRow("1024x768") << QSize(1024, 768) << QRect(112, 84, 800, 540);
        QTest::newRow("800x600") << QSize(800, 600) << QRect(0, 0, 800, 540);
        QTest::newRow("640x480") << QSize(640, 480) << QRect(0, 0, 640, 420);
        QTest::newRow("odd width") << QSize(1025, 769) << QRect(112, 84, 800, 540);
    }

    void defaultGeometry()
    {
        QFETCH(QSize, desktop);
        QFETCH(QRect, geometry);
        QCOMPARE(MainWindow::defaultGeometry(desktop), geometry);
    }

    void geometryStoredAndRestored()
    {
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        {
            QSettings settings;
            settings.setValue("software/size", QSize(700, 480));
            settings.setValue("software/pos", QPoint(31, 17));
        }
        MainWindow* window = fixture.window();
        QCOMPARE(window->size(), QSize(700, 480));
        QCOMPARE(window->pos(), QPoint(31, 17));

        window->resize(760, 500);
        window->move(44, 55);
        fixture.destroyWindow();
        QSettings settings;
        QCOMPARE(settings.value("software/size").toSize(), QSize(760, 500));
        QCOMPARE(settings.value("software/pos").toPoint(), QPoint(44, 55));
    }

    void geometryWithoutStoredValues()
    {
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        {
            QSettings settings;
            settings.setValue("software/size", QStringLiteral("not a size"));
        }
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect expected = MainWindow::defaultGeometry(screen->geometry().size());
        // The default size, no larger than the room with the frame.
        const QSize room = screen->availableGeometry().size().shrunkBy(DialogFit::frameNear(fixture.window()));
        QCOMPARE(fixture.window()->size(), expected.size().boundedTo(room));
        QCOMPARE(fixture.window()->pos(), expected.topLeft());
    }

    void fittedFrame_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("frame");
        const QRect room(0, 0, 1280, 800);
        QTest::newRow("fits") << QRect(240, 100, 800, 540) << QRect(240, 100, 808, 574);
        QTest::newRow("too high, above the top") << QRect(26, -34, 1200, 810) << QRect(26, 0, 1208, 800);
        QTest::newRow("too wide and high") << QRect(0, 0, 1470, 900) << QRect(0, 0, 1280, 800);
        QTest::newRow("on a screen since removed") << QRect(2000, 900, 800, 540) << QRect(472, 226, 808, 574);
        QTest::newRow("left of the screen") << QRect(-900, 100, 800, 540) << QRect(0, 100, 808, 574);
    }

    // A stored window is made to fit the room with its frame, and put on it.
    void fittedFrame()
    {
        QFETCH(QRect, stored);
        QFETCH(QRect, frame);
        QCOMPARE(MainWindow::fittedFrame(stored, QMargins(4, 30, 4, 4), QRect(0, 0, 1280, 800)), frame);
    }

    // A window stored larger than the screen and partly off it opens within
    // the screen's room with its frame.
    void restoredWithinTheScreen()
    {
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        {
            QSettings settings;
            settings.setValue("software/size", QSize(room.width() + 70, room.height() + 10));
            settings.setValue("software/pos", QPoint(room.left() + 26, room.top() - 34));
        }
        MainWindow* window = fixture.window();
        const QRect framed(window->pos(), window->size().grownBy(DialogFit::frameNear(window)));
        QVERIFY2(
            room.contains(framed),
            qPrintable(
                QStringLiteral("%1,%2 %3x%4").arg(framed.x()).arg(framed.y()).arg(framed.width()).arg(framed.height())));
    }

    // A form wider than the screen scrolls inside its tab: the window stays
    // within the screen, and the form's right end can be scrolled to.
    void wideFormScrolls()
    {
        WindowFixture fixture({kFormA, kPluginResource});
        QVERIFY(fixture.isValid());
        MainWindow* window = fixture.window();
        const QRect room = window->screen()->availableGeometry();
        qApp->setProperty("shellTestFormRows", QStringList{"ShellTestFormA.so,,1,0"});
        qApp->setProperty("shellTestFormWidth", room.width() + 500);
        window->loadForms(0, 0);
        qApp->setProperty("shellTestFormWidth", QVariant());
        QVERIFY(window->tabWidget());
        window->tabWidget()->show();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_VERIFY2(window->frameGeometry().width() <= room.width(),
                     qPrintable(QString::number(window->frameGeometry().width())));
        auto* button = window->findChild<QPushButton*>(QStringLiteral("btnFarRight"));
        QVERIFY(button);
        QScrollArea* scroll = nullptr;
        for (QWidget* p = button->parentWidget(); p && !scroll; p = p->parentWidget())
            scroll = qobject_cast<QScrollArea*>(p);
        QVERIFY2(scroll, "the form does not scroll");
        scroll->ensureWidgetVisible(button);
        const QRect shown(button->mapTo(scroll->viewport(), QPoint()), button->size());
        QVERIFY(scroll->viewport()->rect().contains(shown));
    }

    void signInButtonPosition_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("button");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("default window") << QSize(800, 540) << QSize(75, 28) << QPoint(363, 242);
        QTest::newRow("odd sizes") << QSize(801, 541) << QSize(77, 29) << QPoint(362, 241);
        QTest::newRow("no stored size") << QSize(-1, -1) << QSize(75, 28) << QPoint(-37, -28);
    }

    void signInButtonPosition()
    {
        QFETCH(QSize, window);
        QFETCH(QSize, button);
        QFETCH(QPoint, position);
        QCOMPARE(MainWindow::signInButtonPosition(window, button), position);
    }

    void placedOnScreen_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("placed");
        const QRect room(0, 0, 1280, 800);
        QTest::newRow("inside") << QRect(240, 100, 800, 560) << QRect(240, 100, 800, 560);
        QTest::newRow("grown past the right") << QRect(240, 100, 1073, 588) << QRect(207, 100, 1073, 588);
        QTest::newRow("grown past the bottom") << QRect(240, 300, 800, 600) << QRect(240, 200, 800, 600);
        QTest::newRow("past the left and top") << QRect(-20, -5, 400, 300) << QRect(0, 0, 400, 300);
        QTest::newRow("wider than the room") << QRect(100, 0, 1400, 600) << QRect(0, 0, 1400, 600);
    }

    void placedOnScreen()
    {
        QFETCH(QRect, frame);
        QFETCH(QRect, placed);
        QCOMPARE(MainWindow::placedOnScreen(frame, QRect(0, 0, 1280, 800)), placed);
    }

    // A shown window that grows past the screen's edge moves back onto it.
    void grownWindowStaysOnScreen()
    {
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        MainWindow* window = fixture.window();
        const QRect room = window->screen()->availableGeometry();
        window->resize(room.width() / 2, room.height() / 2);
        window->move(room.left() + room.width() / 3, room.top() + room.height() / 3);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->setMinimumSize(room.width() * 3 / 4, room.height() * 3 / 4);
        QTRY_VERIFY(window->width() >= room.width() * 3 / 4);
        QTRY_VERIFY2(room.contains(window->frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                            .arg(window->frameGeometry().x())
                                                                            .arg(window->frameGeometry().y())
                                                                            .arg(window->frameGeometry().width())
                                                                            .arg(window->frameGeometry().height())));
    }

    void signInButtonFollowsResize()
    {
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        MainWindow* window = fixture.window();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->resize(640, 500);
        QTRY_COMPARE(window->size(), QSize(640, 500));
        auto* button = child<QPushButton>(window, "btnSignIn");
        QCOMPARE(button->pos(), MainWindow::signInButtonPosition(QSize(640, 500), button->size()));
    }

    void initialState()
    {
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        MainWindow* window = fixture.window();
        QCOMPARE(window->objectName(), QString("mainForm"));
        QCOMPARE(window->windowTitle(), QString("Vireda"));
        QVERIFY(!window->isVisible());
        QVERIFY(!child<QPushButton>(window, "btnSuggestion")->isEnabled());
        QVERIFY(!child<QPushButton>(window, "btnUpload")->isEnabled());
        QCOMPARE(child<QPushButton>(window, "btnUpload")->text(), QString("Upload (0)"));
        QVERIFY(child<QLabel>(window, "lblUsername1")->isHidden());
        QVERIFY(!child<QAction>(window, "actSignOut")->isEnabled());
        QCOMPARE(child<QAction>(window, "actAbout")->text(), QString("&About Vireda"));
        QCOMPARE(child<QAction>(window, "actHelp")->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(window->mRowHeight, 25);
        QCOMPARE(window->mApplication, qApp);
    }

    void temporaryRecordingRemoved_data()
    {
        QTest::addColumn<bool>("withSound");
        QTest::newRow("with sound plug-in") << true;
        QTest::newRow("without sound plug-in") << false;
    }

    void temporaryRecordingRemoved()
    {
        QFETCH(bool, withSound);
        WindowFixture fixture(withSound ? QStringList{kAudio} : QStringList{});
        QVERIFY(fixture.isValid());
        const QString temp = fixture.tree().filePath("Content/AudioTemp.tmp");
        QFile file(temp);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        fixture.window()->loadGeneralPlugins();
        fixture.destroyWindow();
        QCOMPARE(QFile::exists(temp), !withSound);
    }

    void destructionOrder()
    {
        WindowFixture fixture({kAudio, kNet});
        QVERIFY(fixture.isValid());
        QFile file(fixture.tree().filePath("Content/AudioTemp.tmp"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        fixture.window()->loadGeneralPlugins();
        QVERIFY(fixture.window()->netManager());
        WindowFixture::clearCalls();
        fixture.destroyWindow();
        QCOMPARE(WindowFixture::calls(),
                 (QStringList{"audio:removeFile Content/AudioTemp.tmp", "net:deleted, geometry stored: yes"}));
    }

    // The window's widgets as designed: ranges, sizes, tips and plain-text names.
    void designedWidgets_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* object, const char* property, const QVariant& expected) {
            QTest::addRow("%s %s", object, property) << QString(object) << QByteArray(property) << expected;
        };
        row("sBoxFontSize", "minimum", 8);
        row("sBoxFontSize", "maximum", 12);
        row("sBoxFontSize", "singleStep", 2);
        row("sBoxFontSize", "value", 10);
        row("sBoxFontSize", "toolTip", QString("Adjusts font size for application"));
        row("recordVolumeSlider", "minimumSize", QSize(83, 0));
        row("recordVolumeSlider", "maximumSize", QSize(100, 15));
        row("recordVolumeSlider", "orientation", QVariant::fromValue(Qt::Horizontal));
        row("recordVolumeLabel", "toolTip", QString("Adjusts recording/microphone volume"));
        row("playbackVolumeSlider", "maximumSize", QSize(100, 15));
        row("playbackVolumeLabel", "toolTip", QString("Adjusts playback volume"));
        row("btnSignIn", "text", QString("Sign In"));
        row("btnSignIn", "toolTip", QString("Sign in with username and password."));
        row("btnSuggestion", "toolTip", QString("Make suggestions to improve this software."));
        row("btnUpload", "toolTip", QString("Click to upload to the server."));
        row("lblUsername1", "text", QString("Username:"));
        row("lblUsername2", "textFormat", QVariant::fromValue(Qt::PlainText));
        row("actSignIn", "statusTip", QString("Sign in application"));
        row("actChooseLanguage", "text", QString("Choose Language..."));
        row("actAboutPlugins", "shortcut", QKeySequence(QStringLiteral("Ctrl+P")));
    }
    void designedWidgets()
    {
        QFETCH(QString, object);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, expected);
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        QObject* found = fixture.window()->findChild<QObject*>(object);
        QVERIFY2(found, qPrintable(object));
        QCOMPARE(found->property(property.constData()), expected);
    }

    // The menus in the menu bar and their actions, in order.
    void menusInOrder()
    {
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        const auto names = [](const QList<QAction*>& actions) {
            QStringList result;
            for (QAction* action : actions)
                result << (action->isSeparator() ? QString("-")
                           : action->menu()      ? action->menu()->objectName()
                                                 : action->objectName());
            return result;
        };
        MainWindow* window = fixture.window();
        QCOMPARE(names(window->menuBar()->actions()), (QStringList{"fileMenu", "networkMenu", "helpMenu"}));
        QCOMPARE(names(child<QMenu>(window, "fileMenu")->actions()),
                 (QStringList{"actChooseLanguage", "-", "actExit"}));
        QCOMPARE(names(child<QMenu>(window, "networkMenu")->actions()), (QStringList{"actSignIn", "actSignOut"}));
        QCOMPARE(names(child<QMenu>(window, "helpMenu")->actions()),
                 (QStringList{"actHelp", "actAbout", "actAboutPlugins"}));
        QCOMPARE(child<QMenu>(window, "networkMenu")->title(), QString("&Network"));
    }

    void chooserRetranslates()
    {
        WindowFixture fixture({kFormA, kPluginResource});
        QVERIFY(fixture.isValid());
        qApp->setProperty("shellTestFormRows", QStringList{"ShellTestFormA.so,,1,0"});
        MainWindow* window = fixture.window();
        window->loadForms(0, 0);
        auto* suggestion = child<QPushButton>(window, "btnSuggestion");
        QCOMPARE(suggestion->text(), QString("Suggestions"));

        const auto choose = [window](const QString& language) {
            QTimer::singleShot(0, window, [language] {
                auto* chooser = qobject_cast<LanguageChooser*>(QApplication::activeModalWidget());
                QVERIFY(chooser);
                const auto items = chooser->listWidget()->findItems(language, Qt::MatchExactly);
                QCOMPARE(items.size(), 1);
                chooser->listWidget()->setCurrentItem(items.first());
                chooser->accept();
            });
            window->chooseLanguage();
        };

        WindowFixture::clearCalls();
        choose("Deutsch");
        QCOMPARE(QSettings().value("software/lastUILanguage").toString(), QString("Deutsch"));
        QCOMPARE(suggestion->text(), QString::fromUtf8("Vorschläge"));
        QCOMPARE(child<QAction>(window, "actExit")->text(), QString("Beenden"));
        QCOMPARE(child<QPushButton>(window, "btnUpload")->text(), QString("Hochladen (0)"));
        QCOMPARE(formCalls("A:"), (QStringList{"A:translationFileName", "A:title", "A:retranslateView",
                                               "A:updateViewLists", "A:refreshData"}));

        choose("English");
        QCOMPARE(suggestion->text(), QString("Suggestions"));
    }

    void storedLanguageAppliesAtStart()
    {
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        QSettings().setValue("software/lastUILanguage", "Deutsch");
        QCOMPARE(child<QAction>(fixture.window(), "actExit")->text(), QString("Beenden"));
    }

    void missingLanguageFolderUsesTranslationsItself_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file in Translations") << "Nowhere" << QString::fromUtf8("Vorschläge");
        QTest::newRow("no file either") << "Elsewhere"
                                        << "Suggestions";
        QTest::newRow("path outside refused") << "../Translations/Deutsch/x"
                                              << "Suggestions";
    }

    void missingLanguageFolderUsesTranslationsItself()
    {
        QFETCH(QString, language);
        QFETCH(QString, expected);
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        // A private Translations folder holding one file at its top.
        const QString translations = fixture.tree().filePath("Translations");
        QVERIFY(QFile::remove(translations));
        QVERIFY(QDir().mkpath(translations));
        QVERIFY(QFile::copy(TestTree::distPath() + "/Translations/Deutsch/dravel-Deutsch.qm",
                            translations + "/dravel-Nowhere.qm"));

        fixture.window()->setUiLanguage(language);
        QCOMPARE(child<QPushButton>(fixture.window(), "btnSuggestion")->text(), expected);
    }

    void retranslationReloadsUser_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("user found again") << QStringList{"kim"} << true;
        QTest::newRow("user not found") << QStringList{"lee"} << false;
    }

    void retranslationReloadsUser()
    {
        QFETCH(QStringList, stored);
        QFETCH(bool, replaced);
        WindowFixture fixture({kDb, kUser});
        QVERIFY(fixture.isValid());
        MainWindow* window = fixture.window();
        window->loadGeneralPlugins();
        IUserResource* users = window->userResource();
        QVERIFY(users);
        auto* signedIn = new ZoUser();
        signedIn->setUsername("kim");
        users->clearCurrentUser();
        users->setCurrentUser(signedIn);
        qApp->setProperty("shellTestUsers", stored);
        WindowFixture::clearCalls();

        window->retranslateAllViews();

        QCOMPARE(WindowFixture::calls().mid(0, 2), (QStringList{"db:releaseResources", "db:select User kim"}));
        QVERIFY(users->currentUser());
        QCOMPARE(users->currentUser()->username(), QString("kim"));
        QCOMPARE(users->currentUser() != signedIn, replaced);
        QCOMPARE(WindowFixture::calls().contains("user:clearCurrentUser"), replaced);
        users->clearCurrentUser();
    }

    void helpShowsOverview_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("docs") << "docs";
        QTest::newRow("Docs only") << "Docs";
    }

    void helpShowsOverview()
    {
        QFETCH(QString, folder);
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        QDir tree(fixture.tree().path());
        const QString real = QFileInfo(tree.filePath("docs")).canonicalFilePath();
        QVERIFY(tree.remove("Docs") && tree.remove("docs"));
        QVERIFY(QFile::link(real, tree.filePath(folder)));

        MainWindow* window = fixture.window();
        window->help();
        window->help();
        QCOMPARE(window->findChildren<HelpBrowser*>().size(), 1);
        HelpBrowser* browser = window->helpBrowser();
        QVERIFY(browser && browser->isVisible());
        QVERIFY2(browser->txtHelpBrowser->toPlainText().contains("Vireda"),
                 qPrintable(browser->txtHelpBrowser->toPlainText()));
    }

    void aboutPluginsFromHelpMenu()
    {
        WindowFixture fixture({kAudio, kFormA, kPluginResource});
        QVERIFY(fixture.isValid());
        qApp->setProperty("shellTestFormRows", QStringList{"ShellTestFormA.so,,1,0"});
        MainWindow* window = fixture.window();
        window->loadGeneralPlugins();
        window->loadForms(0, 0);
        auto* menu = child<QMenu>(window, "helpMenu");
        auto* action = child<QAction>(window, "actAboutPlugins");
        QVERIFY(menu->actions().contains(action));
        QCOMPARE(action->shortcut(), QKeySequence("Ctrl+P"));

        QStringList shown;
        QTimer::singleShot(0, window, [&shown] {
            auto* dialog = qobject_cast<PluginDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTreeWidget* tree = dialog->treeWidget();
            for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                shown.append(tree->topLevelItem(i)->text(0));
                for (int j = 0; j < tree->topLevelItem(i)->childCount(); ++j)
                    shown.append(tree->topLevelItem(i)->child(j)->text(0));
            }
            dialog->close();
        });
        action->trigger();
        QCOMPARE(shown, (QStringList{"Plugins_dll/Managers/ZoAudio.so", "Plugins_dll/Forms/ShellTestFormA.so",
                                     "Form A Exercise"}));
    }

    void aboutOpensSplashClosedByClick()
    {
        WindowFixture fixture;
        QVERIFY(fixture.isValid());
        fixture.window()->about();
        QPointer<AboutSplash> splash;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* candidate = qobject_cast<AboutSplash*>(widget))
                splash = candidate;
        QVERIFY(splash);
        QVERIFY(splash->isVisible());
        QVERIFY(!splash->pixmap().isNull());
        QTest::mouseClick(splash, Qt::LeftButton);
        QTRY_VERIFY(splash.isNull());
    }

    // Last: these end the event loop the way the program's start-up does.
    void fatalDatabase_data()
    {
        QTest::addColumn<bool>("backupFails");
        QTest::addColumn<int>("backups");
        QTest::addColumn<QString>("text");
        // Without a verified copy nothing is touched, and the box says so.
        QTest::newRow("backup fails") << true << 0 << ZoDbFileManager::notChangedMessage("vireda.db");
        QTest::newRow("conversion and re-creation fail")
            << false << 1
            << "Vireda encountered a problem while updating the local database.  "
               "Please uninstall, then reinstall Vireda.";
    }

    void fatalDatabase()
    {
        QFETCH(bool, backupFails);
        QFETCH(int, backups);
        QFETCH(QString, text);
        WindowFixture fixture({kAudio, kDb});
        QVERIFY(fixture.isValid());
        const QString dbFile = fixture.tree().filePath("vireda.db");
        QVERIFY(QFile::remove(dbFile));
        const QByteArray before = writeOldDatabase(dbFile);
        QVERIFY(!before.isEmpty());

        MainWindow* window = fixture.makeWindow<FaultyWindow>(backupFails, true);
        QTimer::singleShot(0, window, &MainWindow::finishInitialization);
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
        guard.start(20000);
        QCOMPARE(QApplication::exec(), 0); // quit, not the guard
        guard.stop();

        QVERIFY(window->startupAborted());
        QVERIFY(!window->isVisible());
        QVERIFY(!window->dbManager());
        QCOMPARE(window->loadedPlugins(), QStringList{"Plugins_dll/Managers/ZoAudio.so"});
        QCOMPARE(fixture.boxes(),
                 QStringList{MessageBoxHelper::logLine(MessageBoxHelper::Critical, "Vireda", text, {"OK"})});

        QFile file(dbFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        const QStringList found = QDir(fixture.tree().path()).entryList({"vireda.db.bak*"}, QDir::Files, QDir::Name);
        QCOMPARE(found.size(), backups);
        for (const QString& backup : found)
            QCOMPARE(keptValue(fixture.tree().filePath(backup)), QString("42"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
