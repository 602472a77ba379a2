#pragma once

#include <QString>

// Finds the Java runtime, extends PATH with its bin directory and makes the
// VM library loadable for the bridge.
class JavaRuntime
{
public:
    // JAVA_HOME when set and non-empty, else the home of the real path of
    // "java" on PATH; empty when neither gives one.
    static QString candidateHome();

    // The VM library of a Java home.
    static QString jvmLibrary(const QString& home);

    // True when <home>/bin and <home>/lib/server/libjvm.so both exist.
    static bool isUsableHome(const QString& home);

    // 1 when a usable home was found (home and VM library written), else 0.
    static int findJavaRuntime(QString* home, QString* runtimeLib);

    // Appends ":<home>/bin" to this process's PATH.
    static void extendPath(const QString& home);

    // Loads the VM library globally, so that a library linked against it
    // resolves it later. False (and a log line) on failure.
    static bool preloadJvm(const QString& home);
};
