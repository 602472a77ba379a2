#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

// Progress of long work on the window's thread (a big lesson saved or added
// to the study list): a window-modal progress dialog that appears at the
// first step after showAfterMs(); from then on every step lets the window
// repaint and answer.
class WorkProgress
{
    Q_DECLARE_TR_FUNCTIONS(WorkProgress)

public:
    // total 0: a busy display without figures. cancellable adds an Abort
    // button; without it the work cannot be stopped halfway.
    WorkProgress(QWidget* parent, const QString& title, const QString& label, int total, bool cancellable = false);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    void setLabel(const QString& label);
    void setTotal(int total);
    // The work has reached done; false once the parent is gone or Abort was
    // pressed.
    bool step(int done);
    bool wasCanceled() const;
    // Out of the way while another dialog asks the learner.
    void hide();
    // Shown at once for a step that cannot report (one transaction) when the
    // work before it was long enough to show it.
    void showAgainIfShown();

    static int showAfterMs();
    static void setShowAfterMs(int ms);

private:
    QPointer<QWidget> mParent;
    QPointer<QProgressDialog> mDialog;
    bool mWasShown = false;
};
