#include "FluencyFormWizard3.h"

#include "IMainWindow.h"
#include "ISilResource.h"
#include "PluginLocator.h"
#include "WizardSearchView.h"

#include <QAbstractItemModel>
#include <QFont>
#include <QHeaderView>

FluencyFormWizard3::FluencyFormWizard3(IMainWindow* host, QWidget* parent)
    : QWidget(parent),
      mHost(host)
{
    setupUi(this);
    if (mHost && mHost->mFont)
        setFont(*mHost->mFont);
    QFont heading = font();
    heading.setPointSize(heading.pointSize() + 2);
    heading.setWeight(QFont::Bold);
    lblInstruction->setFont(heading);

    mSil = PluginLocator::load<ISilResource>(QStringLiteral("plugins_dll/Resources/ZoSILResource.dll"));

    connect(lEditFind, &QLineEdit::textChanged, this, &FluencyFormWizard3::quickSearch);
    connect(lEditFind, &ZoLineEdit::gotFocus, this, &FluencyFormWizard3::noSelection);
    connect(tblAlternative, &QTableView::clicked, this, &FluencyFormWizard3::yesSelection);
    connect(tblAlternative, &QTableView::doubleClicked, this, &FluencyFormWizard3::tableDoubleClick);
    tblAlternative->verticalHeader()->hide();
    tblAlternative->horizontalHeader()->setStretchLastSection(true);
}

int FluencyFormWizard3::quickSearch(QString)
{
    if (!mSil)
        return 0;
    QAbstractItemModel* model = mSil->findAlternateNames(mLanguageId, mLanguage, mCountryId, mCountry, lEditFind->text());
    WizardSearchView::show(tblAlternative, model, false);
    const int found = model ? model->rowCount() : 0;
    if (WizardSearchView::selectSingleRow(tblAlternative, 0))
        emit yesNext();
    else
        lEditFind->setFocus(Qt::OtherFocusReason);
    return found;
}

void FluencyFormWizard3::noSelection()
{
    WizardSearchView::clearSelection(tblAlternative);
    emit noNext();
}

void FluencyFormWizard3::yesSelection(QModelIndex)
{
    emit yesNext();
}

void FluencyFormWizard3::tableDoubleClick(QModelIndex)
{
    emit next();
}

void FluencyFormWizard3::gettingFocus()
{
    WizardSearchView::clearSelection(tblAlternative);
}

void FluencyFormWizard3::setLanguageId(QString languageId)
{
    mLanguageId = languageId;
}

void FluencyFormWizard3::setLanguage(QString language)
{
    mLanguage = language;
}

void FluencyFormWizard3::setCountryId(QString countryId)
{
    mCountryId = countryId;
}

void FluencyFormWizard3::setCountry(QString country)
{
    mCountry = country;
}

void FluencyFormWizard3::setInstruction(QString language)
{
    lblInstruction->setText(QStringLiteral("Select Your Dialect or Alternate Name for %1").arg(language));
}

QString FluencyFormWizard3::selectedName() const
{
    return WizardSearchView::currentText(tblAlternative, 0);
}
