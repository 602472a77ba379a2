// The Create tab with the real sound plug-in: record, stop and play as a
// learner does.

#include "AuthoringTree.h"
#include "Composer.h"
#include "CreateExerciseView.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QtTest>

#include <memory>

class TestComposerSound : public QObject
{
    Q_OBJECT

    AuthoringTree mFixture;
    bool mDevices = false;

private slots:
    void initTestCase()
    {
        QVERIFY(mFixture.setUp(AuthoringTree::RealSound));
        QVERIFY(mFixture.signIn({QStringLiteral("German, Standard")}));
        mDevices = !QMediaDevices::defaultAudioInput().isNull() && !QMediaDevices::defaultAudioOutput().isNull();
    }

    void cleanupTestCase() { mFixture.tearDown(); }

    void recordStopPlay()
    {
        if (!mDevices)
            QSKIP("No PulseAudio server reachable: start one and set PULSE_SERVER (scripts/test does).");
        mFixture.host()->resize(1000, 760);
        auto form = std::make_unique<Composer>();
        form->setMainWindow(mFixture.host());
        form->init();
        mFixture.host()->setCentralWidget(form.get());
        mFixture.host()->show();
        QVERIFY(QTest::qWaitForWindowExposed(mFixture.host()));
        CreateExerciseView* view = form->exerciseEditor();
        view->cmbLanguages->setCurrentIndex(1);
        view->tEditTerm->setPlainText(QStringLiteral("Guten Morgen"));
        QTest::mouseClick(view->btnAddField, Qt::LeftButton);

        QTest::mouseClick(view->btnRecord, Qt::LeftButton);
        QTRY_VERIFY(AuthoringTree::audio()->isRecording());
        QVERIFY(view->btnStop->isEnabled());
        QVERIFY(!view->btnPlay->isEnabled());
        QTest::qWait(1200);
        QTest::mouseClick(view->btnStop, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(view->btnPlay->isEnabled(), 5000);
        QVERIFY(!AuthoringTree::audio()->isRecording());
        QVERIFY(view->btnSave->isEnabled());
        QVERIFY(QFileInfo(mFixture.contentPath(QStringLiteral("AudioTemp.tmp"))).size() > 44);

        QTest::mouseClick(view->btnPlay, Qt::LeftButton);
        QTRY_VERIFY(AuthoringTree::audio()->isPlaying());
        QVERIFY(!view->btnRecord->isEnabled());
        QVERIFY(view->btnStop->isEnabled());
        // Playback of about a second ends by itself.
        QTRY_VERIFY_WITH_TIMEOUT(view->btnRecord->isEnabled(), 10000);
        QVERIFY(!view->btnStop->isEnabled());
        QVERIFY(view->btnPlay->isEnabled());
        mFixture.host()->takeCentralWidget();
    }
};

QTEST_MAIN(TestComposerSound)
#include "tst_composersound.moc"
