// The library tab on a real temporary store with the scripted sound plug-in.

#include "IDbManager.h"
#include "IForm.h"
#include "IResource.h"
#include "IStudyResource.h"
#include "IUserResource.h"
#include "LanguageComboHelper.h"
#include "LessonRecords.h"
#include "MessageBoxHelper.h"
#include "PluginLocator.h"
#include "ProgressWatch.h"
#include "QueryTableFixture.h"
#include "ScreenTexts.h"
#include "SignedInUser.h"
#include "TestDatabase.h"
#include "TestHost.h"
#include "WizardDriver.h"
#include "WizardTestTree.h"
#include "WorkProgress.h"
#include "ZoDbConnection.h"
#include "ZoTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QTreeWidget>

#include <memory>

namespace {

using Record = QHash<QString, QString>;

// Searches the tab ran, counted from its "[Exercise]" trace lines.
int gSearches = 0;
QtMessageHandler gPreviousHandler = nullptr;

void countSearches(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("[Exercise]")))
        ++gSearches;
    if (gPreviousHandler)
        gPreviousHandler(type, context, message);
}

} // namespace

class BookshelfTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void typeAheadRunsOneSearchPerBurst();
    void returnSearchesAtOnce();
    void showAllKeepsTheFilter();
    void filterItemsAndStoredLanguage();
    void refilledFilterNeverKeepsAStaleLanguage();
    void nextLearnerStartsOnAllLanguages();
    void deletingWithALessonMember();
    void refusedDeletionNamesLessonsOnlyWhenTheyAreTheCause();
    void deletingALesson();
    void deleteQuestionShowsTheTermAsPlainText();
    void lessonAddsInItsOwnOrder();
    void lessonWithoutMembersAddsNothing();
    void addAllAndDuplicates();
    void minusIconZones_data();
    void minusIconZones();
    void minusIconRemovesTheClickedRow();
    void playAndStopButtonStates();
    void missingSoundKeepsPlayDisabled();
    void lessonsHideAddAll();
    void changesOfOtherWritersShownOnEntry();
    void downloadBehindTheTablesBack();
    void sameUserKeepsStudyListNewUserResets();
    void welcomeDialogOnSecondEntryOnly();
    void clearStudylistEmptiesBoth();
    void studyListDoubleClick_data();
    void studyListDoubleClick();
    void exerciseMenuFollowsTheButtons();
    void germanKeepsTheFilter();
    void abortedRunsKeepWhatWasDone();
    void addLanguageThroughTheWizard();
    void cancelledWizardKeepsTheFilter();
    void fontsFollowTheHost();
    void helpOpensOneWindow();
    void textsOnScreen_data();
    void textsOnScreen();
    void longLessonAddsWithProgress();
    void firstListingWaitsForNoRead_data();
    void lessonRecordMembers_data();
    void lessonRecordMembers();
    void everyLessonMember();
    void firstListingWaitsForNoRead();

private:
    QWidget* page() const { return mForm->widget(); }
    template <class T>
    T* child(const char* name) const
    {
        T* widget = page()->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    QString addExercise(const QString& term, const QString& language, bool withSound = true);
    void signIn(const QString& name, const QStringList& languages);
    // The form as the shell makes it, before its first refreshData.
    void createForm();
    void openForm();
    void closeForm();
    QString treeText(int item) const { return child<QTreeWidget>("trWidgetResults")->topLevelItem(item)->text(0); }
    void selectRows(const char* table, const QList<int>& rows);
    void selectLessons(bool lessons);
    void chooseFilter(int index);
    QStringList studyIds() const { return mStudy->ids(); }
    QStringList boxes() const { return mTree->boxes(); }
    void answerBoxes(const QString& answers);
    void clickStudyRow(int row, int x);
    int exerciseRowOf(const QString& term) const;
    bool runSql(const QString& statement);
    // Cancels the wizard the filter opens next.
    void rejectNextWizard(bool* rejected);

    std::unique_ptr<WizardTestTree> mTree;
    IDbManager* mStore = nullptr;
    IStudyResource* mStudy = nullptr;
    IUserResource* mUsers = nullptr;
    IResource* mLanguages = nullptr;
    QObject* mAudio = nullptr;
    std::unique_ptr<TestHost> mHost;
    QObject* mRoot = nullptr;
    IForm* mForm = nullptr;
};

void BookshelfTest::initTestCase()
{
    mTree = std::make_unique<WizardTestTree>();
    QVERIFY(mTree->isValid());
    TestTree& tree = mTree->tree();
    QVERIFY(TestDatabase::createFile(tree.filePath(QStringLiteral("vireda.db"))));
    QVERIFY(tree.removePlugin(QStringLiteral("Managers"), QStringLiteral("ZoAudio.so")));
    QVERIFY(tree.addPlugin(QStringLiteral("Managers/ZoAudio.so"), QStringLiteral("Managers")));
    mStore = SignedInUser::store();
    QVERIFY(mStore);
    mStudy = PluginLocator::load<IStudyResource>(QStringLiteral("plugins_dll/Resources/ZoStudyResource.dll"));
    mUsers = PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    mLanguages = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll"));
    mAudio = PluginLocator::instance(QStringLiteral("plugins_dll/Managers/ZoAudio.dll"));
    QVERIFY(mStudy && mUsers && mLanguages && mAudio);
    QVERIFY(mAudio->property("calls").isValid());
    // The searches are counted from the tab's debug lines.
    QLoggingCategory::setFilterRules(QStringLiteral("vireda.library.debug=true"));
    gPreviousHandler = qInstallMessageHandler(countSearches);
}

void BookshelfTest::init()
{
    // Every test starts from an empty store and study list.
    const auto lessons = mStore->search(QStringLiteral("Lesson"), {{QStringLiteral("Title"), QString()}});
    QStringList ids;
    for (const Record& lesson : lessons)
        ids << lesson.value(QStringLiteral("Id"));
    if (!ids.isEmpty())
        QVERIFY(mStore->remove(QStringLiteral("Lesson"), ids));
    ids.clear();
    for (const Record& exercise : mStore->search(QStringLiteral("Exercise"), {{QStringLiteral("Term"), QString()}}))
        ids << exercise.value(QStringLiteral("Id"));
    if (!ids.isEmpty())
        QVERIFY(mStore->remove(QStringLiteral("Exercise"), ids));
    mStudy->clearList();
    mStudy->setChanged(false);
    QSettings().remove(QStringLiteral("users"));
    QVERIFY(mTree->scriptNet({}));
    QFile::remove(mTree->boxLogPath());
    answerBoxes(QString());
    mAudio->setProperty("playMs", 300);
    signIn(QStringLiteral("learner"), {QStringLiteral("French"), QStringLiteral("Spanish")});
}

void BookshelfTest::cleanup()
{
    closeForm();
    QVERIFY(runSql(QStringLiteral("DROP TRIGGER IF EXISTS keep_one")));
}

