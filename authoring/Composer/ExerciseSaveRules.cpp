#include "ExerciseSaveRules.h"

#include "AuthoringLog.h"
#include "ContentGate.h"
#include "IAudio.h"
#include "IDbManager.h"
#include "StoreWriteError.h"
#include "ZoExercise.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QDir>
#include <QHash>

ExerciseSaveRules::ExerciseSaveRules(IAudio* audio, IDbManager* store)
    : mAudio(audio)
    , mStore(store)
{
}

bool ExerciseSaveRules::isKeptRecording(const Draft& draft) const
{
    // Only a plain file name in the sound folder may travel with a saved exercise.
    return draft.soundDir == soundDir() && ContentGate::isPlainFileName(draft.soundFile)
           && mAudio->fileExists(draft.soundDir, draft.soundFile);
}

QString ExerciseSaveRules::failure()
{
    const StoreWriteError::Cause cause = StoreWriteError::explain(QDir::currentPath());
    if (cause == StoreWriteError::None || cause == StoreWriteError::Other)
        return tr("Unknown error.  Exercise could not be saved.");
    return StoreWriteError::message(tr("Exercise could not be saved."), cause);
}

ExerciseSaveRules::Outcome ExerciseSaveRules::check(const Draft& draft, const ZoUser* user,
                                                    const QHash<QString, QString>& stored,
                                                    const std::function<Choice()>& askOverwrite, Choice* choice) const
{
    Outcome verdict;
    auto refuse = [&verdict](const QString& text) {
        verdict.message = text;
        return std::move(verdict);
    };
    *choice = SaveAsNew;
    if (!mAudio)
        return refuse(tr("Unknown error.  Exercise could not be saved."));
    if (!user)
        return refuse(tr("You must be signed in to save this Exercise."));
    const QString term = draft.term.trimmed();
    if (term.isEmpty())
        return refuse(tr("You must supply a Study Term to save this Exercise."));
    if (draft.language.isEmpty())
        return refuse(tr("You must select a language for this Study Term."));
    if (!mAudio->fileExists(draft.soundDir, draft.soundFile))
        return refuse(tr("You must supply a recording to save this Exercise."));

    if (draft.existing) {
        if (!draft.modified)
            return refuse(tr("You haven't made any changes!"));
        const bool sameRecording = stored.value(QStringLiteral("MediaName")) == draft.soundFile;
        const bool sameLanguage = stored.value(QStringLiteral("Language")) == draft.language;
        if (!stored.isEmpty() && stored.value(QStringLiteral("Term")).trimmed() == term && sameRecording
            && sameLanguage) {
            *choice = askOverwrite ? askOverwrite() : Cancel;
        } else if (sameRecording && !sameLanguage) {
            return refuse(tr("Please supply a new recording for this Exercise."));
        }
    }

    // A field without its language is named even when the learner cancelled.
    for (const ExerciseFields::Field& field : draft.fields) {
        if (field.second.value(QStringLiteral("TranslationFieldError")) == QLatin1String("No Language Selected"))
            return refuse(tr("Please select a language for the Translation."));
        if (field.second.value(QStringLiteral("ContextFieldError")) == QLatin1String("No Language Selected"))
            return refuse(tr("Please select a language for the Subject Area."));
    }
    if (*choice == Cancel) {
        verdict.status = Cancelled;
        return verdict;
    }
    if (draft.soundFile != newRecordingFile() && !isKeptRecording(draft))
        return refuse(tr("Please supply a new recording for this Exercise."));
    if (!mStore)
        return refuse(tr("Unknown error.  Exercise could not be saved."));
    verdict.status = Saved;
    return verdict;
}

