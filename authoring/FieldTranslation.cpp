#include "FieldTranslation.h"

#include "ComboText.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "IResource.h"
#include "IUserResource.h"
#include "PendingLanguage.h"
#include "PluginLocator.h"

#include <QFont>

FieldTranslation::FieldTranslation(QString type, QHash<QString, QString> values)
    : mType(type)
{
    setupUi(this);
    init();
    lblType1->setText(type == QLatin1String("Translation") ? tr("Translation") : type);
    lblType2->setText(tr("Subject Area"));

    const QString value = values.value(QStringLiteral("Value"));
    if (!value.isEmpty()) {
        tEditFieldValue1->setPlainText(value);
        if (!values.value(QStringLiteral("Language")).isEmpty())
            ComboText::setCurrentText(cmbLanguages1, values.value(QStringLiteral("Language")));
    } else {
        ComboText::setCurrentText(cmbLanguages1, tr("Select Language"));
    }
    const QString context = values.value(QStringLiteral("Context"));
    if (!context.isEmpty()) {
        tEditFieldValue2->setPlainText(context);
        if (!values.value(QStringLiteral("Context_Language")).isEmpty())
            ComboText::setCurrentText(cmbLanguages2, values.value(QStringLiteral("Context_Language")));
    } else {
        ComboText::setCurrentText(cmbLanguages2, tr("Select Language"));
    }
    mPreviousIndex1 = cmbLanguages1->currentIndex();
    mPreviousIndex2 = cmbLanguages2->currentIndex();

    connect(tEditFieldValue1, &QTextEdit::textChanged, this, &FieldTranslation::hasModified);
    connect(tEditFieldValue2, &QTextEdit::textChanged, this, &FieldTranslation::hasModified);
    connect(btnRemove, &QToolButton::clicked, this, &FieldTranslation::remove);
    connect(cmbLanguages1, &QComboBox::textActivated, this, &FieldTranslation::cmbLanguagesChanged1);
    connect(cmbLanguages2, &QComboBox::textActivated, this, &FieldTranslation::cmbLanguagesChanged2);
}

FieldTranslation::~FieldTranslation() = default;

int FieldTranslation::init()
{
    mLanguages = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll"));
    mStore = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    mUsers = PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
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
    const QString shown1 = cmbLanguages1->currentText();
    const QString shown2 = cmbLanguages2->currentText();
    cmbLanguages1->clear();
    cmbLanguages2->clear();
    const QStringList entries = PendingLanguage::entries(mUsers, tr("Select Language"));
    if (entries.isEmpty())
        return 0;
    for (QComboBox* combo : {cmbLanguages1, cmbLanguages2})
        combo->addItems(entries);
    const int again1 = entries.indexOf(shown1);
    const int again2 = entries.indexOf(shown2);
    cmbLanguages1->setCurrentIndex(again1 > 0 && again1 < entries.size() - 1 ? again1 : 0);
    cmbLanguages2->setCurrentIndex(again2 > 0 && again2 < entries.size() - 1 ? again2 : 0);
    mPreviousIndex1 = cmbLanguages1->currentIndex();
    mPreviousIndex2 = cmbLanguages2->currentIndex();
    return 1;
}

void FieldTranslation::retranslateView() {}

int FieldTranslation::customLeave()
{
    return 1;
}

void FieldTranslation::setMainWindow(IMainWindow* mainWindow)
{
    mHost = mainWindow;
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
    const int last = cmbLanguages1->count() - 1;
    if (last > 0 && cmbLanguages1->currentIndex() == last) {
        const QString added = PendingLanguage::addLanguage(mHost, this, mUsers, mStore);
        if (added.isNull()) {
            cmbLanguages1->setCurrentIndex(mPreviousIndex1);
        } else {
            if (!mHost)
                updateViewLists();
            // A new translation language serves the subject area too.
            ComboText::setCurrentText(cmbLanguages1, added);
            ComboText::setCurrentText(cmbLanguages2, added);
            mPreviousIndex2 = cmbLanguages2->currentIndex();
        }
    }
    mPreviousIndex1 = cmbLanguages1->currentIndex();
    emit fieldModified();
}

void FieldTranslation::cmbLanguagesChanged2(QString)
{
    const int last = cmbLanguages2->count() - 1;
    if (last > 0 && cmbLanguages2->currentIndex() == last) {
        const QString added = PendingLanguage::addLanguage(mHost, this, mUsers, mStore);
        if (added.isNull()) {
            cmbLanguages2->setCurrentIndex(mPreviousIndex2);
        } else {
            if (!mHost)
                updateViewLists();
            ComboText::setCurrentText(cmbLanguages2, added);
        }
    }
    mPreviousIndex2 = cmbLanguages2->currentIndex();
    emit fieldModified();
}
