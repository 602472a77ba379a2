#pragma once

#include <QPoint>
#include <QTableView>

class QMouseEvent;

// The study tab's list: one whole row selected at a time, every row as high
// as the column header, and the mouse and selection signals the tab answers.
class StudyListView : public QTableView
{
    Q_OBJECT

public:
    explicit StudyListView(QWidget* parent = nullptr);
    ~StudyListView() override;

    int numRows() const;
    QString text(int row, int col) const;
    int currentRow() const;
    // Makes the cell current and selects its row; a row of -1 clears both.
    void setCurrentCell(int row, int col);
    // Row height and header height after a change of font.
    void redrawTable();

signals:
    // Release over the cell that was pressed: the released button.
    void clicked(int row, int col, int button, const QPoint& pos);
    void mouseDoubleClick(int row, int col, int buttons, const QPoint& pos);
    // Any change of the selection.
    void tableSelectionChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    QPoint contentsPos(const QPoint& viewportPos) const;

    int mPressRow = -1;
    int mPressCol = -1;
};
