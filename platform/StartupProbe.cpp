#include "StartupProbe.h"

#include "Echo.h"

#include <QEvent>
#include <QWidget>

#include <chrono>

bool StartupProbe::enabled()
{
    static const bool on = qEnvironmentVariableIsSet("VIREDA_STARTUP_PROBE");
    return on;
}

qint64 StartupProbe::now()
{
    // steady_clock is CLOCK_MONOTONIC here, the same for every process.
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void StartupProbe::mark(const char* name)
{
    report(name, now());
}

void StartupProbe::report(const char* name, qint64 microseconds)
{
    if (!enabled())
        return;
    Echo::line(QStringLiteral("startup-probe %1 %2").arg(QLatin1String(name)).arg(microseconds));
}

void StartupProbe::markFirstPaint(QWidget* widget, const char* name)
{
    if (enabled() && widget)
        new StartupProbe(widget, name);
}

StartupProbe::StartupProbe(QWidget* widget, const char* name)
    : QObject(widget)
    , mName(name)
{
    widget->installEventFilter(this);
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        // Marked once the paint is done: the widget is on the screen then.
        watched->removeEventFilter(this);
        watched->event(event);
        mark(mName);
        deleteLater();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
