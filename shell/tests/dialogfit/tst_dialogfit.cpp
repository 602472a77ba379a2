#include "DialogFixture.h"
#include "LoginForm.h"
#include "PluginDialog.h"
#include "RegistrationForm.h"
#include "ScrollBarStyle.h"
#include "SuggestionForm.h"
#include "TestHost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QStyleFactory>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace {

// Labels and buttons that show less than their text needs, or lie partly
// outside the dialog.
QStringList cutWidgets(QWidget* dialog)
{
    QStringList cut;
    const QRect inside = dialog->rect();
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dialog) || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w); label && label->text().isEmpty())
            continue;
        const QSize need = w->minimumSizeHint();
        const QRect at(w->mapTo(dialog, QPoint()), w->size());
        if (w->width() < need.width() || w->height() < need.height() || !inside.contains(at))
            cut << QStringLiteral("%1 %2x%3 needs %4x%5")
                           .arg(w->objectName())
                           .arg(w->width())
                           .arg(w->height())
                           .arg(need.width())
                           .arg(need.height());
    }
    return cut;
}

} // namespace

class TestDialogFit : public QObject
{
    Q_OBJECT

private:
    DialogFixture<> f;

private slots:
    void initTestCase() { QVERIFY(f.setUp()); }
    void init() { QVERIFY(f.reset()); }
    void cleanupTestCase() { f.tearDown(); }

    void wholeTexts_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("points");
        for (const char* dialog : {"LoginForm", "RegistrationForm", "SuggestionForm"})
            for (int points : {10, 12, 16})
                QTest::addRow("%s %d pt", dialog, points) << QString::fromLatin1(dialog) << points;
    }

    // At every font size the user can choose, each label and button shows
    // its whole text inside the dialog, and the given size stays a minimum.
    void wholeTexts()
    {
        QFETCH(QString, dialog);
        QFETCH(int, points);
        TestHost host(points);
        std::unique_ptr<QDialog> shown;
        QSize least;
        if (dialog == QLatin1String("LoginForm")) {
            shown = std::make_unique<LoginForm>(&host);
            least = QSize(350, 155);
        } else if (dialog == QLatin1String("RegistrationForm")) {
            shown = std::make_unique<RegistrationForm>(&host, nullptr);
            least = QSize(483, 610);
        } else {
            shown = std::make_unique<SuggestionForm>(&host);
            least = QSize(382, 228);
        }
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
        QCOMPARE(shown->font().pointSize(), points);
        const QStringList cut = cutWidgets(shown.get());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
        QVERIFY(shown->width() >= least.width() && shown->height() >= least.height());
        QVERIFY(shown->minimumWidth() >= least.width() && shown->minimumHeight() >= least.height());
    }

    // The fluency table shows three whole rows below its header at any size.
    void fluencyTableShowsRows_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("10 pt") << 10;
        QTest::newRow("12 pt") << 12;
        QTest::newRow("16 pt") << 16;
    }

    void fluencyTableShowsRows()
    {
        QFETCH(int, points);
        TestHost host(points);
        RegistrationForm form(&host, nullptr);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTableWidget* table = form.tblUserFluency;
        table->setRowCount(3);
        for (int row = 0; row < 3; ++row)
            table->setItem(row, 0, new QTableWidgetItem(QStringLiteral("Portuguese")));
        const int rowHeight = table->rowHeight(0);
        QVERIFY(rowHeight >= table->fontMetrics().height());
        QVERIFY2(table->viewport()->height() >= 3 * rowHeight,
                 qPrintable(QStringLiteral("%1 < 3 x %2").arg(table->viewport()->height()).arg(rowHeight)));
    }

    // The program's scroll bar handle is darker than its groove, so that it
    // reads as the handle: at the top (left) for the start of a list.
    void scrollBarHandleStandsOut_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<int>("orientation");
        for (const char* base : {"fusion", "windows"}) {
            QTest::addRow("%s vertical", base) << QString::fromLatin1(base) << int(Qt::Vertical);
            QTest::addRow("%s horizontal", base) << QString::fromLatin1(base) << int(Qt::Horizontal);
        }
    }

    void scrollBarHandleStandsOut()
    {
        QFETCH(QString, base);
        QFETCH(int, orientation);
        QStyle* style = QStyleFactory::create(base);
        if (!style)
            QSKIP("style not available");
        ScrollBarStyle program(style);
        QScrollBar bar(static_cast<Qt::Orientation>(orientation), nullptr);
        bar.setStyle(&program);
        bar.setRange(0, 100);
        bar.setPageStep(20);
        bar.setValue(0);
        bar.resize(orientation == Qt::Vertical ? QSize(16, 240) : QSize(240, 16));
        const QImage image = bar.grab().toImage();
        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = bar.orientation();
        option.minimum = 0;
        option.maximum = 100;
        option.pageStep = 20;
        option.sliderPosition = 0;
        option.sliderValue = 0;
        if (bar.orientation() == Qt::Horizontal)
            option.state |= QStyle::State_Horizontal;
        const QRect handle = program.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
        const QRect groove = program.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddPage, &bar);
        QVERIFY(handle.isValid() && groove.isValid());
        // Handle at the start, groove after it.
        QVERIFY(orientation == Qt::Vertical ? handle.top() < groove.top() : handle.left() < groove.left());
        auto shade = [&](const QRect& r) {
            const QPoint c = r.center();
            return qGray(image.pixel(c));
        };
        QVERIFY2(shade(handle) + 20 < shade(groove),
                 qPrintable(QStringLiteral("handle %1, groove %2").arg(shade(handle)).arg(shade(groove))));
    }

    // Every path of the plug-in list is shown whole.
    void pluginPathsWhole()
    {
        const QStringList files{QStringLiteral("Plugins_dll/Managers/ZoAudio.so"),
                                QStringLiteral("Plugins_dll/Resources/ZoFluencyLevelResource.so"),
                                QStringLiteral("Plugins_dll/Resources/ZoLearnerLevelResource.so")};
        PluginDialog dialog(QStringLiteral("Plugins_dll"), files);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* tree = dialog.findChild<QTreeWidget*>();
        QVERIFY(tree);
        QCOMPARE(tree->topLevelItemCount(), files.size());
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            const QRect shown = tree->visualItemRect(tree->topLevelItem(i));
            const int need = QFontMetrics(tree->topLevelItem(i)->font(0)).horizontalAdvance(files.at(i));
            QVERIFY2(shown.width() >= need && shown.right() <= tree->viewport()->width(),
                     qPrintable(files.at(i)));
        }
    }
};

QTEST_MAIN(TestDialogFit)
#include "tst_dialogfit.moc"
