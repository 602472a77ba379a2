#pragma once

#include <QWidget>

class ICreate;
class IMainWindow;
class ZoExercise;

// The "Session List" page of the exercise editor: the exercises shown or
// saved since the tab was built. This first version keeps no rows yet.
class CreateSession : public QWidget
{
    Q_OBJECT

public:
    CreateSession(IMainWindow* host, ICreate* editor);
    ~CreateSession() override;

    virtual void setMainWindow(IMainWindow* host);
    int refreshFromStore();

public slots:
    int redrawView();
    void addExercise(ZoExercise* exercise);

private:
    IMainWindow* mHost;
    ICreate* mEditor;
};
