#pragma once

#include "IForm.h"

#include <QWidget>

// A tab form whose answers are steered by dynamic properties of its widget:
// "leave", "refresh" (int, default 1), "refuseClose" (bool), "title" (text),
// "saveFile" (a file its close event writes "saved" into, its unsaved work),
// "logDestroyed" (bool: the destructor logs "<name>:destroyed").
class TestForm : public QWidget, public IForm
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "FormInterface/1.0")
    Q_INTERFACES(IForm)

public:
    TestForm();
    ~TestForm() override;

    // Processes events for ms milliseconds as a tab's download or delete loop
    // does, holding itself by QPointer; logs "<name>:loop ended", or
    // "<name>:loop stopped" when the form went meanwhile.
    Q_INVOKABLE void runLoop(int ms);

    void init() override;
    int customRefresh() override;
    int updateViewLists() override;
    void retranslateView() override;
    int customLeave() override;
    void closeEvent(QCloseEvent* event) override;
    QString title() override;
    QString translationFileName(QString language) override;
    QWidget* widget() override;
    int tabIndex() override;
    void setMainWindow(IMainWindow* mainWindow) override;
    void refreshData() override;

public slots:
    int redrawView() override;

private:
    void log(const char* operation);
    IMainWindow* mMainWindow = nullptr;
    int mLoopRounds = 0;
};
