#include "ExerciseXml.h"

#include "ZoDbHelper.h"
#include "ZoExercise.h"

#include <QDomDocument>
#include <QStringList>

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

QString childText(const QDomElement& parent, const QString& name)
{
    return parent.firstChildElement(name).text();
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

QDomElement ExerciseXml::fieldToXml(QDomDocument& document, const QString& name, const QHash<QString, QString>& values)
{
    QDomElement field = document.createElement(encodeName(name));
    QStringList keys = values.keys();
    keys.sort();
    for (const QString& key : keys) {
        const QString text = values.value(key);
        if (text.isEmpty() || key.isEmpty())
            continue;
        QDomElement value = document.createElement(encodeName(key));
        value.appendChild(document.createTextNode(text));
        field.appendChild(value);
    }
    return field;
}

QString ExerciseXml::toXml(const ZoExercise& exercise)
{
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("Exercise"));
    document.appendChild(root);
    QDomElement general = document.createElement(QStringLiteral("General"));
    root.appendChild(general);
    // Sorted keys keep files of equal lists equal.
    const QHash<QString, QString> hash = exercise.toHash();
    QStringList keys = hash.keys();
    keys.sort();
    for (const QString& key : keys) {
        QDomElement item = document.createElement(key);
        item.appendChild(document.createTextNode(hash.value(key)));
        general.appendChild(item);
    }
    QDomElement fields = document.createElement(QStringLiteral("Fields"));
    root.appendChild(fields);
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
            fields.appendChild(fieldToXml(document, name, *it));
    }
    return document.toString(1);
}

bool ExerciseXml::fromXml(ZoExercise& exercise, const QString& text, const ZoDbHelper& helper)
{
    QDomDocument document;
    if (!document.setContent(text))
        return false;
    QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("Exercise"))
        root = root.firstChildElement(QStringLiteral("Exercise"));
    fromElement(exercise, root, helper);
    return true;
}

void ExerciseXml::fromElement(ZoExercise& exercise, const QDomElement& element, const ZoDbHelper& helper)
{
    const QDomElement general = element.firstChildElement(QStringLiteral("General"));
    exercise.setId(childText(general, QStringLiteral("Id")));
    exercise.setTerm(childText(general, QStringLiteral("Term")).trimmed());
    exercise.setLanguage(helper.languageName(childText(general, QStringLiteral("LanguageID"))));
    exercise.setMediaName(childText(general, QStringLiteral("MediaName")));
    exercise.setMediaPath(QStringLiteral("Content"));
    exercise.setCountry(helper.countryName(childText(general, QStringLiteral("CountryID"))));
    exercise.setStateProv(childText(general, QStringLiteral("StateProv")));
    exercise.setLocality(childText(general, QStringLiteral("Locality")));
    exercise.setVoice(childText(general, QStringLiteral("Voice")));
    exercise.setFluencyLevel(helper.fluencyLevelName(childText(general, QStringLiteral("FluencyLevelID"))));
    exercise.setStatus(childText(general, QStringLiteral("Status")));

    const QDomElement fields = element.firstChildElement(QStringLiteral("Fields"));
    for (QDomElement field = fields.firstChildElement(); !field.isNull(); field = field.nextSiblingElement()) {
        QHash<QString, QString> values;
        values.insert(QStringLiteral("Value"), childText(field, QStringLiteral("Value")).trimmed());
        // A field that carries no language id (one-line fields) keeps its language name.
        for (const QString& prefix : {QString(), QStringLiteral("Context_")}) {
            const QString languageId = childText(field, prefix + QStringLiteral("LanguageID"));
            values.insert(prefix + QStringLiteral("LanguageID"), languageId);
            values.insert(prefix + QStringLiteral("Language"),
                          languageId.isEmpty() ? childText(field, prefix + QStringLiteral("Language"))
                                               : helper.languageName(languageId));
        }
        values.insert(QStringLiteral("Context"), childText(field, QStringLiteral("Context")));
        exercise.addField(decodeName(field.tagName()), values);
    }
}
