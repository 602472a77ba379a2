#include "StudyFixture.h"

#include "TestSound.h"
#include "WavFile.h"

#include <QAbstractButton>
#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QTimer>
#include <QtMath>
#include <QtTest>

#include <memory>

namespace {

// A 440 Hz tone of 16-bit mono at 16 kHz.
QByteArray toneWav(int ms)
{
    QAudioFormat format;
    format.setSampleRate(16000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    const int count = 16 * ms;
    QByteArray samples(count * 2, '\0');
    auto* data = reinterpret_cast<qint16*>(samples.data());
    for (int i = 0; i < count; ++i)
        data[i] = qint16(8000 * qSin(2 * M_PI * 440 * i / 16000.0));
    return WavFile::header(format, quint32(samples.size())) + samples;
}

} // namespace

// One exercise drilled with the real sound plug-in: the model, a take of the
// learner, its playback and a comparison.
class TutorSoundTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<StudyFixture> mFx;
    std::unique_ptr<TestHost> mHost;
    bool mDevices = false;

    IAudio* audio() const { return qobject_cast<IAudio*>(mFx->audio()); }

private slots:
    void initTestCase()
    {
        mFx = std::make_unique<StudyFixture>(StudyFixture::RealSound);
        QVERIFY(mFx->isValid());
        QVERIFY(mFx->signIn(QStringLiteral("learner")));
        mHost = std::make_unique<TestHost>();
        mDevices = !QMediaDevices::defaultAudioInput().isNull() && !QMediaDevices::defaultAudioOutput().isNull();
    }

    void cleanupTestCase()
    {
        mHost.reset();
        mFx.reset();
    }

    void drillOneExercise()
    {
        if (!mDevices)
            QSKIP("No PulseAudio server reachable: start one and set PULSE_SERVER (scripts/test does).");
        const QString id = mFx->addExercise(QStringLiteral("bonjour"), {{QStringLiteral("hello"), QString()}},
                                            QString(), toneWav(700));
        QVERIFY(!id.isEmpty());
        mFx->appendStored(id);
        const QByteArray pending = toneWav(300);
        QVERIFY(mFx->writeFile(QStringLiteral("Content/AudioTemp.tmp"), pending));

        IForm* form = mFx->openForm(mHost.get());
        QVERIFY(form);
        QWidget* page = form->widget();
        const auto button = [page](const char* name) { return page->findChild<QAbstractButton*>(QLatin1String(name)); };
        const auto poll = [page](const char* name) { return page->findChild<QTimer*>(QLatin1String(name)); };
        const auto idle = [&] {
            return !poll("modelPlayPoll")->isActive() && !poll("studentPlayPoll")->isActive()
                   && !poll("recordPoll")->isActive() && !poll("comparePoll")->isActive();
        };

        // The model.
        QVERIFY(button("btnModelPlay")->isEnabled());
        QTest::mouseClick(button("btnModelPlay"), Qt::LeftButton);
        QVERIFY(button("btnModelStop")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
        QVERIFY(!button("btnModelStop")->isEnabled());
        QVERIFY(button("btnStudentRecord")->isEnabled());

        // A take of at least 600 ms, stopped by the learner.
        QTest::mouseClick(button("btnStudentRecord"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(audio()->recordingLength() >= 600, 10000);
        QTest::mouseClick(button("btnStudentStop"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
        QVERIFY(WavFile::durationMs(mFx->path(QStringLiteral("Content/StudentTemp.tmp"))) >= 600);
        QCOMPARE(mFx->readFile(QStringLiteral("Content/AudioTemp.tmp")), pending);
        QVERIFY(button("btnStudentPlay")->isEnabled());
        QVERIFY(button("btnPlayCompare")->isEnabled());

        // Its playback.
        QTest::mouseClick(button("btnStudentPlay"), Qt::LeftButton);
        QVERIFY(button("btnStudentStop")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
        QVERIFY(button("btnStudentPlay")->isEnabled());

        // The comparison: the model's turn, then the learner's.
        QTest::mouseClick(button("btnPlayCompare"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(button("btnModelStop")->isEnabled(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(button("btnStudentStop")->isEnabled(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
        QVERIFY(!audio()->isPlaying());
        QVERIFY(button("btnModelPlay")->isEnabled());
        delete page;
    }

    // A model that cannot play with Loop ticked: one message saying why, the
    // loop stops, the window keeps answering.
    void unplayableModelStopsTheLoop_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("size"); // the file made this long (sparse), unless 0
        QTest::addColumn<QString>("why");
        QAudioFormat format;
        format.setSampleRate(16000);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        QTest::newRow("2 GB sparse") << "riesig" << WavFile::header(format, 0x7FFFFFF0u)
                                     << qint64(0x7FFFFFF0) + WavFile::HeaderSize
                                     << ": it is larger than 32 MB, and only a WAV sound of at most 32 MB plays.";
        QTest::newRow("empty") << "leer" << QByteArray() << qint64(0) << ": it is not a WAV sound.";
        QTest::newRow("MS-ADPCM") << "komprimiert"
                                  << TestSound::riff(TestSound::chunk("fmt ", TestSound::format(2, 1, 8000, 4, 256))
                                                     + TestSound::chunk("data", QByteArray(512, 'a')))
                                  << qint64(0) << ": it is a WAV sound in a format that does not play (MS-ADPCM).";
        QTest::newRow("header without samples")
            << "stumm" << WavFile::header(format, 0) << qint64(0) << ": it holds no sound.";
    }

    void unplayableModelStopsTheLoop()
    {
        QFETCH(QString, term);
        QFETCH(QByteArray, content);
        QFETCH(qint64, size);
        QFETCH(QString, why);
        const QString id = mFx->addExercise(term, {{QStringLiteral("x"), QString()}}, QString(), toneWav(100));
        QVERIFY(!id.isEmpty());
        const QString model = mFx->path(QStringLiteral("Content/%1.wav").arg(term));
        {
            QFile file(model);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
            if (size > 0)
                QVERIFY(file.resize(size));
        }
        mFx->appendStored(id);
        IForm* form = mFx->openForm(mHost.get());
        QVERIFY(form);
        QWidget* page = form->widget();
        auto* play = page->findChild<QAbstractButton*>(QStringLiteral("btnModelPlay"));
        auto* loop = page->findChild<QAbstractButton*>(QStringLiteral("btnLoopSound"));
        QVERIFY(play && loop);
        const int boxesBefore = int(mFx->tree().boxes().size());
        loop->setChecked(true);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(10);
        QTest::mouseClick(play, Qt::LeftButton);
        QTest::qWait(500);
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
        const QStringList boxes = mFx->tree().boxes().mid(boxesBefore);
        QCOMPARE(boxes, QStringList{WizardTestTree::info(
                            QStringLiteral("The sound \"%1.wav\" could not be played").arg(term) + why)});
        QVERIFY(!loop->isChecked());
        QVERIFY(!audio()->isPlaying());
        for (const char* name : {"modelPlayPoll", "studentPlayPoll", "comparePoll"})
            QVERIFY(!page->findChild<QTimer*>(QLatin1String(name))->isActive());
        delete page;
        QFile::remove(model);
    }
};

QTEST_MAIN(TutorSoundTest)
#include "tst_tutor_sound.moc"
