#include "ZoDbHelper.h"

#include "IResource.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "ZoDbCodes.h"

#include <QPointer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

const QLatin1String kResourceFiles[] = {
    PluginFiles::ZoLanguageResource,     PluginFiles::ZoSILResource,          PluginFiles::ZoCountryResource,
    PluginFiles::ZoFluencyLevelResource, PluginFiles::ZoLearnerLevelResource, PluginFiles::ZoTagResource,
    PluginFiles::ZoManifestResource,
};
constexpr int kResourceCount = int(sizeof(kResourceFiles) / sizeof(kResourceFiles[0]));

// Root instances shared by every helper of the process. Guarded pointers, so
// an instance that its owner deletes is loaded again instead of dangling.
QPointer<QObject>* resourceRoots()
{
    static QPointer<QObject> roots[kResourceCount];
    return roots;
}

void loadMissingResources()
{
    QPointer<QObject>* roots = resourceRoots();
    for (int i = 0; i < kResourceCount; ++i) {
        if (!roots[i])
            roots[i] = PluginLocator::instance(kResourceFiles[i]);
    }
}

QString text(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

QHash<QString, QString> rowByPosition(const QSqlQuery& query, const QStringList& keys)
{
    QHash<QString, QString> row;
    const int columns = query.record().count();
    for (int i = 0; i < keys.size() && i < columns; ++i)
        row.insert(keys.at(i), text(query.value(i)));
    return row;
}

bool run(QSqlQuery& query, const QString& statement, const QVariantList& values)
{
    if (!query.prepare(statement))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

const QStringList& manifestColumns()
{
    static const QStringList columns = {QStringLiteral("lmid"), QStringLiteral("pmid"),  QStringLiteral("mtmtid"),
                                        QStringLiteral("r"),    QStringLiteral("sbuid"), QStringLiteral("sbun"),
                                        QStringLiteral("dc"),   QStringLiteral("ip"),    QStringLiteral("id"),
                                        QStringLiteral("ddl"),  QStringLiteral("dul"),   QStringLiteral("dnul")};
    return columns;
}

const QStringList& textualManifestColumns()
{
    static const QStringList columns = {QStringLiteral("mlmid"), QStringLiteral("tmttmtid"), QStringLiteral("mt"),
                                        QStringLiteral("mv"),    QStringLiteral("md"),       QStringLiteral("cccid"),
                                        QStringLiteral("lclid"), QStringLiteral("llllid"),   QStringLiteral("it"),
                                        QStringLiteral("ir"),    QStringLiteral("sr")};
    return columns;
}

const QStringList& mediaManifestColumns()
{
    static const QStringList columns = {QStringLiteral("mlmid"),  QStringLiteral("mmtmmtid"), QStringLiteral("mmfn"),
                                        QStringLiteral("mmf"),    QStringLiteral("mms"),      QStringLiteral("mmd"),
                                        QStringLiteral("mmh"),    QStringLiteral("mmp"),      QStringLiteral("v"),
                                        QStringLiteral("ssssid"), QStringLiteral("cccid"),    QStringLiteral("lclid"),
                                        QStringLiteral("sp"),     QStringLiteral("l"),        QStringLiteral("ld"),
                                        QStringLiteral("mmbr"),   QStringLiteral("flflid"),   QStringLiteral("mmsf"),
                                        QStringLiteral("nc")};
    return columns;
}

const QStringList& kvpColumns()
{
    static const QStringList columns = {QStringLiteral("kid"), QStringLiteral("ktktid"), QStringLiteral("mlmid"),
                                        QStringLiteral("kv"), QStringLiteral("lclid")};
    return columns;
}

} // namespace

ZoDbHelper::ZoDbHelper()
{
    loadMissingResources();
}

ZoDbHelper::ZoDbHelper(QSqlDatabase database)
    : mDatabase(database)
{
    loadMissingResources();
}

ZoDbHelper::~ZoDbHelper() = default;

IResource* ZoDbHelper::resource(Table table) const
{
    if (table == Sil)
        return nullptr;
    QObject* root = resourceRoots()[table];
    return root ? qobject_cast<IResource*>(root) : nullptr;
}

QSqlQuery ZoDbHelper::newQuery() const
{
    if (mDatabase)
        return QSqlQuery(*mDatabase);
    return QSqlQuery(QSqlDatabase::database());
}

#define ZO_LOOKUP(function, table, operation)                                                                          \
    QString ZoDbHelper::function(QString value) const                                                                  \
    {                                                                                                                  \
        IResource* r = resource(table);                                                                                \
        return r ? r->operation(value) : QString();                                                                    \
    }

ZO_LOOKUP(languageId, Language, idOf)
ZO_LOOKUP(countryId, Country, idOf)
ZO_LOOKUP(fluencyLevelId, FluencyLevel, idOf)
ZO_LOOKUP(learnerLevelId, LearnerLevel, idOf)
ZO_LOOKUP(tagId, Tag, idOf)
ZO_LOOKUP(languageName, Language, nameOf)
ZO_LOOKUP(countryName, Country, nameOf)
ZO_LOOKUP(fluencyLevelName, FluencyLevel, nameOf)
ZO_LOOKUP(learnerLevelName, LearnerLevel, nameOf)
ZO_LOOKUP(tagName, Tag, nameOf)
ZO_LOOKUP(manifestName, Manifest, nameOf)
#undef ZO_LOOKUP

bool ZoDbHelper::isLanguageCode(const QString& text)
{
    if (text.size() != 3)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('a') || c > QLatin1Char('z'))
            return false;
    }
    return true;
}

