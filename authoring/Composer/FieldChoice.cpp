#include "FieldChoice.h"

FieldChoice::FieldChoice(QString type, QHash<QString, QString> values)
    : mType(type)
{
    setupUi(this);
    init();
    lblType->setText(type == QLatin1String("Idiom") ? tr("Idiom") : type);
    const QString value = values.value(QStringLiteral("Value"));
    if (!value.isEmpty()) {
        // A value saved under another interface language still reads as Yes.
        if (value == QLatin1String("Yes") || value == tr("Yes"))
            rbtnYes->setChecked(true);
        else
            rbtnNo->setChecked(true);
    }
    connect(rbtnYes, &QRadioButton::clicked, this, &FieldChoice::hasModified);
    connect(rbtnNo, &QRadioButton::clicked, this, &FieldChoice::hasModified);
    connect(btnRemove, &QToolButton::clicked, this, &FieldChoice::remove);
}

FieldChoice::~FieldChoice() = default;

int FieldChoice::init()
{
    return 1;
}

int FieldChoice::redrawView()
{
    return 1;
}

void FieldChoice::refreshData() {}

int FieldChoice::updateViewLists()
{
    return 1;
}

void FieldChoice::retranslateView()
{
    retranslateUi(this);
    lblType->setText(mType == QLatin1String("Idiom") ? tr("Idiom") : mType);
}

int FieldChoice::customLeave()
{
    return 1;
}

void FieldChoice::setMainWindow(IMainWindow* mainWindow)
{
    mHost = mainWindow;
}

QString FieldChoice::fieldType()
{
    return mType;
}

QString FieldChoice::fieldKey()
{
    return mType;
}

QHash<QString, QString> FieldChoice::values()
{
    return {{QStringLiteral("Value"), rbtnYes->isChecked() ? tr("Yes") : tr("No")}};
}

void FieldChoice::clear() {}

void FieldChoice::setValueFocus() {}

void FieldChoice::remove()
{
    emit removeField(this);
}

void FieldChoice::hasModified()
{
    emit fieldModified();
}

void FieldChoice::cmbLanguagesChanged(QString) {}
