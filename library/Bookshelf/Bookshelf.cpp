#include "Bookshelf.h"

#include "HelpBrowser.h"
#include "IAudio.h"
#include "IDbManager.h"
#include "ILogResource.h"
#include "IMainWindow.h"
#include "IResource.h"
#include "IStudyResource.h"
#include "IUserResource.h"
#include "LanguageComboHelper.h"
#include "LessonRecords.h"
#include "LibraryInfoForm.h"
#include "LibraryLog.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "StoredExercises.h"
#include "TabIndex.h"
#include "WorkProgress.h"
#include "ZoQueryTable.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDateTime>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QProgressDialog>
#include <QSettings>
#include <QTextDocument>
#include <QTimer>

namespace {

// Study-list columns.
enum StudyColumn {
    ColId = 0,
    ColTerm,
    ColLanguage,
    ColCountry,
    ColStateProv,
    ColLocality,
    ColVoice,
    ColMediaPath,
    ColMediaName,
    StudyColumns
};

const char* const kStudyKeys[StudyColumns] = {"Id",       "Term",  "Language",  "Country",  "StateProv",
                                              "Locality", "Voice", "MediaPath", "MediaName"};

// A click this far from the term cell's left edge hits the minus icon.
const int kMinusZoneEnd = 15;
// How long the sound plug-in may take to report that playback started or ended.
const int kSoundWaitMs = 2000;
const int kFindAheadMs = 500;
const int kPlayPollMs = 50;
// In place of the exercise count while the list waits for the store's rows.
const QChar kPendingCount(0x2026);
// Criteria that select nothing, without a term search.
const QHash<QString, QString> kNoExercises{{QStringLiteral("IdList"), QString()}};

QString key(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

Bookshelf::Bookshelf() = default;

Bookshelf::~Bookshelf()
{
    // A table's destructor clears its view's selection, which reaches
    // refreshButtons: nothing may read the tables from here on.
    mInitialised = false;
    mExerciseTable.reset();
    mLessonTable.reset();
}

// ---- IForm ---------------------------------------------------------------

void Bookshelf::init()
{
    setupUi(this);
    connectControls();
    setUpSound();
    loadPlugins();
    setUpResultTables();
    setUpStudyTable();

    lEditSearchField->setFocus();
    mRefreshedOnce = 0;
    mSplashPending = 1;
    mSplash = QSettings().value(SettingsKeys::userKey(userName(), SettingsKeys::LibrarySplash), 0).toInt();
    mInitialised = true;
    retranslateView();
    updateViewLists();
    redrawView();
}

void Bookshelf::connectControls()
{
    btnClearStudylist->setEnabled(false);
    cmbLanguages->setDuplicatesEnabled(false);

    connect(btnFindAll, &QPushButton::clicked, this, &Bookshelf::findAll);
    connect(btnDelete, &QPushButton::clicked, this, &Bookshelf::deleteObject);
    // The helper takes the filter's choices, "Add Language..." included.
    mFilter = new LanguageComboHelper(cmbLanguages, LanguageComboHelper::AllLanguages, mHost);
    mFilter->setWizardParent(this);
    mFilter->setSettingKey(SettingsKeys::LibraryLanguage, true);
    connect(mFilter, &LanguageComboHelper::languageChosen, this, [this] { addLanguage(cmbLanguages->currentIndex()); });
    connect(btnStop, &QToolButton::clicked, this, &Bookshelf::stopSound);
    connect(btnPlay, &QToolButton::clicked, this, &Bookshelf::playSound);
    connect(btnClearStudylist, &QPushButton::clicked, this, &Bookshelf::clearStudylist);
    connect(btnStudyNow, &QPushButton::clicked, this, &Bookshelf::studyNow);
    connect(btnHelp, &QToolButton::clicked, this, &Bookshelf::btnHelpClicked);
    connect(btnAddAll, &QPushButton::clicked, this, &Bookshelf::slotAddAll);
    connect(btnAdd, &QPushButton::clicked, this, &Bookshelf::slotAdd);
    connect(btnRemove, &QPushButton::clicked, this, &Bookshelf::removeExerciseFromStudyList);
    connect(trWidgetResults, &QTreeWidget::currentItemChanged, this, &Bookshelf::currentItemChanged);
    connect(tblExercise, &QAbstractItemView::pressed, this, &Bookshelf::clearListSelection);
    connect(tblLesson, &QAbstractItemView::pressed, this, &Bookshelf::clearListSelection);
    connect(tblStudyList, &ZoTable::mousePress, this, &Bookshelf::clearSearchSelections);
    connect(tblExercise, &QAbstractItemView::clicked, this, &Bookshelf::exerciseClicked);
    connect(tblLesson, &QAbstractItemView::clicked, this, &Bookshelf::lessonClicked);
    connect(tblStudyList, qOverload<int, int, int, const QPoint&>(&ZoTable::clicked), this,
            &Bookshelf::studylistClicked);
    connect(tblExercise, &QAbstractItemView::doubleClicked, this, &Bookshelf::exerciseDoubleClicked);
    connect(tblLesson, &QAbstractItemView::doubleClicked, this, &Bookshelf::lessonDoubleClicked);
    connect(tblStudyList, qOverload<int, int, int, const QPoint&>(&ZoTable::doubleClicked), this,
            &Bookshelf::studylistTableDoubleClick);
    connect(tblExercise, &ZoTableView::signalRightClicked, this, &Bookshelf::exerciseRightClicked);
    connect(tblLesson, &ZoTableView::signalRightClicked, this, &Bookshelf::lessonRightClicked);
    connect(tblExercise, &ZoTableView::signalKeystroke, this, &Bookshelf::keyPressed);
    connect(tblLesson, &ZoTableView::signalKeystroke, this, &Bookshelf::keyPressed);
    connect(tblStudyList, &ZoTable::keyPress, this, &Bookshelf::refreshButtons);
    connect(tblExercise, &ZoTableView::signalChanged, this, &Bookshelf::refreshButtons);
    connect(tblLesson, &ZoTableView::signalChanged, this, &Bookshelf::refreshButtons);
    connect(lEditSearchField, &ZoLineEdit::gotFocus, this, &Bookshelf::lEditSearchFieldGotFocus);
    connect(lEditSearchField, &QLineEdit::textChanged, this, &Bookshelf::findAheadManager);
    connect(lEditSearchField, &QLineEdit::returnPressed, this, &Bookshelf::lEditSearchEnterPressed);

    mFindAheadTimer = new QTimer(this);
    mFindAheadTimer->setObjectName(QStringLiteral("findAheadTimer"));
    mFindAheadTimer->setSingleShot(true);
    connect(mFindAheadTimer, &QTimer::timeout, this, &Bookshelf::findAhead);
}

void Bookshelf::setUpSound()
{
    mPlayTimer = new QTimer(this);
    mPlayTimer->setObjectName(QStringLiteral("playStatusTimer"));
    connect(mPlayTimer, &QTimer::timeout, this, &Bookshelf::checkPlayStatus);
    mTitle = QSettings().value(SettingsKeys::Version).toString();

    mIconDir = QDir(QStringLiteral("Icons"));
    if (mIconDir.exists()) {
        btnHelp->setNormalImage(QPixmap(mIconDir.filePath(QStringLiteral("smlNormalHelp.png"))));
        btnHelp->setHighlightedImage(QPixmap(mIconDir.filePath(QStringLiteral("smlHighlightedHelp.png"))));
        btnPlay->setIcon(QIcon(mIconDir.filePath(QStringLiteral("play_act.png"))));
        btnStop->setIcon(QIcon(mIconDir.filePath(QStringLiteral("stop_act.png"))));
    }
    mSoundDir.clear();
    mSoundFile.clear();
}

void Bookshelf::loadPlugins()
{
    mAudio = PluginLocator::load<IAudio>(PluginFiles::ZoAudio);
    mStore = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mUsers = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
    mStudy = PluginLocator::load<IStudyResource>(PluginFiles::ZoStudyResource);
    mLanguages = PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);
    mLog = PluginLocator::load<ILogResource>(PluginFiles::ZoLogResource);
    // A store that reads its exercise rows in the background says when they are in.
    QObject* store = mStore ? PluginLocator::instance(PluginFiles::Storekeeper) : nullptr;
    if (store && store->metaObject()->indexOfSignal("exerciseRowsReady()") >= 0) {
        mStoreObject = store;
        connect(store, SIGNAL(exerciseRowsReady()), this, SLOT(exerciseRowsReady()));
    }
}

void Bookshelf::setUpResultTables()
{
    splitter->setSizes({300, 300});
    splitterResults->setSizes({100, 600});
    trWidgetResults->setColumnCount(1);
    tblLesson->hide();
    resetResultTree();

    mExerciseTable = std::make_unique<ZoQueryTable>(tblExercise, this, mStore);
    mLessonTable = std::make_unique<ZoQueryTable>(tblLesson, this, mStore);
    mPlusIcon = QPixmap(mIconDir.filePath(QStringLiteral("plusSign.png")));
    mMinusIcon = QPixmap(mIconDir.filePath(QStringLiteral("minusSign.png")));
    mExerciseTable->setIconColumn(0, &mPlusIcon);
    mLessonTable->setIconColumn(0, &mPlusIcon);
    tblExercise->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
    tblLesson->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
}

void Bookshelf::setUpStudyTable()
{
    tblStudyList->viewport()->setMouseTracking(true);
    tblStudyList->setLeftMargin(0);
    tblStudyList->setNumCols(StudyColumns);
    tblStudyList->setReadOnly(true);
    tblStudyList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblStudyList->verticalHeader()->setSectionsMovable(false);
    tblStudyList->setSingleRowSelection();
    for (int column : {int(ColId), int(ColMediaPath), int(ColMediaName)})
        tblStudyList->setColumnHidden(column, true);
    tblStudyList->setColumnWidth(ColTerm, 350);
    for (int column = ColLanguage; column <= ColVoice; ++column)
        tblStudyList->setColumnWidth(column, 80);
}

int Bookshelf::customRefresh()
{
    if (!mInitialised)
        return 1;
    qCDebug(lcLibrary, "Library Custom Refresh");
    if (mRefreshedOnce == 1 && mSplash == 1 && mSplashPending == 1) {
        qCDebug(lcLibrary, "Library Custom Refresh not first refresh call");
        mSplashPending = 0;
        QPointer<Bookshelf> self(this);
        QPointer<LibraryInfoForm> info = new LibraryInfoForm(this);
        info->exec();
        if (!self)
            return 0;
        if (info)
            info->deleteLater();
    }
    if (mStudy && (mStudy->isChanged() || !studyTableMirrorsList())) {
        rebuildStudyList();
        mStudy->setChanged(false);
    }
    searchLocal();
    lEditSearchField->setFocus();
    mRefreshedOnce = 1;
    refreshButtons();
    return 1;
}

int Bookshelf::updateViewLists()
{
    if (!mInitialised || !mUsers || !mUsers->currentUser())
        return 1;
    const QString before = mFilterFilled ? cmbLanguages->currentText() : QString();
    mFilter->fill(false);
    // A language that is gone leaves "All Languages": the results follow.
    if (mFilterFilled && !before.isEmpty() && before != cmbLanguages->currentText())
        searchLocal();
    mFilterFilled = true;
    return 1;
}

void Bookshelf::retranslateView()
{
    if (!mInitialised)
        return;
    tblStudyList->setUpdatesEnabled(false);
    tblStudyList->setColumnLabels({tr("Id"), tr("Study Term"), tr("Language"), tr("Country"), tr("State/Province"),
                                   tr("Locality"), tr("Voice"), tr("MediaPath"), tr("MediaName")});
    tblStudyList->setUpdatesEnabled(true);
    tblStudyList->update();

    // The Designer texts replace the filter's items: the user's list comes back.
    const int index = cmbLanguages->currentIndex();
    QStringList items;
    for (int i = 0; i < cmbLanguages->count(); ++i)
        items << cmbLanguages->itemText(i);
    {
        const QSignalBlocker blocker(cmbLanguages);
        retranslateUi(this);
        cmbLanguages->clear();
        cmbLanguages->addItems(items);
        cmbLanguages->setCurrentIndex(index);
    }
    if (mFilterFilled)
        mFilter->fill(false);
    trWidgetResults->setHeaderLabel(tr("Content"));
    updateResultCounts();
}

int Bookshelf::customLeave()
{
    if (soundActive()) {
        mPlayTimer->stop();
        mPlayStarting = false;
        mPendingPlay = false;
        mAudio->stop();
        refreshButtons();
    }
    return 1;
}

void Bookshelf::closeEvent(QCloseEvent* event)
{
    event->accept();
}

QString Bookshelf::title()
{
    return tr("Library");
}

QString Bookshelf::translationFileName(QString language)
{
    return QStringLiteral("library-") + language;
}

QWidget* Bookshelf::widget()
{
    return this;
}

int Bookshelf::tabIndex()
{
    return TabIndex::Library;
}

void Bookshelf::setMainWindow(IMainWindow* mainWindow)
{
    if (mHost)
        disconnect(mHost, nullptr, this, nullptr);
    mHost = mainWindow;
    if (mFilter)
        mFilter->setMainWindow(mainWindow);
    if (mainWindow)
        connect(mainWindow, SIGNAL(fontChanged()), this, SLOT(redrawView()));
}

void Bookshelf::refreshData()
{
    if (!mInitialised)
        return;
    const QString name = userName();
    if (mShownUserSet && name == mShownUser) {
        // The same user (a change of interface language): keep the study
        // list and the selections, read the lists again.
        const QStringList exercises = selectedIds(mExerciseTable.get());
        const QStringList lessons = selectedIds(mLessonTable.get());
        syncStudyList();
        searchLocal();
        reselect(tblExercise, exercises);
        reselect(tblLesson, lessons);
        refreshButtons();
        return;
    }
    mShownUser = name;
    mShownUserSet = true;

    tblExercise->clearSelection();
    tblLesson->clearSelection();
    mSoundDir.clear();
    mSoundFile.clear();
    btnPlay->setEnabled(false);
    clearStudylist();
    mExerciseCount = 0;
    mLessonCount = 0;
    resetResultTree();

    // The language this user chose last; without one (or one they no longer
    // have) "All Languages", never the filter of the learner before.
    {
        const QSignalBlocker blocker(cmbLanguages);
        cmbLanguages->setCurrentIndex(0);
    }
    mFilter->fill(true);
    mFilterFilled = true;
    searchLocal();
    if (QTreeWidgetItem* exercises = resultItem(0)) {
        trWidgetResults->setCurrentItem(exercises);
        exercises->setSelected(true);
    }
}

int Bookshelf::redrawView()
{
    if (!mInitialised)
        return 1;
    tblStudyList->redrawTable();
    if (mHost && mHost->mFont) {
        QFont bold(*mHost->mFont);
        bold.setWeight(QFont::Bold);
        lblFindContent->setFont(bold);
        QFont larger(bold);
        larger.setPointSize(bold.pointSize() + 2);
        btnStudyNow->setFont(larger);
        QFont heading(bold);
        heading.setPointSize(mHost->mFont->pointSize() + 5);
        lblStudylist->setFont(heading);
        // The fixed heights hold the display font.
        lblFindContent->setMaximumHeight(qMax(15, QFontMetrics(bold).height()));
        label_3->setMaximumHeight(qMax(15, QFontMetrics(label_3->font()).height()));
        lblStudylist->setMaximumHeight(qMax(20, QFontMetrics(heading).height()));
    }
    return 1;
}

// ---- Helpers ---------------------------------------------------------------

QString Bookshelf::userName() const
{
    ZoUser* user = mUsers ? mUsers->currentUser() : nullptr;
    return user ? user->username() : QString();
}

QTreeWidgetItem* Bookshelf::resultItem(int index)
{
    return index < trWidgetResults->topLevelItemCount() ? trWidgetResults->topLevelItem(index) : nullptr;
}

bool Bookshelf::exercisesShown() const
{
    return trWidgetResults->indexOfTopLevelItem(trWidgetResults->currentItem()) != 1;
}

void Bookshelf::resetResultTree()
{
    const QSignalBlocker blocker(trWidgetResults);
    trWidgetResults->clear();
    trWidgetResults->setHeaderLabel(tr("Content"));
    trWidgetResults->addTopLevelItem(new QTreeWidgetItem(QStringList(tr("Exercises (%1)").arg(mExerciseCount))));
    trWidgetResults->addTopLevelItem(new QTreeWidgetItem(QStringList(tr("Lessons (%1)").arg(mLessonCount))));
}

void Bookshelf::updateResultCounts()
{
    if (QTreeWidgetItem* item = resultItem(0))
        item->setText(0, mExercisesPending ? tr("Exercises (%1)").arg(kPendingCount)
                                           : tr("Exercises (%1)").arg(mExerciseCount));
    if (QTreeWidgetItem* item = resultItem(1))
        item->setText(0, tr("Lessons (%1)").arg(mLessonCount));
}

QHash<QString, QString> Bookshelf::filterCriteria(const QString& textKey) const
{
    QHash<QString, QString> criteria;
    criteria.insert(textKey, lEditSearchField->text());
    if (mFilter->hasLanguage())
        criteria.insert(QStringLiteral("Language"), mFilter->language());
    return criteria;
}

QStringList Bookshelf::selectedIds(ZoQueryTable* table) const
{
    QStringList ids;
    if (!table)
        return ids;
    for (int row : table->selectedRows())
        ids << table->rowData(row).value(QStringLiteral("Id"));
    return ids;
}

void Bookshelf::reselect(QTableView* view, const QStringList& ids)
{
    if (ids.isEmpty() || !view->model())
        return;
    QAbstractItemModel* model = view->model();
    QItemSelection selection;
    for (int row = 0; row < model->rowCount(); ++row) {
        if (ids.contains(model->index(row, 0).data().toString()))
            selection.select(model->index(row, 0), model->index(row, model->columnCount() - 1));
    }
    if (!selection.isEmpty())
        view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// ---- Search ----------------------------------------------------------------

int Bookshelf::runQuery(ZoQueryTable* table, QTableView* view, const QString& type, const QString& textKey,
                        bool applyCriteria, const QHash<QString, QString>& otherwise)
{
    stopSound();
    const int rowHeight = mHost ? mHost->mRowHeight : 25;
    table->query(type, applyCriteria ? filterCriteria(textKey) : otherwise, rowHeight);
    return view->verticalHeader()->count();
}

bool Bookshelf::storeReadingRows() const
{
    return mStoreObject && mStoreObject->property("exerciseRowsLoading").toBool();
}

void Bookshelf::searchExercises(bool applyCriteria)
{
    if (storeReadingRows()) {
        // Listed once the store has its rows: a search now would hold the
        // window until then. The list stays empty meanwhile.
        if (!mExercisesPending)
            mPendingSelection = selectedIds(mExerciseTable.get());
        mExercisesPending = true;
        mPendingCriteria = applyCriteria;
        runQuery(mExerciseTable.get(), tblExercise, QStringLiteral("Exercise"), QString(), false, kNoExercises);
        mExerciseCount = 0;
        updateResultCounts();
        refreshButtons();
        return;
    }
    mExercisesPending = false;
    mExerciseCount = runQuery(mExerciseTable.get(), tblExercise, QStringLiteral("Exercise"), QStringLiteral("Term"),
                              applyCriteria);
    updateResultCounts();
    refreshButtons();
}

void Bookshelf::exerciseRowsReady()
{
    if (!mInitialised || !mExercisesPending || storeReadingRows())
        return;
    const QStringList selection = mPendingSelection;
    mPendingSelection.clear();
    QElapsedTimer timer;
    timer.start();
    searchExercises(mPendingCriteria);
    qCDebug(lcLibrary).noquote() << QStringLiteral("[Exercise] [%1 ms] [%2] once the store's rows were in")
                                        .arg(timer.elapsed())
                                        .arg(mExerciseCount);
    reselect(tblExercise, selection);
    refreshButtons();
}

void Bookshelf::searchLessons(bool applyCriteria)
{
    mLessonCount = runQuery(mLessonTable.get(), tblLesson, QStringLiteral("Lesson"), QStringLiteral("Title"),
                            applyCriteria);
    updateResultCounts();
    refreshButtons();
}

void Bookshelf::searchLocal()
{
    if (!mInitialised)
        return;
    QElapsedTimer timer;
    timer.start();
    searchExercises(true);
    qCDebug(lcLibrary).noquote() << QStringLiteral("[Exercise] [%1 ms] [%2]").arg(timer.elapsed()).arg(mExerciseCount)
                                 << QDateTime::currentDateTime().toString(Qt::TextDate);
    timer.restart();
    searchLessons(true);
    qCDebug(lcLibrary).noquote() << QStringLiteral("[Lesson] [%1 ms] [%2]").arg(timer.elapsed()).arg(mLessonCount)
                                 << QDateTime::currentDateTime().toString(Qt::TextDate);
}

void Bookshelf::findAheadManager()
{
    // A new keystroke starts the wait again.
    mFindAheadTimer->start(kFindAheadMs);
}

void Bookshelf::findAhead()
{
    mFindAheadTimer->stop();
    searchLocal();
}

void Bookshelf::lEditSearchEnterPressed()
{
    mFindAheadTimer->stop();
    searchLocal();
}

void Bookshelf::findAll()
{
    {
        const QSignalBlocker blocker(lEditSearchField);
        lEditSearchField->clear();
    }
    mFindAheadTimer->stop();
    searchLocal();
    lEditSearchField->setFocus();
}

// ---- Selections and focus ----------------------------------------------------

void Bookshelf::lEditSearchFieldGotFocus()
{
    tblExercise->clearSelection();
    tblStudyList->clearSelection();
    refreshButtons();
    lEditSearchField->setFocus();
}

void Bookshelf::clearSearchSelections()
{
    tblExercise->clearSelection();
    tblLesson->clearSelection();
    refreshButtons();
}

void Bookshelf::clearListSelection()
{
    tblStudyList->clearSelection();
}

void Bookshelf::currentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem*)
{
    const int index = trWidgetResults->indexOfTopLevelItem(current);
    if (index == 0) {
        tblLesson->hide();
        tblExercise->show();
        btnAddAll->show();
    } else if (index == 1) {
        tblExercise->hide();
        tblLesson->show();
        btnAddAll->hide();
    }
    refreshButtons();
}

void Bookshelf::keyPressed(QKeyEvent* event)
{
    if (!event)
        return;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (btnAdd->isEnabled())
            slotAdd();
        break;
    case Qt::Key_Delete:
        if (btnDelete->isEnabled())
            deleteObject();
        break;
    default:
        break;
    }
}

