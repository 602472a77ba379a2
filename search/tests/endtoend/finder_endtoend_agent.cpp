// One side of tst_finder_endtoend, started inside a temporary ready-to-run
// tree with the real network manager, bridge, Java client and a shared peer
// service. "uploader" makes 22 exercises and a lesson and uploads them with
// the upload dialog; "searcher" finds them through the search tab, page by
// page, downloads the lesson and one exercise more, and practises them in the
// study tab with the scripted sound plug-in. "hostile" uploads, through the
// real client but with messages of its own making, exercises that name their
// sounds in unsafe ways, a sound that is not a WAV file, a lesson that lists
// a lesson and a translated exercise; "victim" searches for each and downloads
// it through the search tab. "underAttack" runs against a hostile peer (the
// Java tests' double): download bars and searches it answers without end,
// past the limits or not at all.

#include "AgentSession.h"
#include "BridgeLibrary.h"
#include "ContentGate.h"
#include "IDbManager.h"
#include "IForm.h"
#include "INetManager.h"
#include "IStudyResource.h"
#include "PluginLocator.h"
#include "TestHost.h"
#include "UploadForm.h"
#include "XmlPathMap.h"
#include "ZoDbHelper.h"
#include "ZoDownload.h"
#include "ZoLesson.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const int kExercises = 22;
const QString kLessonTitle = QStringLiteral("Maisons du village");

QString term(int i)
{
    return QStringLiteral("maison %1").arg(i, 2, 10, QLatin1Char('0'));
}

// The hostile learner's exercises: the media part of the upload, the sound
// sent, and the refusal the peer answers (empty when it takes the upload).
const QString kTwoNames = QStringLiteral("at most one");
const QString kNotOnTheNetwork = QStringLiteral("not on the network");
const QString kSoundRefused = QStringLiteral("The exercise's sound was refused: the peer does not have it, or it "
                                             "is not a WAV sound of at most 32 MB.");
const QString kSourceTerm = QStringLiteral("loup hotel");
const QString kTranslatedTerm = QStringLiteral("wolf hotel");

QString exerciseXml(const QString& term, const QString& language, const QString& mediaAttributes,
                    const QString& mediaElements)
{
    return QStringLiteral("<exercise><manifest localManifestID=\"4\" persistentManifestID=\"0\"/>"
                          "<textual_manifest learnerLevelID=\"2\"><langID>%2</langID></textual_manifest>"
                          "<term><manifest localManifestID=\"5\"/><textual_manifest><manifestValue><![CDATA[%1]]>"
                          "</manifestValue><langID>%2</langID></textual_manifest></term><media><manifest "
                          "localManifestID=\"6\"/><media_manifest fluencyLevelID=\"3\"%3>%4<voice>Loup</voice>"
                          "<langID>%2</langID></media_manifest></media><kvps/></exercise>")
        .arg(term, language, mediaAttributes, mediaElements);
}

QString nameElement(const QString& name)
{
    return QStringLiteral("<mediaManifestFileName>%1</mediaManifestFileName>").arg(name.toHtmlEscaped());
}

QString nameAttribute(const QString& name)
{
    return QStringLiteral(" mediaManifestFileName=\"%1\"").arg(name.toHtmlEscaped());
}

QString envelope(const QString& type, const QString& body)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<message><header><from>hostile</from><to/>"
                          "<type>%1</type></header><body><%1>%2</%1></body></message>")
        .arg(type, body);
}

