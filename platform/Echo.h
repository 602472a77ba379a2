#pragma once

#include <QString>

// The lines the program prints by design (the sign-in steps, the bridge's own
// report), each flushed at once so that a watching script sees it in order.
// Everything else a maintainer may want to read goes through a logging
// category of its component.
class Echo
{
public:
    // The line and a newline on standard output.
    static void line(const QString& text);
    // The line and a newline on standard error.
    static void errorLine(const QString& text);
};
