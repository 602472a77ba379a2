#pragma once

#include <QByteArray>
#include <cstdio>

// Captures what this process writes to standard output and standard error
// (C and Java alike) between construction and finish().
class StdCapture
{
public:
    StdCapture();
    ~StdCapture();
    StdCapture(const StdCapture&) = delete;
    StdCapture& operator=(const StdCapture&) = delete;

    void finish();
    QByteArray out() const { return mOut; }
    QByteArray err() const { return mErr; }

private:
    struct Stream
    {
        int fd = -1;
        int saved = -1;
        std::FILE* file = nullptr;
    };
    static void begin(Stream& s, int fd);
    static QByteArray end(Stream& s);

    Stream mStdout;
    Stream mStderr;
    QByteArray mOut;
    QByteArray mErr;
    bool mActive = false;
};
