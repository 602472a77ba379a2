#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QString>

// What the recorder writes: RIFF/WAVE files with the canonical 44-byte header.
class WavFile
{
public:
    static constexpr int HeaderSize = 44;

    // The canonical 44-byte header for that format and amount of sample data.
    static QByteArray header(const QAudioFormat& format, quint32 dataBytes);

    // Length of the file's sound in milliseconds (from its header), 0 when it
    // does not play (see WavReader) or is past the limit.
    static qint64 durationMs(const QString& path);
};
