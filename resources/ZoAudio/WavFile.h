#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QString>

// RIFF/WAVE files of linear PCM (8, 16, 32 bit integer or 32 bit float).
class WavFile
{
public:
    static constexpr int HeaderSize = 44;

    // The canonical 44-byte header for that format and amount of sample data.
    static QByteArray header(const QAudioFormat& format, quint32 dataBytes);

    // Splits a file's bytes into format and sample data; false when they are
    // no PCM WAV file or hold no samples.
    static bool parse(const QByteArray& bytes, QAudioFormat* format, QByteArray* samples);

    // Reads and parses a file.
    static bool read(const QString& path, QAudioFormat* format, QByteArray* samples);

    // Length of the file's sound in milliseconds, 0 when it is unreadable.
    static qint64 durationMs(const QString& path);
};
