// Stores exercises one after another until it is killed; prints "stored <n>"
// after each commit. Run in a test tree as the working directory.
#include "IDbManager.h"
#include "PluginLocator.h"
#include "ZoExercise.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1)
        QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    IDbManager* store = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    if (!store)
        return 2;
    QTextStream out(stdout);
    for (int i = 1; i <= 1000000; ++i) {
        ZoExercise e(QHash<QString, QString>{{QStringLiteral("Term"), QStringLiteral("crash%1").arg(i)},
                                             {QStringLiteral("Language"), QStringLiteral("German")},
                                             {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                             {QStringLiteral("MediaName"), QStringLiteral("c%1.wav").arg(i)},
                                             {QStringLiteral("Creator"), QStringLiteral("writer")}});
        e.addField(QStringLiteral("Note"), {{QStringLiteral("Value"), QStringLiteral("note %1").arg(i)}});
        if (store->insertExercise(QStringLiteral("Exercise"), &e) != 1)
            return 1;
        out << "stored " << i << Qt::endl;
    }
    return 0;
}
