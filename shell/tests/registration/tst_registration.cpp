#include "DialogFixture.h"
#include "LoginForm.h"
#include "RealBoxes.h"
#include "RegistrationForm.h"
#include "WizardDriver.h"
#include "ZoDbHelper.h"

#include <QHeaderView>
#include <QSettings>
#include <QStyle>
#include <QtTest>

#include <memory>

using Hash = QHash<QString, QString>;

namespace {

struct Entries
{
    QString username = QStringLiteral("bob.smith_1");
    QString password = QStringLiteral("pass.word_9");
    QString retyped = QStringLiteral("pass.word_9");
    QString email = QStringLiteral("bob@example.org");
    bool country = true;
};

void fill(RegistrationForm& form, const Entries& e)
{
    form.lEditUsername->setText(e.username);
    form.lEditPassword->setText(e.password);
    form.lEditRetypePassword->setText(e.retyped);
    form.lEditEmail->setText(e.email);
    form.cmbCountries->setCurrentIndex(e.country ? form.cmbCountries->findText(QStringLiteral("Canada")) : 0);
}

QStringList column0(const RegistrationForm& form)
{
    QStringList languages;
    for (int row = 0; row < form.tblUserFluency->rowCount(); ++row)
        languages << form.tblUserFluency->item(row, 0)->text();
    return languages;
}

QStringList shownMarkers(const RegistrationForm& form)
{
    QStringList shown;
    for (QLabel* marker : {form.lblUsernameError, form.lblPasswordError, form.lblRetypePasswordError,
                           form.lblEmailError, form.lblCountryError, form.lblLanguageError}) {
        if (marker->isVisibleTo(&form))
            shown << marker->objectName();
    }
    return shown;
}

} // namespace

class TestRegistration : public QObject
{
    Q_OBJECT

    DialogFixture<> f;

    std::unique_ptr<RegistrationForm> open()
    {
        auto form = f.show<RegistrationForm>(nullptr);
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("registration window not exposed");
        return form;
    }

    // Adds a fluency through the wizard's quick route.
    static bool addFluency(RegistrationForm& form, const QString& shown,
                           const QString& level = QStringLiteral("Fluent"),
                           std::function<void(FluencyFormWizard4*)> extra = {})
    {
        bool done = false;
        WizardDriver::finishNextWizard(shown, level, extra, &done);
        QTest::mouseClick(form.btnAddFluency, Qt::LeftButton);
        return done;
    }

    static void clickHeader(RegistrationForm& form, int column)
    {
        QHeaderView* header = form.tblUserFluency->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    static QString info(const QString& text) { return WizardTestTree::info(text); }
    static QString warning(const QString& text) { return WizardTestTree::warning(text); }

private slots:
    void initTestCase() { QVERIFY(f.setUp()); }
    void init() { QVERIFY(f.reset()); }
    void cleanupTestCase() { f.tearDown(); }

    void startsEmpty()
    {
        auto form = open();
        QCOMPARE(form->windowTitle(), QStringLiteral("Registration "));
        QCOMPARE(form->cmbCountries->itemText(0), QStringLiteral("Select"));
        QStringList countries;
        for (int i = 1; i < form->cmbCountries->count(); ++i)
            countries << form->cmbCountries->itemText(i);
        QCOMPARE(countries, ZoDbHelper().countryList());
        QVERIFY(!form->btnRemoveFluency->isEnabled());
        QVERIFY(shownMarkers(*form).isEmpty());
        QCOMPARE(form->tblUserFluency->columnCount(), 7);
        QVERIFY(form->tblUserFluency->isColumnHidden(6));
        QCOMPARE(form->tblUserFluency->horizontalHeaderItem(4)->text(), QStringLiteral("State\\Province"));
        QCOMPARE(form->registeredUserName(), QString());
        // The network takes a name in any case of letters as the same account.
        QCOMPARE(form->lEditUsername->toolTip(),
                 QStringLiteral("Usernames are not case sensitive: \"Anna\" and \"anna\" are the same user"));
    }

    void fieldLimits_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("limit");
        QTest::newRow("user name") << "lEditUsername" << 16;
        QTest::newRow("password") << "lEditPassword" << 16;
        QTest::newRow("retyped password") << "lEditRetypePassword" << 16;
        QTest::newRow("first name") << "lEditFirstName" << 32;
        QTest::newRow("last name") << "lEditLastName" << 32;
        QTest::newRow("state or province") << "lEditStateProvince" << 32;
        QTest::newRow("e-mail") << "lEditEmail" << 64;
    }

