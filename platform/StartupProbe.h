#pragma once

#include <QObject>

class QWidget;

// Moments of the program's start for the start-up benchmark. Only when the
// environment variable VIREDA_STARTUP_PROBE is set, each is written to
// standard output as one line "startup-probe <name> <microseconds>": a moment
// on the system's monotonic clock, a duration as its length. Otherwise
// nothing is written and no widget is watched.
class StartupProbe : public QObject
{
    Q_OBJECT

public:
    static bool enabled();
    // Microseconds on the monotonic clock other processes read too.
    static qint64 now();
    // Writes the current moment under this name.
    static void mark(const char* name);
    // Writes a duration in microseconds under this name.
    static void report(const char* name, qint64 microseconds);
    // Writes the moment the widget is first painted under this name.
    static void markFirstPaint(QWidget* widget, const char* name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StartupProbe(QWidget* widget, const char* name);

    const char* mName;
};
