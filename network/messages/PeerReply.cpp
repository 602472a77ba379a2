#include "PeerReply.h"

#include "BoundedXml.h"

const QString PeerReply::TooLarge = QStringLiteral("reply refused: larger than the limit");
const QString PeerReply::StatusPath = QStringLiteral("header.status");

PeerReply::PeerReply() = default;

PeerReply::PeerReply(const QString& text, bool isNull)
    : mEmpty(isNull || text.isEmpty())
{
    if (isNull)
        return;
    BoundedXml::Error error;
    if (BoundedXml::parse(text, &mDocument, &error)) {
        mState = State::Read;
        return;
    }
    BoundedXml::report(error);
    mDocument = QDomDocument();
    mState = error.pastLimit || text == TooLarge ? State::PastLimit : State::Unreadable;
}

const XmlPathMap& PeerReply::paths() const
{
    if (!mPaths)
        mPaths = std::make_shared<XmlPathMap>(isRead() ? XmlPathMap(mDocument) : XmlPathMap());
    return *mPaths;
}

QString PeerReply::valueOf(const QString& path) const
{
    return paths().valueOf(path);
}

QString PeerReply::status() const
{
    return valueOf(StatusPath);
}

QString PeerReply::errorDescription(const QString& replyName) const
{
    return valueOf(QStringLiteral("body.") + replyName + QStringLiteral(".error_description"));
}

QDomElement PeerReply::childNamed(const QDomElement& parent, const QString& name)
{
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName().compare(name, Qt::CaseInsensitive) == 0)
            return e;
    }
    return {};
}

QDomElement PeerReply::elementAt(const QStringList& names) const
{
    QDomElement e = mDocument.documentElement();
    for (const QString& name : names) {
        if (e.isNull())
            break;
        e = name == QLatin1String("*") ? e.firstChildElement() : childNamed(e, name);
    }
    return e;
}

QString PeerReply::firstText(const QStringList& names) const
{
    return elementAt(names).text().trimmed();
}

QList<QDomElement> PeerReply::elements(const QStringList& names, const QString& tag) const
{
    return XmlPathMap::childrenNamed(elementAt(names), tag);
}

XmlPathMap PeerReply::mapOf(const QDomElement& element)
{
    QDomDocument own;
    own.appendChild(own.importNode(element, true));
    return XmlPathMap(own);
}
