#pragma once

#include <QPixmap>
#include <QPoint>
#include <QSet>
#include <QString>
#include <QTableWidget>

class QKeyEvent;
class QMouseEvent;

// The classic cell table of the forms. It keeps a count of the rows it made
// visible (only insertRows, hideRow and setNumRows(0) change it) and re-emits
// key and mouse events with the cell under the mouse. Positions of the
// (int,int,int,QPoint) signals are in contents coordinates (viewport position
// plus scroll offset), except mouseMove, which carries the global position.
class ZoTable : public QTableWidget
{
    Q_OBJECT

public:
    explicit ZoTable(QWidget* parent = nullptr);
    ~ZoTable() override;

    int numRows() const;
    int numCols() const;
    void setNumCols(int cols);

    // Cell text; setText creates the cell's item when there is none.
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    // Cell icon, drawn at the cell's left edge.
    QPixmap pixmap(int row, int col) const;
    void setPixmap(int row, int col, const QPixmap& pixmap);
    // A cell that is never edited, whatever the read-only settings.
    void setFixedItem(int row, int col, const QString& text, const QPixmap& pixmap = QPixmap());

    // Width of the row-number header; 0 hides it.
    void setLeftMargin(int width);
    int leftMargin() const;
    // Height of the column header; 0 hides it.
    void setTopMargin(int height);
    int topMargin() const;

    void setColumnLabels(const QStringList& labels);
    void setColumnStretchable(int col, bool stretch);
    bool isColumnStretchable(int col) const;

    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    void setColumnReadOnly(int col, bool readOnly);
    bool isColumnReadOnly(int col) const;
    bool isCellEditable(int row, int col) const;

    // One whole row selected at a time.
    void setSingleRowSelection();
    bool isRowSelected(int row) const;

signals:
    void keyPress(QKeyEvent* event);
    void mousePress(int row, int col, int buttons, const QPoint& pos);
    void mouseRelease(int row, int col, int buttons, const QPoint& pos);
    void mouseMove(QMouseEvent* event);
    void mouseMove(int row, int col, int buttons, const QPoint& globalPos);
    void mouseDoubleClick(int row, int col, int buttons, const QPoint& pos);
    void zoTableChanged(ZoTable* table);
    void tableChanged();
    // Release over the cell that was pressed: the released button.
    void clicked(int row, int col, int button, const QPoint& pos);
    void doubleClicked(int row, int col, int button, const QPoint& pos);
    // Any change of the selection.
    void tableSelectionChanged();

public slots:
    virtual void insertRows(int row, int count);
    void insertRows(int row);
    virtual void hideRow(int row);
    virtual void setNumRows(int rows);
    virtual void zoTableSelectionChanged();
    void redrawTable();
    int anyRowVisible();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    QTableWidgetItem* cellItem(int row, int col);
    QPoint contentsPos(const QPoint& viewportPos) const;

    int mVisibleRows = 0;
    bool mReadOnly = false;
    QSet<int> mReadOnlyColumns;
    int mPressRow = -1;
    int mPressCol = -1;
};