QString ZoDbHelper::languageNameOrCode(QString id) const
{
    const QString name = languageName(id);
    return name.isEmpty() && isLanguageCode(id) ? id : name;
}

QString ZoDbHelper::languageIdOrCode(QString name) const
{
    const QString id = languageId(name);
    return id.isEmpty() && isLanguageCode(name) ? name : id;
}

#define ZO_LIST(function, table)                                                                                       \
    QStringList ZoDbHelper::function() const                                                                           \
    {                                                                                                                  \
        IResource* r = resource(table);                                                                                \
        return r ? r->listAll() : QStringList();                                                                       \
    }

ZO_LIST(languageList, Language)
ZO_LIST(countryList, Country)
ZO_LIST(fluencyLevelList, FluencyLevel)
ZO_LIST(learnerLevelList, LearnerLevel)
ZO_LIST(tagList, Tag)
#undef ZO_LIST

void ZoDbHelper::releaseResources()
{
    for (Table table : {Language, Country, FluencyLevel, LearnerLevel}) {
        if (IResource* r = resource(table))
            r->release();
    }
}

int ZoDbHelper::findTermId(QString value, QString languageName) const
{
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT mlmid FROM tm WHERE mv = ? AND lclid = ? AND tmttmtid = ? LIMIT 1"),
             {value, languageId(languageName), ZoDbCodes::TextualTerm})
        || !query.next())
        return -1;
    return query.value(0).toInt();
}

QString ZoDbHelper::userVersion() const
{
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("pragma user_version"), {}) || !query.next())
        return QStringLiteral("0");
    return text(query.value(0));
}

void ZoDbHelper::legacyMediaPath(QString out[2], QString manifestId) const
{
    out[0].clear();
    out[1].clear();
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT media_manifest_id FROM exercise_lt WHERE manifests_id = ? LIMIT 1"),
             {manifestId})
        || !query.next())
        return;
    const QVariant mediaId = query.value(0);
    if (mediaId.isNull() || mediaId.toString() == QLatin1String("-1"))
        return;
    QSqlQuery media = newQuery();
    if (!run(media, QStringLiteral("SELECT path, filename FROM media_manifests WHERE id = ? LIMIT 1"), {mediaId})
        || !media.next())
        return;
    out[0] = text(media.value(0));
    out[1] = text(media.value(1));
}

