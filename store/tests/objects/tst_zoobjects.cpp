#include "ResourceDoubles.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QPointer>
#include <QtTest>

#include <memory>

using StringHash = QHash<QString, QString>;

namespace {

const char kMissingField[] = "missing field data;no insertion made\n";

// Every member of an exercise, the three looked-up ids and the fields included.
StringHash allMembers(const ZoExercise& e)
{
    StringHash h = e.toHash();
    h.insert(QStringLiteral("~FluencyLevelID"), e.fluencyLevelId());
    const ZoExercise::FieldMap fields = e.fields();
    int i = 0;
    for (auto it = fields.constBegin(); it != fields.constEnd(); ++it, ++i) {
        for (auto v = it.value().constBegin(); v != it.value().constEnd(); ++v)
            h.insert(QStringLiteral("~field:%1:%2").arg(it.key(), v.key()), v.value());
    }
    h.insert(QStringLiteral("~fieldCount"), QString::number(i));
    return h;
}

StringHash allMembers(const ZoLesson& l)
{
    StringHash h = l.toHash();
    const StringHash persistent = l.persistentExerciseIds();
    for (auto it = persistent.constBegin(); it != persistent.constEnd(); ++it)
        h.insert(QStringLiteral("~p:") + it.key(), it.value());
    const ZoLesson::ExtraMap extra = l.extraData();
    for (auto it = extra.constBegin(); it != extra.constEnd(); ++it) {
        for (auto v = it.value().constBegin(); v != it.value().constEnd(); ++v)
            h.insert(QStringLiteral("~x:%1:%2:%3").arg(it.key(), v.key(), v.value()), v.value());
    }
    h.insert(QStringLiteral("~extraCount"), QString::number(extra.size()));
    return h;
}

// An exercise with a distinct value in every member and two fields.
ZoExercise filledExercise()
{
    ZoExercise e(QStringLiteral("11"), QStringLiteral("p-11"), QStringLiteral("chat"), QStringLiteral("French"),
                 QStringLiteral("Paris accent"), QStringLiteral("Content"), QStringLiteral("chat.wav"),
                 QStringLiteral("France"), QStringLiteral("Native"), QStringLiteral("IDF"), QStringLiteral("Paris"),
                 QStringLiteral("marie"), QStringLiteral("12"), QStringLiteral("p-12"), QStringLiteral("13"),
                 QStringLiteral("p-13"), QStringLiteral("new"), QStringLiteral("paul"), QStringLiteral("u-paul"),
                 QStringLiteral("u-marie"));
    e.addField(QStringLiteral("Translation"), {{"Value", "cat"}, {"Language", "English"}});
    e.addField(QStringLiteral("Translation"), {{"Value", "Katze"}, {"Language", "German"}});
    return e;
}

ZoLesson filledLesson()
{
    ZoLesson l;
    l.setId(QStringLiteral("40"));
    l.setPId(QStringLiteral("p-40"));
    l.setTitle(QStringLiteral("Animals"));
    l.setDescription(QStringLiteral("Pets"));
    l.setUsername(QStringLiteral("paul"));
    l.setUserId(QStringLiteral("u-paul"));
    l.setLanguage(QStringLiteral("French"));
    l.setLearnerLevel(QStringLiteral("Novice"));
    l.addExercise(QStringLiteral("11"), QStringLiteral("p-11"));
    l.addExercise(QStringLiteral("21"), QStringLiteral("p-21"));
    l.addExtraData({{QStringLiteral("kvp"), {{"typeID", "2"}, {"value", "a"}}}});
    l.addExtraData({{QStringLiteral("kvp"), {{"typeID", "3"}, {"value", "b"}}}});
    return l;
}

QStringList gDebugLines;

void collectDebug(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg)
        gDebugLines.append(message);
}

// The debug lines written while running f.
template <class F>
QStringList debugLines(F f)
{
    gDebugLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectDebug);
    f();
    qInstallMessageHandler(previous);
    return gDebugLines;
}

} // namespace

