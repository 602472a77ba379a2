#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>

// Writes fixture rows with bound values. Each row is given as column to
// value; a column left out takes its default. False on any error.
class StoreRows
{
public:
    explicit StoreRows(QSqlDatabase database = QSqlDatabase::database());

    bool insert(const QString& table, const QHash<QString, QString>& row);
    // An m row with lmid and pmid, created now.
    bool manifest(int lmid, const QString& pmid = QStringLiteral("0"), int type = 1);
    bool textual(int lmid, int type, const QString& value, const QString& languageId);
    bool relation(int parent, int child, int type, int sequence = 0);
    bool kvp(int kid, int owner, int tagId, const QString& value, const QString& languageId);

private:
    QSqlDatabase mDatabase;
};
