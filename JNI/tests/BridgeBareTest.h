#pragma once

#include "BridgeApi.h"

#include <QObject>
#include <QTemporaryDir>

// The bridge with a client class that has none of the methods it calls.
class BridgeBareTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void initSucceeds();
    void missingMethods_data();
    void missingMethods();

private:
    BridgeApi mApi;
    QTemporaryDir mDir;
};
