#pragma once

#include "IResource.h"

#include <QObject>
#include <QStringList>

// A small id-name table for tests; the table is chosen when the plug-in is
// built (TABLE_KIND), so one source gives the language, country, fluency-level,
// learner-level and tag plug-ins.
class CourierTestTable : public QObject, public IResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IResource_iid)
    Q_INTERFACES(IResource)

public:
    CourierTestTable();

    QString idOf(QString name) override;
    QString nameOf(QString id) override;
    QStringList listAll() override;
    QStringList listIds() override;
    void release() override;

private:
    QStringList mIds;
    QStringList mNames;
};
