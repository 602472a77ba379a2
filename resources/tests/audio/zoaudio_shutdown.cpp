// Ends the program while a recording and a playback run, as closing the main
// window can: the process must end cleanly and keep what was recorded.
#include "IAudio.h"
#include "PluginLocator.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 2)
        QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    IAudio* audio = PluginLocator::load<IAudio>(QStringLiteral("plugins_dll/Managers/ZoAudio.dll"));
    if (!audio)
        return 2;
    audio->record(1, 16000, 30);
    if (argc > 2)
        audio->play(QStringLiteral("Content"), QString::fromLocal8Bit(argv[2]));
    if (!audio->isRecording())
        return 3;
    QTimer::singleShot(500, &app, &QCoreApplication::quit);
    return app.exec();
}
