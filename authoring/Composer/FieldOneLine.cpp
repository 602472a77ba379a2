#include "FieldOneLine.h"

#include "IDbManager.h"
#include "IMainWindow.h"
#include "IResource.h"
#include "IUserResource.h"
#include "LanguageComboHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "ZoUser.h"

#include <QSignalBlocker>

FieldOneLine::FieldOneLine(QString type, QHash<QString, QString> values)
    : mType(type)
{
    setupUi(this);
    mLanguageHelper = new LanguageComboHelper(cmbLanguages, LanguageComboHelper::SelectLanguage);
    mLanguageHelper->setWizardParent(this);
    init();
    lblType->setText(type);
    const QString value = values.value(QStringLiteral("Value"));
    if (!value.isEmpty()) {
        lEditFieldValue->setText(value);
        mLanguageHelper->showStoredLanguage(values.value(QStringLiteral("Language")));
    }
    connect(lEditFieldValue, &QLineEdit::textChanged, this, &FieldOneLine::lEditFieldValueChanged);
    connect(btnRemove, &QToolButton::clicked, this, &FieldOneLine::remove);
    connect(mLanguageHelper, &LanguageComboHelper::languageChosen, this, &FieldOneLine::cmbLanguagesChanged);
}

FieldOneLine::~FieldOneLine() = default;

int FieldOneLine::init()
{
    mLanguages = PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);
    mStore = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mUsers = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
    return updateViewLists();
}

int FieldOneLine::redrawView()
{
    return 1;
}

void FieldOneLine::refreshData() {}

int FieldOneLine::updateViewLists()
{
    if (!mLanguageHelper->fill(false))
        return 0;
    // The authoring language is the choice of a field that shows no language yet.
    if (!mLanguageHelper->hasLanguage() && mLanguages && mUsers && mUsers->currentUser()) {
        const QString id = mSettings
                               .value(SettingsKeys::userKey(mUsers->currentUser()->username(),
                                                            SettingsKeys::CreateLanguage))
                               .toString();
        if (!id.isEmpty())
            mLanguageHelper->selectLanguage(mLanguages->nameOf(id));
    }
    return 1;
}

void FieldOneLine::retranslateView()
{
    const QString value = lEditFieldValue->text();
    const QSignalBlocker blocker(lEditFieldValue);
    retranslateUi(this);
    lblType->setText(mType);
    lEditFieldValue->setText(value);
}

int FieldOneLine::customLeave()
{
    return 1;
}

void FieldOneLine::setMainWindow(IMainWindow* mainWindow)
{
    mHost = mainWindow;
    mLanguageHelper->setMainWindow(mainWindow);
}

QString FieldOneLine::fieldType()
{
    return mType;
}

QString FieldOneLine::fieldKey()
{
    if (mType == QLatin1String("International Symbols"))
        return QStringLiteral("InternationalSymbols");
    if (mType == QLatin1String("Part of speech"))
        return QStringLiteral("Partofspeech");
    return mType;
}

QHash<QString, QString> FieldOneLine::values()
{
    return {{QStringLiteral("Value"), lEditFieldValue->text()},
            {QStringLiteral("Language"), cmbLanguages->currentText()}};
}

void FieldOneLine::clear()
{
    lEditFieldValue->clear();
}

void FieldOneLine::setValueFocus()
{
    lEditFieldValue->setFocus(Qt::OtherFocusReason);
}

void FieldOneLine::remove()
{
    emit removeField(this);
}

void FieldOneLine::hasModified()
{
    emit fieldModified();
}

void FieldOneLine::cmbLanguagesChanged(QString)
{
    emit fieldModified();
}

void FieldOneLine::lEditFieldValueChanged(QString)
{
    emit fieldModified();
}
