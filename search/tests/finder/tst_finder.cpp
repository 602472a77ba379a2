#include "DialogFixture.h"
#include "IDbManager.h"
#include "IForm.h"
#include "INetManager.h"
#include "IStudyResource.h"
#include "IUserResource.h"
#include "LanguageComboHelper.h"
#include "PluginLocator.h"
#include "ScreenTexts.h"
#include "SignedInUser.h"
#include "StoreRefusal.h"
#include "TestDatabase.h"
#include "WizardDriver.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

using Hash = QHash<QString, QString>;

namespace {

const char* const kFinder = "plugins_dll/Forms/Finder.dll";

// Stores a user with these fluency languages and signs them in.
void signIn(const QString& name, const QStringList& languages)
{
    QVERIFY(SignedInUser::signIn(name, languages));
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

    QStringList column(int col) const
    {
        QStringList texts;
        for (int row = 0; row < table()->rowCount(); ++row)
            texts << (table()->item(row, col) ? table()->item(row, col)->text() : QStringLiteral("<none>"));
        return texts;
    }

    static Hash exerciseRow(const QString& pid, const QString& term)
    {
        return {{"PId", pid},          {"Term", term},    {"Language", "French"},   {"Country", "France"},
                {"Locality", "Lyon"},  {"Voice", "bob"},  {"MediaPath", "Content"}, {"MediaName", pid + ".ogg"},
                {"FluencyLevel", "3"}, {"Creator", "bob"}};
    }

    static Hash lessonRow(const QString& pid, const QString& title, int members)
    {
        Hash row{{"PId", pid},          {"Title", title}, {"Description", "about " + title},
                 {"Username", "carla"}, {"UserId", "31"}, {"Language", "fra"},
                 {"LearnerLevel", "3"}};
        for (int i = 1; i <= members; ++i)
            row.insert(QStringLiteral("EId%1").arg(i), QStringLiteral("%1-m%2").arg(pid).arg(i));
        return row;
    }

    bool writeRows(const QString& name, const QList<Hash>& rows)
    {
        return ScriptedNet::writeRows(tree().tree().filePath(name), rows);
    }

    // One page of results for every call of op, status 1 and the total.
    bool scriptResults(const char* op, const QList<Hash>& rows, const QString& total = QStringLiteral("1"))
    {
        const QString name = QLatin1String(op);
        return writeRows(name + QStringLiteral(".json"), rows)
               && tree().scriptNet({{name, "1"},
                                    {name + QStringLiteral(".total"), total},
                                    {name + QStringLiteral(".results"), "@" + name + QStringLiteral(".json")}});
    }

    static IStudyResource* study()
    {
        return PluginLocator::load<IStudyResource>(QStringLiteral("plugins_dll/Resources/ZoStudyResource.dll"));
    }

    QStringList studyTerms() const
    {
        QStringList terms;
        for (int i = 0; i < study()->count(); ++i)
            terms << study()->termAt(i);
        return terms;
    }

    // The local id of the stored manifest with that persistent id, 0 when none.
    static int storedIdOf(const QString& pid) { return ZoDbHelper().localIdOf(pid); }

    // A French exercise stored with that persistent id; its local id, empty on failure.
    static QString storeExercise(const QString& pid, const QString& term)
    {
        ZoExercise exercise(Hash{{"PId", pid},
                                 {"Term", term},
                                 {"Language", "French"},
                                 {"MediaPath", "Content"},
                                 {"MediaName", pid + ".ogg"},
                                 {"Country", "France"},
                                 {"Voice", "bob"},
                                 {"Creator", "bob"}});
        auto* store = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        return store && store->insertExercise(QStringLiteral("Exercise"), &exercise) == 1 ? exercise.id() : QString();
    }

    // A persistent id of this test's own, so that nothing is stored yet.
    static QString qid(int i)
    {
        return QStringLiteral("%1-%2-q%3")
            .arg(QLatin1String(QTest::currentTestFunction()), QLatin1String(QTest::currentDataTag()))
            .arg(i);
    }

    // Three found exercises shown, with more script for the downloads.
    bool threeResults(const Hash& downloads)
    {
        Hash script = downloads;
        script.insert(QStringLiteral("queryExercises"), QStringLiteral("1"));
        script.insert(QStringLiteral("queryExercises.results"), QStringLiteral("@three.json"));
        if (!writeRows(QStringLiteral("three.json"),
                       {exerciseRow(qid(1), "eins"), exerciseRow(qid(2), "zwei"), exerciseRow(qid(3), "drei")})
            || !tree().scriptNet(script))
            return false;
        searchFor(QStringLiteral("x"), QStringLiteral("French"));
        return table()->rowCount() == 3;
    }

    // Chooses a result row with the mouse and clicks Download.
    void downloadRow(int row)
    {
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                          table()->visualItemRect(table()->item(row, 1)).center());
        QTest::mouseClick(button("btnDownload"), Qt::LeftButton);
    }

