#pragma once

#include "ui_FluencyFormWizard3.h"

#include <QModelIndex>
#include <QString>
#include <QWidget>

class IMainWindow;
class ISilResource;

// Fluency wizard page: the dialect or alternate name of the language in that country.
class FluencyFormWizard3 : public QWidget, public Ui::FluencyFormWizard3
{
    Q_OBJECT

public:
    FluencyFormWizard3(IMainWindow* host, QWidget* parent);

    void setLanguageId(QString languageId);
    void setLanguage(QString language);
    void setCountryId(QString countryId);
    void setCountry(QString country);
    // The heading names the language (the format is not translated).
    void setInstruction(QString language);
    QString selectedName() const;

signals:
    void next();
    void noNext();
    void yesNext();

public slots:
    // Looks up the search field's text (the argument is not read); returns the number of names found.
    int quickSearch(QString text);
    void noSelection();
    void yesSelection(QModelIndex index);
    void tableDoubleClick(QModelIndex index);
    void gettingFocus();

private:
    IMainWindow* mHost;
    ISilResource* mSil = nullptr;
    QString mLanguage;
    QString mLanguageId;
    QString mCountry;
    QString mCountryId;
};
