#include "FieldTranslation.h"

#include "ComboText.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "IResource.h"
#include "IUserResource.h"
#include "LanguageComboHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"

#include <QFont>

FieldTranslation::FieldTranslation(QString type, QHash<QString, QString> values)
    : mType(type)
{
    setupUi(this);
    mLanguageHelper1 = new LanguageComboHelper(cmbLanguages1, LanguageComboHelper::SelectLanguage);
    mLanguageHelper2 = new LanguageComboHelper(cmbLanguages2, LanguageComboHelper::SelectLanguage);
    mLanguageHelper1->setWizardParent(this);
    mLanguageHelper2->setWizardParent(this);
    init();
    lblType1->setText(type == QLatin1String("Translation") ? tr("Translation") : type);
    lblType2->setText(tr("Subject Area"));

    const QString value = values.value(QStringLiteral("Value"));
    if (!value.isEmpty()) {
        tEditFieldValue1->setPlainText(value);
        if (!values.value(QStringLiteral("Language")).isEmpty())
            mLanguageHelper1->showStoredLanguage(values.value(QStringLiteral("Language")));
    } else {
        ComboText::setCurrentText(cmbLanguages1, tr("Select Language"));
    }
    const QString context = values.value(QStringLiteral("Context"));
    if (!context.isEmpty()) {
        tEditFieldValue2->setPlainText(context);
        if (!values.value(QStringLiteral("Context_Language")).isEmpty())
            mLanguageHelper2->showStoredLanguage(values.value(QStringLiteral("Context_Language")));
    } else {
        ComboText::setCurrentText(cmbLanguages2, tr("Select Language"));
    }
    connect(tEditFieldValue1, &QTextEdit::textChanged, this, &FieldTranslation::hasModified);
    connect(tEditFieldValue2, &QTextEdit::textChanged, this, &FieldTranslation::hasModified);
    connect(btnRemove, &QToolButton::clicked, this, &FieldTranslation::remove);
    connect(mLanguageHelper1, &LanguageComboHelper::languageChosen, this, &FieldTranslation::cmbLanguagesChanged1);
    connect(mLanguageHelper2, &LanguageComboHelper::languageChosen, this, &FieldTranslation::cmbLanguagesChanged2);
    // A new translation language serves the subject area too.
    connect(mLanguageHelper1, &LanguageComboHelper::languageAdded, mLanguageHelper2,
            &LanguageComboHelper::selectLanguage);
}

FieldTranslation::~FieldTranslation() = default;

int FieldTranslation::init()
{
    mLanguages = PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);
    mStore = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mUsers = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
    return updateViewLists();
}

int FieldTranslation::redrawView()
{
    if (mHost && mHost->mFont) {
        tEditFieldValue1->setFont(*mHost->mFont);
        tEditFieldValue2->setFont(*mHost->mFont);
        btnRemove->setFont(*mHost->mFont);
    }
    return 1;
}

void FieldTranslation::refreshData() {}

int FieldTranslation::updateViewLists()
{
    const bool filled = mLanguageHelper1->fill(false);
    return mLanguageHelper2->fill(false) && filled ? 1 : 0;
}

void FieldTranslation::retranslateView()
{
    retranslateUi(this);
    lblType1->setText(mType == QLatin1String("Translation") ? tr("Translation") : mType);
    lblType2->setText(tr("Subject Area"));
}

int FieldTranslation::customLeave()
{
    return 1;
}

void FieldTranslation::setMainWindow(IMainWindow* mainWindow)
{
    mHost = mainWindow;
    mLanguageHelper1->setMainWindow(mainWindow);
    mLanguageHelper2->setMainWindow(mainWindow);
}

QString FieldTranslation::fieldType()
{
    return mType;
}

QString FieldTranslation::fieldKey()
{
    return mType;
}

void FieldTranslation::addPair(QHash<QString, QString>* values, QComboBox* combo, const QString& text,
                               const QString& valueKey, const QString& languageKey, const QString& idKey,
                               const QString& errorKey) const
{
    if (text.isEmpty())
        return;
    const int last = combo->count() - 1;
    const bool chosen = combo->currentIndex() >= 0 && combo->currentText() != tr("Select Language")
                        && !(last > 0 && combo->currentIndex() == last);
    if (!chosen) {
        values->insert(errorKey, QStringLiteral("No Language Selected"));
        return;
    }
    values->insert(valueKey, text);
    values->insert(languageKey, combo->currentText());
    values->insert(idKey, mLanguages ? mLanguages->idOf(combo->currentText()) : QString());
}

QHash<QString, QString> FieldTranslation::values()
{
    QHash<QString, QString> result;
    addPair(&result, cmbLanguages1, tEditFieldValue1->toPlainText(), QStringLiteral("Value"),
            QStringLiteral("Language"), QStringLiteral("LanguageID"), QStringLiteral("TranslationFieldError"));
    addPair(&result, cmbLanguages2, tEditFieldValue2->toPlainText(), QStringLiteral("Context"),
            QStringLiteral("Context_Language"), QStringLiteral("Context_LanguageID"),
            QStringLiteral("ContextFieldError"));
    return result;
}

void FieldTranslation::clear()
{
    tEditFieldValue1->clear();
    tEditFieldValue2->clear();
}

void FieldTranslation::setValueFocus()
{
    tEditFieldValue1->setFocus(Qt::OtherFocusReason);
}

void FieldTranslation::remove()
{
    emit removeField(this);
}

void FieldTranslation::hasModified()
{
    emit fieldModified();
}

void FieldTranslation::cmbLanguagesChanged(QString) {}

void FieldTranslation::cmbLanguagesChanged1(QString)
{
    emit fieldModified();
}

void FieldTranslation::cmbLanguagesChanged2(QString)
{
    emit fieldModified();
}