// ---- Language filter ---------------------------------------------------------

void Bookshelf::addLanguage(int)
{
    // The helper has stored the choice ("users/<name>/LibraryLanguage") and
    // run the wizard for "Add Language...".
    searchLocal();
}

// ---- Buttons ------------------------------------------------------------------

void Bookshelf::studyNow()
{
    if (mHost)
        mHost->refreshTabForms(TabIndex::Study);
}

void Bookshelf::btnHelpClicked()
{
    delete mHelp;
    mHelp = new HelpBrowser(this, mTitle, {QStringLiteral("."), QStringLiteral("Docs/html")},
                            QStringLiteral("librarytab.html"));
    mHelp->setAttribute(Qt::WA_DeleteOnClose);
    mHelp->show();
}

bool Bookshelf::soundActive()
{
    return mAudio && (mPlayStarting || mPendingPlay || mAudio->isPlaying());
}

void Bookshelf::refreshButtons()
{
    if (!mInitialised)
        return;
    const bool playing = soundActive();
    if (!playing)
        btnStop->setEnabled(false);
    const bool haveStudyRows = tblStudyList->rowCount() > 0;
    btnClearStudylist->setEnabled(haveStudyRows);
    btnStudyNow->setEnabled(haveStudyRows);
    const bool exercises = exercisesShown();
    if (exercises) {
        btnAddAll->show();
        btnAddAll->setEnabled(tblExercise->verticalHeader()->count() > 0);
    } else {
        btnAddAll->hide();
    }

    const int studyRow = tblStudyList->currentRow();
    if (studyRow >= 0 && tblStudyList->selectionModel()->hasSelection()) {
        btnDelete->setEnabled(false);
        btnAdd->setEnabled(false);
        btnRemove->setEnabled(true);
        tblStudyList->setFocus();
        setSoundFromStudyRow(studyRow);
        btnPlay->setEnabled(mAudio && !playing && mAudio->fileExists(mSoundDir, mSoundFile));
        return;
    }

    btnRemove->setEnabled(false);
    if (!exercises) {
        btnPlay->setEnabled(false);
        const bool selected = !mLessonTable->selectedRows().isEmpty();
        btnDelete->setEnabled(selected);
        btnAdd->setEnabled(selected);
        if (selected)
            tblLesson->setFocus();
        return;
    }
    const QList<int> rows = mExerciseTable->selectedRows();
    if (rows.isEmpty()) {
        btnPlay->setEnabled(false);
        btnDelete->setEnabled(false);
        btnAdd->setEnabled(false);
    } else if (rows.size() > 1) {
        btnPlay->setEnabled(false);
        btnDelete->setEnabled(true);
        btnAdd->setEnabled(true);
        tblExercise->setFocus();
    } else {
        const Record record = mExerciseTable->rowData(rows.first());
        mSoundDir = record.value(QStringLiteral("MediaPath"));
        mSoundFile = record.value(QStringLiteral("MediaName"));
        btnPlay->setEnabled(mAudio && !playing && mAudio->fileExists(mSoundDir, mSoundFile));
        btnDelete->setEnabled(true);
        btnAdd->setEnabled(true);
        tblExercise->setFocus();
    }
}

