#include "CreateTemplate.h"

#include "AuthoringLog.h"
#include "ComboFit.h"
#include "ContentGate.h"
#include "CreateNew.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "IUserResource.h"
#include "ImportForm.h"
#include "LessonStore.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "TermEditor.h"
#include "WorkProgress.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoTable.h"
#include "ZoUser.h"
#include "ZoWordList.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMap>
#include <QPointer>
#include <QSet>

namespace {

const char* const kSoundDir = "Content";
// Steps of the progress of reading a list file.
constexpr int kProgressSteps = 1000;
// How often pending events are processed during long work.
constexpr qint64 kEventEveryMs = 25;

bool isStoredId(const QString& id)
{
    bool ok = false;
    return id.toLongLong(&ok) > 0 && ok;
}

// A file name without any folder part, naming a file in the sound folder.
bool isSoundFile(const QString& name)
{
    if (!ContentGate::isPlainFileName(name))
        return false;
    return QFileInfo(QDir(QLatin1String(kSoundDir)).filePath(name)).isFile();
}

} // namespace

CreateTemplate::CreateTemplate(IMainWindow* host, TermEditor* editor)
    : mHost(host)
    , mEditor(editor)
{
    setupUi(this);
    mTitle = mSettings.value(SettingsKeys::Version).toString();
    mListDir = ZoWordList::listDirectory();
    mStore = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mUsers = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
    mIconDir = QDir(QStringLiteral("Icons"));

    tblTemplate->setLeftMargin(0);
    tblTemplate->setNumCols(ColCount);
    tblTemplate->hideColumn(ColId);
    const int widths[] = {0, 40, 250, 80, 80};
    for (int col = ColDone; col < ColCount; ++col) {
        tblTemplate->setColumnWidth(col, widths[col]);
        tblTemplate->setColumnReadOnly(col, true);
    }
    tblTemplate->setReadOnly(true);
    tblTemplate->setSingleRowSelection();
    ComboFit::of(cmbTemplateList);
    setTexts();
    fillListCombo();
    btnLoad->setEnabled(false);
    btnDelete->setEnabled(false);
    btnSaveAsLesson->setEnabled(false);

    connect(cmbTemplateList, QOverload<int>::of(&QComboBox::activated), this, &CreateTemplate::cmbTemplateListChanged);
    connect(cboxLoadNext, &QCheckBox::toggled, this, &CreateTemplate::noteHold);
    connect(tblTemplate, &ZoTable::zoTableChanged, this, &CreateTemplate::tableSelectionChanged);
    connect(tblTemplate, &ZoTable::mouseDoubleClick, this, &CreateTemplate::tblTemplateDoubleClick);
    connect(tblTemplate, &ZoTable::keyPress, this, &CreateTemplate::tblTemplateEnterPressed);
    connect(btnImport, &QPushButton::clicked, this, &CreateTemplate::import);
    connect(btnDelete, &QPushButton::clicked, this, &CreateTemplate::btnDeleteClicked);
    connect(btnLoad, &QPushButton::clicked, this, &CreateTemplate::openExercise);
    connect(btnSaveAsLesson, &QPushButton::clicked, this, &CreateTemplate::saveAsLesson);
}

CreateTemplate::~CreateTemplate() = default;

void CreateTemplate::setTexts()
{
    tblTemplate->setColumnLabels({QStringLiteral("Id"), tr("Done"), tr("Study Term"), tr("Language"), tr("Username")});
}

void CreateTemplate::retranslate()
{
    retranslateUi(this);
    setTexts();
    if (cmbTemplateList->count() > 0)
        cmbTemplateList->setItemText(0, tr("Select List"));
}

void CreateTemplate::setMainWindow(IMainWindow* host)
{
    mHost = host;
}

int CreateTemplate::redrawView()
{
    tblTemplate->redrawTable();
    return 1;
}

bool CreateTemplate::loadNextChecked() const
{
    return cboxLoadNext->isChecked();
}

void CreateTemplate::setRowUnderEdit(int row)
{
    mRowUnderEdit = row;
    noteHold();
}

void CreateTemplate::noteHold()
{
    if (holdsEditor() == mHolds)
        return;
    mHolds = !mHolds;
    emit holdsEditorChanged(mHolds);
}

int CreateTemplate::canClose()
{
    // The list stays open: another view may refuse the close after this one agreed.
    writeListFile();
    return 1;
}

bool CreateTemplate::editorAgreesToLeave()
{
    if (!mEditor)
        return true;
    // A term of this list saved now is marked here; no other term is loaded.
    QPointer<CreateTemplate> self(this);
    mSavingBeforeOpen = true;
    const bool agreed = mEditor->agreesToLeave();
    if (!self)
        return false;
    mSavingBeforeOpen = false;
    return agreed;
}

