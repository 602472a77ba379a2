#include "IDbManager.h"
#include "IResource.h"
#include "PluginLocator.h"
#include "QueryTableFixture.h"
#include "ScreenTexts.h"
#include "ZoQueryTable.h"
#include "ZoTableView.h"
#include "queryTableDelegate.h"

#include <QHeaderView>
#include <QPointer>
#include <QSqlQueryModel>
#include <QtTest>

using Record = QHash<QString, QString>;
using Ints = QList<int>;

namespace {

const QString kExercise = QStringLiteral("Exercise");
const QString kLesson = QStringLiteral("Lesson");

// Five exercises whose term, locality and voice orders all differ.
const QList<Record> kExercises = {
    {{"Term", "banana"},
     {"Language", "English"},
     {"Country", "United States"},
     {"StateProv", "Ohio"},
     {"Locality", "Columbus"},
     {"Voice", "Zoe"},
     {"MediaPath", "Content/b"},
     {"MediaName", "banana.wav"}},
    {{"Term", "Apple"},
     {"Language", "French"},
     {"Country", "France"},
     {"StateProv", "Bretagne"},
     {"Locality", "Rennes"},
     {"Voice", "mia"},
     {"MediaPath", "Content/a"},
     {"MediaName", "apple.wav"}},
    {{"Term", "cherry"},
     {"Language", "English"},
     {"Country", "United States"},
     {"StateProv", "Texas"},
     {"Locality", "Austin"},
     {"Voice", "Ann"},
     {"MediaPath", "Content/c"},
     {"MediaName", "cherry.wav"}},
    {{"Term", "date"},
     {"Language", "French"},
     {"Country", "France"},
     {"StateProv", "Alsace"},
     {"Locality", "Colmar"},
     {"Voice", "bob"},
     {"MediaPath", "Content/d"},
     {"MediaName", "date.wav"}},
    {{"Term", "elder"},
     {"Language", "English"},
     {"Country", "Germany"},
     {"StateProv", "Berlin"},
     {"Locality", "Berlin"},
     {"Voice", "Kim"},
     {"MediaPath", "Content/e"},
     {"MediaName", "elder.wav"}},
};

QPixmap iconOfWidth(int width)
{
    QPixmap p(width, 12);
    p.fill(Qt::darkGreen);
    return p;
}

QStringList columnValues(const QSqlQueryModel* model, int column)
{
    QStringList values;
    for (int row = 0; model && row < model->rowCount(); ++row)
        values << model->data(model->index(row, column)).toString();
    return values;
}

} // namespace

class QueryTableTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QueryTableFixture> mFixture;
    QHash<QString, QString> mExerciseIds; // term -> local id
    QString mLessonOne;
    QString mLessonTwo;

    IDbManager* store() const { return mFixture->store(); }

    // The view as the forms set it up: icon column 0, term column sorted ascending.
    struct Table
    {
        ZoTableView view;
        QPixmap icon = iconOfWidth(16);
        std::unique_ptr<ZoQueryTable> query;
    };
    std::unique_ptr<Table> makeTable(const QString& type, int rowHeight = 25)
    {
        auto table = std::make_unique<Table>();
        table->view.resize(900, 400);
        table->query = std::make_unique<ZoQueryTable>(&table->view, &table->view, store());
        table->query->setIconColumn(0, &table->icon);
        table->view.horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
        table->query->query(type, type == kExercise ? Record{{"Term", ""}} : Record{{"Title", ""}}, rowHeight);
        return table;
    }

    static int rowOf(const ZoQueryTable& query, const QString& key, const QString& value)
    {
        for (int row = 0; query.model() && row < query.model()->rowCount(); ++row) {
            if (query.rowData(row).value(key) == value)
                return row;
        }
        return -1;
    }

    static void clickHeader(QTableView& view, int column)
    {
        QHeaderView* header = view.horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void headerClicks_data();
    void headerClicks();
    void rowData_data();
    void rowData();
    void rowDataOutsideModel();
    void rowDataKeysInGerman_data();
    void rowDataKeysInGerman();
    void idNames_data();
    void idNames();
    void selectedRows_data();
    void selectedRows();
    void columns_data();
    void columns();
    void replacedPiecesAreFreed();
    void pluginInstancesSurvive();
};

