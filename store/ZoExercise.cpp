#include "ZoExercise.h"

#include "ManifestTemplate.h"
#include "StoreLog.h"
#include "ZoDbHelper.h"

#include <QDomDocument>

ZoExercise::ZoExercise()
    : QObject(nullptr)
{
}

ZoExercise::ZoExercise(QHash<QString, QString> data)
    : QObject(nullptr)
{
    ZoDbHelper helper;
    mId = data.value(QStringLiteral("Id"));
    mPId = data.value(QStringLiteral("PId"));
    mTerm = data.value(QStringLiteral("Term"));
    mLanguage = data.value(QStringLiteral("Language"));
    mLanguageId = helper.languageId(mLanguage);
    mLocaleDesc = data.value(QStringLiteral("LocaleDesc"));
    mMediaPath = data.value(QStringLiteral("MediaPath"));
    mMediaName = data.value(QStringLiteral("MediaName"));
    mCountry = data.value(QStringLiteral("Country"));
    mCountryId = helper.countryId(mCountry);
    mFluencyLevel = data.value(QStringLiteral("FluencyLevel"));
    mFluencyLevelId = helper.fluencyLevelId(mFluencyLevel);
    mStateProv = data.value(QStringLiteral("StateProv"));
    mLocality = data.value(QStringLiteral("Locality"));
    mVoice = data.value(QStringLiteral("Voice"));
    mTermId = data.value(QStringLiteral("TermId"));
    mPersistentTermId = data.value(QStringLiteral("PersistentTermId"));
    mMediaId = data.value(QStringLiteral("MediaId"));
    mPersistentMediaId = data.value(QStringLiteral("PersistentMediaId"));
    mCreator = data.value(QStringLiteral("Creator"));
    mCreatorUid = data.value(QStringLiteral("CreatorUid"));
    mVoiceUid = data.value(QStringLiteral("VoiceUid"));
}

ZoExercise::ZoExercise(QString id, QString pId, QString term, QString language, QString localeDesc, QString mediaPath,
                       QString mediaName, QString country, QString fluencyLevel, QString stateProv, QString locality,
                       QString voice, QString termId, QString persistentTermId, QString mediaId,
                       QString persistentMediaId, QString status, QString creator, QString creatorUid, QString voiceUid)
    : QObject(nullptr)
    , mId(id)
    , mPId(pId)
    , mTermId(termId)
    , mPersistentTermId(persistentTermId)
    , mTerm(term)
    , mLanguage(language)
    , mCreator(creator)
    , mCreatorUid(creatorUid)
    , mLocaleDesc(localeDesc)
    , mMediaPath(mediaPath)
    , mMediaName(mediaName)
    , mCountry(country)
    , mStateProv(stateProv)
    , mLocality(locality)
    , mVoice(voice)
    , mVoiceUid(voiceUid)
    , mFluencyLevel(fluencyLevel)
    , mMediaId(mediaId)
    , mPersistentMediaId(persistentMediaId)
    , mStatus(status)
{
    ZoDbHelper helper;
    mLanguageId = helper.languageId(mLanguage);
    mCountryId = helper.countryId(mCountry);
    mFluencyLevelId = helper.fluencyLevelId(mFluencyLevel);
}

ZoExercise::ZoExercise(const ZoExercise& other)
    : QObject(nullptr)
{
    ZoExercise::assign(other);
}

ZoExercise& ZoExercise::operator=(const ZoExercise& other)
{
    return ZoExercise::assign(other);
}

ZoExercise::~ZoExercise() = default;