QString BookshelfTest::addExercise(const QString& term, const QString& language, bool withSound)
{
    const QString file = term + QStringLiteral(".wav");
    if (withSound) {
        QFile sound(mTree->tree().filePath(QStringLiteral("Content/") + file));
        if (!sound.open(QIODevice::WriteOnly))
            return QString();
        sound.write("RIFF");
    }
    return QueryTableFixture::addExercise(mStore, {{QStringLiteral("Term"), term},
                                                   {QStringLiteral("Language"), language},
                                                   {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                                   {QStringLiteral("MediaName"), file},
                                                   {QStringLiteral("Country"), QStringLiteral("France")},
                                                   {QStringLiteral("Voice"), QStringLiteral("tester")}});
}

void BookshelfTest::signIn(const QString& name, const QStringList& languages)
{
    QVERIFY(SignedInUser::signIn(name, languages));
}

void BookshelfTest::createForm()
{
    closeForm();
    mHost = std::make_unique<TestHost>();
    mRoot = PluginLocator::instance(QStringLiteral("plugins_dll/Forms/Bookshelf.dll"));
    mForm = qobject_cast<IForm*>(mRoot);
    QVERIFY(mForm);
    mForm->setMainWindow(mHost.get());
    mHost->setCentralWidget(mForm->widget());
    mForm->init();
    mForm->retranslateView();
    mForm->updateViewLists();
}

void BookshelfTest::openForm()
{
    createForm();
    QVERIFY(mForm);
    mForm->refreshData();
    mHost->resize(1000, 700);
    mHost->show();
    QVERIFY(QTest::qWaitForWindowExposed(mHost.get()));
    gSearches = 0;
}

void BookshelfTest::closeForm()
{
    if (mHost && mRoot) {
        // The next instance() makes a new form, as after a sign-out.
        mHost->takeCentralWidget();
        delete mRoot;
    }
    mRoot = nullptr;
    mForm = nullptr;
    mHost.reset();
}

void BookshelfTest::selectRows(const char* table, const QList<int>& rows)
{
    auto* view = child<QTableView>(table);
    view->clearSelection();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 1),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void BookshelfTest::selectLessons(bool lessons)
{
    auto* tree = child<QTreeWidget>("trWidgetResults");
    tree->setCurrentItem(tree->topLevelItem(lessons ? 1 : 0));
}

void BookshelfTest::chooseFilter(int index)
{
    auto* filter = child<QComboBox>("cmbLanguages");
    filter->setCurrentIndex(index);
    emit filter->activated(index);
}

void BookshelfTest::answerBoxes(const QString& answers)
{
    QList<int> list;
    for (const QString& answer : answers.split(QLatin1Char(','), Qt::SkipEmptyParts))
        list << answer.toInt();
    mTree->answerBoxes(list);
}

void BookshelfTest::clickStudyRow(int row, int x)
{
    auto* table = child<ZoTable>("tblStudyList");
    const int y = table->rowViewportPosition(row) + table->rowHeight(row) / 2;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
}

bool BookshelfTest::runSql(const QString& statement)
{
    return TestDatabase::execFile(mTree->tree().filePath(QStringLiteral("vireda.db")), statement);
}

void BookshelfTest::rejectNextWizard(bool* rejected)
{
    QTimer::singleShot(0, this, [rejected] {
        if (auto* wizard = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            wizard->reject();
            *rejected = true;
        }
    });
}

int BookshelfTest::exerciseRowOf(const QString& term) const
{
    QAbstractItemModel* model = child<QTableView>("tblExercise")->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 1).data().toString() == term)
            return row;
    }
    return -1;
}

// ---- search -----------------------------------------------------------------------

void BookshelfTest::typeAheadRunsOneSearchPerBurst()
{
    addExercise(QStringLiteral("abcde"), QStringLiteral("French"));
    addExercise(QStringLiteral("abx"), QStringLiteral("French"));
    addExercise(QStringLiteral("other"), QStringLiteral("Spanish"));
    openForm();
    QCOMPARE(treeText(0), QStringLiteral("Exercises (3)"));

    auto* field = child<QLineEdit>("lEditSearchField");
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("abc"));
    // Nothing searched while typing.
    QCOMPARE(gSearches, 0);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (3)"));
    QTRY_COMPARE(treeText(0), QStringLiteral("Exercises (1)"));
    QCOMPARE(gSearches, 1);
    QVERIFY(!page()->findChild<QTimer*>(QStringLiteral("findAheadTimer"))->isActive());
}

void BookshelfTest::returnSearchesAtOnce()
{
    addExercise(QStringLiteral("abcde"), QStringLiteral("French"));
    addExercise(QStringLiteral("other"), QStringLiteral("Spanish"));
    openForm();
    auto* field = child<QLineEdit>("lEditSearchField");
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("oth"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(gSearches, 1);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));
    // The pending type-ahead is dropped.
    QVERIFY(!page()->findChild<QTimer*>(QStringLiteral("findAheadTimer"))->isActive());
}

void BookshelfTest::showAllKeepsTheFilter()
{
    addExercise(QStringLiteral("bonjour"), QStringLiteral("French"));
    addExercise(QStringLiteral("merci"), QStringLiteral("French"));
    addExercise(QStringLiteral("gracias"), QStringLiteral("Spanish"));
    openForm();
    chooseFilter(1);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (2)"));
    auto* field = child<QLineEdit>("lEditSearchField");
    QTest::keyClicks(field, QStringLiteral("bon"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));

    QTest::mouseClick(child<QPushButton>("btnFindAll"), Qt::LeftButton);
    QCOMPARE(field->text(), QString());
    QCOMPARE(child<QComboBox>("cmbLanguages")->currentText(), QStringLiteral("French"));
    QCOMPARE(treeText(0), QStringLiteral("Exercises (2)"));
    // Clearing the text started no type-ahead.
    QVERIFY(!page()->findChild<QTimer*>(QStringLiteral("findAheadTimer"))->isActive());

    chooseFilter(0);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (3)"));
}

void BookshelfTest::filterItemsAndStoredLanguage()
{
    addExercise(QStringLiteral("gracias"), QStringLiteral("Spanish"));
    addExercise(QStringLiteral("merci"), QStringLiteral("French"));
    openForm();
    auto* filter = child<QComboBox>("cmbLanguages");
    QStringList items;
    for (int i = 0; i < filter->count(); ++i)
        items << filter->itemText(i);
    QCOMPARE(items, (QStringList{"All Languages", "French", "Spanish", "Add Language..."}));
    QCOMPARE(filter->currentIndex(), 0);

    chooseFilter(2);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));
    const QString key = QStringLiteral("users/learner/LibraryLanguage");
    QCOMPARE(QSettings().value(key).toString(), mLanguages->idOf(QStringLiteral("Spanish")));

    // A new tab for the same user starts on the stored language.
    openForm();
    QCOMPARE(child<QComboBox>("cmbLanguages")->currentText(), QStringLiteral("Spanish"));
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));

    chooseFilter(0);
    QCOMPARE(QSettings().value(key).toString(), mLanguages->idOf(QStringLiteral("All Languages")));
}

