#include "MainWindow.h"

#include "AboutSplash.h"
#include "ContentGate.h"
#include "DialogFit.h"
#include "Echo.h"
#include "FontSizeSpinBox.h"
#include "FormPluginEntry.h"
#include "HelpBrowser.h"
#include "IAudio.h"
#include "IDbManager.h"
#include "IForm.h"
#include "INetManager.h"
#include "IResource.h"
#include "IUserResource.h"
#include "LanguageChooser.h"
#include "LoginForm.h"
#include "MessageBoxHelper.h"
#include "Owned.h"
#include "PluginDialog.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "ShellLog.h"
#include "SplashTexts.h"
#include "StartupProbe.h"
#include "SuggestionForm.h"
#include "UploadForm.h"
#include "WelcomeForm.h"
#include "ZoTabWidget.h"

#include "ZoDbFileManager.h"
#include "ZoUser.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSlider>
#include <QSplashScreen>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>

namespace {

const char* const kTempDir = "Content";
const char* const kTempFile = "AudioTemp.tmp";
// The study tab's recording of the learner.
const char* const kStudentTempFile = "StudentTemp.tmp";
const char* const kTranslationsDir = "Translations";

// The prefixes of the translation files every language provides, in loading order.
const char* const kTranslationPrefixes[] = {"dravel-", "Country-", "FluencyLevel-", "Language-", "LearnerLevel-"};

const Qt::Alignment kSplashAlignment = Qt::AlignHCenter | Qt::AlignBottom;

} // namespace

MainWindow::MainWindow(QApplication* application)
    : ui(std::make_unique<Ui::MainWindow>())
{
    qCDebug(lcShell) << "Initializing Vireda";

    mAppName = settings.value(SettingsKeys::Version).toString();
    mApplication = application;
    setObjectName(QStringLiteral("mainForm"));

    mOwnedFont = std::make_unique<QFont>(QStringLiteral("MS Shell Dlg"), 10);
    mFont = mOwnedFont.get();
    QApplication::setFont(*mFont);
    mRowHeight = static_cast<int>(mFont->pointSize() * 2.5);

    // A language chosen earlier applies from the first text on.
    QDir translationDir;
    installTranslators(settings.value(SettingsKeys::UiLanguage).toString(), &translationDir);

    mSplash = std::make_unique<QSplashScreen>(SplashTexts::onStartup(QPixmap(QStringLiteral("Icons/splash.png"))));
    mSplash->setEnabled(false);
    StartupProbe::markFirstPaint(mSplash.get(), "splash");
    mSplash->show();
    showSplashMessage(tr("Initializing Application..."));

    // The network manager starts the network in the background while the
    // splash shows; it is taken up with the other plug-ins afterwards.
    PluginLocator::instance(PluginLocator::treeName(PluginFiles::Courier));

    ui->setupUi(this);
    ui->lblUsername1->hide();
    connectWidgets();

    const QSize stored = settings.value(SettingsKeys::WindowSize, QSize(-1, -1)).toSize();
    ui->btnSignIn->resize(75, 28);
    ui->btnSignIn->move(signInButtonPosition(stored, ui->btnSignIn->size()));

    retranslateUi();

    QTimer::singleShot(1000, this, &MainWindow::finishInitialization);

    restoreWindowGeometry();
}

MainWindow::~MainWindow()
{
    settings.setValue(SettingsKeys::WindowSize, size());
    settings.setValue(SettingsKeys::WindowPos, pos());

    removeTemporaryRecordings();

    // A form may still use the network manager while it goes.
    deleteTabs(DeleteNow);

    mNetManager.reset();
    mSplash.reset();
    mHelpBrowser.reset();
    removeTranslators();
    mFont = nullptr;
}

