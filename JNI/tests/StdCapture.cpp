#include "StdCapture.h"

#include <unistd.h>

StdCapture::StdCapture()
{
    std::fflush(stdout);
    std::fflush(stderr);
    begin(mStdout, STDOUT_FILENO);
    begin(mStderr, STDERR_FILENO);
    mActive = true;
}

StdCapture::~StdCapture()
{
    finish();
}

void StdCapture::begin(Stream& s, int fd)
{
    s.fd = fd;
    s.saved = ::dup(fd);
    s.file = std::tmpfile();
    if (s.file)
        ::dup2(fileno(s.file), fd);
}

QByteArray StdCapture::end(Stream& s)
{
    QByteArray data;
    if (s.saved >= 0) {
        ::dup2(s.saved, s.fd);
        ::close(s.saved);
        s.saved = -1;
    }
    if (s.file) {
        std::rewind(s.file);
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, s.file)) > 0)
            data.append(buffer, static_cast<qsizetype>(n));
        std::fclose(s.file);
        s.file = nullptr;
    }
    return data;
}

void StdCapture::finish()
{
    if (!mActive)
        return;
    std::fflush(stdout);
    std::fflush(stderr);
    mOut = end(mStdout);
    mErr = end(mStderr);
    mActive = false;
}
