#include "ZoTable.h"

#include "ColumnFit.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

ZoTable::ZoTable(QWidget* parent)
    : QTableWidget(parent)
{
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    connect(this, &ZoTable::tableSelectionChanged, this, &ZoTable::zoTableSelectionChanged);
    ColumnFit::of(this);
}

ZoTable::~ZoTable() = default;

int ZoTable::numRows() const
{
    return rowCount();
}

int ZoTable::numCols() const
{
    return columnCount();
}

void ZoTable::setNumCols(int cols)
{
    setColumnCount(cols);
}

QString ZoTable::text(int row, int col) const
{
    const QTableWidgetItem* it = item(row, col);
    return it ? it->text() : QString();
}

QTableWidgetItem* ZoTable::cellItem(int row, int col)
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount())
        return nullptr;
    QTableWidgetItem* it = item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        setItem(row, col, it);
    }
    return it;
}

void ZoTable::setText(int row, int col, const QString& text)
{
    if (QTableWidgetItem* it = cellItem(row, col))
        it->setText(text);
}

QPixmap ZoTable::pixmap(int row, int col) const
{
    const QTableWidgetItem* it = item(row, col);
    return it ? it->data(Qt::DecorationRole).value<QPixmap>() : QPixmap();
}

void ZoTable::setPixmap(int row, int col, const QPixmap& pixmap)
{
    // A pixmap in the decoration role is drawn at its own size.
    if (QTableWidgetItem* it = cellItem(row, col))
        it->setData(Qt::DecorationRole, pixmap.isNull() ? QVariant() : QVariant(pixmap));
}

void ZoTable::setFixedItem(int row, int col, const QString& text, const QPixmap& pixmap)
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount())
        return;
    auto* it = new QTableWidgetItem(text);
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (!pixmap.isNull())
        it->setData(Qt::DecorationRole, pixmap);
    setItem(row, col, it);
}

void ZoTable::setLeftMargin(int width)
{
    QHeaderView* header = verticalHeader();
    if (width <= 0) {
        header->hide();
        return;
    }
    header->setFixedWidth(width);
    header->show();
}

int ZoTable::leftMargin() const
{
    return verticalHeader()->isHidden() ? 0 : verticalHeader()->width();
}

void ZoTable::setTopMargin(int height)
{
    QHeaderView* header = horizontalHeader();
    if (height <= 0) {
        header->hide();
        return;
    }
    header->setFixedHeight(height);
    header->show();
}

int ZoTable::topMargin() const
{
    return horizontalHeader()->isHidden() ? 0 : horizontalHeader()->height();
}

void ZoTable::setColumnLabels(const QStringList& labels)
{
    setHorizontalHeaderLabels(labels);
}

void ZoTable::setColumnStretchable(int col, bool stretch)
{
    if (col < 0 || col >= columnCount())
        return;
    horizontalHeader()->setSectionResizeMode(col, stretch ? QHeaderView::Stretch : QHeaderView::Interactive);
}

bool ZoTable::isColumnStretchable(int col) const
{
    if (col < 0 || col >= columnCount())
        return false;
    return horizontalHeader()->sectionResizeMode(col) == QHeaderView::Stretch;
}

void ZoTable::setReadOnly(bool readOnly)
{
    mReadOnly = readOnly;
}

bool ZoTable::isReadOnly() const
{
    return mReadOnly;
}

void ZoTable::setColumnReadOnly(int col, bool readOnly)
{
    if (readOnly)
        mReadOnlyColumns.insert(col);
    else
        mReadOnlyColumns.remove(col);
}

bool ZoTable::isColumnReadOnly(int col) const
{
    return mReadOnlyColumns.contains(col);
}

bool ZoTable::isCellEditable(int row, int col) const
{
    if (mReadOnly || mReadOnlyColumns.contains(col))
        return false;
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount())
        return false;
    const QTableWidgetItem* it = item(row, col);
    return !it || (it->flags() & Qt::ItemIsEditable);
}

void ZoTable::setSingleRowSelection()
{
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
}

bool ZoTable::isRowSelected(int row) const
{
    return selectionModel() && selectionModel()->isRowSelected(row, rootIndex());
}

void ZoTable::insertRows(int row, int count)
{
    if (count <= 0)
        return;
    row = qBound(0, row, rowCount());
    model()->insertRows(row, count);
    setRowHeight(row, horizontalHeader()->sizeHint().height());
    mVisibleRows += count;
    emit zoTableChanged(this);
}

void ZoTable::insertRows(int row)
{
    insertRows(row, 1);
}

void ZoTable::hideRow(int row)
{
    if (row < 0 || row >= rowCount() || isRowHidden(row))
        return;
    QTableWidget::hideRow(row);
    --mVisibleRows;
    emit tableChanged();
}

void ZoTable::setNumRows(int rows)
{
    setRowCount(qMax(0, rows));
    if (rows <= 0)
        mVisibleRows = 0;
}

void ZoTable::zoTableSelectionChanged()
{
    emit zoTableChanged(this);
}

void ZoTable::redrawTable()
{
    const int h = horizontalHeader()->sizeHint().height();
    // A hidden column header stays hidden.
    horizontalHeader()->setFixedHeight(h);
    // Every row at once: sizing the rows one by one costs the square of their number.
    verticalHeader()->setDefaultSectionSize(h);
}

int ZoTable::anyRowVisible()
{
    return mVisibleRows;
}

QPoint ZoTable::contentsPos(const QPoint& viewportPos) const
{
    return viewportPos + QPoint(horizontalOffset(), verticalOffset());
}

void ZoTable::keyPressEvent(QKeyEvent* event)
{
    QTableWidget::keyPressEvent(event);
    emit keyPress(event);
}

void ZoTable::mousePressEvent(QMouseEvent* event)
{
    QTableWidget::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    mPressRow = rowAt(pos.y());
    mPressCol = columnAt(pos.x());
    emit mousePress(mPressRow, mPressCol, int(event->buttons()), contentsPos(pos));
}

void ZoTable::mouseReleaseEvent(QMouseEvent* event)
{
    QTableWidget::mouseReleaseEvent(event);
    const QPoint pos = event->position().toPoint();
    const int row = rowAt(pos.y());
    const int col = columnAt(pos.x());
    const QPoint contents = contentsPos(pos);
    const bool overPressedCell = row >= 0 && col >= 0 && row == mPressRow && col == mPressCol;
    mPressRow = -1;
    mPressCol = -1;
    if (overPressedCell)
        emit clicked(row, col, int(event->button()), contents);
    emit mouseRelease(row, col, int(event->buttons()), contents);
}

void ZoTable::mouseMoveEvent(QMouseEvent* event)
{
    QTableWidget::mouseMoveEvent(event);
    const QPoint pos = event->position().toPoint();
    emit mouseMove(rowAt(pos.y()), columnAt(pos.x()), int(event->buttons()), event->globalPosition().toPoint());
}

void ZoTable::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    const QPoint pos = event->position().toPoint();
    const int row = rowAt(pos.y());
    const int col = columnAt(pos.x());
    const QPoint contents = contentsPos(pos);
    if (row >= 0 && col >= 0)
        emit doubleClicked(row, col, int(event->button()), contents);
    emit mouseDoubleClick(row, col, int(event->buttons()), contents);
}

bool ZoTable::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (index.isValid() && !isCellEditable(index.row(), index.column()))
        return false;
    return QTableWidget::edit(index, trigger, event);
}

void ZoTable::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTableWidget::selectionChanged(selected, deselected);
    emit tableSelectionChanged();
}
