#include "tst_storekeeper.h"

#include "IDbManager.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QVariant>
#include <QtTest>

namespace {

const QString kExercise = QStringLiteral("Exercise");
const char* const kColumnNames[] = {"mlmid", "mv", "lclid", "mmp", "mmfn", "cccid", "sp", "l", "v"};

struct Media
{
    QVariant path, file, country, state, locality, voice;
};

QVariant null()
{
    return QVariant(QMetaType::fromType<QString>());
}

// Writes an exercise row by row, so the odd values (NULL, mixed case,
// several recordings, none) can be laid out as a file may hold them.
class RowWriter
{
public:
    explicit RowWriter(QSqlDatabase database)
        : mDatabase(database)
    {
    }

    bool add(const QVariant& term, const QVariant& language, const QList<Media>& media)
    {
        const qint64 termId = manifest();
        const bool ok = termId
                        && exec("INSERT INTO tm (mlmid, tmttmtid, mv, lclid) VALUES (?, 1, ?, ?)",
                                {termId, term, language});
        QList<qint64> mediaIds;
        for (const Media& m : media) {
            const qint64 id = manifest();
            if (!id
                || !exec("INSERT INTO mm (mlmid, mmtmmtid, mmfn, mmp, cccid, sp, l, v) VALUES (?, 1, ?, ?, ?, ?, ?, ?)",
                         {id, m.file, m.path, m.country, m.state, m.locality, m.voice}))
                return false;
            mediaIds.append(id);
        }
        const qint64 exerciseId = manifest();
        if (!ok || !exerciseId
            || !exec("INSERT INTO tm (mlmid, tmttmtid, lclid) VALUES (?, 2, ?)", {exerciseId, language})
            || !exec("INSERT INTO crlt (mprmid, mchmid, crtcrtid, sn) VALUES (?, ?, 2, 0)", {exerciseId, termId}))
            return false;
        for (qint64 id : mediaIds) {
            if (!exec("INSERT INTO crlt (mprmid, mchmid, crtcrtid, sn) VALUES (?, ?, 2, 0)", {exerciseId, id}))
                return false;
        }
        return true;
    }

private:
    qint64 manifest()
    {
        QSqlQuery query(mDatabase);
        if (!query.exec(
                QStringLiteral("INSERT INTO m (pmid, mtmtid, sbuid, sbun, dc) VALUES ('0', 1, 'u', 'alice', 0)")))
            return 0;
        return query.lastInsertId().toLongLong();
    }
    bool exec(const char* sql, const QVariantList& values)
    {
        QSqlQuery query(mDatabase);
        query.prepare(QLatin1String(sql));
        for (const QVariant& value : values)
            query.addBindValue(value);
        return query.exec();
    }

