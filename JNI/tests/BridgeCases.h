#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryDir;

// Rows shared by the bridge tests. Every row has the columns
// name (QByteArray), args (QByteArrayList) and result (QByteArray).
class BridgeCases
{
public:
    // The init banner and the four lines of a successful start.
    static QByteArray initLines();

    // Every export but init with the value it returns when nothing is started.
    static void addNotStartedRows();

    // Every export but init with its failure value and log lines when the
    // client lacks the method; extra columns out and err (QByteArray).
    static void addMissingMethodRows();

    // Makes dir the working directory, with jar (when given) copied in as
    // ViredaClientNetwork.jar, where the bridge's class path looks.
    static bool enterWorkDir(const QTemporaryDir& dir, const QString& jar);
};
