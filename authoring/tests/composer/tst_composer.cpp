#include "AuthoringTree.h"
#include "ComboSteps.h"
#include "Composer.h"
#include "CreateExerciseView.h"
#include "CreateLessonView.h"
#include "CreateSession.h"
#include "CreateTemplate.h"
#include "ExerciseFields.h"
#include "FieldTranslation.h"
#include "HelpBrowser.h"
#include "IForm.h"
#include "IResource.h"
#include "ImportSteps.h"
#include "LanguageComboHelper.h"
#include "ScreenTexts.h"
#include "TermListSteps.h"
#include "WizardDriver.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

using Hash = QHash<QString, QString>;
using namespace ComboSteps;

namespace {

const QString kGerman = QStringLiteral("German, Standard");
const QString kQuestion = QStringLiteral("Do you want to save the changes made to the Exercise?");

// Record, Stop, Play and Save as four digits, 1 for enabled.
QString buttons(const CreateExerciseView& view)
{
    QString state;
    for (const QPushButton* button : {view.btnRecord, view.btnStop, view.btnPlay, view.btnSave})
        state += button->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return state;
}

} // namespace

class TestComposer : public QObject
{
    Q_OBJECT

    AuthoringTree mFixture;

    std::unique_ptr<CreateExerciseView> newView() const { return mFixture.newEditor(); }

    std::unique_ptr<Composer> newForm()
    {
        auto form = std::make_unique<Composer>();
        form->setMainWindow(mFixture.host());
        form->init();
        form->resize(900, 700);
        form->show();
        return form;
    }

    // Stores an exercise with a recording file in Content; its local id.
    QString storeExercise(const QString& term, const QString& language, const QList<ExerciseFields::Field>& fields = {})
    {
        static int n = 0;
        const QString file = QStringLiteral("stored%1.wav").arg(++n);
        QFile sound(mFixture.contentPath(file));
        if (!sound.open(QIODevice::WriteOnly) || sound.write("RIFF") != 4)
            return {};
        sound.close();
        ZoExercise exercise({{"Term", term},
                             {"Language", language},
                             {"MediaPath", "Content"},
                             {"MediaName", file},
                             {"MediaId", "0"},
                             {"Voice", "maria"},
                             {"PId", "0"},
                             {"PersistentTermId", "0"},
                             {"PersistentMediaId", "0"}});
        exercise.setCreator(QStringLiteral("maria"));
        ExerciseFields::addOrdered(&exercise, fields);
        if (!AuthoringTree::store()->insertExercise(QStringLiteral("Exercise"), &exercise))
            return {};
        return exercise.id();
    }

    std::unique_ptr<ZoExercise> loadExercise(const QString& id)
    {
        return std::unique_ptr<ZoExercise>(AuthoringTree::store()->getExercise(QStringLiteral("Exercise"), id));
    }

private slots:
    void initTestCase() { QVERIFY(mFixture.setUp()); }
    void cleanupTestCase() { mFixture.tearDown(); }

    void init()
    {
        QVERIFY(mFixture.reset());
        QObject* audio = AuthoringTree::audioObject();
        audio->setProperty("recordMs", 300);
        audio->setProperty("playMs", 300);
    }

    void cleanup()
    {
        if (AuthoringTree::audio()->isPlaying() || AuthoringTree::audio()->isRecording())
            AuthoringTree::audio()->stop();
    }

