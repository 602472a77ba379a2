#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

class ZoUserFluency;

// A member of the community as the local database knows them. Other
// deliverables use it only through its virtual operations, so their order
// must not change.
//
// Fluencies handed over without a parent become children of the user and go
// with it; fluencies that already have a parent stay with that parent.
class ZoUser : public QWidget
{
    Q_OBJECT
public:
    ZoUser();
    ZoUser(QString id, QString username, QString password, QString firstName, QString lastName, QString email,
           QString country, QString stateProv, QString locality, QString reputation, QString permission,
           QList<ZoUserFluency*> fluencies);
    ~ZoUser() override;

    virtual QString id() const;
    virtual void setId(QString id);
    virtual QString username() const;
    virtual void setUsername(QString username);
    virtual QString password() const;
    virtual void setPassword(QString password);
    virtual QString firstName() const;
    virtual void setFirstName(QString firstName);
    virtual QString lastName() const;
    virtual void setLastName(QString lastName);
    virtual QString email() const;
    virtual void setEmail(QString email);
    virtual QString country() const;
    virtual void setCountry(QString country);
    virtual QString stateProv() const;
    virtual void setStateProv(QString stateProv);
    virtual QString locality() const;
    virtual void setLocality(QString locality);
    virtual QString reputation() const;
    virtual void setReputation(QString reputation);
    virtual QString permission() const;
    virtual void setPermission(QString permission);
    virtual QList<ZoUserFluency*> fluencies() const;
    // Replaces the list; fluencies dropped from it stay alive until the user goes.
    virtual void setFluencies(QList<ZoUserFluency*> fluencies);
    virtual int fluencyCount() const;
    // The eleven user keys, then per fluency i (from 1) "FId"+i, "FLanguage"+i,
    // "FLocaleDesc"+i, "FFluencyLevel"+i, "FCountry"+i, "FStateProv"+i,
    // "FLocality"+i and "FIsStudying"+i.
    virtual QHash<QString, QString> toHash() const;
    // "User".
    virtual QString type() const;

private:
    void adopt(const QList<ZoUserFluency*>& fluencies);

    QString mId;
    QString mUsername;
    QString mPassword;
    QString mFirstName;
    QString mLastName;
    QString mEmail;
    QString mCountry;
    QString mStateProv;
    QString mLocality;
    QString mReputation;
    QString mPermission;
    QList<ZoUserFluency*> mFluencies;
};