QStringList boxes()
{
    QFile file(qEnvironmentVariable("VIREDA_MSGBOX_LOG"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// A main window with the search and the study tab: a change of tab asks the
// tab shown to leave and the next to refresh, and shows the next.
class TwoTabHost : public TestHost
{
public:
    enum { StudyTab = 1, SearchTab = 3 };

    void refreshTabForms(int index) override
    {
        TestHost::refreshTabForms(index);
        IForm* current = tabs.value(shown);
        IForm* next = tabs.value(index);
        if (index == shown || !current || !next || current->customLeave() == 0 || next->customRefresh() == 0)
            return;
        current->widget()->hide();
        next->widget()->show();
        shown = index;
    }

    QHash<int, IForm*> tabs;
    int shown = SearchTab;
};

} // namespace

class FinderAgent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void uploader();
    void searcher();
    void hostile_data();
    void hostile();
    void victim_data();
    void victim();
    void underAttack_data();
    void underAttack();
    void searchesPastALimit_data();
    void searchesPastALimit();

private:
    template <class T>
    T* child(const char* name) const
    {
        T* found = mForm->widget()->findChild<T*>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    bool pageButtonShown(const char* name) const { return !child<QWidget>(name)->isHidden(); }
    QStringList column(int col) const;
    void downloadRow(int row);
    // Drills every entry of the study tab: the model, and for the last a
    // take of the learner, its playback and the comparison.
    void practise(IForm* studyTab, IStudyResource* study);
    // The search tab on a host of its own, made once.
    void openSearchTab();
    // Searches the language's exercises (or lessons) for text; the rows found.
    int searchFor(const QString& text, const QString& languageCode, bool lessons = false);
    // Downloads the first row found and waits for its bar to finish; the
    // reason the bar gives, or "complete".
    QString downloadFirstRow();
    // What a download may leave: plain names in "Content", sounds that are WAV
    // files, stored exercises whose sounds are there; and the program online.
    void checkNothingUnsafe();
    // Sends a message of the hostile learner's making, with a sound file
    // when given; the reply.
    QString sendRaw(const QString& type, const QString& body, const QString& soundPath = QString());
    static QString replyValue(const QString& reply, const QString& path);
    QString uploadExercise(const QString& xml, const QByteArray& sound, QString* pid = nullptr);
    void hostileRows();

    AgentSession mSession;
    IForm* mForm = nullptr;
    IForm* mStudyTab = nullptr;
    std::unique_ptr<TwoTabHost> mHost;
};

void FinderAgent::initTestCase()
{
    mSession.open();
    if (QTest::currentTestFailed())
        return;
    AgentSession::Table extra;
    // A second language to search in.
    if (qEnvironmentVariableIsSet("FINDER_ENGLISH")) {
        extra = {{"FLanguage2", mSession.languageName("eng")},
                 {"FFluencyLevel2", mSession.topLevelName()},
                 {"FCountry2", mSession.countryName("GB")},
                 {"FNonSpeaking2", "0"}};
    }
    // The hostile peer registers nobody.
    if (!qEnvironmentVariableIsEmpty("FINDER_USER"))
        mSession.registerAndSignIn(qEnvironmentVariable("FINDER_USER"), QStringLiteral("finder.pass1"), extra);
}

void FinderAgent::cleanupTestCase()
{
    if (mForm)
        delete mForm->widget();
    if (mStudyTab)
        delete mStudyTab->widget();
    mHost.reset();
    mSession.close();
}

void FinderAgent::uploader()
{
    QStringList ids;
    for (int i = 1; i <= kExercises; ++i) {
        ids << mSession.addRecordedExercise(term(i), term(i).replace(QLatin1Char(' '), QLatin1Char('-')) + ".ogg", i);
        QVERIFY(!ids.last().isEmpty());
    }
    QVERIFY(!mSession.addLesson(kLessonTitle, QStringLiteral("Rooms and gardens"), ids.mid(0, 3)).isEmpty());

    TestHost host;
    UploadForm form(&host);
    QCOMPARE(form.pendingCount(), kExercises + 1);
    form.upload();
    QCOMPARE(host.offlineMoves, 0);
    QCOMPARE(boxes().size(), 1);
    QVERIFY2(boxes().last().endsWith(QStringLiteral("\tUpload complete.\tOK")), qPrintable(boxes().last()));
}

QStringList FinderAgent::column(int col) const
{
    auto* table = child<QTableWidget>("tbl");
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << table->item(row, col)->text();
    return texts;
}

void FinderAgent::searcher()
{
    TwoTabHost host;
    // Both tabs are made at sign-in, as the main window makes them.
    mStudyTab = PluginLocator::load<IForm>(QStringLiteral("plugins_dll/Forms/Tutor.dll"));
    mForm = PluginLocator::load<IForm>(QStringLiteral("plugins_dll/Forms/Finder.dll"));
    QVERIFY(mForm && mStudyTab);
    for (IForm* tab : {mStudyTab, mForm}) {
        tab->setMainWindow(&host);
        tab->init();
        tab->retranslateView();
        tab->updateViewLists();
        tab->refreshData();
        tab->widget()->resize(900, 600);
    }
    host.tabs = {{TwoTabHost::StudyTab, mStudyTab}, {TwoTabHost::SearchTab, mForm}};
    mForm->widget()->show();
    QCOMPARE(mForm->customRefresh(), 1);

    auto* languages = child<QComboBox>("cmbLanguagesNative");
    languages->setCurrentIndex(languages->findText(mSession.languageName(QStringLiteral("fra"))));
    QVERIFY(languages->currentIndex() > 0);
    child<QLineEdit>("lEditSearch")->setText(QStringLiteral("maison"));
    QTest::mouseClick(child<QPushButton>("btnSearch"), Qt::LeftButton);

    QCOMPARE(column(1).size(), 20);
    QVERIFY(pageButtonShown("label") && pageButtonShown("btnPage1") && pageButtonShown("btnPage2"));
    QVERIFY(!pageButtonShown("btnPage3") && !pageButtonShown("btnPage4"));
    const QStringList firstPage = column(1);
    const QStringList firstIds = column(0);
    QVERIFY(!firstIds.contains(QString()));

    QTest::mouseClick(child<QPushButton>("btnPage2"), Qt::LeftButton);
    const QStringList secondPage = column(1);
    QCOMPARE(secondPage.size(), kExercises - 20);
    QVERIFY(child<QPushButton>("btnPage2")->isFlat());

    QStringList all = firstPage + secondPage;
    all.sort();
    QStringList expected;
    for (int i = 1; i <= kExercises; ++i)
        expected << term(i);
    QCOMPARE(all, expected);

    // Back to the first page: the same rows again.
    QTest::mouseClick(child<QPushButton>("btnPage1"), Qt::LeftButton);
    QCOMPARE(column(0), firstIds);

    child<QRadioButton>("rbSearchLessons")->setChecked(true);
    child<QLineEdit>("lEditSearch")->setText(QStringLiteral("Maisons"));
    QTest::mouseClick(child<QPushButton>("btnSearch"), Qt::LeftButton);
    QCOMPARE(column(1), QStringList{kLessonTitle});
    QCOMPARE(column(2), QStringList{QStringLiteral("Rooms and gardens")});
    QCOMPARE(column(4), QStringList{QStringLiteral("3")});
    QCOMPARE(column(5), QStringList{qEnvironmentVariable("FINDER_UPLOADER")});

    // The lesson and one exercise more through the download queue.
    downloadRow(0);
    child<QRadioButton>("rbSearchExercises")->setChecked(true);
    child<QLineEdit>("lEditSearch")->setText(term(21));
    QTest::mouseClick(child<QPushButton>("btnSearch"), Qt::LeftButton);
    QCOMPARE(column(1), QStringList{term(21)});
    downloadRow(0);

    const QList<QWidget*> bars = mForm->widget()->findChildren<QWidget*>(QStringLiteral("ZoDownload"));
    QCOMPARE(bars.size(), 2);
    for (QWidget* bar : bars)
        QTRY_VERIFY_WITH_TIMEOUT(bar->findChild<QPushButton*>(QStringLiteral("btnDownloadComplete"))->isVisible(),
                                 30000);
    QStringList stored;
    for (const QHash<QString, QString>& row : mSession.db()->search(QStringLiteral("Exercise"), {}))
        stored << row.value(QStringLiteral("Term"));
    stored.sort();
    QCOMPARE(stored, QStringList({term(1), term(2), term(3), term(21)}));
    const QList<QHash<QString, QString>> lessons = mSession.db()->search(QStringLiteral("Lesson"), {});
    QCOMPARE(lessons.size(), 1);
    QCOMPARE(lessons.first().value(QStringLiteral("Title")), kLessonTitle);
    QCOMPARE(lessons.first().value(QStringLiteral("ExerciseCount")), QStringLiteral("3"));
    auto* study = PluginLocator::load<IStudyResource>(QStringLiteral("plugins_dll/Resources/ZoStudyResource.dll"));
    QVERIFY(study);
    QStringList studied;
    for (int i = 0; i < study->count(); ++i)
        studied << study->termAt(i);
    QCOMPARE(studied, QStringList({term(1), term(2), term(3), term(21)}));
    QVERIFY(!study->ids().contains(QStringLiteral("0")));
    const QString sound = study->mediaPathAt(3) + QLatin1Char('/') + study->mediaNameAt(3);
    QVERIFY2(study->mediaNameAt(3).endsWith(QLatin1String(".ogg")) && QFile::exists(sound), qPrintable(sound));

    // "Practice Downloads" takes the learner to the study tab, which shows
    // the downloads and drills them.
    QVERIFY(child<QPushButton>("btnStudy")->isEnabled());
    QTest::mouseClick(child<QPushButton>("btnStudy"), Qt::LeftButton);
    QCOMPARE(host.tabRefreshes, QList<int>{TwoTabHost::StudyTab});
    QCOMPARE(host.shown, int(TwoTabHost::StudyTab));
    QVERIFY(mStudyTab->widget()->isVisible());
    practise(mStudyTab, study);

    QCOMPARE(boxes(), QStringList());
    QCOMPARE(host.offlineMoves, 0);
}

void FinderAgent::practise(IForm* studyTab, IStudyResource* study)
{
    QWidget* page = studyTab->widget();
    auto* table = page->findChild<QTableView*>(QStringLiteral("tbl"));
    auto* shownTerm = page->findChild<QTextEdit*>(QStringLiteral("teStudyTerm"));
    QObject* sound = PluginLocator::instance(QStringLiteral("plugins_dll/Managers/ZoAudio.dll"));
    QVERIFY(table && shownTerm);
    QVERIFY2(sound && sound->property("calls").isValid(), "the scripted sound plug-in is not installed");
    const auto button = [page](const char* name) { return page->findChild<QAbstractButton*>(QLatin1String(name)); };
    const auto idle = [page] {
        for (const char* name : {"modelPlayPoll", "studentPlayPoll", "recordPoll", "comparePoll"}) {
            if (page->findChild<QTimer*>(QLatin1String(name))->isActive())
                return false;
        }
        return true;
    };
    const auto calls = [sound] { return sound->property("calls").toStringList(); };

    QStringList listed;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        listed << table->model()->index(row, 1).data().toString();
    QCOMPARE(listed, QStringList({term(1), term(2), term(3), term(21)}));

    for (int row = 0; row < table->model()->rowCount(); ++row) {
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(row, 1)).center());
        QCOMPARE(table->currentIndex().row(), row);
        QCOMPARE(shownTerm->toPlainText(), listed.at(row));
        const QString model = QStringLiteral("play %1/%2").arg(study->mediaPathAt(row), study->mediaNameAt(row));
        QVERIFY2(button("btnModelPlay")->isEnabled(), qPrintable(model));
        QTest::mouseClick(button("btnModelPlay"), Qt::LeftButton);
        QCOMPARE(calls().count(model), 1);
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 10000);
        QVERIFY(button("btnModelPlay")->isEnabled());
    }

    // The learner records a take of the last, hears it and compares it.
    sound->setProperty("calls", QStringList());
    QTest::mouseClick(button("btnStudentRecord"), Qt::LeftButton);
    QCOMPARE(calls().count(QStringLiteral("recordInto StudentTemp.tmp 1 16000 30")), 1);
    QTRY_VERIFY_WITH_TIMEOUT(idle() && button("btnStudentPlay")->isEnabled(), 10000);
    QTest::mouseClick(button("btnStudentPlay"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 10000);
    QTest::mouseClick(button("btnPlayCompare"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(idle() && button("btnModelPlay")->isEnabled(), 10000);
    const QString model = QStringLiteral("play %1/%2").arg(study->mediaPathAt(3), study->mediaNameAt(3));
    const QString take = QStringLiteral("play Content/StudentTemp.tmp");
    QCOMPARE(calls().filter(QStringLiteral("play ")), QStringList({take, model, take}));
}

// Chooses a result row with the mouse and downloads it.
void FinderAgent::downloadRow(int row)
{
    auto* table = child<QTableWidget>("tbl");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(row, 1)).center());
    QCOMPARE(table->currentRow(), row);
    QVERIFY(child<QPushButton>("btnDownload")->isEnabled());
    QTest::mouseClick(child<QPushButton>("btnDownload"), Qt::LeftButton);
}