void BookshelfTest::refilledFilterNeverKeepsAStaleLanguage()
{
    addExercise(QStringLiteral("gracias"), QStringLiteral("Spanish"));
    addExercise(QStringLiteral("merci"), QStringLiteral("French"));
    openForm();
    chooseFilter(2);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));

    // Spanish is removed from the profile elsewhere; the lists are refilled.
    signIn(QStringLiteral("learner"), {QStringLiteral("French")});
    mForm->updateViewLists();
    auto* filter = child<QComboBox>("cmbLanguages");
    QCOMPARE(filter->count(), 3);
    QCOMPARE(filter->currentText(), QStringLiteral("All Languages"));
    QCOMPARE(treeText(0), QStringLiteral("Exercises (2)"));

    // The old index 2 is now "Add Language...": a cancelled wizard goes back
    // to what the refilled list showed.
    filter->setCurrentIndex(2);
    bool rejected = false;
    rejectNextWizard(&rejected);
    QTRY_VERIFY(rejected);
    QTRY_COMPARE(filter->currentIndex(), 0);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (2)"));
}

// ---- deletion -----------------------------------------------------------------------

// A learner who never chose a language sees every exercise, whatever the
// learner before them chose; one who did gets their own choice back.
void BookshelfTest::nextLearnerStartsOnAllLanguages()
{
    addExercise(QStringLiteral("gracias"), QStringLiteral("Spanish"));
    addExercise(QStringLiteral("merci"), QStringLiteral("French"));
    openForm();
    chooseFilter(2);
    auto* filter = child<QComboBox>("cmbLanguages");
    QCOMPARE(filter->currentText(), QStringLiteral("Spanish"));
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));

    auto nextLearner = [&](const QString& name) {
        signIn(name, {QStringLiteral("Spanish"), QStringLiteral("French")});
        mForm->retranslateView();
        mForm->updateViewLists();
        mForm->refreshData();
    };
    nextLearner(QStringLiteral("second"));
    QCOMPARE(filter->currentIndex(), 0);
    QCOMPARE(filter->currentText(), QStringLiteral("All Languages"));
    QCOMPARE(treeText(0), QStringLiteral("Exercises (2)"));

    chooseFilter(2);
    QCOMPARE(filter->currentText(), QStringLiteral("French"));
    nextLearner(QStringLiteral("learner"));
    QCOMPARE(filter->currentText(), QStringLiteral("Spanish"));
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));
}

void BookshelfTest::deletingWithALessonMember()
{
    const QString one = addExercise(QStringLiteral("one"), QStringLiteral("French"));
    const QString two = addExercise(QStringLiteral("two"), QStringLiteral("French"));
    const QString three = addExercise(QStringLiteral("three"), QStringLiteral("French"));
    QVERIFY(!QueryTableFixture::addLesson(mStore,
                                          {{QStringLiteral("Title"), QStringLiteral("Numbers")},
                                           {QStringLiteral("Language"), QStringLiteral("French")}},
                                          {two})
                 .isEmpty());
    openForm();
    QCOMPARE(treeText(0), QStringLiteral("Exercises (3)"));
    // "one" is on the study list twice.
    selectRows("tblExercise", {exerciseRowOf(QStringLiteral("one"))});
    QMetaObject::invokeMethod(mRoot, "slotAdd");
    selectRows("tblExercise", {exerciseRowOf(QStringLiteral("one"))});
    QMetaObject::invokeMethod(mRoot, "slotAdd");
    selectRows("tblExercise", {exerciseRowOf(QStringLiteral("three"))});
    QMetaObject::invokeMethod(mRoot, "slotAdd");
    QCOMPARE(studyIds(), (QStringList{one, one, three}));

    answerBoxes(QStringLiteral("0"));
    selectRows("tblExercise", {0, 1, 2});
    QTest::keyClick(child<QTableView>("tblExercise"), Qt::Key_Delete);

    const QString title = QStringLiteral("Vireda Test");
    QCOMPARE(boxes(),
             (QStringList{
                 MessageBoxHelper::logLine(MessageBoxHelper::Question, title,
                                           QStringLiteral("Do you want to permanently delete the selected Exercises?"),
                                           {"Yes", "Cancel"}),
                 MessageBoxHelper::logLine(
                     MessageBoxHelper::Information, title,
                     QStringLiteral("Exercise is found in one or more Lessons and could not be deleted."), {"OK"})}));
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));
    QCOMPARE(mStore->search(QStringLiteral("Exercise"), {{QStringLiteral("Id"), two}}).size(), 1);
    QVERIFY(mStore->search(QStringLiteral("Exercise"), {{QStringLiteral("Id"), one}}).isEmpty());
    QCOMPARE(mHost->uploadCountUpdates, 1);
    QCOMPARE(studyIds(), QStringList());
    QCOMPARE(child<ZoTable>("tblStudyList")->rowCount(), 0);
}

void BookshelfTest::refusedDeletionNamesLessonsOnlyWhenTheyAreTheCause()
{
    const QString kept = addExercise(QStringLiteral("kept"), QStringLiteral("French"));
    const QString gone = addExercise(QStringLiteral("gone"), QStringLiteral("French"));
    const QString member = addExercise(QStringLiteral("member"), QStringLiteral("French"));
    QVERIFY(!QueryTableFixture::addLesson(mStore,
                                          {{QStringLiteral("Title"), QStringLiteral("L")},
                                           {QStringLiteral("Language"), QStringLiteral("French")}},
                                          {member})
                 .isEmpty());
    // The database refuses to delete "kept", for a reason other than a lesson.
    const QString trigger = QStringLiteral("CREATE TRIGGER keep_one BEFORE DELETE ON m WHEN old.lmid = %1 "
                                           "BEGIN SELECT RAISE(ABORT, 'kept'); END")
                                .arg(kept);
    QVERIFY(runSql(trigger));
    openForm();

    answerBoxes(QStringLiteral("0"));
    selectRows("tblExercise", {exerciseRowOf(QStringLiteral("kept")), exerciseRowOf(QStringLiteral("gone"))});
    QMetaObject::invokeMethod(mRoot, "deleteObject");
    QStringList shown = boxes();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1), MessageBoxHelper::logLine(MessageBoxHelper::Information, QStringLiteral("Vireda Test"),
                                                    QStringLiteral("1 Exercise(s) could not be deleted."), {"OK"}));
    QCOMPARE(treeText(0), QStringLiteral("Exercises (2)"));
    QVERIFY(mStore->search(QStringLiteral("Exercise"), {{QStringLiteral("Id"), gone}}).isEmpty());

    // Both causes at once: each is told once.
    QFile::remove(mTree->boxLogPath());
    answerBoxes(QStringLiteral("0"));
    selectRows("tblExercise", {0, 1});
    QMetaObject::invokeMethod(mRoot, "deleteObject");
    shown = boxes();
    QCOMPARE(shown.size(), 3);
    QVERIFY(shown.at(1).contains(QStringLiteral("Exercise is found in one or more Lessons")));
    QVERIFY(shown.at(2).contains(QStringLiteral("1 Exercise(s) could not be deleted.")));
}

