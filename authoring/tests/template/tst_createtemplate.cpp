#include "AuthoringTree.h"
#include "ContentGate.h"
#include "CreateExerciseView.h"
#include "CreateSession.h"
#include "CreateTemplate.h"
#include "IFieldInfo.h"
#include "ImportSteps.h"
#include "MessageBoxHelper.h"
#include "TermListSteps.h"
#include "ZoExercise.h"
#include "ZoWordList.h"

#include <QApplication>
#include <QLineEdit>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTranslator>
#include <QtTest>

#include <memory>

using Hash = QHash<QString, QString>;

namespace {

const QString kGerman = QStringLiteral("German, Standard");

QString info(const QString& text)
{
    return WizardTestTree::info(text);
}

QDir listDir()
{
    return ZoWordList::listDirectory();
}

// Accepts the lesson dialog that the next step opens, with this title.
void acceptNextLessonDialog(const QString& title)
{
    QTimer::singleShot(0, [title] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("lEditTitle"));
        QVERIFY(edit);
        edit->setText(title);
        QMetaObject::invokeMethod(dialog, "btnOkClicked");
    });
}

} // namespace

class TestCreateTemplate : public QObject
{
    Q_OBJECT

    AuthoringTree mFixture;

    // A list file of these German terms; false when it could not be written.
    static bool writeList(const QString& name, const QStringList& terms)
    {
        return TermListSteps::writeList(name, terms, kGerman);
    }

    // bytes in a new file at path (its folder made), then made size long
    // (a sparse end) when size is above 0.
    static bool writeSparse(const QString& path, const QByteArray& bytes, qint64 size)
    {
        QFile file(path);
        return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly)
               && file.write(bytes) == bytes.size() && (size <= 0 || file.resize(size));
    }

    static std::unique_ptr<ZoWordList> readList(const QString& name) { return ZoWordList::readFile(listDir(), name); }

    // The page chooses the list named name as a user does.
    static void choose(CreateTemplate* page, const QString& name)
    {
        QVERIFY2(TermListSteps::choose(page, name), qPrintable(name));
    }

    static void recordAndSave(CreateExerciseView& view)
    {
        QTest::mouseClick(view.btnRecord, Qt::LeftButton);
        QTRY_VERIFY(view.btnPlay->isEnabled());
        QCOMPARE(view.saveSession(), 1);
    }

    static QStringList doneRows(CreateTemplate* page)
    {
        QStringList rows;
        for (int row = 0; row < page->tblTemplate->rowCount(); ++row) {
            const bool marked = !page->tblTemplate->pixmap(row, CreateTemplate::ColDone).isNull();
            const bool id = !page->tblTemplate->text(row, CreateTemplate::ColId).isEmpty();
            rows << QStringLiteral("%1%2").arg(marked ? "x" : "-", id == marked ? "" : "!");
        }
        return rows;
    }

    static QStringList ids(ZoWordList& list)
    {
        QStringList result;
        for (int i = 0; i < list.exerciseCount(); ++i)
            result << list.exerciseAt(i)->id();
        return result;
    }

