#include "ZoAudio.h"

#include "ContentGate.h"
#include "SoundLog.h"
#include "WavFile.h"
#include "WavStream.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>
#include <QTimer>

#include <memory>

namespace {

const char* const PlaybackKey = "sound/playbackVolume";
const char* const RecordKey = "sound/recordVolume";

int clampVolume(int volume)
{
    return qBound(0, volume, int(ZoAudio::MaxVolume));
}

qreal linearVolume(int volume)
{
    return qreal(volume) / ZoAudio::MaxVolume;
}

ZoAudio* gInstance = nullptr;

// Runs while the application object is being destroyed: no audio object may
// outlive it.
void releaseDevicesAtShutdown()
{
    if (gInstance)
        gInstance->releaseDevices();
}

} // namespace

ZoAudio::ZoAudio()
{
    QSettings settings;
    mPlaybackVolume = clampVolume(settings.value(QLatin1String(PlaybackKey), int(MaxVolume)).toInt());
    mRecordVolume = clampVolume(settings.value(QLatin1String(RecordKey), int(MaxVolume)).toInt());

    mRecordTimer = new QTimer(this);
    mRecordTimer->setSingleShot(true);
    connect(mRecordTimer, &QTimer::timeout, this, &ZoAudio::finishRecording);
    mPlayTimer = new QTimer(this);
    mPlayTimer->setSingleShot(true);
    connect(mPlayTimer, &QTimer::timeout, this, &ZoAudio::finishPlayback);

    gInstance = this;
    // Let go of the devices while the event loop's end is still quiet; the
    // post routine covers programs that end without running one.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &ZoAudio::releaseDevices);
    qAddPostRoutine(releaseDevicesAtShutdown);
}

ZoAudio::~ZoAudio()
{
    qRemovePostRoutine(releaseDevicesAtShutdown);
    if (gInstance == this)
        gInstance = nullptr;
    releaseDevices();
}

void ZoAudio::releaseDevices()
{
    stop();
    const QList<QAudioSource*> sources = findChildren<QAudioSource*>();
    qDeleteAll(sources);
    const QList<QAudioSink*> sinks = findChildren<QAudioSink*>();
    qDeleteAll(sinks);
}

QString ZoAudio::pathOf(const QString& directory, const QString& fileName)
{
    if (directory.isEmpty())
        return QDir::current().absoluteFilePath(fileName);
    return QDir::current().absoluteFilePath(directory + QLatin1Char('/') + fileName);
}

bool ZoAudio::isPlaying()
{
    return mPlaying;
}

bool ZoAudio::isRecording()
{
    return mRecording;
}

void ZoAudio::stop()
{
    finishRecording();
    finishPlayback();
}

// ---- recording ----------------------------------------------------------

void ZoAudio::record(int channels, int sampleRate, int maxSeconds)
{
    startRecording(QString::fromLatin1(TempName), channels, sampleRate, maxSeconds);
}

void ZoAudio::recordInto(QString fileName, int channels, int sampleRate, int maxSeconds)
{
    if (!ContentGate::isPlainFileName(fileName)) {
        finishRecording();
        qCWarning(lcSound, "ZoAudio: refusing to record into \"%s\"", qPrintable(fileName));
        return;
    }
    startRecording(fileName, channels, sampleRate, maxSeconds);
}

void ZoAudio::startRecording(const QString& fileName, int channels, int sampleRate, int maxSeconds)
{
    finishRecording();
    // An earlier recording must never pass for this one, whatever happens next.
    const QString target = pathOf(QString::fromLatin1(ContentDir), fileName);
    QFile::remove(target);

    if (channels < 1 || channels > 2 || sampleRate < 8000 || sampleRate > 48000 || maxSeconds <= 0) {
        qCWarning(lcSound, "ZoAudio: refusing to record %d channel(s) at %d Hz for %d s", channels, sampleRate,
                  maxSeconds);
        return;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        qCWarning(lcSound, "ZoAudio: no audio input device");
        return;
    }
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(channels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        qCWarning(lcSound, "ZoAudio: input device cannot record %d Hz", sampleRate);
        return;
    }

    QDir().mkpath(QFileInfo(target).absolutePath());
    auto file = std::make_unique<QSaveFile>(target);
    if (!file->open(QIODevice::WriteOnly) || file->write(WavFile::header(format, 0)) != WavFile::HeaderSize) {
        qCWarning(lcSound, "ZoAudio: cannot write %s", qPrintable(target));
        file->cancelWriting();
        return;
    }

    auto source = std::make_unique<QAudioSource>(device, format, this);
    source->setVolume(linearVolume(mRecordVolume));
    QIODevice* io = source->start();
    if (!io || source->error() != QAudio::NoError) {
        qCWarning(lcSound, "ZoAudio: audio input did not start");
        source.reset();
        file->cancelWriting();
        return;
    }
    mSource = source.release();
    mSourceIo = io;
    mRecordFile = file.release();
    mRecordFormat = format;
    mRecordedBytes = 0;
    mMaxBytes = format.bytesForDuration(qint64(maxSeconds) * 1000000);
    mRecording = true;
    connect(io, &QIODevice::readyRead, this, &ZoAudio::readRecordedData);
    connect(mSource, &QAudioSource::stateChanged, this, &ZoAudio::sourceStateChanged);
    // The byte count ends the recording exactly; the timer covers a device that stalls.
    mRecordTimer->start(maxSeconds * 1000 + 1000);
}

