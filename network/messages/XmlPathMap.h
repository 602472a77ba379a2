#pragma once

#include <QDomDocument>
#include <QDomNode>
#include <QHash>
#include <QList>
#include <QString>

// Flattens one XML document into a table from dotted, lower-cased paths below
// the root element to trimmed text values ("header.status"). A path met more
// than once is kept only with the suffixes "#0", "#1", ... in document order.
// Look-ups ignore letter case. Text and files are read within the limits of
// BoundedXml; a document past one is refused (-2).
class XmlPathMap
{
public:
    XmlPathMap();
    // kind "file": source names a file; kind "doc": source is the XML text.
    XmlPathMap(QString source, QString kind);
    explicit XmlPathMap(QDomDocument document);
    XmlPathMap(const XmlPathMap& other) = default;
    XmlPathMap& operator=(const XmlPathMap& other) = default;

    // Number of entries, or -1 (file did not open), -2 (not well-formed XML).
    int loadResult() const;

    QString valueOf(QString path) const;
    // The value as a decimal number, 0 when it is not one.
    int intValueOf(QString path) const;
    QHash<QString, QString> entries() const;
    // Entries below prefix, keyed by the rest of their path after "prefix.".
    QHash<QString, QString> subtree(QString prefix) const;
    // How many times the path was met, 0 when never.
    int occurrences(QString path) const;
    QString dump() const;

    // The path of entry index of count read with the same path: with its
    // suffix "#index" when the path was met more than once.
    static QString numberedPath(const QString& path, int index, int count);

    // The child elements of parent with that name in any letter case, as the
    // map reads them, in document order; nothing deeper.
    static QList<QDomElement> childrenNamed(const QDomElement& parent, const QString& name);

private:
    void parseDocument(const QDomDocument& document);
    void addAttributes(const QString& path, const QDomNode& node);
    void addValue(const QString& path, const QString& value);

    int mLoadResult = 0;
    QHash<QString, QString> mValues;
    QHash<QString, int> mCounts;
    QString mRootPrefix;
    qsizetype mPathText = 0; // characters of the stored paths, bounded
};
