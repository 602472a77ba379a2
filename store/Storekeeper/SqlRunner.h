#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

class StatementCache;
class ZoDbHelper;

// What every handler shares: the store's connection, its prepared
// statements and its name look-ups. Values are always bound.
class SqlRunner
{
public:
    // The cache and the helper are borrowed when given; otherwise the handler
    // makes its own for its lifetime.
    explicit SqlRunner(QSqlDatabase database, StatementCache* cache = nullptr, ZoDbHelper* helper = nullptr);
    SqlRunner(const SqlRunner&) = delete;
    SqlRunner& operator=(const SqlRunner&) = delete;
    virtual ~SqlRunner();

protected:
    // Runs a statement with bound values; false (and the cause on standard
    // output) when it fails. lastId receives the id of an inserted row.
    bool run(const QString& sql, const QVariantList& values = QVariantList(), QVariant* lastId = nullptr);
    // Every row of a statement, each as its column values. keep false for
    // texts that vary (id lists), which are not worth keeping prepared.
    QList<QVariantList> fetch(const QString& sql, const QVariantList& values = QVariantList(), bool* ok = nullptr,
                              bool keep = true);
    // The first column of the first row; invalid when there is none.
    QVariant fetchValue(const QString& sql, const QVariantList& values = QVariantList(), bool* ok = nullptr,
                        bool keep = true);

    static QString text(const QVariant& value);
    // A null text binds as SQL NULL; columns declared NOT NULL get "" instead.
    static QString notNull(const QString& value);
    // "0" and the empty text both mean "no persistent id".
    static bool hasPersistentId(const QString& persistentId);

    QSqlDatabase mDatabase;
    StatementCache* mCache = nullptr;
    ZoDbHelper* mHelper = nullptr;

private:
    std::unique_ptr<StatementCache> mOwnCache;
    std::unique_ptr<ZoDbHelper> mOwnHelper;
};
