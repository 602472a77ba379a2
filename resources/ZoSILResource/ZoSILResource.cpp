#include "ZoSILResource.h"

#include "LanguageData.h"

#include <QSet>
#include <QStandardItemModel>

namespace {

// 0 exact, 1 starts with, 2 contains, -1 no match (letter case ignored).
int matchRank(const QString& candidate, const QString& text)
{
    if (candidate.compare(text, Qt::CaseInsensitive) == 0)
        return 0;
    if (candidate.startsWith(text, Qt::CaseInsensitive))
        return 1;
    if (candidate.contains(text, Qt::CaseInsensitive))
        return 2;
    return -1;
}

QStandardItem* readOnlyItem(const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

} // namespace

ZoSILResource::ZoSILResource()
    : mLanguages(LanguageData::LanguageContext, LanguageData::languageRows(), ResourceTable::NameOrder)
    , mCountries(LanguageData::CountryContext, LanguageData::countryRows(), ResourceTable::NameOrder)
{
}

ZoSILResource::~ZoSILResource() = default;

QString ZoSILResource::idOf(QString name)
{
    return mLanguages.idOf(name);
}

QString ZoSILResource::nameOf(QString id)
{
    return mLanguages.nameOf(id);
}

QString ZoSILResource::countryIdOf(QString countryName)
{
    return mCountries.idOf(countryName);
}

QString ZoSILResource::countryNameOf(QString countryId)
{
    return mCountries.nameOf(countryId);
}

int ZoSILResource::languageCount()
{
    return mLanguages.ids().size();
}

int ZoSILResource::countryCount()
{
    return mCountries.ids().size();
}

QAbstractItemModel* ZoSILResource::languageModel()
{
    return idNameModel(mLanguages, mLanguages.ids());
}

QAbstractItemModel* ZoSILResource::findLanguages(QString text)
{
    return idNameModel(mLanguages, matching(mLanguages, mLanguages.ids(), text, true));
}

QAbstractItemModel* ZoSILResource::findCountries(QString languageId, QString languageName, QString text)
{
    const QString id = languageIdFor(languageId, languageName);
    const QSet<QString> spoken = [&] {
        const QStringList list = LanguageData::countriesOf(id);
        return QSet<QString>(list.begin(), list.end());
    }();

    // Countries where the language is spoken, in the table's order; every
    // country when none is known.
    QStringList candidates;
    const QStringList all = mCountries.ids();
    for (const QString& country : all) {
        if (spoken.isEmpty() || spoken.contains(country))
            candidates.append(country);
    }
    QStringList found = matching(mCountries, candidates, text, false);
    // Typing a country the data does not list still finds it.
    if (found.isEmpty() && !text.trimmed().isEmpty())
        found = matching(mCountries, all, text, false);
    return idNameModel(mCountries, found);
}

QAbstractItemModel* ZoSILResource::findAlternateNames(QString languageId, QString languageName, QString countryId,
                                                      QString countryName, QString text)
{
    const QString id = languageIdFor(languageId, languageName);
    QString country = mCountries.contains(countryId) ? countryId : mCountries.idOf(countryName);

    QStringList names;
    if (!id.isEmpty()) {
        names.append(mLanguages.nameOf(id));
        names += LanguageData::alternateNames(id, country);
    } else if (!languageName.trimmed().isEmpty()) {
        names.append(languageName.trimmed());
    }
    names.removeAll(QString());
    names.removeDuplicates();

    const QString needle = text.trimmed();
    auto* model = new QStandardItemModel(0, 1);
    model->setHorizontalHeaderLabels({tr("Name")});
    for (const QString& name : std::as_const(names)) {
        if (needle.isEmpty() || name.contains(needle, Qt::CaseInsensitive))
            model->appendRow(readOnlyItem(name));
    }
    return model;
}

QString ZoSILResource::languageIdFor(const QString& id, const QString& name)
{
    if (mLanguages.contains(id))
        return id;
    return mLanguages.idOf(name);
}

QStringList ZoSILResource::matching(ResourceTable& table, const QStringList& ids, const QString& text, bool withAliases)
{
    const QString needle = text.trimmed();
    if (needle.isEmpty())
        return ids;
    QList<QStringList> ranked(3);
    const QList<ResourceRow> rows = withAliases ? LanguageData::languageRows() : QList<ResourceRow>();
    QHash<QString, QStringList> aliases;
    for (const ResourceRow& row : rows) {
        if (!row.aliases.isEmpty() || row.source != table.nameOf(row.id))
            aliases.insert(row.id, QStringList(row.aliases) << row.source);
    }
    for (const QString& id : ids) {
        int best = matchRank(table.nameOf(id), needle);
        for (const QString& other : aliases.value(id)) {
            const int rank = matchRank(other, needle);
            if (rank >= 0 && (best < 0 || rank < best))
                best = rank;
        }
        if (best >= 0)
            ranked[best].append(id);
    }
    return ranked[0] + ranked[1] + ranked[2];
}

QStandardItemModel* ZoSILResource::idNameModel(ResourceTable& table, const QStringList& ids)
{
    auto* model = new QStandardItemModel(0, 2);
    model->setHorizontalHeaderLabels({tr("Id"), tr("Name")});
    for (const QString& id : ids)
        model->appendRow({readOnlyItem(id), readOnlyItem(table.nameOf(id))});
    return model;
}
