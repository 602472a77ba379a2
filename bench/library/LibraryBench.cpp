// Times the library tab's type-ahead over 100,000 stored exercises: from the
// find-ahead timer firing to the first screen painted and the tree counts
// set, with no write in between (median of 5 rounds per text). Goal: every
// text under 10 ms.

#include "FindAheadBench.h"
#include "IForm.h"
#include "TestHost.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace {
constexpr double kGoalMs = 10.0;
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QueryTableFixture fixture;
    if (FindAheadBench::prepare(fixture, out).isEmpty())
        return 2;
    QObject* root = PluginLocator::instance(QStringLiteral("plugins_dll/Forms/Bookshelf.dll"));
    IForm* form = qobject_cast<IForm*>(root);
    if (!form) {
        out << "the tab or its resources do not load\n";
        return 2;
    }

    TestHost host;
    host.resize(1200, 800);
    form->setMainWindow(&host);
    host.setCentralWidget(form->widget());
    form->init();
    form->retranslateView();
    form->updateViewLists();
    form->refreshData();
    host.show();
    if (!QTest::qWaitForWindowExposed(&host)) {
        out << "the window is not shown\n";
        return 2;
    }

    QWidget* page = form->widget();
    auto* search = page->findChild<QLineEdit*>(QStringLiteral("lEditSearchField"));
    auto* filter = page->findChild<QComboBox*>(QStringLiteral("cmbLanguages"));
    auto* exercises = page->findChild<QTableView*>(QStringLiteral("tblExercise"));
    auto* tree = page->findChild<QTreeWidget*>(QStringLiteral("trWidgetResults"));
    if (!search || !filter || !exercises || !tree) {
        out << "the tab's widgets are missing\n";
        return 2;
    }

    const bool ok = FindAheadBench::run(
        out, search,
        [&](bool filtered) {
            // The filter as the user picks it.
            const int index = filtered ? 1 : 0;
            if (filter->currentIndex() != index) {
                filter->setCurrentIndex(index);
                QMetaObject::invokeMethod(root, "addLanguage", Q_ARG(int, index));
            }
        },
        [&] {
            QMetaObject::invokeMethod(root, "findAhead");
            exercises->viewport()->repaint();
            tree->viewport()->repaint();
        },
        [&] { return tree->topLevelItem(0)->text(0) + QLatin1String(", ") + tree->topLevelItem(1)->text(0); }, kGoalMs);
    host.takeCentralWidget();
    delete root;
    return ok ? 0 : 1;
}
