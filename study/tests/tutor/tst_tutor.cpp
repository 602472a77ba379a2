#include "StudyFixture.h"

#include "MessageBoxHelper.h"
#include "ProgressWatch.h"
#include "QueryTableFixture.h"
#include "WorkProgress.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDomDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const char* const kRecording = "Content/StudentTemp.tmp";
const char* const kAuthoringRecording = "Content/AudioTemp.tmp";

QString missingModelText()
{
    return QStringLiteral("Exercise doesn't exist.  Removing it from list.");
}

} // namespace

class TutorTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<StudyFixture> mFx;
    std::unique_ptr<TestHost> mHost;
    IForm* mForm = nullptr;

    QWidget* form() const { return mForm->widget(); }
    template <class T>
    T* child(const char* name) const
    {
        return form()->findChild<T*>(QLatin1String(name));
    }
    QAbstractButton* button(const char* name) const { return child<QAbstractButton>(name); }
    QTableView* table() const { return child<QTableView>("tbl"); }
    QString term() const { return child<QTextEdit>("teStudyTerm")->toPlainText(); }
    QString fieldText() const { return child<QTextEdit>("teFieldData")->toPlainText(); }
    QTimer* timer(const char* name) const { return child<QTimer>(name); }
    bool anyPollActive() const
    {
        return timer("modelPlayPoll")->isActive() || timer("studentPlayPoll")->isActive()
               || timer("comparePoll")->isActive() || timer("recordPoll")->isActive();
    }
    IAudio* audio() const { return qobject_cast<IAudio*>(mFx->audio()); }

    void openForm()
    {
        mForm = mFx->openForm(mHost.get());
        QVERIFY(mForm);
    }

    void click(const char* name)
    {
        QAbstractButton* b = button(name);
        QVERIFY2(b && b->isEnabled() && b->isVisible(), name);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    void invoke(const char* slot) { QVERIFY(QMetaObject::invokeMethod(form(), slot)); }

    QPoint rowCentre(int row) const { return table()->visualRect(table()->model()->index(row, 1)).center(); }

    // Right-clicks the row and chooses the item of the context menu that opens.
    void chooseFromMenu(int row, const QString& item)
    {
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, rowCentre(row));
        bool chosen = false;
        QTimer::singleShot(0, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* action : menu->actions()) {
                if (action->text() == item) {
                    menu->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                    chosen = true;
                    return;
                }
            }
            menu->close();
        });
        QTest::mouseClick(table()->viewport(), Qt::RightButton, {}, rowCentre(row));
        QVERIFY2(chosen, qPrintable(item));
    }

    // Runs the next modal dialog through fill, which accepts or rejects it.
    void answerNextDialog(std::function<void(QDialog*)> fill, bool* seen)
    {
        QTimer::singleShot(0, this, [=] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            *seen = true;
            fill(dialog);
        });
    }

    void appendTerms(const QStringList& terms)
    {
        for (int i = 0; i < terms.size(); ++i)
            mFx->appendEntry({{"Id", QString::number(800000 + i)}, {"Term", terms.at(i)}});
    }

