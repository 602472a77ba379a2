#include "ScriptedAudio.h"

#include "ContentGate.h"
#include "WavFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>

namespace {

int envInt(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

} // namespace

ScriptedAudio::ScriptedAudio()
    : mPlayMs(envInt("VIREDA_TEST_AUDIO_PLAY_MS", 300))
    , mRecordMs(envInt("VIREDA_TEST_AUDIO_RECORD_MS", 500))
    , mFailRecord(envInt("VIREDA_TEST_AUDIO_FAIL_RECORD", 0) != 0)
    , mPlayTimer(new QTimer(this))
    , mRecordTimer(new QTimer(this))
{
    // Precise: a coarse timer may end a scripted sound early.
    mPlayTimer->setSingleShot(true);
    mPlayTimer->setTimerType(Qt::PreciseTimer);
    mRecordTimer->setSingleShot(true);
    mRecordTimer->setTimerType(Qt::PreciseTimer);
    connect(mPlayTimer, &QTimer::timeout, this, &ScriptedAudio::endPlayback);
    connect(mRecordTimer, &QTimer::timeout, this, &ScriptedAudio::endRecording);
}

QString ScriptedAudio::pathOf(const QString& directory, const QString& fileName)
{
    return QDir::current().absoluteFilePath(directory.isEmpty() ? fileName : directory + QLatin1Char('/') + fileName);
}

void ScriptedAudio::note(const QString& call)
{
    mCalls.append(call);
    const QString log = qEnvironmentVariable("VIREDA_TEST_AUDIO_LOG");
    if (log.isEmpty())
        return;
    QFile file(log);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        file.write(call.toUtf8() + '\n');
}

bool ScriptedAudio::isPlaying()
{
    return mPlaying;
}

bool ScriptedAudio::isRecording()
{
    return mRecording;
}

void ScriptedAudio::stop()
{
    note(QStringLiteral("stop"));
    endRecording();
    endPlayback();
}

void ScriptedAudio::play(QString directory, QString fileName)
{
    note(QStringLiteral("play %1/%2").arg(directory, fileName));
    endPlayback();
    if (fileName.isEmpty() || !QFileInfo(pathOf(directory, fileName)).isFile())
        return;
    mPlaying = true;
    if (mPlayMs >= 0)
        mPlayTimer->start(mPlayMs);
}

void ScriptedAudio::record(int channels, int sampleRate, int maxSeconds)
{
    note(QStringLiteral("record %1 %2 %3").arg(channels).arg(sampleRate).arg(maxSeconds));
    startRecording(QStringLiteral("AudioTemp.tmp"), maxSeconds);
}

void ScriptedAudio::recordInto(QString fileName, int channels, int sampleRate, int maxSeconds)
{
    note(QStringLiteral("recordInto %1 %2 %3 %4").arg(fileName).arg(channels).arg(sampleRate).arg(maxSeconds));
    if (!ContentGate::isPlainFileName(fileName)) {
        endRecording();
        return;
    }
    startRecording(fileName, maxSeconds);
}

void ScriptedAudio::startRecording(const QString& fileName, int maxSeconds)
{
    endRecording();
    QFile::remove(pathOf(QStringLiteral("Content"), fileName));
    if (mFailRecord || maxSeconds <= 0)
        return;
    mRecordName = fileName;
    mRecording = true;
    mRecordStart = QDateTime::currentMSecsSinceEpoch();
    const int limit = maxSeconds * 1000;
    mRecordTimer->start(mRecordMs < 0 ? limit : qMin(mRecordMs, limit));
}

void ScriptedAudio::endPlayback()
{
    mPlayTimer->stop();
    mPlaying = false;
}

void ScriptedAudio::endRecording()
{
    if (!mRecording)
        return;
    mRecordTimer->stop();
    mRecording = false;
    const qint64 ms = qMax<qint64>(1, QDateTime::currentMSecsSinceEpoch() - mRecordStart);
    QAudioFormat format;
    format.setSampleRate(16000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    const QByteArray samples(format.bytesForDuration(ms * 1000), '\0');
    const QString path = pathOf(QStringLiteral("Content"), mRecordName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(WavFile::header(format, quint32(samples.size())) + samples);
        file.commit();
    }
}

void ScriptedAudio::storeRecording(QString result[2], const QString source[2], QString userName)
{
    note(QStringLiteral("storeRecording %1/%2 %3").arg(source[0], source[1], userName));
    result[0].clear();
    result[1].clear();
    QFile in(pathOf(source[0], source[1]));
    if (source[1].isEmpty() || !in.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = in.readAll();
    QDir().mkpath(pathOf(QStringLiteral("Content"), QString()));
    QString name;
    do {
        name = QStringLiteral("%1_%2.wav").arg(userName.isEmpty() ? QStringLiteral("user") : userName).arg(++mStored);
    } while (QFileInfo::exists(pathOf(QStringLiteral("Content"), name)));
    QSaveFile out(pathOf(QStringLiteral("Content"), name));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return;
    result[0] = QStringLiteral("Content");
    result[1] = name;
}

int ScriptedAudio::recordingLength()
{
    if (mRecording)
        return int(QDateTime::currentMSecsSinceEpoch() - mRecordStart);
    return int(WavFile::durationMs(pathOf(QStringLiteral("Content"), QStringLiteral("AudioTemp.tmp"))));
}

bool ScriptedAudio::fileExists(QString directory, QString fileName)
{
    return !fileName.isEmpty() && QFileInfo(pathOf(directory, fileName)).isFile();
}

void ScriptedAudio::removeFile(QString directory, QString fileName)
{
    note(QStringLiteral("removeFile %1/%2").arg(directory, fileName));
    if (!fileName.isEmpty() && QFileInfo(pathOf(directory, fileName)).isFile())
        QFile::remove(pathOf(directory, fileName));
}

void ScriptedAudio::setPlaybackVolume(int volume)
{
    mPlaybackVolume = qBound(0, volume, 99);
}

void ScriptedAudio::setRecordVolume(int volume)
{
    mRecordVolume = qBound(0, volume, 99);
}

int ScriptedAudio::playbackVolume()
{
    return mPlaybackVolume;
}

int ScriptedAudio::recordVolume()
{
    return mRecordVolume;
}
