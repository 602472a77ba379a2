#include "UploadReply.h"

#include "NetworkLog.h"
#include "PeerReply.h"

namespace {

const QString kExerciseReply = QStringLiteral("uploadExerciseReply");

bool accepted(const PeerReply& reply)
{
    qCDebug(lcNetwork).noquote() << "Reply:\n" + reply.paths().dump() + "\n";
    return reply.status() == QLatin1String("1");
}

QString idAt(const PeerReply& reply, const QString& replyName, const QString& element)
{
    return reply.valueOf(QStringLiteral("body.") + replyName + QLatin1Char('.') + element
                         + QStringLiteral(".persistentmanifestid"));
}

} // namespace

const QString UploadReply::LessonKind = QStringLiteral("uploadLesson");
const QString UploadReply::TranslationKind = QStringLiteral("uploadTranslation");
const QString UploadReply::ExerciseKind = QStringLiteral("uploadExercise");

QString UploadReply::bridgeKind(const QString& kind)
{
    if (kind == LessonKind)
        return QStringLiteral("lesson");
    if (kind == TranslationKind)
        return QStringLiteral("translation");
    return QString();
}

QHash<QString, QString> UploadReply::manifest(const PeerReply& reply, const QString& kind)
{
    const QString replyName = kind + QStringLiteral("Reply");
    if (accepted(reply))
        return {{QStringLiteral("PId"), idAt(reply, replyName, bridgeKind(kind))}};
    // The peer names the error under the reply of its kind or, as it long did, of an exercise.
    QString text = reply.errorDescription(replyName);
    if (text.isEmpty())
        text = reply.errorDescription(kExerciseReply);
    return error(text);
}

QHash<QString, QString> UploadReply::exercise(const PeerReply& reply, bool withSound)
{
    if (!accepted(reply))
        return error(reply.errorDescription(kExerciseReply));
    QHash<QString, QString> result{{QStringLiteral("PId"), idAt(reply, kExerciseReply, QStringLiteral("exercise"))},
                                   {QStringLiteral("PersistentTermId"),
                                    idAt(reply, kExerciseReply, QStringLiteral("term"))}};
    if (withSound)
        result.insert(QStringLiteral("PersistentMediaId"), idAt(reply, kExerciseReply, QStringLiteral("media")));
    return result;
}

QHash<QString, QString> UploadReply::invalidKind(const QString& kind)
{
    return error(QStringLiteral("Invalid manifest type given: ") + kind);
}

QHash<QString, QString> UploadReply::error(const QString& text)
{
    return {{QStringLiteral("Error"), text}};
}

QHash<QString, QString> UploadReply::timedOut()
{
    return {{QStringLiteral("timedOut"), QStringLiteral("yes")}};
}