    void fieldLimits()
    {
        QFETCH(QString, field);
        QFETCH(int, limit);
        auto form = open();
        auto* edit = form->findChild<QLineEdit*>(field);
        QVERIFY(edit);
        QTest::keyClicks(edit, QString(limit + 1, QLatin1Char('a')));
        QCOMPARE(edit->text().size(), limit);
    }

    void validation_data()
    {
        QTest::addColumn<QString>("username");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("retyped");
        QTest::addColumn<QString>("email");
        QTest::addColumn<bool>("country");
        QTest::addColumn<bool>("fluency");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("markers");

        const QString userLength = QStringLiteral(
            "Please select a username with a minimum of 6 characters and a maximum of 16 characters.");
        const QString userChars = QStringLiteral(
            "Invalid username.  Please use only letters, numbers, \"_\" and \".\".");
        const QString passLength = QStringLiteral(
            "Please select a password with a minimum of 6 characters and a maximum of 16 characters.");
        const QString passChars = QStringLiteral("Invalid password.  Please use only letters, numbers, '_' and '.'.");
        const QString mismatch = QStringLiteral("Your passwords do not match.  Please retype your passwords.");
        const QString badEmail = QStringLiteral("Invalid email address.  Please enter a valid email address.");
        const QString noCountry = QStringLiteral("Please select a country.");
        const QString noFluency = QStringLiteral("You must enter at least one fluency.");
        const QStringList user{"lblUsernameError"}, pass{"lblPasswordError"},
            both{"lblPasswordError", "lblRetypePasswordError"}, mail{"lblEmailError"}, land{"lblCountryError"},
            lang{"lblLanguageError"};
        const QString pw = QStringLiteral("pass.word_9");
        const QString ok = QStringLiteral("bob@example.org");

        QTest::newRow("user name of 5") << "abcde" << pw << pw << ok << true << true << userLength << user;
        QTest::newRow("user name with a blank") << "abc def" << pw << pw << ok << true << true << userChars << user;
        QTest::newRow("user name with a final newline") << "abcdef\n"
                                                        << pw << pw << ok << true << true << userChars << user;
        QTest::newRow("user name and password bad: first only") << "abc"
                                                                << "x"
                                                                << "y"
                                                                << "" << false << false << userLength << user;
        QTest::newRow("user name of 16, password of 5") << "abcdefghij.klm_1"
                                                        << "abcde"
                                                        << "abcde" << ok << true << true << passLength << pass;
        QTest::newRow("password with a blank") << "bob.smith"
                                               << "pass word"
                                               << "pass word" << ok << true << true << passChars << pass;
        QTest::newRow("password differs in case")
            << "bob.smith" << pw << "Pass.word_9" << ok << true << true << mismatch << both;
        QTest::newRow("empty e-mail") << "bob.smith" << pw << pw << "" << true << true << badEmail << mail;
        QTest::newRow("one-letter ending")
            << "bob.smith" << pw << pw << "bob@example.o" << true << true << badEmail << mail;
        QTest::newRow("five-letter ending")
            << "bob.smith" << pw << pw << "bob@example.orgxy" << true << true << badEmail << mail;
        QTest::newRow("blank in e-mail") << "bob.smith" << pw << pw << "bob @example.org" << true << true << badEmail
                                         << mail;
        QTest::newRow("e-mail with a final newline") << "bob.smith" << pw << pw << "bob@example.org\n"
                                                     << true << true << badEmail << mail;
        QTest::newRow("% and - pass, no country")
            << "bob.smith" << pw << pw << "b%o-b@ex-ample.info" << false << true << noCountry << land;
        QTest::newRow("no fluency") << "bob.smith" << pw << pw << ok << true << false << noFluency << lang;
    }

