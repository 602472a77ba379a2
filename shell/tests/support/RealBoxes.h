#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

// For its lifetime, message boxes are shown for real (the scripted log and
// answers are set aside) and each box that opens is handled: by onBox when
// set, otherwise by pressing `key` in it. A box the key does not close is
// counted as stuck and then closed, so that the test goes on.
class RealBoxes : public QObject
{
public:
    explicit RealBoxes(Qt::Key key = Qt::Key_Escape)
        : mKey(key)
    {
        mLog = qgetenv("VIREDA_MSGBOX_LOG");
        mAnswers = qgetenv("VIREDA_MSGBOX_ANSWERS");
        qunsetenv("VIREDA_MSGBOX_LOG");
        qunsetenv("VIREDA_MSGBOX_ANSWERS");
        connect(&mTimer, &QTimer::timeout, this, &RealBoxes::poll);
        mTimer.start(5);
    }

    ~RealBoxes() override
    {
        mTimer.stop();
        qputenv("VIREDA_MSGBOX_LOG", mLog);
        qputenv("VIREDA_MSGBOX_ANSWERS", mAnswers);
    }

    std::function<void(QMessageBox*)> onBox;
    QStringList texts;
    int stuck = 0;

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == mLast)
            return;
        mLast = box;
        texts << box->text();
        if (onBox) {
            onBox(box);
            return;
        }
        QTest::keyClick(box, mKey);
        if (box->isVisible()) {
            ++stuck;
            box->done(-1);
        }
    }

    Qt::Key mKey;
    QByteArray mLog;
    QByteArray mAnswers;
    QPointer<QMessageBox> mLast;
    QTimer mTimer;
};
