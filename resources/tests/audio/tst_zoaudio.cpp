#include "ContentGate.h"
#include "IAudio.h"
#include "PluginLocator.h"
#include "SettingsStore.h"
#include "TestSound.h"
#include "TestTree.h"
#include "WavFile.h"
#include "WavStream.h"

#include <QAudioDevice>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QProcess>
#include <QSettings>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

IAudio* audio()
{
    return PluginLocator::load<IAudio>(QStringLiteral("plugins_dll/Managers/ZoAudio.dll"));
}

struct WavInfo
{
    bool ok = false;
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    qint64 dataBytes = 0;
    qint64 durationMs() const { return ok ? dataBytes * 1000 / (qint64(rate) * channels * bits / 8) : 0; }
};

// Reads a canonical 44-byte-header WAV file.
WavInfo inspect(const QString& path)
{
    WavInfo info;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return info;
    const QByteArray b = file.readAll();
    if (b.size() < 44 || !b.startsWith("RIFF") || b.mid(8, 8) != "WAVEfmt " || b.mid(36, 4) != "data")
        return info;
    const char* d = b.constData();
    info.format = qFromLittleEndian<quint16>(d + 20);
    info.channels = qFromLittleEndian<quint16>(d + 22);
    info.rate = int(qFromLittleEndian<quint32>(d + 24));
    info.bits = qFromLittleEndian<quint16>(d + 34);
    info.dataBytes = qFromLittleEndian<quint32>(d + 40);
    info.ok = info.dataBytes == b.size() - 44 && qFromLittleEndian<quint32>(d + 4) == quint32(b.size() - 8);
    return info;
}

// A tone as a WAV file: format 1 (integer) or 3 (float).
QByteArray toneWav(int ms, int rate, int channels, int bits, int format = 1)
{
    const int frames = rate * ms / 1000;
    QByteArray data;
    for (int i = 0; i < frames; ++i) {
        const double v = 0.3 * std::sin(2 * M_PI * 440.0 * i / rate);
        for (int c = 0; c < channels; ++c) {
            char s[4];
            if (format == 3) {
                qToLittleEndian<float>(float(v), s);
                data.append(s, 4);
            } else if (bits == 8) {
                data.append(char(quint8(128 + v * 127)));
            } else if (bits == 16) {
                qToLittleEndian<qint16>(qint16(v * 32767), s);
                data.append(s, 2);
            } else {
                qToLittleEndian<qint32>(qint32(v * 2147483647.0), s);
                data.append(s, 4);
            }
        }
    }
    QByteArray out("RIFF");
    char n[4];
    qToLittleEndian<quint32>(quint32(36 + data.size()), n);
    out.append(n, 4).append("WAVEfmt ");
    qToLittleEndian<quint32>(16, n);
    out.append(n, 4);
    qToLittleEndian<quint16>(quint16(format), n);
    out.append(n, 2);
    qToLittleEndian<quint16>(quint16(channels), n);
    out.append(n, 2);
    qToLittleEndian<quint32>(quint32(rate), n);
    out.append(n, 4);
    qToLittleEndian<quint32>(quint32(rate * channels * bits / 8), n);
    out.append(n, 4);
    qToLittleEndian<quint16>(quint16(channels * bits / 8), n);
    out.append(n, 2);
    qToLittleEndian<quint16>(quint16(bits), n);
    out.append(n, 2);
    out.append("data");
    qToLittleEndian<quint32>(quint32(data.size()), n);
    out.append(n, 4);
    return out + data;
}

// Little-endian samples of one kind.
template <typename T>
QByteArray samplesOf(std::initializer_list<T> values)
{
    QByteArray out;
    for (const T v : values) {
        char b[sizeof(T)];
        qToLittleEndian<T>(v, b);
        out.append(b, int(sizeof(T)));
    }
    return out;
}

QByteArray samples24(std::initializer_list<qint32> values)
{
    QByteArray out;
    for (const qint32 v : values)
        out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)).append(char((v >> 16) & 0xFF));
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// QSKIP leaves only the function it stands in, so this is a macro.
#define NEED_DEVICES()                                                                                                 \
    do {                                                                                                               \
        if (!mDevices)                                                                                                 \
            QSKIP("No PulseAudio server reachable: start one and set PULSE_SERVER (scripts/test does).");              \
    } while (false)

