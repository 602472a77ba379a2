#pragma once

#include "XmlPathMap.h"

#include <QDomDocument>
#include <QDomElement>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The one reader of the peer's replies: the text is parsed once, within the
// limits of BoundedXml, and then read by path ("header.status") or element
// by element. A reply that is not well-formed or goes past a limit reads as
// empty: every path gives an empty value and no element is found.
class PeerReply
{
public:
    enum class State {
        NoAnswer,   // the bridge gave no text
        Unreadable, // not well-formed XML
        PastLimit,  // refused for its size or shape
        Read,
    };

    // What the Java client gives instead of a reply it stopped reading past its limit.
    static const QString TooLarge;
    static const QString StatusPath;

    // No answer at all.
    PeerReply();
    // The reply text; isNull tells that the bridge gave none.
    explicit PeerReply(const QString& text, bool isNull = false);

    State state() const { return mState; }
    bool isRead() const { return mState == State::Read; }
    // No text, or empty text.
    bool isEmpty() const { return mEmpty; }

    // The reply flattened by path (case-insensitive); empty unless read.
    const XmlPathMap& paths() const;
    QString valueOf(const QString& path) const;
    // The value at "header.status".
    QString status() const;
    // The value at "body.<replyName>.error_description".
    QString errorDescription(const QString& replyName) const;

    // The trimmed text of the first element reached from the root through
    // names (any letter case; "*" is any element); empty when there is none.
    QString firstText(const QStringList& names) const;
    // The child elements named tag (any letter case) of the first element
    // reached from the root through names, in document order.
    QList<QDomElement> elements(const QStringList& names, const QString& tag) const;

    // An element read on its own: its paths start below it.
    static XmlPathMap mapOf(const QDomElement& element);
    // The first child element of parent with that name in any letter case, or null.
    static QDomElement childNamed(const QDomElement& parent, const QString& name);

private:
    QDomElement elementAt(const QStringList& names) const;

    State mState = State::NoAnswer;
    bool mEmpty = true;
    QDomDocument mDocument;
    // Made at the first look-up by path; shared by copies.
    mutable std::shared_ptr<XmlPathMap> mPaths;
};
