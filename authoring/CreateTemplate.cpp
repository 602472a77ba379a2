#include "CreateTemplate.h"

CreateTemplate::CreateTemplate(IMainWindow* host, CreateExerciseView* editor)
    : mHost(host), mEditor(editor)
{
}

CreateTemplate::~CreateTemplate() = default;

void CreateTemplate::setMainWindow(IMainWindow* host)
{
    mHost = host;
}

int CreateTemplate::canClose()
{
    return 1;
}

bool CreateTemplate::loadNextChecked() const
{
    return false;
}

void CreateTemplate::verifyList() {}

int CreateTemplate::redrawView()
{
    return 1;
}

void CreateTemplate::import() {}