// ---- Deletion -------------------------------------------------------------------

void Bookshelf::deleteObject()
{
    if (exercisesShown())
        deleteExercises();
    else
        deleteLessons();
}

QString Bookshelf::lessonTitleOf(const Record& record) const
{
    const QString translated = QCoreApplication::translate("ZoDbLesson", "Lesson Title");
    if (record.contains(translated))
        return record.value(translated);
    return record.value(QStringLiteral("Lesson Title"));
}

bool Bookshelf::isLessonMember(const QString& exerciseId, QHash<QString, bool>* known)
{
    if (known->isEmpty()) {
        // Every exercise id some lesson holds; a marker keeps the table non-empty.
        known->insert(QString(), false);
        const auto lessons = mStore->search(QStringLiteral("Lesson"), {{QStringLiteral("Title"), QString()}});
        for (const QString& id : LessonRecords::allMembers(lessons))
            known->insert(id, true);
    }
    return known->value(exerciseId, false);
}

void Bookshelf::deleteExercises()
{
    QStringList ids;
    QString term;
    const QList<int> rows = mExerciseTable->selectedRows();
    for (int row : rows) {
        const Record record = mExerciseTable->rowData(row);
        ids << record.value(QStringLiteral("Id"));
        term = record.value(QStringLiteral("Term"));
    }
    if (ids.isEmpty() || !mStore)
        return;
    const QString question = ids.size() == 1 ? tr("Do you want to permanently delete the Exercise '%1'?").arg(term)
                                             : tr("Do you want to permanently delete the selected Exercises?");
    QPointer<Bookshelf> self(this);
    const int answer = MessageBoxHelper::question(this, mTitle, question, {tr("Yes"), tr("Cancel")});
    if (!self)
        return;
    if (answer != 0) {
        refreshButtons();
        return;
    }

    QPointer<QProgressDialog> progress = new QProgressDialog(tr("Deleting..."), tr("Abort"), 0, int(ids.size()), this);
    progress->setWindowTitle(mTitle);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(1000);
    int deleted = 0;
    int removedFromStudy = 0;
    int inLessons = 0;
    int otherwise = 0;
    QHash<QString, bool> lessonMembers;
    for (int i = 0; i < ids.size(); ++i) {
        if (!progress || progress->wasCanceled())
            break;
        progress->setValue(i);
        if (!self || !progress)
            return;
        const QString id = ids.at(i);
        if (mStore->remove(QStringLiteral("Exercise"), {id})) {
            ++deleted;
            if (mStudy)
                removedFromStudy += mStudy->removeById(id);
        } else if (isLessonMember(id, &lessonMembers)) {
            ++inLessons;
        } else {
            ++otherwise;
        }
        QCoreApplication::processEvents();
        if (!self)
            return;
        if (progress && progress->wasCanceled())
            progress->hide();
    }
    if (progress) {
        progress->setValue(int(ids.size()));
        progress->hide();
        progress->deleteLater();
    }
    if (deleted > 0) {
        if (removedFromStudy > 0)
            syncStudyList();
        if (mHost)
            mHost->updateUploadCount();
        searchExercises(true);
    }
    if (inLessons > 0)
        MessageBoxHelper::information(this, mTitle,
                                      tr("Exercise is found in one or more Lessons and could not be deleted."));
    if (!self)
        return;
    if (otherwise > 0)
        MessageBoxHelper::information(this, mTitle, tr("%n Exercise(s) could not be deleted.", nullptr, otherwise));
    if (self)
        refreshButtons();
}

