#include "ImportForm.h"

#include "ColumnWidget.h"
#include "ContentGate.h"
#include "IMainWindow.h"
#include "MessageBoxHelper.h"
#include "SettingsKeys.h"
#include "UnicodeText.h"
#include "WorkProgress.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoWordList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QInputDialog>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {

// Lines read between two looks at the clock, and how often pending events
// are processed.
constexpr int kLinesPerEventRound = 50;
constexpr qint64 kEventEveryMs = 25;

// CR LF, a lone CR (old Mac files) and LF each end a line.
QString withLineFeeds(const QString& text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

} // namespace

ImportForm::ImportForm(IMainWindow* mainWindow, QWidget* parent, const QString& fileName, const QDir& listDir)
    : QDialog(parent, Qt::WindowSystemMenuHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , mMainWindow(mainWindow)
    , mFileName(fileName)
    , mListDir(listDir)
{
    setupUi(this);
    setMainWindow(mainWindow);
    mTitle = QSettings().value(SettingsKeys::Version).toString();
    connect(btnImport, &QPushButton::clicked, this, &ImportForm::btnImportClicked);
    connect(btnCancel, &QPushButton::clicked, this, &ImportForm::btnCancelClicked);

    auto* layout = new QVBoxLayout(frmColumns);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    btnChooseFile->hide();
    setFields();
}

ImportForm::~ImportForm() = default;

void ImportForm::setMainWindow(IMainWindow* mainWindow)
{
    mMainWindow = mainWindow;
    if (mainWindow && mainWindow->mFont)
        setFont(*mainWindow->mFont);
}

ZoWordList* ImportForm::wordList()
{
    return mResult.release();
}

int ImportForm::detectUnicode(const QString& path)
{
    return UnicodeText::detect(path);
}

QString ImportForm::importableText(const QString& path, QString* refusal, int* dropped)
{
    *dropped = 0;
    refusal->clear();
    UnicodeText::Problem problem = UnicodeText::NoProblem;
    const QString text = UnicodeText::read(path, ContentGate::MaxImportBytes, false, &problem);
    if (problem == UnicodeText::TooLarge) {
        *refusal = tr("The selected file is larger than %1 MB and cannot be imported.")
                       .arg(ContentGate::MaxImportBytes / (1024 * 1024));
        return QString();
    }
    if (text.isNull())
        return QString();
    // A NUL or many controls and undecodable bytes: a picture, a program, or
    // UTF-16 without its mark.
    qsizetype odd = 0;
    bool nul = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0) {
            nul = true;
            break;
        }
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0xFFFD)
            ++odd;
    }
    if (nul || (odd > 16 && odd * 10 > text.size())) {
        *refusal = tr("The selected file is not a text file and cannot be imported.\nIt may be a picture or a "
                      "program, or text in UTF-16 without a byte-order mark.\nPlease choose a text file saved "
                      "with UTF-8 Encoding.");
        return QString();
    }
    // Other controls (form feed, end of file, ...) cannot be stored in a list file.
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r')
            continue;
        kept += c;
    }
    kept = ContentGate::toXmlText(kept);
    *dropped = int(text.size() - kept.size());
    kept = withLineFeeds(kept);
    int lineNumber = 0;
    int terms = 0;
    for (qsizetype start = 0; start <= kept.size();) {
        qsizetype end = kept.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = kept.size();
        ++lineNumber;
        const QStringView line = QStringView(kept).mid(start, end - start);
        if (line.size() > ContentGate::MaxImportLineLength) {
            *refusal = tr("Line %1 of the selected file is longer than %2 characters.\nThe file cannot be "
                          "imported; study terms are one a line.")
                           .arg(lineNumber)
                           .arg(ContentGate::MaxImportLineLength);
            return QString();
        }
        if (!line.trimmed().isEmpty() && ++terms > ZoWordList::maxWords()) {
            *refusal = tr("The selected file holds more than %L1 lines of study terms.\nA List holds at most %L1 "
                          "study terms; the file cannot be imported.")
                           .arg(ZoWordList::maxWords());
            return QString();
        }
        for (const QStringView cell : line.split(QLatin1Char('\t'))) {
            if (cell.trimmed().size() > ContentGate::MaxTermLength) {
                *refusal = tr("Line %1 of the selected file holds a term longer than %2 characters.\nThe file "
                              "cannot be imported.")
                               .arg(lineNumber)
                               .arg(ContentGate::MaxTermLength);
                return QString();
            }
        }
        start = end + 1;
    }
    return kept;
}

