#include "ZoTableView.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

ZoTableView::ZoTableView(QWidget* parent)
    : QTableView(parent)
{
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
}

ZoTableView::~ZoTableView() = default;

void ZoTableView::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::RightButton)
        return;
    QItemSelectionModel* selection = selectionModel();
    const QModelIndex current = currentIndex();
    // The base view may already have selected the row; only an unselected
    // current row replaces the selection (and announces it through the model).
    if (selection && current.isValid() && !selection->isSelected(current))
        selection->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    emit signalRightClicked();
}

void ZoTableView::keyPressEvent(QKeyEvent* event)
{
    QTableView::keyPressEvent(event);
    emit signalKeystroke(event);
}

void ZoTableView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTableView::selectionChanged(selected, deselected);
    emit signalChanged();
}
