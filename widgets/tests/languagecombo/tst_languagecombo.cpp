#include "LanguageComboHelper.h"
#include "PluginLocator.h"
#include "SignedInUser.h"
#include "TestDatabase.h"
#include "TestHost.h"
#include "WizardDriver.h"
#include "WizardTestTree.h"
#include "ZoUser.h"

#include <QComboBox>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestLanguageCombo : public QObject
{
    Q_OBJECT

    std::unique_ptr<WizardTestTree> mTree;
    std::unique_ptr<TestHost> mHost;

    static QStringList entries(const QComboBox& combo)
    {
        QStringList list;
        for (int i = 0; i < combo.count(); ++i)
            list << combo.itemText(i);
        return list;
    }

    static QString setting(const QString& key)
    {
        return QSettings().value(QStringLiteral("users/maria/") + key).toString();
    }

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<WizardTestTree>();
        QVERIFY(mTree->isValid());
        QVERIFY(TestDatabase::createFile(mTree->tree().filePath(QStringLiteral("vireda.db"))));
        mHost = std::make_unique<TestHost>();
    }

    void init()
    {
        QVERIFY(SignedInUser::signIn(QStringLiteral("maria"), {QStringLiteral("French"), QStringLiteral("Spanish")}));
        QSettings().remove(QStringLiteral("users/maria"));
        QVERIFY(mTree->scriptNet({}));
        mHost->viewListUpdates = 0;
    }

    void cleanupTestCase()
    {
        SignedInUser::signOut();
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mHost.reset();
        mTree.reset();
    }

    void fill_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("select") << int(LanguageComboHelper::SelectLanguage) << true
                                << QStringList{"Select Language", "French", "Spanish", "Add Language..."};
        QTest::newRow("all") << int(LanguageComboHelper::AllLanguages) << true
                             << QStringList{"All Languages", "French", "Spanish", "Add Language..."};
        QTest::newRow("nobody signed in") << int(LanguageComboHelper::SelectLanguage) << false << QStringList{};
    }

    void fill()
    {
        QFETCH(int, first);
        QFETCH(bool, signedIn);
        QFETCH(QStringList, expected);
        if (!signedIn)
            SignedInUser::signOut();
        QComboBox combo;
        combo.addItem(QStringLiteral("stale"));
        auto* helper = new LanguageComboHelper(&combo, LanguageComboHelper::FirstEntry(first), mHost.get());
        QSignalSpy chosen(helper, &LanguageComboHelper::languageChosen);
        QCOMPARE(helper->fill(), signedIn);
        QCOMPARE(entries(combo), expected);
        QCOMPARE(combo.currentIndex(), signedIn ? 0 : -1);
        QVERIFY(!helper->hasLanguage());
        QCOMPARE(chosen.count(), 0);
    }

    // A refill keeps the language shown; a stored setting wins over it.
    void refillSelects_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("expected");
        QTest::newRow("kept") << QString() << "Spanish"
                              << "Spanish";
        QTest::newRow("setting") << "fra"
                                 << "Spanish"
                                 << "French";
        QTest::newRow("setting not a fluency") << "ita"
                                               << "Spanish"
                                               << "Spanish";
        QTest::newRow("add entry not kept") << QString() << "Add Language..."
                                            << "Select Language";
    }

    void refillSelects()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, expected);
        QComboBox combo;
        auto* helper = new LanguageComboHelper(&combo, LanguageComboHelper::SelectLanguage);
        helper->setSettingKey(QStringLiteral("CreateLanguage"), false);
        QVERIFY(helper->fill());
        {
            const QSignalBlocker blocker(&combo);
            combo.setCurrentIndex(combo.findText(shown));
        }
        if (!stored.isEmpty())
            QSettings().setValue(QStringLiteral("users/maria/CreateLanguage"), stored);
        QVERIFY(helper->fill());
        QCOMPARE(combo.currentText(), expected);
        QCOMPARE(helper->previousIndex(), combo.currentIndex());
    }

    void choiceIsStored_data()
    {
        QTest::addColumn<bool>("storeFirst");
        QTest::addColumn<QString>("afterFirst");
        QTest::newRow("first entry keeps the language") << false << "spa";
        QTest::newRow("first entry stored empty") << true << "";
    }

    void choiceIsStored()
    {
        QFETCH(bool, storeFirst);
        QFETCH(QString, afterFirst);
        QComboBox combo;
        auto* helper = new LanguageComboHelper(&combo, LanguageComboHelper::AllLanguages);
        helper->setSettingKey(QStringLiteral("LibraryLanguage"), storeFirst);
        QVERIFY(helper->fill());
        QSignalSpy chosen(helper, &LanguageComboHelper::languageChosen);
        combo.setCurrentIndex(2);
        QCOMPARE(setting("LibraryLanguage"), QStringLiteral("spa"));
        QCOMPARE(helper->language(), QStringLiteral("Spanish"));
        combo.setCurrentIndex(0);
        QCOMPARE(setting("LibraryLanguage"), afterFirst);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("Spanish"));
        QCOMPARE(chosen.at(1).at(0).toString(), QStringLiteral("All Languages"));
        QCOMPARE(helper->previousIndex(), 0);
    }

    void guardRefuses()
    {
        QComboBox combo;
        auto* helper = new LanguageComboHelper(&combo, LanguageComboHelper::SelectLanguage);
        helper->setSettingKey(QStringLiteral("SearchLanguage"), false);
        QVERIFY(helper->fill());
        combo.setCurrentIndex(1);
        bool allow = false;
        helper->setChoiceGuard([&] { return allow; });
        QSignalSpy chosen(helper, &LanguageComboHelper::languageChosen);
        combo.setCurrentIndex(2);
        QCOMPARE(combo.currentIndex(), 1);
        QCOMPARE(chosen.count(), 0);
        QCOMPARE(setting("SearchLanguage"), QStringLiteral("fra"));
    }

    void wizardCancelledRestores()
    {
        QWidget form;
        auto* combo = new QComboBox(&form);
        auto* helper = new LanguageComboHelper(combo, LanguageComboHelper::SelectLanguage, mHost.get());
        helper->setSettingKey(QStringLiteral("CreateLanguage"), false);
        QVERIFY(helper->fill());
        combo->setCurrentIndex(2);
        ZoUser* before = SignedInUser::current();
        QSignalSpy chosen(helper, &LanguageComboHelper::languageChosen);
        QSignalSpy added(helper, &LanguageComboHelper::languageAdded);
        combo->setCurrentIndex(3);
        // The wizard opens from the event loop.
        QVERIFY(!QApplication::activeModalWidget());
        bool rejected = false;
        QTimer::singleShot(0, [&rejected] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
                rejected = true;
            }
        });
        QTRY_COMPARE(chosen.count(), 1);
        QVERIFY(rejected);
        QCOMPARE(combo->currentText(), QStringLiteral("Spanish"));
        QCOMPARE(added.count(), 0);
        QCOMPARE(SignedInUser::current(), before);
        QCOMPARE(mHost->viewListUpdates, 0);
        QCOMPARE(setting("CreateLanguage"), QStringLiteral("spa"));
    }

    void wizardAcceptedAddsTheLanguage()
    {
        QWidget form;
        auto* combo = new QComboBox(&form);
        auto* helper = new LanguageComboHelper(combo, LanguageComboHelper::AllLanguages, mHost.get());
        helper->setSettingKey(QStringLiteral("LibraryLanguage"), true);
        QVERIFY(helper->fill());
        ZoUser* before = SignedInUser::current();
        QSignalSpy chosen(helper, &LanguageComboHelper::languageChosen);
        QSignalSpy added(helper, &LanguageComboHelper::languageAdded);
        bool done = false;
        combo->setCurrentIndex(3);
        WizardDriver::finishNextWizard(QStringLiteral("Italian"), QStringLiteral("Advanced"), {}, &done);
        QTRY_COMPARE(chosen.count(), 1);
        QVERIFY(done);
        QCOMPARE(mTree->netCalls(QStringLiteral("updateFluency")).size(), 1);
        // The user was read again from the store, where the network manager wrote it.
        QVERIFY(SignedInUser::current() != before);
        QCOMPARE(SignedInUser::currentLanguages(), (QStringList{"French", "Spanish", "Italian"}));
        QCOMPARE(mHost->viewListUpdates, 1);
        QCOMPARE(entries(*combo), (QStringList{"All Languages", "French", "Spanish", "Italian", "Add Language..."}));
        QCOMPARE(combo->currentText(), QStringLiteral("Italian"));
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.at(0).at(0).toString(), QStringLiteral("Italian"));
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(setting("LibraryLanguage"), QStringLiteral("ita"));
    }

    // Without a stored user of that name the signed-in user stays as it was.
    void reloadKeepsUserWithoutStoredMatch()
    {
        ZoUser* stored = SignedInUser::current();
        QVERIFY(LanguageComboHelper::reloadCurrentUser());
        ZoUser* fresh = SignedInUser::current();
        QVERIFY(fresh && fresh != stored);
        QCOMPARE(fresh->username(), QStringLiteral("maria"));

        auto* ghost = new ZoUser(QStringLiteral("99"), QStringLiteral("ghost"), QStringLiteral("x"), {}, {}, {}, {}, {},
                                 {}, QStringLiteral("0"), QStringLiteral("0"), {});
        SignedInUser::users()->setCurrentUser(ghost);
        QVERIFY(!LanguageComboHelper::reloadCurrentUser());
        QCOMPARE(SignedInUser::current(), ghost);

        SignedInUser::signOut();
        QVERIFY(!LanguageComboHelper::reloadCurrentUser());
        QVERIFY(!SignedInUser::current());
    }

    // The form holding the combo goes while the wizard is open: nothing is touched afterwards.
    void formGoneDuringWizard()
    {
        auto* form = new QWidget;
        auto* combo = new QComboBox(form);
        auto* helper = new LanguageComboHelper(combo, LanguageComboHelper::SelectLanguage, mHost.get());
        helper->setSettingKey(QStringLiteral("CreateLanguage"), false);
        QVERIFY(helper->fill());
        QPointer<QWidget> guard(form);
        QPointer<QWidget> wizard;
        bool sawWizard = false;
        combo->setCurrentIndex(3);
        QTimer::singleShot(0, [form, &wizard, &sawWizard] {
            wizard = QApplication::activeModalWidget();
            sawWizard = wizard && wizard->parentWidget() == form;
            // The wizard is a child of the form and goes with it.
            delete form;
        });
        QTRY_VERIFY(guard.isNull());
        QVERIFY(sawWizard);
        QVERIFY(wizard.isNull());
        QVERIFY(setting("CreateLanguage").isEmpty());
    }
};

QTEST_MAIN(TestLanguageCombo)
#include "tst_languagecombo.moc"