void ImportForm::setFields()
{
    mNotes.clear();
    const int mark = detectUnicode(mFileName);
    int dropped = 0;
    const QString text = importableText(mFileName, &mRefusal, &dropped);
    if (!mRefusal.isEmpty() || text.isNull())
        return;
    // Text without a mark is UTF-8 when it decodes as such; only other text is warned about.
    UnicodeText::Problem problem = UnicodeText::NoProblem;
    if (mark == UnicodeText::NoMark
        && UnicodeText::read(mFileName, ContentGate::MaxImportBytes, true, &problem).isNull()
        && problem == UnicodeText::BadEncoding)
        mNotes << tr("Selected file is not in Unicode format.\nAccents and non-Latin characters may not import "
                     "properly.\nFor best results, please open the file in a text editor, select Save As,\nand "
                     "select UTF-8 Encoding.");
    if (dropped > 0)
        mNotes << tr("Control characters that a list cannot hold were left out of the imported text (%n in all).", "",
                     dropped);

    clearColumns();
    lEditFilename->setText(mFileName);
    const QStringList cells = text.left(text.indexOf(QLatin1Char('\n'))).split(QLatin1Char('\t'));
    int refused = 0;
    for (int i = 0; i < cells.size(); ++i)
        refused += addColumn();
    if (refused > 0)
        mNotes << tr("A maximum of four columns can be imported.");
    if (mColumns.size() == 1) {
        mColumns.first()->setStudyTerm();
        mColumns.first()->btnRemove->hide();
    }
}

void ImportForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (mNotes.isEmpty())
        return;
    QTimer::singleShot(0, this, [this] {
        const QStringList notes = std::exchange(mNotes, {});
        QPointer<ImportForm> self(this);
        for (const QString& note : notes) {
            MessageBoxHelper::information(this, mTitle, note);
            if (!self)
                return;
        }
    });
}

int ImportForm::addColumn()
{
    if (mColumns.size() >= 4)
        return 1;
    addColumnClicked(tr("Column %1").arg(mColumns.size() + 1));
    return 0;
}

void ImportForm::addColumnClicked(const QString& label)
{
    auto* column = new ColumnWidget(mMainWindow, label);
    mColumns.append(column);
    connect(column, &ColumnWidget::languagesModified, this, &ImportForm::updateLanguageLists);
    frmColumns->layout()->addWidget(column);
}

void ImportForm::clearColumns()
{
    for (ColumnWidget* column : std::as_const(mColumns))
        column->deleteLater();
    mColumns.clear();
}

void ImportForm::updateLanguageLists()
{
    // The wizard has refreshed the main window's lists already.
    for (ColumnWidget* column : std::as_const(mColumns))
        column->fillLanguages();
}

QString ImportForm::suggestedName() const
{
    return QFileInfo(lEditFilename->text()).completeBaseName();
}

QString ImportForm::checkColumns() const
{
    int imported = 0;
    int studyTerms = 0;
    bool noType = false;
    bool noLanguage = false;
    for (ColumnWidget* column : mColumns) {
        if (!column->isImported())
            continue;
        ++imported;
        if (column->isStudyTerm())
            ++studyTerms;
        if (column->fieldName().isEmpty())
            noType = true;
        if (column->language().isEmpty())
            noLanguage = true;
    }
    if (imported == 0)
        return tr("There must be at least one column to import.");
    if (noType)
        return tr("Please select the type of each column.");
    if (noLanguage)
        return tr("Language has not been selected for one of the import columns.");
    if (studyTerms > 1)
        return tr("Only one column can contain the Study Term.");
    if (studyTerms == 0)
        return tr("At least one column must be the Study Term.");
    if (lEditFilename->text().isEmpty())
        return tr("No file has been selected to import.");
    return QString();
}

