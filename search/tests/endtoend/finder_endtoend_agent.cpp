// One side of tst_finder_endtoend, started inside a temporary ready-to-run
// tree with the real network manager, bridge, Java client and a shared peer
// service. "uploader" makes 22 exercises and a lesson and uploads them with
// the upload dialog; "searcher" finds them through the search tab, page by
// page, downloads the lesson and one exercise more, and practises them in the
// study tab with the scripted sound plug-in.

#include "AgentSession.h"
#include "IDbManager.h"
#include "IForm.h"
#include "IStudyResource.h"
#include "PluginLocator.h"
#include "TestHost.h"
#include "UploadForm.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

namespace {

const int kExercises = 22;
const QString kLessonTitle = QStringLiteral("Maisons du village");

QString term(int i)
{
    return QStringLiteral("maison %1").arg(i, 2, 10, QLatin1Char('0'));
}

QStringList boxes()
{
    QFile file(qEnvironmentVariable("VIREDA_MSGBOX_LOG"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// A main window with the search and the study tab: a change of tab asks the
// tab shown to leave and the next to refresh, and shows the next.
class TwoTabHost : public TestHost
{
public:
    enum { StudyTab = 1, SearchTab = 3 };

    void refreshTabForms(int index) override
    {
        TestHost::refreshTabForms(index);
        IForm* current = tabs.value(shown);
        IForm* next = tabs.value(index);
        if (index == shown || !current || !next || current->customLeave() == 0 || next->customRefresh() == 0)
            return;
        current->widget()->hide();
        next->widget()->show();
        shown = index;
    }

    QHash<int, IForm*> tabs;
    int shown = SearchTab;
};

} // namespace

class FinderAgent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void uploader();
    void searcher();

private:
    template <class T>
    T* child(const char* name) const
    {
        T* found = mForm->widget()->findChild<T*>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    bool pageButtonShown(const char* name) const { return !child<QWidget>(name)->isHidden(); }
    QStringList column(int col) const;
    void downloadRow(int row);
    // Drills every entry of the study tab: the model, and for the last a
    // take of the learner, its playback and the comparison.
    void practise(IForm* studyTab, IStudyResource* study);

    AgentSession mSession;
    IForm* mForm = nullptr;
    IForm* mStudyTab = nullptr;
};

void FinderAgent::initTestCase()
{
    mSession.open();
    if (QTest::currentTestFailed())
        return;
    mSession.registerAndSignIn(qEnvironmentVariable("FINDER_USER"), QStringLiteral("finder.pass1"));
}

void FinderAgent::cleanupTestCase()
{
    if (mForm)
        delete mForm->widget();
    if (mStudyTab)
        delete mStudyTab->widget();
    mSession.close();
}

void FinderAgent::uploader()
{
    QStringList ids;
    for (int i = 1; i <= kExercises; ++i) {
        ids << mSession.addRecordedExercise(term(i), term(i).replace(QLatin1Char(' '), QLatin1Char('-')) + ".ogg", i);
        QVERIFY(!ids.last().isEmpty());
    }
    QVERIFY(!mSession.addLesson(kLessonTitle, QStringLiteral("Rooms and gardens"), ids.mid(0, 3)).isEmpty());

    TestHost host;
    UploadForm form(&host);
    QCOMPARE(form.pendingCount(), kExercises + 1);
    form.upload();
    QCOMPARE(host.offlineMoves, 0);
    QCOMPARE(boxes().size(), 1);
    QVERIFY2(boxes().last().endsWith(QStringLiteral("\tUpload complete.\tOK")), qPrintable(boxes().last()));
}

QStringList FinderAgent::column(int col) const
{
    auto* table = child<QTableWidget>("tbl");
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << table->item(row, col)->text();
    return texts;
}

void FinderAgent::searcher()
{
    TwoTabHost host;
    // Both tabs are made at sign-in, as the main window makes them.
    mStudyTab = PluginLocator::load<IForm>(QStringLiteral("plugins_dll/Forms/Tutor.dll"));
    mForm = PluginLocator::load<IForm>(QStringLiteral("plugins_dll/Forms/Finder.dll"));
    QVERIFY(mForm && mStudyTab);
    for (IForm* tab : {mStudyTab, mForm}) {
        tab->setMainWindow(&host);
        tab->init();
        tab->retranslateView();
        tab->updateViewLists();
        tab->refreshData();
        tab->widget()->resize(900, 600);
    }
    host.tabs = {{TwoTabHost::StudyTab, mStudyTab}, {TwoTabHost::SearchTab, mForm}};
    mForm->widget()->show();
    QCOMPARE(mForm->customRefresh(), 1);

    auto* languages = child<QComboBox>("cmbLanguagesNative");
    languages->setCurrentIndex(languages->findText(mSession.languageName(QStringLiteral("fra"))));
    QVERIFY(languages->currentIndex() > 0);
    child<QLineEdit>("lEditSearch")->setText(QStringLiteral("maison"));
    QTest::mouseClick(child<QPushButton>("btnSearch"), Qt::LeftButton);

    QCOMPARE(column(1).size(), 20);
    QVERIFY(pageButtonShown("label") && pageButtonShown("btnPage1") && pageButtonShown("btnPage2"));
    QVERIFY(!pageButtonShown("btnPage3") && !pageButtonShown("btnPage4"));
    const QStringList firstPage = column(1);
    const QStringList firstIds = column(0);
    QVERIFY(!firstIds.contains(QString()));

    QTest::mouseClick(child<QPushButton>("btnPage2"), Qt::LeftButton);
    const QStringList secondPage = column(1);
    QCOMPARE(secondPage.size(), kExercises - 20);
    QVERIFY(child<QPushButton>("btnPage2")->isFlat());

    QStringList all = firstPage + secondPage;
    all.sort();
    QStringList expected;
    for (int i = 1; i <= kExercises; ++i)
        expected << term(i);
    QCOMPARE(all, expected);

    // Back to the first page: the same rows again.
    QTest::mouseClick(child<QPushButton>("btnPage1"), Qt::LeftButton);
    QCOMPARE(column(0), firstIds);

    child<QRadioButton>("rbSearchLessons")->setChecked(true);
    child<QLineEdit>("lEditSearch")->setText(QStringLiteral("Maisons"));
    QTest::mouseClick(child<QPushButton>("btnSearch"), Qt::LeftButton);
    QCOMPARE(column(1), QStringList{kLessonTitle});
    QCOMPARE(column(2), QStringList{QStringLiteral("Rooms and gardens")});
    QCOMPARE(column(4), QStringList{QStringLiteral("3")});
    QCOMPARE(column(5), QStringList{qEnvironmentVariable("FINDER_UPLOADER")});

    // The lesson and one exercise more through the download queue.
    downloadRow(0);
    child<QRadioButton>("rbSearchExercises")->setChecked(true);
    child<QLineEdit>("lEditSearch")->setText(term(21));
    QTest::mouseClick(child<QPushButton>("btnSearch"), Qt::LeftButton);
    QCOMPARE(column(1), QStringList{term(21)});
    downloadRow(0);

    const QList<QWidget*> bars = mForm->widget()->findChildren<QWidget*>(QStringLiteral("ZoDownload"));
    QCOMPARE(bars.size(), 2);
    for (QWidget* bar : bars)
        QTRY_VERIFY_WITH_TIMEOUT(bar->findChild<QPushButton*>(QStringLiteral("btnDownloadComplete"))->isVisible(), 30000);
    QStringList stored;
    for (const QHash<QString, QString>& row : mSession.db()->search(QStringLiteral("Exercise"), {}))
        stored << row.value(QStringLiteral("Term"));
    stored.sort();
    QCOMPARE(stored, QStringList({term(1), term(2), term(3), term(21)}));
    const QList<QHash<QString, QString>> lessons = mSession.db()->search(QStringLiteral("Lesson"), {});
    QCOMPARE(lessons.size(), 1);
    QCOMPARE(lessons.first().value(QStringLiteral("Title")), kLessonTitle);
    QCOMPARE(lessons.first().value(QStringLiteral("ExerciseCount")), QStringLiteral("3"));
    auto* study = PluginLocator::load<IStudyResource>(QStringLiteral("plugins_dll/Resources/ZoStudyResource.dll"));
    QVERIFY(study);
    QStringList studied;
    for (int i = 0; i < study->count(); ++i)
        studied << study->termAt(i);
    QCOMPARE(studied, QStringList({term(1), term(2), term(3), term(21)}));
    QVERIFY(!study->ids().contains(QStringLiteral("0")));
    const QString sound = study->mediaPathAt(3) + QLatin1Char('/') + study->mediaNameAt(3);
    QVERIFY2(study->mediaNameAt(3).endsWith(QLatin1String(".ogg")) && QFile::exists(sound), qPrintable(sound));

    // "Practice Downloads" takes the learner to the study tab, which shows
    // the downloads and drills them.
    QVERIFY(child<QPushButton>("btnStudy")->isEnabled());
    QTest::mouseClick(child<QPushButton>("btnStudy"), Qt::LeftButton);
    QCOMPARE(host.tabRefreshes, QList<int>{TwoTabHost::StudyTab});
    QCOMPARE(host.shown, int(TwoTabHost::StudyTab));
    QVERIFY(mStudyTab->widget()->isVisible());
    practise(mStudyTab, study);

    QCOMPARE(boxes(), QStringList());
    QCOMPARE(host.offlineMoves, 0);
}

void FinderAgent::practise(IForm* studyTab, IStudyResource* study)
{
    QWidget* page = studyTab->widget();
    auto* table = page->findChild<QTableWidget*>(QStringLiteral("tbl"));
    auto* shownTerm = page->findChild<QTextEdit*>(QStringLiteral("teStudyTerm"));
    QObject* sound = PluginLocator::instance(QStringLiteral("plugins_dll/Managers/ZoAudio.dll"));
    QVERIFY(table && shownTerm);
    QVERIFY2(sound && sound->property("calls").isValid(), "the scripted sound plug-in is not installed");
    const auto button = [page](const char* name) {
        return page->findChild<QAbstractButton*>(QLatin1String(name));
    };
    const auto idle = [page] {
        for (const char* name : {"modelPlayPoll", "studentPlayPoll", "recordPoll", "comparePoll"}) {
            if (page->findChild<QTimer*>(QLatin1String(name))->isActive())
                return false;
        }
        return true;
    };
    const auto calls = [sound] { return sound->property("calls").toStringList(); };

    QStringList listed;
    for (int row = 0; row < table->rowCount(); ++row)
        listed << table->item(row, 1)->text();
    QCOMPARE(listed, QStringList({term(1), term(2), term(3), term(21)}));

    for (int row = 0; row < table->rowCount(); ++row) {
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(row, 1)).center());
        QCOMPARE(table->currentRow(), row);
        QCOMPARE(shownTerm->toPlainText(), listed.at(row));
        const QString model = QStringLiteral("play %1/%2").arg(study->mediaPathAt(row), study->mediaNameAt(row));
        QVERIFY2(button("btnModelPlay")->isEnabled(), qPrintable(model));
        QTest::mouseClick(button("btnModelPlay"), Qt::LeftButton);
        QCOMPARE(calls().count(model), 1);
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 10000);
        QVERIFY(button("btnModelPlay")->isEnabled());
    }

