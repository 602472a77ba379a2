#include "WizardSearchView.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QString>
#include <QTableView>

void WizardSearchView::show(QTableView* view, QAbstractItemModel* model, bool hideIdColumn)
{
    QAbstractItemModel* oldModel = view->model();
    QItemSelectionModel* oldSelection = view->selectionModel();
    if (model)
        model->setParent(view);
    view->setModel(model);
    if (oldSelection && oldSelection != view->selectionModel())
        delete oldSelection;
    if (oldModel && oldModel != model)
        delete oldModel;
    if (model && model->columnCount() > 0)
        view->setColumnHidden(0, hideIdColumn);
    view->resizeRowsToContents();
}

bool WizardSearchView::selectSingleRow(QTableView* view, int column)
{
    const QAbstractItemModel* model = view->model();
    if (!model || model->rowCount() != 1)
        return false;
    view->selectRow(0);
    view->selectionModel()->setCurrentIndex(model->index(0, column), QItemSelectionModel::NoUpdate);
    return true;
}

void WizardSearchView::clearSelection(QTableView* view)
{
    view->clearSelection();
    // Nothing stays chosen either.
    if (view->selectionModel())
        view->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

QString WizardSearchView::currentText(const QTableView* view, int column)
{
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return QString();
    return current.sibling(current.row(), column).data().toString();
}
