#pragma once

#include "ui_TopLangs.h"

#include <QModelIndex>
#include <QString>
#include <QWidget>

class IMainWindow;

// First page of the fluency wizard: a short list of common languages.
class TopLangs : public QWidget, public Ui::TopLangs
{
    Q_OBJECT

public:
    TopLangs(IMainWindow* host, QWidget* parent);

    // The chosen language as the language tables name it; empty without a current row.
    QString selectedLanguage() const;

signals:
    void next();
    void yesNext();
    void goToDetailedLanguageWizard();

public slots:
    void emitNext();
    void emitYesNext(QModelIndex index);
    void emitGoToDetailedLanguageWizard();
    void gettingFocus();

private:
    IMainWindow* mHost;
};
