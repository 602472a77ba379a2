#include "ZoDbExercise.h"

#include "ExerciseIndex.h"
#include "ExerciseSnapshot.h"
#include "IdList.h"
#include "LikePattern.h"
#include "SnapshotQueryModel.h"
#include "StoreLog.h"
#include "StoreQueryModel.h"
#include "WriteTransaction.h"
#include "ZoDbCodes.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoUser.h"

#include <QCoreApplication>

#include <iterator>

namespace {

const char* const kColumns[] = {"e.mlmid", "t.mv", "e.lclid", "mm.mmp", "mm.mmfn", "mm.cccid", "mm.sp", "mm.l", "mm.v"};
constexpr int kColumnCount = 9;

// The rows of the exercise view (exercises with their term and recording),
// written out so that the search starts from the term rows.
const char* const kJoin = " CROSS JOIN crlt ct CROSS JOIN tm e CROSS JOIN m CROSS JOIN crlt cm CROSS JOIN mm"
                          " WHERE ct.mchmid = t.mlmid AND e.mlmid = ct.mprmid AND e.tmttmtid = 2"
                          " AND m.lmid = e.mlmid AND cm.mprmid = e.mlmid AND mm.mlmid = cm.mchmid";

QString columnList()
{
    QStringList columns;
    for (const char* column : kColumns)
        columns.append(QString::fromLatin1(column));
    return columns.join(QLatin1String(", "));
}

// The same columns read from the view.
QString viewColumnList()
{
    return QStringLiteral("mlmid, mv, lclid, mmp, mmfn, cccid, sp, l, v");
}

QString translate(const char* text)
{
    return QCoreApplication::translate("ZoDbExercise", text);
}

// Field names of the columns a complete exercise is read with; a search reads
// the first nine.
const char* const kExerciseFields[] = {
    "Id",       "Term",       "Language",          "MediaPath", "MediaName", "Country", "StateProv",
    "Locality", "Voice",      "LocaleDesc",        "PId",       "TermId",    "MediaId", "FluencyLevel",
    "Creator",  "CreatorUid", "PersistentMediaId", "VoiceUid"};
constexpr int kSearchFieldCount = 9;
// Those of an exercise without a recording.
const char* const kTextOnlyFields[] = {"Id", "Term", "Language", "PId", "TermId", "Creator", "CreatorUid"};

} // namespace

ZoDbExercise::ZoDbExercise(QSqlDatabase database, StatementCache* cache, ZoDbHelper* helper,
                           ExerciseIndex* exerciseIndex)
    : ZoDbBase(database, cache, helper)
    , mExerciseIndex(exerciseIndex)
{
}

ZoDbExercise::~ZoDbExercise() = default;

ZoExercise* ZoDbExercise::create(QHash<QString, QString> data)
{
    return new ZoExercise(data);
}

qint64 ZoDbExercise::localIdOf(const QString& persistentId)
{
    if (!hasPersistentId(persistentId))
        return 0;
    return fetchValue(QStringLiteral("SELECT lmid FROM m WHERE pmid = ? LIMIT 1"), {persistentId}).toLongLong();
}

