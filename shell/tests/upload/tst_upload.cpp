#include "MainWindow.h"
#include "RealBoxes.h"
#include "ScreenTexts.h"
#include "TestHost.h"
#include "UploadFixture.h"
#include "UploadForm.h"

#include <QHeaderView>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// The main window without its sign-in dialog, which is not under test here.
class QuietWindow : public MainWindow
{
public:
    using MainWindow::MainWindow;
    void signIn() override {}
};

// Presses "Abort" on the progress dialog under owner whose label starts
// with label, once the network has seen that many upload calls.
class Aborter : public QObject
{
public:
    Aborter(QWidget* owner, const QString& label, int calls, const UploadFixture* fixture)
        : mOwner(owner)
        , mLabel(label)
        , mCalls(calls)
        , mFixture(fixture)
    {
        connect(&mTimer, &QTimer::timeout, this, &Aborter::check);
        mTimer.start(0);
    }
    bool pressed() const { return mPressed; }

private:
    void check()
    {
        if (mPressed || mFixture->uploadCalls().size() < mCalls)
            return;
        for (QProgressDialog* progress : mOwner->findChildren<QProgressDialog*>()) {
            if (progress->labelText().startsWith(mLabel)) {
                progress->cancel();
                mPressed = true;
            }
        }
    }

    QTimer mTimer;
    QWidget* mOwner;
    QString mLabel;
    int mCalls;
    const UploadFixture* mFixture;
    bool mPressed = false;
};

QString info(const QString& text)
{
    return WizardTestTree::box(MessageBoxHelper::Information, text);
}

QString offer()
{
    return WizardTestTree::box(MessageBoxHelper::Question, QStringLiteral("Upload recently created content?\n"),
                               {QStringLiteral("OK"), QStringLiteral("Review"), QStringLiteral("Cancel")});
}

QString errorsMessage(int errors)
{
    return info(QStringLiteral("Vireda encountered %1 errors while uploading your content to the server.\n"
                               "Content not successfully uploaded remains on your upload list.")
                    .arg(errors));
}

const QString kComplete = QStringLiteral("Upload complete.");
const QString kNetworkError = QStringLiteral("Vireda was not able to complete the upload due to a network error.");

QString value(const QString& reply, const QString& key)
{
    for (const QString& pair : reply.split(QLatin1Char(';'))) {
        if (pair.section(QLatin1Char('='), 0, 0) == key)
            return pair.section(QLatin1Char('='), 1);
    }
    return QString();
}

} // namespace

class TestUpload : public QObject
{
    Q_OBJECT

    std::unique_ptr<UploadFixture> f;
    std::unique_ptr<TestHost> mHost;
    std::unique_ptr<QuietWindow> mWindow;
    int mBoxMark = 0;

    QPushButton* uploadButton() const { return mWindow->findChild<QPushButton*>(QStringLiteral("btnUpload")); }
    QStringList newBoxes() const { return f->tree().boxesSince(mBoxMark); }

    bool script(const QString& exercises, const QString& manifests = QString(),
                const QHash<QString, QString>& more = {})
    {
        QHash<QString, QString> results = more;
        if (!exercises.isEmpty())
            results.insert(QStringLiteral("uploadExercise"), exercises);
        if (!manifests.isEmpty())
            results.insert(QStringLiteral("uploadManifest"), manifests);
        return f->tree().scriptNet(results);
    }

    std::unique_ptr<UploadForm> openForm()
    {
        auto form = std::make_unique<UploadForm>(mHost.get());
        form->setupTable();
        form->show();
        return form;
    }

    static int rowOfTitle(const UploadForm& form, const QString& title)
    {
        for (int row = 0; row < form.tbl->rowCount(); ++row) {
            if (form.tbl->item(row, 3)->text() == title)
                return row;
        }
        return -1;
    }

