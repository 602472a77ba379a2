#pragma once

#include "ui_WelcomeForm.h"

#include <QDialog>
#include <QString>

// Shows an HTML page from the help folder, once, to a new user.
class WelcomeForm : public QDialog, public Ui::WelcomeForm
{
    Q_OBJECT

public:
    // page holds "%1", replaced by the absolute path of directory.
    WelcomeForm(QWidget* parent, const QString& directory, const QString& page, int showDontShow);
};
