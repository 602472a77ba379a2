#include "tst_storekeeper.h"

#include "IDbManager.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QSqlError>
#include <QSqlQueryModel>
#include <QtTest>

namespace {

const QString kLesson = QStringLiteral("Lesson");
const QString kUser = QStringLiteral("User");

std::unique_ptr<ZoLesson> storeLesson(IDbManager* store, const QString& title, const QStringList& members,
                                      const QString& language = QStringLiteral("French"),
                                      const QString& level = QStringLiteral("Middle"))
{
    QHash<QString, QString> data{{QStringLiteral("Title"), title},
                                 {QStringLiteral("Description"), title + QStringLiteral(" words")},
                                 {QStringLiteral("Language"), language},
                                 {QStringLiteral("LearnerLevel"), level},
                                 {QStringLiteral("Username"), QStringLiteral("alice")},
                                 {QStringLiteral("UserId"), QStringLiteral("u-alice")},
                                 {QStringLiteral("PId"), QStringLiteral("0")}};
    for (int i = 0; i < members.size(); ++i)
        data.insert(QStringLiteral("EId%1").arg(i + 1), members.at(i));
    return std::unique_ptr<ZoLesson>(qobject_cast<ZoLesson*>(store->insert(kLesson, data)));
}

QStringList memberIds(const QHash<QString, QString>& row)
{
    QStringList ids;
    for (int n = 1; row.contains(QStringLiteral("EId%1").arg(n)); ++n)
        ids.append(row.value(QStringLiteral("EId%1").arg(n)));
    return ids;
}

QHash<QString, QString> aliceData()
{
    return {{QStringLiteral("Id"), QStringLiteral("u1")},
            {QStringLiteral("Username"), QStringLiteral("alice")},
            {QStringLiteral("Password"), QStringLiteral("pw")},
            {QStringLiteral("FirstName"), QStringLiteral("Alice")},
            {QStringLiteral("LastName"), QStringLiteral("Liddell")},
            {QStringLiteral("Email"), QStringLiteral("a@example.org")},
            {QStringLiteral("Country"), QStringLiteral("France")},
            {QStringLiteral("StateProv"), QStringLiteral("Ile")},
            {QStringLiteral("Locality"), QStringLiteral("Paris")},
            {QStringLiteral("FLanguage1"), QStringLiteral("French")},
            {QStringLiteral("FFluencyLevel1"), QStringLiteral("Native")},
            {QStringLiteral("FCountry1"), QStringLiteral("France")},
            {QStringLiteral("FNonSpeaking1"), QStringLiteral("0")},
            {QStringLiteral("FLanguage2"), QStringLiteral("German")},
            {QStringLiteral("FFluencyLevel2"), QStringLiteral("Beginner")},
            {QStringLiteral("FNonSpeaking2"), QStringLiteral("1")},
            {QStringLiteral("FLanguage4"), QStringLiteral("Italian")}};
}

} // namespace

void tst_Storekeeper::lessonInsertKeepsOrder()
{
    const QString a = f->addExercise(QStringLiteral("A")), b = f->addExercise(QStringLiteral("B")),
                  c = f->addExercise(QStringLiteral("C"));
    auto lesson = storeLesson(f->store(), QStringLiteral("Lektion"), {c, a, b});
    QVERIFY(lesson);
    QCOMPARE(lesson->id(), f->value(QStringLiteral("SELECT mlmid FROM tm WHERE tmttmtid = 3")));
    QCOMPARE(lesson->exerciseCount(), 3);
    QCOMPARE(lesson->exerciseId(0), c);
    QCOMPARE(lesson->exerciseId(2), b);
    QCOMPARE(lesson->language(), QStringLiteral("French"));

    const auto rows = f->store()->search(kLesson, {{QStringLiteral("Id"), lesson->id()}});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(memberIds(rows.first()), (QStringList{c, a, b}));
    QCOMPARE(rows.first().value(QStringLiteral("ExerciseCount")), QStringLiteral("3"));
    QCOMPARE(rows.first().value(QStringLiteral("Language")), QStringLiteral("French"));
    QCOMPARE(rows.first().value(QStringLiteral("LearnerLevel")), QStringLiteral("Middle"));
    QCOMPARE(rows.first().value(QStringLiteral("Username")), QStringLiteral("alice"));
    QCOMPARE(rows.first().value(QStringLiteral("Description")), QStringLiteral("Lektion words"));
    QCOMPARE(f->count(QStringLiteral("SELECT ec FROM v_l WHERE mlmid = ") + lesson->id()), 3);

    auto empty = storeLesson(f->store(), QStringLiteral("Leer"), {});
    QVERIFY(empty);
    QCOMPARE(f->count(QStringLiteral("SELECT ec FROM v_l WHERE mlmid = ") + empty->id()), 0);
}

