#pragma once

#include "IResource.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

// A resource plug-in for tests holding one small fixed table, chosen when it
// is built (VIREDA_TEST_TABLE). Each release() adds one to the property
// "releaseCount" of the instance.
class TableResource : public QObject, public IResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IResource_iid)
    Q_INTERFACES(IResource)
public:
    TableResource();

    QString idOf(QString name) override;
    QString nameOf(QString id) override;
    QStringList listAll() override;
    QStringList listIds() override;
    void release() override;

private:
    QList<QPair<QString, QString>> mRows; // id, name
};
