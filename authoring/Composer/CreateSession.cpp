#include "CreateSession.h"

#include "CreateNew.h"
#include "ICreate.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "LessonStore.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "SettingsStore.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMap>
#include <QSettings>

#include <memory>

namespace {

enum Column { ColId, ColTerm, ColLanguage, ColCountry, ColLocality, ColVoice, ColMediaPath, ColMediaName, ColCount };

bool isStoredId(const QString& id)
{
    bool ok = false;
    return id.toLongLong(&ok) > 0 && ok;
}

} // namespace

CreateSession::CreateSession(IMainWindow* host, ICreate* editor)
    : mHost(host)
    , mEditor(editor)
{
    setupUi(this);
    init();
    connect(tblSession, &ZoTable::zoTableChanged, this, &CreateSession::tableSelectionChanged);
    connect(tblSession, &ZoTable::clicked, this, &CreateSession::tblSessionClicked);
    connect(tblSession, &ZoTable::mouseDoubleClick, this, &CreateSession::tblSessionDoubleClick);
    connect(tblSession, &ZoTable::keyPress, this, &CreateSession::tblSessionEnterPressed);
    connect(btnLoad, &QPushButton::clicked, this, &CreateSession::openExercise);
    connect(btnClear, &QPushButton::clicked, this, &CreateSession::clear);
    connect(btnSaveAsLesson, &QPushButton::clicked, this, &CreateSession::saveAsLesson);
}

CreateSession::~CreateSession() = default;

void CreateSession::init()
{
    mTitle = QSettings().value(SettingsKeys::Version).toString();
    mStore = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mIconDir = QDir(QStringLiteral("Icons"));

    tblSession->viewport()->setMouseTracking(true);
    tblSession->setLeftMargin(0);
    tblSession->setNumCols(ColCount);
    for (int col : {ColId, ColMediaPath, ColMediaName})
        tblSession->hideColumn(col);
    const int widths[] = {0, 330, 80, 80, 80, 60};
    for (int col = ColTerm; col <= ColVoice; ++col) {
        tblSession->setColumnWidth(col, widths[col]);
        tblSession->setColumnReadOnly(col, true);
    }
    tblSession->setReadOnly(true);
    clear();
    setTexts();
}

void CreateSession::setTexts()
{
    tblSession->setColumnLabels({QStringLiteral("Id"), tr("Study Term"), tr("Language"), tr("Country"), tr("Locality"),
                                 tr("Voice"), QStringLiteral("MediaPath"), QStringLiteral("MediaName")});
}

void CreateSession::retranslate()
{
    retranslateUi(this);
    setTexts();
}

void CreateSession::setMainWindow(IMainWindow* host)
{
    mHost = host;
}

int CreateSession::redrawView()
{
    tblSession->redrawTable();
    return 1;
}

void CreateSession::refreshData()
{
    btnLoad->setEnabled(false);
}

void CreateSession::clear()
{
    btnLoad->setEnabled(false);
    btnClear->setEnabled(false);
    btnSaveAsLesson->setEnabled(false);
    tblSession->setNumRows(0);
    tblSession->setShowGrid(true);
    tblSession->setSingleRowSelection();
    mIds.clear();
    mSelectedId.clear();
}

void CreateSession::addExercise(ZoExercise* exercise)
{
    if (!exercise || !isStoredId(exercise->id()))
        return;
    const QHash<QString, QString> values = exercise->toHash();
    const QString id = values.value(QStringLiteral("Id"));
    int row = mIds.indexOf(id);
    if (row < 0) {
        mIds.append(id);
        row = tblSession->numRows();
        tblSession->insertRows(row, 1);
    }
    tblSession->setUpdatesEnabled(false);
    tblSession->setText(row, ColId, id);
    tblSession->setFixedItem(row, ColTerm, values.value(QStringLiteral("Term")),
                             QPixmap(mIconDir.filePath(QStringLiteral("minusSign.png"))));
    tblSession->setText(row, ColLanguage, values.value(QStringLiteral("Language")));
    tblSession->setText(row, ColCountry, values.value(QStringLiteral("Country")));
    tblSession->setText(row, ColLocality, values.value(QStringLiteral("Locality")));
    tblSession->setText(row, ColVoice, values.value(QStringLiteral("Voice")));
    tblSession->setText(row, ColMediaPath, values.value(QStringLiteral("MediaPath")));
    tblSession->setText(row, ColMediaName, values.value(QStringLiteral("MediaName")));
    tblSession->clearSelection();
    tblSession->setUpdatesEnabled(true);
    btnLoad->setEnabled(true);
    btnClear->setEnabled(true);
    btnSaveAsLesson->setEnabled(true);
}