void Bookshelf::deleteLessons()
{
    QStringList ids;
    QString title;
    for (int row : mLessonTable->selectedRows()) {
        const Record record = mLessonTable->rowData(row);
        ids << record.value(QStringLiteral("Id"));
        title = lessonTitleOf(record);
    }
    if (ids.isEmpty() || !mStore)
        return;
    const QString question = ids.size() == 1 ? tr("Do you want to permanently delete the Lesson '%1'?").arg(title)
                                             : tr("Do you want to permanently delete the selected Lessons?");
    QPointer<Bookshelf> self(this);
    const int answer = MessageBoxHelper::question(this, mTitle, question, {tr("Yes"), tr("Cancel")});
    if (!self)
        return;
    if (answer != 0) {
        refreshButtons();
        return;
    }
    mStore->remove(QStringLiteral("Lesson"), ids);
    if (mHost)
        mHost->updateUploadCount();
    searchLessons(true);
}

// ---- Context menus --------------------------------------------------------------

void Bookshelf::runMenu(const QList<MenuItem>& items)
{
    QMenu menu(this);
    QHash<QAction*, void (Bookshelf::*)()> handlers;
    for (const MenuItem& item : items) {
        if (!item.button) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.text);
        action->setEnabled(item.button->isEnabled());
        handlers.insert(action, item.slot);
    }
    QPointer<Bookshelf> self(this);
    QAction* chosen = menu.exec(QCursor::pos());
    if (self && handlers.contains(chosen))
        (this->*handlers.value(chosen))();
}

