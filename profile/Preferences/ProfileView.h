#pragma once

#include "ui_ProfileView.h"

#include <QString>
#include <QWidget>

class IDbManager;
class IMainWindow;
class INetManager;
class IUserResource;
class ZoUser;
class ZoUserFluency;

// The page of the profile tab: the signed-in user's details (read-only), the
// licence note and the user's language fluencies with Add, Edit and Remove.
// The user is read from the user resource at each use, never kept.
class ProfileView : public QWidget, public Ui::ProfileView
{
    Q_OBJECT

public:
    explicit ProfileView(QWidget* parent = nullptr);
    ~ProfileView() override;

    virtual void setMainWindow(IMainWindow* host);

    // Shows the current user's details.
    void fillUserFields();
    // Column labels and widths: a quarter of the table for the language, the
    // rest 15 % each, every header shown whole.
    void layoutColumns();
    // Reads the current user again from the store and makes it current; every
    // tab then refills its language lists.
    void reloadUser();
    // One row per fluency of the current user, in stored order.
    int fillFluencyTable();
    // Sign-in and language change: details, user, fluencies. The selection
    // survives only when the same user is shown again.
    void refreshData();

public slots:
    int redrawView();
    void showFluencyDialog();
    void showFluencyDialogEditView();
    void removeUserFluency();
    void tableSelectionChanged();

private:
    ZoUser* currentUser() const;
    // The row when exactly one row is selected, else -1.
    int selectedRow() const;
    // The current user's fluency with this id, or null.
    ZoUserFluency* fluencyById(const QString& id) const;
    // Runs the wizard modally, on one of the user's fluencies when edited is
    // set; true when it was accepted and this view still exists.
    bool runWizard(const ZoUserFluency* edited);
    void applyFonts(const QFont& base);
    // Widths in the shares of layoutColumns within the room the table shows
    // without a horizontal scroll bar; a header that needs more gets it.
    void fitColumns();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QString mTitle;
    IDbManager* mDbManager = nullptr;
    INetManager* mNetManager = nullptr;
    IUserResource* mUserResource = nullptr;
    IMainWindow* mHost = nullptr;
    // The user whose fluencies the table shows.
    QString mShownUser;
    // Set while a wizard, a question or a network call of this view runs.
    bool mBusy = false;
};
