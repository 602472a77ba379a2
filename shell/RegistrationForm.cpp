#include "RegistrationForm.h"

#include "DialogFit.h"
#include "FluencyFormWizard.h"
#include "IMainWindow.h"
#include "INetManager.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "ShellLog.h"
#include "ZoDbHelper.h"

#include <QHeaderView>
#include <QPixmap>
#include <QRegularExpression>
#include <QScrollBar>

namespace {

// Keys of the fluency table's columns, in column order.
const char* const FluencyKeys[] = {"FLanguage",  "FLocaleDesc", "FFluencyLevel", "FCountry",
                                   "FStateProv", "FLocality",   "FNonSpeaking"};
const int FluencyColumns = 7;
const int StudyingColumn = 6;
// Fluency rows the table shows without scrolling.
const int VisibleFluencyRows = 3;

bool matchesWhole(const QString& pattern, const QString& text)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

} // namespace

RegistrationForm::RegistrationForm(IMainWindow* mainWindow, QWidget* parent)
    : QDialog(parent, Qt::WindowSystemMenuHint)
    , mMainWindow(mainWindow)
{
    setupUi(this);
    const QSize formSize = size();
    if (mMainWindow && mMainWindow->mFont)
        setFont(*mMainWindow->mFont);
    mAppName = mSettings.value(SettingsKeys::Version).toString();
    mNetManager = PluginLocator::load<INetManager>(PluginFiles::Courier);

    cmbCountries->addItem(tr("Select"));
    {
        ZoDbHelper helper;
        cmbCountries->addItems(helper.countryList());
    }

    tblUserFluency->setColumnCount(FluencyColumns);
    tblUserFluency->setHorizontalHeaderLabels({tr("Language"), tr("Accent"), tr("Fluency"), tr("Country"),
                                               tr("State\\Province"), tr("Locality"), tr("Studying")});
    // 80 pixels, or what the header's text needs in the dialog's font.
    const QFontMetrics headerMetrics(tblUserFluency->horizontalHeader()->font());
    for (int column = 0; column < FluencyColumns; ++column) {
        const QString title = tblUserFluency->horizontalHeaderItem(column)->text();
        tblUserFluency->setColumnWidth(column, qMax(80, headerMetrics.horizontalAdvance(title) + 24));
    }
    tblUserFluency->hideColumn(StudyingColumn);
    tblUserFluency->verticalHeader()->hide();
    tblUserFluency->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblUserFluency->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblUserFluency->setSelectionMode(QAbstractItemView::SingleSelection);
    tblUserFluency->setSortingEnabled(true);
    // Rows as high as the font needs, and room for a few of them.
    const int rowHeight = tblUserFluency->fontMetrics().height() + 8;
    tblUserFluency->verticalHeader()->setDefaultSectionSize(rowHeight);
    tblUserFluency->setMinimumHeight(
        tblUserFluency->horizontalHeader()->sizeHint().height() + VisibleFluencyRows * rowHeight
        + tblUserFluency->horizontalScrollBar()->sizeHint().height() + 2 * tblUserFluency->frameWidth());

    const QPixmap errorMark(QStringLiteral("Icons/fieldError.png"));
    for (QLabel* marker :
         {lblUsernameError, lblPasswordError, lblRetypePasswordError, lblLanguageError, lblEmailError, lblCountryError})
        marker->setPixmap(errorMark);
    hideErrorMarkers();
    lEditUsername->setMaxLength(16);
    lEditPassword->setMaxLength(16);
    lEditRetypePassword->setMaxLength(16);
    lEditFirstName->setMaxLength(NameLimit);
    lEditLastName->setMaxLength(NameLimit);
    lEditStateProvince->setMaxLength(NameLimit);
    lEditEmail->setMaxLength(64);
    btnRemoveFluency->setEnabled(false);
    DialogFit::fit(this, formSize);

    connect(btnOk, &QPushButton::clicked, this, &RegistrationForm::registerUser);
    connect(btnAddFluency, &QPushButton::clicked, this, &RegistrationForm::showFluencyDialog);
    connect(tblUserFluency, &QTableWidget::itemSelectionChanged, this, &RegistrationForm::tableSelectionChanged);
    connect(btnRemoveFluency, &QPushButton::clicked, this, &RegistrationForm::removeUserFluency);
}

