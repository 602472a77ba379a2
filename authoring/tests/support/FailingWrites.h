#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// While it lives, writes to the store's database fail the way a full disk or
// a read-only file makes them fail; reads still work.
class FailingWrites
{
public:
    enum Cause { DiskFull, ReadOnly };

    explicit FailingWrites(Cause cause)
        : mCause(cause)
        , mQuery(QSqlDatabase::database())
    {
        if (mCause == ReadOnly) {
            mValid = mQuery.exec(QStringLiteral("pragma query_only = 1"));
            return;
        }
        // The file may grow by a few pages, which a filler then takes.
        if (!mQuery.exec(QStringLiteral("create table filler (x blob)"))
            || !mQuery.exec(QStringLiteral("pragma page_count")) || !mQuery.next())
            return;
        const int pages = mQuery.value(0).toInt();
        if (!mQuery.exec(QStringLiteral("pragma max_page_count = %1").arg(pages + 8)))
            return;
        int rows = 0;
        while (mQuery.exec(QStringLiteral("insert into filler values (randomblob(1500))"))) {
            if (++rows >= 1000)
                return;
        }
        mValid = true;
    }

    ~FailingWrites()
    {
        if (mCause == ReadOnly) {
            mQuery.exec(QStringLiteral("pragma query_only = 0"));
            return;
        }
        mQuery.exec(QStringLiteral("drop table if exists filler"));
        mQuery.exec(QStringLiteral("pragma max_page_count = 1073741823"));
    }

    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

    bool isValid() const { return mValid; }

private:
    Cause mCause;
    QSqlQuery mQuery;
    bool mValid = false;
};
