#include "BridgeEcho.h"

#include <cstdio>

namespace {

void write(std::FILE* stream, const std::string& text, bool newline)
{
    std::fputs(text.c_str(), stream);
    if (newline)
        std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

void BridgeEcho::line(const std::string& text)
{
    write(stdout, text, true);
}

void BridgeEcho::errorLine(const std::string& text)
{
    write(stderr, text, true);
}

void BridgeEcho::text(const std::string& text)
{
    write(stdout, text, false);
}