QString FinderAgent::replyValue(const QString& reply, const QString& path)
{
    return XmlPathMap(reply, QStringLiteral("doc")).valueOf(path);
}

QString FinderAgent::sendRaw(const QString& type, const QString& body, const QString& soundPath)
{
    BridgeLibrary bridge;
    const QString message = envelope(type, body);
    if (soundPath.isEmpty())
        return bridge.text("sendMessage", message);
    const int handle = bridge.upload(message, {soundPath}, -1);
    if (handle < 0)
        return QString();
    QElapsedTimer timer;
    timer.start();
    while (bridge.call("isUploadXmlDone", handle, 0) == 0 && timer.elapsed() < 30000)
        QThread::msleep(20);
    return bridge.text("getUploadReply", handle);
}

QString FinderAgent::uploadExercise(const QString& xml, const QByteArray& sound, QString* pid)
{
    static int count = 0;
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("Content/hostile-%1.bin").arg(++count));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(sound) != sound.size())
        return QString();
    file.close();
    const QString reply = sendRaw(QStringLiteral("uploadExercise"), xml, path);
    if (pid)
        *pid = replyValue(reply, QStringLiteral("body.uploadExerciseReply.exercise.persistentmanifestid"));
    return reply;
}

void FinderAgent::hostileRows()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QString>("elements");
    QTest::addColumn<QByteArray>("sound");
    // What the peer answers to the upload; empty when it takes it.
    QTest::addColumn<QString>("uploadRefusal");
    // What the download's bar shows: "complete", or its face and reason.
    QTest::addColumn<QString>("outcome");
    const QByteArray wav = AgentSession::soundBytes(5);
    // The start of a program, named as a sound.
    const QByteArray program = QByteArray("MZ\x90\0\x03\0\0\0\x04\0", 10) + QByteArray(256 * 1024, 'p');
    const QString exercise = QStringLiteral("exercise");
    const QString complete = QStringLiteral("complete");
    QTest::newRow("attribute name climbing out")
        << exercise << "loup alpha" << nameAttribute("../../../../etc/hostname") << QString() << wav << QString()
        << complete;
    QTest::newRow("element name climbing out")
        << exercise << "loup bravo" << QString() << nameElement("../../Content/../../bravo.wav") << wav << QString()
        << complete;
    QTest::newRow("absolute path") << exercise << "loup charlie" << QString() << nameElement("/etc/hostname") << wav
                                   << QString() << complete;
    QTest::newRow("control characters") << exercise << "loup delta" << QString()
                                        << nameElement(QStringLiteral("a\nb\tc\u202Evaw.wav")) << wav << QString()
                                        << complete;
    QTest::newRow("two names: attribute and element") << exercise << "loup echo" << nameAttribute("echo.wav")
                                                      << nameElement("../echo.wav") << wav << kTwoNames << QString();
    QTest::newRow("two names: two elements")
        << exercise << "loup india" << QString() << (nameElement("india.wav") + nameElement("/india.wav")) << wav
        << kTwoNames << QString();
    // The peer keeps only sounds that play; a peer that serves one anyway is the hostile peer's "program".
    QTest::newRow("sound that is not a WAV file")
        << exercise << "loup foxtrot" << QString() << nameElement("foxtrot.wav") << program
        << "The sound is refused: it is not a WAV sound" << QString();
    // Its own id is the peer's to give: a lesson can list only one that exists.
    QTest::newRow("lesson listing a lesson")
        << "lesson"
        << "loup golf" << QString() << nameElement("golf.wav") << wav << kNotOnTheNetwork << QString();
    QTest::newRow("translated exercise") << "translation" << kSourceTerm << QString() << nameElement("hotel.wav") << wav
                                         << QString() << complete;
}

