#pragma once

#include "ui_FluencyFormWizard1.h"

#include <QModelIndex>
#include <QString>
#include <QWidget>

class IMainWindow;
class ISilResource;

// Fluency wizard page: search of the complete language list.
class FluencyFormWizard1 : public QWidget, public Ui::FluencyFormWizard1
{
    Q_OBJECT

public:
    FluencyFormWizard1(IMainWindow* host, QWidget* parent);

signals:
    void next();
    void noNext();
    void yesNext();

public slots:
    // Looks up the search field's text (the argument is not read).
    void quickSearch(QString text);
    void noSelection();
    void yesSelection(QModelIndex index);
    void tableDoubleClick(QModelIndex index);
    void gettingFocus();
    // Id and name of the language in the current row.
    QString getSelectedLangId();
    QString getSelectedLanguage();

private:
    IMainWindow* mHost;
    ISilResource* mSil = nullptr;
};
