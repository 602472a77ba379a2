#include "AuthoringTree.h"
#include "ExerciseSaveRules.h"
#include "FailingWrites.h"
#include "ZoExercise.h"

#include <QDir>
#include <QFile>
#include <QTranslator>
#include <QtTest>

#include <memory>

using Hash = QHash<QString, QString>;
using Rules = ExerciseSaveRules;

namespace {

const QString kGerman = QStringLiteral("German, Standard");
const QString kNewRecording = QStringLiteral("new");

} // namespace

// The save rules without the editor: the real store and the scripted sound
// plug-in on a fresh tree, "maria" signed in with German and French.
class TestExerciseSaveRules : public QObject
{
    Q_OBJECT

    AuthoringTree mFixture;

    static QStringList storedIds()
    {
        QStringList ids;
        const auto rows = AuthoringTree::store()->search(QStringLiteral("Exercise"),
                                                         {{QStringLiteral("Term"), QString()}});
        for (const Hash& row : rows)
            ids << row.value(QStringLiteral("Id"));
        ids.sort();
        return ids;
    }

    QStringList soundFiles() const
    {
        return QDir(mFixture.contentPath(QString())).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    std::unique_ptr<ZoExercise> load(const QString& id) const
    {
        return std::unique_ptr<ZoExercise>(AuthoringTree::store()->getExercise(QStringLiteral("Exercise"), id));
    }

    // A recording just made, as the sound plug-in leaves it.
    bool record() const
    {
        QFile file(mFixture.contentPath(Rules::newRecordingFile()));
        return file.open(QIODevice::WriteOnly) && file.write("RIFF----WAVE") == 12;
    }

    // A draft of a new exercise "Haus" in German with the recording just made.
    Rules::Draft newDraft() const
    {
        Rules::Draft draft;
        draft.term = QStringLiteral("Haus");
        draft.language = kGerman;
        draft.soundDir = Rules::soundDir();
        draft.soundFile = Rules::newRecordingFile();
        draft.modified = true;
        return draft;
    }

    // A draft showing the stored exercise "id" unchanged.
    Rules::Draft storedDraft(const QString& id) const
    {
        auto stored = load(id);
        Rules::Draft draft;
        if (!stored)
            return draft;
        draft.term = stored->term();
        draft.language = stored->language();
        draft.soundDir = stored->mediaPath();
        draft.soundFile = stored->mediaName();
        draft.storedId = id;
        draft.existing = true;
        return draft;
    }

    // Runs the rules with "answer" for the question; whether it was asked.
    static Rules::Outcome save(const Rules::Draft& draft, Rules::Choice answer, bool* asked, bool signedIn = true)
    {
        *asked = false;
        const ZoUser* user = signedIn ? AuthoringTree::users()->currentUser() : nullptr;
        return Rules(AuthoringTree::audio(), AuthoringTree::store()).save(draft, user, [&] {
            *asked = true;
            return answer;
        });
    }

private slots:
    void initTestCase() { QVERIFY(mFixture.setUp()); }
    void cleanupTestCase() { mFixture.tearDown(); }
    void init()
    {
        QVERIFY(mFixture.reset());
        QFile::remove(mFixture.contentPath(Rules::newRecordingFile()));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("message");
        const int refused = Rules::Refused;
        QTest::newRow("nobody signed in") << "signed out" << int(Rules::SaveAsNew) << refused << false
                                          << "You must be signed in to save this Exercise.";
        QTest::newRow("blank term") << "blank term" << int(Rules::SaveAsNew) << refused << false
                                    << "You must supply a Study Term to save this Exercise.";
        QTest::newRow("no language") << "no language" << int(Rules::SaveAsNew) << refused << false
                                     << "You must select a language for this Study Term.";
        QTest::newRow("no recording") << "no recording" << int(Rules::SaveAsNew) << refused << false
                                      << "You must supply a recording to save this Exercise.";
        QTest::newRow("recording outside the sound folder") << "outside" << int(Rules::SaveAsNew) << refused << false
                                                            << "Please supply a new recording for this Exercise.";
        QTest::newRow("recording with a folder in its name")
            << "folder in name" << int(Rules::SaveAsNew) << refused << false
            << "Please supply a new recording for this Exercise.";
        QTest::newRow("translation without language") << "translation" << int(Rules::SaveAsNew) << refused << false
                                                      << "Please select a language for the Translation.";
        QTest::newRow("subject area without language") << "subject" << int(Rules::SaveAsNew) << refused << false
                                                       << "Please select a language for the Subject Area.";
        QTest::newRow("stored, unchanged")
            << "stored unchanged" << int(Rules::SaveAsNew) << refused << false << "You haven't made any changes!";
        QTest::newRow("stored, other language, same recording")
            << "stored language" << int(Rules::SaveAsNew) << refused << false
            << "Please supply a new recording for this Exercise.";
        QTest::newRow("stored, cancelled")
            << "stored field" << int(Rules::Cancel) << int(Rules::Cancelled) << true << "";
        // The fields are checked after the question, whatever its answer.
        QTest::newRow("stored, translation without language after the question")
            << "stored translation" << int(Rules::Overwrite) << refused << true
            << "Please select a language for the Translation.";
    }

    // Nothing is stored and no recording is copied; the learner is told why.
    void refusals()
    {
        QFETCH(QString, change);
        QFETCH(int, answer);
        QFETCH(int, status);
        QFETCH(bool, asked);
        QFETCH(QString, message);
        QVERIFY(record());
        Rules::Draft draft = newDraft();
        if (change.startsWith(QLatin1String("stored"))) {
            const QString id = mFixture.storeExercise(QStringLiteral("Haus"), kGerman);
            QVERIFY(!id.isEmpty());
            draft = storedDraft(id);
            draft.modified = change != QLatin1String("stored unchanged");
            if (change == QLatin1String("stored language"))
                draft.language = QStringLiteral("French");
            if (change == QLatin1String("stored field"))
                draft.fields.append({QStringLiteral("Notes"), {{"Value", "a note"}, {"Language", kGerman}}});
        }
        if (change == QLatin1String("blank term"))
            draft.term = QStringLiteral("  \n ");
        if (change == QLatin1String("no language"))
            draft.language.clear();
        if (change == QLatin1String("no recording"))
            draft.soundFile = QStringLiteral("missing.wav");
        if (change == QLatin1String("outside")) {
            draft.soundDir = QStringLiteral("Icons");
            draft.soundFile = QStringLiteral("checkSign.png");
            QVERIFY(QFileInfo::exists(QStringLiteral("Icons/checkSign.png")));
        }
        if (change == QLatin1String("folder in name")) {
            QVERIFY(QDir(mFixture.contentPath(QString())).mkpath(QStringLiteral("sub")));
            QFile inner(mFixture.contentPath(QStringLiteral("sub/inner.wav")));
            QVERIFY(inner.open(QIODevice::WriteOnly) && inner.write("RIFF") == 4);
            inner.close();
            draft.soundFile = QStringLiteral("sub/inner.wav");
        }
        if (change.endsWith(QLatin1String("translation")))
            draft.fields.append({QStringLiteral("Translation"),
                                 {{"Value", "house"}, {"TranslationFieldError", "No Language Selected"}}});
        if (change == QLatin1String("subject"))
            draft.fields.append(
                {QStringLiteral("Subject Area"), {{"Value", "home"}, {"ContextFieldError", "No Language Selected"}}});

        const QStringList ids = storedIds();
        const QStringList sounds = soundFiles();
        bool wasAsked = false;
        const Rules::Outcome outcome = save(draft, Rules::Choice(answer), &wasAsked,
                                            change != QLatin1String("signed out"));
        QCOMPARE(int(outcome.status), status);
        QCOMPARE(outcome.message, message);
        QCOMPARE(wasAsked, asked);
        QVERIFY(!outcome.exercise);
        QCOMPARE(storedIds(), ids);
        QCOMPARE(soundFiles(), sounds);
    }

    void newExerciseCopiesTheRecording()
    {
        QVERIFY(record());
        Rules::Draft draft = newDraft();
        draft.term = QStringLiteral("  Haus ");
        draft.fields = {{QStringLiteral("Translation"), {{"Value", "house"}, {"Language", "French"}}},
                        {QStringLiteral("Translation"), {{"Value", "maison"}, {"Language", "French"}}}};
        const QStringList before = storedIds();
        bool asked = true;
        const Rules::Outcome outcome = save(draft, Rules::Overwrite, &asked);
        QCOMPARE(int(outcome.status), int(Rules::Saved));
        QCOMPARE(outcome.message, QString());
        QVERIFY(!asked);
        QVERIFY(outcome.exercise);
        const QString id = outcome.exercise->id();
        QVERIFY(!before.contains(id));
        QCOMPARE(storedIds().size(), before.size() + 1);

        auto stored = load(id);
        QVERIFY(stored);
        QCOMPARE(stored->term(), QStringLiteral("Haus"));
        QCOMPARE(stored->language(), kGerman);
        QCOMPARE(stored->voice(), AuthoringTree::userName());
        QCOMPARE(stored->creator(), AuthoringTree::userName());
        QCOMPARE(stored->mediaPath(), QStringLiteral("Content"));
        QVERIFY(stored->mediaName() != Rules::newRecordingFile());
        QCOMPARE(stored->mediaName(), outcome.exercise->mediaName());
        QVERIFY(QFileInfo::exists(mFixture.contentPath(stored->mediaName())));
        QStringList translations;
        for (const auto& field : ExerciseFields::ordered(*stored))
            translations << field.second.value(QStringLiteral("Value"));
        QCOMPARE(translations, (QStringList{"house", "maison"}));
    }

    void storedExercise_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("overwritten");
        QTest::newRow("field, overwrite") << "field" << int(Rules::Overwrite) << true << true;
        QTest::newRow("field, save as new") << "field" << int(Rules::SaveAsNew) << true << false;
        QTest::newRow("term changed: new without asking") << "term" << int(Rules::Overwrite) << false << false;
        QTest::newRow("other language, new recording") << "language" << int(Rules::Overwrite) << false << false;
    }

