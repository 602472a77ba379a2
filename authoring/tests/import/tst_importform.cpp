#include "AuthoringTree.h"
#include "ColumnWidget.h"
#include "ComboSteps.h"
#include "ImportForm.h"
#include "LanguageComboHelper.h"
#include "ScreenTexts.h"
#include "WizardDriver.h"
#include "ZoDbHelper.h"
#include "ZoWordList.h"

#include <QFile>
#include <QInputDialog>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

using namespace ComboSteps;

namespace {

const QString kGerman = QStringLiteral("German, Standard");
const QString kCancel = QStringLiteral("<cancel>");

const QString kNotUnicode = QStringLiteral(
    "Selected file is not in Unicode format.\nAccents and non-Latin characters may not import properly.\n"
    "For best results, please open the file in a text editor, select Save As,\nand select UTF-8 Encoding.");
const QString kFourColumns = QStringLiteral("A maximum of four columns can be imported.");
const QString kBadCharacters = QStringLiteral(
    "Please enter a name that does not contain any of the following characters: \\ / : * ? \" < > |");

QByteArray utf8Bom(const QString& text)
{
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

QString info(const QString& text)
{
    return WizardTestTree::info(text);
}

QString overwriteQuestion(const QString& name)
{
    return WizardTestTree::box(MessageBoxHelper::Question,
                               QStringLiteral("List '%1' already exists, would you like to overwrite?").arg(name),
                               {QStringLiteral("Overwrite"), QStringLiteral("Choose another name")});
}

// Answers each name prompt of a form in turn: a text to accept or kCancel;
// the prompt is cancelled once the answers run out. Records what each
// prompt suggested.
class PromptAnswers : public QObject
{
public:
    PromptAnswers(ImportForm* form, QStringList answers)
        : mForm(form)
        , mAnswers(std::move(answers))
    {
        connect(&mTimer, &QTimer::timeout, this, &PromptAnswers::answer);
        mTimer.start(5);
    }

    QStringList suggestions;

private:
    void answer()
    {
        QInputDialog* prompt = mForm ? mForm->namePrompt() : nullptr;
        if (!prompt || !prompt->isVisible())
            return;
        suggestions << prompt->textValue();
        const QString next = mAnswers.isEmpty() ? kCancel : mAnswers.takeFirst();
        if (next == kCancel) {
            prompt->reject();
            return;
        }
        prompt->setTextValue(next);
        prompt->accept();
    }

    QPointer<ImportForm> mForm;
    QStringList mAnswers;
    QTimer mTimer;
};

// "term:<language>", "tr:<language>", "none:<language>" (no type), "ignore",
// or "ignore-" before one of the others; an empty language leaves "Select Language".
void setUpColumn(ColumnWidget* column, const QString& setting)
{
    if (setting.startsWith(QLatin1String("ignore"))) {
        if (setting.startsWith(QLatin1String("ignore-")))
            setUpColumn(column, setting.mid(7));
        column->toggle();
        return;
    }
    const QString type = setting.section(QLatin1Char(':'), 0, 0);
    const QString language = setting.section(QLatin1Char(':'), 1);
    if (type == QLatin1String("term"))
        column->cmbColumnType->setCurrentIndex(1);
    else if (type == QLatin1String("tr"))
        column->cmbColumnType->setCurrentIndex(2);
    if (!language.isEmpty())
        column->cmbLanguages->setCurrentIndex(column->cmbLanguages->findText(language));
}

// One term as "term [language] name=value/language ...", fields sorted.
QString describe(const ZoExercise& exercise)
{
    QStringList fields;
    const ZoExercise::FieldMap map = exercise.fields();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        fields << QStringLiteral("%1=%2/%3").arg(it.key(), it.value().value("Value"), it.value().value("Language"));
    fields.sort();
    return (QStringList{QStringLiteral("%1 [%2]").arg(exercise.term(), exercise.language())} + fields)
        .join(QLatin1Char(' '));
}

} // namespace

class TestImportForm : public QObject
{
    Q_OBJECT

