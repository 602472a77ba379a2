#include "SuggestionForm.h"

#include "DialogFit.h"
#include "IMainWindow.h"
#include "INetManager.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"

#include <QPalette>

SuggestionForm::SuggestionForm(IMainWindow* mainWindow)
    : QDialog(mainWindow, Qt::WindowSystemMenuHint)
    , mMainWindow(mainWindow)
{
    setupUi(this);
    const QSize formSize = size();
    if (mMainWindow && mMainWindow->mFont)
        setFont(*mMainWindow->mFont);
    DialogFit::fit(this, formSize);
    mAppName = mSettings.value(SettingsKeys::Version).toString();
    mNetManager = PluginLocator::load<INetManager>(PluginFiles::Courier);
    cmbMessageType->addItem(tr("Suggestion"));
    cmbMessageType->addItem(tr("Bug"));
    connect(btnOk, &QPushButton::clicked, this, &SuggestionForm::sendMessage);
    connect(tEditSuggestion, &QTextEdit::textChanged, this, &SuggestionForm::typing);
}

void SuggestionForm::typing()
{
    const int count = tEditSuggestion->toPlainText().size();
    lblCharacters->setText(QString::number(count) + tr(" characters typed."));
    QPalette palette = lblCharacters->palette();
    palette.setColor(QPalette::WindowText, count > MaxLength ? QColor(255, 0, 0) : QColor(0, 0, 0));
    lblCharacters->setPalette(palette);
}

void SuggestionForm::sendMessage()
{
    const QString text = tEditSuggestion->toPlainText();
    const QString type = cmbMessageType->currentIndex() == 1 ? QStringLiteral("1") : QStringLiteral("2");
    if (text.isEmpty() || text.size() >= MaxLength) {
        MessageBoxHelper::information(this, mAppName,
                                      tr("Your message is blank or exceeds the maximum length of 8000 characters."));
        return;
    }
    // A missing network manager counts as a network that is not ready.
    if (!mNetManager || !mNetManager->isNetworkReady()) {
        MessageBoxHelper::information(this, mAppName,
                                      tr("Unable to find working internet connection.  Sending of message failed."));
        return;
    }
    switch (mNetManager->sendFeedback(text, type)) {
    case 1:
        accept();
        break;
    case 0:
        MessageBoxHelper::information(this, mAppName, tr("Message could not be sent."));
        break;
    case -1:
        // The move to offline mode tells the user; the text stays for a later try.
        if (mMainWindow)
            mMainWindow->moveToOfflineMode();
        break;
    default:
        break;
    }
}