void BookshelfTest::deletingALesson()
{
    const QString a = addExercise(QStringLiteral("a"), QStringLiteral("French"));
    const QString b = addExercise(QStringLiteral("b"), QStringLiteral("French"));
    QVERIFY(!QueryTableFixture::addLesson(mStore,
                                          {{QStringLiteral("Title"), QStringLiteral("Letters")},
                                           {QStringLiteral("Language"), QStringLiteral("French")}},
                                          {a, b})
                 .isEmpty());
    QVERIFY(!QueryTableFixture::addLesson(mStore,
                                          {{QStringLiteral("Title"), QStringLiteral("Other")},
                                           {QStringLiteral("Language"), QStringLiteral("French")}},
                                          {a})
                 .isEmpty());
    openForm();
    QCOMPARE(treeText(1), QStringLiteral("Lessons (2)"));
    selectLessons(true);
    QVERIFY(!child<QPushButton>("btnDelete")->isEnabled());
    auto* lessons = child<QTableView>("tblLesson");
    int row = lessons->model()->index(0, 1).data().toString() == QLatin1String("Letters") ? 0 : 1;
    selectRows("tblLesson", {row});
    QVERIFY(child<QPushButton>("btnDelete")->isEnabled());

    // Cancel keeps it.
    answerBoxes(QStringLiteral("1"));
    QTest::mouseClick(child<QPushButton>("btnDelete"), Qt::LeftButton);
    QCOMPARE(treeText(1), QStringLiteral("Lessons (2)"));

    answerBoxes(QStringLiteral("0"));
    selectRows("tblLesson", {row});
    QTest::mouseClick(child<QPushButton>("btnDelete"), Qt::LeftButton);
    const QString question = MessageBoxHelper::logLine(MessageBoxHelper::Question, QStringLiteral("Vireda Test"),
                                                       QStringLiteral(
                                                           "Do you want to permanently delete the Lesson 'Letters'?"),
                                                       {"Yes", "Cancel"});
    QCOMPARE(boxes(), (QStringList{question, question}));
    QCOMPARE(treeText(1), QStringLiteral("Lessons (1)"));
    QCOMPARE(lessons->model()->index(0, 1).data().toString(), QStringLiteral("Other"));
    QCOMPARE(mStore->search(QStringLiteral("Exercise"), {{QStringLiteral("Term"), QString()}}).size(), 2);
    QCOMPARE(mHost->uploadCountUpdates, 1);
}

void BookshelfTest::deleteQuestionShowsTheTermAsPlainText()
{
    const QString term = QStringLiteral("<b>bold</b> & <img src=x>");
    addExercise(term, QStringLiteral("French"), false);
    openForm();
    selectRows("tblExercise", {0});
    answerBoxes(QStringLiteral("1"));
    QMetaObject::invokeMethod(mRoot, "deleteObject");
    const QStringList shown = boxes();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first(),
             WizardTestTree::box(MessageBoxHelper::Question,
                                 QStringLiteral("Do you want to permanently delete the Exercise '%1'?").arg(term),
                                 {"Yes", "Cancel"}));
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));
}

// ---- study list ------------------------------------------------------------------------

void BookshelfTest::lessonAddsInItsOwnOrder()
{
    // The lesson's members are 5, 3, 5 in this order: ids stored out of order.
    QStringList ids;
    for (const char* term : {"t1", "t2", "t3", "t4", "t5"})
        ids << addExercise(QString::fromLatin1(term), QStringLiteral("French"));
    const QString five = ids.at(4);
    const QString three = ids.at(2);
    QVERIFY(!QueryTableFixture::addLesson(mStore,
                                          {{QStringLiteral("Title"), QStringLiteral("Order")},
                                           {QStringLiteral("Language"), QStringLiteral("French")}},
                                          {five, three, five})
                 .isEmpty());
    openForm();
    selectLessons(true);
    selectRows("tblLesson", {0});
    QTest::keyClick(child<QTableView>("tblLesson"), Qt::Key_Return);

    QCOMPARE(studyIds(), (QStringList{five, three, five}));
    auto* table = child<ZoTable>("tblStudyList");
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->text(0, 1), QStringLiteral("t5"));
    QCOMPARE(table->text(1, 1), QStringLiteral("t3"));
    QCOMPARE(table->text(2, 1), QStringLiteral("t5"));
    for (int row = 0; row < 3; ++row)
        QCOMPARE(mStudy->exerciseAt(row).value(QStringLiteral("FromLesson")), QStringLiteral("Order"));
    QVERIFY(child<QPushButton>("btnStudyNow")->isEnabled());

    // Twice gives six.
    selectRows("tblLesson", {0});
    QTest::mouseClick(child<QPushButton>("btnAdd"), Qt::LeftButton);
    QCOMPARE(mStudy->count(), 6);
    QCOMPARE(table->rowCount(), 6);
}

void BookshelfTest::lessonWithoutMembersAddsNothing()
{
    QVERIFY(!QueryTableFixture::addLesson(mStore,
                                          {{QStringLiteral("Title"), QStringLiteral("Empty")},
                                           {QStringLiteral("Language"), QStringLiteral("French")}},
                                          {})
                 .isEmpty());
    openForm();
    QCOMPARE(treeText(1), QStringLiteral("Lessons (1)"));
    selectLessons(true);
    selectRows("tblLesson", {0});
    QMetaObject::invokeMethod(mRoot, "slotAdd");
    QCOMPARE(mStudy->count(), 0);
    QCOMPARE(child<ZoTable>("tblStudyList")->rowCount(), 0);
    QVERIFY(!child<QPushButton>("btnStudyNow")->isEnabled());
}

void BookshelfTest::addAllAndDuplicates()
{
    openForm();
    // No results: Add All adds nothing.
    QVERIFY(!child<QPushButton>("btnAddAll")->isEnabled());
    QMetaObject::invokeMethod(mRoot, "slotAddAll");
    QCOMPARE(mStudy->count(), 0);

    const QString a = addExercise(QStringLiteral("alpha"), QStringLiteral("French"));
    const QString b = addExercise(QStringLiteral("beta"), QStringLiteral("French"));
    QMetaObject::invokeMethod(mRoot, "findAll");
    QVERIFY(child<QPushButton>("btnAddAll")->isEnabled());
    QTest::mouseClick(child<QPushButton>("btnAddAll"), Qt::LeftButton);
    QCOMPARE(studyIds(), (QStringList{a, b}));
    // A click on the plus icon adds that row again.
    auto* view = child<QTableView>("tblExercise");
    const QRect cell = view->visualRect(view->model()->index(exerciseRowOf(QStringLiteral("alpha")), 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QCOMPARE(studyIds(), (QStringList{a, b, a}));
    const Record entry = mStudy->exerciseAt(2);
    QCOMPARE(entry.value(QStringLiteral("Term")), QStringLiteral("alpha"));
    QCOMPARE(entry.value(QStringLiteral("Language")), QStringLiteral("French"));
    QCOMPARE(entry.value(QStringLiteral("MediaName")), QStringLiteral("alpha.wav"));
    QCOMPARE(child<ZoTable>("tblStudyList")->rowCount(), 3);
}

void BookshelfTest::minusIconZones_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("removed");
    QTest::newRow("left edge") << 0 << false;
    QTest::newRow("x 1") << 1 << true;
    QTest::newRow("x 14") << 14 << true;
    QTest::newRow("x 15") << 15 << false;
    QTest::newRow("on the text") << 60 << false;
}

void BookshelfTest::minusIconZones()
{
    QFETCH(int, x);
    QFETCH(bool, removed);
    const QString a = addExercise(QStringLiteral("alpha"), QStringLiteral("French"));
    const QString b = addExercise(QStringLiteral("beta"), QStringLiteral("French"));
    const QString c = addExercise(QStringLiteral("gamma"), QStringLiteral("French"));
    openForm();
    QMetaObject::invokeMethod(mRoot, "slotAddAll");
    QCOMPARE(studyIds(), (QStringList{a, b, c}));

    clickStudyRow(1, x);
    auto* table = child<ZoTable>("tblStudyList");
    if (removed) {
        QCOMPARE(studyIds(), (QStringList{a, c}));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->text(1, 1), QStringLiteral("gamma"));
        // The row below moved up under the cursor.
        QCOMPARE(table->currentRow(), 1);
    } else {
        QCOMPARE(studyIds(), (QStringList{a, b, c}));
        QCOMPARE(table->currentRow(), 1);
        QVERIFY(child<QPushButton>("btnRemove")->isEnabled());
    }
}