int ZoDbExercise::insert(ZoExercise* exercise)
{
    if (!exercise)
        return 0;
    qint64 existing = 0;
    IdList::toId(exercise->id(), &existing);
    if (existing > 0 && !fetchValue(QStringLiteral("SELECT lmid FROM m WHERE lmid = ?"), {existing}).isValid())
        existing = 0;
    // An exercise known only as the translation of another (no sound of its
    // own) is completed: the full exercise takes its id and its translations.
    qint64 translationOnly = 0;
    if (existing == 0 && localIdOf(exercise->pId()) != 0) {
        const qint64 held = localIdOf(exercise->pId());
        const bool complete = fetchValue(QStringLiteral("SELECT 1 FROM v_e WHERE mlmid = ? LIMIT 1"), {held}).isValid();
        const bool textualExercise = fetchValue(QStringLiteral("SELECT 1 FROM tm WHERE mlmid = ? AND tmttmtid = ?"),
                                                {held, ZoDbCodes::TextualExercise})
                                         .isValid();
        if (complete || !textualExercise) {
            qCWarning(lcStore).noquote().nospace() << "exercise " << exercise->pId() << " is already stored";
            return 0;
        }
        translationOnly = held;
    }
    WriteTransaction transaction(mDatabase);
    if (!transaction.isActive())
        return 0;
    qint64 id = 0;
    if (translationOnly != 0 && !run(QStringLiteral("UPDATE m SET pmid = '0' WHERE lmid = ?"), {translationOnly}))
        return 0;
    if (!write(exercise, existing, &id))
        return 0;
    if (translationOnly != 0
        && (!run(QStringLiteral("UPDATE crlt SET mchmid = ? WHERE mchmid = ? AND crtcrtid = ?"),
                 {id, translationOnly, ZoDbCodes::RelationTranslationMember})
            || !run(QStringLiteral("DELETE FROM crlt WHERE mprmid = ?"), {translationOnly})
            || !run(QStringLiteral("DELETE FROM tm WHERE mlmid = ?"), {translationOnly})
            || !run(QStringLiteral("DELETE FROM m WHERE lmid = ?"), {translationOnly})))
        return 0;
    if (!transaction.commit())
        return 0;
    exercise->setId(QString::number(id));
    return 1;
}

bool ZoDbExercise::write(const ZoExercise* exercise, qint64 localId, qint64* id)
{
    const QString language = exercise->language();
    const int termId = insertTerm(exercise->persistentTermId(), exercise->term(), language, exercise->creator(),
                                  exercise->creatorUid());
    if (termId == 0)
        return false;

    QString mediaId = exercise->mediaId();
    if (!exercise->mediaPath().isEmpty() && !hasPersistentId(mediaId)) {
        const qint64 stored = localIdOf(exercise->persistentMediaId());
        if (stored != 0) {
            mediaId = QString::number(stored);
        } else {
            QHash<QString, QString> out;
            if (!insertManifest(&out, exercise->persistentMediaId(), ZoDbCodes::ManifestMedia, exercise->voice(),
                                exercise->voiceUid()))
                return false;
            mediaId = out.value(QStringLiteral("Id"));
            if (!insertMediaManifest(mediaId.toInt(), ZoDbCodes::MediaSound, exercise->mediaName(),
                                     QString::fromLatin1(ZoDbCodes::MediaSoundFormat), exercise->mediaPath(),
                                     exercise->voice(), exercise->country(), exercise->stateProv(),
                                     exercise->locality(), language, exercise->localeDesc(), exercise->fluencyLevel()))
                return false;
        }
    }

    if (localId != 0) {
        // Stored already: it becomes local content again.
        if (!run(QStringLiteral("UPDATE m SET pmid = '0', dul = 0 WHERE lmid = ?"), {localId}))
            return false;
        *id = localId;
    } else {
        QHash<QString, QString> out;
        if (!insertManifest(&out, exercise->pId(), ZoDbCodes::ManifestTextual, exercise->creator(),
                            exercise->creatorUid()))
            return false;
        *id = out.value(QStringLiteral("Id")).toLongLong();
    }
    const int exerciseId = int(*id);
    if (!insertTextualManifest(exerciseId, ZoDbCodes::TextualExercise, {{QStringLiteral("Language"), language}}))
        return false;
    // The recording link is written also without a recording (child 0).
    if (!insertRelation(exerciseId, termId, ZoDbCodes::RelationExercisePart, 0)
        || !insertRelation(exerciseId, mediaId.toInt(), ZoDbCodes::RelationExercisePart, 0))
        return false;

    const ZoExercise::FieldMap fields = exercise->fields();
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        const bool ok = it.key() == QLatin1String("Translation") ? insertTranslations(exerciseId, exercise, it.value())
                                                                 : insertField(exerciseId, it.key(), it.value());
        if (!ok)
            return false;
    }
    return true;
}

