#include "DialogFixture.h"
#include "IForm.h"
#include "INetManager.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "TestDatabase.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableWidget>
#include <QTranslator>
#include <QtTest>

using Hash = QHash<QString, QString>;

namespace {

const char* const kFinder = "plugins_dll/Forms/Finder.dll";

IUserResource* users()
{
    return PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
}

// Makes a user with these fluency languages the signed-in one.
void signIn(const QString& name, const QStringList& languages)
{
    QList<ZoUserFluency*> fluencies;
    for (int i = 0; i < languages.size(); ++i)
        fluencies.append(new ZoUserFluency(QString::number(21 + i), languages.at(i), QString(),
                                           QStringLiteral("Advanced"), QStringLiteral("France"), QString(),
                                           QString(), QStringLiteral("1")));
    users()->setCurrentUser(new ZoUser(QStringLiteral("3"), name, QStringLiteral("secret1"), QStringLiteral("Ann"),
                                       QStringLiteral("Roux"), QStringLiteral("ann@example.org"),
                                       QStringLiteral("France"), QString(), QString(), QStringLiteral("0"),
                                       QStringLiteral("1"), fluencies));
}

} // namespace

class TestFinder : public QObject
{
    Q_OBJECT

    DialogFixture<> mFixture;
    IForm* mForm = nullptr;

    WizardTestTree& tree() { return mFixture.tree(); }
    QWidget* form() const { return mForm->widget(); }
    template <class T>
    T* child(const char* name) const
    {
        T* found = form()->findChild<T*>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QTableWidget* table() const { return child<QTableWidget>("tbl"); }
    QComboBox* languages() const { return child<QComboBox>("cmbLanguagesNative"); }

    // A fresh tab as the main window makes it at sign-in.
    void openForm()
    {
        mForm = PluginLocator::load<IForm>(QLatin1String(kFinder));
        QVERIFY(mForm);
        mForm->setMainWindow(mFixture.host());
        mForm->init();
        mForm->retranslateView();
        mForm->updateViewLists();
        mForm->refreshData();
        form()->resize(900, 600);
        form()->show();
    }

    void closeForm()
    {
        delete form();
        mForm = nullptr;
    }

    // Types the search, chooses the kind and the language, and clicks Search.
    void searchFor(const QString& text, const QString& language, bool lessons = false)
    {
        child<QRadioButton>(lessons ? "rbSearchLessons" : "rbSearchExercises")->setChecked(true);
        child<QLineEdit>("lEditSearch")->setText(text);
        languages()->setCurrentIndex(languages()->findText(language));
        QTest::mouseClick(button("btnSearch"), Qt::LeftButton);
    }

    QStringList visiblePageButtons() const
    {
        QStringList shown;
        for (const char* name : {"label", "btnPage1", "btnPage2", "btnPage3", "btnPage4"}) {
            QWidget* w = form()->findChild<QWidget*>(QLatin1String(name));
            if (w && !w->isHidden())
                shown << QLatin1String(name);
        }
        return shown;
    }

    QStringList headers() const
    {
        QStringList labels;
        for (int i = 0; i < table()->columnCount(); ++i)
            labels << table()->horizontalHeaderItem(i)->text();
        return labels;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mFixture.setUp());
        QVERIFY(TestDatabase::createFile(tree().tree().filePath(QStringLiteral("vireda.db"))));
        QVERIFY(users());
    }

    void init()
    {
        QVERIFY(mFixture.reset());
        signIn(QStringLiteral("ann"), {QStringLiteral("French"), QStringLiteral("Spanish")});
        openForm();
    }

    void cleanup()
    {
        if (mForm)
            closeForm();
    }

    void cleanupTestCase() { mFixture.tearDown(); }

