#include "CreateLessonView.h"

#include "AuthoringLog.h"
#include "CreateNew.h"
#include "IAudio.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "IResource.h"
#include "IUserResource.h"
#include "LanguageComboHelper.h"
#include "LessonStore.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "TabIndex.h"
#include "ZoLesson.h"
#include "ZoQueryTable.h"
#include "ZoUser.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFont>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QProgressDialog>
#include <QSet>
#include <QSettings>
#include <QSignalBlocker>
#include <QTimer>

namespace {

const int kPlayPollMs = 50;
// How long a play waits for the sound before it to stop.
const int kSoundWaitMs = 1000;

QString idListOf(const QStringList& ids)
{
    QString list;
    for (const QString& id : ids)
        list += id + QLatin1Char(',');
    return list;
}

} // namespace

CreateLessonView::CreateLessonView(QWidget* parentForm)
    : mParentForm(parentForm)
{
    setupUi(this);
    connect(lEditSearchField, &QLineEdit::textChanged, this, &CreateLessonView::findAheadManager);
    connect(btnFindAll, &QPushButton::clicked, this, &CreateLessonView::findAll);
    connect(btnClearLesson, &QPushButton::clicked, this, &CreateLessonView::clearLessonList);
    connect(btnSave, &QPushButton::clicked, this, &CreateLessonView::saveSession);
    connect(btnStop, &QToolButton::clicked, this, &CreateLessonView::stopSound);
    connect(btnPlay, &QToolButton::clicked, this, &CreateLessonView::playSound);
    connect(tblList, qOverload<int, int, int, const QPoint&>(&ZoTable::clicked), this,
            &CreateLessonView::tblListClicked);
    connect(tblList, &ZoTable::mousePress, this, &CreateLessonView::clearSearchSelection);
    connect(tblList, &ZoTable::mouseDoubleClick, this, &CreateLessonView::listTableDoubleClick);
    connect(tblList, &ZoTable::keyPress, this, &CreateLessonView::refreshButtons);
    connect(tblSearch, &QAbstractItemView::pressed, this, &CreateLessonView::clearListSelection);
    connect(tblSearch, &QAbstractItemView::clicked, this, &CreateLessonView::exerciseClicked);
    connect(tblSearch, &QAbstractItemView::doubleClicked, this, &CreateLessonView::exerciseDoubleClicked);
    connect(tblSearch, &ZoTableView::signalRightClicked, this, &CreateLessonView::exerciseRightClicked);
    connect(tblSearch, &ZoTableView::signalChanged, this, &CreateLessonView::refreshButtons);

    // The filter's choices, "Add Language..." included, come through the helper.
    mFilter = new LanguageComboHelper(cmbLanguagesSearch, LanguageComboHelper::AllLanguages);
    mFilter->setWizardParent(this);
    mFilter->setSettingKey(SettingsKeys::CreateLanguage, true);
    connect(mFilter, &LanguageComboHelper::languageChosen, this,
            [this] { addLanguage(cmbLanguagesSearch->currentIndex()); });
    init();
}

CreateLessonView::~CreateLessonView()
{
    // The query table's destructor clears the view's selection, which reaches
    // refreshButtons: nothing may read it from here on.
    mInitialised = false;
    if (mFindAheadTimer)
        mFindAheadTimer->stop();
    delete mQuery;
    mQuery = nullptr;
}