QString RegistrationForm::registeredUserName() const
{
    return mRegisteredUserName;
}

void RegistrationForm::hideErrorMarkers()
{
    for (QLabel* marker :
         {lblUsernameError, lblPasswordError, lblRetypePasswordError, lblLanguageError, lblEmailError, lblCountryError})
        marker->hide();
}

void RegistrationForm::showFluencyDialog()
{
    FluencyFormWizard wizard(mMainWindow, this, false);
    if (!wizard.exec())
        return;
    const QString language = wizard.language();
    for (int row = 0; row < tblUserFluency->rowCount(); ++row) {
        const QTableWidgetItem* item = tblUserFluency->item(row, 0);
        if (item && item->text() == language) {
            MessageBoxHelper::information(this, mAppName,
                                          tr("'%1' is already in your list of fluencies.").arg(language));
            return;
        }
    }
    const QStringList cells{language,           wizard.localeDesc(), wizard.fluencyLevel(), wizard.country(),
                            wizard.stateProv(), wizard.locality(),   wizard.isStudying()};
    // Sorting would move the row while it is filled.
    tblUserFluency->setSortingEnabled(false);
    const int row = tblUserFluency->rowCount();
    tblUserFluency->insertRow(row);
    for (int column = 0; column < FluencyColumns; ++column)
        tblUserFluency->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    // Each column at least as wide as its widest cell: a language such as
    // "German, Standard" is shown whole.
    for (int column = 0; column < FluencyColumns; ++column) {
        if (tblUserFluency->isColumnHidden(column))
            continue;
        const int least = tblUserFluency->columnWidth(column);
        tblUserFluency->resizeColumnToContents(column);
        if (tblUserFluency->columnWidth(column) < least)
            tblUserFluency->setColumnWidth(column, least);
    }
    tblUserFluency->setSortingEnabled(true);
    btnRemoveFluency->setEnabled(true);
}

void RegistrationForm::tableSelectionChanged()
{
    if (tblUserFluency->currentRow() >= 0)
        btnRemoveFluency->setEnabled(true);
}

void RegistrationForm::removeUserFluency()
{
    const int row = tblUserFluency->currentRow();
    if (row < 0)
        return;
    const QTableWidgetItem* item = tblUserFluency->item(row, 0);
    const QString language = item ? item->text() : QString();
    // Escape and the close box mean No.
    const int answer = MessageBoxHelper::show(
        MessageBoxHelper::Question, this, mAppName,
        tr("Are you sure you want to remove %1\nas one of your fluencies?").arg(language), {tr("Yes"), tr("No")}, 0, 1);
    if (answer != 0)
        return;
    tblUserFluency->removeRow(row);
    if (tblUserFluency->rowCount() == 0)
        btnRemoveFluency->setEnabled(false);
}

bool RegistrationForm::fails(bool failed, const QString& message, std::initializer_list<QLabel*> markers)
{
    if (!failed)
        return false;
    for (QLabel* marker : markers)
        marker->show();
    MessageBoxHelper::information(this, mAppName, message);
    return true;
}

