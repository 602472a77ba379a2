#include "LibraryInfoForm.h"

#include "HelpPages.h"
#include "IUserResource.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "ZoUser.h"

#include <QDir>
#include <QFile>
#include <QSettings>

LibraryInfoForm::LibraryInfoForm(QWidget* parent)
    : QDialog(parent)
{
    setupUi(this);
    connect(btnOk, &QPushButton::clicked, this, &LibraryInfoForm::closeInfoForm);
    mUsers = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);

    QFile page(
        HelpPages::localFile(QStringLiteral("%1/html/libraryinfo.html").arg(QDir(QStringLiteral("docs")).absolutePath()),
                             HelpPages::language()));
    // One document, so that markup spanning lines stays whole.
    if (page.open(QIODevice::ReadOnly))
        tEditWelcome->setHtml(QString::fromUtf8(page.readAll()));
}

LibraryInfoForm::~LibraryInfoForm() = default;

void LibraryInfoForm::closeInfoForm()
{
    ZoUser* user = mUsers ? mUsers->currentUser() : nullptr;
    if (chkDoNotShow->isChecked() && user)
        QSettings().setValue(SettingsKeys::userKey(user->username(), SettingsKeys::LibrarySplash), 0);
    accept();
}
