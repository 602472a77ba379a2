#pragma once

#include "ui_CreateOpen.h"

#include <QDialog>
#include <QDir>
#include <QHash>
#include <QString>

class IDbManager;
class IMainWindow;
class IUserResource;
class LanguageComboHelper;
class QKeyEvent;

// The modal dialog that lists the stored exercises or lessons, narrowed by
// part of the study term or title and by language, and builds the chosen one
// for the caller.
class CreateOpen : public QDialog, public Ui::CreateOpen
{
    Q_OBJECT

public:
    // kind: "Exercise" or "Lesson"; any other kind lists nothing.
    CreateOpen(IMainWindow* mainWindow, const QString& kind, QWidget* parent = nullptr);
    ~CreateOpen() override;

    virtual void init();

    // A new ZoExercise or ZoLesson for the current row, owned by the caller;
    // null without a current row or when it is no longer stored.
    QObject* selectedObject();

    QString kind() const { return mKind; }

public slots:
    void findAll();
    void quickSearch(const QString& text);
    void searchLocal();
    void searchExercises(int useCriteria);
    void searchLessons(int useCriteria);
    void updateList();
    void tableSelectionChanged();
    void lEditSearchEnterPressed();
    void addLanguage(int index);
    void tblEnterPressed(QKeyEvent* event);

private:
    // Lists the stored items of the kind; textKey names the search text.
    void list(const QString& type, const QString& textKey, int useCriteria);
    QStringList rowKeys() const;

    QString mKind;
    IMainWindow* mHost;
    IDbManager* mStore = nullptr;
    IUserResource* mUsers = nullptr;
    LanguageComboHelper* mLanguages = nullptr;
    QDir mIconDir;
    QString mPreviousText;
};
