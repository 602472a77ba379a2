#include "UploadForm.h"

#include "ColumnFit.h"
#include "DialogFit.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "INetManager.h"
#include "IUserResource.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "ShellLog.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoTableWidgetItem.h"
#include "ZoUser.h"

#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QProgressDialog>
#include <QSettings>

#include <memory>

namespace {

const int IdColumn = 0;
const int CheckColumn = 1;
const int TypeColumn = 2;
const int TitleColumn = 3;
const int LanguageColumn = 4;
const int ColumnCount = 5;

const Qt::WindowFlags ProgressFlags = Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;

bool isLocalOnly(const QString& persistentId)
{
    return persistentId.isEmpty() || persistentId == QLatin1String("0");
}

// What an upload reply means: Uploaded when it names a persistent id,
// TimedOut or Failed otherwise; operation names the call in the debug output.
int replyResult(const QHash<QString, QString>& reply, const char* operation)
{
    if (reply.value(QStringLiteral("timedOut")) == QLatin1String("yes")) {
        qCDebug(lcShell, "%s timed out", operation);
        return UploadForm::TimedOut;
    }
    if (reply.contains(QStringLiteral("Error"))) {
        qCDebug(lcShell, "%s", qPrintable(reply.value(QStringLiteral("Error"))));
        return UploadForm::Failed;
    }
    if (reply.value(QStringLiteral("PId")).isEmpty()) {
        qCDebug(lcShell, "%s returned a blank pmid; aborting", operation);
        return UploadForm::Failed;
    }
    return UploadForm::Uploaded;
}

ZoTableWidgetItem* textItem(const QString& text)
{
    auto* item = new ZoTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

UploadForm::UploadForm(IMainWindow* mainWindow)
    : QDialog(mainWindow, Qt::WindowSystemMenuHint)
    , mMainWindow(mainWindow)
{
    setupUi(this);
    if (mMainWindow && mMainWindow->mFont)
        setFont(*mMainWindow->mFont);
    connect(chkSelection, &QCheckBox::stateChanged, this, &UploadForm::selectAll);
    connect(btnRemove, &QPushButton::clicked, this, &UploadForm::remove);
    connect(btnCancel, &QPushButton::clicked, this, &UploadForm::reject);
    connect(btnUpload, &QPushButton::clicked, this, &UploadForm::upload);
    init();
    // 800 by 580, larger as its texts need, within the screen.
    DialogFit::fit(this, QSize(800, 580));
}

UploadForm::~UploadForm() = default;

void UploadForm::init()
{
    qCDebug(lcShell, "UploadForm::init()");
    if (mMainWindow && mMainWindow->mFont)
        setFont(*mMainWindow->mFont);
    mDbManager = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mNetManager = PluginLocator::load<INetManager>(PluginFiles::Courier);
    mUserResource = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
    mAppName = QSettings().value(SettingsKeys::Version).toString();
    mDbHelper = std::make_unique<ZoDbHelper>();
    treeFolders->hide();
    listFolders->hide();
    fillTable();
    setupTable();
}

QString UploadForm::currentUserName() const
{
    ZoUser* user = mUserResource ? mUserResource->currentUser() : nullptr;
    return user ? user->username() : QString();
}

QList<QHash<QString, QString>> UploadForm::readItems() const
{
    const QString user = currentUserName();
    if (!mDbManager || user.isEmpty())
        return {};
    return mDbManager->uploadableItems(user);
}

int UploadForm::pendingCount()
{
    const QString user = currentUserName();
    if (!mDbManager || user.isEmpty())
        return 0;
    // The store answers -1 when its count yields no row.
    return qMax(0, mDbManager->uploadableCount(user));
}

void UploadForm::fillTable()
{
    mItems = readItems();

    tbl->setUpdatesEnabled(false);
    // Rows would move while they are filled.
    tbl->setSortingEnabled(false);
    tbl->setShowGrid(true);
    tbl->setRowCount(mItems.size());
    tbl->setColumnCount(ColumnCount);
    for (int row = 0; row < mItems.size(); ++row) {
        const QHash<QString, QString>& item = mItems.at(row);
        tbl->setItem(row, IdColumn, textItem(item.value(QStringLiteral("Id"))));
        auto* check = new ZoTableWidgetItem(QString());
        check->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        check->setCheckState(Qt::Checked);
        check->setForeground(QColor(0, 55, 0));
        tbl->setItem(row, CheckColumn, check);
        tbl->setItem(row, TypeColumn, textItem(item.value(QStringLiteral("Type"))));
        tbl->setItem(row, TitleColumn, textItem(item.value(QStringLiteral("Title"))));
        tbl->setItem(row, LanguageColumn, textItem(item.value(QStringLiteral("Language"))));
    }
    // Checking the box checks every row; when it is checked already, no signal comes.
    if (chkSelection->isChecked())
        selectAll(Qt::Checked);
    else
        chkSelection->setChecked(true);
    tbl->clearSelection();
    tbl->setSortingEnabled(true);
    tbl->setUpdatesEnabled(true);
    tbl->repaint();
}

void UploadForm::setupTable()
{
    tbl->setColumnCount(ColumnCount);
    tbl->hideColumn(IdColumn);
    tbl->setHorizontalHeaderLabels({QStringLiteral("Id"), QString(), tr("Type"), tr("Title"), tr("Language")});
    tbl->horizontalHeader()->setSectionResizeMode(TitleColumn, QHeaderView::Stretch);
    tbl->setColumnWidth(CheckColumn, 25);
    tbl->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    tbl->horizontalHeader()->setSortIndicatorShown(true);
    tbl->verticalHeader()->hide();
    tbl->setShowGrid(true);
    tbl->setAlternatingRowColors(true);
    tbl->setSelectionMode(QAbstractItemView::NoSelection);
    tbl->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbl->setSortingEnabled(true);
    ColumnFit::of(tbl);
}

void UploadForm::selectAll(int state)
{
    const Qt::CheckState checkState = state != 0 ? Qt::Checked : Qt::Unchecked;
    for (int row = 0; row < tbl->rowCount(); ++row) {
        if (QTableWidgetItem* item = tbl->item(row, CheckColumn))
            item->setCheckState(checkState);
    }
}

QStringList UploadForm::checkedIds() const
{
    QStringList ids;
    for (int row = 0; row < tbl->rowCount(); ++row) {
        QTableWidgetItem* check = tbl->item(row, CheckColumn);
        QTableWidgetItem* id = tbl->item(row, IdColumn);
        if (check && id && check->checkState() == Qt::Checked)
            ids << id->text();
    }
    return ids;
}

QHash<QString, QString> UploadForm::itemWithId(const QString& id) const
{
    for (const QHash<QString, QString>& item : mItems) {
        if (item.value(QStringLiteral("Id")) == id)
            return item;
    }
    return {};
}

void UploadForm::remove()
{
    const QStringList ids = checkedIds();
    if (ids.isEmpty()) {
        MessageBoxHelper::information(this, mAppName, tr("You haven't selected anything to remove."));
        return;
    }
    const int answer = MessageBoxHelper::show(MessageBoxHelper::Question, this, mAppName,
                                              tr("Are you sure you want to never upload the selected content?"),
                                              {tr("Yes, I'm sure"), tr("No, cancel")}, 0, -1);
    if (answer != 0)
        return;
    if (mDbManager)
        mDbManager->setDoNotUpload(ids.join(QLatin1Char(',')), QStringLiteral("1"));
    accept();
}

void UploadForm::upload()
{
    mItems = readItems();
    const QStringList ids = checkedIds();
    if (tbl->rowCount() == 0 || ids.isEmpty()) {
        MessageBoxHelper::information(this, mAppName, tr("Please select something to upload."));
        return;
    }
    accept();

    const int checked = ids.size();
    QProgressDialog progress(tr("Uploading..."), tr("Abort"), 0, checked, this, ProgressFlags);
    progress.setWindowTitle(mAppName);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);

    int errors = 0;
    int lessonsCancelled = 0;
    int done = 0;
    bool cancelled = false;
    for (const QString& id : ids) {
        progress.setValue(done++);
        QApplication::processEvents();
        if (progress.wasCanceled()) {
            cancelled = true;
            break;
        }
        // The shown type is translated; the store's own kind is not.
        const QString kind = itemWithId(id).value(QStringLiteral("Kind"));
        int result = Failed;
        if (kind == QLatin1String("Exercise")) {
            result = uploadExerciseAndTranslations(id);
        } else if (kind == QLatin1String("Lesson")) {
            result = uploadLesson(id);
            if (result == LessonCancelled)
                ++lessonsCancelled;
        } else {
            qCDebug(lcShell, "upload: item %s is no longer an uploadable exercise or lesson", qPrintable(id));
        }
        if (result == TimedOut) {
            progress.reset();
            MessageBoxHelper::information(this, mAppName,
                                          tr("Vireda was not able to complete the upload due to a network error."));
            if (mMainWindow)
                mMainWindow->moveToOfflineMode();
            return;
        }
        if (result == Failed)
            ++errors;
    }
    progress.setValue(checked);

    QString message;
    if (errors > 0)
        message = tr("Vireda encountered %1 errors while uploading your content to the server.\n"
                     "Content not successfully uploaded remains on your upload list.")
                      .arg(errors);
    else if (cancelled)
        message = tr("Upload cancelled.  Content not yet uploaded remains on your upload list.");
    else if (lessonsCancelled > 0)
        message = tr("Upload complete.  Lessons cancelled and not yet uploaded remain on your upload list.");
    else
        message = tr("Upload complete.");
    MessageBoxHelper::information(this, mAppName, message);
}

int UploadForm::uploadLesson(QString lessonId)
{
    if (!mDbManager || !mNetManager)
        return Failed;
    const QList<QHash<QString, QString>> rows = mDbManager->search(QStringLiteral("Lesson"),
                                                                   {{QStringLiteral("Id"), lessonId}});
    if (rows.isEmpty()) {
        qCDebug(lcShell, "uploadLesson: lesson %s no longer exists", qPrintable(lessonId));
        return Failed;
    }
    const QHash<QString, QString>& row = rows.first();
    const int count = row.value(QStringLiteral("ExerciseCount")).toInt();

    QProgressDialog progress(tr("Uploading Lesson '%1'...").arg(row.value(QStringLiteral("Title"))), tr("Abort"), 0,
                             count, this, ProgressFlags);
    progress.setWindowTitle(mAppName);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);