void BookshelfTest::minusIconRemovesTheClickedRow()
{
    const QString a = addExercise(QStringLiteral("alpha"), QStringLiteral("French"));
    const QString b = addExercise(QStringLiteral("beta"), QStringLiteral("French"));
    const QString c = addExercise(QStringLiteral("gamma"), QStringLiteral("French"));
    openForm();
    QMetaObject::invokeMethod(mRoot, "slotAddAll");
    auto* table = child<ZoTable>("tblStudyList");
    table->setCurrentCell(0, 1);
    clickStudyRow(2, 5);
    QCOMPARE(studyIds(), (QStringList{a, b}));
    QCOMPARE(table->text(0, 1), QStringLiteral("alpha"));
    QCOMPARE(table->text(1, 1), QStringLiteral("beta"));
    Q_UNUSED(c);
}

void BookshelfTest::playAndStopButtonStates()
{
    addExercise(QStringLiteral("sound"), QStringLiteral("French"));
    openForm();
    auto* play = child<QToolButton>("btnPlay");
    auto* stop = child<QToolButton>("btnStop");
    QVERIFY(!play->isEnabled());
    QVERIFY(!stop->isEnabled());
    selectRows("tblExercise", {0});
    QVERIFY(play->isEnabled());
    QVERIFY(child<QPushButton>("btnDelete")->isEnabled());
    QVERIFY(child<QPushButton>("btnAdd")->isEnabled());

    // Played to its end.
    mAudio->setProperty("playMs", 150);
    QTest::mouseClick(play, Qt::LeftButton);
    QVERIFY(!play->isEnabled());
    QVERIFY(stop->isEnabled());
    QTRY_VERIFY(!stop->isEnabled());
    QVERIFY(play->isEnabled());

    // Stopped by the user.
    mAudio->setProperty("playMs", -1);
    QTest::mouseClick(play, Qt::LeftButton);
    QVERIFY(stop->isEnabled());
    QTest::mouseClick(stop, Qt::LeftButton);
    QVERIFY(!stop->isEnabled());
    QVERIFY(play->isEnabled());
    QVERIFY(mAudio->property("calls").toStringList().contains(QStringLiteral("stop")));

    // Leaving the tab stops playback.
    QTest::mouseClick(play, Qt::LeftButton);
    QVERIFY(stop->isEnabled());
    QCOMPARE(mForm->customLeave(), 1);
    QVERIFY(!stop->isEnabled());
    QVERIFY(play->isEnabled());
}

void BookshelfTest::missingSoundKeepsPlayDisabled()
{
    addExercise(QStringLiteral("silent"), QStringLiteral("French"), false);
    openForm();
    selectRows("tblExercise", {0});
    QVERIFY(!child<QToolButton>("btnPlay")->isEnabled());
    QVERIFY(child<QPushButton>("btnDelete")->isEnabled());
    QVERIFY(child<QPushButton>("btnAdd")->isEnabled());
    QVERIFY(!child<QPushButton>("btnRemove")->isEnabled());
    QMetaObject::invokeMethod(mRoot, "playSound");
    QVERIFY(!child<QToolButton>("btnStop")->isEnabled());
}

void BookshelfTest::lessonsHideAddAll()
{
    addExercise(QStringLiteral("alpha"), QStringLiteral("French"));
    openForm();
    QVERIFY(child<QPushButton>("btnAddAll")->isVisible());
    selectLessons(true);
    QVERIFY(!child<QPushButton>("btnAddAll")->isVisible());
    QVERIFY(child<QTableView>("tblLesson")->isVisible());
    QVERIFY(!child<QTableView>("tblExercise")->isVisible());
    selectLessons(false);
    QVERIFY(child<QPushButton>("btnAddAll")->isVisible());
}

void BookshelfTest::changesOfOtherWritersShownOnEntry()
{
    addExercise(QStringLiteral("alpha"), QStringLiteral("French"));
    openForm();
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));
    // Another tab stores an exercise and puts a download on the study list.
    addExercise(QStringLiteral("beta"), QStringLiteral("Spanish"));
    mStudy->appendExercise(
        {{QStringLiteral("Id"), QStringLiteral("77")}, {QStringLiteral("Term"), QStringLiteral("fetched")}});
    mStudy->setChanged(true);
    QCOMPARE(mForm->customRefresh(), 1);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (2)"));
    auto* table = child<ZoTable>("tblStudyList");
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->text(0, 1), QStringLiteral("fetched"));
    QVERIFY(!mStudy->isChanged());
    QVERIFY(child<QPushButton>("btnClearStudylist")->isEnabled());
}

void BookshelfTest::downloadBehindTheTablesBack()
{
    const QString a = addExercise(QStringLiteral("alpha"), QStringLiteral("French"));
    const QString b = addExercise(QStringLiteral("beta"), QStringLiteral("French"));
    openForm();
    QMetaObject::invokeMethod(mRoot, "slotAddAll");
    // A download finishes while the tab is shown.
    mStudy->appendExercise(
        {{QStringLiteral("Id"), QStringLiteral("99")}, {QStringLiteral("Term"), QStringLiteral("fetched")}});
    auto* table = child<ZoTable>("tblStudyList");
    QCOMPARE(table->rowCount(), 2);
    // Adding keeps rows and entries in step.
    selectRows("tblExercise", {exerciseRowOf(QStringLiteral("beta"))});
    QMetaObject::invokeMethod(mRoot, "slotAdd");
    QCOMPARE(studyIds(), (QStringList{a, b, "99", b}));
    QCOMPARE(table->rowCount(), 4);
    for (int row = 0; row < 4; ++row)
        QCOMPARE(table->text(row, 0), studyIds().at(row));

    mStudy->appendExercise(
        {{QStringLiteral("Id"), QStringLiteral("98")}, {QStringLiteral("Term"), QStringLiteral("late")}});
    clickStudyRow(1, 5);
    QCOMPARE(studyIds(), (QStringList{a, "99", b, "98"}));
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(table->text(3, 1), QStringLiteral("late"));
}

