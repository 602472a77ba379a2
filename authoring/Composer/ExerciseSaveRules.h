#pragma once

#include "ExerciseFields.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class IAudio;
class IDbManager;
class ZoExercise;
class ZoUser;

// When an exercise may be saved, and the save itself: the recording copied
// under the user's name, the exercise written through the store in one
// transaction. A refused or failed save leaves the store and the sound folder
// as they were and says why.
class ExerciseSaveRules
{
    Q_DECLARE_TR_FUNCTIONS(ExerciseSaveRules)

public:
    // What the editor holds when the learner saves.
    struct Draft
    {
        QString term;
        // The chosen language's name; empty when none is chosen.
        QString language;
        // The current recording: folder and file name.
        QString soundDir;
        QString soundFile;
        // The stored exercise being edited (empty for a new one), and whether
        // the editor shows it as such.
        QString storedId;
        bool existing = false;
        // Changed since it was shown or stored.
        bool modified = false;
        QList<ExerciseFields::Field> fields;
    };

    enum Choice { SaveAsNew, Overwrite, Cancel };
    enum Status { Saved, Refused, Cancelled };

    struct Outcome
    {
        Status status = Refused;
        // For the learner; empty when nothing is to be said.
        QString message;
        // The stored exercise with its local id, when saved.
        std::unique_ptr<ZoExercise> exercise;
    };

    // The sound folder and the name of a recording not yet saved.
    static QLatin1String soundDir() { return QLatin1String("Content"); }
    static QLatin1String newRecordingFile() { return QLatin1String("AudioTemp.tmp"); }

    ExerciseSaveRules(IAudio* audio, IDbManager* store);

    // Checks the draft and saves it for "user" (null: nobody signed in). An
    // unchanged term, recording and language of a stored exercise make
    // "askOverwrite" ask whether to save it as a new one or overwrite it.
    Outcome save(const Draft& draft, const ZoUser* user, const std::function<Choice()>& askOverwrite) const;

private:
    // Refused or Cancelled with what to say, or Saved when the draft may be
    // stored as "choice"; "stored" is the stored exercise's values.
    Outcome check(const Draft& draft, const ZoUser* user, const QHash<QString, QString>& stored,
                  const std::function<Choice()>& askOverwrite, Choice* choice) const;
    // The exercise to store, with the recording "sound" (folder, file).
    static std::unique_ptr<ZoExercise> build(const Draft& draft, const ZoUser& user, Choice choice,
                                             const QString& mediaId, const QString sound[2]);
    // Writes it in one transaction; a new exercise gets its local id.
    bool write(ZoExercise* exercise, Choice choice, const QString& storedId) const;
    // A stored recording that may travel with a saved exercise.
    bool isKeptRecording(const Draft& draft) const;
    // The reason a save failed, with the cause the store or the disk gives.
    static QString failure();

    IAudio* mAudio;
    IDbManager* mStore;
};
