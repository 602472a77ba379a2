#include "ColumnFit.h"
#include "ZoAction.h"
#include "ZoLineEdit.h"
#include "ZoTable.h"
#include "ZoTableView.h"
#include "ZoTextEdit.h"
#include "ZoToolButton.h"

#include <QAbstractTableModel>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSet>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <QtTest>

#include <algorithm>

using Ops = QStringList;
using Rows = QList<int>;

namespace {

// Runs "insert r n", "insert1 r", "hide r", "show r", "rows n" on the table.
void runOps(ZoTable& table, const QStringList& ops)
{
    for (const QString& op : ops) {
        const QStringList w = op.split(QLatin1Char(' '));
        if (w[0] == "insert")
            table.insertRows(w[1].toInt(), w[2].toInt());
        else if (w[0] == "insert1")
            table.insertRows(w[1].toInt());
        else if (w[0] == "hide")
            table.hideRow(w[1].toInt());
        else if (w[0] == "show")
            table.showRow(w[1].toInt());
        else if (w[0] == "rows")
            table.setNumRows(w[1].toInt());
        else
            QFAIL(qPrintable("unknown op " + op));
    }
}

QPixmap filled(const QColor& color)
{
    QPixmap p(8, 8);
    p.fill(color);
    return p;
}

// Colour of the icon's first pixel, or an invalid colour for a null icon.
QColor iconColor(const QToolButton& button)
{
    if (button.icon().isNull())
        return QColor();
    return button.icon().pixmap(8, 8).toImage().pixelColor(0, 0);
}

Rows selectedRowsOf(QAbstractItemView& view)
{
    Rows rows;
    for (const QModelIndex& index : view.selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QPoint cellCenter(QTableView& view, int row, int col)
{
    return QPoint(view.columnViewportPosition(col) + view.columnWidth(col) / 2,
                  view.rowViewportPosition(row) + view.rowHeight(row) / 2);
}

// Many rows of short texts, one of them wide; counts the rows whose texts
// were asked for. The first header is a long German one.
class ManyRows : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : 100000; }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return QVariant();
        asked.insert(index.row());
        if (index.row() == wideRow && index.column() == 1)
            return QString(80, QLatin1Char('W'));
        return QString::number(index.row());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return section == 0 ? QStringLiteral("Bundesland/Provinz der Aufnahme") : QStringLiteral("Nr");
    }
    void setWideRow(int row)
    {
        wideRow = row;
        emit dataChanged(index(row, 1), index(row, 1));
    }

    int wideRow = -1;
    mutable QSet<int> asked;
};

} // namespace

class WidgetKitTest : public QObject
{
    Q_OBJECT

private slots:
    void tableCounts_data();
    void tableCounts();
    void insertedRowHeights_data();
    void insertedRowHeights();
    void contentsClicks_data();
    void contentsClicks();
    void clickNeedsSameCell_data();
    void clickNeedsSameCell();
    void doubleClick();
    void keyAfterBase();
    void editability_data();
    void editability();
    void selectionAnnounced();
    void rightPress_data();
    void rightPress();
    void toolButtonImages_data();
    void toolButtonImages();
    void focusAnnounced_data();
    void focusAnnounced();
    void actionReportsText_data();
    void actionReportsText();
    void columnsFitShownRows_data();
    void columnsFitShownRows();
};