bool CreateTemplate::writeListFile()
{
    if (!mList)
        return false;
    WorkProgress progress(this, mTitle, tr("Saving List..."), mList->exerciseCount());
    // The window answers while a long list is written; the writing stops
    // before the list is touched again when the page or the list went.
    const QPointer<ZoWordList> list(mList.get());
    return ZoWordList::writeFile(mListDir, *mList, [&progress, &list](qint64 done, qint64) {
        if (!progress.step(int(done)))
            return false;
        QCoreApplication::processEvents();
        return !list.isNull();
    });
}

void CreateTemplate::closeList()
{
    if (!mList)
        return;
    writeListFile();
    mList.reset();
}

int CreateTemplate::fillListCombo()
{
    cmbTemplateList->clear();
    cmbTemplateList->addItem(tr("Select List"));
    const QStringList files = mListDir.entryList({QStringLiteral("*.xml")},
                                                 QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                                                 QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        const QString name = file.chopped(4);
        // Only a list that can be written back under its own name is offered.
        if (ZoWordList::checkListName(name).isEmpty())
            cmbTemplateList->addItem(name);
    }
    ZoUser* user = mUsers ? mUsers->currentUser() : nullptr;
    if (user) {
        const QString chosen =
            mSettings.value(SettingsKeys::userKey(user->username(), SettingsKeys::TemplateList)).toString();
        const int index = chosen.isEmpty() ? -1 : cmbTemplateList->findText(chosen, Qt::MatchExactly);
        if (index > 0)
            cmbTemplateList->setCurrentIndex(index);
    }
    return 1;
}

void CreateTemplate::resetPage()
{
    tblTemplate->setNumRows(0);
    tblTemplate->setShowGrid(true);
    tblTemplate->setSingleRowSelection();
    setRowUnderEdit(-1);
    cmbTemplateList->setCurrentIndex(0);
    btnLoad->setEnabled(false);
    btnDelete->setEnabled(false);
    btnSaveAsLesson->setEnabled(false);
}

void CreateTemplate::cmbTemplateListChanged(int index)
{
    // Another choice while a list is read waits for the read to end.
    if (mReading)
        return;
    // The editor's unsaved term of the open list is saved (and marked) before the list closes.
    const QPointer<CreateTemplate> self(this);
    const int shown = mList ? cmbTemplateList->findText(mList->title(), Qt::MatchExactly) : 0;
    if (!editorAgreesToLeave()) {
        if (self)
            cmbTemplateList->setCurrentIndex(qMax(0, shown));
        return;
    }
    closeList();
    if (index <= 0) {
        stopLoadingNext();
        cboxLoadNext->setChecked(false);
        resetPage();
        return;
    }
    const QString name = cmbTemplateList->itemText(index);
    tblTemplate->setNumRows(0);
    setRowUnderEdit(-1);
    btnLoad->setEnabled(false);
    btnSaveAsLesson->setEnabled(false);

    auto progress = std::make_unique<WorkProgress>(this, mTitle, tr("Reading List (this could take a few minutes)..."),
                                                   kProgressSteps);
    mReading = true;
    QString problem;
    std::unique_ptr<ZoWordList> list = ZoWordList::readFile(mListDir, name, &problem,
                                                            [&progress](qint64 done, qint64 total) {
                                                                return progress->step(
                                                                    total > 0 ? int(done * kProgressSteps / total) : 0);
                                                            });
    if (!self)
        return;
    mReading = false;
    progress.reset();
    // A file that cannot be read shows nothing and is never written; it can
    // still be deleted. A damaged one is kept aside, as it is, and named.
    btnDelete->setEnabled(true);
    if (!list && !problem.isEmpty()) {
        keepAside(name, problem);
        return;
    }
    if (!list)
        return;
    list->setTitle(name);
    sanitize(list.get());
    mList = std::move(list);
    displayList();
}

void CreateTemplate::keepAside(const QString& name, const QString& problem)
{
    const QString aside = ZoWordList::setAside(mListDir, name);
    fillListCombo();
    resetPage();
    const QString text = aside.isEmpty() ? tr("The List '%1' could not be read. %2").arg(name, problem)
                                         : tr("The List '%1' could not be read. %2\nThe file was kept aside as \"%3\".")
                                               .arg(name, problem, QDir::toNativeSeparators(aside));
    MessageBoxHelper::information(this, mTitle, text);
}