    QSqlDatabase mDatabase;
};

// Exercises whose values tie, differ only in ASCII case or not at all, are
// NULL or empty, lie outside ASCII, and whose ids sort differently as text.
bool addOrderingRows(QSqlDatabase database)
{
    RowWriter w(database);
    auto media = [](const char* path, const char* file, const QVariant& country, const QVariant& state,
                    const QVariant& locality, const QVariant& voice) {
        return Media{path ? QVariant(QString::fromUtf8(path)) : null(),
                     QString::fromUtf8(file),
                     country,
                     state,
                     locality,
                     voice};
    };
    const QVariant deu = QStringLiteral("deu"), eng = QStringLiteral("eng");
    return w.add(QStringLiteral("Haus"), deu, {media("p1", "b.wav", "DE", "Bayern", "town", "Voice")})
           && w.add(QStringLiteral("haus"), deu, {media("p1", "a.wav", "de", null(), "Town", "voice")})
           && w.add(QStringLiteral("Äpfel"), deu, {media(nullptr, "c.wav", null(), "x", null(), "alpha")})
           && w.add(QStringLiteral("apple"), eng, {media("P2", "A.wav", "US", "ny", "Zed", null())})
           && w.add(QStringLiteral("Zebra"), eng, {media("p3", "d.wav", "GB", "", "zed", "Beta")})
           && w.add(QStringLiteral("100%"), eng, {media("p3", "e.wav", "GB", "a", "b", "c")})
           && w.add(null(), eng, {media("p4", "f.wav", "FR", "b", "c", "d")})
           && w.add(QStringLiteral("Hauser"), null(), {media("p5", "g.wav", "FR", "c", "d", "e")})
           && w.add(QStringLiteral("two"), eng,
                    {media("p6", "z.wav", "IT", "d", "e", "f"), media("p7", "h.wav", "IT", "e", "f", "g")})
           && w.add(QStringLiteral("silent haus"), deu, {});
}

// The rows the view's own statement gives, ties by id and then by recording.
QList<QVariantList> expectedRows(QSqlDatabase database, const QString& term, const QString& languageId, int column,
                                 bool descending)
{
    QString sql = QStringLiteral("SELECT mlmid, mv, lclid, mmp, mmfn, cccid, sp, l, v FROM v_e "
                                 "WHERE mv LIKE ? ESCAPE '\\'");
    if (!languageId.isEmpty())
        sql += QStringLiteral(" AND lclid = ?");
    if (column >= 0 && column < 9)
        sql += QStringLiteral(" ORDER BY lower(%1)%2, mlmid, mmid")
                   .arg(QLatin1String(kColumnNames[column]), descending ? QStringLiteral(" DESC") : QString());
    else
        sql += QStringLiteral(" ORDER BY mlmid, mmid");
    QSqlQuery query(database);
    query.prepare(sql);
    QString pattern = term;
    pattern.replace(QLatin1Char('%'), QLatin1String("\\%"));
    query.addBindValue(QLatin1Char('%') + pattern + QLatin1Char('%'));
    if (!languageId.isEmpty())
        query.addBindValue(languageId);
    QList<QVariantList> rows;
    if (!query.exec())
        return rows;
    while (query.next()) {
        QVariantList row;
        for (int c = 0; c < 9; ++c)
            row.append(query.value(c));
        rows.append(row);
    }
    return rows;
}

QString describe(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("NULL(%1)").arg(QLatin1String(value.typeName()))
                          : QStringLiteral("%1(%2)").arg(value.toString(), QLatin1String(value.typeName()));
}

QSqlQueryModel* exerciseModel(IDbManager* store, const QString& term, const QString& language, int column, int order)
{
    return store->queryModel(kExercise,
                             {{QStringLiteral("Term"), term},
                              {QStringLiteral("Language"), language},
                              {QStringLiteral("SortColumn"), QString::number(column)},
                              {QStringLiteral("SortOrder"), QString::number(order)}},
                             nullptr, nullptr, nullptr, nullptr, nullptr);
}

} // namespace

void tst_Storekeeper::queryModelOrder_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    for (int column = 0; column < 9; ++column) {
        for (bool descending : {false, true}) {
            const QByteArray name = QByteArray(kColumnNames[column]) + (descending ? " descending" : " ascending");
            QTest::newRow(name.constData()) << QString() << QString() << column << descending;
        }
    }
    QTest::newRow("fragment, ASCII case folded") << QStringLiteral("AUS") << QString() << 1 << false;
    QTest::newRow("fragment outside ASCII keeps its case") << QStringLiteral("ä") << QString() << 1 << false;
    QTest::newRow("fragment with percent") << QStringLiteral("0%") << QString() << 1 << true;
    QTest::newRow("fragment matching nothing") << QStringLiteral("xyz") << QString() << 1 << false;
    // Terms follow one another in memory: a fragment must lie within one.
    QTest::newRow("fragment across two terms") << QStringLiteral("sh") << QString() << 1 << false;
    QTest::newRow("fragment across a NULL term") << QStringLiteral("%hau") << QString() << 1 << false;
    QTest::newRow("fragment across three terms") << QStringLiteral("zebra100%hauser") << QString() << 1 << false;
    QTest::newRow("fragment ending the last term") << QStringLiteral("t haus") << QString() << 1 << false;
    QTest::newRow("fragment as long as its term") << QStringLiteral("silent haus") << QString() << 0 << false;
    QTest::newRow("fragment longer than every term")
        << QStringLiteral("silent house, silent haus") << QString() << 1 << false;
    QTest::newRow("language") << QString() << QStringLiteral("German") << 8 << true;
    QTest::newRow("language and fragment") << QStringLiteral("a") << QStringLiteral("English") << 7 << false;
    QTest::newRow("no ordering") << QString() << QString() << 9 << false;
}

