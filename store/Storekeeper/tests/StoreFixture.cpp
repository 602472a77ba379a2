#include "StoreFixture.h"

#include "IDbManager.h"
#include "PluginLocator.h"
#include "TestDatabase.h"
#include "ZoExercise.h"

#include <QDebug>
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

StoreFixture::StoreFixture()
{
    if (!mDoubles.isValid())
        return;
    if (!mDoubles.tree().addPlugin(pluginFile(), QStringLiteral("Managers")))
        return;
    if (!TestDatabase::createFile(mDoubles.tree().filePath(QStringLiteral("vireda.db"))))
        return;
    mRoot = PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    mStore = qobject_cast<IDbManager*>(mRoot);
}

StoreFixture::~StoreFixture()
{
    delete mRoot;
}

QString StoreFixture::pluginFile()
{
    return TestTree::distPath() + QStringLiteral("/Plugins_dll/Managers/Storekeeper.so");
}

bool StoreFixture::isValid() const
{
    return mStore != nullptr && database().isOpen();
}

IDbManager* StoreFixture::store() const
{
    return mStore;
}

QSqlDatabase StoreFixture::database() const
{
    return QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
}

QString StoreFixture::treePath() const
{
    return const_cast<ResourceDoubles&>(mDoubles).tree().path();
}

QStringList StoreFixture::snapshot() const
{
    QStringList rows;
    const QStringList tables{QStringLiteral("m"),    QStringLiteral("tm"), QStringLiteral("mm"), QStringLiteral("k"),
                             QStringLiteral("crlt"), QStringLiteral("u"),  QStringLiteral("uf")};
    QSqlQuery query(database());
    for (const QString& table : tables) {
        if (!query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table))) {
            rows.append(QStringLiteral("error ") + query.lastError().text());
            continue;
        }
        while (query.next()) {
            QStringList values;
            for (int c = 0; c < query.record().count(); ++c)
                values.append(query.value(c).isNull() ? QStringLiteral("NULL") : query.value(c).toString());
            rows.append(table + QLatin1Char(':') + values.join(QLatin1Char('|')));
        }
    }
    return rows;
}

int StoreFixture::count(const QString& sql) const
{
    QSqlQuery query(database());
    if (!query.exec(sql) || !query.next()) {
        qWarning() << sql << query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

QString StoreFixture::value(const QString& sql) const
{
    QSqlQuery query(database());
    if (!query.exec(sql) || !query.next())
        return QString();
    return query.value(0).toString();
}

bool StoreFixture::exec(const QString& sql) const
{
    QSqlQuery query(database());
    if (!query.exec(sql)) {
        qWarning() << sql << query.lastError().text();
        return false;
    }
    return true;
}

ZoExercise* StoreFixture::exercise(const QString& term, const QString& language, const QString& creator)
{
    auto* exercise = new ZoExercise(
        QHash<QString, QString>{{QStringLiteral("Term"), term},
                                {QStringLiteral("Language"), language},
                                {QStringLiteral("PId"), QStringLiteral("0")},
                                {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                {QStringLiteral("MediaName"), term.trimmed() + QStringLiteral(".wav")},
                                {QStringLiteral("Country"), QStringLiteral("France")},
                                {QStringLiteral("StateProv"), QStringLiteral("Ile")},
                                {QStringLiteral("Locality"), QStringLiteral("Paris")},
                                {QStringLiteral("Voice"), creator},
                                {QStringLiteral("VoiceUid"), QStringLiteral("u-") + creator},
                                {QStringLiteral("FluencyLevel"), QStringLiteral("Native")},
                                {QStringLiteral("Creator"), creator},
                                {QStringLiteral("CreatorUid"), QStringLiteral("u-") + creator}});
    return exercise;
}

QString StoreFixture::addExercise(const QString& term, const QString& language, const QString& creator)
{
    std::unique_ptr<ZoExercise> e(exercise(term, language, creator));
    if (mStore->insertExercise(QStringLiteral("Exercise"), e.get()) != 1)
        return QString();
    return e->id();
}
