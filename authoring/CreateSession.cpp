#include "CreateSession.h"

CreateSession::CreateSession(IMainWindow* host, ICreate* editor)
    : mHost(host), mEditor(editor)
{
}

CreateSession::~CreateSession() = default;

void CreateSession::setMainWindow(IMainWindow* host)
{
    mHost = host;
}

int CreateSession::refreshFromStore()
{
    return 1;
}

int CreateSession::redrawView()
{
    return 1;
}

void CreateSession::addExercise(ZoExercise*) {}