void CreateTemplate::sanitize(ZoWordList* list) const
{
    for (int i = 0; i < list->exerciseCount(); ++i) {
        ZoExercise* exercise = list->exerciseAt(i);
        const QString id = exercise->id();
        const QString media = exercise->mediaName();
        if (id.isEmpty() && media.isEmpty())
            continue;
        if (!isStoredId(id) || !isSoundFile(media)) {
            exercise->setId(QString());
            exercise->setVoice(QString());
            exercise->setMediaPath(QString());
            exercise->setMediaName(QString());
        }
    }
}

void CreateTemplate::markDone(int row, bool done)
{
    tblTemplate->setFixedItem(row, ColDone, QString(),
                              done ? QPixmap(mIconDir.filePath(QStringLiteral("checkSign.png"))) : QPixmap());
}

void CreateTemplate::setRow(int row, const QHash<QString, QString>& values)
{
    const QString id = values.value(QStringLiteral("Id"));
    tblTemplate->setText(row, ColId, id);
    tblTemplate->setText(row, ColTerm, values.value(QStringLiteral("Term")));
    tblTemplate->setText(row, ColLanguage, values.value(QStringLiteral("Language")));
    tblTemplate->setText(row, ColVoice, values.value(QStringLiteral("Voice")));
    markDone(row, !id.isEmpty());
}

bool CreateTemplate::displayList()
{
    if (!mList)
        return true;
    setRowUnderEdit(-1);
    tblTemplate->setNumRows(0);
    ZoWordList* list = mList.get();
    const int count = list->exerciseCount();
    QPointer<CreateTemplate> self(this);
    WorkProgress progress(this, mTitle, tr("Displaying List.  This could take a few minutes..."), count);
    QElapsedTimer clock;
    clock.start();
    tblTemplate->setUpdatesEnabled(false);
    tblTemplate->setNumRows(count);
    const QPixmap check(mIconDir.filePath(QStringLiteral("checkSign.png")));
    for (int i = 0; i < count; ++i) {
        const QHash<QString, QString> values = list->exerciseAt(i)->toHash();
        const QString id = values.value(QStringLiteral("Id"));
        tblTemplate->setText(i, ColId, id);
        tblTemplate->setFixedItem(i, ColDone, QString(), id.isEmpty() ? QPixmap() : check);
        tblTemplate->setText(i, ColTerm, values.value(QStringLiteral("Term")));
        tblTemplate->setText(i, ColLanguage, values.value(QStringLiteral("Language")));
        tblTemplate->setText(i, ColVoice, values.value(QStringLiteral("Voice")));
        if (i % 256 == 0) {
            // The window answers meanwhile: the page or its list may go.
            const bool going = progress.step(i);
            if (going && clock.elapsed() >= kEventEveryMs) {
                QCoreApplication::processEvents();
                clock.restart();
            }
            if (!self)
                return false;
            if (mList.get() != list || !going) {
                tblTemplate->setUpdatesEnabled(true);
                return true;
            }
        }
    }
    verifyList();
    if (count > 0)
        tblTemplate->setCurrentCell(0, ColTerm);
    tblTemplate->setUpdatesEnabled(true);
    tblTemplate->redrawTable();
    cboxLoadNext->setChecked(true);
    btnLoad->setEnabled(false);

    openExercise();
    if (!self)
        return false;
    activateHost();
    return true;
}

void CreateTemplate::activateHost()
{
    if (QWidget* window = this->window()) {
        window->raise();
        window->activateWindow();
    }
}

void CreateTemplate::verifyList()
{
    if (!mList || !mStore)
        return;
    tblTemplate->setUpdatesEnabled(false);
    QString idList;
    for (int row = 0; row < tblTemplate->numRows(); ++row) {
        const QString id = tblTemplate->text(row, ColId);
        if (isStoredId(id))
            idList += id + QLatin1Char(',');
    }
    QMap<qint64, QString> stored;
    if (!idList.isEmpty()) {
        const QList<QHash<QString, QString>> rows = mStore->search(QStringLiteral("Exercise"),
                                                                   {{QStringLiteral("IdList"), idList}});
        for (const QHash<QString, QString>& found : rows)
            stored.insert(found.value(QStringLiteral("Id")).toLongLong(), found.value(QStringLiteral("Term"))
                                                                              + QLatin1Char(':')
                                                                              + found.value(QStringLiteral("Voice")));
    }
    const int count = qMin(tblTemplate->numRows(), mList->exerciseCount());
    for (int row = count - 1; row >= 0; --row) {
        const QString id = tblTemplate->text(row, ColId);
        if (id.isEmpty())
            continue;
        const QString key = tblTemplate->text(row, ColTerm) + QLatin1Char(':') + tblTemplate->text(row, ColVoice);
        if (isStoredId(id) && stored.value(id.toLongLong()) == key)
            continue;
        tblTemplate->setText(row, ColId, QString());
        markDone(row, false);
        tblTemplate->setText(row, ColVoice, QString());
        ZoExercise* exercise = mList->exerciseAt(row);
        exercise->setId(QString());
        exercise->setVoice(QString());
        exercise->setMediaPath(QString());
        exercise->setMediaName(QString());
        if (row == mRowUnderEdit)
            setRowUnderEdit(-1);
    }
    tblTemplate->setUpdatesEnabled(true);
    tblTemplate->viewport()->update();
    if (mList->exerciseCount() == 0)
        btnSaveAsLesson->setEnabled(false);
}

