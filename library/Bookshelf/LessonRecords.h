#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// Reads the lesson records the store's lesson search gives.
class LessonRecords
{
public:
    using Record = QHash<QString, QString>;

    // The lesson's members in order, repeats included: "EId1" up to
    // "EId<ExerciseCount>", those without an id left out.
    static QStringList memberIds(const Record& lesson);
    // Every exercise id one of the lessons holds under an "EId" key.
    static QSet<QString> allMembers(const QList<Record>& lessons);
};
