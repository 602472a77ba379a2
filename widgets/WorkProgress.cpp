#include "WorkProgress.h"

#include <QProgressDialog>

namespace {

int gShowAfterMs = 1000;

} // namespace

WorkProgress::WorkProgress(QWidget* parent, const QString& title, const QString& label, int total, bool cancellable)
    : mParent(parent)
{
    mDialog = new QProgressDialog(label, cancellable ? tr("Abort") : QString(), 0, total, parent);
    if (!cancellable)
        mDialog->setCancelButton(nullptr);
    mDialog->setWindowTitle(title);
    mDialog->setWindowModality(Qt::WindowModal);
    mDialog->setAutoClose(false);
    mDialog->setAutoReset(false);
    mDialog->setMinimumDuration(gShowAfterMs);
    mDialog->setValue(0);
}

WorkProgress::~WorkProgress()
{
    if (mDialog) {
        mDialog->hide();
        mDialog->deleteLater();
    }
}

void WorkProgress::setLabel(const QString& label)
{
    if (mDialog)
        mDialog->setLabelText(label);
}

void WorkProgress::setTotal(int total)
{
    if (mDialog)
        mDialog->setRange(0, total);
}

bool WorkProgress::step(int done)
{
    if (!mParent || !mDialog)
        return false;
    // Shown once the work has taken longer than the dialog's minimum duration.
    if (mDialog->maximum() > 0)
        mDialog->setValue(qBound(1, done, mDialog->maximum()));
    // Events run only once it shows: quick work behaves as without it.
    if (mDialog->isVisible())
        QCoreApplication::processEvents();
    return mParent && mDialog && !mDialog->wasCanceled();
}

bool WorkProgress::wasCanceled() const
{
    return !mDialog || mDialog->wasCanceled();
}

void WorkProgress::hide()
{
    if (!mDialog)
        return;
    const bool visible = mDialog->isVisible();
    mWasShown = mWasShown || visible;
    mDialog->hide();
    // Stops the timer that would show it.
    mDialog->reset();
    // Off the screen before the next dialog is built.
    if (visible)
        QCoreApplication::processEvents();
}

void WorkProgress::showAgainIfShown()
{
    if (!mDialog || !mWasShown)
        return;
    mDialog->show();
    mDialog->repaint();
    QCoreApplication::processEvents();
}

int WorkProgress::showAfterMs()
{
    return gShowAfterMs;
}

void WorkProgress::setShowAfterMs(int ms)
{
    gShowAfterMs = ms;
}
