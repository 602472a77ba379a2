#pragma once

#include "IAudio.h"

#include <QObject>
#include <QStringList>

class QTimer;

// A sound plug-in for the tabs' tests: no devices, timing set by properties
// (read from the environment at start):
//   playMs   (VIREDA_TEST_AUDIO_PLAY_MS, default 300): how long play() lasts; -1 until stop()
//   recordMs (VIREDA_TEST_AUDIO_RECORD_MS, default 500): how long record() lasts, at most
//            its maxSeconds; -1 until stop() or maxSeconds
//   failRecord (VIREDA_TEST_AUDIO_FAIL_RECORD=1): record() does not start
// Every call is appended to the property "calls" and, when VIREDA_TEST_AUDIO_LOG
// names a file, to that file. A finished recording is a silent 16 kHz mono WAV
// of the recorded length at "Content/AudioTemp.tmp" (recordInto: at the file
// it names in "Content"; it is logged as "recordInto <name> <channels> ...").
class ScriptedAudio : public QObject, public IAudio
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IAudio_iid)
    Q_INTERFACES(IAudio)
    Q_PROPERTY(int playMs MEMBER mPlayMs)
    Q_PROPERTY(int recordMs MEMBER mRecordMs)
    Q_PROPERTY(bool failRecord MEMBER mFailRecord)
    Q_PROPERTY(QStringList calls MEMBER mCalls)

public:
    ScriptedAudio();

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

private slots:
    void endPlayback();
    void endRecording();

private:
    void note(const QString& call);
    static QString pathOf(const QString& directory, const QString& fileName);
    void startRecording(const QString& fileName, int maxSeconds);

    int mPlayMs = 300;
    int mRecordMs = 500;
    bool mFailRecord = false;
    QStringList mCalls;

    bool mPlaying = false;
    bool mRecording = false;
    qint64 mRecordStart = 0;
    QString mRecordName;
    int mStored = 0;
    int mPlaybackVolume = 99;
    int mRecordVolume = 99;
    QTimer* mPlayTimer;
    QTimer* mRecordTimer;
};