int ZoDbExercise::insertTerm(QString persistentTermId, QString term, QString language, QString creator,
                             QString creatorUid)
{
    term = term.trimmed();
    const QString languageId = mHelper->languageId(language);
    bool ok = false;
    const QVariant found = fetchValue(termLookupSql(), {term, languageId.isNull() ? QVariant() : QVariant(languageId)},
                                      &ok);
    if (!ok)
        return 0;
    qint64 termId = found.isValid() ? found.toLongLong() : -1;
    QString storedId = QString::fromLatin1(ZoDbCodes::NoPersistentId);
    if (termId != -1) {
        storedId = text(fetchValue(QStringLiteral("SELECT pmid FROM m WHERE lmid = ?"), {termId}));
        if (hasPersistentId(persistentTermId) && hasPersistentId(storedId) && storedId != persistentTermId) {
            // Same text, but another term of the network.
            termId = -1;
            storedId = QString::fromLatin1(ZoDbCodes::NoPersistentId);
        }
    }
    if (termId == -1) {
        QHash<QString, QString> out;
        if (!insertManifest(&out, QString::fromLatin1(ZoDbCodes::NoPersistentId), ZoDbCodes::ManifestTextual, creator,
                            creatorUid))
            return 0;
        termId = out.value(QStringLiteral("Id")).toLongLong();
        if (!insertTextualManifest(int(termId), ZoDbCodes::TextualTerm,
                                   {{QStringLiteral("Value"), term}, {QStringLiteral("Language"), language}}))
            return 0;
    }
    if (hasPersistentId(persistentTermId)) {
        if (!hasPersistentId(storedId)) {
            // The persistent id goes to this term unless another manifest has it.
            if (localIdOf(persistentTermId) == 0
                && !run(QStringLiteral("UPDATE m SET pmid = ?, ddl = strftime('%s','now') WHERE lmid = ?"),
                        {persistentTermId, termId}))
                return 0;
        } else {
            qCDebug(lcStore, "term/pmid %s/%s already exists locally", term.toLatin1().constData(),
                    persistentTermId.toLatin1().constData());
        }
    }
    return int(termId);
}

QString ZoDbExercise::termLookupSql()
{
    // The unary plus keeps the planner on the term index.
    return QStringLiteral("SELECT mlmid FROM tm WHERE mv = ? AND +lclid IS ? AND +tmttmtid = 1 LIMIT 1");
}

int ZoDbExercise::insertTranslations(int exerciseId, const ZoExercise* exercise, QHash<QString, QString> translation)
{
    QHash<QString, QString> values{{QStringLiteral("Value"), QString()},
                                   {QStringLiteral("Language"), QString()},
                                   {QStringLiteral("Context"), QString()},
                                   {QStringLiteral("Context_Language"), QString()},
                                   {QStringLiteral("Creator"), exercise->creator()},
                                   {QStringLiteral("CreatorUid"), exercise->creatorUid()},
                                   {QStringLiteral("PersistentTranslationId"), QStringLiteral("0")},
                                   {QStringLiteral("PersistentTrExerciseId"), QStringLiteral("0")},
                                   {QStringLiteral("PersistentTrTermId"), QStringLiteral("0")}};
    for (auto it = translation.cbegin(); it != translation.cend(); ++it)
        values.insert(it.key(), it.value());
    const QString language = values.value(QStringLiteral("Language"));
    const QString creator = values.value(QStringLiteral("Creator"));
    const QString creatorUid = values.value(QStringLiteral("CreatorUid"));

    const int termId = insertTerm(values.value(QStringLiteral("PersistentTrTermId")),
                                  values.value(QStringLiteral("Value")), language, creator, creatorUid);
    if (termId == 0)
        return 0;

    const QString trExercisePid = values.value(QStringLiteral("PersistentTrExerciseId"));
    qint64 trExerciseId = localIdOf(trExercisePid);
    if (trExerciseId == 0) {
        QHash<QString, QString> out;
        if (!insertManifest(&out, trExercisePid, ZoDbCodes::ManifestTextual, creator, creatorUid))
            return 0;
        trExerciseId = out.value(QStringLiteral("Id")).toLongLong();
        if (!insertTextualManifest(int(trExerciseId), ZoDbCodes::TextualExercise,
                                   {{QStringLiteral("Language"), language}})
            || !insertRelation(int(trExerciseId), termId, ZoDbCodes::RelationExercisePart, 0))
            return 0;
    }

    const QString groupPid = values.value(QStringLiteral("PersistentTranslationId"));
    if (localIdOf(groupPid) != 0)
        return 1; // the group is stored already, with its members and context
    QHash<QString, QString> out;
    if (!insertManifest(&out, groupPid, ZoDbCodes::ManifestTextual, creator, creatorUid))
        return 0;
    const int groupId = out.value(QStringLiteral("Id")).toInt();
    if (!insertTextualManifest(groupId, ZoDbCodes::TextualTranslation, {})
        || !insertRelation(groupId, exerciseId, ZoDbCodes::RelationTranslationMember, 0)
        || !insertRelation(groupId, int(trExerciseId), ZoDbCodes::RelationTranslationMember, 0))
        return 0;
    const QString context = values.value(QStringLiteral("Context"));
    if (!context.isEmpty()
        && !insertKvp(groupId, ZoDbCodes::TagTranslationContext,
                      {{QStringLiteral("Value"), context},
                       {QStringLiteral("Language"), values.value(QStringLiteral("Context_Language"))}}))
        return 0;
    return 1;
}

