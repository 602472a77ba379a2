#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class IDbManager;
class WorkProgress;

// The stored exercises among a list of local ids, read a part at a time so
// that a progress display follows a list of 100,000.
class StoredExercises
{
public:
    using Record = QHash<QString, QString>;

    // Each stored exercise among ids (repeats and empty ids allowed) by its
    // id; progress, when given, steps from offset by the ids read. False when
    // the progress step said to stop.
    static bool byId(IDbManager* store, const QStringList& ids, QHash<QString, Record>* found,
                     WorkProgress* progress = nullptr, int offset = 0);
};
