#pragma once

#include <QSize>

class QWidget;

// Sizes a dialog to its content in its current font: the size it was given
// becomes a minimum, and the layout's needs win where they are larger. The
// result stays within the screen and is centred on the parent's window.
class DialogFit
{
public:
    static void fit(QWidget* dialog, const QSize& least = QSize());
};