int ZoDbExercise::insertField(int exerciseId, QString name, QHash<QString, QString> values)
{
    return insertKvp(exerciseId, mHelper->tagId(name).toInt(), values);
}

ZoExercise* ZoDbExercise::get(QString localId)
{
    qint64 id = 0;
    QList<QVariantList> rows;
    if (IdList::toId(localId, &id)) {
        rows = fetch(QStringLiteral("SELECT v_e.mlmid, v_e.mv, v_e.lclid, v_e.mmp, v_e.mmfn, v_e.cccid, v_e.sp, "
                                    "v_e.l, v_e.v, v_e.ld, v_e.pmid, v_e.tmid, v_e.mmid, v_e.flflid, m.sbun, "
                                    "m.sbuid, media.pmid, media.sbuid FROM v_e, m, m AS media "
                                    "WHERE v_e.mlmid = ? AND m.lmid = v_e.mlmid AND media.lmid = v_e.mmid LIMIT 1"),
                     {id});
    }
    QHash<QString, QString> data;
    if (!rows.isEmpty()) {
        data = fieldsOf(rows.first(), kExerciseFields, int(std::size(kExerciseFields)));
    } else {
        if (id != 0) {
            rows = fetch(QStringLiteral("SELECT v_te.mlmid, v_te.mv, v_te.lclid, v_te.pmid, v_te.tmid, m.sbun, "
                                        "m.sbuid FROM v_te, m WHERE v_te.mlmid = ? AND m.lmid = v_te.mlmid LIMIT 1"),
                         {id});
        }
        if (rows.isEmpty()) {
            qCDebug(lcStore, "complete exercise or translation with local manifest ID %s does not exist!",
                    localId.toLatin1().constData());
            return nullptr;
        }
        data = fieldsOf(rows.first(), kTextOnlyFields, int(std::size(kTextOnlyFields)));
    }
    data.insert(QStringLiteral("PersistentTermId"),
                text(fetchValue(QStringLiteral("SELECT pmid FROM m WHERE lmid = ?"),
                                {data.value(QStringLiteral("TermId")).toLongLong()})));

    auto* exercise = new ZoExercise(data);

    const QList<QVariantList> kvps =
        fetch(QStringLiteral("SELECT ktktid, kv, lclid FROM k WHERE mlmid = ? ORDER BY kid"), {id});
    for (const QVariantList& row : kvps) {
        exercise->addField(mHelper->tagName(text(row.at(0))),
                           {{QStringLiteral("Id"), text(row.at(0))},
                            {QStringLiteral("Value"), text(row.at(1))},
                            {QStringLiteral("Language"), mHelper->languageName(text(row.at(2)))}});
    }

    QString translationName = mHelper->manifestName(QString::number(ZoDbCodes::TextualTranslation));
    if (translationName.isEmpty())
        translationName = QStringLiteral("Translation");
    const QList<QVariantList> groups =
        fetch(QStringLiteral("SELECT mprmid FROM crlt WHERE crtcrtid = 7 AND mchmid = ? ORDER BY crid"), {id});
    for (const QVariantList& group : groups) {
        const qint64 groupId = group.at(0).toLongLong();
        QHash<QString, QString> values;
        const QList<QVariantList> members =
            fetch(QStringLiteral("SELECT v_tmcrlt.mv, tm.lclid FROM crlt, tm, v_tmcrlt "
                                 "WHERE crlt.mprmid = ? AND crlt.crtcrtid = 7 AND crlt.mchmid <> ? "
                                 "AND tm.mlmid = crlt.mchmid AND v_tmcrlt.mprmid = tm.mlmid LIMIT 1"),
                  {groupId, id});
        if (!members.isEmpty()) {
            values.insert(QStringLiteral("Id"), QString::number(groupId));
            values.insert(QStringLiteral("PId"), QStringLiteral("0"));
            values.insert(QStringLiteral("Value"), text(members.first().at(0)));
            values.insert(QStringLiteral("Language"), mHelper->languageName(text(members.first().at(1))));
        }
        const QList<QVariantList> context = fetch(
            QStringLiteral("SELECT kv, lclid FROM k WHERE ktktid = 2 AND mlmid = ? ORDER BY kid LIMIT 1"), {groupId});
        if (!context.isEmpty()) {
            values.insert(QStringLiteral("Context"), text(context.first().at(0)));
            values.insert(QStringLiteral("Context_Language"), mHelper->languageName(text(context.first().at(1))));
        }
        exercise->addField(translationName, values);
    }
    return exercise;
}

