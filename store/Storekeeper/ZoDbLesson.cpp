#include "ZoDbLesson.h"

#include "IdList.h"
#include "LikePattern.h"
#include "StoreLog.h"
#include "StoreQueryModel.h"
#include "WriteTransaction.h"
#include "ZoDbCodes.h"
#include "ZoDbHelper.h"
#include "ZoLesson.h"
#include "ZoUser.h"

#include <QCoreApplication>

namespace {

const char* const kModelColumns[] = {"mlmid", "mt", "md", "ec", "lclid", "llllid", "unm"};
constexpr int kModelColumnCount = 7;

QString translate(const char* text)
{
    return QCoreApplication::translate("ZoDbLesson", text);
}

QString memberKey(int n)
{
    return QStringLiteral("EId%1").arg(n);
}

// Lessons none of whose members came from an unrecorded supplier.
const char* const kUploadable = " FROM v_l WHERE dnul = 0 AND dul = 0 AND ddl = 0 AND unm = ?"
                                " AND mlmid NOT IN (SELECT DISTINCT mprmid FROM crlt WHERE crtcrtid = 3"
                                " AND mchmid IN (SELECT lmid FROM m WHERE sbuid = '-1'))";

} // namespace

ZoDbLesson::ZoDbLesson(QSqlDatabase database, StatementCache* cache, ZoDbHelper* helper)
    : ZoDbBase(database, cache, helper)
{
}

ZoDbLesson::~ZoDbLesson() = default;

ZoLesson* ZoDbLesson::create(QHash<QString, QString> data)
{
    return new ZoLesson(data);
}

bool ZoDbLesson::members(const QHash<QString, QString>& data, QList<qint64>* ids)
{
    for (int n = 1;; ++n) {
        const QString member = data.value(memberKey(n));
        if (member.isEmpty())
            return true;
        qint64 id = 0;
        if (!IdList::toId(member, &id)) {
            qCWarning(lcStore).noquote().nospace()
                << "lesson member " << memberKey(n) << " is not a local id: " << member;
            return false;
        }
        ids->append(id);
    }
}

bool ZoDbLesson::writeMembers(qint64 lessonId, const QList<qint64>& ids)
{
    for (int i = 0; i < ids.size(); ++i) {
        if (!run(QStringLiteral("INSERT INTO crlt (mprmid, mchmid, crtcrtid, sn) VALUES (?, ?, 3, ?)"),
                 {lessonId, ids.at(i), i + 1}))
            return false;
    }
    return true;
}

bool ZoDbLesson::isLesson(qint64 id)
{
    return fetchValue(QStringLiteral("SELECT mlmid FROM tm WHERE mlmid = ? AND tmttmtid = 3"), {id}).isValid();
}

ZoLesson* ZoDbLesson::insert(QHash<QString, QString> data)
{
    const QString title = data.value(QStringLiteral("Title"));
    const QString description = data.value(QStringLiteral("Description"));
    const QString language = data.value(QStringLiteral("Language"));
    const QString learnerLevel = data.value(QStringLiteral("LearnerLevel"));
    const QString username = data.value(QStringLiteral("Username"));
    const QString userId = data.value(QStringLiteral("UserId"));
    const QString pId = data.value(QStringLiteral("PId"));
    QList<qint64> ids;
    if (!members(data, &ids))
        return nullptr;

    WriteTransaction transaction(mDatabase);
    if (!transaction.isActive())
        return nullptr;
    QHash<QString, QString> out;
    if (!insertManifest(&out, pId, ZoDbCodes::ManifestTextual, username, userId))
        return nullptr;
    const qint64 lessonId = out.value(QStringLiteral("Id")).toLongLong();
    if (!insertTextualManifest(int(lessonId), ZoDbCodes::TextualLesson,
                               {{QStringLiteral("Title"), title},
                                {QStringLiteral("Description"), description},
                                {QStringLiteral("Language"), language},
                                {QStringLiteral("LearnerLevel"), learnerLevel}})
        || !writeMembers(lessonId, ids) || !transaction.commit())
        return nullptr;

    QHash<QString, QString> exerciseIds;
    for (int i = 0; i < ids.size(); ++i)
        exerciseIds.insert(memberKey(i + 1), QString::number(ids.at(i)));
    return new ZoLesson(QString::number(lessonId), pId, title, description, username, userId, language, learnerLevel,
                        exerciseIds);
}

