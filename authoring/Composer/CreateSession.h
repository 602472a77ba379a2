#pragma once

#include "ui_CreateSession.h"

#include <QDir>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

class ICreate;
class IDbManager;
class IMainWindow;
class QKeyEvent;
class ZoExercise;
class ZoTable;

// The "Session List" page of the exercise editor: the stored exercises shown
// or saved since the tab was built, by local id. Edit opens one again, Clear
// List empties the list, Save As Lesson stores the listed exercises as a new
// lesson.
class CreateSession : public QWidget, public Ui::CreateSession
{
    Q_OBJECT

public:
    CreateSession(IMainWindow* host, ICreate* editor);
    ~CreateSession() override;

    virtual void setMainWindow(IMainWindow* host);
    // Drops rows whose exercise is gone from the store or whose term or voice
    // changed there; 1.
    int refreshFromStore();
    void init();
    // The Designer texts and the column labels in the current language.
    void retranslate();

    // The local ids listed, in row order.
    QStringList ids() const { return mIds; }
    QString selectedId() const { return mSelectedId; }

public slots:
    int redrawView();
    void refreshData();
    void clear();
    void openExercise();
    void addExercise(ZoExercise* exercise);
    void removeExercise(QString id);
    void tableSelectionChanged(ZoTable* table);
    void tblSessionClicked(int row, int col, int button, const QPoint& pos);
    void tblSessionDoubleClick(int row, int col, int button, const QPoint& pos);
    void tblSessionEnterPressed(QKeyEvent* event);

private slots:
    void saveAsLesson();

private:
    void setTexts();

    IMainWindow* mHost;
    ICreate* mEditor;
    IDbManager* mStore = nullptr;
    QString mTitle;
    QDir mIconDir;
    QString mSelectedId;
    QStringList mIds;
};
