#include "BridgeBareTest.h"

#include "BridgeCases.h"
#include "StdCapture.h"

#include <QTest>

void BridgeBareTest::initTestCase()
{
    QString error;
    QVERIFY2(mApi.load(&error), qPrintable(error));
    QVERIFY(BridgeCases::enterWorkDir(mDir, QStringLiteral(VIREDA_BARE_JAR)));
}

void BridgeBareTest::initSucceeds()
{
    StdCapture capture;
    const QByteArray got = mApi.call("init");
    capture.finish();
    QCOMPARE(got, QByteArray("1"));
    QCOMPARE(capture.out(), BridgeCases::initLines());
    QCOMPARE(capture.err(), QByteArray());
}

void BridgeBareTest::missingMethods_data()
{
    BridgeCases::addMissingMethodRows();
}

void BridgeBareTest::missingMethods()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArrayList, args);
    QFETCH(QByteArray, result);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    StdCapture capture;
    const QByteArray got = mApi.call(name, args);
    capture.finish();
    QCOMPARE(got, result);
    QCOMPARE(capture.out(), out);
    QCOMPARE(capture.err(), err);
}
