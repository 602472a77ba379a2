#include "BridgeNoJarTest.h"

#include "BridgeCases.h"
#include "StdCapture.h"

#include <QTest>

void BridgeNoJarTest::initTestCase()
{
    QString error;
    QVERIFY2(mApi.load(&error), qPrintable(error));
    QVERIFY(BridgeCases::enterWorkDir(mDir, QString()));
}

void BridgeNoJarTest::checkSilentFailure()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArrayList, args);
    QFETCH(QByteArray, result);
    StdCapture capture;
    const QByteArray got = mApi.call(name, args);
    capture.finish();
    QCOMPARE(got, result);
    QCOMPARE(capture.out(), QByteArray());
    QCOMPARE(capture.err(), QByteArray());
}

void BridgeNoJarTest::exportsBeforeInitAreSilent_data()
{
    BridgeCases::addNotStartedRows();
}

void BridgeNoJarTest::exportsBeforeInitAreSilent()
{
    checkSilentFailure();
}

void BridgeNoJarTest::initWithoutJarFails()
{
    StdCapture capture;
    const QByteArray got = mApi.call("init");
    capture.finish();
    QCOMPARE(got, QByteArray("-999"));
    QCOMPARE(capture.out(), QByteArray("\n-=init()=-\nInitalized the JVM\n"));
    QCOMPARE(capture.err(), QByteArray("Can't find class: ViredaClientNetwork\n"));
}

void BridgeNoJarTest::exportsAfterFailedInitAreSilent_data()
{
    BridgeCases::addNotStartedRows();
}

void BridgeNoJarTest::exportsAfterFailedInitAreSilent()
{
    checkSilentFailure();
}
