#pragma once

#include "ILogResource.h"

#include <QObject>
#include <QStringList>

// A plug-in that remembers the lines written to it, so that a test can tell
// whether two loads reached one instance.
class LocatorProbe : public QObject, public ILogResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ILogResource_iid)
    Q_INTERFACES(ILogResource)

public:
    void writeLine(QString line) override { mLines << line; }
    void closeLog() override { mLines.clear(); }

private:
    QStringList mLines;
};