void BookshelfTest::sameUserKeepsStudyListNewUserResets()
{
    const QString a = addExercise(QStringLiteral("alpha"), QStringLiteral("French"));
    addExercise(QStringLiteral("beta"), QStringLiteral("French"));
    openForm();
    QMetaObject::invokeMethod(mRoot, "slotAddAll");
    QCOMPARE(mStudy->count(), 2);
    selectRows("tblExercise", {exerciseRowOf(QStringLiteral("alpha"))});

    // A change of interface language: the same user.
    mForm->retranslateView();
    mForm->updateViewLists();
    mForm->refreshData();
    QCOMPARE(mStudy->count(), 2);
    QCOMPARE(child<ZoTable>("tblStudyList")->rowCount(), 2);
    auto* view = child<QTableView>("tblExercise");
    const QModelIndexList selected = view->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(view->model()->index(selected.first().row(), 0).data().toString(), a);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (2)"));

    // Another user.
    signIn(QStringLiteral("somebody"), {QStringLiteral("Spanish")});
    mForm->retranslateView();
    mForm->updateViewLists();
    mForm->refreshData();
    QCOMPARE(mStudy->count(), 0);
    QCOMPARE(child<ZoTable>("tblStudyList")->rowCount(), 0);
    QVERIFY(!child<QPushButton>("btnStudyNow")->isEnabled());
    QCOMPARE(treeText(0), QStringLiteral("Exercises (2)"));
    QVERIFY(view->selectionModel()->selectedRows().isEmpty());
}

void BookshelfTest::welcomeDialogOnSecondEntryOnly()
{
    QSettings().setValue(QStringLiteral("users/learner/LibrarySplash"), 1);
    openForm();
    int shown = 0;
    bool tick = true;
    auto answer = [&] {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            ++shown;
            if (tick)
                dialog->findChild<QCheckBox*>(QStringLiteral("chkDoNotShow"))->setChecked(true);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
        });
    };
    answer();
    mForm->customRefresh();
    QCOMPARE(shown, 0);
    QApplication::processEvents();
    answer();
    mForm->customRefresh();
    QCOMPARE(shown, 1);
    QCOMPARE(QSettings().value(QStringLiteral("users/learner/LibrarySplash")).toInt(), 0);
    answer();
    mForm->customRefresh();
    QCOMPARE(shown, 1);
    QApplication::processEvents();
}

void BookshelfTest::clearStudylistEmptiesBoth()
{
    addExercise(QStringLiteral("alpha"), QStringLiteral("French"));
    openForm();
    QMetaObject::invokeMethod(mRoot, "slotAddAll");
    QVERIFY(child<QPushButton>("btnStudyNow")->isEnabled());
    QTest::mouseClick(child<QPushButton>("btnClearStudylist"), Qt::LeftButton);
    QCOMPARE(mStudy->count(), 0);
    QCOMPARE(child<ZoTable>("tblStudyList")->rowCount(), 0);
    QVERIFY(!child<QPushButton>("btnStudyNow")->isEnabled());
    QVERIFY(!child<QPushButton>("btnClearStudylist")->isEnabled());
}

void BookshelfTest::studyListDoubleClick_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("plays");
    QTest::newRow("on the minus icon") << 10 << false;
    QTest::newRow("x 15") << 15 << false;
    QTest::newRow("x 16") << 16 << true;
    QTest::newRow("on the term") << 80 << true;
}

void BookshelfTest::studyListDoubleClick()
{
    QFETCH(int, x);
    QFETCH(bool, plays);
    addExercise(QStringLiteral("alpha"), QStringLiteral("French"));
    addExercise(QStringLiteral("beta"), QStringLiteral("French"));
    openForm();
    QMetaObject::invokeMethod(mRoot, "slotAddAll");
    mAudio->setProperty("playMs", -1);
    mAudio->setProperty("calls", QStringList());
    auto* table = child<ZoTable>("tblStudyList");
    const QPoint at(x, table->rowViewportPosition(1) + table->rowHeight(1) / 2);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    const QStringList calls = mAudio->property("calls").toStringList();
    if (plays) {
        QCOMPARE(calls.filter(QStringLiteral("play ")), QStringList{QStringLiteral("play Content/beta.wav")});
        QVERIFY(child<QToolButton>("btnStop")->isEnabled());
        QVERIFY(!child<QToolButton>("btnPlay")->isEnabled());
        // A double click on another row while playing plays that one.
        const QPoint first(x, table->rowViewportPosition(0) + table->rowHeight(0) / 2);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, first);
        QCOMPARE(mAudio->property("calls").toStringList().filter(QStringLiteral("play ")).last(),
                 QStringLiteral("play Content/alpha.wav"));
        QVERIFY(child<QToolButton>("btnStop")->isEnabled());
    } else {
        QVERIFY(calls.filter(QStringLiteral("play ")).isEmpty());
    }
    QCOMPARE(mStudy->count(), 2);
}

void BookshelfTest::exerciseMenuFollowsTheButtons()
{
    addExercise(QStringLiteral("unheard"), QStringLiteral("French"), false);
    openForm();
    auto* view = child<QTableView>("tblExercise");
    QStringList seen;
    QTimer::singleShot(0, this, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QAction* add = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                continue;
            seen << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
            if (action->text() == QLatin1String("Add"))
                add = action;
        }
        if (add) {
            menu->setActiveAction(add);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->close();
        }
    });
    // A right click on an unselected row selects it first.
    const QRect cell = view->visualRect(view->model()->index(0, 1));
    QTest::mouseClick(view->viewport(), Qt::RightButton, Qt::NoModifier, cell.center());
    QTRY_COMPARE(seen, (QStringList{"Play (off)", "Stop (off)", "Delete", "Add", "Add All"}));
    QTRY_COMPARE(mStudy->count(), 1);
}