    // Overwriting keeps the exercise's id and its recording; anything else adds one.
    void storedExercise()
    {
        QFETCH(QString, change);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, overwritten);
        const QString id = mFixture.storeExercise(QStringLiteral("Haus"), kGerman);
        QVERIFY(!id.isEmpty());
        auto original = load(id);
        QVERIFY(original);
        Rules::Draft draft = storedDraft(id);
        draft.modified = true;
        draft.fields.append({QStringLiteral("Notes"), {{"Value", "a note"}, {"Language", kGerman}}});
        if (change == QLatin1String("term"))
            draft.term = QStringLiteral("Häuser");
        if (change == QLatin1String("language")) {
            QVERIFY(record());
            draft.language = QStringLiteral("French");
            draft.soundDir = Rules::soundDir();
            draft.soundFile = Rules::newRecordingFile();
        }
        const QStringList before = storedIds();
        bool wasAsked = false;
        const Rules::Outcome outcome = save(draft, Rules::Choice(answer), &wasAsked);
        QCOMPARE(int(outcome.status), int(Rules::Saved));
        QCOMPARE(wasAsked, asked);
        QVERIFY(outcome.exercise);
        QCOMPARE(outcome.exercise->id() == id, overwritten);
        QCOMPARE(storedIds().size(), before.size() + (overwritten ? 0 : 1));

