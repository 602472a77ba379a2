#include "tst_storekeeper.h"

#include "IDbManager.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QHeaderView>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QtTest>

namespace {

const QString kExercise = QStringLiteral("Exercise");

QStringList terms(const QList<QHash<QString, QString>>& rows)
{
    QStringList found;
    for (const auto& row : rows)
        found.append(row.value(QStringLiteral("Term")));
    return found;
}

QStringList modelColumn(QAbstractItemModel* model, int column)
{
    QStringList values;
    for (int row = 0; row < model->rowCount(); ++row)
        values.append(model->data(model->index(row, column)).toString());
    return values;
}

// Replaces "$Name" by the local id stored for Name.
QString withIds(QString text, const QHash<QString, QString>& ids)
{
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        text.replace(QLatin1Char('$') + it.key(), it.value());
    return text;
}

QHash<QString, QString> withIds(QHash<QString, QString> criteria, const QHash<QString, QString>& ids)
{
    for (auto it = criteria.begin(); it != criteria.end(); ++it)
        it.value() = withIds(it.value(), ids);
    return criteria;
}

} // namespace

void tst_Storekeeper::insertWritesIdAndGetReadsBack()
{
    std::unique_ptr<ZoExercise> e(StoreFixture::exercise(QStringLiteral("Maison"), QStringLiteral("French")));
    QCOMPARE(f->store()->insertExercise(kExercise, e.get()), 1);
    QCOMPARE(e->id(), f->value(QStringLiteral("SELECT max(mlmid) FROM tm WHERE tmttmtid = 2")));

    std::unique_ptr<ZoExercise> read(f->store()->getExercise(kExercise, e->id()));
    QVERIFY(read);
    QCOMPARE(read->id(), e->id());
    QCOMPARE(read->term(), QStringLiteral("Maison"));
    QCOMPARE(read->language(), QStringLiteral("French"));
    QCOMPARE(read->languageId(), QStringLiteral("fra"));
    QCOMPARE(read->mediaPath(), QStringLiteral("Content"));
    QCOMPARE(read->mediaName(), QStringLiteral("Maison.wav"));
    QCOMPARE(read->country(), QStringLiteral("France"));
    QCOMPARE(read->stateProv(), QStringLiteral("Ile"));
    QCOMPARE(read->locality(), QStringLiteral("Paris"));
    QCOMPARE(read->voice(), QStringLiteral("alice"));
    QCOMPARE(read->fluencyLevel(), QStringLiteral("Native"));
    QCOMPARE(read->pId(), QStringLiteral("0"));
    QCOMPARE(read->persistentTermId(), QStringLiteral("0"));
    QCOMPARE(read->termId(), f->value(QStringLiteral("SELECT mlmid FROM tm WHERE tmttmtid = 1")));
    QCOMPARE(read->mediaId(), f->value(QStringLiteral("SELECT mlmid FROM mm")));
    QCOMPARE(f->value(QStringLiteral("SELECT mmf FROM mm")), QStringLiteral("Wav"));
    QCOMPARE(f->value(QStringLiteral("SELECT sbun FROM m WHERE lmid = ") + e->id()), QStringLiteral("alice"));

    QVERIFY(!f->store()->getExercise(kExercise, QStringLiteral("999")));
    QVERIFY(!f->store()->getExercise(kExercise, e->id() + QStringLiteral(" OR 1=1")));
}

void tst_Storekeeper::termSharing_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("firstLanguage");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("secondLanguage");
    QTest::addColumn<int>("termRows");
    QTest::newRow("same after trimming") << " Haus "
                                         << "German"
                                         << "Haus"
                                         << "German" << 1;
    QTest::newRow("letter case differs") << "Haus"
                                         << "German"
                                         << "haus"
                                         << "German" << 2;
    QTest::newRow("language differs") << "Haus"
                                      << "German"
                                      << "Haus"
                                      << "English" << 2;
    QTest::newRow("quotes in the text") << "l'a \"b\""
                                        << "French"
                                        << "l'a \"b\""
                                        << "French" << 1;
}

