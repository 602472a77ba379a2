#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtPlugin>

class QSqlQueryModel;
class ZoExercise;
class ZoUser;

// The local database. Every object returned is new and belongs to the caller.
class IDbManager
{
public:
    virtual ~IDbManager() = default;
    virtual QObject* create(QString type, QHash<QString, QString> data) = 0;
    virtual QObject* insert(QString type, QHash<QString, QString> data) = 0;
    virtual int insertExercise(QString type, ZoExercise* exercise) = 0;
    virtual ZoExercise* getExercise(QString type, QString localId) = 0;
    virtual bool remove(QString type, QStringList ids) = 0;
    virtual QList<ZoUser*> select(QString type, QHash<QString, QString> criteria) = 0;
    virtual QList<QHash<QString, QString>> search(QString type, QHash<QString, QString> criteria) = 0;
    virtual QSqlQueryModel* queryModel(QString type, QHash<QString, QString> criteria, QList<int>* hiddenColumns,
                                       QList<int>* resizedColumns, int* languageColumn, int* countryColumn,
                                       int* learnerLevelColumn) = 0;
    virtual bool update(QString type, QString id, QHash<QString, QString> data) = 0;
    virtual bool overwrite(QString type, QString localId, ZoExercise* source) = 0;
    virtual QList<QHash<QString, QString>> uploadableItems(QString userName) = 0;
    virtual int uploadableCount(QString userName) = 0;
    virtual int markTransferred(QString type, QString localId, QString direction) = 0;
    virtual int setDoNotUpload(QString idList, QString flag) = 0;
    virtual QStringList languagesOf(QStringList localIds) = 0;
    virtual QStringList tagList() = 0;
    virtual QStringList languageList() = 0;
    virtual QStringList countryList() = 0;
    virtual QStringList fluencyLevelList() = 0;
    virtual QStringList learnerLevelList() = 0;
    virtual QString dbVersion() = 0;
    virtual void legacyMediaPath(QString out[2], QString manifestId) = 0;
    virtual void releaseResources() = 0;
};

#define IDbManager_iid "DbManagerInterface/1.0"
Q_DECLARE_INTERFACE(IDbManager, IDbManager_iid)
