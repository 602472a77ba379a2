#include "XmlPathMap.h"

#include "BoundedXml.h"

#include <QDomNamedNodeMap>
#include <QFile>
#include <QStringDecoder>

XmlPathMap::XmlPathMap() = default;

XmlPathMap::XmlPathMap(QString source, QString kind)
{
    QString text;
    if (kind == QLatin1String("file")) {
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly)) {
            mLoadResult = -1;
            return;
        }
        // Read no further than the longest document accepted; UTF-16 only with its byte order mark.
        const QByteArray bytes = file.read(BoundedXml::MaxDocumentLength * 4 + 1);
        file.close();
        QStringDecoder decoder(QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8));
        text = decoder.decode(bytes);
    } else if (kind == QLatin1String("doc")) {
        text = source;
    } else {
        return;
    }
    QDomDocument document(QStringLiteral("mydocument"));
    BoundedXml::Error error;
    if (!BoundedXml::parse(text, &document, &error)) {
        BoundedXml::report(error);
        mLoadResult = -2;
        return;
    }
    parseDocument(document);
}

XmlPathMap::XmlPathMap(QDomDocument document)
{
    parseDocument(document);
}

int XmlPathMap::loadResult() const
{
    return mLoadResult;
}

QString XmlPathMap::valueOf(QString path) const
{
    return mValues.value(path.toLower());
}

int XmlPathMap::intValueOf(QString path) const
{
    bool ok = false;
    const int value = valueOf(path).toInt(&ok, 10);
    return ok ? value : 0;
}

QHash<QString, QString> XmlPathMap::entries() const
{
    return mValues;
}

QHash<QString, QString> XmlPathMap::subtree(QString prefix) const
{
    const QString start = prefix.toLower() + QLatin1Char('.');
    QHash<QString, QString> result;
    for (auto it = mValues.cbegin(); it != mValues.cend(); ++it) {
        if (it.key().startsWith(start))
            result.insert(it.key().mid(start.size()), it.value());
    }
    return result;
}

int XmlPathMap::occurrences(QString path) const
{
    const auto it = mCounts.constFind(path.toLower());
    return it == mCounts.cend() ? 0 : it.value() + 1;
}

QString XmlPathMap::dump() const
{
    QString text;
    for (auto it = mValues.cbegin(); it != mValues.cend(); ++it)
        text += it.key() + QLatin1String(" => '") + it.value() + QLatin1String("'\n");
    return text;
}

void XmlPathMap::parseDocument(const QDomDocument& document)
{
    mValues.clear();
    mCounts.clear();
    mPathText = 0;
    mLoadResult = 0;
    const QDomElement root = document.documentElement();
    if (root.isNull())
        return;
    mRootPrefix = QLatin1Char('.') + root.tagName() + QLatin1Char('.');
    // One path buffer cut back to each node's parent: the walk costs the
    // length of the paths it stores, never depth times depth.
    QString path = QLatin1Char('.') + root.tagName();
    addAttributes(path, root);
    struct Frame
    {
        QDomNode next;
        qsizetype pathLength;
    };
    QList<Frame> stack{{root.firstChild(), path.size()}};
    while (!stack.isEmpty() && mPathText <= BoundedXml::MaxPathText) {
        Frame& frame = stack.last();
        if (frame.next.isNull()) {
            stack.removeLast();
            continue;
        }
        const QDomNode child = frame.next;
        frame.next = child.nextSibling();
        path.truncate(frame.pathLength);
        if (child.isElement()) {
            path += QLatin1Char('.') + child.nodeName();
            addAttributes(path, child);
            if (child.hasChildNodes())
                stack.append({child.firstChild(), path.size()});
            else
                addValue(path, QString());
        } else if (child.hasChildNodes()) {
            path += QLatin1Char('.') + child.nodeName();
            stack.append({child.firstChild(), path.size()});
        } else {
            // Text, CDATA and other leaves belong to the element holding them.
            addValue(path, child.nodeValue());
        }
    }
    if (mPathText > BoundedXml::MaxPathText) {
        BoundedXml::report({QStringLiteral("the paths of the document are longer than %1 characters in all")
                                .arg(BoundedXml::MaxPathText)});
        mValues.clear();
        mCounts.clear();
        mLoadResult = -2;
        return;
    }
    mLoadResult = int(mValues.size());
}

void XmlPathMap::addAttributes(const QString& path, const QDomNode& node)
{
    const QDomNamedNodeMap attributes = node.attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        const QDomNode attribute = attributes.item(i);
        addValue(path + QLatin1Char('.') + attribute.nodeName(), attribute.nodeValue());
    }
}

void XmlPathMap::addValue(const QString& path, const QString& value)
{
    // Only the leading root name goes: an inner element may share its name.
    QString key = path.startsWith(mRootPrefix) ? path.mid(mRootPrefix.size()) : path;
    key = key.toLower();
    mPathText += key.size();
    if (mPathText > BoundedXml::MaxPathText)
        return;
    const QString trimmed = value.trimmed();
    auto count = mCounts.find(key);
    if (count == mCounts.end()) {
        mValues.insert(key, trimmed);
        mCounts.insert(key, 0);
        return;
    }
    if (count.value() == 0)
        mValues.insert(key + QStringLiteral("#%1").arg(0), mValues.take(key));
    ++count.value();
    mValues.insert(key + QStringLiteral("#%1").arg(count.value()), trimmed);
}

QList<QDomElement> XmlPathMap::childrenNamed(const QDomElement& parent, const QString& name)
{
    QList<QDomElement> found;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName().compare(name, Qt::CaseInsensitive) == 0)
            found.append(e);
    }
    return found;
}

QString XmlPathMap::numberedPath(const QString& path, int index, int count)
{
    return count > 1 ? path + QStringLiteral("#%1").arg(index) : path;
}
