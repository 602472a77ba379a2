#include "ZoTranslation.h"

#include "ManifestTemplate.h"
#include "NetworkLog.h"
#include "ZoDbHelper.h"

#include <QDomDocument>

namespace {

ZoTranslation::Kvp kvpFrom(const QHash<QString, QString>& values, const QString& suffix)
{
    return {{QStringLiteral("typeID"), values.value(QStringLiteral("kvps.kvp.kvptypeid") + suffix)},
            {QStringLiteral("value"), values.value(QStringLiteral("kvps.kvp.kvpvalue") + suffix)},
            {QStringLiteral("langID"), values.value(QStringLiteral("kvps.kvp.langid") + suffix)}};
}

} // namespace

ZoTranslation::ZoTranslation() = default;

ZoTranslation::ZoTranslation(QHash<QString, QString> values)
{
    mId = QStringLiteral("0");
    mPId = values.value(QStringLiteral("manifest.persistentmanifestid"));
    mValue = values.value(QStringLiteral("textual_manifest.manifestvalue"));
    mDescription = values.value(QStringLiteral("textual_manifest.manifestdescription"));
    mUserId = values.value(QStringLiteral("manifest.suppliedbyuserid"));
    {
        ZoDbHelper helper;
        mUsername = mUserId.isEmpty() ? QString() : helper.userNameOf(mUserId);
    }
    mLangId = values.value(QStringLiteral("textual_manifest.langid"));
    mLearnerLevel = values.value(QStringLiteral("textual_manifest.learnerlevelid"));
    mCountryCode = values.value(QStringLiteral("textual_manifest.countryid"));

    // A path met once has no suffix: a translation naming one exercise keeps it.
    const QString member = QStringLiteral("exercises.exercise.persistentmanifestid");
    const bool single = values.contains(member);
    for (int i = 0; i < 2; ++i) {
        mExerciseIds.append(QStringLiteral("0"));
        if (single)
            mPersistentExerciseIds.append(i == 0 ? values.value(member) : QString());
        else
            mPersistentExerciseIds.append(values.value(member + QStringLiteral("#%1").arg(i)));
    }

    const QString typePath = QStringLiteral("kvps.kvp.kvptypeid");
    if (values.contains(typePath)) {
        mKvps.append(kvpFrom(values, QString()));
        qCDebug(lcNetwork).noquote() << "value is " + mKvps.last().value(QStringLiteral("value"));
        qCDebug(lcNetwork).noquote() << "langID is " + mKvps.last().value(QStringLiteral("langID"));
        qCDebug(lcNetwork).noquote() << QStringLiteral("KVPS# is %1").arg(mKvps.size());
    } else {
        for (int n = 0; values.contains(typePath + QStringLiteral("#%1").arg(n)); ++n)
            mKvps.append(kvpFrom(values, QStringLiteral("#%1").arg(n)));
    }
}

ZoTranslation::ZoTranslation(const ZoTranslation& other)
    : QObject()
{
    assign(other);
}

ZoTranslation& ZoTranslation::operator=(const ZoTranslation& other)
{
    return assign(other);
}

ZoTranslation::~ZoTranslation() = default;

ZoTranslation& ZoTranslation::assign(const ZoTranslation& other)
{
    if (&other == this)
        return *this;
    mId = other.mId;
    mPId = other.mPId;
    mValue = other.mValue;
    mUsername = other.mUsername;
    mCountryCode = other.mCountryCode;
    mLangId = other.mLangId;
    mLearnerLevel = other.mLearnerLevel;
    mExerciseIds = other.mExerciseIds;
    mPersistentExerciseIds = other.mPersistentExerciseIds;
    mKvps = other.mKvps;
    return *this;
}

QString ZoTranslation::id() const
{
    return mId;
}
void ZoTranslation::setId(QString id)
{
    mId = id;
}
QString ZoTranslation::pId() const
{
    return mPId;
}
void ZoTranslation::setPId(QString pId)
{
    mPId = pId;
}
QString ZoTranslation::title() const
{
    return mTitle;
}
void ZoTranslation::setTitle(QString title)
{
    mTitle = title;
}
QString ZoTranslation::description() const
{
    return mDescription;
}
void ZoTranslation::setDescription(QString description)
{
    mDescription = description;
}
QString ZoTranslation::username() const
{
    return mUsername;
}
void ZoTranslation::setUsername(QString username)
{
    mUsername = username;
}
QString ZoTranslation::userId() const
{
    return mUserId;
}
void ZoTranslation::setUserId(QString userId)
{
    mUserId = userId;
}
QString ZoTranslation::countryCode() const
{
    return mCountryCode;
}
void ZoTranslation::setCountryCode(QString countryCode)
{
    mCountryCode = countryCode;
}
QString ZoTranslation::langId() const
{
    return mLangId;
}
void ZoTranslation::setLangId(QString langId)
{
    mLangId = langId;
}
QString ZoTranslation::learnerLevel() const
{
    return mLearnerLevel;
}
void ZoTranslation::setLearnerLevel(QString learnerLevel)
{
    mLearnerLevel = learnerLevel;
}
QStringList ZoTranslation::exerciseIds() const
{
    return mExerciseIds;
}
void ZoTranslation::setExerciseIds(QStringList exerciseIds)
{
    mExerciseIds = exerciseIds;
}
QStringList ZoTranslation::persistentExerciseIds() const
{
    return mPersistentExerciseIds;
}
void ZoTranslation::setPersistentExerciseIds(QStringList ids)
{
    mPersistentExerciseIds = ids;
}
QString ZoTranslation::parentLmid() const
{
    return mParentLmid;
}
void ZoTranslation::setParentLmid(QString parentLmid)
{
    mParentLmid = parentLmid;
}
QString ZoTranslation::parentPmid() const
{
    return mParentPmid;
}
void ZoTranslation::setParentPmid(QString parentPmid)
{
    mParentPmid = parentPmid;
}
QList<ZoTranslation::Kvp> ZoTranslation::kvps() const
{
    return mKvps;
}
void ZoTranslation::setKvps(QList<Kvp> kvps)
{
    mKvps = kvps;
}

QHash<QString, QString> ZoTranslation::toHash() const
{
    return {{QStringLiteral("Id"), mId},
            {QStringLiteral("PId"), mPId},
            {QStringLiteral("Value"), mValue},
            {QStringLiteral("Username"), mUsername},
            {QStringLiteral("CountryCode"), mCountryCode},
            {QStringLiteral("LangId"), mLangId},
            {QStringLiteral("LearnerLevel"), mLearnerLevel}};
}

QString ZoTranslation::type() const
{
    return QStringLiteral("Translation");
}

QString ZoTranslation::value() const
{
    return mValue;
}

QString ZoTranslation::manifestXml(QString localId)
{
    ZoDbHelper helper;
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("translation"));
    document.appendChild(root);
    root.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("manifest"),
                                                       ManifestTemplate::LessonManifest,
                                                       helper.manifestRecord(localId)));
    root.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("textual_manifest"),
                                                       ManifestTemplate::TranslationTextualManifest,
                                                       helper.textualManifestRecord(localId)));
    QDomElement exercises = document.createElement(QStringLiteral("exercises"));
    const QList<QHash<QString, QString>> members = helper.translationExercises(localId);
    for (const QHash<QString, QString>& member : members)
        exercises.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("exercise"),
                                                                ManifestTemplate::TranslationMember, member));
    root.appendChild(exercises);
    root.appendChild(ManifestTemplate::kvpsElement(document, helper, localId));
    return ManifestTemplate::documentText(document);
}