    AuthoringTree mFixture;
    std::unique_ptr<QTemporaryDir> mDir;

    QDir listDir() const { return QDir(mDir->filePath(QStringLiteral("TemplateList"))); }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = mDir->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return QString();
        return path;
    }

    std::unique_ptr<ImportForm> form(const QString& path)
    {
        auto dialog = std::make_unique<ImportForm>(mFixture.host(), nullptr, path, listDir());
        dialog->show();
        // The notes about the file come once the dialog is on screen.
        QCoreApplication::processEvents();
        return dialog;
    }

    // Runs the import with the columns set up and the prompt answered; the
    // list when the dialog was accepted.
    std::unique_ptr<ZoWordList> import(ImportForm& dialog, const QStringList& columns,
                                       const QStringList& answers = {QStringLiteral("kitchen")})
    {
        for (int i = 0; i < columns.size() && i < dialog.columns().size(); ++i)
            setUpColumn(dialog.columns().at(i), columns.at(i));
        PromptAnswers prompts(&dialog, answers);
        dialog.btnImportClicked();
        if (dialog.result() != QDialog::Accepted)
            return nullptr;
        return std::unique_ptr<ZoWordList>(dialog.wordList());
    }

private slots:
    void initTestCase() { QVERIFY(mFixture.setUp()); }
    void cleanupTestCase() { mFixture.tearDown(); }
    void init()
    {
        QVERIFY(mFixture.reset());
        mDir = std::make_unique<QTemporaryDir>();
        QVERIFY(mDir->isValid());
    }

