#include "TableResource.h"

TableResource::TableResource(const char* context, QList<ResourceRow> rows, ResourceTable::Order order, QObject* parent)
    : QObject(parent)
    , mTable(context, std::move(rows), order)
{
}

TableResource::~TableResource() = default;

QString TableResource::idOf(QString name)
{
    return mTable.idOf(name);
}

QString TableResource::nameOf(QString id)
{
    return mTable.nameOf(id);
}

QStringList TableResource::listAll()
{
    return mTable.names();
}

QStringList TableResource::listIds()
{
    return mTable.ids();
}

void TableResource::release()
{
    mTable.release();
}
