#pragma once

#include "IForm.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ui_Finder.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class HelpBrowser;
class IDbManager;
class ILogResource;
class IMainWindow;
class INetManager;
class IResource;
class IStudyResource;
class IUserResource;
class LanguageComboHelper;
class QFrame;
class QMouseEvent;
class QResizeEvent;
class QScrollArea;
class QVBoxLayout;
class ZoDbHelper;
class ZoDownload;

// The search tab: searches the peer network for exercises and lessons, shows
// the results page by page and downloads the chosen ones.
class Finder : public QWidget, public IForm, public Ui::Finder
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "FormInterface/1.0")
    Q_INTERFACES(IForm)

public:
    enum Kind { Exercises = 0, Lessons = 1 };
    static constexpr int PageCount = 4;

    Finder();
    ~Finder() override;

    void init() override;
    int customRefresh() override;
    int updateViewLists() override;
    void retranslateView() override;
    int customLeave() override;
    void closeEvent(QCloseEvent* event) override;
    QString title() override;
    QString translationFileName(QString language) override;
    QWidget* widget() override;
    int tabIndex() override;
    void setMainWindow(IMainWindow* mainWindow) override;
    void refreshData() override;

public slots:
    int redrawView() override;
    void splitterModedProcess(int pos, int index);
    void mouseClickEvent(QMouseEvent* event);
    void btnHelpClicked();
    void clearDownloadedContent();
    void goToStudyTab();
    void searchMonitor();
    void downloadContent();
    void goToPage1();
    void goToPage2();
    void goToPage3();
    void goToPage4();
    void moveToOfflineMode();
    void downloadCompleteProcess(ZoDownload* download);
    void addDownloadBar(ZoDownload* download);
    void moveNextDownloadToHeadOfQueue();
    void enableClearDownloadedBtn();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // What a search asked for; page fetches reuse the last one of their kind.
    struct Query
    {
        bool valid = false;
        QString text;
        QString languageName;
    };

    int chosenKind() const;
    Query queryFromWidgets() const;
    void search(const Query& query);
    bool canSearch();
    bool acceptsQuery(int kind, const Query& query);
    void fetchPage(int kind, const Query& query, int* status, int* total);
    void showPageButtons(int total);
    void reportStatus(int status);
    void goOffline();
    void showPage(int page);
    void refreshTableData();
    void setTableHeaders(int kind);
    void clearTable();
    void clearResults();
    void markCurrentPage();
    void hidePageButtons();
    void fitDownloadFrame(int widthAdjust);
    void storeLanguage();
    QString userName() const;
    QString languageKey() const;
    int resultCount(int kind) const;
    void fitSearchKindBox();
    void information(const QString& text);
    // Starts the job at the head of the queue from the event loop.
    void scheduleHead();
    void runHead();
    void removeBar(int index);

    IMainWindow* mMainWindow = nullptr;
    INetManager* mNet = nullptr;
    IDbManager* mDb = nullptr;
    IUserResource* mUsers = nullptr;
    IResource* mLanguages = nullptr;
    ILogResource* mLog = nullptr;
    IStudyResource* mStudy = nullptr;
    std::unique_ptr<ZoDbHelper> mHelper;
    LanguageComboHelper* mLanguageHelper = nullptr;
    QString mTitle;
    bool mInitialized = false;

    QList<ZoExercise> mExercises;
    QList<ZoLesson> mLessons;
    QList<ZoExercise> mExercisePages[PageCount];
    QList<ZoLesson> mLessonPages[PageCount];
    Query mLastQuery[2];
    int mKindShown = Exercises;
    int mCurrentPage = 1;
    int mPageSize = 20;
    int mRowCount = 0;
    int mRowKind = Exercises;
    QString mShownUser;

    QList<ZoDownload*> mDownloads;
    int mHead = 0;
    bool mAdvancing = false;

    QPointer<HelpBrowser> mHelpBrowser;
    QScrollArea* mScrollArea = nullptr;
    QFrame* mDownloadFrame = nullptr;
    QVBoxLayout* mDownloadLayout = nullptr;
};