void WidgetKitTest::tableCounts_data()
{
    QTest::addColumn<Ops>("ops");
    QTest::addColumn<int>("visible");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("zoChanged");
    QTest::addColumn<int>("changed");

    QTest::newRow("fresh") << Ops{} << 0 << 0 << 0 << 0;
    QTest::newRow("insert three") << Ops{"insert 0 3"} << 3 << 3 << 1 << 0;
    QTest::newRow("hide twice counts once") << Ops{"insert 0 3", "hide 1", "hide 1"} << 2 << 3 << 1 << 1;
    QTest::newRow("setNumRows leaves count") << Ops{"rows 5"} << 0 << 5 << 0 << 0;
    QTest::newRow("setNumRows larger keeps count") << Ops{"insert 0 3", "rows 7"} << 3 << 7 << 1 << 0;
    QTest::newRow("setNumRows 0 resets") << Ops{"insert 0 3", "hide 0", "rows 0"} << 0 << 0 << 1 << 1;
    QTest::newRow("show keeps count") << Ops{"insert 0 2", "hide 0", "show 0"} << 1 << 2 << 1 << 1;
    QTest::newRow("hide outside rows") << Ops{"insert 0 2", "hide 5", "hide -1"} << 2 << 2 << 1 << 0;
    QTest::newRow("insert nothing") << Ops{"insert 0 0", "insert 0 -2"} << 0 << 0 << 0 << 0;
    QTest::newRow("insert one twice") << Ops{"insert1 0", "insert1 0"} << 2 << 2 << 2 << 0;
    QTest::newRow("insert past end") << Ops{"insert 0 1", "insert 9 2"} << 3 << 3 << 2 << 0;
}

void WidgetKitTest::tableCounts()
{
    QFETCH(Ops, ops);
    QFETCH(int, visible);
    QFETCH(int, rows);
    QFETCH(int, zoChanged);
    QFETCH(int, changed);

    ZoTable table;
    table.setNumCols(2);
    QSignalSpy zoSpy(&table, &ZoTable::zoTableChanged);
    QSignalSpy changedSpy(&table, &ZoTable::tableChanged);
    runOps(table, ops);

    QCOMPARE(table.anyRowVisible(), visible);
    QCOMPARE(table.numRows(), rows);
    QCOMPARE(zoSpy.count(), zoChanged);
    QCOMPARE(changedSpy.count(), changed);
    for (const QList<QVariant>& args : zoSpy)
        QCOMPARE(args.at(0).value<ZoTable*>(), &table);
}

void WidgetKitTest::insertedRowHeights_data()
{
    QTest::addColumn<int>("existing");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("count");

    QTest::newRow("three at row 2") << 2 << 2 << 3;
    QTest::newRow("three into empty") << 0 << 0 << 3;
    QTest::newRow("two in the middle") << 3 << 1 << 2;
}

void WidgetKitTest::insertedRowHeights()
{
    QFETCH(int, existing);
    QFETCH(int, at);
    QFETCH(int, count);

    const int defaultHeight = 50;
    ZoTable table;
    table.setNumCols(2);
    table.verticalHeader()->setDefaultSectionSize(defaultHeight);
    table.setNumRows(existing);
    const int h = table.horizontalHeader()->sizeHint().height();
    QVERIFY2(h > 0 && h != defaultHeight, "header height must differ from the row default");

    table.insertRows(at, count);
    QCOMPARE(table.numRows(), existing + count);
    for (int row = 0; row < table.numRows(); ++row)
        QCOMPARE(table.rowHeight(row), row == at ? h : defaultHeight);

    table.redrawTable();
    for (int row = 0; row < table.numRows(); ++row)
        QCOMPARE(table.rowHeight(row), h);
    QCOMPARE(table.horizontalHeader()->minimumHeight(), h);
    QCOMPARE(table.horizontalHeader()->maximumHeight(), h);
}

void WidgetKitTest::contentsClicks_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("scrollX");
    QTest::addColumn<int>("scrollY");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");

    // Rows are 20 high, columns 60 wide, no headers.
    QTest::newRow("top left unscrolled") << 40 << 3 << 0 << 0 << QPoint(5, 5) << 0 << 0;
    QTest::newRow("scrolled down") << 40 << 3 << 0 << 130 << QPoint(70, 15) << 7 << 1;
    QTest::newRow("scrolled both ways") << 40 << 6 << 70 << 300 << QPoint(100, 45) << 17 << 2;
    QTest::newRow("below last row") << 3 << 3 << 0 << 0 << QPoint(10, 150) << -1 << 0;
    QTest::newRow("right of last column") << 3 << 3 << 0 << 0 << QPoint(195, 10) << 0 << -1;
}

