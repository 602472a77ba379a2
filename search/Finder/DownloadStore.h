#pragma once

#include "DownloadFailure.h"
#include "ZoDbHelper.h"

#include <QList>
#include <QString>

class IDbManager;
class QDomDocument;
class QDomElement;
class ZoExercise;
class ZoLesson;
class ZoTranslation;

// What a download keeps: checks the peer's documents and the downloaded
// sound through the content gate, and writes exercises and lessons to the
// store. Knows nothing of the network or of widgets.
class DownloadStore
{
public:
    // store may be null: then nothing can be stored.
    explicit DownloadStore(IDbManager* store);

    // A lesson's members: its persistent member ids up to the first missing one.
    static int memberCount(const ZoLesson& lesson);
    // Why a lesson cannot be downloaded whatever its members say: too many
    // members, or itself among them.
    static DownloadFailure refusalOfLesson(const ZoLesson& lesson);
    // Why an exercise element from the peer cannot be stored (None when it
    // can): its sound must be named once, by a plain file name in an element,
    // and its fields stay within their limit. *mediaName gets the name.
    static DownloadFailure refusalOf(const QDomElement& exercise, QString* mediaName = nullptr);
    // A first look at a downloaded document, read as a stream before any of it
    // is parsed: TooManyFields as soon as its exercise holds more fields than
    // the limit, else None. *mediaName gets the sound's name when it was read
    // by then.
    static DownloadFailure glance(const QString& text, QString* mediaName = nullptr);
    // A persistent id as the path map reads it: attribute of the exercise's manifest.
    static QString persistentIdOf(const QDomElement& exercise);
    // The exercise element of a downloaded document, read within the reader's
    // limits; null when the document cannot be read.
    static QDomElement exerciseElement(const QString& text, QDomDocument* document);
    // SoundRefused when the exercise's sound file exists but is not a WAV file.
    static DownloadFailure soundRefusal(const ZoExercise& exercise);

    bool isExerciseStored(const QString& persistentId) const;
    bool isLessonStored(const QString& persistentId) const;
    // True when a stored sound has that file name.
    bool isSoundStored(const QString& mediaName) const;
    // The local id of the stored manifest, 0 when none.
    int localIdOf(const QString& persistentId) const;
    // Adds one "Translation" field per translation and its translated term.
    void addTranslations(const QList<ZoTranslation>& translations, const QList<ZoExercise>& terms,
                         ZoExercise* target) const;
    // Stores an exercise with its level by name; its local id, 0 when it was not stored.
    int storeExercise(ZoExercise* exercise);
    // Stores a lesson whose members are stored (their local ids in order),
    // with its language and learner level by name.
    DownloadFailure storeLesson(ZoLesson* lesson);
    // Gives a stored lesson the local ids of its stored members.
    void takeStoredMembers(ZoLesson* lesson) const;
    // Replaces the exercise by its stored copy, with its local id; false when none.
    bool takeStoredCopy(ZoExercise* exercise) const;

    // The lookups the network manager reads documents with.
    ZoDbHelper* lookup();

private:
    IDbManager* mStore = nullptr;
    ZoDbHelper mHelper;
};