int ZoDbLesson::remove(QStringList localIds)
{
    int result = 1;
    for (const QString& localId : localIds) {
        qint64 id = 0;
        if (!IdList::toId(localId, &id) || !isLesson(id)) {
            qCWarning(lcStore).noquote().nospace() << "not a lesson: " << localId;
            continue;
        }
        WriteTransaction transaction(mDatabase);
        const bool ok = transaction.isActive() && run(QStringLiteral("DELETE FROM m WHERE lmid = ?"), {id})
                        && run(QStringLiteral("DELETE FROM tm WHERE mlmid = ? AND tmttmtid = 3"), {id})
                        && run(QStringLiteral("DELETE FROM crlt WHERE mprmid = ?"), {id})
                        && run(QStringLiteral("DELETE FROM k WHERE mlmid = ?"), {id}) && transaction.commit();
        if (!ok) {
            qCWarning(lcStore).noquote().nospace() << "lesson " << id << " could not be removed";
            result = 0;
        }
    }
    return result;
}

QList<ZoUser*> ZoDbLesson::select(QHash<QString, QString>)
{
    return {};
}

QString ZoDbLesson::filter(const QHash<QString, QString>& criteria, QVariantList* values, bool* byId)
{
    *byId = false;
    const QString id = criteria.value(QStringLiteral("Id"));
    if (!id.isEmpty() || criteria.contains(QStringLiteral("IdList"))) {
        QList<qint64> ids;
        if (!id.isEmpty()) {
            *byId = true;
            qint64 one = 0;
            if (IdList::toId(id, &one))
                ids.append(one);
        } else {
            ids = IdList::parse(criteria.value(QStringLiteral("IdList")));
        }
        if (ids.isEmpty())
            return QString();
        values->append(IdList::bound(ids));
        return QStringLiteral(" WHERE mlmid IN (%1)").arg(IdList::inBound());
    }
    QString where = QStringLiteral(" WHERE mt LIKE ? ESCAPE '\\'");
    values->append(LikePattern::contains(criteria.value(QStringLiteral("Title"))));
    const QString language = criteria.value(QStringLiteral("Language"));
    const QString languageId = language.isEmpty() ? QString() : mHelper->languageId(language);
    if (!languageId.isEmpty()) {
        where += QStringLiteral(" AND lclid = ?");
        values->append(languageId);
        const QString level = criteria.value(QStringLiteral("LearnerLevel"));
        const QString levelId = level.isEmpty() ? QString() : mHelper->learnerLevelId(level);
        if (!levelId.isEmpty()) {
            where += QStringLiteral(" AND llllid = ?");
            values->append(levelId);
        }
    }
    return where;
}

QList<QHash<QString, QString>> ZoDbLesson::search(QHash<QString, QString> criteria)
{
    QVariantList values;
    bool byId = false;
    const QString where = filter(criteria, &values, &byId);
    QList<QHash<QString, QString>> found;
    if (where.isEmpty())
        return found;
    const QList<QVariantList> rows = fetch(QStringLiteral("SELECT mlmid, mt, md, unm, lclid, llllid FROM v_l%1%2")
                                               .arg(where, byId ? QStringLiteral(" LIMIT 1") : QString()),
                                           values, nullptr, !where.contains(QLatin1String(" IN (")));
    for (const QVariantList& row : rows) {
        QHash<QString, QString> lesson{{QStringLiteral("Id"), text(row.at(0))},
                                       {QStringLiteral("Title"), text(row.at(1))},
                                       {QStringLiteral("Description"), text(row.at(2))},
                                       {QStringLiteral("Username"), text(row.at(3))},
                                       {QStringLiteral("Language"), mHelper->languageName(text(row.at(4)))},
                                       {QStringLiteral("LearnerLevel"), mHelper->learnerLevelName(text(row.at(5)))}};
        const QList<QVariantList> children =
            fetch(QStringLiteral("SELECT mchmid FROM crlt WHERE mprmid = ? AND crtcrtid = 3 ORDER BY sn"), {row.at(0)});
        for (int i = 0; i < children.size(); ++i)
            lesson.insert(memberKey(i + 1), text(children.at(i).at(0)));
        lesson.insert(QStringLiteral("ExerciseCount"), QString::number(children.size()));
        found.append(lesson);
    }
    return found;
}

QList<QHash<QString, QString>> ZoDbLesson::uploadableItems(QString userName)
{
    const QList<QVariantList> rows = fetch(QStringLiteral("SELECT mlmid, mt, lclid") + QLatin1String(kUploadable)
                                               + QStringLiteral(" ORDER BY mlmid"),
                                           {userName});
    return uploadItems(rows, translate("Lesson"), QStringLiteral("Lesson"));
}