void tst_Storekeeper::termSharing()
{
    QFETCH(QString, first);
    QFETCH(QString, firstLanguage);
    QFETCH(QString, second);
    QFETCH(QString, secondLanguage);
    QFETCH(int, termRows);
    QVERIFY(!f->addExercise(first, firstLanguage).isEmpty());
    QVERIFY(!f->addExercise(second, secondLanguage).isEmpty());
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM tm WHERE tmttmtid = 1")), termRows);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM v_e")), 2);
    QCOMPARE(f->value(QStringLiteral("SELECT mv FROM tm WHERE tmttmtid = 1 ORDER BY mlmid LIMIT 1")), first.trimmed());
}

void tst_Storekeeper::persistentTermId_data()
{
    QTest::addColumn<QString>("storedTermId");
    QTest::addColumn<QString>("givenTermId");
    QTest::addColumn<int>("termRows");
    QTest::addColumn<QString>("firstTermPid");
    QTest::newRow("same persistent id reuses the term") << "T1"
                                                        << "T1" << 1 << "T1";
    QTest::newRow("other persistent id makes a new term") << "T1"
                                                          << "T2" << 2 << "T1";
    QTest::newRow("local term takes the persistent id") << "0"
                                                        << "T2" << 1 << "T2";
    QTest::newRow("no persistent ids") << "0"
                                       << "0" << 1 << "0";
}

void tst_Storekeeper::persistentTermId()
{
    QFETCH(QString, storedTermId);
    QFETCH(QString, givenTermId);
    QFETCH(int, termRows);
    QFETCH(QString, firstTermPid);
    std::unique_ptr<ZoExercise> a(StoreFixture::exercise(QStringLiteral("Brot"), QStringLiteral("German")));
    a->setPersistentTermId(storedTermId);
    QCOMPARE(f->store()->insertExercise(kExercise, a.get()), 1);
    std::unique_ptr<ZoExercise> b(StoreFixture::exercise(QStringLiteral("Brot"), QStringLiteral("German")));
    b->setPersistentTermId(givenTermId);
    QCOMPARE(f->store()->insertExercise(kExercise, b.get()), 1);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM tm WHERE tmttmtid = 1")), termRows);
    const QString firstTerm = f->value(QStringLiteral("SELECT min(mlmid) FROM tm WHERE tmttmtid = 1"));
    QCOMPARE(f->value(QStringLiteral("SELECT pmid FROM m WHERE lmid = ") + firstTerm), firstTermPid);
    // A term that came from the network carries its download time.
    const bool downloaded = firstTermPid != QLatin1String("0");
    QCOMPARE(f->count(QStringLiteral("SELECT ddl > 0 FROM m WHERE lmid = ") + firstTerm), downloaded ? 1 : 0);
}

void tst_Storekeeper::storedPersistentIdIsRefused()
{
    std::unique_ptr<ZoExercise> a(StoreFixture::exercise(QStringLiteral("Apfel"), QStringLiteral("German")));
    a->setPId(QStringLiteral("E-1"));
    QCOMPARE(f->store()->insertExercise(kExercise, a.get()), 1);
    QCOMPARE(f->count(QStringLiteral("SELECT ddl > 0 FROM m WHERE lmid = ") + a->id()), 1);
    const QStringList before = f->snapshot();

    std::unique_ptr<ZoExercise> b(StoreFixture::exercise(QStringLiteral("Birne"), QStringLiteral("German")));
    b->setPId(QStringLiteral("E-1"));
    QCOMPARE(f->store()->insertExercise(kExercise, b.get()), 0);
    QCOMPARE(b->id(), QString());
    QCOMPARE(f->snapshot(), before);
}

void tst_Storekeeper::storedMediaIsLinked()
{
    std::unique_ptr<ZoExercise> a(StoreFixture::exercise(QStringLiteral("eins"), QStringLiteral("German")));
    a->setPersistentMediaId(QStringLiteral("M-1"));
    QCOMPARE(f->store()->insertExercise(kExercise, a.get()), 1);
    std::unique_ptr<ZoExercise> b(StoreFixture::exercise(QStringLiteral("zwei"), QStringLiteral("German")));
    b->setPersistentMediaId(QStringLiteral("M-1"));
    QCOMPARE(f->store()->insertExercise(kExercise, b.get()), 1);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM mm")), 1);
    std::unique_ptr<ZoExercise> readA(f->store()->getExercise(kExercise, a->id()));
    std::unique_ptr<ZoExercise> readB(f->store()->getExercise(kExercise, b->id()));
    QVERIFY(readA && readB);
    QCOMPARE(readB->mediaId(), readA->mediaId());
    QCOMPARE(readB->persistentMediaId(), QStringLiteral("M-1"));
}

