#include "FieldOneLine.h"

#include "ComboText.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "IResource.h"
#include "IUserResource.h"
#include "PendingLanguage.h"
#include "PluginLocator.h"
#include "ZoUser.h"

FieldOneLine::FieldOneLine(QString type, QHash<QString, QString> values)
    : mType(type)
{
    setupUi(this);
    init();
    lblType->setText(type);
    const QString value = values.value(QStringLiteral("Value"));
    if (!value.isEmpty()) {
        lEditFieldValue->setText(value);
        ComboText::setCurrentText(cmbLanguages, values.value(QStringLiteral("Language")));
    }
    mPreviousIndex = cmbLanguages->currentIndex();
    connect(lEditFieldValue, &QLineEdit::textChanged, this, &FieldOneLine::lEditFieldValueChanged);
    connect(btnRemove, &QToolButton::clicked, this, &FieldOneLine::remove);
    connect(cmbLanguages, &QComboBox::textActivated, this, &FieldOneLine::cmbLanguagesChanged);
}

FieldOneLine::~FieldOneLine() = default;

int FieldOneLine::init()
{
    mLanguages = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll"));
    mStore = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    mUsers = PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    return updateViewLists();
}

int FieldOneLine::redrawView()
{
    return 1;
}

void FieldOneLine::refreshData() {}

int FieldOneLine::updateViewLists()
{
    const QString shown = cmbLanguages->currentText();
    const bool languageShown = cmbLanguages->currentIndex() > 0;
    cmbLanguages->clear();
    const QStringList entries = PendingLanguage::entries(mUsers, tr("Select Language"));
    if (entries.isEmpty())
        return 0;
    cmbLanguages->addItems(entries);
    const int again = entries.indexOf(shown);
    cmbLanguages->setCurrentIndex(again > 0 && again < entries.size() - 1 ? again : 0);

    // The authoring language is the choice of a field that shows no language yet.
    if (!languageShown || cmbLanguages->currentIndex() == 0) {
        const QString id = mSettings.value(QStringLiteral("users/%1/CreateLanguage")
                                                   .arg(mUsers->currentUser()->username()))
                                   .toString();
        if (!id.isEmpty() && mLanguages) {
            const int index = cmbLanguages->findText(mLanguages->nameOf(id));
            if (index > 0 && index < cmbLanguages->count() - 1)
                cmbLanguages->setCurrentIndex(index);
        }
    }
    mPreviousIndex = cmbLanguages->currentIndex();
    return 1;
}

void FieldOneLine::retranslateView() {}

int FieldOneLine::customLeave()
{
    return 1;
}

void FieldOneLine::setMainWindow(IMainWindow* mainWindow)
{
    mHost = mainWindow;
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
    const int last = cmbLanguages->count() - 1;
    if (last > 0 && cmbLanguages->currentIndex() == last) {
        const QString added = PendingLanguage::addLanguage(mHost, this, mUsers, mStore);
        if (added.isNull()) {
            cmbLanguages->setCurrentIndex(mPreviousIndex);
        } else {
            if (!mHost)
                updateViewLists();
            ComboText::setCurrentText(cmbLanguages, added);
        }
    }
    mPreviousIndex = cmbLanguages->currentIndex();
    emit fieldModified();
}

void FieldOneLine::lEditFieldValueChanged(QString)
{
    emit fieldModified();
}
