#pragma once

#include <QWidget>

class CreateExerciseView;
class IMainWindow;

// The "Import" page of the exercise editor, where term lists are recorded one
// term after the other. This first version holds no list yet.
class CreateTemplate : public QWidget
{
    Q_OBJECT

public:
    CreateTemplate(IMainWindow* host, CreateExerciseView* editor);
    ~CreateTemplate() override;

    virtual void setMainWindow(IMainWindow* host);
    // Writes and closes an open list; 1.
    int canClose();
    bool loadNextChecked() const;
    void verifyList();

    // The row whose term the editor holds; -1 when none.
    int rowUnderEdit = -1;

public slots:
    int redrawView();
    void import();

private:
    IMainWindow* mHost;
    CreateExerciseView* mEditor;
};
