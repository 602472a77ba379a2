#pragma once

#include <QLibrary>
#include <QString>

// The Java bridge library, loaded by absolute path: the bridge next to the
// program, or the file named by the environment variable VIREDA_JAVABRIDGE.
// Exports are looked up by name at every call; a missing library or export
// gives the caller's failure value. Text crosses as UTF-8.
class BridgeLibrary
{
public:
    static constexpr const char* OverrideVariable = "VIREDA_JAVABRIDGE";

    BridgeLibrary();
    // Never unloads: the Java virtual machine lives until the process ends.
    ~BridgeLibrary();

    static QString fileName();
    bool isLoaded();

    int call(const char* name, int failure);
    int call(const char* name, int handle, int failure);
    int call(const char* name, const QString& text, int failure);
    int call(const char* name, const QString& first, const QString& second, int failure);
    int upload(const QString& xml, const QStringList& paths, int failure);
    // A null text when the export is missing or returns null.
    QString text(const char* name, const QString& argument, bool* isNull = nullptr);
    QString text(const char* name, int handle);

private:
    QFunctionPointer resolve(const char* name);

    QLibrary mLibrary;
};
