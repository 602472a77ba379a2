#pragma once

#include "BridgeApi.h"

#include <QObject>
#include <QTemporaryDir>

// The bridge in a working directory without the client's jar.
class BridgeNoJarTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exportsBeforeInitAreSilent_data();
    void exportsBeforeInitAreSilent();
    void initWithoutJarFails();
    void exportsAfterFailedInitAreSilent_data();
    void exportsAfterFailedInitAreSilent();

private:
    void checkSilentFailure();

    BridgeApi mApi;
    QTemporaryDir mDir;
};
