#include "ZoDbBase.h"

#include "IdList.h"
#include "LikePattern.h"
#include "StatementCache.h"
#include "StoreLog.h"
#include "ZoDbCodes.h"
#include "ZoDbHelper.h"

ZoDbBase::ZoDbBase(QSqlDatabase database, StatementCache* cache, ZoDbHelper* helper)
    : SqlRunner(database, cache, helper)
{
}

ZoDbBase::~ZoDbBase() = default;

int ZoDbBase::insertManifest(QHash<QString, QString>* out, QString persistentId, int kind, QString supplierName,
                             QString supplierId)
{
    // Content that came from the network is stamped as downloaded when it is made.
    const bool downloaded = hasPersistentId(persistentId);
    const QString sql = downloaded ? QStringLiteral("INSERT INTO m (lmid, pmid, mtmtid, sbuid, sbun, dc, ddl) VALUES "
                                                    "(NULL, ?, ?, ?, ?, strftime('%s','now'), strftime('%s','now'))")
                                   : QStringLiteral("INSERT INTO m (lmid, pmid, mtmtid, sbuid, sbun, dc) VALUES "
                                                    "(NULL, ?, ?, ?, ?, strftime('%s','now'))");
    const QString pid = downloaded ? persistentId : QString::fromLatin1(ZoDbCodes::NoPersistentId);
    QVariant id;
    // m.sbuid is NOT NULL: a missing supplier id is written as the empty text.
    if (!run(sql, {pid, kind, notNull(supplierId), supplierName}, &id) || !id.isValid())
        return 0;
    if (out)
        out->insert(QStringLiteral("Id"), id.toString());
    return 1;
}

int ZoDbBase::deleteEach(const QString& sql, const QList<int>& localIds)
{
    if (localIds.isEmpty())
        return 0;
    bool ok = true;
    for (int id : localIds)
        ok = run(sql, {id}) && ok;
    return ok ? 1 : 0;
}

int ZoDbBase::deleteManifest(QList<int> localIds)
{
    return deleteEach(QStringLiteral("DELETE FROM m WHERE lmid = ?"), localIds);
}

int ZoDbBase::insertTextualManifest(int localId, int kind, QHash<QString, QString> data)
{
    const QString language = data.value(QStringLiteral("Language"));
    const QString learnerLevel = data.value(QStringLiteral("LearnerLevel"));
    return run(QStringLiteral("INSERT INTO tm (mlmid, tmttmtid, mt, mv, md, lclid, llllid, ir) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
               {localId, kind, data.value(QStringLiteral("Title")), data.value(QStringLiteral("Value")),
                data.value(QStringLiteral("Description")), mHelper->languageId(language),
                mHelper->learnerLevelId(learnerLevel), data.value(QStringLiteral("IsRequest"))})
               ? 1
               : 0;
}

QList<QHash<QString, QString>> ZoDbBase::findTextualManifest(QHash<QString, QString> criteria)
{
    const QString languageName = criteria.value(QStringLiteral("Language"));
    const QString languageId = mHelper->languageId(languageName);
    const QList<QVariantList> rows = fetch(QStringLiteral("SELECT mlmid, mv, lclid FROM tm WHERE mv LIKE ? ESCAPE '\\' "
                                                          "AND lclid = ? AND tmttmtid = ?"),
                                           {LikePattern::contains(criteria.value(QStringLiteral("Value"))), languageId,
                                            criteria.value(QStringLiteral("TYPE"))});
    QList<QHash<QString, QString>> found;
    for (const QVariantList& row : rows) {
        found.append({{QStringLiteral("Id"), text(row.at(0))},
                      {QStringLiteral("Value"), text(row.at(1))},
                      {QStringLiteral("Language"), mHelper->languageName(languageId)}});
    }
    return found;
}

int ZoDbBase::deleteTextualManifest(QList<int> localIds)
{
    return deleteEach(QStringLiteral("DELETE FROM tm WHERE mlmid = ?"), localIds);
}

int ZoDbBase::insertKvp(int localId, int kind, QHash<QString, QString> data)
{
    const QVariant value = data.contains(QStringLiteral("Value")) ? QVariant(data.value(QStringLiteral("Value")))
                                                                  : QVariant(QString());
    const QString languageId = mHelper->languageId(data.value(QStringLiteral("Language")));
    return run(QStringLiteral("INSERT INTO k (kid, ktktid, mlmid, kv, lclid) VALUES (NULL, ?, ?, ?, ?)"),
               {kind, localId, value, languageId})
               ? 1
               : 0;
}

int ZoDbBase::insertMediaManifest(int localId, int kind, QString fileName, QString format, QString path, QString voice,
                                  QString country, QString stateProv, QString locality, QString language,
                                  QString localeDesc, QString fluencyLevel)
{
    // mm.mmfn is NOT NULL: a missing file name is written as the empty text.
    return run(QStringLiteral("INSERT INTO mm (mlmid, mmtmmtid, mmfn, mmf, mmp, v, cccid, sp, l, lclid, ld, "
                              "flflid) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {localId, kind, notNull(fileName), format, path, voice, mHelper->countryId(country), stateProv, locality,
                mHelper->languageId(language), localeDesc, mHelper->fluencyLevelId(fluencyLevel)})
               ? 1
               : 0;
}

int ZoDbBase::deleteMediaManifest(QList<int> localIds)
{
    return deleteEach(QStringLiteral("DELETE FROM mm WHERE mlmid = ?"), localIds);
}

int ZoDbBase::insertRelation(int parent, int child, int kind, int sequence)
{
    return run(QStringLiteral("INSERT INTO crlt (mprmid, mchmid, crtcrtid, sn) VALUES (?, ?, ?, ?)"),
               {parent, child, kind, sequence})
               ? 1
               : 0;
}

int ZoDbBase::relinkRelation(int parent, int oldChild, int newChild)
{
    return run(QStringLiteral("UPDATE crlt SET mchmid = ? WHERE mprmid = ? AND mchmid = ?"),
               {newChild, parent, oldChild})
               ? 1
               : 0;
}

int ZoDbBase::setDoNotUpload(QString idList, QString flag)
{
    qint64 value = 0;
    if (!IdList::toId(flag, &value)) {
        qCWarning(lcStore).noquote().nospace() << "not an upload flag: " << flag;
        return 0;
    }
    const QList<qint64> ids = IdList::parse(idList);
    if (ids.isEmpty())
        return 1;
    const QVariantList values{value, IdList::bound(ids)};
    // One statement: every listed row changes, or none.
    const QString sql = QStringLiteral("UPDATE m SET dnul = ? WHERE lmid IN (%1)").arg(IdList::inBound());
    // The id list varies: not worth keeping prepared.
    bool ok = false;
    fetch(sql, values, &ok, false);
    return ok ? 1 : 0;
}

QList<QHash<QString, QString>> ZoDbBase::uploadItems(const QList<QVariantList>& rows, const QString& type,
                                                     const QString& kind) const
{
    QList<QHash<QString, QString>> items;
    for (const QVariantList& row : rows) {
        items.append({{QStringLiteral("Id"), text(row.at(0))},
                      {QStringLiteral("Type"), type},
                      {QStringLiteral("Kind"), kind},
                      {QStringLiteral("Title"), text(row.at(1))},
                      {QStringLiteral("Language"), mHelper->languageName(text(row.at(2)))}});
    }
    return items;
}
