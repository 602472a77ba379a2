#pragma once

#include "IDbManager.h"

#include <QSqlDatabase>
#include <QWidget>

#include <memory>

class StatementCache;
class ExerciseIndex;
class UploadCounter;
class ZoDbHelper;

// The local database: opens "vireda.db" on the default connection and hands
// each call to a handler of the named kind ("Exercise", "Lesson", "User",
// "Fluency"; any other text selects nothing). Prepared statements and the
// name look-ups are kept for the life of the store.
//
// The exercise rows a term search answers from are read in the background
// after sign-in; while they are, exerciseRowsLoading is true and a term
// search waits for what is left of the read. exerciseRowsReady() follows
// once they have been taken up.
class Storekeeper : public QWidget, public IDbManager
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDbManager_iid)
    Q_INTERFACES(IDbManager)
    Q_PROPERTY(bool exerciseRowsLoading READ exerciseRowsLoading NOTIFY exerciseRowsReady)
public:
    Storekeeper();
    ~Storekeeper() override;

    QObject* create(QString type, QHash<QString, QString> data) override;
    QObject* insert(QString type, QHash<QString, QString> data) override;
    int insertExercise(QString type, ZoExercise* exercise) override;
    ZoExercise* getExercise(QString type, QString localId) override;
    bool remove(QString type, QStringList ids) override;
    QList<ZoUser*> select(QString type, QHash<QString, QString> criteria) override;
    QList<QHash<QString, QString>> search(QString type, QHash<QString, QString> criteria) override;
    QSqlQueryModel* queryModel(QString type, QHash<QString, QString> criteria, QList<int>* hiddenColumns,
                               QList<int>* resizedColumns, int* languageColumn, int* countryColumn,
                               int* learnerLevelColumn) override;
    bool update(QString type, QString id, QHash<QString, QString> data) override;
    bool overwrite(QString type, QString localId, ZoExercise* source) override;
    QList<QHash<QString, QString>> uploadableItems(QString userName) override;
    int uploadableCount(QString userName) override;
    int markTransferred(QString type, QString localId, QString direction) override;
    int setDoNotUpload(QString idList, QString flag) override;
    QStringList languagesOf(QStringList localIds) override;
    QStringList tagList() override;
    QStringList languageList() override;
    QStringList countryList() override;
    QStringList fluencyLevelList() override;
    QStringList learnerLevelList() override;
    QString dbVersion() override;
    void legacyMediaPath(QString out[2], QString manifestId) override;
    void releaseResources() override;

    bool exerciseRowsLoading() const;

signals:
    void exerciseRowsReady();

private:
    // On the window's thread, once the background read has ended.
    void takeUpExerciseRows();
    int open();
    // Indexes the store's own statements need beyond those of the schema.
    void addIndexes();
    // Lets go of the connection; also run while the application object is
    // destroyed, before Qt SQL's registry goes (the plug-in outlives it).
    void close();
    static void closeAtShutdown();

    QSqlDatabase mDatabase;
    std::unique_ptr<StatementCache> mStatements;
    std::unique_ptr<ZoDbHelper> mHelper;
    std::unique_ptr<ExerciseIndex> mExerciseIndex;
    std::unique_ptr<UploadCounter> mUploadCounter;
};
