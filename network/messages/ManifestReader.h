#pragma once

#include "XmlPathMap.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoTranslation.h"

#include <QList>
#include <QString>

class ZoDbHelper;

// Turns downloaded and found manifests into data objects: an exercise, a
// lesson or a translation read from its path map, and the reply of a
// translation download.
class ManifestReader
{
public:
    // Where a found exercise names its voice, and where a downloaded translation does.
    static const QString FoundVoicePath;
    static const QString TranslationVoicePath;

    // The exercise of an element's path map; names looked up through lookup.
    static ZoExercise exercise(const XmlPathMap& map, const ZoDbHelper& lookup, const QString& voicePath);
    // The same with its fields: each kvp whose type the tag table knows.
    static ZoExercise exerciseWithFields(const XmlPathMap& map, const ZoDbHelper& lookup);
    // The lesson of an uploaded-lesson map (or of the lesson element itself); a
    // blank lesson when it holds another number of members than it claims.
    static ZoLesson lesson(const XmlPathMap& map);
    // The translation of a downloaded-translation map (or of the element itself).
    static ZoTranslation translation(const XmlPathMap& map);
    // Reads a translation download: each translation goes out with the one
    // exercise of the reply it names. "OK", "setContent failed" (unreadable or
    // past a limit) or "ExerciseHasNoTranslations" (status -1).
    static QString translations(const QString& xml, const ZoDbHelper& lookup, QList<ZoTranslation>* translations,
                                QList<ZoExercise>* exercises);
};
