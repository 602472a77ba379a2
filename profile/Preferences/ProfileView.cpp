#include "ProfileView.h"

#include "FluencyFormWizard.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "INetManager.h"
#include "IResource.h"
#include "IUserResource.h"
#include "LanguageComboHelper.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "ProfileLog.h"
#include "SettingsStore.h"
#include "StoreWriteError.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QDir>
#include <QEvent>
#include <QHeaderView>
#include <QPixmap>
#include <QPointer>
#include <QStyle>

namespace {

const int kColumns = 6;
const int kInitialColumnWidth = 120;
// The fluency's id rides on the language cell.
const int kIdRole = Qt::UserRole;

// Widths in the given shares of the room, each at least what its header
// needs; what a widened column takes comes from the others by their shares.
QVector<int> sharedWidths(const QVector<int>& shares, const QVector<int>& least, int room)
{
    const int n = int(shares.size());
    QVector<int> widths(n, 0);
    QVector<bool> held(n, false);
    for (bool changed = true; changed;) {
        changed = false;
        int free = room;
        int freeShares = 0;
        for (int i = 0; i < n; ++i) {
            if (held.at(i))
                free -= widths.at(i);
            else
                freeShares += shares.at(i);
        }
        for (int i = 0; i < n; ++i) {
            if (held.at(i))
                continue;
            widths[i] = freeShares > 0 ? qMax(0, free) * shares.at(i) / freeShares : 0;
            if (widths.at(i) < least.at(i)) {
                widths[i] = least.at(i);
                held[i] = true;
                changed = true;
            }
        }
    }
    return widths;
}

} // namespace

ProfileView::ProfileView(QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
    connect(btnAddFluency, &QPushButton::clicked, this, &ProfileView::showFluencyDialog);
    connect(btnRemoveFluency, &QPushButton::clicked, this, &ProfileView::removeUserFluency);
    connect(btnEditFluency, &QPushButton::clicked, this, &ProfileView::showFluencyDialogEditView);
    connect(tblUserFluency, &ZoTable::tableSelectionChanged, this, &ProfileView::tableSelectionChanged);

    btnChangePassword->hide();
    mTitle = SettingsStore::versionTitle();
    mHorizontalSplitter->setSizes({200, 200});
    mVerticalSplitter->setSizes({200, 200});

    mDbManager = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mNetManager = PluginLocator::load<INetManager>(PluginFiles::Courier);
    mUserResource = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);

    tblUserFluency->setNumCols(kColumns);
    for (int col = 0; col < kColumns; ++col)
        tblUserFluency->setColumnWidth(col, kInitialColumnWidth);
    tblUserFluency->setReadOnly(true);
    tblUserFluency->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblUserFluency->setSingleRowSelection();
    tblUserFluency->setLeftMargin(0);
    tblUserFluency->installEventFilter(this);
    tblUserFluency->horizontalHeader()->installEventFilter(this);
    lblLanguageError->setPixmap(QPixmap(QStringLiteral("Icons/fieldError.png")));
    lblLanguageError->hide();
    lblUserInformation->hide();
    applyFonts(font());

    if (mDbManager)
        cmbCountries->addItems(mDbManager->countryList());
    cmbCountries->setCurrentIndex(-1);
    btnEditFluency->setEnabled(false);
    btnRemoveFluency->setEnabled(false);
}

ProfileView::~ProfileView() = default;

void ProfileView::setMainWindow(IMainWindow* host)
{
    mHost = host;
}

ZoUser* ProfileView::currentUser() const
{
    return mUserResource ? mUserResource->currentUser() : nullptr;
}

void ProfileView::fillUserFields()
{
    const ZoUser* user = currentUser();
    lEditUsername->setText(user ? user->username() : QString());
    lEditFirstName->setText(user ? user->firstName() : QString());
    lEditLastName->setText(user ? user->lastName() : QString());
    lEditEmail->setText(user ? user->email() : QString());
    // The names follow the interface language; the user's country is found by its id.
    auto* countries = PluginLocator::load<IResource>(PluginFiles::ZoCountryResource);
    if (mDbManager) {
        cmbCountries->clear();
        for (const QString& name : mDbManager->countryList())
            cmbCountries->addItem(name, countries ? countries->idOf(name) : QString());
    }
    // A country that is not in the list selects nothing.
    int index = user ? cmbCountries->findText(user->country(), Qt::MatchExactly) : -1;
    if (user && index < 0 && countries) {
        const QString id = countries->idOf(user->country());
        index = id.isEmpty() ? -1 : cmbCountries->findData(id);
    }
    cmbCountries->setCurrentIndex(index);
    lEditStateProvince->setText(user ? user->stateProv() : QString());
}