private slots:
    void initTestCase()
    {
        mFx = std::make_unique<StudyFixture>();
        QVERIFY(mFx->isValid());
        QVERIFY(mFx->signIn(QStringLiteral("learner")));
        mHost = std::make_unique<TestHost>();
    }

    void init()
    {
        mFx->study()->clearList();
        QFile::remove(mFx->path(QLatin1String(kRecording)));
        mFx->audio()->setProperty("playMs", 300);
        mFx->audio()->setProperty("recordMs", 500);
        mFx->audio()->setProperty("failRecord", false);
        mFx->clearAudioCalls();
        mFx->tree().answerBoxes({});
    }

    void cleanup()
    {
        if (mForm)
            delete form();
        mForm = nullptr;
        if (audio())
            audio()->stop();
    }

    void cleanupTestCase()
    {
        mHost.reset();
        mFx.reset();
    }

    // ---- list and navigation ----

    void emptyListSaysSo()
    {
        openForm();
        QCOMPARE(table()->model()->rowCount(), 0);
        QCOMPARE(term(), QStringLiteral("Studylist currently empty."));
        QVERIFY(!button("btnNext")->isEnabled());
        QVERIFY(!button("btnPrevious")->isEnabled());
        QVERIFY(!button("btnCreateLesson")->isEnabled());
        QVERIFY(!button("btnModelPlay")->isEnabled());
    }

    void navigationStopsAtBothEnds()
    {
        appendTerms({"un", "deux", "trois"});
        openForm();
        QCOMPARE(table()->model()->rowCount(), 3);
        QCOMPARE(table()->currentIndex().row(), 0);
        QCOMPARE(term(), QStringLiteral("un"));
        QVERIFY(!button("btnPrevious")->isEnabled());
        QVERIFY(button("btnNext")->isEnabled());
        QVERIFY(button("btnCreateLesson")->isEnabled());

        click("btnNext");
        click("btnNext");
        QCOMPARE(table()->currentIndex().row(), 2);
        QCOMPARE(term(), QStringLiteral("trois"));
        QVERIFY(!button("btnNext")->isEnabled());
        QVERIFY(button("btnPrevious")->isEnabled());
        invoke("nextExercise");
        QCOMPARE(table()->currentIndex().row(), 2);

        click("btnPrevious");
        click("btnPrevious");
        QCOMPARE(table()->currentIndex().row(), 0);
        QVERIFY(!button("btnPrevious")->isEnabled());
        invoke("previousExercise");
        QCOMPARE(table()->currentIndex().row(), 0);
        QCOMPARE(term(), QStringLiteral("un"));
    }

    void enteringShowsEntriesAddedMeanwhile()
    {
        appendTerms({"un"});
        openForm();
        appendTerms({"deux", "trois"});
        QCOMPARE(mForm->customRefresh(), 1);
        QCOMPARE(table()->model()->rowCount(), 3);
        QCOMPARE(table()->model()->index(2, 1).data().toString(), QStringLiteral("trois"));
        QCOMPARE(table()->currentIndex().row(), 0);
        QCOMPARE(term(), QStringLiteral("un"));
    }

    void destructorEmptiesStudyList()
    {
        appendTerms({"un", "deux"});
        openForm();
        delete form();
        mForm = nullptr;
        QCOMPARE(mFx->study()->count(), 0);
    }

    void refreshDataKeepsPlaceForSameLearner()
    {
        appendTerms({"un", "deux", "trois"});
        openForm();
        click("btnNext");
        click("rbTextOff");
        mForm->retranslateView();
        mForm->refreshData();
        QCOMPARE(mFx->study()->count(), 3);
        QCOMPARE(table()->currentIndex().row(), 1);
        QCOMPARE(term(), QStringLiteral("XXXX"));
        QVERIFY(child<QRadioButton>("rbTextOff")->isChecked());
        QVERIFY(table()->isHidden());
    }

    void refreshDataLeavesAnEntryThatMovedAway()
    {
        appendTerms({"un", "deux", "trois"});
        openForm();
        click("btnNext");
        QCOMPARE(term(), QStringLiteral("deux"));
        // Taken off the list behind the tab: "trois" now stands at its row.
        mFx->study()->removeAt(1);
        mForm->refreshData();
        QCOMPARE(table()->model()->rowCount(), 2);
        QCOMPARE(table()->currentIndex().row(), 0);
        QCOMPARE(term(), QStringLiteral("un"));
    }

    void removeAfterADownloadTakesTheChosenEntry()
    {
        mFx->appendEntry({{"Id", "800001"}, {"Term", "un"}});
        mFx->appendEntry({{"Id", "800002"}, {"Term", "deux"}});
        openForm();
        // A download finishing while the tab is shown.
        mFx->appendEntry({{"Id", "800003"}, {"Term", "trois"}});
        chooseFromMenu(0, QStringLiteral("Remove From Studylist"));
        QCOMPARE(mFx->study()->ids(), QStringList({"800002", "800003"}));
        QCOMPARE(table()->model()->rowCount(), 2);
        QCOMPARE(table()->model()->index(0, 1).data().toString(), QStringLiteral("deux"));
        QCOMPARE(table()->model()->index(1, 1).data().toString(), QStringLiteral("trois"));
        QCOMPARE(term(), QStringLiteral("deux"));
    }

    void refreshDataResetsForAnotherLearner()
    {
        appendTerms({"un", "deux"});
        QVERIFY(mFx->writeFile(QLatin1String(kRecording), "take of learner"));
        openForm();
        QVERIFY(button("btnStudentPlay")->isEnabled());
        click("btnNext");
        click("rbTextOff");
        QVERIFY(mFx->signIn(QStringLiteral("other")));
        mForm->refreshData();
        QVERIFY(mFx->signIn(QStringLiteral("learner")));
        QCOMPARE(table()->currentIndex().row(), 0);
        QVERIFY(child<QRadioButton>("rbTextOn")->isChecked());
        QCOMPARE(term(), QStringLiteral("un"));
        QVERIFY(table()->isVisible());
        // The other learner does not hear this one's take.
        QVERIFY(!QFile::exists(mFx->path(QLatin1String(kRecording))));
        QVERIFY(!button("btnStudentPlay")->isEnabled());
    }

    void fontChangeReachesTheTexts()
    {
        appendTerms({"un", "deux"});
        mFx->appendEntry({{"Id", "800009"}, {"Term", "trois"}, {"FromLesson", "Lesson"}});
        openForm();
        mHost->changeFont(12);
        const auto* termEdit = child<QTextEdit>("teStudyTerm");
        QCOMPARE(termEdit->font().pointSize(), 22);
        QVERIFY(termEdit->font().bold());
        QCOMPARE(child<QTextEdit>("teFieldData")->font().pointSize(), 16);
        QVERIFY(child<QLabel>("lblMetadata1")->font().bold());
        QCOMPARE(child<QLabel>("lblMetadata2")->font().pointSize(), 12);
        // Every row takes the header's height.
        const int height = table()->rowHeight(0);
        QCOMPARE(table()->rowHeight(2), height);
        mHost->changeFont(8);
        QCOMPARE(termEdit->font().pointSize(), 18);
        QVERIFY(table()->rowHeight(2) <= height);
    }

    // ---- display ----

    void maskedTerm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("masked");
        QTest::newRow("three words") << "a bcd efg"
                                     << "X XXX XXX";
        QTest::newRow("tab is masked") << "ab\tcd"
                                       << "XXXXX";
        QTest::newRow("leading and trailing blanks") << "  ab "
                                                     << "  XX ";
        QTest::newRow("double blank") << "a  b"
                                      << "X  X";
        QTest::newRow("accents") << QStringLiteral("été") << "XXX";
        QTest::newRow("outside the basic plane") << QStringLiteral("\U0001F600 \U00020000b") << "X XX";
        QTest::newRow("markup") << "<b>x</b>"
                                << "XXXXXXXX";
    }

    void maskedTerm()
    {
        QFETCH(QString, text);
        QFETCH(QString, masked);
        appendTerms({text, "suivant"});
        openForm();
        QCOMPARE(term(), text);
        click("rbTextOff");
        QCOMPARE(term(), masked);
        QVERIFY(table()->isHidden());
        QVERIFY(child<QTextEdit>("teFieldData")->isHidden());
        QVERIFY(button("btnShowText")->isEnabled());

        click("btnShowText");
        QCOMPARE(term(), text);
        QVERIFY(!button("btnShowText")->isEnabled());

        // The next entry is masked again and can be shown again.
        click("btnNext");
        QCOMPARE(term(), QStringLiteral("XXXXXXX"));
        QVERIFY(button("btnShowText")->isEnabled());

        click("rbTextOn");
        QCOMPARE(term(), QStringLiteral("suivant"));
        QVERIFY(table()->isVisible());
        QVERIFY(button("btnShowText")->isHidden());
    }

    void metadata_data()
    {
        QTest::addColumn<QString>("voice");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("locality");
        QTest::addColumn<QString>("lesson");
        QTest::addColumn<QString>("line");
        QTest::newRow("language and voice") << "Ana"
                                            << ""
                                            << ""
                                            << ""
                                            << "L, Ana";
        QTest::newRow("locality without country") << "Ana"
                                                  << ""
                                                  << "Lyon"
                                                  << ""
                                                  << "L, Ana, Lyon";
        QTest::newRow("country and locality") << "Ana"
                                              << "France"
                                              << "Lyon"
                                              << ""
                                              << "L, Ana, France, Lyon";
        QTest::newRow("country only") << "Ana"
                                      << "France"
                                      << ""
                                      << ""
                                      << "L, Ana, France";
        QTest::newRow("from a lesson") << "Ana"
                                       << ""
                                       << ""
                                       << "Greetings"
                                       << "L, Ana";
        QTest::newRow("markup stays text") << "<b>Ana</b>"
                                           << ""
                                           << "<i>x</i>"
                                           << "<u>Les</u>"
                                           << "L, <b>Ana</b>, <i>x</i>";
    }

    void metadata()
    {
        QFETCH(QString, voice);
        QFETCH(QString, country);
        QFETCH(QString, locality);
        QFETCH(QString, lesson);
        QFETCH(QString, line);
        mFx->appendEntry(
            {{"Language", "L"}, {"Voice", voice}, {"Country", country}, {"Locality", locality}, {"FromLesson", lesson}});
        openForm();
        auto* details = child<QLabel>("lblMetadata1");
        auto* fromLesson = child<QLabel>("lblMetadata2");
        QCOMPARE(details->text(), line);
        QCOMPARE(details->textFormat(), Qt::PlainText);
        QCOMPARE(fromLesson->textFormat(), Qt::PlainText);
        QCOMPARE(fromLesson->isVisible(), !lesson.isEmpty());
        if (!lesson.isEmpty())
            QCOMPARE(fromLesson->text(), QStringLiteral("From Lesson: ") + lesson);
    }

    void fieldsShowMarkupLiterally()
    {
        const QString id = mFx->addExercise(QStringLiteral("<b>bonjour</b>"),
                                            {{"<i>hello</i>", ""}, {"hi & bye", "<u>greeting</u>"}},
                                            QStringLiteral("<p>a note</p>"));
        QVERIFY(!id.isEmpty());
        mFx->appendStored(id);
        openForm();
        QCOMPARE(term(), QStringLiteral("<b>bonjour</b>"));
        const QString other = mFx->otherLanguage();
        const QString text = fieldText();
        QCOMPARE(text.count(QStringLiteral("Translation(s)")), 1);
        // Other kinds come first, under their own name.
        QVERIFY2(text.startsWith(
                     QStringLiteral("Notes\n\n<p>a note</p> (%1)\n\nTranslation(s)\n\n").arg(mFx->language())),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("<i>hello</i> (%1)").arg(other)), qPrintable(text));
        // The line with a context names it on a line of its own.
        QVERIFY2(text.contains(QStringLiteral("Translation: hi & bye (%1)\nContext: <u>greeting</u> (%1)").arg(other)),
                 qPrintable(text));
    }

    void entryWithoutStoredExerciseShowsNoFields()
    {
        appendTerms({"orphan"});
        openForm();
        QCOMPARE(term(), QStringLiteral("orphan"));
        QVERIFY(fieldText().isEmpty());
        QVERIFY(!button("btnModelPlay")->isEnabled());
    }

    // ---- the drill ----

    void learnerButtonsFollowRecording_data()
    {
        QTest::addColumn<bool>("recorded");
        QTest::newRow("no recording") << false;
        QTest::newRow("recording") << true;
    }

    void learnerButtonsFollowRecording()
    {
        QFETCH(bool, recorded);
        // Only the authoring tab's recording: not the learner's.
        QVERIFY(mFx->writeFile(QLatin1String(kAuthoringRecording), "authoring take"));
        if (recorded)
            QVERIFY(mFx->writeFile(QLatin1String(kRecording), "learner take"));
        const QString id = mFx->addExercise(QStringLiteral("chat"));
        mFx->appendStored(id);
        openForm();
        QVERIFY(button("btnModelPlay")->isEnabled());
        QCOMPARE(button("btnStudentPlay")->isEnabled(), recorded);
        QCOMPARE(button("btnPlayCompare")->isEnabled(), recorded);
        QVERIFY(button("btnStudentRecord")->isEnabled());
        QVERIFY(!button("btnModelStop")->isEnabled());
        QVERIFY(!button("btnStudentStop")->isEnabled());
    }

    void modelPlayButtonStates()
    {
        const QString id = mFx->addExercise(QStringLiteral("chien"));
        mFx->appendStored(id);
        QVERIFY(mFx->writeFile(QLatin1String(kRecording), "learner take"));
        openForm();
        click("btnModelPlay");
        QVERIFY(audio()->isPlaying());
        QCOMPARE(mFx->audioCallCount(QStringLiteral("play Content/chien.wav")), 1);
        QVERIFY(button("btnModelStop")->isEnabled());
        for (const char* name :
             {"btnModelPlay", "btnStudentRecord", "btnStudentStop", "btnStudentPlay", "btnPlayCompare"})
            QVERIFY2(!button(name)->isEnabled(), name);

        QTRY_VERIFY(!timer("modelPlayPoll")->isActive());
        QVERIFY(!button("btnModelStop")->isEnabled());
        for (const char* name : {"btnModelPlay", "btnStudentRecord", "btnStudentPlay", "btnPlayCompare"})
            QVERIFY2(button(name)->isEnabled(), name);
        QCOMPARE(mFx->audioCallCount(QStringLiteral("play Content/chien.wav")), 1);
    }

    void doubleClickPlaysModel()
    {
        const QString id = mFx->addExercise(QStringLiteral("pomme"));
        mFx->appendStored(id);
        openForm();
        QTest::mouseDClick(table()->viewport(), Qt::LeftButton, {}, rowCentre(0));
        QCOMPARE(mFx->audioCallCount(QStringLiteral("play Content/pomme.wav")), 1);
        QVERIFY(button("btnModelStop")->isEnabled());
    }

    void loopRepeatsModelUntilStopped()
    {
        mFx->audio()->setProperty("playMs", 60);
        const QString id = mFx->addExercise(QStringLiteral("loup"));
        mFx->appendStored(id);
        openForm();
        click("btnLoopSound");
        click("btnModelPlay");
        QTRY_VERIFY(mFx->audioCallCount(QStringLiteral("play Content/loup.wav")) >= 3);
        QTRY_VERIFY(audio()->isPlaying() && button("btnModelStop")->isEnabled());
        click("btnModelStop");
        QVERIFY(!button("btnLoopSound")->isChecked());
        QVERIFY(!audio()->isPlaying());
        const int plays = mFx->audioCallCount(QStringLiteral("play Content/loup.wav"));
        QTRY_VERIFY(!anyPollActive());
        QCOMPARE(mFx->audioCallCount(QStringLiteral("play Content/loup.wav")), plays);
        QVERIFY(button("btnModelPlay")->isEnabled());
    }

    void recordStopAndPlayBack()
    {
        mFx->audio()->setProperty("recordMs", -1);
        const QByteArray pending("authoring take, not yet saved");
        QVERIFY(mFx->writeFile(QLatin1String(kAuthoringRecording), pending));
        const QString first = mFx->addExercise(QStringLiteral("maison"));
        const QString second = mFx->addExercise(QStringLiteral("jardin"));
        mFx->appendStored(first);
        mFx->appendStored(second);
        openForm();
        const int leastWidth = form()->minimumSizeHint().width();

        click("btnStudentRecord");
        QVERIFY(audio()->isRecording());
        QCOMPARE(mFx->audioCallCount(QStringLiteral("recordInto StudentTemp.tmp 1 16000 30")), 1);
        QVERIFY(child<QLabel>("lblRecording")->isVisible());
        // The shown "Recording..." takes room kept for it: the form asks no more.
        QCOMPARE(form()->minimumSizeHint().width(), leastWidth);
        QVERIFY(!table()->isEnabled());
        QVERIFY(!button("btnNext")->isEnabled());
        QVERIFY(button("btnStudentStop")->isEnabled());
        for (const char* name : {"btnModelPlay", "btnModelStop", "btnStudentPlay", "btnPlayCompare"})
            QVERIFY2(!button(name)->isEnabled(), name);
        invoke("nextExercise");
        QCOMPARE(table()->currentIndex().row(), 0);

        // Stop lets the take run on briefly, then ends it.
        click("btnStudentStop");
        QVERIFY(audio()->isRecording());
        QTRY_VERIFY(!audio()->isRecording());
        QTRY_VERIFY(!timer("recordPoll")->isActive());
        QVERIFY(child<QLabel>("lblRecording")->isHidden());
        QVERIFY(table()->isEnabled());
        QVERIFY(button("btnNext")->isEnabled());
        QVERIFY(button("btnStudentRecord")->isEnabled());
        QVERIFY(!button("btnStudentStop")->isEnabled());
        QVERIFY(button("btnStudentPlay")->isEnabled());
        QVERIFY(button("btnPlayCompare")->isEnabled());
        QVERIFY(button("btnModelPlay")->isEnabled());

        QVERIFY(QFileInfo(mFx->path(QLatin1String(kRecording))).size() > 0);
        QCOMPARE(mFx->readFile(QLatin1String(kAuthoringRecording)), pending);

        click("btnStudentPlay");
        QCOMPARE(mFx->audioCallCount(QStringLiteral("play Content/StudentTemp.tmp")), 1);
        QVERIFY(button("btnStudentStop")->isEnabled());
        for (const char* name : {"btnStudentPlay", "btnStudentRecord", "btnModelPlay", "btnPlayCompare"})
            QVERIFY2(!button(name)->isEnabled(), name);
        QTRY_VERIFY(!timer("studentPlayPoll")->isActive());
        QVERIFY(button("btnStudentPlay")->isEnabled());
        QVERIFY(!button("btnStudentStop")->isEnabled());
        QVERIFY(button("btnStudentRecord")->isEnabled());
        QCOMPARE(mFx->readFile(QLatin1String(kAuthoringRecording)), pending);
    }

    void failedRecordingOffersNoPlayback()
    {
        mFx->audio()->setProperty("failRecord", true);
        appendTerms({"rien"});
        openForm();
        click("btnStudentRecord");
        QTRY_VERIFY(!timer("recordPoll")->isActive());
        QVERIFY(table()->isEnabled());
        QVERIFY(child<QLabel>("lblRecording")->isHidden());
        QVERIFY(!button("btnStudentPlay")->isEnabled());
        QVERIFY(!button("btnPlayCompare")->isEnabled());
        QVERIFY(button("btnStudentRecord")->isEnabled());
    }

    void compareTheModelThenTheLearner()
    {
        mFx->audio()->setProperty("playMs", 80);
        const QString id = mFx->addExercise(QStringLiteral("lune"));
        mFx->appendStored(id);
        QVERIFY(mFx->writeFile(QLatin1String(kRecording), "learner take"));
        openForm();
        click("btnPlayCompare");
        QTRY_VERIFY(!timer("comparePoll")->isActive());
        QTRY_VERIFY(!anyPollActive());
        const QStringList plays = mFx->audioCalls().filter(QStringLiteral("play "));
        QCOMPARE(plays, QStringList(
                            {QStringLiteral("play Content/lune.wav"), QStringLiteral("play Content/StudentTemp.tmp")}));
        QVERIFY(button("btnPlayCompare")->isEnabled());
        QVERIFY(button("btnModelPlay")->isEnabled());
    }

    void compareLoopsUntilStopped()
    {
        mFx->audio()->setProperty("playMs", 60);
        const QString id = mFx->addExercise(QStringLiteral("soleil"));
        mFx->appendStored(id);
        QVERIFY(mFx->writeFile(QLatin1String(kRecording), "learner take"));
        openForm();
        click("btnLoopSound");
        click("btnPlayCompare");
        QTRY_VERIFY(mFx->audioCallCount(QStringLiteral("play Content/StudentTemp.tmp")) >= 2);
        const QStringList plays = mFx->audioCalls().filter(QStringLiteral("play "));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(plays.at(i), i % 2 ? QStringLiteral("play Content/StudentTemp.tmp")
                                        : QStringLiteral("play Content/soleil.wav"));
        QTRY_VERIFY(audio()->isPlaying()
                    && (button("btnModelStop")->isEnabled() || button("btnStudentStop")->isEnabled()));
        click(button("btnModelStop")->isEnabled() ? "btnModelStop" : "btnStudentStop");
        QVERIFY(!button("btnLoopSound")->isChecked());
        QVERIFY(!timer("comparePoll")->isActive());
        QTRY_VERIFY(!anyPollActive());
        QVERIFY(!audio()->isPlaying());
    }

    void missingModelWithLoopShowsOneMessage()
    {
        mFx->audio()->setProperty("playMs", 40);
        const QString gone = mFx->addExercise(QStringLiteral("perdu"));
        const QString kept = mFx->addExercise(QStringLiteral("garde"));
        mFx->appendStored(gone);
        mFx->appendStored(kept);
        mFx->appendStored(gone);
        openForm();
        const int mark = mFx->tree().boxes().size();
        click("btnLoopSound");
        click("btnModelPlay");
        QTRY_VERIFY(mFx->audioCallCount(QStringLiteral("play Content/perdu.wav")) >= 2);
        QVERIFY(QFile::remove(mFx->path(QStringLiteral("Content/perdu.wav"))));
        QTRY_VERIFY(!mFx->tree().boxesSince(mark).isEmpty());
        QTRY_VERIFY(!anyPollActive());
        QCOMPARE(mFx->tree().boxesSince(mark), QStringList{WizardTestTree::info(missingModelText())});
        QVERIFY(!button("btnLoopSound")->isChecked());
        // Every entry of that exercise left the list.
        QCOMPARE(mFx->study()->ids(), QStringList{kept});
        QCOMPARE(table()->model()->rowCount(), 1);
        QCOMPARE(table()->currentIndex().row(), 0);
        QCOMPARE(term(), QStringLiteral("garde"));
        QVERIFY(button("btnModelPlay")->isEnabled());
    }

    void leavingTheTabStopsTheLoop()
    {
        mFx->audio()->setProperty("playMs", -1);
        const QString id = mFx->addExercise(QStringLiteral("fleuve"));
        mFx->appendStored(id);
        openForm();
        click("btnLoopSound");
        click("btnModelPlay");
        QCOMPARE(mForm->customLeave(), 1);
        QVERIFY(!audio()->isPlaying());
        QVERIFY(!button("btnLoopSound")->isChecked());
        QTRY_VERIFY(!anyPollActive());
        QCOMPARE(mFx->audioCallCount(QStringLiteral("play Content/fleuve.wav")), 1);
    }

    // ---- list editing ----

    void removeFromStudylistTakesOneEntry()
    {
        const QString a = mFx->addExercise(QStringLiteral("arbre"));
        const QString b = mFx->addExercise(QStringLiteral("bois"));
        mFx->appendStored(a);
        mFx->appendStored(b);
        mFx->appendStored(a);
        openForm();
        chooseFromMenu(2, QStringLiteral("Remove From Studylist"));
        QCOMPARE(mFx->study()->ids(), QStringList({a, b}));
        QCOMPARE(table()->model()->rowCount(), 2);
        QCOMPARE(table()->currentIndex().row(), 1);
        QCOMPARE(term(), QStringLiteral("bois"));

        chooseFromMenu(0, QStringLiteral("Remove From Studylist"));
        QCOMPARE(mFx->study()->ids(), QStringList{b});
        QCOMPARE(table()->currentIndex().row(), 0);
        QCOMPARE(term(), QStringLiteral("bois"));

        chooseFromMenu(0, QStringLiteral("Remove From Studylist"));
        QCOMPARE(mFx->study()->count(), 0);
        QCOMPARE(term(), QStringLiteral("Studylist currently empty."));
        QVERIFY(!button("btnCreateLesson")->isEnabled());
        QVERIFY(!button("btnModelPlay")->isEnabled());
    }

    void saveAsLessonKeepsOrderAndRepeats()
    {
        const QString a = mFx->addExercise(QStringLiteral("alpha"));
        const QString b = mFx->addExercise(QStringLiteral("beta"));
        mFx->appendStored(a);
        mFx->appendStored(b);
        mFx->appendStored(a);
        // An entry whose exercise is not stored is left out.
        appendTerms({"absent"});
        openForm();
        const int lessonsBefore = mFx->lessons().size();
        const int mark = mFx->tree().boxes().size();
        const int counted = mHost->uploadCountUpdates;
        bool seen = false;
        answerNextDialog(
            [](QDialog* dialog) {
                dialog->findChild<QLineEdit*>(QStringLiteral("lEditTitle"))->setText(QStringLiteral("Drill"));
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
            },
            &seen);
        click("btnCreateLesson");
        QVERIFY(seen);
        QCOMPARE(mFx->tree().boxesSince(mark), QStringList{WizardTestTree::info(QStringLiteral("Lesson Saved."))});
        const auto lessons = mFx->lessons();
        QCOMPARE(lessons.size(), lessonsBefore + 1);
        QHash<QString, QString> saved;
        for (const auto& lesson : lessons) {
            if (lesson.value(QStringLiteral("Title")) == QLatin1String("Drill"))
                saved = lesson;
        }
        QCOMPARE(saved.value(QStringLiteral("EId1")), a);
        QCOMPARE(saved.value(QStringLiteral("EId2")), b);
        QCOMPARE(saved.value(QStringLiteral("EId3")), a);
        QVERIFY(!saved.contains(QStringLiteral("EId4")));
        QCOMPARE(saved.value(QStringLiteral("Language")), mFx->language());
        QCOMPARE(saved.value(QStringLiteral("Username")), QStringLiteral("learner"));
        QCOMPARE(mHost->uploadCountUpdates, counted + 1);
        // The list is unchanged.
        QCOMPARE(mFx->study()->count(), 4);
    }

    // A lesson the database cannot take is refused with the cause in words.
    void saveAsLessonOnReadOnlyDatabaseSaysWhy()
    {
        const QString a = mFx->addExercise(QStringLiteral("delta"));
        mFx->appendStored(a);
        openForm();
        const int lessonsBefore = mFx->lessons().size();
        const int mark = mFx->tree().boxes().size();
        QSqlQuery q(QSqlDatabase::database());
        QVERIFY(q.exec(QStringLiteral("pragma query_only = 1")));
        bool seen = false;
        answerNextDialog(
            [](QDialog* dialog) {
                dialog->findChild<QLineEdit*>(QStringLiteral("lEditTitle"))->setText(QStringLiteral("Locked"));
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
            },
            &seen);
        click("btnCreateLesson");
        QVERIFY(q.exec(QStringLiteral("pragma query_only = 0")));
        QVERIFY(seen);
        QCOMPARE(mFx->tree().boxesSince(mark),
                 QStringList{WizardTestTree::info(
                     QStringLiteral("The local database cannot be written: the file or its folder is read-only.  "
                                    "Lesson could not be saved.\n\n"
                                    "Please make sure that you may write to them, then start Vireda again."))});
        QCOMPARE(mFx->lessons().size(), lessonsBefore);
    }

    void cancelledLessonStoresNothing()
    {
        const QString a = mFx->addExercise(QStringLiteral("gamma"));
        mFx->appendStored(a);
        openForm();
        const int lessonsBefore = mFx->lessons().size();
        const int mark = mFx->tree().boxes().size();
        const int counted = mHost->uploadCountUpdates;
        bool seen = false;
        answerNextDialog([](QDialog* dialog) { dialog->reject(); }, &seen);
        click("btnCreateLesson");
        QVERIFY(seen);
        QCOMPARE(mFx->lessons().size(), lessonsBefore);
        QVERIFY(mFx->tree().boxesSince(mark).isEmpty());
        QCOMPARE(mHost->uploadCountUpdates, counted);
    }

    void saveAsLessonWithoutStoredExercisesSaysSo()
    {
        appendTerms({"absent", "missing"});
        openForm();
        const int lessonsBefore = mFx->lessons().size();
        const int mark = mFx->tree().boxes().size();
        // A lesson dialog opened by mistake is closed again.
        bool seen = false;
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [&seen] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = true;
                dialog->reject();
            }
        });
        guard.start(0);
        click("btnCreateLesson");
        QCOMPARE(mFx->tree().boxesSince(mark),
                 QStringList{WizardTestTree::info(QStringLiteral(
                     "No Exercise of the Studylist is stored in the Library.  Lesson could not be saved."))});
        QVERIFY(!seen);
        QCOMPARE(mFx->lessons().size(), lessonsBefore);
    }

    void deleteAsksThenRemovesEveryEntry()
    {
        const QString a = mFx->addExercise(QStringLiteral("delta"));
        const QString b = mFx->addExercise(QStringLiteral("epsilon"));
        mFx->appendStored(a);
        mFx->appendStored(b);
        mFx->appendStored(a);
        openForm();
        const int mark = mFx->tree().boxes().size();
        const int counted = mHost->uploadCountUpdates;
        mFx->tree().answerBoxes({0});
        chooseFromMenu(0, QStringLiteral("Delete From Library"));
        QCOMPARE(mHost->uploadCountUpdates, counted + 1);
        QCOMPARE(mFx->tree().boxesSince(mark),
                 QStringList{
                     WizardTestTree::box(MessageBoxHelper::Question,
                                         QStringLiteral("Do you want to permanently delete the Exercise 'delta'?"),
                                         {QStringLiteral("Yes"), QStringLiteral("Cancel")})});
        std::unique_ptr<ZoExercise> stored(mFx->store()->getExercise(QStringLiteral("Exercise"), a));
        QVERIFY(!stored);
        QCOMPARE(mFx->study()->ids(), QStringList{b});
        QCOMPARE(table()->model()->rowCount(), 1);
        QCOMPARE(term(), QStringLiteral("epsilon"));
    }

    void deleteCancelledKeepsExercise()
    {
        const QString a = mFx->addExercise(QStringLiteral("zeta"));
        mFx->appendStored(a);
        openForm();
        mFx->tree().answerBoxes({1});
        chooseFromMenu(0, QStringLiteral("Delete From Library"));
        std::unique_ptr<ZoExercise> stored(mFx->store()->getExercise(QStringLiteral("Exercise"), a));
        QVERIFY(stored);
        QCOMPARE(mFx->study()->ids(), QStringList{a});
    }

    void deleteOfLessonMemberKeepsEntry()
    {
        const QString a = mFx->addExercise(QStringLiteral("eta"));
        QVERIFY(!mFx->addLesson(QStringLiteral("Holds eta"), {a}).isEmpty());
        mFx->appendStored(a);
        openForm();
        const int mark = mFx->tree().boxes().size();
        mFx->tree().answerBoxes({0});
        chooseFromMenu(0, QStringLiteral("Delete From Library"));
        const QStringList boxes = mFx->tree().boxesSince(mark);
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes.at(1), WizardTestTree::info(QStringLiteral(
                                  "Exercise is found in one or more Lessons and could not be deleted.")));
        std::unique_ptr<ZoExercise> stored(mFx->store()->getExercise(QStringLiteral("Exercise"), a));
        QVERIFY(stored);
        QCOMPARE(mFx->study()->ids(), QStringList{a});
        QCOMPARE(table()->model()->rowCount(), 1);
    }

    void helpOpensTheStudyPageOnce()
    {
        openForm();
        click("btnHelp");
        click("btnHelp");
        const QList<QDialog*> windows = form()->findChildren<QDialog*>();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows.first()->isVisible());
        QCOMPARE(windows.first()->windowTitle(), WizardTestTree::title());
        auto* page = windows.first()->findChild<QTextBrowser*>();
        QVERIFY(page);
        QVERIFY(page->source().toString().endsWith(QLatin1String("studytab.html")));
        QVERIFY(page->toPlainText().contains(QLatin1String("The Study tab")));
    }

    // ---- texts ----

    void germanTextsComplete()
    {
        QFile file(QStringLiteral(VIREDA_SOURCE_DIR "/study/translations/study-Deutsch.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QDomDocument document;
        QVERIFY(document.setContent(&file));
        const QDomNodeList messages = document.elementsByTagName(QStringLiteral("message"));
        QVERIFY(messages.size() > 40);
        for (int i = 0; i < messages.size(); ++i) {
            const QDomElement message = messages.at(i).toElement();
            const QString source = message.firstChildElement(QStringLiteral("source")).text();
            const QDomElement translation = message.firstChildElement(QStringLiteral("translation"));
            QVERIFY2(!translation.text().isEmpty() && !translation.hasAttribute(QStringLiteral("type")),
                     qPrintable(source));
        }

        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral("study-Deutsch"), QStringLiteral("Translations/Deutsch")));
        QCoreApplication::installTranslator(&translator);
        openForm();
        const QString title = mForm->title();
        mForm->retranslateView();
        const QString next = button("btnNext")->text();
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(title, QStringLiteral("Lernen"));
        QCOMPARE(next, QStringLiteral("Weiter"));
    }

    // A list of more than two reading parts: the progress display shows, the window
    // answers while it does, and the lesson holds every stored entry in order.
    void saveAsLessonOfALongListShowsProgress()
    {
        const int many = 12345;
        QSqlQuery query(QSqlDatabase::database());
        QVERIFY(query.exec(QStringLiteral("SELECT COALESCE(MAX(lmid), 0) FROM m")) && query.next());
        const qint64 before = query.value(0).toLongLong();
        QVERIFY(QueryTableFixture::addManyExercises(mFx->tree().tree().filePath(QStringLiteral("vireda.db")), many));
        QStringList ids;
        QVERIFY(query.exec(
            QStringLiteral("SELECT mlmid FROM tm WHERE tmttmtid = 2 AND mlmid > %1 ORDER BY mlmid").arg(before)));
        while (query.next())
            ids << query.value(0).toString();
        QCOMPARE(ids.size(), many);
        for (int i = 0; i < many; ++i) {
            mFx->appendEntry({{"Id", ids.at(i)}, {"Term", QStringLiteral("t%1").arg(i)}});
            if (i == 7000)
                appendTerms({"absent"});
        }
        mFx->appendEntry({{"Id", ids.first()}, {"Term", QStringLiteral("t0")}});
        openForm();
        const int mark = mFx->tree().boxes().size();

        const int showAfter = WorkProgress::showAfterMs();
        WorkProgress::setShowAfterMs(0);
        ProgressWatch watch;
        // The lesson dialog, whatever progress display comes before it.
        bool seen = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            auto* title = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("lEditTitle")) : nullptr;
            if (!title)
                return;
            // Still open after OK: given up, the checks below fail.
            if (seen) {
                dialog->reject();
                return;
            }
            seen = true;
            title->setText(QStringLiteral("Lang"));
            // The stored exercises are in several languages: the lesson's is chosen.
            auto* languages = dialog->findChild<QComboBox*>(QStringLiteral("cmbLanguages"));
            languages->setCurrentIndex(languages->findText(mFx->language()));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
        });
        answer.start(1);
        click("btnCreateLesson");
        answer.stop();
        WorkProgress::setShowAfterMs(showAfter);
        QVERIFY(seen);
        QCOMPARE(watch.shown(), (QStringList{"Reading the Studylist...", "Saving Lesson..."}));
        QVERIFY(watch.answeredWhileShown() > 0);
        QCOMPARE(mFx->tree().boxesSince(mark), QStringList{WizardTestTree::info(QStringLiteral("Lesson Saved."))});

        QHash<QString, QString> saved;
        for (const auto& lesson : mFx->lessons()) {
            if (lesson.value(QStringLiteral("Title")) == QLatin1String("Lang"))
                saved = lesson;
        }
        QCOMPARE(saved.value(QStringLiteral("ExerciseCount")).toInt(), many + 1);
        for (int i = 0; i < many; ++i)
            QCOMPARE(saved.value(QStringLiteral("EId%1").arg(i + 1)), ids.at(i));
        QCOMPARE(saved.value(QStringLiteral("EId%1").arg(many + 1)), ids.first());
        QCOMPARE(mFx->study()->count(), many + 2);
    }
};

QTEST_MAIN(TutorTest)
#include "tst_tutor.moc"