void MainWindow::connectWidgets()
{
    connect(ui->sBoxFontSize, &QSpinBox::valueChanged, this, &MainWindow::sbFontSize_valueChanged);
    connect(ui->playbackVolumeSlider, &QSlider::valueChanged, this, &MainWindow::playbackVolumeSlider_valueChanged);
    connect(ui->recordVolumeSlider, &QSlider::valueChanged, this, &MainWindow::recordVolumeSlider_valueChanged);
    connect(ui->btnSuggestion, &QPushButton::clicked, this, &MainWindow::suggestionButton_clicked);
    connect(ui->btnUpload, &QPushButton::clicked, this, &MainWindow::showUpload);
    connect(ui->btnSignIn, &QPushButton::clicked, this, &MainWindow::signIn);

    connect(ui->actSignIn, &QAction::triggered, this, &MainWindow::signIn);
    connect(ui->actSignOut, &QAction::triggered, this, &MainWindow::signOut);
    connect(ui->actChooseLanguage, &QAction::triggered, this, &MainWindow::chooseLanguage);
    connect(ui->actExit, &QAction::triggered, this, &MainWindow::close);
    connect(ui->actAbout, &QAction::triggered, this, &MainWindow::about);
    connect(ui->actAboutPlugins, &QAction::triggered, this, &MainWindow::aboutPlugins);
    connect(ui->actHelp, &QAction::triggered, this, &MainWindow::help);
}

void MainWindow::retranslateUi()
{
    ui->retranslateUi(this);
    setWindowTitle(QCoreApplication::translate("MainWindow", mAppName.toUtf8().constData()));
    ui->btnUpload->setText(tr("Upload (%1)").arg(0));
    ui->actAbout->setText(tr("&About ") + mAppName);

    // The user line follows the chosen display size, two points larger and bold.
    QFont nameFont(QStringLiteral("MS Shell Dlg"), mFont->pointSize() + 2);
    nameFont.setWeight(QFont::Bold);
    ui->lblUsername1->setFont(nameFont);
    ui->lblUsername2->setFont(nameFont);

    ui->btnSignIn->adjustSize();
    placeSignInButton();
}

QRect MainWindow::defaultGeometry(const QSize& desktop)
{
    const int width = desktop.width();
    const int height = desktop.height();
    if (width >= 800)
        return QRect((width - 800) / 2, (height - 600) / 2, 800, 540);
    return QRect(0, 0, width, 420);
}

QPoint MainWindow::signInButtonPosition(const QSize& window, const QSize& button)
{
    return QPoint(window.width() / 2 - button.width() / 2, window.height() / 2 - button.height());
}

QRect MainWindow::placedOnScreen(const QRect& frame, const QRect& room)
{
    QRect placed = frame;
    placed.moveLeft(qMax(room.left(), qMin(frame.left(), room.right() + 1 - frame.width())));
    placed.moveTop(qMax(room.top(), qMin(frame.top(), room.bottom() + 1 - frame.height())));
    return placed;
}

void MainWindow::restoreWindowGeometry()
{
    QSize desktop(800, 600);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen)
        desktop = screen->geometry().size();
    const QRect defaults = defaultGeometry(desktop);

    settings.setFallbacksEnabled(false);
    // A stored value that is not a size or point counts as absent.
    QSize storedSize = settings.value(SettingsKeys::WindowSize).toSize();
    if (!storedSize.isValid())
        storedSize = defaults.size();
    const QVariant storedPos = settings.value(SettingsKeys::WindowPos);
    const QPoint position = storedPos.typeId() == QMetaType::QPoint ? storedPos.toPoint() : defaults.topLeft();
    // The window and its frame open within the room of the screen they were
    // on (a screen since removed, a larger one before, a frame pushed off by
    // the window system): smaller and moved onto it where they do not fit.
    if (QScreen* at = QGuiApplication::screenAt(position))
        screen = at;
    if (screen) {
        const QRect room = screen->availableGeometry();
        const QMargins frame = DialogFit::frameNear(this);
        const QRect framed = fittedFrame(QRect(position, storedSize), frame, room);
        resize(framed.size().shrunkBy(frame));
        move(framed.topLeft());
        return;
    }
    resize(storedSize);
    move(position);
}