class TestZoAudio : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestTree> mTree;
    bool mDevices = false;

    QString temp() const { return mTree->filePath(QStringLiteral("Content/AudioTemp.tmp")); }

private slots:
    void initTestCase()
    {
        SettingsStore::configure();
        mTree = std::make_unique<TestTree>();
        QVERIFY(mTree->isValid());
        mTree->enter();
        QVERIFY2(audio(), "ZoAudio missing or not an IAudio");
        mDevices = !QMediaDevices::defaultAudioInput().isNull() && !QMediaDevices::defaultAudioOutput().isNull();
        if (!mDevices)
            qWarning("no audio devices (PULSE_SERVER=%s): sound tests are skipped",
                     qPrintable(qEnvironmentVariable("PULSE_SERVER")));
    }

    void cleanup()
    {
        audio()->stop();
        QTRY_VERIFY(!audio()->isPlaying() && !audio()->isRecording());
    }

    void recordingStopsByItselfAtTheLimit()
    {
        NEED_DEVICES();
        audio()->record(1, 16000, 1);
        QVERIFY(audio()->isRecording());
        QTRY_VERIFY_WITH_TIMEOUT(!audio()->isRecording(), 5000);
        const WavInfo info = inspect(temp());
        QVERIFY2(info.ok, "no complete WAV file");
        QCOMPARE(info.format, 1);
        QCOMPARE(info.channels, 1);
        QCOMPARE(info.rate, 16000);
        QCOMPARE(info.bits, 16);
        QVERIFY2(qAbs(info.durationMs() - 1000) <= 200, qPrintable(QString::number(info.durationMs())));
        QVERIFY(qAbs(audio()->recordingLength() - info.durationMs()) <= 1);
    }

    void recordingOfOneSecond()
    {
        NEED_DEVICES();
        audio()->record(1, 16000, 30);
        QVERIFY(audio()->isRecording());
        QVERIFY(!QFile::exists(temp()));
        QTest::qWait(1000);
        audio()->stop();
        QVERIFY(!audio()->isRecording());
        const WavInfo info = inspect(temp());
        QVERIFY2(info.ok, "no complete WAV file");
        QCOMPARE(info.channels, 1);
        QCOMPARE(info.rate, 16000);
        QCOMPARE(info.bits, 16);
        QVERIFY2(qAbs(info.durationMs() - 1000) <= 200, qPrintable(QString::number(info.durationMs())));
        QVERIFY(audio()->fileExists(QStringLiteral("Content"), QStringLiteral("AudioTemp.tmp")));
    }

    // The learner's recording goes to its own file; the author's stays as it was.
    void recordIntoLeavesTheCurrentRecording()
    {
        NEED_DEVICES();
        const QByteArray authored = toneWav(300, 16000, 1, 16);
        QVERIFY(writeFile(temp(), authored));
        const QString own = mTree->filePath(QStringLiteral("Content/StudentTemp.tmp"));
        QVERIFY(writeFile(own, toneWav(200, 16000, 1, 16)));
        audio()->recordInto(QStringLiteral("StudentTemp.tmp"), 1, 16000, 30);
        QVERIFY(audio()->isRecording());
        QVERIFY(!QFile::exists(own));
        QTest::qWait(500);
        audio()->stop();
        QVERIFY(!audio()->isRecording());
        const WavInfo info = inspect(own);
        QVERIFY2(info.ok, "no complete WAV file");
        QCOMPARE(info.channels, 1);
        QCOMPARE(info.rate, 16000);
        QCOMPARE(info.bits, 16);
        QVERIFY2(qAbs(info.durationMs() - 500) <= 200, qPrintable(QString::number(info.durationMs())));
        QCOMPARE(readFile(temp()), authored);
        QCOMPARE(audio()->recordingLength(), 300);
    }

    // Names that would leave "Content" record nothing and touch no file.
    void recordIntoRefusesPaths_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("parent") << QStringLiteral("..");
        QTest::newRow("up and out") << QStringLiteral("../vireda.db");
        QTest::newRow("sub folder") << QStringLiteral("TemplateList/x.tmp");
        QTest::newRow("absolute") << QStringLiteral("/tmp/x.tmp");
        QTest::newRow("backslash") << QStringLiteral("..\\x.tmp");
    }

    void recordIntoRefusesPaths()
    {
        QFETCH(QString, name);
        const QByteArray authored = toneWav(300, 16000, 1, 16);
        QVERIFY(writeFile(temp(), authored));
        const QString outside = mTree->filePath(QStringLiteral("vireda.db"));
        QVERIFY(writeFile(outside, "db"));
        audio()->recordInto(name, 1, 16000, 30);
        QVERIFY(!audio()->isRecording());
        QCOMPARE(readFile(outside), QByteArray("db"));
        QCOMPARE(readFile(temp()), authored);
    }

    // A stale recording must never pass for a new one, also when recording cannot start.
    void recordRemovesTheEarlierRecording_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("starts");
        QTest::newRow("normal") << 1 << 16000 << 30 << true;
        QTest::newRow("no channels") << 0 << 16000 << 30 << false;
        QTest::newRow("no time") << 1 << 16000 << 0 << false;
        QTest::newRow("impossible rate") << 1 << 5 << 30 << false;
    }

    void recordRemovesTheEarlierRecording()
    {
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, seconds);
        QFETCH(bool, starts);
        if (starts)
            NEED_DEVICES();
        QVERIFY(writeFile(temp(), toneWav(200, 16000, 1, 16)));
        audio()->record(channels, rate, seconds);
        QCOMPARE(audio()->isRecording(), starts);
        QVERIFY(!QFile::exists(temp()));
        if (starts)
            QTRY_VERIFY(audio()->recordingLength() > 0);
        else
            QCOMPARE(audio()->recordingLength(), 0);
        audio()->stop();
        if (!starts) {
            QTest::qWait(100);
            QVERIFY(!QFile::exists(temp()));
        }
    }

    void playbackEndsByItself_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("format");
        QTest::newRow("16 kHz mono, as recorded") << 16000 << 1 << 16 << 1;
        QTest::newRow("44.1 kHz stereo") << 44100 << 2 << 16 << 1;
        QTest::newRow("8 bit") << 8000 << 1 << 8 << 1;
        QTest::newRow("32 bit float") << 22050 << 1 << 32 << 3;
    }

    void playbackEndsByItself()
    {
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, bits);
        QFETCH(int, format);
        NEED_DEVICES();
        QVERIFY(
            writeFile(mTree->filePath(QStringLiteral("Content/tone.wav")), toneWav(400, rate, channels, bits, format)));
        QElapsedTimer clock;
        clock.start();
        audio()->play(QStringLiteral("Content"), QStringLiteral("tone.wav"));
        QVERIFY(audio()->isPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(!audio()->isPlaying(), 5000);
        // It played rather than gave up at once.
        QVERIFY2(clock.elapsed() >= 250, qPrintable(QString::number(clock.elapsed())));
    }

    void playbackOfTheRecording()
    {
        NEED_DEVICES();
        audio()->record(1, 16000, 1);
        QTRY_VERIFY_WITH_TIMEOUT(!audio()->isRecording(), 5000);
        audio()->play(QStringLiteral("Content"), QStringLiteral("AudioTemp.tmp"));
        QVERIFY(audio()->isPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(!audio()->isPlaying(), 5000);
    }

    void stopEndsPlayback()
    {
        NEED_DEVICES();
        QVERIFY(writeFile(mTree->filePath(QStringLiteral("Content/long.wav")), toneWav(5000, 16000, 1, 16)));
        audio()->play(QStringLiteral("Content"), QStringLiteral("long.wav"));
        QVERIFY(audio()->isPlaying());
        QTest::qWait(200);
        QVERIFY(audio()->isPlaying());
        audio()->stop();
        QVERIFY(!audio()->isPlaying());
    }

    void unplayableFilesDoNotStart_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content"); // written unless empty
        QTest::addColumn<qint64>("sparseSize");  // the file made this long, unless 0
        QTest::newRow("missing") << "Content"
                                 << "none.wav" << QByteArray() << qint64(0);
        QTest::newRow("no name") << "Content"
                                 << "" << QByteArray() << qint64(0);
        QTest::newRow("not a WAV") << "Content"
                                   << "junk.wav" << QByteArray("this is no sound at all, really") << qint64(0);
        QTest::newRow("header without samples") << "Content"
                                                << "empty.wav" << toneWav(0, 16000, 1, 16) << qint64(0);
        QTest::newRow("cut header") << "Content"
                                    << "cut.wav" << toneWav(100, 16000, 1, 16).left(30) << qint64(0);
        QTest::newRow("compressed") << "Content"
                                    << "adpcm.wav" << toneWav(100, 16000, 1, 16, 2) << qint64(0);
        QTest::newRow("a directory") << ""
                                     << "Content" << QByteArray() << qint64(0);
        QAudioFormat format;
        format.setSampleRate(16000);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        QTest::newRow("2 GB sparse") << "Content"
                                     << "huge.wav" << WavFile::header(format, 0x7FFFFFF0u)
                                     << qint64(0x7FFFFFF0) + WavFile::HeaderSize;
        QTest::newRow("just past the limit")
            << "Content"
            << "big.wav" << WavFile::header(format, quint32(ContentGate::MaxSoundBytes))
            << ContentGate::MaxSoundBytes + 1;
    }

    void unplayableFilesDoNotStart()
    {
        QFETCH(QString, directory);
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(qint64, sparseSize);
        const QString path = mTree->filePath(directory + QLatin1Char('/') + file);
        if (!content.isEmpty())
            QVERIFY(writeFile(path, content));
        if (sparseSize > 0)
            QVERIFY(QFile::resize(path, sparseSize));
        audio()->play(directory, file);
        QVERIFY(!audio()->isPlaying());
        QCOMPARE(WavFile::durationMs(path), qint64(0));
        if (sparseSize > 0)
            QVERIFY(QFile::remove(path));
    }

    // What the download gate keeps is exactly what plays: each file is kept
    // and converted to the samples expected, or refused with its reason.
    void soundFiles_data()
    {
        using S = TestSound;
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason"); // empty: it plays
        QTest::addColumn<int>("sampleFormat");
        QTest::addColumn<QByteArray>("samples");
        const int u8 = QAudioFormat::UInt8;
        const int i16 = QAudioFormat::Int16;
        const int i32 = QAudioFormat::Int32;
        const int f32 = QAudioFormat::Float;
        const QByteArray mono16 = S::chunk("fmt ", S::format(1, 1, 16000, 16));
        const QByteArray two = samplesOf<qint16>({7, -8});

        QTest::newRow("8-bit PCM") << S::pcm8(QByteArray("\x00\x80\xFF", 3)) << QString() << u8
                                   << QByteArray("\x00\x80\xFF", 3);
        QTest::newRow("16-bit PCM stereo") << S::wav(1, 2, 44100, 16, samplesOf<qint16>({1000, -1000, 32767, -32768}))
                                           << QString() << i16 << samplesOf<qint16>({1000, -1000, 32767, -32768});
        QTest::newRow("24-bit PCM") << S::wav(1, 1, 48000, 24, samples24({0x123456, -0x123456, 0x7FFFFF, -0x800000}))
                                    << QString() << i32
                                    << samplesOf<qint32>({0x12345600, -0x12345600, 0x7FFFFF00, -2147483647 - 1});
        QTest::newRow("24-bit PCM, extensible")
            << S::riff(S::chunk("fmt ", S::extensible(1, 2, 48000, 24)) + S::chunk("data", samples24({1, -1})))
            << QString() << i32 << samplesOf<qint32>({256, -256});
        QTest::newRow("32-bit PCM") << S::wav(1, 1, 8000, 32, samplesOf<qint32>({-2147483647 - 1, 0, 2147483647}))
                                    << QString() << i32 << samplesOf<qint32>({-2147483647 - 1, 0, 2147483647});
        QTest::newRow("32-bit float") << S::wav(3, 1, 22050, 32, samplesOf<float>({0.5f, -0.25f})) << QString() << f32
                                      << samplesOf<float>({0.5f, -0.25f});
        QTest::newRow("64-bit float") << S::wav(3, 1, 22050, 64, samplesOf<double>({0.5, -0.25, 1.0})) << QString()
                                      << f32 << samplesOf<float>({0.5f, -0.25f, 1.0f});
        QTest::newRow("32-bit float, extensible")
            << S::riff(S::chunk("fmt ", S::extensible(3, 1, 16000, 32)) + S::chunk("data", samplesOf<float>({0.125f})))
            << QString() << f32 << samplesOf<float>({0.125f});
        QTest::newRow("mu-law") << S::wav(7, 1, 8000, 8, QByteArray("\xFF\x00\x80", 3)) << QString() << i16
                                << samplesOf<qint16>({0, -32124, 32124});
        QTest::newRow("A-law") << S::wav(6, 1, 8000, 8, QByteArray("\xD5\x55\xAA\x2A", 4)) << QString() << i16
                               << samplesOf<qint16>({8, -8, 32256, -32256});
        QTest::newRow("other chunks first, odd one padded")
            << S::riff(S::chunk("LIST", "INFOjunk") + S::chunk("fact", "odd") + mono16 + S::chunk("data", two))
            << QString() << i16 << two;
        QTest::newRow("data before fmt") << S::riff(S::chunk("data", two) + mono16) << QString() << i16 << two;
        QTest::newRow("data size 0, samples follow")
            << S::riff(mono16 + S::chunk("data", two, 0)) << QString() << i16 << two;
        QTest::newRow("data size 0xFFFFFFFF")
            << S::riff(mono16 + S::chunk("data", two, 0xFFFFFFFFu)) << QString() << i16 << two;
        QTest::newRow("data size past the end")
            << S::riff(mono16 + S::chunk("data", two, 1000)) << QString() << i16 << two;
        QTest::newRow("half a frame at the end")
            << S::wav(1, 2, 16000, 16, samplesOf<qint16>({1, 2, 3})) << QString() << i16 << samplesOf<qint16>({1, 2});

        QTest::newRow("MS-ADPCM") << S::riff(S::chunk("fmt ", S::format(2, 1, 8000, 4, 256))
                                             + S::chunk("data", QByteArray(512, 'a')))
                                  << "its encoding (MS-ADPCM) does not play" << 0 << QByteArray();
        QTest::newRow("12-bit PCM") << S::wav(1, 1, 8000, 12, QByteArray(64, 'a'))
                                    << "its encoding (PCM, 12 bit) does not play" << 0 << QByteArray();
        QTest::newRow("MPEG in an extensible header")
            << S::riff(S::chunk("fmt ", S::extensible(0x55, 1, 8000, 16)) + S::chunk("data", two))
            << "its encoding (MPEG Layer 3) does not play" << 0 << QByteArray();
        QTest::newRow("RIFF header followed by junk")
            << QByteArray("RIFF\x28\0\0\0WAVEthis is no sound at all, really", 43) << "it has no format chunk" << 0
            << QByteArray();
        QTest::newRow("a program") << QByteArray("MZ\x90\0\x03\0\0\0\x04\0\0\0\xFF\xFF\0\0", 16)
                                   << "it is not a WAV sound" << 0 << QByteArray();
        QTest::newRow("empty data chunk")
            << S::riff(mono16 + S::chunk("data", QByteArray())) << "it holds no samples" << 0 << QByteArray();
        QTest::newRow("1-byte data chunk")
            << S::riff(mono16 + S::chunk("data", "\x01")) << "it holds no samples" << 0 << QByteArray();
        QTest::newRow("no data chunk") << S::riff(mono16) << "it holds no samples" << 0 << QByteArray();
        QTest::newRow("data to the end before fmt")
            << S::riff(S::chunk("data", two, 0) + mono16) << "it has no format chunk" << 0 << QByteArray();
        QTest::newRow("fmt cut short") << S::riff(S::chunk("fmt ", S::format(1, 1, 16000, 16).left(10)))
                                       << "its format chunk is cut short" << 0 << QByteArray();
        QTest::newRow("sample rate 0") << S::wav(1, 1, 0, 16, two) << "its sample rate is 0" << 0 << QByteArray();
        QTest::newRow("sample rate 8 Hz")
            << S::wav(1, 1, 8, 16, two) << "its sample rate of 8 Hz does not play" << 0 << QByteArray();
        QTest::newRow("no channels") << S::wav(1, 0, 8000, 16, two) << "it has no channels" << 0 << QByteArray();
        QTest::newRow("frame size not the format's")
            << S::riff(S::chunk("fmt ", S::format(1, 2, 8000, 16, 3)) + S::chunk("data", two))
            << "its frame size does not match its format" << 0 << QByteArray();
    }

    void soundFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        QFETCH(int, sampleFormat);
        QFETCH(QByteArray, samples);
        const QString path = mTree->filePath(QStringLiteral("Content/table.wav"));
        QVERIFY(writeFile(path, file));
        QString why = QStringLiteral("unset");
        const bool kept = ContentGate::isWavFile(path, &why);
        QCOMPARE(why, reason);
        QCOMPARE(ContentGate::isWavHeader(file), kept);

        WavStream stream;
        QCOMPARE(stream.openSound(path), kept);
        QCOMPARE(stream.sound().reason, reason);
        if (kept) {
            QCOMPARE(int(stream.format().sampleFormat()), sampleFormat);
            QCOMPARE(stream.size(), samples.size());
            QCOMPARE(stream.readAll(), samples);
            QVERIFY(stream.atEnd());
            // In pieces that split samples, as an output may ask.
            QVERIFY(stream.seek(0));
            QByteArray pieces;
            while (!stream.atEnd()) {
                const QByteArray piece = stream.read(3);
                QVERIFY(!piece.isEmpty());
                pieces += piece;
            }
            QCOMPARE(pieces, samples);
            // Every sample format a device may take instead gives every frame.
            for (const auto other :
                 {QAudioFormat::UInt8, QAudioFormat::Int16, QAudioFormat::Int32, QAudioFormat::Float}) {
                WavStream converted;
                QVERIFY(converted.openSound(path, other));
                QCOMPARE(converted.readAll().size(), stream.sound().frames() * converted.format().bytesPerFrame());
            }
        }
        if (mDevices) {
            audio()->play(QStringLiteral("Content"), QStringLiteral("table.wav"));
            QCOMPARE(audio()->isPlaying(), kept);
            audio()->stop();
        }
    }

    // A file at the limit plays; its samples are read as they are asked for.
    void fileAtTheLimitIsRead()
    {
        QAudioFormat format;
        format.setSampleRate(16000);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        const qint64 data = ContentGate::MaxSoundBytes - WavFile::HeaderSize;
        const QString path = mTree->filePath(QStringLiteral("Content/limit.wav"));
        QVERIFY(writeFile(path, WavFile::header(format, quint32(data))));
        QVERIFY(QFile::resize(path, ContentGate::MaxSoundBytes));
        WavStream stream;
        QVERIFY(stream.openSound(path));
        QCOMPARE(stream.size(), data);
        QCOMPARE(stream.format(), format);
        QVERIFY(stream.seek(data - 4));
        QCOMPARE(stream.readAll(), QByteArray(4, '\0'));
        QCOMPARE(WavFile::durationMs(path), format.durationForBytes(qint32(data)) / 1000);
        QVERIFY(QFile::remove(path));
    }

    void storeRecordingNaming_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("plain") << "alice"
                               << "alice_";
        QTest::newRow("unsafe characters") << "../a b/c\\d:*?\"<>|é"
                                           << "abcd_";
        QTest::newRow("empty") << ""
                               << "user_";
        QTest::newRow("only unsafe") << "///"
                                     << "user_";
        QTest::newRow("long") << QString(200, QLatin1Char('x')) << QString(32, QLatin1Char('x')) + "_";
    }

    void storeRecordingNaming()
    {
        QFETCH(QString, user);
        QFETCH(QString, prefix);
        const QByteArray sound = toneWav(100, 16000, 1, 16);
        QVERIFY(writeFile(temp(), sound));
        QString result[2];
        const QString source[2] = {QStringLiteral("Content"), QStringLiteral("AudioTemp.tmp")};
        audio()->storeRecording(result, source, user);
        QCOMPARE(result[0], QStringLiteral("Content"));
        QVERIFY2(result[1].startsWith(prefix), qPrintable(result[1]));
        QVERIFY(result[1].size() <= 64);
        QVERIFY(!result[1].contains(QLatin1Char('/')));
        QCOMPARE(readFile(mTree->filePath(QStringLiteral("Content/") + result[1])), sound);
        // The recording itself stays where it was.
        QCOMPARE(readFile(temp()), sound);
        // No temporary file is left behind.
        const QStringList hidden = QDir(mTree->filePath(QStringLiteral("Content")))
                                       .entryList({QStringLiteral(".store*")}, QDir::Files | QDir::Hidden);
        QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(' ')));
    }

    void storeRecordingNeverOverwrites()
    {
        const QString source[2] = {QStringLiteral("Content"), QStringLiteral("take.wav")};
        QSet<QString> names;
        for (int i = 0; i < 6; ++i) {
            // Different content each time: an overwrite would show.
            const QByteArray sound = toneWav(20 + i * 10, 16000, 1, 16);
            QVERIFY(writeFile(mTree->filePath(QStringLiteral("Content/take.wav")), sound));
            QString result[2];
            audio()->storeRecording(result, source, QStringLiteral("bob"));
            QVERIFY(!result[1].isEmpty());
            QVERIFY2(!names.contains(result[1]), qPrintable(result[1]));
            names.insert(result[1]);
        }
        QStringList sorted(names.begin(), names.end());
        for (const QString& name : sorted)
            QVERIFY(QFileInfo(mTree->filePath(QStringLiteral("Content/") + name)).size() > 44);
        QSet<QByteArray> contents;
        for (const QString& name : sorted)
            contents.insert(readFile(mTree->filePath(QStringLiteral("Content/") + name)));
        QCOMPARE(contents.size(), 6);
    }

    void storeRecordingOfNothing_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("file");
        QTest::newRow("missing") << "Content"
                                 << "gone.wav";
        QTest::newRow("no name") << "Content"
                                 << "";
        QTest::newRow("a directory") << ""
                                     << "Content";
    }

    void storeRecordingOfNothing()
    {
        QFETCH(QString, directory);
        QFETCH(QString, file);
        const QStringList before = QDir(mTree->filePath(QStringLiteral("Content"))).entryList(QDir::Files);
        QString result[2] = {QStringLiteral("old"), QStringLiteral("old")};
        const QString source[2] = {directory, file};
        audio()->storeRecording(result, source, QStringLiteral("carol"));
        QVERIFY(result[0].isEmpty() && result[1].isEmpty());
        QCOMPARE(QDir(mTree->filePath(QStringLiteral("Content"))).entryList(QDir::Files), before);
    }

    void filesExistAndGo_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("create");
        QTest::newRow("present") << "Content"
                                 << "a.wav" << true;
        QTest::newRow("missing") << "Content"
                                 << "b.wav" << false;
        QTest::newRow("no names") << ""
                                  << "" << false;
        QTest::newRow("a directory") << ""
                                     << "Content" << false;
        QTest::newRow("in the working directory") << ""
                                                  << "c.wav" << true;
    }

    void filesExistAndGo()
    {
        QFETCH(QString, directory);
        QFETCH(QString, file);
        QFETCH(bool, create);
        const QString path = mTree->filePath(directory.isEmpty() ? file : directory + QLatin1Char('/') + file);
        if (create)
            QVERIFY(writeFile(path, "x"));
        QCOMPARE(audio()->fileExists(directory, file), create);
        audio()->removeFile(directory, file); // silent when there is nothing
        QVERIFY(!audio()->fileExists(directory, file));
        if (create)
            QVERIFY(!QFile::exists(path));
        QVERIFY(QFileInfo(mTree->filePath(QStringLiteral("Content"))).isDir());
    }

    void endingTheProgramWhileSoundRuns()
    {
        NEED_DEVICES();
        QVERIFY(writeFile(mTree->filePath(QStringLiteral("Content/long.wav")), toneWav(5000, 16000, 1, 16)));
        QFile::remove(temp());
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(SHUTDOWN_PROGRAM), {mTree->path(), QStringLiteral("long.wav")});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const WavInfo info = inspect(temp());
        QVERIFY2(info.ok, "the recording was not finished at shut-down");
        QVERIFY(info.durationMs() > 0);
    }

    void volumesPersist_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("expected");
        QTest::newRow("middle") << 37 << 37;
        QTest::newRow("silent") << 0 << 0;
        QTest::newRow("loudest") << 99 << 99;
        QTest::newRow("above") << 150 << 99;
        QTest::newRow("below") << -5 << 0;
    }

    void volumesPersist()
    {
        QFETCH(int, set);
        QFETCH(int, expected);
        audio()->setPlaybackVolume(set);
        audio()->setRecordVolume(99 - expected);
        QCOMPARE(audio()->playbackVolume(), expected);
        QCOMPARE(audio()->recordVolume(), 99 - expected);
        QSettings settings;
        QCOMPARE(settings.value(QStringLiteral("sound/playbackVolume")).toInt(), expected);
        QCOMPARE(settings.value(QStringLiteral("sound/recordVolume")).toInt(), 99 - expected);
    }
};

QTEST_MAIN(TestZoAudio)
#include "tst_zoaudio.moc"
