#include "AuthoringTree.h"
#include "ComboSteps.h"
#include "Composer.h"
#include "CreateExerciseView.h"
#include "CreateLessonView.h"
#include "CreateOpen.h"
#include "LanguageComboHelper.h"
#include "StoredContent.h"
#include "WizardDriver.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

using namespace StoredContent;

namespace {

const QString kFrench = QStringLiteral("French");
const QString kGerman = QStringLiteral("German, Standard");

QStringList rowTexts(const ZoTable* table, int row)
{
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << table->text(row, column);
    return texts;
}

QStringList column(const ZoTable* table, int col)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << table->text(row, col);
    return texts;
}

int rowOf(const ZoTable* table, const QString& id)
{
    return int(column(table, 0).indexOf(id));
}

} // namespace

class TestOpenDialog : public QObject
{
    Q_OBJECT

    AuthoringTree mFixture;
    QString mStem;
    QString mFrenchA;
    QString mFrenchB;
    QString mGermanC;
    QString mLesson;

    std::unique_ptr<CreateOpen> newDialog(const QString& kind)
    {
        auto dialog = std::make_unique<CreateOpen>(mFixture.host(), kind);
        dialog->show();
        if (!QTest::qWaitForWindowExposed(dialog.get()))
            return nullptr;
        return dialog;
    }