void ProfileView::layoutColumns()
{
    tblUserFluency->setUpdatesEnabled(false);
    tblUserFluency->setNumCols(kColumns);
    const int w = tblUserFluency->width();
    qCDebug(lcProfile, "width is %i", w);
    tblUserFluency->setColumnLabels({tr("Language"), tr("Dialect/Alternate Name"), tr("Fluency"), tr("Country"),
                                     tr("State/Province"), tr("Locality")});
    fitColumns();
    tblUserFluency->setUpdatesEnabled(true);
    tblUserFluency->redrawTable();
    retranslateUi(this);
}

void ProfileView::fitColumns()
{
    if (tblUserFluency->columnCount() != kColumns)
        return;
    // The room inside the frame, less a vertical scroll bar that more rows bring.
    const int room = tblUserFluency->contentsRect().width()
                     - (tblUserFluency->verticalHeader()->isVisible() ? tblUserFluency->verticalHeader()->width() : 0)
                     - tblUserFluency->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tblUserFluency);
    QHeaderView* header = tblUserFluency->horizontalHeader();
    const QVector<int> shares{25, 15, 15, 15, 15, 15};
    QVector<int> least;
    int leastSum = 0;
    for (int col = 0; col < kColumns; ++col) {
        least << header->sectionSizeHint(col);
        leastSum += least.last();
    }
    QVector<int> widths;
    if (leastSum <= room) {
        widths = sharedWidths(shares, least, room);
    } else {
        // The headers cannot all show without scrolling: each column keeps its
        // share of the table's width where its header fits in it.
        const int w = tblUserFluency->width();
        for (int col = 0; col < kColumns; ++col)
            widths << qMax(least.at(col), w * shares.at(col) / 100);
    }
    for (int col = 0; col < kColumns; ++col)
        tblUserFluency->setColumnWidth(col, widths.at(col));
}

bool ProfileView::eventFilter(QObject* watched, QEvent* event)
{
    // A new size, or a new font, which reaches the header after the host's
    // fontChanged().
    if ((watched == tblUserFluency && event->type() == QEvent::Resize)
        || (watched == tblUserFluency->horizontalHeader() && event->type() == QEvent::FontChange))
        fitColumns();
    return QWidget::eventFilter(watched, event);
}

void ProfileView::reloadUser()
{
    if (!currentUser())
        return;
    if (!LanguageComboHelper::reloadCurrentUser()) {
        qCWarning(lcProfile, "Internal Error");
        return;
    }
    if (mHost)
        mHost->updateAllViewLists();
}

int ProfileView::fillFluencyTable()
{
    if (mNetManager && !mNetManager->isNetworkReady() && mNetManager->isOfflineLogin() == 0 && mHost)
        mHost->moveToOfflineMode();

    const ZoUser* user = currentUser();
    const QString userName = user ? user->username() : QString();
    // The selected language stays selected while the same user is shown.
    QString selectedLanguage;
    const int row = selectedRow();
    if (row >= 0 && userName == mShownUser)
        selectedLanguage = tblUserFluency->text(row, 0);
    mShownUser = userName;

    tblUserFluency->setUpdatesEnabled(false);
    const QList<ZoUserFluency*> fluencies = user ? user->fluencies() : QList<ZoUserFluency*>();
    tblUserFluency->clearSelection();
    tblUserFluency->setNumRows(0);
    tblUserFluency->setNumRows(int(fluencies.size()));
    int reselect = -1;
    for (int i = 0; i < fluencies.size(); ++i) {
        const ZoUserFluency* fluency = fluencies.at(i);
        const QStringList cells = {fluency->language(), fluency->localeDesc(), fluency->fluencyLevel(),
                                   fluency->country(),  fluency->stateProv(),  fluency->locality()};
        for (int col = 0; col < kColumns; ++col)
            tblUserFluency->setText(i, col, cells.at(col));
        tblUserFluency->item(i, 0)->setData(kIdRole, fluency->id());
        if (reselect < 0 && !selectedLanguage.isEmpty() && fluency->language() == selectedLanguage)
            reselect = i;
    }
    if (reselect >= 0)
        tblUserFluency->selectRow(reselect);
    tblUserFluency->setUpdatesEnabled(true);
    tblUserFluency->redrawTable();
    tableSelectionChanged();
    return 1;
}

void ProfileView::refreshData()
{
    fillUserFields();
    reloadUser();
    fillFluencyTable();
}

void ProfileView::applyFonts(const QFont& base)
{
    QFont bold(base);
    bold.setWeight(QFont::Bold);
    lblUserInformation->setFont(bold);
    lblContentLicensing->setFont(bold);
    QFont larger(bold);
    if (larger.pointSize() > 0)
        larger.setPointSize(larger.pointSize() + 5);
    lblUserFluencies->setFont(larger);
}

