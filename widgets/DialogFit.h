#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// Sizes a dialog to its content in its current font: the size it was given
// becomes a minimum, and the layout's needs win where they are larger. The
// dialog and the frame the window system draws around it stay within the
// screen; a form too tall or too wide for that scrolls, with its row of
// buttons kept below the scrolled part. The dialog is centred on the parent's
// window.
class DialogFit
{
public:
    static void fit(QWidget* dialog, const QSize& least = QSize());
    // The same within the given room, for a frame of the given margins.
    static void fit(QWidget* dialog, const QSize& least, const QRect& room, const QMargins& frame);

    // Moves the widget's layout into a scroll area that fills it: the widget
    // then asks for no more room than the scroll area, and its content
    // scrolls where the room is below the content's needs. Done once.
    static void scrollContent(QWidget* widget);

    // The frame around a top-level window: as drawn around the window of
    // `near` when that is shown, otherwise a title bar and thin borders.
    static QMargins frameNear(const QWidget* near);
};
