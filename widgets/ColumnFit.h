#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

class QAbstractItemModel;
class QModelIndex;
class QTableView;

// Keeps the columns of a table view at least as wide as their header text
// and the cells the view shows: widths the code gives are minimums, a column
// only grows. Stretched columns stretch while the view has room for every
// column; without it they take what they need and the view scrolls. Fixed
// columns are left alone. Fits again once the events of a change have run:
// the whole table after a change of the model, the headers or the font (the
// first rows only, as the view measures), only the new rows after rows came
// in, the stretched columns after a resize.
class ColumnFit : public QObject
{
    Q_OBJECT

public:
    // The fit of view, made on first use; it lives as long as the view.
    static ColumnFit* of(QTableView* view);

    // Fits now; also takes up a model set on the view since.
    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ColumnFit(QTableView* view);
    void watchModel();
    void scheduleAll();
    void scheduleRows(int first, int last);
    // The widest of these rows' cells in each column, the header's text included.
    void grow(int firstRow, int lastRow, bool anew);
    void placeStretched();

    QPointer<QTableView> mView;
    QPointer<QAbstractItemModel> mModel;
    QTimer mTimer;
    bool mAll = true;
    int mFirstRow = -1;
    int mLastRow = -1;
    // What each column needs, as last measured.
    QHash<int, int> mNeeded;
    // Stretched columns given their width for want of room.
    QSet<int> mUnstretched;
};
