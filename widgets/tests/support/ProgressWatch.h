#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QProgressDialog>
#include <QStringList>
#include <QTimer>

// While it lives: the label of every progress dialog shown, and how often
// the event loop ran while one was visible (the window answering during the
// work it follows).
class ProgressWatch : public QObject
{
public:
    ProgressWatch()
    {
        qApp->installEventFilter(this);
        connect(&mTick, &QTimer::timeout, this, [this] {
            for (QWidget* widget : QApplication::allWidgets()) {
                if (qobject_cast<QProgressDialog*>(widget) && widget->isVisible()) {
                    ++mAnswered;
                    return;
                }
            }
        });
        mTick.start(0);
    }
    ~ProgressWatch() override { qApp->removeEventFilter(this); }

    QStringList shown() const { return mShown; }
    int answeredWhileShown() const { return mAnswered; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QProgressDialog*>(watched))
                mShown << dialog->labelText();
        }
        return false;
    }

private:
    QTimer mTick;
    QStringList mShown;
    int mAnswered = 0;
};
