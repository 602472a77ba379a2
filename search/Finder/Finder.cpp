#include "Finder.h"

#include "ColumnFit.h"
#include "ContentGate.h"
#include "DownloadStore.h"
#include "HelpBrowser.h"
#include "IDbManager.h"
#include "ILogResource.h"
#include "IMainWindow.h"
#include "INetManager.h"
#include "IResource.h"
#include "IStudyResource.h"
#include "IUserResource.h"
#include "LanguageComboHelper.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SearchLog.h"
#include "SearchRequest.h"
#include "SettingsKeys.h"
#include "TabIndex.h"
#include "ZoDbHelper.h"
#include "ZoDownload.h"
#include "ZoTableWidget.h"
#include "ZoTableWidgetItem.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRect>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QSplashScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace {

void processNonInputEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

Finder::Finder()
{
    setObjectName(QStringLiteral("Finder"));
}

Finder::~Finder()
{
    if (mInitialized) {
        QCloseEvent event;
        closeEvent(&event);
    }
}

void Finder::init()
{
    if (mInitialized)
        return;
    setupUi(this);
    fitSearchKindBox();
    mTitle = QSettings().value(SettingsKeys::Version).toString();

    mNet = PluginLocator::load<INetManager>(PluginFiles::Courier);
    mDb = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mUsers = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
    mLanguages = PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);
    mLog = PluginLocator::load<ILogResource>(PluginFiles::ZoLogResource);
    mStudy = PluginLocator::load<IStudyResource>(PluginFiles::ZoStudyResource);

    mHelper = std::make_unique<ZoDbHelper>();

    if (QDir(QStringLiteral("Icons")).exists()) {
        btnHelp->setNormalImage(QPixmap(QStringLiteral("Icons/smlNormalHelp.png")));
        btnHelp->setHighlightedImage(QPixmap(QStringLiteral("Icons/smlHighlightedHelp.png")));
    }
    btnDownload->setIcon(QIcon(QStringLiteral("Icons/download.png")));

    // The combo, "Add Language..." with the wizard and the stored choice.
    mLanguageHelper = new LanguageComboHelper(cmbLanguagesNative, LanguageComboHelper::SelectLanguage, mMainWindow);
    mLanguageHelper->setWizardParent(this);
    mLanguageHelper->setSettingKey(SettingsKeys::SearchLanguage, true);
    connect(lEditSearch, &QLineEdit::returnPressed, this, &Finder::searchMonitor);
    connect(btnSearch, &QPushButton::clicked, this, &Finder::searchMonitor);
    connect(btnHelp, &QToolButton::clicked, this, &Finder::btnHelpClicked);
    connect(btnDownload, &QPushButton::clicked, this, &Finder::downloadContent);
    connect(btnClear, &QPushButton::clicked, this, &Finder::clearDownloadedContent);
    connect(btnStudy, &QPushButton::clicked, this, &Finder::goToStudyTab);
    if (mMainWindow)
        connect(mMainWindow, SIGNAL(fontChanged()), this, SLOT(redrawView()));
    connect(tbl, &ZoTableWidget::signalClick, this, &Finder::mouseClickEvent);
    connect(tbl, &ZoTableWidget::zoItemDoubleClicked, this, &Finder::downloadContent);
    connect(btnPage1, &QPushButton::clicked, this, &Finder::goToPage1);
    connect(btnPage2, &QPushButton::clicked, this, &Finder::goToPage2);
    connect(btnPage3, &QPushButton::clicked, this, &Finder::goToPage3);
    connect(btnPage4, &QPushButton::clicked, this, &Finder::goToPage4);
    connect(splitterDownload, &QSplitter::splitterMoved, this, &Finder::splitterModedProcess);

    splitterDownload->setSizes({250, 550});
    btnDownload->setEnabled(false);
    btnClear->setEnabled(false);
    btnStudy->setEnabled(false);

    // The download list: a scroll area whose frame holds one bar per job.
    auto* fieldLayout = new QVBoxLayout(frmDownloadField);
    fieldLayout->setObjectName(QStringLiteral("vboxLayoutGroupField"));
    fieldLayout->setSpacing(0);
    fieldLayout->setContentsMargins(0, 0, 0, 0);
    mScrollArea = new QScrollArea(frmDownloadField);
    mScrollArea->setFrameShape(QFrame::StyledPanel);
    mScrollArea->setFrameShadow(QFrame::Sunken);
    mScrollArea->setBackgroundRole(QPalette::Base);
    mDownloadFrame = new QFrame();
    mDownloadFrame->setObjectName(QStringLiteral("frmDownloadObject"));
    mDownloadFrame->setFrameShape(QFrame::NoFrame);
    mDownloadFrame->setBackgroundRole(QPalette::Window);
    mDownloadFrame->setAutoFillBackground(true);
    mDownloadLayout = new QVBoxLayout(mDownloadFrame);
    mDownloadLayout->setObjectName(QStringLiteral("vboxLayoutFrame"));
    mDownloadLayout->setSpacing(0);
    mDownloadLayout->setContentsMargins(0, 0, 0, 0);
    mDownloadLayout->setAlignment(Qt::AlignTop);
    mScrollArea->setWidget(mDownloadFrame);
    fieldLayout->addWidget(mScrollArea);

    hidePageButtons();
    tbl->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    tbl->horizontalHeader()->setSortIndicatorShown(true);
    tbl->verticalHeader()->hide();
    tbl->setShowGrid(true);
    ColumnFit::of(tbl);

    mPageSize = 20;
    mRowCount = 0;
    mRowKind = Exercises;
    mInitialized = true;
    setTableHeaders(Exercises);
    redrawView();
}

