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