int RegistrationForm::validateUserData()
{
    hideErrorMarkers();
    const QString allowed = QStringLiteral("[a-zA-Z0-9._]*");
    const QString username = lEditUsername->text();
    const QString password = lEditPassword->text();
    if (fails(username.size() < 6 || username.size() > 16,
              tr("Please select a username with a minimum of 6 characters and a maximum of 16 characters."),
              {lblUsernameError})
        || fails(!matchesWhole(allowed, username),
                 tr("Invalid username.  Please use only letters, numbers, \"_\" and \".\"."), {lblUsernameError})
        || fails(password.size() < 6 || password.size() > 16,
                 tr("Please select a password with a minimum of 6 characters and a maximum of 16 characters."),
                 {lblPasswordError})
        || fails(!matchesWhole(allowed, password),
                 tr("Invalid password.  Please use only letters, numbers, '_' and '.'."), {lblPasswordError})
        || fails(lEditRetypePassword->text() != password,
                 tr("Your passwords do not match.  Please retype your passwords."),
                 {lblPasswordError, lblRetypePasswordError})
        || fails(!matchesWhole(QStringLiteral("[a-zA-Z0-9._%-]+@[a-zA-Z0-9.-]+\\.[a-zA-Z]{2,4}"), lEditEmail->text()),
                 tr("Invalid email address.  Please enter a valid email address."), {lblEmailError})
        || fails(lEditFirstName->text().size() > NameLimit,
                 tr("Please enter a first name of no more than %1 characters.").arg(NameLimit), {})
        || fails(lEditLastName->text().size() > NameLimit,
                 tr("Please enter a last name of no more than %1 characters.").arg(NameLimit), {})
        || fails(cmbCountries->currentIndex() <= 0, tr("Please select a country."), {lblCountryError})
        || fails(tblUserFluency->rowCount() == 0, tr("You must enter at least one fluency."), {lblLanguageError}))
        return 0;
    return 1;
}

void RegistrationForm::buildRequest()
{
    mRequest.clear();
    mRequest.insert(QStringLiteral("Username"), lEditUsername->text().trimmed());
    mRequest.insert(QStringLiteral("Password"), lEditPassword->text().trimmed());
    mRequest.insert(QStringLiteral("FirstName"), lEditFirstName->text().trimmed());
    mRequest.insert(QStringLiteral("LastName"), lEditLastName->text().trimmed());
    mRequest.insert(QStringLiteral("Email"), lEditEmail->text().trimmed());
    mRequest.insert(QStringLiteral("Country"), cmbCountries->currentText());
    mRequest.insert(QStringLiteral("StateProv"), lEditStateProvince->text().trimmed());
    // Rows are numbered from 1 in the order they are shown.
    for (int row = 0; row < tblUserFluency->rowCount(); ++row) {
        for (int column = 0; column < FluencyColumns; ++column) {
            const QTableWidgetItem* item = tblUserFluency->item(row, column);
            mRequest.insert(QString::fromLatin1(FluencyKeys[column]) + QString::number(row + 1),
                            item ? item->text() : QString());
        }
    }
}

void RegistrationForm::registerUser()
{
    // A missing network manager counts as a network that is not ready.
    if (!mNetManager || !mNetManager->isNetworkReady()) {
        MessageBoxHelper::warning(this, mAppName, tr("Sorry, network error."));
        return;
    }
    if (!validateUserData()) {
        qCDebug(lcShell, "Invalid Registration Information.");
        return;
    }
    buildRequest();
    const int result = mNetManager->registerAccount(mRequest);
    if (result == 1) {
        mRegisteredUserName = mRequest.value(QStringLiteral("Username"));
        accept();
        mSettings.setValue(SettingsKeys::userKey(mRegisteredUserName, QStringLiteral("FirstTime")), 1);
        mSettings.setValue(SettingsKeys::userKey(mRegisteredUserName, QStringLiteral("ExerciseSplash")), 0);
        mSettings.setValue(SettingsKeys::userKey(mRegisteredUserName, QStringLiteral("LibrarySplash")), 0);
    } else if (result == -1) {
        MessageBoxHelper::information(this, mAppName, tr("Username already taken. Please enter a different username."));
        lEditUsername->setFocus();
    } else if (result == 0) {
        MessageBoxHelper::warning(this, mAppName,
                                  tr("Sorry, the Vireda network is presently unavailable.  Registration failed."));
        reject();
    } else if (result == INetManager::TooManyRequests) {
        MessageBoxHelper::warning(this, mAppName,
                                  tr("Sorry, too many registrations came from this computer.\n"
                                     "Please try again later."));
    }
}
