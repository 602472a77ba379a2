#pragma once

#include <QString>
#include <QWidget>
#include <QtPlugin>

class IMainWindow;

// An authoring view of the "Create" tab: the exercise or the lesson editor.
// Each view declares the signals modified(), notModified(), saved() and
// newObject(); newSession, openSession, saveSession, objectModified and
// objectNotModified are also its slots.
class ICreate : public QWidget
{
public:
    explicit ICreate(QWidget* parent = nullptr)
        : QWidget(parent)
    {
    }
    ~ICreate() override = default;

    virtual void init() = 0;
    // The view becomes visible or the tab is entered; 1.
    virtual int customRefresh() = 0;
    virtual void refreshData() = 0;
    // Refills the lists that depend on the signed-in user; non-zero on success.
    virtual int updateViewLists() = 0;
    virtual void retranslateView() = 0;
    // The tab is being left; non-zero lets it go.
    virtual int customLeave() = 0;
    // May the application close: 0 refuses.
    virtual int canClose() = 0;
    // Asks to save unsaved changes; non-zero means go on.
    virtual int maybeSave() { return 1; }
    // "Exercise" or "Lesson".
    virtual QString type() = 0;
    virtual QWidget* widget() = 0;
    virtual void setMainWindow(IMainWindow* mainWindow) = 0;
    virtual int isModified() = 0;
    virtual int newSession() = 0;
    // Shows a stored object (ZoExercise* or ZoLesson*); the view keeps a copy
    // and the caller keeps the object. 0 for a null pointer.
    virtual int openSession(void* object) = 0;
    // 1 when the object was stored.
    virtual int saveSession() = 0;
    virtual void objectModified() = 0;
    virtual void objectNotModified() = 0;
    virtual void resetView() = 0;
    virtual int displayObject(void* object) = 0;
};

#define ICreate_iid "CreateInterface/1.0"
Q_DECLARE_INTERFACE(ICreate, ICreate_iid)
