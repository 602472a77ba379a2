#pragma once

#include "FakeBridge.h"
#include "INetManager.h"
#include "PluginLocator.h"
#include "TestTree.h"

#include <QFile>

// The real network manager over the fake bridge, for tests whose replies must
// be parsed for real. install() puts the real manager into the tree (in place
// of a scripted one) and points VIREDA_JAVABRIDGE at the fake bridge; the
// bridge's defaults start the network, so the manager comes up ready.
// Script replies with bridge().queue("sendQuery", FakePeerReplies::...).
// CMake: link ViredaFakeBridgeSupport and add_dependencies(<test> Courier).
class CourierOverFakeBridge
{
public:
    static QString pluginPath() { return QStringLiteral("plugins_dll/Managers/Courier.dll"); }

    // Before the manager is first loaded.
    bool install(TestTree& tree)
    {
        tree.removePlugin(QStringLiteral("Managers"), QStringLiteral("Courier.so"));
        if (!tree.addPlugin(TestTree::distPath() + QStringLiteral("/Plugins_dll/Managers/Courier.so"),
                            QStringLiteral("Managers")))
            return false;
        qputenv("VIREDA_JAVABRIDGE", QFile::encodeName(FakeBridge::fileName()));
        if (!mBridge.load())
            return false;
        mBridge.reset();
        return true;
    }

    FakeBridge& bridge() { return mBridge; }

    // The process-wide manager (loaded on first use), its start done.
    static INetManager* manager()
    {
        INetManager* net = PluginLocator::load<INetManager>(pluginPath());
        if (net)
            net->isNetworkReady(); // waits for the start begun on loading
        return net;
    }

    // Deletes the manager; the next manager() makes a new one.
    static void unload() { delete PluginLocator::instance(pluginPath()); }

private:
    FakeBridge mBridge;
};
