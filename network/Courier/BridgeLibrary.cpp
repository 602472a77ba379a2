#include "BridgeLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <vector>

namespace {

using IntFunction = int (*)();
using IntOfInt = int (*)(int);
using IntOfText = int (*)(const char*);
using IntOfTwoTexts = int (*)(const char*, const char*);
using UploadFunction = int (*)(const char*, const char**, int);
using TextOfText = const char* (*)(const char*);
using TextOfInt = const char* (*)(int);

QString fromBridge(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

BridgeLibrary::BridgeLibrary()
{
    mLibrary.setFileName(fileName());
}

BridgeLibrary::~BridgeLibrary() = default;

QString BridgeLibrary::fileName()
{
    const QString configured = qEnvironmentVariable(OverrideVariable);
    if (!configured.isEmpty())
        return QDir(configured).absolutePath();
    // A bare name would not search the program's directory on this platform.
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("Javabridge"));
}

bool BridgeLibrary::isLoaded()
{
    return mLibrary.isLoaded() || mLibrary.load();
}

QFunctionPointer BridgeLibrary::resolve(const char* name)
{
    return isLoaded() ? mLibrary.resolve(name) : nullptr;
}

int BridgeLibrary::call(const char* name, int failure)
{
    auto function = reinterpret_cast<IntFunction>(resolve(name));
    return function ? function() : failure;
}

int BridgeLibrary::call(const char* name, int handle, int failure)
{
    auto function = reinterpret_cast<IntOfInt>(resolve(name));
    return function ? function(handle) : failure;
}

int BridgeLibrary::call(const char* name, const QString& text, int failure)
{
    auto function = reinterpret_cast<IntOfText>(resolve(name));
    if (!function)
        return failure;
    const QByteArray bytes = text.toUtf8();
    return function(bytes.constData());
}

int BridgeLibrary::call(const char* name, const QString& first, const QString& second, int failure)
{
    auto function = reinterpret_cast<IntOfTwoTexts>(resolve(name));
    if (!function)
        return failure;
    const QByteArray firstBytes = first.toUtf8();
    const QByteArray secondBytes = second.toUtf8();
    return function(firstBytes.constData(), secondBytes.constData());
}

int BridgeLibrary::upload(const QString& xml, const QStringList& paths, int failure)
{
    auto function = reinterpret_cast<UploadFunction>(resolve("upload"));
    if (!function)
        return failure;
    // The copies live until the call returns.
    const QByteArray message = xml.toUtf8();
    std::vector<QByteArray> pathBytes;
    pathBytes.reserve(paths.size());
    std::vector<const char*> pathPointers;
    for (const QString& path : paths) {
        pathBytes.push_back(path.toUtf8());
        pathPointers.push_back(pathBytes.back().constData());
    }
    return function(message.constData(), pathPointers.empty() ? nullptr : pathPointers.data(),
                    int(pathPointers.size()));
}

QString BridgeLibrary::text(const char* name, const QString& argument, bool* isNull)
{
    auto function = reinterpret_cast<TextOfText>(resolve(name));
    const char* reply = nullptr;
    if (function) {
        const QByteArray bytes = argument.toUtf8();
        reply = function(bytes.constData());
    }
    if (isNull)
        *isNull = reply == nullptr;
    return fromBridge(reply);
}

QString BridgeLibrary::text(const char* name, int handle)
{
    auto function = reinterpret_cast<TextOfInt>(resolve(name));
    return function ? fromBridge(function(handle)) : QString();
}
