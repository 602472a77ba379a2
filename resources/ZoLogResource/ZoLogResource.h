#pragma once

#include "ILogResource.h"

#include <QFile>
#include <QObject>

// The usage log: "Content/usage.log" under the working directory, opened for
// appending on the first line written, one time-stamped line per call,
// flushed at once.
class ZoLogResource : public QObject, public ILogResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ILogResource_iid)
    Q_INTERFACES(ILogResource)

public:
    static constexpr const char* FileName = "Content/usage.log";

    ZoLogResource();
    ~ZoLogResource() override;

    void writeLine(QString line) override;
    void closeLog() override;

private:
    QFile mFile;
};