void tst_Storekeeper::exerciseWithoutMedia()
{
    std::unique_ptr<ZoExercise> e(StoreFixture::exercise(QStringLiteral("stumm"), QStringLiteral("German")));
    e->setMediaPath(QString());
    QCOMPARE(f->store()->insertExercise(kExercise, e.get()), 1);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM mm")), 0);
    std::unique_ptr<ZoExercise> read(f->store()->getExercise(kExercise, e->id()));
    QVERIFY(read);
    QCOMPARE(read->term(), QStringLiteral("stumm"));
    QCOMPARE(read->language(), QStringLiteral("German"));
    QVERIFY(f->store()->search(kExercise, {{QStringLiteral("Term"), QStringLiteral("stumm")}}).isEmpty());
    std::unique_ptr<QSqlQueryModel> model(f->store()->queryModel(kExercise, {{QStringLiteral("Term"), QString()}},
                                                                 nullptr, nullptr, nullptr, nullptr, nullptr));
    QVERIFY(model);
    QCOMPARE(model->rowCount(), 0);
    QCOMPARE(f->store()->uploadableCount(QStringLiteral("alice")), 0);
}

void tst_Storekeeper::fieldsAndTranslations()
{
    std::unique_ptr<ZoExercise> e(StoreFixture::exercise(QStringLiteral("Haus"), QStringLiteral("German")));
    e->addField(QStringLiteral("Note"), {{QStringLiteral("Value"), QStringLiteral("das Haus")},
                                         {QStringLiteral("Language"), QStringLiteral("German")}});
    e->addField(QStringLiteral("Translation"), {{QStringLiteral("Value"), QStringLiteral("house")},
                                                {QStringLiteral("Language"), QStringLiteral("English")},
                                                {QStringLiteral("Context"), QStringLiteral("building")},
                                                {QStringLiteral("Context_Language"), QStringLiteral("English")}});
    e->addField(QStringLiteral("Translation"), {{QStringLiteral("Value"), QStringLiteral("maison")},
                                                {QStringLiteral("Language"), QStringLiteral("French")}});
    QCOMPARE(f->store()->insertExercise(kExercise, e.get()), 1);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM k WHERE ktktid = 3 AND mlmid = ") + e->id()), 1);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM tm WHERE tmttmtid = 7")), 2);

    std::unique_ptr<ZoExercise> read(f->store()->getExercise(kExercise, e->id()));
    QVERIFY(read);
    const ZoExercise::FieldMap fields = read->fields();
    QCOMPARE(fields.count(QStringLiteral("Note")), 1);
    QCOMPARE(fields.value(QStringLiteral("Note")).value(QStringLiteral("Value")), QStringLiteral("das Haus"));
    QCOMPARE(fields.value(QStringLiteral("Note")).value(QStringLiteral("Language")), QStringLiteral("German"));
    QHash<QString, QHash<QString, QString>> byValue;
    for (const auto& translation : fields.values(QStringLiteral("Translation")))
        byValue.insert(translation.value(QStringLiteral("Value")), translation);
    QCOMPARE(byValue.size(), 2);
    QCOMPARE(byValue.value(QStringLiteral("house")).value(QStringLiteral("Language")), QStringLiteral("English"));
    QCOMPARE(byValue.value(QStringLiteral("house")).value(QStringLiteral("Context")), QStringLiteral("building"));
    QCOMPARE(byValue.value(QStringLiteral("maison")).value(QStringLiteral("Language")), QStringLiteral("French"));
    QVERIFY(!byValue.value(QStringLiteral("maison")).contains(QStringLiteral("Context")));
}

