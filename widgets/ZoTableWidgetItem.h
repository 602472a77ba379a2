#pragma once

#include <QString>
#include <QTableWidgetItem>

// A table item whose order drives header-click sorting: in a check column
// (user-checkable, neither selectable nor editable) checked items come first;
// otherwise whole numbers come before other texts, numbers compare by value
// and other texts without regard to case.
class ZoTableWidgetItem : public QTableWidgetItem
{
public:
    explicit ZoTableWidgetItem(const QString& text = QString(), int type = Type);
    ~ZoTableWidgetItem() override;

    bool operator<(const QTableWidgetItem& other) const override;
    QTableWidgetItem* clone() const override;

    bool isCheckItem() const;
};
