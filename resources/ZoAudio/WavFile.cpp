#include "WavFile.h"

#include <QFile>
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

quint16 u16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
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

bool WavFile::parse(const QByteArray& bytes, QAudioFormat* format, QByteArray* samples)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return false;
    const char* d = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype pos = 12;
    bool haveFormat = false;
    QAudioFormat fmt;
    int blockAlign = 0;
    while (pos + 8 <= size) {
        const QByteArray id(d + pos, 4);
        const quint32 chunkSize = u32(d + pos + 4);
        const qsizetype body = pos + 8;
        const qsizetype available = size - body;
        if (id == "fmt ") {
            if (chunkSize < 16 || available < 16)
                return false;
            quint16 tag = u16(d + body);
            const int channels = u16(d + body + 2);
            const int rate = int(u32(d + body + 4));
            blockAlign = u16(d + body + 12);
            const int bits = u16(d + body + 14);
            if (tag == 0xFFFE && chunkSize >= 40 && available >= 40)
                tag = u16(d + body + 24); // sub-format of an extensible header
            QAudioFormat::SampleFormat sf = QAudioFormat::Unknown;
            if (tag == 1 && bits == 8)
                sf = QAudioFormat::UInt8;
            else if (tag == 1 && bits == 16)
                sf = QAudioFormat::Int16;
            else if (tag == 1 && bits == 32)
                sf = QAudioFormat::Int32;
            else if (tag == 3 && bits == 32)
                sf = QAudioFormat::Float;
            if (sf == QAudioFormat::Unknown || channels < 1 || channels > 8 || rate <= 0
                || blockAlign != channels * bits / 8)
                return false;
            fmt.setSampleFormat(sf);
            fmt.setChannelCount(channels);
            fmt.setSampleRate(rate);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return false;
            // A header still holding its placeholder size: take what is there.
            qsizetype length = qMin<qsizetype>(chunkSize, available);
            length -= length % blockAlign;
            if (length <= 0)
                return false;
            if (format)
                *format = fmt;
            if (samples)
                *samples = bytes.mid(body, length);
            return true;
        }
        pos = body + chunkSize + (chunkSize & 1);
    }
    return false;
}

bool WavFile::read(const QString& path, QAudioFormat* format, QByteArray* samples)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return parse(file.readAll(), format, samples);
}

qint64 WavFile::durationMs(const QString& path)
{
    QAudioFormat format;
    QByteArray samples;
    if (!read(path, &format, &samples))
        return 0;
    return format.durationForBytes(qint32(samples.size())) / 1000;
}
