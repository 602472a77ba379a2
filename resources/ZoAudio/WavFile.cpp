#include "WavFile.h"

#include "WavReader.h"

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

int bitsOf(QAudioFormat::SampleFormat f)
{
    switch (f) {
    case QAudioFormat::UInt8:
        return 8;
    case QAudioFormat::Int16:
        return 16;
    case QAudioFormat::Int32:
    case QAudioFormat::Float:
        return 32;
    default:
        return 0;
    }
}

} // namespace

QByteArray WavFile::header(const QAudioFormat& format, quint32 dataBytes)
{
    const int bits = bitsOf(format.sampleFormat());
    const int channels = format.channelCount();
    const quint32 rate = quint32(format.sampleRate());
    const quint16 blockAlign = quint16(channels * bits / 8);
    QByteArray out;
    out.reserve(HeaderSize);
    out.append("RIFF", 4);
    putU32(out, 36 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    putU32(out, 16);
    putU16(out, format.sampleFormat() == QAudioFormat::Float ? 3 : 1);
    putU16(out, quint16(channels));
    putU32(out, rate);
    putU32(out, rate * blockAlign);
    putU16(out, blockAlign);
    putU16(out, quint16(bits));
    out.append("data", 4);
    putU32(out, dataBytes);
    return out;
}

qint64 WavFile::durationMs(const QString& path)
{
    const WavReader::Sound sound = WavReader::readFile(path);
    return sound.isPlayable() ? sound.durationMs() : 0;
}
