#include "CreateLessonView.h"

CreateLessonView::CreateLessonView(QWidget* parentForm)
    : mParentForm(parentForm)
{
    init();
}

CreateLessonView::~CreateLessonView() = default;

void CreateLessonView::init() {}

int CreateLessonView::customRefresh()
{
    return 1;
}

void CreateLessonView::refreshData() {}

int CreateLessonView::updateViewLists()
{
    return 1;
}

void CreateLessonView::retranslateView() {}

int CreateLessonView::customLeave()
{
    return 1;
}

int CreateLessonView::canClose()
{
    return maybeSave();
}

QString CreateLessonView::type()
{
    return QStringLiteral("Lesson");
}

QWidget* CreateLessonView::widget()
{
    return this;
}

void CreateLessonView::setMainWindow(IMainWindow* mainWindow)
{
    mHost = mainWindow;
}

int CreateLessonView::isModified()
{
    return 0;
}

void CreateLessonView::resetView() {}

int CreateLessonView::displayObject(void* object)
{
    return object ? 1 : 0;
}

int CreateLessonView::redrawView()
{
    return 1;
}

int CreateLessonView::newSession()
{
    return 1;
}

int CreateLessonView::openSession(void* object)
{
    return object ? 1 : 0;
}

int CreateLessonView::saveSession()
{
    return 0;
}

void CreateLessonView::objectModified() {}

void CreateLessonView::objectNotModified()
{
    emit notModified();
}