private slots:
    void initTestCase() { QVERIFY(mFixture.setUp()); }
    void cleanupTestCase() { mFixture.tearDown(); }

    void init()
    {
        QVERIFY(mFixture.reset());
        AuthoringTree::audioObject()->setProperty("recordMs", 150);
        listDir().removeRecursively();
    }

    void choosingAListShowsItAndOpensTheFirstTerm()
    {
        QVERIFY(writeList(QStringLiteral("Tiere"), {"Hund", "Katze", "Maus"}));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Tiere"));
        QCOMPARE(page->tblTemplate->rowCount(), 3);
        QCOMPARE(page->tblTemplate->text(1, CreateTemplate::ColTerm), QStringLiteral("Katze"));
        QCOMPARE(page->tblTemplate->text(1, CreateTemplate::ColLanguage), kGerman);
        QCOMPARE(doneRows(page), (QStringList{"-", "-", "-"}));
        QVERIFY(page->loadNextChecked());
        QVERIFY(page->btnDelete->isEnabled());
        QCOMPARE(page->rowUnderEdit(), 0);
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Hund"));
        QCOMPARE(view->cmbLanguages->currentText(), kGerman);
        QCOMPARE(mFixture.tree().boxes(), QStringList());

        // The placeholder closes the list and empties the page.
        page->cmbTemplateList->setCurrentIndex(0);
        emit page->cmbTemplateList->activated(0);
        QCOMPARE(page->tblTemplate->rowCount(), 0);
        QVERIFY(!page->list());
        QVERIFY(!page->loadNextChecked());
        QCOMPARE(page->rowUnderEdit(), -1);
        QVERIFY(!page->btnDelete->isEnabled());
    }

    // Each step opens a row (or keeps the one loaded), records and saves it;
    // then the row loaded next is compared.
    void loadNextAfterSaving_data()
    {
        QTest::addColumn<QList<int>>("recorded");
        QTest::addColumn<QStringList>("done");
        QTest::addColumn<int>("next");
        QTest::newRow("in order") << QList<int>{0, 1} << QStringList{"x", "x", "-", "-"} << 2;
        QTest::newRow("last row goes to the first open row") << QList<int>{3} << QStringList{"-", "-", "-", "x"} << 0;
        QTest::newRow("recorded rows are skipped") << QList<int>{2, 1} << QStringList{"-", "x", "x", "-"} << 3;
        QTest::newRow("wraps past recorded rows") << QList<int>{0, 3, 1} << QStringList{"x", "x", "-", "x"} << 2;
        QTest::newRow("all done loads nothing") << QList<int>{0, 1, 2, 3} << QStringList{"x", "x", "x", "x"} << 3;
    }

    void loadNextAfterSaving()
    {
        QFETCH(QList<int>, recorded);
        QFETCH(QStringList, done);
        QFETCH(int, next);
        const QStringList terms{"eins", "zwei", "drei", "vier"};
        QVERIFY(writeList(QStringLiteral("Zahlen"), terms));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Zahlen"));
        for (int row : recorded) {
            if (page->rowUnderEdit() != row) {
                page->tblTemplate->setCurrentCell(row, CreateTemplate::ColTerm);
                page->openExercise();
            }
            QCOMPARE(page->rowUnderEdit(), row);
            QCOMPARE(view->tEditTerm->toPlainText(), terms.at(row));
            recordAndSave(*view);
        }
        QCOMPARE(doneRows(page), done);
        QCOMPARE(page->rowUnderEdit(), next);
        QCOMPARE(view->tEditTerm->toPlainText(), terms.at(next));
        QCOMPARE(mFixture.tree().boxes(), QStringList());
    }

    // The form may be deleted without a close (sign-out): each mark is on disk already.
    void marksSurviveDeletionWithoutClose()
    {
        QVERIFY(writeList(QStringLiteral("Farben"), {"rot", "gelb", "blau"}));
        QStringList saved;
        {
            auto view = mFixture.newEditor();
            CreateTemplate* page = view->templatePage();
            choose(page, QStringLiteral("Farben"));
            recordAndSave(*view);
            recordAndSave(*view);
            saved << page->tblTemplate->text(0, CreateTemplate::ColId)
                  << page->tblTemplate->text(1, CreateTemplate::ColId) << QString();
            QVERIFY(!saved.at(0).isEmpty() && !saved.at(1).isEmpty());
        }
        auto list = readList(QStringLiteral("Farben"));
        QVERIFY(list);
        QCOMPARE(ids(*list), saved);
        QCOMPARE(list->exerciseAt(1)->voice(), AuthoringTree::userName());

        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Farben"));
        QCOMPARE(doneRows(page), (QStringList{"x", "x", "-"}));
        QCOMPARE(page->tblTemplate->text(0, CreateTemplate::ColVoice), AuthoringTree::userName());
    }

    // Opening something that did not come from the list ends the link to its row.
    void otherObjectsStopLoadingNext_data()
    {
        QTest::addColumn<bool>("fromSession");
        QTest::newRow("exercise from the session list") << true;
        QTest::newRow("new exercise") << false;
    }

    void otherObjectsStopLoadingNext()
    {
        QFETCH(bool, fromSession);
        QVERIFY(writeList(QStringLiteral("Obst"), {"Apfel", "Birne"}));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Obst"));
        recordAndSave(*view);
        QCOMPARE(page->rowUnderEdit(), 1);
        if (fromSession) {
            CreateSession* session = view->sessionPage();
            session->tblSession->setCurrentCell(0, 1);
            session->tableSelectionChanged(session->tblSession);
            session->openExercise();
            QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Apfel"));
        } else {
            view->newSession();
        }
        QCOMPARE(page->rowUnderEdit(), -1);
        view->tEditTerm->setPlainText(QStringLiteral("Kirsche"));
        view->cmbLanguages->setCurrentIndex(1);
        recordAndSave(*view);
        QCOMPARE(doneRows(page), (QStringList{"x", "-"}));
        QCOMPARE(page->tblTemplate->text(1, CreateTemplate::ColTerm), QStringLiteral("Birne"));
        auto list = readList(QStringLiteral("Obst"));
        QVERIFY(list);
        QCOMPARE(list->exerciseAt(1)->term(), QStringLiteral("Birne"));
        QCOMPARE(list->exerciseAt(1)->id(), QString());
    }

    void saveAsLesson_data()
    {
        QTest::addColumn<int>("recordCount");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("every term recorded") << 3 << QStringList();
        QTest::newRow("two of three recorded") << 2 << QStringList{"drei"};
    }

    void saveAsLesson()
    {
        QFETCH(int, recordCount);
        QFETCH(QStringList, left);
        QVERIFY(writeList(QStringLiteral("Lektion"), {"eins", "zwei", "drei"}));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Lektion"));
        QStringList recorded;
        for (int i = 0; i < recordCount; ++i) {
            recordAndSave(*view);
            recorded << page->tblTemplate->text(i, CreateTemplate::ColId);
        }
        const int hostUpdates = mFixture.host()->uploadCountUpdates;
        acceptNextLessonDialog(QStringLiteral("Aus der Liste %1").arg(recordCount));
        page->saveAsLesson();
        QCOMPARE(mFixture.tree().boxes(), QStringList{info(QStringLiteral("Lesson Saved."))});
        QCOMPARE(mFixture.host()->uploadCountUpdates, hostUpdates + 1);

        const auto lessons = AuthoringTree::store()->search(QStringLiteral("Lesson"),
                                                            {{"Title",
                                                              QStringLiteral("Aus der Liste %1").arg(recordCount)}});
        QCOMPARE(lessons.size(), 1);
        for (int i = 0; i < recorded.size(); ++i)
            QCOMPARE(lessons.first().value(QStringLiteral("EId%1").arg(i + 1)), recorded.at(i));

        const bool fileLeft = QFileInfo::exists(listDir().filePath(QStringLiteral("Lektion.xml")));
        QCOMPARE(fileLeft, !left.isEmpty());
        QCOMPARE(page->rowUnderEdit(), -1);
        QVERIFY(!page->btnSaveAsLesson->isEnabled());
        if (left.isEmpty()) {
            QVERIFY(!page->list());
            QCOMPARE(page->tblTemplate->rowCount(), 0);
            QCOMPARE(page->cmbTemplateList->currentIndex(), 0);
            QCOMPARE(page->cmbTemplateList->findText(QStringLiteral("Lektion")), -1);
            return;
        }
        QStringList shown;
        for (int row = 0; row < page->tblTemplate->rowCount(); ++row)
            shown << page->tblTemplate->text(row, CreateTemplate::ColTerm);
        QCOMPARE(shown, left);
        auto list = readList(QStringLiteral("Lektion"));
        QVERIFY(list);
        QCOMPARE(list->exerciseCount(), left.size());
        QCOMPARE(list->exerciseAt(0)->term(), left.first());
        QCOMPARE(view->tEditTerm->toPlainText(), QString());
        QVERIFY(!page->btnLoad->isEnabled());
    }

    void listWithoutRecordingsIsNoLesson()
    {
        QVERIFY(writeList(QStringLiteral("Leer"), {"eins"}));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Leer"));
        page->saveAsLesson();
        QCOMPARE(mFixture.tree().boxes(),
                 QStringList{
                     info(QStringLiteral("A Lesson must contain at least one Exercise.  Lesson could not be saved."))});
        QVERIFY(!page->btnSaveAsLesson->isEnabled());
        QVERIFY(QFileInfo::exists(listDir().filePath(QStringLiteral("Leer.xml"))));
    }

    // A mark whose exercise was deleted elsewhere goes when the view is entered.
    void deletedExerciseLosesItsMark()
    {
        QVERIFY(writeList(QStringLiteral("Wetter"), {"Regen", "Schnee"}));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Wetter"));
        recordAndSave(*view);
        recordAndSave(*view);
        const QString first = page->tblTemplate->text(0, CreateTemplate::ColId);
        QVERIFY(AuthoringTree::store()->remove(QStringLiteral("Exercise"), {first}));
        view->customRefresh();
        QCOMPARE(doneRows(page), (QStringList{"-", "x"}));
        QCOMPARE(page->tblTemplate->text(0, CreateTemplate::ColVoice), QString());
        QCOMPARE(page->list()->exerciseAt(0)->id(), QString());
        QCOMPARE(page->list()->exerciseAt(0)->mediaName(), QString());
    }
    // A file that is not a whole, valid word list shows nothing, is never
    // written, and is kept aside byte for byte with a message.
    void damagedListIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("sparseSize");
        QTest::newRow("empty file") << QByteArray() << qint64(0);
        QTest::newRow("not XML") << QByteArray("Hund\tdog\nKatze\tcat\n") << qint64(0);
        QTest::newRow("cut off") << QByteArray("<?xml version=\"1.0\"?><WordList><General><Title>x</Ti") << qint64(0);
        QTest::newRow("another document")
            << QByteArray("<?xml version=\"1.0\"?><Lesson><Title>x</Title></Lesson>") << qint64(0);
        QTest::newRow("nested a million deep")
            << QByteArray("<WordList><Exercises>") + QByteArray("<a>").repeated(1000000) << qint64(0);
        QTest::newRow("50 MB of junk") << QByteArray("junk, ").repeated(50 * 1024 * 1024 / 6) << qint64(0);
        QTest::newRow("entity expansion") << QByteArray(
            "<?xml version=\"1.0\"?><!DOCTYPE WordList [<!ENTITY a \"aaaaaaaaaa\">"
            "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
            "<WordList><Exercises><Exercise><General><Term>&c;</Term></General></Exercise>"
            "</Exercises></WordList>") << qint64(0);
        const QString valid = QStringLiteral("<WordList><Exercises><Exercise><General><Term>Haus</Term></General>"
                                             "</Exercise></Exercises></WordList>");
        QByteArray badUtf16("\xFF\xFE", 2);
        badUtf16 += QByteArray(reinterpret_cast<const char*>(valid.utf16()), valid.size() * 2);
        badUtf16.insert(2 + 2 * valid.indexOf(QLatin1String("aus")), QByteArray("\x00\xD8", 2)); // a lone surrogate
        QTest::newRow("invalid UTF-16") << badUtf16 << qint64(0);
        QTest::newRow("a value holding elements")
            << QByteArray("<WordList><Exercises><Exercise><General><Term>Ha<b>u</b>s</Term></General>"
                          "</Exercise></Exercises></WordList>")
            << qint64(0);
        QTest::newRow("larger than the limit") << QByteArray() << qint64(ContentGate::MaxListFileBytes + 1);
    }

    void damagedListIsKeptAside()
    {
        QFETCH(QByteArray, content);
        QFETCH(qint64, sparseSize);
        QVERIFY(writeSparse(listDir().filePath(QStringLiteral("Kaputt.xml")), content, sparseSize));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Kaputt"));
        QVERIFY(!page->list());
        QCOMPARE(page->tblTemplate->rowCount(), 0);
        QCOMPARE(page->rowUnderEdit(), -1);
        const QString aside = listDir().filePath(QStringLiteral("Kaputt.xml.damaged"));
        const QStringList boxes = mFixture.tree().boxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.first().contains(QStringLiteral("The List 'Kaputt' could not be read. ")),
                 qPrintable(boxes.first()));
        QVERIFY2(boxes.first().contains(QStringLiteral("The file was kept aside as \"%1\".").arg(aside)),
                 qPrintable(boxes.first()));
        QCOMPARE(page->cmbTemplateList->findText(QStringLiteral("Kaputt")), -1);

        page->canClose();
        page->cmbTemplateList->setCurrentIndex(0);
        emit page->cmbTemplateList->activated(0);
        QCOMPARE(listDir().entryList(QDir::Files | QDir::Hidden), QStringList{"Kaputt.xml.damaged"});
        QFile kept(aside);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        if (sparseSize > 0)
            QCOMPARE(kept.size(), sparseSize);
        else
            QVERIFY(kept.readAll() == content);
    }

    // A second damaged file of the same name does not replace the first one kept aside.
    void damagedListsKeptAsideTwice()
    {
        QVERIFY(QDir().mkpath(listDir().path()));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        for (const QByteArray& content : {QByteArray("first"), QByteArray("second")}) {
            QFile file(listDir().filePath(QStringLiteral("Kaputt.xml")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
            file.close();
            choose(page, QStringLiteral("Kaputt"));
        }
        QCOMPARE(listDir().entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{"Kaputt.xml.damaged", "Kaputt.xml.damaged2"}));
        QFile second(listDir().filePath(QStringLiteral("Kaputt.xml.damaged2")));
        QVERIFY(second.open(QIODevice::ReadOnly));
        QCOMPARE(second.readAll(), QByteArray("second"));
    }

    // What a list file says about a recording is trusted only when the store agrees.
    void recordingsInTheFileAreChecked_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("media");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("stored exercise of the term") << "own"
                                                     << "own" << true;
        QTest::newRow("sound outside Content") << "own"
                                               << "../vireda.db" << false;
        QTest::newRow("sound in a sub-folder") << "own"
                                               << "TemplateList/Tiere.xml" << false;
        QTest::newRow("sound file missing") << "own"
                                            << "missing.wav" << false;
        QTest::newRow("id not stored") << "987654"
                                       << "own" << false;
        QTest::newRow("id not a number") << "1; DROP TABLE m"
                                         << "own" << false;
        QTest::newRow("id of another term") << "other"
                                            << "own" << false;
        QTest::newRow("sound without id") << ""
                                          << "own" << false;
    }

    void recordingsInTheFileAreChecked()
    {
        QFETCH(QString, id);
        QFETCH(QString, media);
        QFETCH(bool, recorded);
        const QString own = mFixture.storeExercise(QStringLiteral("Hund"), kGerman);
        const QString other = mFixture.storeExercise(QStringLiteral("Katze"), kGerman);
        QVERIFY(!own.isEmpty() && !other.isEmpty());
        std::unique_ptr<ZoExercise> stored(AuthoringTree::store()->getExercise(QStringLiteral("Exercise"), own));
        QVERIFY(stored);

        ZoWordList list;
        list.setTitle(QStringLiteral("Tiere"));
        ZoExercise entry;
        entry.setTerm(QStringLiteral("Hund"));
        entry.setLanguage(kGerman);
        entry.setId(id == "own" ? own : id == "other" ? other : id);
        entry.setVoice(AuthoringTree::userName());
        entry.setMediaPath(QStringLiteral("Content"));
        entry.setMediaName(media == "own" ? stored->mediaName() : media);
        list.appendExercise(entry);
        QVERIFY(ZoWordList::writeFile(listDir(), list));

        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Tiere"));
        QCOMPARE(doneRows(page), QStringList{recorded ? "x" : "-"});
        ZoExercise* shown = page->list()->exerciseAt(0);
        QCOMPARE(shown->id(), recorded ? own : QString());
        QCOMPARE(shown->mediaName(), recorded ? stored->mediaName() : QString());
        QCOMPARE(view->currentId(), recorded ? own : QString());
        QCOMPARE(view->soundFile(), recorded ? stored->mediaName() : QString());
        QCOMPARE(view->btnPlay->isEnabled(), recorded);
    }

    // A list may carry the placeholder's text as its name.
    void listNamedLikeThePlaceholder()
    {
        QVERIFY(writeList(QStringLiteral("Select List"), {"Baum"}));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        page->fillListCombo();
        QCOMPARE(page->cmbTemplateList->count(), 2);
        page->cmbTemplateList->setCurrentIndex(1);
        emit page->cmbTemplateList->activated(1);
        QVERIFY(page->list());
        QCOMPARE(page->tblTemplate->rowCount(), 1);
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Baum"));
    }

    void deleteList_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("yes") << 0 << true;
        QTest::newRow("cancel") << 1 << false;
        QTest::newRow("box closed") << -1 << false;
    }

    void deleteList()
    {
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        QVERIFY(writeList(QStringLiteral("Alt"), {"eins", "zwei"}));
        QVERIFY(writeList(QStringLiteral("Neu"), {"drei"}));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Alt"));
        mFixture.tree().answerBoxes({answer});
        QTest::mouseClick(page->btnDelete, Qt::LeftButton);
        QCOMPARE(mFixture.tree().boxes(),
                 QStringList{
                     WizardTestTree::box(MessageBoxHelper::Question,
                                         QStringLiteral("Are you sure you want to permanently delete the List 'Alt'?"),
                                         {QStringLiteral("Yes"), QStringLiteral("Cancel")})});
        QCOMPARE(QFileInfo::exists(listDir().filePath(QStringLiteral("Alt.xml"))), !deleted);
        QVERIFY(QFileInfo::exists(listDir().filePath(QStringLiteral("Neu.xml"))));
        QCOMPARE(page->cmbTemplateList->findText(QStringLiteral("Alt")) > 0, !deleted);
        QCOMPARE(!page->list(), deleted);
        QCOMPARE(page->tblTemplate->rowCount(), deleted ? 0 : 2);
        QCOMPARE(page->rowUnderEdit(), deleted ? -1 : 0);
        if (deleted) {
            // Nothing writes the discarded list back.
            page->canClose();
            QVERIFY(!QFileInfo::exists(listDir().filePath(QStringLiteral("Alt.xml"))));
        }
    }
    // Writes a term file, UTF-8 with a byte-order mark, under Import; its path.
    static QString termFile(const QString& name, const QByteArray& terms)
    {
        const QByteArray text = QByteArray("\xEF\xBB\xBF") + terms;
        if (!QDir().mkpath(QStringLiteral("Import")))
            return {};
        QFile file(QDir(QStringLiteral("Import")).absoluteFilePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return {};
        return file.fileName();
    }

    void importShowsAndStoresTheList()
    {
        const QString path = termFile(QStringLiteral("tiere.txt"), "Hund\tchien\r\nKatze\tchat\r\n");
        QVERIFY(!path.isEmpty());
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        QVERIFY(!listDir().exists());
        ImportSteps::answerNextImport({{"Study Term", kGerman}, {"Translation", "French"}}, QStringLiteral("Tiere"));
        page->importFile(path);
        QCOMPARE(mFixture.tree().boxes(), QStringList());
        QCOMPARE(page->cmbTemplateList->currentText(), QStringLiteral("Tiere"));
        QCOMPARE(page->tblTemplate->rowCount(), 2);
        QVERIFY(page->loadNextChecked());
        QVERIFY(page->btnDelete->isEnabled());
        QCOMPARE(page->rowUnderEdit(), 0);
        QCOMPARE(view->tEditTerm->toPlainText(), QStringLiteral("Hund"));
        QCOMPARE(view->fieldWidgets().size(), 1);
        QCOMPARE(view->fieldWidgets().first()->values().value(QStringLiteral("Value")), QStringLiteral("chien"));

        auto stored = readList(QStringLiteral("Tiere"));
        QVERIFY(stored);
        QCOMPARE(stored->exerciseCount(), 2);
        QCOMPARE(stored->exerciseAt(1)->term(), QStringLiteral("Katze"));
    }

    // What the learner imports is refused or cleaned, with its message, before
    // anything is written; what is written reads back.
    void importedFileIsChecked_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("sparseSize");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("terms"); // empty: refused
        const QString notText = QStringLiteral(
            "The selected file is not a text file and cannot be imported.\nIt may be a picture or a program, or "
            "text in UTF-16 without a byte-order mark.\nPlease choose a text file saved with UTF-8 Encoding.");
        const QByteArray bom("\xEF\xBB\xBF");
        QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0\0\0\x01\0\x08\x06\0\0\0", 29);
        for (int i = 0; i < 4096; ++i)
            png += char((i * 131 + 7) % 256);
        QTest::newRow("picture") << png << qint64(0) << notText << QStringList();
        QTest::newRow("NUL in UTF-8") << bom + QByteArray("Hund\0\nKatze\n", 12) << qint64(0) << notText
                                      << QStringList();
        QStringEncoder utf16(QStringConverter::Utf16LE);
        QTest::newRow("UTF-16 without mark")
            << QByteArray(utf16.encode(QStringLiteral("Hund\r\nKatze\r\n"))) << qint64(0) << notText << QStringList();
        QTest::newRow("5 MB line") << bom + QByteArray(5 * 1024 * 1024, 'a') << qint64(0)
                                   << QStringLiteral("Line 1 of the selected file is longer than %1 characters.\n"
                                                     "The file cannot be imported; study terms are one a line.")
                                          .arg(ContentGate::MaxImportLineLength)
                                   << QStringList();
        QTest::newRow("a term too long") << bom + QByteArray("Hund\n") + QByteArray(3000, 'b') + "\n"
                                         << qint64(0)
                                         << QStringLiteral("Line 2 of the selected file holds a term longer than %1 "
                                                           "characters.\nThe file cannot be imported.")
                                                .arg(ContentGate::MaxTermLength)
                                         << QStringList();
        QTest::newRow("larger than the limit")
            << bom << qint64(ContentGate::MaxImportBytes + 1)
            << QStringLiteral("The selected file is larger than %1 MB and cannot be imported.")
                   .arg(ContentGate::MaxImportBytes / (1024 * 1024))
            << QStringList();
        QTest::newRow("control characters")
            << bom + QByteArray("Hu\fnd\x1a\nKat\x01ze\n") << qint64(0)
            << QStringLiteral("Control characters that a list cannot hold were left out of the imported text "
                              "(3 in all).")
            << QStringList{"Hund", "Katze"};
        QTest::newRow("Latin-1 without mark")
            << QByteArray("H\xFCndin\nKatze\n") << qint64(0)
            << QStringLiteral("Selected file is not in Unicode format.\nAccents and non-Latin characters may not "
                              "import properly.\nFor best results, please open the file in a text editor, select "
                              "Save As,\nand select UTF-8 Encoding.")
            << QStringList{QStringLiteral("H\ufffdndin"), "Katze"};
    }

    void importedFileIsChecked()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, sparseSize);
        QFETCH(QString, message);
        QFETCH(QStringList, terms);
        const QString path = QDir(QStringLiteral("Import")).absoluteFilePath(QStringLiteral("tiere.txt"));
        QVERIFY(writeSparse(path, bytes, sparseSize));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        ImportSteps::answerNextImport({{QString(), kGerman}}, QStringLiteral("Tiere"));
        page->importFile(path);
        QTRY_VERIFY(mFixture.tree().boxes().contains(info(message)));
        QCOMPARE(mFixture.tree().boxes().size(), 1);
        if (terms.isEmpty()) {
            QVERIFY(!page->list());
            QCOMPARE(page->tblTemplate->rowCount(), 0);
            QCOMPARE(listDir().entryList(QDir::Files | QDir::Hidden), QStringList());
            QVERIFY(!QApplication::activeModalWidget());
            return;
        }
        auto stored = readList(QStringLiteral("Tiere"));
        QVERIFY(stored);
        QStringList found;
        for (int i = 0; i < stored->exerciseCount(); ++i)
            found << stored->exerciseAt(i)->term();
        QCOMPARE(found, terms);
    }

    // The import and the reading keep to one limit of terms: a file of as many
    // terms as a List holds is imported and its list reads back; one more is
    // refused before anything is written, and so is a list file of one more.
    void termLimitAgreesAtImportAndReading_data()
    {
        QTest::addColumn<int>("lines");
        QTest::newRow("as many as a List holds") << 3;
        QTest::newRow("one more") << 4;
    }

    void termLimitAgreesAtImportAndReading()
    {
        QFETCH(int, lines);
        const int limit = 3;
        QStringList terms;
        QByteArray bytes("\xEF\xBB\xBF");
        for (int i = 0; i < lines; ++i) {
            terms << QStringLiteral("Wort %1").arg(i);
            bytes += terms.last().toUtf8() + "\r\n";
        }
        // Written under the program's own limit, read under the small one.
        QVERIFY(writeList(QStringLiteral("Vorrat"), terms));
        ZoWordList::setMaxWordsForTests(limit);
        const auto restore = qScopeGuard([] { ZoWordList::setMaxWordsForTests(0); });
        const QString limitMessage = QStringLiteral("A List holds at most 3 study terms.");

        auto chooser = mFixture.newEditor();
        choose(chooser->templatePage(), QStringLiteral("Vorrat"));
        if (lines <= limit) {
            QVERIFY(chooser->templatePage()->list());
            QCOMPARE(chooser->templatePage()->tblTemplate->rowCount(), lines);
        } else {
            QVERIFY(!chooser->templatePage()->list());
            QCOMPARE(mFixture.tree().boxes().size(), 1);
            QVERIFY2(mFixture.tree().boxes().first().contains(limitMessage),
                     qPrintable(mFixture.tree().boxes().first()));
        }
        const int mark = int(mFixture.tree().boxes().size());

        const QString path = QDir(QStringLiteral("Import")).absoluteFilePath(QStringLiteral("woerter.txt"));
        QVERIFY(writeSparse(path, bytes, 0));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        // A refused file opens no dialog.
        if (lines <= limit)
            ImportSteps::answerNextImport({{QString(), kGerman}}, QStringLiteral("Woerter"));
        page->importFile(path);
        if (lines <= limit) {
            QCOMPARE(mFixture.tree().boxesSince(mark), QStringList());
            auto stored = readList(QStringLiteral("Woerter"));
            QVERIFY(stored);
            QCOMPARE(stored->exerciseCount(), lines);
            QCOMPARE(page->tblTemplate->rowCount(), lines);
        } else {
            QCOMPARE(mFixture.tree().boxesSince(mark),
                     QStringList{info(QStringLiteral("The selected file holds more than 3 lines of study terms.\nA "
                                                     "List holds at most 3 study terms; the file cannot be "
                                                     "imported."))});
            QVERIFY(!page->list());
            QVERIFY(!QFileInfo::exists(ZoWordList::fileName(listDir(), QStringLiteral("Woerter"))));
        }
    }

    // An existing list of the chosen name is replaced only by a list that was read.
    void overwriteNeedsANewList_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QStringList>("terms");
        QTest::newRow("new list read") << true << QStringList{"Hund", "Katze"};
        QTest::newRow("file gone before reading") << false << QStringList{"alt"};
    }

    void overwriteNeedsANewList()
    {
        QFETCH(bool, readable);
        QFETCH(QStringList, terms);
        QVERIFY(writeList(QStringLiteral("Tiere"), {"alt"}));
        const QString path = termFile(QStringLiteral("tiere.txt"), "Hund\nKatze\n");
        QVERIFY(!path.isEmpty());
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        mFixture.tree().answerBoxes({0});
        if (!readable) {
            QTimer::singleShot(0, [path] { QFile::remove(path); });
        }
        ImportSteps::answerNextImport({{QString(), kGerman}}, QStringLiteral("Tiere"));
        page->importFile(path);
        QCOMPARE(mFixture.tree().boxes(),
                 QStringList{
                     WizardTestTree::box(MessageBoxHelper::Question,
                                         QStringLiteral("List 'Tiere' already exists, would you like to overwrite?"),
                                         {QStringLiteral("Overwrite"), QStringLiteral("Choose another name")})});
        auto stored = readList(QStringLiteral("Tiere"));
        QVERIFY(stored);
        QStringList found;
        for (int i = 0; i < stored->exerciseCount(); ++i)
            found << stored->exerciseAt(i)->term();
        QCOMPARE(found, terms);
        QCOMPARE(page->tblTemplate->rowCount(), readable ? 2 : 0);
    }
    // The file name names the list, whatever title its content carries.
    void theFileNameIsTheTitle_data()
    {
        QTest::addColumn<QString>("storedTitle");
        QTest::newRow("another list's name") << "Tiere";
        QTest::newRow("a path out of the folder") << "../Ausbruch";
    }

    void theFileNameIsTheTitle()
    {
        QFETCH(QString, storedTitle);
        QVERIFY(writeList(QStringLiteral("Haustiere"), {"Hund", "Katze"}));
        const QString path = listDir().filePath(QStringLiteral("Haustiere.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xFF\xFE"));
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                          (bytes.size() - 2) / 2);
        file.close();
        QVERIFY(text.contains(QStringLiteral("<Title>Haustiere</Title>")));
        text.replace(QStringLiteral("<Title>Haustiere</Title>"), QStringLiteral("<Title>%1</Title>").arg(storedTitle));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
        file.close();

        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Haustiere"));
        QVERIFY(page->list());
        QCOMPARE(page->list()->title(), QStringLiteral("Haustiere"));
        recordAndSave(*view);
        page->canClose();
        QCOMPARE(listDir().entryList(QDir::Files), QStringList{"Haustiere.xml"});
        QVERIFY(!QFileInfo::exists(QDir(QStringLiteral("Content")).filePath(QStringLiteral("Ausbruch.xml"))));
        auto stored = readList(QStringLiteral("Haustiere"));
        QVERIFY(stored);
        QVERIFY(!stored->exerciseAt(0)->id().isEmpty());
    }
    void pageSpeaksGerman()
    {
        QTranslator german;
        QVERIFY(german.load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/create-Deutsch.qm")));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        QApplication::installTranslator(&german);
        view->retranslateView();
        const QStringList shown{page->btnImport->text(),
                                page->btnDelete->text(),
                                page->btnLoad->text(),
                                page->btnSaveAsLesson->text(),
                                page->cboxLoadNext->text(),
                                page->cmbTemplateList->itemText(0),
                                page->tblTemplate->horizontalHeaderItem(CreateTemplate::ColTerm)->text()};
        QApplication::removeTranslator(&german);
        view->retranslateView();
        QCOMPARE(shown, (QStringList{"Durchsuchen", "Liste löschen", "Bearbeiten", "Als Lektion speichern",
                                     "Nach dem Speichern den nächsten laden", "Liste wählen", "Lernbegriff"}));
        QCOMPARE(page->cmbTemplateList->itemText(0), QStringLiteral("Select List"));
    }
    // Keys that reach the table: Return opens the current term, a key that
    // moves to another row opens that row's term.
    void keysOpenTerms_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("term");
        QTest::newRow("down") << int(Qt::Key_Down) << 1 << "zwei";
        QTest::newRow("return opens again") << int(Qt::Key_Return) << 0 << "eins";
        QTest::newRow("up on the first row keeps the editor") << int(Qt::Key_Up) << 0 << "geändert";
    }

    void keysOpenTerms()
    {
        QFETCH(int, key);
        QFETCH(int, row);
        QFETCH(QString, term);
        QVERIFY(writeList(QStringLiteral("Tasten"), {"eins", "zwei", "drei"}));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Tasten"));
        view->tEditTerm->setPlainText(QStringLiteral("geändert"));
        view->objectNotModified();
        QTest::keyClick(page->tblTemplate, Qt::Key(key));
        QCOMPARE(page->rowUnderEdit(), row);
        QCOMPARE(view->tEditTerm->toPlainText(), term);
    }

    // Another user signing in closes the list, written, and empties the page.
    void anotherUserClosesTheList()
    {
        QVERIFY(writeList(QStringLiteral("Geteilt"), {"eins", "zwei"}));
        auto view = mFixture.newEditor();
        CreateTemplate* page = view->templatePage();
        choose(page, QStringLiteral("Geteilt"));
        recordAndSave(*view);
        QVERIFY(SignedInUser::signIn(QStringLiteral("jonas"), {kGerman}));
        view->refreshData();
        QVERIFY(!page->list());
        QCOMPARE(page->tblTemplate->rowCount(), 0);
        QCOMPARE(page->rowUnderEdit(), -1);
        QCOMPARE(page->cmbTemplateList->currentIndex(), 0);
        QVERIFY(page->cmbTemplateList->findText(QStringLiteral("Geteilt")) > 0);
        auto stored = readList(QStringLiteral("Geteilt"));
        QVERIFY(stored);
        QVERIFY(!stored->exerciseAt(0)->id().isEmpty());
    }
};

QTEST_MAIN(TestCreateTemplate)
#include "tst_createtemplate.moc"