void FinderAgent::hostile_data()
{
    hostileRows();
}

void FinderAgent::hostile()
{
    QFETCH(QString, kind);
    QFETCH(QString, term);
    QFETCH(QString, attributes);
    QFETCH(QString, elements);
    QFETCH(QByteArray, sound);
    QFETCH(QString, uploadRefusal);
    const QString french = QStringLiteral("fra");
    if (kind == QLatin1String("lesson")) {
        QString member;
        uploadExercise(exerciseXml(term + QStringLiteral(" member"), french, attributes, elements), sound, &member);
        QVERIFY(!member.isEmpty());
        const auto lesson = [&](const QString& title, const QStringList& members) {
            QString list;
            for (int i = 0; i < members.size(); ++i)
                list += QStringLiteral("<exercise sequenceNb=\"%1\" persistentManifestID=\"%2\"/>")
                            .arg(i + 1)
                            .arg(members.at(i));
            return QStringLiteral(
                       "<lesson numChildren=\"%1\"><manifest localManifestID=\"9\"/><textual_manifest "
                       "learnerLevelID=\"1\"><manifestTitle><![CDATA[%2]]></manifestTitle><manifestDescription>"
                       "d</manifestDescription><langID>fra</langID></textual_manifest><exercises>%3"
                       "</exercises><kvps/></lesson>")
                .arg(members.size())
                .arg(title, list);
        };
        const QString first = sendRaw(QStringLiteral("uploadLesson"),
                                      lesson(QStringLiteral("listed lesson"), {member}));
        QCOMPARE(replyValue(first, QStringLiteral("header.status")), QStringLiteral("1"));
        const QString firstPid = replyValue(first,
                                            QStringLiteral("body.uploadLessonReply.lesson.persistentmanifestid"));
        QVERIFY(!firstPid.isEmpty());
        const QString listing = sendRaw(QStringLiteral("uploadLesson"), lesson(term, {member, firstPid}));
        QCOMPARE(replyValue(listing, QStringLiteral("header.status")), QStringLiteral("-1"));
        const QString why = replyValue(listing, QStringLiteral("body.uploadLessonReply.error_description"));
        QVERIFY2(why.contains(uploadRefusal), qPrintable(listing));
        return;
    }
    if (kind == QLatin1String("translation")) {
        QString source;
        QString translated;
        uploadExercise(exerciseXml(term, french, attributes, elements), sound, &source);
        uploadExercise(exerciseXml(kTranslatedTerm, QStringLiteral("eng"), attributes, elements), sound, &translated);
        QVERIFY(!source.isEmpty() && !translated.isEmpty());
        const QString translation =
            sendRaw(QStringLiteral("uploadTranslation"),
                    QStringLiteral("<translation><manifest persistentManifestID=\"0\"/><textual_manifest><langID>eng"
                                   "</langID></textual_manifest><exercises><exercise persistentManifestID=\"%1\"/>"
                                   "<exercise persistentManifestID=\"%2\"/></exercises><kvps/></translation>")
                        .arg(source, translated));
        QCOMPARE(replyValue(translation, QStringLiteral("header.status")), QStringLiteral("1"));
        return;
    }
    const QString reply = uploadExercise(exerciseXml(term, french, attributes, elements), sound);
    const QString why = replyValue(reply, QStringLiteral("body.uploadExerciseReply.error_description"));
    QCOMPARE(replyValue(reply, QStringLiteral("header.status")),
             uploadRefusal.isEmpty() ? QStringLiteral("1") : QStringLiteral("-1"));
    QVERIFY2(why.contains(uploadRefusal), qPrintable(reply));
}

