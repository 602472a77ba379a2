#include "Preferences.h"

#include "Echo.h"
#include "IMainWindow.h"
#include "ProfileView.h"

#include <QCloseEvent>

Preferences::Preferences()
{
    setupUi(this);
}

Preferences::~Preferences() = default;

ProfileView* Preferences::view() const
{
    return mSettingsViewStack->findChild<ProfileView*>(QStringLiteral("ProfileView"), Qt::FindDirectChildrenOnly);
}

void Preferences::init()
{
    if (view())
        return;
    if (mHost)
        connect(mHost, SIGNAL(fontChanged()), this, SLOT(redrawView()));
    auto* profile = new ProfileView(mSettingsViewStack);
    profile->setMainWindow(mHost);
    mSettingsViewStack->addWidget(profile);
    mSettingsViewStack->setCurrentIndex(1);
}

int Preferences::customRefresh()
{
    Echo::line(QStringLiteral("Settings Custom Refresh"));
    if (ProfileView* profile = view())
        profile->layoutColumns();
    return 1;
}

int Preferences::updateViewLists()
{
    if (ProfileView* profile = view())
        profile->fillFluencyTable();
    return 1;
}

void Preferences::retranslateView()
{
    retranslateUi(this);
    if (ProfileView* profile = view())
        profile->layoutColumns();
}

int Preferences::customLeave()
{
    return 1;
}

void Preferences::closeEvent(QCloseEvent* event)
{
    event->accept();
}

QString Preferences::title()
{
    return tr("Profile");
}

QString Preferences::translationFileName(QString language)
{
    return QStringLiteral("settings-") + language;
}

QWidget* Preferences::widget()
{
    return this;
}

int Preferences::tabIndex()
{
    return 4;
}

void Preferences::setMainWindow(IMainWindow* mainWindow)
{
    mHost = mainWindow;
}

void Preferences::refreshData()
{
    if (ProfileView* profile = view())
        profile->refreshData();
}

int Preferences::redrawView()
{
    if (ProfileView* profile = view())
        profile->redrawView();
    return 1;
}