QRect MainWindow::fittedFrame(const QRect& stored, const QMargins& frame, const QRect& room)
{
    const QSize framed = stored.size().grownBy(frame).boundedTo(room.size());
    return placedOnScreen(QRect(stored.topLeft(), framed), room);
}

void MainWindow::placeSignInButton()
{
    ui->btnSignIn->move(signInButtonPosition(size(), ui->btnSignIn->size()));
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    placeSignInButton();
    // A window that grew with its content (a larger font, a wider tab) stays
    // on its screen.
    if (isVisible() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) && screen()) {
        const QRect frame = frameGeometry();
        const QRect placed = placedOnScreen(frame, screen()->availableGeometry());
        if (placed.topLeft() != frame.topLeft())
            move(placed.topLeft());
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!mTabWidget)
        return;
    // A form may process events while it closes: the tab widget may go meanwhile.
    const QPointer<ZoTabWidget> tabs(mTabWidget);
    for (int i = 0; tabs && i < tabs->count() && event->isAccepted(); ++i) {
        if (IForm* form = formAt(i))
            form->closeEvent(event);
    }
}

bool MainWindow::formsAgreeToClose()
{
    QCloseEvent event;
    closeEvent(&event);
    return event.isAccepted();
}

void MainWindow::removeTemporaryRecordings()
{
    if (!mAudio)
        return;
    for (const char* name : {kTempFile, kStudentTempFile}) {
        if (mAudio->fileExists(QLatin1String(kTempDir), QLatin1String(name)))
            mAudio->removeFile(QLatin1String(kTempDir), QLatin1String(name));
    }
}

HelpBrowser* MainWindow::helpBrowser() const
{
    return mHelpBrowser.get();
}

IForm* MainWindow::formAt(int index) const
{
    if (!mTabWidget || index < 0 || index >= mTabWidget->count())
        return nullptr;
    return qobject_cast<IForm*>(mTabWidget->widget(index));
}

void MainWindow::showSplashMessage(const QString& message)
{
    if (mSplash && mSplash->isVisible())
        mSplash->showMessage(message, kSplashAlignment, Qt::black);
}

void MainWindow::finishInitialization()
{
    if (mInitialized)
        return;
    mInitialized = true;
    StartupProbe::mark("timer");

    loadGeneralPlugins();
    if (mStartupAborted)
        return;

    if (mAudio) {
        ui->recordVolumeSlider->setValue(mAudio->recordVolume());
        ui->playbackVolumeSlider->setValue(mAudio->playbackVolume());
    }

    showNormal();
    if (mSplash) {
        mSplash->finish(this);
        // Its picture is not needed again.
        mSplash.reset();
    }

    signIn();
}

std::unique_ptr<ZoDbFileManager> MainWindow::createDbFileManager()
{
    return std::make_unique<ZoDbFileManager>(QStringLiteral("vireda.db"));
}

bool MainWindow::prepareDatabase()
{
    // The manager closes its own connection before the store opens the file.
    std::unique_ptr<ZoDbFileManager> manager = createDbFileManager();
    const ZoDbFileManager::Outcome outcome = manager->run([this](const QString&) {
        showSplashMessage(tr("Migrating local database.  This could take a few minutes..."));
    });
    const QString title = QStringLiteral("Vireda");
    switch (outcome) {
    case ZoDbFileManager::Ready:
        return true;
    case ZoDbFileManager::Damaged: {
        const int answer = MessageBoxHelper::show(MessageBoxHelper::Critical, this, title,
                                                  ZoDbFileManager::damagedQuestion(manager->fileName(),
                                                                                   manager->asideName()),
                                                  ZoDbFileManager::damagedButtons(), 0, 0);
        if (answer != 1)
            return false;
        if (!manager->setAside().isEmpty())
            return true;
        MessageBoxHelper::critical(this, title, ZoDbFileManager::notSetAsideMessage(manager->fileName()));
        return false;
    }
    case ZoDbFileManager::NotChanged:
        MessageBoxHelper::critical(this, title, ZoDbFileManager::notChangedMessage(manager->fileName()));
        return false;
    case ZoDbFileManager::Busy:
        MessageBoxHelper::critical(this, title, ZoDbFileManager::busyMessage(manager->fileName()));
        return false;
    case ZoDbFileManager::Unreadable:
        MessageBoxHelper::critical(this, title, ZoDbFileManager::unreadableMessage(manager->fileName()));
        return false;
    case ZoDbFileManager::ReadOnly:
        MessageBoxHelper::critical(this, title, ZoDbFileManager::readOnlyMessage(manager->fileName()));
        return false;
    case ZoDbFileManager::Failed:
        break;
    }
    MessageBoxHelper::critical(this, title, ZoDbFileManager::fatalMessage());
    return false;
}

