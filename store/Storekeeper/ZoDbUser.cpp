#include "ZoDbUser.h"

#include "StoreLog.h"
#include "WriteTransaction.h"
#include "ZoDbHelper.h"
#include "ZoDbUserFluency.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <memory>
#include <vector>

ZoDbUser::ZoDbUser(QSqlDatabase database, StatementCache* cache, ZoDbHelper* helper)
    : SqlRunner(database, cache, helper)
{
}

ZoDbUser::~ZoDbUser() = default;

int ZoDbUser::find(QString)
{
    return 0;
}

int ZoDbUser::get(QString)
{
    return 0;
}

int ZoDbUser::overwrite(QString)
{
    return 1;
}

ZoUser* ZoDbUser::insert(QHash<QString, QString> data)
{
    const QString id = data.value(QStringLiteral("Id"));
    const QString username = data.value(QStringLiteral("Username"));
    const QString password = data.value(QStringLiteral("Password"));
    const QString firstName = data.value(QStringLiteral("FirstName"));
    const QString lastName = data.value(QStringLiteral("LastName"));
    const QString email = data.value(QStringLiteral("Email"));
    const QString country = data.value(QStringLiteral("Country"));
    const QString stateProv = data.value(QStringLiteral("StateProv"));
    const QString locality = data.value(QStringLiteral("Locality"));

    std::vector<std::unique_ptr<ZoUser>> existing;
    for (ZoUser* user : select({{QStringLiteral("Username"), username}}))
        existing.emplace_back(user);
    if (!existing.empty()) {
        qCInfo(lcStore, "User already Exist");
        return nullptr;
    }

    WriteTransaction transaction(mDatabase);
    if (!transaction.isActive())
        return nullptr;
    if (!run(QStringLiteral("INSERT INTO u(uid, unm, p, gnm, fnm, e, cccid, sp, l, pr) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, NULL)"),
             {notNull(id), notNull(username), password, firstName, lastName, email, mHelper->countryId(country),
              stateProv, locality}))
        return nullptr;
    QList<ZoUserFluency*> fluencies;
    ZoDbUserFluency fluencyStore(mDatabase, mCache, mHelper);
    if (!fluencyStore.insertAll(id, data, QStringLiteral("FNonSpeaking"), &fluencies) || !transaction.commit()) {
        qDeleteAll(fluencies);
        return nullptr;
    }
    return new ZoUser(id, username, password, firstName, lastName, email, country, stateProv, locality,
                      QStringLiteral("0"), QStringLiteral("0"), fluencies);
}

QList<ZoUser*> ZoDbUser::select(QHash<QString, QString> criteria)
{
    const QString password = criteria.value(QStringLiteral("Password"));
    const QString username = criteria.value(QStringLiteral("Username"));
    // A name in any letter case (the rule in INetManager.h; names hold ASCII
    // only, where NOCASE folds every letter), the exact spelling first.
    QVariantList values{username};
    QString sql = QStringLiteral(
        "SELECT uid, unm, p, gnm, fnm, e, cccid, sp, l, pr FROM u WHERE unm = ? COLLATE NOCASE");
    if (!password.isEmpty()) {
        // Compared exactly, not with LIKE: under LIKE a "%" or "_" typed as the
        // password would match any password and sign anyone in.
        sql += QStringLiteral(" AND p = ?");
        values.append(password);
    }
    sql += QStringLiteral(" ORDER BY unm = ? DESC, rowid LIMIT 1");
    values.append(username);
    const QList<QVariantList> rows = fetch(sql, values);
    QList<ZoUser*> users;
    if (rows.isEmpty())
        return users;
    const QVariantList& row = rows.first();
    ZoDbUserFluency fluencyStore(mDatabase, mCache, mHelper);
    const QList<ZoUserFluency*> fluencies = fluencyStore.listForUser({{QStringLiteral("UserId"), text(row.at(0))}});
    users.append(new ZoUser(text(row.at(0)), text(row.at(1)), text(row.at(2)), text(row.at(3)), text(row.at(4)),
                            text(row.at(5)), mHelper->countryName(text(row.at(6))), text(row.at(7)), text(row.at(8)),
                            text(row.at(9)), QStringLiteral("0"), fluencies));
    return users;
}

int ZoDbUser::update(QHash<QString, QString> data)
{
    const QString id = data.value(QStringLiteral("Id"));
    WriteTransaction transaction(mDatabase);
    if (!transaction.isActive())
        return 0;
    if (!data.value(QStringLiteral("Username")).isEmpty()
        && !run(QStringLiteral("UPDATE u SET gnm = ?, fnm = ?, p = ?, e = ?, cccid = ?, sp = ?, l = ? "
                               "WHERE uid = ?"),
                {data.value(QStringLiteral("FirstName")), data.value(QStringLiteral("LastName")),
                 data.value(QStringLiteral("Password")), data.value(QStringLiteral("Email")),
                 mHelper->countryId(data.value(QStringLiteral("Country"))), data.value(QStringLiteral("StateProv")),
                 data.value(QStringLiteral("Locality")), id}))
        return 0;
    // The fluencies are replaced whole.
    if (!run(QStringLiteral("DELETE FROM uf WHERE uuid = ?"), {id}))
        return 0;
    QList<ZoUserFluency*> fluencies;
    ZoDbUserFluency fluencyStore(mDatabase, mCache, mHelper);
    const bool ok = fluencyStore.insertAll(id, data, QStringLiteral("FIsStudying"), &fluencies) && transaction.commit();
    qDeleteAll(fluencies);
    return ok ? 1 : 0;
}

int ZoDbUser::remove(QStringList userIds)
{
    int result = 1;
    for (const QString& id : userIds) {
        WriteTransaction transaction(mDatabase);
        const bool ok = transaction.isActive() && run(QStringLiteral("DELETE FROM u WHERE uid = ?"), {id})
                        && run(QStringLiteral("DELETE FROM uf WHERE uuid = ?"), {id}) && transaction.commit();
        if (!ok)
            result = 0;
    }
    return result;
}
