#pragma once

#include "ui_ImportForm.h"

#include <QDialog>
#include <QDir>
#include <QInputDialog>
#include <QList>
#include <QPointer>
#include <QString>

#include <memory>

class ColumnWidget;
class IMainWindow;

class ZoWordList;

// Turns a text file of study terms, one a line with TAB-separated columns,
// into a new word list. The user says what each column holds and in which
// language, then names the list; the dialog is accepted once the whole file
// was read. It writes no file: the caller stores the list it takes over.
class ImportForm : public QDialog, public Ui::ImportForm
{
    Q_OBJECT

public:
    ImportForm(IMainWindow* mainWindow, QWidget* parent, const QString& fileName, const QDir& listDir);
    ~ImportForm() override;

    virtual void setMainWindow(IMainWindow* mainWindow);

    // The imported list, handed over to the caller; null when no import
    // ran (or when it was taken already).
    ZoWordList* wordList();

    // The byte-order mark the file starts with: -1 unreadable, 0 none,
    // 1 UTF-8, 2 UTF-16 big-endian, 3 UTF-16 little-endian.
    static int detectUnicode(const QString& path);
    // Builds one column per cell of the file's first line, at most four.
    void setFields();
    // 1 when refused (four columns exist), else 0.
    int addColumn();
    QList<ColumnWidget*> columns() const { return mColumns; }
    // The name the prompt suggests first: the file's base name.
    QString suggestedName() const;
    // Why the file cannot be imported at all (not text, past a limit); empty
    // when it can. A refused file gives no columns.
    QString refusal() const { return mRefusal; }
    // The text of the file at path as it can be imported: what XML cannot
    // hold is dropped (*dropped counts it). Null, with *refusal set, when the
    // file is not text or passes the size, line or term limits.
    static QString importableText(const QString& path, QString* refusal, int* dropped);

    // The prompt for the list's name, while it is open (for tests).
    QInputDialog* namePrompt() const { return mPrompt; }

protected:
    // The notes about the file are shown once the dialog is on screen, above it.
    void showEvent(QShowEvent* event) override;

public slots:
    void addColumnClicked(const QString& label);
    void btnImportClicked();
    void btnCancelClicked();
    void updateLanguageLists();

private:
    // The first failing check's message, or an empty text.
    QString checkColumns() const;
    // Asks until a name passes; a null text when the user cancelled.
    QString askName();
    void clearColumns();
    // Reads the file into a new list titled name; false when it cannot be read.
    bool readList(const QString& name);

    QPointer<IMainWindow> mMainWindow;
    QString mFileName;
    QDir mListDir;
    QString mTitle;
    QList<ColumnWidget*> mColumns;
    std::unique_ptr<ZoWordList> mResult;
    QPointer<QInputDialog> mPrompt;
    QString mRefusal;
    QStringList mNotes;
};
