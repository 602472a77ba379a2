#include "SnapshotQueryModel.h"

#include "ExerciseSnapshot.h"

#include <QSqlQuery>

SnapshotQueryModel::SnapshotQueryModel(std::shared_ptr<const ExerciseSnapshot> snapshot, std::vector<int> rows,
                                       QObject* parent)
    : QSqlQueryModel(parent)
    , mSnapshot(std::move(snapshot))
    , mRows(std::move(rows))
{
}

SnapshotQueryModel::~SnapshotQueryModel() = default;

void SnapshotQueryModel::setColumns(const QSqlDatabase& database, const QString& emptySql)
{
    QSqlQuery query(database);
    query.exec(emptySql);
    setQuery(std::move(query));
}

int SnapshotQueryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(mRows.size());
}

QVariant SnapshotQueryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole) || !mSnapshot
        || index.row() >= int(mRows.size()) || index.column() >= columnCount())
        return QVariant();
    return mSnapshot->value(mRows[size_t(index.row())], index.column());
}

bool SnapshotQueryModel::canFetchMore(const QModelIndex&) const
{
    return false;
}

void SnapshotQueryModel::fetchMore(const QModelIndex&) {}

void SnapshotQueryModel::clear()
{
    mSnapshot.reset();
    mRows.clear();
    QSqlQueryModel::clear();
}
