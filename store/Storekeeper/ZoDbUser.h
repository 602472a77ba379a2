#pragma once

#include "SqlRunner.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class ZoUser;

// Stores the users known on this computer (table u) with their fluencies.
// User names and passwords compare exactly. One handler per call.
class ZoDbUser : public SqlRunner
{
public:
    explicit ZoDbUser(QSqlDatabase database, StatementCache* cache = nullptr, ZoDbHelper* helper = nullptr);
    ~ZoDbUser() override;

    virtual int find(QString text);
    virtual int get(QString text);
    virtual int overwrite(QString text);

    // The stored user with the fluencies FLanguage<i>... (studying flag
    // FNonSpeaking<i>); null when the name is taken or nothing was stored.
    ZoUser* insert(QHash<QString, QString> data);
    // 1, or 0 when a removal failed.
    int remove(QStringList userIds);
    // The user with criteria["Username"] (and criteria["Password"] when not empty).
    QList<ZoUser*> select(QHash<QString, QString> criteria);
    // Rewrites the user data["Id"] and replaces its fluencies whole (studying
    // flag FIsStudying<i>); 1, or 0 when nothing changed.
    int update(QHash<QString, QString> data);
};
