#pragma once

#include <QString>
#include <QtPlugin>

class IMainWindow;
class QCloseEvent;
class QWidget;

// A tab form. Its plug-in's root object is a QWidget that also derives from IForm.
class IForm
{
public:
    virtual ~IForm() = default;
    virtual void init() = 0;
    virtual int customRefresh() = 0;
    virtual int updateViewLists() = 0;
    virtual void retranslateView() = 0;
    virtual int customLeave() = 0;
    virtual void closeEvent(QCloseEvent* event) = 0;
    virtual QString title() = 0;
    virtual QString translationFileName(QString language) = 0;
    virtual QWidget* widget() = 0;
    virtual int tabIndex() = 0;
    virtual void setMainWindow(IMainWindow* mainWindow) = 0;
    // Runs at sign-in and at every change of the interface language. It resets
    // the form's content only when the signed-in user differs from the one the
    // form last showed (compare user names read from
    // IUserResource::currentUser(); nobody signed in counts as a user of its
    // own). For the same user it only re-reads its lists and keeps unsaved
    // work, the current selection where it still exists and the study list.
    virtual void refreshData() = 0;
    virtual int redrawView() = 0;
};

#define IForm_iid "FormInterface/1.0"
Q_DECLARE_INTERFACE(IForm, IForm_iid)
