#include "WavFile.h"

#include "ContentGate.h"

#include <QBuffer>
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

bool WavFile::readHeader(QIODevice* device, Header* header)
{
    if (!device || !device->isOpen() || !device->seek(0))
        return false;
    const QByteArray riff = device->read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return false;
    const qint64 size = device->size();
    qint64 pos = 12;
    bool haveFormat = false;
    QAudioFormat fmt;
    int blockAlign = 0;
    while (pos + 8 <= size) {
        if (!device->seek(pos))
            return false;
        const QByteArray chunk = device->read(8);
        if (chunk.size() < 8)
            return false;
        const QByteArray id = chunk.left(4);
        const quint32 chunkSize = u32(chunk.constData() + 4);
        const qint64 body = pos + 8;
        const qint64 available = size - body;
        if (id == "fmt ") {
            if (chunkSize < 16 || available < 16)
                return false;
            const QByteArray f = device->read(qMin<qint64>(qMin<qint64>(chunkSize, 40), available));
            if (f.size() < 16)
                return false;
            const char* d = f.constData();
            quint16 tag = u16(d);
            const int channels = u16(d + 2);
            const int rate = int(u32(d + 4));
            blockAlign = u16(d + 12);
            const int bits = u16(d + 14);
            if (tag == 0xFFFE && f.size() >= 40)
                tag = u16(d + 24); // sub-format of an extensible header
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
            qint64 length = qMin<qint64>(chunkSize, available);
            length -= length % blockAlign;
            if (length <= 0)
                return false;
            header->format = fmt;
            header->dataOffset = body;
            header->dataBytes = length;
            return true;
        }
        pos = body + chunkSize + (chunkSize & 1);
    }
    return false;
}

bool WavFile::parse(const QByteArray& bytes, QAudioFormat* format, QByteArray* samples)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    Header header;
    if (!readHeader(&buffer, &header))
        return false;
    if (format)
        *format = header.format;
    if (samples)
        *samples = bytes.mid(header.dataOffset, header.dataBytes);
    return true;
}

namespace {

bool openHeader(QFile* file, WavFile::Header* header)
{
    if (!file->open(QIODevice::ReadOnly) || file->size() > ContentGate::MaxSoundBytes)
        return false;
    return WavFile::readHeader(file, header);
}

} // namespace

bool WavFile::read(const QString& path, QAudioFormat* format, QByteArray* samples)
{
    QFile file(path);
    Header header;
    if (!openHeader(&file, &header) || !file.seek(header.dataOffset))
        return false;
    if (samples) {
        *samples = file.read(header.dataBytes);
        if (samples->size() != header.dataBytes)
            return false;
    }
    if (format)
        *format = header.format;
    return true;
}

qint64 WavFile::durationMs(const QString& path)
{
    QFile file(path);
    Header header;
    if (!openHeader(&file, &header))
        return 0;
    return header.format.durationForBytes(qint32(header.dataBytes)) / 1000;
}
