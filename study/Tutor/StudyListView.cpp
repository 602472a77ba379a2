#include "StudyListView.h"

#include <QHeaderView>
#include <QMouseEvent>

StudyListView::StudyListView(QWidget* parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    // One height for every row: the view never measures a row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionsClickable(false);
}

StudyListView::~StudyListView() = default;

int StudyListView::numRows() const
{
    return model() ? model()->rowCount() : 0;
}

QString StudyListView::text(int row, int col) const
{
    return model() ? model()->index(row, col).data().toString() : QString();
}

int StudyListView::currentRow() const
{
    return currentIndex().row();
}

void StudyListView::setCurrentCell(int row, int col)
{
    if (!model() || !selectionModel())
        return;
    const QModelIndex index = model()->index(row, col);
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void StudyListView::redrawTable()
{
    const int h = horizontalHeader()->sizeHint().height();
    horizontalHeader()->setFixedHeight(h);
    verticalHeader()->setMinimumSectionSize(qMin(verticalHeader()->minimumSectionSize(), h));
    verticalHeader()->setDefaultSectionSize(h);
}

QPoint StudyListView::contentsPos(const QPoint& viewportPos) const
{
    return viewportPos + QPoint(horizontalOffset(), verticalOffset());
}

void StudyListView::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    mPressRow = rowAt(pos.y());
    mPressCol = columnAt(pos.x());
}

void StudyListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    const QPoint pos = event->position().toPoint();
    const int row = rowAt(pos.y());
    const int col = columnAt(pos.x());
    const bool overPressedCell = row >= 0 && col >= 0 && row == mPressRow && col == mPressCol;
    mPressRow = -1;
    mPressCol = -1;
    if (overPressedCell)
        emit clicked(row, col, int(event->button()), contentsPos(pos));
}

void StudyListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    const QPoint pos = event->position().toPoint();
    emit mouseDoubleClick(rowAt(pos.y()), columnAt(pos.x()), int(event->buttons()), contentsPos(pos));
}

void StudyListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTableView::selectionChanged(selected, deselected);
    emit tableSelectionChanged();
}