void QueryTableTest::initTestCase()
{
    mFixture = std::make_unique<QueryTableFixture>();
    QVERIFY2(mFixture->isValid(), qPrintable(mFixture->error()));
    for (const Record& exercise : kExercises) {
        const QString id = mFixture->addExercise(exercise);
        QVERIFY2(!id.isEmpty(), qPrintable(exercise.value("Term")));
        mExerciseIds.insert(exercise.value("Term"), id);
    }
    mLessonOne = mFixture->addLesson({{"Title", "Fruit one"},
                                      {"Description", "first"},
                                      {"Language", "French"},
                                      {"LearnerLevel", "Elementary"},
                                      {"Username", "tester"}},
                                     {mExerciseIds.value("Apple"), mExerciseIds.value("date")});
    mLessonTwo = mFixture->addLesson({{"Title", "another"},
                                      {"Description", "second"},
                                      {"Language", "English"},
                                      {"LearnerLevel", "Advanced"},
                                      {"Username", "tester"}},
                                     {mExerciseIds.value("banana")});
    QVERIFY(!mLessonOne.isEmpty());
    QVERIFY(!mLessonTwo.isEmpty());
}

void QueryTableTest::cleanupTestCase()
{
    mFixture.reset();
}

void QueryTableTest::headerClicks_data()
{
    QTest::addColumn<Ints>("clicks");
    QTest::addColumn<int>("section");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QStringList>("terms");

    const QStringList termUp{"Apple", "banana", "cherry", "date", "elder"};
    const QStringList termDown{"elder", "date", "cherry", "banana", "Apple"};
    const QStringList localityUp{"cherry", "elder", "date", "banana", "Apple"};
    const QStringList localityDown{"Apple", "banana", "date", "elder", "cherry"};
    const QStringList voiceUp{"cherry", "date", "elder", "Apple", "banana"};
    const auto up = Qt::AscendingOrder;
    const auto down = Qt::DescendingOrder;

    QTest::newRow("no click") << Ints{} << 1 << up << termUp;
    QTest::newRow("sorted header once") << Ints{1} << 1 << down << termDown;
    QTest::newRow("sorted header twice") << Ints{1, 1} << 1 << up << termUp;
    QTest::newRow("sorted header three times") << Ints{1, 1, 1} << 1 << down << termDown;
    QTest::newRow("new header") << Ints{7} << 7 << up << localityUp;
    QTest::newRow("new header twice") << Ints{7, 7} << 7 << down << localityDown;
    QTest::newRow("new header three times") << Ints{7, 7, 7} << 7 << up << localityUp;
    QTest::newRow("another new header") << Ints{7, 8} << 8 << up << voiceUp;
    QTest::newRow("back to the first") << Ints{7, 1} << 1 << up << termUp;
    QTest::newRow("icon column") << Ints{0} << 1 << up << termUp;
    QTest::newRow("icon column after descending") << Ints{1, 0} << 1 << down << termDown;
    QTest::newRow("icon column twice") << Ints{7, 0, 0} << 7 << up << localityUp;
    QTest::newRow("after icon column") << Ints{1, 0, 1} << 1 << up << termUp;
}

void QueryTableTest::headerClicks()
{
    QFETCH(Ints, clicks);
    QFETCH(int, section);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QStringList, terms);

    auto table = makeTable(kExercise);
    table->view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table->view));
    for (int column : clicks) {
        QSqlQueryModel* before = table->query->model();
        clickHeader(table->view, column);
        if (column == 0)
            QCOMPARE(table->query->model(), before); // not queried again
    }

    QHeaderView* header = table->view.horizontalHeader();
    QCOMPARE(header->sortIndicatorSection(), section);
    QCOMPARE(header->sortIndicatorOrder(), order);
    QCOMPARE(table->view.verticalHeader()->count(), kExercises.size());
    QCOMPARE(columnValues(table->query->model(), 1), terms);
    if (!clicks.isEmpty() && clicks.last() != 0) {
        // A re-sort leaves nothing selected, at the top.
        QCOMPARE(table->query->selectedRows(), Ints{});
        QCOMPARE(table->view.currentIndex().row(), 0);
    }
}

void QueryTableTest::rowData_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("findKey");
    QTest::addColumn<QString>("findValue");
    QTest::addColumn<Record>("expected");

    QTest::newRow("exercise") << kExercise << "Term"
                              << "banana" << Record{{"Term", "banana"},           {"Language", "English"},
                                                    {"MediaPath", "Content/b"},   {"MediaName", "banana.wav"},
                                                    {"Country", "United States"}, {"StateProv", "Ohio"},
                                                    {"Locality", "Columbus"},     {"Voice", "Zoe"}};
    QTest::newRow("exercise other language")
        << kExercise << "Term"
        << "elder" << Record{{"Term", "elder"},          {"Language", "English"}, {"MediaPath", "Content/e"},
                             {"MediaName", "elder.wav"}, {"Country", "Germany"},  {"StateProv", "Berlin"},
                             {"Locality", "Berlin"},     {"Voice", "Kim"}};
    QTest::newRow("lesson") << kLesson << "Lesson Title"
                            << "Fruit one"
                            << Record{{"Lesson Title", "Fruit one"}, {"Description", "first"}, {"Exercises", "2"},
                                      {"Language", "French"},        {"Learner Level", "2"},   {"Username", "tester"}};
    QTest::newRow("lesson with one exercise")
        << kLesson << "Lesson Title"
        << "another" << Record{{"Lesson Title", "another"}, {"Description", "second"}, {"Exercises", "1"},
                               {"Language", "English"},     {"Learner Level", "4"},    {"Username", "tester"}};
}