void MainWindow::loadGeneralPlugins()
{
    Echo::line(QStringLiteral("Loading General Plugins"));

    const QString audioFile = PluginLocator::treeName(PluginFiles::ZoAudio);
    if (QObject* instance = PluginLocator::instance(audioFile)) {
        mAudio = qobject_cast<IAudio*>(instance);
        mLoadedPlugins.append(audioFile);
    } else {
        mAudio = nullptr;
    }

    if (!prepareDatabase()) {
        mStartupAborted = true;
        QApplication::closeAllWindows();
        // Queued, so that it also ends a loop that has not started yet.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return;
    }

    const QString dbFile = PluginLocator::treeName(PluginFiles::Storekeeper);
    if (QObject* instance = PluginLocator::instance(dbFile)) {
        mDbManager = qobject_cast<IDbManager*>(instance);
        mLoadedPlugins.append(dbFile);
        for (QLatin1String resource :
             {PluginFiles::ZoSILResource, PluginFiles::ZoLanguageResource, PluginFiles::ZoUserResource,
              PluginFiles::ZoCountryResource, PluginFiles::ZoFluencyLevelResource, PluginFiles::ZoLearnerLevelResource,
              PluginFiles::ZoStudyResource, PluginFiles::ZoPluginResource})
            mLoadedPlugins.append(PluginLocator::treeName(resource));
        if (mDbManager)
            settings.setValue(SettingsKeys::DatabaseVersion, mDbManager->dbVersion());
    } else {
        mDbManager = nullptr;
    }

    showSplashMessage(tr("Initializing Network..."));

    const QString netFile = PluginLocator::treeName(PluginFiles::Courier);
    if (QObject* instance = PluginLocator::instance(netFile)) {
        // The window owns the network manager: it stops before the window goes.
        auto* net = qobject_cast<INetManager*>(instance);
        if (net != mNetManager.get())
            mNetManager.reset(net);
        if (mNetManager)
            settings.setValue(SettingsKeys::LocalIps, mNetManager->getMyIps());
        mLoadedPlugins.append(netFile);
    } else {
        mNetManager.reset();
    }

    mUserResource = PluginLocator::load<IUserResource>(PluginLocator::treeName(PluginFiles::ZoUserResource));
    mLanguageResource = PluginLocator::load<IResource>(PluginLocator::treeName(PluginFiles::ZoLanguageResource));
}

void MainWindow::createTabWidget()
{
    if (mTabWidget)
        return;
    mTabWidget = new ZoTabWidget(ui->centralWidget);
    mTabWidget->setObjectName(QStringLiteral("mTabWidget"));
    mTabWidget->setCurrentIndex(0);
    mTabWidget->hide();
    mTabWidget->setIconSize(QSize(35, 35));
    // A fresh tab widget starts on its first tab.
    mCurrentTab = 0;
    connect(mTabWidget, &QTabWidget::currentChanged, this, &MainWindow::refreshTabForms);
    ui->vboxLayout->insertWidget(1, mTabWidget, 0);
}

