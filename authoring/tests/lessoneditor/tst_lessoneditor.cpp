#include "AuthoringTree.h"
#include "ComboSteps.h"
#include "CreateLessonView.h"
#include "SignedInUser.h"
#include "StoredContent.h"
#include "ZoLesson.h"
#include "ZoQueryTable.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

using namespace StoredContent;

namespace {

const QString kGerman = QStringLiteral("German, Standard");
const QString kFrench = QStringLiteral("French");
const QString kEmptyLesson = QStringLiteral("A Lesson must contain at least one Exercise.  Lesson could not be saved.");
const QString kSaveQuestion = QStringLiteral("Do you want to save the existing lesson?");

// Terms are unique within the run: the fixture finds an exercise by its term.
QString uniqueTerm(const QString& stem)
{
    static int n = 0;
    return QStringLiteral("%1%2").arg(stem).arg(++n, 3, 10, QLatin1Char('0'));
}

// Answers the next CreateNew dialog with OK after giving it this title.
void acceptNextLessonDialog(const QString& title)
{
    QTimer::singleShot(0, [title] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("lEditTitle")))
            field->setText(title);
        QMetaObject::invokeMethod(dialog, "btnOkClicked");
    });
}

void rejectNextDialog()
{
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
}

// Chooses the entry of the next context menu with this text.
void chooseNextMenuEntry(const QString& text, QStringList* enabled = nullptr)
{
    QTimer::singleShot(0, [text, enabled] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QAction* wanted = nullptr;
        for (QAction* action : menu->actions()) {
            if (enabled && !action->isSeparator() && action->isEnabled())
                *enabled << action->text();
            if (action->text() == text)
                wanted = action;
        }
        if (!wanted || !wanted->isEnabled()) {
            menu->close();
            return;
        }
        menu->setActiveAction(wanted);
        QTest::keyClick(menu, Qt::Key_Return);
    });
}

} // namespace

class TestLessonEditor : public QObject
{
    Q_OBJECT

    AuthoringTree mFixture;

    std::unique_ptr<CreateLessonView> newView()
    {
        auto view = std::make_unique<CreateLessonView>(nullptr);
        view->setMainWindow(mFixture.host());
        view->retranslateView();
        view->updateViewLists();
        view->refreshData();
        view->customRefresh();
        view->resize(800, 700);
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            return nullptr;
        return view;
    }

    // A new view showing the stored exercises whose terms hold stem.
    std::unique_ptr<CreateLessonView> viewSearching(const QString& stem)
    {
        auto view = newView();
        if (view)
            search(*view, stem);
        return view;
    }

    // The result rows' ids in the shown order.
    static QStringList resultIds(const CreateLessonView& view)
    {
        QStringList ids;
        QAbstractItemModel* model = view.tblSearch->model();
        for (int row = 0; model && row < model->rowCount(); ++row)
            ids << view.queryTable()->rowData(row).value(QStringLiteral("Id"));
        return ids;
    }

    static int resultRowOf(const CreateLessonView& view, const QString& id) { return int(resultIds(view).indexOf(id)); }

    static QPoint resultCell(const CreateLessonView& view, int row, int column)
    {
        const QModelIndex index = view.tblSearch->model()->index(row, column);
        view.tblSearch->scrollTo(index);
        return view.tblSearch->visualRect(index).center();
    }

    static QPoint lessonCellAt(const CreateLessonView& view, int row, int x)
    {
        return QPoint(x, view.tblList->rowViewportPosition(row) + view.tblList->rowHeight(row) / 2);
    }

    // A real double click: the first click, then the second one.
    static void doubleClick(QWidget* viewport, const QPoint& at)
    {
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    }

    static void selectResult(CreateLessonView& view, int row)
    {
        QTest::mouseClick(view.tblSearch->viewport(), Qt::LeftButton, {}, resultCell(view, row, 2));
    }

    // Shows only the exercises whose terms start with stem.
    static void search(CreateLessonView& view, const QString& stem)
    {
        view.lEditSearchField->setText(stem);
        QMetaObject::invokeMethod(&view, "findAhead");
    }

    QStringList boxes() const { return mFixture.tree().boxes(); }

private slots:
    void initTestCase() { QVERIFY(mFixture.setUp()); }
    void cleanupTestCase() { mFixture.tearDown(); }

