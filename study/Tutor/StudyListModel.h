#pragma once

#include <QAbstractTableModel>
#include <QStringList>

class IStudyResource;

// The study list as two columns, the exercise id and the study term, read
// from the study list only when a row is shown. The number of rows is taken
// when the list is reloaded.
class StudyListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit StudyListModel(IStudyResource* study, QObject* parent = nullptr);
    ~StudyListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    void setColumnLabels(const QStringList& labels);
    // Takes the study list's length again.
    void reload();
    // True when the study list is as long as the rows shown.
    bool inStep() const;
    QString idAt(int row) const;

private:
    IStudyResource* mStudy;
    int mRows = 0;
    QStringList mLabels;
};
