#include "TestAudio.h"

#include "CallLog.h"

#include <QDir>
#include <QFile>

bool TestAudio::isPlaying()
{
    return qApp->property("shellTestAudioPlaying").toBool();
}

void TestAudio::stop()
{
    CallLog::append(QStringLiteral("audio:stop"));
    qApp->setProperty("shellTestAudioPlaying", false);
}

void TestAudio::storeRecording(QString result[2], const QString source[2], QString)
{
    result[0] = source[0];
    result[1] = source[1];
}

bool TestAudio::fileExists(QString directory, QString fileName)
{
    return QFile::exists(QDir(directory).filePath(fileName));
}

void TestAudio::removeFile(QString directory, QString fileName)
{
    CallLog::append(QStringLiteral("audio:removeFile ") + directory + QLatin1Char('/') + fileName);
    QFile::remove(QDir(directory).filePath(fileName));
}

void TestAudio::setPlaybackVolume(int volume)
{
    mPlayback = volume;
}

void TestAudio::setRecordVolume(int volume)
{
    mRecord = volume;
}

void TestAudio::recordInto(QString fileName, int, int, int)
{
    CallLog::append(QStringLiteral("audio:recordInto ") + fileName);
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('/')))
        return;
    QDir().mkpath(QStringLiteral("Content"));
    QFile file(QDir(QStringLiteral("Content")).filePath(fileName));
    if (file.open(QIODevice::WriteOnly))
        file.close();
}
