#include "ManifestReader.h"

#include "ContentGate.h"
#include "NetworkLog.h"
#include "PeerReply.h"
#include "ZoDbHelper.h"

namespace {

// Children of a reply element: under "body.<reply>" when the map holds the
// whole message, else the map is the element itself.
QHash<QString, QString> replyElement(const XmlPathMap& map, const QString& prefix)
{
    const QHash<QString, QString> below = map.subtree(prefix);
    return below.isEmpty() ? map.entries() : below;
}

} // namespace

const QString ManifestReader::FoundVoicePath = QStringLiteral("media.manifest.suppliedbyusername");
const QString ManifestReader::TranslationVoicePath = QStringLiteral("media.media_manifest.voice");

ZoExercise ManifestReader::exercise(const XmlPathMap& map, const ZoDbHelper& lookup, const QString& voicePath)
{
    auto v = [&](const char* path) { return map.valueOf(QLatin1String(path)); };
    return ZoExercise(QStringLiteral("0"), v("manifest.persistentmanifestid"), v("term.textual_manifest.manifestvalue"),
                      lookup.languageName(v("term.textual_manifest.langid")),
                      v("media.media_manifest.localedescriptor"), QStringLiteral("Content"),
                      v("media.media_manifest.mediamanifestfilename"),
                      lookup.countryName(v("media.media_manifest.countryid")), v("media.media_manifest.fluencylevelid"),
                      v("media.media_manifest.stateprov"), v("media.media_manifest.locality"), map.valueOf(voicePath),
                      QStringLiteral("0"), v("term.manifest.persistentmanifestid"), QStringLiteral("0"),
                      v("media.manifest.persistentmanifestid"), QString(), v("manifest.suppliedbyusername"),
                      v("manifest.suppliedbyuserid"), v("media.manifest.suppliedbyuserid"));
}

ZoExercise ManifestReader::exerciseWithFields(const XmlPathMap& map, const ZoDbHelper& lookup)
{
    qCDebug(lcNetwork).noquote() << "Voice is " + map.valueOf(FoundVoicePath);
    ZoExercise found = exercise(map, lookup, FoundVoicePath);
    // Each kvp carries its tag in the kvpTypeID attribute.
    const QString typePath = QStringLiteral("kvps.kvp.kvptypeid");
    const int count = map.occurrences(typePath);
    qCDebug(lcNetwork).noquote() << QStringLiteral("Num kvps is %1").arg(count);
    for (int j = 0; j < count; ++j) {
        auto at = [&](const QString& path) { return map.valueOf(XmlPathMap::numberedPath(path, j, count)); };
        const QString tag = lookup.tagName(at(typePath));
        if (tag.isEmpty()) {
            qCDebug(lcNetwork).noquote() << "unknown kvp type " + at(typePath);
            continue;
        }
        found.addField(tag, {{QStringLiteral("Value"), at(QStringLiteral("kvps.kvp.kvpvalue"))},
                             {QStringLiteral("Language"), lookup.languageName(at(QStringLiteral("kvps.kvp.langid")))}});
    }
    return found;
}

ZoLesson ManifestReader::lesson(const XmlPathMap& map)
{
    const QHash<QString, QString> table = replyElement(map, QStringLiteral("body.uploadlesson.lesson"));
    // The lesson claims its number of members: it must be the number it holds.
    const QString member = QStringLiteral("exercises.exercise.persistentmanifestid");
    int held = 0;
    if (table.contains(member))
        held = 1;
    else
        while (held <= ContentGate::MaxLessonMembers && table.contains(member + QStringLiteral("#%1").arg(held)))
            ++held;
    bool isNumber = false;
    const int claimed = table.value(QStringLiteral("numchildren"), QStringLiteral("0")).toInt(&isNumber);
    if (!isNumber || claimed != held || held > ContentGate::MaxLessonMembers) {
        qCDebug(lcNetwork).noquote() << QStringLiteral("refused lesson: it claims %1 exercises and holds %2")
                                            .arg(table.value(QStringLiteral("numchildren")))
                                            .arg(held);
        return ZoLesson();
    }
    return ZoLesson(table, true);
}

ZoTranslation ManifestReader::translation(const XmlPathMap& map)
{
    return ZoTranslation(replyElement(map, QStringLiteral("body.translation")));
}

QString ManifestReader::translations(const QString& xml, const ZoDbHelper& lookup, QList<ZoTranslation>* translations,
                                     QList<ZoExercise>* exercises)
{
    const PeerReply reply(xml);
    if (!reply.isRead())
        return QStringLiteral("setContent failed");
    if (reply.firstText({QStringLiteral("header"), QStringLiteral("status")}) == QLatin1String("-1")) {
        qCDebug(lcNetwork).noquote() << reply.firstText(
            {QStringLiteral("body"), QStringLiteral("*"), QStringLiteral("error_description")});
        return QStringLiteral("ExerciseHasNoTranslations");
    }
    const QStringList replyPath{QStringLiteral("body"), QStringLiteral("downloadTranslation")};
    const QList<QDomElement> exerciseElements = reply.elements(replyPath, QStringLiteral("exercise"));
    const QList<QDomElement> translationElements = reply.elements(replyPath, QStringLiteral("translation"));
    if (exerciseElements.size() > ContentGate::MaxResultRows
        || translationElements.size() > ContentGate::MaxResultRows) {
        qCDebug(lcNetwork).noquote() << QStringLiteral("refused translations: %1 exercises, %2 translations")
                                            .arg(exerciseElements.size())
                                            .arg(translationElements.size());
        return QStringLiteral("setContent failed");
    }
    QList<ZoExercise> foundExercises;
    // The reply's exercises by persistent id, each id's in document order.
    QHash<QString, QList<qsizetype>> byId;
    for (const QDomElement& element : exerciseElements) {
        foundExercises.append(exercise(PeerReply::mapOf(element), lookup, TranslationVoicePath));
        const QString id = foundExercises.last().pId();
        if (!id.isEmpty())
            byId[id].append(foundExercises.size() - 1);
    }
    qCDebug(lcNetwork).noquote() << QStringLiteral("returnExerciseList size is %1").arg(foundExercises.size());
    // A translation goes out with the first exercise of the reply it names, each
    // exercise at most once; a translation naming none of them is dropped. The
    // exercises of an id are taken in order, so each id keeps where it stands.
    QHash<QString, qsizetype> nextOfId;
    for (const QDomElement& element : translationElements) {
        const ZoTranslation found(PeerReply::mapOf(element).entries());
        qsizetype match = -1;
        QString matchedId;
        for (const QString& id : found.persistentExerciseIds()) {
            const auto indices = byId.constFind(id);
            if (id.isEmpty() || indices == byId.constEnd())
                continue;
            const qsizetype next = nextOfId.value(id, 0);
            if (next < indices->size() && (match < 0 || indices->at(next) < match)) {
                match = indices->at(next);
                matchedId = id;
            }
        }
        if (match < 0) {
            qCDebug(lcNetwork).noquote() << "translation " + found.pId() + " names no exercise of the reply";
            continue;
        }
        nextOfId[matchedId] = nextOfId.value(matchedId, 0) + 1;
        if (exercises)
            exercises->append(foundExercises.at(match));
        if (translations) {
            translations->append(found);
            // The copy keeps who made the translation.
            translations->last().setUserId(found.userId());
        }
    }
    return QStringLiteral("OK");
}
