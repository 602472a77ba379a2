#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>

// The users' counts of uploadable exercise rows, kept between calls. The
// store's own writes bring them up to date from the manifests they touch;
// any other change of the file (another connection, or a write on the store's
// connection that did not go through the store) makes them counted again.
class UploadCounter
{
public:
    // The rows the exercise view has for the user's uploadable exercises; -1
    // when the statement fails.
    int count(QSqlDatabase database, const QString& userName);

    // Brackets one of the store's writes that changes no exercise but those
    // listed and the manifests the write itself adds.
    void beforeWrite(QSqlDatabase database, const QList<qint64>& exerciseIds);
    void afterWrite(QSqlDatabase database);

    void clear();

private:
    struct Marks
    {
        qint64 dataVersion = -1;
        qint64 changes = -1;
        bool operator==(const Marks& o) const { return dataVersion == o.dataVersion && changes == o.changes; }
        bool operator!=(const Marks& o) const { return !(*this == o); }
    };
    static bool readMarks(QSqlDatabase database, Marks* marks);
    // Per user, the uploadable rows of these exercises and of every manifest
    // above newerThan (none when it is negative); false when a statement failed.
    static bool contributions(QSqlDatabase database, const QList<qint64>& ids, qint64 newerThan,
                              QHash<QString, int>* perUser);

    QHash<QString, int> mCounts;
    Marks mMarks;
    // Between beforeWrite and afterWrite.
    bool mTracking = false;
    QList<qint64> mIds;
    qint64 mLastId = 0;
    QHash<QString, int> mBefore;
};
