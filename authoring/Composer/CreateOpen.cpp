#include "CreateOpen.h"

#include "IDbManager.h"
#include "IMainWindow.h"
#include "IUserResource.h"
#include "LanguageComboHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QFont>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace {

const QString kExercise = QStringLiteral("Exercise");
const QString kLesson = QStringLiteral("Lesson");

} // namespace

CreateOpen::CreateOpen(IMainWindow* mainWindow, const QString& kind, QWidget* parent)
    : QDialog(parent)
    , mKind(kind)
    , mHost(mainWindow)
{
    setupUi(this);
    if (mHost && mHost->mFont)
        setFont(*mHost->mFont);
    // The combo's choices, "Add Language..." with the wizard included, come
    // through the helper; every choice lists again.
    mLanguages = new LanguageComboHelper(cmbLanguages, LanguageComboHelper::AllLanguages, mHost);
    mLanguages->setWizardParent(this);
    init();
    btnSearch->hide();
    connect(btnFindAll, &QPushButton::clicked, this, &CreateOpen::findAll);
    connect(btnSearch, &QToolButton::clicked, this, &CreateOpen::searchLocal);
    connect(tblObject, &ZoTable::tableSelectionChanged, this, &CreateOpen::tableSelectionChanged);
    connect(tblObject, &ZoTable::keyPress, this, &CreateOpen::tblEnterPressed);
    connect(tblObject, qOverload<int, int, int, const QPoint&>(&ZoTable::doubleClicked), this,
            [this](int row, int, int, const QPoint&) {
                if (row >= 0 && row < tblObject->rowCount())
                    accept();
            });
    connect(lEditSearchField, &QLineEdit::returnPressed, this, &CreateOpen::lEditSearchEnterPressed);
    connect(lEditSearchField, &QLineEdit::textChanged, this, &CreateOpen::quickSearch);
    connect(mLanguages, &LanguageComboHelper::languageChosen, this,
            [this] { addLanguage(cmbLanguages->currentIndex()); });
}

CreateOpen::~CreateOpen() = default;

void CreateOpen::init()
{
    mStore = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mUsers = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
    mIconDir = QDir(QStringLiteral("Icons"));
    if (mIconDir.exists())
        btnSearch->setIcon(QIcon(mIconDir.filePath(QStringLiteral("go_highlight_act.png"))));

    QStringList labels;
    if (mKind == kExercise) {
        labels = {QStringLiteral("Id"),
                  tr("Study Term"),
                  tr("Language"),
                  tr("Country"),
                  tr("Locality"),
                  tr("Voice"),
                  QStringLiteral("MediaPath"),
                  QStringLiteral("MediaName")};
    } else if (mKind == kLesson) {
        labels = {QStringLiteral("Id"), tr("Title"),         tr("Description"), tr("Exercise Count"),
                  tr("Language"),       tr("Learner Level"), tr("Username"),    QString()};
    }
    setWindowTitle(tr("Open an existing ") + mKind);
    tblObject->setLeftMargin(0);
    tblObject->setNumCols(8);
    if (!labels.isEmpty())
        tblObject->setColumnLabels(labels);
    tblObject->setReadOnly(true);
    tblObject->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblObject->setSingleRowSelection();
    tblObject->setColumnHidden(0, true);
    tblObject->setColumnHidden(6, mKind == kExercise);
    tblObject->setColumnHidden(7, true);
    tblObject->setColumnWidth(1, 180);
    tblObject->setColumnWidth(2, 220);
    // Wide enough for the header's text ("Exercise Count", and the German texts).
    for (int column = 3; column < 8; ++column)
        tblObject->setColumnWidth(column, qMax(90, tblObject->horizontalHeader()->sectionSizeHint(column)));

    if (mKind == kExercise)
        searchExercises(0);
    else if (mKind == kLesson)
        searchLessons(0);
    else
        btnOpen->setEnabled(false);
    updateList();
}