int ProfileView::redrawView()
{
    if (mHost && mHost->mFont)
        applyFonts(*mHost->mFont);
    return 1;
}

int ProfileView::selectedRow() const
{
    const QModelIndexList rows = tblUserFluency->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}

ZoUserFluency* ProfileView::fluencyById(const QString& id) const
{
    const ZoUser* user = currentUser();
    if (!user || id.isEmpty())
        return nullptr;
    for (ZoUserFluency* fluency : user->fluencies()) {
        if (fluency->id() == id)
            return fluency;
    }
    return nullptr;
}

bool ProfileView::runWizard(const ZoUserFluency* edited)
{
    QPointer<ProfileView> self(this);
    mBusy = true;
    // Accepted: the helper has reloaded the user and refreshed every tab's lists.
    const QString language = LanguageComboHelper::runFluencyWizard(mHost, this, [edited](FluencyFormWizard& wizard) {
        if (edited)
            wizard.presetFluency(edited->language(), edited->country(), edited->localeDesc(), edited->fluencyLevel(),
                                 edited->stateProv(), edited->locality(), edited->isStudying());
    });
    if (!self)
        return false;
    mBusy = false;
    return !language.isNull();
}

void ProfileView::showFluencyDialog()
{
    if (mBusy || !currentUser())
        return;
    if (runWizard(nullptr))
        fillFluencyTable();
    else
        tableSelectionChanged();
}

void ProfileView::showFluencyDialogEditView()
{
    const int row = selectedRow();
    if (mBusy || row < 0)
        return;
    const ZoUserFluency* fluency = fluencyById(tblUserFluency->item(row, 0)->data(kIdRole).toString());
    if (!fluency) {
        fillFluencyTable();
        return;
    }
    if (runWizard(fluency))
        fillFluencyTable();
    else
        tableSelectionChanged();
}

void ProfileView::removeUserFluency()
{
    const int row = selectedRow();
    const ZoUser* user = currentUser();
    // The last fluency stays.
    if (mBusy || row < 0 || !user || user->fluencyCount() < 2)
        return;
    // What the user confirms is what gets deleted, whatever refills the table meanwhile.
    const QString id = tblUserFluency->item(row, 0)->data(kIdRole).toString();
    const QString language = tblUserFluency->text(row, 0);

    QPointer<ProfileView> self(this);
    mBusy = true;
    const int answer = MessageBoxHelper::question(this, mTitle,
                                                  tr("Do you want to delete the fluency '%1'?").arg(language),
                                                  {tr("Yes"), tr("Cancel")});
    if (!self)
        return;
    if (answer != 0) {
        mBusy = false;
        return;
    }

    btnRemoveFluency->setEnabled(false);
    reloadUser();
    const ZoUserFluency* confirmed = fluencyById(id);
    const bool removed = confirmed && confirmed->language() == language && currentUser()->fluencyCount() > 1
                         && mDbManager && mDbManager->remove(QStringLiteral("Fluency"), {id});
    reloadUser();
    fillFluencyTable();
    if (!removed) {
        mBusy = false;
        tableSelectionChanged();
        return;
    }

    int result = -1;
    StoreWriteError::clear();
    if (const ZoUser* changed = currentUser(); changed && mNetManager)
        result = mNetManager->updateFluency(changed->username(), changed->password(), changed->toHash());
    if (!self)
        return;
    // The update writes the fluencies again under new ids.
    mBusy = false;
    reloadUser();
    fillFluencyTable();

    if (result == INetManager::NotStoredLocally) {
        MessageBoxHelper::warning(this, mTitle,
                                  StoreWriteError::message(tr("The fluency change could not be saved for the next "
                                                              "time you log in."),
                                                           StoreWriteError::explain(QDir::currentPath())));
    } else if (result == -1) {
        if (!(mNetManager && mNetManager->isOfflineLogin() != 0) && mHost)
            mHost->moveToOfflineMode();
        MessageBoxHelper::information(this, mTitle,
                                      tr("A working internet connection could not be found.  "
                                         "This fluency change will not be saved for the next time you log in."));
    } else if (result == 0) {
        MessageBoxHelper::information(this, mTitle, tr("The network did not accept this fluency change."));
    }
}

void ProfileView::tableSelectionChanged()
{
    const bool one = selectedRow() >= 0;
    btnEditFluency->setEnabled(one && !mBusy);
    // The last fluency cannot be removed.
    btnRemoveFluency->setEnabled(one && !mBusy && tblUserFluency->numRows() != 1);
}
