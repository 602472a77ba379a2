#include "Echo.h"

#include <cstdio>

namespace {

void writeTo(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

void Echo::line(const QString& text)
{
    writeTo(stdout, text);
}

void Echo::errorLine(const QString& text)
{
    writeTo(stderr, text);
}