void WidgetKitTest::contentsClicks()
{
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(int, scrollX);
    QFETCH(int, scrollY);
    QFETCH(QPoint, at);
    QFETCH(int, row);
    QFETCH(int, col);

    ZoTable table;
    table.setLeftMargin(0);
    table.setTopMargin(0);
    table.setNumCols(cols);
    table.setNumRows(rows);
    for (int c = 0; c < cols; ++c)
        table.setColumnWidth(c, 60);
    for (int r = 0; r < rows; ++r)
        table.setRowHeight(r, 20);
    table.resize(200, 200);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    table.horizontalScrollBar()->setValue(scrollX);
    table.verticalScrollBar()->setValue(scrollY);
    QCOMPARE(table.verticalScrollBar()->value(), scrollY);
    QCOMPARE(table.horizontalScrollBar()->value(), scrollX);

    QSignalSpy press(&table, SIGNAL(mousePress(int, int, int, QPoint)));
    QSignalSpy release(&table, SIGNAL(mouseRelease(int, int, int, QPoint)));
    QSignalSpy clicked(&table, SIGNAL(clicked(int, int, int, QPoint)));
    QTest::mouseClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, at);

    const QPoint contents = at + QPoint(scrollX, scrollY);
    QCOMPARE(press.count(), 1);
    QCOMPARE(press[0], (QList<QVariant>{row, col, int(Qt::LeftButton), contents}));
    QCOMPARE(release.count(), 1);
    QCOMPARE(release[0], (QList<QVariant>{row, col, int(Qt::NoButton), contents}));
    if (row >= 0 && col >= 0) {
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked[0], (QList<QVariant>{row, col, int(Qt::LeftButton), contents}));
    } else {
        QCOMPARE(clicked.count(), 0);
    }
}

void WidgetKitTest::clickNeedsSameCell_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("pressAt");
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<bool>("emitted");

    const auto left = Qt::LeftButton;
    QTest::newRow("same cell") << left << QPoint(10, 25) << QPoint(50, 35) << true;
    QTest::newRow("right button") << Qt::RightButton << QPoint(10, 25) << QPoint(12, 26) << true;
    QTest::newRow("other row") << left << QPoint(10, 25) << QPoint(10, 65) << false;
    QTest::newRow("other column") << left << QPoint(10, 25) << QPoint(70, 25) << false;
    QTest::newRow("pressed outside rows") << left << QPoint(10, 150) << QPoint(10, 150) << false;
}

void WidgetKitTest::clickNeedsSameCell()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, pressAt);
    QFETCH(QPoint, releaseAt);
    QFETCH(bool, emitted);

    ZoTable table;
    table.setLeftMargin(0);
    table.setTopMargin(0);
    table.setNumCols(3);
    table.setNumRows(4);
    for (int c = 0; c < 3; ++c)
        table.setColumnWidth(c, 60);
    for (int r = 0; r < 4; ++r)
        table.setRowHeight(r, 20);
    table.resize(200, 200);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    QSignalSpy clicked(&table, SIGNAL(clicked(int, int, int, QPoint)));
    QTest::mousePress(table.viewport(), button, Qt::NoModifier, pressAt);
    QTest::mouseRelease(table.viewport(), button, Qt::NoModifier, releaseAt);
    QCOMPARE(clicked.count(), emitted ? 1 : 0);
    if (emitted) {
        QCOMPARE(clicked[0].at(2).toInt(), int(button));
        QCOMPARE(clicked[0].at(3).toPoint(), releaseAt);
    }
}

