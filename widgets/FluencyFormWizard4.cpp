#include "FluencyFormWizard4.h"

#include "IDbManager.h"
#include "PluginFiles.h"
#include "PluginLocator.h"

FluencyFormWizard4::FluencyFormWizard4(IMainWindow* host, QWidget* parent)
    : FluencyWizardPage(host, parent)
{
    setupUi(this);
    applyFonts(lblTitle);

    mDbManager = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    cmbFluencyLevels->addItem(tr("Select"));
    cmbCountry->addItem(tr("Select"));
    // Without the store only "Select" is offered, and Finish asks for a level.
    if (mDbManager) {
        cmbFluencyLevels->addItems(mDbManager->fluencyLevelList());
        cmbCountry->addItems(mDbManager->countryList());
    }
    lEditStateProvince->setMaxLength(32);
    lEditCity->setMaxLength(32);
}

void FluencyFormWizard4::setLanguage(QString language)
{
    cmbLanguage->clear();
    cmbLanguage->addItem(language);
    cmbLanguage->setCurrentIndex(0);
    cmbLanguage->setEnabled(false);
}

void FluencyFormWizard4::setCountry(QString country)
{
    const int index = cmbCountry->findText(country, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        cmbCountry->setCurrentIndex(index);
}

void FluencyFormWizard4::setFluencyLevel(QString fluencyLevel)
{
    cmbFluencyLevels->setCurrentIndex(
        cmbFluencyLevels->findText(fluencyLevel, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void FluencyFormWizard4::setStateProv(QString stateProv)
{
    mStateProv = stateProv;
    lEditStateProvince->setText(stateProv);
}

void FluencyFormWizard4::setLocality(QString locality)
{
    mLocality = locality;
    lEditCity->setText(locality);
}

QString FluencyFormWizard4::country() const
{
    const QString text = cmbCountry->currentText();
    return text == tr("Select") ? QString() : text;
}

QString FluencyFormWizard4::fluencyLevel() const
{
    return cmbFluencyLevels->currentText();
}

// A field the learner did not touch keeps its value, even one longer than the field takes.
QString FluencyFormWizard4::stateProv() const
{
    const QString text = lEditStateProvince->text();
    return text == mStateProv.left(lEditStateProvince->maxLength()) ? mStateProv : text;
}

QString FluencyFormWizard4::locality() const
{
    const QString text = lEditCity->text();
    return text == mLocality.left(lEditCity->maxLength()) ? mLocality : text;
}