    // Members first: the lesson's manifest names their persistent ids.
    for (int i = 1; i <= count; ++i) {
        const int result = uploadExerciseAndTranslations(row.value(QStringLiteral("EId") + QString::number(i)));
        if (result != Uploaded)
            return result;
        progress.setValue(i);
        QApplication::processEvents();
        if (progress.wasCanceled())
            return LessonCancelled;
    }

    const QHash<QString, QString> reply = mNetManager->uploadManifest(lessonId, QStringLiteral("uploadLesson"));
    const int result = replyResult(reply, "uploadLesson");
    if (result != Uploaded)
        return result;
    const QString persistentId = reply.value(QStringLiteral("PId"));
    mDbHelper->assignPersistentId(lessonId, persistentId, false);
    return Uploaded;
}

int UploadForm::uploadExerciseAndTranslations(QString exerciseId)
{
    UploadedManifestList uploaded;
    int result = uploadExerciseOnly(exerciseId, uploaded);
    if (result != Uploaded) {
        qCDebug(lcShell, "uploadExerciseAndTranslations returning %d", result);
        return result;
    }
    // Each group: the translation's id, then its other exercises.
    const QStringList groups = mDbHelper->translationRelatives(exerciseId);
    for (const QString& group : groups) {
        const QStringList parts = group.split(QLatin1Char(','));
        for (int i = 1; i < parts.size(); ++i) {
            result = uploadExerciseOnly(parts.at(i), uploaded);
            if (result != Uploaded) {
                rollbackUploads(uploaded);
                return result;
            }
        }
        result = uploadTranslation(parts.first(), uploaded);
        if (result != Uploaded) {
            rollbackUploads(uploaded);
            return result;
        }
    }
    return Uploaded;
}