void WidgetKitTest::doubleClick()
{
    ZoTable table;
    table.setLeftMargin(0);
    table.setTopMargin(0);
    table.setReadOnly(true);
    table.setNumCols(2);
    table.setNumRows(30);
    for (int r = 0; r < 30; ++r)
        table.setRowHeight(r, 20);
    table.setColumnWidth(0, 60);
    table.resize(200, 200);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    table.verticalScrollBar()->setValue(100);

    QSignalSpy dbl(&table, SIGNAL(doubleClicked(int, int, int, QPoint)));
    QSignalSpy mouseDbl(&table, SIGNAL(mouseDoubleClick(int, int, int, QPoint)));
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 30));
    QCOMPARE(dbl.count(), 1);
    QCOMPARE(dbl[0], (QList<QVariant>{6, 0, int(Qt::LeftButton), QPoint(10, 130)}));
    QCOMPARE(mouseDbl.count(), 1);
    QCOMPARE(mouseDbl[0].at(0).toInt(), 6);
    QCOMPARE(mouseDbl[0].at(3).toPoint(), QPoint(10, 130));
}

void WidgetKitTest::keyAfterBase()
{
    ZoTable table;
    table.setNumCols(2);
    table.insertRows(0, 3);
    table.setSingleRowSelection();
    table.setReadOnly(true);
    table.setCurrentCell(0, 0);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    QList<int> seenRows;
    QList<int> seenKeys;
    connect(&table, &ZoTable::keyPress, &table, [&](QKeyEvent* e) {
        seenKeys << e->key();
        seenRows << table.currentRow();
    });
    QTest::keyClick(&table, Qt::Key_Down);
    QCOMPARE(seenKeys, QList<int>{Qt::Key_Down});
    // The base table moved the current row before the signal.
    QCOMPARE(seenRows, QList<int>{1});
}

void WidgetKitTest::editability_data()
{
    QTest::addColumn<bool>("tableReadOnly");
    QTest::addColumn<int>("readOnlyColumn");
    QTest::addColumn<bool>("fixedItem");
    QTest::addColumn<bool>("edits");

    QTest::newRow("plain cell") << false << -1 << false << true;
    QTest::newRow("read-only table") << true << -1 << false << false;
    QTest::newRow("read-only column") << false << 1 << false << false;
    QTest::newRow("other column read-only") << false << 0 << false << true;
    QTest::newRow("fixed item") << false << -1 << true << false;
}

void WidgetKitTest::editability()
{
    QFETCH(bool, tableReadOnly);
    QFETCH(int, readOnlyColumn);
    QFETCH(bool, fixedItem);
    QFETCH(bool, edits);

    ZoTable table;
    table.setNumCols(3);
    table.insertRows(0, 2);
    QPixmap icon = filled(Qt::red);
    if (fixedItem)
        table.setFixedItem(1, 1, "term", icon);
    else
        table.setText(1, 1, "term");
    table.setReadOnly(tableReadOnly);
    if (readOnlyColumn >= 0)
        table.setColumnReadOnly(readOnlyColumn, true);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    QCOMPARE(table.text(1, 1), QString("term"));
    QCOMPARE(table.pixmap(1, 1).isNull(), !fixedItem);
    QCOMPARE(table.isCellEditable(1, 1), edits);
    table.editItem(table.item(1, 1));
    QCOMPARE(!table.viewport()->findChildren<QLineEdit*>().isEmpty(), edits);
}

void WidgetKitTest::selectionAnnounced()
{
    ZoTable table;
    table.setNumCols(2);
    table.insertRows(0, 3);
    table.setSingleRowSelection();
    QSignalSpy zoSpy(&table, &ZoTable::zoTableChanged);
    QSignalSpy plain(&table, &ZoTable::tableSelectionChanged);

    table.selectRow(2);
    QCOMPARE(plain.count(), 1);
    QCOMPARE(zoSpy.count(), 1);
    QVERIFY(table.isRowSelected(2));
    table.clearSelection();
    QCOMPARE(plain.count(), 2);
    QCOMPARE(zoSpy.count(), 2);
    QVERIFY(!table.isRowSelected(2));
}

