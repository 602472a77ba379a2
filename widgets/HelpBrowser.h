#pragma once

#include "ui_HelpBrowser.h"

#include <QDialog>
#include <QString>
#include <QStringList>

// A small modeless window showing one HTML help page with back and forward.
// The page is a bare file name looked up through the search paths, in the
// interface language when it has the page (HelpPages).
class HelpBrowser : public QDialog, public Ui::HelpBrowser
{
    Q_OBJECT

public:
    HelpBrowser(QWidget* parent, const QString& title, const QStringList& searchPaths, const QString& page);
    ~HelpBrowser() override;
};
