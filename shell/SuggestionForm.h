#pragma once

#include "ui_SuggestionForm.h"

#include <QDialog>
#include <QSettings>
#include <QString>

class IMainWindow;
class INetManager;

// Sends a suggestion or a bug report through the network manager.
class SuggestionForm : public QDialog, public Ui::SuggestionForm
{
    Q_OBJECT

public:
    // Longest message is one character shorter.
    static constexpr int MaxLength = 8000;

    explicit SuggestionForm(IMainWindow* mainWindow);

private slots:
    void sendMessage();
    void typing();

private:
    QSettings mSettings;
    QString mAppName;
    IMainWindow* mMainWindow;
    INetManager* mNetManager = nullptr;
};
