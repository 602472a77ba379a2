#pragma once

#include <QHash>
#include <QMultiHash>
#include <QObject>
#include <QString>
#include <QStringList>

// One exercise: a study term with its language, its recording, the speaker
// and typed fields such as translations. Other deliverables use it only
// through its virtual operations, so their order must not change.
class ZoExercise : public QObject
{
    Q_OBJECT
public:
    // Field name (such as "Translation") to the field's values; one name may
    // occur several times.
    using FieldMap = QMultiHash<QString, QHash<QString, QString>>;

    ZoExercise();
    // Reads the keys of toHash() except "Status" and the three ids, which
    // follow the names of language, country and fluency level.
    explicit ZoExercise(QHash<QString, QString> data);
    ZoExercise(QString id, QString pId, QString term, QString language, QString localeDesc, QString mediaPath,
               QString mediaName, QString country, QString fluencyLevel, QString stateProv, QString locality,
               QString voice, QString termId, QString persistentTermId, QString mediaId, QString persistentMediaId,
               QString status, QString creator, QString creatorUid, QString voiceUid);
    ZoExercise(const ZoExercise& other);
    ZoExercise& operator=(const ZoExercise& other);
    ~ZoExercise() override;

    virtual ZoExercise& assign(const ZoExercise& other);
    virtual QString id() const;
    virtual void setId(QString id);
    virtual QString pId() const;
    virtual void setPId(QString pId);
    virtual QString term() const;
    virtual void setTerm(QString term);
    virtual QString language() const;
    virtual QString languageId() const;
    // Also sets the language id from the language resource.
    virtual void setLanguage(QString language);
    virtual QString mediaPath() const;
    virtual void setMediaPath(QString mediaPath);
    virtual QString mediaName() const;
    virtual void setMediaName(QString mediaName);
    virtual QString voice() const;
    virtual void setVoice(QString voice);
    virtual QString country() const;
    virtual QString countryId() const;
    // Also sets the country id from the country resource.
    virtual void setCountry(QString country);
    virtual QString fluencyLevel() const;
    virtual QString fluencyLevelId() const;
    // Also sets the fluency-level id from the fluency-level resource.
    virtual void setFluencyLevel(QString fluencyLevel);
    virtual QString stateProv() const;
    virtual void setStateProv(QString stateProv);
    virtual QString locality() const;
    virtual void setLocality(QString locality);
    virtual QString localeDesc() const;
    virtual void setLocaleDesc(QString localeDesc);
    virtual QString termId() const;
    virtual void setTermId(QString termId);
    virtual QString persistentTermId() const;
    virtual void setPersistentTermId(QString persistentTermId);
    virtual QString mediaId() const;
    virtual void setMediaId(QString mediaId);
    virtual QString persistentMediaId() const;
    virtual void setPersistentMediaId(QString persistentMediaId);
    virtual QString status() const;
    virtual void setStatus(QString status);
    virtual QString creator() const;
    virtual void setCreator(QString creator);
    virtual QString creatorUid() const;
    virtual void setCreatorUid(QString creatorUid);
    virtual QString voiceUid() const;
    virtual void setVoiceUid(QString voiceUid);
    virtual FieldMap fields() const;
    // Adds another entry under name unless values["Value"] is empty or
    // values["Language"] is the "Select Language" placeholder.
    virtual void addField(QString name, QHash<QString, QString> values);
    // The 22 text keys; no fluency-level id, no fields.
    virtual QHash<QString, QString> toHash() const;
    // "Exercise".
    virtual QString type() const;
    // Upload document built from the stored rows of Id, TermId and MediaId.
    virtual QString manifestXml() const;
    // One document per translation group the stored exercise belongs to.
    virtual QStringList translationManifestsXml() const;
    virtual void dump() const;

private:
    QString mId;
    QString mPId;
    QString mTermId;
    QString mPersistentTermId;
    QString mTerm;
    QString mLanguage;
    QString mLanguageId;
    QString mCreator;
    QString mCreatorUid;
    QString mLocaleDesc;
    QString mMediaPath;
    QString mMediaName;
    QString mCountry;
    QString mCountryId;
    QString mStateProv;
    QString mLocality;
    QString mVoice;
    QString mVoiceUid;
    QString mFluencyLevel;
    QString mFluencyLevelId;
    QString mMediaId;
    QString mPersistentMediaId;
    QString mStatus;
    FieldMap mFields;
};