    static void clickHeader(UploadForm& form, int column)
    {
        QHeaderView* header = form.tbl->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    // Clicks the header until the table is sorted by that column in that order.
    static bool sortByClicks(UploadForm& form, int column, Qt::SortOrder order)
    {
        QHeaderView* header = form.tbl->horizontalHeader();
        for (int i = 0; i < 3; ++i) {
            clickHeader(form, column);
            if (header->sortIndicatorSection() == column && header->sortIndicatorOrder() == order)
                return true;
        }
        return false;
    }

    // Every piece of the exercise carries the ids of the reply.
    static void expectAssigned(const QStringList& pieces, const QString& reply)
    {
        QVERIFY(pieces.size() >= 2);
        QCOMPARE(UploadFixture::persistentId(pieces.at(0)), value(reply, QStringLiteral("PId")));
        QCOMPARE(UploadFixture::persistentId(pieces.at(1)), value(reply, QStringLiteral("PersistentTermId")));
        if (pieces.size() > 2)
            QCOMPARE(UploadFixture::persistentId(pieces.at(2)), value(reply, QStringLiteral("PersistentMediaId")));
        QVERIFY(UploadFixture::uploadStamp(pieces.at(0)).toLongLong() > 0);
    }
    static void expectLocal(const QStringList& pieces)
    {
        QVERIFY(!pieces.isEmpty());
        for (const QString& piece : pieces) {
            QCOMPARE(UploadFixture::persistentId(piece), QStringLiteral("0"));
            QCOMPARE(UploadFixture::uploadStamp(piece), QStringLiteral("0"));
        }
    }

private slots:
    void initTestCase()
    {
        f = std::make_unique<UploadFixture>();
        QVERIFY(f->isValid());
        mHost = std::make_unique<TestHost>();
        mWindow = std::make_unique<QuietWindow>(qApp);
        mWindow->finishInitialization();
        QVERIFY(mWindow->dbManager() && mWindow->netManager() && mWindow->userResource());
    }

    void cleanupTestCase()
    {
        mWindow.reset();
        mHost.reset();
        f.reset();
    }

    void init()
    {
        QVERIFY(f->tree().scriptNet({}));
        f->tree().answerBoxes({});
        f->signInNewUser();
        mHost->offlineMoves = 0;
        mBoxMark = f->tree().boxes().size();
    }

    void uploadCount_data()
    {
        QTest::addColumn<int>("exercises");
        QTest::addColumn<bool>("withLesson");
        QTest::addColumn<QString>("offline");
        QTest::addColumn<bool>("signedOut");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("nothing to upload") << 0 << false << "0" << false << "Upload (0)" << false;
        QTest::newRow("three online") << 2 << true << "0" << false << "Upload (3)" << true;
        QTest::newRow("three offline") << 3 << false << "2" << false << "Upload (3)" << false;
        QTest::newRow("no current user") << 3 << false << "0" << true << "Upload (0)" << false;
    }
    void uploadCount()
    {
        QFETCH(int, exercises);
        QFETCH(bool, withLesson);
        QFETCH(QString, offline);
        QFETCH(bool, signedOut);
        QFETCH(bool, enabled);
        QStringList ids;
        for (int i = 0; i < exercises; ++i)
            ids << f->addExercise(QStringLiteral("count%1").arg(i));
        if (withLesson)
            QVERIFY(!f->addLesson(QStringLiteral("Counted"), ids).isEmpty());
        QVERIFY(script(QString(), QString(), {{QStringLiteral("isOfflineLogin"), offline}}));
        if (signedOut)
            f->users()->clearCurrentUser();

        // Each overload ignores its argument and asks the store.
        const std::function<void()> updates[] = {[&] { mWindow->updateUploadCount(); },
                                                 [&] { mWindow->updateUploadCount(7); },
                                                 [&] { mWindow->updateUploadCount(QStringLiteral("someone")); }};
        for (const auto& update : updates) {
            uploadButton()->setText(QStringLiteral("stale"));
            uploadButton()->setEnabled(!enabled);
            update();
            QTEST(uploadButton()->text(), "text");
            QTEST(uploadButton()->isEnabled(), "enabled");
        }
    }

    // A language change shows the count in the new language, asked again.
    void languageChangeKeepsCount_data()
    {
        QTest::addColumn<QString>("offline");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("online") << "0" << true;
        QTest::newRow("offline") << "2" << false;
    }

    void languageChangeKeepsCount()
    {
        QFETCH(QString, offline);
        QFETCH(bool, enabled);
        f->addExercise(QStringLiteral("lang1"));
        f->addExercise(QStringLiteral("lang2"));
        QVERIFY(script(QString(), QString(), {{QStringLiteral("isOfflineLogin"), offline}}));
        mWindow->updateUploadCount();
        QCOMPARE(uploadButton()->text(), QStringLiteral("Upload (2)"));

        mWindow->setUiLanguage(QStringLiteral("Deutsch"));
        QCOMPARE(uploadButton()->text(), QStringLiteral("Hochladen (2)"));
        QCOMPARE(uploadButton()->isEnabled(), enabled);
        mWindow->setUiLanguage(QString());
        QCOMPARE(uploadButton()->text(), QStringLiteral("Upload (2)"));
        QCOMPARE(uploadButton()->isEnabled(), enabled);
    }

    void negativeStoreCountShowsZero()
    {
        // Without the recordings table the store's count yields no row.
        f->addExercise(QStringLiteral("hidden"));
        QVERIFY(UploadFixture::exec(QStringLiteral("ALTER TABLE mm RENAME TO mm_away")));
        const int count = f->store()->uploadableCount(f->userName());
        uploadButton()->setText(QStringLiteral("stale"));
        uploadButton()->setEnabled(true);
        mWindow->updateUploadCount();
        const QString text = uploadButton()->text();
        const bool enabled = uploadButton()->isEnabled();
        const int pending = UploadForm(mHost.get()).pendingCount();
        QVERIFY(UploadFixture::exec(QStringLiteral("ALTER TABLE mm_away RENAME TO mm")));
        QCOMPARE(count, -1);
        QCOMPARE(text, QStringLiteral("Upload (0)"));
        QVERIFY(!enabled);
        QCOMPARE(pending, 0);
    }

    void withoutManagers_data()
    {
        const QString store = QStringLiteral("Managers/Storekeeper.so=Managers/Storekeeper.so");
        const QString users = QStringLiteral("Resources/ZoUserResource.so=Resources/ZoUserResource.so");
        // A copy, not a link: its own library and instance, which that window may delete.
        const QString network = QStringLiteral("copy:shell/ScriptedNetManager.so=Managers/Courier.so");
        QTest::addColumn<QStringList>("plugins");
        QTest::newRow("no store") << QStringList{users, network};
        QTest::newRow("no network manager") << QStringList{store, users};
        QTest::newRow("no user resource") << QStringList{store, network};
    }
    void withoutManagers()
    {
        QFETCH(QStringList, plugins);
        f->addExercise(QStringLiteral("waiting"));
        QCOMPARE(f->store()->uploadableCount(f->userName()), 1);

        TestTree tree(TestTree::NoPlugins);
        for (const QString& plugin : plugins) {
            const QString file = plugin.section(QLatin1Char('='), 0, 0);
            const QString target = plugin.section(QLatin1Char('='), 1);
            if (file.startsWith(QLatin1String("copy:"))) {
                QVERIFY(QDir().mkpath(tree.filePath(QStringLiteral("Plugins_dll/Managers"))));
                QVERIFY(QFile::copy(TestTree::testPluginPath() + QLatin1Char('/') + file.mid(5),
                                    tree.filePath(QStringLiteral("Plugins_dll/") + target)));
                continue;
            }
            QVERIFY(tree.addPlugin(TestTree::distPath() + QStringLiteral("/Plugins_dll/") + file,
                                   target.section(QLatin1Char('/'), 0, 0), target.section(QLatin1Char('/'), 1)));
        }
        tree.enter();
        QStringList calls;
        QString text;
        bool enabled = true;
        {
            QuietWindow window(qApp);
            window.finishInitialization();
            auto* button = window.findChild<QPushButton*>(QStringLiteral("btnUpload"));
            button->setText(QStringLiteral("stale"));
            button->setEnabled(true);
            window.updateUploadCount();
            text = button->text();
            enabled = button->isEnabled();
            window.showUpload();
        }
        tree.restore();
        QCOMPARE(text, QStringLiteral("Upload (0)"));
        QVERIFY(!enabled);
        QCOMPARE(newBoxes(), QStringList());
        QCOMPARE(f->uploadCalls(), QStringList());
        QCOMPARE(f->uploadableIds().size(), 1);
    }

    void showUploadAsksNothing_data()
    {
        QTest::addColumn<bool>("withContent");
        QTest::addColumn<QString>("offline");
        QTest::newRow("nothing to upload") << false << "0";
        QTest::newRow("signed in offline") << true << "2";
    }
    void showUploadAsksNothing()
    {
        QFETCH(bool, withContent);
        QFETCH(QString, offline);
        if (withContent)
            f->addExercise(QStringLiteral("offline"));
        QVERIFY(script(f->exerciseReplies(1), QString(), {{QStringLiteral("isOfflineLogin"), offline}}));
        mWindow->showUpload();
        QCOMPARE(newBoxes(), QStringList());
        QCOMPARE(f->uploadCalls(), QStringList());
        QCOMPARE(uploadButton()->text(), QStringLiteral("Upload (%1)").arg(withContent ? 1 : 0));
        QVERIFY(!uploadButton()->isEnabled());
        QVERIFY(mWindow->findChildren<UploadForm*>().isEmpty());
    }

    // "OK" sends every item without the dialog: members before their lesson,
    // a translation after its exercises, nothing twice.
    void okUploadsEverythingWithoutDialog()
    {
        const QString first = f->addExercise(QStringLiteral("okfirst"), QStringLiteral("okfirst-en"));
        const QString second = f->addExercise(QStringLiteral("oksecond"));
        const QString lesson = f->addLesson(QStringLiteral("Everything"), {first, second});
        const QString third = f->addExercise(QStringLiteral("okthird"));
        const QString translation = UploadFixture::translationOf(first);
        const QString translated = UploadFixture::translatedExerciseOf(first);
        QVERIFY(!lesson.isEmpty() && !translation.isEmpty() && !translated.isEmpty());
        QCOMPARE(f->uploadableIds(), (QStringList{lesson, first, second, third}));
        const QStringList firstPieces = f->piecesOf(first);
        const QStringList translatedPieces = f->piecesOf(translated);

        const QStringList exerciseReplies{f->exerciseReply(), f->exerciseReply(false), f->exerciseReply(),
                                          f->exerciseReply()};
        const QStringList manifestReplies{f->manifestReply(), f->manifestReply()};
        QVERIFY(script(exerciseReplies.join(QStringLiteral(" | ")), manifestReplies.join(QStringLiteral(" | "))));
        f->tree().answerBoxes({0});
        mWindow->updateUploadCount();
        QCOMPARE(uploadButton()->text(), QStringLiteral("Upload (4)"));
        QVERIFY(uploadButton()->isEnabled());

        bool dialogShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            for (UploadForm* form : mWindow->findChildren<UploadForm*>())
                dialogShown = dialogShown || form->isVisible();
        });
        watch.start(0);
        uploadButton()->click();
        watch.stop();