void WidgetKitTest::rightPress_data()
{
    QTest::addColumn<Rows>("selected");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("row");
    QTest::addColumn<Rows>("after");
    QTest::addColumn<QStringList>("signalOrder");

    QTest::newRow("right on unselected row")
        << Rows{0, 2, 4} << Qt::RightButton << 1 << Rows{1} << QStringList{"changed", "right"};
    QTest::newRow("right on selected row")
        << Rows{0, 2, 4} << Qt::RightButton << 2 << Rows{0, 2, 4} << QStringList{"right"};
    QTest::newRow("right with nothing selected")
        << Rows{} << Qt::RightButton << 3 << Rows{3} << QStringList{"changed", "right"};
    QTest::newRow("left on unselected row") << Rows{0} << Qt::LeftButton << 3 << Rows{3} << QStringList{"changed"};
    QTest::newRow("left on the selected row") << Rows{3} << Qt::LeftButton << 3 << Rows{3} << QStringList{};
}

void WidgetKitTest::rightPress()
{
    QFETCH(Rows, selected);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, row);
    QFETCH(Rows, after);
    QFETCH(QStringList, signalOrder);

    QStandardItemModel model(6, 2);
    for (int r = 0; r < 6; ++r)
        model.setItem(r, 1, new QStandardItem(QString("item %1").arg(r)));
    ZoTableView view;
    view.setModel(&model);
    view.resize(300, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    for (int r : selected)
        view.selectionModel()->select(model.index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (!selected.isEmpty())
        view.selectionModel()->setCurrentIndex(model.index(selected.first(), 0), QItemSelectionModel::NoUpdate);
    QCOMPARE(selectedRowsOf(view), selected);

    QStringList order;
    connect(&view, &ZoTableView::signalChanged, &view, [&] { order << "changed"; });
    connect(&view, &ZoTableView::signalRightClicked, &view, [&] { order << "right"; });
    QTest::mousePress(view.viewport(), button, Qt::NoModifier, cellCenter(view, row, 1));

    QCOMPARE(selectedRowsOf(view), after);
    QCOMPARE(order, signalOrder);
    QTest::mouseRelease(view.viewport(), button, Qt::NoModifier, cellCenter(view, row, 1));
}

void WidgetKitTest::toolButtonImages_data()
{
    QTest::addColumn<bool>("hasNormal");
    QTest::addColumn<bool>("hasHighlighted");
    QTest::addColumn<QColor>("before");
    QTest::addColumn<QColor>("onEnter");
    QTest::addColumn<QColor>("onLeave");

    const QColor red(Qt::red), blue(Qt::blue), none;
    QTest::newRow("both images") << true << true << red << blue << red;
    QTest::newRow("no highlight keeps icon") << true << false << red << red << red;
    QTest::newRow("no normal image") << false << true << none << blue << none;
    QTest::newRow("no images") << false << false << none << none << none;
}

void WidgetKitTest::toolButtonImages()
{
    QFETCH(bool, hasNormal);
    QFETCH(bool, hasHighlighted);
    QFETCH(QColor, before);
    QFETCH(QColor, onEnter);
    QFETCH(QColor, onLeave);

    ZoToolButton button;
    QVERIFY(button.hasMouseTracking());
    // Pressed and released images never become the icon.
    button.setPressedImage(filled(Qt::green));
    button.setReleasedImage(filled(Qt::yellow));
    if (hasHighlighted)
        button.setHighlightedImage(filled(Qt::blue));
    if (hasNormal)
        button.setNormalImage(filled(Qt::red));
    QCOMPARE(iconColor(button), before);
    QCOMPARE(button.normalImage().isNull(), !hasNormal);
    QCOMPARE(button.highlightedImage().isNull(), !hasHighlighted);
    QCOMPARE(button.property("pressedImage").value<QPixmap>().toImage().pixelColor(0, 0), QColor(Qt::green));

    QSignalSpy entered(&button, &ZoToolButton::entered);
    QSignalSpy left(&button, &ZoToolButton::left);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(&button, &enter);
    QCOMPARE(iconColor(button), onEnter);
    QCOMPARE(entered.count(), 1);
    QCOMPARE(left.count(), 0);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    QCOMPARE(iconColor(button), onLeave);
    QCOMPARE(left.count(), 1);
}

void WidgetKitTest::focusAnnounced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("line edit") << "line";
    QTest::newRow("text edit") << "text";
}