    void init()
    {
        QVERIFY(mFixture.reset());
        QVERIFY(runSql(mFixture, QStringLiteral("DROP TRIGGER IF EXISTS refuse_members")));
        mFixture.host()->tabRefreshes.clear();
        AuthoringTree::audioObject()->setProperty("playMs", 300);
    }

    void cleanup()
    {
        if (AuthoringTree::audio()->isPlaying())
            AuthoringTree::audio()->stop();
    }

    void aNewViewStartsAnEmptyLesson()
    {
        auto view = newView();
        QVERIFY(view);
        QCOMPARE(view->lEditLessonName->text(), QStringLiteral("New Lesson"));
        QCOMPARE(view->lEditLessonName->selectedText(), QStringLiteral("New Lesson"));
        QCOMPARE(view->tblList->rowCount(), 0);
        QVERIFY(!view->btnSave->isEnabled());
        QVERIFY(view->btnChange->isHidden());
        QVERIFY(view->btnClearLesson->isHidden());
        QCOMPARE(view->isModified(), 0);
        QCOMPARE(view->type(), QStringLiteral("Lesson"));
        QCOMPARE(ComboSteps::items(view->cmbLanguagesSearch),
                 (QStringList{"All Languages", kGerman, kFrench, "Add Language..."}));
        // Leaving an untouched lesson asks nothing.
        QCOMPARE(view->maybeSave(), 1);
        QVERIFY(boxes().isEmpty());
    }

    void germanTextsAreShipped()
    {
        QTranslator german;
        QVERIFY(german.load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/create-Deutsch.qm")));
        QCoreApplication::installTranslator(&german);
        auto view = newView();
        QCoreApplication::removeTranslator(&german);
        QVERIFY(view);
        QCOMPARE(view->btnFindAll->text(), QStringLiteral("Alle anzeigen"));
        QCOMPARE(view->label->text(), QStringLiteral("Übungen finden:"));
        QCOMPARE(view->tblList->horizontalHeaderItem(CreateLessonView::ColTerm)->text(),
                 QStringLiteral("Lernbegriffe der Lektion"));
        QCOMPARE(view->lEditLessonName->text(), QStringLiteral("Neue Lektion"));
    }

    void eachRouteAddsTheResult_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("plus icon") << "icon";
        QTest::newRow("double click on the term") << "double";
        QTest::newRow("context menu Add") << "Add";
        QTest::newRow("context menu Add All") << "Add All";
    }

    void eachRouteAddsTheResult()
    {
        QFETCH(QString, route);
        const QString stem = uniqueTerm(QStringLiteral("route"));
        const QString first = addExercise(mFixture, stem + QStringLiteral("a"), kFrench);
        const QString second = addExercise(mFixture, stem + QStringLiteral("b"), kGerman);
        QVERIFY(!first.isEmpty() && !second.isEmpty());
        auto view = viewSearching(stem);
        QVERIFY(view);
        QCOMPARE(resultIds(*view), (QStringList{first, second}));
        QSignalSpy modified(view.get(), SIGNAL(modified()));

        const int row = resultRowOf(*view, second);
        if (route == QLatin1String("icon")) {
            QTest::mouseClick(view->tblSearch->viewport(), Qt::LeftButton, {}, resultCell(*view, row, 0));
        } else if (route == QLatin1String("double")) {
            doubleClick(view->tblSearch->viewport(), resultCell(*view, row, 1));
        } else {
            selectResult(*view, row);
            QStringList enabled;
            chooseNextMenuEntry(route, &enabled);
            QTest::mouseClick(view->tblSearch->viewport(), Qt::RightButton, {}, resultCell(*view, row, 1));
            QCOMPARE(enabled, (QStringList{"Play", "Add", "Add All"}));
        }

        const QStringList expected = route == QLatin1String("Add All") ? QStringList{first, second}
                                                                       : QStringList{second};
        QCOMPARE(view->lessonIds(), expected);
        const int last = view->tblList->rowCount() - 1;
        QCOMPARE(view->tblList->text(last, CreateLessonView::ColTerm), stem + QStringLiteral("b"));
        QCOMPARE(view->tblList->text(last, CreateLessonView::ColLanguage), kGerman);
        QCOMPARE(view->tblList->text(last, CreateLessonView::ColCountry), QStringLiteral("France"));
        QCOMPARE(view->tblList->text(last, CreateLessonView::ColMediaName), stem + QStringLiteral("b.wav"));
        QVERIFY(!view->tblList->pixmap(last, CreateLessonView::ColTerm).isNull());
        QVERIFY(!view->tblList->isCellEditable(last, CreateLessonView::ColTerm));
        // Every addition counts as a change, so closing asks.
        QCOMPARE(view->isModified(), 1);
        QVERIFY(modified.count() >= 1);
        QVERIFY(view->btnSave->isEnabled());
    }