int Finder::customRefresh()
{
    if (mNet && mNet->isOfflineLogin() != 0)
        moveToOfflineMode();
    if (lEditSearch)
        lEditSearch->setFocus();
    return 1;
}

QString Finder::userName() const
{
    ZoUser* user = mUsers ? mUsers->currentUser() : nullptr;
    return user ? user->username() : QString();
}

QString Finder::languageKey() const
{
    return SettingsKeys::userKey(userName(), SettingsKeys::SearchLanguage);
}

void Finder::storeLanguage()
{
    if (userName().isEmpty() || !mLanguages || !mLanguageHelper->hasLanguage())
        return;
    QSettings().setValue(languageKey(), mLanguages->idOf(mLanguageHelper->language()));
}

int Finder::updateViewLists()
{
    if (!mInitialized)
        return 0;
    return mLanguageHelper->fill(true) ? 1 : 0;
}

void Finder::retranslateView()
{
    if (!mInitialized)
        return;
    // The Designer texts; page buttons and the combo keep their state.
    const QString search = lEditSearch->text();
    retranslateUi(this);
    fitSearchKindBox();
    lEditSearch->setText(search);
    for (ZoDownload* bar : std::as_const(mDownloads))
        bar->retranslate();
    tbl->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    tbl->horizontalHeader()->setSortIndicatorShown(true);
    tbl->verticalHeader()->hide();
    tbl->setShowGrid(true);
    // The headers follow the kind of the rows shown.
    const int kind = mRowCount > 0 ? mRowKind : mKindShown;
    if (mRowCount > 0 && tbl->columnCount() == (kind == Lessons ? 6 : 5)) {
        const QStringList labels = kind == Lessons
                                       ? QStringList{QStringLiteral("pmid"), tr("Title"),     tr("Description"),
                                                     tr("Learner Level"),    tr("Exercises"), tr("Username")}
                                       : QStringList{QStringLiteral("pmid"), tr("Study Term"), tr("Country"),
                                                     tr("Locality"), tr("Voice")};
        tbl->setHorizontalHeaderLabels(labels);
    } else {
        setTableHeaders(kind);
    }
}

int Finder::customLeave()
{
    return 1;
}

void Finder::closeEvent(QCloseEvent* event)
{
    blockSignals(true);
    // A running poll sees its bar abandoned and returns; the bars go later.
    for (int i = int(mDownloads.size()) - 1; i >= 0; --i)
        removeBar(i);
    mHead = 0;
    if (mInitialized)
        storeLanguage();
    event->accept();
}

