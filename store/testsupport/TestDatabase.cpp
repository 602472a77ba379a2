#include "TestDatabase.h"

#include "ZoDbConnection.h"
#include "ZoDbSchema.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>

TestDatabase::TestDatabase(const QString& connectionName, Content content)
    : mConnection(connectionName)
{
    if (!mDir.isValid())
        return;
    QSqlDatabase db = ZoDbConnection::open(fileName(), mConnection);
    if (!db.isOpen())
        return;
    mValid = content == Empty || ZoDbSchema::create(db);
}

TestDatabase::~TestDatabase()
{
    if (QSqlDatabase::contains(mConnection)) {
        {
            QSqlDatabase db = QSqlDatabase::database(mConnection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(mConnection);
    }
}

bool TestDatabase::isValid() const
{
    return mValid;
}

QSqlDatabase TestDatabase::database() const
{
    return QSqlDatabase::database(mConnection, false);
}

QString TestDatabase::connectionName() const
{
    return mConnection;
}

QString TestDatabase::fileName() const
{
    return mDir.filePath(QStringLiteral("vireda.db"));
}

QString TestDatabase::dirPath() const
{
    return mDir.path();
}

bool TestDatabase::exec(const QString& lines)
{
    QSqlQuery query(database());
    const QStringList statements = lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& statement : statements) {
        if (statement.trimmed().isEmpty())
            continue;
        if (!query.exec(statement)) {
            qWarning() << "TestDatabase:" << statement << query.lastError().text();
            return false;
        }
    }
    return true;
}

bool TestDatabase::createFile(const QString& fileName)
{
    const QString connection = QStringLiteral("testDatabaseFile");
    bool created = false;
    {
        QSqlDatabase db = ZoDbConnection::open(fileName, connection);
        created = db.isOpen() && ZoDbSchema::create(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return created;
}

bool TestDatabase::execFile(const QString& fileName, const QString& statement)
{
    const QString connection = QStringLiteral("testDatabaseWriter");
    bool ok = false;
    {
        QSqlDatabase db = ZoDbConnection::open(fileName, connection);
        QSqlQuery query(db);
        ok = db.isOpen() && query.exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}