void CreateLessonView::init()
{
    if (mInitialised)
        return;
    mTitle = QSettings().value(SettingsKeys::Version).toString();
    mModified = 0;
    mLessonShown = false;
    mLesson.reset();
    emit notModified();

    mIconDir = QDir(QStringLiteral("Icons"));
    if (mIconDir.exists()) {
        btnPlay->setIcon(QIcon(mIconDir.filePath(QStringLiteral("play_act.png"))));
        btnStop->setIcon(QIcon(mIconDir.filePath(QStringLiteral("stop_act.png"))));
    }

    mAudio = PluginLocator::load<IAudio>(PluginFiles::ZoAudio);
    mStore = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mUsers = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
    mLanguages = PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);

    mQuery = new ZoQueryTable(tblSearch, this, mStore);
    mPlusIcon = QPixmap(mIconDir.filePath(QStringLiteral("plusSign.png")));
    mMinusIcon = QPixmap(mIconDir.filePath(QStringLiteral("minusSign.png")));
    mQuery->setIconColumn(0, &mPlusIcon);
    tblSearch->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);

    tblList->setLeftMargin(0);
    tblList->setNumCols(ColCount);
    for (int column : {int(ColId), int(ColMediaPath), int(ColMediaName)})
        tblList->setColumnHidden(column, true);
    tblList->setColumnWidth(ColTerm, 300);
    for (int column = ColTerm; column <= ColVoice; ++column) {
        tblList->setColumnReadOnly(column, true);
        if (column != ColTerm)
            tblList->setColumnWidth(column, 70);
    }
    tblList->verticalHeader()->setSectionsMovable(false);
    tblList->setReadOnly(true);
    tblList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblList->setSingleRowSelection();

    mSoundDir.clear();
    mSoundFile.clear();
    mPlayTimer = new QTimer(this);
    mPlayTimer->setObjectName(QStringLiteral("playStatusTimer"));
    connect(mPlayTimer, &QTimer::timeout, this, &CreateLessonView::checkPlayStatus);
    btnChange->hide();
    btnClearLesson->hide();
    mFindAheadTimer = new QTimer(this);
    mFindAheadTimer->setObjectName(QStringLiteral("findAheadTimer"));
    mFindAheadTimer->setSingleShot(true);
    connect(mFindAheadTimer, &QTimer::timeout, this, &CreateLessonView::findAhead);
    splitter->setSizes({240, 300});
    mInitialised = true;
    newSession();
}

// ---- ICreate -----------------------------------------------------------------

int CreateLessonView::customRefresh()
{
    if (!mInitialised)
        return 1;
    searchLocal();
    const int rows = tblList->rowCount();
    if (rows == 0 || !mStore)
        return 1;
    // One look-up for all rows; every row is checked once.
    const QStringList ids = lessonIds();
    QSet<QString> stored;
    for (const Record& record : mStore->search(QStringLiteral("Exercise"), {{QStringLiteral("IdList"), idListOf(ids)}}))
        stored.insert(record.value(QStringLiteral("Id")));
    tblList->setUpdatesEnabled(false);
    for (int row = rows - 1; row >= 0; --row) {
        if (!stored.contains(ids.at(row)))
            tblList->removeRow(row);
    }
    if (tblList->rowCount() == 0)
        resetView();
    tblList->setUpdatesEnabled(true);
    tblList->redrawTable();
    refreshButtons();
    return 1;
}

void CreateLessonView::refreshData()
{
    if (!mInitialised)
        return;
    const QString name = userName();
    if (name != mShownUser) {
        // Another user: their own empty lesson.
        mShownUser = name;
        stopSound();
        newSession();
        updateViewLists();
        return;
    }
    // The same user (a change of interface language): the rows stay.
    updateViewLists();
    if (mSearched)
        searchLocal();
    refreshButtons();
}

int CreateLessonView::updateViewLists()
{
    if (!mInitialised)
        return 0;
    const QString before = cmbLanguagesSearch->currentText();
    if (!mFilter->fill(true))
        return 0;
    if (mSearched && before != cmbLanguagesSearch->currentText())
        searchLocal();
    return 1;
}

void CreateLessonView::retranslateView()
{
    if (!mInitialised)
        return;
    tblList->setColumnLabels({QStringLiteral("Id"), tr("Study Terms in Lesson"), tr("Language"), tr("Country"),
                              tr("Locality"), tr("Voice"), QStringLiteral("MediaPath"), QStringLiteral("MediaName")});
    // The Designer texts would replace the filter's items: keep the user's list.
    // A new lesson's placeholder title follows the language; a typed one stays.
    QString title = lEditLessonName->text();
    if (!mNewLessonTitle.isEmpty() && title == mNewLessonTitle) {
        mNewLessonTitle = tr("New Lesson");
        title = mNewLessonTitle;
    }
    const QString search = lEditSearchField->text();
    {
        const QSignalBlocker fieldBlocker(lEditSearchField);
        const QSignalBlocker comboBlocker(cmbLanguagesSearch);
        retranslateUi(this);
        lEditLessonName->setText(title);
        lEditSearchField->setText(search);
    }
    mFilter->fill(false);
}