int ZoDbHelper::countByPersistentId(QString persistentId) const
{
    if (persistentId == QLatin1String(ZoDbCodes::NoPersistentId))
        return 0;
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT COUNT(*) FROM m WHERE pmid = ?"), {persistentId}) || !query.next())
        return 0;
    return query.value(0).toInt();
}

bool ZoDbHelper::isExerciseStored(QString persistentId) const
{
    if (persistentId == QLatin1String(ZoDbCodes::NoPersistentId))
        return false;
    QSqlQuery query = newQuery();
    return run(query, QStringLiteral("SELECT 1 FROM v_e WHERE pmid = ? LIMIT 1"), {persistentId}) && query.next();
}

bool ZoDbHelper::isSoundFileStored(QString fileName) const
{
    QSqlQuery query = newQuery();
    return !run(query, QStringLiteral("SELECT 1 FROM mm WHERE mmfn = ? LIMIT 1"), {fileName}) || query.next();
}

int ZoDbHelper::localIdOf(QString persistentId) const
{
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT lmid FROM m WHERE pmid = ?"), {persistentId}) || !query.next())
        return 0;
    return query.value(0).toInt();
}

QString ZoDbHelper::persistentIdOf(QString localId) const
{
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT pmid FROM m WHERE lmid = ?"), {localId}) || !query.next())
        return QString::fromLatin1(ZoDbCodes::NoPersistentId);
    const QString value = text(query.value(0));
    return value.isEmpty() ? QString::fromLatin1(ZoDbCodes::NoPersistentId) : value;
}

int ZoDbHelper::assignPersistentId(QString localId, QString persistentId, bool downloaded)
{
    // Only another manifest holding the id refuses it: the same manifest given
    // its own id again is stamped again; an unknown manifest answers 0 below.
    if (persistentId != QLatin1String(ZoDbCodes::NoPersistentId)) {
        QSqlQuery taken = newQuery();
        if (!run(taken, QStringLiteral("SELECT COUNT(*) FROM m WHERE pmid = ? AND lmid <> ?"), {persistentId, localId})
            || !taken.next() || taken.value(0).toInt() != 0)
            return 0;
    }
    QSqlQuery update = newQuery();
    if (!run(update, QStringLiteral("UPDATE m SET pmid = ? WHERE lmid = ?"), {persistentId, localId})
        || update.numRowsAffected() < 1)
        return 0;
    QSqlQuery stamp = newQuery();
    const QString statement = downloaded ? QStringLiteral("UPDATE m SET ddl = strftime('%s','now') WHERE lmid = ?")
                                         : QStringLiteral("UPDATE m SET dul = strftime('%s','now') WHERE lmid = ?");
    return run(stamp, statement, {localId}) ? 1 : 2;
}

int ZoDbHelper::clearPersistentId(QString localId)
{
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("UPDATE m SET pmid = ?, dul = 0 WHERE lmid = ?"),
             {QString::fromLatin1(ZoDbCodes::NoPersistentId), localId})
        || query.numRowsAffected() < 1)
        return 0;
    return 1;
}

QStringList ZoDbHelper::translationRelatives(QString localId) const
{
    QStringList result;
    QSqlQuery parents = newQuery();
    if (!run(parents, QStringLiteral("SELECT mprmid FROM crlt WHERE mchmid = ? AND crtcrtid = ?"),
             {localId, ZoDbCodes::RelationTranslationMember}))
        return result;
    QStringList parentIds;
    while (parents.next())
        parentIds.append(text(parents.value(0)));
    for (const QString& parent : parentIds) {
        QString entry = parent;
        QSqlQuery children = newQuery();
        if (run(children, QStringLiteral("SELECT mchmid FROM crlt WHERE crtcrtid = ? AND mprmid = ? AND mchmid <> ?"),
                {ZoDbCodes::RelationTranslationMember, parent, localId})) {
            while (children.next())
                entry += QLatin1Char(',') + text(children.value(0));
        }
        result.append(entry);
    }
    return result;
}

