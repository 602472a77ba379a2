#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// A translation received from the network: it links two exercises (a term
// and its counterpart in another language) and carries its own text,
// language, learner level and key-value pairs. Other deliverables use it only
// through its virtual operations, so their order must not change.
class ZoTranslation : public QObject
{
    Q_OBJECT
public:
    using Kvp = QHash<QString, QString>;

    ZoTranslation();
    // From the path table of a downloaded translation (paths below its root).
    explicit ZoTranslation(QHash<QString, QString> values);
    // Copies what assign() copies.
    ZoTranslation(const ZoTranslation& other);
    ZoTranslation& operator=(const ZoTranslation& other);
    ~ZoTranslation() override;

    // Takes Id, PId, Value, Username, CountryCode, LangId, LearnerLevel, the
    // exercise ids and the key-value pairs; the other members stay.
    virtual ZoTranslation& assign(const ZoTranslation& other);
    virtual QString id() const;
    virtual void setId(QString id);
    virtual QString pId() const;
    virtual void setPId(QString pId);
    virtual QString title() const;
    virtual void setTitle(QString title);
    virtual QString description() const;
    virtual void setDescription(QString description);
    virtual QString username() const;
    virtual void setUsername(QString username);
    virtual QString userId() const;
    virtual void setUserId(QString userId);
    virtual QString countryCode() const;
    virtual void setCountryCode(QString countryCode);
    virtual QString langId() const;
    virtual void setLangId(QString langId);
    virtual QString learnerLevel() const;
    virtual void setLearnerLevel(QString learnerLevel);
    virtual QStringList exerciseIds() const;
    virtual void setExerciseIds(QStringList exerciseIds);
    virtual QStringList persistentExerciseIds() const;
    virtual void setPersistentExerciseIds(QStringList persistentExerciseIds);
    virtual QString parentLmid() const;
    virtual void setParentLmid(QString parentLmid);
    virtual QString parentPmid() const;
    virtual void setParentPmid(QString parentPmid);
    virtual QList<Kvp> kvps() const;
    virtual void setKvps(QList<Kvp> kvps);
    // Exactly "Id", "PId", "Value", "Username", "CountryCode", "LangId", "LearnerLevel".
    virtual QHash<QString, QString> toHash() const;
    // "Translation".
    virtual QString type() const;

    // The value text; it has no virtual accessor of its own.
    QString value() const;
    // Upload document of the stored translation with that local id.
    static QString manifestXml(QString localId);

private:
    QString mParentLmid;
    QString mParentPmid;
    QString mId;
    QString mPId;
    QString mUsername;
    QString mUserId;
    QString mTitle;
    QString mValue;
    QString mDescription;
    QString mCountryCode;
    QString mLangId;
    QString mLearnerLevel;
    QStringList mExerciseIds;
    QStringList mPersistentExerciseIds;
    QList<Kvp> mKvps;
};