bool ZoDbExercise::removeOne(qint64 id, bool* inLesson)
{
    bool ok = false;
    const QVariant lesson =
        fetchValue(QStringLiteral("SELECT mprmid FROM crlt WHERE mchmid = ? AND crtcrtid = 3 LIMIT 1"), {id}, &ok);
    if (!ok)
        return false;
    if (lesson.isValid()) {
        *inLesson = true;
        qCWarning(lcStore).noquote().nospace()
            << "exercise " << id << " belongs to lesson " << lesson.toString() << " and stays stored";
        return false;
    }
    const QList<QVariantList> groups =
        fetch(QStringLiteral("SELECT mprmid FROM crlt WHERE mchmid = ? AND crtcrtid = 7"), {id}, &ok);
    if (!ok)
        return false;
    WriteTransaction transaction(mDatabase);
    if (!transaction.isActive())
        return false;
    QList<qint64> manifests{id};
    for (const QVariantList& group : groups)
        manifests.append(group.at(0).toLongLong());
    // The trigger on m removes the parts as well; the explicit deletes keep
    // the removal whole without it. Term, recording and translation stay.
    for (qint64 manifest : manifests) {
        if (!run(QStringLiteral("DELETE FROM m WHERE lmid = ?"), {manifest})
            || !run(QStringLiteral("DELETE FROM tm WHERE mlmid = ?"), {manifest})
            || !run(QStringLiteral("DELETE FROM k WHERE mlmid = ?"), {manifest})
            || !run(QStringLiteral("DELETE FROM crlt WHERE mprmid = ?"), {manifest}))
            return false;
    }
    return transaction.commit();
}

int ZoDbExercise::remove(QStringList localIds)
{
    int result = 1;
    for (const QString& localId : localIds) {
        qint64 id = 0;
        if (!IdList::toId(localId, &id)) {
            qCDebug(lcStore) << "not an exercise id:" << localId;
            continue;
        }
        bool inLesson = false;
        if (!removeOne(id, &inLesson)) {
            if (!inLesson)
                qCWarning(lcStore).noquote().nospace() << "exercise " << id << " could not be removed";
            result = 0;
        }
    }
    return result;
}

