#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class IDbManager;
class IResource;
class QPixmap;
class QSqlQueryModel;
class QTableView;
class QWidget;
class queryTableDelegate;

// Drives a table view with the store's query model: hidden and stretched
// columns as the store names them, sorting by header clicks, names in place
// of language and country ids in row records.
class ZoQueryTable : public QObject
{
    Q_OBJECT

public:
    ZoQueryTable(QTableView* view, QWidget* owner, IDbManager* store);
    ~ZoQueryTable() override;

    // The column shown with the icon; it is as wide as 1.5 times the icon.
    void setIconColumn(int column, QPixmap* icon);
    // Runs the store's query for type ("Exercise" or "Lesson") sorted by the
    // header's sort indicator and shows the result.
    void query(const QString& type, const QHash<QString, QString>& criteria, int rowHeight);
    // The row as a record keyed by the column captions, with "Id", "Term" and
    // "StateProv" in place of the empty caption, "Study Term" and
    // "State/Province", and language and country ids turned into names.
    // Empty for a row outside the model.
    QHash<QString, QString> rowData(int row) const;
    // Rows selected as whole rows, ascending.
    QList<int> selectedRows() const;

    QSqlQueryModel* model() const;
    int iconColumn() const;
    int iconWidth() const;

public slots:
    void columnClicked(int column);

private:
    void applyIconColumn();

    QPointer<QTableView> mView;
    QWidget* mOwner;
    IDbManager* mStore;
    // The store's model of the last query, and the delegate drawing it.
    std::unique_ptr<QSqlQueryModel> mModel;
    std::unique_ptr<queryTableDelegate> mDelegate;
    int mIconColumn = -1;
    int mIconWidth = 0;
    QPixmap* mIcon = nullptr;
    QString mType;
    QHash<QString, QString> mCriteria;
    int mRowHeight = 0;
    // The order the rows are shown in; the header flips its own indicator on
    // a click before columnClicked runs, so it cannot be read back then.
    int mSortSection = 0;
    int mSortOrder = 0;
    // Shared plug-in instances: never deleted here.
    IResource* mLanguages = nullptr;
    IResource* mCountries = nullptr;
};
