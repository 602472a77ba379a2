#pragma once

#include "IMainWindow.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QStringList>

// A main window for dialogs and forms under test: supplies the display font,
// declares fontChanged() as the real main window does, and counts the calls
// made back to it.
class TestHost : public IMainWindow
{
    Q_OBJECT

public:
    explicit TestHost(int pointSize = 10)
        : mOwnFont(QStringLiteral("Sans"), pointSize)
    {
        mFont = &mOwnFont;
        mRowHeight = int(pointSize * 2.5);
    }

    int viewListUpdates = 0;
    int offlineMoves = 0;
    // The indexes refreshTabForms was called with, in order.
    QList<int> tabRefreshes;
    // updateUploadCount(): calls without an argument; with a count, the
    // counts; with a user name, the names.
    int uploadCountUpdates = 0;
    QList<int> uploadCounts;
    QStringList uploadCountUsers;

    // Changes the display font and tells the forms, as the font size box does.
    void changeFont(int pointSize)
    {
        mOwnFont.setPointSize(pointSize);
        mRowHeight = int(pointSize * 2.5);
        emit fontChanged();
    }

    void loadGeneralPlugins() override {}
    void loadForms(int, int) override {}
    void updateAllViewLists() override { ++viewListUpdates; }
    void retranslateAllViews() override {}
    void refreshTabForms(int index) override { tabRefreshes.append(index); }
    void sbFontSize_valueChanged(int) override {}
    void playbackVolumeSlider_valueChanged(int) override {}
    void recordVolumeSlider_valueChanged(int) override {}
    void suggestionButton_clicked() override {}
    void finishInitialization() override {}
    void updateUploadCount() override { ++uploadCountUpdates; }
    void updateUploadCount(int count) override { uploadCounts.append(count); }
    void updateUploadCount(QString userName) override { uploadCountUsers.append(userName); }
    void moveToOfflineMode() override { ++offlineMoves; }
    void signOut() override {}
    void signIn() override {}
    void about() override {}
    void aboutPlugins() override {}
    void help() override {}

signals:
    void fontChanged();

private:
    QFont mOwnFont;
};
