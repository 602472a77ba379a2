#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Message boxes whose buttons are named by text; the result is the index of the
// button pressed (0 for the first) or -1 when the box was closed otherwise.
// The text is shown as plain text, never as markup.
//
// For automated runs: VIREDA_MSGBOX_LOG names a file to which each box is
// appended as one line, and VIREDA_MSGBOX_ANSWERS lists the indexes to answer,
// comma-separated; once they run out, boxes are answered as if closed. With
// either variable set no box is shown.
class MessageBoxHelper
{
public:
    enum Kind { Information, Warning, Question, Critical };

    static int show(Kind kind, QWidget* parent, const QString& title, const QString& text, const QStringList& buttons,
                    int defaultButton = 0, int escapeButton = -1);

    static int information(QWidget* parent, const QString& title, const QString& text,
                           const QStringList& buttons = {QStringLiteral("OK")});
    static int warning(QWidget* parent, const QString& title, const QString& text,
                       const QStringList& buttons = {QStringLiteral("OK")});
    static int question(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons);
    static int critical(QWidget* parent, const QString& title, const QString& text,
                        const QStringList& buttons = {QStringLiteral("OK")});

    // The one-line form of a box written to the log: kind, title, text and
    // buttons separated by TAB, with backslash, TAB and newlines escaped.
    static QString logLine(Kind kind, const QString& title, const QString& text, const QStringList& buttons);

    static QString kindName(Kind kind);
    static bool isScripted();

    // Starts again at the first of VIREDA_MSGBOX_ANSWERS (for tests that
    // change the answers within one process).
    static void resetScript();
};