QString Finder::title()
{
    return tr("Search");
}

QString Finder::translationFileName(QString language)
{
    return QStringLiteral("search-") + language;
}

QWidget* Finder::widget()
{
    return this;
}

int Finder::tabIndex()
{
    return TabIndex::Search;
}

void Finder::setMainWindow(IMainWindow* mainWindow)
{
    mMainWindow = mainWindow;
}

void Finder::clearResults()
{
    mExercises.clear();
    mLessons.clear();
    for (int i = 0; i < PageCount; ++i) {
        mExercisePages[i].clear();
        mLessonPages[i].clear();
    }
    mLastQuery[Exercises] = Query();
    mLastQuery[Lessons] = Query();
}

void Finder::refreshData()
{
    if (!mInitialized)
        return;
    // Nobody signed in counts as a learner of its own.
    const QString name = userName();
    if (name != mShownUser) {
        // Another learner: nothing of the last one's searches stays.
        mShownUser = name;
        clearResults();
        clearTable();
        hidePageButtons();
        lEditSearch->clear();
        mCurrentPage = 1;
        btnDownload->setEnabled(false);
        // The stored language when this learner speaks it, else "Select Language".
        {
            const QSignalBlocker blocker(cmbLanguagesNative);
            cmbLanguagesNative->setCurrentIndex(0);
        }
        mLanguageHelper->fill(true);
    }
}

int Finder::redrawView()
{
    if (!mInitialized)
        return 1;
    if (mMainWindow && mMainWindow->mFont) {
        QFont bold(*mMainWindow->mFont);
        bold.setWeight(QFont::Bold);
        lblSearch->setFont(bold);
        btnStudy->setFont(bold);
    }
    fitSearchKindBox();
    if (resultCount(mKindShown) > 0)
        showPage(mCurrentPage);
    return 1;
}

void Finder::fitSearchKindBox()
{
    // At least 195 wide, wider as its two choices need in the current font.
    groupBox->setMinimumWidth(0);
    groupBox->setMinimumWidth(qMax(195, groupBox->minimumSizeHint().width()));
}

int Finder::resultCount(int kind) const
{
    return kind == Lessons ? mLessons.size() : mExercises.size();
}

void Finder::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!mInitialized)
        return;
    fitDownloadFrame(mScrollArea->verticalScrollBar()->isVisible() ? -22 : -4);
    if (mDownloadLayout->count() > 0) {
        if (QWidget* last = mDownloadLayout->itemAt(mDownloadLayout->count() - 1)->widget())
            mScrollArea->ensureWidgetVisible(last, 10, 10);
    }
    event->accept();
}

void Finder::splitterModedProcess(int, int)
{
    if (!mInitialized)
        return;
    const bool needsBar = mDownloadFrame->sizeHint().height() > mScrollArea->viewport()->height();
    fitDownloadFrame(needsBar ? -22 : -4);
}

// The download frame as wide as the scroll area's contents and as high as its bars.
void Finder::fitDownloadFrame(int widthAdjust)
{
    const int width = qMax(0, mScrollArea->width() - 2 * mScrollArea->frameWidth() + widthAdjust);
    mDownloadFrame->resize(width, mDownloadFrame->sizeHint().height());
}

void Finder::btnHelpClicked()
{
    delete mHelpBrowser;
    mHelpBrowser = new HelpBrowser(this, mTitle, {QStringLiteral("."), QStringLiteral("Docs/html")},
                                   QStringLiteral("searchtab.html"));
    mHelpBrowser->show();
}

void Finder::goToStudyTab()
{
    if (mMainWindow)
        mMainWindow->refreshTabForms(TabIndex::Study);
}

void Finder::removeBar(int index)
{
    ZoDownload* bar = mDownloads.takeAt(index);
    bar->abandon();
    bar->hide();
    if (mDownloadLayout)
        mDownloadLayout->removeWidget(bar);
    bar->deleteLater();
}

void Finder::clearDownloadedContent()
{
    for (int i = int(mDownloads.size()) - 1; i >= 0; --i) {
        if (mDownloads.at(i)->state() != ZoDownload::Idle)
            continue;
        removeBar(i);
        if (i < mHead)
            --mHead;
    }
    fitDownloadFrame(-4);
    btnClear->setEnabled(false);
}

