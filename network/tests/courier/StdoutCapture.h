#pragma once

#include <QByteArray>
#include <QTemporaryFile>

// Sends this process's standard output to a file until text() is called.
class StdoutCapture
{
public:
    StdoutCapture();
    ~StdoutCapture();
    // Everything written since construction; restores standard output.
    QByteArray text();

private:
    void restore();

    QTemporaryFile mFile;
    int mSaved = -1;
};