void tst_Storekeeper::search_data()
{
    QTest::addColumn<Criteria>("criteria");
    QTest::addColumn<QStringList>("expected");
    using H = QHash<QString, QString>;
    const QString id = QStringLiteral("Id"), idList = QStringLiteral("IdList"), term = QStringLiteral("Term"),
                  language = QStringLiteral("Language");
    QTest::newRow("id") << H{{id, "$Haus"}, {term, "Maus"}} << QStringList{"Haus"};
    QTest::newRow("id not a number") << H{{id, "abc"}} << QStringList{};
    QTest::newRow("id list with trailing comma") << H{{idList, "$Haus,$Maus,"}} << QStringList{"Haus", "Maus"};
    QTest::newRow("id list without trailing comma") << H{{idList, "$Haus,$Maus"}} << QStringList{"Haus", "Maus"};
    QTest::newRow("empty id list matches nothing") << H{{idList, ""}, {term, "Haus"}} << QStringList{};
    QTest::newRow("id list item not a number") << H{{idList, "$Haus,1) OR (1=1"}} << QStringList{"Haus"};
    QTest::newRow("contained text") << H{{term, "aus"}} << QStringList{"Haus", "Hausboot", "Maus"};
    QTest::newRow("ascii letter case") << H{{term, "AUS"}} << QStringList{"Haus", "Hausboot", "Maus"};
    QTest::newRow("language filter") << H{{term, "aus"}, {language, "English"}} << QStringList{};
    QTest::newRow("language match") << H{{term, "o"}, {language, "English"}} << QStringList{"house"};
    QTest::newRow("percent is literal") << H{{term, "%"}} << QStringList{"100%"};
    QTest::newRow("underscore is literal") << H{{term, "_"}} << QStringList{"a_b"};
    QTest::newRow("quote is literal") << H{{term, "\""}} << QStringList{};
    QTest::newRow("empty term matches all")
        << H{{term, ""}} << QStringList{"100%", "Haus", "Hausboot", "Maus", "a_b", "house"};
}

void tst_Storekeeper::search()
{
    QFETCH(Criteria, criteria);
    QFETCH(QStringList, expected);
    QHash<QString, QString> ids;
    for (const auto& [term, language] : QList<QPair<QString, QString>>{{"Haus", "German"},
                                                                       {"Hausboot", "German"},
                                                                       {"Maus", "German"},
                                                                       {"house", "English"},
                                                                       {"100%", "English"},
                                                                       {"a_b", "English"}})
        ids.insert(term, f->addExercise(term, language));
    const auto rows = f->store()->search(kExercise, withIds(criteria, ids));
    QStringList found = terms(rows);
    found.sort();
    QCOMPARE(found, expected);
    for (const auto& row : rows) {
        QCOMPARE(row.value(QStringLiteral("Id")), ids.value(row.value(QStringLiteral("Term"))));
        QCOMPARE(row.value(QStringLiteral("Country")), QStringLiteral("France"));
        QVERIFY(row.value(QStringLiteral("Language")) == QLatin1String("German")
                || row.value(QStringLiteral("Language")) == QLatin1String("English"));
        QCOMPARE(row.value(QStringLiteral("MediaName")), row.value(QStringLiteral("Term")) + QStringLiteral(".wav"));
    }
}

void tst_Storekeeper::queryModel_data()
{
    QTest::addColumn<Criteria>("criteria");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("ordered");
    using H = QHash<QString, QString>;
    const QString term = QStringLiteral("Term"), column = QStringLiteral("SortColumn"),
                  order = QStringLiteral("SortOrder");
    QTest::newRow("term ascending") << H{{term, "aus"}, {column, "1"}, {order, "0"}}
                                    << QStringList{"haus", "Hausboot", "Maus"} << true;
    QTest::newRow("term descending") << H{{term, "aus"}, {column, "1"}, {order, "1"}}
                                     << QStringList{"Maus", "Hausboot", "haus"} << true;
    QTest::newRow("by voice") << H{{term, ""}, {column, "8"}, {order, "0"}}
                              << QStringList{"Maus", "haus", "Hausboot", "house"} << true;
    QTest::newRow("no ordering") << H{{term, "aus"}, {column, "9"}} << QStringList{"Hausboot", "Maus", "haus"} << false;
    QTest::newRow("id sorted descending")
        << H{{"Id", "$Maus"}, {column, "1"}, {order, "1"}} << QStringList{"Maus"} << true;
    QTest::newRow("id list") << H{{"IdList", "$Maus,$house,"}, {column, "1"}} << QStringList{"house", "Maus"} << true;
    QTest::newRow("empty id list") << H{{"IdList", ""}, {column, "1"}} << QStringList{} << true;
    QTest::newRow("language") << H{{term, ""}, {"Language", "English"}, {column, "1"}} << QStringList{"house"} << true;
}

