#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QString>

class QIODevice;

// RIFF/WAVE files of linear PCM (8, 16, 32 bit integer or 32 bit float).
class WavFile
{
public:
    static constexpr int HeaderSize = 44;

    // The canonical 44-byte header for that format and amount of sample data.
    static QByteArray header(const QAudioFormat& format, quint32 dataBytes);

    // Where a PCM WAV file's samples are and what they are.
    struct Header
    {
        QAudioFormat format;
        qint64 dataOffset = 0;
        qint64 dataBytes = 0; // whole frames, never past the device's end
    };

    // Reads only the chunk headers and the format of the WAV file on device
    // (open, seekable), from its start; false when it is no PCM WAV file or
    // holds no samples. Needs nothing but Qt's core and multimedia types, so
    // any check of a sound can use it.
    static bool readHeader(QIODevice* device, Header* header);

    // Splits a file's bytes into format and sample data; false when they are
    // no PCM WAV file or hold no samples.
    static bool parse(const QByteArray& bytes, QAudioFormat* format, QByteArray* samples);

    // Reads a file's header, then its samples alone; false when it is larger
    // than the gate's sound limit, or no PCM WAV file with samples.
    static bool read(const QString& path, QAudioFormat* format, QByteArray* samples);

    // Length of the file's sound in milliseconds (from its header), 0 when it
    // is unreadable or past the limit.
    static qint64 durationMs(const QString& path);
};
