#include "WavReader.h"

#include "ContentGate.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QtEndian>

namespace {

constexpr quint16 TagPcm = 0x0001;
constexpr quint16 TagFloat = 0x0003;
constexpr quint16 TagALaw = 0x0006;
constexpr quint16 TagMuLaw = 0x0007;
constexpr quint16 TagExtensible = 0xFFFE;
// Chunks a file may hold before its samples; real files have a handful.
constexpr int MaxChunks = 4096;

// The GUID of an extensible header's sub-format after its first two bytes.
const char SubFormatTail[14] = {0x00, 0x00, 0x00,       0x00, 0x10, 0x00,       char(0x80),
                                0x00, 0x00, char(0xAA), 0x00, 0x38, char(0x9B), 0x71};

quint16 u16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}

QString tagName(quint16 tag)
{
    switch (tag) {
    case TagPcm:
        return QStringLiteral("PCM");
    case 0x0002:
        return QStringLiteral("MS-ADPCM");
    case TagFloat:
        return QStringLiteral("IEEE float");
    case TagALaw:
        return QStringLiteral("A-law");
    case TagMuLaw:
        return QStringLiteral("mu-law");
    case 0x0011:
        return QStringLiteral("IMA-ADPCM");
    case 0x0031:
        return QStringLiteral("GSM 6.10");
    case 0x0055:
        return QStringLiteral("MPEG Layer 3");
    default:
        return QStringLiteral("format 0x%1").arg(tag, 4, 16, QLatin1Char('0'));
    }
}

WavReader::Sound refused(WavReader::Sound sound, WavReader::Verdict verdict, const QString& reason)
{
    sound.verdict = verdict;
    sound.reason = reason;
    return sound;
}

// Fills sound's format from a fmt chunk's body; an empty reason when it plays.
QString readFormat(const QByteArray& f, WavReader::Sound* sound, WavReader::Verdict* verdict)
{
    *verdict = WavReader::Verdict::NotWav;
    if (f.size() < 16)
        return QStringLiteral("its format chunk is cut short");
    const char* d = f.constData();
    quint16 tag = u16(d);
    sound->channels = u16(d + 2);
    sound->sampleRate = int(qMin<quint32>(u32(d + 4), 0x7FFFFFFF));
    sound->blockAlign = u16(d + 12);
    sound->bits = u16(d + 14);
    if (tag == TagExtensible) {
        if (f.size() < 40 || u16(d + 16) < 22)
            return QStringLiteral("its extensible format chunk is cut short");
        tag = u16(d + 24);
        if (QByteArray(d + 26, 14) != QByteArray(SubFormatTail, 14))
            tag = 0xFFFF; // a sub-format of another maker
    }
    sound->formatName = tagName(tag);
    if (sound->channels < 1)
        return QStringLiteral("it has no channels");
    if (sound->sampleRate <= 0)
        return QStringLiteral("its sample rate is 0");
    *verdict = WavReader::Verdict::Unsupported;
    const int bits = sound->bits;
    if (tag == TagPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32))
        sound->encoding = WavReader::Encoding::Integer;
    else if (tag == TagFloat && (bits == 32 || bits == 64))
        sound->encoding = WavReader::Encoding::Float;
    else if (tag == TagMuLaw && bits == 8)
        sound->encoding = WavReader::Encoding::MuLaw;
    else if (tag == TagALaw && bits == 8)
        sound->encoding = WavReader::Encoding::ALaw;
    if (sound->encoding == WavReader::Encoding::Unknown) {
        const bool known = tag == TagPcm || tag == TagFloat || tag == TagMuLaw || tag == TagALaw;
        if (known)
            sound->formatName += QStringLiteral(", %1 bit").arg(bits);
        return QStringLiteral("its encoding (%1) does not play").arg(sound->formatName);
    }
    if (sound->channels > WavReader::MaxChannels)
        return QStringLiteral("it has %1 channels, more than %2").arg(sound->channels).arg(WavReader::MaxChannels);
    if (sound->sampleRate < WavReader::MinSampleRate || sound->sampleRate > WavReader::MaxSampleRate)
        return QStringLiteral("its sample rate of %1 Hz does not play").arg(sound->sampleRate);
    *verdict = WavReader::Verdict::NotWav;
    if (sound->blockAlign != sound->channels * bits / 8)
        return QStringLiteral("its frame size does not match its format");
    *verdict = WavReader::Verdict::Playable;
    return QString();
}

} // namespace

