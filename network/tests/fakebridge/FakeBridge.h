#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

// The test's handle on the fake bridge library: the same file the network
// manager loads, so both see one scripted state and one call log.
class FakeBridge
{
public:
    struct Call
    {
        QString name;
        QStringList args;
    };

    static QString fileName();

    bool load();
    void reset();
    // A null reply stands for a null text.
    void queue(const QString& exportName, const QString& reply);
    void setDefault(const QString& exportName, const QString& reply);
    // Calls of the export wait, on their own thread, until release().
    void hold(const QString& exportName);
    void release();
    QList<Call> calls();
    // "name(arg, arg)" per call; long arguments are left out.
    QStringList callSummary();
    // Arguments of the last call of that export; empty when there was none.
    QStringList lastArgs(const QString& exportName);

private:
    QLibrary mLibrary;
    void (*mReset)() = nullptr;
    void (*mQueue)(const char*, const char*) = nullptr;
    void (*mSetDefault)(const char*, const char*) = nullptr;
    void (*mHold)(const char*) = nullptr;
    void (*mRelease)() = nullptr;
    int (*mCallCount)() = nullptr;
    const char* (*mCallName)(int) = nullptr;
    int (*mArgCount)(int) = nullptr;
    const char* (*mArg)(int, int) = nullptr;
};
