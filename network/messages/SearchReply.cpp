#include "SearchReply.h"

#include "ContentGate.h"
#include "INetManager.h"
#include "ManifestReader.h"
#include "NetworkLog.h"
#include "PeerReply.h"

namespace {

// Reads a query reply, handing each element of that tag found directly in
// message/body/<replyName> to read, which returns false to refuse the whole
// reply (past a limit); elements elsewhere are not results. status (may be
// null) and totalResults as SearchReply tells; false when nothing of the
// reply is to be used.
template <typename Read>
bool readResults(const PeerReply& reply, const QString& replyName, const QString& tag, int* status, int* totalResults,
                 Read read)
{
    int ignored = 0;
    if (!status)
        status = &ignored;
    *status = 2;
    switch (reply.state()) {
    case PeerReply::State::NoAnswer:
        qCDebug(lcNetwork).noquote() << "srcResult is NULL";
        *status = 0;
        return false;
    case PeerReply::State::Unreadable:
        *status = -1;
        return false;
    case PeerReply::State::PastLimit:
        *status = INetManager::ReplyPastLimit;
        return false;
    case PeerReply::State::Read:
        break;
    }
    const QStringList replyPath{QStringLiteral("body"), replyName};
    if (reply.firstText({QStringLiteral("header"), QStringLiteral("status")}) == QLatin1String("-1")) {
        qCDebug(lcNetwork).noquote() << reply.firstText(replyPath + QStringList{QStringLiteral("error_description")});
        *status = 0;
        return false;
    }
    const QList<QDomElement> elements = reply.elements(replyPath, tag);
    if (elements.isEmpty())
        return false;
    bool refused = elements.size() > ContentGate::MaxResultRows;
    if (refused)
        qCDebug(lcNetwork).noquote() << QStringLiteral("refused reply: %1 results").arg(elements.size());
    for (qsizetype i = 0; i < elements.size() && !refused; ++i)
        refused = !read(elements.at(i));
    if (refused) {
        *status = INetManager::ReplyPastLimit;
        return false;
    }
    *status = 1;
    // A total below zero counts nothing.
    if (totalResults)
        *totalResults =
            qMax(0, reply.firstText(replyPath + QStringList{QStringLiteral("total_result_available")}).toInt());
    return true;
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
    QList<ZoExercise> results;
    auto readOne = [&](const QDomElement& element) {
        results.append(ManifestReader::exercise(PeerReply::mapOf(element), lookup, ManifestReader::FoundVoicePath));
        return true;
    };
    if (!readResults(reply, QStringLiteral("exerciseQueryReply"), QStringLiteral("exercise"), status, totalResults,
                     readOne))
        results.clear();
    return results;
}

QList<ZoLesson> SearchReply::lessons(const PeerReply& reply, int* status, int* totalResults)
{
    QList<ZoLesson> results;
    bool tooManyMembers = false;
    auto readOne = [&](const QDomElement& element) {
        const QDomElement exercises = PeerReply::childNamed(element, QStringLiteral("exercises"));
        const int members = int(XmlPathMap::childrenNamed(exercises, QStringLiteral("exercise")).size());
        // A lesson past the limit refuses the whole reply.
        if (members > ContentGate::MaxLessonMembers) {
            tooManyMembers = true;
            return false;
        }
        ZoLesson lesson;
        if (readLesson(PeerReply::mapOf(element), members, &lesson)) {
            lesson.dump();
            results.append(lesson);
        }
        return true;
    };
    if (!readResults(reply, QStringLiteral("lessonQueryReply"), QStringLiteral("lesson"), status, totalResults,
                     readOne))
        results.clear();
    // A reply refused for a lesson's size names no total.
    if (tooManyMembers && totalResults)
        *totalResults = 0;
    return results;
}