void tst_Storekeeper::queryModel()
{
    QFETCH(Criteria, criteria);
    QFETCH(QStringList, expected);
    QFETCH(bool, ordered);
    QHash<QString, QString> ids;
    for (const auto& [term, voice] :
         QList<QPair<QString, QString>>{{"haus", "b"}, {"Hausboot", "c"}, {"Maus", "a"}, {"house", "d"}}) {
        std::unique_ptr<ZoExercise> e(StoreFixture::exercise(term, term == QLatin1String("house")
                                                                       ? QStringLiteral("English")
                                                                       : QStringLiteral("German")));
        e->setVoice(voice);
        QCOMPARE(f->store()->insertExercise(kExercise, e.get()), 1);
        ids.insert(term, e->id());
    }
    QList<int> hidden, resized;
    int languageColumn = 0, countryColumn = 0, levelColumn = 0;
    std::unique_ptr<QSqlQueryModel> model(f->store()->queryModel(kExercise, withIds(criteria, ids), &hidden, &resized,
                                                                 &languageColumn, &countryColumn, &levelColumn));
    QVERIFY(model);
    QVERIFY2(!model->lastError().isValid(), qPrintable(model->lastError().text()));
    const QStringList found = modelColumn(model.get(), 1);
    QStringList compared = found;
    if (!ordered) {
        compared.sort();
        expected.sort();
    }
    QCOMPARE(compared, expected);
    QCOMPARE(model->columnCount(), 9);
    QCOMPARE(hidden, (QList<int>{0, 3, 4, 6}));
    QCOMPARE(resized, QList<int>{1});
    QCOMPARE(languageColumn, 2);
    QCOMPARE(countryColumn, 5);
    QCOMPARE(levelColumn, -1);
    const QStringList captions{"",        "Study Term",     "Language", "MediaPath", "MediaName",
                               "Country", "State/Province", "Locality", "Voice"};
    for (int c = 0; c < captions.size(); ++c)
        QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), captions.at(c));
    for (int row = 0; row < model->rowCount(); ++row) {
        QCOMPARE(model->data(model->index(row, 0)).toString(), ids.value(found.at(row)));
        QCOMPARE(model->record(row).value(QStringLiteral("cccid")).toString(), QStringLiteral("FR"));
    }
}

void tst_Storekeeper::queryModelFullCountOnLargeResult()
{
    const int total = 700;
    for (int i = 0; i < total; ++i) {
        const QString term = QStringLiteral("w%1").arg(total - 1 - i, 4, 10, QLatin1Char('0'));
        QVERIFY(!f->addExercise(term, QStringLiteral("German")).isEmpty());
    }
    QVERIFY(!f->addExercise(QStringLiteral("other"), QStringLiteral("German")).isEmpty());
    std::unique_ptr<QSqlQueryModel> model(f->store()->queryModel(kExercise,
                                                                 {{QStringLiteral("Term"), QStringLiteral("w")},
                                                                  {QStringLiteral("SortColumn"), QStringLiteral("1")}},
                                                                 nullptr, nullptr, nullptr, nullptr, nullptr));
    QVERIFY(model);
    QCOMPARE(model->rowCount(), total);
    QVERIFY(!model->canFetchMore());
    // Rows far from the first screen read the same as a fully fetched model.
    QCOMPARE(model->data(model->index(total - 1, 1)).toString(), QStringLiteral("w0699"));
    QCOMPARE(model->record(350).value(QStringLiteral("mv")).toString(), QStringLiteral("w0350"));
    QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("w0000"));
    QTableView view;
    view.setModel(model.get());
    QCOMPARE(view.verticalHeader()->count(), total);
    // Once the event loop has run, every row is read and the count holds.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    QCOMPARE(model->rowCount(), total);
    QCOMPARE(modelColumn(model.get(), 1).size(), total);
    QCOMPARE(model->data(model->index(total - 2, 1)).toString(), QStringLiteral("w0698"));
    // The store writes while the model lives; the next count sees the write.
    QVERIFY(!f->addExercise(QStringLiteral("W9999"), QStringLiteral("German")).isEmpty());
    for (const auto& [language, rows] :
         QList<QPair<QString, int>>{{"German", total + 1}, {"English", 0}, {"", total + 1}}) {
        std::unique_ptr<QSqlQueryModel> again(
            f->store()->queryModel(kExercise,
                                   {{QStringLiteral("Term"), QStringLiteral("w")},
                                    {QStringLiteral("Language"), language},
                                    {QStringLiteral("SortColumn"), QStringLiteral("1")},
                                    {QStringLiteral("SortOrder"), QStringLiteral("1")}},
                                   nullptr, nullptr, nullptr, nullptr, nullptr));
        QCOMPARE(again->rowCount(), rows);
        if (rows > 0) {
            QCOMPARE(again->data(again->index(0, 1)).toString(), QStringLiteral("W9999"));
            QCOMPARE(again->data(again->index(rows - 1, 1)).toString(), QStringLiteral("w0000"));
        }
    }
}

