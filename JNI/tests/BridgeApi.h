#pragma once

#include <QByteArray>
#include <QLibrary>
#include <QList>
#include <QString>

// The bridge's exports, resolved by name from the built library as its user
// does. call() runs any export with text arguments and gives its result as
// text: a number, "null", or "text:" followed by the returned bytes.
class BridgeApi
{
public:
    // Stands for a null pointer among the arguments of call().
    static const QByteArray kNull;

    bool load(QString* error);
    QByteArray call(const QByteArray& name, const QList<QByteArray>& args = {});
    // The address call() would use; null when the export is missing.
    QFunctionPointer resolve(const QByteArray& name);

    static QList<QByteArray> exportNames();

private:
    QLibrary mLibrary;
};
