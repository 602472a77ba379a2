#include "WavStream.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

// G.711 expansions to 16-bit linear samples.
qint16 muLaw(quint8 byte)
{
    const quint8 u = quint8(~byte);
    const int exponent = (u >> 4) & 0x07;
    const int magnitude = ((((u & 0x0F) << 3) + 0x84) << exponent) - 0x84;
    return qint16((u & 0x80) ? -magnitude : magnitude);
}

qint16 aLaw(quint8 byte)
{
    const quint8 a = byte ^ 0x55;
    const int exponent = (a >> 4) & 0x07;
    int magnitude = (a & 0x0F) << 4;
    magnitude = exponent == 0 ? magnitude + 8 : (magnitude + 0x108) << (exponent - 1);
    return qint16((a & 0x80) ? magnitude : -magnitude);
}

// One stored sample as a value in [-1, 1].
double decode(const WavReader::Sound& sound, const char* p)
{
    switch (sound.encoding) {
    case WavReader::Encoding::Integer:
        switch (sound.bits) {
        case 8:
            return (int(quint8(*p)) - 128) / 128.0;
        case 16:
            return qFromLittleEndian<qint16>(p) / 32768.0;
        case 24: {
            const qint32 v = qint32(quint32(quint8(p[0])) << 8 | quint32(quint8(p[1])) << 16
                                    | quint32(quint8(p[2])) << 24)
                             >> 8;
            return v / 8388608.0;
        }
        default:
            return qFromLittleEndian<qint32>(p) / 2147483648.0;
        }
    case WavReader::Encoding::Float: {
        const double v = sound.bits == 64 ? qFromLittleEndian<double>(p) : double(qFromLittleEndian<float>(p));
        return std::isfinite(v) ? v : 0.0;
    }
    case WavReader::Encoding::MuLaw:
        return muLaw(quint8(*p)) / 32768.0;
    case WavReader::Encoding::ALaw:
        return aLaw(quint8(*p)) / 32768.0;
    case WavReader::Encoding::Unknown:
        break;
    }
    return 0.0;
}

void encode(double v, QAudioFormat::SampleFormat format, char* out)
{
    switch (format) {
    case QAudioFormat::UInt8:
        *out = char(quint8(qBound(0.0, std::round(v * 128.0) + 128.0, 255.0)));
        break;
    case QAudioFormat::Int16:
        qToLittleEndian<qint16>(qint16(qBound(-32768.0, std::round(v * 32768.0), 32767.0)), out);
        break;
    case QAudioFormat::Int32:
        qToLittleEndian<qint32>(qint32(qBound(-2147483648.0, std::round(v * 2147483648.0), 2147483647.0)), out);
        break;
    case QAudioFormat::Float:
        qToLittleEndian<float>(float(v), out);
        break;
    default:
        break;
    }
}

int bytesOf(QAudioFormat::SampleFormat format)
{
    switch (format) {
    case QAudioFormat::UInt8:
        return 1;
    case QAudioFormat::Int16:
        return 2;
    case QAudioFormat::Int32:
    case QAudioFormat::Float:
        return 4;
    default:
        return 0;
    }
}

// Bytes read from the file at once at most.
constexpr qint64 MaxChunk = 256 * 1024;

} // namespace

WavStream::WavStream(QObject* parent)
    : QIODevice(parent)
{
}

QAudioFormat::SampleFormat WavStream::nativeFormat(const WavReader::Sound& sound)
{
    switch (sound.encoding) {
    case WavReader::Encoding::Integer:
        return sound.bits == 8 ? QAudioFormat::UInt8 : sound.bits == 16 ? QAudioFormat::Int16 : QAudioFormat::Int32;
    case WavReader::Encoding::Float:
        return QAudioFormat::Float;
    case WavReader::Encoding::MuLaw:
    case WavReader::Encoding::ALaw:
        return QAudioFormat::Int16;
    case WavReader::Encoding::Unknown:
        break;
    }
    return QAudioFormat::Unknown;
}

QByteArray WavStream::convert(const WavReader::Sound& sound, const QByteArray& samples,
                              QAudioFormat::SampleFormat format)
{
    const int in = sound.bits / 8;
    const int out = bytesOf(format);
    if (in <= 0 || out <= 0 || sound.encoding == WavReader::Encoding::Unknown)
        return QByteArray();
    const qint64 count = samples.size() / in;
    QByteArray converted(count * out, Qt::Uninitialized);
    // Samples already in the wanted format are copied as they are.
    if (format == nativeFormat(sound) && in == out) {
        std::memcpy(converted.data(), samples.constData(), size_t(count * in));
        return converted;
    }
    const char* from = samples.constData();
    char* to = converted.data();
    for (qint64 i = 0; i < count; ++i)
        encode(decode(sound, from + i * in), format, to + i * out);
    return converted;
}

bool WavStream::openSound(const QString& path, QAudioFormat::SampleFormat sampleFormat)
{
    close();
    mSound = WavReader::readFile(path);
    if (!mSound.isPlayable())
        return false;
    mFile.setFileName(path);
    if (!mFile.open(QIODevice::ReadOnly)) {
        mSound.verdict = WavReader::Verdict::Unreadable;
        mSound.reason = QStringLiteral("it is not a readable file");
        return false;
    }
    mFormat.setSampleRate(mSound.sampleRate);
    mFormat.setChannelCount(mSound.channels);
    mFormat.setSampleFormat(sampleFormat == QAudioFormat::Unknown ? nativeFormat(mSound) : sampleFormat);
    mPos = 0;
    return QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void WavStream::close()
{
    QIODevice::close();
    mFile.close();
    mPos = 0;
}

qint64 WavStream::size() const
{
    return mSound.frames() * mFormat.bytesPerFrame();
}

bool WavStream::seek(qint64 pos)
{
    if (pos < 0 || pos > size() || !QIODevice::seek(pos))
        return false;
    mPos = pos;
    return true;
}

qint64 WavStream::readData(char* data, qint64 maxSize)
{
    const int outFrame = mFormat.bytesPerFrame();
    if (outFrame <= 0 || !mFile.isOpen())
        return -1;
    const qint64 frame = mPos / outFrame;
    const qint64 skip = mPos % outFrame;
    const qint64 frames = qMin(mSound.frames() - frame, qMax<qint64>(1, (maxSize + skip + outFrame - 1) / outFrame));
    if (frames <= 0)
        return 0;
    const qint64 want = qMin<qint64>(frames, qMax<qint64>(1, MaxChunk / mSound.blockAlign));
    if (!mFile.seek(mSound.dataOffset + frame * mSound.blockAlign))
        return -1;
    const QByteArray raw = mFile.read(want * mSound.blockAlign);
    const qint64 whole = raw.size() / mSound.blockAlign;
    if (whole <= 0)
        return raw.isEmpty() ? 0 : -1;
    const QByteArray converted = convert(mSound, raw.left(whole * mSound.blockAlign), mFormat.sampleFormat());
    const qint64 n = qMin<qint64>(maxSize, converted.size() - skip);
    std::memcpy(data, converted.constData() + skip, size_t(n));
    mPos += n;
    return n;
}

qint64 WavStream::writeData(const char*, qint64)
{
    return -1;
}
