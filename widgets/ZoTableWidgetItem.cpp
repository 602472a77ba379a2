#include "ZoTableWidgetItem.h"

namespace {

bool isCheckItem(const QTableWidgetItem& item)
{
    const Qt::ItemFlags f = item.flags();
    return (f & Qt::ItemIsUserCheckable) && !(f & Qt::ItemIsSelectable) && !(f & Qt::ItemIsEditable);
}

} // namespace

ZoTableWidgetItem::ZoTableWidgetItem(const QString& text, int type)
    : QTableWidgetItem(text, type)
{
}

ZoTableWidgetItem::~ZoTableWidgetItem() = default;

bool ZoTableWidgetItem::isCheckItem() const
{
    return ::isCheckItem(*this);
}

bool ZoTableWidgetItem::operator<(const QTableWidgetItem& other) const
{
    if (::isCheckItem(*this) && ::isCheckItem(other))
        return checkState() == Qt::Checked && other.checkState() != Qt::Checked;

    bool thisNumber = false;
    bool otherNumber = false;
    const qlonglong a = text().trimmed().toLongLong(&thisNumber, 10);
    const qlonglong b = other.text().trimmed().toLongLong(&otherNumber, 10);
    if (thisNumber != otherNumber)
        return thisNumber;
    if (thisNumber)
        return a < b;
    return text().toLower() < other.text().toLower();
}

QTableWidgetItem* ZoTableWidgetItem::clone() const
{
    return new ZoTableWidgetItem(*this);
}
