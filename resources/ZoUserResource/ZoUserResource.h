#pragma once

#include "IUserResource.h"

#include <QList>
#include <QObject>
#include <QPointer>

class ZoUser;

// Holds the signed-in user. Users that are cleared or replaced stay alive
// (tabs may still hold them while a dialog runs) until the application
// object goes away, when every user handed in is deleted.
class ZoUserResource : public QObject, public IUserResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IUserResource_iid)
    Q_INTERFACES(IUserResource)

public:
    ZoUserResource();
    ~ZoUserResource() override;

    bool hasCurrentUser() override;
    ZoUser* currentUser() override;
    void setCurrentUser(ZoUser* user) override;
    void clearCurrentUser() override;

    // Number of users kept, the current one included (for diagnostics).
    int keptUserCount() const;

    // Deletes every user kept; called when the application shuts down.
    void deleteUsers();

private:
    QPointer<ZoUser> mCurrent;
    QList<QPointer<ZoUser>> mKept;
};
