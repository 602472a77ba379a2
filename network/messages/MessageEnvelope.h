#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QLatin1String>
#include <QString>

// The frame of every request: the "message" document with its header and
// body, the declaration line it goes out with, and the rules by which each
// leaf element is written.
class MessageEnvelope
{
public:
    static constexpr QLatin1String Declaration{"<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"};

    // A new message document holding its header; the request goes in with finish.
    static QDomDocument create(const QString& type);
    // Appends body, holding request, to the message.
    static void finish(QDomDocument& document, const QDomElement& request);
    // The declaration line followed by the document, indented by one.
    static QString declared(const QDomDocument& document);

    // The header element (not yet attached): origin, the type and, with
    // withVersions, the program's three versions from the settings.
    static QDomElement header(QDomDocument& document, const QString& type, bool withVersions);
    // A leaf holding value trimmed with its blank runs folded; as CDATA also without brackets.
    static QDomElement textElement(QDomDocument& document, const QString& name, const QString& value, bool asCdata);
    // With asCdata and verbatim, value goes in only without its brackets; else as textElement.
    static QDomElement verbatimElement(QDomDocument& document, const QString& name, const QString& value, bool asCdata,
                                       bool verbatim);
    // A user name or password as typed: folding or stripping would let a different one pass.
    static QDomElement credentialElement(QDomDocument& document, const QString& name, const QString& value);
    // Credentials go out as typed; only letters, digits, "." and "_" are accepted.
    static bool isCredential(const QString& text);
};
