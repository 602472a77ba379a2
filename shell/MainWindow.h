#pragma once
#include "IMainWindow.h"
#include <QObject>
class QApplication;
class MainWindow : public IMainWindow
{
    Q_OBJECT
    Q_INTERFACES(IMainWindow)
public:
    explicit MainWindow(QApplication* application);
    void loadGeneralPlugins() override {}
    void loadForms(int, int) override {}
    void updateUploadCount() override {}
    void updateUploadCount(int) override {}
    void updateUploadCount(QString) override {}
    void moveToOfflineMode() override {}
    void updateAllViewLists() override {}
    void retranslateAllViews() override {}
    void refreshTabForms(int) override {}
    void sbFontSize_valueChanged(int) override {}
    void playbackVolumeSlider_valueChanged(int) override {}
    void recordVolumeSlider_valueChanged(int) override {}
    void suggestionButton_clicked() override {}
    void finishInitialization() override { show(); }
    void signOut() override {}
    void signIn() override {}
    void about() override {}
    void aboutPlugins() override {}
    void help() override {}
};