void QueryTableTest::rowData()
{
    QFETCH(QString, type);
    QFETCH(QString, findKey);
    QFETCH(QString, findValue);
    QFETCH(Record, expected);

    auto table = makeTable(type);
    const int row = rowOf(*table->query, findKey, findValue);
    QVERIFY(row >= 0);
    const Record record = table->query->rowData(row);
    const QString id = type == kExercise ? mExerciseIds.value(findValue)
                                         : (findValue == "Fruit one" ? mLessonOne : mLessonTwo);
    expected.insert("Id", id);
    QCOMPARE(record, expected);
}

void QueryTableTest::rowDataKeysInGerman_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("findKey");
    QTest::addColumn<QString>("findValue");
    QTest::newRow("exercise") << kExercise << "Term"
                              << "banana";
    QTest::newRow("lesson") << kLesson << "Lesson Title"
                            << "Fruit one";
}

// The headers show translated; the record a caller reads keeps its keys, so a
// term added to a lesson in German is the term, not an empty cell.
void QueryTableTest::rowDataKeysInGerman()
{
    QFETCH(QString, type);
    QFETCH(QString, findKey);
    QFETCH(QString, findValue);

    auto english = makeTable(type);
    const Record before = english->query->rowData(rowOf(*english->query, findKey, findValue));
    QVERIFY(!before.isEmpty());

    ScreenTexts::German german;
    QVERIFY(german.files() > 0);
    auto table = makeTable(type);
    const QString caption = table->query->model()->headerData(1, Qt::Horizontal).toString();
    QVERIFY2(caption != findKey, qPrintable(caption));
    const int row = rowOf(*table->query, findKey, findValue);
    QVERIFY(row >= 0);
    const Record record = table->query->rowData(row);
    QCOMPARE(record.keys().size(), before.keys().size());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(record.contains(it.key()), qPrintable(it.key()));
    QCOMPARE(record.value(findKey), findValue);
}

void QueryTableTest::rowDataOutsideModel()
{
    auto table = makeTable(kExercise);
    QCOMPARE(table->query->rowData(-1), Record{});
    QCOMPARE(table->query->rowData(kExercises.size()), Record{});
    ZoTableView bare;
    ZoQueryTable unqueried(&bare, &bare, store());
    QCOMPARE(unqueried.rowData(0), Record{});
    QCOMPARE(unqueried.selectedRows(), Ints{});
}

void QueryTableTest::idNames_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("findKey");
    QTest::addColumn<QString>("findValue");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("shown");

    QTest::newRow("exercise language") << kExercise << "Term"
                                       << "Apple" << 2 << "French";
    QTest::newRow("exercise country") << kExercise << "Term"
                                      << "elder" << 5 << "Germany";
    QTest::newRow("lesson language") << kLesson << "Lesson Title"
                                     << "Fruit one" << 4 << "French";
    QTest::newRow("lesson learner level") << kLesson << "Lesson Title"
                                          << "Fruit one" << 5 << "Elementary";
    QTest::newRow("lesson learner level advanced") << kLesson << "Lesson Title"
                                                   << "another" << 5 << "Advanced";
}

void QueryTableTest::idNames()
{
    QFETCH(QString, type);
    QFETCH(QString, findKey);
    QFETCH(QString, findValue);
    QFETCH(int, column);
    QFETCH(QString, shown);

    auto table = makeTable(type);
    const int row = rowOf(*table->query, findKey, findValue);
    QVERIFY(row >= 0);
    auto* delegate = qobject_cast<queryTableDelegate*>(table->view.itemDelegate());
    QVERIFY(delegate);
    const QModelIndex index = table->query->model()->index(row, column);
    QVERIFY(index.data().toString() != shown); // the model holds the id
    QCOMPARE(delegate->displayName(index), shown);
}

