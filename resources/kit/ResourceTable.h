#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One entry of a look-up table: its id, its name as written in the source
// (the translation key) and other names that also identify it.
struct ResourceRow
{
    QString id;
    QString source;
    QStringList aliases;
};

// A table of ids and names whose names are translated on first use with the
// translators installed at that time. release(), or a change of the
// application's translators, makes the next call answer in the language
// installed then.
class ResourceTable
{
public:
    enum Order { RowOrder, NameOrder };

    // context: translation context of the names; nullptr keeps them untranslated.
    ResourceTable(const char* context, QList<ResourceRow> rows, Order order);

    // Id of a shown name, else of a source name or alias; "" when none.
    QString idOf(const QString& name);
    // Shown name of an id; "" when none.
    QString nameOf(const QString& id);
    QStringList names();
    QStringList ids();
    int count() const;
    bool contains(const QString& id) const;
    void release();

private:
    void load();

    const char* mContext;
    QList<ResourceRow> mRows;
    Order mOrder;
    QHash<QString, int> mRowById;
    QHash<QString, QString> mIdBySource;
    QHash<QString, QString> mIdByAlias;

    bool mLoaded = false;
    int mGeneration = 0;
    QStringList mNames;
    QStringList mIds;
    QHash<QString, QString> mNameById;
    QHash<QString, QString> mIdByName;
};
