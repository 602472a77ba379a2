#pragma once

#include "IForm.h"

#include <QWidget>

// A tab form whose answers are steered by dynamic properties of its widget:
// "leave", "refresh" (int, default 1), "refuseClose" (bool), "title" (text).
class TestForm : public QWidget, public IForm
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "FormInterface/1.0")
    Q_INTERFACES(IForm)

public:
    TestForm();

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
};
