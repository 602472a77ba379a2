#pragma once

#include "ui_CreateTemplate.h"

#include <QDir>
#include <QPoint>
#include <QSettings>
#include <QString>
#include <QWidget>

#include <memory>

class IDbManager;
class IMainWindow;
class IUserResource;
class QKeyEvent;
class TermEditor;
class ZoExercise;
class ZoTable;
class ZoWordList;

// The "Import" page of the exercise editor: a term list imported from a text
// file, shown as a table and recorded one term after the other. Each term the
// editor saves is marked done and written to the list's file at once; the
// recorded terms can become a lesson.
class CreateTemplate : public QWidget, public Ui::CreateTemplate
{
    Q_OBJECT

public:
    enum Column { ColId, ColDone, ColTerm, ColLanguage, ColVoice, ColCount };

    // The editor receives the terms to record; its saved exercises come to
    // exerciseSaved, and stopLoadingNext ends the list's hold on it.
    CreateTemplate(IMainWindow* host, TermEditor* editor);
    ~CreateTemplate() override;

    virtual void setMainWindow(IMainWindow* host);
    // Writes an open list and keeps it open (a later view may refuse the close); 1.
    int canClose();
    bool loadNextChecked() const;
    // Unmarks terms whose exercise is gone from the store or changed there.
    void verifyList();
    // Refills the list chooser from the list folder; 1.
    int fillListCombo();
    // Runs the import dialog on this file and shows the new list.
    void importFile(const QString& fileName);
    // Shows the page's texts in the current interface language.
    void retranslate();
    // The open list; null when none is open.
    ZoWordList* list() const { return mList.get(); }
    QDir listDir() const { return mListDir; }

    // The row whose term the editor holds; -1 when none.
    int rowUnderEdit() const { return mRowUnderEdit; }
    // The editor holds a term of the list and gets the next one once it is saved.
    bool holdsEditor() const { return mRowUnderEdit >= 0 && loadNextChecked(); }

signals:
    // holdsEditor() changed.
    void holdsEditorChanged(bool holds);

public slots:
    void saveAsLesson();
    int redrawView();
    void cmbTemplateListChanged(int index);
    void clear();
    void import();
    void openExercise();
    void exerciseSaved(ZoExercise* exercise);
    void stopLoadingNext();
    void tableSelectionChanged(ZoTable* table);
    void tblTemplateDoubleClick(int row, int col, int button, const QPoint& pos);
    void tblTemplateEnterPressed(QKeyEvent* event);
    void btnDeleteClicked();

private:
    void setRowUnderEdit(int row);
    // Says when holdsEditor() changed.
    void noteHold();
    void setTexts();
    // Writes the open list to its file; false when it could not be written.
    bool writeListFile();
    // Asks the editor to save or give up its unsaved work; false keeps everything as it is.
    bool editorAgreesToLeave();
    void deleteListFile();
    // Writes, then closes the open list.
    void closeList();
    // Shows the open list and opens its first term; false when the page was
    // deleted meanwhile.
    bool displayList();
    void setRow(int row, const QHash<QString, QString>& values);
    void markDone(int row, bool done);
    // Empties the table and the page's state; combo on the placeholder.
    void resetPage();
    // Sets the damaged file of list name aside and tells the user why.
    void keepAside(const QString& name, const QString& problem);
    // Drops what a list file may not bring in: a recording that is not a
    // plain file in the sound folder, and any recording of an unrecorded term.
    void sanitize(ZoWordList* list) const;
    void activateHost();

    IMainWindow* mHost;
    TermEditor* mEditor;
    IDbManager* mStore = nullptr;
    IUserResource* mUsers = nullptr;
    QSettings mSettings;
    QString mTitle;
    QDir mIconDir;
    QDir mListDir;
    std::unique_ptr<ZoWordList> mList;
    int mRowUnderEdit = -1;
    bool mHolds = false;
    bool mSavingBeforeOpen = false;
    bool mReading = false;
};
