#pragma once

#include <QSqlQueryModel>
#include <QVariantList>

class QSqlDatabase;

// A query model whose row count is the full count from the moment it is
// returned. Rows may be read from the statement when first asked for; the
// rest are fetched in small steps once the event loop runs, so the statement
// does not stay open while the model lives.
class StoreQueryModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit StoreQueryModel(QObject* parent = nullptr);

    // Runs the statement with its values bound. With totalRows < 0 every row
    // is fetched now; otherwise totalRows is the count the statement yields.
    bool run(QSqlDatabase database, const QString& sql, const QVariantList& values, int totalRows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void clear() override;

    // Reads every remaining row now.
    void fetchAll();

protected:
    void queryChange() override;

private:
    void fetchStep();

    int mTotal = -1;
    int mFilled = 0;
    bool mComplete = true;
};
