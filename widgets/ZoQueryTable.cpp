#include "ZoQueryTable.h"

#include "ColumnFit.h"
#include "IDbManager.h"
#include "IResource.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "queryTableDelegate.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QSqlQueryModel>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace {

// Captions of the store's columns and the record keys they become.
struct CaptionKey
{
    const char* caption;
    const char* key;
};

const CaptionKey captionKeys[] = {
    {"Study Term", "Term"}, {"Language", "Language"},        {"MediaPath", "MediaPath"}, {"MediaName", "MediaName"},
    {"Country", "Country"}, {"State/Province", "StateProv"}, {"Locality", "Locality"},   {"Voice", "Voice"},
};

// The record key of a caption, which may be shown translated.
QString keyOf(const QString& caption)
{
    if (caption.isEmpty())
        return QStringLiteral("Id");
    for (const CaptionKey& entry : captionKeys) {
        if (caption == QLatin1String(entry.caption) || caption == ZoQueryTable::tr(entry.caption))
            return QString::fromLatin1(entry.key);
    }
    return caption;
}

} // namespace

ZoQueryTable::ZoQueryTable(QTableView* view, QWidget* owner, IDbManager* store)
    : QObject(nullptr)
    , mView(view)
    , mOwner(owner)
    , mStore(store)
{
    mLanguages = PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);
    mCountries = PluginLocator::load<IResource>(PluginFiles::ZoCountryResource);
    if (!view)
        return;
    QHeaderView* header = view->horizontalHeader();
    connect(header, &QHeaderView::sectionClicked, this, &ZoQueryTable::columnClicked);
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);
    view->verticalHeader()->hide();
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    mSortSection = header->sortIndicatorSection();
    mSortOrder = int(header->sortIndicatorOrder());
}

ZoQueryTable::~ZoQueryTable()
{
    // The resource instances are shared by the whole process; they stay loaded.
    if (mView) {
        if (mView->itemDelegate() == mDelegate.get())
            mView->setItemDelegate(new QStyledItemDelegate(mView));
        if (mModel && mView->model() == mModel.get()) {
            QItemSelectionModel* oldSelection = mView->selectionModel();
            mView->setModel(nullptr);
            if (oldSelection && oldSelection != mView->selectionModel())
                oldSelection->deleteLater();
        }
    }
}

void ZoQueryTable::setIconColumn(int column, QPixmap* icon)
{
    mIconColumn = column;
    mIcon = icon;
    mIconWidth = icon ? int(icon->width() * 1.5) : 0;
    applyIconColumn();
}

void ZoQueryTable::applyIconColumn()
{
    if (!mView || !mModel || mIconColumn < 0 || mIconColumn >= mModel->columnCount())
        return;
    QHeaderView* header = mView->horizontalHeader();
    mView->setColumnHidden(mIconColumn, false);
    header->setSectionResizeMode(mIconColumn, QHeaderView::Fixed);
    // The style's minimum section size may be wider than the icon column.
    if (mIconWidth > 0 && header->minimumSectionSize() > mIconWidth)
        header->setMinimumSectionSize(mIconWidth);
    header->resizeSection(mIconColumn, mIconWidth);
}