void Finder::enableClearDownloadedBtn()
{
    btnClear->setEnabled(true);
}

void Finder::addDownloadBar(ZoDownload* download)
{
    download->setBackgroundRole(QPalette::Button);
    download->setAutoFillBackground(true);
    mDownloads.append(download);
    connect(download, &ZoDownload::downloadComplete, this, &Finder::downloadCompleteProcess);
    connect(download, &ZoDownload::signalMoveNextToHeadOfQueue, this, &Finder::moveNextDownloadToHeadOfQueue);
    connect(download, &ZoDownload::signalMoveToOfflineMode, this, &Finder::moveToOfflineMode);
    connect(download, &ZoDownload::enableClearDownloadedButton, this, &Finder::enableClearDownloadedBtn);
    mScrollArea->setUpdatesEnabled(false);
    mDownloadLayout->addWidget(download);
    download->show();
    fitDownloadFrame(-4);
    mScrollArea->ensureWidgetVisible(download, 10, 10);
    mScrollArea->setUpdatesEnabled(true);
}

void Finder::downloadCompleteProcess(ZoDownload* download)
{
    if (mStudy && !download->isCancelled()) {
        if (download->type() == QLatin1String("Exercise")) {
            mStudy->appendExercise(download->exercise().toHash());
        } else {
            const ZoLesson& lesson = download->lesson();
            qCDebug(lcSearch) << "lesson downloaded with" << lesson.exerciseCount() << "exercises";
            for (int n = 1; n <= lesson.exerciseCount(); ++n) {
                const int localId = mHelper->localIdOf(lesson.persistentExerciseId(n - 1));
                std::unique_ptr<ZoExercise> exercise(
                    localId > 0 && mDb ? mDb->getExercise(QStringLiteral("Exercise"), QString::number(localId))
                                       : nullptr);
                if (exercise)
                    mStudy->appendExercise(exercise->toHash());
            }
        }
    }
    if (mStudy)
        mStudy->setChanged(true);
    ++mHead;
    download->setState(ZoDownload::Idle);
    btnStudy->setEnabled(true);
    btnClear->setEnabled(true);
    scheduleHead();
}

void Finder::moveNextDownloadToHeadOfQueue()
{
    // A failure met while the queue advances is handled there.
    if (mAdvancing)
        return;
    if (mHead < mDownloads.size())
        mDownloads.at(mHead)->setState(ZoDownload::Idle);
    ++mHead;
    scheduleHead();
}

void Finder::scheduleHead()
{
    QTimer::singleShot(0, this, &Finder::runHead);
}

// The job at the head starts when it is queued; one cancelled while queued,
// or idled when the program went offline, is passed over.
void Finder::runHead()
{
    mAdvancing = true;
    while (mHead >= 0 && mHead < mDownloads.size()) {
        ZoDownload* bar = mDownloads.at(mHead);
        if (bar->state() == ZoDownload::Active)
            break;
        if (bar->state() == ZoDownload::Queued) {
            mAdvancing = false;
            bar->moveToHeadOfQueue();
            qCDebug(lcSearch) << "starting the next download of the queue";
            bar->start();
            return;
        }
        bar->setError(tr("Network Error."));
        bar->setState(ZoDownload::Idle);
        ++mHead;
    }
    mAdvancing = false;
}

void Finder::information(const QString& text)
{
    MessageBoxHelper::information(this, mTitle, text);
}

int Finder::chosenKind() const
{
    return rbSearchLessons->isChecked() ? Lessons : Exercises;
}

Finder::Query Finder::queryFromWidgets() const
{
    Query query;
    query.valid = true;
    query.text = lEditSearch->text();
    query.languageName = mLanguageHelper->language();
    return query;
}

void Finder::hidePageButtons()
{
    label->hide();
    btnPage1->hide();
    btnPage2->hide();
    btnPage3->hide();
    btnPage4->hide();
}