ZoExercise& ZoExercise::assign(const ZoExercise& other)
{
    if (&other == this)
        return *this;
    mId = other.mId;
    mPId = other.mPId;
    mTermId = other.mTermId;
    mPersistentTermId = other.mPersistentTermId;
    mTerm = other.mTerm;
    mLanguage = other.mLanguage;
    mLanguageId = other.mLanguageId;
    mCreator = other.mCreator;
    mCreatorUid = other.mCreatorUid;
    mLocaleDesc = other.mLocaleDesc;
    mMediaPath = other.mMediaPath;
    mMediaName = other.mMediaName;
    mCountry = other.mCountry;
    mCountryId = other.mCountryId;
    mStateProv = other.mStateProv;
    mLocality = other.mLocality;
    mVoice = other.mVoice;
    mVoiceUid = other.mVoiceUid;
    mFluencyLevel = other.mFluencyLevel;
    mFluencyLevelId = other.mFluencyLevelId;
    mMediaId = other.mMediaId;
    mPersistentMediaId = other.mPersistentMediaId;
    mStatus = other.mStatus;
    mFields = other.mFields;
    return *this;
}

QString ZoExercise::id() const
{
    return mId;
}
void ZoExercise::setId(QString id)
{
    mId = id;
}
QString ZoExercise::pId() const
{
    return mPId;
}
void ZoExercise::setPId(QString pId)
{
    mPId = pId;
}
QString ZoExercise::term() const
{
    return mTerm;
}
void ZoExercise::setTerm(QString term)
{
    mTerm = term;
}
QString ZoExercise::language() const
{
    return mLanguage;
}
QString ZoExercise::languageId() const
{
    return mLanguageId;
}

// The helpers below live for the whole process; a helper without a database
// holds no connection, so nothing of them outlives the application object.
void ZoExercise::setLanguage(QString language)
{
    static ZoDbHelper helper;
    mLanguage = language;
    mLanguageId = helper.languageId(language);
}

QString ZoExercise::mediaPath() const
{
    return mMediaPath;
}
void ZoExercise::setMediaPath(QString mediaPath)
{
    mMediaPath = mediaPath;
}
QString ZoExercise::mediaName() const
{
    return mMediaName;
}
void ZoExercise::setMediaName(QString mediaName)
{
    mMediaName = mediaName;
}
QString ZoExercise::voice() const
{
    return mVoice;
}
void ZoExercise::setVoice(QString voice)
{
    mVoice = voice;
}
QString ZoExercise::country() const
{
    return mCountry;
}
QString ZoExercise::countryId() const
{
    return mCountryId;
}

void ZoExercise::setCountry(QString country)
{
    static ZoDbHelper helper;
    mCountry = country;
    mCountryId = helper.countryId(country);
}

QString ZoExercise::fluencyLevel() const
{
    return mFluencyLevel;
}
QString ZoExercise::fluencyLevelId() const
{
    return mFluencyLevelId;
}

void ZoExercise::setFluencyLevel(QString fluencyLevel)
{
    static ZoDbHelper helper;
    mFluencyLevel = fluencyLevel;
    mFluencyLevelId = helper.fluencyLevelId(fluencyLevel);
}

QString ZoExercise::stateProv() const
{
    return mStateProv;
}
void ZoExercise::setStateProv(QString stateProv)
{
    mStateProv = stateProv;
}
QString ZoExercise::locality() const
{
    return mLocality;
}
void ZoExercise::setLocality(QString locality)
{
    mLocality = locality;
}
QString ZoExercise::localeDesc() const
{
    return mLocaleDesc;
}
void ZoExercise::setLocaleDesc(QString localeDesc)
{
    mLocaleDesc = localeDesc;
}
QString ZoExercise::termId() const
{
    return mTermId;
}
void ZoExercise::setTermId(QString termId)
{
    mTermId = termId;
}
QString ZoExercise::persistentTermId() const
{
    return mPersistentTermId;
}
void ZoExercise::setPersistentTermId(QString persistentTermId)
{
    mPersistentTermId = persistentTermId;
}
QString ZoExercise::mediaId() const
{
    return mMediaId;
}
void ZoExercise::setMediaId(QString mediaId)
{
    mMediaId = mediaId;
}
QString ZoExercise::persistentMediaId() const
{
    return mPersistentMediaId;
}
void ZoExercise::setPersistentMediaId(QString persistentMediaId)
{
    mPersistentMediaId = persistentMediaId;
}
QString ZoExercise::status() const
{
    return mStatus;
}
void ZoExercise::setStatus(QString status)
{
    mStatus = status;
}
QString ZoExercise::creator() const
{
    return mCreator;
}
void ZoExercise::setCreator(QString creator)
{
    mCreator = creator;
}
QString ZoExercise::creatorUid() const
{
    return mCreatorUid;
}
void ZoExercise::setCreatorUid(QString creatorUid)
{
    mCreatorUid = creatorUid;
}
QString ZoExercise::voiceUid() const
{
    return mVoiceUid;
}
void ZoExercise::setVoiceUid(QString voiceUid)
{
    mVoiceUid = voiceUid;
}
ZoExercise::FieldMap ZoExercise::fields() const
{
    return mFields;
}