        auto kept = load(id);
        QVERIFY(kept);
        QCOMPARE(kept->fields().contains(QStringLiteral("Notes")), overwritten);
        QCOMPARE(kept->mediaName(), original->mediaName());
        QCOMPARE(kept->mediaId(), original->mediaId());
        if (!overwritten) {
            auto added = load(outcome.exercise->id());
            QVERIFY(added);
            QCOMPARE(added->term(), draft.term);
            QCOMPARE(added->language(), draft.language);
            QVERIFY(added->fields().contains(QStringLiteral("Notes")));
        }
    }

    void failedWriteLeavesNothing_data()
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

    // No rows and no copied recording stay behind; the cause is named.
    void failedWriteLeavesNothing()
    {
        QFETCH(QString, cause);
        QFETCH(QString, reason);
        QVERIFY(record());
        Rules::Draft draft = newDraft();
        const QStringList ids = storedIds();
        const QStringList sounds = soundFiles();

        const bool full = cause == QLatin1String("full");
        // A long note needs pages of its own, which the full file cannot give.
        if (full)
            draft.fields.append(
                {QStringLiteral("Notes"), {{"Value", QString(6000, QLatin1Char('n'))}, {"Language", kGerman}}});
        bool asked = true;
        Rules::Outcome outcome;
        {
            FailingWrites failing(full ? FailingWrites::DiskFull : FailingWrites::ReadOnly);
            QVERIFY(failing.isValid());
            outcome = save(draft, Rules::SaveAsNew, &asked);
        }
        QCOMPARE(int(outcome.status), int(Rules::Refused));
        QCOMPARE(outcome.message, reason);
        QVERIFY(!outcome.exercise);
        QVERIFY(!asked);
        QCOMPARE(storedIds(), ids);
        QCOMPARE(soundFiles(), sounds);
    }

    // The learner reads the refusals in the interface language.
    void refusalsInGerman_data()
    {
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<QString>("message");
        QTest::newRow("nobody signed in") << false << "Sie müssen angemeldet sein, um diese Übung zu speichern.";
        QTest::newRow("no store") << true << "Unbekannter Fehler.  Die Übung konnte nicht gespeichert werden.";
    }

    void refusalsInGerman()
    {
        QFETCH(bool, signedIn);
        QFETCH(QString, message);
        QTranslator german;
        QVERIFY(german.load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/create-Deutsch.qm")));
        QCoreApplication::installTranslator(&german);
        QVERIFY(record());
        const ZoUser* user = signedIn ? AuthoringTree::users()->currentUser() : nullptr;
        const Rules::Outcome outcome = Rules(AuthoringTree::audio(), nullptr).save(newDraft(), user, {});
        QCoreApplication::removeTranslator(&german);
        QCOMPARE(int(outcome.status), int(Rules::Refused));
        QCOMPARE(outcome.message, message);
    }

    void noStoreSavesNothing()
    {
        QVERIFY(record());
        const QStringList sounds = soundFiles();
        const Rules::Outcome outcome =
            Rules(AuthoringTree::audio(), nullptr).save(newDraft(), AuthoringTree::users()->currentUser(), {});
        QCOMPARE(int(outcome.status), int(Rules::Refused));
        QCOMPARE(outcome.message, QStringLiteral("Unknown error.  Exercise could not be saved."));
        QCOMPARE(soundFiles(), sounds);
    }
};

QTEST_MAIN(TestExerciseSaveRules)
#include "tst_exercisesaverules.moc"
