// "Save as Lesson" of a study list of 100,000 stored exercises in the study
// tab, then that lesson added back to the emptied study list with the
// library tab's Add: wall time of each, from the click to the list or the
// lesson complete (the lesson dialog answered at once, boxes logged), and the
// longest the window's loop went without a turn meanwhile. Goal: every entry
// in the lesson and back on the list, the window answering at least every
// second throughout (so that the progress can show and be cancelled).
// Usage: StudyLessonBench [entries]   (default 100000)

#include "IForm.h"
#include "QueryTableFixture.h"
#include "StudyFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTextStream>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace {

QTextStream out(stdout);
constexpr qint64 kLongestGapGoalMs = 1000;

// The longest time between two turns of the window's loop while it runs.
class LoopGaps
{
public:
    LoopGaps()
    {
        mTick.setInterval(1);
        QObject::connect(&mTick, &QTimer::timeout, [this] { mLongest = std::max(mLongest, mSince.restart()); });
    }
    void start()
    {
        mLongest = 0;
        mSince.start();
        mTick.start();
    }
    // Stops, counting the time since the last turn too.
    qint64 stop()
    {
        mTick.stop();
        return std::max(mLongest, mSince.elapsed());
    }

private:
    QTimer mTick;
    QElapsedTimer mSince;
    qint64 mLongest = 0;
};

// Answers the lesson dialog as soon as it is the modal window.
void acceptLessonDialog(const QString& title)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, title] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* field = top->isVisible() ? top->findChild<QLineEdit*>(QStringLiteral("lEditTitle")) : nullptr;
            auto* ok = field ? top->findChild<QPushButton*>(QStringLiteral("btnOk")) : nullptr;
            if (ok) {
                poll->stop();
                poll->deleteLater();
                field->setText(title);
                // The exercises are in several languages: the first is the lesson's.
                if (auto* languages = top->findChild<QComboBox*>(QStringLiteral("cmbLanguages")))
                    languages->setCurrentIndex(languages->count() > 1 ? 1 : 0);
                ok->click();
                return;
            }
        }
    });
    poll->start(1);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 && QByteArray(argv[1]).toInt() > 0 ? QByteArray(argv[1]).toInt() : 100000;

    StudyFixture fx;
    if (!fx.isValid() || !fx.signIn(QStringLiteral("learner"))) {
        out << "the fixture does not load\n";
        return 2;
    }
    if (!QueryTableFixture::addManyExercises(fx.tree().tree().filePath(QStringLiteral("vireda.db")), entries)) {
        out << "cannot store the exercises\n";
        return 2;
    }
    QString idList;
    {
        QSqlQuery ids(QSqlDatabase::database());
        ids.setForwardOnly(true);
        ids.exec(QStringLiteral("SELECT mlmid FROM tm WHERE tmttmtid = 2 ORDER BY mlmid"));
        while (ids.next())
            idList += ids.value(0).toString() + QLatin1Char(',');
    }
    for (const auto& row : fx.store()->search(QStringLiteral("Exercise"), {{QStringLiteral("IdList"), idList}}))
        fx.study()->appendExercise(row);
    out << "study list: " << fx.study()->count() << " entries\n";

    TestHost studyHost;
    QElapsedTimer timer;
    timer.start();
    IForm* tutor = fx.openForm(&studyHost);
    if (!tutor) {
        out << "the study tab does not load\n";
        return 2;
    }
    out << "study tab shown with the list: " << timer.elapsed() << " ms\n";

    const int lessonsBefore = fx.lessons().size();
    acceptLessonDialog(QStringLiteral("Bench"));
    auto* save = tutor->widget()->findChild<QAbstractButton*>(QStringLiteral("btnCreateLesson"));
    LoopGaps gaps;
    timer.restart();
    gaps.start();
    save->click();
    const qint64 saveMs = timer.elapsed();
    const qint64 saveGapMs = gaps.stop();
    QString members;
    for (const auto& lesson : fx.lessons()) {
        if (lesson.value(QStringLiteral("Title")) == QLatin1String("Bench"))
            members = lesson.value(QStringLiteral("ExerciseCount"));
    }
    out << "Save as Lesson: " << saveMs << " ms (" << members << " members, " << fx.lessons().size() - lessonsBefore
        << " lesson stored), the window's longest wait " << saveGapMs << " ms\n";
    out.flush();

    fx.study()->clearList();
    IForm* library = PluginLocator::load<IForm>(QStringLiteral("plugins_dll/Forms/Bookshelf.dll"));
    if (!library) {
        out << "the library tab does not load\n";
        return 2;
    }
    TestHost libraryHost;
    libraryHost.resize(1200, 800);
    library->setMainWindow(&libraryHost);
    libraryHost.setCentralWidget(library->widget());
    library->init();
    library->retranslateView();
    library->updateViewLists();
    library->refreshData();
    libraryHost.show();
    if (!QTest::qWaitForWindowExposed(&libraryHost)) {
        out << "the library tab is not shown\n";
        return 2;
    }
    QWidget* page = library->widget();
    auto* tree = page->findChild<QTreeWidget*>(QStringLiteral("trWidgetResults"));
    auto* lessons = page->findChild<QTableView*>(QStringLiteral("tblLesson"));
    tree->setCurrentItem(tree->topLevelItem(1));
    lessons->selectRow(0);
    timer.restart();
    gaps.start();
    QMetaObject::invokeMethod(page, "slotAdd");
    const qint64 addMs = timer.elapsed();
    const qint64 addGapMs = gaps.stop();
    const int back = fx.study()->count();
    out << "adding the lesson back (library, Add): " << addMs << " ms (" << back
        << " entries on the study list), the window's longest wait " << addGapMs << " ms\n";
    // Judged before the tabs go: the study tab empties the list when it is deleted.
    const bool counts = back == entries && members == QString::number(entries);
    const bool answering = saveGapMs < kLongestGapGoalMs && addGapMs < kLongestGapGoalMs;
    out << "goal: all " << entries << " entries in the lesson and back on the list: " << (counts ? "held" : "MISSED")
        << "; the window answering at least every " << kLongestGapGoalMs << " ms: " << (answering ? "held" : "MISSED")
        << "\n";
    out.flush();
    libraryHost.takeCentralWidget();
    delete PluginLocator::instance(QStringLiteral("plugins_dll/Forms/Bookshelf.dll"));
    delete PluginLocator::instance(StudyFixture::formFile());
    return counts && answering ? 0 : 1;
}