void ZoExercise::addField(QString name, QHash<QString, QString> values)
{
    if (values.value(QStringLiteral("Value")).isEmpty()
        || values.value(QStringLiteral("Language")) == tr("Select Language")) {
        qCDebug(lcStore) << "missing field data;no insertion made\n";
        return;
    }
    mFields.insert(name, values);
}

QHash<QString, QString> ZoExercise::toHash() const
{
    QHash<QString, QString> hash;
    hash.insert(QStringLiteral("Id"), mId);
    hash.insert(QStringLiteral("PId"), mPId);
    hash.insert(QStringLiteral("Term"), mTerm);
    hash.insert(QStringLiteral("Language"), mLanguage);
    hash.insert(QStringLiteral("LanguageID"), mLanguageId);
    hash.insert(QStringLiteral("LocaleDesc"), mLocaleDesc);
    hash.insert(QStringLiteral("MediaPath"), mMediaPath);
    hash.insert(QStringLiteral("MediaName"), mMediaName);
    hash.insert(QStringLiteral("Country"), mCountry);
    hash.insert(QStringLiteral("CountryID"), mCountryId);
    hash.insert(QStringLiteral("StateProv"), mStateProv);
    hash.insert(QStringLiteral("Locality"), mLocality);
    hash.insert(QStringLiteral("Voice"), mVoice);
    hash.insert(QStringLiteral("FluencyLevel"), mFluencyLevel);
    hash.insert(QStringLiteral("Status"), mStatus);
    hash.insert(QStringLiteral("MediaId"), mMediaId);
    hash.insert(QStringLiteral("TermId"), mTermId);
    hash.insert(QStringLiteral("PersistentMediaId"), mPersistentMediaId);
    hash.insert(QStringLiteral("PersistentTermId"), mPersistentTermId);
    hash.insert(QStringLiteral("Creator"), mCreator);
    hash.insert(QStringLiteral("CreatorUid"), mCreatorUid);
    hash.insert(QStringLiteral("VoiceUid"), mVoiceUid);
    return hash;
}

QString ZoExercise::type() const
{
    return QStringLiteral("Exercise");
}

QString ZoExercise::manifestXml() const
{
    ZoDbHelper helper;
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("exercise"));
    document.appendChild(root);
    root.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("manifest"), ManifestTemplate::Manifest,
                                                       helper.manifestRecord(mId)));
    root.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("textual_manifest"),
                                                       ManifestTemplate::TextualManifest,
                                                       helper.textualManifestRecord(mId)));
    QDomElement term = document.createElement(QStringLiteral("term"));
    term.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("manifest"), ManifestTemplate::Manifest,
                                                       helper.manifestRecord(mTermId)));
    term.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("textual_manifest"),
                                                       ManifestTemplate::TextualManifest,
                                                       helper.textualManifestRecord(mTermId)));
    root.appendChild(term);
    QDomElement media = document.createElement(QStringLiteral("media"));
    media.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("manifest"),
                                                        ManifestTemplate::Manifest, helper.manifestRecord(mMediaId)));
    media.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("media_manifest"),
                                                        ManifestTemplate::MediaManifest,
                                                        helper.mediaManifestRecord(mMediaId)));
    root.appendChild(media);
    root.appendChild(ManifestTemplate::kvpsElement(document, helper, mId));
    return ManifestTemplate::documentText(document);
}

