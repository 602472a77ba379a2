#pragma once

#include <QtPlugin>

class ZoUser;

// The signed-in user, one for the whole process.
class IUserResource
{
public:
    virtual ~IUserResource() = default;
    virtual bool hasCurrentUser() = 0;
    virtual ZoUser* currentUser() = 0;
    virtual void setCurrentUser(ZoUser* user) = 0;
    virtual void clearCurrentUser() = 0;
};

#define IUserResource_iid "UserResourceInterface/1.0"
Q_DECLARE_INTERFACE(IUserResource, IUserResource_iid)