void tst_Storekeeper::lessonRejectsBadMember()
{
    const QString a = f->addExercise(QStringLiteral("A"));
    const QStringList before = f->snapshot();
    QVERIFY(!storeLesson(f->store(), QStringLiteral("Bad"), {a, QStringLiteral("1); DELETE FROM m; --")}));
    QCOMPARE(f->snapshot(), before);
}

void tst_Storekeeper::lessonUpdate()
{
    const QString a = f->addExercise(QStringLiteral("A")), b = f->addExercise(QStringLiteral("B")),
                  c = f->addExercise(QStringLiteral("C"));
    auto lesson = storeLesson(f->store(), QStringLiteral("Alt"), {a, b, c});
    QVERIFY(lesson);
    QVERIFY(f->store()->update(kLesson, QStringLiteral("ignored"),
                               {{QStringLiteral("Id"), lesson->id()},
                                {QStringLiteral("Title"), QStringLiteral("Neu")},
                                {QStringLiteral("Description"), QStringLiteral("d")},
                                {QStringLiteral("Language"), QStringLiteral("German")},
                                {QStringLiteral("LearnerLevel"), QStringLiteral("Advanced")},
                                {QStringLiteral("EId1"), c},
                                {QStringLiteral("EId2"), a}}));
    const auto rows = f->store()->search(kLesson, {{QStringLiteral("Id"), lesson->id()}});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("Title")), QStringLiteral("Neu"));
    QCOMPARE(rows.first().value(QStringLiteral("Language")), QStringLiteral("German"));
    QCOMPARE(rows.first().value(QStringLiteral("LearnerLevel")), QStringLiteral("Advanced"));
    QCOMPARE(memberIds(rows.first()), (QStringList{c, a}));

    const QStringList before = f->snapshot();
    QVERIFY(!f->store()->update(kLesson, QString(),
                                {{QStringLiteral("Id"), a}, {QStringLiteral("Title"), QStringLiteral("x")}}));
    QVERIFY(!f->store()->update(kLesson, QString(), {{QStringLiteral("Title"), QStringLiteral("x")}}));
    QCOMPARE(f->snapshot(), before);
}

void tst_Storekeeper::lessonRemoveKeepsExercises()
{
    const QString a = f->addExercise(QStringLiteral("A"));
    auto lesson = storeLesson(f->store(), QStringLiteral("L"), {a});
    QVERIFY(lesson);
    // An exercise id given as a lesson is left alone.
    QVERIFY(f->store()->remove(kLesson, {a}));
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM v_e")), 1);
    QVERIFY(f->store()->remove(kLesson, {lesson->id()}));
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM v_l")), 0);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM crlt WHERE crtcrtid = 3")), 0);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM v_e")), 1);
    // Without its lesson the exercise can go.
    QVERIFY(f->store()->remove(QStringLiteral("Exercise"), {a}));
}

void tst_Storekeeper::lessonSearch_data()
{
    QTest::addColumn<Criteria>("criteria");
    QTest::addColumn<QStringList>("titles");
    using H = QHash<QString, QString>;
    QTest::newRow("title") << H{{"Title", "anim"}} << QStringList{"Animals", "Farm animals"};
    QTest::newRow("everything") << H{{"Title", ""}, {"Language", ""}} << QStringList{"Animals", "Farm animals", "Food"};
    QTest::newRow("language") << H{{"Title", ""}, {"Language", "German"}} << QStringList{"Animals", "Farm animals"};
    QTest::newRow("language and level") << H{{"Language", "German"}, {"LearnerLevel", "Advanced"}}
                                        << QStringList{"Farm animals"};
    QTest::newRow("level alone is ignored")
        << H{{"LearnerLevel", "Advanced"}} << QStringList{"Animals", "Farm animals", "Food"};
    QTest::newRow("id wins") << H{{"Id", "$Food"}, {"Title", "anim"}} << QStringList{"Food"};
    QTest::newRow("percent is literal") << H{{"Title", "%"}} << QStringList{};
    QTest::newRow("empty id list") << H{{"IdList", ""}} << QStringList{};
}

