#pragma once

#include "ZoDbBase.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QSqlQueryModel;
class ZoLesson;
class ZoUser;

// Stores lessons: a manifest, a textual row of kind 3 and one ordered
// relation per member exercise. One handler per store call.
class ZoDbLesson : public ZoDbBase
{
public:
    explicit ZoDbLesson(QSqlDatabase database, StatementCache* cache = nullptr, ZoDbHelper* helper = nullptr);
    virtual ~ZoDbLesson();

    virtual ZoLesson* create(QHash<QString, QString> data);
    // The stored lesson, or null when nothing was stored.
    virtual ZoLesson* insert(QHash<QString, QString> data);
    // 0 when a removal failed; lessons only, their exercises stay.
    virtual int remove(QStringList localIds);
    virtual QList<ZoUser*> select(QHash<QString, QString> criteria);
    virtual QList<QHash<QString, QString>> search(QHash<QString, QString> criteria);
    virtual QList<QHash<QString, QString>> uploadableItems(QString userName);
    virtual int uploadableCount(QString userName);
    virtual QSqlQueryModel* queryModel(QHash<QString, QString> criteria, QList<int>* hiddenColumns,
                                       QList<int>* resizedColumns, int* languageColumn, int* countryColumn,
                                       int* learnerLevelColumn);
    // Rewrites title, description, language, level and the members of the
    // lesson data["Id"]; 1, or 0 when nothing changed.
    virtual int update(QString id, QHash<QString, QString> data);
    virtual int overwrite();

    // Counts the uploadable lessons of the bound user name, starting from the
    // lessons (far fewer than the user's manifests).
    static QString uploadableCountSql();

private:
    // The filter of the lesson view for these criteria, its values appended;
    // empty when nothing can match.
    QString filter(const QHash<QString, QString>& criteria, QVariantList* values, bool* byId);
    // Member rows EId1... of the data, false when a member is not a local id.
    bool members(const QHash<QString, QString>& data, QList<qint64>* ids);
    bool writeMembers(qint64 lessonId, const QList<qint64>& ids);
    bool isLesson(qint64 id);
};