void Finder::markCurrentPage()
{
    QPushButton* buttons[PageCount] = {btnPage1, btnPage2, btnPage3, btnPage4};
    for (int i = 0; i < PageCount; ++i)
        buttons[i]->setFlat(i + 1 == mCurrentPage);
}

void Finder::searchMonitor()
{
    if (!mInitialized)
        return;
    QPointer<Finder> self(this);
    QElapsedTimer timer;
    timer.start();
    mCurrentPage = 1;
    const int kind = chosenKind();
    for (int i = 0; i < PageCount; ++i) {
        if (kind == Lessons)
            mLessonPages[i].clear();
        else
            mExercisePages[i].clear();
    }
    search(queryFromWidgets());
    if (!self)
        return;
    refreshTableData();
    if (mLog) {
        mLog->writeLine(QStringLiteral("Network Search (%1): In [%2] ms, [%3] results found, on: ")
                            .arg(kind == Exercises ? QStringLiteral("exerciseQuery") : QStringLiteral("lessonQuery"))
                            .arg(timer.elapsed())
                            .arg(tbl->rowCount())
                        + QDateTime::currentDateTime().toString(Qt::TextDate));
    }
}

void Finder::search(const Query& query)
{
    hidePageButtons();
    const int kind = chosenKind();
    if (!canSearch() || !acceptsQuery(kind, query))
        return;
    clearTable();
    QPointer<Finder> self(this);
    processNonInputEvents();
    if (!self)
        return;
    // Written only on success; a failed search has no total.
    int status = 0;
    int total = 0;
    fetchPage(kind, query, &status, &total);
    showPageButtons(total);
    reportStatus(status);
    if (self)
        markCurrentPage();
}

// The network manager is there, online and its search service started;
// otherwise the tab goes offline or says why.
bool Finder::canSearch()
{
    if (!mNet) {
        // Without a network manager the tab can only go offline.
        goOffline();
        return false;
    }
    if (mNet->isOfflineLogin() != 0) {
        information(tr("Please login online to enable search, upload and download."));
        return false;
    }
    if (!mNet->isQueryServiceStarted()) {
        goOffline();
        return false;
    }
    return true;
}

bool Finder::acceptsQuery(int kind, const Query& query)
{
    switch (SearchRequest::refusalOf(kind, query.text, query.languageName)) {
    case SearchRequest::NoTerms:
        information(tr("There were no search terms entered."));
        return false;
    case SearchRequest::NoLanguage:
        information(tr("No language selected."));
        return false;
    case SearchRequest::Accepted:
        break;
    }
    return true;
}

// Asks for the current page behind a splash screen and keeps its results.
void Finder::fetchPage(int kind, const Query& query, int* status, int* total)
{
    const QHash<QString, QString> criteria = SearchRequest::criteria(kind, query.text,
                                                                     mHelper->languageId(query.languageName), mPageSize,
                                                                     mCurrentPage);
    // The picture's words are drawn here, in the interface language.
    QPixmap picture(QStringLiteral("Icons/pleaseWait.png"));
    if (!picture.isNull()) {
        QPainter painter(&picture);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(22);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(0x1f, 0x5f, 0x8b));
        painter.drawText(QRect(100, 40, picture.width() - 108, 40), Qt::AlignLeft | Qt::AlignVCenter,
                         tr("Please wait..."));
    }
    auto splash = std::make_unique<QSplashScreen>(picture, Qt::WindowStaysOnTopHint);
    splash->setEnabled(false);
    splash->show();
    splash->showMessage(tr("Searching the Vireda Network..."), Qt::AlignHCenter | Qt::AlignBottom, Qt::black);
    mKindShown = kind;
    mLastQuery[kind] = query;
    const bool keep = mCurrentPage >= 1 && mCurrentPage <= PageCount;
    if (kind == Exercises) {
        mExercises = mNet->queryExercises(criteria, status, total);
        if (*status != 0 && keep)
            mExercisePages[mCurrentPage - 1] = mExercises;
    } else {
        mLessons = mNet->queryLessons(criteria, status, total);
        if (*status != 0 && keep)
            mLessonPages[mCurrentPage - 1] = mLessons;
    }
    splash->close();
    qCDebug(lcSearch) << "search of kind" << kind << "page" << mCurrentPage << "status" << *status << "total" << *total;
}