void CreateTemplate::tableSelectionChanged(ZoTable* table)
{
    if (table && table->currentRow() >= 0) {
        btnLoad->setEnabled(true);
        btnSaveAsLesson->setEnabled(true);
    }
}

void CreateTemplate::openExercise()
{
    if (!mList || !mEditor || mList->exerciseCount() == 0)
        return;
    const int row = tblTemplate->currentRow();
    if (row < 0 || row >= mList->exerciseCount())
        return;
    QPointer<CreateTemplate> self(this);
    ZoWordList* list = mList.get();
    // Saving the term in the editor first marks it, but loads no other term.
    mSavingBeforeOpen = true;
    const bool mayLeave = mEditor->agreesToLeave();
    if (!self)
        return;
    mSavingBeforeOpen = false;
    if (!mayLeave || mList.get() != list || row >= list->exerciseCount())
        return;
    setRowUnderEdit(-1);
    // The editor refuses a term whose language the user did not add.
    const bool shown = mEditor->showTerm(list->exerciseAt(row));
    if (!self)
        return;
    if (shown && mList.get() == list)
        setRowUnderEdit(row);
}

void CreateTemplate::tblTemplateDoubleClick(int, int, int, const QPoint&)
{
    if (tblTemplate->currentRow() >= 0)
        openExercise();
}

void CreateTemplate::tblTemplateEnterPressed(QKeyEvent* event)
{
    const int row = tblTemplate->currentRow();
    if (!event || row < 0)
        return;
    // Return opens the current term; a key that moved to another row opens that one.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || row != mRowUnderEdit)
        openExercise();
}

void CreateTemplate::stopLoadingNext()
{
    setRowUnderEdit(-1);
    tblTemplate->clearSelection();
}

void CreateTemplate::exerciseSaved(ZoExercise* exercise)
{
    if (mRowUnderEdit < 0 || !exercise || !mList || mRowUnderEdit >= mList->exerciseCount())
        return;
    const int row = mRowUnderEdit;
    setRow(row, exercise->toHash());
    mList->replaceExercise(row, *exercise);
    // The mark is kept even when the page is later deleted without closing;
    // closing the list folds it into the list file.
    if (!ZoWordList::appendMark(mListDir, *mList, row))
        writeListFile();
    if (!cboxLoadNext->isChecked() || mSavingBeforeOpen)
        return;
    const int count = tblTemplate->numRows();
    int next = -1;
    for (int r = row + 1; r < count && next < 0; ++r) {
        if (tblTemplate->text(r, ColId).isEmpty())
            next = r;
    }
    for (int r = 0; r < count && next < 0; ++r) {
        if (tblTemplate->text(r, ColId).isEmpty())
            next = r;
    }
    if (next < 0)
        return;
    tblTemplate->setCurrentCell(next, ColTerm);
    openExercise();
}

void CreateTemplate::import()
{
    const QDir importDir(QStringLiteral("Import"));
    const QString start = importDir.exists() ? importDir.absolutePath() : QDir::homePath();
    const QString file = QFileDialog::getOpenFileName(this, tr("Choose a file to import"), start,
                                                      tr("Text Files (*.txt)"));
    if (file.isEmpty())
        return;
    importFile(file);
}

