#pragma once

#include <string>

// The lines the bridge prints by design (each call's banner, the masked
// request and reply), each flushed at once so that they keep their order with
// the Java client's own output. The bridge is a plain library without Qt, so
// these stand apart from the program's echo helper, with the same streams.
class BridgeEcho
{
public:
    // The text and a newline on standard output.
    static void line(const std::string& text);
    // The text and a newline on standard error.
    static void errorLine(const std::string& text);
    // The text as it stands on standard output, no newline added.
    static void text(const std::string& text);
};
