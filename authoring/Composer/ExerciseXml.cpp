#include "ExerciseXml.h"

#include "ZoDbHelper.h"
#include "ZoExercise.h"

#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <utility>

namespace {

const QString kInternationalSymbols = QStringLiteral("International Symbols");
const QString kPartOfSpeech = QStringLiteral("Part of speech");
const QString kSymbolsElement = QStringLiteral("InternationalSymbols");
const QString kPartOfSpeechElement = QStringLiteral("Partofspeech");

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isPlainNameChar(QChar c, bool first)
{
    if (isAsciiLetter(c))
        return true;
    if (first)
        return false;
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') || c == QLatin1Char('.');
}

// Reads on to the end of the text: what follows the part read must be
// well-formed too.
bool checkWellFormed(QXmlStreamReader& reader)
{
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

// Reads the children of the element reader is at as name -> text, the
// first of each name kept, names decoded when decode is set; false when one
// of them holds elements or the text is not well-formed.
bool readValues(QXmlStreamReader& reader, ExerciseXml::Values* values, bool decode)
{
    while (reader.readNextStartElement()) {
        const QString name = decode ? ExerciseXml::decodeName(reader.name().toString()) : reader.name().toString();
        const QString text = reader.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (reader.hasError())
            return false;
        if (!values->contains(name))
            values->insert(name, text);
    }
    return !reader.hasError();
}

// Reads the "Exercise" element reader is at, up to its end.
bool readExercise(QXmlStreamReader& reader, ExerciseXml::Values* general, ExerciseXml::Fields* fields)
{
    bool seenGeneral = false;
    bool seenFields = false;
    while (reader.readNextStartElement()) {
        if (!seenGeneral && reader.name() == QLatin1String("General")) {
            seenGeneral = true;
            if (!readValues(reader, general, false))
                return false;
        } else if (!seenFields && reader.name() == QLatin1String("Fields")) {
            seenFields = true;
            while (reader.readNextStartElement()) {
                const QString name = ExerciseXml::decodeName(reader.name().toString());
                ExerciseXml::Values values;
                if (!readValues(reader, &values, true))
                    return false;
                fields->append({name, values});
            }
        } else {
            reader.skipCurrentElement();
        }
    }
    return !reader.hasError();
}

} // namespace

QString ExerciseXml::encodeName(const QString& name)
{
    if (name == kInternationalSymbols)
        return kSymbolsElement;
    if (name == kPartOfSpeech)
        return kPartOfSpeechElement;
    // Every character outside [A-Za-z][A-Za-z0-9.-]* (the underscore too)
    // becomes "_xHHHH_", so decoding gives back the exact name.
    QString encoded;
    encoded.reserve(name.size());
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (isPlainNameChar(c, i == 0))
            encoded += c;
        else
            encoded += QLatin1String("_x")
                       + QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'))
                       + QLatin1Char('_');
    }
    return encoded;
}

QString ExerciseXml::decodeName(const QString& elementName)
{
    // Field names are the tag list's own names, never translated.
    if (elementName == kSymbolsElement)
        return kInternationalSymbols;
    if (elementName == kPartOfSpeechElement)
        return kPartOfSpeech;
    QString decoded;
    decoded.reserve(elementName.size());
    for (int i = 0; i < elementName.size(); ++i) {
        if (elementName.at(i) == QLatin1Char('_') && i + 6 < elementName.size()
            && elementName.at(i + 1) == QLatin1Char('x') && elementName.at(i + 6) == QLatin1Char('_')) {
            bool ok = false;
            const ushort code = elementName.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                decoded += QChar(code);
                i += 6;
                continue;
            }
        }
        decoded += elementName.at(i);
    }
    return decoded;
}

void ExerciseXml::writeField(QXmlStreamWriter& writer, const QString& name, const QHash<QString, QString>& values)
{
    writer.writeStartElement(encodeName(name));
    QStringList keys = values.keys();
    keys.sort();
    for (const QString& key : keys) {
        const QString text = values.value(key);
        if (text.isEmpty() || key.isEmpty())
            continue;
        writer.writeTextElement(encodeName(key), text);
    }
    writer.writeEndElement();
}

