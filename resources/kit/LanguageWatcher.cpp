#include "LanguageWatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

int LanguageWatcher::generation()
{
    static QPointer<LanguageWatcher> watcher;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return 0;
    if (!watcher) {
        // A child of the application: it goes when the application goes.
        watcher = new LanguageWatcher;
        watcher->setParent(app);
        app->installEventFilter(watcher);
    }
    return watcher->mGeneration;
}

bool LanguageWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && watched == QCoreApplication::instance())
        ++mGeneration;
    return false;
}
