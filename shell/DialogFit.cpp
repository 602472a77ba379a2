#include "DialogFit.h"

#include <QLayout>
#include <QScreen>
#include <QWidget>

void DialogFit::fit(QWidget* dialog, const QSize& least)
{
    if (QLayout* layout = dialog->layout())
        layout->invalidate();
    QSize minimum = least.expandedTo(dialog->minimumSizeHint());
    QSize wanted = dialog->size().expandedTo(dialog->sizeHint()).expandedTo(minimum);
    if (const QScreen* screen = dialog->screen()) {
        const QSize room = screen->availableGeometry().size();
        minimum = minimum.boundedTo(room);
        wanted = wanted.boundedTo(room);
    }
    dialog->setMinimumSize(minimum);
    dialog->resize(wanted);

    // Centred on its window from the start, so that boxes opened over it
    // before it shows appear there too, not at the screen's corner.
    const QWidget* parent = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    if (parent && parent->isVisible()) {
        QRect frame(QPoint(), wanted);
        frame.moveCenter(parent->frameGeometry().center());
        if (const QScreen* screen = dialog->screen()) {
            const QRect room = screen->availableGeometry();
            frame.moveLeft(qBound(room.left(), frame.left(), qMax(room.left(), room.right() - frame.width())));
            frame.moveTop(qBound(room.top(), frame.top(), qMax(room.top(), room.bottom() - frame.height())));
        }
        dialog->move(frame.topLeft());
    }
}