void ExerciseXml::write(QXmlStreamWriter& writer, const ZoExercise& exercise)
{
    writer.writeStartElement(QStringLiteral("Exercise"));
    writer.writeStartElement(QStringLiteral("General"));
    // Sorted keys keep files of equal lists equal.
    const QHash<QString, QString> hash = exercise.toHash();
    QStringList keys = hash.keys();
    keys.sort();
    for (const QString& key : keys)
        writer.writeTextElement(key, hash.value(key));
    writer.writeEndElement();
    writer.writeStartElement(QStringLiteral("Fields"));
    const ZoExercise::FieldMap map = exercise.fields();
    QStringList names = map.uniqueKeys();
    names.sort();
    for (const QString& name : names) {
        if (name.isEmpty())
            continue;
        // values() gives the latest first; written oldest first, reading
        // them back in document order rebuilds the same order.
        const QList<QHash<QString, QString>> entries = map.values(name);
        for (auto it = entries.crbegin(); it != entries.crend(); ++it)
            writeField(writer, name, *it);
    }
    writer.writeEndElement();
    writer.writeEndElement();
}

QString ExerciseXml::toXml(const ZoExercise& exercise)
{
    QString text;
    QXmlStreamWriter writer(&text);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(1);
    write(writer, exercise);
    text += QLatin1Char('\n');
    return text;
}

bool ExerciseXml::fromXml(ZoExercise& exercise, const QString& text, const ZoDbHelper& helper)
{
    QXmlStreamReader reader(text);
    reader.setNamespaceProcessing(false);
    if (!reader.readNextStartElement())
        return false;
    if (reader.name() != QLatin1String("Exercise")) {
        bool found = false;
        while (!found && reader.readNextStartElement()) {
            if (reader.name() == QLatin1String("Exercise"))
                found = true;
            else
                reader.skipCurrentElement();
        }
        if (!found)
            return !reader.hasError() && checkWellFormed(reader);
    }
    Values general;
    Fields fields;
    if (!readExercise(reader, &general, &fields) || !checkWellFormed(reader))
        return false;
    ZoExercise read;
    fromValues(read, general, fields, helper);
    exercise.assign(read);
    return true;
}

void ExerciseXml::fromValues(ZoExercise& exercise, const Values& general, const Fields& fields,
                             const ZoDbHelper& helper)
{
    exercise.setId(general.value(QStringLiteral("Id")));
    exercise.setTerm(general.value(QStringLiteral("Term")).trimmed());
    exercise.setLanguage(helper.languageName(general.value(QStringLiteral("LanguageID"))));
    exercise.setMediaName(general.value(QStringLiteral("MediaName")));
    exercise.setMediaPath(QStringLiteral("Content"));
    exercise.setCountry(helper.countryName(general.value(QStringLiteral("CountryID"))));
    exercise.setStateProv(general.value(QStringLiteral("StateProv")));
    exercise.setLocality(general.value(QStringLiteral("Locality")));
    exercise.setVoice(general.value(QStringLiteral("Voice")));
    exercise.setFluencyLevel(helper.fluencyLevelName(general.value(QStringLiteral("FluencyLevelID"))));
    exercise.setStatus(general.value(QStringLiteral("Status")));

    for (const auto& [name, written] : std::as_const(fields)) {
        // Every key comes back as written; the value is trimmed, and a
        // language with an id follows the id.
        QHash<QString, QString> values = written;
        values.insert(QStringLiteral("Value"), written.value(QStringLiteral("Value")).trimmed());
        // A field that carries no language id (one-line fields) keeps its language name.
        for (const QString& prefix : {QString(), QStringLiteral("Context_")}) {
            const QString languageId = written.value(prefix + QStringLiteral("LanguageID"));
            values.insert(prefix + QStringLiteral("LanguageID"), languageId);
            values.insert(prefix + QStringLiteral("Language"), languageId.isEmpty()
                                                                   ? written.value(prefix + QStringLiteral("Language"))
                                                                   : helper.languageName(languageId));
        }
        values.insert(QStringLiteral("Context"), written.value(QStringLiteral("Context")));
        exercise.addField(name, values);
    }
}
