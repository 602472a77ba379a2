#include "LanguageChooser.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace {
const char* const kBuiltInLanguage = "English";
}

LanguageChooser::LanguageChooser(const QDir& translations, const QString& current, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("LanguageChooser"));
    setWindowTitle(tr("Choose Language"));

    auto* label = new QLabel(tr("Language of the application:"), this);
    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("lstLanguages"));
    mList->addItems(availableLanguages(translations));

    const QList<QListWidgetItem*> matches = mList->findItems(current, Qt::MatchExactly);
    mList->setCurrentItem(matches.isEmpty() ? mList->item(0) : matches.first());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(mList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(mList);
    layout->addWidget(buttons);
}

QStringList LanguageChooser::availableLanguages(const QDir& translations)
{
    QStringList languages{QLatin1String(kBuiltInLanguage)};
    const QStringList folders = translations.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
    for (const QString& folder : folders) {
        if (!languages.contains(folder))
            languages.append(folder);
    }
    return languages;
}

QString LanguageChooser::language() const
{
    const QListWidgetItem* item = mList->currentItem();
    return item ? item->text() : QString();
}
