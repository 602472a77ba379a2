#include "ZoUserResource.h"

#include "ZoUser.h"

#include <QCoreApplication>

namespace {

ZoUserResource* gInstance = nullptr;

// Runs at the start of the application object's destruction, while widgets
// may still be deleted.
void deleteUsersAtShutdown()
{
    if (gInstance)
        gInstance->deleteUsers();
}

} // namespace

ZoUserResource::ZoUserResource()
{
    gInstance = this;
    qAddPostRoutine(deleteUsersAtShutdown);
}

ZoUserResource::~ZoUserResource()
{
    qRemovePostRoutine(deleteUsersAtShutdown);
    if (gInstance == this)
        gInstance = nullptr;
    // Past the application object no widget may be deleted any more.
    if (QCoreApplication::instance())
        deleteUsers();
}

bool ZoUserResource::hasCurrentUser()
{
    return !mCurrent.isNull();
}

ZoUser* ZoUserResource::currentUser()
{
    return mCurrent.data();
}

void ZoUserResource::setCurrentUser(ZoUser* user)
{
    mCurrent = user;
    if (user && !mKept.contains(user))
        mKept.append(user);
}

void ZoUserResource::clearCurrentUser()
{
    mCurrent = nullptr;
}

int ZoUserResource::keptUserCount() const
{
    int n = 0;
    for (const QPointer<ZoUser>& user : mKept)
        n += user.isNull() ? 0 : 1;
    return n;
}

void ZoUserResource::deleteUsers()
{
    const QList<QPointer<ZoUser>> kept = mKept;
    mKept.clear();
    mCurrent = nullptr;
    for (const QPointer<ZoUser>& user : kept)
        delete user.data();
}
