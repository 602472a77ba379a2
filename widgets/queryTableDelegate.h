#pragma once

#include <QItemDelegate>

class IResource;
class QPixmap;

// Draws the language, country and learner-level id columns of a stored
// content model as names, and one column as a centred icon.
class queryTableDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    queryTableDelegate(int languageColumn, int countryColumn, int learnerLevelColumn, int iconColumn, QPixmap* icon,
                       QObject* parent = nullptr);
    ~queryTableDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Measures the name drawn, not the id stored.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The text drawn for a cell of an id column: the resource's name for the
    // id, or the id itself when the resource is missing.
    QString displayName(const QModelIndex& index) const;

private:
    void paintText(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                   const QString& text) const;
    void paintIcon(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    IResource* resourceFor(int column) const;

    int mLanguageColumn;
    int mCountryColumn;
    int mLearnerLevelColumn;
    int mIconColumn;
    QPixmap* mIcon;
    // Shared plug-in instances: never deleted here.
    IResource* mLanguages = nullptr;
    IResource* mCountries = nullptr;
    IResource* mLearnerLevels = nullptr;
};
