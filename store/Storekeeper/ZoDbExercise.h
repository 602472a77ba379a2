#pragma once

#include "ZoDbBase.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QSqlQueryModel;
class ZoExercise;
class ExerciseIndex;
class ZoUser;

// Stores exercises: a term shared by text and language, a recording, tag
// fields and translations, as manifests with their relations. One handler
// per store call.
class ZoDbExercise : public ZoDbBase
{
public:
    // With an exercise index, term searches of the query model are answered
    // from the rows it keeps in memory.
    explicit ZoDbExercise(QSqlDatabase database, StatementCache* cache = nullptr, ZoDbHelper* helper = nullptr,
                          ExerciseIndex* exerciseIndex = nullptr);
    virtual ~ZoDbExercise();

    virtual ZoExercise* create(QHash<QString, QString> data);
    // 1 after the commit; 0 when nothing was stored (no transaction, a failed
    // statement, or the persistent id is stored already). The new local id is
    // written back into the exercise.
    virtual int insert(ZoExercise* exercise);
    virtual ZoExercise* get(QString localId);
    // 0 when an exercise belongs to a lesson or a removal failed; the others are removed.
    virtual int remove(QStringList localIds);
    virtual QList<ZoUser*> select(QHash<QString, QString> criteria);
    virtual QList<QHash<QString, QString>> search(QHash<QString, QString> criteria);
    virtual QSqlQueryModel* queryModel(QHash<QString, QString> criteria, QList<int>* hiddenColumns,
                                       QList<int>* resizedColumns, int* languageColumn, int* countryColumn,
                                       int* learnerLevelColumn);
    virtual QList<QHash<QString, QString>> uploadableItems(QString userName);
    virtual int uploadableCount(QString userName);
    virtual int update(QString id, QHash<QString, QString> data);
    virtual int overwrite(QString localId, ZoExercise* source);
    virtual int markTransferred(QString localId, QString direction);

    // The term's local id, 0 when it could not be stored.
    int insertTerm(QString persistentTermId, QString term, QString language, QString creator, QString creatorUid);
    int insertTranslations(int exerciseId, const ZoExercise* exercise, QHash<QString, QString> translation);
    int insertField(int exerciseId, QString name, QHash<QString, QString> values);

    // The statement and its bound values that select the exercise rows of
    // these criteria, ordered by sortColumn (-1: unordered), and the one that
    // counts them. Empty statements when the criteria select nothing.
    struct RowQuery
    {
        QString sql;
        QString countSql;
        QVariantList values;
        bool byId = false;
        // For a term search: the fragment and language id it filters by.
        bool byTerm = false;
        QString term;
        QString languageId;
    };
    RowQuery rowQuery(const QHash<QString, QString>& criteria, int sortColumn, bool descending);
    // The look-up of a stored term by text and language id.
    static QString termLookupSql();
    // Counts the rows the uploadable exercises of the bound user name have in
    // the exercise view, starting from that user's manifests.
    static QString uploadableCountSql();
    // The same joins with other columns and another filter on the manifests m
    // (such as "m.lmid = ?").
    static QString uploadableRowsSql(const QString& columns, const QString& manifests);

private:
    // Writes every row of the exercise inside the caller's transaction; the
    // exercise's own manifest is localId when it is not 0. The new id goes to *id.
    bool write(const ZoExercise* exercise, qint64 localId, qint64* id);
    // Local id of the manifest with that persistent id, 0 when none.
    qint64 localIdOf(const QString& persistentId);
    bool removeOne(qint64 id, bool* inLesson);
    // The first count columns of a row under these field names; language,
    // country and fluency-level ids become their names.
    QHash<QString, QString> fieldsOf(const QVariantList& row, const char* const* names, int count) const;

    ExerciseIndex* mExerciseIndex = nullptr;
};