void tst_Storekeeper::lessonSearch()
{
    QFETCH(Criteria, criteria);
    QFETCH(QStringList, titles);
    QHash<QString, QString> ids;
    ids.insert("Animals", storeLesson(f->store(), "Animals", {}, "German", "Novice")->id());
    ids.insert("Farm animals", storeLesson(f->store(), "Farm animals", {}, "German", "Advanced")->id());
    ids.insert("Food", storeLesson(f->store(), "Food", {}, "French", "Novice")->id());
    for (auto it = criteria.begin(); it != criteria.end(); ++it) {
        if (it.value().startsWith(QLatin1Char('$')))
            it.value() = ids.value(it.value().mid(1));
    }
    QStringList found;
    for (const auto& row : f->store()->search(kLesson, criteria))
        found.append(row.value(QStringLiteral("Title")));
    found.sort();
    QCOMPARE(found, titles);
}

void tst_Storekeeper::lessonModel_data()
{
    QTest::addColumn<Criteria>("criteria");
    QTest::addColumn<QStringList>("titles");
    using H = QHash<QString, QString>;
    QTest::newRow("member count ascending")
        << H{{"SortColumn", "3"}, {"SortOrder", "0"}} << QStringList{"zwei", "Zehn"};
    QTest::newRow("member count descending")
        << H{{"SortColumn", "3"}, {"SortOrder", "1"}} << QStringList{"Zehn", "zwei"};
    QTest::newRow("title descending") << H{{"SortColumn", "1"}, {"SortOrder", "1"}} << QStringList{"zwei", "Zehn"};
    QTest::newRow("id sorted descending")
        << H{{"Id", "$Zehn"}, {"SortColumn", "1"}, {"SortOrder", "1"}} << QStringList{"Zehn"};
    QTest::newRow("title filter") << H{{"Title", "wei"}, {"SortColumn", "1"}} << QStringList{"zwei"};
}

void tst_Storekeeper::lessonModel()
{
    QFETCH(Criteria, criteria);
    QFETCH(QStringList, titles);
    QStringList members;
    for (int i = 0; i < 10; ++i)
        members.append(f->addExercise(QStringLiteral("e%1").arg(i)));
    const QString ten = storeLesson(f->store(), QStringLiteral("Zehn"), members)->id();
    storeLesson(f->store(), QStringLiteral("zwei"), members.mid(0, 2));
    if (criteria.value(QStringLiteral("Id")) == QLatin1String("$Zehn"))
        criteria.insert(QStringLiteral("Id"), ten);
    QList<int> hidden, resized;
    int languageColumn = 0, countryColumn = 0, levelColumn = 0;
    std::unique_ptr<QSqlQueryModel> model(
        f->store()->queryModel(kLesson, criteria, &hidden, &resized, &languageColumn, &countryColumn, &levelColumn));
    QVERIFY(model);
    QVERIFY2(!model->lastError().isValid(), qPrintable(model->lastError().text()));
    QStringList found;
    for (int row = 0; row < model->rowCount(); ++row)
        found.append(model->data(model->index(row, 1)).toString());
    QCOMPARE(found, titles);
    QCOMPARE(model->columnCount(), 7);
    QCOMPARE(hidden, QList<int>{0});
    QCOMPARE(resized, (QList<int>{1, 2}));
    QCOMPARE(languageColumn, 4);
    QCOMPARE(countryColumn, -1);
    QCOMPARE(levelColumn, 5);
    const QStringList captions{"", "Lesson Title", "Description", "Exercises", "Language", "Learner Level", "Username"};
    for (int c = 0; c < captions.size(); ++c)
        QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), captions.at(c));
}

void tst_Storekeeper::userInsertAndSelect()
{
    std::unique_ptr<QObject> object(f->store()->insert(kUser, aliceData()));
    auto* user = qobject_cast<ZoUser*>(object.get());
    QVERIFY(user);
    QCOMPARE(user->id(), QStringLiteral("u1"));
    QCOMPARE(user->country(), QStringLiteral("France"));
    QCOMPARE(user->fluencyCount(), 2);
    QCOMPARE(f->value(QStringLiteral("SELECT group_concat(lclid || ns, ',') FROM (SELECT * FROM uf ORDER BY ufid)")),
             QStringLiteral("fra0,deu1"));
    QCOMPARE(f->value(QStringLiteral("SELECT cccid FROM u")), QStringLiteral("FR"));

    const QStringList before = f->snapshot();
    QHash<QString, QString> again = aliceData();
    again.insert(QStringLiteral("Id"), QStringLiteral("u2"));
    QVERIFY(!f->store()->insert(kUser, again));
    again.insert(QStringLiteral("Username"), QStringLiteral("ALICE"));
    QVERIFY(!f->store()->insert(kUser, again));
    QCOMPARE(f->snapshot(), before);

    const QList<ZoUser*> users = f->store()->select(kUser, {{QStringLiteral("Username"), QStringLiteral("alice")}});
    QCOMPARE(users.size(), 1);
    ZoUser* read = users.first();
    QCOMPARE(read->password(), QStringLiteral("pw"));
    QCOMPARE(read->email(), QStringLiteral("a@example.org"));
    QCOMPARE(read->country(), QStringLiteral("France"));
    QCOMPARE(read->fluencyCount(), 2);
    QCOMPARE(read->fluencies().at(0)->language(), QStringLiteral("French"));
    QCOMPARE(read->fluencies().at(0)->fluencyLevel(), QStringLiteral("Native"));
    QCOMPARE(read->fluencies().at(1)->language(), QStringLiteral("German"));
    QCOMPARE(read->fluencies().at(1)->isStudying(), QStringLiteral("1"));
    qDeleteAll(users);
}

