#pragma once

#include <QHash>
#include <QString>

class PeerReply;

// Reads the peer's answer to an upload into the result hash of the network
// manager: the new persistent ids, or "Error" with the peer's text, or
// "timedOut" when no answer came.
class UploadReply
{
public:
    // The upload kinds of a lesson and a translation, and what the bridge calls them.
    static const QString LessonKind;
    static const QString TranslationKind;
    static const QString ExerciseKind;
    // The bridge's kind of a manifest upload kind; empty for any other kind.
    static QString bridgeKind(const QString& kind);

    // { "PId" } for a lesson or translation accepted; { "Error" } otherwise.
    static QHash<QString, QString> manifest(const PeerReply& reply, const QString& kind);
    // { "PId", "PersistentTermId" } and, withSound, "PersistentMediaId"; { "Error" } otherwise.
    static QHash<QString, QString> exercise(const PeerReply& reply, bool withSound);
    // { "Error": "Invalid manifest type given: <kind>" }.
    static QHash<QString, QString> invalidKind(const QString& kind);
    static QHash<QString, QString> error(const QString& text);
    static QHash<QString, QString> timedOut();
};
