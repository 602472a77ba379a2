#pragma once

#include "IForm.h"
#include "ui_Preferences.h"

#include <QWidget>

class ProfileView;

// The profile tab: a page stack whose visible page is the profile view, to
// which the form's data operations go.
class Preferences : public QWidget, public IForm, public Ui::Preferences
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "FormInterface/1.0")
    Q_INTERFACES(IForm)

public:
    Preferences();
    ~Preferences() override;

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
    // The view once init() made it, else null.
    ProfileView* view() const;

    IMainWindow* mHost = nullptr;
};