    void isTheSearchTab()
    {
        QCOMPARE(mForm->title(), QStringLiteral("Search"));
        QCOMPARE(mForm->tabIndex(), 3);
        QCOMPARE(mForm->translationFileName(QStringLiteral("Deutsch")), QStringLiteral("search-Deutsch"));
        QCOMPARE(form()->objectName(), QStringLiteral("Finder"));
        QVERIFY(!button("btnDownload")->isEnabled());
        QVERIFY(!button("btnClear")->isEnabled());
        QVERIFY(!button("btnStudy")->isEnabled());
        QVERIFY(visiblePageButtons().isEmpty());
        QVERIFY(table()->isSortingEnabled());
        QVERIFY(table()->isColumnHidden(0));
        QCOMPARE(headers(), QStringList({"pmid", "Study Term", "Country", "Locality", "Voice"}));
    }

    // Each check stops the search with its text and sends nothing.
    void checks_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("box");
        QTest::newRow("offline sign-in") << "isOfflineLogin = 1" << "chien" << "French"
                                         << WizardTestTree::info(
                                                "Please login online to enable search, upload and download.");
        QTest::newRow("no search text") << "" << "" << "French"
                                        << WizardTestTree::info("There were no search terms entered.");
        QTest::newRow("no language") << "" << "chien" << "Select Language"
                                     << WizardTestTree::info("No language selected.");
    }

    void checks()
    {
        QFETCH(QString, script);
        QFETCH(QString, text);
        QFETCH(QString, language);
        QFETCH(QString, box);
        Hash results;
        if (!script.isEmpty())
            results.insert(script.section(QLatin1String(" = "), 0, 0), script.section(QLatin1String(" = "), 1));
        QVERIFY(tree().scriptNet(results));
        searchFor(text, language);
        QCOMPARE(tree().boxes(), QStringList{box});
        QVERIFY(tree().netCalls(QStringLiteral("queryExercises")).isEmpty());
        QCOMPARE(mFixture.host()->offlineMoves, 0);
    }

    // A stopped query service takes the program and the tab offline.
    void queryServiceDown()
    {
        QVERIFY(tree().scriptNet({{"isQueryServiceStarted", "0"}}));
        searchFor(QStringLiteral("chien"), QStringLiteral("French"));
        QVERIFY(tree().boxes().isEmpty());
        QVERIFY(tree().netCalls(QStringLiteral("queryExercises")).isEmpty());
        QCOMPARE(mFixture.host()->offlineMoves, 1);
        QVERIFY(!button("btnSearch")->isEnabled());
        QVERIFY(child<QLineEdit>("lEditSearch")->text().isEmpty());
    }

    void criteria_data()
    {
        QTest::addColumn<bool>("lessons");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Hash>("expected");
        QTest::newRow("exercises") << false << "chien noir"
                                   << Hash{{"LanguageID", "fra"}, {"ResultsLanguageID", "fra"},
                                           {"MaxResults", "20"}, {"PageNum", "1"}, {"Term", "chien noir"}};
        QTest::newRow("lessons") << true << "Animaux"
                                 << Hash{{"LanguageID", "fra"}, {"ResultsLanguageID", "fra"}, {"MaxResults", "20"},
                                         {"PageNum", "1"}, {"Title", "Animaux"}, {"Description", "Animaux"}};
        QTest::newRow("lessons, no text") << true << ""
                                          << Hash{{"LanguageID", "fra"}, {"ResultsLanguageID", "fra"},
                                                  {"MaxResults", "20"}, {"PageNum", "1"}, {"Title", ""},
                                                  {"Description", ""}};
    }

    void criteria()
    {
        QFETCH(bool, lessons);
        QFETCH(QString, text);
        QFETCH(Hash, expected);
        QVERIFY(tree().scriptNet({{lessons ? "queryLessons" : "queryExercises", "1"}}));
        searchFor(text, QStringLiteral("French"), lessons);
        const auto calls = tree().netCalls(lessons ? QStringLiteral("queryLessons") : QStringLiteral("queryExercises"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().hashArg(0), expected);
    }

    // The total decides the page buttons; a failed search has none.
    void pageButtons_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QStringList>("shown");
        const QStringList two{"label", "btnPage1", "btnPage2"};
        QTest::newRow("20") << "1" << "20" << QStringList();
        QTest::newRow("21") << "1" << "21" << two;
        QTest::newRow("40") << "1" << "40" << two;
        QTest::newRow("41") << "1" << "41" << (two + QStringList{"btnPage3"});
        QTest::newRow("61") << "1" << "61" << (two + QStringList{"btnPage3", "btnPage4"});
        QTest::newRow("no results") << "2" << "61" << QStringList();
        QTest::newRow("service error") << "-1" << "61" << QStringList();
    }

    void pageButtons()
    {
        QFETCH(QString, status);
        QFETCH(QString, total);
        QFETCH(QStringList, shown);
        QVERIFY(tree().scriptNet({{"queryExercises", status}, {"queryExercises.total", total}}));
        searchFor(QStringLiteral("chien"), QStringLiteral("French"));
        QCOMPARE(visiblePageButtons(), shown);
        if (!shown.isEmpty()) {
            QVERIFY(button("btnPage1")->isFlat());
            QVERIFY(!button("btnPage2")->isFlat());
        }
    }

    void statusOutcomes_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("offlineMoves");
        QTest::newRow("found") << "1" << QStringList() << 0;
        QTest::newRow("none") << "2" << QStringList{WizardTestTree::info("Search found no results.")} << 0;
        QTest::newRow("service error")
            << "-1"
            << QStringList{WizardTestTree::warning(
                   "The Vireda search service is not working right now.\n"
                   "Please check your Internet connection and try again in a few minutes.")}
            << 0;
        QTest::newRow("offline") << "0" << QStringList() << 1;
    }

    void statusOutcomes()
    {
        QFETCH(QString, status);
        QFETCH(QStringList, boxes);
        QFETCH(int, offlineMoves);
        QVERIFY(tree().scriptNet({{"queryExercises", status}}));
        searchFor(QStringLiteral("chien"), QStringLiteral("French"));
        QCOMPARE(tree().boxes(), boxes);
        QCOMPARE(mFixture.host()->offlineMoves, offlineMoves);
        QCOMPARE(button("btnSearch")->isEnabled(), offlineMoves == 0);
    }

    // After an online sign-in the program may go offline; the tab follows
    // when it is shown next.
    void offlineAfterOnlineSignIn()
    {
        QVERIFY(tree().scriptNet({}));
        child<QLineEdit>("lEditSearch")->setText(QStringLiteral("chien"));
        QCOMPARE(mForm->customRefresh(), 1);
        QVERIFY(button("btnSearch")->isEnabled());
        QCOMPARE(child<QLineEdit>("lEditSearch")->text(), QStringLiteral("chien"));

        QVERIFY(tree().scriptNet({{"isOfflineLogin", "1"}}));
        QCOMPARE(mForm->customRefresh(), 1);
        QVERIFY(!button("btnSearch")->isEnabled());
        QVERIFY(!button("btnDownload")->isEnabled());
        QVERIFY(child<QLineEdit>("lEditSearch")->text().isEmpty());
        QCOMPARE(table()->rowCount(), 0);
        QVERIFY(visiblePageButtons().isEmpty());
    }

    void languageCombo_data()
    {
        QTest::addColumn<QStringList>("fluencies");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("selected");
        QTest::newRow("no fluencies") << QStringList() << QString() << QStringList{"Select Language", "Add Language..."}
                                      << "Select Language";
        QTest::newRow("stored language")
            << QStringList{"French", "Spanish"} << "spa"
            << QStringList{"Select Language", "French", "Spanish", "Add Language..."} << "Spanish";
        QTest::newRow("stored language not spoken")
            << QStringList{"French"} << "spa" << QStringList{"Select Language", "French", "Add Language..."}
            << "Select Language";
    }

    void languageCombo()
    {
        QFETCH(QStringList, fluencies);
        QFETCH(QString, stored);
        QFETCH(QStringList, items);
        QFETCH(QString, selected);
        closeForm();
        signIn(QStringLiteral("bea"), fluencies);
        QSettings().setValue(QStringLiteral("users/bea/SearchLanguage"), stored);
        openForm();
        QStringList shown;
        for (int i = 0; i < languages()->count(); ++i)
            shown << languages()->itemText(i);
        QCOMPARE(shown, items);
        QCOMPARE(languages()->currentText(), selected);
    }

    // One timing line per search in the usage log.
    void searchIsLogged()
    {
        QVERIFY(tree().scriptNet({{"queryLessons", "2"}}));
        searchFor(QString(), QStringLiteral("French"), true);
        QFile log(tree().tree().filePath(QStringLiteral("Content/usage.log")));
        QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty());
        const QRegularExpression line(
            QStringLiteral("\tNetwork Search \\(lessonQuery\\): In \\[\\d+\\] ms, \\[0\\] results found, on: \\S.*$"));
        QVERIFY2(line.match(lines.last()).hasMatch(), qPrintable(lines.last()));
    }

    void helpOpensOneWindow()
    {
        auto* help = child<QAbstractButton>("btnHelp");
        QTest::mouseClick(help, Qt::LeftButton);
        QTest::mouseClick(help, Qt::LeftButton);
        const QList<QDialog*> windows = form()->findChildren<QDialog*>(QStringLiteral("HelpBrowser"));
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows.first()->isVisible());
        QCOMPARE(windows.first()->windowTitle(), WizardTestTree::title());
        auto* page = windows.first()->findChild<QTextBrowser*>();
        QVERIFY(page && page->source().toString().endsWith(QStringLiteral("searchtab.html")));
        QVERIFY(!page->toPlainText().isEmpty());
    }

    void fontIsTheHosts()
    {
        QFont font(QStringLiteral("Sans"), 12);
        *mFixture.host()->mFont = font;
        QCOMPARE(mForm->redrawView(), 1);
        for (const char* name : {"lblSearch", "btnStudy"}) {
            const QFont shown = child<QWidget>(name)->font();
            QCOMPARE(shown.pointSize(), 12);
            QVERIFY(shown.bold());
        }
    }

    // The tab in German; what the learner typed stays.
    void german()
    {
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral("search-Deutsch"), QDir(TestTree::distPath()).filePath(
                                                                     QStringLiteral("Translations/Deutsch"))));
        QCoreApplication::installTranslator(&translator);
        child<QLineEdit>("lEditSearch")->setText(QStringLiteral("chien"));
        mForm->retranslateView();
        mForm->updateViewLists();
        mForm->refreshData();
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(mForm->title(), QStringLiteral("Search"));
        QCOMPARE(button("btnSearch")->text(), QStringLiteral("Suchen"));
        QCOMPARE(button("btnClear")->text(), QStringLiteral("Geladene entfernen"));
        QCOMPARE(headers(), QStringList({"pmid", "Lernbegriff", "Land", "Ort", "Stimme"}));
        QCOMPARE(languages()->itemText(0), QStringLiteral("Sprache auswählen"));
        QCOMPARE(languages()->itemText(languages()->count() - 1), QStringLiteral("Sprache hinzufügen..."));
        QCOMPARE(child<QLineEdit>("lEditSearch")->text(), QStringLiteral("chien"));
    }

    void choiceIsStoredAndKeptOnClose()
    {
        languages()->setCurrentIndex(languages()->findText(QStringLiteral("Spanish")));
        QCloseEvent event;
        mForm->closeEvent(&event);
        QVERIFY(event.isAccepted());
        QCOMPARE(QSettings().value(QStringLiteral("users/ann/SearchLanguage")).toString(), QStringLiteral("spa"));
    }
};

QTEST_MAIN(TestFinder)
#include "tst_finder.moc"
