#pragma once

#include "IForm.h"
#include "ui_Composer.h"

#include <QDir>
#include <QPointer>
#include <QSettings>
#include <QString>
#include <QWidget>

class CreateExerciseView;
class CreateLessonView;
class HelpBrowser;
class ICreate;
class IMainWindow;
class QCloseEvent;
class QListWidgetItem;

// The "Create" tab: a list of the kinds of content on the left and the
// exercise or lesson editor on the right.
class Composer : public QWidget, public IForm, public Ui::Composer
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IForm_iid)
    Q_INTERFACES(IForm)

public:
    Composer();
    ~Composer() override;

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

    CreateExerciseView* exerciseEditor() const { return mExerciseView; }
    CreateLessonView* lessonEditor() const { return mLessonView; }
    ICreate* currentEditor() const { return mCurrentView; }

    // Shows a stored exercise or lesson chosen elsewhere in the current view,
    // after the view agreed to leave its own changes; the form takes the
    // object and deletes it.
    void openChosen(QObject* object);

public slots:
    void objectSaved();
    int redrawView() override;
    void objectModified();
    void objectNotModified();
    void objectSelected(QListWidgetItem* item);
    void currentObjectChanged(int row);
    void mainMenu();
    void newObject();
    void openObject();
    void btnHelpClicked();
    void importWordlist();

private:
    void connectView(QWidget* view);
    void setHeading();

    IMainWindow* mHost = nullptr;
    QPointer<HelpBrowser> mHelpBrowser;
    QString mVersionTitle;
    QDir mIconDir;
    QSettings mSettings;
    CreateExerciseView* mExerciseView = nullptr;
    CreateLessonView* mLessonView = nullptr;
    ICreate* mCurrentView = nullptr;
    QListWidgetItem* mExerciseItem = nullptr;
    QListWidgetItem* mLessonItem = nullptr;
    bool mExerciseSelected = false;
    bool mBuilt = false;
};