    std::unique_ptr<Composer> newForm()
    {
        auto form = std::make_unique<Composer>();
        form->setMainWindow(mFixture.host());
        form->init();
        form->refreshData();
        form->resize(900, 700);
        form->show();
        return form;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mFixture.setUp());
        QVERIFY(mFixture.reset());
        mStem = QStringLiteral("opendlg");
        mFrenchA = addExercise(mFixture, mStem + QStringLiteral("a"), kFrench);
        mFrenchB = addExercise(mFixture, mStem + QStringLiteral("b"), kFrench);
        mGermanC = addExercise(mFixture, mStem + QStringLiteral("c"), kGerman);
        QVERIFY(!mFrenchA.isEmpty() && !mFrenchB.isEmpty() && !mGermanC.isEmpty());
        mLesson = addLesson(QStringLiteral("Zahlen"), kFrench, {mFrenchB, mFrenchA, mFrenchB});
        QVERIFY(!mLesson.isEmpty());
    }

    void cleanupTestCase() { mFixture.tearDown(); }

    void init() { QVERIFY(mFixture.reset()); }

    void listsEveryStoredItemOfTheKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QList<int>>("hidden");
        QTest::newRow("Exercise") << "Exercise" << QStringList{"Id",       "Study Term", "Language",  "Country",
                                                               "Locality", "Voice",      "MediaPath", "MediaName"}
                                  << QList<int>{0, 6, 7};
        QTest::newRow("Lesson") << "Lesson" << QStringList{"Id",       "Title",         "Description", "Exercise Count",
                                                           "Language", "Learner Level", "Username",    ""}
                                << QList<int>{0, 7};
    }

    void listsEveryStoredItemOfTheKind()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, labels);
        QFETCH(QList<int>, hidden);
        auto dialog = newDialog(kind);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Open an existing ") + kind);
        QStringList shownLabels;
        QList<int> hiddenColumns;
        for (int col = 0; col < dialog->tblObject->columnCount(); ++col) {
            shownLabels << dialog->tblObject->horizontalHeaderItem(col)->text();
            if (dialog->tblObject->isColumnHidden(col))
                hiddenColumns << col;
        }
        QCOMPARE(shownLabels, labels);
        // No header text is cut off.
        for (int col = 1; col < dialog->tblObject->columnCount(); ++col) {
            if (!dialog->tblObject->isColumnHidden(col))
                QVERIFY(dialog->tblObject->columnWidth(col)
                        >= dialog->tblObject->horizontalHeader()->sectionSizeHint(col));
        }
        QCOMPARE(hiddenColumns, hidden);
        QVERIFY(!dialog->btnOpen->isEnabled());
        QVERIFY(dialog->btnSearch->isHidden());
        QCOMPARE(ComboSteps::items(dialog->cmbLanguages),
                 (QStringList{"All Languages", kGerman, kFrench, "Add Language..."}));

        if (kind == QLatin1String("Exercise")) {
            const int row = rowOf(dialog->tblObject, mGermanC);
            QVERIFY(row >= 0);
            QCOMPARE(rowTexts(dialog->tblObject, row), (QStringList{mGermanC, mStem + "c", kGerman, "France", "Lyon",
                                                                    "maria", "Content", mStem + "c.wav"}));
            QVERIFY(rowOf(dialog->tblObject, mFrenchA) >= 0);
        } else {
            QCOMPARE(dialog->tblObject->rowCount(), 1);
            QCOMPARE(rowTexts(dialog->tblObject, 0),
                     (QStringList{mLesson, "Zahlen", "Zahlen to learn", "3", kFrench, "Advanced", "maria", ""}));
        }
    }

    void germanTextsAreShipped()
    {
        QTranslator german;
        QVERIFY(german.load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/create-Deutsch.qm")));
        QCoreApplication::installTranslator(&german);
        CreateOpen dialog(mFixture.host(), QStringLiteral("Lesson"));
        QCoreApplication::removeTranslator(&german);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Vorhandenes öffnen: Lesson"));
        QCOMPARE(dialog.btnFindAll->text(), QStringLiteral("Alle finden"));
        QCOMPARE(dialog.tblObject->horizontalHeaderItem(3)->text(), QStringLiteral("Anzahl Übungen"));
    }

    void textAndLanguageNarrowTheList_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("terms");
        QTest::newRow("part of the term") << "dlgb"
                                          << "All Languages" << QStringList{"opendlgb"};
        QTest::newRow("one language") << "opendlg" << kFrench << QStringList{"opendlga", "opendlgb"};
        QTest::newRow("term and language") << "dlgc" << kFrench << QStringList{};
        QTest::newRow("nothing matches") << "opendlgz"
                                         << "All Languages" << QStringList{};
    }

    void textAndLanguageNarrowTheList()
    {
        QFETCH(QString, text);
        QFETCH(QString, language);
        QFETCH(QStringList, terms);
        auto dialog = newDialog(QStringLiteral("Exercise"));
        QVERIFY(dialog);
        ComboSteps::activate(dialog->cmbLanguages, dialog->cmbLanguages->findText(language));
        QTest::keyClicks(dialog->lEditSearchField, text);
        QStringList shown = column(dialog->tblObject, 1);
        shown.sort();
        QCOMPARE(shown, terms);
        QCOMPARE(dialog->tblObject->showGrid(), !terms.isEmpty());
        QCOMPARE(dialog->tblObject->selectionMode(),
                 terms.isEmpty() ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    }

    void deletingAfterNoMatchListsAgain()
    {
        auto dialog = newDialog(QStringLiteral("Exercise"));
        QVERIFY(dialog);
        QTest::keyClicks(dialog->lEditSearchField, QStringLiteral("opendlgzz"));
        QCOMPARE(dialog->tblObject->rowCount(), 0);
        QTest::keyClick(dialog->lEditSearchField, Qt::Key_Backspace);
        QTest::keyClick(dialog->lEditSearchField, Qt::Key_Backspace);
        QCOMPARE(dialog->tblObject->rowCount(), 3);
    }

    void findAllShowsEverything()
    {
        auto dialog = newDialog(QStringLiteral("Exercise"));
        QVERIFY(dialog);
        const int all = dialog->tblObject->rowCount();
        ComboSteps::activate(dialog->cmbLanguages, dialog->cmbLanguages->findText(kGerman));
        QTest::keyClicks(dialog->lEditSearchField, mStem);
        QCOMPARE(column(dialog->tblObject, 0), QStringList{mGermanC});
        QTest::mouseClick(dialog->btnFindAll, Qt::LeftButton);
        QVERIFY(dialog->lEditSearchField->text().isEmpty());
        QCOMPARE(dialog->cmbLanguages->currentIndex(), 0);
        QCOMPARE(dialog->tblObject->rowCount(), all);
    }

    void acceptingKeys_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Return") << "Return" << true;
        QTest::newRow("Enter") << "Enter" << true;
        QTest::newRow("double click") << "double" << true;
        QTest::newRow("arrow up") << "Up" << false;
        QTest::newRow("a letter") << "A" << false;
    }

    void acceptingKeys()
    {
        QFETCH(QString, how);
        QFETCH(bool, accepted);
        auto dialog = newDialog(QStringLiteral("Exercise"));
        QVERIFY(dialog);
        QTest::keyClicks(dialog->lEditSearchField, mStem);
        QCOMPARE(dialog->tblObject->rowCount(), 3);
        const int row = rowOf(dialog->tblObject, mFrenchB);
        const QRect cell = dialog->tblObject->visualItemRect(dialog->tblObject->item(row, 1));
        QTest::mouseClick(dialog->tblObject->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(dialog->btnOpen->isEnabled());
        QSignalSpy done(dialog.get(), &QDialog::accepted);
        if (how == QLatin1String("double"))
            QTest::mouseDClick(dialog->tblObject->viewport(), Qt::LeftButton, {}, cell.center());
        else if (how == QLatin1String("Return"))
            QTest::keyClick(dialog->tblObject, Qt::Key_Return);
        else if (how == QLatin1String("Enter"))
            QTest::keyClick(dialog->tblObject, Qt::Key_Enter);
        else if (how == QLatin1String("Up"))
            QTest::keyClick(dialog->tblObject, Qt::Key_Up);
        else
            QTest::keyClick(dialog->tblObject, Qt::Key_A);
        QCOMPARE(done.count(), accepted ? 1 : 0);
        if (!accepted)
            return;
        std::unique_ptr<QObject> chosen(dialog->selectedObject());
        auto* exercise = qobject_cast<ZoExercise*>(chosen.get());
        QVERIFY(exercise);
        QCOMPARE(exercise->id(), mFrenchB);
        QCOMPARE(exercise->term(), mStem + QStringLiteral("b"));
    }

    void selectedObject_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("pick");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("lesson") << "Lesson" << true << false;
        QTest::newRow("no current row") << "Lesson" << false << false;
        QTest::newRow("lesson deleted meanwhile") << "Lesson" << true << true;
    }

    void selectedObject()
    {
        QFETCH(QString, kind);
        QFETCH(bool, pick);
        QFETCH(bool, deleted);
        const QString id = deleted ? addLesson(QStringLiteral("Vergangen"), kFrench, {mFrenchA}) : mLesson;
        auto dialog = newDialog(kind);
        QVERIFY(dialog);
        if (pick)
            dialog->tblObject->selectRow(rowOf(dialog->tblObject, id));
        if (deleted)
            QVERIFY(AuthoringTree::store()->remove(QStringLiteral("Lesson"), {id}));
        std::unique_ptr<QObject> chosen(dialog->selectedObject());
        if (!pick || deleted) {
            QVERIFY(!chosen);
            return;
        }
        auto* lesson = qobject_cast<ZoLesson*>(chosen.get());
        QVERIFY(lesson);
        QCOMPARE(lesson->title(), QStringLiteral("Zahlen"));
        QStringList members;
        for (int i = 0; i < lesson->exerciseCount(); ++i)
            members << lesson->exerciseId(i);
        QCOMPARE(members, (QStringList{mFrenchB, mFrenchA, mFrenchB}));
        // Each call builds a new object.
        std::unique_ptr<QObject> again(dialog->selectedObject());
        QVERIFY(again && again.get() != chosen.get());
    }

    void addLanguageFromTheCombo_data()
    {
        QTest::addColumn<bool>("finish");
        QTest::addColumn<QString>("shown");
        QTest::newRow("wizard cancelled") << false << kFrench;
        QTest::newRow("wizard finished") << true << "Italian";
    }

    void addLanguageFromTheCombo()
    {
        QFETCH(bool, finish);
        QFETCH(QString, shown);
        auto dialog = newDialog(QStringLiteral("Exercise"));
        QVERIFY(dialog);
        ComboSteps::activate(dialog->cmbLanguages, dialog->cmbLanguages->findText(kFrench));
        QCOMPARE(dialog->tblObject->rowCount(), 2);
        QSignalSpy chosen(dialog->findChild<LanguageComboHelper*>(), &LanguageComboHelper::languageChosen);
        bool done = false;
        ComboSteps::activate(dialog->cmbLanguages, dialog->cmbLanguages->count() - 1);
        if (finish)
            WizardDriver::finishNextWizard(QStringLiteral("Italian"), QStringLiteral("Beginner"), {}, &done);
        else
            ComboSteps::cancelNextWizard();
        QTRY_COMPARE(chosen.count(), 1);
        QCOMPARE(done, finish);
        QCOMPARE(dialog->cmbLanguages->currentText(), shown);
        // The list follows the language shown.
        QCOMPARE(dialog->tblObject->rowCount(), finish ? 0 : 2);
    }

    void openObjectShowsTheChoiceInTheEditor_data()
    {
        QTest::addColumn<bool>("lesson");
        QTest::addColumn<bool>("accept");
        QTest::newRow("lesson opened") << true << true;
        QTest::newRow("lesson dialog cancelled") << true << false;
        QTest::newRow("exercise opened") << false << true;
    }

    void openObjectShowsTheChoiceInTheEditor()
    {
        QFETCH(bool, lesson);
        QFETCH(bool, accept);
        auto form = newForm();
        form->lstViewChoices->setCurrentRow(lesson ? 1 : 0);
        QCOMPARE(form->currentEditor()->type(), lesson ? QStringLiteral("Lesson") : QStringLiteral("Exercise"));
        const QString id = lesson ? mLesson : mGermanC;
        QString title;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<CreateOpen*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            if (!accept) {
                dialog->reject();
                return;
            }
            dialog->tblObject->selectRow(rowOf(dialog->tblObject, id));
            QTest::keyClick(dialog->tblObject, Qt::Key_Return);
        });
        form->openObject();
        QCOMPARE(title, QStringLiteral("Open an existing ") + (lesson ? "Lesson" : "Exercise"));
        QVERIFY(!form->findChild<CreateOpen*>());
        if (!lesson) {
            QCOMPARE(form->exerciseEditor()->tEditTerm->toPlainText(), mStem + QStringLiteral("c"));
            return;
        }
        CreateLessonView* view = form->lessonEditor();
        QCOMPARE(view->lessonIds(), accept ? (QStringList{mFrenchB, mFrenchA, mFrenchB}) : QStringList{});
        QCOMPARE(view->lEditLessonName->text(), accept ? QStringLiteral("Zahlen") : QStringLiteral("New Lesson"));
        QCOMPARE(view->lessonShown(), accept);
        QCOMPARE(view->isModified(), 0);
    }
};

QTEST_MAIN(TestOpenDialog)
#include "tst_opendialog.moc"
