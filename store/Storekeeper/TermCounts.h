#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>

class StatementCache;

// How many exercise rows (exercises with term and recording) each stored
// term has, per language of the exercise, kept in memory so a type-ahead
// count needs no pass over the rows. Read again whenever the database has
// changed, on this connection or on another one.
class TermCounts
{
public:
    // Rows whose term contains the fragment, ASCII letters compared without
    // case as LIKE does, in that language id when it is not empty. -1 when
    // the counts could not be read.
    int count(QSqlDatabase database, StatementCache* cache, const QString& fragment, const QString& languageId);
    // Bytes held by the counts.
    qint64 memoryBytes() const;

    // Lower-cases ASCII letters only, as LIKE compares them.
    static QByteArray fold(const QString& text);

private:
    struct Entry
    {
        QByteArray term;
        QString languageId;
        int rows = 0;
    };

    bool isCurrent(StatementCache* cache, qint64* dataVersion, qint64* changes);
    bool reload(StatementCache* cache);

    QList<Entry> mEntries;
    qint64 mDataVersion = -1;
    qint64 mChanges = -1;
    bool mLoaded = false;
};
