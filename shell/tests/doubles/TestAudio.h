#pragma once

#include "IAudio.h"

#include <QObject>

// Sound without devices: keeps the two volumes (record 33, playback 66 at
// first) and treats sound files as plain files under the working directory.
// It plays while the application property "shellTestAudioPlaying" is true;
// stop() clears it.
class TestAudio : public QObject, public IAudio
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "AudioInterface/1.0")
    Q_INTERFACES(IAudio)

public:
    bool isPlaying() override;
    bool isRecording() override { return false; }
    void stop() override;
    void play(QString, QString) override {}
    void record(int, int, int) override {}
    void storeRecording(QString result[2], const QString source[2], QString) override;
    int recordingLength() override { return 0; }
    bool fileExists(QString directory, QString fileName) override;
    void removeFile(QString directory, QString fileName) override;
    void setPlaybackVolume(int volume) override;
    void setRecordVolume(int volume) override;
    int playbackVolume() override { return mPlayback; }
    int recordVolume() override { return mRecord; }
    // Writes an empty file ("Content", fileName) and logs "audio:recordInto <name>".
    void recordInto(QString fileName, int, int, int) override;

private:
    int mPlayback = 66;
    int mRecord = 33;
};
