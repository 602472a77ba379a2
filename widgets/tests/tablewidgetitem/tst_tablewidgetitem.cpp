#include "ZoTableWidgetItem.h"

#include <QTableWidget>
#include <QtTest>

namespace {

// "text" a plain item; "[x]" / "[ ]" a check-column item, checked or not;
// "{x}text" / "{ }text" a checkable item that is also selectable.
ZoTableWidgetItem* makeItem(const QString& cell)
{
    if (cell == "[x]" || cell == "[ ]") {
        auto* item = new ZoTableWidgetItem;
        item->setFlags(Qt::ItemIsUserCheckable);
        item->setCheckState(cell == "[x]" ? Qt::Checked : Qt::Unchecked);
        return item;
    }
    if (cell.startsWith("{")) {
        auto* item = new ZoTableWidgetItem(cell.mid(3));
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        item->setCheckState(cell.at(1) == 'x' ? Qt::Checked : Qt::Unchecked);
        return item;
    }
    return new ZoTableWidgetItem(cell);
}

QStringList columnTexts(const QTableWidget& table)
{
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row) {
        const QTableWidgetItem* item = table.item(row, 0);
        texts << (item->text().isEmpty() ? QString(item->checkState() == Qt::Checked ? "[x]" : "[ ]") : item->text());
    }
    return texts;
}

} // namespace

class TableWidgetItemTest : public QObject
{
    Q_OBJECT

private slots:
    void lessThan_data();
    void lessThan();
    void enabledCheckItem();
    void headerSort_data();
    void headerSort();
};

void TableWidgetItemTest::lessThan_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("aBeforeB");
    QTest::addColumn<bool>("bBeforeA");

    QTest::newRow("numbers by value") << "9"
                                      << "10" << true << false;
    QTest::newRow("negative number") << "-3"
                                     << "2" << true << false;
    QTest::newRow("leading zeros equal") << "007"
                                         << "7" << false << false;
    QTest::newRow("number before text") << "500"
                                        << "apple" << true << false;
    QTest::newRow("digits then letters is text") << "5"
                                                 << "12abc" << true << false;
    QTest::newRow("texts ignore case") << "apple"
                                       << "Banana" << true << false;
    QTest::newRow("same text other case") << "Apple"
                                          << "aPPLE" << false << false;
    QTest::newRow("empty text is a text") << ""
                                          << "a" << true << false;
    QTest::newRow("number before empty") << "0"
                                         << "" << true << false;
    QTest::newRow("checked before unchecked") << "[x]"
                                              << "[ ]" << true << false;
    QTest::newRow("two checked equal") << "[x]"
                                       << "[x]" << false << false;
    QTest::newRow("two unchecked equal") << "[ ]"
                                         << "[ ]" << false << false;
    QTest::newRow("selectable checkable sorts by text") << "{ }apple"
                                                        << "{x}banana" << true << false;
    QTest::newRow("selectable checkable numbers") << "{x}10"
                                                  << "{ }9" << false << true;
}

void TableWidgetItemTest::lessThan()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, aBeforeB);
    QFETCH(bool, bBeforeA);

    std::unique_ptr<ZoTableWidgetItem> first(makeItem(a));
    std::unique_ptr<ZoTableWidgetItem> second(makeItem(b));
    QCOMPARE(*first < *second, aBeforeB);
    QCOMPARE(*second < *first, bBeforeA);
}

void TableWidgetItemTest::enabledCheckItem()
{
    // A check cell the user can tick (enabled) is still a check-column item.
    ZoTableWidgetItem checked, unchecked;
    for (ZoTableWidgetItem* item : {&checked, &unchecked})
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    checked.setCheckState(Qt::Checked);
    unchecked.setCheckState(Qt::Unchecked);
    QVERIFY(checked.isCheckItem());
    QVERIFY(checked < unchecked);
    QVERIFY(!(unchecked < checked));
}

void TableWidgetItemTest::headerSort_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QStringList>("sorted");

    const QStringList mixed{"Banana", "10", "apple", "9", "cherry", "2"};
    QTest::newRow("mixed ascending") << mixed << Qt::AscendingOrder
                                     << QStringList{"2", "9", "10", "apple", "Banana", "cherry"};
    QTest::newRow("mixed descending") << mixed << Qt::DescendingOrder
                                      << QStringList{"cherry", "Banana", "apple", "10", "9", "2"};
    const QStringList checks{"[ ]", "[x]", "[ ]", "[x]"};
    QTest::newRow("check column ascending") << checks << Qt::AscendingOrder << QStringList{"[x]", "[x]", "[ ]", "[ ]"};
    QTest::newRow("check column descending")
        << checks << Qt::DescendingOrder << QStringList{"[ ]", "[ ]", "[x]", "[x]"};
}

void TableWidgetItemTest::headerSort()
{
    QFETCH(QStringList, cells);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QStringList, sorted);

    QTableWidget table(cells.size(), 1);
    for (int row = 0; row < cells.size(); ++row)
        table.setItem(row, 0, makeItem(cells[row]));
    table.sortItems(0, order);
    QCOMPARE(columnTexts(table), sorted);
}

QTEST_MAIN(TableWidgetItemTest)
#include "tst_tablewidgetitem.moc"