void tst_Storekeeper::removeExercises_data()
{
    QTest::addColumn<QStringList>("remove");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("free exercise") << QStringList{"$A"} << true << QStringList{"B", "C"};
    QTest::newRow("lesson member stays, free one goes") << QStringList{"$B", "$A"} << false << QStringList{"B", "C"};
    QTest::newRow("not an id") << QStringList{"$A", "x"} << true << QStringList{"B", "C"};
    QTest::newRow("nothing") << QStringList{} << true << QStringList{"A", "B", "C"};
}

void tst_Storekeeper::removeExercises()
{
    QFETCH(QStringList, remove);
    QFETCH(bool, result);
    QFETCH(QStringList, remaining);
    std::unique_ptr<ZoExercise> a(StoreFixture::exercise(QStringLiteral("A"), QStringLiteral("German")));
    a->addField(QStringLiteral("Translation"), {{QStringLiteral("Value"), QStringLiteral("T")},
                                                {QStringLiteral("Language"), QStringLiteral("English")}});
    a->addField(QStringLiteral("Note"), {{QStringLiteral("Value"), QStringLiteral("n")}});
    QCOMPARE(f->store()->insertExercise(kExercise, a.get()), 1);
    const QHash<QString, QString> ids{{"A", a->id()},
                                      {"B", f->addExercise(QStringLiteral("B"), QStringLiteral("German"))},
                                      {"C", f->addExercise(QStringLiteral("C"), QStringLiteral("German"))}};
    std::unique_ptr<QObject> lesson(
        f->store()->insert(QStringLiteral("Lesson"), {{QStringLiteral("Title"), QStringLiteral("L")},
                                                      {QStringLiteral("Username"), QStringLiteral("alice")},
                                                      {QStringLiteral("EId1"), ids.value("B")}}));
    QVERIFY(lesson);
    QStringList list;
    for (const QString& item : remove)
        list.append(withIds(item, ids));
    QCOMPARE(f->store()->remove(kExercise, list), result);
    QStringList left = terms(f->store()->search(kExercise, {{QStringLiteral("Term"), QString()}}));
    left.sort();
    QCOMPARE(left, remaining);
    const bool removedA = !remaining.contains(QStringLiteral("A"));
    // A's translation group goes with it; its term and the translation stay.
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM tm WHERE tmttmtid = 7")), removedA ? 0 : 1);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM k")), removedA ? 0 : 1);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM crlt WHERE mprmid = %1 OR mchmid = %1").arg(ids.value("A"))),
             removedA ? 0 : 3);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM tm WHERE tmttmtid = 1 AND mv IN ('A', 'T')")), 2);
}

