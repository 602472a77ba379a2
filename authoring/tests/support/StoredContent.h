#pragma once

#include "AuthoringTree.h"
#include "QueryTableFixture.h"
#include "TestDatabase.h"
#include "ZoLesson.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>

// Exercises and lessons stored through the real store for the lesson tests.
namespace StoredContent {

// An exercise with the term (unique per test run), its sound file
// "Content/<term>.wav" written when withSound; its local id.
inline QString addExercise(const AuthoringTree& fixture, const QString& term, const QString& language,
                           bool withSound = true)
{
    const QString file = term + QStringLiteral(".wav");
    if (withSound) {
        QFile sound(fixture.contentPath(file));
        if (!sound.open(QIODevice::WriteOnly) || sound.write("RIFF") != 4)
            return QString();
    }
    return QueryTableFixture::addExercise(AuthoringTree::store(),
                                          {{QStringLiteral("Term"), term},
                                           {QStringLiteral("Language"), language},
                                           {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                           {QStringLiteral("MediaName"), file},
                                           {QStringLiteral("Country"), QStringLiteral("France")},
                                           {QStringLiteral("Locality"), QStringLiteral("Lyon")},
                                           {QStringLiteral("Voice"), QStringLiteral("maria")}});
}

inline QString addLesson(const QString& title, const QString& language, const QStringList& exerciseIds)
{
    return QueryTableFixture::addLesson(AuthoringTree::store(),
                                        {{QStringLiteral("Title"), title},
                                         {QStringLiteral("Description"), title + QStringLiteral(" to learn")},
                                         {QStringLiteral("Username"), AuthoringTree::userName()},
                                         {QStringLiteral("Language"), language},
                                         {QStringLiteral("LearnerLevel"), QStringLiteral("Advanced")}},
                                        exerciseIds);
}

// The stored lessons with this title: each its member ids in order.
inline QList<QStringList> lessonMembers(const QString& title)
{
    QList<QStringList> lessons;
    for (const auto& row :
         AuthoringTree::store()->search(QStringLiteral("Lesson"), {{QStringLiteral("Title"), title}})) {
        if (row.value(QStringLiteral("Title")) != title)
            continue;
        QStringList ids;
        for (int n = 1; row.contains(QStringLiteral("EId%1").arg(n)); ++n)
            ids << row.value(QStringLiteral("EId%1").arg(n));
        lessons << ids;
    }
    return lessons;
}

// Runs one statement on the database as another writer would.
inline bool runSql(const AuthoringTree& fixture, const QString& statement)
{
    return TestDatabase::execFile(fixture.tree().tree().filePath(QStringLiteral("vireda.db")), statement);
}

// A lesson that is not stored, of these exercises in order.
inline std::unique_ptr<ZoLesson> lessonOf(const QString& title, const QStringList& exerciseIds)
{
    auto lesson = std::make_unique<ZoLesson>();
    lesson->setTitle(title);
    for (const QString& id : exerciseIds)
        lesson->addExerciseId(id);
    return lesson;
}

// The stored lesson with this local id, as the store builds it.
inline std::unique_ptr<QObject> storedLesson(const QString& id)
{
    IDbManager* store = AuthoringTree::store();
    const auto rows = store->search(QStringLiteral("Lesson"), {{QStringLiteral("Id"), id}});
    return std::unique_ptr<QObject>(rows.isEmpty() ? nullptr : store->create(QStringLiteral("Lesson"), rows.first()));
}

} // namespace StoredContent
