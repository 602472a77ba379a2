#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Local ids given as text: one id, a comma-separated list (with or without a
// trailing comma) or a list of texts. Items that are not integers are
// dropped, so they can never reach a statement.
class IdList
{
public:
    static bool toId(const QString& text, qint64* id);
    static QList<qint64> parse(const QString& commaSeparated);
    static QList<qint64> parse(const QStringList& items);
    // "?, ?, ..." with one placeholder per id.
    static QString placeholders(int count);
    // What goes inside "IN (...)" for any number of ids, read from one bound
    // value (bound(ids)) in time linear in the list.
    static QString inBound();
    static QString bound(const QList<qint64>& ids);
};
