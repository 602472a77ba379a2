#pragma once

#include "IResource.h"
#include "ResourceTable.h"

#include <QObject>

// The root object of a table plug-in: IResource over one ResourceTable.
class TableResource : public QObject, public IResource
{
    Q_OBJECT
    Q_INTERFACES(IResource)

public:
    TableResource(const char* context, QList<ResourceRow> rows, ResourceTable::Order order, QObject* parent = nullptr);
    ~TableResource() override;

    QString idOf(QString name) override;
    QString nameOf(QString id) override;
    QStringList listAll() override;
    QStringList listIds() override;
    void release() override;

protected:
    ResourceTable mTable;
};
