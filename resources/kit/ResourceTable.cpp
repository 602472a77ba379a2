#include "ResourceTable.h"

#include "LanguageWatcher.h"

#include <QCollator>
#include <QCoreApplication>
#include <QSet>

#include <algorithm>

ResourceTable::ResourceTable(const char* context, QList<ResourceRow> rows, Order order)
    : mContext(context)
    , mRows(std::move(rows))
    , mOrder(order)
{
    QSet<QString> ambiguous;
    for (int i = 0; i < mRows.size(); ++i) {
        const ResourceRow& row = mRows.at(i);
        mRowById.insert(row.id, i);
        mIdBySource.insert(row.source, row.id);
    }
    if (mContext)
        LanguageWatcher::generation(); // watch from now on
    // An alias counts only when it names one entry and is nobody's source name.
    for (const ResourceRow& row : std::as_const(mRows)) {
        for (const QString& alias : row.aliases) {
            if (alias.isEmpty() || mIdBySource.contains(alias))
                continue;
            auto it = mIdByAlias.constFind(alias);
            if (it != mIdByAlias.constEnd() && it.value() != row.id)
                ambiguous.insert(alias);
            else
                mIdByAlias.insert(alias, row.id);
        }
    }
    for (const QString& alias : std::as_const(ambiguous))
        mIdByAlias.remove(alias);
}

void ResourceTable::load()
{
    const int generation = mContext ? LanguageWatcher::generation() : 0;
    if (mLoaded && generation == mGeneration)
        return;
    mLoaded = true;
    mGeneration = generation;
    mNames.clear();
    mIds.clear();
    mNameById.clear();
    mIdByName.clear();

    QList<QPair<QString, QString>> entries; // name, id
    entries.reserve(mRows.size());
    for (const ResourceRow& row : std::as_const(mRows)) {
        const QByteArray key = row.source.toUtf8();
        QString name = mContext ? QCoreApplication::translate(mContext, key.constData()) : row.source;
        // A translation that repeats another entry's name would make idOf ambiguous.
        if (mIdByName.contains(name))
            name = row.source;
        if (mIdByName.contains(name))
            continue;
        mIdByName.insert(name, row.id);
        mNameById.insert(row.id, name);
        entries.append({name, row.id});
    }
    if (mOrder == NameOrder) {
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(entries.begin(), entries.end(), [&collator](const auto& a, const auto& b) {
            const int c = collator.compare(a.first, b.first);
            return c != 0 ? c < 0 : a.first < b.first;
        });
    }
    for (const auto& entry : std::as_const(entries)) {
        mNames.append(entry.first);
        mIds.append(entry.second);
    }
}

QString ResourceTable::idOf(const QString& name)
{
    load();
    if (auto it = mIdByName.constFind(name); it != mIdByName.constEnd())
        return it.value();
    if (auto it = mIdBySource.constFind(name); it != mIdBySource.constEnd())
        return it.value();
    return mIdByAlias.value(name, QStringLiteral(""));
}

QString ResourceTable::nameOf(const QString& id)
{
    load();
    return mNameById.value(id, QStringLiteral(""));
}

QStringList ResourceTable::names()
{
    load();
    return mNames;
}

QStringList ResourceTable::ids()
{
    load();
    return mIds;
}

int ResourceTable::count() const
{
    return mRows.size();
}

bool ResourceTable::contains(const QString& id) const
{
    return mRowById.contains(id);
}

void ResourceTable::release()
{
    mLoaded = false;
    mNames.clear();
    mIds.clear();
    mNameById.clear();
    mIdByName.clear();
}
