#include "ZoDbUserFluency.h"

#include "IdList.h"
#include "ZoDbHelper.h"
#include "ZoUserFluency.h"

ZoDbUserFluency::ZoDbUserFluency(QSqlDatabase database, StatementCache* cache, ZoDbHelper* helper)
    : SqlRunner(database, cache, helper)
{
}

ZoDbUserFluency::~ZoDbUserFluency() = default;

int ZoDbUserFluency::check(QString)
{
    return 1;
}

ZoUserFluency* ZoDbUserFluency::insert(QString userId, QHash<QString, QString> fluency)
{
    const QString language = fluency.value(QStringLiteral("Language"));
    const QString localeDesc = fluency.value(QStringLiteral("LocaleDesc"));
    const QString level = fluency.value(QStringLiteral("FluencyLevel"));
    const QString country = fluency.value(QStringLiteral("Country"));
    const QString stateProv = fluency.value(QStringLiteral("StateProv"));
    const QString locality = fluency.value(QStringLiteral("Locality"));
    const QString studying = fluency.value(QStringLiteral("IsStudying"));
    if (!run(QStringLiteral("INSERT INTO uf (ufid, uuid, lclid, flflid, cccid, sp, l, ns, ld) "
                            "VALUES (NULL, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {notNull(userId), mHelper->languageIdOrCode(language), mHelper->fluencyLevelId(level),
              mHelper->countryId(country), stateProv, locality, studying, localeDesc}))
        return nullptr;
    return new ZoUserFluency(userId, language, localeDesc, level, country, stateProv, locality, studying);
}

bool ZoDbUserFluency::insertAll(const QString& userId, const QHash<QString, QString>& data, const QString& studyingKey,
                                QList<ZoUserFluency*>* inserted)
{
    for (int i = 1;; ++i) {
        const QString n = QString::number(i);
        const QString language = data.value(QStringLiteral("FLanguage") + n);
        if (language.isEmpty())
            return true;
        ZoUserFluency* fluency =
            insert(userId, {{QStringLiteral("Language"), language},
                            {QStringLiteral("LocaleDesc"), data.value(QStringLiteral("FLocaleDesc") + n)},
                            {QStringLiteral("FluencyLevel"), data.value(QStringLiteral("FFluencyLevel") + n)},
                            {QStringLiteral("Country"), data.value(QStringLiteral("FCountry") + n)},
                            {QStringLiteral("StateProv"), data.value(QStringLiteral("FStateProv") + n)},
                            {QStringLiteral("Locality"), data.value(QStringLiteral("FLocality") + n)},
                            {QStringLiteral("IsStudying"), data.value(studyingKey + n)}});
        if (!fluency)
            return false;
        inserted->append(fluency);
    }
}

int ZoDbUserFluency::remove(QStringList fluencyIds)
{
    int result = 1;
    for (const QString& text : fluencyIds) {
        qint64 id = 0;
        if (!IdList::toId(text, &id) || !run(QStringLiteral("DELETE FROM uf WHERE ufid = ?"), {id}))
            result = 0;
    }
    return result;
}

QList<ZoUserFluency*> ZoDbUserFluency::listForUser(QHash<QString, QString> criteria)
{
    const QList<QVariantList> rows =
        fetch(QStringLiteral("SELECT ufid, lclid, flflid, cccid, sp, l, ns, ld FROM uf WHERE uuid = ? "
                             "ORDER BY ufid LIMIT 1000"),
              {criteria.value(QStringLiteral("UserId"))});
    QList<ZoUserFluency*> fluencies;
    for (const QVariantList& row : rows) {
        fluencies.append(new ZoUserFluency(text(row.at(0)), mHelper->languageNameOrCode(text(row.at(1))),
                                           text(row.at(7)), mHelper->fluencyLevelName(text(row.at(2))),
                                           mHelper->countryName(text(row.at(3))), text(row.at(4)), text(row.at(5)),
                                           text(row.at(6))));
    }
    return fluencies;
}