void tst_Storekeeper::queryModelOrder()
{
    QFETCH(QString, term);
    QFETCH(QString, language);
    QFETCH(int, column);
    QFETCH(bool, descending);
    QVERIFY(addOrderingRows(f->database()));
    const QString languageId = language == QLatin1String("German")    ? QStringLiteral("deu")
                               : language == QLatin1String("English") ? QStringLiteral("eng")
                                                                      : QString();
    const QList<QVariantList> expected = expectedRows(f->database(), term, languageId, column, descending);
    std::unique_ptr<QSqlQueryModel> model(exerciseModel(f->store(), term, language, column, descending ? 1 : 0));
    QVERIFY(model);
    QVERIFY2(!model->lastError().isValid(), qPrintable(model->lastError().text()));
    QCOMPARE(model->rowCount(), expected.size());
    QCOMPARE(model->columnCount(), 9);
    for (int row = 0; row < expected.size(); ++row) {
        const QSqlRecord record = model->record(row);
        for (int c = 0; c < 9; ++c) {
            const QVariant value = model->data(model->index(row, c));
            QCOMPARE(describe(value), describe(expected.at(row).at(c)));
            QCOMPARE(describe(record.value(QLatin1String(kColumnNames[c]))), describe(expected.at(row).at(c)));
        }
    }
}

void tst_Storekeeper::queryModelKeepsItsRows()
{
    const QString first = f->addExercise(QStringLiteral("alpha"));
    QVERIFY(!first.isEmpty());
    QVERIFY(!f->addExercise(QStringLiteral("beta")).isEmpty());
    std::unique_ptr<QSqlQueryModel> before(exerciseModel(f->store(), QString(), QString(), 1, 0));
    QCOMPARE(before->rowCount(), 2);

    // A write through the store, then one through another connection: each
    // new model sees it, the earlier models keep what they showed.
    QVERIFY(f->store()->remove(kExercise, {first}));
    std::unique_ptr<QSqlQueryModel> afterRemove(exerciseModel(f->store(), QString(), QString(), 1, 0));
    QCOMPARE(afterRemove->rowCount(), 1);
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("otherWriter"));
        other.setDatabaseName(f->treePath() + QStringLiteral("/vireda.db"));
        QVERIFY(other.open());
        RowWriter writer(other);
        QVERIFY(writer.add(QStringLiteral("gamma"), QStringLiteral("eng"),
                           {Media{QStringLiteral("p"), QStringLiteral("g.wav"), null(), null(), null(), null()}}));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("otherWriter"));
    std::unique_ptr<QSqlQueryModel> afterOther(exerciseModel(f->store(), QString(), QString(), 1, 1));
    QCOMPARE(afterOther->rowCount(), 2);
    QCOMPARE(afterOther->data(afterOther->index(0, 1)).toString(), QStringLiteral("gamma"));
    QCOMPARE(afterOther->data(afterOther->index(1, 1)).toString(), QStringLiteral("beta"));

    QCOMPARE(before->rowCount(), 2);
    QCOMPARE(before->data(before->index(0, 1)).toString(), QStringLiteral("alpha"));
    QCOMPARE(before->data(before->index(0, 0)).toString(), first);
    QCOMPARE(afterRemove->data(afterRemove->index(0, 1)).toString(), QStringLiteral("beta"));
}