void BookshelfTest::germanKeepsTheFilter()
{
    addExercise(QStringLiteral("gracias"), QStringLiteral("Spanish"));
    addExercise(QStringLiteral("merci"), QStringLiteral("French"));
    openForm();
    chooseFilter(2);
    // The tab's own file and those of the shared components, as the program loads them.
    std::vector<std::unique_ptr<QTranslator>> translators;
    for (const char* file : {"library-Deutsch.qm", "SharedDialogs-Deutsch.qm"}) {
        translators.push_back(std::make_unique<QTranslator>());
        QVERIFY(translators.back()->load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/")
                                         + QLatin1String(file)));
        QCoreApplication::installTranslator(translators.back().get());
    }
    mForm->retranslateView();
    mForm->updateViewLists();
    mForm->refreshData();
    const QString title = mForm->title();
    for (auto& translator : translators)
        QCoreApplication::removeTranslator(translator.get());

    QCOMPARE(title, QStringLiteral("Bibliothek"));
    auto* filter = child<QComboBox>("cmbLanguages");
    QCOMPARE(filter->itemText(0), QStringLiteral("Alle Sprachen"));
    QCOMPARE(filter->itemText(filter->count() - 1), QStringLiteral("Sprache hinzufügen..."));
    QCOMPARE(filter->currentText(), QStringLiteral("Spanish"));
    QCOMPARE(treeText(0), QStringLiteral("Übungen (1)"));
    QCOMPARE(treeText(1), QStringLiteral("Lektionen (0)"));
    QCOMPARE(child<QPushButton>("btnFindAll")->text(), QStringLiteral("Alle anzeigen"));
    QCOMPARE(child<QPushButton>("btnStudyNow")->text(), QStringLiteral("Jetzt üben!"));
}

void BookshelfTest::abortedRunsKeepWhatWasDone()
{
    for (const char* term : {"r1", "r2", "r3", "r4"})
        addExercise(QString::fromLatin1(term), QStringLiteral("French"));
    openForm();
    // The first progress step lets the pending events run: Abort is pressed there.
    auto abortSoon = [this] {
        QTimer::singleShot(0, this, [this] {
            for (auto* progress : page()->findChildren<QProgressDialog*>()) {
                if (!progress->wasCanceled())
                    progress->cancel();
            }
        });
    };
    abortSoon();
    QMetaObject::invokeMethod(mRoot, "slotAddAll");
    QCOMPARE(mStudy->count(), 1);
    QCOMPARE(child<ZoTable>("tblStudyList")->rowCount(), 1);

    answerBoxes(QStringLiteral("0"));
    selectRows("tblExercise", {0, 1, 2, 3});
    abortSoon();
    QMetaObject::invokeMethod(mRoot, "deleteObject");
    // The exercise being deleted when Abort came stays deleted; the rest stay.
    QCOMPARE(treeText(0), QStringLiteral("Exercises (3)"));
    QCOMPARE(mStore->search(QStringLiteral("Exercise"), {{QStringLiteral("Term"), QString()}}).size(), 3);
}

void BookshelfTest::addLanguageThroughTheWizard()
{
    addExercise(QStringLiteral("ciao"), QStringLiteral("Italian"));
    addExercise(QStringLiteral("merci"), QStringLiteral("French"));
    openForm();
    auto* filter = child<QComboBox>("cmbLanguages");
    bool done = false;
    filter->setCurrentIndex(filter->count() - 1);
    WizardDriver::finishNextWizard(QStringLiteral("Italian"), QStringLiteral("Advanced"), {}, &done);
    QTRY_COMPARE(filter->currentText(), QStringLiteral("Italian"));
    QVERIFY(done);
    QCOMPARE(mTree->netCalls(QStringLiteral("updateFluency")).size(), 1);
    QCOMPARE(SignedInUser::currentLanguages(), (QStringList{"French", "Spanish", "Italian"}));
    QCOMPARE(filter->count(), 5);
    QTRY_COMPARE(treeText(0), QStringLiteral("Exercises (1)"));
    QCOMPARE(QSettings().value(QStringLiteral("users/learner/LibraryLanguage")).toString(),
             mLanguages->idOf(QStringLiteral("Italian")));
}

void BookshelfTest::cancelledWizardKeepsTheFilter()
{
    addExercise(QStringLiteral("gracias"), QStringLiteral("Spanish"));
    addExercise(QStringLiteral("merci"), QStringLiteral("French"));
    openForm();
    chooseFilter(2);
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));
    auto* filter = child<QComboBox>("cmbLanguages");
    filter->setCurrentIndex(filter->count() - 1);
    bool rejected = false;
    rejectNextWizard(&rejected);
    QTRY_VERIFY(rejected);
    QTRY_COMPARE(filter->currentText(), QStringLiteral("Spanish"));
    QCOMPARE(treeText(0), QStringLiteral("Exercises (1)"));
    QVERIFY(mTree->netCalls(QStringLiteral("updateFluency")).isEmpty());
    QCOMPARE(QSettings().value(QStringLiteral("users/learner/LibraryLanguage")).toString(),
             mLanguages->idOf(QStringLiteral("Spanish")));
}

void BookshelfTest::fontsFollowTheHost()
{
    openForm();
    mHost->changeFont(12);
    QCOMPARE(child<QLabel>("lblFindContent")->font().pointSize(), 12);
    QVERIFY(child<QLabel>("lblFindContent")->font().bold());
    QCOMPARE(child<QPushButton>("btnStudyNow")->font().pointSize(), 14);
    QVERIFY(child<QPushButton>("btnStudyNow")->font().bold());
    QCOMPARE(child<QLabel>("lblStudylist")->font().pointSize(), 17);
}

void BookshelfTest::helpOpensOneWindow()
{
    openForm();
    auto* help = child<QToolButton>("btnHelp");
    QTest::mouseClick(help, Qt::LeftButton);
    QTest::mouseClick(help, Qt::LeftButton);
    QList<QDialog*> windows;
    for (QDialog* dialog : page()->findChildren<QDialog*>()) {
        if (dialog->objectName() == QLatin1String("HelpBrowser") && dialog->isVisible())
            windows << dialog;
    }
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.first()->windowTitle(), WizardTestTree::title());
    windows.first()->close();
}

void BookshelfTest::textsOnScreen_data()
{
    ScreenTexts::addLanguageAndFontRows();
}

// The query tables, the study list and every text of the tab show in full
// at the smallest and largest font, and in German after a switch none stays
// English.
void BookshelfTest::textsOnScreen()
{
    QFETCH(bool, german);
    QFETCH(int, pointSize);
    signIn(QStringLiteral("learner"), {QStringLiteral("German, Standard"), QStringLiteral("French")});
    const QString a = addExercise(QStringLiteral("merci"), QStringLiteral("German, Standard"));
    QueryTableFixture::addLesson(mStore,
                                 {{QStringLiteral("Title"), QStringLiteral("salut")},
                                  {QStringLiteral("Language"), QStringLiteral("French")}},
                                 {a});
    ScreenTexts::PointSize size(pointSize);
    openForm();
    mHost->changeFont(pointSize);
    QMetaObject::invokeMethod(mRoot, "findAll");
    QMetaObject::invokeMethod(mRoot, "slotAddAll");
    QCOMPARE(child<ZoTable>("tblStudyList")->rowCount(), 1);
    const QList<ScreenTexts::Shown> english = ScreenTexts::shown(page(), true);

    std::unique_ptr<ScreenTexts::German> de;
    if (german) {
        de = std::make_unique<ScreenTexts::German>([this] {
            mStore->releaseResources();
            LanguageComboHelper::reloadCurrentUser();
        });
        mForm->retranslateView();
        mForm->updateViewLists();
        mForm->refreshData();
        const QStringList untranslated = ScreenTexts::untranslated(english, ScreenTexts::shown(page(), true),
                                                                   ScreenTexts::sameWords(),
                                                                   {QStringLiteral("merci"), QStringLiteral("learner"),
                                                                    QStringLiteral("tester")});
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral("; "))));
    }
    QTRY_VERIFY2(ScreenTexts::cut(page()).isEmpty(), qPrintable(ScreenTexts::cut(page()).join("; ")));
    selectLessons(true);
    QVERIFY(child<QTableView>("tblLesson")->isVisible());
    QTRY_VERIFY2(ScreenTexts::cut(page()).isEmpty(), qPrintable(ScreenTexts::cut(page()).join("; ")));
}

