#pragma once

#include "SqlRunner.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class ZoUserFluency;

// Stores the language fluencies of users (table uf). One handler per call.
class ZoDbUserFluency : public SqlRunner
{
public:
    explicit ZoDbUserFluency(QSqlDatabase database, StatementCache* cache = nullptr, ZoDbHelper* helper = nullptr);
    ~ZoDbUserFluency() override;

    virtual int check(QString text);

    // The stored fluency (its id is the user id), or null when nothing was written.
    ZoUserFluency* insert(QString userId, QHash<QString, QString> fluency);
    // 1, or 0 when a removal failed; the other ids are still removed.
    int remove(QStringList fluencyIds);
    // Every fluency of criteria["UserId"] in stored order, at most 1000.
    QList<ZoUserFluency*> listForUser(QHash<QString, QString> criteria);
    // The fluencies FLanguage<i>... of a user hash, i from 1 up to the first
    // empty language, with the studying flag under studyingKey<i>.
    bool insertAll(const QString& userId, const QHash<QString, QString>& data, const QString& studyingKey,
                   QList<ZoUserFluency*>* inserted);
};