    QList<QWidget*> bars() const
    {
        QList<QWidget*> shown;
        for (QWidget* bar : form()->findChildren<QWidget*>(QStringLiteral("ZoDownload"))) {
            if (!bar->isHidden())
                shown << bar;
        }
        return shown;
    }

    QStringList faces() const
    {
        QStringList result;
        for (QWidget* bar : bars()) {
            auto* complete = bar->findChild<QPushButton*>(QStringLiteral("btnDownloadComplete"));
            auto* error = bar->findChild<QPushButton*>(QStringLiteral("btnError"));
            if (!complete->isHidden())
                result << QStringLiteral("complete");
            else if (!error->isHidden())
                result << error->text() + (error->isEnabled() ? QString() : QStringLiteral(" (off)"));
            else
                result << QStringLiteral("running");
        }
        return result;
    }

    QStringList downloadedIds()
    {
        QStringList ids;
        for (const auto& call : tree().netCalls(QStringLiteral("downloadExercise")))
            ids << call.arg(0);
        return ids;
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
        QVERIFY(SignedInUser::users());
    }

    void init()
    {
        QVERIFY(mFixture.reset());
        signIn(QStringLiteral("ann"), {QStringLiteral("French"), QStringLiteral("Spanish")});
        study()->clearList();
        study()->setChanged(false);
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
        QTest::newRow("offline sign-in") << "isOfflineLogin = 1"
                                         << "chien"
                                         << "French"
                                         << WizardTestTree::info(
                                                "Please login online to enable search, upload and download.");
        QTest::newRow("no search text") << ""
                                        << ""
                                        << "French" << WizardTestTree::info("There were no search terms entered.");
        QTest::newRow("no language") << ""
                                     << "chien"
                                     << "Select Language" << WizardTestTree::info("No language selected.");
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
                                   << Hash{{"LanguageID", "fra"},
                                           {"ResultsLanguageID", "fra"},
                                           {"MaxResults", "20"},
                                           {"PageNum", "1"},
                                           {"Term", "chien noir"}};
        QTest::newRow("lessons") << true << "Animaux" << Hash{{"LanguageID", "fra"}, {"ResultsLanguageID", "fra"},
                                                              {"MaxResults", "20"},  {"PageNum", "1"},
                                                              {"Title", "Animaux"},  {"Description", "Animaux"}};
        QTest::newRow("lessons, no text") << true << "" << Hash{{"LanguageID", "fra"}, {"ResultsLanguageID", "fra"},
                                                                {"MaxResults", "20"},  {"PageNum", "1"},
                                                                {"Title", ""},         {"Description", ""}};
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
        QTest::newRow("20") << "1"
                            << "20" << QStringList();
        QTest::newRow("21") << "1"
                            << "21" << two;
        QTest::newRow("40") << "1"
                            << "40" << two;
        QTest::newRow("41") << "1"
                            << "41" << (two + QStringList{"btnPage3"});
        QTest::newRow("61") << "1"
                            << "61" << (two + QStringList{"btnPage3", "btnPage4"});
        QTest::newRow("no results") << "2"
                                    << "61" << QStringList();
        QTest::newRow("service error") << "-1"
                                       << "61" << QStringList();
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
        QTest::newRow("service error") << "-1"
                                       << QStringList{WizardTestTree::warning(
                                              "The Vireda search service is not working right now.\n"
                                              "Please check your Internet connection and try again in a few minutes.")}
                                       << 0;
        QTest::newRow("reply past a limit")
            << "-3"
            << QStringList{WizardTestTree::warning(
                   "The reply to this search was refused because it is larger than the program accepts: more than "
                   "1000 results, a lesson of more than 1000 exercises, or more than 32 MB.\n"
                   "Nothing of it is shown. Please search with other words.")}
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

    // Without a network manager the tab works offline and asks nothing of it.
    void withoutNetworkManager()
    {
        closeForm();
        QVERIFY(tree().tree().removePlugin(QStringLiteral("Managers"), QStringLiteral("Courier.so")));
        openForm();
        const bool restored = tree().tree().addPlugin(QStringLiteral("shell/ScriptedNetManager.so"),
                                                      QStringLiteral("Managers"), QStringLiteral("Courier.so"));
        QCOMPARE(mForm->customRefresh(), 1);
        searchFor(QStringLiteral("chien"), QStringLiteral("French"));
        QVERIFY(restored);
        QCOMPARE(mFixture.host()->offlineMoves, 1);
        QVERIFY(!button("btnSearch")->isEnabled());
        QVERIFY(tree().netCalls(QString()).isEmpty());
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
        QTest::newRow("stored language") << QStringList{"French", "Spanish"} << "spa"
                                         << QStringList{"Select Language", "French", "Spanish", "Add Language..."}
                                         << "Spanish";
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

    void exerciseRows()
    {
        QVERIFY(scriptResults("queryExercises", {exerciseRow("pm-1", "<b>chien</b>"), exerciseRow("pm-2", "chat")}));
        searchFor(QStringLiteral("ch"), QStringLiteral("French"));
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(column(0), QStringList({"pm-1", "pm-2"}));
        QCOMPARE(column(1), QStringList({"<b>chien</b>", "chat"}));
        QCOMPARE(column(2), QStringList({"France", "France"}));
        QCOMPARE(column(3), QStringList({"Lyon", "Lyon"}));
        QCOMPARE(column(4), QStringList({"bob", "bob"}));
        QVERIFY(tree().boxes().isEmpty());
    }

    void lessonRows()
    {
        QVERIFY(scriptResults("queryLessons", {lessonRow("pl-1", "Animaux", 3), lessonRow("pl-2", "Couleurs", 1)}));
        searchFor(QStringLiteral("a"), QStringLiteral("French"), true);
        QCOMPARE(headers(), QStringList({"pmid", "Title", "Description", "Learner Level", "Exercises", "Username"}));
        QCOMPARE(column(0), QStringList({"pl-1", "pl-2"}));
        QCOMPARE(column(1), QStringList({"Animaux", "Couleurs"}));
        QCOMPARE(column(2), QStringList({"about Animaux", "about Couleurs"}));
        QCOMPARE(column(3), QStringList({"Intermediate", "Intermediate"}));
        QCOMPARE(column(4), QStringList({"3", "1"}));
        QCOMPARE(column(5), QStringList({"carla", "carla"}));
    }

    // A language change relabels the headers of the rows shown.
    void retranslateKeepsTheKindShown()
    {
        QVERIFY(scriptResults("queryLessons", {lessonRow("pl-1", "Animaux", 2)}));
        searchFor(QStringLiteral("a"), QStringLiteral("French"), true);
        mForm->retranslateView();
        mForm->updateViewLists();
        mForm->refreshData();
        QCOMPARE(headers(), QStringList({"pmid", "Title", "Description", "Learner Level", "Exercises", "Username"}));
        QCOMPARE(column(1), QStringList{"Animaux"});
    }

    // The same learner keeps the search; another one starts afresh.
    void refreshDataRule()
    {
        QVERIFY(scriptResults("queryExercises", {exerciseRow("pm-1", "chien")}));
        searchFor(QStringLiteral("chien"), QStringLiteral("Spanish"));
        mForm->retranslateView();
        mForm->updateViewLists();
        mForm->refreshData();
        QCOMPARE(column(1), QStringList{"chien"});
        QCOMPARE(child<QLineEdit>("lEditSearch")->text(), QStringLiteral("chien"));
        QCOMPARE(languages()->currentText(), QStringLiteral("Spanish"));

        signIn(QStringLiteral("carl"), {QStringLiteral("French")});
        mForm->retranslateView();
        mForm->updateViewLists();
        mForm->refreshData();
        QCOMPARE(table()->rowCount(), 0);
        QVERIFY(child<QLineEdit>("lEditSearch")->text().isEmpty());
        QCOMPARE(languages()->currentText(), QStringLiteral("Select Language"));
    }

    void pageFourText_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("shown");
        QTest::newRow("20 rows") << 20 << true;
        QTest::newRow("19 rows") << 19 << false;
    }

    void pageFourText()
    {
        QFETCH(int, rows);
        QFETCH(bool, shown);
        QList<Hash> page;
        for (int i = 0; i < rows; ++i)
            page << exerciseRow(QStringLiteral("pm-%1").arg(i), QStringLiteral("chien %1").arg(i));
        QVERIFY(scriptResults("queryExercises", page, "90"));
        searchFor(QStringLiteral("chien"), QStringLiteral("French"));
        QVERIFY(tree().boxes().isEmpty());
        QTest::mouseClick(button("btnPage4"), Qt::LeftButton);
        QCOMPARE(table()->rowCount(), rows);
        QCOMPARE(tree().netCalls(QStringLiteral("queryExercises")).last().hashArg(0).value("PageNum"),
                 QStringLiteral("4"));
        const QString text = WizardTestTree::info(
            QStringLiteral("Not all results are shown. Please narrow your search to see more results."));
        QCOMPARE(tree().boxes(), shown ? QStringList{text} : QStringList());
    }

    // Pages fetched in this search come from the cache; a new search asks again.
    void cachedPages()
    {
        QVERIFY(writeRows("p1.json", {exerciseRow("pm-1", "chien 1")}));
        QVERIFY(writeRows("p2.json", {exerciseRow("pm-2", "chien 2")}));
        QVERIFY(writeRows("p3.json", {exerciseRow("pm-3", "chien 3")}));
        QVERIFY(tree().scriptNet({{"queryExercises", "1"},
                                  {"queryExercises.total", "41"},
                                  {"queryExercises.results", "@p1.json | @p2.json | @p3.json"}}));
        searchFor(QStringLiteral("chien"), QStringLiteral("French"));
        QTest::mouseClick(button("btnPage2"), Qt::LeftButton);
        QCOMPARE(column(1), QStringList{"chien 2"});
        QVERIFY(button("btnPage2")->isFlat());
        QVERIFY(!button("btnPage1")->isFlat());
        QTest::mouseClick(button("btnPage1"), Qt::LeftButton);
        QCOMPARE(column(1), QStringList{"chien 1"});
        QTest::mouseClick(button("btnPage2"), Qt::LeftButton);
        QCOMPARE(column(1), QStringList{"chien 2"});
        QStringList pages;
        for (const auto& call : tree().netCalls(QStringLiteral("queryExercises")))
            pages << call.hashArg(0).value("PageNum");
        QCOMPARE(pages, QStringList({"1", "2"}));

        QTest::mouseClick(button("btnSearch"), Qt::LeftButton);
        QCOMPARE(column(1), QStringList{"chien 3"});
        QCOMPARE(tree().netCalls(QStringLiteral("queryExercises")).size(), 3);
    }

    // A page belongs to the search made, not to what the widgets show now.
    void pageUsesTheLastSearch()
    {
        QVERIFY(scriptResults("queryExercises", {exerciseRow("pm-1", "chien")}, "30"));
        searchFor(QStringLiteral("chien"), QStringLiteral("French"));
        child<QLineEdit>("lEditSearch")->setText(QStringLiteral("chat"));
        languages()->setCurrentIndex(languages()->findText(QStringLiteral("Spanish")));
        QTest::mouseClick(button("btnPage2"), Qt::LeftButton);
        const auto calls = tree().netCalls(QStringLiteral("queryExercises"));
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls.last().hashArg(0), Hash({{"LanguageID", "fra"},
                                                {"ResultsLanguageID", "fra"},
                                                {"MaxResults", "20"},
                                                {"PageNum", "2"},
                                                {"Term", "chien"}}));
    }