void ZoQueryTable::query(const QString& type, const QHash<QString, QString>& criteria, int rowHeight)
{
    if (!mView)
        return;
    QHeaderView* header = mView->horizontalHeader();
    mView->verticalHeader()->setDefaultSectionSize(rowHeight);
    mType = type;
    mCriteria = criteria;
    mRowHeight = rowHeight;

    mSortSection = header->sortIndicatorSection();
    mSortOrder = int(header->sortIndicatorOrder());
    QHash<QString, QString> sorted = criteria;
    sorted.insert(QStringLiteral("SortColumn"), QString::number(mSortSection));
    sorted.insert(QStringLiteral("SortOrder"), QString::number(mSortOrder));

    QList<int> hidden;
    QList<int> stretched;
    int languageColumn = -1;
    int countryColumn = -1;
    int learnerLevelColumn = -1;
    QSqlQueryModel* model = mStore ? mStore->queryModel(type, sorted, &hidden, &stretched, &languageColumn,
                                                        &countryColumn, &learnerLevelColumn)
                                   : nullptr;

    // Replace model, selection model and delegate; the old ones go once the
    // view no longer uses them.
    QItemSelectionModel* oldSelection = mView->selectionModel();
    std::unique_ptr<QSqlQueryModel> oldModel = std::exchange(mModel, std::unique_ptr<QSqlQueryModel>(model));
    mView->setModel(model);
    if (oldSelection && oldSelection != mView->selectionModel())
        oldSelection->deleteLater();
    oldModel.reset();

    std::unique_ptr<queryTableDelegate> oldDelegate =
        std::exchange(mDelegate, std::make_unique<queryTableDelegate>(languageColumn, countryColumn, learnerLevelColumn,
                                                                      mIconColumn, mIcon));
    mView->setItemDelegate(mDelegate.get());
    oldDelegate.reset();

    const int columns = model ? model->columnCount() : 0;
    for (int column = 0; column < columns; ++column) {
        mView->setColumnHidden(column, hidden.contains(column));
        header->setSectionResizeMode(column,
                                     stretched.contains(column) ? QHeaderView::Stretch : QHeaderView::Interactive);
    }
    // The store may hide the icon column; it is shown all the same.
    applyIconColumn();
    // A new model may reset the header; the indicator keeps the order shown.
    header->setSortIndicator(mSortSection, Qt::SortOrder(mSortOrder));
    ColumnFit::of(mView)->fit();
}

void ZoQueryTable::columnClicked(int column)
{
    if (!mView)
        return;
    QHeaderView* header = mView->horizontalHeader();
    if (column == mIconColumn) {
        // The header has already moved its indicator: put it back.
        header->setSortIndicator(mSortSection, Qt::SortOrder(mSortOrder));
        return;
    }
    const Qt::SortOrder order = (column == mSortSection && mSortOrder == int(Qt::AscendingOrder)) ? Qt::DescendingOrder
                                                                                                  : Qt::AscendingOrder;
    header->setSortIndicator(column, order);
    if (mType.isEmpty()) {
        // Nothing queried yet: the first query uses the new order.
        mSortSection = column;
        mSortOrder = int(order);
        return;
    }
    query(mType, mCriteria, mRowHeight);
    mView->selectRow(0);
    mView->clearSelection();
}

QHash<QString, QString> ZoQueryTable::rowData(int row) const
{
    QHash<QString, QString> record;
    if (!mModel || row < 0 || row >= mModel->rowCount())
        return record;
    for (int column = 0; column < mModel->columnCount(); ++column) {
        // The store names each column in the user role too: shown captions may be translated.
        QString caption = mModel->headerData(column, Qt::Horizontal, Qt::UserRole).toString();
        if (caption.isEmpty())
            caption = mModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        QString value = mModel->data(mModel->index(row, column), Qt::DisplayRole).toString();
        const QString key = keyOf(caption);
        if (key == QLatin1String("Language") && mLanguages)
            value = mLanguages->nameOf(value);
        else if (key == QLatin1String("Country") && mCountries)
            value = mCountries->nameOf(value);
        record.insert(key, value);
    }
    return record;
}

QList<int> ZoQueryTable::selectedRows() const
{
    QList<int> rows;
    if (!mView || !mView->selectionModel())
        return rows;
    const int count = mView->verticalHeader()->count();
    for (const QModelIndex& index : mView->selectionModel()->selectedRows()) {
        if (index.row() < count)
            rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QSqlQueryModel* ZoQueryTable::model() const
{
    return mModel.get();
}

int ZoQueryTable::iconColumn() const
{
    return mIconColumn;
}

int ZoQueryTable::iconWidth() const
{
    return mIconWidth;
}