void FinderAgent::openSearchTab()
{
    if (mForm)
        return;
    mHost = std::make_unique<TwoTabHost>();
    mForm = PluginLocator::load<IForm>(QStringLiteral("plugins_dll/Forms/Finder.dll"));
    QVERIFY(mForm);
    mForm->setMainWindow(mHost.get());
    mForm->init();
    mForm->retranslateView();
    mForm->updateViewLists();
    mForm->refreshData();
    mForm->widget()->resize(900, 600);
    mForm->widget()->show();
    QCOMPARE(mForm->customRefresh(), 1);
}

int FinderAgent::searchFor(const QString& text, const QString& languageCode, bool lessons)
{
    auto* languages = child<QComboBox>("cmbLanguagesNative");
    languages->setCurrentIndex(languages->findText(mSession.languageName(languageCode)));
    if (languages->currentIndex() <= 0) {
        qWarning("the language %s cannot be chosen", qPrintable(languageCode));
        return -1;
    }
    child<QRadioButton>(lessons ? "rbSearchLessons" : "rbSearchExercises")->setChecked(true);
    child<QLineEdit>("lEditSearch")->setText(text);
    QTest::mouseClick(child<QPushButton>("btnSearch"), Qt::LeftButton);
    return child<QTableWidget>("tbl")->rowCount();
}

