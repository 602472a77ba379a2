// "Save as Lesson" of a study list of 100,000 stored exercises in the study
// tab, then that lesson added back to the emptied study list with the
// library tab's Add: wall time of each, from the click to the list or the
// lesson complete (the lesson dialog answered at once, boxes logged).
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

namespace {

QTextStream out(stdout);

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
    timer.restart();
    save->click();
    const qint64 saveMs = timer.elapsed();
    QString members;
    for (const auto& lesson : fx.lessons()) {
        if (lesson.value(QStringLiteral("Title")) == QLatin1String("Bench"))
            members = lesson.value(QStringLiteral("ExerciseCount"));
    }
    out << "Save as Lesson: " << saveMs << " ms (" << members << " members, " << fx.lessons().size() - lessonsBefore
        << " lesson stored)\n";
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
    QMetaObject::invokeMethod(page, "slotAdd");
    const qint64 addMs = timer.elapsed();
    out << "adding the lesson back (library, Add): " << addMs << " ms (" << fx.study()->count()
        << " entries on the study list)\n";
    libraryHost.takeCentralWidget();
    delete PluginLocator::instance(QStringLiteral("plugins_dll/Forms/Bookshelf.dll"));
    delete PluginLocator::instance(StudyFixture::formFile());
    return fx.study()->count() == entries && members == QString::number(entries) ? 0 : 1;
}
