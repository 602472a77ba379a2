#pragma once

#include "IResource.h"

#include <QObject>

// The list of form plug-ins: the rows in the application property
// "shellTestFormRows", else in VIREDA_TEST_FORM_ROWS separated by ';'.
class TestPluginResource : public QObject, public IResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "ResourceInterface/1.0")
    Q_INTERFACES(IResource)

public:
    QString idOf(QString name) override;
    QString nameOf(QString id) override;
    QStringList listAll() override;
    QStringList listIds() override;
    void release() override;
};