QList<ZoUser*> ZoDbExercise::select(QHash<QString, QString>)
{
    return {};
}

ZoDbExercise::RowQuery ZoDbExercise::rowQuery(const QHash<QString, QString>& criteria, int sortColumn, bool descending)
{
    RowQuery query;
    const bool sorted = sortColumn >= 0 && sortColumn < kColumnCount;
    const QString direction = descending ? QStringLiteral(" DESC") : QString();
    const QString id = criteria.value(QStringLiteral("Id"));
    if (!id.isEmpty() || criteria.contains(QStringLiteral("IdList"))) {
        QList<qint64> ids;
        if (!id.isEmpty()) {
            qint64 one = 0;
            if (IdList::toId(id, &one))
                ids.append(one);
            query.byId = true;
        } else {
            ids = IdList::parse(criteria.value(QStringLiteral("IdList")));
        }
        // An empty list asks for no exercise: it gives none, not every
        // exercise as a term search would (callers pass the ids they hold).
        if (ids.isEmpty())
            return query;
        // One bound value for the whole list: binding each id grows with the square of the list.
        query.sql = QStringLiteral("SELECT %1 FROM v_e WHERE mlmid IN (%2)").arg(viewColumnList(), IdList::inBound());
        if (sorted) {
            const QString column = QString::fromLatin1(kColumns[sortColumn]).section(QLatin1Char('.'), 1);
            query.sql += QStringLiteral(" ORDER BY lower(%1)%2").arg(column, direction);
        }
        if (query.byId)
            query.sql += QStringLiteral(" LIMIT 1");
        query.countSql = QStringLiteral("SELECT count(*) FROM v_e WHERE mlmid IN (%1)").arg(IdList::inBound());
        query.values.append(IdList::bound(ids));
        return query;
    }

    query.byTerm = true;
    query.term = criteria.value(QStringLiteral("Term"));
    query.values.append(LikePattern::contains(query.term));
    const QString languageId = mHelper->languageId(criteria.value(QStringLiteral("Language")));
    query.languageId = languageId;
    QString filter = QString::fromLatin1(kJoin);
    if (!languageId.isEmpty()) {
        filter += QStringLiteral(" AND e.lclid = ?");
        query.values.append(languageId);
    }
    const QString terms = QStringLiteral("SELECT mlmid, mv FROM tm WHERE mv LIKE ? ESCAPE '\\' AND +tmttmtid = 1");
    if (sortColumn == 1) {
        // Only the terms are sorted; their exercises follow in that order.
        query.sql = QStringLiteral("SELECT %1 FROM (%2 ORDER BY lower(mv)%3 LIMIT -1) AS t%4")
                        .arg(columnList(), terms, direction, filter);
    } else {
        query.sql = QStringLiteral("SELECT %1 FROM (%2) AS t%3").arg(columnList(), terms, filter);
        if (sorted)
            query.sql +=
                QStringLiteral(" ORDER BY lower(%1)%2").arg(QString::fromLatin1(kColumns[sortColumn]), direction);
    }
    query.countSql = QStringLiteral("SELECT count(*) FROM (%1) AS t%2").arg(terms, filter);
    return query;
}

QList<QHash<QString, QString>> ZoDbExercise::search(QHash<QString, QString> criteria)
{
    const RowQuery query = rowQuery(criteria, -1, false);
    QList<QHash<QString, QString>> found;
    if (query.sql.isEmpty())
        return found;
    const QList<QVariantList> rows = fetch(query.sql, query.values, nullptr, false);
    for (const QVariantList& row : rows)
        found.append(fieldsOf(row, kExerciseFields, kSearchFieldCount));
    return found;
}

