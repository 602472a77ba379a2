#include "DownloadStore.h"

#include "BoundedXml.h"
#include "ContentGate.h"
#include "IDbManager.h"
#include "XmlPathMap.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoTranslation.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNamedNodeMap>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <memory>

namespace {

bool hasAttributeNamed(const QDomElement& element, const QString& name)
{
    const QDomNamedNodeMap attributes = element.attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        if (attributes.item(i).nodeName().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

DownloadStore::DownloadStore(IDbManager* store)
    : mStore(store)
{
}

int DownloadStore::memberCount(const ZoLesson& lesson)
{
    int n = 0;
    while (!lesson.persistentExerciseId(n).isNull())
        ++n;
    return n;
}

DownloadFailure DownloadStore::refusalOfLesson(const ZoLesson& lesson)
{
    const int n = memberCount(lesson);
    if (n > ContentGate::MaxLessonMembers)
        return DownloadFailure::TooManyMembers;
    for (int i = 0; i < n; ++i) {
        if (lesson.persistentExerciseId(i) == lesson.pId())
            return DownloadFailure::ListsItself;
    }
    return DownloadFailure::None;
}

DownloadFailure DownloadStore::refusalOf(const QDomElement& exercise, QString* mediaName)
{
    const QString fileNameTag = QStringLiteral("mediaManifestFileName");
    const QList<QDomElement> media = XmlPathMap::childrenNamed(exercise, QStringLiteral("media"));
    const QList<QDomElement> manifests = media.size() == 1 ? XmlPathMap::childrenNamed(media.first(),
                                                                                       QStringLiteral("media_manifest"))
                                                           : QList<QDomElement>();
    const QList<QDomElement> names = manifests.size() == 1 ? XmlPathMap::childrenNamed(manifests.first(), fileNameTag)
                                                           : QList<QDomElement>();
    if (names.size() != 1 || hasAttributeNamed(manifests.first(), fileNameTag)
        || !names.first().firstChildElement().isNull())
        return DownloadFailure::NotOneSound;
    const QString name = names.first().text().trimmed();
    if (!ContentGate::isPlainFileName(name))
        return DownloadFailure::SoundNameNotPlain;
    int fields = 0;
    for (const QDomElement& kvps : XmlPathMap::childrenNamed(exercise, QStringLiteral("kvps")))
        fields += int(XmlPathMap::childrenNamed(kvps, QStringLiteral("kvp")).size());
    if (fields > ContentGate::MaxFieldsPerExercise)
        return DownloadFailure::TooManyFields;
    if (mediaName)
        *mediaName = name;
    return DownloadFailure::None;
}

DownloadFailure DownloadStore::glance(const QString& text, QString* mediaName)
{
    // The open elements from the exercise down (the first element named
    // "exercise", as exerciseElement finds it); empty before it.
    QStringList open;
    const QStringList kvp{QStringLiteral("kvps"), QStringLiteral("kvp")};
    const QStringList name{QStringLiteral("media"), QStringLiteral("media_manifest"),
                           QStringLiteral("mediaManifestFileName")};
    auto at = [&open](const QStringList& below) {
        if (open.size() != below.size() + 1)
            return false;
        for (qsizetype i = 0; i < below.size(); ++i) {
            if (open.at(i + 1).compare(below.at(i), Qt::CaseInsensitive) != 0)
                return false;
        }
        return true;
    };
    int fields = 0;
    bool named = false;
    QString nameText;
    auto visit = [&](const QXmlStreamReader& reader) {
        switch (reader.tokenType()) {
        case QXmlStreamReader::StartElement:
            if (open.isEmpty() && reader.qualifiedName() != QLatin1String("exercise"))
                return true;
            open.append(reader.qualifiedName().toString());
            if (at(kvp))
                return ++fields <= ContentGate::MaxFieldsPerExercise;
            return true;
        case QXmlStreamReader::Characters:
            if (!named && at(name))
                nameText += reader.text();
            return true;
        case QXmlStreamReader::EndElement:
            if (open.isEmpty())
                return true;
            if (!named && at(name))
                named = true;
            open.removeLast();
            // The exercise is all there is to look at.
            return !open.isEmpty();
        default:
            return true;
        }
    };
    BoundedXml::Limits limits;
    BoundedXml::read(text, limits, nullptr, visit);
    if (mediaName && named)
        *mediaName = nameText.trimmed();
    return fields > ContentGate::MaxFieldsPerExercise ? DownloadFailure::TooManyFields : DownloadFailure::None;
}

QString DownloadStore::persistentIdOf(const QDomElement& exercise)
{
    const QList<QDomElement> manifests = XmlPathMap::childrenNamed(exercise, QStringLiteral("manifest"));
    if (manifests.size() != 1)
        return QString();
    const QDomNamedNodeMap attributes = manifests.first().attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        if (attributes.item(i).nodeName().compare(QLatin1String("persistentManifestID"), Qt::CaseInsensitive) == 0)
            return attributes.item(i).nodeValue().trimmed();
    }
    return QString();
}

QDomElement DownloadStore::exerciseElement(const QString& text, QDomDocument* document)
{
    BoundedXml::Error error;
    const QDomElement element = BoundedXml::parse(text, document, &error)
                                    ? document->elementsByTagName(QStringLiteral("exercise")).item(0).toElement()
                                    : QDomElement();
    if (element.isNull())
        BoundedXml::report(error);
    return element;
}

DownloadFailure DownloadStore::soundRefusal(const ZoExercise& exercise)
{
    const QString path = ContentGate::filePathIn(exercise.mediaPath(), exercise.mediaName());
    if (!QFileInfo::exists(path) || ContentGate::isWavFile(path))
        return DownloadFailure::None;
    return DownloadFailure::SoundRefused;
}

bool DownloadStore::isExerciseStored(const QString& persistentId) const
{
    return mHelper.isExerciseStored(persistentId);
}

bool DownloadStore::isLessonStored(const QString& persistentId) const
{
    return mHelper.countByPersistentId(persistentId) != 0;
}

bool DownloadStore::isSoundStored(const QString& mediaName) const
{
    return mStore && mHelper.isSoundFileStored(mediaName);
}

int DownloadStore::localIdOf(const QString& persistentId) const
{
    return mHelper.localIdOf(persistentId);
}

void DownloadStore::addTranslations(const QList<ZoTranslation>& translations, const QList<ZoExercise>& terms,
                                    ZoExercise* target) const
{
    const int count = int(qMin(translations.size(), terms.size()));
    // A translation the peer sent again (the same apart from its own id) adds nothing.
    auto sameness = [](QHash<QString, QString> field) {
        field.remove(QStringLiteral("PersistentTranslationId"));
        QStringList keys = field.keys();
        keys.sort();
        QString text;
        for (const QString& key : std::as_const(keys))
            text += key + QLatin1Char('\0') + field.value(key) + QLatin1Char('\0');
        return text;
    };
    QSet<QString> added;
    for (const auto& field : target->fields().values(QStringLiteral("Translation")))
        added.insert(sameness(field));
    for (int i = 0; i < count; ++i) {
        const ZoTranslation& translation = translations.at(i);
        const ZoExercise& term = terms.at(i);
        QHash<QString, QString> field{{QStringLiteral("Value"), term.term()},
                                      {QStringLiteral("Language"), term.language()},
                                      {QStringLiteral("PersistentTranslationId"), translation.pId()},
                                      {QStringLiteral("PersistentTrExerciseId"), term.pId()},
                                      {QStringLiteral("PersistentTrTermId"), term.persistentTermId()},
                                      {QStringLiteral("Username"), translation.username()},
                                      {QStringLiteral("UserId"), translation.userId()}};
        for (const ZoTranslation::Kvp& kvp : translation.kvps()) {
            field.insert(QStringLiteral("Context"), kvp.value(QStringLiteral("value")));
            field.insert(QStringLiteral("Context_Language"), mHelper.languageName(kvp.value(QStringLiteral("langID"))));
        }
        if (!added.contains(sameness(field))) {
            added.insert(sameness(field));
            target->addField(QStringLiteral("Translation"), field);
        }
    }
}

int DownloadStore::storeExercise(ZoExercise* exercise)
{
    exercise->setFluencyLevel(mHelper.fluencyLevelName(exercise->fluencyLevel()));
    exercise->dump();
    if (!mStore)
        return 0;
    mStore->insertExercise(QStringLiteral("Exercise"), exercise);
    return mHelper.localIdOf(exercise->pId());
}

DownloadFailure DownloadStore::storeLesson(ZoLesson* lesson)
{
    lesson->setLanguage(mHelper.languageName(lesson->language()));
    lesson->setLearnerLevel(mHelper.learnerLevelName(lesson->learnerLevel()));
    lesson->dump();
    const std::unique_ptr<QObject> stored(mStore ? mStore->insert(QStringLiteral("Lesson"), lesson->toHash())
                                                 : nullptr);
    if (!stored || !isLessonStored(lesson->pId()))
        return DownloadFailure::NotStored;
    return DownloadFailure::None;
}

void DownloadStore::takeStoredMembers(ZoLesson* lesson) const
{
    lesson->setExerciseIds({});
    for (int i = 0; !lesson->persistentExerciseId(i).isNull(); ++i) {
        const int localId = mHelper.localIdOf(lesson->persistentExerciseId(i));
        if (localId > 0)
            lesson->addExerciseId(QString::number(localId));
    }
}

bool DownloadStore::takeStoredCopy(ZoExercise* exercise) const
{
    const std::unique_ptr<ZoExercise> stored(
        mStore ? mStore->getExercise(QStringLiteral("Exercise"), QString::number(mHelper.localIdOf(exercise->pId())))
               : nullptr);
    if (!stored)
        return false;
    exercise->assign(*stored);
    exercise->dump();
    return true;
}

ZoDbHelper* DownloadStore::lookup()
{
    return &mHelper;
}
