#pragma once

#include "IUserResource.h"

#include <QObject>

// Holds the current user; clearing deletes it.
class TestUserResource : public QObject, public IUserResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "UserResourceInterface/1.0")
    Q_INTERFACES(IUserResource)

public:
    bool hasCurrentUser() override { return mUser != nullptr; }
    ZoUser* currentUser() override { return mUser; }
    void setCurrentUser(ZoUser* user) override;
    void clearCurrentUser() override;

private:
    ZoUser* mUser = nullptr;
};