void QueryTableTest::selectedRows_data()
{
    QTest::addColumn<Ints>("select");
    QTest::addColumn<bool>("wholeRows");
    QTest::addColumn<Ints>("expected");

    QTest::newRow("nothing") << Ints{} << true << Ints{};
    QTest::newRow("three and one") << Ints{3, 1} << true << Ints{1, 3};
    QTest::newRow("reverse order") << Ints{4, 2, 0} << true << Ints{0, 2, 4};
    QTest::newRow("every row") << Ints{0, 1, 2, 3, 4} << true << Ints{0, 1, 2, 3, 4};
    QTest::newRow("single cells only") << Ints{2, 3} << false << Ints{};
}

void QueryTableTest::selectedRows()
{
    QFETCH(Ints, select);
    QFETCH(bool, wholeRows);
    QFETCH(Ints, expected);

    auto table = makeTable(kExercise);
    QItemSelectionModel* selection = table->view.selectionModel();
    for (int row : select) {
        QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Select;
        if (wholeRows)
            flags |= QItemSelectionModel::Rows;
        selection->select(table->query->model()->index(row, 1), flags);
    }
    QCOMPARE(table->query->selectedRows(), expected);
}

void QueryTableTest::columns_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("iconWidth");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<Ints>("hidden");
    QTest::addColumn<Ints>("stretched");

    QTest::newRow("exercise, even icon") << kExercise << 16 << 25 << Ints{3, 4, 6} << Ints{1};
    QTest::newRow("exercise, odd icon") << kExercise << 15 << 30 << Ints{3, 4, 6} << Ints{1};
    QTest::newRow("lesson, small icon") << kLesson << 7 << 20 << Ints{} << Ints{1, 2};
}

void QueryTableTest::columns()
{
    QFETCH(QString, type);
    QFETCH(int, iconWidth);
    QFETCH(int, rowHeight);
    QFETCH(Ints, hidden);
    QFETCH(Ints, stretched);

    ZoTableView view;
    view.resize(900, 300);
    QPixmap icon = iconOfWidth(iconWidth);
    ZoQueryTable query(&view, &view, store());
    query.setIconColumn(0, &icon);
    query.query(type, type == kExercise ? Record{{"Term", ""}} : Record{{"Title", ""}}, rowHeight);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QHeaderView* header = view.horizontalHeader();
    QVERIFY(header->isSortIndicatorShown());
    QVERIFY(header->sectionsClickable());
    QVERIFY(view.verticalHeader()->isHidden());
    QCOMPARE(view.selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view.selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(view.verticalHeader()->defaultSectionSize(), rowHeight);

    // Column 0 is hidden by the store but shown as the icon column.
    QVERIFY(!view.isColumnHidden(0));
    QCOMPARE(view.columnWidth(0), int(iconWidth * 1.5));
    for (int column = 1; column < query.model()->columnCount(); ++column) {
        QCOMPARE(view.isColumnHidden(column), hidden.contains(column));
        QCOMPARE(header->sectionResizeMode(column) == QHeaderView::Stretch, stretched.contains(column));
    }
}

void QueryTableTest::replacedPiecesAreFreed()
{
    auto table = makeTable(kExercise);
    QPointer<QSqlQueryModel> firstModel = table->query->model();
    QPointer<QAbstractItemDelegate> firstDelegate = table->view.itemDelegate();
    QPointer<QItemSelectionModel> firstSelection = table->view.selectionModel();
    QVERIFY(firstModel && firstDelegate && firstSelection);

    table->query->query(kExercise, {{"Term", "an"}}, 25);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(firstModel.isNull());
    QVERIFY(firstDelegate.isNull());
    QVERIFY(firstSelection.isNull());
    QCOMPARE(columnValues(table->query->model(), 1), (QStringList{"banana"}));
    QVERIFY(qobject_cast<queryTableDelegate*>(table->view.itemDelegate()));
}

void QueryTableTest::pluginInstancesSurvive()
{
    const QString languages = QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll");
    IResource* before = PluginLocator::load<IResource>(languages);
    QVERIFY(before);
    {
        auto table = makeTable(kLesson);
        table->view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table->view));
        QPointer<QSqlQueryModel> model = table->query->model();
        table->query.reset();
        QVERIFY(model.isNull());
        // The view outlives the query table, detached from the freed model.
        QCOMPARE(table->view.model(), nullptr);
        table->view.grab();
    }
    QCOMPARE(PluginLocator::load<IResource>(languages), before);
    QCOMPARE(before->nameOf(QStringLiteral("fra")), QStringLiteral("French"));
    IDbManager* again = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    QCOMPARE(again, store());
}

QTEST_MAIN(QueryTableTest)
#include "tst_querytable.moc"