void CreateTemplate::importFile(const QString& fileName)
{
    QPointer<CreateTemplate> self(this);
    // The imported list replaces the open one: the editor's term of it is saved first.
    if (!editorAgreesToLeave())
        return;
    writeListFile();
    QPointer<ImportForm> dialog = new ImportForm(mHost, this, fileName, mListDir);
    const QString refusal = dialog->refusal();
    if (!refusal.isEmpty()) {
        delete dialog.data();
        MessageBoxHelper::information(this, mTitle, refusal);
        return;
    }
    const int result = dialog->exec();
    if (!self)
        return;
    std::unique_ptr<ZoWordList> imported(result == QDialog::Accepted && dialog ? dialog->wordList() : nullptr);
    delete dialog.data();
    if (imported && ZoWordList::checkListName(imported->title()).isEmpty()) {
        stopLoadingNext();
        mList = std::move(imported);
        // The new list replaces a file of the same name only now that it was read.
        writeListFile();
        fillListCombo();
        const int index = cmbTemplateList->findText(mList->title(), Qt::MatchExactly);
        if (index > 0)
            cmbTemplateList->setCurrentIndex(index);
        btnDelete->setEnabled(true);
        if (!displayList())
            return;
    }
    activateHost();
}

void CreateTemplate::btnDeleteClicked()
{
    qCDebug(lcAuthoring) << "delete list clicked";
    if (cmbTemplateList->currentIndex() <= 0)
        return;
    const int answer = MessageBoxHelper::question(
        this, mTitle,
        tr("Are you sure you want to permanently delete the List '%1'?").arg(cmbTemplateList->currentText()),
        {tr("Yes"), tr("Cancel")});
    if (answer == 0)
        deleteListFile();
}

void CreateTemplate::deleteListFile()
{
    if (cmbTemplateList->currentIndex() > 0) {
        const QString path = ZoWordList::fileName(mListDir, cmbTemplateList->currentText());
        const bool removed = QFile::remove(path);
        QFile::remove(ZoWordList::marksFileName(mListDir, cmbTemplateList->currentText()));
        qCDebug(lcAuthoring) << "deleting list" << path << (removed ? "done" : "failed");
    }
    fillListCombo();
    mList.reset();
    resetPage();
}

void CreateTemplate::clear()
{
    closeList();
    resetPage();
    cboxLoadNext->setChecked(false);
}

void CreateTemplate::saveAsLesson()
{
    // The editor is cleared afterwards: its unsaved work is saved or given up first.
    if (!mList || !editorAgreesToLeave() || !mList)
        return;
    verifyList();
    if (!mList)
        return;
    ZoLesson lesson;
    QSet<QString> ids;
    for (int row = 0; row < tblTemplate->numRows(); ++row) {
        const QString id = tblTemplate->text(row, ColId);
        if (!id.isEmpty()) {
            lesson.addExerciseId(id);
            ids.insert(id);
        }
    }
    if (ids.isEmpty()) {
        MessageBoxHelper::information(this, mTitle,
                                      tr("A Lesson must contain at least one Exercise.  Lesson could not be saved."));
        btnSaveAsLesson->setEnabled(false);
        return;
    }
    if (!mStore) {
        MessageBoxHelper::information(this, mTitle, tr("Unknown error.  Lesson could not be saved."));
        return;
    }
    QPointer<CreateTemplate> self(this);
    ZoWordList* list = mList.get();
    {
        CreateNew dialog(mHost, &lesson);
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    if (!self || mList.get() != list)
        return;
    if (!LessonStore::write(mStore, lesson)) {
        LessonStore::sayWhyNot(this, mTitle);
        return;
    }
    if (mHost)
        mHost->updateUploadCount();

    tblTemplate->setUpdatesEnabled(false);
    // The lesson's terms leave in one pass (row by row costs the square of
    // the list); the rest is shown again.
    QList<ZoExercise> kept;
    for (int i = 0; i < list->exerciseCount(); ++i) {
        if (!ids.contains(list->exerciseAt(i)->id()))
            kept.append(*list->exerciseAt(i));
    }
    list->setExercises(kept);
    tblTemplate->setNumRows(int(kept.size()));
    for (int i = 0; i < kept.size(); ++i)
        setRow(i, kept.at(i).toHash());
    if (list->exerciseCount() == 0) {
        QFile::remove(ZoWordList::fileName(mListDir, list->title()));
        QFile::remove(ZoWordList::marksFileName(mListDir, list->title()));
        fillListCombo();
        mList.reset();
        resetPage();
    } else {
        writeListFile();
        setRowUnderEdit(-1);
        tblTemplate->clearSelection();
        tblTemplate->setCurrentCell(0, ColTerm);
        if (mEditor)
            mEditor->startNew();
        btnLoad->setEnabled(false);
        btnSaveAsLesson->setEnabled(false);
    }
    tblTemplate->setUpdatesEnabled(true);
    tblTemplate->viewport()->update();
    tblTemplate->redrawTable();
    MessageBoxHelper::information(this, mTitle, tr("Lesson Saved."));
}
