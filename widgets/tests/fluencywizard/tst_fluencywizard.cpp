#include "FluencyFormWizard.h"
#include "FluencyFormWizard1.h"
#include "FluencyFormWizard2.h"
#include "FluencyFormWizard3.h"
#include "FluencyFormWizard4.h"
#include "INetManager.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "TestHost.h"
#include "TopLangs.h"
#include "WizardDriver.h"
#include "WizardTestTree.h"
#include "ZoDbHelper.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QDir>
#include <QHeaderView>
#include <QTranslator>
#include <QtTest>

#include <memory>
#include <vector>

using Hash = QHash<QString, QString>;

namespace {

IUserResource* users()
{
    return PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
}

// A signed-in user "maria" with the given languages, fluency ids 11, 12, ...
void signIn(const QStringList& languages)
{
    QList<ZoUserFluency*> fluencies;
    for (int i = 0; i < languages.size(); ++i)
        fluencies.append(new ZoUserFluency(QString::number(11 + i), languages.at(i), QStringLiteral("accent %1").arg(i),
                                           QStringLiteral("Advanced"), QStringLiteral("Austria"),
                                           QStringLiteral("Tyrol"), QStringLiteral("Innsbruck"), QStringLiteral("1")));
    auto* user = new ZoUser(QStringLiteral("7"), QStringLiteral("maria"), QStringLiteral("secret1"),
                            QStringLiteral("Maria"), QStringLiteral("Huber"), QStringLiteral("maria@example.org"),
                            QStringLiteral("Austria"), QStringLiteral("Tyrol"), QStringLiteral("Innsbruck"),
                            QStringLiteral("0"), QStringLiteral("1"), fluencies);
    users()->setCurrentUser(user);
}

// The row of a search page's table whose column shows text.
QModelIndex findRow(QAbstractItemView* view, int column, const QString& text)
{
    const QAbstractItemModel* model = view->model();
    for (int row = 0; model && row < model->rowCount(); ++row) {
        if (model->index(row, column).data().toString() == text)
            return model->index(row, column);
    }
    return {};
}

} // namespace

class TestFluencyWizard : public QObject
{
    Q_OBJECT

    std::unique_ptr<WizardTestTree> mTree;
    std::unique_ptr<TestHost> mHost;
    std::vector<std::unique_ptr<QTranslator>> mTranslators;

    std::unique_ptr<FluencyFormWizard> open(bool saveToProfile)
    {
        auto wizard = std::make_unique<FluencyFormWizard>(mHost.get(), nullptr, saveToProfile);
        wizard->show();
        if (!QTest::qWaitForWindowActive(wizard.get()))
            qWarning("wizard window not active");
        return wizard;
    }

    static void quickRoute(FluencyFormWizard& wizard, const QString& shown, const QString& level)
    {
        QVERIFY2(WizardDriver::quickRoute(wizard, shown, level), qPrintable(shown));
    }

    // Full route through the three search pages; stops on the details page.
    static void fullRoute(FluencyFormWizard& wizard, const QString& languageText, const QString& country,
                          const QString& dialect)
    {
        QTest::mouseClick(wizard.findChild<TopLangs*>()->btnViewAllLanguages, Qt::LeftButton);
        auto* languagePage = wizard.findChild<FluencyFormWizard1*>();
        QCOMPARE(wizard.wizardStack->currentWidget(), languagePage);
        languagePage->lEditFind->setText(languageText);
        QVERIFY(wizard.btnNext->isEnabled());
        QTest::mouseClick(wizard.btnNext, Qt::LeftButton);

        auto* countryPage = wizard.findChild<FluencyFormWizard2*>();
        QCOMPARE(wizard.wizardStack->currentWidget(), countryPage);
        const QModelIndex countryRow = findRow(countryPage->tblCountry, 1, country);
        QVERIFY2(countryRow.isValid(), qPrintable(country));
        WizardDriver::clickIndex(countryPage->tblCountry, countryRow);
        QVERIFY(wizard.btnNext->isEnabled());
        QTest::mouseClick(wizard.btnNext, Qt::LeftButton);

        auto* dialectPage = wizard.findChild<FluencyFormWizard3*>();
        QCOMPARE(wizard.wizardStack->currentWidget(), dialectPage);
        const QModelIndex dialectRow = findRow(dialectPage->tblAlternative, 0, dialect);
        QVERIFY2(dialectRow.isValid(), qPrintable(dialect));
        WizardDriver::clickIndex(dialectPage->tblAlternative, dialectRow);
        QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
        QCOMPARE(wizard.wizardStack->currentWidget(), wizard.findChild<FluencyFormWizard4*>());
    }

