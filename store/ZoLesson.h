#pragma once

#include <QHash>
#include <QMultiHash>
#include <QObject>
#include <QString>

// A titled, ordered list of exercises. Member n (from 1) is the entry
// "EId" + n of both id hashes. Other deliverables use it only through its
// virtual operations, so their order must not change.
class ZoLesson : public QObject
{
    Q_OBJECT
public:
    // Several entries may share a key (the network manager files key-value
    // pairs under "kvp").
    using ExtraMap = QMultiHash<QString, QHash<QString, QString>>;

    ZoLesson();
    ZoLesson(QString id, QString pId, QString title, QString description, QString username, QString userId,
             QString language, QString learnerLevel, QHash<QString, QString> exerciseIds);
    // Reads the keys of toHash(); members EId1, EId2, ... up to the first gap,
    // each with persistent id "0".
    explicit ZoLesson(QHash<QString, QString> data);
    // From the path table of a downloaded lesson; with fill false it stays blank.
    ZoLesson(QHash<QString, QString> pathTable, bool fill);
    ZoLesson(const ZoLesson& other);
    ZoLesson& operator=(const ZoLesson& other);
    ~ZoLesson() override;

    virtual ZoLesson& assign(const ZoLesson& other);
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
    virtual QString language() const;
    virtual void setLanguage(QString language);
    virtual QString learnerLevel() const;
    virtual void setLearnerLevel(QString learnerLevel);
    virtual QHash<QString, QString> exerciseIds() const;
    virtual void setExerciseIds(QHash<QString, QString> exerciseIds);
    virtual QHash<QString, QString> persistentExerciseIds() const;
    virtual void setPersistentExerciseIds(QHash<QString, QString> persistentExerciseIds);
    virtual ExtraMap extraData() const;
    virtual void setExtraData(ExtraMap extraData);
    // Adds every entry; entries already under the same key stay.
    virtual void addExtraData(ExtraMap extraData);
    // persistentExerciseIds["EId" + n]; the local ids are not touched.
    virtual void setPersistentExerciseId(int n, QString persistentId);
    virtual int addExercise(QString localId, QString persistentId);
    virtual int addExerciseId(QString localId);
    virtual int clearExercises();
    virtual void clearExtraData();
    virtual int exerciseCount() const;
    // Member i + 1 (i from 0); empty past the last.
    virtual QString exerciseId(int i) const;
    virtual QString persistentExerciseId(int i) const;
    // The eight texts and the local member ids.
    virtual QHash<QString, QString> toHash() const;
    // "Lesson".
    virtual QString type() const;

    void dump() const;
    // Upload document of the stored lesson with that local id.
    static QString manifestXml(QString localId);

private:
    QString mId;
    QString mPId;
    QString mTitle;
    QString mDescription;
    QString mUsername;
    QString mUserId;
    QString mLanguage;
    QString mLearnerLevel;
    QHash<QString, QString> mExerciseIds;
    QHash<QString, QString> mPersistentExerciseIds;
    ExtraMap mExtraData;
};
