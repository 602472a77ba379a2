#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Database files for the file-maintenance tests, made from SQL text.
namespace DbFileFixture {

// Runs the non-empty lines of a fixture file from this folder on the file; false on error.
bool runSqlFile(const QString& dbFile, const QString& sqlFile);
// The version-0 layout with the small set of rows (users, exercises, a lesson, translations).
bool makeVersion0(const QString& dbFile);
// The version-0 layout with `exercises` generated exercises and their terms, sounds, lessons and groups.
bool makeLargeVersion0(const QString& dbFile, int exercises);
// A database with one table and one row, marked with the given version.
bool makeVersioned(const QString& dbFile, int version, bool wal = false);

int userVersion(const QString& dbFile);
// Row count of every table; empty when the file cannot be read.
QMap<QString, qint64> tableCounts(const QString& dbFile);
// A digest of the schema and of every row of every table.
QByteArray contentDigest(const QString& dbFile);
QString scalar(const QString& dbFile, const QString& sql);
QByteArray fileBytes(const QString& fileName);
// Names of the files in a folder, sorted.
QStringList files(const QString& dir);

} // namespace DbFileFixture