void Bookshelf::exerciseRightClicked()
{
    refreshButtons();
    runMenu({{tr("Play"), btnPlay, &Bookshelf::playSound},
             {tr("Stop"), btnStop, &Bookshelf::stopSound},
             {},
             {tr("Delete"), btnDelete, &Bookshelf::deleteObject},
             {},
             {tr("Add"), btnAdd, &Bookshelf::slotAdd},
             {tr("Add All"), btnAddAll, &Bookshelf::slotAddAll}});
}

void Bookshelf::lessonRightClicked()
{
    refreshButtons();
    runMenu({{tr("Delete"), btnDelete, &Bookshelf::deleteObject}, {}, {tr("Add"), btnAdd, &Bookshelf::slotAdd}});
}

// ---- Study list -------------------------------------------------------------------

void Bookshelf::appendStudyRow(const Record& record)
{
    const int row = tblStudyList->rowCount();
    tblStudyList->insertRows(row, 1);
    for (int column = 0; column < StudyColumns; ++column) {
        const QString text = record.value(key(kStudyKeys[column]));
        if (column == ColTerm)
            tblStudyList->setFixedItem(row, column, text, mMinusIcon);
        else
            tblStudyList->setFixedItem(row, column, text);
    }
}

void Bookshelf::rebuildStudyList()
{
    tblStudyList->clearSelection();
    tblStudyList->setNumRows(0);
    if (mStudy) {
        const int count = mStudy->count();
        tblStudyList->setUpdatesEnabled(false);
        for (int i = 0; i < count; ++i)
            appendStudyRow(mStudy->exerciseAt(i));
        tblStudyList->setUpdatesEnabled(true);
    }
    tblStudyList->redrawTable();
    tblStudyList->clearSelection();
}

