#include "SearchReply.h"

#include "ContentGate.h"
#include "INetManager.h"
#include "ManifestReader.h"
#include "NetworkLog.h"
#include "PeerReply.h"

namespace {

// The result elements of a query reply: each element of that tag found
// directly in message/body/<replyName>; elements elsewhere are not results.
// Empty, with the status set, when there are none to read.
QList<QDomElement> resultElements(const PeerReply& reply, const QString& replyName, const QString& tag, int* status)
{
    *status = 2;
    switch (reply.state()) {
    case PeerReply::State::NoAnswer:
        qCDebug(lcNetwork).noquote() << "srcResult is NULL";
        *status = 0;
        return {};
    case PeerReply::State::Unreadable:
        *status = -1;
        return {};
    case PeerReply::State::PastLimit:
        *status = INetManager::ReplyPastLimit;
        return {};
    case PeerReply::State::Read:
        break;
    }
    const QStringList replyPath{QStringLiteral("body"), replyName};
    if (reply.firstText({QStringLiteral("header"), QStringLiteral("status")}) == QLatin1String("-1")) {
        qCDebug(lcNetwork).noquote() << reply.firstText(replyPath + QStringList{QStringLiteral("error_description")});
        *status = 0;
        return {};
    }
    const QList<QDomElement> elements = reply.elements(replyPath, tag);
    if (elements.size() > ContentGate::MaxResultRows) {
        qCDebug(lcNetwork).noquote() << QStringLiteral("refused reply: %1 results").arg(elements.size());
        *status = INetManager::ReplyPastLimit;
        return {};
    }
    return elements;
}

// Status 1 and the total the reply names; a total below zero counts nothing.
void found(const PeerReply& reply, const QString& replyName, int* status, int* totalResults)
{
    *status = 1;
    if (totalResults)
        *totalResults = qMax(0, reply.firstText({QStringLiteral("body"), replyName,
                                                 QStringLiteral("total_result_available")})
                                    .toInt());
}

// The lesson of a result element holding that many members; false when its
// members cannot be placed (numbers repeated, out of range or no numbers).
bool readLesson(const XmlPathMap& map, int members, ZoLesson* lesson)
{
    lesson->setPId(map.valueOf(QStringLiteral("manifest.persistentmanifestid")));
    lesson->setTitle(map.valueOf(QStringLiteral("textual_manifest.manifesttitle")));
    lesson->setDescription(map.valueOf(QStringLiteral("textual_manifest.manifestdescription")));
    lesson->setUsername(map.valueOf(QStringLiteral("manifest.suppliedbyusername")));
    lesson->setUserId(map.valueOf(QStringLiteral("manifest.suppliedbyuserid")));
    lesson->setLanguage(map.valueOf(QStringLiteral("textual_manifest.langid")));
    lesson->setLearnerLevel(map.valueOf(QStringLiteral("textual_manifest.learnerlevelid")));
    qCDebug(lcNetwork).noquote() << QStringLiteral("Lesson has %1 exercises").arg(members);
    const QString idPath = QStringLiteral("exercises.exercise.persistentmanifestid");
    if (members == 1) {
        lesson->addExercise(QString(), map.valueOf(idPath));
        return true;
    }
    bool consistent = true;
    for (int m = 0; m < members; ++m) {
        const QString suffix = QStringLiteral("#%1").arg(m);
        bool isNumber = false;
        const int sequence = map.valueOf(QStringLiteral("exercises.exercise.sequencenb") + suffix).toInt(&isNumber, 10);
        // Members are numbered from 1; anything else cannot be placed.
        consistent = consistent && isNumber && sequence >= 1 && sequence <= members;
        lesson->setPersistentExerciseId(sequence, map.valueOf(idPath + suffix));
    }
    // Repeated numbers leave fewer members than elements.
    return consistent && members == lesson->persistentExerciseIds().size();
}

} // namespace

QList<ZoExercise> SearchReply::exercises(const PeerReply& reply, const ZoDbHelper& lookup, int* status,
                                         int* totalResults)
{
    int ignored = 0;
    if (!status)
        status = &ignored;
    const QString replyName = QStringLiteral("exerciseQueryReply");
    const QList<QDomElement> elements = resultElements(reply, replyName, QStringLiteral("exercise"), status);
    QList<ZoExercise> results;
    if (elements.isEmpty())
        return results;
    for (const QDomElement& element : elements)
        results.append(ManifestReader::exercise(PeerReply::mapOf(element), lookup, ManifestReader::FoundVoicePath));
    found(reply, replyName, status, totalResults);
    return results;
}

QList<ZoLesson> SearchReply::lessons(const PeerReply& reply, int* status, int* totalResults)
{
    int ignored = 0;
    if (!status)
        status = &ignored;
    const QString replyName = QStringLiteral("lessonQueryReply");
    const QList<QDomElement> elements = resultElements(reply, replyName, QStringLiteral("lesson"), status);
    QList<ZoLesson> results;
    if (elements.isEmpty())
        return results;
    for (const QDomElement& element : elements) {
        const int members = int(XmlPathMap::childrenNamed(PeerReply::childNamed(element, QStringLiteral("exercises")),
                                                          QStringLiteral("exercise"))
                                    .size());
        // A lesson past the limit refuses the whole reply: nothing of it is used.
        if (members > ContentGate::MaxLessonMembers) {
            *status = INetManager::ReplyPastLimit;
            if (totalResults)
                *totalResults = 0;
            return {};
        }
        ZoLesson lesson;
        if (readLesson(PeerReply::mapOf(element), members, &lesson)) {
            lesson.dump();
            results.append(lesson);
        }
    }
    found(reply, replyName, status, totalResults);
    return results;
}