        QVERIFY(!dialogShown);
        QCOMPARE(newBoxes(), (QStringList{offer(), info(kComplete)}));
        QCOMPARE(f->uploadCalls(), (QStringList{"uploadExercise:" + first, "uploadExercise:" + translated,
                                                "uploadTranslation:" + translation, "uploadExercise:" + second,
                                                "uploadLesson:" + lesson, "uploadExercise:" + third}));
        const auto sent = f->tree().netCalls(QStringLiteral("uploadExercise"));
        QCOMPARE(sent.at(0).arg(1), QStringLiteral("okfirst.ogg"));
        QCOMPARE(sent.at(1).arg(1), QString());

        expectAssigned(firstPieces, exerciseReplies.at(0));
        expectAssigned(translatedPieces, exerciseReplies.at(1));
        expectAssigned(f->piecesOf(second), exerciseReplies.at(2));
        expectAssigned(f->piecesOf(third), exerciseReplies.at(3));
        QCOMPARE(UploadFixture::persistentId(translation), value(manifestReplies.at(0), QStringLiteral("PId")));
        QCOMPARE(UploadFixture::persistentId(lesson), value(manifestReplies.at(1), QStringLiteral("PId")));

        QCOMPARE(f->uploadableIds(), QStringList());
        QCOMPARE(uploadButton()->text(), QStringLiteral("Upload (0)"));
        QVERIFY(!uploadButton()->isEnabled());
        QVERIFY(mWindow->findChildren<UploadForm*>().isEmpty());
    }

    void reviewThenCancelSendsNothing()
    {
        f->addExercise(QStringLiteral("reviewone"));
        f->addExercise(QStringLiteral("reviewtwo"));
        QVERIFY(script(f->exerciseReplies(2)));
        f->tree().answerBoxes({1});
        mWindow->updateUploadCount();
        int rows = -1;
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            auto* form = qobject_cast<UploadForm*>(QApplication::activeModalWidget());
            if (!form)
                return;
            shown = form->isVisible();
            rows = form->tbl->rowCount();
            form->btnCancel->click();
        });
        uploadButton()->click();
        QVERIFY(shown);
        QCOMPARE(rows, 2);
        QCOMPARE(newBoxes(), QStringList{offer()});
        QCOMPARE(f->uploadCalls(), QStringList());
        QCOMPARE(uploadButton()->text(), QStringLiteral("Upload (2)"));
        QVERIFY(uploadButton()->isEnabled());
        QVERIFY(mWindow->findChildren<UploadForm*>().isEmpty());
    }

    // A real offer box: Escape does nothing, no upload and no dialog.
    void offerEscaped()
    {
        f->addExercise(QStringLiteral("escaped"));
        QVERIFY(script(f->exerciseReplies(1)));
        mWindow->updateUploadCount();
        QVERIFY(uploadButton()->isEnabled());
        {
            RealBoxes boxes(Qt::Key_Escape);
            uploadButton()->click();
            QCOMPARE(boxes.texts, QStringList{"Upload recently created content?\n"});
            QCOMPARE(boxes.stuck, 0);
        }
        QCOMPARE(f->uploadCalls(), QStringList());
        QVERIFY(mWindow->findChildren<UploadForm*>().isEmpty());
        QCOMPARE(uploadButton()->text(), QStringLiteral("Upload (1)"));
    }

    void dialogLayout()
    {
        f->addExercise(QStringLiteral("layout"));
        auto form = openForm();
        QCOMPARE(form->windowTitle(), QStringLiteral("Upload to server"));
        // 800 by 580 where the screen has room for that with a frame;
        // otherwise within the screen.
        const QRect room = form->screen()->availableGeometry();
        if (room.width() >= 900 && room.height() >= 700)
            QCOMPARE(form->size(), QSize(800, 580));
        else
            QVERIFY(form->width() <= room.width() && form->height() <= room.height());
        QCOMPARE(form->tbl->columnCount(), 5);
        QVERIFY(form->tbl->isColumnHidden(0));
        QVERIFY(!form->treeFolders->isVisible() && !form->listFolders->isVisible());
        const QStringList headers{QStringLiteral("Id"), QString(), QStringLiteral("Type"), QStringLiteral("Title"),
                                  QStringLiteral("Language")};
        for (int column = 0; column < headers.size(); ++column)
            QCOMPARE(form->tbl->horizontalHeaderItem(column)->text(), headers.at(column));
        QCOMPARE(form->tbl->rowCount(), 1);
        QTableWidgetItem* check = form->tbl->item(0, 1);
        QCOMPARE(check->checkState(), Qt::Checked);
        QCOMPARE(check->flags(), Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        QCOMPARE(form->tbl->item(0, 3)->text(), QStringLiteral("layout"));
        QCOMPARE(form->tbl->item(0, 4)->text(), f->language());
        QCOMPARE(form->tbl->selectionMode(), QAbstractItemView::NoSelection);
        QVERIFY(form->tbl->isSortingEnabled());
        QVERIFY(form->chkSelection->isChecked());
    }

    void reviewSendsExactlyTheCheckedRows_data()
    {
        QTest::addColumn<Qt::SortOrder>("order");
        QTest::addColumn<QString>("unchecked");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("title ascending") << Qt::AscendingOrder << "Bravo" << QStringList{"Alpha", "charlie", "delta"};
        QTest::newRow("title descending") << Qt::DescendingOrder << "Alpha" << QStringList{"delta", "charlie", "Bravo"};
    }
    void reviewSendsExactlyTheCheckedRows()
    {
        QFETCH(Qt::SortOrder, order);
        QFETCH(QString, unchecked);
        QFETCH(QStringList, sent);
        QHash<QString, QString> ids;
        for (const char* title : {"delta", "Bravo", "Alpha", "charlie"})
            ids.insert(QLatin1String(title), f->addExercise(QLatin1String(title)));
        QVERIFY(script(f->exerciseReplies(3)));

        auto form = openForm();
        QVERIFY(sortByClicks(*form, 3, order));
        const int row = rowOfTitle(*form, unchecked);
        QVERIFY(row >= 0);
        form->tbl->item(row, 1)->setCheckState(Qt::Unchecked);
        QTest::mouseClick(form->btnUpload, Qt::LeftButton);

        QStringList expected;
        for (const QString& title : sent)
            expected << QStringLiteral("uploadExercise:") + ids.value(title);
        QCOMPARE(f->uploadCalls(), expected);
        QCOMPARE(newBoxes(), QStringList{info(kComplete)});
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(f->uploadableIds(), QStringList{ids.value(unchecked)});
        QCOMPARE(UploadFixture::persistentId(ids.value(unchecked)), QStringLiteral("0"));
    }

    void checkColumnSortsCheckedFirst()
    {
        for (const char* title : {"one", "two", "three"})
            f->addExercise(QLatin1String(title));
        auto form = openForm();
        form->tbl->item(rowOfTitle(*form, QStringLiteral("one")), 1)->setCheckState(Qt::Unchecked);
        QVERIFY(sortByClicks(*form, 1, Qt::AscendingOrder));
        QCOMPARE(form->tbl->item(2, 3)->text(), QStringLiteral("one"));
        QVERIFY(sortByClicks(*form, 1, Qt::DescendingOrder));
        QCOMPARE(form->tbl->item(0, 3)->text(), QStringLiteral("one"));
    }

    void selectAllTogglesEveryRow()
    {
        for (const char* title : {"x1", "x2", "x3"})
            f->addExercise(QLatin1String(title));
        QVERIFY(script(f->exerciseReplies(3)));
        auto form = openForm();
        auto states = [&] {
            QList<Qt::CheckState> result;
            for (int row = 0; row < form->tbl->rowCount(); ++row)
                result << form->tbl->item(row, 1)->checkState();
            return result;
        };
        form->tbl->item(1, 1)->setCheckState(Qt::Unchecked);
        form->chkSelection->setChecked(false);
        QCOMPARE(states(), QList<Qt::CheckState>(3, Qt::Unchecked));

        QTest::mouseClick(form->btnUpload, Qt::LeftButton);
        QCOMPARE(newBoxes(), QStringList{info(QStringLiteral("Please select something to upload."))});
        QCOMPARE(f->uploadCalls(), QStringList());
        QVERIFY(form->isVisible());

        form->chkSelection->setChecked(true);
        QCOMPARE(states(), QList<Qt::CheckState>(3, Qt::Checked));
    }

    void uploadWithEmptyTable()
    {
        auto form = openForm();
        QCOMPARE(form->tbl->rowCount(), 0);
        form->upload();
        QCOMPARE(newBoxes(), QStringList{info(QStringLiteral("Please select something to upload."))});
        QVERIFY(form->isVisible());
    }

    void neverUploadSelected_data()
    {
        QTest::addColumn<bool>("anyChecked");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("flagged");
        QTest::newRow("confirmed") << true << 0 << true;
        QTest::newRow("declined") << true << 1 << false;
        QTest::newRow("nothing checked") << false << 0 << false;
    }
    void neverUploadSelected()
    {
        QFETCH(bool, anyChecked);
        QFETCH(int, answer);
        QFETCH(bool, flagged);
        const QStringList ids{f->addExercise(QStringLiteral("keep")), f->addExercise(QStringLiteral("drop1")),
                              f->addExercise(QStringLiteral("drop2"))};
        auto form = openForm();
        if (anyChecked)
            form->tbl->item(rowOfTitle(*form, QStringLiteral("keep")), 1)->setCheckState(Qt::Unchecked);
        else
            form->chkSelection->setChecked(false);
        f->tree().answerBoxes({answer});
        QTest::mouseClick(form->btnRemove, Qt::LeftButton);

        const QString question = WizardTestTree::box(MessageBoxHelper::Question,
                                                     QStringLiteral(
                                                         "Are you sure you want to never upload the selected content?"),
                                                     {QStringLiteral("Yes, I'm sure"), QStringLiteral("No, cancel")});
        QCOMPARE(newBoxes(), anyChecked
                                 ? QStringList{question}
                                 : QStringList{info(QStringLiteral("You haven't selected anything to remove."))});
        QCOMPARE(UploadFixture::doNotUpload(ids.at(0)), QStringLiteral("0"));
        QCOMPARE(UploadFixture::doNotUpload(ids.at(1)), flagged ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(UploadFixture::doNotUpload(ids.at(2)), flagged ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(f->uploadableIds(), flagged ? QStringList{ids.at(0)} : ids);
        QCOMPARE(form->isVisible(), !flagged);
        QCOMPARE(f->uploadCalls(), QStringList());
    }

    // Content: an exercise with a translation, then two plain exercises; the
    // network is asked for them in that order. "ok" stands for a good reply.
    void errorReplies_data()
    {
        QTest::addColumn<QStringList>("exerciseReplies");
        QTest::addColumn<QStringList>("manifestReplies");
        QTest::addColumn<int>("errors");
        QTest::addColumn<QStringList>("local");
        QTest::newRow("two exercises refused") << QStringList{"Error=refused", "ok", "Error=busy"} << QStringList{} << 2
                                               << QStringList{"first", "translated", "translation", "third"};
        QTest::newRow("blank exercise id") << QStringList{"PId=", "ok", "ok"} << QStringList{} << 1
                                           << QStringList{"first", "translated", "translation"};
        QTest::newRow("blank translation id") << QStringList{"ok", "ok", "ok", "ok"} << QStringList{"PId="} << 1
                                              << QStringList{"first", "translated", "translation"};
        QTest::newRow("translation refused") << QStringList{"ok", "ok", "ok", "ok"} << QStringList{"Error=no"} << 1
                                             << QStringList{"first", "translated", "translation"};
        QTest::newRow("translated exercise refused") << QStringList{"ok", "Error=no", "ok", "ok"} << QStringList{} << 1
                                                     << QStringList{"first", "translated", "translation"};
    }
    void errorReplies()
    {
        QFETCH(QStringList, exerciseReplies);
        QFETCH(QStringList, manifestReplies);
        QFETCH(int, errors);
        QFETCH(QStringList, local);
        QHash<QString, QString> ids;
        ids.insert(QStringLiteral("first"), f->addExercise(QStringLiteral("errfirst"), QStringLiteral("errfirst-en")));
        ids.insert(QStringLiteral("second"), f->addExercise(QStringLiteral("errsecond")));
        ids.insert(QStringLiteral("third"), f->addExercise(QStringLiteral("errthird")));
        ids.insert(QStringLiteral("translation"), UploadFixture::translationOf(ids.value(QStringLiteral("first"))));
        ids.insert(QStringLiteral("translated"),
                   UploadFixture::translatedExerciseOf(ids.value(QStringLiteral("first"))));
        QHash<QString, QStringList> pieces;
        for (auto it = ids.cbegin(); it != ids.cend(); ++it)
            pieces.insert(it.key(),
                          it.key() == QLatin1String("translation") ? QStringList{it.value()} : f->piecesOf(it.value()));
        for (QString& reply : exerciseReplies)
            reply = reply == QLatin1String("ok") ? f->exerciseReply() : reply;
        QVERIFY(script(exerciseReplies.join(QStringLiteral(" | ")), manifestReplies.join(QStringLiteral(" | "))));

        auto form = openForm();
        form->upload();

        QCOMPARE(newBoxes(), QStringList{errorsMessage(errors)});
        for (auto it = pieces.cbegin(); it != pieces.cend(); ++it) {
            if (local.contains(it.key()))
                expectLocal(it.value());
            else
                QVERIFY2(UploadFixture::persistentId(it.value().first()) != QLatin1String("0"), qPrintable(it.key()));
        }
        QCOMPARE(f->uploadableIds().contains(ids.value(QStringLiteral("first"))), local.contains("first"));
        QCOMPARE(f->uploadableIds().contains(ids.value(QStringLiteral("third"))), local.contains("third"));
        QVERIFY(!f->uploadableIds().contains(ids.value(QStringLiteral("second"))));
    }

    void lessonRefusedKeepsItsMembersUploaded()
    {
        const QString member = f->addExercise(QStringLiteral("refusedmember"));
        const QString lesson = f->addLesson(QStringLiteral("Refused"), {member});
        QVERIFY(script(f->exerciseReplies(1), QStringLiteral("Error=no lessons today")));
        auto form = openForm();
        form->upload();
        QCOMPARE(newBoxes(), QStringList{errorsMessage(1)});
        QCOMPARE(f->uploadCalls(), (QStringList{"uploadExercise:" + member, "uploadLesson:" + lesson}));
        QVERIFY(UploadFixture::persistentId(member) != QLatin1String("0"));
        QCOMPARE(UploadFixture::persistentId(lesson), QStringLiteral("0"));
        QCOMPARE(f->uploadableIds(), QStringList{lesson});
    }

    // Content: an exercise with a translation, then a plain one.
    void timeOutRollsBackAndGoesOffline_data()
    {
        QTest::addColumn<QStringList>("exerciseReplies");
        QTest::addColumn<QString>("manifestReplies");
        QTest::addColumn<int>("calls");
        QTest::newRow("exercise") << QStringList{"timedOut=yes"} << "" << 1;
        QTest::newRow("translated exercise") << QStringList{"ok", "timedOut=yes"} << "" << 2;
        QTest::newRow("translation") << QStringList{"ok", "ok"} << "timedOut=yes" << 3;
    }
    void timeOutRollsBackAndGoesOffline()
    {
        QFETCH(QStringList, exerciseReplies);
        QFETCH(QString, manifestReplies);
        QFETCH(int, calls);
        const QString first = f->addExercise(QStringLiteral("slowfirst"), QStringLiteral("slowfirst-en"));
        const QString second = f->addExercise(QStringLiteral("slowsecond"));
        const QString translation = UploadFixture::translationOf(first);
        const QString translated = UploadFixture::translatedExerciseOf(first);
        const QStringList firstPieces = f->piecesOf(first);
        const QStringList translatedPieces = f->piecesOf(translated);
        for (QString& reply : exerciseReplies)
            reply = reply == QLatin1String("ok") ? f->exerciseReply() : reply;
        QVERIFY(script(exerciseReplies.join(QStringLiteral(" | ")), manifestReplies));

        auto form = openForm();
        form->upload();

        const QStringList all{"uploadExercise:" + first, "uploadExercise:" + translated,
                              "uploadTranslation:" + translation};
        QCOMPARE(f->uploadCalls(), all.mid(0, calls));
        QCOMPARE(newBoxes(), QStringList{info(kNetworkError)});
        QCOMPARE(mHost->offlineMoves, 1);
        expectLocal(firstPieces);
        expectLocal(translatedPieces);
        expectLocal({translation});
        QCOMPARE(f->uploadableIds(), (QStringList{first, second}));
    }

    void abortStopsAfterTheCurrentRow()
    {
        const QStringList ids{f->addExercise(QStringLiteral("abort1")), f->addExercise(QStringLiteral("abort2")),
                              f->addExercise(QStringLiteral("abort3"))};
        QVERIFY(script(f->exerciseReplies(3)));
        auto form = openForm();
        Aborter aborter(form.get(), QStringLiteral("Uploading..."), 1, f.get());
        form->upload();
        QVERIFY(aborter.pressed());
        QCOMPARE(f->uploadCalls(), QStringList{"uploadExercise:" + ids.at(0)});
        QCOMPARE(newBoxes(), QStringList{info(QStringLiteral(
                                 "Upload cancelled.  Content not yet uploaded remains on your upload list."))});
        QCOMPARE(f->uploadableIds(), ids.mid(1));
    }

    void abortingALessonGoesOn()
    {
        const QString a = f->addExercise(QStringLiteral("lessonA"));
        const QString b = f->addExercise(QStringLiteral("lessonB"));
        const QString lesson = f->addLesson(QStringLiteral("Aborted"), {a, b});
        const QString free = f->addExercise(QStringLiteral("lessonFree"));
        QVERIFY(script(f->exerciseReplies(3), f->manifestReplies(1)));
        auto form = openForm();
        Aborter aborter(form.get(), QStringLiteral("Uploading Lesson 'Aborted'..."), 1, f.get());
        form->upload();
        QVERIFY(aborter.pressed());
        QCOMPARE(f->uploadCalls(),
                 (QStringList{"uploadExercise:" + a, "uploadExercise:" + b, "uploadExercise:" + free}));
        QCOMPARE(newBoxes(),
                 QStringList{info(QStringLiteral(
                     "Upload complete.  Lessons cancelled and not yet uploaded remain on your upload list."))});
        QCOMPARE(f->uploadableIds(), QStringList{lesson});
    }

    void exerciseThatNoLongerLoadsCountsAnError()
    {
        const QString gone = f->addExercise(QStringLiteral("gone"));
        const QString kept = f->addExercise(QStringLiteral("kept"));
        const QString lesson = f->addLesson(QStringLiteral("Broken"), {gone, kept});
        const QString free = f->addExercise(QStringLiteral("afterbroken"));
        // The exercise's text row goes: the lesson still names it, but it no longer loads.
        QVERIFY(UploadFixture::exec(QStringLiteral("DELETE FROM tm WHERE mlmid = ") + gone));
        QVERIFY(!std::unique_ptr<ZoExercise>(f->store()->getExercise(QStringLiteral("Exercise"), gone)));
        QVERIFY(script(f->exerciseReplies(2), f->manifestReplies(1)));
        auto form = openForm();
        form->upload();
        QCOMPARE(newBoxes(), QStringList{errorsMessage(1)});
        QCOMPARE(f->uploadCalls(), (QStringList{"uploadExercise:" + kept, "uploadExercise:" + free}));
        QCOMPARE(f->uploadableIds(), QStringList{lesson});
    }

    void itemGoneBeforeUploadCountsAnError()
    {
        const QString gone = f->addExercise(QStringLiteral("vanished"));
        const QString kept = f->addExercise(QStringLiteral("stayed"));
        QVERIFY(script(f->exerciseReplies(1)));
        auto form = openForm();
        QVERIFY(f->store()->remove(QStringLiteral("Exercise"), {gone}));
        form->upload();
        QCOMPARE(newBoxes(), QStringList{errorsMessage(1)});
        QCOMPARE(f->uploadCalls(), QStringList{"uploadExercise:" + kept});
    }

    void knownSoundIsNotSentAgain_data()
    {
        QTest::addColumn<bool>("known");
        QTest::newRow("new sound") << false;
        QTest::newRow("sound already on the network") << true;
    }
    void knownSoundIsNotSentAgain()
    {
        QFETCH(bool, known);
        const QString id = f->addExercise(QStringLiteral("sound"));
        const QStringList pieces = f->piecesOf(id);
        QCOMPARE(pieces.size(), 3);
        const QString mediaId = QStringLiteral("known-media-") + f->userName();
        if (known)
            QCOMPARE(ZoDbHelper().assignPersistentId(pieces.at(2), mediaId, true), 1);
        QVERIFY(
            script(known ? QStringLiteral("PId=ks-%1;PersistentTermId=kt-%1").arg(f->userName()) : f->exerciseReply()));
        auto form = openForm();
        form->upload();
        const auto sent = f->tree().netCalls(QStringLiteral("uploadExercise"));
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.first().arg(1), known ? QString() : QStringLiteral("sound.ogg"));
        QCOMPARE(newBoxes(), QStringList{info(kComplete)});
        if (known)
            QCOMPARE(UploadFixture::persistentId(pieces.at(2)), mediaId);
    }

    void textsOnScreen_data() { ScreenTexts::addLanguageAndFontRows(); }

    // The heading, the Type column and every other text of the dialog show
    // in full at the smallest and largest font; in German none stays English.
    void textsOnScreen()
    {
        QFETCH(bool, german);
        QFETCH(int, pointSize);
        const QString member = f->addExercise(QStringLiteral("chat"));
        f->addLesson(QStringLiteral("animaux"), {member});
        ScreenTexts::PointSize size(pointSize);
        auto english = openForm();
        QCOMPARE(english->tbl->rowCount(), 2);
        const QList<ScreenTexts::Shown> englishTexts = ScreenTexts::shown(english.get(), true);
        std::unique_ptr<ScreenTexts::German> de;
        std::unique_ptr<UploadForm> form;
        if (german) {
            english.reset();
            de = std::make_unique<ScreenTexts::German>([this] { f->store()->releaseResources(); });
            form = openForm();
            const QStringList untranslated =
                ScreenTexts::untranslated(englishTexts, ScreenTexts::shown(form.get(), true), ScreenTexts::sameWords(),
                                          {QStringLiteral("chat"), QStringLiteral("animaux")});
            QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral("; "))));
        } else {
            form = std::move(english);
        }
        QTRY_VERIFY2(ScreenTexts::cut(form.get()).isEmpty(), qPrintable(ScreenTexts::cut(form.get()).join("; ")));
    }
};

QTEST_MAIN(TestUpload)
#include "tst_upload.moc"
