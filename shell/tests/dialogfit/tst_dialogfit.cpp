#include "DialogFit.h"
#include "DialogFixture.h"
#include "FluencyFormWizard.h"
#include "LoginForm.h"
#include "PluginDialog.h"
#include "RegistrationForm.h"
#include "ScrollBarStyle.h"
#include "SuggestionForm.h"
#include "TestHost.h"
#include "WelcomeForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <QTreeWidget>
#include <QVBoxLayout>
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

// Labels and buttons squeezed below their needs, or out of reach: outside the
// dialog, unless inside the scrolled part of a form that scrolls.
QStringList unreachable(QWidget* dialog)
{
    QStringList lost;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dialog) || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
            continue;
        if (qobject_cast<QScrollBar*>(w->parentWidget()))
            continue;
        QWidget* within = dialog;
        for (QWidget* p = w->parentWidget(); p && p != dialog; p = p->parentWidget()) {
            if (auto* scroll = qobject_cast<QScrollArea*>(p); scroll && scroll->widget()) {
                within = scroll->widget();
                break;
            }
        }
        const QSize need = w->minimumSizeHint();
        const QRect at(w->mapTo(within, QPoint()), w->size());
        if (w->width() < need.width() || w->height() < need.height() || !within->rect().contains(at))
            lost << QStringLiteral("%1 %2x%3 at %4,%5 in %6")
                        .arg(w->objectName())
                        .arg(w->width())
                        .arg(w->height())
                        .arg(at.x())
                        .arg(at.y())
                        .arg(within->objectName());
    }
    return lost;
}

std::unique_ptr<QDialog> makeDialog(const QString& name, IMainWindow* host, QSize* least)
{
    if (name == QLatin1String("LoginForm")) {
        *least = QSize(350, 155);
        return std::make_unique<LoginForm>(host);
    }
    if (name == QLatin1String("RegistrationForm")) {
        *least = QSize(483, 610);
        return std::make_unique<RegistrationForm>(host, nullptr);
    }
    if (name == QLatin1String("FluencyFormWizard")) {
        *least = QSize(470, 577);
        return std::make_unique<FluencyFormWizard>(host, nullptr, false);
    }
    *least = QSize(382, 228);
    return std::make_unique<SuggestionForm>(host);
}