QSqlQueryModel* ZoDbExercise::queryModel(QHash<QString, QString> criteria, QList<int>* hiddenColumns,
                                         QList<int>* resizedColumns, int* languageColumn, int* countryColumn,
                                         int* learnerLevelColumn)
{
    const int sortColumn = criteria.value(QStringLiteral("SortColumn")).toInt();
    const bool descending = criteria.value(QStringLiteral("SortOrder")).toInt() == 1;
    RowQuery query = rowQuery(criteria, sortColumn, descending);
    if (query.sql.isEmpty()) {
        // Nothing can match: the columns without rows.
        query.sql = QStringLiteral("SELECT %1 FROM v_e WHERE 0").arg(viewColumnList());
    }

    std::shared_ptr<const ExerciseSnapshot> snapshot;
    if (query.byTerm && mExerciseIndex)
        snapshot = mExerciseIndex->current(mDatabase);
    QSqlQueryModel* model = nullptr;
    if (snapshot) {
        // Filtered and ordered in memory; the statement only names the columns.
        auto* rows = new SnapshotQueryModel(
            snapshot, snapshot->select(query.term, query.languageId,
                                       sortColumn >= 0 && sortColumn < kColumnCount ? sortColumn : -1, descending));
        rows->setColumns(mDatabase, QStringLiteral("SELECT %1 FROM v_e WHERE 0").arg(viewColumnList()));
        model = rows;
    } else {
        int total = -1;
        if (!query.byId && !query.countSql.isEmpty()) {
            bool ok = false;
            const QVariant count = fetchValue(query.countSql, query.values, &ok,
                                              !query.sql.contains(QLatin1String(" IN (")));
            if (ok && count.isValid())
                total = count.toInt();
        }
        // Small results are read at once; large ones as they are shown.
        if (total >= 0 && total <= 512)
            total = -1;
        auto* rows = new StoreQueryModel;
        rows->run(mDatabase, query.sql, query.values, total);
        model = rows;
    }

    const char* const captions[] = {"",        "Study Term",     "Language", "MediaPath", "MediaName",
                                    "Country", "State/Province", "Locality", "Voice"};
    for (int c = 0; c < kColumnCount; ++c) {
        model->setHeaderData(c, Qt::Horizontal, c == 0 ? QString() : translate(captions[c]), Qt::EditRole);
        // The caption as written, which names the column whatever the language.
        model->setHeaderData(c, Qt::Horizontal, QString::fromLatin1(captions[c]), Qt::UserRole);
    }
    if (hiddenColumns)
        hiddenColumns->append({0, 3, 4, 6});
    if (resizedColumns)
        resizedColumns->append(1);
    if (languageColumn)
        *languageColumn = 2;
    if (countryColumn)
        *countryColumn = 5;
    if (learnerLevelColumn)
        *learnerLevelColumn = -1;
    return model;
}

QList<QHash<QString, QString>> ZoDbExercise::uploadableItems(QString userName)
{
    const QList<QVariantList> rows =
        fetch(QStringLiteral("SELECT v_e.mlmid, v_e.mv, v_e.lclid FROM v_e, m WHERE v_e.mlmid = m.lmid "
                             "AND m.dnul = 0 AND m.dul = 0 AND m.ddl = 0 AND m.sbun = ? ORDER BY v_e.mlmid"),
              {userName});
    return uploadItems(rows, translate("Exercise"), QStringLiteral("Exercise"));
}

QString ZoDbExercise::uploadableRowsSql(const QString& columns, const QString& manifests)
{
    // The joins of the exercise view, in this order, so that only the chosen
    // pending manifests are visited (idx_m_upload, idx_crlt_link).
    return QStringLiteral("SELECT %1 FROM m CROSS JOIN tm AS e CROSS JOIN crlt AS media_link CROSS JOIN mm "
                          "CROSS JOIN crlt AS term_link CROSS JOIN tm AS t "
                          "WHERE %2 AND m.ddl = 0 AND m.dul = 0 AND m.dnul = 0 "
                          "AND e.mlmid = m.lmid AND e.tmttmtid = 2 "
                          "AND media_link.mprmid = e.mlmid AND mm.mlmid = media_link.mchmid "
                          "AND term_link.mprmid = e.mlmid AND t.mlmid = term_link.mchmid AND t.tmttmtid = 1")
        .arg(columns, manifests);
}