    void installGerman()
    {
        const QDir dir(TestTree::distPath() + QStringLiteral("/Translations/Deutsch"));
        for (const QString& qm : dir.entryList({QStringLiteral("*.qm")}, QDir::Files)) {
            auto translator = std::make_unique<QTranslator>();
            QVERIFY2(translator->load(dir.absoluteFilePath(qm)), qPrintable(qm));
            QCoreApplication::installTranslator(translator.get());
            mTranslators.push_back(std::move(translator));
        }
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("FluencyFormWizard-Deutsch.qm"))));
        ZoDbHelper().releaseResources();
    }

    void removeGerman()
    {
        for (auto& translator : mTranslators)
            QCoreApplication::removeTranslator(translator.get());
        mTranslators.clear();
        ZoDbHelper().releaseResources();
    }

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<WizardTestTree>();
        QVERIFY(mTree->isValid());
        QVERIFY(users());
        mHost = std::make_unique<TestHost>();
    }

    void init()
    {
        QVERIFY(mTree->scriptNet({}));
        mTree->answerBoxes({});
        users()->clearCurrentUser();
    }

    void cleanupTestCase()
    {
        removeGerman();
        // The store closes its database while the application object lives.
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mHost.reset();
        mTree.reset();
    }

    void quickListPassesOnTableNames_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("passedOn");
        QTest::newRow("English") << "English"
                                 << "English";
        QTest::newRow("Chinese, Mandarin") << "Chinese, Mandarin"
                                           << "Chinese, Mandarin";
        QTest::newRow("Arabic") << "Arabic"
                                << "Arabic, Standard";
        QTest::newRow("Cantonese") << "Chinese, Yue (Cantonese)"
                                   << "Chinese, Yue";
        QTest::newRow("German") << "German"
                                << "German, Standard";
        QTest::newRow("Thai, last row") << "Thai"
                                        << "Thai";
    }

    void quickListPassesOnTableNames()
    {
        QFETCH(QString, shown);
        QFETCH(QString, passedOn);
        auto wizard = open(false);
        QCOMPARE(wizard->findChild<TopLangs*>()->selectedLanguage(), QString());
        quickRoute(*wizard, shown, QStringLiteral("Beginner"));
        auto* details = wizard->findChild<FluencyFormWizard4*>();
        QCOMPARE(details->cmbLanguage->currentText(), passedOn);
        QVERIFY(!details->cmbLanguage->isEnabled());
        QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);
        QCOMPARE(wizard->result(), int(QDialog::Accepted));
        QCOMPARE(wizard->language(), passedOn);
        QCOMPARE(wizard->localeDesc(), QString());
        // Collecting only: nothing goes to the network.
        QVERIFY(mTree->netCalls(QStringLiteral("updateFluency")).isEmpty());
    }

    void nextWithoutChosenRowDoesNothing()
    {
        auto wizard = open(false);
        QVERIFY(!wizard->btnNext->isEnabled());
        QMetaObject::invokeMethod(wizard.get(), "processNext");
        QCOMPARE(wizard->wizardStack->currentWidget(), wizard->findChild<TopLangs*>());
        QCOMPARE(wizard->windowTitle(), QStringLiteral("Select a Language"));
    }

    void languageSearch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("single");
        QTest::newRow("one match") << "  Chinese, Yue " << true;
        QTest::newRow("several matches") << "German" << false;
        QTest::newRow("no match") << "qqxqq" << false;
    }

    void languageSearch()
    {
        QFETCH(QString, text);
        QFETCH(bool, single);
        auto wizard = open(false);
        QTest::mouseClick(wizard->findChild<TopLangs*>()->btnViewAllLanguages, Qt::LeftButton);
        auto* page = wizard->findChild<FluencyFormWizard1*>();
        QCOMPARE(wizard->windowTitle(), QStringLiteral("Select a Language"));
        QVERIFY(!wizard->btnNext->isEnabled());
        QVERIFY(wizard->btnPrevious->isEnabled());

        // A single match moves the focus to Next; back in the field, the
        // earlier choice is dropped before the next search.
        page->lEditFind->setText(QStringLiteral("Yue Chinese"));
        QVERIFY(wizard->btnNext->isEnabled());
        QVERIFY(wizard->btnNext->hasFocus());
        QTest::mouseClick(page->lEditFind, Qt::LeftButton);
        QVERIFY(!wizard->btnNext->isEnabled());
        page->lEditFind->setText(text);

        QCOMPARE(page->tblLanguage->model()->rowCount() == 1, single);
        QCOMPARE(wizard->btnNext->isEnabled(), single);
        QVERIFY(page->tblLanguage->isColumnHidden(0));
        if (single) {
            QCOMPARE(page->getSelectedLanguage(), QStringLiteral("Chinese, Yue"));
            QCOMPARE(page->getSelectedLangId(), QStringLiteral("yue"));
            QCOMPARE(page->tblLanguage->currentIndex().column(), 1);
            QVERIFY(page->tblLanguage->selectionModel()->isRowSelected(0, {}));
        } else {
            QVERIFY(!page->tblLanguage->selectionModel()->hasSelection());
            QCOMPARE(page->getSelectedLanguage(), QString());
            QVERIFY(page->lEditFind->hasFocus());
        }
    }

    void fullRouteFillsTheGetters()
    {
        auto wizard = open(false);
        fullRoute(*wizard, QStringLiteral("German, Standard"), QStringLiteral("Switzerland"),
                  QStringLiteral("Swiss High German"));
        QCOMPARE(wizard->windowTitle(), QStringLiteral("Fluency and Region Information"));
        QVERIFY(wizard->btnNext->isHidden());
        QVERIFY(!wizard->btnFinish->isHidden());
        QVERIFY(wizard->btnFinish->isDefault());
        auto* details = wizard->findChild<FluencyFormWizard4*>();
        QCOMPARE(details->cmbLanguage->currentText(), QStringLiteral("German, Standard"));
        QCOMPARE(details->country(), QStringLiteral("Switzerland"));
        details->setFluencyLevel(QStringLiteral("Intermediate"));
        QTest::keyClicks(details->lEditStateProvince, QStringLiteral("Zurich"));
        QTest::keyClicks(details->lEditCity, QStringLiteral("Winterthur"));
        QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);

        QCOMPARE(wizard->result(), int(QDialog::Accepted));
        QCOMPARE(wizard->language(), QStringLiteral("German, Standard"));
        QCOMPARE(wizard->localeDesc(), QStringLiteral("Swiss High German"));
        QCOMPARE(wizard->country(), QStringLiteral("Switzerland"));
        QCOMPARE(wizard->stateProv(), QStringLiteral("Zurich"));
        QCOMPARE(wizard->locality(), QStringLiteral("Winterthur"));
        QCOMPARE(wizard->fluencyLevel(), QStringLiteral("Intermediate"));
        QCOMPARE(wizard->isStudying(), QStringLiteral("1"));
    }

    void previousFollowsTheRoute()
    {
        auto wizard = open(false);
        fullRoute(*wizard, QStringLiteral("German, Standard"), QStringLiteral("Austria"),
                  QStringLiteral("Austrian German"));
        QTest::mouseClick(wizard->btnPrevious, Qt::LeftButton);
        QCOMPARE(wizard->wizardStack->currentWidget(), wizard->findChild<FluencyFormWizard3*>());
        QCOMPARE(wizard->windowTitle(), QStringLiteral("Dialect or Alternate Language Name"));
        QVERIFY(!wizard->btnNext->isHidden());
        QVERIFY(wizard->btnNext->isEnabled());
        QVERIFY(wizard->btnFinish->isHidden());
        QTest::mouseClick(wizard->btnPrevious, Qt::LeftButton);
        QCOMPARE(wizard->windowTitle(), QStringLiteral("Country Name"));
        QTest::mouseClick(wizard->btnPrevious, Qt::LeftButton);
        QCOMPARE(wizard->wizardStack->currentWidget(), wizard->findChild<FluencyFormWizard1*>());
        QVERIFY(wizard->btnNext->isEnabled());
        QTest::mouseClick(wizard->btnPrevious, Qt::LeftButton);
        QCOMPARE(wizard->wizardStack->currentWidget(), wizard->findChild<TopLangs*>());
        QVERIFY(!wizard->btnNext->isEnabled());
        QVERIFY(!wizard->btnPrevious->isEnabled());

        // Now the quick route: the dialect chosen above belongs to another language.
        quickRoute(*wizard, QStringLiteral("French"), QStringLiteral("Fluent"));
        QTest::mouseClick(wizard->btnPrevious, Qt::LeftButton);
        QCOMPARE(wizard->wizardStack->currentWidget(), wizard->findChild<TopLangs*>());
        QCOMPARE(wizard->findChild<TopLangs*>()->selectedLanguage(), QString());
        QVERIFY(!wizard->btnNext->isEnabled());
        QVERIFY(wizard->btnFinish->isHidden());
        quickRoute(*wizard, QStringLiteral("French"), QStringLiteral("Fluent"));
        QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);
        QCOMPARE(wizard->result(), int(QDialog::Accepted));
        QCOMPARE(wizard->language(), QStringLiteral("French"));
        QCOMPARE(wizard->localeDesc(), QString());
    }

    void levelDecidesStudying_data()
    {
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("studying");
        QTest::newRow("Native") << false << "Native"
                                << "0";
        QTest::newRow("Beginner") << false << "Beginner"
                                  << "1";
        QTest::newRow("Fluent") << false << "Fluent"
                                << "1";
        QTest::newRow("German: Muttersprache") << true << QString::fromUtf8("Muttersprache") << "0";
        QTest::newRow("German: Fließend") << true << QString::fromUtf8("Fließend") << "1";
    }

    void levelDecidesStudying()
    {
        QFETCH(bool, german);
        QFETCH(QString, level);
        QFETCH(QString, studying);
        if (german)
            installGerman();
        auto wizard = open(false);
        quickRoute(*wizard, QStringLiteral("Polish"), level);
        QCOMPARE(wizard->findChild<FluencyFormWizard4*>()->fluencyLevel(), level);
        QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);
        QCOMPARE(wizard->result(), int(QDialog::Accepted));
        QCOMPARE(wizard->fluencyLevel(), level);
        QCOMPARE(wizard->isStudying(), studying);
        removeGerman();
    }

    // The headings naming the language read German in a German run.
    void headingsInGerman()
    {
        installGerman();
        FluencyFormWizard2 country(nullptr, nullptr);
        FluencyFormWizard3 dialect(nullptr, nullptr);
        country.setInstruction(QStringLiteral("Polnisch"));
        dialect.setInstruction(QStringLiteral("Polnisch"));
        removeGerman();
        QCOMPARE(country.lblInstruction->text(), QString::fromUtf8("Land für Polnisch wählen"));
        QCOMPARE(dialect.lblInstruction->text(),
                 QString::fromUtf8("Ihren Dialekt oder anderen Namen für Polnisch wählen"));
    }

    void finishNeedsALevel_data()
    {
        QTest::addColumn<QString>("level");
        QTest::newRow("Select") << "Select";
        QTest::newRow("level that no longer resolves") << "Retired level";
    }

    void finishNeedsALevel()
    {
        QFETCH(QString, level);
        auto wizard = open(true);
        signIn({});
        quickRoute(*wizard, QStringLiteral("Korean"), level);
        auto* details = wizard->findChild<FluencyFormWizard4*>();
        details->lEditCity->setText(QStringLiteral("Busan"));
        const int mark = int(mTree->boxes().size());
        QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);
        QCOMPARE(mTree->boxesSince(mark),
                 QStringList{WizardTestTree::box(MessageBoxHelper::Information, "Please select your fluency level.")});
        QVERIFY(wizard->isVisible());
        QCOMPARE(wizard->result(), 0);
        QCOMPARE(wizard->wizardStack->currentWidget(), details);
        QCOMPARE(details->locality(), QStringLiteral("Busan"));
        QVERIFY(mTree->netCalls(QStringLiteral("updateFluency")).isEmpty());
    }

    void detailsPage()
    {
        auto wizard = open(false);
        auto* details = wizard->findChild<FluencyFormWizard4*>();
        QCOMPARE(details->country(), QString());
        QCOMPARE(details->fluencyLevel(), QStringLiteral("Select"));
        details->setCountry(QStringLiteral("Japan"));
        details->setCountry(QStringLiteral("japan"));
        details->setCountry(QStringLiteral("Atlantis"));
        QCOMPARE(details->country(), QStringLiteral("Japan"));
        details->setFluencyLevel(QStringLiteral("Advanced"));
        QCOMPARE(details->fluencyLevel(), QStringLiteral("Advanced"));
        details->setFluencyLevel(QStringLiteral("advanced"));
        QCOMPARE(details->fluencyLevel(), QString());
        const QString long33 = QString(33, QLatin1Char('x'));
        details->setStateProv(long33);
        details->setLocality(long33);
        // The field takes 32 characters; a value it was given stays whole until the learner edits it.
        QCOMPARE(details->lEditStateProvince->text(), long33.left(32));
        QCOMPARE(details->stateProv(), long33);
        QCOMPARE(details->locality(), long33);
        QTest::keyClick(details->lEditCity, Qt::Key_Backspace);
        QCOMPARE(details->locality(), long33.left(31));
        QCOMPARE(details->stateProv(), long33);
    }

    void editingOnlyTheLevelKeepsLongPlaces()
    {
        signIn({QStringLiteral("English"), QStringLiteral("Spanish")});
        const QString longPlace = QStringLiteral("Provincia de Santa Cruz de Tenerife, Islas Canarias");
        auto wizard = open(true);
        wizard->presetFluency(QStringLiteral("Spanish"), QStringLiteral("Austria"), QStringLiteral("accent 1"),
                              QStringLiteral("Advanced"), longPlace, longPlace + QStringLiteral(" (town)"),
                              QStringLiteral("1"));
        wizard->findChild<FluencyFormWizard4*>()->setFluencyLevel(QStringLiteral("Native"));
        QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);
        QCOMPARE(wizard->result(), int(QDialog::Accepted));

        const auto calls = mTree->netCalls(QStringLiteral("updateFluency"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).hashArg(2).value(QStringLiteral("FStateProv2")), longPlace);
        QCOMPARE(calls.at(0).hashArg(2).value(QStringLiteral("FLocality2")), longPlace + QStringLiteral(" (town)"));
        QCOMPARE(calls.at(0).hashArg(2).value(QStringLiteral("FFluencyLevel2")), QStringLiteral("Native"));
    }

    void presetLanguageOffersOnlyFinish()
    {
        auto wizard = open(false);
        wizard->presetLanguage(QStringLiteral("Swahili"));
        QCOMPARE(wizard->wizardStack->currentWidget(), wizard->findChild<FluencyFormWizard4*>());
        QCOMPARE(wizard->windowTitle(), QStringLiteral("Fluency and Region Information"));
        QVERIFY(wizard->btnPrevious->isHidden());
        QVERIFY(wizard->btnNext->isHidden());
        QVERIFY(!wizard->btnFinish->isHidden());
        QVERIFY(!wizard->btnCancel->isHidden());
        QVERIFY(wizard->btnFinish->isDefault());
        wizard->findChild<FluencyFormWizard4*>()->setFluencyLevel(QStringLiteral("Beginner"));
        QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);
        QCOMPARE(wizard->result(), int(QDialog::Accepted));
        QCOMPARE(wizard->language(), QStringLiteral("Swahili"));
    }

    void addingSendsEveryFluency()
    {
        signIn({QStringLiteral("English"), QStringLiteral("Spanish")});
        const Hash before = users()->currentUser()->toHash();
        auto wizard = open(true);
        quickRoute(*wizard, QStringLiteral("German"), QStringLiteral("Beginner"));
        auto* details = wizard->findChild<FluencyFormWizard4*>();
        details->setCountry(QStringLiteral("Germany"));
        details->setStateProv(QStringLiteral("Bavaria"));
        details->setLocality(QStringLiteral("Munich"));
        QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);
        QCOMPARE(wizard->result(), int(QDialog::Accepted));

        const auto calls = mTree->netCalls(QStringLiteral("updateFluency"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).arg(0), QStringLiteral("maria"));
        QCOMPARE(calls.at(0).arg(1), QStringLiteral("secret1"));
        Hash expected = before;
        expected.insert(Hash{{"FLanguage3", "German, Standard"},
                             {"FLocaleDesc3", ""},
                             {"FCountry3", "Germany"},
                             {"FStateProv3", "Bavaria"},
                             {"FLocality3", "Munich"},
                             {"FFluencyLevel3", "Beginner"},
                             {"FIsStudying3", "1"}});
        QCOMPARE(calls.at(0).hashArg(2), expected);
    }

    void editingReplacesTheEntry()
    {
        signIn({QStringLiteral("English"), QStringLiteral("Spanish"), QStringLiteral("Thai")});
        const Hash before = users()->currentUser()->toHash();
        auto wizard = open(true);
        wizard->presetFluency(QStringLiteral("Spanish"), QStringLiteral("Austria"), QStringLiteral("accent 1"),
                              QStringLiteral("Advanced"), QStringLiteral("Tyrol"), QStringLiteral("Innsbruck"),
                              QStringLiteral("1"));
        QVERIFY(wizard->btnPrevious->isHidden());
        QVERIFY(wizard->btnNext->isHidden());
        auto* details = wizard->findChild<FluencyFormWizard4*>();
        QCOMPARE(details->country(), QStringLiteral("Austria"));
        QCOMPARE(details->stateProv(), QStringLiteral("Tyrol"));
        details->setFluencyLevel(QStringLiteral("Native"));
        details->setCountry(QStringLiteral("Mexico"));
        details->setLocality(QStringLiteral("Puebla"));
        QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);
        QCOMPARE(wizard->result(), int(QDialog::Accepted));

        const auto calls = mTree->netCalls(QStringLiteral("updateFluency"));
        QCOMPARE(calls.size(), 1);
        Hash expected = before;
        expected.insert(Hash{{"FLanguage2", "Spanish"},
                             {"FLocaleDesc2", "accent 1"},
                             {"FCountry2", "Mexico"},
                             {"FStateProv2", "Tyrol"},
                             {"FLocality2", "Puebla"},
                             {"FFluencyLevel2", "Native"},
                             {"FIsStudying2", "0"}});
        QCOMPARE(calls.at(0).hashArg(2), expected);
        QCOMPARE(calls.at(0).hashArg(2).value(QStringLiteral("FId2")), QStringLiteral("12"));
    }

    void finishOutcomes_data()
    {
        QTest::addColumn<QStringList>("userLanguages");
        QTest::addColumn<QString>("netResult");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("sent");
        const QStringList two{QStringLiteral("English"), QStringLiteral("Dutch")};
        const QString info = MessageBoxHelper::kindName(MessageBoxHelper::Information);
        const QString warning = MessageBoxHelper::kindName(MessageBoxHelper::Warning);
        QTest::newRow("accepted") << two << "1"
                                  << "Italian"
                                  << "" << int(QDialog::Accepted) << 1;
        QTest::newRow("network down") << two << "-1"
                                      << "Italian"
                                      << info
                                             + "|No network connection present.  This fluency change will not be saved."
                                      << int(QDialog::Accepted) << 1;
        QTest::newRow("refused") << two << "0"
                                 << "Italian" << info + "|The network did not accept this fluency change."
                                 << int(QDialog::Accepted) << 1;
        QTest::newRow("not stored") << two << QString::number(INetManager::NotStoredLocally) << "Italian"
                                    << warning + "|The fluency change could not be saved." << int(QDialog::Rejected)
                                    << 1;
        QTest::newRow("already listed") << QStringList{QStringLiteral("German, Standard")} << "1"
                                        << "German"
                                        << info + "|'German, Standard' is already in your list of fluencies."
                                        << int(QDialog::Rejected) << 0;
        QTest::newRow("same name, other case") << QStringList{QStringLiteral("german, standard")} << "1"
                                               << "German"
                                               << "" << int(QDialog::Accepted) << 1;
        QTest::newRow("nobody signed in") << QStringList() << "1"
                                          << "Italian" << warning + "|Unknown Error." << int(QDialog::Rejected) << 0;
        QTest::newRow("no language") << two << "1"
                                     << "" << warning + "|Unknown error." << int(QDialog::Rejected) << 0;
    }

    void finishOutcomes()
    {
        QFETCH(QStringList, userLanguages);
        QFETCH(QString, netResult);
        QFETCH(QString, shown);
        QFETCH(QString, box);
        QFETCH(int, result);
        QFETCH(int, sent);
        QVERIFY(mTree->scriptNet({{QStringLiteral("updateFluency"), netResult}}));
        if (!userLanguages.isEmpty())
            signIn(userLanguages);
        auto wizard = open(true);
        if (shown.isEmpty())
            wizard->presetLanguage(QString());
        else
            quickRoute(*wizard, shown, QStringLiteral("Intermediate"));
        wizard->findChild<FluencyFormWizard4*>()->setFluencyLevel(QStringLiteral("Intermediate"));
        const int mark = int(mTree->boxes().size());
        QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);

        QStringList expected;
        if (!box.isEmpty()) {
            const QString kind = box.section(QLatin1Char('|'), 0, 0);
            const QString text = box.section(QLatin1Char('|'), 1);
            expected << WizardTestTree::box(kind == QLatin1String("warning") ? MessageBoxHelper::Warning
                                                                             : MessageBoxHelper::Information,
                                            text);
        }
        QCOMPARE(mTree->boxesSince(mark), expected);
        QCOMPARE(wizard->result(), result);
        QVERIFY(!wizard->isVisible());
        QCOMPARE(int(mTree->netCalls(QStringLiteral("updateFluency")).size()), sent);
    }

    void fontsFollowTheHost()
    {
        TestHost bigHost(12);
        FluencyFormWizard wizard(&bigHost, nullptr, false);
        auto* top = wizard.findChild<TopLangs*>();
        QCOMPARE(top->font().pointSize(), 12);
        QCOMPARE(top->lblSelectLanguage->font().pointSize(), 16);
        QVERIFY(top->lblSelectLanguage->font().bold());
        QCOMPARE(top->btnViewAllLanguages->font().pointSize(), 14);
        QCOMPARE(top->tblTopLangs->rowHeight(0), 25);
        QCOMPARE(top->tblTopLangs->rowCount(), 20);
        QCOMPARE(wizard.findChild<FluencyFormWizard2*>()->lblInstruction->font().pointSize(), 14);
        QCOMPARE(wizard.findChild<FluencyFormWizard4*>()->lblTitle->font().pointSize(), 14);
    }

    // The short list's rows are 2.1 times the point size high, in a table 400
    // wide whose one column is 380 wide and does not stretch.
    void topLangsSizes_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("rowHeight");
        QTest::newRow("8 pt") << 8 << 16;
        QTest::newRow("10 pt") << 10 << 21;
        QTest::newRow("12 pt") << 12 << 25;
    }

    void topLangsSizes()
    {
        QFETCH(int, points);
        QFETCH(int, rowHeight);
        TestHost host(points);
        FluencyFormWizard wizard(&host, nullptr, false);
        auto* top = wizard.findChild<TopLangs*>();
        QTableWidget* table = top->tblTopLangs;
        for (int row = 0; row < table->rowCount(); ++row)
            QCOMPARE(table->rowHeight(row), rowHeight);
        QCOMPARE(table->width(), 400);
        QCOMPARE(table->minimumWidth(), table->maximumWidth());
        QCOMPARE(table->minimumHeight(), 380);
        QCOMPARE(table->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(table->columnWidth(0), 380);
    }
};

QTEST_MAIN(TestFluencyWizard)
#include "tst_fluencywizard.moc"
