#pragma once

#include <QSqlQueryModel>

#include <memory>
#include <vector>

class ExerciseSnapshot;

// A query model over rows already read into memory: the full count at once,
// every row at hand, and no statement left open. The record (column names)
// is that of the statement given to setColumns.
class SnapshotQueryModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    SnapshotQueryModel(std::shared_ptr<const ExerciseSnapshot> snapshot, std::vector<int> rows,
                       QObject* parent = nullptr);
    ~SnapshotQueryModel() override;

    // Takes the columns (names and count) from a statement that yields no row.
    void setColumns(const QSqlDatabase& database, const QString& emptySql);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;
    void clear() override;

private:
    std::shared_ptr<const ExerciseSnapshot> mSnapshot;
    std::vector<int> mRows;
};