int CreateLessonView::customLeave()
{
    // Leaving the tab keeps the lesson as it is; only the sound ends.
    if (soundBusy())
        stopSound();
    return 1;
}

int CreateLessonView::canClose()
{
    return maybeSave();
}

int CreateLessonView::maybeSave()
{
    if (mAudio) {
        if (mAudio->isRecording() || mAudio->isPlaying())
            stopSound();
    }
    if (!mModified)
        return 1;
    if (mHost)
        mHost->refreshTabForms(TabIndex::Create);
    if (!mLessonShown && tblList->rowCount() == 0)
        return 1;
    const QPointer<CreateLessonView> self(this);
    const int answer = MessageBoxHelper::show(MessageBoxHelper::Question, this, mTitle,
                                              tr("Do you want to save the existing lesson?"),
                                              {tr("Yes"), tr("No"), tr("Cancel")}, 0, -1);
    if (!self)
        return 0;
    if (answer == 0)
        return saveSession() ? 1 : 0;
    return answer == 1 ? 1 : 0;
}

QString CreateLessonView::type()
{
    return QStringLiteral("Lesson");
}

QWidget* CreateLessonView::widget()
{
    return this;
}

void CreateLessonView::setMainWindow(IMainWindow* mainWindow)
{
    if (mHost)
        disconnect(mHost, nullptr, this, nullptr);
    mHost = mainWindow;
    mFilter->setMainWindow(mainWindow);
    if (mainWindow)
        connect(mainWindow, SIGNAL(fontChanged()), this, SLOT(redrawView()));
}

int CreateLessonView::isModified()
{
    return mModified;
}

void CreateLessonView::resetView()
{
    newSession();
}

int CreateLessonView::displayObject(void* object)
{
    if (!object || !mInitialised)
        return 1;
    mLesson = std::make_unique<ZoLesson>(*static_cast<ZoLesson*>(object));
    lEditLessonName->setText(mLesson->title());
    QStringList ids;
    for (int i = 0; i < mLesson->exerciseCount(); ++i)
        ids << mLesson->exerciseId(i);
    // The store answers once per id and in its own order: rows follow the lesson.
    QHash<QString, Record> found;
    if (mStore && !ids.isEmpty()) {
        for (const Record& record :
             mStore->search(QStringLiteral("Exercise"), {{QStringLiteral("IdList"), idListOf(ids)}}))
            found.insert(record.value(QStringLiteral("Id")), record);
    }
    tblList->setUpdatesEnabled(false);
    for (const QString& id : std::as_const(ids)) {
        const auto it = found.constFind(id);
        if (it != found.constEnd())
            addExerciseRow(it.value());
    }
    tblList->setUpdatesEnabled(true);
    tblList->clearSelection();
    mLessonShown = true;
    setNotModified();
    refreshButtons();
    return 1;
}

QStringList CreateLessonView::lessonIds() const
{
    QStringList ids;
    for (int row = 0; row < tblList->rowCount(); ++row)
        ids << tblList->text(row, ColId);
    return ids;
}

// ---- Slots ---------------------------------------------------------------------

int CreateLessonView::redrawView()
{
    qCDebug(lcAuthoring) << "lesson view redrawn";
    tblList->redrawTable();
    return 1;
}

int CreateLessonView::newSession()
{
    mLesson.reset();
    tblList->setNumRows(0);
    mLessonShown = false;
    setNotModified();
    refreshButtons();
    mNewLessonTitle = tr("New Lesson");
    lEditLessonName->setText(mNewLessonTitle);
    lEditLessonName->selectAll();
    lEditLessonName->setFocus();
    return 1;
}

