#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QHash>
#include <QString>

class ZoDbHelper;

// Column-to-XML mappings of stored records and the builder that applies them.
// A template is a list of items "<kind><xml name>=<column>" separated by ",";
// kind "A" makes an attribute, "N" a child element holding text, "C" a child
// element holding one CDATA section. Empty values make nothing.
class ManifestTemplate
{
public:
    static const QString Manifest;
    static const QString ManifestShort;
    static const QString MemberReference;
    static const QString TextualManifest;
    static const QString MediaManifest;
    static const QString KeyValuePair;
    static const QString LessonManifest;
    static const QString LessonTextualManifest;
    static const QString LessonMember;
    static const QString TranslationTextualManifest;
    static const QString TranslationMember;

    // The element, not yet attached, with the template applied to the row.
    // The builders take the document by reference: a copy of a document that
    // has no content yet would create its nodes elsewhere.
    static QDomElement manifestElement(QDomDocument& document, QString elementName, QString manifestTemplate,
                                       QHash<QString, QString> row);
    static QDomElement textElement(QDomDocument& document, QString name, QString value);
    // "kvps" with one "kvp" per stored key-value pair of the manifest, in row order.
    static QDomElement kvpsElement(QDomDocument& document, const ZoDbHelper& helper, QString localId);
    // The document as sent: indent 1, no declaration.
    static QString documentText(const QDomDocument& document);
};
