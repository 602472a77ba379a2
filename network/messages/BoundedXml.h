#pragma once

#include <QDomDocument>
#include <QString>

#include <functional>

class QXmlStreamReader;

// Reads XML from the network within fixed limits, in time and memory linear in
// its length. A document past a limit is refused like one that is not
// well-formed; nothing of it is used.
class BoundedXml
{
public:
    static constexpr int MaxDepth = 64;
    static constexpr int MaxElements = 250000;
    static constexpr int MaxAttributes = 256; // per element
    static constexpr int MaxNameLength = 256;
    static constexpr int MaxPathLength = 2048;                       // element names from the root down
    static constexpr qsizetype MaxDocumentLength = 32 * 1024 * 1024; // characters
    // Characters of all the paths a path map may store for one document.
    static constexpr qsizetype MaxPathText = 16 * 1024 * 1024;

    // Other limits for documents that are not network replies.
    struct Limits
    {
        int maxDepth = MaxDepth;
        int maxElements = MaxElements;
        qsizetype maxDocumentLength = MaxDocumentLength;
    };

    struct Error
    {
        QString message;
        int line = 0;
        int column = 0;
        // The document went past a limit (it may be well-formed).
        bool pastLimit = false;
    };

    // True when text is well-formed, holds no document type declaration and
    // stays within the limits; otherwise false and error says why.
    static bool check(const QString& text, Error* error);
    static bool check(const QString& text, const Limits& limits, Error* error);
    // check, handing each token read to visit first (the reader stands at it);
    // when visit returns false reading stops there and read returns true.
    static bool read(const QString& text, const Limits& limits, Error* error,
                     const std::function<bool(const QXmlStreamReader&)>& visit);
    // check, then parse into document (without namespace processing).
    static bool parse(const QString& text, QDomDocument* document, Error* error);
    static bool parse(const QString& text, const Limits& limits, QDomDocument* document, Error* error);
    // The debug line of a refused document.
    static void report(const Error& error);
};
