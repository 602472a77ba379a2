#include "QueryTableFixture.h"

#include "IDbManager.h"
#include "PluginLocator.h"
#include "TestDatabase.h"
#include "ZoDbCodes.h"
#include "ZoDbConnection.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const char* const kSetupConnection = "querytable-fixture";

} // namespace

QueryTableFixture::QueryTableFixture()
    : mTree(TestTree::RealPlugins)
{
    if (!mTree.isValid()) {
        mError = QStringLiteral("no test tree");
        return;
    }
    if (!TestDatabase::createFile(mTree.filePath(QStringLiteral("vireda.db")))) {
        mError = QStringLiteral("cannot create the database");
        return;
    }
    mTree.enter();
    mStore = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    if (!mStore)
        mError = QStringLiteral("the store plug-in does not load");
}

QueryTableFixture::~QueryTableFixture()
{
    mTree.restore();
}

bool QueryTableFixture::isValid() const
{
    return mError.isEmpty();
}

QString QueryTableFixture::error() const
{
    return mError;
}

IDbManager* QueryTableFixture::store() const
{
    return mStore;
}

TestTree& QueryTableFixture::tree()
{
    return mTree;
}

QString QueryTableFixture::addExercise(const QHash<QString, QString>& values)
{
    return addExercise(mStore, values);
}

QString QueryTableFixture::addExercise(IDbManager* store, const QHash<QString, QString>& values)
{
    if (!store)
        return QString();
    QHash<QString, QString> data = values;
    data.insert(QStringLiteral("PId"), QStringLiteral("0"));
    data.insert(QStringLiteral("Creator"), QStringLiteral("tester"));
    data.insert(QStringLiteral("CreatorUid"), QStringLiteral("u-1"));
    ZoExercise exercise(data);
    if (store->insertExercise(QStringLiteral("Exercise"), &exercise) != 1)
        return QString();
    const auto rows = store->search(QStringLiteral("Exercise"),
                                    {{QStringLiteral("Term"), values.value(QStringLiteral("Term"))}});
    for (const auto& row : rows) {
        if (row.value(QStringLiteral("Term")) == values.value(QStringLiteral("Term")))
            return row.value(QStringLiteral("Id"));
    }
    return QString();
}

QString QueryTableFixture::addLesson(const QHash<QString, QString>& values, const QStringList& exerciseIds)
{
    return addLesson(mStore, values, exerciseIds);
}

QString QueryTableFixture::addLesson(IDbManager* store, const QHash<QString, QString>& values,
                                     const QStringList& exerciseIds)
{
    if (!store)
        return QString();
    QHash<QString, QString> data = values;
    data.insert(QStringLiteral("Id"), QString());
    data.insert(QStringLiteral("PId"), QStringLiteral("0"));
    data.insert(QStringLiteral("UserId"), QStringLiteral("u-1"));
    for (int i = 0; i < exerciseIds.size(); ++i)
        data.insert(QStringLiteral("EId%1").arg(i + 1), exerciseIds.at(i));
    QObject* stored = store->insert(QStringLiteral("Lesson"), data);
    auto* lesson = qobject_cast<ZoLesson*>(stored);
    const QString id = lesson ? lesson->id() : QString();
    delete stored;
    return id;
}

bool QueryTableFixture::addManyExercises(int count)
{
    return addManyExercises(mTree.filePath(QStringLiteral("vireda.db")), count);
}

bool QueryTableFixture::addManyExercises(const QString& databaseFile, int count)
{
    static const char* const languages[] = {"eng", "fra", "deu", "spa"};
    static const char* const countries[] = {"US", "FR", "DE", "ES", "GB"};
    bool ok = true;
    {
        QSqlDatabase db = ZoDbConnection::open(databaseFile, QLatin1String(kSetupConnection));
        ok = db.isOpen() && db.transaction();
        QSqlQuery next(db);
        ok = ok && next.exec(QStringLiteral("SELECT COALESCE(MAX(lmid), 0) + 1 FROM m")) && next.next();
        qint64 id = ok ? next.value(0).toLongLong() : 0;
        QSqlQuery manifest(db), textual(db), media(db), relation(db);
        ok = ok
             && manifest.prepare(QStringLiteral("INSERT INTO m (lmid, pmid, mtmtid, sbuid, sbun, dc) "
                                                "VALUES (?, '0', ?, 'u-1', 'tester', strftime('%s','now'))"))
             && textual.prepare(QStringLiteral("INSERT INTO tm (mlmid, tmttmtid, mv, lclid) VALUES (?, ?, ?, ?)"))
             && media.prepare(QStringLiteral("INSERT INTO mm (mlmid, mmtmmtid, mmfn, mmf, mmp, v, cccid, lclid, sp, l) "
                                             "VALUES (?, ?, ?, 'Wav', 'Content', ?, ?, ?, ?, ?)"))
             && relation.prepare(QStringLiteral("INSERT INTO crlt (mprmid, mchmid, crtcrtid) VALUES (?, ?, ?)"));
        for (int i = 0; ok && i < count; ++i) {
            // A fixed permutation of 0..count-1, so stored order is not sorted order.
            const qint64 n = (qint64(i) * 7919) % count;
            const QString term = QStringLiteral("term%1").arg(n, 6, 10, QLatin1Char('0'));
            const QString language = QLatin1String(languages[i % 4]);
            const QString country = QLatin1String(countries[i % 5]);
            const qint64 termId = id++, mediaId = id++, exerciseId = id++;
            manifest.addBindValue(termId);
            manifest.addBindValue(ZoDbCodes::ManifestTextual);
            ok = ok && manifest.exec();
            textual.addBindValue(termId);
            textual.addBindValue(ZoDbCodes::TextualTerm);
            textual.addBindValue(term);
            textual.addBindValue(language);
            ok = ok && textual.exec();
            manifest.addBindValue(mediaId);
            manifest.addBindValue(ZoDbCodes::ManifestMedia);
            ok = ok && manifest.exec();
            media.addBindValue(mediaId);
            media.addBindValue(ZoDbCodes::MediaSound);
            media.addBindValue(term + QStringLiteral(".wav"));
            media.addBindValue(QStringLiteral("voice%1").arg(i % 7));
            media.addBindValue(country);
            media.addBindValue(language);
            media.addBindValue(QStringLiteral("state%1").arg(i % 11));
            media.addBindValue(QStringLiteral("town%1").arg(i % 13));
            ok = ok && media.exec();
            manifest.addBindValue(exerciseId);
            manifest.addBindValue(ZoDbCodes::ManifestTextual);
            ok = ok && manifest.exec();
            textual.addBindValue(exerciseId);
            textual.addBindValue(ZoDbCodes::TextualExercise);
            textual.addBindValue(QVariant());
            textual.addBindValue(language);
            ok = ok && textual.exec();
            for (qint64 part : {termId, mediaId}) {
                relation.addBindValue(exerciseId);
                relation.addBindValue(part);
                relation.addBindValue(ZoDbCodes::RelationExercisePart);
                ok = ok && relation.exec();
            }
        }
        if (ok)
            ok = db.commit();
        else if (db.isOpen())
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(kSetupConnection));
    return ok;
}
