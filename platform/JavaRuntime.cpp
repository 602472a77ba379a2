#include "JavaRuntime.h"

#include "PlatformLog.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <dlfcn.h>

QString JavaRuntime::candidateHome()
{
    const QString env = qEnvironmentVariable("JAVA_HOME");
    if (!env.isEmpty())
        return QDir::cleanPath(env);
    const QString java = QStandardPaths::findExecutable(QStringLiteral("java"));
    if (java.isEmpty())
        return QString();
    const QString real = QFileInfo(java).canonicalFilePath();
    if (real.isEmpty())
        return QString();
    // <home>/bin/java
    QDir dir = QFileInfo(real).absoluteDir();
    if (!dir.cdUp())
        return QString();
    return dir.absolutePath();
}

QString JavaRuntime::jvmLibrary(const QString& home)
{
    return QDir(home).filePath(QStringLiteral("lib/server/libjvm.so"));
}

bool JavaRuntime::isUsableHome(const QString& home)
{
    if (home.isEmpty())
        return false;
    return QFileInfo(QDir(home).filePath(QStringLiteral("bin"))).isDir() && QFileInfo::exists(jvmLibrary(home));
}

int JavaRuntime::findJavaRuntime(QString* home, QString* runtimeLib)
{
    const QString candidate = candidateHome();
    if (!isUsableHome(candidate))
        return 0;
    if (home)
        *home = candidate;
    if (runtimeLib)
        *runtimeLib = jvmLibrary(candidate);
    return 1;
}

void JavaRuntime::extendPath(const QString& home)
{
    const QByteArray old = qgetenv("PATH");
    const QByteArray bin = QFile::encodeName(QDir(home).filePath(QStringLiteral("bin")));
    // An empty entry would put the working directory on PATH.
    if (old.isEmpty())
        qputenv("PATH", bin);
    else
        qputenv("PATH", old + (old.endsWith(':') ? QByteArray() : QByteArray(":")) + bin);
}

bool JavaRuntime::preloadJvm(const QString& home)
{
    const QByteArray file = QFile::encodeName(jvmLibrary(home));
    if (!dlopen(file.constData(), RTLD_NOW | RTLD_GLOBAL)) {
        const char* error = dlerror();
        qCDebug(lcPlatform, "Could not preload the Java VM library %s: %s", file.constData(), error ? error : "");
        return false;
    }
    return true;
}
