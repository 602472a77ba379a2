#pragma once

#include "ResourceDoubles.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class IDbManager;
class ZoExercise;

// A ready-to-run tree with the resource doubles, a fresh "vireda.db" made
// from the creation text, and the store plug-in loaded from the tree. The
// store instance is deleted with the fixture, so the next one starts anew.
class StoreFixture
{
public:
    StoreFixture();
    ~StoreFixture();

    bool isValid() const;
    IDbManager* store() const;
    // The store's own connection.
    QSqlDatabase database() const;
    QString treePath() const;

    // Every row of the content and user tables, as text, for comparisons.
    QStringList snapshot() const;
    int count(const QString& sql) const;
    QString value(const QString& sql) const;
    bool exec(const QString& sql) const;

    // An exercise of this user with a recording, ready to insert.
    static ZoExercise* exercise(const QString& term, const QString& language = QStringLiteral("English"),
                                const QString& creator = QStringLiteral("alice"));
    // Inserts it; its new local id, or an empty text.
    QString addExercise(const QString& term, const QString& language = QStringLiteral("English"),
                        const QString& creator = QStringLiteral("alice"));

    // The store plug-in file of the built ready-to-run tree.
    static QString pluginFile();

private:
    ResourceDoubles mDoubles;
    QObject* mRoot = nullptr;
    IDbManager* mStore = nullptr;
};