QString ZoDbExercise::uploadableCountSql()
{
    return uploadableRowsSql(QStringLiteral("COUNT(*)"), QStringLiteral("m.sbun = ?"));
}

int ZoDbExercise::uploadableCount(QString userName)
{
    const QVariant count = fetchValue(uploadableCountSql(), {userName});
    return count.isValid() ? count.toInt() : -1;
}

int ZoDbExercise::update(QString, QHash<QString, QString>)
{
    return 1;
}

int ZoDbExercise::overwrite(QString localId, ZoExercise* source)
{
    qint64 id = 0;
    if (!source || !IdList::toId(localId, &id))
        return 0;
    if (!fetchValue(QStringLiteral("SELECT mlmid FROM tm WHERE mlmid = ? AND tmttmtid = 2"), {id}).isValid()) {
        qCWarning(lcStore).noquote().nospace() << "exercise " << localId << " is not stored";
        return 0;
    }
    bool ok = false;
    const QList<QVariantList> groups =
        fetch(QStringLiteral("SELECT mprmid FROM crlt WHERE mchmid = ? AND crtcrtid = 7"), {id}, &ok);
    if (!ok)
        return 0;
    WriteTransaction transaction(mDatabase);
    if (!transaction.isActive())
        return 0;
    // The stored exercise keeps its manifest and becomes a new local one of
    // the source's creator; its own rows are written again from the source.
    if (!run(QStringLiteral("DELETE FROM crlt WHERE mprmid = ? AND crtcrtid = 2"), {id})
        || !run(QStringLiteral("UPDATE m SET pmid = '0', ddl = 0, dul = 0, dnul = 0, sbuid = ?, sbun = ?, "
                               "dc = strftime('%s','now') WHERE lmid = ?"),
                {notNull(source->creatorUid()), source->creator(), id})
        || !run(QStringLiteral("DELETE FROM tm WHERE mlmid = ?"), {id})
        || !run(QStringLiteral("DELETE FROM k WHERE mlmid = ?"), {id}))
        return 0;
    for (const QVariantList& group : groups) {
        const qint64 groupId = group.at(0).toLongLong();
        if (!run(QStringLiteral("DELETE FROM m WHERE lmid = ?"), {groupId})
            || !run(QStringLiteral("DELETE FROM tm WHERE mlmid = ?"), {groupId})
            || !run(QStringLiteral("DELETE FROM k WHERE mlmid = ?"), {groupId})
            || !run(QStringLiteral("DELETE FROM crlt WHERE mprmid = ?"), {groupId}))
            return 0;
    }
    qint64 written = 0;
    if (!write(source, id, &written) || !transaction.commit())
        return 0;
    return 1;
}

int ZoDbExercise::markTransferred(QString localId, QString direction)
{
    QString sql;
    if (direction == QLatin1String("up"))
        sql = QStringLiteral("UPDATE m SET dul = strftime('%s','now') WHERE lmid = ?");
    else if (direction == QLatin1String("down"))
        sql = QStringLiteral("UPDATE m SET ddl = strftime('%s','now') WHERE lmid = ?");
    qint64 id = 0;
    if (sql.isEmpty() || !IdList::toId(localId, &id))
        return 0;
    return run(sql, {id}) ? 1 : 0;
}

QHash<QString, QString> ZoDbExercise::fieldsOf(const QVariantList& row, const char* const* names, int count) const
{
    QHash<QString, QString> fields;
    for (int c = 0; c < count; ++c) {
        const QString name = QLatin1String(names[c]);
        QString value = text(row.value(c));
        if (name == QLatin1String("Language"))
            value = mHelper->languageName(value);
        else if (name == QLatin1String("Country"))
            value = mHelper->countryName(value);
        else if (name == QLatin1String("FluencyLevel"))
            value = mHelper->fluencyLevelName(value);
        fields.insert(name, value);
    }
    return fields;
}