bool Bookshelf::studyTableMirrorsList() const
{
    if (!mStudy)
        return true;
    if (mStudy->count() != tblStudyList->rowCount())
        return false;
    const QStringList ids = mStudy->ids();
    for (int row = 0; row < ids.size(); ++row) {
        if (ids.at(row) != tblStudyList->text(row, ColId))
            return false;
    }
    return true;
}

void Bookshelf::syncStudyList()
{
    if (!mStudy || studyTableMirrorsList())
        return;
    rebuildStudyList();
    mStudy->setChanged(false);
}

bool Bookshelf::studyRowStillShown(int row)
{
    if (!mStudy || studyTableMirrorsList())
        return row >= 0 && row < tblStudyList->rowCount();
    const QString id = tblStudyList->text(row, ColId);
    rebuildStudyList();
    mStudy->setChanged(false);
    return row >= 0 && row < mStudy->count() && !id.isEmpty() && mStudy->idAt(row) == id;
}

void Bookshelf::removeStudyRow(int row)
{
    if (row < 0 || !studyRowStillShown(row))
        return;
    if (mStudy)
        mStudy->removeAt(row);
    tblStudyList->removeRow(row);
    if (row < tblStudyList->rowCount())
        tblStudyList->setCurrentCell(row, ColTerm);
    refreshButtons();
}

