#pragma once

#include "ui_CreateNew.h"

#include <QDialog>
#include <QString>

class IDbManager;
class IMainWindow;
class IUserResource;
class ZoLesson;

// The modal dialog that asks for a lesson's title, description, language and
// learner level before the caller stores it. It writes into the lesson only
// when OK succeeds; Cancel leaves the lesson as it was. The lesson stays the
// caller's.
class CreateNew : public QDialog, public Ui::CreateNew
{
    Q_OBJECT

public:
    CreateNew(IMainWindow* mainWindow, ZoLesson* lesson);

    // Fills the dialog from the lesson: the languages of its exercises, every
    // learner level, its title and description; a language or learner level
    // that is not a null text is selected.
    virtual void init(ZoLesson* lesson);

    // 1 when a title is given and a language chosen, else a message and 0.
    int validate();

public slots:
    // Writes the details into the lesson and accepts; 0 when the input is
    // refused or nobody is signed in.
    int btnOkClicked();

private:
    // An empty text rather than a null one: stored texts are never null.
    static QString nonNull(const QString& text);

    IMainWindow* mMainWindow;
    ZoLesson* mLesson = nullptr;
    QString mMessageTitle;
    IDbManager* mDbManager = nullptr;
    IUserResource* mUserResource = nullptr;
};