    void pluginAnswersAsTheCreateTab()
    {
        IForm* form = PluginLocator::load<IForm>(QStringLiteral("plugins_dll/Forms/Composer.dll"));
        QVERIFY(form);
        QCOMPARE(form->title(), QStringLiteral("Create"));
        QCOMPARE(form->tabIndex(), 2);
        QCOMPARE(form->translationFileName(QStringLiteral("Deutsch")), QStringLiteral("create-Deutsch"));
        QCOMPARE(form->widget(), dynamic_cast<QWidget*>(form));
        QVERIFY(QFileInfo::exists(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/create-Deutsch.qm")));
    }

    void initShowsExerciseViewAndStartsOnce()
    {
        QFile temp(mFixture.contentPath(QStringLiteral("AudioTemp.tmp")));
        QVERIFY(temp.open(QIODevice::WriteOnly));
        temp.close();
        auto form = newForm();
        QCOMPARE(form->frmObject->currentWidget(), form->exerciseEditor());
        QCOMPARE(form->currentEditor(), form->exerciseEditor());
        QCOMPARE(form->lblType->text(), QStringLiteral("Create Exercises"));
        QVERIFY(form->frmToolbar->isVisible());
        QVERIFY(!form->btnOpen->isVisible());
        QCOMPARE(qobject_cast<ICreate*>(form->exerciseEditor())->type(), QStringLiteral("Exercise"));
        QCOMPARE(qobject_cast<ICreate*>(form->lessonEditor())->type(), QStringLiteral("Lesson"));
        // The first selection started a new exercise, which removed the old recording.
        QVERIFY(!temp.exists());

        QVERIFY(temp.open(QIODevice::WriteOnly));
        temp.close();
        form->lstViewChoices->setCurrentRow(1);
        QCOMPARE(form->lblType->text(), QStringLiteral("Create Lessons"));
        QCOMPARE(form->frmObject->currentWidget(), form->lessonEditor());
        form->lstViewChoices->setCurrentRow(0);
        QCOMPARE(form->frmObject->currentWidget(), form->exerciseEditor());
        QVERIFY(temp.exists());

        form->exerciseEditor()->tEditTerm->setPlainText(QStringLiteral("Haus"));
        QVERIFY(form->exerciseEditor()->isModified());
        QCOMPARE(form->lblType->text(), QStringLiteral("Create Exercises"));
    }

    void aNewFormStartsAgain()
    {
        auto first = newForm();
        first.reset();
        QFile temp(mFixture.contentPath(QStringLiteral("AudioTemp.tmp")));
        QVERIFY(temp.open(QIODevice::WriteOnly));
        temp.close();
        auto second = newForm();
        QVERIFY(!temp.exists());
    }

    void languageCombo_data()
    {
        QTest::addColumn<QStringList>("fluencies");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no fluency") << QStringList{} << QStringList{"Select Language", "Add Language..."};
        QTest::newRow("two fluencies") << QStringList{"French", kGerman}
                                       << QStringList{"Select Language", "French", kGerman, "Add Language..."};
    }

    void languageCombo()
    {
        QFETCH(QStringList, fluencies);
        QFETCH(QStringList, expected);
        QVERIFY(mFixture.signIn(fluencies));
        auto view = newView();
        QCOMPARE(items(view->cmbLanguages), expected);
        QCOMPARE(view->cmbLanguages->currentIndex(), 0);
        QCOMPARE(view->updateViewLists(), 1);
        AuthoringTree::users()->clearCurrentUser();
        QCOMPARE(view->updateViewLists(), 0);
        QCOMPARE(view->cmbLanguages->count(), 0);
    }

    void chosenLanguageIsStoredAsId()
    {
        const QString key = QStringLiteral("users/maria/CreateLanguage");
        auto view = newView();
        activate(view->cmbLanguages, 2);
        QCOMPARE(QSettings().value(key).toString(), languages()->idOf(QStringLiteral("French")));
        QVERIFY(view->isModified());

        auto again = newView();
        QCOMPARE(again->cmbLanguages->currentText(), QStringLiteral("French"));

        // A preference outside the user's languages selects nothing.
        QSettings().setValue(key, languages()->idOf(QStringLiteral("Spanish")));
        auto other = newView();
        QCOMPARE(other->cmbLanguages->currentIndex(), 0);
    }

    void refillKeepsShownLanguage()
    {
        auto view = newView();
        activate(view->cmbLanguages, 1);
        view->cmbLanguages->setCurrentIndex(2);
        view->retranslateView();
        view->updateViewLists();
        QCOMPARE(view->cmbLanguages->currentText(), QStringLiteral("French"));
    }

    void addLanguageCancelledReturnsToPrevious()
    {
        auto view = newView();
        activate(view->cmbLanguages, 2);
        QSignalSpy chosen(view->findChild<LanguageComboHelper*>(), &LanguageComboHelper::languageChosen);
        activate(view->cmbLanguages, view->cmbLanguages->count() - 1);
        cancelNextWizard();
        QTRY_COMPARE(chosen.count(), 1);
        QCOMPARE(view->cmbLanguages->currentText(), QStringLiteral("French"));
        QVERIFY(mFixture.tree().netCalls(QStringLiteral("updateFluency")).isEmpty());
    }

    void addLanguageAcceptedSelectsIt()
    {
        auto view = newView();
        const int refills = mFixture.host()->viewListUpdates;
        bool done = false;
        activate(view->cmbLanguages, view->cmbLanguages->count() - 1);
        WizardDriver::finishNextWizard(QStringLiteral("Italian"), QStringLiteral("Beginner"), {}, &done);
        QTRY_VERIFY(done);
        QTRY_COMPARE(view->cmbLanguages->currentText(), QStringLiteral("Italian"));
        QCOMPARE(mFixture.host()->viewListUpdates, refills + 1);
        QCOMPARE(ComboSteps::items(view->cmbLanguages).last(), QStringLiteral("Add Language..."));
        QVERIFY(SignedInUser::currentLanguages().contains(QStringLiteral("Italian")));
        QCOMPARE(mFixture.tree().netCalls(QStringLiteral("updateFluency")).size(), 1);
        QVERIFY(AuthoringTree::users()->currentUser());
    }

    void missingFluencyQuestion_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("wizard");
        QTest::addColumn<bool>("shown");
        QTest::newRow("cancel") << QList<int>{1} << false << false;
        QTest::newRow("closed") << QList<int>{-1} << false << false;
        QTest::newRow("wizard cancelled") << QList<int>{0} << false << false;
        QTest::newRow("language added") << QList<int>{0} << true << true;
    }

    void missingFluencyQuestion()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, wizard);
        QFETCH(bool, shown);
        const QString id = storeExercise(QStringLiteral("casa"), QStringLiteral("Italian"));
        QVERIFY(!id.isEmpty());
        auto exercise = loadExercise(id);
        auto view = newView();
        mFixture.tree().answerBoxes(answers);
        bool done = false;
        if (wizard)
            WizardDriver::finishNextWizard(QStringLiteral("Italian"), QStringLiteral("Beginner"), {}, &done);
        else
            cancelNextWizard();
        QCOMPARE(view->openSession(exercise.get()), 1);
        QCOMPARE(mFixture.tree().boxes(),
                 QStringList{WizardTestTree::box(
                     MessageBoxHelper::Information,
                     QStringLiteral("You do not have 'Italian' set as one of your language fluencies."),
                     {QStringLiteral("Add Language"), QStringLiteral("Cancel")})});
        QCOMPARE(done, wizard);
        QCOMPARE(view->tEditTerm->toPlainText(), shown ? QStringLiteral("casa") : QString());
        QCOMPARE(view->currentId(), shown ? id : QString());
        QCOMPARE(view->isExisting(), shown);
        if (shown)
            QCOMPARE(view->cmbLanguages->currentText(), QStringLiteral("Italian"));
        // The object stays the caller's.
        QCOMPARE(exercise->term(), QStringLiteral("casa"));
    }

    void openedExerciseShowsPlainTextAndTracksTerm()
    {
        const QString id = storeExercise(QStringLiteral("<b>x</b>"), kGerman);
        auto exercise = loadExercise(id);
        auto view = newView();
        QCOMPARE(view->openSession(exercise.get()), 1);
        QSignalSpy modified(view.get(), SIGNAL(modified()));
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("<b>x</b>"));
        QCOMPARE(view->cmbLanguages->currentText(), kGerman);
        QVERIFY(!view->isModified());
        QVERIFY(view->btnSave->isEnabled());
        QVERIFY(view->btnPlay->isEnabled());

        view->tEditTerm->setPlainText(QStringLiteral("<b>y</b>"));
        QVERIFY(view->isModified());
        QCOMPARE(modified.count(), 1);
        view->tEditTerm->setPlainText(QStringLiteral("  <b>x</b> "));
        QVERIFY(!view->isModified());
    }

    void openedFieldsKeepTheirOrder()
    {
        const QList<ExerciseFields::Field> fields{{"Translation", {{"Value", "one"}, {"Language", "French"}}},
                                                  {"Translation", {{"Value", "two"}, {"Language", kGerman}}},
                                                  {"Translation", {{"Value", "three"}, {"Language", "French"}}}};
        const QString id = storeExercise(QStringLiteral("Haus"), kGerman, fields);
        auto view = newView();
        QStringList shown;
        for (int round = 0; round < 2; ++round) {
            auto exercise = loadExercise(id);
            QVERIFY(exercise);
            QCOMPARE(view->openSession(exercise.get()), 1);
            shown.clear();
            for (IFieldInfo* field : view->fieldWidgets())
                shown << field->values().value(QStringLiteral("Value"));
            QCOMPARE(shown, (QStringList{"one", "two", "three"}));

            // Written back in display order, read back the same way.
            ZoExercise rewritten(exercise->toHash());
            QList<ExerciseFields::Field> again;
            for (IFieldInfo* field : view->fieldWidgets())
                again.append({field->fieldType(), field->values()});
            ExerciseFields::addOrdered(&rewritten, again);
            QVERIFY(AuthoringTree::store()->overwrite(QStringLiteral("Exercise"), id, &rewritten));
        }
    }

    void addTranslationAddsFieldEachTime()
    {
        auto view = newView();
        QTest::mouseClick(view->btnAddField, Qt::LeftButton);
        QTest::mouseClick(view->btnAddField, Qt::LeftButton);
        QCOMPARE(view->fieldWidgets().size(), 2);
        for (IFieldInfo* field : view->fieldWidgets())
            QCOMPARE(QString::fromLatin1(field->metaObject()->className()), QStringLiteral("FieldTranslation"));
        QVERIFY(view->isModified());

        QPointer<IFieldInfo> first = view->fieldWidgets().first();
        view->objectNotModified();
        QTest::mouseClick(static_cast<FieldTranslation*>(first.data())->btnRemove, Qt::LeftButton);
        QCOMPARE(view->fieldWidgets().size(), 1);
        QVERIFY(view->isModified());
        QTRY_VERIFY(first.isNull());
    }

    void recordingButtons_data()
    {
        QTest::addColumn<int>("recordMs");
        QTest::addColumn<int>("playMs");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("states");
        // Each step's state as Record, Stop, Play, Save; "wait" lets the sound plug-in and the timers go on.
        QTest::newRow("fresh") << 300 << 300 << QStringList{"none"} << QStringList{"1000"};
        QTest::newRow("stopped recording: Record at once, recorded after the delay")
            << -1 << 300 << QStringList{"record", "stop", "wait"} << QStringList{"1100", "1100", "1011"};
        QTest::newRow("recording ends by itself without term")
            << 300 << 300 << QStringList{"record", "wait"} << QStringList{"1100", "1010"};
        QTest::newRow("recording ends by itself with term")
            << 300 << 300 << QStringList{"term", "record", "wait"} << QStringList{"1000", "1100", "1011"};
        QTest::newRow("playback stopped") << 300 << -1 << QStringList{"term", "record", "wait", "play", "stop", "wait"}
                                          << QStringList{"1000", "1100", "1011", "0101", "0101", "1011"};
        QTest::newRow("playback ends by itself, Save unchanged")
            << 300 << 300 << QStringList{"record", "wait", "play", "wait"}
            << QStringList{"1100", "1010", "0100", "1010"};
    }

    void recordingButtons()
    {
        QFETCH(int, recordMs);
        QFETCH(int, playMs);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, states);
        QObject* audio = AuthoringTree::audioObject();
        audio->setProperty("recordMs", recordMs);
        audio->setProperty("playMs", playMs);
        auto view = newView();
        for (int i = 0; i < steps.size(); ++i) {
            const QString& step = steps.at(i);
            if (step == QLatin1String("term"))
                view->tEditTerm->setPlainText(QStringLiteral("Haus"));
            else if (step == QLatin1String("record"))
                QTest::mouseClick(view->btnRecord, Qt::LeftButton);
            else if (step == QLatin1String("stop"))
                QTest::mouseClick(view->btnStop, Qt::LeftButton);
            else if (step == QLatin1String("play"))
                QTest::mouseClick(view->btnPlay, Qt::LeftButton);
            if (step == QLatin1String("wait"))
                QTRY_COMPARE_WITH_TIMEOUT(buttons(*view), states.at(i), 5000);
            else
                QCOMPARE(buttons(*view), states.at(i));
        }
    }

    void recordingMakesTheTemporaryFileAndNewRemovesIt()
    {
        auto view = newView();
        QTest::mouseClick(view->btnRecord, Qt::LeftButton);
        QTRY_VERIFY(view->btnPlay->isEnabled());
        QCOMPARE(view->soundPath(), QStringLiteral("Content"));
        QCOMPARE(view->soundFile(), QStringLiteral("AudioTemp.tmp"));
        QVERIFY(QFileInfo::exists(mFixture.contentPath(QStringLiteral("AudioTemp.tmp"))));
        QVERIFY(view->isModified());
        view->newSession();
        QVERIFY(!QFileInfo::exists(mFixture.contentPath(QStringLiteral("AudioTemp.tmp"))));
        QCOMPARE(buttons(*view), QStringLiteral("1000"));
        QVERIFY(!view->isModified());
    }

    void enteringWithMissingSoundLeavesPlayOff()
    {
        const QString id = storeExercise(QStringLiteral("Haus"), kGerman);
        auto exercise = loadExercise(id);
        auto view = newView();
        view->openSession(exercise.get());
        QVERIFY(QFile::remove(mFixture.contentPath(exercise->mediaName())));
        view->customRefresh();
        QVERIFY(!view->btnPlay->isEnabled());
        QCOMPARE(view->currentId(), id);

        // An exercise gone from the store makes the view start anew.
        QVERIFY(AuthoringTree::store()->remove(QStringLiteral("Exercise"), {id}));
        view->customRefresh();
        QCOMPARE(view->currentId(), QString());
        QCOMPARE(view->tEditTerm->toPlainText(), QString());
    }

    void maybeSaveAnswers_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("result");
        QTest::newRow("unchanged: no question") << false << 0 << 1;
        QTest::newRow("No") << true << 1 << 1;
        QTest::newRow("Cancel") << true << 2 << 0;
        QTest::newRow("closed") << true << -1 << 0;
    }

    void maybeSaveAnswers()
    {
        QFETCH(bool, change);
        QFETCH(int, answer);
        QFETCH(int, result);
        auto view = newView();
        if (change)
            view->tEditTerm->setPlainText(QStringLiteral("Haus"));
        mFixture.tree().answerBoxes({answer});
        QCOMPARE(view->maybeSave(), result);
        const QStringList expected = change ? QStringList{WizardTestTree::box(
                                         MessageBoxHelper::Question, kQuestion,
                                         {QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel")})}
                                            : QStringList{};
        QCOMPARE(mFixture.tree().boxes(), expected);
    }

    void closeRefusedByExerciseViewNeverReachesLessonView()
    {
        auto form = newForm();
        form->exerciseEditor()->tEditTerm->setPlainText(QStringLiteral("Haus"));
        mFixture.tree().answerBoxes({2});
        QCloseEvent refused;
        form->closeEvent(&refused);
        QVERIFY(!refused.isAccepted());
        QCOMPARE(mFixture.tree().boxes().size(), 1);
        QVERIFY(mFixture.tree().boxes().first().contains(kQuestion));

        mFixture.tree().answerBoxes({1});
        QCloseEvent allowed;
        form->closeEvent(&allowed);
        QVERIFY(allowed.isAccepted());
    }

    // The learner leaves a term of the open list while it is still recording. The
    // recording is stopped through the editor and kept, the question comes first,
    // and on "Yes" the term is saved and marked in the list file.
    void termListWorkSurvivesLeaving_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QList<int>>("answers");
        QTest::newRow("close refused by the lesson view") << "close" << QList<int>{0, 2};
        QTest::newRow("Save As Lesson") << "lesson" << QList<int>{0};
        QTest::newRow("New") << "new" << QList<int>{0};
        QTest::newRow("another list") << "list" << QList<int>{0};
        QTest::newRow("import") << "import" << QList<int>{0};
    }

    void termListWorkSurvivesLeaving()
    {
        QFETCH(QString, step);
        QFETCH(QList<int>, answers);
        ZoWordList::listDirectory().removeRecursively();
        QVERIFY(TermListSteps::writeList(QStringLiteral("Tiere"), {"Hund", "Katze", "Maus"}, kGerman));
        QVERIFY(TermListSteps::writeList(QStringLiteral("Farben"), {"rot"}, kGerman));
        auto form = newForm();
        CreateExerciseView* view = form->exerciseEditor();
        CreateTemplate* page = view->templatePage();
        QVERIFY(TermListSteps::choose(page, QStringLiteral("Tiere")));
        QTest::mouseClick(view->btnRecord, Qt::LeftButton);
        QTRY_VERIFY(view->btnPlay->isEnabled());
        QCOMPARE(view->saveSession(), 1);
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Katze"));
        const QString hundId = TermListSteps::idsInFile(QStringLiteral("Tiere")).value(0);
        QVERIFY(!hundId.isEmpty());

        AuthoringTree::audioObject()->setProperty("recordMs", 60000);
        QTest::mouseClick(view->btnRecord, Qt::LeftButton);
        QVERIFY(AuthoringTree::audio()->isRecording());
        mFixture.tree().answerBoxes(answers);
        if (step == QLatin1String("close")) {
            // The lesson editor holds a change: a lesson with one member removed.
            ZoLesson open;
            open.setTitle(QStringLiteral("Offen"));
            open.addExerciseId(hundId);
            form->lessonEditor()->openSession(&open);
            form->lessonEditor()->tblListClicked(0, CreateLessonView::ColTerm, Qt::LeftButton, QPoint(1, 1));
            QCOMPARE(form->lessonEditor()->isModified(), 1);
            QCloseEvent event;
            form->closeEvent(&event);
            QVERIFY(!event.isAccepted());
        } else if (step == QLatin1String("lesson")) {
            TermListSteps::acceptLessonDialogWhenShown(QStringLiteral("Aus Tiere"));
            page->saveAsLesson();
        } else if (step == QLatin1String("new")) {
            QTest::mouseClick(form->btnNew, Qt::LeftButton);
        } else if (step == QLatin1String("import")) {
            QVERIFY(QDir().mkpath(QStringLiteral("Import")));
            QFile text(QDir(QStringLiteral("Import")).absoluteFilePath(QStringLiteral("vogel.txt")));
            QVERIFY(text.open(QIODevice::WriteOnly) && text.write("Amsel\r\nMeise\r\n") > 0);
            text.close();
            ImportSteps::answerNextImport({{"Study Term", kGerman}}, QStringLiteral("Vogel"));
            page->importFile(text.fileName());
            QVERIFY(page->list());
            QCOMPARE(page->list()->title(), QStringLiteral("Vogel"));
        } else {
            QVERIFY(TermListSteps::choose(page, QStringLiteral("Farben")));
        }
        QVERIFY(!AuthoringTree::audio()->isRecording());
        QVERIFY(!view->btnStop->isEnabled());
        QVERIFY(!mFixture.tree().boxes().isEmpty());
        QVERIFY(mFixture.tree().boxes().first().contains(kQuestion));

        QString katzeId;
        if (step == QLatin1String("lesson")) {
            const auto lessons = AuthoringTree::store()->search(QStringLiteral("Lesson"), {{"Title", "Aus Tiere"}});
            QCOMPARE(lessons.size(), 1);
            QCOMPARE(lessons.first().value(QStringLiteral("EId1")), hundId);
            katzeId = lessons.first().value(QStringLiteral("EId2"));
            QCOMPARE(TermListSteps::idsInFile(QStringLiteral("Tiere")), QStringList{QString()});
        } else {
            const QStringList ids = TermListSteps::idsInFile(QStringLiteral("Tiere"));
            QCOMPARE(ids.size(), 3);
            QCOMPARE(ids.at(0), hundId);
            katzeId = ids.at(1);
            if (step != QLatin1String("close"))
                QCOMPARE(ids.at(2), QString());
        }
        std::unique_ptr<ZoExercise> saved = loadExercise(katzeId);
        QVERIFY(saved);
        QCOMPARE(saved->term(), QStringLiteral("Katze"));
        QVERIFY(QFileInfo(mFixture.contentPath(saved->mediaName())).size() > 44);
        if (step != QLatin1String("close"))
            return;
        // The refused close left the list working: the next term loads, records and is marked.
        QVERIFY(page->list());
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Maus"));
        AuthoringTree::audioObject()->setProperty("recordMs", 300);
        QTest::mouseClick(view->btnRecord, Qt::LeftButton);
        QTRY_VERIFY(view->btnPlay->isEnabled());
        QCOMPARE(view->saveSession(), 1);
        const QStringList ids = TermListSteps::idsInFile(QStringLiteral("Tiere"));
        QCOMPARE(ids.size(), 3);
        QVERIFY(!ids.at(2).isEmpty());
    }

    // The interface turns German while a term of a list read under English is open with a
    // translation in French: the next term asks nothing and every combo keeps its choice.
    void germanSwitchKeepsEveryChoice()
    {
        ZoWordList::listDirectory().removeRecursively();
        QVERIFY(TermListSteps::writeList(QStringLiteral("Tiere"), {"Hund", "Katze"}, kGerman));
        auto form = newForm();
        CreateExerciseView* view = form->exerciseEditor();
        QVERIFY(TermListSteps::choose(view->templatePage(), QStringLiteral("Tiere")));
        QTest::mouseClick(view->btnAddField, Qt::LeftButton);
        auto* field = static_cast<FieldTranslation*>(view->fieldWidgets().first());
        field->tEditFieldValue1->setPlainText(QStringLiteral("chien"));
        field->cmbLanguages1->setCurrentIndex(field->cmbLanguages1->findText(QStringLiteral("French")));
        QCOMPARE(field->cmbLanguages1->currentText(), QStringLiteral("French"));

        std::vector<std::unique_ptr<QTranslator>> german;
        const QDir dir(TestTree::distPath() + QStringLiteral("/Translations/Deutsch"));
        for (const QString& qm : dir.entryList({QStringLiteral("*.qm")}, QDir::Files)) {
            german.push_back(std::make_unique<QTranslator>());
            QVERIFY2(german.back()->load(dir.absoluteFilePath(qm)), qPrintable(qm));
            QCoreApplication::installTranslator(german.back().get());
        }
        // What the main window does at a change of the interface language.
        auto switchLanguage = [&form] {
            ZoDbHelper().releaseResources();
            QVERIFY(LanguageComboHelper::reloadCurrentUser());
            form->retranslateView();
            form->updateViewLists();
            form->refreshData();
        };
        switchLanguage();
        QCOMPARE(view->cmbLanguages->currentText(), QStringLiteral("Deutsch"));
        QCOMPARE(field->cmbLanguages1->currentText(), QStringLiteral("Französisch"));
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Hund"));

        QTest::mouseClick(view->btnRecord, Qt::LeftButton);
        QTRY_VERIFY(view->btnPlay->isEnabled());
        QCOMPARE(view->saveSession(), 1);
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Katze"));
        QCOMPARE(view->cmbLanguages->currentText(), QStringLiteral("Deutsch"));
        QCOMPARE(mFixture.tree().boxes(), QStringList());
        QCOMPARE(view->isModified(), 0);
        std::unique_ptr<ZoExercise> saved = loadExercise(TermListSteps::idsInFile(QStringLiteral("Tiere")).value(0));
        QVERIFY(saved);
        QCOMPARE(saved->term(), QStringLiteral("Hund"));
        QCOMPARE(ZoDbHelper().languageId(saved->language()), ZoDbHelper().languageId(kGerman));

        german.clear();
        switchLanguage();
        QCOMPARE(view->cmbLanguages->currentText(), kGerman);
    }

    // Cancelling "Add Language..." leaves an untouched new exercise unchanged.
    void cancelledAddLanguageChangesNothing()
    {
        auto view = newView();
        QCOMPARE(view->isModified(), 0);
        const int before = view->cmbLanguages->currentIndex();
        QSignalSpy chosen(view->findChild<LanguageComboHelper*>(), &LanguageComboHelper::languageChosen);
        activate(view->cmbLanguages, view->cmbLanguages->count() - 1);
        cancelNextWizard();
        QTRY_COMPARE(chosen.count(), 1);
        QCOMPARE(view->cmbLanguages->currentIndex(), before);
        QCOMPARE(view->isModified(), 0);
        QVERIFY(view->maybeSave());
        QCOMPARE(mFixture.tree().boxes(), QStringList());
    }

    void openChosenTakesTheObject()
    {
        const QString id = storeExercise(QStringLiteral("Baum"), kGerman);
        auto form = newForm();
        QPointer<ZoExercise> chosen = loadExercise(id).release();
        form->openChosen(chosen.data());
        QVERIFY(chosen.isNull());
        QCOMPARE(form->exerciseEditor()->tEditTerm->toPlainText(), QStringLiteral("Baum"));
        QCOMPARE(form->exerciseEditor()->currentId(), id);
    }

    void refreshDataResetsOnlyForAnotherUser()
    {
        const QString id = storeExercise(QStringLiteral("Baum"), kGerman);
        auto form = newForm();
        CreateExerciseView* view = form->exerciseEditor();
        auto stored = loadExercise(id);
        QVERIFY(view->openSession(stored.get()));
        view->newSession();
        activate(view->cmbLanguages, 2);
        view->tEditTerm->setPlainText(QStringLiteral("unsaved"));
        QTest::mouseClick(view->btnAddField, Qt::LeftButton);
        // A change of the interface language: same user.
        form->retranslateView();
        form->updateViewLists();
        form->refreshData();
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("unsaved"));
        QCOMPARE(view->cmbLanguages->currentText(), QStringLiteral("French"));
        QCOMPARE(view->fieldWidgets().size(), 1);
        QVERIFY(view->isModified());
        QCOMPARE(view->sessionPage()->ids(), QStringList{id});

        QVERIFY(SignedInUser::signIn(QStringLiteral("otto"), {QStringLiteral("Spanish")}));
        form->retranslateView();
        form->updateViewLists();
        form->refreshData();
        QCOMPARE(view->tEditTerm->toPlainText(), QString());
        QVERIFY(view->fieldWidgets().isEmpty());
        QVERIFY(!view->isModified());
        QVERIFY(view->sessionPage()->ids().isEmpty());
        QCOMPARE(ComboSteps::items(view->cmbLanguages), (QStringList{"Select Language", "Spanish", "Add Language..."}));
        QCOMPARE(mFixture.tree().boxes(), QStringList());
    }

    void helpTwiceLeavesOneWindow()
    {
        auto form = newForm();
        form->btnHelpClicked();
        form->btnHelpClicked();
        QCOMPARE(form->findChildren<HelpBrowser*>().size(), 1);
    }

    void textsOnScreen_data() { ScreenTexts::addLanguageAndFontRows(); }

    // Every page of the tab (exercise editor with its session list and term
    // list, lesson editor with its search table) shows its texts in full at
    // the smallest and largest font; in German after a switch none stays English.
    void textsOnScreen()
    {
        QFETCH(bool, german);
        QFETCH(int, pointSize);
        ZoWordList::listDirectory().removeRecursively();
        QVERIFY(TermListSteps::writeList(QStringLiteral("Tiere"), {"Hund", "Katze"}, kGerman));
        const QString stored = storeExercise(QStringLiteral("Maus"), kGerman);
        QVERIFY(!stored.isEmpty());
        ScreenTexts::PointSize size(pointSize);
        mFixture.host()->changeFont(pointSize);
        auto form = newForm();
        CreateExerciseView* view = form->exerciseEditor();
        QVERIFY(TermListSteps::choose(view->templatePage(), QStringLiteral("Tiere")));
        QTest::mouseClick(view->btnAddField, Qt::LeftButton);
        ZoLesson lesson;
        lesson.setTitle(QStringLiteral("Garten"));
        lesson.addExerciseId(stored);
        form->lessonEditor()->openSession(&lesson);
        form->lessonEditor()->findAll();

        // Each page in turn, as the learner opens it.
        auto everyPage = [&](const std::function<void(const QString&)>& look) {
            form->lstViewChoices->setCurrentRow(0);
            for (int tab = 0; tab < view->tabCreateView->count(); ++tab) {
                view->tabCreateView->setCurrentIndex(tab);
                QCoreApplication::processEvents();
                look(QStringLiteral("exercise page %1").arg(tab));
            }
            form->lstViewChoices->setCurrentRow(1);
            QCoreApplication::processEvents();
            look(QStringLiteral("lesson page"));
            form->lstViewChoices->setCurrentRow(0);
        };
        QList<ScreenTexts::Shown> english;
        everyPage([&](const QString&) { english << ScreenTexts::shown(form.get(), true); });

        std::unique_ptr<ScreenTexts::German> de;
        if (german) {
            de = std::make_unique<ScreenTexts::German>([] {
                ZoDbHelper().releaseResources();
                LanguageComboHelper::reloadCurrentUser();
            });
            form->retranslateView();
            form->updateViewLists();
            form->refreshData();
            QList<ScreenTexts::Shown> shown;
            everyPage([&](const QString&) { shown << ScreenTexts::shown(form.get(), true); });
            const QStringList untranslated = ScreenTexts::untranslated(english, shown, ScreenTexts::sameWords(),
                                                                       {"Hund", "Katze", "Maus", "Tiere", "Garten",
                                                                        AuthoringTree::userName()});
            QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral("; "))));
        }
        everyPage([&](const QString& page) {
            QTRY_VERIFY2(ScreenTexts::cut(form.get()).isEmpty(),
                         qPrintable(page + QStringLiteral(": ") + ScreenTexts::cut(form.get()).join("; ")));
        });
    }
};

QTEST_MAIN(TestComposer)
#include "tst_composer.moc"
