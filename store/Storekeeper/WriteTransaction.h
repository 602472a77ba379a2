#pragma once

#include <QSqlDatabase>

// One transaction on the store's connection: rolled back when it goes out of
// scope without a successful commit, so no early return leaves it open.
class WriteTransaction
{
public:
    explicit WriteTransaction(QSqlDatabase database);
    ~WriteTransaction();

    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    // False when the transaction could not be begun.
    bool isActive() const;
    // False when the commit failed; the transaction is then rolled back.
    bool commit();

private:
    QSqlDatabase mDatabase;
    bool mActive = false;
};
