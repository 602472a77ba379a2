// Runs the start-up decision on one database file; the crash test kills it.
#include "ZoDbFileManager.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    return ZoDbFileManager::ensureDatabase(QString::fromLocal8Bit(argv[1])) == ZoDbFileManager::Ready ? 0 : 1;
}