    void validation()
    {
        QFETCH(QString, username);
        QFETCH(QString, password);
        QFETCH(QString, retyped);
        QFETCH(QString, email);
        QFETCH(bool, country);
        QFETCH(bool, fluency);
        QFETCH(QString, message);
        QFETCH(QStringList, markers);
        auto form = open();
        if (fluency)
            QVERIFY(addFluency(*form, QStringLiteral("Dutch")));
        fill(*form, {username, password, retyped, email, country});
        // Markers of an earlier failure go when OK is pressed again.
        form->lblCountryError->show();
        const int mark = int(f.tree().boxes().size());
        QTest::mouseClick(form->btnOk, Qt::LeftButton);
        QCOMPARE(f.tree().boxesSince(mark), QStringList{info(message)});
        std::sort(markers.begin(), markers.end());
        QStringList shown = shownMarkers(*form);
        std::sort(shown.begin(), shown.end());
        QCOMPARE(shown, markers);
        QVERIFY(form->isVisible());
        QVERIFY(f.tree().netCalls(QStringLiteral("registerAccount")).isEmpty());
    }

    void networkNotReady()
    {
        QVERIFY(f.tree().scriptNet({{QStringLiteral("isNetworkReady"), QStringLiteral("0")}}));
        auto form = open();
        const int mark = int(f.tree().boxes().size());
        QTest::mouseClick(form->btnOk, Qt::LeftButton);
        QCOMPARE(f.tree().boxesSince(mark), QStringList{warning("Sorry, network error.")});
        QVERIFY(shownMarkers(*form).isEmpty());
        QVERIFY(form->isVisible());
        QVERIFY(f.tree().netCalls(QStringLiteral("registerAccount")).isEmpty());
    }

    void duplicateLanguages()
    {
        auto form = open();
        QVERIFY(addFluency(*form, QStringLiteral("German")));
        QVERIFY(form->btnRemoveFluency->isEnabled());
        const int mark = int(f.tree().boxes().size());
        QVERIFY(addFluency(*form, QStringLiteral("German"), QStringLiteral("Native")));
        QCOMPARE(f.tree().boxesSince(mark),
                 QStringList{info("'German, Standard' is already in your list of fluencies.")});
        QCOMPARE(column0(*form), QStringList{QStringLiteral("German, Standard")});
        QCOMPARE(form->tblUserFluency->item(0, 2)->text(), QStringLiteral("Fluent"));

        // Only the exact same text is a duplicate.
        form->tblUserFluency->item(0, 0)->setText(QStringLiteral("german, standard"));
        QVERIFY(addFluency(*form, QStringLiteral("German")));
        QCOMPARE(column0(*form).size(), 2);
    }

