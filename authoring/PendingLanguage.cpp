#include "PendingLanguage.h"
#include "FluencyFormWizard.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "IUserResource.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"
#include <QCoreApplication>
namespace PendingLanguage {
QStringList entries(IUserResource* users, const QString& first)
{
    ZoUser* user = users ? users->currentUser() : nullptr;
    if (!user)
        return {};
    QStringList list{first};
    for (ZoUserFluency* f : user->fluencies())
        list << f->language();
    list << QCoreApplication::translate("LanguageCombo", "Add Language...");
    return list;
}
QString addLanguage(IMainWindow* host, QWidget* parent, IUserResource* users, IDbManager* store, const QString& preset)
{
    FluencyFormWizard wizard(host, parent, true);
    if (!preset.isEmpty())
        wizard.presetLanguage(preset);
    if (wizard.exec() != QDialog::Accepted)
        return QString();
    ZoUser* user = users ? users->currentUser() : nullptr;
    if (user && store) {
        QList<ZoUser*> found = store->select(QStringLiteral("User"), {{QStringLiteral("Username"), user->username()}});
        if (!found.isEmpty() && found.first()->username() == user->username()) {
            ZoUser* fresh = found.takeFirst();
            users->clearCurrentUser();
            users->setCurrentUser(fresh);
        }
        qDeleteAll(found);
    }
    if (host)
        host->updateAllViewLists();
    return wizard.language();
}
}