const char* const FittedDialogs[] = {"LoginForm", "RegistrationForm", "SuggestionForm", "FluencyFormWizard"};

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
        // Inside the dialog, or inside its scrolled form where the screen is small.
        const QStringList cut = unreachable(shown.get());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
        // The given size is the least where the screen has room for it with a
        // frame; otherwise the dialog keeps within the screen.
        const QSize room = shown->screen()->availableGeometry().size();
        if (least.width() + 100 <= room.width() && least.height() + 100 <= room.height()) {
            QVERIFY(shown->width() >= least.width() && shown->height() >= least.height());
            QVERIFY(shown->minimumWidth() >= least.width() && shown->minimumHeight() >= least.height());
        } else {
            QVERIFY(shown->width() <= room.width() && shown->height() <= room.height());
        }
    }

    // On a screen of the given room the dialog fits with its frame (title bar
    // and borders); what does not fit scrolls, and OK and Cancel stay in sight.
    void fitsScreenWithItsFrame_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("points");
        QTest::addColumn<QSize>("room");
        for (const char* dialog : FittedDialogs)
            for (int points : {10, 12, 16})
                // 853x533: 1280x800 at 144 dots per inch, in the program's pixels.
                for (const QSize room : {QSize(1280, 800), QSize(1024, 768), QSize(1024, 600), QSize(853, 533)})
                    QTest::addRow("%s %d pt %dx%d", dialog, points, room.width(), room.height())
                        << QString::fromLatin1(dialog) << points << room;
    }

    void fitsScreenWithItsFrame()
    {
        QFETCH(QString, dialog);
        QFETCH(int, points);
        QFETCH(QSize, room);
        const QMargins frame(4, 30, 4, 4);
        TestHost host(points);
        QSize least;
        std::unique_ptr<QDialog> shown = makeDialog(dialog, &host, &least);
        DialogFit::fit(shown.get(), least, QRect(QPoint(), room), frame);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
        const QSize framed = shown->size().grownBy(frame);
        QVERIFY2(framed.width() <= room.width() && framed.height() <= room.height(),
                 qPrintable(QStringLiteral("%1x%2 with its frame").arg(framed.width()).arg(framed.height())));
        const QStringList lost = unreachable(shown.get());
        QVERIFY2(lost.isEmpty(), qPrintable(lost.join(QLatin1String("; "))));
        for (QPushButton* button : shown->findChildren<QPushButton*>()) {
            if (!button->isVisibleTo(shown.get())
                || !(button->objectName() == QLatin1String("btnOk")
                     || button->objectName() == QLatin1String("btnCancel")
                     || button->objectName() == QLatin1String("btnPrevious")
                     || button->objectName() == QLatin1String("btnNext")))
                continue;
            const QRect at(button->mapTo(shown.get(), QPoint()), button->size());
            QVERIFY2(shown->rect().contains(at), qPrintable(button->objectName()));
            for (QWidget* p = button->parentWidget(); p; p = p->parentWidget())
                QVERIFY2(!qobject_cast<QScrollArea*>(p), qPrintable(button->objectName() + QLatin1String(" scrolls")));
        }
    }

    // On the test's own screen the dialog and its frame lie within the room
    // the screen offers.
    void withinTheScreen_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("points");
        for (const char* dialog : FittedDialogs)
            for (int points : {12, 16})
                QTest::addRow("%s %d pt", dialog, points) << QString::fromLatin1(dialog) << points;
    }

    void withinTheScreen()
    {
        QFETCH(QString, dialog);
        QFETCH(int, points);
        TestHost host(points);
        QSize least;
        std::unique_ptr<QDialog> shown = makeDialog(dialog, &host, &least);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
        const QRect room = shown->screen()->availableGeometry();
        const QSize framed = shown->size().grownBy(DialogFit::frameNear(shown.get()));
        QVERIFY2(framed.width() <= room.width() && framed.height() <= room.height(),
                 qPrintable(QStringLiteral("%1x%2 on %3x%4")
                                .arg(framed.width())
                                .arg(framed.height())
                                .arg(room.width())
                                .arg(room.height())));
        const QStringList lost = unreachable(shown.get());
        QVERIFY2(lost.isEmpty(), qPrintable(lost.join(QLatin1String("; "))));
    }

    // A form moved into a scroll area asks for little room, and each of its
    // parts can be scrolled into sight.
    void scrollContentShowsEveryPart_data()
    {
        QTest::addColumn<QSize>("content");
        QTest::newRow("wide") << QSize(3000, 100);
        QTest::newRow("high") << QSize(300, 2000);
        QTest::newRow("small") << QSize(200, 100);
    }

    void scrollContentShowsEveryPart()
    {
        QFETCH(QSize, content);
        QWidget form;
        auto* rows = new QVBoxLayout(&form);
        auto* first = new QPushButton(QStringLiteral("First"));
        auto* filler = new QLabel;
        filler->setMinimumSize(content);
        auto* last = new QPushButton(QStringLiteral("Last"));
        rows->addWidget(first, 0, Qt::AlignLeft);
        rows->addWidget(filler);
        rows->addWidget(last, 0, Qt::AlignRight);
        DialogFit::scrollContent(&form);
        DialogFit::scrollContent(&form); // once only
        QCOMPARE(form.findChildren<QScrollArea*>().size(), 1);
        QVERIFY2(form.minimumSizeHint().width() < 200 && form.minimumSizeHint().height() < 200,
                 qPrintable(
                     QStringLiteral("%1x%2").arg(form.minimumSizeHint().width()).arg(form.minimumSizeHint().height())));
        form.resize(400, 300);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* scroll = form.findChild<QScrollArea*>();
        for (QPushButton* button : {first, last}) {
            scroll->ensureWidgetVisible(button);
            const QRect shown(button->mapTo(scroll->viewport(), QPoint()), button->size());
            QVERIFY2(scroll->viewport()->rect().contains(shown), qPrintable(button->text()));
            QVERIFY(button->width() >= button->minimumSizeHint().width());
        }
    }

    // The welcome dialog shows its buttons whole inside it at any font, and
    // the hidden one takes no room.
    void welcomeButtonsWhole_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("dontShow");
        for (int points : {8, 12, 20})
            for (int dontShow : {0, 1})
                QTest::addRow("%d pt%s", points, dontShow ? " with Don't Show" : "") << points << dontShow;
    }

    void welcomeButtonsWhole()
    {
        QFETCH(int, points);
        QFETCH(int, dontShow);
        const QFont before = QApplication::font();
        QFont font = before;
        font.setPointSize(points);
        QApplication::setFont(font);
        WelcomeForm welcome(nullptr, QStringLiteral("docs"), QStringLiteral("%1/html/welcome.html"), dontShow);
        welcome.show();
        const bool exposed = QTest::qWaitForWindowExposed(&welcome);
        const QStringList cut = cutWidgets(&welcome);
        const bool dontShowShown = welcome.btnDontShow->isVisible();
        const QRect ok(welcome.btnOk->mapTo(&welcome, QPoint()), welcome.btnOk->size());
        QApplication::setFont(before);
        QVERIFY(exposed);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
        QCOMPARE(dontShowShown, dontShow != 0);
        QVERIFY(welcome.width() >= 654 && welcome.height() >= 412);
        // OK sits in the dialog's bottom right corner, not beside an empty place.
        QVERIFY2(welcome.width() - ok.right() < 20 && welcome.height() - ok.bottom() < 20,
                 qPrintable(QStringLiteral("OK at %1,%2 in %3x%4")
                                .arg(ok.x())
                                .arg(ok.y())
                                .arg(welcome.width())
                                .arg(welcome.height())));
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
            QVERIFY2(shown.width() >= need && shown.right() <= tree->viewport()->width(), qPrintable(files.at(i)));
        }
    }
};

QTEST_MAIN(TestDialogFit)
#include "tst_dialogfit.moc"
