#pragma once

#include "IAudio.h"

#include <QAudioFormat>
#include <QObject>
#include <QPointer>

class QAudioSink;
class QAudioSource;
class QIODevice;
class QSaveFile;
class QTimer;
class WavStream;

// Recording and playback on the default audio devices. Recordings are WAV
// files of 16-bit PCM written to "Content/AudioTemp.tmp" (or the file given to
// recordInto); playback takes every sound WavReader accepts, read from its
// file as it plays. Both run on the event loop; isPlaying/isRecording turn
// false when the sound ends by itself or stop() ran.
class ZoAudio : public QObject, public IAudio
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IAudio_iid)
    Q_INTERFACES(IAudio)

public:
    static constexpr const char* ContentDir = "Content";
    static constexpr const char* TempName = "AudioTemp.tmp";
    static constexpr int MaxVolume = 99;
    static constexpr int MaxStoredNameLength = 64;

    ZoAudio();
    ~ZoAudio() override;

    bool isPlaying() override;
    bool isRecording() override;
    void stop() override;
    void play(QString directory, QString fileName) override;
    void record(int channels, int sampleRate, int maxSeconds) override;
    void storeRecording(QString result[2], const QString source[2], QString userName) override;
    int recordingLength() override;
    bool fileExists(QString directory, QString fileName) override;
    void removeFile(QString directory, QString fileName) override;
    void setPlaybackVolume(int volume) override;
    void setRecordVolume(int volume) override;
    int playbackVolume() override;
    int recordVolume() override;
    void recordInto(QString fileName, int channels, int sampleRate, int maxSeconds) override;

    // Ends recording and playback and deletes the audio objects at once.
    void releaseDevices();

    // The user name reduced to letters, digits, '-' and '_' (at most 32), "user" when none is left.
    static QString safeUserName(const QString& userName);

private slots:
    void readRecordedData();
    void sourceStateChanged();
    void sinkStateChanged();
    void finishRecording();
    void finishPlayback();

private:
    static QString pathOf(const QString& directory, const QString& fileName);
    // Starts a recording into ("Content", fileName), removing what was there.
    void startRecording(const QString& fileName, int channels, int sampleRate, int maxSeconds);
    // Writes the samples waiting at the input, up to the limit; false when writing failed.
    bool takeRecordedData();
    void abortRecording();
    // Ends the recording; keep=false throws its file away.
    void endRecording(bool keep);

    QPointer<QAudioSource> mSource;
    QPointer<QIODevice> mSourceIo;
    QSaveFile* mRecordFile = nullptr;
    QAudioFormat mRecordFormat;
    qint64 mRecordedBytes = 0;
    qint64 mMaxBytes = 0;
    bool mRecording = false;
    QTimer* mRecordTimer = nullptr;

    QPointer<QAudioSink> mSink;
    WavStream* mPlayStream = nullptr;
    bool mPlaying = false;
    QTimer* mPlayTimer = nullptr;

    int mPlaybackVolume = MaxVolume;
    int mRecordVolume = MaxVolume;
};
