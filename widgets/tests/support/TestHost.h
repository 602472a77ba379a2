#pragma once

#include "IMainWindow.h"

#include <QFont>

// A main window for dialogs under test: supplies the display font and counts
// the calls the dialogs make back.
class TestHost : public IMainWindow
{
public:
    explicit TestHost(int pointSize = 10)
        : mOwnFont(QStringLiteral("Sans"), pointSize)
    {
        mFont = &mOwnFont;
        mRowHeight = int(pointSize * 2.5);
    }

    int viewListUpdates = 0;
    int offlineMoves = 0;

    void loadGeneralPlugins() override {}
    void loadForms(int, int) override {}
    void updateAllViewLists() override { ++viewListUpdates; }
    void retranslateAllViews() override {}
    void refreshTabForms(int) override {}
    void sbFontSize_valueChanged(int) override {}
    void playbackVolumeSlider_valueChanged(int) override {}
    void recordVolumeSlider_valueChanged(int) override {}
    void suggestionButton_clicked() override {}
    void finishInitialization() override {}
    void updateUploadCount() override {}
    void updateUploadCount(int) override {}
    void updateUploadCount(QString) override {}
    void moveToOfflineMode() override { ++offlineMoves; }
    void signOut() override {}
    void signIn() override {}
    void about() override {}
    void aboutPlugins() override {}
    void help() override {}

private:
    QFont mOwnFont;
};