int UploadForm::uploadTranslation(const QString& translationId, UploadedManifestList& uploaded)
{
    if (!isLocalOnly(mDbHelper->persistentIdOf(translationId)))
        return Uploaded;
    const QHash<QString, QString> reply = mNetManager->uploadManifest(translationId,
                                                                      QStringLiteral("uploadTranslation"));
    const int result = replyResult(reply, "uploadTranslation");
    if (result != Uploaded)
        return result;
    const QString persistentId = reply.value(QStringLiteral("PId"));
    uploaded << translationId + QLatin1Char(',') + persistentId;
    mDbHelper->assignPersistentId(translationId, persistentId, false);
    return Uploaded;
}

int UploadForm::uploadExerciseOnly(QString exerciseId, UploadedManifestList& uploaded)
{
    if (!isLocalOnly(mDbHelper->persistentIdOf(exerciseId)))
        return Uploaded;
    if (!mDbManager || !mNetManager)
        return Failed;
    const std::unique_ptr<ZoExercise> exercise(mDbManager->getExercise(QStringLiteral("Exercise"), exerciseId));
    if (!exercise) {
        qCDebug(lcShell, "uploadExerciseOnly: exercise %s could not be loaded", qPrintable(exerciseId));
        return Failed;
    }
    // A sound the network knows already is not sent again.
    QString sound = exercise->mediaName();
    const QString mediaPersistentId = exercise->persistentMediaId();
    if (!isLocalOnly(mediaPersistentId) && mDbHelper->countByPersistentId(mediaPersistentId) != 0)
        sound.clear();

    const QHash<QString, QString> reply = mNetManager->uploadExercise(exerciseId, sound);
    const int result = replyResult(reply, "uploadExerciseOnly");
    if (result != Uploaded)
        return result;
    QList<QPair<QString, QString>> assigned{{exercise->id(), reply.value(QStringLiteral("PId"))},
                                            {exercise->termId(), reply.value(QStringLiteral("PersistentTermId"))}};
    if (reply.contains(QStringLiteral("PersistentMediaId")))
        assigned.append({exercise->mediaId(), reply.value(QStringLiteral("PersistentMediaId"))});
    for (const auto& pair : std::as_const(assigned)) {
        uploaded << pair.first + QLatin1Char(',') + pair.second;
        mDbHelper->assignPersistentId(pair.first, pair.second, false);
    }
    return Uploaded;
}

bool UploadForm::rollbackUploads(const UploadedManifestList& uploaded)
{
    bool ok = true;
    for (const QString& entry : uploaded) {
        if (mDbHelper->clearPersistentId(entry.section(QLatin1Char(','), 0, 0)) == 0)
            ok = false;
    }
    return ok;
}
