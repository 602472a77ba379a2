// One process per case: a process can create one Java VM only, so the case
// to run is chosen by VIREDA_BRIDGE_CASE (scripted, bare, nojar, real).
#include "BridgeBareTest.h"
#include "BridgeNoJarTest.h"
#include "BridgeRealClientTest.h"
#include "BridgeScriptedTest.h"

#include <QCoreApplication>
#include <QTest>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray which = qgetenv("VIREDA_BRIDGE_CASE");
    std::unique_ptr<QObject> test;
    if (which == "scripted")
        test = std::make_unique<BridgeScriptedTest>();
    else if (which == "bare")
        test = std::make_unique<BridgeBareTest>();
    else if (which == "nojar")
        test = std::make_unique<BridgeNoJarTest>();
    else if (which == "real")
        test = std::make_unique<BridgeRealClientTest>();
    if (!test) {
        std::fprintf(stderr, "VIREDA_BRIDGE_CASE must be scripted, bare, nojar or real\n");
        return 2;
    }
    return QTest::qExec(test.get(), argc, argv);
}
