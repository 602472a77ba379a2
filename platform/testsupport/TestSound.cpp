#include "TestSound.h"

#include <QtEndian>

namespace {

void putU16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putU32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

QByteArray TestSound::chunk(const char* id, const QByteArray& body)
{
    return chunk(id, body, quint32(body.size()));
}

QByteArray TestSound::chunk(const char* id, const QByteArray& body, quint32 size)
{
    QByteArray out(id, 4);
    putU32(out, size);
    out += body;
    if (body.size() % 2)
        out += '\0';
    return out;
}

QByteArray TestSound::format(quint16 tag, int channels, int rate, int bits, int blockAlign)
{
    const int align = blockAlign < 0 ? channels * bits / 8 : blockAlign;
    QByteArray out;
    putU16(out, tag);
    putU16(out, quint16(channels));
    putU32(out, quint32(rate));
    putU32(out, quint32(rate * align));
    putU16(out, quint16(align));
    putU16(out, quint16(bits));
    return out;
}

QByteArray TestSound::extensible(quint16 subTag, int channels, int rate, int bits)
{
    QByteArray out = format(0xFFFE, channels, rate, bits);
    putU16(out, 22);
    putU16(out, quint16(bits));         // valid bits
    putU32(out, channels == 2 ? 3 : 4); // speaker positions
    putU16(out, subTag);
    out.append("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    return out;
}

QByteArray TestSound::riff(const QByteArray& chunks)
{
    QByteArray out("RIFF");
    putU32(out, quint32(4 + chunks.size()));
    return out + "WAVE" + chunks;
}

QByteArray TestSound::wav(quint16 tag, int channels, int rate, int bits, const QByteArray& samples)
{
    return riff(chunk("fmt ", format(tag, channels, rate, bits)) + chunk("data", samples));
}

QByteArray TestSound::pcm8(const QByteArray& samples)
{
    return wav(1, 1, 8000, 8, samples);
}
