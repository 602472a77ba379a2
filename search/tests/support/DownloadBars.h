#pragma once

#include "IDbManager.h"
#include "IMainWindow.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "ZoDbHelper.h"
#include "ZoDownload.h"

#include <QSignalSpy>

#include <memory>

// What the download bar tests share: the real store and bars on a test main window.
namespace DownloadBars {

inline IDbManager* store()
{
    return PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
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

// Starts the job and waits until it ends (stored, failed or cancelled);
// false when it did not end within timeoutMs.
inline bool run(ZoDownload& download, int timeoutMs = 10000)
{
    QSignalSpy finished(&download, &ZoDownload::finished);
    download.start();
    return !finished.isEmpty() || finished.wait(timeoutMs);
}

} // namespace DownloadBars
