#include "ZoLesson.h"

#include "ManifestTemplate.h"
#include "StoreLog.h"
#include "ZoDbHelper.h"

#include <QDomDocument>

namespace {

QString memberKey(int n)
{
    return QStringLiteral("EId") + QString::number(n);
}

QString dashes()
{
    return QString(42, QLatin1Char('-'));
}

} // namespace

ZoLesson::ZoLesson()
    : QObject(nullptr)
{
}

ZoLesson::ZoLesson(QString id, QString pId, QString title, QString description, QString username, QString userId,
                   QString language, QString learnerLevel, QHash<QString, QString> exerciseIds)
    : QObject(nullptr)
    , mId(id)
    , mPId(pId)
    , mTitle(title)
    , mDescription(description)
    , mUsername(username)
    , mUserId(userId)
    , mLanguage(language)
    , mLearnerLevel(learnerLevel)
    , mExerciseIds(exerciseIds)
{
    qCDebug(lcStore) << "##ZoLesson Constructor called##";
}

ZoLesson::ZoLesson(QHash<QString, QString> data)
    : QObject(nullptr)
    , mId(data.value(QStringLiteral("Id")))
    , mPId(data.value(QStringLiteral("PId")))
    , mTitle(data.value(QStringLiteral("Title")))
    , mDescription(data.value(QStringLiteral("Description")))
    , mUsername(data.value(QStringLiteral("Username")))
    , mUserId(data.value(QStringLiteral("UserId")))
    , mLanguage(data.value(QStringLiteral("Language")))
    , mLearnerLevel(data.value(QStringLiteral("LearnerLevel")))
{
    // Members are numbered without gaps; the first missing number ends them.
    for (int n = 1; data.contains(memberKey(n)); ++n) {
        mExerciseIds.insert(memberKey(n), data.value(memberKey(n)));
        mPersistentExerciseIds.insert(memberKey(n), QStringLiteral("0"));
    }
}

ZoLesson::ZoLesson(QHash<QString, QString> t, bool fill)
    : QObject(nullptr)
{
    if (!fill)
        return;
    mPId = t.value(QStringLiteral("manifest.persistentmanifestid"));
    mTitle = t.value(QStringLiteral("textual_manifest.manifesttitle"));
    mDescription = t.value(QStringLiteral("textual_manifest.manifestdescription"));
    mUsername = t.value(QStringLiteral("manifest.suppliedbyusername"));
    {
        ZoDbHelper helper;
        mLanguage = helper.languageName(t.value(QStringLiteral("textual_manifest.langid")));
    }
    mLearnerLevel = t.value(QStringLiteral("textual_manifest.learnerlevelid"));

    const int children = t.value(QStringLiteral("numchildren")).toInt();
    for (int j = 0; j < children; ++j) {
        const QString suffix = children > 1 ? QStringLiteral("#%1").arg(j) : QString();
        mExerciseIds.insert(memberKey(j + 1), QStringLiteral("0"));
        mPersistentExerciseIds.insert(memberKey(j + 1),
                                      t.value(QStringLiteral("exercises.exercise.persistentmanifestid") + suffix));
    }

    auto pair = [&t](const QString& suffix) {
        QHash<QString, QString> kvp;
        kvp.insert(QStringLiteral("typeID"), t.value(QStringLiteral("kvps.kvp.kvptypeid") + suffix));
        kvp.insert(QStringLiteral("value"), t.value(QStringLiteral("kvps.kvp.kvpvalue") + suffix));
        kvp.insert(QStringLiteral("langID"), t.value(QStringLiteral("kvps.kvp.kvplangid") + suffix));
        return kvp;
    };
    mExtraData.clear();
    if (t.contains(QStringLiteral("kvps.kvp.kvptypeid")))
        mExtraData.insert(QStringLiteral("kvp"), pair(QString()));
    for (int j = 0; t.contains(QStringLiteral("kvps.kvp.kvptypeid#%1").arg(j)); ++j)
        mExtraData.insert(QStringLiteral("kvp"), pair(QStringLiteral("#%1").arg(j)));
}

