#pragma once

#include <QString>
#include <QStringList>
#include <QtPlugin>

// A table of ids and names.
class IResource
{
public:
    virtual ~IResource() = default;
    virtual QString idOf(QString name) = 0;
    virtual QString nameOf(QString id) = 0;
    virtual QStringList listAll() = 0;
    // Every id, in the order of listAll().
    virtual QStringList listIds() = 0;
    virtual void release() = 0;
};

#define IResource_iid "ResourceInterface/1.0"
Q_DECLARE_INTERFACE(IResource, IResource_iid)