    // The learner records a take of the last, hears it and compares it.
    sound->setProperty("calls", QStringList());
    QTest::mouseClick(button("btnStudentRecord"), Qt::LeftButton);
    QCOMPARE(calls().count(QStringLiteral("recordInto StudentTemp.tmp 1 16000 30")), 1);
    QTRY_VERIFY_WITH_TIMEOUT(idle() && button("btnStudentPlay")->isEnabled(), 10000);
    QTest::mouseClick(button("btnStudentPlay"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 10000);
    QTest::mouseClick(button("btnPlayCompare"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(idle() && button("btnModelPlay")->isEnabled(), 10000);
    const QString model = QStringLiteral("play %1/%2").arg(study->mediaPathAt(3), study->mediaNameAt(3));
    const QString take = QStringLiteral("play Content/StudentTemp.tmp");
    QCOMPARE(calls().filter(QStringLiteral("play ")), QStringList({take, model, take}));
}

// Chooses a result row with the mouse and downloads it.
void FinderAgent::downloadRow(int row)
{
    auto* table = child<QTableWidget>("tbl");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(row, 1)).center());
    QCOMPARE(table->currentRow(), row);
    QVERIFY(child<QPushButton>("btnDownload")->isEnabled());
    QTest::mouseClick(child<QPushButton>("btnDownload"), Qt::LeftButton);
}

QTEST_MAIN(FinderAgent)
#include "finder_endtoend_agent.moc"
