#include "DialogFit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

namespace {

const char* const ScrollName = "dialogFitScroll";

QScrollArea* scrollArea(QWidget* owner, QWidget* page)
{
    auto* scroll = new QScrollArea(owner);
    scroll->setObjectName(QLatin1String(ScrollName));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    return scroll;
}

// A row of buttons (and spacers) only, or a button box.
bool isButtonRow(QLayoutItem* item)
{
    if (!item)
        return false;
    if (qobject_cast<QDialogButtonBox*>(item->widget()))
        return true;
    QLayout* row = item->layout();
    if (!row)
        return false;
    bool button = false;
    for (int i = 0; i < row->count(); ++i) {
        QLayoutItem* part = row->itemAt(i);
        if (part->spacerItem())
            continue;
        if (!qobject_cast<QAbstractButton*>(part->widget()) && !qobject_cast<QDialogButtonBox*>(part->widget()))
            return false;
        button = true;
    }
    return button;
}

// Moves the dialog's form into a scroll area; a trailing row of buttons stays
// below it, always in sight. Only the direction that lacks room scrolls.
void scrollForm(QWidget* dialog, bool wideEnough)
{
    QLayout* form = dialog->layout();
    if (!form || dialog->findChild<QScrollArea*>(QLatin1String(ScrollName), Qt::FindDirectChildrenOnly))
        return;
    QLayoutItem* buttons = nullptr;
    if (auto* box = qobject_cast<QBoxLayout*>(form);
        box && box->count() > 1 && isButtonRow(box->itemAt(box->count() - 1)))
        buttons = box->takeAt(box->count() - 1);
    const QMargins margins = form->contentsMargins();
    const int spacing = qMax(0, form->spacing());

    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("dialogFitPage"));
    page->setLayout(form); // takes the layout and its widgets from the dialog
    form->setContentsMargins(0, 0, 0, 0);

    QScrollArea* scroll = scrollArea(dialog, page);
    if (wideEnough) {
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setMinimumWidth(page->minimumSizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    }

    auto* outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(margins);
    outer->setSpacing(spacing);
    outer->addWidget(scroll, 1);
    if (buttons) {
        if (QLayout* row = buttons->layout())
            outer->addLayout(row);
        else
            outer->addItem(buttons);
    }
}

QSize shrunk(const QSize& size, const QMargins& frame)
{
    return QSize(size.width() - frame.left() - frame.right(), size.height() - frame.top() - frame.bottom());
}

} // namespace

void DialogFit::fit(QWidget* dialog, const QSize& least)
{
    QWidget* parent = dialog->parentWidget();
    const QScreen* screen = parent ? parent->window()->screen() : dialog->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    fit(dialog, least, room, frameNear(parent ? parent : dialog));
}

void DialogFit::fit(QWidget* dialog, const QSize& least, const QRect& room, const QMargins& frame)
{
    if (QLayout* layout = dialog->layout())
        layout->invalidate();
    const QSize inner = room.isValid() ? shrunk(room.size(), frame) : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QSize need = dialog->minimumSizeHint();
    if (need.width() > inner.width() || need.height() > inner.height()) {
        scrollForm(dialog, need.width() <= inner.width());
        if (QLayout* layout = dialog->layout())
            layout->activate();
        need = dialog->minimumSizeHint();
    }
    QSize minimum = least.expandedTo(need);
    QSize wanted = dialog->size().expandedTo(dialog->sizeHint()).expandedTo(minimum);
    minimum = minimum.boundedTo(inner);
    wanted = wanted.boundedTo(inner);
    dialog->setMinimumSize(minimum);
    dialog->resize(wanted);

    // Centred on its window from the start, so that boxes opened over it
    // before it shows appear there too, not at the screen's corner. The
    // position of a window is that of its frame.
    const QWidget* parent = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    if (parent && parent->isVisible()) {
        QRect outer = QRect(QPoint(), wanted).marginsAdded(frame);
        outer.moveCenter(parent->frameGeometry().center());
        if (room.isValid()) {
            outer.moveLeft(qBound(room.left(), outer.left(), qMax(room.left(), room.right() + 1 - outer.width())));
            outer.moveTop(qBound(room.top(), outer.top(), qMax(room.top(), room.bottom() + 1 - outer.height())));
        }
        dialog->move(outer.topLeft());
    }
}

void DialogFit::scrollContent(QWidget* widget)
{
    QLayout* content = widget ? widget->layout() : nullptr;
    if (!content || widget->findChild<QScrollArea*>(QLatin1String(ScrollName), Qt::FindDirectChildrenOnly))
        return;
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("dialogFitPage"));
    page->setLayout(content); // takes the layout and its widgets from the widget
    QScrollArea* scroll = scrollArea(widget, page);
    auto* outer = new QVBoxLayout(widget);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

QMargins DialogFit::frameNear(const QWidget* near)
{
    const QWidget* window = near ? near->window() : nullptr;
    if (window && window->isVisible()) {
        const QRect outer = window->frameGeometry();
        const QRect inner = window->geometry();
        const QMargins drawn(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom());
        if (!drawn.isNull())
            return drawn;
    }
    const QStyle* style = near ? near->style() : QApplication::style();
    const int border = qMax(1, style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth));
    return QMargins(border, style->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border);
}