void MainWindow::loadForms(int level, int offline)
{
    auto* resource = qobject_cast<IResource*>(
        PluginLocator::instance(PluginLocator::treeName(PluginFiles::ZoPluginResource)));
    if (resource) {
        createTabWidget();
        const QStringList rows = resource->listAll();
        for (const QString& row : rows) {
            const FormPluginEntry entry = FormPluginEntry::parse(row);
            if (!entry.isWanted(level, offline) || entry.dllFile.trimmed().isEmpty())
                continue;
            const QString file = PluginLocator::treeName(PluginFiles::form(entry.dllFile));
            QObject* instance = PluginLocator::instance(file);
            // A form of the last sign-in that has not gone yet is no fresh form.
            if (!instance || mRetiredForms.contains(instance)) {
                if (instance)
                    qCWarning(lcShell) << "Form still closing, not loaded again:" << file;
                continue;
            }
            if (IForm* form = qobject_cast<IForm*>(instance)) {
                const QIcon icon(QDir(QStringLiteral("Icons")).absoluteFilePath(entry.iconFile));
                form->setMainWindow(this);
                const QString title = form->title();
                QWidget* page = form->widget();
                if (page) {
                    mTabWidget->addTab(page, icon, title);
                    form->init();
                    // A form larger than the window scrolls (once it has its
                    // widgets); it never widens the window.
                    DialogFit::scrollContent(page);
                    // The form is asked for its title again for the line, logged or not.
                    const QString added = form->title() + QStringLiteral(" added");
                    qCDebug(lcShell).noquote() << added;
                }
            }
            mLoadedPlugins.append(file);
        }
    }
    mCurrentTab = 0;
}

void MainWindow::refreshTabForms(int index)
{
    if (mSwitchingTab)
        return;
    mSwitchingTab = 1;
    if (!mSigningOut && mTabWidget && index != mCurrentTab) {
        mTabWidget->setCurrentIndex(mCurrentTab);
        IForm* current = formAt(mCurrentTab);
        IForm* next = formAt(index);
        if (current && next && current->customLeave() != 0 && next->customRefresh() != 0)
            mCurrentTab = index;
        mTabWidget->setCurrentIndex(mCurrentTab);
    }
    mSwitchingTab = 0;
}

void MainWindow::updateAllViewLists()
{
    if (!mTabWidget)
        return;
    for (int i = 0; i < mTabWidget->count(); ++i) {
        if (IForm* form = formAt(i))
            form->updateViewLists();
    }
}

void MainWindow::installTranslator(const QDir& directory, const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    if (name.isEmpty() || mTranslationFiles.contains(name))
        return;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, directory.path()))
        return;
    QCoreApplication::installTranslator(translator.get());
    mTranslators.push_back(std::move(translator));
    mTranslationFiles.append(name);
}

void MainWindow::removeTranslators()
{
    for (const std::unique_ptr<QTranslator>& translator : mTranslators)
        QCoreApplication::removeTranslator(translator.get());
    mTranslators.clear();
}

void MainWindow::installTranslators(const QString& storedLanguage, QDir* translationDir)
{
    removeTranslators();
    mTranslationFiles.clear();

    const QString language = ContentGate::isPlainFileName(storedLanguage) ? storedLanguage : QString();
    QDir directory{QLatin1String(kTranslationsDir)};
    bool inLanguageDir = false;
    if (!language.isEmpty() && directory.exists(language) && directory.cd(language))
        inLanguageDir = true;
    *translationDir = directory;
    if (language.isEmpty() || !directory.exists())
        return;

    for (const char* prefix : kTranslationPrefixes)
        installTranslator(directory, QLatin1String(prefix) + language);
    // A language folder may hold further files, for instance of the resource tables.
    if (inLanguageDir) {
        const QStringList others = directory.entryList({QStringLiteral("*.qm")}, QDir::Files | QDir::Readable,
                                                       QDir::Name);
        for (const QString& file : others)
            installTranslator(directory, QFileInfo(file).completeBaseName());
    }
}

void MainWindow::reloadCurrentUser()
{
    if (!mUserResource || !mDbManager)
        return;
    ZoUser* user = mUserResource->currentUser();
    if (!user)
        return;
    QHash<QString, QString> criteria;
    criteria.insert(QStringLiteral("Username"), user->username());
    std::vector<std::unique_ptr<ZoUser>> users = Owned::list(mDbManager->select(QStringLiteral("User"), criteria));
    // Without a stored match the signed-in user stays as it was.
    if (users.empty())
        return;
    mUserResource->clearCurrentUser();
    // The resource keeps the user it is given.
    mUserResource->setCurrentUser(users.front().release());
}

