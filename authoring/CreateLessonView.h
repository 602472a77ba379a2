#pragma once

#include "ICreate.h"

#include <QString>

class IMainWindow;

// The lesson editor of the "Create" tab. This first version edits nothing:
// it has no changes to save and never refuses to close.
class CreateLessonView : public ICreate
{
    Q_OBJECT
    Q_INTERFACES(ICreate)

public:
    explicit CreateLessonView(QWidget* parentForm);
    ~CreateLessonView() override;

    void init() override;
    int customRefresh() override;
    void refreshData() override;
    int updateViewLists() override;
    void retranslateView() override;
    int customLeave() override;
    int canClose() override;
    QString type() override;
    QWidget* widget() override;
    void setMainWindow(IMainWindow* mainWindow) override;
    int isModified() override;
    void resetView() override;
    int displayObject(void* object) override;

signals:
    void modified();
    void notModified();
    void saved();
    void newObject();

public slots:
    int redrawView();
    int newSession() override;
    int openSession(void* object) override;
    int saveSession() override;
    void objectModified() override;
    void objectNotModified() override;

private:
    QWidget* mParentForm;
    IMainWindow* mHost = nullptr;
};