void Bookshelf::removeExerciseFromStudyList()
{
    removeStudyRow(tblStudyList->currentRow());
}

void Bookshelf::clearStudylist()
{
    tblStudyList->clearSelection();
    tblStudyList->setNumRows(0);
    tblStudyList->setShowGrid(true);
    tblStudyList->setSingleRowSelection();
    tblStudyList->setCurrentCell(-1, -1);
    tblStudyList->setUpdatesEnabled(true);
    tblStudyList->repaint();
    if (mStudy) {
        mStudy->clearList();
        mStudy->setChanged(false);
    }
    refreshButtons();
}

void Bookshelf::addExerciseToStudyList(int row)
{
    const Record record = mExerciseTable->rowData(row);
    if (record.isEmpty())
        return;
    syncStudyList();
    if (mStudy)
        mStudy->appendExercise(record);
    appendStudyRow(record);
}

QList<Bookshelf::LessonMembers> Bookshelf::lessonMembers(const Record& record)
{
    QList<LessonMembers> found;
    const QString id = record.value(QStringLiteral("Id"));
    if (id.isEmpty() || id == QLatin1String("0") || !mStore)
        return found;
    for (const Record& lesson : mStore->search(QStringLiteral("Lesson"), {{QStringLiteral("Id"), id}})) {
        LessonMembers members;
        members.title = lesson.value(QStringLiteral("Title"));
        members.ids = LessonRecords::memberIds(lesson);
        if (!members.ids.isEmpty())
            found << members;
    }
    return found;
}

bool Bookshelf::addLessonMembers(const LessonMembers& lesson, WorkProgress* progress, int* done)
{
    QPointer<Bookshelf> self(this);
    tblStudyList->clearSelection();
    // The store answers in its own order and once per id: the lesson's
    // order, repeats included, comes from the member list.
    QHash<QString, Record> byId;
    const int start = *done;
    const int count = int(lesson.ids.size());
    if (!StoredExercises::byId(mStore, lesson.ids, &byId, progress, start) || !self)
        return false;
    for (int i = 0; i < count; ++i) {
        const auto found = byId.constFind(lesson.ids.at(i));
        if (found != byId.cend()) {
            Record entry = found.value();
            entry.insert(QStringLiteral("FromLesson"), lesson.title);
            appendStudyRow(entry);
            if (mStudy)
                mStudy->appendExercise(entry);
        }
        // The first half of a lesson's steps reads it, the second adds it.
        if ((i + 1) % kLessonStep == 0 && (!progress->step(start + count + i + 1) || !self))
            return false;
    }
    *done = start + 2 * count;
    return true;
}

void Bookshelf::addLessonToStudyList(int row)
{
    addRecordsToStudyList({row}, true);
}

void Bookshelf::addRecordsToStudyList(const QList<int>& rows, bool lessons)
{
    // The records are read before any event runs: a search meanwhile must
    // not change what is added.
    ZoQueryTable* table = lessons ? mLessonTable.get() : mExerciseTable.get();
    QList<Record> records;
    records.reserve(rows.size());
    for (int row : rows)
        records << table->rowData(row);
    QList<LessonMembers> members;
    int total = int(records.size());
    if (lessons) {
        total = 0;
        for (const Record& record : std::as_const(records)) {
            for (const LessonMembers& lesson : lessonMembers(record)) {
                members << lesson;
                total += 2 * int(lesson.ids.size());
            }
        }
    }
    syncStudyList();

    QPointer<Bookshelf> self(this);
    // A lesson is added whole: Abort is looked at between lessons only.
    WorkProgress progress(this, mTitle,
                          lessons ? tr("Adding Lessons to Studylist...") : tr("Adding Exercises to Studylist..."),
                          total, !lessons || members.size() > 1);
    tblStudyList->setUpdatesEnabled(false);
    int done = 0;
    const int count = lessons ? int(members.size()) : int(records.size());
    for (int i = 0; i < count; ++i) {
        // Abort keeps what was added before it.
        if (progress.wasCanceled())
            break;
        if (lessons) {
            addLessonMembers(members.at(i), &progress, &done);
        } else if (!records.at(i).isEmpty()) {
            if (mStudy)
                mStudy->appendExercise(records.at(i));
            appendStudyRow(records.at(i));
            done = i + 1;
        }
        if (!self || !progress.step(done) || !self)
            break;
        QCoreApplication::processEvents();
        if (!self)
            return;
    }
    if (!self)
        return;
    tblStudyList->setUpdatesEnabled(true);
    // A download may have appended meanwhile.
    syncStudyList();
    tblStudyList->redrawTable();
    tblStudyList->clearSelection();
    refreshButtons();
}

