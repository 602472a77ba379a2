#pragma once

#include <QString>
#include <QtGlobal>

class QIODevice;

// The one reader that decides what a sound is: a RIFF/WAVE file of integer
// PCM (8, 16, 24, 32 bit), float (32, 64 bit), mu-law or A-law samples, also
// inside a WAVE_FORMAT_EXTENSIBLE header, with at least one whole frame. The
// download gate keeps exactly what it accepts, and the player plays it.
class WavReader
{
public:
    enum class Encoding { Unknown, Integer, Float, MuLaw, ALaw };
    enum class Verdict {
        Playable,
        Unreadable,  // no regular file, or it cannot be read
        TooLarge,    // past ContentGate::MaxSoundBytes
        NotWav,      // no RIFF/WAVE file, or its chunks are broken
        Unsupported, // a WAV file whose encoding does not play
        NoSamples    // not one whole frame of samples
    };

    struct Sound
    {
        Verdict verdict = Verdict::Unreadable;
        QString reason;     // why it does not play, empty when it does
        QString formatName; // "PCM", "MS-ADPCM", "format 0x1234", ...
        Encoding encoding = Encoding::Unknown;
        int bits = 0; // bits of one stored sample
        int channels = 0;
        int sampleRate = 0;
        int blockAlign = 0; // bytes of one frame
        qint64 dataOffset = 0;
        qint64 dataBytes = 0; // whole frames only, never past the file's end

        bool isPlayable() const { return verdict == Verdict::Playable; }
        qint64 frames() const { return blockAlign > 0 ? dataBytes / blockAlign : 0; }
        qint64 durationMs() const { return sampleRate > 0 ? frames() * 1000 / sampleRate : 0; }
    };

    // Reads the chunk headers and the format of the sound on device (open,
    // seekable) from its start; reads no samples.
    static Sound read(QIODevice* device);
    // The same for a file, which must be a regular file of at most
    // ContentGate::MaxSoundBytes.
    static Sound readFile(const QString& path);

    // Lowest and highest sample rate that plays.
    static constexpr int MinSampleRate = 1000;
    static constexpr int MaxSampleRate = 384000;
    static constexpr int MaxChannels = 8;
};