ZoLesson::ZoLesson(const ZoLesson& other)
    : QObject(nullptr)
{
    ZoLesson::assign(other);
}

ZoLesson& ZoLesson::operator=(const ZoLesson& other)
{
    return ZoLesson::assign(other);
}

ZoLesson::~ZoLesson() = default;

ZoLesson& ZoLesson::assign(const ZoLesson& other)
{
    if (&other == this)
        return *this;
    mId = other.mId;
    mPId = other.mPId;
    mTitle = other.mTitle;
    mDescription = other.mDescription;
    mUsername = other.mUsername;
    mUserId = other.mUserId;
    mLanguage = other.mLanguage;
    mLearnerLevel = other.mLearnerLevel;
    mExerciseIds = other.mExerciseIds;
    mPersistentExerciseIds = other.mPersistentExerciseIds;
    mExtraData = other.mExtraData;
    return *this;
}

QString ZoLesson::id() const
{
    return mId;
}
void ZoLesson::setId(QString id)
{
    mId = id;
}
QString ZoLesson::pId() const
{
    return mPId;
}
void ZoLesson::setPId(QString pId)
{
    mPId = pId;
}
QString ZoLesson::title() const
{
    return mTitle;
}
void ZoLesson::setTitle(QString title)
{
    mTitle = title;
}
QString ZoLesson::description() const
{
    return mDescription;
}
void ZoLesson::setDescription(QString description)
{
    mDescription = description;
}
QString ZoLesson::username() const
{
    return mUsername;
}
void ZoLesson::setUsername(QString username)
{
    mUsername = username;
}
QString ZoLesson::userId() const
{
    return mUserId;
}
void ZoLesson::setUserId(QString userId)
{
    mUserId = userId;
}
QString ZoLesson::language() const
{
    return mLanguage;
}
void ZoLesson::setLanguage(QString language)
{
    mLanguage = language;
}
QString ZoLesson::learnerLevel() const
{
    return mLearnerLevel;
}
void ZoLesson::setLearnerLevel(QString learnerLevel)
{
    mLearnerLevel = learnerLevel;
}
QHash<QString, QString> ZoLesson::exerciseIds() const
{
    return mExerciseIds;
}
void ZoLesson::setExerciseIds(QHash<QString, QString> exerciseIds)
{
    mExerciseIds = exerciseIds;
}
QHash<QString, QString> ZoLesson::persistentExerciseIds() const
{
    return mPersistentExerciseIds;
}

void ZoLesson::setPersistentExerciseIds(QHash<QString, QString> persistentExerciseIds)
{
    mPersistentExerciseIds = persistentExerciseIds;
}

ZoLesson::ExtraMap ZoLesson::extraData() const
{
    return mExtraData;
}
void ZoLesson::setExtraData(ExtraMap extraData)
{
    mExtraData = extraData;
}

void ZoLesson::addExtraData(ExtraMap extraData)
{
    mExtraData.unite(extraData);
}

void ZoLesson::setPersistentExerciseId(int n, QString persistentId)
{
    mPersistentExerciseIds.insert(memberKey(n), persistentId);
}

int ZoLesson::addExercise(QString localId, QString persistentId)
{
    addExerciseId(localId);
    mPersistentExerciseIds.insert(memberKey(int(mExerciseIds.size())), persistentId);
    return 1;
}

int ZoLesson::addExerciseId(QString localId)
{
    mExerciseIds.insert(memberKey(int(mExerciseIds.size()) + 1), localId);
    return 1;
}

int ZoLesson::clearExercises()
{
    mExerciseIds.clear();
    mPersistentExerciseIds.clear();
    return 1;
}

void ZoLesson::clearExtraData()
{
    mExtraData.clear();
}

int ZoLesson::exerciseCount() const
{
    return int(mExerciseIds.size());
}

