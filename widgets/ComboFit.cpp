#include "ComboFit.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QEvent>

ComboFit* ComboFit::of(QComboBox* combo)
{
    if (!combo)
        return nullptr;
    if (auto* fit = combo->findChild<ComboFit*>(QString(), Qt::FindDirectChildrenOnly))
        return fit;
    return new ComboFit(combo);
}

ComboFit::ComboFit(QComboBox* combo)
    : QObject(combo)
    , mCombo(combo)
    , mDesignedWidth(combo->minimumWidth())
{
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->installEventFilter(this);
    QAbstractItemModel* model = combo->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &ComboFit::fitLater);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ComboFit::fitLater);
    connect(model, &QAbstractItemModel::dataChanged, this, &ComboFit::fitLater);
    connect(model, &QAbstractItemModel::modelReset, this, &ComboFit::fitLater);
    fit();
}

void ComboFit::fitLater()
{
    if (mPending)
        return;
    mPending = true;
    QMetaObject::invokeMethod(this, &ComboFit::fit, Qt::QueuedConnection);
}

void ComboFit::fit()
{
    mPending = false;
    if (!mCombo)
        return;
    const int width = qMax(mDesignedWidth, mCombo->sizeHint().width());
    if (mCombo->minimumWidth() != width)
        mCombo->setMinimumWidth(width);
}

bool ComboFit::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::Show:
        fitLater();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