void Bookshelf::addExercisesToStudyList(bool all)
{
    QList<int> rows;
    if (all) {
        const int count = tblExercise->verticalHeader()->count();
        rows.reserve(count);
        for (int row = 0; row < count; ++row)
            rows << row;
    } else {
        rows = mExerciseTable->selectedRows();
    }
    addRecordsToStudyList(rows, false);
}

void Bookshelf::addLessonsToStudyList(bool all)
{
    QList<int> rows;
    if (all) {
        for (int row = 0; row < tblLesson->verticalHeader()->count(); ++row)
            rows << row;
    } else {
        rows = mLessonTable->selectedRows();
    }
    addRecordsToStudyList(rows, true);
}

void Bookshelf::slotAdd()
{
    if (exercisesShown())
        addExercisesToStudyList(false);
    else
        addLessonsToStudyList(false);
}

void Bookshelf::slotAddAll()
{
    if (exercisesShown())
        addExercisesToStudyList(true);
}

void Bookshelf::exerciseClicked(const QModelIndex& index)
{
    if (index.isValid() && index.column() == 0)
        addExerciseToStudyList(index.row());
    tblStudyList->clearSelection();
    refreshButtons();
}

void Bookshelf::exerciseDoubleClicked(const QModelIndex& index)
{
    if (index.isValid() && index.column() > 0)
        addExerciseToStudyList(index.row());
    refreshButtons();
}

void Bookshelf::lessonClicked(const QModelIndex& index)
{
    if (index.isValid() && index.column() == 0) {
        addLessonToStudyList(index.row());
        tblStudyList->clearSelection();
    }
    refreshButtons();
}

void Bookshelf::lessonDoubleClicked(const QModelIndex& index)
{
    if (index.isValid() && index.column() > 0) {
        addLessonToStudyList(index.row());
        tblStudyList->clearSelection();
        refreshButtons();
    }
}

void Bookshelf::studylistClicked(int row, int, int button, const QPoint& pos)
{
    tblExercise->clearSelection();
    tblLesson->clearSelection();
    if (button == Qt::LeftButton) {
        if (tblStudyList->rowCount() == 0)
            return;
        if (pos.x() > 0 && pos.x() < kMinusZoneEnd)
            removeStudyRow(row);
        refreshButtons();
    } else if (button == Qt::RightButton) {
        refreshButtons();
        runMenu({{tr("Play"), btnPlay, &Bookshelf::playSound},
                 {tr("Stop"), btnStop, &Bookshelf::stopSound},
                 {},
                 {tr("Remove"), btnRemove, &Bookshelf::removeExerciseFromStudyList},
                 {},
                 {tr("Clear Studylist"), btnClearStudylist, &Bookshelf::clearStudylist}});
    }
}

void Bookshelf::studylistTableDoubleClick(int row, int, int, const QPoint& pos)
{
    if (pos.x() < kMinusZoneEnd + 1 || row == -1 || !mAudio)
        return;
    if (!studyRowStillShown(row))
        return;
    setSoundFromStudyRow(row);
    if (mAudio->isPlaying()) {
        stopSound();
        if (mAudio->isPlaying()) {
            // Play once the plug-in reports the end, within the bound.
            mPendingPlay = true;
            mPlayClock.start();
            mPlayTimer->start(kPlayPollMs);
            return;
        }
    }
    playSound();
}

void Bookshelf::setSoundFromStudyRow(int row)
{
    mSoundDir = tblStudyList->text(row, ColMediaPath);
    mSoundFile = tblStudyList->text(row, ColMediaName);
}

// ---- Sound ------------------------------------------------------------------------

void Bookshelf::playSound()
{
    if (!mAudio || mSoundDir.isEmpty() || mSoundFile.isEmpty() || !mAudio->fileExists(mSoundDir, mSoundFile))
        return;
    btnPlay->setEnabled(false);
    btnStop->setEnabled(true);
    btnStop->setFocus();
    mPendingPlay = false;
    mAudio->play(mSoundDir, mSoundFile);
    // The plug-in may report the start later; checkPlayStatus waits for it.
    mPlayStarting = !mAudio->isPlaying();
    mPlayClock.start();
    mPlayTimer->start(kPlayPollMs);
}

void Bookshelf::checkPlayStatus()
{
    if (!mAudio) {
        mPlayTimer->stop();
        return;
    }
    const bool playing = mAudio->isPlaying();
    if (mPendingPlay) {
        if (!playing) {
            mPendingPlay = false;
            playSound();
            return;
        }
        if (mPlayClock.elapsed() < kSoundWaitMs)
            return;
        mPendingPlay = false;
    } else if (mPlayStarting) {
        if (playing) {
            mPlayStarting = false;
            return;
        }
        if (mPlayClock.elapsed() < kSoundWaitMs)
            return;
        // The plug-in never started: give the buttons back.
        mPlayStarting = false;
    } else if (playing) {
        return;
    }
    btnStop->setEnabled(false);
    mPlayTimer->stop();
    refreshButtons();
}

void Bookshelf::stopSound()
{
    if (!soundActive())
        return;
    mPlayStarting = false;
    mPendingPlay = false;
    mAudio->stop();
    refreshButtons();
}