QString FinderAgent::downloadFirstRow()
{
    const QList<QWidget*> before = mForm->widget()->findChildren<QWidget*>(QStringLiteral("ZoDownload"));
    downloadRow(0);
    QWidget* bar = nullptr;
    for (QWidget* found : mForm->widget()->findChildren<QWidget*>(QStringLiteral("ZoDownload"))) {
        if (!before.contains(found))
            bar = found;
    }
    if (!bar)
        return QStringLiteral("no bar");
    auto* complete = bar->findChild<QPushButton*>(QStringLiteral("btnDownloadComplete"));
    auto* error = bar->findChild<QPushButton*>(QStringLiteral("btnError"));
    QElapsedTimer timer;
    timer.start();
    while (!complete->isVisible() && !(error->isVisible() && error->text() != QLatin1String("Queued"))) {
        if (timer.elapsed() > 40000)
            return QStringLiteral("still running");
        QTest::qWait(20);
    }
    if (complete->isVisible())
        return QStringLiteral("complete");
    const qsizetype shown = boxes().size();
    QTest::mouseClick(error, Qt::LeftButton);
    const QStringList all = boxes();
    if (all.size() != shown + 1)
        return error->text() + QStringLiteral(": no reason shown");
    return error->text() + QStringLiteral(": ") + all.last().section(QLatin1Char('\t'), 2, 2);
}

void FinderAgent::checkNothingUnsafe()
{
    QCOMPARE(mHost->offlineMoves, 0);
    INetManager* net = mSession.net();
    QCOMPARE(net->isOfflineLogin(), 0);
    QVERIFY(net->isQueryServiceStarted() && net->isDownloadServiceStarted());
    QVERIFY(child<QPushButton>("btnSearch")->isEnabled());
    const QStringList files = QDir(QStringLiteral("Content")).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : files)
        QVERIFY2(ContentGate::isPlainFileName(name) && !name.endsWith(QLatin1String(".part")), qPrintable(name));
    for (const QHash<QString, QString>& row : mSession.db()->search(QStringLiteral("Exercise"), {})) {
        const QString name = row.value(QStringLiteral("MediaName"));
        QVERIFY2(ContentGate::isPlainFileName(name), qPrintable(name));
        const QString path = QDir(row.value(QStringLiteral("MediaPath"))).filePath(name);
        QVERIFY2(ContentGate::isWavFile(path), qPrintable(path));
    }
}