void Finder::showPageButtons(int total)
{
    QPushButton* buttons[PageCount] = {btnPage1, btnPage2, btnPage3, btnPage4};
    const int shown = SearchRequest::pageButtons(total, mPageSize, PageCount);
    if (shown > 0)
        label->show();
    for (int i = 0; i < shown; ++i)
        buttons[i]->show();
}

void Finder::reportStatus(int status)
{
    switch (SearchRequest::outcomeOf(status)) {
    case SearchRequest::Offline:
        goOffline();
        break;
    case SearchRequest::NoResults:
        information(tr("Search found no results."));
        break;
    case SearchRequest::PastLimit:
        MessageBoxHelper::warning(
            this, mTitle,
            tr("The reply to this search was refused because it is larger than the program accepts: more than %1 "
               "results, a lesson of more than %2 exercises, or more than %3 MB.\n"
               "Nothing of it is shown. Please search with other words.")
                .arg(ContentGate::MaxResultRows)
                .arg(ContentGate::MaxLessonMembers)
                .arg(ContentGate::MaxReplyBytes >> 20));
        break;
    case SearchRequest::ServiceDown:
        MessageBoxHelper::warning(this, mTitle,
                                  tr("The Vireda search service is not working right now.\n"
                                     "Please check your Internet connection and try again in a few minutes."));
        break;
    case SearchRequest::Shown:
        break;
    }
}

// The main window and then the tab go offline.
void Finder::goOffline()
{
    QPointer<Finder> self(this);
    if (mMainWindow)
        mMainWindow->moveToOfflineMode();
    if (self)
        moveToOfflineMode();
}

void Finder::goToPage1()
{
    showPage(1);
}

void Finder::goToPage2()
{
    showPage(2);
}

void Finder::goToPage3()
{
    showPage(3);
}

void Finder::goToPage4()
{
    showPage(4);
}

void Finder::showPage(int page)
{
    if (!mInitialized || page < 1 || page > PageCount)
        return;
    mCurrentPage = page;
    const int kind = chosenKind();
    mKindShown = kind;
    bool cached = false;
    if (kind == Lessons) {
        mLessons.clear();
        cached = !mLessonPages[page - 1].isEmpty();
        if (cached)
            mLessons = mLessonPages[page - 1];
    } else {
        mExercises.clear();
        cached = !mExercisePages[page - 1].isEmpty();
        if (cached)
            mExercises = mExercisePages[page - 1];
    }
    QPointer<Finder> self(this);
    if (!cached) {
        // A page belongs to the last search of its kind, whatever the widgets show now.
        search(mLastQuery[kind].valid ? mLastQuery[kind] : queryFromWidgets());
        if (!self)
            return;
    }
    markCurrentPage();
    clearTable();
    processNonInputEvents();
    if (!self)
        return;
    refreshTableData();
}

void Finder::setTableHeaders(int kind)
{
    tbl->setUpdatesEnabled(true);
    tbl->setColumnCount(0);
    QHeaderView* header = tbl->horizontalHeader();
    if (kind == Lessons) {
        tbl->setColumnCount(6);
        tbl->setHorizontalHeaderLabels({QStringLiteral("pmid"), tr("Title"), tr("Description"), tr("Learner Level"),
                                        tr("Exercises"), tr("Username")});
        for (int i = 0; i < 6; ++i)
            header->setSectionResizeMode(i, i == 1 || i == 2 ? QHeaderView::Stretch : QHeaderView::Interactive);
    } else {
        tbl->setColumnCount(5);
        tbl->setHorizontalHeaderLabels(
            {QStringLiteral("pmid"), tr("Study Term"), tr("Country"), tr("Locality"), tr("Voice")});
        for (int i = 0; i < 5; ++i)
            header->setSectionResizeMode(i, i == 1 ? QHeaderView::Stretch : QHeaderView::Interactive);
    }
    tbl->hideColumn(0);
    if (mMainWindow)
        tbl->verticalHeader()->setDefaultSectionSize(mMainWindow->mRowHeight);
    tbl->repaint();
    processNonInputEvents();
}

