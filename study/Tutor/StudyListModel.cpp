#include "StudyListModel.h"

#include "IStudyResource.h"
#include <QElapsedTimer>

StudyListModel::StudyListModel(IStudyResource* study, QObject* parent)
    : QAbstractTableModel(parent)
    , mStudy(study)
{
}

StudyListModel::~StudyListModel() = default;

int StudyListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int StudyListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant StudyListModel::data(const QModelIndex& index, int role) const
{
    if (!mStudy || !index.isValid() || index.row() >= mRows || role != Qt::DisplayRole)
        return QVariant();
    return index.column() == 0 ? mStudy->idAt(index.row()) : mStudy->termAt(index.row());
}

QVariant StudyListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < mLabels.size())
        return mLabels.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags StudyListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool StudyListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > mRows)
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    mRows -= count;
    endRemoveRows();
    return true;
}

void StudyListModel::setColumnLabels(const QStringList& labels)
{
    mLabels = labels;
    emit headerDataChanged(Qt::Horizontal, 0, 1);
}

void StudyListModel::reload()
{
    beginResetModel();
    mRows = mStudy ? mStudy->count() : 0;
    endResetModel();
}

bool StudyListModel::inStep() const
{
    return mRows == (mStudy ? mStudy->count() : 0);
}

QString StudyListModel::idAt(int row) const
{
    return mStudy && row >= 0 && row < mRows ? mStudy->idAt(row) : QString();
}