void WidgetKitTest::focusAnnounced()
{
    QFETCH(QString, kind);

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    layout->addWidget(other);
    QWidget* edit = nullptr;
    std::unique_ptr<QSignalSpy> spy;
    if (kind == "line") {
        auto* e = new ZoLineEdit(&window);
        spy = std::make_unique<QSignalSpy>(e, &ZoLineEdit::gotFocus);
        edit = e;
    } else {
        auto* e = new ZoTextEdit(&window);
        spy = std::make_unique<QSignalSpy>(e, &ZoTextEdit::gotFocus);
        edit = e;
    }
    layout->addWidget(edit);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(spy->count(), 0);

    QList<bool> focusedWhenEmitted;
    if (kind == "line")
        connect(static_cast<ZoLineEdit*>(edit), &ZoLineEdit::gotFocus, edit,
                [&] { focusedWhenEmitted << edit->hasFocus(); });
    else
        connect(static_cast<ZoTextEdit*>(edit), &ZoTextEdit::gotFocus, edit,
                [&] { focusedWhenEmitted << edit->hasFocus(); });
    edit->setFocus();
    QTRY_COMPARE(spy->count(), 1);
    QCOMPARE(focusedWhenEmitted, QList<bool>{true});
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(spy->count(), 1);
}

void WidgetKitTest::actionReportsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("field name") << "Translation";
    QTest::newRow("empty text") << "";
    QTest::newRow("accelerator kept") << "&About Fields";
}

void WidgetKitTest::actionReportsText()
{
    QFETCH(QString, text);

    QObject owner;
    ZoAction action(&owner);
    action.setText(text);
    QSignalSpy spy(&action, &ZoAction::itemSelected);
    action.hover();
    QCOMPARE(spy.count(), 0);
    action.trigger();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy[0].at(0).toString(), text);
}

void WidgetKitTest::columnsFitShownRows_data()
{
    QTest::addColumn<int>("wideRow");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("grows");

    QTest::newRow("wide row shown") << 3 << "model" << true;
    QTest::newRow("wide row below the screen") << 500 << "model" << false;
    QTest::newRow("wide row scrolled into view") << 500 << "scroll" << true;
    QTest::newRow("shown row changed") << 3 << "change" << true;
    QTest::newRow("row below the screen changed") << 500 << "change" << false;
}

// Columns fit their header and the rows on screen; rows off screen are not
// read until they come into view, whatever the number of rows.
void WidgetKitTest::columnsFitShownRows()
{
    QFETCH(int, wideRow);
    QFETCH(QString, how);
    QFETCH(bool, grows);

    ManyRows model;
    if (how != QLatin1String("change"))
        model.wideRow = wideRow;
    QTableView view;
    view.resize(300, 240);
    view.setModel(&model);
    ColumnFit::of(&view);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QHeaderView* header = view.horizontalHeader();
    QTRY_VERIFY(header->sectionSize(0) >= header->sectionSizeHint(0));
    QCoreApplication::processEvents();
    const int lastShown = view.rowAt(view.viewport()->height() - 1);
    QVERIFY(lastShown > 0 && lastShown < 50);
    QVERIFY2(*std::max_element(model.asked.cbegin(), model.asked.cend()) <= lastShown + 1,
             qPrintable(QString::number(*std::max_element(model.asked.cbegin(), model.asked.cend()))));

    if (how == QLatin1String("scroll"))
        view.scrollTo(model.index(wideRow, 1));
    else if (how == QLatin1String("change"))
        model.setWideRow(wideRow);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const int wide = view.fontMetrics().horizontalAdvance(QString(80, QLatin1Char('W')));
    QCOMPARE(view.columnWidth(1) >= wide, grows);
    QVERIFY(header->sectionSize(0) >= header->sectionSizeHint(0));
    if (how != QLatin1String("scroll"))
        QVERIFY(*std::max_element(model.asked.cbegin(), model.asked.cend()) <= lastShown + 1);
}

QTEST_MAIN(WidgetKitTest)
#include "tst_widgetkit.moc"