void MainWindow::retranslateAllViews()
{
    const QString language = settings.value(SettingsKeys::UiLanguage).toString();
    QDir translationDir;
    installTranslators(language, &translationDir);

    if (mDbManager)
        mDbManager->releaseResources();

    reloadCurrentUser();

    retranslateUi();
    // The user line and the upload count in the new language, the count
    // asked again (the plain retranslation shows none).
    if (!ui->lblUsername2->text().isEmpty()) {
        ZoUser* user = mUserResource ? mUserResource->currentUser() : nullptr;
        if (user && !user->username().isEmpty())
            showUserLine(user->username());
    }
    updateUploadCount();

    if (!mTabWidget)
        return;
    const bool haveTranslations = ContentGate::isPlainFileName(language) && translationDir.exists();
    for (int i = 0; i < mTabWidget->count(); ++i) {
        IForm* form = formAt(i);
        if (!form)
            continue;
        const QString fileName = form->translationFileName(language);
        if (haveTranslations)
            installTranslator(translationDir, fileName);
        mTabWidget->setTabText(i, form->title());
        form->retranslateView();
        form->updateViewLists();
        form->refreshData();
    }
}

void MainWindow::showUserLine(const QString& userName)
{
    ui->lblUsername2->setText(userName + QLatin1Char(' ') + (mOfflineSession ? tr("(Offline)") : tr("(Online)")));
}

void MainWindow::setUiLanguage(const QString& language)
{
    settings.setValue(SettingsKeys::UiLanguage, language);
    retranslateAllViews();
}

void MainWindow::chooseLanguage()
{
    LanguageChooser chooser(QDir(QLatin1String(kTranslationsDir)), settings.value(SettingsKeys::UiLanguage).toString(),
                            this);
    if (chooser.exec() == QDialog::Accepted && !chooser.language().isEmpty())
        setUiLanguage(chooser.language());
}

void MainWindow::sbFontSize_valueChanged(int)
{
    mFont->setPointSize(ui->sBoxFontSize->value());
    QApplication::setFont(*mFont);
    mRowHeight = static_cast<int>(mFont->pointSize() * 2.5);

    QFont nameFont(*mFont);
    nameFont.setWeight(QFont::Bold);
    nameFont.setPointSize(mFont->pointSize() + 2);
    ui->lblUsername1->setFont(nameFont);
    ui->lblUsername2->setFont(nameFont);

    ui->btnSignIn->adjustSize();
    placeSignInButton();
    emit fontChanged();
}

void MainWindow::playbackVolumeSlider_valueChanged(int volume)
{
    if (mAudio)
        mAudio->setPlaybackVolume(volume);
}

void MainWindow::recordVolumeSlider_valueChanged(int volume)
{
    if (mAudio)
        mAudio->setRecordVolume(volume);
}

void MainWindow::about()
{
    auto* splash = new AboutSplash(QPixmap(QStringLiteral("Icons/splashabout.png")));
    splash->show();
}

void MainWindow::aboutPlugins()
{
    QDir pluginsDir = QDir::current();
    pluginsDir.cd(PluginFiles::TreeFolder);
    PluginDialog dialog(pluginsDir.path(), mLoadedPlugins, this);
    dialog.exec();
}

void MainWindow::help()
{
    // The earlier browser goes before the new one comes.
    mHelpBrowser.reset();
    const QStringList searchPaths{QStringLiteral("docs/html"), QStringLiteral("Docs/html"), QStringLiteral(".")};
    mHelpBrowser = std::make_unique<HelpBrowser>(this, mAppName, searchPaths, QStringLiteral("overview.html"));
    mHelpBrowser->show();
}

