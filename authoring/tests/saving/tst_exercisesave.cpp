#include "AgentProcess.h"
#include "AuthoringTree.h"
#include "CreateExerciseView.h"
#include "CreateSession.h"
#include "ExerciseFields.h"
#include "FailingWrites.h"
#include "FieldTranslation.h"
#include "WizardDriver.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QDir>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Hash = QHash<QString, QString>;

namespace {

const QString kGerman = QStringLiteral("German, Standard");

QString info(const QString& text)
{
    return WizardTestTree::info(text);
}

} // namespace

class TestExerciseSave : public QObject
{
    Q_OBJECT

    AuthoringTree mFixture;

    std::unique_ptr<CreateExerciseView> newView() const { return mFixture.newEditor(); }

    static void record(CreateExerciseView& view)
    {
        QTest::mouseClick(view.btnRecord, Qt::LeftButton);
        QTRY_VERIFY(view.btnPlay->isEnabled());
    }

    // Every stored exercise: its term, with its id.
    static QHash<QString, QString> storedTerms()
    {
        QHash<QString, QString> terms;
        const auto rows = AuthoringTree::store()->search(QStringLiteral("Exercise"),
                                                         {{QStringLiteral("Term"), QString()}});
        for (const Hash& row : rows)
            terms.insert(row.value(QStringLiteral("Id")), row.value(QStringLiteral("Term")));
        return terms;
    }

    // A new exercise "Haus" in German with a translation, saved; its id.
    QString saveNew(CreateExerciseView& view, const QString& term = QStringLiteral("Haus"))
    {
        view.cmbLanguages->setCurrentIndex(1);
        view.tEditTerm->setPlainText(term);
        record(view);
        view.addField(QStringLiteral("Translation"), {{"Value", "house"}, {"Language", "French"}});
        const QStringList before = storedTerms().keys();
        if (view.saveSession() != 1)
            return {};
        const QStringList after = storedTerms().keys();
        for (const QString& id : after) {
            if (!before.contains(id))
                return id;
        }
        return {};
    }

    std::unique_ptr<ZoExercise> load(const QString& id)
    {
        return std::unique_ptr<ZoExercise>(AuthoringTree::store()->getExercise(QStringLiteral("Exercise"), id));
    }

private slots:
    void initTestCase() { QVERIFY(mFixture.setUp()); }
    void cleanupTestCase() { mFixture.tearDown(); }

    void init()
    {
        QVERIFY(mFixture.reset());
        AuthoringTree::audioObject()->setProperty("recordMs", 200);
    }

    void newExerciseIsStoredWithItsId()
    {
        auto view = newView();
        QSignalSpy saved(view.get(), SIGNAL(saveExercise(ZoExercise*)));
        const QString id = saveNew(*view, QStringLiteral("  Haus  "));
        QVERIFY(!id.isEmpty());
        QCOMPARE(mFixture.tree().boxes(), QStringList());
        QCOMPARE(saved.count(), 1);

        auto stored = load(id);
        QVERIFY(stored);
        QCOMPARE(stored->term(), QStringLiteral("Haus"));
        QCOMPARE(stored->language(), kGerman);
        QCOMPARE(stored->voice(), QStringLiteral("maria"));
        QCOMPARE(stored->creator(), QStringLiteral("maria"));
        QCOMPARE(stored->pId(), QStringLiteral("0"));
        QCOMPARE(stored->mediaPath(), QStringLiteral("Content"));
        QVERIFY(QFileInfo::exists(mFixture.contentPath(stored->mediaName())));
        QCOMPARE(stored->fields().values(QStringLiteral("Translation")).size(), 1);

        // Cleared for the next exercise: fields stay, emptied; the recording is gone.
        QCOMPARE(view->tEditTerm->toPlainText(), QString());
        QCOMPARE(view->fieldWidgets().size(), 1);
        QCOMPARE(view->fieldWidgets().first()->values(), Hash());
        QVERIFY(!view->btnSave->isEnabled());
        QVERIFY(!view->isModified());
        QVERIFY(!QFileInfo::exists(mFixture.contentPath(QStringLiteral("AudioTemp.tmp"))));

        QCOMPARE(view->sessionPage()->ids(), QStringList{id});
    }

