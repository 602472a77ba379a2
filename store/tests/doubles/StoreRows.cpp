#include "StoreRows.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

StoreRows::StoreRows(QSqlDatabase database)
    : mDatabase(database)
{
}

bool StoreRows::insert(const QString& table, const QHash<QString, QString>& row)
{
    QStringList columns;
    QStringList marks;
    for (auto it = row.constBegin(); it != row.constEnd(); ++it) {
        columns.append(it.key());
        marks.append(QStringLiteral("?"));
    }
    QSqlQuery query(mDatabase);
    if (!query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))))) {
        qWarning() << "StoreRows:" << query.lastError().text();
        return false;
    }
    for (const QString& column : columns)
        query.addBindValue(row.value(column));
    if (!query.exec()) {
        qWarning() << "StoreRows:" << table << query.lastError().text();
        return false;
    }
    return true;
}

bool StoreRows::manifest(int lmid, const QString& pmid, int type)
{
    return insert(QStringLiteral("m"), {{QStringLiteral("lmid"), QString::number(lmid)},
                                        {QStringLiteral("pmid"), pmid},
                                        {QStringLiteral("mtmtid"), QString::number(type)},
                                        {QStringLiteral("dc"), QStringLiteral("1700000000")}});
}

bool StoreRows::textual(int lmid, int type, const QString& value, const QString& languageId)
{
    return insert(QStringLiteral("tm"), {{QStringLiteral("mlmid"), QString::number(lmid)},
                                         {QStringLiteral("tmttmtid"), QString::number(type)},
                                         {QStringLiteral("mv"), value},
                                         {QStringLiteral("lclid"), languageId}});
}

bool StoreRows::relation(int parent, int child, int type, int sequence)
{
    return insert(QStringLiteral("crlt"), {{QStringLiteral("mprmid"), QString::number(parent)},
                                           {QStringLiteral("mchmid"), QString::number(child)},
                                           {QStringLiteral("crtcrtid"), QString::number(type)},
                                           {QStringLiteral("sn"), QString::number(sequence)}});
}

bool StoreRows::kvp(int kid, int owner, int tagId, const QString& value, const QString& languageId)
{
    return insert(QStringLiteral("k"), {{QStringLiteral("kid"), QString::number(kid)},
                                        {QStringLiteral("ktktid"), QString::number(tagId)},
                                        {QStringLiteral("mlmid"), QString::number(owner)},
                                        {QStringLiteral("kv"), value},
                                        {QStringLiteral("lclid"), languageId}});
}