    void theSameExerciseCanBeAddedTwice()
    {
        const QString term = uniqueTerm(QStringLiteral("twice"));
        const QString id = addExercise(mFixture, term, kFrench);
        auto view = viewSearching(term);
        QVERIFY(view);
        const int row = resultRowOf(*view, id);
        QVERIFY(row >= 0);
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(view->tblSearch->viewport(), Qt::LeftButton, {}, resultCell(*view, row, 0));
        QCOMPARE(view->lessonIds(), (QStringList{id, id}));
    }

    void minusIconRemovesTheRow_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("removed");
        QTest::newRow("on the icon") << 3 << int(Qt::LeftButton) << true;
        QTest::newRow("14 pixels in") << 14 << int(Qt::LeftButton) << true;
        QTest::newRow("15 pixels in") << 15 << int(Qt::LeftButton) << false;
        QTest::newRow("on the term's text") << 120 << int(Qt::LeftButton) << false;
        QTest::newRow("right button on the icon") << 3 << int(Qt::RightButton) << false;
    }

    void minusIconRemovesTheRow()
    {
        QFETCH(int, x);
        QFETCH(int, button);
        QFETCH(bool, removed);
        const QString stem = uniqueTerm(QStringLiteral("minus"));
        const QStringList ids{addExercise(mFixture, stem + QStringLiteral("a"), kFrench),
                              addExercise(mFixture, stem + QStringLiteral("b"), kFrench),
                              addExercise(mFixture, stem + QStringLiteral("c"), kFrench)};
        auto view = newView();
        QVERIFY(view);
        QVERIFY(view->openSession(lessonOf(stem, ids).get()));
        QCOMPARE(view->lessonIds(), ids);
        QCOMPARE(view->isModified(), 0);

        QTest::mouseClick(view->tblList->viewport(), Qt::MouseButton(button), {}, lessonCellAt(*view, 1, x));
        QCOMPARE(view->lessonIds(), removed ? (QStringList{ids.at(0), ids.at(2)}) : ids);
        QCOMPARE(view->isModified(), removed ? 1 : 0);
    }

    void addingTakesTheRecordsBeforeEventsRun_data()
    {
        QTest::addColumn<QString>("during");
        QTest::addColumn<int>("expected");
        QTest::newRow("a find-ahead replaces the results") << "search" << 10;
        QTest::newRow("Abort after three rows") << "abort" << 3;
    }

    void addingTakesTheRecordsBeforeEventsRun()
    {
        QFETCH(QString, during);
        QFETCH(int, expected);
        const QString stem = uniqueTerm(QStringLiteral("bulk"));
        QStringList ids;
        for (int i = 0; i < 10; ++i)
            ids << addExercise(mFixture, stem + QStringLiteral("_%1").arg(i), kFrench, false);
        addExercise(mFixture, uniqueTerm(QStringLiteral("other")), kFrench, false);
        auto view = viewSearching(stem);
        QVERIFY(view);
        QCOMPARE(resultIds(*view).size(), 10);
        const QStringList shown = resultIds(*view);

        // Runs while the rows are added, as the events processed after each row would.
        QAbstractItemModel* lessonModel = view->tblList->model();
        auto connection = connect(lessonModel, &QAbstractItemModel::rowsInserted, view.get(), [&] {
            const int rows = view->tblList->rowCount();
            if (during == QLatin1String("search") && rows == 2)
                search(*view, QStringLiteral("other"));
            if (during == QLatin1String("abort") && rows == 3) {
                auto* progress = view->findChild<QProgressDialog*>();
                QVERIFY(progress);
                progress->cancel();
            }
        });
        chooseNextMenuEntry(QStringLiteral("Add All"));
        QTest::mouseClick(view->tblSearch->viewport(), Qt::RightButton, {}, resultCell(*view, 0, 1));
        disconnect(connection);

        QCOMPARE(view->lessonIds(), shown.mid(0, expected));
        QCOMPARE(view->isModified(), 1);
        QTRY_VERIFY(!view->findChild<QProgressDialog*>());
    }

    void emptyLessonIsRefused()
    {
        const QString stem = uniqueTerm(QStringLiteral("empty"));
        const QString id = addExercise(mFixture, stem, kFrench);
        const QString lessonId = addLesson(stem, kFrench, {id});
        auto view = newView();
        QVERIFY(view);
        QVERIFY(view->openSession(storedLesson(lessonId).get()));
        QTest::mouseClick(view->tblList->viewport(), Qt::LeftButton, {}, lessonCellAt(*view, 0, 5));
        QCOMPARE(view->tblList->rowCount(), 0);

        // Closing asks to save the opened lesson; Yes meets the empty table.
        mFixture.tree().answerBoxes({0});
        QCOMPARE(view->maybeSave(), 0);
        QCOMPARE(boxes(),
                 (QStringList{WizardTestTree::box(MessageBoxHelper::Question, kSaveQuestion, {"Yes", "No", "Cancel"}),
                              WizardTestTree::info(kEmptyLesson)}));
        QCOMPARE(lessonMembers(stem), (QList<QStringList>{{id}}));
        QCOMPARE(mFixture.host()->tabRefreshes, QList<int>{2});
    }

    void savedLessonKeepsTableOrderAndDuplicates()
    {
        const QString stem = uniqueTerm(QStringLiteral("order"));
        const QString a = addExercise(mFixture, stem + QStringLiteral("a"), kFrench);
        const QString b = addExercise(mFixture, stem + QStringLiteral("b"), kFrench);
        const QString c = addExercise(mFixture, stem + QStringLiteral("c"), kFrench);
        auto view = viewSearching(stem);
        QVERIFY(view);
        for (const QString& id : {c, a, c, b}) {
            QTest::mouseClick(view->tblSearch->viewport(), Qt::LeftButton, {},
                              resultCell(*view, resultRowOf(*view, id), 0));
        }
        const int uploads = mFixture.host()->uploadCountUpdates;
        QSignalSpy notModified(view.get(), SIGNAL(notModified()));
        acceptNextLessonDialog(stem);
        QCOMPARE(view->saveSession(), 1);
        QCOMPARE(boxes(), QStringList{WizardTestTree::info(QStringLiteral("Lesson Saved."))});
        QCOMPARE(lessonMembers(stem), (QList<QStringList>{{c, a, c, b}}));
        QCOMPARE(mFixture.host()->uploadCountUpdates, uploads + 1);
        // A new lesson follows.
        QCOMPARE(view->tblList->rowCount(), 0);
        QCOMPARE(view->lEditLessonName->text(), QStringLiteral("New Lesson"));
        QCOMPARE(view->isModified(), 0);
        QVERIFY(notModified.count() >= 1);
    }

    void saveCancelledOrRefusedKeepsTheRows_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("dialog cancelled") << false;
        QTest::newRow("store refuses") << true;
    }

    void saveCancelledOrRefusedKeepsTheRows()
    {
        QFETCH(bool, refused);
        const QString stem = uniqueTerm(QStringLiteral("keep"));
        const QString id = addExercise(mFixture, stem, kFrench);
        auto view = viewSearching(stem);
        QVERIFY(view);
        QTest::mouseClick(view->tblSearch->viewport(), Qt::LeftButton, {}, resultCell(*view, 0, 0));
        if (refused) {
            QVERIFY(runSql(mFixture, QStringLiteral("CREATE TRIGGER refuse_members BEFORE INSERT ON crlt "
                                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
            acceptNextLessonDialog(stem);
        } else {
            rejectNextDialog();
        }
        QCOMPARE(view->saveSession(), 0);
        QCOMPARE(view->lessonIds(), QStringList{id});
        QCOMPARE(view->isModified(), 1);
        QCOMPARE(boxes(),
                 refused
                     ? QStringList{WizardTestTree::info(QStringLiteral("Unknown error.  Lesson could not be saved."))}
                     : QStringList{});
        QVERIFY(lessonMembers(stem).isEmpty());
    }

    // The failure comes in the interface language from the shared store library.
    void refusedSaveSaysSoInGerman()
    {
        const QString stem = uniqueTerm(QStringLiteral("deutsch"));
        const QString id = addExercise(mFixture, stem, kFrench);
        auto view = viewSearching(stem);
        QVERIFY(view);
        QTest::mouseClick(view->tblSearch->viewport(), Qt::LeftButton, {}, resultCell(*view, 0, 0));
        QCOMPARE(view->lessonIds(), QStringList{id});
        QVERIFY(runSql(mFixture, QStringLiteral("CREATE TRIGGER refuse_members BEFORE INSERT ON crlt "
                                                "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        QTranslator german;
        QVERIFY(german.load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/store-Deutsch.qm")));
        QCoreApplication::installTranslator(&german);
        acceptNextLessonDialog(stem);
        const int result = view->saveSession();
        QCoreApplication::removeTranslator(&german);
        QCOMPARE(result, 0);
        QCOMPARE(boxes(), QStringList{WizardTestTree::info(
                              QStringLiteral("Unbekannter Fehler.  Die Lektion konnte nicht gespeichert werden."))});
        QVERIFY(lessonMembers(stem).isEmpty());
    }

    void savingAnOpenedLessonStoresAnother()
    {
        const QString stem = uniqueTerm(QStringLiteral("again"));
        const QString a = addExercise(mFixture, stem + QStringLiteral("a"), kFrench);
        const QString b = addExercise(mFixture, stem + QStringLiteral("b"), kFrench);
        const QString lessonId = addLesson(stem, kFrench, {a, b});
        auto view = newView();
        QVERIFY(view);
        {
            // The view keeps its own copy: the caller deletes the object at once.
            std::unique_ptr<QObject> lesson = storedLesson(lessonId);
            QVERIFY(view->openSession(lesson.get()));
        }
        QCOMPARE(view->lEditLessonName->text(), stem);
        QVERIFY(view->lessonShown());
        view->refreshData();
        QCOMPARE(view->lessonIds(), (QStringList{a, b}));
        search(*view, stem);
        QTest::mouseClick(view->tblSearch->viewport(), Qt::LeftButton, {}, resultCell(*view, resultRowOf(*view, a), 0));
        acceptNextLessonDialog(stem);
        QCOMPARE(view->saveSession(), 1);
        QCOMPARE(lessonMembers(stem), (QList<QStringList>{{a, b}, {a, b, a}}));
    }

    void closingAsksAboutChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("result");
        QTest::newRow("No") << 1 << 1;
        QTest::newRow("Cancel") << 2 << 0;
        QTest::newRow("closed") << -1 << 0;
    }

    void closingAsksAboutChanges()
    {
        QFETCH(int, answer);
        QFETCH(int, result);
        const QString stem = uniqueTerm(QStringLiteral("ask"));
        const QString id = addExercise(mFixture, stem, kFrench);
        auto view = viewSearching(stem);
        QVERIFY(view);
        doubleClick(view->tblSearch->viewport(), resultCell(*view, 0, 1));
        // Leaving the tab keeps the lesson without asking.
        QCOMPARE(view->customLeave(), 1);
        QVERIFY(boxes().isEmpty());

        mFixture.tree().answerBoxes({answer});
        QCOMPARE(view->canClose(), result);
        QCOMPARE(boxes(),
                 QStringList{WizardTestTree::box(MessageBoxHelper::Question, kSaveQuestion, {"Yes", "No", "Cancel"})});
        QCOMPARE(view->lessonIds(), QStringList{id});
        QCOMPARE(mFixture.host()->tabRefreshes, QList<int>{2});
    }

    void vanishedExercisesLeaveOnEntering()
    {
        const QString stem = uniqueTerm(QStringLiteral("gone"));
        QStringList ids;
        for (const char* suffix : {"a", "b", "c", "d"})
            ids << addExercise(mFixture, stem + QLatin1String(suffix), kFrench, false);
        auto view = newView();
        QVERIFY(view);
        QVERIFY(view->openSession(lessonOf(stem, ids).get()));
        // Adding one twice: both copies go with it.
        search(*view, stem);
        QTest::mouseClick(view->tblSearch->viewport(), Qt::LeftButton, {},
                          resultCell(*view, resultRowOf(*view, ids.at(2)), 0));
        QCOMPARE(view->lessonIds(), (QStringList{ids.at(0), ids.at(1), ids.at(2), ids.at(3), ids.at(2)}));

        QVERIFY(AuthoringTree::store()->remove(QStringLiteral("Exercise"), {ids.at(1), ids.at(2)}));
        view->customRefresh();
        QCOMPARE(view->lessonIds(), (QStringList{ids.at(0), ids.at(3)}));
        QVERIFY(view->lessonShown());

        QVERIFY(AuthoringTree::store()->remove(QStringLiteral("Exercise"), {ids.at(0), ids.at(3)}));
        view->customRefresh();
        QCOMPARE(view->tblList->rowCount(), 0);
        QVERIFY(!view->lessonShown());
        QCOMPARE(view->lEditLessonName->text(), QStringLiteral("New Lesson"));
    }

    void findAheadSearchesAfterTheLastKey()
    {
        const QString stem = uniqueTerm(QStringLiteral("fa"));
        const QString hit = addExercise(mFixture, stem + QStringLiteral("xyz"), kFrench, false);
        addExercise(mFixture, stem + QStringLiteral("xq"), kFrench, false);
        auto view = newView();
        QVERIFY(view);
        view->lEditSearchField->setText(stem);
        QTRY_COMPARE(resultIds(*view).size(), 2);
        const QAbstractItemModel* before = view->tblSearch->model();
        auto* timer = view->findChild<QTimer*>(QStringLiteral("findAheadTimer"));
        QVERIFY(timer);
        for (const char* key : {"x", "y", "z"}) {
            QTest::keyClicks(view->lEditSearchField, QLatin1String(key));
            QVERIFY(timer->isActive());
            QCOMPARE(timer->interval(), CreateLessonView::kFindAheadMs);
            QCOMPARE(view->tblSearch->model(), before);
        }
        QTRY_COMPARE(resultIds(*view), QStringList{hit});
        QVERIFY(!timer->isActive());

        // "Show All" empties the field and searches at once.
        QTest::mouseClick(view->btnFindAll, Qt::LeftButton);
        QVERIFY(view->lEditSearchField->text().isEmpty());
        QVERIFY(!timer->isActive());
        QVERIFY(resultIds(*view).size() > 2);
    }

    void languageFilterNarrowsTheResults_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("terms");
        QTest::newRow("All Languages") << "All Languages" << QStringList{"a", "b"};
        QTest::newRow("French") << kFrench << QStringList{"a"};
        QTest::newRow("German") << kGerman << QStringList{"b"};
    }

    void languageFilterNarrowsTheResults()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, terms);
        const QString stem = uniqueTerm(QStringLiteral("lang"));
        addExercise(mFixture, stem + QStringLiteral("a"), kFrench, false);
        addExercise(mFixture, stem + QStringLiteral("b"), kGerman, false);
        auto view = viewSearching(stem);
        QVERIFY(view);
        view->cmbLanguagesSearch->setCurrentIndex(view->cmbLanguagesSearch->findText(kGerman));
        view->cmbLanguagesSearch->setCurrentIndex(view->cmbLanguagesSearch->findText(language));
        QStringList shown;
        for (int row = 0; row < view->tblSearch->model()->rowCount(); ++row)
            shown << view->queryTable()->rowData(row).value("Term").mid(stem.size());
        QCOMPARE(shown, terms);
        // The choice is the authoring language of this user from now on.
        const QString stored = QSettings().value("users/maria/CreateLanguage").toString();
        QCOMPARE(stored,
                 language == QLatin1String("All Languages") ? QString() : ComboSteps::languages()->idOf(language));
    }

    void signInAgainKeepsOrResetsTheRows_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("kept");
        QTest::newRow("same user (interface language changed)") << AuthoringTree::userName() << true;
        QTest::newRow("another user") << "jonas" << false;
    }

    void signInAgainKeepsOrResetsTheRows()
    {
        QFETCH(QString, user);
        QFETCH(bool, kept);
        const QString stem = uniqueTerm(QStringLiteral("keep"));
        const QString id = addExercise(mFixture, stem, kFrench, false);
        auto view = viewSearching(stem);
        QVERIFY(view);
        QTest::mouseClick(view->tblSearch->viewport(), Qt::LeftButton, {}, resultCell(*view, 0, 0));
        view->lEditLessonName->setText(stem);
        if (user != AuthoringTree::userName())
            QVERIFY(SignedInUser::signIn(user, {kGerman}));
        view->retranslateView();
        view->refreshData();
        view->updateViewLists();
        QCOMPARE(view->lessonIds(), kept ? QStringList{id} : QStringList{});
        QCOMPARE(view->isModified(), kept ? 1 : 0);
        QCOMPARE(view->lEditLessonName->text(), kept ? stem : QStringLiteral("New Lesson"));
    }

    void playButtonFollowsTheSoundFile_data()
    {
        QTest::addColumn<bool>("withSound");
        QTest::addColumn<bool>("playable");
        QTest::newRow("sound file present") << true << true;
        QTest::newRow("sound file missing") << false << false;
    }

    void playButtonFollowsTheSoundFile()
    {
        QFETCH(bool, withSound);
        QFETCH(bool, playable);
        const QString term = uniqueTerm(QStringLiteral("play"));
        addExercise(mFixture, term, kFrench, withSound);
        auto view = viewSearching(term);
        QVERIFY(view);
        selectResult(*view, 0);
        QCOMPARE(view->btnPlay->isEnabled(), playable);
        if (!playable)
            return;
        QTest::mouseClick(view->btnPlay, Qt::LeftButton);
        QVERIFY(AuthoringTree::audio()->isPlaying());
        QVERIFY(view->btnStop->isEnabled());
        QVERIFY(!view->btnPlay->isEnabled());
        QTRY_VERIFY(!view->btnStop->isEnabled());
        QVERIFY(view->btnPlay->isEnabled());
    }

    void noSoundNameIsReported()
    {
        const QString term = uniqueTerm(QStringLiteral("silent"));
        QVERIFY(!addExercise(mFixture, term, kFrench).isEmpty());
        auto view = viewSearching(term);
        QVERIFY(view);
        QTest::mouseClick(view->tblSearch->viewport(), Qt::LeftButton, {}, resultCell(*view, 0, 0));
        // A row whose sound has no file name.
        view->tblList->setText(0, CreateLessonView::ColMediaName, QString());
        view->tblList->selectRow(0);
        QMetaObject::invokeMethod(view.get(), "refreshButtons");
        QMetaObject::invokeMethod(view.get(), "playSound");
        QCOMPARE(boxes(),
                 QStringList{WizardTestTree::info(QStringLiteral("No sound has been recorded for this Exercise."))});
    }

    void doubleClickOnALessonRowPlaysItAfterTheOneBefore()
    {
        const QString stem = uniqueTerm(QStringLiteral("dbl"));
        addExercise(mFixture, stem + QStringLiteral("a"), kFrench);
        addExercise(mFixture, stem + QStringLiteral("b"), kFrench);
        AuthoringTree::audioObject()->setProperty("playMs", -1);
        AuthoringTree::audioObject()->setProperty("calls", QStringList());
        auto view = viewSearching(stem);
        QVERIFY(view);
        for (int row = 0; row < 2; ++row)
            QTest::mouseClick(view->tblSearch->viewport(), Qt::LeftButton, {}, resultCell(*view, row, 0));
        for (int row = 0; row < 2; ++row)
            QTest::mouseDClick(view->tblList->viewport(), Qt::LeftButton, {}, lessonCellAt(*view, row, 60));
        const QStringList calls = AuthoringTree::audioObject()->property("calls").toStringList();
        QCOMPARE(calls.filter(QStringLiteral("play ")),
                 (QStringList{"play Content/" + stem + "a.wav", "play Content/" + stem + "b.wav"}));
        QVERIFY(calls.indexOf(QStringLiteral("stop")) > calls.indexOf("play Content/" + stem + "a.wav"));
        QVERIFY(AuthoringTree::audio()->isPlaying());
        // Leaving the tab stops the sound.
        QCOMPARE(view->customLeave(), 1);
        QVERIFY(!AuthoringTree::audio()->isPlaying());
    }
};

QTEST_MAIN(TestLessonEditor)
#include "tst_lessoneditor.moc"
