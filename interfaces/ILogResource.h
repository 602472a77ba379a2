#pragma once

#include <QString>
#include <QtPlugin>

// The usage log.
class ILogResource
{
public:
    virtual ~ILogResource() = default;
    virtual void writeLine(QString line) = 0;
    virtual void closeLog() = 0;
};

#define ILogResource_iid "LogResourceInterface/1.0"
Q_DECLARE_INTERFACE(ILogResource, ILogResource_iid)
