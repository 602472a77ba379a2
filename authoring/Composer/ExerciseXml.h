#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <utility>

class QXmlStreamReader;
class QXmlStreamWriter;
class ZoDbHelper;
class ZoExercise;

// The "Exercise" element of a word-list file: one exercise with its
// properties under "General" and its fields under "Fields". Field names and
// the keys of their values that are not XML names are written encoded and
// read back unchanged.
class ExerciseXml
{
public:
    // The serialised "Exercise" element (indent 1).
    static QString toXml(const ZoExercise& exercise);
    // Writes the "Exercise" element to writer.
    static void write(QXmlStreamWriter& writer, const ZoExercise& exercise);
    // The element of one field: its name encoded, one child per non-empty
    // value, keys encoded.
    static void writeField(QXmlStreamWriter& writer, const QString& name, const QHash<QString, QString>& values);
    // Reads the first "Exercise" element of text into exercise; false (and the
    // exercise unchanged) when the text is not well-formed or a value holds
    // elements.
    static bool fromXml(ZoExercise& exercise, const QString& text, const ZoDbHelper& helper);

    // The texts of an exercise's elements as the file holds them: "General"
    // child name -> text (the first of each name), and per field (in file
    // order) its decoded name and decoded value key -> text.
    using Values = QHash<QString, QString>;
    using Fields = QList<std::pair<QString, Values>>;
    // Sets exercise from what its element held.
    static void fromValues(ZoExercise& exercise, const Values& general, const Fields& fields, const ZoDbHelper& helper);

    // A field name as an element name, and back.
    static QString encodeName(const QString& name);
    static QString decodeName(const QString& elementName);
};