int CreateLessonView::openSession(void* object)
{
    if (!object)
        return 0;
    resetView();
    displayObject(object);
    mLessonShown = true;
    setNotModified();
    return 1;
}

int CreateLessonView::saveSession()
{
    if (!changeLessonInfo())
        return 0;
    std::unique_ptr<ZoLesson> lesson = std::move(mLesson);
    if (!LessonStore::write(mStore, *lesson)) {
        LessonStore::sayWhyNot(this, mTitle);
        return 0;
    }
    const QPointer<CreateLessonView> self(this);
    MessageBoxHelper::information(this, mTitle, tr("Lesson Saved."));
    if (!self)
        return 1;
    if (mHost)
        mHost->updateUploadCount();
    newSession();
    return 1;
}

void CreateLessonView::objectModified() {}

void CreateLessonView::objectNotModified() {}

void CreateLessonView::addLanguage(int)
{
    // The helper has stored the choice ("users/<name>/CreateLanguage") and run
    // the wizard for "Add Language...".
    searchLocal();
}

void CreateLessonView::findAll()
{
    {
        const QSignalBlocker blocker(lEditSearchField);
        lEditSearchField->clear();
    }
    mFindAheadTimer->stop();
    searchLocal();
    lEditSearchField->setFocus();
}

void CreateLessonView::findAhead()
{
    mFindAheadTimer->stop();
    searchLocal();
}

void CreateLessonView::findAheadManager()
{
    // Each keystroke starts the wait again.
    mFindAheadTimer->start(kFindAheadMs);
}

void CreateLessonView::searchLocal()
{
    if (!mInitialised)
        return;
    QHash<QString, QString> criteria{{QStringLiteral("Term"), lEditSearchField->text()},
                                     {QStringLiteral("Status"), QString()}};
    if (mFilter->hasLanguage())
        criteria.insert(QStringLiteral("Language"), mFilter->language());
    mSearched = true;
    mQuery->query(QStringLiteral("Exercise"), criteria, rowHeight());
    refreshButtons();
}

bool CreateLessonView::changeLessonInfo()
{
    mLesson = std::make_unique<ZoLesson>();
    mLesson->setTitle(lEditLessonName->text());
    for (const QString& id : lessonIds())
        mLesson->addExerciseId(id);
    const QPointer<CreateLessonView> self(this);
    if (mLesson->exerciseCount() == 0) {
        mLesson.reset();
        MessageBoxHelper::information(this, mTitle,
                                      tr("A Lesson must contain at least one Exercise.  Lesson could not be saved."));
        return false;
    }
    // The dialog's parent is the main window, which outlives the tab.
    CreateNew dialog(mHost, mLesson.get());
    const int result = dialog.exec();
    if (!self)
        return false;
    if (result != QDialog::Accepted || !mLesson) {
        mLesson.reset();
        return false;
    }
    lEditLessonName->setText(mLesson->title());
    return true;
}

void CreateLessonView::tblListClicked(int row, int col, int button, const QPoint& pos)
{
    clearSearchSelection();
    if (tblList->rowCount() == 0)
        return;
    if (button == Qt::LeftButton && col == ColTerm && pos.x() < kMinusZoneEnd && row >= 0
        && row < tblList->rowCount()) {
        tblList->removeRow(row);
        tblList->clearSelection();
        setModified();
    }
    refreshButtons();
}

void CreateLessonView::listTableDoubleClick(int row, int, int, const QPoint& pos)
{
    // The minus icon removes; it does not play.
    if (!mAudio || row < 0 || row >= tblList->rowCount() || pos.x() < kMinusZoneEnd)
        return;
    mSoundDir = tblList->text(row, ColMediaPath);
    mSoundFile = tblList->text(row, ColMediaName);
    if (mAudio->isPlaying()) {
        stopSound();
        if (mAudio->isPlaying()) {
            // Plays once the plug-in reports the stop, or not at all after the bound.
            mPendingPlay = true;
            mPendingClock.start();
            mPlayTimer->start(kPlayPollMs);
            return;
        }
    }
    playSound();
}