QStringList ZoExercise::translationManifestsXml() const
{
    ZoDbHelper helper;
    QStringList documents;
    const QStringList groups = helper.translationRelatives(mId);
    for (const QString& group : groups) {
        const QStringList ids = group.split(QLatin1Char(','));
        const QString parent = ids.first();
        QDomDocument document;
        QDomElement root = document.createElement(QStringLiteral("Translation"));
        document.appendChild(root);
        root.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("manifest"),
                                                           ManifestTemplate::ManifestShort,
                                                           helper.manifestRecord(parent)));
        root.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("textual_manifest"),
                                                           ManifestTemplate::TextualManifest,
                                                           helper.textualManifestRecord(parent)));
        for (int i = 1; i < ids.size(); ++i)
            root.appendChild(ManifestTemplate::manifestElement(document, QStringLiteral("Exercise"),
                                                               ManifestTemplate::MemberReference,
                                                               helper.manifestRecord(ids.at(i))));
        root.appendChild(ManifestTemplate::kvpsElement(document, helper, parent));
        const QString text = ManifestTemplate::documentText(document);
        documents.append(text);
        qCDebug(lcStore) << "*** Translation record ***";
        qCDebug(lcStore).noquote() << text;
        qCDebug(lcStore) << QStringLiteral("*").repeated(26);
    }
    return documents;
}

void ZoExercise::dump() const
{
    qCDebug(lcStore).noquote() << "Manifest is " + mId;
    qCDebug(lcStore).noquote() << "PID is " + mPId;
    qCDebug(lcStore).noquote() << "Term is " + mTerm;
    qCDebug(lcStore).noquote() << "Language is " + mLanguage;
    qCDebug(lcStore).noquote() << "LanguageID is " + mLanguageId;
    qCDebug(lcStore).noquote() << "LocaleDesc is " + mLocaleDesc;
    qCDebug(lcStore).noquote() << "MediaPath is " + mMediaPath;
    qCDebug(lcStore).noquote() << "MediaName is " + mMediaName;
    qCDebug(lcStore).noquote() << "Country is " + mCountry;
    qCDebug(lcStore).noquote() << "CountryID is " + mCountryId;
    qCDebug(lcStore).noquote() << "StateProv is " + mStateProv;
    qCDebug(lcStore).noquote() << "FluencyLevel is " + mFluencyLevel;
    qCDebug(lcStore).noquote() << "FluencyLevelID is " + mFluencyLevelId;
    qCDebug(lcStore).noquote() << "Locality is " + mLocality;
    qCDebug(lcStore).noquote() << "Voice is " + mVoice;
    qCDebug(lcStore).noquote() << "VoiceUid is" + mVoiceUid;
    qCDebug(lcStore).noquote() << "TermID is " + mTermId;
    qCDebug(lcStore).noquote() << "TermPersistentID is " + mPersistentTermId;
    qCDebug(lcStore).noquote() << "MediaID is " + mMediaId;
    qCDebug(lcStore).noquote() << "MediaPersistentID is " + mPersistentMediaId;
    qCDebug(lcStore).noquote() << "Status is " + mStatus;
    qCDebug(lcStore).noquote() << "Creator is " + mCreator;
    qCDebug(lcStore).noquote() << "CreatorUid is " + mCreatorUid;
    for (auto it = mFields.constBegin(); it != mFields.constEnd(); ++it) {
        qCDebug(lcStore).noquote() << "\n" + it.key() + "\n" + QString(42, QLatin1Char('-')) + "\n";
        const QHash<QString, QString>& values = it.value();
        for (auto v = values.constBegin(); v != values.constEnd(); ++v)
            qCDebug(lcStore).noquote() << v.key() + ": " + v.value();
    }
}
