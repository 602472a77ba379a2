#pragma once

#include <QByteArray>

// Sound files for tests, made in a line or two: chunks in any order, any
// format tag, any sizes.
class TestSound
{
public:
    // A RIFF chunk: id, size, body, and the pad byte of an odd body.
    static QByteArray chunk(const char* id, const QByteArray& body);
    // The same with a size field saying size instead of the body's length.
    static QByteArray chunk(const char* id, const QByteArray& body, quint32 size);
    // The body of a fmt chunk; blockAlign -1 means channels * bits / 8.
    static QByteArray format(quint16 tag, int channels, int rate, int bits, int blockAlign = -1);
    // The body of a WAVE_FORMAT_EXTENSIBLE fmt chunk with that sub-format.
    static QByteArray extensible(quint16 subTag, int channels, int rate, int bits);
    // "RIFF", size, "WAVE" and the chunks.
    static QByteArray riff(const QByteArray& chunks);
    // A plain file: fmt, then data holding samples.
    static QByteArray wav(quint16 tag, int channels, int rate, int bits, const QByteArray& samples);
    // 8-bit mono samples at 8000 Hz: any bytes are such samples.
    static QByteArray pcm8(const QByteArray& samples);
};
