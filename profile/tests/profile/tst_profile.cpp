#include "FluencyFormWizard.h"
#include "FluencyFormWizard4.h"
#include "IDbManager.h"
#include "IForm.h"
#include "INetManager.h"
#include "LanguageComboHelper.h"
#include "PluginLocator.h"
#include "SignedInUser.h"
#include "TestDatabase.h"
#include "TestHost.h"
#include "WizardDriver.h"
#include "WizardTestTree.h"
#include "ZoDbHelper.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTranslator>
#include <QtTest>

#include <memory>

using Hash = QHash<QString, QString>;

namespace {

// A main window that refills every tab's lists as the real one does.
class FormHost : public TestHost
{
public:
    IForm* form = nullptr;
    void updateAllViewLists() override
    {
        TestHost::updateAllViewLists();
        if (form)
            form->updateViewLists();
    }
};

// The stored fluencies of a user: language, dialect and level of each, in order.
QStringList storedFluencies(const QString& name)
{
    QStringList rows;
    QList<ZoUser*> users = SignedInUser::store()->select(QStringLiteral("User"), {{QStringLiteral("Username"), name}});
    if (!users.isEmpty()) {
        for (const ZoUserFluency* f : users.first()->fluencies())
            rows << f->language() + QLatin1Char('|') + f->localeDesc() + QLatin1Char('|') + f->fluencyLevel();
    }
    qDeleteAll(users);
    return rows;
}

QStringList fluencyIds()
{
    QStringList ids;
    if (const ZoUser* user = SignedInUser::current()) {
        for (const ZoUserFluency* f : user->fluencies())
            ids << f->id();
    }
    return ids;
}

} // namespace

class TestProfile : public QObject
{
    Q_OBJECT

    std::unique_ptr<WizardTestTree> mTree;
    std::unique_ptr<FormHost> mHost;
    IForm* mForm = nullptr;
    QWidget* mView = nullptr;

    template <class T>
    T* child(const char* name) const
    {
        T* widget = mView ? mView->findChild<T*>(QLatin1String(name)) : nullptr;
        if (!widget)
            qWarning("no %s", name);
        return widget;
    }
    QTableWidget* table() const { return child<QTableWidget>("tblUserFluency"); }
    QPushButton* addButton() const { return child<QPushButton>("btnAddFluency"); }
    QPushButton* editButton() const { return child<QPushButton>("btnEditFluency"); }
    QPushButton* removeButton() const { return child<QPushButton>("btnRemoveFluency"); }

    // The rows of the fluency table: language, dialect and level.
    QStringList shownFluencies() const
    {
        QStringList rows;
        QTableWidget* t = table();
        for (int row = 0; row < t->rowCount(); ++row)
            rows << t->item(row, 0)->text() + QLatin1Char('|') + t->item(row, 1)->text() + QLatin1Char('|')
                        + t->item(row, 2)->text();
        return rows;
    }

    // Signs a stored user in and lets the tab show them, as a sign-in does.
    void showUser(const QString& name, const QStringList& languages)
    {
        QVERIFY(SignedInUser::signIn(name, languages));
        mForm->retranslateView();
        mForm->updateViewLists();
        mForm->refreshData();
        QCOMPARE(table()->rowCount(), languages.size());
    }

    static QString question(const QString& language)
    {
        return WizardTestTree::box(MessageBoxHelper::Question,
                                   QStringLiteral("Do you want to delete the fluency '%1'?").arg(language),
                                   {QStringLiteral("Yes"), QStringLiteral("Cancel")});
    }

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<WizardTestTree>();
        QVERIFY(mTree->isValid());
        QVERIFY(TestDatabase::createFile(mTree->tree().filePath(QStringLiteral("vireda.db"))));
        mHost = std::make_unique<FormHost>();
        mForm = PluginLocator::load<IForm>(QStringLiteral("plugins_dll/Forms/Preferences.dll"));
        QVERIFY(mForm);
        QCOMPARE(mForm->tabIndex(), 4);
        QCOMPARE(mForm->title(), QStringLiteral("Profile"));
        QCOMPARE(mForm->translationFileName(QStringLiteral("Deutsch")), QStringLiteral("settings-Deutsch"));
        QCOMPARE(mForm->widget()->objectName(), QStringLiteral("Preferences"));