int CreateSession::refreshFromStore()
{
    // Without the store nothing is known about the rows: keep them.
    if (!mStore || mIds.isEmpty()) {
        if (mIds.isEmpty())
            btnSaveAsLesson->setEnabled(false);
        return 1;
    }
    QString idText;
    for (int row = 0; row < tblSession->numRows(); ++row)
        idText += tblSession->text(row, ColId) + QLatin1Char(',');
    QMap<qint64, QString> current;
    const QList<QHash<QString, QString>> rows = mStore->search(QStringLiteral("Exercise"),
                                                               {{QStringLiteral("IdList"), idText}});
    for (const QHash<QString, QString>& found : rows)
        current.insert(found.value(QStringLiteral("Id")).toLongLong(),
                       found.value(QStringLiteral("Term")) + QLatin1Char(':') + found.value(QStringLiteral("Voice")));

    tblSession->setUpdatesEnabled(false);
    for (int row = tblSession->numRows() - 1; row >= 0; --row) {
        const QString key = tblSession->text(row, ColTerm) + QLatin1Char(':') + tblSession->text(row, ColVoice);
        const qint64 id = tblSession->text(row, ColId).toLongLong();
        if (!current.contains(id) || current.value(id) != key) {
            mIds.removeAt(row);
            tblSession->removeRow(row);
        }
    }
    tblSession->setUpdatesEnabled(true);
    tblSession->viewport()->update();
    if (mIds.isEmpty())
        btnSaveAsLesson->setEnabled(false);
    tblSession->clearSelection();
    mSelectedId.clear();
    return 1;
}

void CreateSession::tableSelectionChanged(ZoTable* table)
{
    if (!table || table->currentRow() < 0)
        return;
    mSelectedId = table->text(table->currentRow(), ColId);
    btnLoad->setEnabled(true);
}

void CreateSession::tblSessionClicked(int row, int col, int button, const QPoint& pos)
{
    if (button != Qt::LeftButton || tblSession->numRows() < 1 || row < 0 || col != ColTerm)
        return;
    if (pos.x() <= 0 || pos.x() >= 15)
        return;
    mIds.removeAt(row);
    tblSession->removeRow(row);
    tblSession->clearSelection();
    mSelectedId.clear();
}

void CreateSession::openExercise()
{
    if (mSelectedId.isEmpty() || !mEditor || !mStore)
        return;
    if (!mEditor->customLeave())
        return;
    // Leaving unsaved work needs the user's word first.
    if (!mEditor->maybeSave())
        return;
    std::unique_ptr<ZoExercise> exercise(mStore->getExercise(QStringLiteral("Exercise"), mSelectedId));
    if (exercise) {
        mEditor->openSession(exercise.get());
        mEditor->customRefresh();
        mEditor->objectNotModified();
    }
    tblSession->clearSelection();
}

void CreateSession::tblSessionDoubleClick(int, int, int, const QPoint&)
{
    openExercise();
}

void CreateSession::tblSessionEnterPressed(QKeyEvent* event)
{
    // Arrow keys move the selection; only Return and Enter open the row.
    if (event && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        openExercise();
}

void CreateSession::removeExercise(QString id)
{
    const int row = mIds.indexOf(id);
    if (row >= 0) {
        mIds.removeAt(row);
        tblSession->removeRow(row);
    }
    if (tblSession->numRows() == 0) {
        btnLoad->setEnabled(false);
        btnClear->setEnabled(false);
        btnSaveAsLesson->setEnabled(false);
    }
    tblSession->clearSelection();
    if (mSelectedId == id)
        mSelectedId.clear();
}

void CreateSession::saveAsLesson()
{
    if (!mStore)
        return;
    ZoLesson lesson;
    for (const QString& id : std::as_const(mIds)) {
        if (isStoredId(id))
            lesson.addExerciseId(id);
    }
    CreateNew dialog(mHost, &lesson);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!LessonStore::write(mStore, lesson)) {
        LessonStore::sayWhyNot(this, mTitle);
        return;
    }
    if (mHost)
        mHost->updateUploadCount();
    MessageBoxHelper::information(this, mTitle, tr("Lesson Saved."));
    clear();
}
