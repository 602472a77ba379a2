#pragma once

#include "IDbManager.h"

#include <QObject>

// A store that knows only the users named in the application property
// "shellTestUsers"; every other operation answers empty.
class TestDbManager : public QObject, public IDbManager
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "DbManagerInterface/1.0")
    Q_INTERFACES(IDbManager)

public:
    QObject* create(QString, QHash<QString, QString>) override { return nullptr; }
    QObject* insert(QString, QHash<QString, QString>) override { return nullptr; }
    int insertExercise(QString, ZoExercise*) override { return 0; }
    ZoExercise* getExercise(QString, QString) override { return nullptr; }
    bool remove(QString, QStringList) override { return false; }
    QList<ZoUser*> select(QString type, QHash<QString, QString> criteria) override;
    QList<QHash<QString, QString>> search(QString, QHash<QString, QString>) override { return {}; }
    QSqlQueryModel* queryModel(QString, QHash<QString, QString>, QList<int>*, QList<int>*, int*, int*, int*) override
    {
        return nullptr;
    }
    bool update(QString, QString, QHash<QString, QString>) override { return false; }
    bool overwrite(QString, QString, ZoExercise*) override { return false; }
    QList<QHash<QString, QString>> uploadableItems(QString) override { return {}; }
    int uploadableCount(QString) override { return 0; }
    int markTransferred(QString, QString, QString) override { return 0; }
    int setDoNotUpload(QString, QString) override { return 0; }
    QStringList languagesOf(QStringList) override { return {}; }
    QStringList tagList() override { return {}; }
    QStringList languageList() override { return {}; }
    QStringList countryList() override { return {}; }
    QStringList fluencyLevelList() override { return {}; }
    QStringList learnerLevelList() override { return {}; }
    QString dbVersion() override { return QStringLiteral("2"); }
    void legacyMediaPath(QString out[2], QString) override
    {
        out[0].clear();
        out[1].clear();
    }
    void releaseResources() override;
};
