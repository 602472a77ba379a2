#include "TopLangs.h"

#include "IMainWindow.h"

#include <QCoreApplication>
#include <QFont>
#include <QHeaderView>
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

    const int rows = int(std::size(ShownLanguages));
    const int rowHeight = int(base.pointSize() * 2.1);
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
    tblTopLangs->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tblTopLangs->verticalHeader()->hide();

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