void Finder::clearTable()
{
    const bool sorting = tbl->isSortingEnabled();
    tbl->setSortingEnabled(false);
    tbl->clearContents();
    tbl->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tbl->setRowCount(0);
    mRowCount = 0;
    tbl->setSortingEnabled(sorting);
    tbl->repaint();
}

void Finder::refreshTableData()
{
    QPointer<Finder> self(this);
    const int kind = mKindShown;
    setTableHeaders(kind);
    if (!self)
        return;
    tbl->setUpdatesEnabled(false);
    // Rows are filled unsorted so that each row's cells stay together.
    tbl->setSortingEnabled(false);
    const int rows = resultCount(kind);
    tbl->setRowCount(rows);
    auto put = [this](int row, int column, const QString& text) {
        auto* item = new ZoTableWidgetItem(text);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        tbl->setItem(row, column, item);
    };
    if (kind == Exercises) {
        for (int row = 0; row < rows; ++row) {
            const ZoExercise& exercise = mExercises.at(row);
            put(row, 0, exercise.pId());
            put(row, 1, exercise.term());
            put(row, 2, exercise.country());
            put(row, 3, exercise.locality());
            put(row, 4, exercise.voice());
        }
    } else {
        for (int row = 0; row < rows; ++row) {
            const ZoLesson& lesson = mLessons.at(row);
            put(row, 0, lesson.pId());
            put(row, 1, lesson.title());
            put(row, 2, lesson.description());
            put(row, 3, mHelper->learnerLevelName(lesson.learnerLevel()));
            put(row, 4, QString::number(DownloadStore::memberCount(lesson)));
            put(row, 5, lesson.username());
        }
    }
    tbl->setSortingEnabled(true);
    mRowCount = rows;
    mRowKind = kind;
    btnDownload->setEnabled(false);
    tbl->setUpdatesEnabled(true);
    tbl->repaint();

    if (SearchRequest::isCutOff(mCurrentPage, rows, mPageSize, PageCount))
        information(tr("Not all results are shown. Please narrow your search to see more results."));
}

void Finder::mouseClickEvent(QMouseEvent* event)
{
    if (!event)
        return;
    if (tbl->itemAt(event->position().toPoint()))
        btnDownload->setEnabled(true);
    if (event->button() == Qt::RightButton && tbl->currentRow() >= 0) {
        QPointer<Finder> self(this);
        auto* menu = new QMenu(this);
        QAction* download = menu->addAction(tr("Download"));
        connect(download, &QAction::triggered, this, &Finder::downloadContent);
        menu->exec(QCursor::pos());
        if (self)
            menu->deleteLater();
    }
}

void Finder::downloadContent()
{
    if (!mInitialized || tbl->currentRow() < 0 || !tbl->item(tbl->currentRow(), 0))
        return;
    const QString pid = tbl->item(tbl->currentRow(), 0)->text();
    if (pid.isEmpty())
        return;
    ZoDownload* download = nullptr;
    if (mRowKind == Lessons) {
        for (const ZoLesson& lesson : std::as_const(mLessons)) {
            if (lesson.pId() == pid) {
                download = new ZoDownload(lesson);
                break;
            }
        }
    } else {
        for (const ZoExercise& exercise : std::as_const(mExercises)) {
            if (exercise.pId() == pid) {
                download = new ZoDownload(exercise);
                break;
            }
        }
    }
    // The table and the results disagree: nothing to download.
    if (!download)
        return;
    addDownloadBar(download);
    download->setMainWindow(mMainWindow);
    if (mDownloads.size() == mHead + 1)
        download->start();
    else
        download->queue();
}

void Finder::moveToOfflineMode()
{
    if (!mInitialized)
        return;
    for (int i = mHead + 1; i < mDownloads.size(); ++i)
        mDownloads.at(i)->setState(ZoDownload::Idle);
    if (mKindShown == Lessons)
        mLessons.clear();
    else
        mExercises.clear();
    refreshTableData();
    btnSearch->setEnabled(false);
    btnDownload->setEnabled(false);
    lEditSearch->clear();
    hidePageButtons();
}