void CreateLessonView::playSound()
{
    if (!mAudio)
        return;
    mPendingPlay = false;
    if (mSoundFile.isEmpty()) {
        MessageBoxHelper::information(this, mTitle, tr("No sound has been recorded for this Exercise."));
        return;
    }
    btnPlay->setEnabled(false);
    btnStop->setEnabled(true);
    btnStop->setFocus();
    if (!mSoundDir.isEmpty())
        mAudio->play(mSoundDir, mSoundFile);
    mPlayTimer->start(kPlayPollMs);
}

void CreateLessonView::stopSound()
{
    mPendingPlay = false;
    if (!mAudio || !(mAudio->isPlaying() || mAudio->isRecording()))
        return;
    mAudio->stop();
    refreshButtons();
}

void CreateLessonView::checkPlayStatus()
{
    if (!mAudio) {
        mPlayTimer->stop();
        return;
    }
    const bool playing = mAudio->isPlaying();
    if (mPendingPlay) {
        if (!playing) {
            playSound();
            return;
        }
        if (mPendingClock.elapsed() < kSoundWaitMs)
            return;
        mPendingPlay = false;
        mAudio->stop();
    } else if (playing) {
        return;
    }
    btnStop->setEnabled(false);
    mPlayTimer->stop();
    refreshButtons();
}

void CreateLessonView::clearLessonList()
{
    const int answer = MessageBoxHelper::question(this, mTitle, tr("Do you want to clear the Lesson list?"),
                                                  {tr("Yes"), tr("Cancel")});
    if (answer != 0)
        return;
    tblList->setNumRows(0);
    tblList->setShowGrid(true);
    tblList->setSingleRowSelection();
    refreshButtons();
}

void CreateLessonView::exerciseClicked(const QModelIndex& index)
{
    if (index.isValid() && index.column() == 0) {
        addExerciseRow(mQuery->rowData(index.row()));
        setModified();
    }
    tblList->clearSelection();
    refreshButtons();
}

void CreateLessonView::exerciseDoubleClicked(const QModelIndex& index)
{
    if (!index.isValid() || index.column() == 0)
        return;
    addExerciseRow(mQuery->rowData(index.row()));
    // Every addition is a change the user must not lose unasked.
    setModified();
    refreshButtons();
    tblList->clearSelection();
}

void CreateLessonView::exerciseRightClicked()
{
    tblList->clearSelection();
    refreshButtons();
    const bool haveRows = tblSearch->model() && tblSearch->model()->rowCount() > 0;
    QMenu menu(tblSearch);
    QAction* play = menu.addAction(tr("Play"));
    play->setEnabled(btnPlay->isEnabled());
    QAction* stop = menu.addAction(tr("Stop"));
    stop->setEnabled(btnStop->isEnabled());
    menu.addSeparator();
    QAction* add = menu.addAction(tr("Add"));
    add->setEnabled(!mQuery->selectedRows().isEmpty());
    QAction* addAll = menu.addAction(tr("Add All"));
    addAll->setEnabled(haveRows);
    const QPointer<CreateLessonView> self(this);
    QAction* chosen = menu.exec(QCursor::pos());
    if (!self || !chosen)
        return;
    if (chosen == play)
        playSound();
    else if (chosen == stop)
        stopSound();
    else if (chosen == add)
        slotAdd();
    else if (chosen == addAll)
        slotAddAll();
}

void CreateLessonView::refreshButtons()
{
    if (!mInitialised)
        return;
    const bool playing = soundBusy();
    if (!playing)
        btnStop->setEnabled(false);
    btnClearLesson->setEnabled(tblList->rowCount() > 0);
    btnSave->setEnabled(tblList->rowCount() > 0);
    if (!mAudio) {
        btnPlay->setEnabled(false);
        btnStop->setEnabled(false);
        return;
    }
    const int row = tblList->currentRow();
    if (row >= 0 && tblList->selectionModel()->hasSelection()) {
        mSoundDir = tblList->text(row, ColMediaPath);
        mSoundFile = tblList->text(row, ColMediaName);
        tblList->setFocus();
        btnPlay->setEnabled(!playing && mAudio->fileExists(mSoundDir, mSoundFile));
        return;
    }
    const QList<int> rows = mQuery ? mQuery->selectedRows() : QList<int>();
    if (rows.size() == 1) {
        const Record record = mQuery->rowData(rows.first());
        mSoundDir = record.value(QStringLiteral("MediaPath"));
        mSoundFile = record.value(QStringLiteral("MediaName"));
        btnPlay->setEnabled(mAudio->fileExists(mSoundDir, mSoundFile));
        return;
    }
    btnPlay->setEnabled(false);
}

