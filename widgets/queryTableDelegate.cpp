#include "queryTableDelegate.h"

#include "IResource.h"
#include "PluginFiles.h"
#include "PluginLocator.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

queryTableDelegate::queryTableDelegate(int languageColumn, int countryColumn, int learnerLevelColumn, int iconColumn,
                                       QPixmap* icon, QObject* parent)
    : QItemDelegate(parent)
    , mLanguageColumn(languageColumn)
    , mCountryColumn(countryColumn)
    , mLearnerLevelColumn(learnerLevelColumn)
    , mIconColumn(iconColumn)
    , mIcon(icon)
{
    mLanguages = PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);
    mCountries = PluginLocator::load<IResource>(PluginFiles::ZoCountryResource);
    mLearnerLevels = PluginLocator::load<IResource>(PluginFiles::ZoLearnerLevelResource);
}

// The resource instances are shared by the whole process; they stay loaded.
queryTableDelegate::~queryTableDelegate() = default;

IResource* queryTableDelegate::resourceFor(int column) const
{
    if (column < 0)
        return nullptr;
    if (column == mLanguageColumn)
        return mLanguages;
    if (column == mCountryColumn)
        return mCountries;
    if (column == mLearnerLevelColumn)
        return mLearnerLevels;
    return nullptr;
}

QString queryTableDelegate::displayName(const QModelIndex& index) const
{
    const QString id = index.data(Qt::DisplayRole).toString();
    IResource* resource = resourceFor(index.column());
    return resource ? resource->nameOf(id) : id;
}

void queryTableDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int column = index.column();
    if (column >= 0 && (column == mLanguageColumn || column == mCountryColumn || column == mLearnerLevelColumn)) {
        paintText(painter, option, index, displayName(index));
        return;
    }
    if (column >= 0 && column == mIconColumn) {
        paintIcon(painter, option, index);
        return;
    }
    QItemDelegate::paint(painter, option, index);
}

QSize queryTableDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QSize hint = QItemDelegate::sizeHint(option, index);
    const int column = index.column();
    // The icon column shows the icon alone.
    if (column >= 0 && column == mIconColumn)
        return QSize(mIcon ? mIcon->width() : 0, hint.height());
    if (!resourceFor(column))
        return hint;
    const QStyleOptionViewItem opt = setOptions(index, option);
    const QRect text = textRectangle(nullptr, opt.rect, opt.font, displayName(index));
    const int margin = 2 * (QApplication::style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr) + 1);
    return QSize(text.width() + margin, hint.height());
}

void queryTableDelegate::paintText(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                                   const QString& text) const
{
    const QStyleOptionViewItem opt = setOptions(index, option);
    painter->save();
    drawBackground(painter, opt, index);
    drawDisplay(painter, opt, opt.rect, text);
    drawFocus(painter, opt, opt.rect);
    painter->restore();
}

void queryTableDelegate::paintIcon(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    QStyleOptionViewItem opt = setOptions(index, option);
    opt.decorationAlignment = Qt::AlignHCenter | Qt::AlignVCenter;
    painter->save();
    drawBackground(painter, opt, index);
    drawDisplay(painter, opt, opt.rect, QString());
    if (mIcon && !mIcon->isNull())
        drawDecoration(painter, opt, opt.rect, *mIcon);
    drawFocus(painter, opt, opt.rect);
    painter->restore();
}
