#include "TestUserResource.h"

#include "CallLog.h"
#include "ZoUser.h"

void TestUserResource::setCurrentUser(ZoUser* user)
{
    CallLog::append(QStringLiteral("user:setCurrentUser"));
    mUser = user;
}

void TestUserResource::clearCurrentUser()
{
    CallLog::append(QStringLiteral("user:clearCurrentUser"));
    delete mUser;
    mUser = nullptr;
}
