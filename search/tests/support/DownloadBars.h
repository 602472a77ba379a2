#pragma once

#include "IDbManager.h"
#include "IMainWindow.h"
#include "PluginLocator.h"
#include "ZoDbHelper.h"
#include "ZoDownload.h"

#include <memory>

// What the download bar tests share: the real store and bars on a test main window.
namespace DownloadBars {

inline IDbManager* store()
{
    return PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
}

// The local id of the stored manifest with that persistent id, 0 when none.
inline int storedIdOf(const QString& pid)
{
    return ZoDbHelper().localIdOf(pid);
}

// A shown bar for an exercise, reporting to host.
inline std::unique_ptr<ZoDownload> bar(const ZoExercise& exercise, IMainWindow* host)
{
    auto download = std::make_unique<ZoDownload>(exercise);
    download->setMainWindow(host);
    download->show();
    return download;
}

} // namespace DownloadBars
