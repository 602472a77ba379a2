#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The layout of the local database file, schema version 2: ten tables, four
// views, 25 indexes and the manifest delete trigger.
class ZoDbSchema
{
public:
    static constexpr int Version = 2;

    // The 40 creation statements in creation order, each as it stands on its
    // line of the creation text (leading blank, trailing "; ").
    static QStringList creationStatements();

    // The statements, one per line, each line ended by "\n".
    static QString creationText();

    // The statement that marks the version: "pragma user_version=2".
    static QString versionStatement();

    // Runs the creation statements and the version mark in one transaction on
    // an open connection; false (and nothing written) on any error.
    static bool create(QSqlDatabase db);
};
