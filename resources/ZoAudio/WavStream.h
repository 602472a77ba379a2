#pragma once

#include "WavReader.h"

#include <QAudioFormat>
#include <QFile>
#include <QIODevice>

// The samples of a sound file as the audio output takes them: read from the
// file as they are asked for and converted on the way (24-bit to 32-bit
// integers, 64-bit floats to 32-bit ones, mu-law and A-law to 16-bit integers,
// or any of them to what the device plays).
class WavStream : public QIODevice
{
    Q_OBJECT

public:
    explicit WavStream(QObject* parent = nullptr);

    // The sample format closest to the sound's own that an output may take.
    static QAudioFormat::SampleFormat nativeFormat(const WavReader::Sound& sound);
    // sound's samples in bytes (whole frames) converted to format.
    static QByteArray convert(const WavReader::Sound& sound, const QByteArray& samples,
                              QAudioFormat::SampleFormat format);

    // Opens path's sound for reading as sampleFormat (nativeFormat() when
    // Unknown); false, with sound() saying why, when it does not play.
    bool openSound(const QString& path, QAudioFormat::SampleFormat sampleFormat = QAudioFormat::Unknown);
    const WavReader::Sound& sound() const { return mSound; }
    // What read() gives: the sound's rate and channels in the chosen sample format.
    QAudioFormat format() const { return mFormat; }

    bool isSequential() const override { return false; }
    qint64 size() const override;
    bool seek(qint64 pos) override;
    void close() override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    QFile mFile;
    WavReader::Sound mSound;
    QAudioFormat mFormat;
    qint64 mPos = 0; // in converted bytes
};