void FinderAgent::victim_data()
{
    hostileRows();
}

void FinderAgent::victim()
{
    QFETCH(QString, kind);
    QFETCH(QString, term);
    QFETCH(QString, uploadRefusal);
    QFETCH(QString, outcome);
    openSearchTab();
    if (QTest::currentTestFailed())
        return;
    const QString french = QStringLiteral("fra");
    const QString noResults = QStringLiteral("Search found no results.");
    ZoDbHelper helper;
    if (!uploadRefusal.isEmpty()) {
        // Refused by the peer: nothing of it is there to find.
        QCOMPARE(searchFor(term, french, kind == QLatin1String("lesson")), 0);
        QVERIFY2(boxes().value(boxes().size() - 1).section(QLatin1Char('\t'), 2, 2) == noResults,
                 qPrintable(boxes().join(QLatin1Char('\n'))));
        checkNothingUnsafe();
        return;
    }
    if (kind == QLatin1String("translation")) {
        QCOMPARE(searchFor(kTranslatedTerm, QStringLiteral("eng")), 1);
        const QString translatedPid = child<QTableWidget>("tbl")->item(0, 0)->text();
        QCOMPARE(searchFor(term, french), 1);
        QCOMPARE(downloadFirstRow(), outcome);
        // Known now as a translation of the first, not stored as an exercise of its own.
        QVERIFY(helper.localIdOf(translatedPid) > 0);
        QVERIFY(!helper.isExerciseStored(translatedPid));
        QCOMPARE(searchFor(kTranslatedTerm, QStringLiteral("eng")), 1);
        QCOMPARE(downloadFirstRow(), outcome);
        QVERIFY(helper.isExerciseStored(translatedPid));
        const QList<QHash<QString, QString>> rows = mSession.db()->search(QStringLiteral("Exercise"),
                                                                          {{"Term", kTranslatedTerm}});
        QCOMPARE(rows.size(), 1);
        QVERIFY(!rows.first().value(QStringLiteral("MediaName")).isEmpty());
        checkNothingUnsafe();
        return;
    }
    QCOMPARE(searchFor(term, french), 1);
    const QString pid = child<QTableWidget>("tbl")->item(0, 0)->text();
    QCOMPARE(downloadFirstRow(), outcome);
    QCOMPARE(helper.isExerciseStored(pid), outcome == QLatin1String("complete"));
    checkNothingUnsafe();
}

namespace {

QStringList partialFiles()
{
    return QDir(QStringLiteral("Content")).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden);
}

const QByteArray kLearnersRecording("RIFF the learner's own recording");

