// Saves exercises in a ready-to-run tree prepared by ExerciseSaveTest, in a
// process of its own: "fullDisk" (run with the full-disk library preloaded)
// saves one exercise, then saves a second with the disk full; "afterRestart"
// finds the first and saves the second once there is room again.

#include "CreateExerciseView.h"
#include "IDbManager.h"
#include "PluginLocator.h"
#include "SettingsStore.h"
#include "SignedInUser.h"
#include "TestHost.h"
#include "WizardTestTree.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QtTest>

#include <dlfcn.h>

#include <memory>

class ExerciseSaveAgent : public QObject
{
    Q_OBJECT

    TestHost mHost;

    static IDbManager* store()
    {
        return PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    }

    static QStringList storedTerms()
    {
        QStringList terms;
        for (const auto& row : store()->search(QStringLiteral("Exercise"), {{QStringLiteral("Term"), QString()}}))
            terms << row.value(QStringLiteral("Term"));
        terms.sort();
        return terms;
    }

    static QStringList content() { return QDir(QStringLiteral("Content")).entryList(QDir::Files | QDir::Hidden); }

    std::unique_ptr<CreateExerciseView> recorded(const QString& term)
    {
        auto view = std::make_unique<CreateExerciseView>(nullptr);
        view->setMainWindow(&mHost);
        view->newSession();
        view->customRefresh();
        view->show();
        view->cmbLanguages->setCurrentIndex(1);
        view->tEditTerm->setPlainText(term);
        QTest::mouseClick(view->btnRecord, Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return view->btnPlay->isEnabled(); }, 10000))
            return nullptr;
        return view;
    }

private slots:
    void initTestCase()
    {
        SettingsStore::configure();
        QSettings().setValue(QStringLiteral("software/version"), WizardTestTree::title());
        QVERIFY(store());
        QVERIFY(SignedInUser::signIn(QStringLiteral("maria"), {QStringLiteral("German, Standard")}));
        QObject* audio = PluginLocator::instance(QStringLiteral("plugins_dll/Managers/ZoAudio.dll"));
        QVERIFY(audio);
        audio->setProperty("recordMs", 200);
    }

    void cleanupTestCase()
    {
        // The store closes its database while the application object lives.
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    }

    void fullDisk()
    {
        const auto setFree = reinterpret_cast<void (*)(long long)>(dlsym(RTLD_DEFAULT, "vireda_full_disk_set_free"));
        QVERIFY2(setFree, "the full-disk library is not preloaded");
        auto first = recorded(QStringLiteral("Haus"));
        QVERIFY(first);
        QCOMPARE(first->saveSession(), 1);

        auto second = recorded(QStringLiteral("Baum"));
        QVERIFY(second);
        const QStringList before = content();
        // Room for the copy of the recording, not for the database's pages.
        setFree(QFileInfo(QStringLiteral("Content/AudioTemp.tmp")).size() + 1024);
        const int saved = second->saveSession();
        setFree(-1);
        QCOMPARE(saved, 0);
        QCOMPARE(content(), before);
        QCOMPARE(second->tEditTerm->toPlainText(), QStringLiteral("Baum"));
        QVERIFY(second->btnSave->isEnabled());
        QCOMPARE(storedTerms(), QStringList{QStringLiteral("Haus")});
    }

    void afterRestart()
    {
        QCOMPARE(storedTerms(), QStringList{QStringLiteral("Haus")});
        auto view = recorded(QStringLiteral("Baum"));
        QVERIFY(view);
        QCOMPARE(view->saveSession(), 1);
        QCOMPARE(storedTerms(), (QStringList{QStringLiteral("Baum"), QStringLiteral("Haus")}));
    }
};

QTEST_MAIN(ExerciseSaveAgent)
#include "exercisesave_agent.moc"