QString ZoLesson::exerciseId(int i) const
{
    return mExerciseIds.value(memberKey(i + 1));
}

QString ZoLesson::persistentExerciseId(int i) const
{
    return mPersistentExerciseIds.value(memberKey(i + 1));
}

QHash<QString, QString> ZoLesson::toHash() const
{
    QHash<QString, QString> hash;
    hash.insert(QStringLiteral("Id"), mId);
    hash.insert(QStringLiteral("PId"), mPId);
    hash.insert(QStringLiteral("Title"), mTitle);
    hash.insert(QStringLiteral("Description"), mDescription);
    hash.insert(QStringLiteral("Username"), mUsername);
    hash.insert(QStringLiteral("UserId"), mUserId);
    hash.insert(QStringLiteral("Language"), mLanguage);
    hash.insert(QStringLiteral("LearnerLevel"), mLearnerLevel);
    for (auto it = mExerciseIds.constBegin(); it != mExerciseIds.constEnd(); ++it)
        hash.insert(it.key(), it.value());
    return hash;
}

QString ZoLesson::type() const
{
    return QStringLiteral("Lesson");
}

void ZoLesson::dump() const
{
    qCDebug(lcStore).noquote() << "\nDUMPING LESSON\n" + dashes();
    qCDebug(lcStore).noquote() << "*not thoroughly tested*";
    qCDebug(lcStore).noquote() << "Manifest\t" + mId;
    qCDebug(lcStore).noquote() << "PersistentID\t" + mPId;
    qCDebug(lcStore).noquote() << "Title   \t" + mTitle;
    qCDebug(lcStore).noquote() << "Description\t" + mDescription;
    qCDebug(lcStore).noquote() << "Language\t" + mLanguage;
    qCDebug(lcStore).noquote() << "LearnerLevel\t" + mLearnerLevel;
    qCDebug(lcStore).noquote() << "Username\t" + mUsername;
    qCDebug(lcStore).noquote() << "UserId\t" + mUserId;
    qCDebug(lcStore).noquote() << "LMID\tPMID";
    const int members = qMax(mExerciseIds.size(), mPersistentExerciseIds.size());
    for (int i = 1; i <= members; ++i)
        qCDebug(lcStore).noquote() << mExerciseIds.value(memberKey(i)) + QLatin1Char('\t')
                                          + mPersistentExerciseIds.value(memberKey(i));
    qCDebug(lcStore).noquote() << "\nKVPS\n";
    for (auto it = mExtraData.constBegin(); it != mExtraData.constEnd(); ++it) {
        qCDebug(lcStore).noquote() << it.key();
        qCDebug(lcStore).noquote() << dashes();
        const QHash<QString, QString>& pairs = it.value();
        for (auto p = pairs.constBegin(); p != pairs.constEnd(); ++p)
            qCDebug(lcStore).noquote() << p.key() + ": " + p.value();
    }
    qCDebug(lcStore).noquote() << "\nEND DUMP OF LESSON\n" + dashes();
}

QString ZoLesson::manifestXml(QString localId)
{
    ZoDbHelper helper;
    const QList<QHash<QString, QString>> members = helper.lessonExercises(localId);
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("lesson"));
    root.setAttribute(QStringLiteral("numChildren"), QString::number(members.size()));
    document.appendChild(root);
    root.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("manifest"),
                                                       ManifestTemplate::LessonManifest,
                                                       helper.manifestRecord(localId)));
    root.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("textual_manifest"),
                                                       ManifestTemplate::LessonTextualManifest,
                                                       helper.textualManifestRecord(localId)));
    QDomElement exercises = document.createElement(QStringLiteral("exercises"));
    for (const QHash<QString, QString>& member : members)
        exercises.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("exercise"),
                                                                ManifestTemplate::LessonMember, member));
    root.appendChild(exercises);
    root.appendChild(ManifestTemplate::kvpsElement(document, helper, localId));
    return ManifestTemplate::documentText(document);
}