    void columnsFromFirstLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("UTF-8 with mark, one column") << utf8Bom("Haus\nBaum\n") << 1 << QStringList{};
        QTest::newRow("UTF-16 little-endian")
            << utf16("Haus\thouse\tmaison\n", QStringConverter::Utf16LE) << 3 << QStringList{};
        QTest::newRow("UTF-16 big-endian") << utf16("Haus\thouse", QStringConverter::Utf16BE) << 2 << QStringList{};
        QTest::newRow("UTF-8 without mark") << QByteArray("H\xC3\xA4user\thouses\n") << 2 << QStringList{};
        QTest::newRow("ASCII without mark") << QByteArray("Haus\thouse\n") << 2 << QStringList{};
        QTest::newRow("Latin-1 warns") << QByteArray("H\xE4user\thouses\n") << 2 << QStringList{info(kNotUnicode)};
        QTest::newRow("empty cells keep their place") << utf8Bom("Haus\t\thouse\r\n") << 3 << QStringList{};
        QTest::newRow("six cells: four columns, one message")
            << utf8Bom("a\tb\tc\td\te\tf\n") << 4 << QStringList{info(kFourColumns)};
        QTest::newRow("empty file") << QByteArray() << 1 << QStringList{};
    }

    void columnsFromFirstLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, columns);
        QFETCH(QStringList, boxes);
        const QString path = writeFile(QStringLiteral("words.txt"), bytes);
        auto dialog = form(path);
        QCOMPARE(dialog->columns().size(), columns);
        QCOMPARE(mFixture.tree().boxes(), boxes);
        QCOMPARE(dialog->lEditFilename->text(), path);
        QVERIFY(dialog->btnChooseFile->isHidden());
        for (int i = 0; i < columns; ++i) {
            ColumnWidget* column = dialog->columns().at(i);
            QCOMPARE(column->lblColumnNumber->text(), QStringLiteral("Column %1").arg(i + 1));
            QCOMPARE(items(column->cmbLanguages),
                     (QStringList{"Select Language", kGerman, "French", "Add Language..."}));
            // Only a single column is fixed as the study term.
            QCOMPARE(column->isStudyTerm(), columns == 1);
            QCOMPARE(column->cmbColumnType->isEnabled(), columns != 1);
            QCOMPARE(column->btnRemove->isHidden(), columns == 1);
        }
    }

    void unreadableFileGivesNoColumns()
    {
        auto dialog = form(mDir->filePath(QStringLiteral("missing.txt")));
        QVERIFY(dialog->columns().isEmpty());
        QCOMPARE(mFixture.tree().boxes(), QStringList{});
        QCOMPARE(ImportForm::detectUnicode(mDir->filePath(QStringLiteral("missing.txt"))), -1);
        QVERIFY(!import(*dialog, {}));
        QCOMPARE(mFixture.tree().boxes(), QStringList{info("There must be at least one column to import.")});
    }

    void importChecks_data()
    {
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QString>("message");
        const QString term = QStringLiteral("term:") + kGerman;
        QTest::newRow("valid") << QStringList{term, "tr:French", "ignore"} << "";
        QTest::newRow("every column ignored")
            << QStringList{"ignore", "ignore", "ignore"} << "There must be at least one column to import.";
        QTest::newRow("a column without type")
            << QStringList{term, "none:French", "ignore"} << "Please select the type of each column.";
        QTest::newRow("an ignored column needs no type") << QStringList{term, "tr:French", "ignore"} << "";
        QTest::newRow("a column without language")
            << QStringList{term, "tr:", "ignore"} << "Language has not been selected for one of the import columns.";
        QTest::newRow("type is checked before language")
            << QStringList{"term:", "none:", "ignore"} << "Please select the type of each column.";
        QTest::newRow("two study terms") << QStringList{term, "term:French", "ignore"}
                                         << "Only one column can contain the Study Term.";
        QTest::newRow("no study term") << QStringList{"tr:French", "tr:French", "ignore"}
                                       << "At least one column must be the Study Term.";
        QTest::newRow("language is checked before the study term count")
            << QStringList{"tr:", "tr:French", "ignore"}
            << "Language has not been selected for one of the import columns.";
        QTest::newRow("ignored study term does not count")
            << QStringList{term, "tr:French", "ignore-term:French"} << "";
    }

    void importChecks()
    {
        QFETCH(QStringList, columns);
        QFETCH(QString, message);
        auto dialog = form(writeFile(QStringLiteral("kitchen.txt"), utf8Bom("Haus\thouse\tmaison\n")));
        std::unique_ptr<ZoWordList> list = import(*dialog, columns);
        if (message.isEmpty()) {
            QVERIFY(list);
            QCOMPARE(mFixture.tree().boxes(), QStringList{});
        } else {
            QVERIFY(!list);
            QCOMPARE(mFixture.tree().boxes(), QStringList{info(message)});
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->result(), int(QDialog::Rejected));
        }
    }

    void importedTerms_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QStringList>("terms");
        const QString term = QStringLiteral("term:") + kGerman;
        const QString g = QStringLiteral(" [") + kGerman + QStringLiteral("]");
        QTest::newRow("UTF-8 with mark: the mark is no part of the first term")
            << utf8Bom("Haus\thouse\nBaum\ttree\n") << QStringList{term, "tr:French"}
            << QStringList{"Haus" + g + " Translation=house/French", "Baum" + g + " Translation=tree/French"};
        QTest::newRow("UTF-16 with non-Latin text")
            << utf16("Straße\true\n日本\tJapon\n", QStringConverter::Utf16LE) << QStringList{term, "tr:French"}
            << QStringList{"Straße" + g + " Translation=rue/French", "日本" + g + " Translation=Japon/French"};
        QTest::newRow("no mark reads as UTF-8") << QByteArray("K\xC3\xA4se\tfromage") << QStringList{term, "tr:French"}
                                                << QStringList{"Käse" + g + " Translation=fromage/French"};
        QTest::newRow("CRLF lines") << utf8Bom("Haus\thouse\r\nBaum\ttree\r\n") << QStringList{term, "tr:French"}
                                    << QStringList{"Haus" + g + " Translation=house/French",
                                                   "Baum" + g + " Translation=tree/French"};
        QTest::newRow("CR lines (old Mac files)")
            << utf8Bom("Hund\tdog\rKatze\tcat\r") << QStringList{term, "tr:French"}
            << QStringList{"Hund" + g + " Translation=dog/French", "Katze" + g + " Translation=cat/French"};
        QTest::newRow("CR, LF and CRLF in one file")
            << utf8Bom("a\tb\rc\td\ne\tf\r\ng\th") << QStringList{term, "tr:French"}
            << QStringList{"a" + g + " Translation=b/French", "c" + g + " Translation=d/French",
                           "e" + g + " Translation=f/French", "g" + g + " Translation=h/French"};
        QTest::newRow("CR CR is an empty line between")
            << utf8Bom("a\tb\r\rc\td") << QStringList{term, "tr:French"}
            << QStringList{"a" + g + " Translation=b/French", "c" + g + " Translation=d/French"};
        QTest::newRow("blank terms skipped")
            << utf8Bom("Haus\thouse\n \tnothing\n\n\tnone\nBaum\ttree") << QStringList{term, "tr:French"}
            << QStringList{"Haus" + g + " Translation=house/French", "Baum" + g + " Translation=tree/French"};
        QTest::newRow("cells trimmed") << utf8Bom("  Haus \t house  \n") << QStringList{term, "tr:French"}
                                       << QStringList{"Haus" + g + " Translation=house/French"};
        QTest::newRow("blank translation adds no field")
            << utf8Bom("Haus\t \nBaum\t\n") << QStringList{term, "tr:French"} << QStringList{"Haus" + g, "Baum" + g};
        QTest::newRow("short line fills the columns it reaches")
            << utf8Bom("Haus\thouse\tmaison\nBaum\n") << QStringList{term, "tr:French", "tr:" + kGerman}
            << QStringList{"Haus" + g + " Translation=house/French Translation=maison/" + kGerman, "Baum" + g};
        QTest::newRow("cells after the fourth never read")
            << utf8Bom("a\tb\tc\td\te\tf\ng\th\ti\tj\tk\n") << QStringList{term, "tr:French", "ignore", "tr:French"}
            << QStringList{"a" + g + " Translation=b/French Translation=d/French",
                           "g" + g + " Translation=h/French Translation=j/French"};
        QTest::newRow("ignored column contributes nothing")
            << utf8Bom("Haus\thouse\n") << QStringList{term, "ignore"} << QStringList{"Haus" + g};
        QTest::newRow("term in the second column") << utf8Bom("house\tHaus\n") << QStringList{"tr:French", term}
                                                   << QStringList{"Haus" + g + " Translation=house/French"};
        QTest::newRow("one column, no type to choose")
            << utf8Bom("Haus\nBaum") << QStringList{":" + kGerman} << QStringList{"Haus" + g, "Baum" + g};
    }

    void importedTerms()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, columns);
        QFETCH(QStringList, terms);
        auto dialog = form(writeFile(QStringLiteral("kitchen.txt"), bytes));
        std::unique_ptr<ZoWordList> list = import(*dialog, columns);
        QVERIFY(list);
        QCOMPARE(list->title(), QStringLiteral("kitchen"));
        QStringList got;
        for (int i = 0; i < list->exerciseCount(); ++i)
            got << describe(*list->exerciseAt(i));
        QCOMPARE(got, terms);
        QVERIFY(!dialog->isVisible());
        // The list is handed over once; the dialog writes no file.
        QVERIFY(!dialog->wordList());
        QVERIFY(!listDir().exists());
    }

    void fieldsCarryLanguageIds()
    {
        auto dialog = form(writeFile(QStringLiteral("kitchen.txt"), utf8Bom("Haus\thouse\n")));
        std::unique_ptr<ZoWordList> list = import(*dialog, {"term:" + kGerman, "tr:French"});
        QVERIFY(list);
        ZoDbHelper helper;
        const ZoExercise* exercise = list->exerciseAt(0);
        QCOMPARE(exercise->languageId(), helper.languageId(kGerman));
        const QHash<QString, QString> values = exercise->fields().value(QStringLiteral("Translation"));
        QVERIFY(!helper.languageId(QStringLiteral("French")).isEmpty());
        QCOMPARE(values.value("LanguageID"), helper.languageId(QStringLiteral("French")));
    }

    void namePrompt_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QList<int>>("boxAnswers");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("suggestions");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("name");
        const QString a31(31, QLatin1Char('a'));
        const QString a32(32, QLatin1Char('a'));
        QTest::newRow("suggestion is the base name")
            << "kitchen words.txt" << QStringList{} << QList<int>{} << QStringList{"kitchen words"}
            << QStringList{"kitchen words"} << QStringList{} << "kitchen words";
        QTest::newRow("only the last extension goes")
            << "my.list.txt" << QStringList{} << QList<int>{} << QStringList{"my.list"} << QStringList{"my.list"}
            << QStringList{} << "my.list";
        QTest::newRow("empty name asks again with empty text")
            << "kitchen.txt" << QStringList{} << QList<int>{} << QStringList{"", "food"} << QStringList{"kitchen", ""}
            << QStringList{info("Please enter a name for the List.")} << "food";
        QTest::newRow("bad characters become the next suggestion")
            << "kitchen.txt" << QStringList{} << QList<int>{} << QStringList{"../food", "food"}
            << QStringList{"kitchen", "../food"} << QStringList{info(kBadCharacters)} << "food";
        QTest::newRow("32 characters refused, 31 taken")
            << "kitchen.txt" << QStringList{} << QList<int>{} << QStringList{a32, a31} << QStringList{"kitchen", a32}
            << QStringList{info("Name is too long.  Please enter a name less than 32 characters.")} << a31;
        QTest::newRow("existing list, choose another name")
            << "kitchen.txt" << QStringList{"kitchen"} << QList<int>{1} << QStringList{"kitchen", "food"}
            << QStringList{"kitchen", "kitchen"} << QStringList{overwriteQuestion("kitchen")} << "food";
        QTest::newRow("existing list, question closed")
            << "kitchen.txt" << QStringList{"kitchen"} << QList<int>{-1} << QStringList{"kitchen", "food"}
            << QStringList{"kitchen", "kitchen"} << QStringList{overwriteQuestion("kitchen")} << "food";
        QTest::newRow("existing list, overwrite")
            << "kitchen.txt" << QStringList{"kitchen"} << QList<int>{0} << QStringList{"kitchen"}
            << QStringList{"kitchen"} << QStringList{overwriteQuestion("kitchen")} << "kitchen";
        QTest::newRow("another list's name does not ask")
            << "kitchen.txt" << QStringList{"food"} << QList<int>{} << QStringList{"kitchen"} << QStringList{"kitchen"}
            << QStringList{} << "kitchen";
        QTest::newRow("cancel keeps the dialog")
            << "kitchen.txt" << QStringList{} << QList<int>{} << QStringList{kCancel} << QStringList{"kitchen"}
            << QStringList{} << QString();
        QTest::newRow("cancel after a refusal")
            << "kitchen.txt" << QStringList{} << QList<int>{} << QStringList{"a|b", kCancel}
            << QStringList{"kitchen", "a|b"} << QStringList{info(kBadCharacters)} << QString();
    }

    void namePrompt()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, existing);
        QFETCH(QList<int>, boxAnswers);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, suggestions);
        QFETCH(QStringList, boxes);
        QFETCH(QString, name);
        QVERIFY(QDir().mkpath(listDir().absolutePath()));
        for (const QString& list : existing)
            QVERIFY(!writeFile(QStringLiteral("TemplateList/") + list + QStringLiteral(".xml"), "old").isEmpty());
        mFixture.tree().answerBoxes(boxAnswers);
        auto dialog = form(writeFile(file, utf8Bom("Haus\thouse\n")));
        for (ColumnWidget* column : dialog->columns())
            setUpColumn(column, column == dialog->columns().first() ? "term:" + kGerman : "tr:French");
        PromptAnswers prompts(dialog.get(), answers);
        dialog->btnImportClicked();
        QCOMPARE(prompts.suggestions, suggestions);
        QCOMPARE(mFixture.tree().boxes(), boxes);
        std::unique_ptr<ZoWordList> list(dialog->wordList());
        if (name.isNull()) {
            QVERIFY(!list);
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->columns().size(), 2);
        } else {
            QVERIFY(list);
            QCOMPARE(list->title(), name);
            QCOMPARE(list->exerciseCount(), 1);
            QCOMPARE(dialog->result(), int(QDialog::Accepted));
        }
        // Old lists stay as they were until the caller writes the new one.
        for (const QString& old : existing) {
            QFile stored(ZoWordList::fileName(listDir(), old));
            QVERIFY(stored.open(QIODevice::ReadOnly));
            QCOMPARE(stored.readAll(), QByteArray("old"));
        }
    }

    void cancelRejects()
    {
        auto dialog = form(writeFile(QStringLiteral("kitchen.txt"), utf8Bom("Haus\n")));
        QTest::mouseClick(dialog->btnCancel, Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(!dialog->isVisible());
        QVERIFY(!dialog->wordList());
    }

    void ignoreToggles()
    {
        auto dialog = form(writeFile(QStringLiteral("kitchen.txt"), utf8Bom("Haus\thouse\n")));
        ColumnWidget* column = dialog->columns().at(1);
        QTest::mouseClick(column->btnRemove, Qt::LeftButton);
        QVERIFY(!column->isImported());
        QVERIFY(!column->cmbColumnType->isEnabled());
        QVERIFY(!column->cmbLanguages->isEnabled());
        QCOMPARE(column->btnRemove->text(), QStringLiteral("Import this column"));
        QTest::mouseClick(column->btnRemove, Qt::LeftButton);
        QVERIFY(column->isImported());
        QVERIFY(column->cmbColumnType->isEnabled());
        QCOMPARE(column->btnRemove->text(), QStringLiteral("Ignore this column"));
    }

    void addedLanguageReachesEveryColumn()
    {
        auto dialog = form(writeFile(QStringLiteral("kitchen.txt"), utf8Bom("Haus\thouse\n")));
        ColumnWidget* first = dialog->columns().at(0);
        ColumnWidget* second = dialog->columns().at(1);
        setUpColumn(second, QStringLiteral("tr:French"));
        bool done = false;
        activate(first->cmbLanguages, first->cmbLanguages->count() - 1);
        WizardDriver::finishNextWizard(QStringLiteral("Italian"), QStringLiteral("Beginner"), {}, &done);
        QTRY_VERIFY(done);
        QTRY_COMPARE(first->language(), QStringLiteral("Italian"));
        QCOMPARE(second->language(), QStringLiteral("French"));
        QVERIFY(items(second->cmbLanguages).contains(QStringLiteral("Italian")));
        QCOMPARE(mFixture.host()->viewListUpdates, 1);
        QVERIFY(AuthoringTree::users()->currentUser());
    }

    void addLanguageCancelledRestoresChoice()
    {
        auto dialog = form(writeFile(QStringLiteral("kitchen.txt"), utf8Bom("Haus\thouse\n")));
        ColumnWidget* column = dialog->columns().at(0);
        setUpColumn(column, QStringLiteral("term:French"));
        column->addLanguage(column->cmbLanguages->count() - 1);
        cancelNextWizard();
        QTRY_COMPARE(column->cmbLanguages->currentText(), QStringLiteral("French"));
        QCOMPARE(column->language(), QStringLiteral("French"));
        QVERIFY(mFixture.tree().netCalls(QStringLiteral("updateFluency")).isEmpty());
    }

    void germanTextsKeepEnglishFieldNames()
    {
        std::vector<std::unique_ptr<QTranslator>> translators;
        for (const char* file : {"create-Deutsch.qm", "SharedDialogs-Deutsch.qm"}) {
            translators.push_back(std::make_unique<QTranslator>());
            QVERIFY(translators.back()->load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/")
                                             + QLatin1String(file)));
            QCoreApplication::installTranslator(translators.back().get());
        }
        auto dialog = form(writeFile(QStringLiteral("kitchen.txt"), utf8Bom("Haus\thouse\n")));
        ColumnWidget* column = dialog->columns().at(1);
        const QStringList texts{dialog->windowTitle(),
                                dialog->btnImport->text(),
                                dialog->btnCancel->text(),
                                column->lblColumnNumber->text(),
                                column->cmbColumnType->itemText(0),
                                column->cmbColumnType->itemText(2),
                                column->cmbLanguages->itemText(0),
                                column->btnRemove->text()};
        dialog->btnImportClicked();
        std::unique_ptr<ZoWordList> list = import(*dialog, {"term:" + kGerman, "tr:French"});
        for (auto& translator : translators)
            QCoreApplication::removeTranslator(translator.get());

        QCOMPARE(texts, (QStringList{"Import - Liste erstellen", "Importieren", "Abbrechen", "Spalte 2",
                                     "Typ auswählen", "Übersetzung", "Sprache auswählen", "Diese Spalte ignorieren"}));
        QCOMPARE(mFixture.tree().boxes(), QStringList{info("Bitte wählen Sie den Typ jeder Spalte.")});
        QVERIFY(list);
        QCOMPARE(list->exerciseAt(0)->fields().uniqueKeys(), QStringList{"Translation"});
    }

    void nobodySignedInLeavesLanguagesEmpty()
    {
        SignedInUser::signOut();
        auto dialog = form(writeFile(QStringLiteral("kitchen.txt"), utf8Bom("Haus\thouse\n")));
        QCOMPARE(dialog->columns().at(0)->cmbLanguages->count(), 0);
        QCOMPARE(dialog->columns().at(0)->fillLanguages(), 0);
        QVERIFY(!import(*dialog, {"term:", "tr:"}));
        QCOMPARE(mFixture.tree().boxes(),
                 QStringList{info("Language has not been selected for one of the import columns.")});
    }

    void textsOnScreen_data() { ScreenTexts::addLanguageAndFontRows(); }

    // The column boxes' combos and every other text of the dialog show in
    // full at the smallest and largest font; in German none stays English.
    void textsOnScreen()
    {
        QFETCH(bool, german);
        QFETCH(int, pointSize);
        QVERIFY(mFixture.signIn({kGerman, QStringLiteral("French")}));
        ScreenTexts::PointSize size(pointSize);
        mFixture.host()->changeFont(pointSize);
        const QString path = writeFile(QStringLiteral("kitchen.txt"), utf8Bom("Haus\thouse\tmaison\tcasa\n"));
        auto english = form(path);
        QCOMPARE(english->columns().size(), 4);
        const QList<ScreenTexts::Shown> englishTexts = ScreenTexts::shown(english.get(), true);
        std::unique_ptr<ScreenTexts::German> de;
        std::unique_ptr<ImportForm> dialog;
        if (german) {
            english.reset();
            de = std::make_unique<ScreenTexts::German>([] {
                ZoDbHelper().releaseResources();
                LanguageComboHelper::reloadCurrentUser();
            });
            dialog = form(path);
            const QStringList untranslated = ScreenTexts::untranslated(englishTexts,
                                                                       ScreenTexts::shown(dialog.get(), true),
                                                                       ScreenTexts::sameWords(), {path});
            QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral("; "))));
        } else {
            dialog = std::move(english);
        }
        QTRY_VERIFY2(ScreenTexts::cut(dialog.get()).isEmpty(), qPrintable(ScreenTexts::cut(dialog.get()).join("; ")));
    }
};

QTEST_MAIN(TestImportForm)
#include "tst_importform.moc"
