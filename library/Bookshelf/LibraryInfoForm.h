#pragma once

#include "ui_LibraryInfoForm.h"

#include <QDialog>

class IUserResource;

// The library's welcome page with "Do not show this screen again".
class LibraryInfoForm : public QDialog, public Ui::LibraryInfoForm
{
    Q_OBJECT

public:
    explicit LibraryInfoForm(QWidget* parent);
    ~LibraryInfoForm() override;

public slots:
    // Stores the choice for the signed-in user and closes the dialog.
    void closeInfoForm();

private:
    IUserResource* mUsers = nullptr;
};
