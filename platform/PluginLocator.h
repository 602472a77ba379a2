#pragma once

#include <QObject>
#include <QPluginLoader>
#include <QString>

// Finds and loads plug-ins named the way callers write them, such as
// "plugins_dll/Managers/Storekeeper.dll": ".dll" becomes ".so", the plug-in
// directory is matched without regard to letter case, and relative names are
// made absolute against the working directory.
class PluginLocator
{
public:
    // The name with this platform's separators and file name (".dll" becomes ".so").
    static QString fileName(const QString& name);

    // The file name with the plug-in folder spelled as in the program's tree,
    // "Plugins_dll/Managers/Courier.so": the name the program lists its plug-ins by.
    static QString treeName(const QString& name);

    // Absolute file name on this platform; the mapped name when no such file exists.
    static QString resolve(const QString& name);

    // The plug-in's root instance, or null when it is missing or does not load.
    static QObject* instance(const QString& name);

    // The root instance cast to an interface, or null.
    template <class T>
    static T* load(const QString& name)
    {
        return qobject_cast<T*>(instance(name));
    }
};