WavReader::Sound WavReader::read(QIODevice* device)
{
    Sound sound;
    const QString notWav = QStringLiteral("it is not a WAV sound");
    if (!device || !device->isOpen() || !device->seek(0))
        return refused(sound, Verdict::Unreadable, QStringLiteral("it is not a readable file"));
    const QByteArray riff = device->read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return refused(sound, Verdict::NotWav, notWav);
    const qint64 size = device->size();
    qint64 pos = 12;
    bool haveFormat = false;
    qint64 dataOffset = -1;
    quint32 dataSize = 0;
    for (int chunks = 0; pos + 8 <= size && chunks < MaxChunks; ++chunks) {
        if (!device->seek(pos))
            return refused(sound, Verdict::Unreadable, QStringLiteral("it is not a readable file"));
        const QByteArray chunk = device->read(8);
        if (chunk.size() < 8)
            return refused(sound, Verdict::Unreadable, QStringLiteral("it is not a readable file"));
        const QByteArray id = chunk.left(4);
        const quint32 chunkSize = u32(chunk.constData() + 4);
        const qint64 body = pos + 8;
        const qint64 available = size - body;
        if (id == "fmt ") {
            if (haveFormat)
                return refused(sound, Verdict::NotWav, QStringLiteral("it has two format chunks"));
            if (chunkSize > available)
                return refused(sound, Verdict::NotWav, QStringLiteral("its format chunk is cut short"));
            Verdict verdict = Verdict::NotWav;
            const QString why = readFormat(device->read(qMin<qint64>(chunkSize, 40)), &sound, &verdict);
            if (!why.isEmpty())
                return refused(sound, verdict, why);
            haveFormat = true;
        } else if (id == "data" && dataOffset < 0) {
            dataOffset = body;
            dataSize = chunkSize;
            // A recorder that never wrote the size leaves 0 or 0xFFFFFFFF: the samples run to the end.
            if (chunkSize == 0 || chunkSize == 0xFFFFFFFFu || chunkSize >= available)
                break;
        }
        if (haveFormat && dataOffset >= 0)
            break;
        pos = body + chunkSize + (chunkSize & 1);
    }
    if (!haveFormat)
        return refused(sound, Verdict::NotWav, QStringLiteral("it has no format chunk"));
    if (dataOffset < 0)
        return refused(sound, Verdict::NoSamples, QStringLiteral("it holds no samples"));
    const qint64 available = size - dataOffset;
    qint64 length = dataSize == 0 || dataSize == 0xFFFFFFFFu ? available : qMin<qint64>(dataSize, available);
    length -= length % sound.blockAlign;
    if (length <= 0)
        return refused(sound, Verdict::NoSamples, QStringLiteral("it holds no samples"));
    sound.dataOffset = dataOffset;
    sound.dataBytes = length;
    sound.verdict = Verdict::Playable;
    return sound;
}

WavReader::Sound WavReader::readFile(const QString& path)
{
    const QFileInfo info(path);
    // "Content" paths are files on disk, never Qt resources.
    if (path.isEmpty() || path.startsWith(QLatin1Char(':')) || !info.isFile())
        return refused(Sound(), Verdict::Unreadable, QStringLiteral("it is not a readable file"));
    if (info.size() > ContentGate::MaxSoundBytes)
        return refused(Sound(), Verdict::TooLarge,
                       QStringLiteral("it is larger than %1 MB").arg(ContentGate::MaxSoundBytes >> 20));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(Sound(), Verdict::Unreadable, QStringLiteral("it is not a readable file"));
    return read(&file);
}
