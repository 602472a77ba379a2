#include "ExerciseFields.h"

#include "ZoExercise.h"

#include <algorithm>

QList<ExerciseFields::Field> ExerciseFields::ordered(const ZoExercise& exercise)
{
    const ZoExercise::FieldMap fields = exercise.fields();
    QList<QString> names = fields.uniqueKeys();
    std::sort(names.begin(), names.end());
    QList<Field> result;
    for (const QString& name : std::as_const(names)) {
        const QList<QHash<QString, QString>> newestFirst = fields.values(name);
        for (auto it = newestFirst.crbegin(); it != newestFirst.crend(); ++it)
            result.append({name, *it});
    }
    return result;
}

void ExerciseFields::addOrdered(ZoExercise* exercise, const QList<Field>& fields)
{
    if (!exercise)
        return;
    // The store writes each name's entries newest first: add them last to first.
    for (auto it = fields.crbegin(); it != fields.crend(); ++it)
        exercise->addField(it->first, it->second);
}