void CreateLessonView::slotAdd()
{
    addExercises(false);
    refreshButtons();
}

void CreateLessonView::slotAddAll()
{
    addExercises(true);
    refreshButtons();
}

void CreateLessonView::clearListSelection()
{
    tblList->clearSelection();
}

void CreateLessonView::clearSearchSelection()
{
    tblSearch->clearSelection();
}

// ---- Adding ----------------------------------------------------------------------

void CreateLessonView::addExercises(bool all)
{
    QList<int> rows;
    if (all) {
        const int count = tblSearch->model() ? tblSearch->model()->rowCount() : 0;
        for (int row = 0; row < count; ++row)
            rows << row;
    } else {
        rows = mQuery->selectedRows();
    }
    // The records are read before any event runs: a search meanwhile
    // replaces the model, not what is added.
    QList<Record> records;
    records.reserve(rows.size());
    for (int row : std::as_const(rows)) {
        const Record record = mQuery->rowData(row);
        if (!record.value(QStringLiteral("Id")).isEmpty())
            records << record;
    }

    const QPointer<CreateLessonView> self(this);
    const QPointer<QProgressDialog> progress = new QProgressDialog(tr("Adding Exercises to Lesson..."), tr("Abort"), 0,
                                                                   int(records.size()), this,
                                                                   Qt::Dialog | Qt::WindowTitleHint
                                                                       | Qt::MSWindowsFixedSizeDialogHint);
    progress->setWindowTitle(mTitle);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(1000);
    tblList->setUpdatesEnabled(false);
    for (int i = 0; i < records.size(); ++i) {
        addExerciseRow(records.at(i));
        if (progress)
            progress->setValue(i);
        if (!progress || progress->wasCanceled()) {
            if (progress)
                progress->hide();
            QCoreApplication::processEvents();
            break;
        }
        QCoreApplication::processEvents();
        if (!self)
            return;
    }
    if (!self)
        return;
    if (progress) {
        progress->hide();
        progress->deleteLater();
    }
    tblList->clearSelection();
    tblList->setUpdatesEnabled(true);
    setModified();
}

void CreateLessonView::addExerciseRow(const Record& record)
{
    if (record.value(QStringLiteral("Id")).isEmpty())
        return;
    const int row = tblList->rowCount();
    tblList->insertRows(row, 1);
    tblList->setText(row, ColId, record.value(QStringLiteral("Id")));
    tblList->setFixedItem(row, ColTerm, record.value(QStringLiteral("Term")), mMinusIcon);
    const char* const keys[] = {"Language", "Country", "Locality", "Voice", "MediaPath", "MediaName"};
    for (int column = ColLanguage; column <= ColMediaName; ++column)
        tblList->setText(row, column, record.value(QLatin1String(keys[column - ColLanguage])));
}

// ---- Helpers ----------------------------------------------------------------------

void CreateLessonView::setModified()
{
    mModified = 1;
    emit modified();
}

void CreateLessonView::setNotModified()
{
    mModified = 0;
    emit notModified();
}

bool CreateLessonView::soundBusy() const
{
    return mAudio && (mPendingPlay || mAudio->isPlaying());
}

QString CreateLessonView::userName() const
{
    ZoUser* user = mUsers ? mUsers->currentUser() : nullptr;
    return user ? user->username() : QString();
}

int CreateLessonView::rowHeight() const
{
    if (mHost && mHost->mFont && mHost->mFont->pointSizeF() > 0)
        return int(mHost->mFont->pointSizeF() * 2.5);
    return mHost ? mHost->mRowHeight : 25;
}