    void refusedSaves_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<QString>("fieldLanguage");
        QTest::addColumn<QString>("message");
        QTest::newRow("no term") << "" << 1 << true << ""
                                 << "You must supply a Study Term to save this Exercise.";
        QTest::newRow("blank term") << "  \n " << 1 << true << ""
                                    << "You must supply a Study Term to save this Exercise.";
        QTest::newRow("no language") << "Haus" << 0 << true << ""
                                     << "You must select a language for this Study Term.";
        QTest::newRow("no recording") << "Haus" << 1 << false << ""
                                      << "You must supply a recording to save this Exercise.";
        QTest::newRow("translation without language") << "Haus" << 1 << true << "Select Language"
                                                      << "Please select a language for the Translation.";
    }

    void refusedSaves()
    {
        QFETCH(QString, term);
        QFETCH(int, language);
        QFETCH(bool, recording);
        QFETCH(QString, fieldLanguage);
        QFETCH(QString, message);
        auto view = newView();
        view->cmbLanguages->setCurrentIndex(language);
        view->tEditTerm->setPlainText(term);
        if (recording)
            record(*view);
        if (!fieldLanguage.isEmpty())
            view->addField(QStringLiteral("Translation"), {{"Value", "house"}, {"Language", fieldLanguage}});
        const auto before = storedTerms();
        QCOMPARE(view->saveSession(), 0);
        QCOMPARE(mFixture.tree().boxes(), QStringList{info(message)});
        QCOMPARE(storedTerms(), before);
        QCOMPARE(view->tEditTerm->toPlainText(), term);
    }

    void maybeSaveYesSaves_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("newRows");
        QTest::newRow("complete exercise is stored") << true << 1 << 1;
        QTest::newRow("refused save keeps the user here") << false << 0 << 0;
    }

    void maybeSaveYesSaves()
    {
        QFETCH(bool, recording);
        QFETCH(int, result);
        QFETCH(int, newRows);
        auto view = newView();
        view->cmbLanguages->setCurrentIndex(1);
        view->tEditTerm->setPlainText(QStringLiteral("Haus"));
        if (recording)
            record(*view);
        const auto before = storedTerms();
        mFixture.tree().answerBoxes({0});
        QCOMPARE(view->maybeSave(), result);
        QCOMPARE(storedTerms().size(), before.size() + newRows);
        QStringList expected{
            WizardTestTree::box(MessageBoxHelper::Question,
                                QStringLiteral("Do you want to save the changes made to the Exercise?"),
                                {QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel")})};
        if (!recording)
            expected << info(QStringLiteral("You must supply a recording to save this Exercise."));
        QCOMPARE(mFixture.tree().boxes(), expected);
    }

    void noSignedInUserSaysWhy()
    {
        auto view = newView();
        view->cmbLanguages->setCurrentIndex(1);
        view->tEditTerm->setPlainText(QStringLiteral("Haus"));
        record(*view);
        AuthoringTree::users()->clearCurrentUser();
        const auto before = storedTerms();
        QCOMPARE(view->saveSession(), 0);
        QCOMPARE(mFixture.tree().boxes(),
                 QStringList{info(QStringLiteral("You must be signed in to save this Exercise."))});
        QCOMPARE(storedTerms(), before);
    }

    void noStoreIsAFailedSave()
    {
        TestTree& tree = mFixture.tree().tree();
        const QString link = tree.filePath(QStringLiteral("Plugins_dll/Managers/Storekeeper.so"));
        const QString target = QFileInfo(link).symLinkTarget();
        QVERIFY(tree.removePlugin(QStringLiteral("Managers"), QStringLiteral("Storekeeper.so")));
        auto view = newView();
        QVERIFY(tree.addPlugin(target, QStringLiteral("Managers")));
        const auto before = storedTerms();
        view->cmbLanguages->setCurrentIndex(1);
        view->tEditTerm->setPlainText(QStringLiteral("Haus"));
        record(*view);
        QCOMPARE(view->saveSession(), 0);
        QCOMPARE(mFixture.tree().boxes(),
                 QStringList{info(QStringLiteral("Unknown error.  Exercise could not be saved."))});
        QCOMPARE(storedTerms(), before);
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Haus"));
        QVERIFY(view->btnSave->isEnabled());
    }

    void failedWriteSaysWhy_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("reason");
        QTest::newRow("disk full") << "full"
                                   << "The disk is full.  Exercise could not be saved.\n\n"
                                      "Please free some space on it, then save again.";
        QTest::newRow("database read-only")
            << "readonly"
            << "The local database cannot be written: the file or its folder is read-only.  "
               "Exercise could not be saved.\n\n"
               "Please make sure that you may write to them, then start Vireda again.";
    }

    // The cause SQLite reports is named, and the recording copied for the
    // failed save does not stay behind in "Content".
    void failedWriteSaysWhy()
    {
        QFETCH(QString, cause);
        QFETCH(QString, reason);
        auto view = newView();
        view->cmbLanguages->setCurrentIndex(1);
        view->tEditTerm->setPlainText(QStringLiteral("Haus"));
        record(*view);
        const auto before = storedTerms();
        const QStringList content = QDir(mFixture.contentPath(QString())).entryList(QDir::Files | QDir::Hidden);

        const bool full = cause == QLatin1String("full");
        // A long note needs pages of its own, which the full file cannot give.
        if (full)
            view->addField(QStringLiteral("Notes"),
                           {{"Value", QString(6000, QLatin1Char('n'))}, {"Language", kGerman}});
        int result = -1;
        {
            FailingWrites failing(full ? FailingWrites::DiskFull : FailingWrites::ReadOnly);
            QVERIFY(failing.isValid());
            result = view->saveSession();
        }
        QCOMPARE(result, 0);
        QCOMPARE(mFixture.tree().boxes(), QStringList{info(reason)});
        QCOMPARE(storedTerms(), before);
        QCOMPARE(QDir(mFixture.contentPath(QString())).entryList(QDir::Files | QDir::Hidden), content);
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Haus"));
        QVERIFY(view->btnSave->isEnabled());
    }

    // A real full disk in the saving process: the preloaded library makes
    // writes under the tree fail with ENOSPC as SQLite writes its pages.
    void fullDiskLosesNothing()
    {
        TestTree tree;
        QVERIFY(tree.isValid());
        QVERIFY(tree.removePlugin(QStringLiteral("Managers"), QStringLiteral("Courier.so")));
        QVERIFY(tree.addPlugin(QStringLiteral("shell/ScriptedNetManager.so"), QStringLiteral("Managers"),
                               QStringLiteral("Courier.so")));
        QVERIFY(tree.removePlugin(QStringLiteral("Managers"), QStringLiteral("ZoAudio.so")));
        QVERIFY(tree.addPlugin(QStringLiteral("Managers/ZoAudio.so"), QStringLiteral("Managers")));
        const QString db = tree.filePath(QStringLiteral("vireda.db"));
        QVERIFY(TestDatabase::createFile(db));
        QVERIFY(ScriptedNet::writeScript(tree.filePath(QStringLiteral("netscript.ini")), {}));
        // The log lies off the full disk, so that the box can be written.
        QTemporaryDir logs;
        const QString boxLog = logs.filePath(QStringLiteral("boxes.log"));

        auto run = [&](const QString& role, bool full) {
            AgentProcess agent(tree, QString(), QStringLiteral("offscreen"));
            agent.setEnvironment(QStringLiteral("VIREDA_NET_SCRIPT"), tree.filePath(QStringLiteral("netscript.ini")));
            agent.setEnvironment(QStringLiteral("VIREDA_NET_LOG"), tree.filePath(QStringLiteral("netcalls.log")));
            agent.setEnvironment(QStringLiteral("VIREDA_MSGBOX_LOG"), boxLog);
            agent.setEnvironment(QStringLiteral("VIREDA_MSGBOX_ANSWERS"), QString());
            if (full) {
                agent.setEnvironment(QStringLiteral("LD_PRELOAD"),
                                     TestTree::testPluginPath() + QStringLiteral("/preload/libvireda_full_disk.so"));
                agent.setEnvironment(QStringLiteral("VIREDA_FULL_DISK_PATH"), tree.path());
                // Under AddressSanitizer its runtime need not come first: the library has no sanitizer of its own.
                const QString asan = qEnvironmentVariable("ASAN_OPTIONS");
                agent.setEnvironment(QStringLiteral("ASAN_OPTIONS"),
                                     asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("verify_asan_link_order=0"));
            }
            agent.run(QStringLiteral(AGENT_EXECUTABLE), {role}, 60000);
            return agent.failure(3);
        };
        const auto boxes = [&] {
            QFile file(boxLog);
            return file.open(QIODevice::ReadOnly)
                       ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                       : QStringList();
        };
        // The database holds what it should and every sound in "Content" is a stored exercise's.
        const auto check = [&](const QStringList& terms) {
            QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("afterwards"));
            file.setDatabaseName(db);
            QVERIFY(file.open());
            {
                QSqlQuery q(file);
                QVERIFY(q.exec(QStringLiteral("pragma integrity_check")) && q.next());
                QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
                // Exercises with their term and sound; no term or sound row of a failed save.
                QVERIFY(q.exec(QStringLiteral("select mv, mmfn from v_e order by mv")));
                QStringList stored;
                QStringList sounds;
                while (q.next()) {
                    stored << q.value(0).toString();
                    sounds << q.value(1).toString();
                }
                QCOMPARE(stored, terms);
                QVERIFY(q.exec(QStringLiteral("select (select count(*) from tm where tmttmtid = 1), "
                                              "(select count(*) from mm)"))
                        && q.next());
                QCOMPARE(q.value(0).toInt(), terms.size());
                QCOMPARE(q.value(1).toInt(), terms.size());
                sounds.sort();
                QStringList files =
                    QDir(tree.filePath(QStringLiteral("Content"))).entryList({QStringLiteral("*.wav")}, QDir::Files);
                files.sort();
                QCOMPARE(files, sounds);
            }
            file.close();
            file = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("afterwards"));
        };

        QString failure = run(QStringLiteral("fullDisk"), true);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(boxes(), QStringList{info(QStringLiteral("The disk is full.  Exercise could not be saved.\n\n"
                                                          "Please free some space on it, then save again."))});
        check({QStringLiteral("Haus")});
        if (QTest::currentTestFailed())
            return;

        failure = run(QStringLiteral("afterRestart"), false);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(boxes().size(), 1);
        check({QStringLiteral("Baum"), QStringLiteral("Haus")});
    }

    void storedExercise_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("newRows");
        QTest::addColumn<bool>("overwritten");
        const QString question = QStringLiteral("question");
        QTest::newRow("unchanged") << "none" << QList<int>{} << "You haven't made any changes!" << 0 << 0 << false;
        QTest::newRow("field, save as new") << "field" << QList<int>{0} << question << 1 << 1 << false;
        QTest::newRow("field, overwrite") << "field" << QList<int>{1} << question << 1 << 0 << true;
        QTest::newRow("field, cancel") << "field" << QList<int>{2} << question << 0 << 0 << false;
        QTest::newRow("field, box closed") << "field" << QList<int>{-1} << question << 0 << 0 << false;
        QTest::newRow("term changed: new without asking") << "term" << QList<int>{} << "" << 1 << 1 << false;
        QTest::newRow("language changed, old recording")
            << "language" << QList<int>{} << "Please supply a new recording for this Exercise." << 0 << 0 << false;
        QTest::newRow("language changed, new recording") << "language+record" << QList<int>{} << "" << 1 << 1 << false;
    }

    void storedExercise()
    {
        QFETCH(QString, change);
        QFETCH(QList<int>, answers);
        QFETCH(QString, message);
        QFETCH(int, result);
        QFETCH(int, newRows);
        QFETCH(bool, overwritten);
        auto view = newView();
        const QString id = saveNew(*view);
        QVERIFY(!id.isEmpty());
        auto original = load(id);
        QVERIFY(view->openSession(original.get()));
        QVERIFY(!view->isModified());
        QCOMPARE(view->currentId(), id);

        if (change.startsWith(QLatin1String("field"))) {
            view->addField(QStringLiteral("Notes"), {{"Value", "a note"}, {"Language", kGerman}});
        } else if (change == QLatin1String("term")) {
            view->tEditTerm->setPlainText(QStringLiteral("Häuser"));
        } else if (change.startsWith(QLatin1String("language"))) {
            view->cmbLanguages->setCurrentIndex(2);
            if (change.endsWith(QLatin1String("record")))
                record(*view);
        }
        QFile::remove(mFixture.tree().boxLogPath());
        mFixture.tree().answerBoxes(answers);
        const auto before = storedTerms();
        QCOMPARE(view->saveSession(), result);

        QStringList expectedBoxes;
        if (message == QLatin1String("question"))
            expectedBoxes << WizardTestTree::box(
                MessageBoxHelper::Question,
                QStringLiteral("Do you want to save this as a new Exercise or overwrite the existing one?"),
                {QStringLiteral("Save as New"), QStringLiteral("Overwrite"), QStringLiteral("Cancel")});
        else if (!message.isEmpty())
            expectedBoxes << info(message);
        QCOMPARE(mFixture.tree().boxes(), expectedBoxes);

        const auto after = storedTerms();
        QCOMPARE(after.size(), before.size() + newRows);
        auto stored = load(id);
        QVERIFY(stored);
        QCOMPARE(stored->fields().contains(QStringLiteral("Notes")), overwritten);
        if (overwritten) {
            QCOMPARE(stored->mediaId(), original->mediaId());
            QCOMPARE(stored->fields().values(QStringLiteral("Translation")).size(), 1);
        }
    }

    void savedExerciseReopensUnchanged()
    {
        auto view = newView();
        const QString id = saveNew(*view);
        QCOMPARE(view->sessionPage()->ids(), QStringList{id});
        view->sessionPage()->tblSession->selectRow(0);
        QCOMPARE(view->sessionPage()->selectedId(), id);
        view->sessionPage()->openExercise();
        QCOMPARE(view->currentId(), id);
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Haus"));
        QCOMPARE(view->saveSession(), 0);
        QCOMPARE(mFixture.tree().boxes(), QStringList{info(QStringLiteral("You haven't made any changes!"))});
    }

    void sessionListAsksBeforeOpeningAnother()
    {
        auto view = newView();
        const QString first = saveNew(*view, QStringLiteral("eins"));
        const QString second = saveNew(*view, QStringLiteral("zwei"));
        QCOMPARE(view->sessionPage()->ids(), (QStringList{first, second}));
        view->tEditTerm->setPlainText(QStringLiteral("unsaved"));
        view->sessionPage()->tblSession->selectRow(0);
        mFixture.tree().answerBoxes({2});
        QTest::keyClick(view->sessionPage()->tblSession, Qt::Key_Return);
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("unsaved"));
        QCOMPARE(mFixture.tree().boxes().size(), 1);

        mFixture.tree().answerBoxes({1});
        QTest::keyClick(view->sessionPage()->tblSession, Qt::Key_Return);
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("eins"));
        QCOMPARE(view->currentId(), first);
    }

    void sessionListDropsChangedAndDeletedRows()
    {
        auto view = newView();
        const QString kept = saveNew(*view, QStringLiteral("bleibt"));
        const QString changed = saveNew(*view, QStringLiteral("ändert"));
        const QString deleted = saveNew(*view, QStringLiteral("geht"));
        QCOMPARE(view->sessionPage()->ids(), (QStringList{kept, changed, deleted}));
        auto source = load(changed);
        source->setTerm(QStringLiteral("anders"));
        QVERIFY(AuthoringTree::store()->overwrite(QStringLiteral("Exercise"), changed, source.get()));
        QVERIFY(AuthoringTree::store()->remove(QStringLiteral("Exercise"), {deleted}));
        view->customRefresh();
        QCOMPARE(view->sessionPage()->ids(), QStringList{kept});
    }

    void minusIconRemovesRow()
    {
        auto view = newView();
        const QString first = saveNew(*view, QStringLiteral("eins"));
        const QString second = saveNew(*view, QStringLiteral("zwei"));
        CreateSession* page = view->sessionPage();
        page->tblSessionClicked(0, 1, Qt::LeftButton, QPoint(15, 3));
        page->tblSessionClicked(0, 1, Qt::RightButton, QPoint(5, 3));
        page->tblSessionClicked(0, 2, Qt::LeftButton, QPoint(5, 3));
        QCOMPARE(page->ids(), (QStringList{first, second}));
        page->tblSessionClicked(0, 1, Qt::LeftButton, QPoint(5, 3));
        QCOMPARE(page->ids(), QStringList{second});
        QCOMPARE(page->tblSession->rowCount(), 1);
        QCOMPARE(page->tblSession->text(0, 0), second);
    }

    void saveAsLessonStoresTheListInOrder()
    {
        auto view = newView();
        const QString a = saveNew(*view, QStringLiteral("a"));
        const QString b = saveNew(*view, QStringLiteral("b"));
        const QString c = saveNew(*view, QStringLiteral("c"));
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* title = dialog->findChild<QLineEdit*>(QStringLiteral("lEditTitle"));
            QVERIFY(title);
            title->setText(QStringLiteral("Drei Wörter"));
            QMetaObject::invokeMethod(dialog, "btnOkClicked");
        });
        QMetaObject::invokeMethod(view->sessionPage(), "saveAsLesson");
        QCOMPARE(mFixture.tree().boxes(), QStringList{info(QStringLiteral("Lesson Saved."))});
        QVERIFY(view->sessionPage()->ids().isEmpty());
        const auto lessons = AuthoringTree::store()->search(QStringLiteral("Lesson"), {{"Title", "Drei Wörter"}});
        QCOMPARE(lessons.size(), 1);
        QCOMPARE(lessons.first().value("EId1"), a);
        QCOMPARE(lessons.first().value("EId2"), b);
        QCOMPARE(lessons.first().value("EId3"), c);
    }
};

QTEST_MAIN(TestExerciseSave)
#include "tst_exercisesave.moc"
