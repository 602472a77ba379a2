#include "ColumnFit.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

ColumnFit* ColumnFit::of(QTableView* view)
{
    if (!view)
        return nullptr;
    if (auto* fit = view->findChild<ColumnFit*>(QString(), Qt::FindDirectChildrenOnly))
        return fit;
    return new ColumnFit(view);
}

ColumnFit::ColumnFit(QTableView* view)
    : QObject(view)
    , mView(view)
{
    mTimer.setSingleShot(true);
    mTimer.setInterval(0);
    connect(&mTimer, &QTimer::timeout, this, &ColumnFit::fit);
    view->installEventFilter(this);
    view->horizontalHeader()->installEventFilter(this);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &ColumnFit::scheduleShown);
    watchModel();
    scheduleAll();
}

void ColumnFit::watchModel()
{
    QAbstractItemModel* model = mView ? mView->model() : nullptr;
    if (model == mModel)
        return;
    if (mModel)
        disconnect(mModel, nullptr, this, nullptr);
    mModel = model;
    mAll = true;
    if (!model)
        return;
    connect(model, &QAbstractItemModel::headerDataChanged, this, &ColumnFit::scheduleAll);
    connect(model, &QAbstractItemModel::columnsInserted, this, &ColumnFit::scheduleAll);
    connect(model, &QAbstractItemModel::modelReset, this, &ColumnFit::scheduleAll);
    connect(model, &QAbstractItemModel::layoutChanged, this, &ColumnFit::scheduleAll);
    // Rows that come in or go may move others into view.
    connect(model, &QAbstractItemModel::rowsInserted, this, &ColumnFit::scheduleShown);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ColumnFit::scheduleShown);
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) { scheduleRows(from.row(), to.row()); });
}

void ColumnFit::scheduleAll()
{
    mAll = true;
    mTimer.start();
}

void ColumnFit::scheduleShown()
{
    mShown = true;
    mTimer.start();
}

void ColumnFit::scheduleRows(int first, int last)
{
    if (!mAll && !mShown) {
        mFirstRow = mFirstRow < 0 ? first : qMin(mFirstRow, first);
        mLastRow = qMax(mLastRow, last);
    }
    mTimer.start();
}

bool ColumnFit::shownRows(int* first, int* last) const
{
    const int rows = mModel->rowCount();
    if (rows <= 0)
        return false;
    // Also before the view is shown: the rows its viewport would show first.
    *first = mView->rowAt(0);
    if (*first < 0)
        return false;
    const int bottom = mView->rowAt(qMax(0, mView->viewport()->height() - 1));
    *last = qMin(rows - 1, bottom < 0 ? rows - 1 : bottom);
    return *first <= *last;
}

void ColumnFit::fit()
{
    mTimer.stop();
    watchModel();
    const bool all = mAll;
    const bool shown = mShown;
    const int changedFirst = mFirstRow;
    const int changedLast = mLastRow;
    mAll = mShown = false;
    mFirstRow = mLastRow = -1;
    if (!mView || !mModel)
        return;
    if (all)
        mNeeded.clear();
    int first = -1;
    int last = -1;
    if (shownRows(&first, &last) && !all && !shown) {
        first = qMax(first, changedFirst);
        last = changedFirst < 0 ? -1 : qMin(last, changedLast);
    }
    grow(first, last);
    placeStretched();
}

void ColumnFit::grow(int firstRow, int lastRow)
{
    QHeaderView* header = mView->horizontalHeader();
    const int grid = mView->showGrid() ? 1 : 0;
    for (int column = 0; column < header->count(); ++column) {
        const QHeaderView::ResizeMode mode = header->sectionResizeMode(column);
        if (header->isSectionHidden(column) || (mode != QHeaderView::Interactive && mode != QHeaderView::Stretch))
            continue;
        int needed = qMax(mNeeded.value(column), header->isHidden() ? 0 : header->sectionSizeHint(column));
        for (int row = firstRow; row >= 0 && row <= lastRow; ++row) {
            if (mView->isRowHidden(row))
                continue;
            const QModelIndex index = mModel->index(row, column);
            if (index.isValid())
                needed = qMax(needed, mView->sizeHintForIndex(index).width() + grid);
        }
        mNeeded.insert(column, needed);
        if (mode == QHeaderView::Interactive && header->sectionSize(column) < needed)
            header->resizeSection(column, needed);
    }
}

void ColumnFit::placeStretched()
{
    QHeaderView* header = mView->horizontalHeader();
    QList<int> stretched;
    int total = 0;
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        const QHeaderView::ResizeMode mode = header->sectionResizeMode(column);
        if (mode == QHeaderView::Stretch || (mode == QHeaderView::Interactive && mUnstretched.contains(column))) {
            stretched << column;
            total += mNeeded.value(column);
        } else {
            total += header->sectionSize(column);
        }
    }
    const bool room = total <= mView->viewport()->width();
    for (int column : std::as_const(stretched)) {
        if (room) {
            if (mUnstretched.remove(column))
                header->setSectionResizeMode(column, QHeaderView::Stretch);
            continue;
        }
        if (header->sectionResizeMode(column) == QHeaderView::Stretch) {
            header->setSectionResizeMode(column, QHeaderView::Interactive);
            mUnstretched.insert(column);
        }
        if (header->sectionSize(column) < mNeeded.value(column))
            header->resizeSection(column, mNeeded.value(column));
    }
}

bool ColumnFit::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LanguageChange:
    case QEvent::Show:
        scheduleAll();
        break;
    case QEvent::Resize:
        // A taller view shows more rows; the stretched columns follow the width.
        if (watched == mView)
            scheduleShown();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
