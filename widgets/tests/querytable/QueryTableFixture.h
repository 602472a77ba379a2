#pragma once

#include "TestTree.h"

#include <QHash>
#include <QString>
#include <QStringList>

class IDbManager;

// A temporary ready-to-run tree with the real plug-ins and a fresh local
// database, made the working directory, and the store loaded from it.
class QueryTableFixture
{
public:
    QueryTableFixture();
    ~QueryTableFixture();

    // False when the tree, the database or the store is missing.
    bool isValid() const;
    QString error() const;
    IDbManager* store() const;
    TestTree& tree();

    // Stores one exercise through the store; its local id, or empty.
    QString addExercise(const QHash<QString, QString>& values);
    static QString addExercise(IDbManager* store, const QHash<QString, QString>& values);
    // Stores a lesson of the given exercises; its local id, or empty.
    QString addLesson(const QHash<QString, QString>& values, const QStringList& exerciseIds);
    static QString addLesson(IDbManager* store, const QHash<QString, QString>& values, const QStringList& exerciseIds);
    // Writes count exercises straight into the database in one transaction,
    // terms "term000000" upwards in a shuffled order, cycling through a few
    // languages and countries.
    bool addManyExercises(int count);
    static bool addManyExercises(const QString& databaseFile, int count);

private:
    TestTree mTree;
    IDbManager* mStore = nullptr;
    QString mError;
};
