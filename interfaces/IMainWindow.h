#pragma once

#include <QMainWindow>
#include <QString>
#include <QtPlugin>

class QApplication;
class QFont;

// The main window as the forms see it. The implementing class declares the
// fontChanged() signal and the slots.
class IMainWindow : public QMainWindow
{
public:
    IMainWindow()
        : QMainWindow(nullptr)
    {
    }
    ~IMainWindow() override = default;

    QFont* mFont = nullptr;
    int mRowHeight = 25;
    QApplication* mApplication = nullptr;

    virtual void loadGeneralPlugins() = 0;
    virtual void loadForms(int level, int offline) = 0;
    virtual void updateAllViewLists() = 0;
    virtual void retranslateAllViews() = 0;
    virtual void refreshTabForms(int index) = 0;
    virtual void sbFontSize_valueChanged(int size) = 0;
    virtual void playbackVolumeSlider_valueChanged(int volume) = 0;
    virtual void recordVolumeSlider_valueChanged(int volume) = 0;
    virtual void suggestionButton_clicked() = 0;
    virtual void finishInitialization() = 0;
    virtual void updateUploadCount() = 0;
    virtual void updateUploadCount(int count) = 0;
    virtual void updateUploadCount(QString userName) = 0;
    virtual void moveToOfflineMode() = 0;
    virtual void signOut() = 0;
    virtual void signIn() = 0;
    virtual void about() = 0;
    virtual void aboutPlugins() = 0;
    virtual void help() = 0;
};

#define IMainWindow_iid "MainFormInterface/1.0"
Q_DECLARE_INTERFACE(IMainWindow, IMainWindow_iid)
