#include "XmlPathMap.h"

#include <QDebug>
#include <QDomNamedNodeMap>
#include <QFile>

namespace {

void reportParseError(const QString& message, int line, int column)
{
    qDebug().noquote() << QString::asprintf("setContent error: %d %d\n", line, column) + message
                                 + QLatin1Char('\n');
}

} // namespace

XmlPathMap::XmlPathMap() = default;

XmlPathMap::XmlPathMap(QString source, QString kind)
{
    QDomDocument document(QStringLiteral("mydocument"));
    QString message;
    int line = 0;
    int column = 0;
    if (kind == QLatin1String("file")) {
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly)) {
            mLoadResult = -1;
            return;
        }
        const bool parsed = document.setContent(&file, &message, &line, &column);
        file.close();
        if (!parsed) {
            reportParseError(message, line, column);
            mLoadResult = -2;
            return;
        }
    } else if (kind == QLatin1String("doc")) {
        if (!document.setContent(source, &message, &line, &column)) {
            reportParseError(message, line, column);
            mLoadResult = -2;
            return;
        }
    } else {
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
    mLoadResult = 0;
    const QDomElement root = document.documentElement();
    if (root.isNull())
        return;
    mRootPrefix = QLatin1Char('.') + root.tagName() + QLatin1Char('.');
    addAttributes(QLatin1Char('.') + root.tagName(), root);
    walkNode(QString(), root);
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

void XmlPathMap::walkNode(const QString& prefix, const QDomNode& node)
{
    const QString current = prefix + QLatin1Char('.') + node.nodeName();
    for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.isElement()) {
            addAttributes(current + QLatin1Char('.') + child.nodeName(), child);
            if (child.hasChildNodes())
                walkNode(current, child);
            else
                addValue(current + QLatin1Char('.') + child.nodeName(), QString());
        } else if (child.hasChildNodes()) {
            walkNode(current, child);
        } else {
            // Text, CDATA and other leaves belong to the element holding them.
            addValue(current, child.nodeValue());
        }
    }
}

void XmlPathMap::addValue(const QString& path, const QString& value)
{
    // Only the leading root name goes: an inner element may share its name.
    QString key = path.startsWith(mRootPrefix) ? path.mid(mRootPrefix.size()) : path;
    key = key.toLower();
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