QByteArray learnersRecording()
{
    QFile file(QStringLiteral("Content/learner_1.wav"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void FinderAgent::underAttack_data()
{
    QTest::addColumn<QString>("pid");
    // What happens while the sound arrives: nothing, the program goes offline, the learner signs out.
    QTest::addColumn<QString>("then");
    // What the bar shows: "complete", its face and reason (the start of it), or "gone" with the tab.
    QTest::addColumn<QString>("outcome");
    const QString soundRefused = QStringLiteral("Error: ") + kSoundRefused;
    QTest::newRow("endless sound") << "endless"
                                   << "" << soundRefused;
    QTest::newRow("sound that is not a WAV file") << "program"
                                                  << "" << soundRefused;
    QTest::newRow("name in an attribute, climbing out") << "attribute"
                                                        << ""
                                                        << "Error: The exercise does not name exactly one sound.";
    QTest::newRow("reply without end") << "huge"
                                       << ""
                                       << "Error: ";
    QTest::newRow("reply claiming 512 MB") << "claimed"
                                           << ""
                                           << "Error: ";
    QTest::newRow("150,000 fields")
        << "fields"
        << "" << QStringLiteral("Error: The exercise has more than %1 fields.").arg(ContentGate::MaxFieldsPerExercise);
    QTest::newRow("sound longer than it says") << "overlong"
                                               << "" << soundRefused;
    QTest::newRow("translations without end after the sound") << "bigtranslations"
                                                              << ""
                                                              << "Error: ";
    QTest::newRow("stalled sound, then offline") << "stall"
                                                 << "offline"
                                                 << "Error: The program went offline, so the download was stopped.";
    QTest::newRow("stalled sound, then sign-out") << "stall"
                                                  << "sign-out"
                                                  << "gone";
    QTest::newRow("stalled sound, then offline and sign-out") << "stall"
                                                              << "offline, sign-out"
                                                              << "gone";
}

void FinderAgent::underAttack()
{
    QFETCH(QString, pid);
    QFETCH(QString, then);
    QFETCH(QString, outcome);
    {
        QFile file(QStringLiteral("Content/learner_1.wav"));
        QVERIFY(file.exists() || (file.open(QIODevice::WriteOnly) && file.write(kLearnersRecording) > 0));
    }
    const QStringList contentBefore = QDir(QStringLiteral("Content")).entryList(QDir::Files | QDir::Hidden);
    INetManager* net = mSession.net();
    ZoExercise found;
    found.setPId(pid);
    found.setTerm(pid);
    found.setMediaPath(QStringLiteral("Content"));
    found.setMediaName(pid + QStringLiteral(".wav"));
    TestHost host;
    auto bar = std::make_unique<ZoDownload>(found);
    bar->setMainWindow(&host);
    bar->show();
    bool sawPartial = false;
    QTimer watch;
    // Once the stalled sound is arriving, the program goes offline (as the
    // main window does it) or the learner signs out (the tab closes its bars,
    // then the session ends).
    QObject::connect(&watch, &QTimer::timeout, bar.get(), [&] {
        if (partialFiles().isEmpty())
            return;
        watch.stop();
        sawPartial = true;
        if (then.contains(QLatin1String("offline"))) {
            net->resetServiceFlags();
            net->setOfflineLogin(1);
        }
        if (then.contains(QLatin1String("sign-out"))) {
            bar->abandon();
            net->stopNetwork();
        }
    });
    if (!then.isEmpty())
        watch.start(5);
    QSignalSpy finished(bar.get(), &ZoDownload::finished);
    bar->start();
    // The job ends, or the sign-out abandons it.
    QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty() || (sawPartial && then.contains(QLatin1String("sign-out"))), 120000);
    QString shown = QStringLiteral("gone");
    if (!then.contains(QLatin1String("sign-out"))) {
        shown = bar->btnDownloadComplete->isVisibleTo(bar.get())
                    ? QStringLiteral("complete")
                    : bar->btnError->text() + QStringLiteral(": ") + bar->message();
    }
    // Back online for the rows after.
    net->setOfflineLogin(0);
    for (auto set : {&INetManager::setNetworkStarted, &INetManager::setMessagingServiceStarted,
                     &INetManager::setQueryServiceStarted, &INetManager::setDownloadServiceStarted,
                     &INetManager::setUploadServiceStarted})
        (net->*set)(1);
    QVERIFY2(shown.startsWith(outcome), qPrintable(shown));
    QCOMPARE(sawPartial, !then.isEmpty());
    QCOMPARE(partialFiles(), QStringList());
    QCOMPARE(host.offlineMoves, 0);
    QVERIFY(!ZoDbHelper().isExerciseStored(pid));
    QVERIFY(!QFile::exists(QStringLiteral("Content/") + pid + QStringLiteral(".wav")));
    QCOMPARE(learnersRecording(), kLearnersRecording);
    QCOMPARE(QDir(QStringLiteral("Content")).entryList(QDir::Files | QDir::Hidden), contentBefore);
}

void FinderAgent::searchesPastALimit_data()
{
    QTest::addColumn<bool>("lessons");
    QTest::addColumn<QString>("text");
    QTest::newRow("10^5 results") << false << "manyResults";
    QTest::newRow("a lesson of 10^5 members") << true << "manyMembers";
    QTest::newRow("reply without end") << false << "endless reply";
    QTest::newRow("reply claiming 512 MB") << false << "claimed";
}

void FinderAgent::searchesPastALimit()
{
    QFETCH(bool, lessons);
    QFETCH(QString, text);
    INetManager* net = mSession.net();
    const QHash<QString, QString> criteria{{"Term", text},        {"Title", text},      {"Description", text},
                                           {"LanguageID", "fra"}, {"MaxResults", "20"}, {"PageNum", "1"}};
    int status = 0;
    int total = 0;
    const qsizetype found = lessons ? net->queryLessons(criteria, &status, &total).size()
                                    : net->queryExercises(criteria, &status, &total).size();
    QCOMPARE(status, INetManager::ReplyPastLimit);
    QCOMPARE(found, 0);
    QCOMPARE(total, 0);
    QCOMPARE(net->isOfflineLogin(), 0);
}

QTEST_MAIN(FinderAgent)
#include "finder_endtoend_agent.moc"