void tst_Storekeeper::userSelect_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("found");
    QTest::newRow("name alone") << "alice"
                                << "" << true;
    QTest::newRow("name and password") << "alice"
                                       << "pw" << true;
    QTest::newRow("password case") << "alice"
                                   << "PW" << false;
    // One account in any letter case; the password exactly.
    QTest::newRow("name case") << "Alice"
                               << "" << true;
    QTest::newRow("name case and password") << "ALICE"
                                            << "pw" << true;
    QTest::newRow("name case, password case") << "ALICE"
                                              << "Pw" << false;
    QTest::newRow("percent in name") << "al%"
                                     << "" << false;
    QTest::newRow("underscore in name") << "alic_"
                                        << "" << false;
    QTest::newRow("percent as password") << "alice"
                                         << "%" << false;
    QTest::newRow("quote in name") << "alice' OR '1'='1"
                                   << "" << false;
}

void tst_Storekeeper::userSelect()
{
    QFETCH(QString, username);
    QFETCH(QString, password);
    QFETCH(bool, found);
    std::unique_ptr<QObject> stored(f->store()->insert(kUser, aliceData()));
    QVERIFY(stored);
    const QList<ZoUser*> users = f->store()->select(kUser, {{QStringLiteral("Username"), username},
                                                            {QStringLiteral("Password"), password}});
    QCOMPARE(users.size(), found ? 1 : 0);
    if (found)
        QCOMPARE(users.first()->username(), QStringLiteral("alice"));
    qDeleteAll(users);
}

void tst_Storekeeper::userUpdateReplacesFluencies()
{
    std::unique_ptr<QObject> stored(f->store()->insert(kUser, aliceData()));
    QVERIFY(stored);
    QHash<QString, QString> data{{QStringLiteral("Id"), QStringLiteral("u1")},
                                 {QStringLiteral("Username"), QStringLiteral("alice")},
                                 {QStringLiteral("Password"), QStringLiteral("new")},
                                 {QStringLiteral("FirstName"), QStringLiteral("Al")},
                                 {QStringLiteral("Country"), QStringLiteral("Germany")},
                                 {QStringLiteral("FLanguage1"), QStringLiteral("Spanish")},
                                 {QStringLiteral("FIsStudying1"), QStringLiteral("1")},
                                 {QStringLiteral("FNonSpeaking1"), QStringLiteral("0")}};
    QVERIFY(f->store()->update(kUser, QString(), data));
    QCOMPARE(f->value(QStringLiteral("SELECT gnm || '/' || p || '/' || cccid FROM u")), QStringLiteral("Al/new/DE"));
    QCOMPARE(f->value(QStringLiteral("SELECT group_concat(lclid || ns) FROM uf")), QStringLiteral("spa1"));

    // Without a user name only the fluencies change.
    data.insert(QStringLiteral("Username"), QString());
    data.insert(QStringLiteral("FirstName"), QStringLiteral("Zed"));
    data.insert(QStringLiteral("FLanguage1"), QStringLiteral("Italian"));
    QVERIFY(f->store()->update(kUser, QString(), data));
    QCOMPARE(f->value(QStringLiteral("SELECT gnm FROM u")), QStringLiteral("Al"));
    QCOMPARE(f->value(QStringLiteral("SELECT group_concat(lclid || ns) FROM uf")), QStringLiteral("ita1"));
}

void tst_Storekeeper::userAndFluencyRemove()
{
    std::unique_ptr<QObject> stored(f->store()->insert(kUser, aliceData()));
    QVERIFY(stored);
    const QString first = f->value(QStringLiteral("SELECT min(ufid) FROM uf"));
    QVERIFY(f->store()->remove(QStringLiteral("Fluency"), {first}));
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM uf")), 1);
    QVERIFY(f->store()->remove(kUser, {QStringLiteral("u1")}));
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM u")), 0);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM uf")), 0);
}