bool ZoAudio::takeRecordedData()
{
    if (!mSourceIo || !mRecordFile)
        return false;
    QByteArray data = mSourceIo->readAll();
    const qint64 room = mMaxBytes - mRecordedBytes;
    if (data.size() > room)
        data.truncate(room);
    if (data.isEmpty())
        return true;
    if (mRecordFile->write(data) != data.size()) {
        qCWarning(lcSound, "ZoAudio: writing the recording failed");
        return false;
    }
    mRecordedBytes += data.size();
    return true;
}

void ZoAudio::readRecordedData()
{
    if (!mRecording)
        return;
    if (!takeRecordedData())
        abortRecording();
    else if (mRecordedBytes >= mMaxBytes)
        finishRecording();
}

void ZoAudio::sourceStateChanged()
{
    if (mRecording && mSource && mSource->error() != QAudio::NoError) {
        qCWarning(lcSound, "ZoAudio: audio input failed (%d)", int(mSource->error()));
        finishRecording();
    }
}

void ZoAudio::finishRecording()
{
    if (!mRecording)
        return;
    const bool keep = mSource && mSource->error() == QAudio::NoError ? takeRecordedData() : true;
    endRecording(keep);
}

void ZoAudio::abortRecording()
{
    endRecording(false);
}

void ZoAudio::endRecording(bool keep)
{
    if (!mRecording)
        return;
    mRecording = false;
    mRecordTimer->stop();
    if (mSource) {
        mSource->disconnect(this);
        if (mSourceIo)
            mSourceIo->disconnect(this);
        mSource->stop();
        mSource->deleteLater();
    }
    mSource = nullptr;
    mSourceIo = nullptr;

    std::unique_ptr<QSaveFile> file(mRecordFile);
    mRecordFile = nullptr;
    // A recording without a single sample is no recording.
    if (!keep || mRecordedBytes <= 0) {
        file->cancelWriting();
        mRecordedBytes = 0;
        return;
    }
    if (!file->seek(0) || file->write(WavFile::header(mRecordFormat, quint32(mRecordedBytes))) != WavFile::HeaderSize
        || !file->commit())
        qCWarning(lcSound, "ZoAudio: could not save the recording");
}

int ZoAudio::recordingLength()
{
    if (mRecording)
        return int(mRecordFormat.durationForBytes(qint32(mRecordedBytes)) / 1000);
    return int(WavFile::durationMs(pathOf(QString::fromLatin1(ContentDir), QString::fromLatin1(TempName))));
}

// ---- playback -----------------------------------------------------------

void ZoAudio::play(QString directory, QString fileName)
{
    finishPlayback();
    if (fileName.isEmpty())
        return;
    const QString path = pathOf(directory, fileName);
    // Only the header is read here; the samples are read as they play.
    auto stream = std::make_unique<WavStream>(this);
    if (!stream->openSound(path)) {
        qCWarning(lcSound, "ZoAudio: cannot play %s: %s", qPrintable(path), qPrintable(stream->sound().reason));
        return;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        qCWarning(lcSound, "ZoAudio: no audio output device");
        return;
    }
    // The sound's own sample format, else the first the device takes.
    QAudioFormat format = stream->format();
    const QAudioFormat::SampleFormat fallbacks[] = {format.sampleFormat(), QAudioFormat::Float, QAudioFormat::Int16,
                                                    QAudioFormat::Int32, QAudioFormat::UInt8};
    bool supported = false;
    for (const QAudioFormat::SampleFormat sampleFormat : fallbacks) {
        format.setSampleFormat(sampleFormat);
        if (device.isFormatSupported(format)) {
            supported = true;
            break;
        }
    }
    if (!supported || (format != stream->format() && !stream->openSound(path, format.sampleFormat()))) {
        qCWarning(lcSound, "ZoAudio: output device cannot play %s", qPrintable(path));
        return;
    }
    auto sink = std::make_unique<QAudioSink>(device, format, this);
    sink->setVolume(linearVolume(mPlaybackVolume));
    sink->start(stream.get());
    if (sink->error() != QAudio::NoError) {
        qCWarning(lcSound, "ZoAudio: audio output did not start");
        return;
    }
    mSink = sink.release();
    mPlayStream = stream.release();
    mPlaying = true;
    connect(mSink, &QAudioSink::stateChanged, this, &ZoAudio::sinkStateChanged);
    // The idle state ends playback; the timer covers an output that never reports it.
    const qint64 durationMs = mPlayStream->sound().durationMs();
    mPlayTimer->start(int(qMin<qint64>(durationMs + 2000, 24 * 3600 * 1000)));
}

