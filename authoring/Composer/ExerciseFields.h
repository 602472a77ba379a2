#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

class ZoExercise;

// Fields of an exercise in a stable order. An exercise keeps them in a
// multi-hash that hands back the entries of one name newest first; the
// store reads them in the order they were written.
class ExerciseFields
{
public:
    using Field = QPair<QString, QHash<QString, QString>>;

    // Names in alphabetical order, the entries of one name in the order they
    // were added (the store's order for a loaded exercise).
    static QList<Field> ordered(const ZoExercise& exercise);

    // Adds the fields so that the store writes the entries of one name in
    // list order, and reading them back gives the same order.
    static void addOrdered(ZoExercise* exercise, const QList<Field>& fields);
};