QHash<QString, QString> ZoDbHelper::manifestRecord(QString localId) const
{
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT * FROM m WHERE lmid = ?"), {localId}) || !query.next())
        return {};
    return rowByPosition(query, manifestColumns());
}

QHash<QString, QString> ZoDbHelper::textualManifestRecord(QString localId) const
{
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT * FROM tm WHERE mlmid = ?"), {localId}) || !query.next())
        return {};
    return rowByPosition(query, textualManifestColumns());
}

QHash<QString, QString> ZoDbHelper::mediaManifestRecord(QString localId) const
{
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT * FROM mm WHERE mlmid = ?"), {localId}) || !query.next())
        return {};
    return rowByPosition(query, mediaManifestColumns());
}

QList<QHash<QString, QString>> ZoDbHelper::kvpRecords(QString localId) const
{
    QList<QHash<QString, QString>> rows;
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT * FROM k WHERE mlmid = ?"), {localId}))
        return rows;
    while (query.next())
        rows.append(rowByPosition(query, kvpColumns()));
    return rows;
}

QStringList ZoDbHelper::languagesOf(QStringList localIds) const
{
    QStringList names;
    if (localIds.isEmpty())
        return names;
    // The ids as one bound JSON array: binding each id grows with the square of the list.
    QString array(QLatin1Char('['));
    for (const QString& id : localIds) {
        bool ok = false;
        const qint64 value = id.trimmed().toLongLong(&ok);
        if (!ok)
            continue; // matches no row
        if (array.size() > 1)
            array += QLatin1Char(',');
        array += QString::number(value);
    }
    array += QLatin1Char(']');
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT DISTINCT lclid FROM tm WHERE mlmid IN (SELECT value FROM json_each(?))"),
             {array}))
        return names;
    while (query.next())
        names.append(languageName(text(query.value(0))));
    return names;
}

QString ZoDbHelper::userIdOf(QString userName) const
{
    QSqlQuery query = newQuery();
    // A name in any letter case (see INetManager.h), the exact spelling first.
    if (!run(query,
             QStringLiteral("SELECT uid FROM u WHERE unm = ? COLLATE NOCASE ORDER BY unm = ? DESC, rowid LIMIT 1"),
             {userName, userName})
        || !query.next())
        return QStringLiteral("-1");
    return text(query.value(0));
}

QString ZoDbHelper::userNameOf(QString userId) const
{
    QSqlQuery query = newQuery();
    if (!run(query, QStringLiteral("SELECT unm FROM u WHERE uid = ?"), {userId}) || !query.next())
        return QString();
    return text(query.value(0));
}

QList<QHash<QString, QString>> ZoDbHelper::lessonExercises(QString localId) const
{
    QList<QHash<QString, QString>> rows;
    QSqlQuery query = newQuery();
    if (!run(query,
             QStringLiteral("SELECT crlt.mchmid, m.pmid, crlt.sn FROM m, crlt WHERE m.lmid = crlt.mchmid "
                            "AND crlt.crtcrtid = ? AND crlt.mprmid = ? ORDER BY crlt.sn"),
             {ZoDbCodes::RelationLessonMember, localId}))
        return rows;
    while (query.next())
        rows.append(rowByPosition(query, {QStringLiteral("lmid"), QStringLiteral("pmid"), QStringLiteral("sn")}));
    return rows;
}

QList<QHash<QString, QString>> ZoDbHelper::translationExercises(QString localId) const
{
    QList<QHash<QString, QString>> rows;
    QSqlQuery query = newQuery();
    if (!run(query,
             QStringLiteral("SELECT crlt.mchmid, m.pmid FROM m, crlt WHERE m.lmid = crlt.mchmid "
                            "AND crlt.crtcrtid = ? AND crlt.mprmid = ?"),
             {ZoDbCodes::RelationTranslationMember, localId}))
        return rows;
    while (query.next())
        rows.append(rowByPosition(query, {QStringLiteral("lmid"), QStringLiteral("pmid")}));
    return rows;
}