std::unique_ptr<ZoExercise> ExerciseSaveRules::build(const Draft& draft, const ZoUser& user, Choice choice,
                                                     const QString& mediaId, const QString sound[2])
{
    const ZoUserFluency* fluency = nullptr;
    for (const ZoUserFluency* candidate : user.fluencies()) {
        if (candidate->language() == draft.language) {
            fluency = candidate;
            break;
        }
    }
    QHash<QString, QString> params;
    params.insert(QStringLiteral("MediaId"), mediaId);
    if (choice == Overwrite)
        params.insert(QStringLiteral("Id"), draft.storedId);
    params.insert(QStringLiteral("Voice"), user.username());
    params.insert(QStringLiteral("VoiceUid"), user.id());
    if (fluency) {
        params.insert(QStringLiteral("Country"), fluency->country());
        params.insert(QStringLiteral("StateProv"), fluency->stateProv());
        params.insert(QStringLiteral("Locality"), fluency->locality());
        params.insert(QStringLiteral("LocaleDesc"), fluency->localeDesc());
        params.insert(QStringLiteral("FluencyLevel"), fluency->fluencyLevel());
    }
    params.insert(QStringLiteral("Term"), draft.term.trimmed());
    params.insert(QStringLiteral("Language"), draft.language);
    params.insert(QStringLiteral("MediaPath"), sound[0]);
    params.insert(QStringLiteral("MediaName"), sound[1]);
    params.insert(QStringLiteral("PId"), QStringLiteral("0"));
    params.insert(QStringLiteral("PersistentTermId"), QStringLiteral("0"));
    params.insert(QStringLiteral("PersistentMediaId"), QStringLiteral("0"));

    auto exercise = std::make_unique<ZoExercise>(params);
    exercise->dump();
    exercise->setCreator(user.username());
    exercise->setCreatorUid(user.id());
    ExerciseFields::addOrdered(exercise.get(), draft.fields);
    return exercise;
}

bool ExerciseSaveRules::write(ZoExercise* exercise, Choice choice, const QString& storedId) const
{
    StoreWriteError::clear();
    if (choice == Overwrite) {
        qCDebug(lcAuthoring) << "overwriting exercise" << storedId;
        return mStore->overwrite(QStringLiteral("Exercise"), storedId, exercise);
    }
    qCDebug(lcAuthoring) << "storing a new exercise";
    exercise->setId(QStringLiteral("0"));
    if (!mStore->insertExercise(QStringLiteral("Exercise"), exercise))
        return false;
    // The store writes the new local id back; "0" means nothing was stored.
    return !exercise->id().isEmpty() && exercise->id() != QLatin1String("0");
}

ExerciseSaveRules::Outcome ExerciseSaveRules::save(const Draft& draft, const ZoUser* user,
                                                   const std::function<Choice()>& askOverwrite) const
{
    QHash<QString, QString> stored;
    if (mStore && !draft.storedId.isEmpty()) {
        if (std::unique_ptr<ZoExercise> exercise{mStore->getExercise(QStringLiteral("Exercise"), draft.storedId)})
            stored = exercise->toHash();
    }
    Choice choice = SaveAsNew;
    Outcome outcome = check(draft, user, stored, askOverwrite, &choice);
    if (outcome.status != Saved)
        return outcome;
    outcome.status = Refused;

    // A new recording is copied under the user's name; a stored one is kept.
    const bool newRecording = draft.soundFile == newRecordingFile();
    QString sound[2] = {draft.soundDir, draft.soundFile};
    QString mediaId = stored.value(QStringLiteral("MediaId"), QStringLiteral("0"));
    if (newRecording) {
        StoreWriteError::clear();
        const QString current[2] = {draft.soundDir, draft.soundFile};
        mAudio->storeRecording(sound, current, user->username());
        if (sound[1].isEmpty() || !mAudio->fileExists(sound[0], sound[1])) {
            outcome.message = failure();
            return outcome;
        }
        mediaId = QStringLiteral("0");
    }

    std::unique_ptr<ZoExercise> exercise = build(draft, *user, choice, mediaId, sound);
    if (!write(exercise.get(), choice, draft.storedId)) {
        // The copy made for this save is no one's recording.
        if (newRecording)
            mAudio->removeFile(sound[0], sound[1]);
        outcome.message = failure();
        return outcome;
    }
    qCDebug(lcAuthoring) << "exercise saved" << exercise->id();
    outcome.status = Saved;
    outcome.exercise = std::move(exercise);
    return outcome;
}
