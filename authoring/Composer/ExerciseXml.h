#pragma once

#include <QHash>
#include <QString>

class QDomDocument;
class QDomElement;
class ZoDbHelper;
class ZoExercise;

// The "Exercise" element of a word-list file: one exercise with its
// properties under "General" and its fields under "Fields". Field names that
// are not XML names are written encoded and read back unchanged.
class ExerciseXml
{
public:
    // The serialised "Exercise" element (indent 1).
    static QString toXml(const ZoExercise& exercise);
    // The element of one field: its name encoded, one child per non-empty value.
    static QDomElement fieldToXml(QDomDocument& document, const QString& name, const QHash<QString, QString>& values);
    // Reads the first "Exercise" element of text into exercise; false (and the
    // exercise unchanged) when the text is not well-formed.
    static bool fromXml(ZoExercise& exercise, const QString& text, const ZoDbHelper& helper);
    // Reads one "Exercise" element into exercise.
    static void fromElement(ZoExercise& exercise, const QDomElement& element, const ZoDbHelper& helper);

    // A field name as an element name, and back.
    static QString encodeName(const QString& name);
    static QString decodeName(const QString& elementName);
};
