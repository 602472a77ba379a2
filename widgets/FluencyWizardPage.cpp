#include "FluencyWizardPage.h"

#include "IMainWindow.h"

#include <QFont>
#include <QLabel>

FluencyWizardPage::FluencyWizardPage(IMainWindow* host, QWidget* parent)
    : QWidget(parent)
    , mHost(host)
{
}

void FluencyWizardPage::applyFonts(QLabel* heading)
{
    if (mHost && mHost->mFont)
        setFont(*mHost->mFont);
    QFont headingFont = font();
    headingFont.setPointSize(headingFont.pointSize() + 2);
    headingFont.setWeight(QFont::Bold);
    heading->setFont(headingFont);
}
