#pragma once

#include "IMainWindow.h"

#include <QDir>
#include <QList>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class HelpBrowser;
class IAudio;
class IDbManager;
class IForm;
class INetManager;
class IResource;
class IUserResource;
class QApplication;
class QCloseEvent;
class QDialog;
class QResizeEvent;
class QSplashScreen;
class QTranslator;
class ZoDbFileManager;
class ZoTabWidget;

namespace Ui {
class MainWindow;
}

// The program's one top-level window: hosts the form plug-ins as tabs and
// owns the controls shared by every tab.
class MainWindow : public IMainWindow
{
    Q_OBJECT
    Q_INTERFACES(IMainWindow)

public:
    explicit MainWindow(QApplication* application);
    ~MainWindow() override;

    void loadGeneralPlugins() override;
    void loadForms(int level, int offline) override;
    void updateUploadCount() override;
    void updateUploadCount(int count) override;
    void updateUploadCount(QString userName) override;
    void moveToOfflineMode() override;

    void retranslateUi();
    void restoreWindowGeometry();

    // Default geometry for a desktop of the given size.
    static QRect defaultGeometry(const QSize& desktop);
    // Top-left corner of the sign-in button in a window of the given size.
    static QPoint signInButtonPosition(const QSize& window, const QSize& button);
    // A window frame moved (not resized) into the room of the screen; one
    // larger than the room keeps its top left corner in it.
    static QRect placedOnScreen(const QRect& frame, const QRect& room);
    // The frame of a window stored at `stored` (its frame's position, its
    // own size) made to fit the room: no larger, and on it.
    static QRect fittedFrame(const QRect& stored, const QMargins& frame, const QRect& room);

    // Sets "software/lastUILanguage" and retranslates everything.
    void setUiLanguage(const QString& language);

    IAudio* audio() const { return mAudio; }
    IDbManager* dbManager() const { return mDbManager; }
    INetManager* netManager() const { return mNetManager.get(); }
    IUserResource* userResource() const { return mUserResource; }
    IResource* languageResource() const { return mLanguageResource; }
    ZoTabWidget* tabWidget() const { return mTabWidget; }
    QStringList loadedPlugins() const { return mLoadedPlugins; }
    int currentTab() const { return mCurrentTab; }
    bool startupAborted() const { return mStartupAborted; }
    HelpBrowser* helpBrowser() const;
    // The form shown on a tab, or null when that page is not a form.
    IForm* formAt(int index) const;

signals:
    void fontChanged();

public slots:
    void updateAllViewLists() override;
    void retranslateAllViews() override;
    void refreshTabForms(int index) override;
    void sbFontSize_valueChanged(int size) override;
    void playbackVolumeSlider_valueChanged(int volume) override;
    void recordVolumeSlider_valueChanged(int volume) override;
    void suggestionButton_clicked() override;
    void finishInitialization() override;
    void showUpload();
    void signOut() override;
    void signIn() override;
    void about() override;
    void aboutPlugins() override;
    void help() override;
    void chooseLanguage();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    // Creates the (hidden) tab widget between the two rows, once.
    void createTabWidget();

    // The examiner of the local database file, run before the store loads.
    virtual std::unique_ptr<ZoDbFileManager> createDbFileManager();

private:
    void connectWidgets();
    void placeSignInButton();
    void installTranslators(const QString& language, QDir* translationDir);
    void installTranslator(const QDir& directory, const QString& fileName);
    void removeTranslators();
    void reloadCurrentUser();
    enum TabDeletion { DeleteLater, DeleteNow };
    // Takes the forms of the tabs and the tab widget out of the window and
    // deletes them: later (a form's loop may be on the stack), or at once at
    // shut-down.
    void deleteTabs(TabDeletion when = DeleteLater);
    // Hands every form a close event, as closing the window does; false when
    // one of them refuses.
    bool formsAgreeToClose();
    // Removes the temporary recordings of the signed-in user.
    void removeTemporaryRecordings();
    bool prepareDatabase();
    // The user line: the name with "(Online)" or "(Offline)" in the current language.
    void showUserLine(const QString& userName);
    void showSplashMessage(const QString& message);

    std::unique_ptr<Ui::MainWindow> ui;
    std::vector<std::unique_ptr<QTranslator>> mTranslators;
    QStringList mTranslationFiles;
    QSettings settings;
    // The "software/version" value: the title of the window and its boxes.
    QString mAppName;
    // The application's font, which IMainWindow::mFont points to.
    std::unique_ptr<QFont> mOwnedFont;
    std::unique_ptr<QSplashScreen> mSplash;
    ZoTabWidget* mTabWidget = nullptr;

    IAudio* mAudio = nullptr;
    IDbManager* mDbManager = nullptr;
    std::unique_ptr<INetManager> mNetManager;
    IUserResource* mUserResource = nullptr;
    IResource* mLanguageResource = nullptr;

    // Forms of an earlier sign-in that wait for their deferred deletion.
    QList<QPointer<QObject>> mRetiredForms;
    QStringList mLoadedPlugins;
    int mCurrentTab = 0;
    int mSwitchingTab = 0;
    int mSigningOut = 0;
    bool mInitialized = false;
    bool mStartupAborted = false;
    // The signed-in user works offline (signed in so, or moved there).
    bool mOfflineSession = false;

    std::unique_ptr<HelpBrowser> mHelpBrowser;
    QDialog* mWelcomeDialog = nullptr;
    QDialog* mUploadDialog = nullptr;
};