QString ImportForm::askName()
{
    QString suggestion = suggestedName();
    for (;;) {
        QInputDialog prompt(this, Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
        prompt.setWindowTitle(mTitle);
        prompt.setLabelText(tr("Save List as:"));
        prompt.setTextValue(suggestion);
        mPrompt = &prompt;
        const int answer = prompt.exec();
        mPrompt = nullptr;
        if (answer != QDialog::Accepted)
            return QString();
        const QString name = prompt.textValue();
        const QString refusal = ZoWordList::checkListName(name);
        if (!refusal.isEmpty()) {
            MessageBoxHelper::information(this, mTitle, refusal);
            suggestion = name;
            continue;
        }
        if (QFileInfo::exists(ZoWordList::fileName(mListDir, name))) {
            // The old list is replaced by the caller once the new one was read.
            const int choice =
                MessageBoxHelper::show(MessageBoxHelper::Question, this, mTitle,
                                       tr("List '%1' already exists, would you like to overwrite?").arg(name),
                                       {tr("Overwrite"), tr("Choose another name")}, 1, 1);
            if (choice != 0) {
                suggestion = name;
                continue;
            }
        }
        return name;
    }
}

void ImportForm::btnImportClicked()
{
    const QString refusal = checkColumns();
    if (!refusal.isEmpty()) {
        MessageBoxHelper::information(this, mTitle, refusal);
        return;
    }
    QPointer<ImportForm> self(this);
    const QString name = askName();
    if (!self || name.isNull())
        return;

    hide();
    btnChooseFile->setEnabled(false);
    btnImport->setEnabled(false);
    const bool read = readList(name);
    if (!self)
        return;
    btnChooseFile->setEnabled(true);
    btnImport->setEnabled(true);
    if (read)
        accept();
    else
        reject();
}

bool ImportForm::readList(const QString& name)
{
    // Read again: the file may have changed while the dialog was open.
    QString refusal;
    int dropped = 0;
    const QString text = importableText(mFileName, &refusal, &dropped);
    if (text.isNull()) {
        if (!refusal.isEmpty())
            MessageBoxHelper::information(this, mTitle, refusal);
        return false;
    }
    const QStringList lines = text.split(QLatin1Char('\n'));

    // What each column gives, taken before the loop processes events.
    struct Column
    {
        bool imported;
        bool studyTerm;
        QString type;
        QString language;
        QString languageId;
    };
    ZoDbHelper helper;
    QList<Column> columns;
    for (ColumnWidget* widget : std::as_const(mColumns))
        columns.append({widget->isImported(), widget->isStudyTerm(), widget->fieldName(), widget->language(),
                        helper.languageId(widget->language())});

    auto list = std::make_unique<ZoWordList>();
    list->setTitle(name);
    QPointer<ImportForm> self(this);
    WorkProgress progress(parentWidget(), mTitle, tr("Importing List.  This could take a few minutes..."),
                          int(lines.size()));
    QElapsedTimer clock;
    clock.start();
    int sinceEvents = 0;
    int done = 0;
    for (const QString& line : lines) {
        ++done;
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        const int n = std::min(int(cells.size()), int(columns.size()));
        ZoExercise exercise;
        for (int i = 0; i < n; ++i) {
            const Column& column = columns.at(i);
            if (!column.imported)
                continue;
            const QString cell = cells.at(i).trimmed();
            if (column.studyTerm) {
                exercise.setTerm(cell);
                exercise.setLanguage(column.language);
            } else {
                // An empty cell adds no field.
                exercise.addField(column.type, {{QStringLiteral("Value"), cell},
                                                {QStringLiteral("Language"), column.language},
                                                {QStringLiteral("LanguageID"), column.languageId}});
            }
        }
        if (!exercise.term().isEmpty())
            list->appendExercise(exercise);
        if (++sinceEvents == kLinesPerEventRound) {
            sinceEvents = 0;
            progress.step(done);
            if (clock.elapsed() >= kEventEveryMs) {
                QCoreApplication::processEvents();
                clock.restart();
            }
            if (!self)
                return false;
        }
    }
    mResult = std::move(list);
    return true;
}

void ImportForm::btnCancelClicked()
{
    btnChooseFile->setEnabled(true);
    btnImport->setEnabled(true);
    reject();
}