QStringList CreateOpen::rowKeys() const
{
    if (mKind == kExercise)
        return {QStringLiteral("Id"),        QStringLiteral("Term"),     QStringLiteral("Language"),
                QStringLiteral("Country"),   QStringLiteral("Locality"), QStringLiteral("Voice"),
                QStringLiteral("MediaPath"), QStringLiteral("MediaName")};
    return {QStringLiteral("Id"),          QStringLiteral("Title"),
            QStringLiteral("Description"), QStringLiteral("ExerciseCount"),
            QStringLiteral("Language"),    QStringLiteral("LearnerLevel"),
            QStringLiteral("Username")};
}

void CreateOpen::list(const QString& type, const QString& textKey, int useCriteria)
{
    tblObject->setNumRows(0);
    tblObject->setShowGrid(true);
    tblObject->setSingleRowSelection();

    QHash<QString, QString> criteria;
    if (useCriteria) {
        criteria.insert(textKey, lEditSearchField->text());
        if (mLanguages->hasLanguage())
            criteria.insert(QStringLiteral("Language"), mLanguages->language());
    }
    const QList<QHash<QString, QString>> found = mStore ? mStore->search(type, criteria)
                                                        : QList<QHash<QString, QString>>();
    const QStringList keys = rowKeys();
    tblObject->setUpdatesEnabled(false);
    if (!found.isEmpty())
        tblObject->insertRows(0, int(found.size()));
    for (int row = 0; row < found.size(); ++row) {
        for (int column = 0; column < keys.size(); ++column)
            tblObject->setText(row, column, found.at(row).value(keys.at(column)));
    }
    tblObject->setUpdatesEnabled(true);
    tblObject->redrawTable();
    if (found.isEmpty()) {
        tblObject->setShowGrid(false);
        tblObject->setSelectionMode(QAbstractItemView::NoSelection);
    } else {
        tblObject->clearSelection();
    }
    btnOpen->setEnabled(false);
}

void CreateOpen::searchExercises(int useCriteria)
{
    list(kExercise, QStringLiteral("Term"), useCriteria);
}

void CreateOpen::searchLessons(int useCriteria)
{
    list(kLesson, QStringLiteral("Title"), useCriteria);
}

void CreateOpen::searchLocal()
{
    if (mKind == kExercise)
        searchExercises(1);
    else if (mKind == kLesson)
        searchLessons(1);
}

void CreateOpen::lEditSearchEnterPressed()
{
    searchLocal();
}

void CreateOpen::quickSearch(const QString& text)
{
    // While nothing is listed, a longer text cannot find more.
    if (tblObject->rowCount() > 0 || text.size() < mPreviousText.size())
        searchLocal();
    mPreviousText = text;
}

void CreateOpen::findAll()
{
    {
        const QSignalBlocker comboBlocker(cmbLanguages);
        const QSignalBlocker fieldBlocker(lEditSearchField);
        lEditSearchField->clear();
        cmbLanguages->setCurrentIndex(0);
    }
    searchLocal();
    lEditSearchField->setFocus();
}

void CreateOpen::updateList()
{
    cmbLanguages->clear();
    mLanguages->fill(false);
}

void CreateOpen::tableSelectionChanged()
{
    btnOpen->setEnabled(tblObject->currentRow() >= 0 && tblObject->selectionModel()->hasSelection());
}

void CreateOpen::addLanguage(int)
{
    // The helper ran the wizard for "Add Language..." and shows the new
    // language, or the entry chosen before when it was cancelled.
    searchLocal();
}

void CreateOpen::tblEnterPressed(QKeyEvent* event)
{
    // Only Return opens: other keys move the current row.
    if (!event || (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter))
        return;
    if (tblObject->rowCount() > 0 && tblObject->currentRow() >= 0)
        accept();
}

QObject* CreateOpen::selectedObject()
{
    const int row = tblObject->currentRow();
    if (!mStore || row < 0 || row >= tblObject->rowCount())
        return nullptr;
    const QString id = tblObject->text(row, 0);
    if (mKind == kExercise)
        return mStore->getExercise(mKind, id);
    if (mKind != kLesson)
        return nullptr;
    const QList<QHash<QString, QString>> found = mStore->search(mKind, {{QStringLiteral("Id"), id}});
    // A lesson deleted meanwhile opens nothing rather than an empty lesson.
    if (found.isEmpty())
        return nullptr;
    return mStore->create(mKind, found.first());
}
