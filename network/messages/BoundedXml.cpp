#include "BoundedXml.h"

#include "NetworkLog.h"

#include <QXmlStreamReader>

namespace {

// Looks at the next tag (or comment, CDATA section, processing instruction) at or
// after *position and moves *position past it; false when the tag has more
// attributes than allowed. The stream reader reads a whole start tag at once, so
// each tag is looked at just before the reader comes to it.
bool scanNextTag(const QString& text, qsizetype* position, BoundedXml::Error* error)
{
    const QChar* c = text.constData();
    const qsizetype size = text.size();
    qsizetype i = text.indexOf(QLatin1Char('<'), *position);
    if (i < 0) {
        *position = size;
        return true;
    }
    auto startsWith = [&](qsizetype at, QLatin1String s) { return QStringView(c + at, size - at).startsWith(s); };
    auto skipTo = [&](qsizetype from, QLatin1String end) {
        const qsizetype found = text.indexOf(end, from);
        return found < 0 ? size : found + end.size();
    };
    if (startsWith(i, QLatin1String("<!--"))) {
        *position = skipTo(i + 4, QLatin1String("-->"));
        return true;
    }
    if (startsWith(i, QLatin1String("<![CDATA["))) {
        *position = skipTo(i + 9, QLatin1String("]]>"));
        return true;
    }
    if (startsWith(i, QLatin1String("<?"))) {
        *position = skipTo(i + 2, QLatin1String("?>"));
        return true;
    }
    // A tag: '=' outside quotes separates a name from its value.
    int count = 0;
    QChar quote;
    for (++i; i < size; ++i) {
        if (!quote.isNull()) {
            if (c[i] == quote)
                quote = QChar();
        } else if (c[i] == QLatin1Char('"') || c[i] == QLatin1Char('\'')) {
            quote = c[i];
        } else if (c[i] == QLatin1Char('=')) {
            if (++count > BoundedXml::MaxAttributes) {
                error->message = QStringLiteral("more than %1 attributes on one element").arg(BoundedXml::MaxAttributes);
                error->pastLimit = true;
                return false;
            }
        } else if (c[i] == QLatin1Char('>')) {
            ++i;
            break;
        }
    }
    *position = i;
    return true;
}

} // namespace

bool BoundedXml::check(const QString& text, Error* error)
{
    return check(text, Limits(), error);
}

bool BoundedXml::check(const QString& text, const Limits& limits, Error* error)
{
    return read(text, limits, error, {});
}

bool BoundedXml::read(const QString& text, const Limits& limits, Error* error,
                      const std::function<bool(const QXmlStreamReader&)>& visit)
{
    Error ignored;
    if (!error)
        error = &ignored;
    *error = Error();
    if (text.size() > limits.maxDocumentLength) {
        error->message = QStringLiteral("the document is longer than %1 characters").arg(limits.maxDocumentLength);
        error->pastLimit = true;
        return false;
    }
    // Fed a part at a time, so a document refused early is not converted to its end.
    QXmlStreamReader reader;
    reader.setNamespaceProcessing(false);
    qsizetype fed = 0;
    auto feed = [&]() {
        const qsizetype part = qMin<qsizetype>(64 * 1024, text.size() - fed);
        reader.addData(text.mid(fed, part));
        fed += part;
    };
    feed();
    int depth = 0;
    int elements = 0;
    // Length of the path to each open element, so the current path costs nothing to track.
    QList<qsizetype> pathLengths;
    pathLengths.reserve(limits.maxDepth + 1);
    auto refuse = [&](const QString& message, bool pastLimit = false) {
        error->message = message;
        error->pastLimit = pastLimit;
        error->line = int(reader.lineNumber());
        error->column = int(reader.columnNumber());
        return false;
    };
    qsizetype scanned = 0;
    while (!reader.atEnd()) {
        while (scanned <= reader.characterOffset() && scanned < text.size()) {
            if (!scanNextTag(text, &scanned, error))
                return refuse(error->message, error->pastLimit);
        }
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (reader.error() == QXmlStreamReader::PrematureEndOfDocumentError && fed < text.size()) {
            feed();
            continue;
        }
        switch (token) {
        case QXmlStreamReader::DTD:
            return refuse(QStringLiteral("document type declarations are not accepted"));
        case QXmlStreamReader::EntityReference:
            return refuse(QStringLiteral("entity references are not accepted"));
        case QXmlStreamReader::StartElement: {
            if (++depth > limits.maxDepth)
                return refuse(QStringLiteral("elements nested deeper than %1").arg(limits.maxDepth), true);
            if (++elements > limits.maxElements)
                return refuse(QStringLiteral("more than %1 elements").arg(limits.maxElements), true);
            const qsizetype name = reader.qualifiedName().size();
            if (name > MaxNameLength)
                return refuse(QStringLiteral("an element name longer than %1 characters").arg(MaxNameLength), true);
            const qsizetype path = (pathLengths.isEmpty() ? 0 : pathLengths.last() + 1) + name;
            if (path > MaxPathLength)
                return refuse(QStringLiteral("an element path longer than %1 characters").arg(MaxPathLength), true);
            pathLengths.append(path);
            const QXmlStreamAttributes attributes = reader.attributes();
            for (const QXmlStreamAttribute& attribute : attributes) {
                if (attribute.qualifiedName().size() > MaxNameLength)
                    return refuse(QStringLiteral("an attribute name longer than %1 characters").arg(MaxNameLength),
                                  true);
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            pathLengths.removeLast();
            break;
        default:
            break;
        }
        if (visit && !reader.hasError() && !visit(reader))
            return true;
    }
    if (reader.hasError())
        return refuse(reader.errorString());
    return true;
}

bool BoundedXml::parse(const QString& text, QDomDocument* document, Error* error)
{
    return parse(text, Limits(), document, error);
}

bool BoundedXml::parse(const QString& text, const Limits& limits, QDomDocument* document, Error* error)
{
    Error ignored;
    if (!error)
        error = &ignored;
    if (!check(text, limits, error))
        return false;
    QString message;
    int line = 0;
    int column = 0;
    if (document->setContent(text, false, &message, &line, &column))
        return true;
    *error = {message, line, column};
    return false;
}

void BoundedXml::report(const Error& error)
{
    qCDebug(lcNetwork).noquote() << QStringLiteral("setContent error: %1 %2\n").arg(error.line).arg(error.column)
                                        + error.message + QLatin1Char('\n');
}
