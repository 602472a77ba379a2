#pragma once

#include "ui_ColumnWidget.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class IMainWindow;
class LanguageComboHelper;

// One column of a term-list file in the import dialog: what the column holds
// (the study term or a translation), its language, and whether it is
// imported at all.
class ColumnWidget : public QWidget, public Ui::ColumnWidget
{
    Q_OBJECT

public:
    ColumnWidget(IMainWindow* mainWindow, const QString& label);
    ~ColumnWidget() override;

    static QString studyTermType() { return QStringLiteral("Study Term"); }
    static QString translationType() { return QStringLiteral("Translation"); }

    // The column's type as a field name ("Study Term", "Translation"); empty
    // while no type is chosen. The shown text may be translated, this is not.
    QString fieldName() const;
    bool isStudyTerm() const { return fieldName() == studyTermType(); }
    // The chosen language; empty while none is chosen.
    QString language() const;
    // Fixes the column as the study term.
    void setStudyTerm();
    // Refills the languages, keeping the one chosen when it is still there;
    // 0 with nobody signed in (the list stays empty), else 1.
    int fillLanguages();
    bool isImported() const { return mImported; }
    void retranslate();

signals:
    // A language was added through the wizard: every column refills.
    void languagesModified();

public slots:
    // Chooses the entry at index; "Add Language..." runs the fluency wizard.
    void addLanguage(int index);
    // Ignores the column, or imports it again.
    void toggle();

private:
    QPointer<IMainWindow> mMainWindow;
    LanguageComboHelper* mLanguages;
    QString mLabel;
    bool mImported = true;
};