// A lesson of more than two reading parts added back by a double click: the
// progress display shows, the window answers meanwhile, every member arrives in
// the lesson's order.
void BookshelfTest::longLessonAddsWithProgress()
{
    const int many = 12345;
    QSqlQuery query(QSqlDatabase::database());
    QVERIFY(query.exec(QStringLiteral("SELECT COALESCE(MAX(lmid), 0) FROM m")) && query.next());
    const qint64 before = query.value(0).toLongLong();
    QVERIFY(QueryTableFixture::addManyExercises(mTree->tree().filePath(QStringLiteral("vireda.db")), many));
    QStringList members;
    QVERIFY(query.exec(
        QStringLiteral("SELECT mlmid FROM tm WHERE tmttmtid = 2 AND mlmid > %1 ORDER BY mlmid DESC").arg(before)));
    while (query.next())
        members << query.value(0).toString();
    QCOMPARE(members.size(), many);
    members << members.first();
    QVERIFY(!QueryTableFixture::addLesson(mStore,
                                          {{QStringLiteral("Title"), QStringLiteral("Lang")},
                                           {QStringLiteral("Language"), QStringLiteral("French")}},
                                          members)
                 .isEmpty());
    openForm();
    selectLessons(true);
    auto* lessons = child<QTableView>("tblLesson");
    QCOMPARE(lessons->model()->rowCount(), 1);

    const int showAfter = WorkProgress::showAfterMs();
    WorkProgress::setShowAfterMs(0);
    ProgressWatch watch;
    QVERIFY(QMetaObject::invokeMethod(mRoot, "lessonDoubleClicked", Q_ARG(QModelIndex, lessons->model()->index(0, 1))));
    WorkProgress::setShowAfterMs(showAfter);
    QCOMPARE(watch.shown(), QStringList{QStringLiteral("Adding Lessons to Studylist...")});
    QVERIFY(watch.answeredWhileShown() > 0);
    QCOMPARE(studyIds(), members);
    QCOMPARE(child<ZoTable>("tblStudyList")->rowCount(), many + 1);
    QCOMPARE(mStudy->exerciseAt(many).value(QStringLiteral("FromLesson")), QStringLiteral("Lang"));
}

void BookshelfTest::firstListingWaitsForNoRead_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("terms");
    QTest::newRow("every exercise") << 0 << QString() << QStringList{"bonjour", "gracias", "Merci", "merci beaucoup"};
    QTest::newRow("a language and a term") << 1 << QStringLiteral("merci") << QStringList{"Merci", "merci beaucoup"};
}

void BookshelfTest::firstListingWaitsForNoRead()
{
    QFETCH(int, filter);
    QFETCH(QString, typed);
    QFETCH(QStringList, terms);
    for (const char* term : {"merci beaucoup", "gracias", "bonjour", "Merci"})
        addExercise(QLatin1String(term),
                    term == QLatin1String("gracias") ? QStringLiteral("Spanish") : QStringLiteral("French"));
    // A store of its own, as after the program's start: nothing of its rows read.
    closeForm();
    delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    mStore = SignedInUser::store();
    QVERIFY(mStore);
    QObject* store = PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    if (filter > 0) {
        QSettings().setValue(QStringLiteral("users/learner/LibraryLanguage"),
                             mLanguages->idOf(QStringLiteral("French")));
    }

    // Sign-in: the count the window asks starts the read, then the tab lists.
    mStore->uploadableCount(QStringLiteral("learner"));
    QVERIFY(store->property("exerciseRowsLoading").toBool());
    createForm();
    QVERIFY(mForm);
    child<QLineEdit>("lEditSearchField")->setText(typed);
    mForm->refreshData();
    // The rows are taken up only from the window's loop: the listing did not wait.
    QVERIFY(store->property("exerciseRowsLoading").toBool());
    QCOMPARE(treeText(0), QString(QStringLiteral("Exercises (") + QChar(0x2026) + QLatin1Char(')')));
    auto* view = child<QTableView>("tblExercise");
    QCOMPARE(view->model()->rowCount(), 0);
    QCOMPARE(treeText(1), QStringLiteral("Lessons (0)"));

    QTRY_COMPARE(treeText(0), QStringLiteral("Exercises (%1)").arg(terms.size()));
    QVERIFY(!store->property("exerciseRowsLoading").toBool());
    QStringList listed;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        listed << view->model()->index(row, 1).data().toString();
    QCOMPARE(listed, terms);
    QVERIFY(child<QPushButton>("btnAddAll")->isEnabled());
}

void BookshelfTest::lessonRecordMembers_data()
{
    QTest::addColumn<Record>("lesson");
    QTest::addColumn<QStringList>("members");
    QTest::newRow("in order, repeats kept")
        << Record{{"ExerciseCount", "3"}, {"EId1", "7"}, {"EId2", "4"}, {"EId3", "7"}} << QStringList{"7", "4", "7"};
    QTest::newRow("a member without an id left out")
        << Record{{"ExerciseCount", "3"}, {"EId1", "7"}, {"EId2", ""}, {"EId3", "9"}} << QStringList{"7", "9"};
    QTest::newRow("ids past the count left out")
        << Record{{"ExerciseCount", "1"}, {"EId1", "7"}, {"EId2", "8"}} << QStringList{"7"};
    QTest::newRow("ten members and more, by number")
        << Record{{"ExerciseCount", "11"}, {"EId1", "1"}, {"EId2", "2"}, {"EId10", "10"}, {"EId11", "11"}}
        << QStringList{"1", "2", "10", "11"};
    QTest::newRow("no count") << Record{{"EId1", "7"}} << QStringList();
    QTest::newRow("a count that is not a number") << Record{{"ExerciseCount", "x"}, {"EId1", "7"}} << QStringList();
}

void BookshelfTest::lessonRecordMembers()
{
    QFETCH(Record, lesson);
    QFETCH(QStringList, members);
    QCOMPARE(LessonRecords::memberIds(lesson), members);
}

void BookshelfTest::everyLessonMember()
{
    const QList<Record> lessons{{{"Title", "EId1"}, {"EId1", "3"}, {"EId2", ""}, {"Id", "40"}},
                                {{"EId1", "5"}, {"EId7", "3"}, {"ExerciseCount", "2"}},
                                {}};
    QCOMPARE(LessonRecords::allMembers(lessons), (QSet<QString>{"3", "5"}));
    QVERIFY(LessonRecords::allMembers({}).isEmpty());
}

QTEST_MAIN(BookshelfTest)
#include "tst_bookshelf.moc"
