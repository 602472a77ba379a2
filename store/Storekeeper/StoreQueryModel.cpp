#include "StoreQueryModel.h"

#include "StoreLog.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

namespace {
constexpr int kRowsPerStep = 4096;
}

StoreQueryModel::StoreQueryModel(QObject* parent)
    : QSqlQueryModel(parent)
{
}

bool StoreQueryModel::run(QSqlDatabase database, const QString& sql, const QVariantList& values, int totalRows)
{
    QSqlQuery query(database);
    bool ok = query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    ok = ok && query.exec();
    if (!ok)
        qCWarning(lcStore).noquote().nospace() << "SQL ERROR: " << query.lastError().text();
    setQuery(std::move(query));
    if (!ok || totalRows < 0) {
        while (QSqlQueryModel::canFetchMore())
            QSqlQueryModel::fetchMore();
        return ok;
    }
    mTotal = totalRows;
    mFilled = 0;
    mComplete = false;
    QTimer::singleShot(0, this, &StoreQueryModel::fetchStep);
    return true;
}

int StoreQueryModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return mTotal >= 0 ? mTotal : QSqlQueryModel::rowCount(parent);
}

bool StoreQueryModel::canFetchMore(const QModelIndex& parent) const
{
    return mTotal >= 0 ? false : QSqlQueryModel::canFetchMore(parent);
}

void StoreQueryModel::clear()
{
    mTotal = -1;
    mComplete = true;
    QSqlQueryModel::clear();
}

void StoreQueryModel::fetchAll()
{
    while (!mComplete)
        fetchStep();
}

void StoreQueryModel::queryChange()
{
    // A statement set from outside is fetched the usual way.
    mTotal = -1;
    mComplete = true;
    QSqlQueryModel::queryChange();
}

void StoreQueryModel::fetchStep()
{
    if (mComplete)
        return;
    // Reading a row reads every row before it; reading past the last one
    // closes the statement.
    const int target = qMin(mFilled + kRowsPerStep, mTotal);
    QSqlQueryModel::data(createIndex(target, 0), Qt::EditRole);
    mFilled = target;
    if (target >= mTotal) {
        mComplete = true;
        return;
    }
    QTimer::singleShot(0, this, &StoreQueryModel::fetchStep);
}
