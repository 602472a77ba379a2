#include "StdoutCapture.h"

#include <cstdio>
#include <unistd.h>

StdoutCapture::StdoutCapture()
{
    std::fflush(stdout);
    if (!mFile.open())
        return;
    mSaved = ::dup(STDOUT_FILENO);
    ::dup2(mFile.handle(), STDOUT_FILENO);
}

StdoutCapture::~StdoutCapture()
{
    restore();
}

void StdoutCapture::restore()
{
    if (mSaved < 0)
        return;
    std::fflush(stdout);
    ::dup2(mSaved, STDOUT_FILENO);
    ::close(mSaved);
    mSaved = -1;
}

QByteArray StdoutCapture::text()
{
    restore();
    mFile.seek(0);
    return mFile.readAll();
}
