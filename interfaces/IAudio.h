#pragma once

#include <QString>
#include <QtPlugin>

// Recording and playback. A sound file is named by (directory, file name)
// relative to the working directory; the current recording is
// ("Content", "AudioTemp.tmp").
class IAudio
{
public:
    virtual ~IAudio() = default;
    virtual bool isPlaying() = 0;
    virtual bool isRecording() = 0;
    virtual void stop() = 0;
    virtual void play(QString directory, QString fileName) = 0;
    virtual void record(int channels, int sampleRate, int maxSeconds) = 0;
    virtual void storeRecording(QString result[2], const QString source[2], QString userName) = 0;
    // Length of the current recording in milliseconds, 0 when there is none.
    virtual int recordingLength() = 0;
    virtual bool fileExists(QString directory, QString fileName) = 0;
    virtual void removeFile(QString directory, QString fileName) = 0;
    virtual void setPlaybackVolume(int volume) = 0;
    virtual void setRecordVolume(int volume) = 0;
    virtual int playbackVolume() = 0;
    virtual int recordVolume() = 0;
    // Records like record() into ("Content", fileName) instead of the current
    // recording, which stays untouched. fileName is a plain file name (no
    // folders); any other name records nothing.
    virtual void recordInto(QString fileName, int channels, int sampleRate, int maxSeconds) = 0;
};

#define IAudio_iid "AudioInterface/1.0"
Q_DECLARE_INTERFACE(IAudio, IAudio_iid)