void ZoAudio::sinkStateChanged()
{
    if (!mPlaying || !mSink)
        return;
    const QAudio::State state = mSink->state();
    if (state == QAudio::IdleState || state == QAudio::StoppedState || mSink->error() != QAudio::NoError)
        finishPlayback();
}

void ZoAudio::finishPlayback()
{
    if (!mPlaying)
        return;
    mPlaying = false;
    mPlayTimer->stop();
    if (mSink) {
        mSink->disconnect(this);
        mSink->stop();
        mSink->deleteLater();
    }
    mSink = nullptr;
    if (mPlayStream)
        mPlayStream->deleteLater();
    mPlayStream = nullptr;
}

// ---- files --------------------------------------------------------------

QString ZoAudio::safeUserName(const QString& userName)
{
    QString safe;
    for (const QChar c : userName) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') || c == QLatin1Char('_'))
            safe.append(c);
    }
    safe.truncate(32);
    return safe.isEmpty() ? QStringLiteral("user") : safe;
}

void ZoAudio::storeRecording(QString result[2], const QString source[2], QString userName)
{
    result[0].clear();
    result[1].clear();
    const QString sourcePath = pathOf(source[0], source[1]);
    if (source[1].isEmpty() || !QFileInfo(sourcePath).isFile()) {
        qCWarning(lcSound, "ZoAudio: nothing to store at %s", qPrintable(sourcePath));
        return;
    }
    QFile in(sourcePath);
    if (!in.open(QIODevice::ReadOnly)) {
        qCWarning(lcSound, "ZoAudio: cannot read %s", qPrintable(sourcePath));
        return;
    }
    const QByteArray bytes = in.readAll();
    in.close();

    const QString dirName = QString::fromLatin1(ContentDir);
    const QDir dir(QDir::current().absoluteFilePath(dirName));
    QDir().mkpath(dir.absolutePath());

    // Write the copy under a temporary name, then give it a name no file has.
    QTemporaryFile temp(dir.absoluteFilePath(QStringLiteral(".store-XXXXXX")));
    temp.setAutoRemove(true);
    if (!temp.open() || temp.write(bytes) != bytes.size() || !temp.flush()) {
        qCWarning(lcSound, "ZoAudio: cannot write a copy into %s", qPrintable(dir.absolutePath()));
        return;
    }
    temp.close();

    const QString stem = safeUserName(userName) + QLatin1Char('_')
                         + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmsszzz"));
    for (int n = 0; n < 10000; ++n) {
        const QString name = n == 0 ? stem + QStringLiteral(".wav")
                                    : stem + QLatin1Char('_') + QString::number(n) + QStringLiteral(".wav");
        Q_ASSERT(name.size() <= MaxStoredNameLength);
        const QString target = dir.absoluteFilePath(name);
        if (QFileInfo::exists(target))
            continue;
        // rename() refuses an existing target, so a file made meanwhile stays intact.
        if (QFile::rename(temp.fileName(), target)) {
            temp.setAutoRemove(false);
            result[0] = dirName;
            result[1] = name;
            return;
        }
        if (!QFileInfo::exists(target))
            break; // failed for another reason
    }
    qCWarning(lcSound, "ZoAudio: could not name the stored recording");
}

bool ZoAudio::fileExists(QString directory, QString fileName)
{
    if (fileName.isEmpty())
        return false;
    return QFileInfo(pathOf(directory, fileName)).isFile();
}

void ZoAudio::removeFile(QString directory, QString fileName)
{
    if (fileName.isEmpty())
        return;
    const QString path = pathOf(directory, fileName);
    if (QFileInfo(path).isFile())
        QFile::remove(path);
}

// ---- volumes ------------------------------------------------------------

void ZoAudio::setPlaybackVolume(int volume)
{
    mPlaybackVolume = clampVolume(volume);
    QSettings().setValue(QLatin1String(PlaybackKey), mPlaybackVolume);
    if (mSink)
        mSink->setVolume(linearVolume(mPlaybackVolume));
}

void ZoAudio::setRecordVolume(int volume)
{
    mRecordVolume = clampVolume(volume);
    QSettings().setValue(QLatin1String(RecordKey), mRecordVolume);
    if (mSource)
        mSource->setVolume(linearVolume(mRecordVolume));
}

int ZoAudio::playbackVolume()
{
    return mPlaybackVolume;
}

int ZoAudio::recordVolume()
{
    return mRecordVolume;
}