class TestZoObjects : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ResourceDoubles> mResources;

private slots:
    void initTestCase()
    {
        // The store's debug lines are read below.
        QLoggingCategory::setFilterRules(QStringLiteral("vireda.store.debug=true"));
        mResources = std::make_unique<ResourceDoubles>();
        QVERIFY(mResources->isValid());
    }

    void cleanupTestCase() { mResources.reset(); }

    void exerciseFromHash_data()
    {
        QTest::addColumn<StringHash>("data");
        QTest::addColumn<StringHash>("expected");
        const StringHash empty = {{"Id", ""},
                                  {"PId", ""},
                                  {"Term", ""},
                                  {"Language", ""},
                                  {"LanguageID", ""},
                                  {"LocaleDesc", ""},
                                  {"MediaPath", ""},
                                  {"MediaName", ""},
                                  {"Country", ""},
                                  {"CountryID", ""},
                                  {"StateProv", ""},
                                  {"Locality", ""},
                                  {"Voice", ""},
                                  {"FluencyLevel", ""},
                                  {"Status", ""},
                                  {"MediaId", ""},
                                  {"TermId", ""},
                                  {"PersistentMediaId", ""},
                                  {"PersistentTermId", ""},
                                  {"Creator", ""},
                                  {"CreatorUid", ""},
                                  {"VoiceUid", ""}};
        QTest::newRow("empty hash") << StringHash() << empty;

        StringHash full = {{"Id", "1"},
                           {"PId", "p1"},
                           {"Term", "gatto"},
                           {"Language", "Italian"},
                           {"LocaleDesc", "Roman"},
                           {"MediaPath", "Content"},
                           {"MediaName", "g.wav"},
                           {"Country", "Italy"},
                           {"FluencyLevel", "Fluent"},
                           {"StateProv", "Lazio"},
                           {"Locality", "Rome"},
                           {"Voice", "gina"},
                           {"TermId", "2"},
                           {"PersistentTermId", "p2"},
                           {"MediaId", "3"},
                           {"PersistentMediaId", "p3"},
                           {"Creator", "bob"},
                           {"CreatorUid", "u-bob"},
                           {"VoiceUid", "u-gina"}};
        StringHash fullExpected = full;
        fullExpected.insert("LanguageID", "ita");
        fullExpected.insert("CountryID", "IT");
        fullExpected.insert("Status", "");
        QTest::newRow("every key") << full << fullExpected;

        StringHash withIds = {
            {"Status", "done"}, {"LanguageID", "fra"}, {"CountryID", "FR"}, {"FluencyLevelID", "3"}, {"Term", "x"}};
        StringHash idsExpected = empty;
        idsExpected.insert("Term", "x");
        QTest::newRow("ids and status are not read") << withIds << idsExpected;

        StringHash unknown = {{"Language", "Klingon"}, {"Country", "Atlantis"}};
        StringHash unknownExpected = empty;
        unknownExpected.insert("Language", "Klingon");
        unknownExpected.insert("Country", "Atlantis");
        QTest::newRow("unknown names give the resource's answer") << unknown << unknownExpected;
    }

    void exerciseFromHash()
    {
        QFETCH(StringHash, data);
        QFETCH(StringHash, expected);
        ZoExercise e(data);
        QCOMPARE(e.toHash(), expected);
        QCOMPARE(e.status(), QString());
        QVERIFY(e.fields().isEmpty());
    }

    void exerciseHashRoundTrip()
    {
        const ZoExercise source = filledExercise();
        const StringHash hash = source.toHash();
        QCOMPARE(hash.size(), 22);
        QVERIFY(!hash.contains(QStringLiteral("FluencyLevelID")));
        QCOMPARE(hash.value("CountryID"), QStringLiteral("FR"));
        ZoExercise back(hash);
        StringHash expected = hash;
        expected.insert(QStringLiteral("Status"), QString());
        QCOMPARE(back.toHash(), expected);
        QCOMPARE(back.fluencyLevelId(), QStringLiteral("4"));
    }

    void exerciseTwentyTexts()
    {
        const ZoExercise e = filledExercise();
        const QStringList got = {e.id(),           e.pId(),
                                 e.term(),         e.language(),
                                 e.localeDesc(),   e.mediaPath(),
                                 e.mediaName(),    e.country(),
                                 e.fluencyLevel(), e.stateProv(),
                                 e.locality(),     e.voice(),
                                 e.termId(),       e.persistentTermId(),
                                 e.mediaId(),      e.persistentMediaId(),
                                 e.status(),       e.creator(),
                                 e.creatorUid(),   e.voiceUid()};
        const QStringList want = {"11",     "p-11",   "chat", "French", "Paris accent", "Content", "chat.wav",
                                  "France", "Native", "IDF",  "Paris",  "marie",        "12",      "p-12",
                                  "13",     "p-13",   "new",  "paul",   "u-paul",       "u-marie"};
        QCOMPARE(got, want);
        QCOMPARE(e.languageId(), QStringLiteral("fra"));
        QCOMPARE(e.countryId(), QStringLiteral("FR"));
        QCOMPARE(e.fluencyLevelId(), QStringLiteral("4"));
    }

    void exerciseNameSetters_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::newRow("language") << 0 << "German"
                                  << "deu";
        QTest::newRow("country") << 1 << "United States"
                                 << "US";
        QTest::newRow("fluency level") << 2 << "Beginner"
                                       << "1";
        QTest::newRow("unknown language") << 0 << "english"
                                          << "";
        QTest::newRow("empty country") << 1 << ""
                                       << "";
    }

    void exerciseNameSetters()
    {
        QFETCH(int, which);
        QFETCH(QString, name);
        QFETCH(QString, id);
        ZoExercise e = filledExercise();
        const StringHash before = allMembers(e);
        StringHash expected = before;
        if (which == 0) {
            e.setLanguage(name);
            expected.insert("Language", name);
            expected.insert("LanguageID", id);
        } else if (which == 1) {
            e.setCountry(name);
            expected.insert("Country", name);
            expected.insert("CountryID", id);
        } else {
            e.setFluencyLevel(name);
            expected.insert("FluencyLevel", name);
            expected.insert("~FluencyLevelID", id);
        }
        QCOMPARE(allMembers(e), expected);
    }

    void addField_data()
    {
        QTest::addColumn<StringHash>("values");
        QTest::addColumn<bool>("added");
        QTest::newRow("value and language") << StringHash{{"Value", "cat"}, {"Language", "English"}} << true;
        QTest::newRow("value without language") << StringHash{{"Value", "cat"}} << true;
        QTest::newRow("empty value") << StringHash{{"Value", ""}, {"Language", "English"}} << false;
        QTest::newRow("no value") << StringHash{{"Language", "English"}} << false;
        QTest::newRow("placeholder language") << StringHash{{"Value", "cat"}, {"Language", "Select Language"}} << false;
    }

    void addField()
    {
        QFETCH(StringHash, values);
        QFETCH(bool, added);
        ZoExercise e;
        e.addField(QStringLiteral("Translation"), {{"Value", "first"}});
        if (!added)
            QTest::ignoreMessage(QtDebugMsg, kMissingField);
        e.addField(QStringLiteral("Translation"), values);
        const ZoExercise::FieldMap fields = e.fields();
        QCOMPARE(fields.count(QStringLiteral("Translation")), added ? 2 : 1);
        if (added)
            QVERIFY(fields.values(QStringLiteral("Translation")).contains(values));
        QCOMPARE(e.toHash().size(), 22);
    }

    void exerciseCopies_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("copy constructor") << 0;
        QTest::newRow("assignment") << 1;
        QTest::newRow("assign") << 2;
        QTest::newRow("through a list") << 3;
    }

    void exerciseCopies()
    {
        QFETCH(int, how);
        const ZoExercise source = filledExercise();
        const StringHash expected = allMembers(source);
        QCOMPARE(expected.value("~fieldCount"), QStringLiteral("2"));
        ZoExercise target(StringHash{{"Term", "old"}, {"Voice", "old"}});
        target.addField(QStringLiteral("Note"), {{"Value", "old"}});
        switch (how) {
        case 0: {
            ZoExercise copy(source);
            QCOMPARE(allMembers(copy), expected);
            QCOMPARE(copy.parent(), nullptr);
            return;
        }
        case 1:
            target = source;
            break;
        case 2:
            QCOMPARE(&target.assign(source), &target);
            break;
        case 3: {
            QList<ZoExercise> list;
            list.append(source);
            list.append(target);
            list.removeLast();
            target = list.first();
            break;
        }
        }
        QCOMPARE(allMembers(target), expected);
    }

    void exerciseDump()
    {
        ZoExercise e = filledExercise();
        e.addField(QStringLiteral("Note"), {{"Value", "v"}});
        const QStringList lines = debugLines([&e] { e.dump(); });
        const QStringList members = {"Manifest is 11",       "PID is p-11",
                                     "Term is chat",         "Language is French",
                                     "LanguageID is fra",    "LocaleDesc is Paris accent",
                                     "MediaPath is Content", "MediaName is chat.wav",
                                     "Country is France",    "CountryID is FR",
                                     "StateProv is IDF",     "FluencyLevel is Native",
                                     "FluencyLevelID is 4",  "Locality is Paris",
                                     "Voice is marie",       "VoiceUid isu-marie",
                                     "TermID is 12",         "TermPersistentID is p-12",
                                     "MediaID is 13",        "MediaPersistentID is p-13",
                                     "Status is new",        "Creator is paul",
                                     "CreatorUid is u-paul"};
        QCOMPARE(lines.mid(0, members.size()), members);
        const QString header = "\n%1\n" + QString(42, '-') + "\n";
        QCOMPARE(lines.count(header.arg("Translation")), 2);
        QCOMPARE(lines.count(header.arg("Note")), 1);
        QCOMPARE(lines.count("Value: Katze"), 1);
        QCOMPARE(lines.count("Language: German"), 1);
        QCOMPARE(lines.size(), members.size() + 3 + 2 * 2 + 1);
    }

    void lessonFromHash_data()
    {
        QTest::addColumn<StringHash>("data");
        QTest::addColumn<QStringList>("members");
        const StringHash texts = {{"Id", "5"},         {"Title", "T"},         {"Description", "D"},
                                  {"Username", "ann"}, {"Language", "French"}, {"LearnerLevel", "Novice"}};
        StringHash search = texts;
        search.insert("ExerciseCount", "3");
        search.insert("EId1", "31");
        search.insert("EId2", "32");
        search.insert("EId3", "33");
        QTest::newRow("lesson search row") << search << QStringList{"31", "32", "33"};
        StringHash gap = texts;
        gap.insert("EId1", "31");
        gap.insert("EId3", "33");
        QTest::newRow("members end at a gap") << gap << QStringList{"31"};
        StringHash startsLate = texts;
        startsLate.insert("EId2", "32");
        QTest::newRow("no first member") << startsLate << QStringList();
        StringHash zero = texts;
        zero.insert("EId0", "30");
        zero.insert("EId1", "31");
        QTest::newRow("no member zero") << zero << QStringList{"31"};
        QTest::newRow("empty hash") << StringHash() << QStringList();
    }

    void lessonFromHash()
    {
        QFETCH(StringHash, data);
        QFETCH(QStringList, members);
        ZoLesson l(data);
        QCOMPARE(l.id(), data.value("Id"));
        QCOMPARE(l.pId(), data.value("PId"));
        QCOMPARE(l.title(), data.value("Title"));
        QCOMPARE(l.description(), data.value("Description"));
        QCOMPARE(l.username(), data.value("Username"));
        QCOMPARE(l.userId(), data.value("UserId"));
        QCOMPARE(l.language(), data.value("Language"));
        QCOMPARE(l.learnerLevel(), data.value("LearnerLevel"));
        QCOMPARE(l.exerciseCount(), members.size());
        for (int i = 0; i < members.size(); ++i) {
            QCOMPARE(l.exerciseId(i), members.at(i));
            QCOMPARE(l.persistentExerciseId(i), QStringLiteral("0"));
        }
        QCOMPARE(l.exerciseId(members.size()), QString());
        QCOMPARE(l.persistentExerciseIds().size(), members.size());

        StringHash expected = {{"Id", data.value("Id")},
                               {"PId", data.value("PId")},
                               {"Title", data.value("Title")},
                               {"Description", data.value("Description")},
                               {"Username", data.value("Username")},
                               {"UserId", data.value("UserId")},
                               {"Language", data.value("Language")},
                               {"LearnerLevel", data.value("LearnerLevel")}};
        for (int i = 0; i < members.size(); ++i)
            expected.insert(QStringLiteral("EId%1").arg(i + 1), members.at(i));
        QCOMPARE(l.toHash(), expected);
    }

    void lessonMembers_data()
    {
        // Operations: "a:<local>:<persistent>" addExercise, "i:<local>" addExerciseId,
        // "p:<n>:<persistent>" setPersistentExerciseId, "c" clearExercises.
        QTest::addColumn<QStringList>("operations");
        QTest::addColumn<StringHash>("local");
        QTest::addColumn<StringHash>("persistent");
        QTest::newRow("addExercise on empty")
            << QStringList{"a:7:p7"} << StringHash{{"EId1", "7"}} << StringHash{{"EId1", "p7"}};
        QTest::newRow("mixed adds") << QStringList{"a:7:p7", "i:8", "a:9:p9"}
                                    << StringHash{{"EId1", "7"}, {"EId2", "8"}, {"EId3", "9"}}
                                    << StringHash{{"EId1", "p7"}, {"EId3", "p9"}};
        QTest::newRow("persistent id alone") << QStringList{"p:3:p3"} << StringHash() << StringHash{{"EId3", "p3"}};
        QTest::newRow("persistent id replaced")
            << QStringList{"a:7:p7", "p:1:q7"} << StringHash{{"EId1", "7"}} << StringHash{{"EId1", "q7"}};
        QTest::newRow("add after clear starts at one")
            << QStringList{"a:7:p7", "i:8", "c", "a:9:p9"} << StringHash{{"EId1", "9"}} << StringHash{{"EId1", "p9"}};
    }

    void lessonMembers()
    {
        QFETCH(QStringList, operations);
        QFETCH(StringHash, local);
        QFETCH(StringHash, persistent);
        ZoLesson l;
        for (const QString& op : operations) {
            const QStringList p = op.split(':');
            if (p.at(0) == "a")
                QCOMPARE(l.addExercise(p.at(1), p.at(2)), 1);
            else if (p.at(0) == "i")
                QCOMPARE(l.addExerciseId(p.at(1)), 1);
            else if (p.at(0) == "p")
                l.setPersistentExerciseId(p.at(1).toInt(), p.at(2));
            else
                QCOMPARE(l.clearExercises(), 1);
        }
        QCOMPARE(l.exerciseIds(), local);
        QCOMPARE(l.persistentExerciseIds(), persistent);
        QCOMPARE(l.exerciseCount(), local.size());
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(l.exerciseId(i), local.value(QStringLiteral("EId%1").arg(i + 1)));
            QCOMPARE(l.persistentExerciseId(i), persistent.value(QStringLiteral("EId%1").arg(i + 1)));
        }
        const StringHash hash = l.toHash();
        QCOMPARE(hash.size(), 8 + local.size());
        for (auto it = persistent.constBegin(); it != persistent.constEnd(); ++it)
            QVERIFY(!hash.values().contains(it.value()));
    }

    void lessonExtraData()
    {
        ZoLesson l = filledLesson();
        QCOMPARE(l.extraData().count(QStringLiteral("kvp")), 2);
        l.addExtraData({{QStringLiteral("kvp"), {{"typeID", "4"}}}, {QStringLiteral("other"), {{"x", "y"}}}});
        QCOMPARE(l.extraData().count(QStringLiteral("kvp")), 3);
        QCOMPARE(l.extraData().count(QStringLiteral("other")), 1);
        l.clearExtraData();
        QVERIFY(l.extraData().isEmpty());
        QCOMPARE(l.exerciseCount(), 2);
    }

    void lessonValueConstructor()
    {
        QTest::ignoreMessage(QtDebugMsg, "##ZoLesson Constructor called##");
        ZoLesson l("1", "p1", "T", "D", "ann", "u1", "French", "Novice", StringHash{{"EId1", "9"}, {"EId2", "8"}});
        QCOMPARE(l.toHash(), (StringHash{{"Id", "1"},
                                         {"PId", "p1"},
                                         {"Title", "T"},
                                         {"Description", "D"},
                                         {"Username", "ann"},
                                         {"UserId", "u1"},
                                         {"Language", "French"},
                                         {"LearnerLevel", "Novice"},
                                         {"EId1", "9"},
                                         {"EId2", "8"}}));
        QVERIFY(l.persistentExerciseIds().isEmpty());
        QVERIFY(l.extraData().isEmpty());
    }

    void lessonFromPathTable_data()
    {
        QTest::addColumn<StringHash>("table");
        QTest::addColumn<bool>("fill");
        QTest::addColumn<QStringList>("persistentMembers");
        QTest::addColumn<QStringList>("kvpValues");
        const StringHash head = {{"manifest.persistentmanifestid", "L-1"},
                                 {"textual_manifest.manifesttitle", "Title"},
                                 {"textual_manifest.manifestdescription", "Desc"},
                                 {"manifest.suppliedbyusername", "ann"},
                                 {"manifest.suppliedbyuserid", "u-ann"},
                                 {"textual_manifest.langid", "fra"},
                                 {"textual_manifest.learnerlevelid", "2"}};
        StringHash one = head;
        one.insert("numchildren", "1");
        one.insert("exercises.exercise.persistentmanifestid", "E-1");
        one.insert("kvps.kvp.kvptypeid", "2");
        one.insert("kvps.kvp.kvpvalue", "ctx");
        one.insert("kvps.kvp.kvplangid", "eng");
        QTest::newRow("one member, one pair") << one << true << QStringList{"E-1"} << QStringList{"ctx"};
        StringHash three = head;
        three.insert("numchildren", "3");
        for (int j = 0; j < 3; ++j) {
            three.insert(QStringLiteral("exercises.exercise.persistentmanifestid#%1").arg(j),
                         QStringLiteral("E-%1").arg(j));
            if (j < 2) {
                three.insert(QStringLiteral("kvps.kvp.kvptypeid#%1").arg(j), "2");
                three.insert(QStringLiteral("kvps.kvp.kvpvalue#%1").arg(j), QStringLiteral("v%1").arg(j));
            }
        }
        QTest::newRow("three members, two pairs")
            << three << true << QStringList{"E-0", "E-1", "E-2"} << QStringList{"v0", "v1"};
        QTest::newRow("no children") << head << true << QStringList() << QStringList();
        QTest::newRow("not filled") << one << false << QStringList() << QStringList();
    }

    void lessonFromPathTable()
    {
        QFETCH(StringHash, table);
        QFETCH(bool, fill);
        QFETCH(QStringList, persistentMembers);
        QFETCH(QStringList, kvpValues);
        ZoLesson l(table, fill);
        if (!fill) {
            QCOMPARE(allMembers(l), allMembers(ZoLesson()));
            return;
        }
        QCOMPARE(l.id(), QString());
        QCOMPARE(l.pId(), QStringLiteral("L-1"));
        QCOMPARE(l.title(), QStringLiteral("Title"));
        QCOMPARE(l.description(), QStringLiteral("Desc"));
        QCOMPARE(l.username(), QStringLiteral("ann"));
        QCOMPARE(l.userId(), QString());
        QCOMPARE(l.language(), QStringLiteral("French"));
        QCOMPARE(l.learnerLevel(), QStringLiteral("2"));
        QCOMPARE(l.exerciseCount(), persistentMembers.size());
        for (int i = 0; i < persistentMembers.size(); ++i) {
            QCOMPARE(l.exerciseId(i), QStringLiteral("0"));
            QCOMPARE(l.persistentExerciseId(i), persistentMembers.at(i));
        }
        QStringList values;
        const ZoLesson::ExtraMap extra = l.extraData();
        for (const StringHash& pair : extra.values(QStringLiteral("kvp"))) {
            QCOMPARE(pair.size(), 3);
            values.append(pair.value("value"));
        }
        values.sort();
        QCOMPARE(values, kvpValues);
        QCOMPARE(extra.size(), kvpValues.size());
    }

    void lessonCopies_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("copy constructor") << 0;
        QTest::newRow("assignment") << 1;
        QTest::newRow("assign") << 2;
        QTest::newRow("through a list") << 3;
    }

    void lessonCopies()
    {
        QFETCH(int, how);
        const ZoLesson source = filledLesson();
        const StringHash expected = allMembers(source);
        QCOMPARE(expected.value("~extraCount"), QStringLiteral("2"));
        ZoLesson target;
        target.setTitle(QStringLiteral("old"));
        target.addExercise(QStringLiteral("1"), QStringLiteral("2"));
        target.addExtraData({{QStringLiteral("old"), {{"a", "b"}}}});
        switch (how) {
        case 0: {
            ZoLesson copy(source);
            QCOMPARE(allMembers(copy), expected);
            return;
        }
        case 1:
            target = source;
            break;
        case 2:
            QCOMPARE(&target.assign(source), &target);
            break;
        case 3: {
            QList<ZoLesson> list{source};
            target = list.takeFirst();
            break;
        }
        }
        QCOMPARE(allMembers(target), expected);
    }

    void userHash_data()
    {
        QTest::addColumn<int>("fluencies");
        QTest::newRow("no fluency") << 0;
        QTest::newRow("one fluency") << 1;
        QTest::newRow("two fluencies") << 2;
    }

    void userHash()
    {
        QFETCH(int, fluencies);
        QList<ZoUserFluency*> list;
        for (int i = 1; i <= fluencies; ++i) {
            const QString n = QString::number(i);
            list.append(new ZoUserFluency("f" + n, "lang" + n, "loc" + n, "lvl" + n, "cty" + n, "sp" + n, "l" + n,
                                          n == "1" ? "1" : "0"));
        }
        ZoUser user("u1", "ann", "pw", "Ann", "Lee", "a@x", "France", "IDF", "Paris", "5", "0", list);
        QCOMPARE(user.fluencyCount(), fluencies);
        StringHash expected = {{"Id", "u1"},          {"Username", "ann"}, {"Password", "pw"},    {"FirstName", "Ann"},
                               {"LastName", "Lee"},   {"Email", "a@x"},    {"Country", "France"}, {"StateProv", "IDF"},
                               {"Locality", "Paris"}, {"Reputation", "5"}, {"Permission", "0"}};
        for (int i = 1; i <= fluencies; ++i) {
            const QString n = QString::number(i);
            expected.insert("FId" + n, "f" + n);
            expected.insert("FLanguage" + n, "lang" + n);
            expected.insert("FLocaleDesc" + n, "loc" + n);
            expected.insert("FFluencyLevel" + n, "lvl" + n);
            expected.insert("FCountry" + n, "cty" + n);
            expected.insert("FStateProv" + n, "sp" + n);
            expected.insert("FLocality" + n, "l" + n);
            expected.insert("FIsStudying" + n, i == 1 ? "1" : "0");
        }
        QCOMPARE(user.toHash(), expected);
    }

    void userSetters()
    {
        ZoUser user;
        QCOMPARE(user.toHash().size(), 11);
        user.setId("9");
        user.setUsername("bo");
        user.setPassword("p");
        user.setFirstName("B");
        user.setLastName("O");
        user.setEmail("e");
        user.setCountry("Italy");
        user.setStateProv("s");
        user.setLocality("l");
        user.setReputation("3");
        user.setPermission("1");
        const QStringList got = {user.id(),       user.username(),   user.password(),  user.firstName(),
                                 user.lastName(), user.email(),      user.country(),   user.stateProv(),
                                 user.locality(), user.reputation(), user.permission()};
        QCOMPARE(got, (QStringList{"9", "bo", "p", "B", "O", "e", "Italy", "s", "l", "3", "1"}));
        auto* f = new ZoUserFluency("1", "French", "", "Native", "France", "", "", "0");
        user.setFluencies({f, new ZoUserFluency("2", "German", "", "Beginner", "", "", "", "1")});
        QCOMPARE(user.fluencyCount(), 2);
        QCOMPARE(user.fluencies().first(), f);
        QCOMPARE(user.toHash().value("FLanguage2"), QStringLiteral("German"));
    }

    void fluencyOwnership()
    {
        QObject keeper;
        auto* kept = new ZoUserFluency("1", "French", "", "", "", "", "", "0");
        kept->setParent(&keeper);
        QPointer<ZoUserFluency> adopted = new ZoUserFluency("2", "German", "", "", "", "", "", "1");
        QPointer<ZoUserFluency> dropped = new ZoUserFluency("3", "Italian", "", "", "", "", "", "1");
        {
            ZoUser user("u", "n", "", "", "", "", "", "", "", "", "", {kept, dropped});
            user.setFluencies({kept, adopted});
            QCOMPARE(user.fluencyCount(), 2);
            QVERIFY(dropped);
        }
        QVERIFY(!adopted);
        QVERIFY(!dropped);
        QCOMPARE(kept->parent(), &keeper);
        QCOMPARE(kept->language(), QStringLiteral("French"));
    }

    void fluencyHash()
    {
        ZoUserFluency f("7", "French", "Parisian", "Native", "France", "IDF", "Paris", "1");
        QCOMPARE(f.toHash(), (StringHash{{"Id", "7"},
                                         {"Language", "French"},
                                         {"LocaleDesc", "Parisian"},
                                         {"FluencyLevel", "Native"},
                                         {"Country", "France"},
                                         {"StateProv", "IDF"},
                                         {"Locality", "Paris"},
                                         {"IsStudying", "1"}}));
        f.setIsStudying("0");
        f.setLanguage("German");
        QCOMPARE(f.toHash().value("IsStudying"), QStringLiteral("0"));
        QCOMPARE(f.language(), QStringLiteral("German"));
    }

    void typeTexts()
    {
        ZoExercise e;
        ZoLesson l;
        ZoUser u;
        ZoUserFluency f("", "", "", "", "", "", "", "");
        QCOMPARE(e.type(), QStringLiteral("Exercise"));
        QCOMPARE(l.type(), QStringLiteral("Lesson"));
        QCOMPARE(u.type(), QStringLiteral("User"));
        QCOMPARE(f.type(), QStringLiteral("UserFluency"));
        QCOMPARE(ZoExercise(filledExercise()).type(), QStringLiteral("Exercise"));
    }
};

QTEST_MAIN(TestZoObjects)
#include "tst_zoobjects.moc"
