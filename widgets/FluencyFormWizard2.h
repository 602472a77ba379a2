#pragma once

#include "ui_FluencyFormWizard2.h"

#include <QModelIndex>
#include <QString>
#include <QWidget>

class IMainWindow;
class ISilResource;

// Fluency wizard page: the country in which the chosen language is spoken.
class FluencyFormWizard2 : public QWidget, public Ui::FluencyFormWizard2
{
    Q_OBJECT

public:
    FluencyFormWizard2(IMainWindow* host, QWidget* parent);

    void setLanguageId(QString languageId);
    void setLanguage(QString language);
    // The heading names the language (the format is not translated).
    void setInstruction(QString language);
    QString selectedCountryId() const;
    QString selectedCountry() const;

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

private:
    IMainWindow* mHost;
    ISilResource* mSil = nullptr;
    QString mLanguageId;
    QString mLanguage;
};
