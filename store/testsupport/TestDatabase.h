#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

// A database file "vireda.db" in a temporary folder, made from the creation
// text (or left empty) and opened on a connection of its own choosing. The
// destructor closes the connection, removes it and deletes the folder.
class TestDatabase
{
public:
    enum Content { Schema, Empty };

    explicit TestDatabase(const QString& connectionName = QLatin1String(QSqlDatabase::defaultConnection),
                          Content content = Schema);
    ~TestDatabase();

    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    bool isValid() const;
    QSqlDatabase database() const;
    QString connectionName() const;
    // Absolute path of the database file.
    QString fileName() const;
    QString dirPath() const;

    // Runs each non-empty line of the text as one statement; false at the first error.
    bool exec(const QString& lines);

    // Makes a database file from the creation text at that path (a test tree's
    // "vireda.db"), on a connection of its own that is removed again.
    static bool createFile(const QString& fileName);
    // Runs one statement on the database file at that path, on a connection
    // of its own (another writer on the same file).
    static bool execFile(const QString& fileName, const QString& statement);

private:
    QTemporaryDir mDir;
    QString mConnection;
    bool mValid = false;
};
