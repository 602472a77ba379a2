#include "TopLangs.h"

#include "IMainWindow.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidgetItem>

namespace {

const char* const ShownLanguages[] = {
    "English",
    "Chinese, Mandarin",
    "Arabic",
    "Bengali",
    "Chinese, Yue (Cantonese)",
    "Dutch",
    "German",
    "Hungarian",
    "Finnish",
    "French",
    "Italian",
    "Japanese",
    "Korean",
    "Malay",
    "Polish",
    "Portuguese",
    "Russian",
    "Spanish",
    "Swedish",
    "Thai",
};

// The language tables know these three by longer names.
QString tableName(const QString& shown)
{
    if (shown == QLatin1String("German"))
        return QStringLiteral("German, Standard");
    if (shown == QLatin1String("Arabic"))
        return QStringLiteral("Arabic, Standard");
    if (shown == QLatin1String("Chinese, Yue (Cantonese)"))
        return QStringLiteral("Chinese, Yue");
    return shown;
}

} // namespace

TopLangs::TopLangs(IMainWindow* host, QWidget* parent)
    : QWidget(parent)
    , mHost(host)
{
    setupUi(this);
    if (mHost && mHost->mFont)
        setFont(*mHost->mFont);
    const QFont base = font();

    QFont buttonFont = base;
    buttonFont.setPointSize(base.pointSize() + 2);
    btnViewAllLanguages->setFont(buttonFont);
    QFont headingFont = base;
    headingFont.setPointSize(base.pointSize() + 4);
    headingFont.setWeight(QFont::Bold);
    lblSelectLanguage->setFont(headingFont);

    // Rows 2.1 times the point size high; where the screen's text is larger
    // than that (more dots per inch), as high as a line of text needs.
    const int rows = int(std::size(ShownLanguages));
    const QFontMetrics metrics(tblTopLangs->font());
    const int rowHeight = qMax(int(base.pointSize() * 2.1), metrics.height() + 2);
    tblTopLangs->verticalHeader()->setMinimumSectionSize(rowHeight);
    tblTopLangs->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblTopLangs->verticalHeader()->setDefaultSectionSize(rowHeight);
    tblTopLangs->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        // The name as the language list shows it in the interface language;
        // untranslated, the short name.
        const QString shown = QString::fromLatin1(ShownLanguages[row]);
        const QString name = tableName(shown);
        const QByteArray key = name.toUtf8();
        const QString translated = QCoreApplication::translate("Language", key.constData());
        auto* item = new QTableWidgetItem(translated == name ? shown : translated);
        item->setData(Qt::UserRole, translated);
        tblTopLangs->setItem(row, 0, item);
        tblTopLangs->setRowHeight(row, rowHeight);
    }
    tblTopLangs->verticalHeader()->hide();
    // As the delegate measures the names.
    const int widest = static_cast<const QAbstractItemView*>(tblTopLangs)->sizeHintForColumn(0);
    // A column 380 wide in a table 400 wide; wider only where a name in the
    // interface language and font would not show whole in it.
    const int column = qMax(380, widest);
    QHeaderView* header = tblTopLangs->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    header->resizeSection(0, column);
    const int frame = 2 * tblTopLangs->frameWidth();
    const int scrollBar = tblTopLangs->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tblTopLangs);
    tblTopLangs->setFixedWidth(qMax(400, column + scrollBar + frame));

    connect(tblTopLangs, &QTableWidget::clicked, this, &TopLangs::emitYesNext);
    connect(tblTopLangs, &QTableWidget::doubleClicked, this, &TopLangs::emitNext);
    connect(btnViewAllLanguages, &QPushButton::clicked, this, &TopLangs::emitGoToDetailedLanguageWizard);
}

QString TopLangs::selectedLanguage() const
{
    const QTableWidgetItem* item = tblTopLangs->currentRow() >= 0 ? tblTopLangs->item(tblTopLangs->currentRow(), 0)
                                                                  : nullptr;
    if (!item)
        return QString();
    return item->data(Qt::UserRole).toString();
}

void TopLangs::emitNext()
{
    emit next();
}

void TopLangs::emitYesNext(QModelIndex)
{
    emit yesNext();
}

void TopLangs::emitGoToDetailedLanguageWizard()
{
    emit goToDetailedLanguageWizard();
}

void TopLangs::gettingFocus()
{
    // No row stays chosen, so Next has nothing to pass on.
    tblTopLangs->clearSelection();
    tblTopLangs->setCurrentItem(nullptr);
}