void tst_Storekeeper::overwriteReplacesContent()
{
    std::unique_ptr<ZoExercise> e(StoreFixture::exercise(QStringLiteral("Haus"), QStringLiteral("German")));
    e->addField(QStringLiteral("Note"), {{QStringLiteral("Value"), QStringLiteral("old")}});
    e->addField(QStringLiteral("Translation"), {{QStringLiteral("Value"), QStringLiteral("house")},
                                                {QStringLiteral("Language"), QStringLiteral("English")},
                                                {QStringLiteral("Context"), QStringLiteral("c")}});
    QCOMPARE(f->store()->insertExercise(kExercise, e.get()), 1);
    const QString id = e->id();
    const QString oldGroup = f->value(QStringLiteral("SELECT mprmid FROM crlt WHERE crtcrtid = 7"));
    QVERIFY(f->exec(QStringLiteral("UPDATE m SET pmid = 'P9', dul = 5, ddl = 6, dnul = 1 WHERE lmid = ") + id));

    std::unique_ptr<ZoExercise> source(
        StoreFixture::exercise(QStringLiteral("House"), QStringLiteral("English"), QStringLiteral("bob")));
    source->setId(id);
    source->addField(QStringLiteral("Note"), {{QStringLiteral("Value"), QStringLiteral("new")}});
    source->addField(QStringLiteral("Translation"), {{QStringLiteral("Value"), QStringLiteral("Haus")},
                                                     {QStringLiteral("Language"), QStringLiteral("German")}});
    QVERIFY(f->store()->overwrite(kExercise, id, source.get()));

    std::unique_ptr<ZoExercise> read(f->store()->getExercise(kExercise, id));
    QVERIFY(read);
    QCOMPARE(read->term(), QStringLiteral("House"));
    QCOMPARE(read->language(), QStringLiteral("English"));
    QCOMPARE(read->pId(), QStringLiteral("0"));
    const ZoExercise::FieldMap fields = read->fields();
    QCOMPARE(fields.values(QStringLiteral("Note")).size(), 1);
    QCOMPARE(fields.value(QStringLiteral("Note")).value(QStringLiteral("Value")), QStringLiteral("new"));
    QCOMPARE(fields.values(QStringLiteral("Translation")).size(), 1);
    QCOMPARE(fields.value(QStringLiteral("Translation")).value(QStringLiteral("Value")), QStringLiteral("Haus"));
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM tm WHERE mlmid = ") + id), 1);
    // The old group and its context are gone; only the new group is left.
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM tm WHERE tmttmtid = 7")), 1);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM k WHERE ktktid = 2")), 0);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM crlt WHERE crtcrtid = 7 AND mprmid = %1 AND mchmid = %2")
                          .arg(oldGroup, id)),
             f->count(QStringLiteral("SELECT count(*) FROM tm WHERE tmttmtid = 7 AND mlmid = ") + oldGroup));
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM v_e WHERE mlmid = ") + id), 1);
    QCOMPARE(f->value(QStringLiteral("SELECT sbun || '/' || sbuid || '/' || dul || ddl || dnul FROM m WHERE lmid = ")
                      + id),
             QStringLiteral("bob/u-bob/000"));

    std::unique_ptr<ZoExercise> other(StoreFixture::exercise(QStringLiteral("x")));
    QVERIFY(!f->store()->overwrite(kExercise, QStringLiteral("9999"), other.get()));
}

void tst_Storekeeper::markTransferred_data()
{
    QTest::addColumn<QString>("direction");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("column");
    QTest::newRow("up") << "up" << 1 << "dul";
    QTest::newRow("down") << "down" << 1 << "ddl";
    QTest::newRow("capital") << "Up" << 0 << "";
    QTest::newRow("other") << "sideways" << 0 << "";
}

void tst_Storekeeper::markTransferred()
{
    QFETCH(QString, direction);
    QFETCH(int, result);
    QFETCH(QString, column);
    const QString id = f->addExercise(QStringLiteral("Zug"), QStringLiteral("German"));
    const QString other = f->addExercise(QStringLiteral("Bahn"), QStringLiteral("German"));
    QCOMPARE(f->store()->markTransferred(kExercise, id, direction), result);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM m WHERE dul > 0 OR ddl > 0")), result);
    if (!column.isEmpty()) {
        QCOMPARE(f->count(QStringLiteral("SELECT %1 > 0 FROM m WHERE lmid = %2").arg(column, id)), 1);
        QCOMPARE(f->count(QStringLiteral("SELECT %1 FROM m WHERE lmid = %2").arg(column, other)), 0);
    }
}

void tst_Storekeeper::setDoNotUpload_data()
{
    QTest::addColumn<QString>("idList");
    QTest::addColumn<QString>("flag");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("flagged");
    QTest::newRow("two ids") << "$A,$C"
                             << "1" << 1 << QStringList{"A", "C"};
    QTest::newRow("trailing comma") << "$A,$C,"
                                    << "1" << 1 << QStringList{"A", "C"};
    QTest::newRow("empty") << ""
                           << "1" << 1 << QStringList{};
    QTest::newRow("item not a number") << "$B,x"
                                       << "1" << 1 << QStringList{"B"};
    QTest::newRow("injected text") << "0) OR (1=1"
                                   << "1" << 1 << QStringList{};
    QTest::newRow("flag not a number") << "$A"
                                       << "1, pmid = 'x'" << 0 << QStringList{};
}