        // Before init there is no view; the view operations do nothing.
        QVERIFY(!mForm->widget()->findChild<QWidget*>(QStringLiteral("ProfileView")));
        QCOMPARE(mForm->customRefresh(), 1);
        QCOMPARE(mForm->updateViewLists(), 1);
        mForm->refreshData();

        mForm->setMainWindow(mHost.get());
        mForm->init();
        mHost->form = mForm;
        mView = mForm->widget()->findChild<QWidget*>(QStringLiteral("ProfileView"));
        QVERIFY(mView);
        auto* stack = mForm->widget()->findChild<QStackedWidget*>(QStringLiteral("mSettingsViewStack"));
        QVERIFY(stack);
        QCOMPARE(stack->currentIndex(), 1);
        QCOMPARE(stack->currentWidget(), mView);
        // Nothing selected yet: neither Edit nor Remove.
        QVERIFY(!editButton()->isEnabled());
        QVERIFY(!removeButton()->isEnabled());

        mForm->widget()->resize(900, 700);
        mForm->widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(mForm->widget()));
    }

    void init()
    {
        QVERIFY(mTree->scriptNet({}));
        mTree->answerBoxes({});
        QFile::remove(mTree->boxLogPath());
        mHost->offlineMoves = 0;
        mHost->viewListUpdates = 0;
        SignedInUser::signOut();
    }

    void cleanupTestCase()
    {
        mHost->form = nullptr;
        delete mForm->widget();
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mHost.reset();
        mTree.reset();
    }

    void detailsAreShownReadOnly()
    {
        showUser(QStringLiteral("maria"), {QStringLiteral("French"), QStringLiteral("Italian")});
        QCOMPARE(child<QLineEdit>("lEditUsername")->text(), QStringLiteral("maria"));
        QCOMPARE(child<QLineEdit>("lEditFirstName")->text(), QStringLiteral("Maria"));
        QCOMPARE(child<QLineEdit>("lEditLastName")->text(), QStringLiteral("Huber"));
        QCOMPARE(child<QLineEdit>("lEditEmail")->text(), QStringLiteral("maria@example.org"));
        QCOMPARE(child<QLineEdit>("lEditStateProvince")->text(), QStringLiteral("Tyrol"));
        QCOMPARE(child<QComboBox>("cmbCountries")->currentText(), QStringLiteral("Austria"));
        for (const char* name :
             {"lEditUsername", "lEditFirstName", "lEditLastName", "lEditEmail", "lEditStateProvince"})
            QVERIFY2(!child<QLineEdit>(name)->isEnabled(), name);
        QVERIFY(!child<QComboBox>("cmbCountries")->isEnabled());
        QVERIFY(child<QPushButton>("btnChangePassword")->isHidden());
        QVERIFY(child<QComboBox>("cmbCountries")->count() > 100);

        QCOMPARE(shownFluencies(), storedFluencies(QStringLiteral("maria")));
        QCOMPARE(table()->item(0, 3)->text(), QStringLiteral("Austria"));
        QCOMPARE(table()->item(0, 4)->text(), QStringLiteral("Tyrol"));
        QCOMPARE(table()->item(0, 5)->text(), QStringLiteral("Innsbruck"));
        QCOMPARE(table()->editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    void countryNotInListSelectsNothing()
    {
        showUser(QStringLiteral("maria"), {QStringLiteral("French")});
        QCOMPARE(child<QComboBox>("cmbCountries")->currentText(), QStringLiteral("Austria"));
        SignedInUser::current()->setCountry(QStringLiteral("Atlantis"));
        mForm->refreshData();
        QCOMPARE(child<QComboBox>("cmbCountries")->currentIndex(), -1);
        QCOMPARE(child<QComboBox>("cmbCountries")->currentText(), QString());
    }

    void nobodySignedIn()
    {
        showUser(QStringLiteral("maria"), {QStringLiteral("French"), QStringLiteral("Italian")});
        table()->selectRow(0);
        SignedInUser::signOut();
        mForm->updateViewLists();
        mForm->refreshData();
        QCOMPARE(table()->rowCount(), 0);
        QCOMPARE(child<QLineEdit>("lEditUsername")->text(), QString());
        QCOMPARE(child<QComboBox>("cmbCountries")->currentIndex(), -1);
        QVERIFY(!editButton()->isEnabled());
        QVERIFY(!removeButton()->isEnabled());
        // No wizard opens and nothing is sent.
        QTest::mouseClick(addButton(), Qt::LeftButton);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(QMetaObject::invokeMethod(mView, "removeUserFluency"));
        QVERIFY(mTree->netCalls(QStringLiteral("updateFluency")).isEmpty());
        QVERIFY(mTree->boxes().isEmpty());
    }

    // Where every header fits its share, the language has a quarter of the
    // room and the others 15 % each, filling the table without a scroll bar.
    void columnWidths_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("1400") << 1400;
        QTest::newRow("1801") << 1801;
    }

    void columnWidths()
    {
        QFETCH(int, width);
        table()->setFixedWidth(width);
        QTRY_COMPARE(table()->width(), width);
        QCOMPARE(mForm->customRefresh(), 1);
        QCOMPARE(table()->columnCount(), 6);
        const int first = table()->columnWidth(0);
        const int other = table()->columnWidth(1);
        int sum = first;
        for (int col = 1; col < 6; ++col) {
            QCOMPARE(table()->columnWidth(col), other);
            sum += other;
        }
        QVERIFY2(qAbs(first * 15 - other * 25) <= 25, qPrintable(QStringLiteral("%1 and %2").arg(first).arg(other)));
        const int room = table()->viewport()->width();
        QVERIFY2(sum <= room && sum >= room - table()->verticalScrollBar()->sizeHint().width() - 6,
                 qPrintable(QStringLiteral("%1 in %2").arg(sum).arg(room)));
        const QStringList labels = {"Language", "Dialect/Alternate Name", "Fluency",
                                    "Country",  "State/Province",         "Locality"};
        for (int col = 0; col < 6; ++col)
            QCOMPARE(table()->horizontalHeaderItem(col)->text(), labels.at(col));
        table()->setMinimumWidth(0);
        table()->setMaximumWidth(QWIDGETSIZE_MAX);
    }

    // Too narrow for every header: those that fit their share of the table's
    // width (a quarter, then 15 % each) keep it, the others show whole.
    void narrowTableKeepsShares_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("400") << 400;
        QTest::newRow("401") << 401;
    }

    void narrowTableKeepsShares()
    {
        QFETCH(int, width);
        table()->setFixedWidth(width);
        QTRY_COMPARE(table()->width(), width);
        QCOMPARE(mForm->customRefresh(), 1);
        QApplication::processEvents();
        QHeaderView* header = table()->horizontalHeader();
        int kept = 0;
        for (int col = 0; col < 6; ++col) {
            const int share = (col == 0 ? 25 : 15) * width / 100;
            QCOMPARE(header->sectionSize(col), qMax(share, header->sectionSizeHint(col)));
            kept += header->sectionSizeHint(col) <= share ? 1 : 0;
        }
        // "Fluency", "Country" and "Locality" fit in 60 pixels at the test's font.
        QVERIFY(kept >= 3);
        table()->setMinimumWidth(0);
        table()->setMaximumWidth(QWIDGETSIZE_MAX);
    }

    // In English and German, at the smallest and largest font, every header
    // is shown whole and the table needs no horizontal scroll bar.
    void headersFitWithoutScrollBar_data()
    {
        QTest::addColumn<bool>("german");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("width");
        for (bool german : {false, true})
            for (int points : {8, 12})
                for (int width : {760, 1000})
                    QTest::addRow("%s %d pt %d", german ? "de" : "en", points, width) << german << points << width;
    }

    void headersFitWithoutScrollBar()
    {
        QFETCH(bool, german);
        QFETCH(int, points);
        QFETCH(int, width);
        QTranslator translator;
        QVERIFY(translator.load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/settings-Deutsch.qm")));
        if (german)
            QCoreApplication::installTranslator(&translator);
        const QFont before = QApplication::font();
        QFont font = before;
        font.setPointSize(points);
        QApplication::setFont(font);
        mHost->changeFont(points);
        showUser(QStringLiteral("maria"), {QStringLiteral("French"), QStringLiteral("Italian")});
        table()->setFixedWidth(width);
        QTRY_COMPARE(table()->width(), width);
        mForm->retranslateView();
        QCOMPARE(mForm->customRefresh(), 1);
        QApplication::processEvents();

        QStringList cut;
        QHeaderView* header = table()->horizontalHeader();
        int sum = 0;
        for (int col = 0; col < table()->columnCount(); ++col) {
            sum += header->sectionSize(col);
            if (header->sectionSize(col) < header->sectionSizeHint(col))
                cut << QStringLiteral("%1 %2 < %3")
                           .arg(table()->horizontalHeaderItem(col)->text())
                           .arg(header->sectionSize(col))
                           .arg(header->sectionSizeHint(col));
        }
        const bool scrolls = table()->horizontalScrollBar()->isVisible();
        const int room = table()->viewport()->width();
        table()->setMinimumWidth(0);
        table()->setMaximumWidth(QWIDGETSIZE_MAX);
        QApplication::setFont(before);
        mHost->changeFont(10);
        QCoreApplication::removeTranslator(&translator);
        mForm->retranslateView();
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String(", "))));
        QVERIFY2(!scrolls && sum <= room, qPrintable(QStringLiteral("columns %1 wide in %2").arg(sum).arg(room)));
    }

    void editAndRemoveFollowSelection_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<int>("select");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("remove");
        const QStringList one = {"French"};
        const QStringList two = {"French", "Italian"};
        QTest::newRow("one fluency, selected") << one << 0 << true << false;
        QTest::newRow("two fluencies, first") << two << 0 << true << true;
        QTest::newRow("two fluencies, last") << two << 1 << true << true;
        QTest::newRow("two fluencies, none") << two << -1 << false << false;
    }

    void editAndRemoveFollowSelection()
    {
        QFETCH(QStringList, languages);
        QFETCH(int, select);
        QFETCH(bool, edit);
        QFETCH(bool, remove);
        showUser(QStringLiteral("maria"), languages);
        table()->clearSelection();
        if (select >= 0)
            table()->selectRow(select);
        QCOMPARE(editButton()->isEnabled(), edit);
        QCOMPARE(removeButton()->isEnabled(), remove);
        // Losing the selection disables both again.
        table()->clearSelection();
        QVERIFY(!editButton()->isEnabled());
        QVERIFY(!removeButton()->isEnabled());
    }

    void refreshKeepsSelectionOfSameUser()
    {
        showUser(QStringLiteral("maria"), {QStringLiteral("French"), QStringLiteral("Italian")});
        table()->selectRow(1);
        mForm->refreshData();
        QCOMPARE(table()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(table()->selectionModel()->selectedRows().first().row(), 1);
        QVERIFY(removeButton()->isEnabled());

        showUser(QStringLiteral("jonas"), {QStringLiteral("French"), QStringLiteral("Italian")});
        QVERIFY(table()->selectionModel()->selectedRows().isEmpty());
        QVERIFY(!editButton()->isEnabled());
    }

    void removal_data()
    {
        QTest::addColumn<Hash>("script");
        QTest::addColumn<int>("offlineMoves");
        QTest::addColumn<QString>("message");
        const QString offline = QStringLiteral(
            "A working internet connection could not be found.  This fluency change will not be saved for the next "
            "time you log in.");
        QTest::newRow("accepted") << Hash{} << 0 << QString();
        QTest::newRow("network down while online")
            << Hash{{"updateFluency", "-1"}} << 1 << WizardTestTree::info(offline);
        QTest::newRow("signed in offline")
            << Hash{{"updateFluency", "-1"}, {"isOfflineLogin", "1"}, {"isNetworkReady", "0"}} << 0
            << WizardTestTree::info(offline);
        QTest::newRow("refused by the network")
            << Hash{{"updateFluency", "0"}} << 0
            << WizardTestTree::info(QStringLiteral("The network did not accept this fluency change."));
        QTest::newRow("list not stored again")
            << Hash{{"updateFluency", QString::number(INetManager::NotStoredLocally)}} << 0
            << WizardTestTree::warning(
                   QStringLiteral("The fluency change could not be saved for the next time you log in."));
    }

    void removal()
    {
        QFETCH(Hash, script);
        QFETCH(int, offlineMoves);
        QFETCH(QString, message);
        showUser(QStringLiteral("maria"), {QStringLiteral("French"), QStringLiteral("Italian")});
        QVERIFY(mTree->scriptNet(script));
        mHost->offlineMoves = 0;
        mTree->answerBoxes({0});
        table()->selectRow(0);
        QTest::mouseClick(removeButton(), Qt::LeftButton);

        QStringList expectedBoxes = {question(QStringLiteral("French"))};
        if (!message.isEmpty())
            expectedBoxes << message;
        QCOMPARE(mTree->boxes(), expectedBoxes);
        QCOMPARE(storedFluencies(QStringLiteral("maria")), QStringList{"Italian|accent 2|Advanced"});
        QCOMPARE(shownFluencies(), QStringList{"Italian|accent 2|Advanced"});
        QCOMPARE(SignedInUser::currentLanguages(), QStringList{"Italian"});
        QCOMPARE(mHost->offlineMoves, offlineMoves);
        QVERIFY(mHost->viewListUpdates > 0);

        const QList<ScriptedNet::Call> calls = mTree->netCalls(QStringLiteral("updateFluency"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().arg(0), QStringLiteral("maria"));
        QCOMPARE(calls.first().arg(1), QStringLiteral("secret1"));
        const Hash sent = calls.first().hashArg(2);
        QCOMPARE(sent.value("FLanguage1"), QStringLiteral("Italian"));
        QVERIFY(!sent.contains("FLanguage2"));

        // The last fluency cannot go, and the ids shown are the stored ones.
        QVERIFY(!removeButton()->isEnabled());
        table()->selectRow(0);
        QVERIFY(editButton()->isEnabled());
        QVERIFY(!removeButton()->isEnabled());
        QVERIFY(QMetaObject::invokeMethod(mView, "removeUserFluency"));
        QCOMPARE(storedFluencies(QStringLiteral("maria")).size(), 1);
        QCOMPARE(table()->item(0, 0)->data(Qt::UserRole).toString(), fluencyIds().value(0));
    }

    void cancelRemovesNothing()
    {
        showUser(QStringLiteral("maria"), {QStringLiteral("French"), QStringLiteral("Italian")});
        const QStringList before = storedFluencies(QStringLiteral("maria"));
        mTree->answerBoxes({1});
        table()->selectRow(1);
        QTest::mouseClick(removeButton(), Qt::LeftButton);
        QCOMPARE(mTree->boxes(), QStringList{question(QStringLiteral("Italian"))});
        QCOMPARE(storedFluencies(QStringLiteral("maria")), before);
        QCOMPARE(table()->rowCount(), 2);
        QVERIFY(editButton()->isEnabled());
        QVERIFY(removeButton()->isEnabled());
        QVERIFY(mTree->netCalls(QStringLiteral("updateFluency")).isEmpty());
    }

    void refillBeforeRemovalDeletesConfirmedFluency()
    {
        showUser(QStringLiteral("maria"),
                 {QStringLiteral("French"), QStringLiteral("German, Standard"), QStringLiteral("Italian")});
        table()->selectRow(1);
        // Another writer drops the first fluency; the table still shows three rows.
        QVERIFY(SignedInUser::store()->remove(QStringLiteral("Fluency"), {fluencyIds().value(0)}));
        QCOMPARE(table()->rowCount(), 3);
        mTree->answerBoxes({0});
        QTest::mouseClick(removeButton(), Qt::LeftButton);
        QCOMPARE(mTree->boxes().value(0), question(QStringLiteral("German, Standard")));
        QCOMPARE(storedFluencies(QStringLiteral("maria")), QStringList{"Italian|accent 3|Advanced"});
        QCOMPARE(shownFluencies(), QStringList{"Italian|accent 3|Advanced"});
    }

    void removalOfVanishedFluencyDeletesNothing()
    {
        showUser(QStringLiteral("maria"), {QStringLiteral("French"), QStringLiteral("Italian")});
        table()->selectRow(0);
        QVERIFY(SignedInUser::store()->remove(QStringLiteral("Fluency"), {fluencyIds().value(0)}));
        mTree->answerBoxes({0});
        QTest::mouseClick(removeButton(), Qt::LeftButton);
        QCOMPARE(storedFluencies(QStringLiteral("maria")), QStringList{"Italian|accent 2|Advanced"});
        QCOMPARE(shownFluencies(), QStringList{"Italian|accent 2|Advanced"});
        QVERIFY(mTree->netCalls(QStringLiteral("updateFluency")).isEmpty());
    }

    void editingLevelKeepsLanguageAndDialect()
    {
        showUser(QStringLiteral("maria"), {QStringLiteral("French"), QStringLiteral("Italian")});
        table()->selectRow(1);
        bool finished = false;
        QTimer::singleShot(0, [&] {
            auto* wizard = qobject_cast<FluencyFormWizard*>(QApplication::activeModalWidget());
            if (!wizard)
                return;
            auto* details = wizard->findChild<FluencyFormWizard4*>();
            if (wizard->wizardStack->currentWidget() != details || !wizard->btnFinish->isVisible()) {
                wizard->reject();
                return;
            }
            details->setFluencyLevel(QStringLiteral("Native"));
            QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);
            finished = true;
        });
        QTest::mouseClick(editButton(), Qt::LeftButton);
        QVERIFY(finished);

        const QStringList expected = {"French|accent 1|Advanced", "Italian|accent 2|Native"};
        QCOMPARE(storedFluencies(QStringLiteral("maria")), expected);
        QCOMPARE(shownFluencies(), expected);
        // The store wrote the fluencies again: the table carries the ids stored now.
        QCOMPARE(table()->item(0, 0)->data(Qt::UserRole).toString(), fluencyIds().value(0));
        QCOMPARE(table()->item(1, 0)->data(Qt::UserRole).toString(), fluencyIds().value(1));
        // The edited row stays selected.
        QCOMPARE(table()->selectionModel()->selectedRows().value(0).row(), 1);

        const QList<ScriptedNet::Call> calls = mTree->netCalls(QStringLiteral("updateFluency"));
        QCOMPARE(calls.size(), 1);
        const Hash sent = calls.first().hashArg(2);
        QCOMPARE(sent.value("FLanguage2"), QStringLiteral("Italian"));
        QCOMPARE(sent.value("FLocaleDesc2"), QStringLiteral("accent 2"));
        QCOMPARE(sent.value("FFluencyLevel2"), QStringLiteral("Native"));
        QCOMPARE(sent.value("FIsStudying2"), QStringLiteral("0"));
        QVERIFY(mHost->viewListUpdates > 0);
    }

    void addingThroughWizard()
    {
        showUser(QStringLiteral("maria"), {QStringLiteral("French")});
        mHost->viewListUpdates = 0;
        bool finished = false;
        WizardDriver::finishNextWizard(QStringLiteral("English"), QStringLiteral("Beginner"), {}, &finished);
        QTest::mouseClick(addButton(), Qt::LeftButton);
        QVERIFY(finished);
        QCOMPARE(SignedInUser::currentLanguages(), (QStringList{"French", "English"}));
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(table()->item(1, 0)->text(), QStringLiteral("English"));
        QCOMPARE(table()->item(1, 2)->text(), QStringLiteral("Beginner"));
        QVERIFY(mHost->viewListUpdates > 0);
    }

    void fillingMovesOfflineWhenNetworkDown_data()
    {
        QTest::addColumn<Hash>("script");
        QTest::addColumn<int>("offlineMoves");
        QTest::newRow("network ready") << Hash{} << 0;
        QTest::newRow("network down") << Hash{{"isNetworkReady", "0"}} << 1;
        QTest::newRow("signed in offline") << Hash{{"isNetworkReady", "0"}, {"isOfflineLogin", "1"}} << 0;
    }

    void fillingMovesOfflineWhenNetworkDown()
    {
        QFETCH(Hash, script);
        QFETCH(int, offlineMoves);
        QVERIFY(SignedInUser::signIn(QStringLiteral("maria"), {QStringLiteral("French")}));
        QVERIFY(mTree->scriptNet(script));
        QCOMPARE(mForm->updateViewLists(), 1);
        QCOMPARE(mHost->offlineMoves, offlineMoves);
        QCOMPARE(table()->rowCount(), 1);
    }

    void fontFollowsHost()
    {
        auto* fluencies = child<QLabel>("lblUserFluencies");
        auto* licensing = child<QLabel>("lblContentLicensing");
        mHost->changeFont(12);
        QCOMPARE(fluencies->font().pointSize(), 17);
        QVERIFY(fluencies->font().bold());
        QCOMPARE(licensing->font().pointSize(), 12);
        QVERIFY(licensing->font().bold());
        mHost->changeFont(10);
        QCOMPARE(fluencies->font().pointSize(), 15);
        QCOMPARE(mForm->redrawView(), 1);
    }

    // At a change of the interface language the country names change; the user's stays chosen.
    void countryStaysAcrossLanguageSwitch()
    {
        showUser(QStringLiteral("maria"), {QStringLiteral("French")});
        QCOMPARE(child<QComboBox>("cmbCountries")->currentText(), QStringLiteral("Austria"));
        QTranslator translator;
        QVERIFY(translator.load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/Country-Deutsch.qm")));
        auto switchLanguage = [this] {
            ZoDbHelper().releaseResources();
            QVERIFY(LanguageComboHelper::reloadCurrentUser());
            mForm->retranslateView();
            mForm->updateViewLists();
            mForm->refreshData();
        };
        QCoreApplication::installTranslator(&translator);
        switchLanguage();
        QCOMPARE(child<QComboBox>("cmbCountries")->currentText(), QStringLiteral("Österreich"));
        QCoreApplication::removeTranslator(&translator);
        switchLanguage();
        QCOMPARE(child<QComboBox>("cmbCountries")->currentText(), QStringLiteral("Austria"));
    }

    void germanTexts()
    {
        QTranslator translator;
        QVERIFY(translator.load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/settings-Deutsch.qm")));
        QCoreApplication::installTranslator(&translator);
        mForm->retranslateView();
        QCOMPARE(mForm->title(), QStringLiteral("Profil"));
        QCOMPARE(removeButton()->text(), QStringLiteral("Entfernen"));
        QCOMPARE(child<QLabel>("label_9")->text(), QStringLiteral("Wir geben Ihre Angaben an niemanden weiter."));
        QCOMPARE(table()->horizontalHeaderItem(0)->text(), QStringLiteral("Sprache"));
        QCOMPARE(table()->horizontalHeaderItem(1)->text(), QStringLiteral("Dialekt/anderer Name"));

        showUser(QStringLiteral("maria"), {QStringLiteral("French"), QStringLiteral("Italian")});
        mTree->answerBoxes({1});
        table()->selectRow(0);
        QTest::mouseClick(removeButton(), Qt::LeftButton);
        QCOMPARE(mTree->boxes(),
                 QStringList{WizardTestTree::box(MessageBoxHelper::Question,
                                                 QStringLiteral("Möchten Sie die Sprachkenntnis 'French' löschen?"),
                                                 {QStringLiteral("Ja"), QStringLiteral("Abbrechen")})});
        QCoreApplication::removeTranslator(&translator);
        mForm->retranslateView();
        QCOMPARE(removeButton()->text(), QStringLiteral("Remove"));
    }
};

QTEST_MAIN(TestProfile)
#include "tst_profile.moc"