    // A language with its variety, a level and a country are shown whole in
    // their cells.
    void cellsShownWhole_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("level");
        QTest::newRow("German, Standard") << QStringLiteral("German") << QStringLiteral("Native");
        QTest::newRow("Dutch") << QStringLiteral("Dutch") << QStringLiteral("Fluent");
    }

    void cellsShownWhole()
    {
        QFETCH(QString, language);
        QFETCH(QString, level);
        auto form = open();
        QVERIFY(addFluency(*form, language, level));
        QTableWidget* table = form->tblUserFluency;
        QCOMPARE(table->rowCount(), 1);
        QStringList cut;
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* item = table->item(0, column);
            if (table->isColumnHidden(column) || !item || item->text().isEmpty())
                continue;
            const int need = table->fontMetrics().horizontalAdvance(item->text());
            if (table->columnWidth(column) < need + 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1))
                cut << QStringLiteral("%1 in %2").arg(item->text()).arg(table->columnWidth(column));
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    }

    void cancelledWizardAddsNothing()
    {
        auto form = open();
        QTimer::singleShot(0, [] {
            if (auto* wizard = qobject_cast<FluencyFormWizard*>(QApplication::activeModalWidget()))
                QTest::mouseClick(wizard->btnCancel, Qt::LeftButton);
        });
        QTest::mouseClick(form->btnAddFluency, Qt::LeftButton);
        QCOMPARE(form->tblUserFluency->rowCount(), 0);
        QVERIFY(!form->btnRemoveFluency->isEnabled());
    }

    void removing_data()
    {
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("boxes");
        QTest::newRow("yes") << 0 << 0 << QStringList{"Thai"} << 1;
        QTest::newRow("no") << 1 << 1 << QStringList{"Korean", "Thai"} << 1;
        QTest::newRow("no current row") << -1 << 0 << QStringList{"Korean", "Thai"} << 0;
    }

    void removing()
    {
        QFETCH(int, currentRow);
        QFETCH(int, answer);
        QFETCH(QStringList, left);
        QFETCH(int, boxes);
        auto form = open();
        QVERIFY(addFluency(*form, QStringLiteral("Korean")));
        QVERIFY(addFluency(*form, QStringLiteral("Thai")));
        if (currentRow >= 0)
            WizardDriver::clickIndex(form->tblUserFluency, form->tblUserFluency->model()->index(currentRow, 1));
        else
            form->tblUserFluency->setCurrentCell(-1, -1);
        QCOMPARE(form->tblUserFluency->currentRow(), currentRow);
        const QString language = currentRow >= 0 ? column0(*form).at(currentRow) : QString();
        f.tree().answerBoxes({answer});
        const int mark = int(f.tree().boxes().size());
        QTest::mouseClick(form->btnRemoveFluency, Qt::LeftButton);
        const QStringList shown = f.tree().boxesSince(mark);
        QCOMPARE(int(shown.size()), boxes);
        if (boxes)
            QCOMPARE(shown.first(), WizardTestTree::box(MessageBoxHelper::Question,
                                                        QStringLiteral("Are you sure you want to remove %1\nas one of "
                                                                       "your fluencies?")
                                                            .arg(language),
                                                        {QStringLiteral("Yes"), QStringLiteral("No")}));
        QCOMPARE(column0(*form), left);
        QVERIFY(form->btnRemoveFluency->isEnabled());
    }

    void removingTheLastDisablesRemove()
    {
        auto form = open();
        QVERIFY(addFluency(*form, QStringLiteral("Malay")));
        WizardDriver::clickIndex(form->tblUserFluency, form->tblUserFluency->model()->index(0, 0));
        f.tree().answerBoxes({0});
        QTest::mouseClick(form->btnRemoveFluency, Qt::LeftButton);
        QCOMPARE(form->tblUserFluency->rowCount(), 0);
        QVERIFY(!form->btnRemoveFluency->isEnabled());
    }

    // A real question box: Escape answers No and keeps the row.
    void removingEscapedKeepsTheRow()
    {
        auto form = open();
        QVERIFY(addFluency(*form, QStringLiteral("Malay")));
        WizardDriver::clickIndex(form->tblUserFluency, form->tblUserFluency->model()->index(0, 0));
        {
            RealBoxes boxes(Qt::Key_Escape);
            QTest::mouseClick(form->btnRemoveFluency, Qt::LeftButton);
            QCOMPARE(boxes.texts, QStringList{"Are you sure you want to remove Malay\nas one of your fluencies?"});
            QCOMPARE(boxes.stuck, 0);
        }
        QCOMPARE(column0(*form), QStringList{"Malay"});
    }

    void requestFollowsTheShownOrder()
    {
        auto form = open();
        QVERIFY(addFluency(*form, QStringLiteral("Spanish"), QStringLiteral("Native"), [](FluencyFormWizard4* page) {
            page->setCountry(QStringLiteral("Mexico"));
            page->setStateProv(QStringLiteral("Puebla"));
            page->setLocality(QStringLiteral("Cholula"));
        }));
        QVERIFY(addFluency(*form, QStringLiteral("English"), QStringLiteral("Beginner")));
        // Added rows stay in the order they came until a header is clicked.
        QCOMPARE(column0(*form), (QStringList{"Spanish", "English"}));
        clickHeader(*form, 0);
        QCOMPARE(column0(*form), (QStringList{"English", "Spanish"}));
        clickHeader(*form, 0);
        QCOMPARE(column0(*form), (QStringList{"Spanish", "English"}));
        clickHeader(*form, 0);

        fill(*form, {});
        form->lEditFirstName->setText(QStringLiteral("  Bob "));
        form->lEditLastName->setText(QStringLiteral("Smith"));
        form->lEditStateProvince->setText(QStringLiteral(" Ontario"));
        QTest::mouseClick(form->btnOk, Qt::LeftButton);

        const auto calls = f.tree().netCalls(QStringLiteral("registerAccount"));
        QCOMPARE(calls.size(), 1);
        const Hash expected{{"Username", "bob.smith_1"},
                            {"Password", "pass.word_9"},
                            {"FirstName", "Bob"},
                            {"LastName", "Smith"},
                            {"Email", "bob@example.org"},
                            {"Country", "Canada"},
                            {"StateProv", "Ontario"},
                            {"FLanguage1", "English"},
                            {"FLocaleDesc1", ""},
                            {"FFluencyLevel1", "Beginner"},
                            {"FCountry1", ""},
                            {"FStateProv1", ""},
                            {"FLocality1", ""},
                            {"FNonSpeaking1", "1"},
                            {"FLanguage2", "Spanish"},
                            {"FLocaleDesc2", ""},
                            {"FFluencyLevel2", "Native"},
                            {"FCountry2", "Mexico"},
                            {"FStateProv2", "Puebla"},
                            {"FLocality2", "Cholula"},
                            {"FNonSpeaking2", "0"}};
        QCOMPARE(calls.at(0).hashArg(0), expected);
    }

    void secondRequestIsBuiltAfresh()
    {
        QVERIFY(f.tree().scriptNet({{QStringLiteral("registerAccount"), QStringLiteral("-1 | 1")}}));
        auto form = open();
        for (const QString& language : {QStringLiteral("Finnish"), QStringLiteral("Swedish"), QStringLiteral("Polish")})
            QVERIFY(addFluency(*form, language));
        fill(*form, {});
        QTest::mouseClick(form->btnOk, Qt::LeftButton);
        QVERIFY(form->isVisible());

        WizardDriver::clickIndex(form->tblUserFluency, form->tblUserFluency->model()->index(1, 0));
        f.tree().answerBoxes({0});
        QTest::mouseClick(form->btnRemoveFluency, Qt::LeftButton);
        form->lEditUsername->setText(QStringLiteral("bob.smith_2"));
        QTest::mouseClick(form->btnOk, Qt::LeftButton);

        const auto calls = f.tree().netCalls(QStringLiteral("registerAccount"));
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls.at(0).hashArg(0).size(), 7 + 3 * 7);
        const Hash second = calls.at(1).hashArg(0);
        QCOMPARE(second.size(), 7 + 2 * 7);
        QCOMPARE(second.value("Username"), QStringLiteral("bob.smith_2"));
        QCOMPARE(second.value("FLanguage1"), QStringLiteral("Finnish"));
        QCOMPARE(second.value("FLanguage2"), QStringLiteral("Polish"));
        QVERIFY(!second.contains("FLanguage3"));
        QCOMPARE(form->result(), int(QDialog::Accepted));
    }

    void registrationResults_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("dialogResult");
        QTest::addColumn<QString>("registered");
        QTest::newRow("registered") << "1" << QStringList() << false << int(QDialog::Accepted) << "carla.b";
        QTest::newRow("name taken") << "-1"
                                    << QStringList{info("Username already taken. Please enter a different username.")}
                                    << true << 0 << "";
        QTest::newRow("too many registrations")
            << "-4"
            << QStringList{warning("Sorry, too many registrations came from this computer.\nPlease try again later.")}
            << true << 0 << "";
        QTest::newRow("network unavailable")
            << "0" << QStringList{warning("Sorry, the Vireda network is presently unavailable.  Registration failed.")}
            << false << int(QDialog::Rejected) << "";
        QTest::newRow("other answer") << "7" << QStringList() << true << 0 << "";
    }

    void registrationResults()
    {
        QFETCH(QString, result);
        QFETCH(QStringList, boxes);
        QFETCH(bool, open);
        QFETCH(int, dialogResult);
        QFETCH(QString, registered);
        QVERIFY(f.tree().scriptNet({{QStringLiteral("registerAccount"), result}}));
        QSettings().remove(QStringLiteral("users/carla.b"));
        auto form = this->open();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QVERIFY(addFluency(*form, QStringLiteral("Italian")));
        Entries entries;
        entries.username = QStringLiteral("carla.b");
        fill(*form, entries);
        form->lEditEmail->setFocus();
        const int mark = int(f.tree().boxes().size());
        QTest::mouseClick(form->btnOk, Qt::LeftButton);

        QCOMPARE(f.tree().boxesSince(mark), boxes);
        QCOMPARE(form->isVisible(), open);
        QCOMPARE(form->result(), dialogResult);
        QCOMPARE(form->registeredUserName(), registered);
        QCOMPARE(f.tree().netCalls(QStringLiteral("registerAccount")).size(), 1);
        if (result == QLatin1String("-1"))
            QCOMPARE(form->focusWidget(), form->lEditUsername);
        // Every entry stays for another try.
        if (open)
            QCOMPARE(form->lEditUsername->text(), QStringLiteral("carla.b"));

        QSettings settings;
        const bool written = result == QLatin1String("1");
        QCOMPARE(settings.contains(QStringLiteral("users/carla.b/FirstTime")), written);
        if (written) {
            QCOMPARE(settings.value(QStringLiteral("users/carla.b/FirstTime")), QVariant(1));
            QCOMPARE(settings.value(QStringLiteral("users/carla.b/ExerciseSplash")), QVariant(0));
            QCOMPARE(settings.value(QStringLiteral("users/carla.b/LibrarySplash")), QVariant(0));
        }
    }

    void registerButtonOpensTheDialog_data()
    {
        QTest::addColumn<bool>("complete");
        QTest::addColumn<bool>("networkLost");
        QTest::addColumn<QString>("username");
        QTest::addColumn<bool>("loginOpen");
        QTest::newRow("registered") << true << false << "dora.n" << true;
        QTest::newRow("cancelled") << false << false << "kept.name" << true;
        QTest::newRow("cancelled, network gone") << false << true << "kept.name" << false;
    }

    void registerButtonOpensTheDialog()
    {
        QFETCH(bool, complete);
        QFETCH(bool, networkLost);
        QFETCH(QString, username);
        QFETCH(bool, loginOpen);
        QSettings().setValue(QStringLiteral("users/lastUser"), QStringLiteral("kept.name"));
        QSettings().setValue(QStringLiteral("users/lastPassword"), QStringLiteral("kept.pass"));
        LoginForm login(f.host());
        login.show();
        QVERIFY(QTest::qWaitForWindowActive(&login));

        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<RegistrationForm*>(QApplication::activeModalWidget());
            if (!form)
                return;
            opened = true;
            if (!QTest::qWaitForWindowExposed(form) || !complete) {
                if (networkLost)
                    f.tree().scriptNet({{QStringLiteral("isNetworkReady"), QStringLiteral("0")}});
                QTest::mouseClick(form->btnCancel, Qt::LeftButton);
                return;
            }
            if (!addFluency(*form, QStringLiteral("Japanese"))) {
                form->reject();
                return;
            }
            Entries entries;
            entries.username = QStringLiteral("dora.n");
            fill(*form, entries);
            QTest::mouseClick(form->btnOk, Qt::LeftButton);
            if (form->isVisible())
                form->reject();
        });
        login.lEditUsername->setFocus();
        QTest::mouseClick(login.btnRegister, Qt::LeftButton);

        QVERIFY(opened);
        QVERIFY(!login.findChild<RegistrationForm*>());
        QCOMPARE(login.lEditUsername->text(), username);
        QCOMPARE(login.isVisible(), loginOpen);
        if (complete) {
            QCOMPARE(login.lEditPassword->text(), QString());
            QCOMPARE(login.focusWidget(), login.lEditPassword);
        } else {
            QCOMPARE(login.lEditPassword->text(), QStringLiteral("kept.pass"));
        }
        if (!loginOpen)
            QCOMPARE(login.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestRegistration)
#include "tst_registration.moc"
