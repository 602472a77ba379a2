#pragma once

#include <QHash>
#include <QObject>
#include <QString>

// One language fluency of a user. Other deliverables use it only through its
// virtual operations, so their order must not change.
class ZoUserFluency : public QObject
{
    Q_OBJECT
public:
    ZoUserFluency(QString id, QString language, QString localeDesc, QString fluencyLevel, QString country,
                  QString stateProv, QString locality, QString isStudying);
    ~ZoUserFluency() override;

    virtual QString id() const;
    virtual void setId(QString id);
    virtual QString language() const;
    virtual void setLanguage(QString language);
    virtual QString localeDesc() const;
    virtual void setLocaleDesc(QString localeDesc);
    virtual QString fluencyLevel() const;
    virtual void setFluencyLevel(QString fluencyLevel);
    virtual QString country() const;
    virtual void setCountry(QString country);
    virtual QString stateProv() const;
    virtual void setStateProv(QString stateProv);
    virtual QString locality() const;
    virtual void setLocality(QString locality);
    virtual QString isStudying() const;
    virtual void setIsStudying(QString isStudying);
    // "Id", "Language", "LocaleDesc", "FluencyLevel", "Country", "StateProv",
    // "Locality", "IsStudying".
    virtual QHash<QString, QString> toHash() const;
    // "UserFluency".
    virtual QString type() const;

private:
    QString mId;
    QString mLanguage;
    QString mLocaleDesc;
    QString mFluencyLevel;
    QString mCountry;
    QString mStateProv;
    QString mLocality;
    QString mIsStudying;
};
