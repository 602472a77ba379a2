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
// columns are left alone. Only the rows on screen are measured, once the
// events of a change have run: after a change of the model, the headers or
// the font; after rows came in or changed where the view shows them; after
// a scroll or a resize brought other rows into view. The cost does not
// follow the number of rows.
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
    void scheduleShown();
    void scheduleRows(int first, int last);
    // The first and last row the viewport shows; false when it shows none.
    bool shownRows(int* first, int* last) const;
    // The widest of these rows' cells in each column, the header's text included.
    void grow(int firstRow, int lastRow);
    void placeStretched();

    QPointer<QTableView> mView;
    QPointer<QAbstractItemModel> mModel;
    QTimer mTimer;
    // Measure anew, or the rows shown, or the changed rows among them.
    bool mAll = true;
    bool mShown = false;
    int mFirstRow = -1;
    int mLastRow = -1;
    // What each column needs, as last measured.
    QHash<int, int> mNeeded;
    // Stretched columns given their width for want of room.
    QSet<int> mUnstretched;
};