    // Rows sorted by a header keep their hidden persistent ids, also when the
    // sorted table is filled again; the chosen row is the one downloaded.
    void sortThenChoose()
    {
        QVERIFY(scriptResults("queryExercises",
                              {exerciseRow("pm-b", "b"), exerciseRow("pm-c", "c"), exerciseRow("pm-a", "a"),
                               exerciseRow("pm-10", "10"), exerciseRow("pm-9", "9")},
                              "30"));
        searchFor(QStringLiteral("x"), QStringLiteral("French"));
        QTest::mouseClick(table()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(table()->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(column(1), QStringList({"9", "10", "a", "b", "c"}));
        for (int row = 0; row < table()->rowCount(); ++row)
            QCOMPARE(table()->item(row, 0)->text(), "pm-" + table()->item(row, 1)->text());

        // A search stopped by a check fills the sorted table again.
        child<QLineEdit>("lEditSearch")->clear();
        QTest::mouseClick(button("btnSearch"), Qt::LeftButton);
        QCOMPARE(tree().boxes().size(), 1);
        QCOMPARE(table()->rowCount(), 5);
        for (int row = 0; row < table()->rowCount(); ++row)
            QCOMPARE(table()->item(row, 0)->text(), "pm-" + table()->item(row, 1)->text());

        QTest::mouseClick(table()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(table()->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
        const int row = int(column(1).indexOf(QStringLiteral("a")));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                          table()->visualItemRect(table()->item(row, 1)).center());
        QVERIFY(button("btnDownload")->isEnabled());
        QTest::mouseClick(button("btnDownload"), Qt::LeftButton);
        const auto downloads = tree().netCalls(QStringLiteral("downloadExercise"));
        QCOMPARE(downloads.size(), 1);
        QCOMPARE(downloads.first().arg(0), QStringLiteral("pm-a"));
    }

    // ---- the download queue ----

    // Three downloads asked for while the first runs go one after another.
    void threeQueuedJobsInOrder()
    {
        // A download starts and returns: the first job runs on while the other two are asked for.
        QVERIFY(threeResults({{"downloadExercise", "1 | 2 | 3"}, {"getDownloadStatus", "10 | 10 | 10 | 10 | 100"}}));
        downloadRow(0);
        downloadRow(1);
        downloadRow(2);
        QCOMPARE(faces(), QStringList({"running", "Queued", "Queued"}));
        QTRY_COMPARE(faces(), QStringList({"complete", "complete", "complete"}));
        QCOMPARE(downloadedIds(), QStringList({qid(1), qid(2), qid(3)}));
        QCOMPARE(studyTerms(), QStringList({"eins", "zwei", "drei"}));
        QVERIFY(!study()->ids().contains(QStringLiteral("0")));
        QVERIFY(study()->isChanged());
        QVERIFY(button("btnStudy")->isEnabled());
        QTest::mouseClick(button("btnStudy"), Qt::LeftButton);
        QCOMPARE(mFixture.host()->tabRefreshes.last(), 1);
    }

    void cancelledWhileQueuedIsPassedOver()
    {
        QVERIFY(threeResults({{"downloadExercise", "1 | 2 | 3"}, {"getDownloadStatus", "10 | 10 | 10 | 10 | 100"}}));
        downloadRow(0);
        downloadRow(1);
        downloadRow(2);
        QCOMPARE(faces(), QStringList({"running", "Queued", "Queued"}));
        QTest::mouseClick(bars().at(1)->findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
        QTRY_COMPARE(faces(), QStringList({"complete", "Cancelled (off)", "complete"}));
        QCOMPARE(downloadedIds(), QStringList({qid(1), qid(3)}));
        QCOMPARE(studyTerms(), QStringList({"eins", "drei"}));
    }

    // "Clear Downloaded" takes the finished bars only; the queue goes on.
    void clearDuringAnActiveJob()
    {
        QVERIFY(threeResults({{"downloadExercise", "1 | 2 | 3"}, {"getDownloadStatus.2", "10 | 20 | 30 | 100"}}));
        downloadRow(0);
        QCOMPARE(faces(), QStringList{"complete"});
        downloadRow(1);
        downloadRow(2);
        QCOMPARE(faces(), QStringList({"complete", "running", "Queued"}));
        QVERIFY(button("btnClear")->isEnabled());
        QTest::mouseClick(button("btnClear"), Qt::LeftButton);
        QCOMPARE(faces(), QStringList({"running", "Queued"}));
        QTRY_COMPARE(faces(), QStringList({"complete", "complete"}));
        QCOMPARE(downloadedIds(), QStringList({qid(1), qid(2), qid(3)}));
        QCOMPARE(studyTerms(), QStringList({"eins", "zwei", "drei"}));
    }

    // A lesson's members go onto the study list in the lesson's order. One
    // member that fails leaves the lesson unstored and adds nothing; the
    // queue goes on with the next job.
    void lessonMembers_data()
    {
        QTest::addColumn<bool>("firstFails");
        QTest::addColumn<QString>("firstFace");
        QTest::addColumn<QString>("firstMessage");
        QTest::newRow("all stored") << false << "complete" << QString();
        QTest::newRow("a member unreadable") << true << "Error"
                                             << "Parsing Error.";
    }

    void lessonMembers()
    {
        QFETCH(bool, firstFails);
        QFETCH(QString, firstFace);
        QFETCH(QString, firstMessage);
        const QString first = qid(1);
        const QString second = qid(2);
        // Members stored already, but the first lesson's second member.
        QVERIFY(!storeExercise(first + QStringLiteral("-m1"), QStringLiteral("un")).isEmpty());
        if (!firstFails)
            QVERIFY(!storeExercise(first + QStringLiteral("-m2"), QStringLiteral("deux")).isEmpty());
        QVERIFY(!storeExercise(second + QStringLiteral("-m1"), QStringLiteral("trois")).isEmpty());
        QVERIFY(!storeExercise(second + QStringLiteral("-m2"), QStringLiteral("quatre")).isEmpty());
        QVERIFY(ScriptedNet::writeText(tree().tree().filePath(QStringLiteral("member.xml")),
                                       QStringLiteral("<message><exercise><term>deux</term></exercise></message>")));
        QVERIFY(writeRows(QStringLiteral("lessons.json"),
                          {lessonRow(first, "premier", 2), lessonRow(second, "second", 2)}));
        QVERIFY(tree().scriptNet(
            {{"queryLessons", "1"}, {"queryLessons.results", "@lessons.json"}, {"getDownloadXml", "@member.xml"}}));
        searchFor(QStringLiteral("x"), QStringLiteral("French"), true);
        QCOMPARE(table()->rowCount(), 2);
        // The second is asked for while the first still fetches a member.
        downloadRow(0);
        downloadRow(1);
        QTRY_COMPARE(faces(), QStringList({firstFace, "complete"}));
        const QStringList expected = firstFails ? QStringList({"trois", "quatre"})
                                                : QStringList({"un", "deux", "trois", "quatre"});
        QCOMPARE(studyTerms(), expected);
        QVERIFY(!study()->ids().contains(QStringLiteral("0")));
        QCOMPARE(storedIdOf(first) > 0, !firstFails);
        QVERIFY(storedIdOf(second) > 0);
        if (firstFails) {
            auto* error = bars().first()->findChild<QPushButton*>(QStringLiteral("btnError"));
            QTest::mouseClick(error, Qt::LeftButton);
            QCOMPARE(tree().boxes().size(), 1);
            QVERIFY2(tree().boxes().first().contains(firstMessage), qPrintable(tree().boxes().first()));
        }
    }

    // An exercise the store refuses is not handed on; the next job still runs.
    void exerciseRefusedByTheStore()
    {
        QVERIFY(threeResults({{"downloadExercise", "1 | 2"}}));
        QVERIFY(StoreRefusal::refuse(tree().tree().filePath(QStringLiteral("vireda.db")), qid(1)));
        downloadRow(0);
        downloadRow(1);
        QTRY_COMPARE(faces(), QStringList({"Error", "complete"}));
        QCOMPARE(downloadedIds(), QStringList({qid(1), qid(2)}));
        QCOMPARE(studyTerms(), QStringList{"zwei"});
        QCOMPARE(storedIdOf(qid(1)), 0);
        QTest::mouseClick(bars().first()->findChild<QPushButton*>(QStringLiteral("btnError")), Qt::LeftButton);
        QCOMPARE(tree().boxes().size(), 1);
        QVERIFY2(tree().boxes().first().contains(QStringLiteral("The download could not be stored.")),
                 qPrintable(tree().boxes().first()));
    }

    // A failed transfer takes the program offline, or the program goes
    // offline while the first job runs: queued jobs never start, also when
    // the running one completes.
    void offlineStopsTheQueue_data()
    {
        QTest::addColumn<bool>("transferFails");
        QTest::addColumn<QStringList>("expectedFaces");
        QTest::addColumn<QStringList>("expectedTerms");
        QTest::newRow("transfer fails") << true << QStringList({"Error", "Error", "Error"}) << QStringList();
        QTest::newRow("offline while the first runs")
            << false << QStringList({"complete", "Error", "Error"}) << QStringList{"eins"};
    }

    void offlineStopsTheQueue()
    {
        QFETCH(bool, transferFails);
        QFETCH(QStringList, expectedFaces);
        QFETCH(QStringList, expectedTerms);
        QVERIFY(threeResults(
            {{"downloadExercise", "1 | 2 | 3"},
             {"getDownloadStatus", transferFails ? "10 | 10 | 10 | 10 | -1" : "10 | 10 | 10 | 10 | 40 | 100"}}));
        downloadRow(0);
        downloadRow(1);
        downloadRow(2);
        QCOMPARE(faces(), QStringList({"running", "Queued", "Queued"}));
        if (!transferFails)
            QVERIFY(QMetaObject::invokeMethod(form(), "moveToOfflineMode"));
        QTRY_COMPARE(faces(), expectedFaces);
        QCOMPARE(downloadedIds(), QStringList{qid(1)});
        QCOMPARE(mFixture.host()->offlineMoves, transferFails ? 1 : 0);
        QVERIFY(!button("btnSearch")->isEnabled());
        QCOMPARE(studyTerms(), expectedTerms);
    }

    // Closing the tab, or signing out (close, then deleteLater), while a
    // download polls cancels it and takes every bar away.
    void closedWhileDownloading_data()
    {
        QTest::addColumn<bool>("signOut");
        QTest::newRow("close") << false;
        QTest::newRow("sign-out") << true;
    }

    void closedWhileDownloading()
    {
        QFETCH(bool, signOut);
        QVERIFY(threeResults({{"downloadExercise", "4 | 5 | 6"}, {"getDownloadStatus", "5"}}));
        QPointer<QWidget> tab(form());
        QTimer::singleShot(50, form(), [&] {
            downloadRow(1);
            downloadRow(2);
        });
        QTimer::singleShot(400, form(), [&] {
            QCloseEvent event;
            mForm->closeEvent(&event);
            QVERIFY(event.isAccepted());
            if (signOut)
                form()->deleteLater();
        });
        QElapsedTimer timer;
        timer.start();
        downloadRow(0);
        QVERIFY(timer.elapsed() < 5000);
        QTRY_VERIFY(signOut ? tab.isNull() : bars().isEmpty());
        if (signOut)
            mForm = nullptr;
        const auto cancels = tree().netCalls(QStringLiteral("cancelDownload"));
        QCOMPARE(cancels.size(), 1);
        QCOMPARE(cancels.first().arg(0), QStringLiteral("4"));
        QCOMPARE(downloadedIds(), QStringList{qid(1)});
        QVERIFY(studyTerms().isEmpty());
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
        const QString folder = QDir(TestTree::distPath()).filePath(QStringLiteral("Translations/Deutsch"));
        QTranslator translator;
        QTranslator shared;
        QVERIFY(translator.load(QStringLiteral("search-Deutsch"), folder));
        QVERIFY(shared.load(QStringLiteral("SharedDialogs-Deutsch"), folder));
        QCoreApplication::installTranslator(&translator);
        QCoreApplication::installTranslator(&shared);
        child<QLineEdit>("lEditSearch")->setText(QStringLiteral("chien"));
        mForm->retranslateView();
        mForm->updateViewLists();
        mForm->refreshData();
        QCOMPARE(mForm->title(), QStringLiteral("Suchen"));
        QCoreApplication::removeTranslator(&translator);
        QCoreApplication::removeTranslator(&shared);
        QCOMPARE(button("btnSearch")->text(), QStringLiteral("Suchen"));
        QCOMPARE(button("btnClear")->text(), QStringLiteral("Geladene entfernen"));
        QCOMPARE(headers(), QStringList({"pmid", "Lernbegriff", "Land", "Ort", "Stimme"}));
        QCOMPARE(languages()->itemText(0), QStringLiteral("Sprache auswählen"));
        QCOMPARE(languages()->itemText(languages()->count() - 1), QStringLiteral("Sprache hinzufügen..."));
        QCOMPARE(child<QLineEdit>("lEditSearch")->text(), QStringLiteral("chien"));
    }

    // "Add Language...": a language added through the wizard becomes the
    // search language; a cancelled wizard brings the last one back.
    void addLanguage_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("accepted") << true << "Italian"
                                  << "ita";
        QTest::newRow("cancelled") << false << "French"
                                   << "fra";
    }

    void addLanguage()
    {
        QFETCH(bool, accept);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        languages()->setCurrentIndex(languages()->findText(QStringLiteral("French")));
        languages()->setCurrentIndex(languages()->count() - 1);
        if (accept) {
            WizardDriver::finishNextWizard(QStringLiteral("Italian"), QStringLiteral("Advanced"));
        } else {
            QTimer::singleShot(0, [] {
                if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    dialog->reject();
            });
        }
        QTRY_COMPARE(languages()->currentText(), shown);
        QCOMPARE(QSettings().value(QStringLiteral("users/ann/SearchLanguage")).toString(), stored);
        QCOMPARE(SignedInUser::currentLanguages().contains(QStringLiteral("Italian")), accept);
    }

    void choiceIsStoredAndKeptOnClose()
    {
        languages()->setCurrentIndex(languages()->findText(QStringLiteral("Spanish")));
        QCloseEvent event;
        mForm->closeEvent(&event);
        QVERIFY(event.isAccepted());
        QCOMPARE(QSettings().value(QStringLiteral("users/ann/SearchLanguage")).toString(), QStringLiteral("spa"));
    }

    void textsOnScreen_data() { ScreenTexts::addLanguageAndFontRows(); }

    // The results' headers, the group boxes, the download bars made before a
    // switch and every other text of the tab show in full at the smallest
    // and largest font; in German none stays English.
    void textsOnScreen()
    {
        QFETCH(bool, german);
        QFETCH(int, pointSize);
        closeForm();
        ScreenTexts::PointSize size(pointSize);
        openForm();
        mFixture.host()->changeFont(pointSize);
        QVERIFY(threeResults({{"downloadExercise", "1 | 2"}, {"getDownloadStatus", "100"}}));
        downloadRow(0);
        QTRY_COMPARE(faces(), QStringList{"complete"});
        // Help shows its word beside the icon, as on the other tabs.
        auto* help = child<QToolButton>("btnHelp");
        QVERIFY(!help->text().isEmpty());
        QCOMPARE(help->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QTRY_VERIFY2(ScreenTexts::cut(form()).isEmpty(), qPrintable(ScreenTexts::cut(form()).join("; ")));
        QVERIFY(scriptResults("queryLessons", {lessonRow("pl-1", "Animaux", 3)}));
        searchFor(QStringLiteral("a"), languages()->itemText(1), true);
        QCOMPARE(table()->rowCount(), 1);
        QTRY_VERIFY2(ScreenTexts::cut(form()).isEmpty(), qPrintable(ScreenTexts::cut(form()).join("; ")));
        if (!german)
            return;

        // The lessons and the finished download bar, then the switch.
        const QList<ScreenTexts::Shown> english = ScreenTexts::shown(form(), true);
        ScreenTexts::German de([] {
            PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"))->releaseResources();
            LanguageComboHelper::reloadCurrentUser();
        });
        mForm->retranslateView();
        mForm->updateViewLists();
        mForm->refreshData();
        const QSet<QString> data{"eins", "ann", "Animaux", "about Animaux", "carla"};
        const QStringList untranslated = ScreenTexts::untranslated(english, ScreenTexts::shown(form(), true),
                                                                   ScreenTexts::sameWords(), data);
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral("; "))));
        QTRY_VERIFY2(ScreenTexts::cut(form()).isEmpty(), qPrintable(ScreenTexts::cut(form()).join("; ")));
        QVERIFY(scriptResults("queryExercises", {exerciseRow("pm-1", "eins")}));
        searchFor(QStringLiteral("x"), languages()->itemText(1));
        QCOMPARE(table()->rowCount(), 1);
        QTRY_VERIFY2(ScreenTexts::cut(form()).isEmpty(), qPrintable(ScreenTexts::cut(form()).join("; ")));
    }
};

QTEST_MAIN(TestFinder)
#include "tst_finder.moc"