void MainWindow::deleteTabs(TabDeletion when)
{
    if (when == DeleteNow) {
        for (const QPointer<QObject>& retired : std::as_const(mRetiredForms))
            delete retired.data();
        mRetiredForms.clear();
    }
    if (!mTabWidget)
        return;
    // The forms go first; the tab widget's own signals are ignored meanwhile.
    mSigningOut = 1;
    ZoTabWidget* tabs = mTabWidget;
    mTabWidget = nullptr;
    tabs->disconnect(this);
    QList<QWidget*> pages;
    for (int i = 0; i < tabs->count(); ++i)
        pages.append(tabs->widget(i));
    if (when == DeleteNow) {
        for (QWidget* page : std::as_const(pages))
            delete page;
        delete tabs;
    } else {
        // A form whose loop is on the stack finds itself gone through its
        // QPointer once the deferred deletion ran.
        mRetiredForms.removeIf([](const QPointer<QObject>& form) { return form.isNull(); });
        tabs->hide();
        ui->vboxLayout->removeWidget(tabs);
        for (QWidget* page : std::as_const(pages)) {
            mRetiredForms.append(page);
            page->deleteLater();
        }
        tabs->deleteLater();
    }
    mSigningOut = 0;
}

void MainWindow::signIn()
{
    ui->btnSignIn->setEnabled(false);
    // A network that failed earlier is tried again: the peer may be back. One
    // still starting is not waited for.
    if (mNetManager && !mNetManager->isNetworkStarting() && !mNetManager->isNetworkReady())
        mNetManager->startNetwork();
    LoginForm login(this);
    StartupProbe::markFirstPaint(&login, "signin");

    if (login.exec() != QDialog::Accepted) {
        ui->btnSignIn->show();
        ui->btnSignIn->setEnabled(true);
        ui->btnSignIn->setFocus();
    } else {
        setUpdatesEnabled(false);

        int offline = 0;
        ZoUser* user = mUserResource ? mUserResource->currentUser() : nullptr;
        QString userName = user ? user->username() : QString();
        if (!userName.isEmpty()) {
            settings.setValue(SettingsKeys::LastUser, userName);
            offline = login.offlineCheckState() != 0 ? 1 : 0;
            mOfflineSession = offline != 0;
            showUserLine(userName);
        }

        // A window signed in already gets fresh forms.
        deleteTabs();
        createTabWidget();

        Echo::line(QStringLiteral("Loading forms"));
        loadForms(0, offline);
        Echo::line(QStringLiteral("Done loading forms"));

        retranslateAllViews();

        ui->lblUsername1->show();
        mTabWidget->show();
        ui->actSignOut->setEnabled(true);
        ui->actSignIn->setEnabled(false);
        ui->btnSignIn->hide();
        ui->btnSignIn->setEnabled(false);

        setUpdatesEnabled(true);

        // The retranslation may have replaced the user object.
        user = mUserResource ? mUserResource->currentUser() : nullptr;
        userName = user ? user->username() : QString();
        const QString firstTimeKey = SettingsKeys::userKey(userName, QLatin1String("FirstTime"));
        if (!userName.isEmpty() && settings.value(firstTimeKey).toInt() != 0) {
            WelcomeForm welcome(this, QStringLiteral("docs"), QStringLiteral("%1/html/welcome.html"), 0);
            mWelcomeDialog = &welcome;
            welcome.exec();
            mWelcomeDialog = nullptr;
            settings.setValue(firstTimeKey, 0);
            settings.setValue(SettingsKeys::userKey(userName, QLatin1String("ShowGettingStarted")), 1);
        }

        updateUploadCount();
        ui->btnSuggestion->setEnabled(login.offlineCheckState() == Qt::Unchecked);
    }

    raise();
    activateWindow();
}