QString ZoDbLesson::uploadableCountSql()
{
    return QStringLiteral("SELECT COUNT(*) FROM tm CROSS JOIN m WHERE tm.tmttmtid = 3 AND m.lmid = tm.mlmid "
                          "AND m.sbun = ? AND m.ddl = 0 AND m.dul = 0 AND m.dnul = 0 "
                          "AND NOT EXISTS (SELECT 1 FROM crlt CROSS JOIN m AS member WHERE crlt.mprmid = tm.mlmid "
                          "AND crlt.crtcrtid = 3 AND member.lmid = crlt.mchmid AND member.sbuid = '-1')");
}

int ZoDbLesson::uploadableCount(QString userName)
{
    const QVariant count = fetchValue(uploadableCountSql(), {userName});
    return count.isValid() ? count.toInt() : -1;
}

QSqlQueryModel* ZoDbLesson::queryModel(QHash<QString, QString> criteria, QList<int>* hiddenColumns,
                                       QList<int>* resizedColumns, int* languageColumn, int* countryColumn,
                                       int* learnerLevelColumn)
{
    QStringList columns;
    for (const char* column : kModelColumns)
        columns.append(QString::fromLatin1(column));
    QVariantList values;
    bool byId = false;
    QString where = filter(criteria, &values, &byId);
    if (where.isEmpty())
        where = QStringLiteral(" WHERE 0");
    QString sql = QStringLiteral("SELECT %1 FROM v_l%2").arg(columns.join(QLatin1String(", ")), where);
    const int sortColumn = criteria.value(QStringLiteral("SortColumn")).toInt();
    if (sortColumn >= 0 && sortColumn < kModelColumnCount) {
        // The member count sorts as a number.
        sql += sortColumn == 3 ? QStringLiteral(" ORDER BY ec")
                               : QStringLiteral(" ORDER BY lower(%1)").arg(columns.at(sortColumn));
        if (criteria.value(QStringLiteral("SortOrder")).toInt() == 1)
            sql += QStringLiteral(" DESC");
    }
    if (byId)
        sql += QStringLiteral(" LIMIT 1");

    auto* model = new StoreQueryModel;
    model->run(mDatabase, sql, values, -1);
    const char* const captions[] = {"",         "Lesson Title",  "Description", "Exercises",
                                    "Language", "Learner Level", "Username"};
    for (int c = 0; c < kModelColumnCount; ++c) {
        model->setHeaderData(c, Qt::Horizontal, c == 0 ? QString() : translate(captions[c]), Qt::EditRole);
        // The caption as written, which names the column whatever the language.
        model->setHeaderData(c, Qt::Horizontal, QString::fromLatin1(captions[c]), Qt::UserRole);
    }
    if (hiddenColumns)
        hiddenColumns->append(0);
    if (resizedColumns)
        resizedColumns->append({1, 2});
    if (languageColumn)
        *languageColumn = 4;
    if (countryColumn)
        *countryColumn = -1;
    if (learnerLevelColumn)
        *learnerLevelColumn = 5;
    return model;
}

int ZoDbLesson::update(QString, QHash<QString, QString> data)
{
    qint64 id = 0;
    QList<qint64> ids;
    if (!IdList::toId(data.value(QStringLiteral("Id")), &id) || !members(data, &ids))
        return 0;
    if (!isLesson(id)) {
        qCWarning(lcStore).noquote().nospace() << "not a lesson: " << id;
        return 0;
    }
    const QString languageId = mHelper->languageId(data.value(QStringLiteral("Language")));
    const QString levelId = mHelper->learnerLevelId(data.value(QStringLiteral("LearnerLevel")));
    WriteTransaction transaction(mDatabase);
    const bool ok = transaction.isActive()
                    && run(QStringLiteral("UPDATE tm SET mt = ?, md = ?, lclid = ?, llllid = ? "
                                          "WHERE mlmid = ? AND tmttmtid = 3"),
                           {data.value(QStringLiteral("Title")), data.value(QStringLiteral("Description")), languageId,
                            levelId, id})
                    && run(QStringLiteral("DELETE FROM crlt WHERE mprmid = ?"), {id}) && writeMembers(id, ids)
                    && transaction.commit();
    return ok ? 1 : 0;
}

int ZoDbLesson::overwrite()
{
    return 1;
}