void tst_Storekeeper::setDoNotUpload()
{
    QFETCH(QString, idList);
    QFETCH(QString, flag);
    QFETCH(int, result);
    QFETCH(QStringList, flagged);
    QHash<QString, QString> ids;
    for (const QString& term : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
        ids.insert(term, f->addExercise(term));
    QCOMPARE(f->store()->setDoNotUpload(withIds(idList, ids), flag), result);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM m WHERE pmid <> '0'")), 0);
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        QCOMPARE(f->count(QStringLiteral("SELECT dnul FROM m WHERE lmid = ") + it.value()),
                 flagged.contains(it.key()) ? 1 : 0);
    QCOMPARE(f->count(QStringLiteral("SELECT count(*) FROM m WHERE dnul <> 0")), flagged.size());
}

void tst_Storekeeper::uploadable()
{
    IDbManager* store = f->store();
    const QString a = f->addExercise(QStringLiteral("A"));
    const QString b = f->addExercise(QStringLiteral("B"));
    const QString c = f->addExercise(QStringLiteral("C"));
    f->addExercise(QStringLiteral("D"), QStringLiteral("English"), QStringLiteral("bob"));
    std::unique_ptr<ZoExercise> silent(StoreFixture::exercise(QStringLiteral("E")));
    silent->setMediaPath(QString());
    QCOMPARE(store->insertExercise(kExercise, silent.get()), 1);
    auto lesson = [&](const QString& title, const QString& member) {
        std::unique_ptr<QObject> l(
            store->insert(QStringLiteral("Lesson"), {{QStringLiteral("Title"), title},
                                                     {QStringLiteral("Language"), QStringLiteral("English")},
                                                     {QStringLiteral("Username"), QStringLiteral("alice")},
                                                     {QStringLiteral("UserId"), QStringLiteral("u-alice")},
                                                     {QStringLiteral("EId1"), member}}));
        return l ? qobject_cast<ZoLesson*>(l.get())->id() : QString();
    };
    const QString l1 = lesson(QStringLiteral("L1"), a);
    lesson(QStringLiteral("L2"), c);
    // An exercise carried over without a recorded supplier keeps its lessons off the list.
    QVERIFY(f->exec(QStringLiteral("UPDATE m SET sbuid = '-1' WHERE lmid = ") + c));

    auto listed = [&](const QString& user) {
        QStringList rows;
        for (const auto& item : store->uploadableItems(user))
            rows.append(item.value(QStringLiteral("Kind")) + QLatin1Char(':') + item.value(QStringLiteral("Title")));
        return rows;
    };
    QCOMPARE(listed(QStringLiteral("alice")), (QStringList{"Lesson:L1", "Exercise:A", "Exercise:B", "Exercise:C"}));
    QCOMPARE(store->uploadableCount(QStringLiteral("alice")), 4);
    const auto items = store->uploadableItems(QStringLiteral("alice"));
    QCOMPARE(items.first().value(QStringLiteral("Id")), l1);
    QCOMPARE(items.first().value(QStringLiteral("Type")), QStringLiteral("Lesson"));
    QCOMPARE(items.first().value(QStringLiteral("Language")), QStringLiteral("English"));
    QCOMPARE(items.at(1).value(QStringLiteral("Type")), QStringLiteral("Exercise"));
    QCOMPARE(items.at(1).value(QStringLiteral("Language")), QStringLiteral("English"));
    QCOMPARE(listed(QStringLiteral("Alice")), QStringList{});
    QCOMPARE(store->uploadableCount(QStringLiteral("al%")), 0);

    QCOMPARE(store->setDoNotUpload(a, QStringLiteral("1")), 1);
    QCOMPARE(store->markTransferred(kExercise, b, QStringLiteral("up")), 1);
    QVERIFY(f->exec(QStringLiteral("UPDATE m SET ddl = 9 WHERE lmid = ") + l1));
    QCOMPARE(listed(QStringLiteral("alice")), QStringList{"Exercise:C"});
    QCOMPARE(store->uploadableCount(QStringLiteral("alice")), 1);
    QCOMPARE(listed(QStringLiteral("bob")), QStringList{"Exercise:D"});
}