void MainWindow::signOut()
{
    // A form may process events while it closes; a second sign-out waits for none.
    if (mSigningOut)
        return;
    const QPointer<MainWindow> self(this);
    mSigningOut = 1;
    // Unsaved work is the forms' to keep: one that refuses keeps the user signed in.
    const bool agreed = formsAgreeToClose();
    if (!self)
        return;
    mSigningOut = 0;
    if (!agreed)
        return;

    // Nobody signed in: there is no name to remember.
    ZoUser* user = mUserResource ? mUserResource->currentUser() : nullptr;
    if (user)
        settings.setValue(SettingsKeys::LastUser, user->username());

    if (mAudio && (mAudio->isPlaying() || mAudio->isRecording()))
        mAudio->stop();
    removeTemporaryRecordings();

    deleteTabs();

    // The peer ends the session the user signed in with, also after a move to
    // offline mode; the network stays up for the next sign-in.
    if (mNetManager)
        mNetManager->stopNetwork();

    ui->lblUsername1->hide();
    ui->lblUsername2->setText(QString());

    ui->btnUpload->setEnabled(false);
    ui->btnSuggestion->setEnabled(false);
    ui->actSignOut->setEnabled(false);
    ui->actSignIn->setEnabled(true);
    ui->btnSignIn->show();
    ui->btnSignIn->setEnabled(true);

    ui->btnUpload->setText(tr("Upload (%1)").arg(0));
    ui->btnSignIn->setFocus();
}

void MainWindow::moveToOfflineMode()
{
    qCDebug(lcShell) << "Moving to Offline Mode...";

    // Without a network manager there is nothing to tell or to reset.
    if (mNetManager) {
        const bool offlineLogin = mNetManager->isOfflineLogin() != 0;
        const bool ready = mNetManager->isNetworkReady();
        if (offlineLogin != ready) {
            MessageBoxHelper::warning(
                this, mAppName,
                tr("The Vireda network is not accessible. To re-enable online features please\n"
                   "make sure you have a valid Internet connection, then sign out and sign in again."));
        }
    }

    QString label = ui->lblUsername2->text();
    label.replace(tr("(Online)"), tr("(Offline)"), Qt::CaseSensitive);
    ui->lblUsername2->setText(label);
    mOfflineSession = true;

    ui->btnUpload->setEnabled(false);
    ui->btnSuggestion->setEnabled(false);

    if (mNetManager) {
        mNetManager->resetServiceFlags();
        mNetManager->setOfflineLogin(1);
    }

    repaint();
    qCDebug(lcShell) << "Move To Offline Successful";
}

void MainWindow::suggestionButton_clicked()
{
    SuggestionForm suggestion(this);
    suggestion.exec();
}

void MainWindow::showUpload()
{
    // Only for a signed-in user with a store and a network.
    ZoUser* user = mUserResource ? mUserResource->currentUser() : nullptr;
    if (!user || !mDbManager || !mNetManager)
        return;

    UploadForm upload(this);
    mUploadDialog = &upload;
    if (upload.pendingCount() > 0 && mNetManager->isOfflineLogin() == 0) {
        // Escape and the close box answer Cancel: nothing is done.
        const int answer = MessageBoxHelper::show(MessageBoxHelper::Question, this, mAppName,
                                                  tr("Upload recently created content?\n"),
                                                  {tr("OK"), tr("Review"), tr("Cancel")}, 0, 2);
        if (answer == 0) {
            upload.upload();
        } else if (answer == 1) {
            upload.setupTable();
            upload.exec();
        }
    }
    updateUploadCount();
    mUploadDialog = nullptr;
}

void MainWindow::updateUploadCount()
{
    int count = 0;
    bool online = false;
    ZoUser* user = mUserResource ? mUserResource->currentUser() : nullptr;
    if (user && mDbManager && mNetManager) {
        // The store answers -1 when its count yields no row.
        count = qMax(0, mDbManager->uploadableCount(user->username()));
        online = mNetManager->isOfflineLogin() == 0;
    }
    ui->btnUpload->setText(tr("Upload (%1)").arg(count));
    ui->btnUpload->setEnabled(count > 0 && online);
}

void MainWindow::updateUploadCount(int)
{
    updateUploadCount();
}

void MainWindow::updateUploadCount(QString)
{
    updateUploadCount();
}
