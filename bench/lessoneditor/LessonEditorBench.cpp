// Times the lesson editor's find-ahead over 100,000 stored exercises: from the
// find-ahead timer firing to the first screen of the result table painted,
// with no write in between (median of 5 rounds per text).

#include "CreateLessonView.h"
#include "FindAheadBench.h"
#include "TestHost.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QueryTableFixture fixture;
    const QString german = FindAheadBench::prepare(fixture, out);
    if (german.isEmpty())
        return 2;

    TestHost host;
    host.resize(1200, 800);
    auto* view = new CreateLessonView(nullptr);
    view->setMainWindow(&host);
    host.setCentralWidget(view);
    view->retranslateView();
    view->updateViewLists();
    view->refreshData();
    host.show();
    if (!QTest::qWaitForWindowExposed(&host)) {
        out << "the window is not shown\n";
        return 2;
    }
    // The first search reads the store's rows into memory once; not timed.
    view->customRefresh();

    const bool ok = FindAheadBench::run(
        out, view->lEditSearchField,
        [&](bool filtered) {
            const int index = view->cmbLanguagesSearch->findText(filtered ? german : QStringLiteral("All Languages"));
            if (view->cmbLanguagesSearch->currentIndex() != index)
                view->cmbLanguagesSearch->setCurrentIndex(index);
        },
        [&] {
            QMetaObject::invokeMethod(view, "findAhead");
            view->tblSearch->viewport()->repaint();
        },
        [&] {
            const int found = view->tblSearch->model() ? view->tblSearch->model()->rowCount() : 0;
            return QStringLiteral("%1 found").arg(found);
        });
    host.takeCentralWidget();
    delete view;
    return ok ? 0 : 1;
}
