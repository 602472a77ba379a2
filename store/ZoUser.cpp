#include "ZoUser.h"

#include "ZoUserFluency.h"

ZoUser::ZoUser()
    : QWidget(nullptr)
{
}

ZoUser::ZoUser(QString id, QString username, QString password, QString firstName, QString lastName, QString email,
               QString country, QString stateProv, QString locality, QString reputation, QString permission,
               QList<ZoUserFluency*> fluencies)
    : QWidget(nullptr)
    , mId(id)
    , mUsername(username)
    , mPassword(password)
    , mFirstName(firstName)
    , mLastName(lastName)
    , mEmail(email)
    , mCountry(country)
    , mStateProv(stateProv)
    , mLocality(locality)
    , mReputation(reputation)
    , mPermission(permission)
    , mFluencies(fluencies)
{
    adopt(mFluencies);
}

ZoUser::~ZoUser() = default;

void ZoUser::adopt(const QList<ZoUserFluency*>& fluencies)
{
    for (ZoUserFluency* fluency : fluencies) {
        if (fluency && !fluency->parent())
            fluency->setParent(this);
    }
}

QString ZoUser::id() const
{
    return mId;
}
void ZoUser::setId(QString id)
{
    mId = id;
}
QString ZoUser::username() const
{
    return mUsername;
}
void ZoUser::setUsername(QString username)
{
    mUsername = username;
}
QString ZoUser::password() const
{
    return mPassword;
}
void ZoUser::setPassword(QString password)
{
    mPassword = password;
}
QString ZoUser::firstName() const
{
    return mFirstName;
}
void ZoUser::setFirstName(QString firstName)
{
    mFirstName = firstName;
}
QString ZoUser::lastName() const
{
    return mLastName;
}
void ZoUser::setLastName(QString lastName)
{
    mLastName = lastName;
}
QString ZoUser::email() const
{
    return mEmail;
}
void ZoUser::setEmail(QString email)
{
    mEmail = email;
}
QString ZoUser::country() const
{
    return mCountry;
}
void ZoUser::setCountry(QString country)
{
    mCountry = country;
}
QString ZoUser::stateProv() const
{
    return mStateProv;
}
void ZoUser::setStateProv(QString stateProv)
{
    mStateProv = stateProv;
}
QString ZoUser::locality() const
{
    return mLocality;
}
void ZoUser::setLocality(QString locality)
{
    mLocality = locality;
}
QString ZoUser::reputation() const
{
    return mReputation;
}
void ZoUser::setReputation(QString reputation)
{
    mReputation = reputation;
}
QString ZoUser::permission() const
{
    return mPermission;
}
void ZoUser::setPermission(QString permission)
{
    mPermission = permission;
}
QList<ZoUserFluency*> ZoUser::fluencies() const
{
    return mFluencies;
}

void ZoUser::setFluencies(QList<ZoUserFluency*> fluencies)
{
    mFluencies = fluencies;
    adopt(mFluencies);
}

int ZoUser::fluencyCount() const
{
    return int(mFluencies.size());
}

QHash<QString, QString> ZoUser::toHash() const
{
    QHash<QString, QString> hash;
    hash.insert(QStringLiteral("Id"), mId);
    hash.insert(QStringLiteral("Username"), mUsername);
    hash.insert(QStringLiteral("Password"), mPassword);
    hash.insert(QStringLiteral("FirstName"), mFirstName);
    hash.insert(QStringLiteral("LastName"), mLastName);
    hash.insert(QStringLiteral("Email"), mEmail);
    hash.insert(QStringLiteral("Country"), mCountry);
    hash.insert(QStringLiteral("StateProv"), mStateProv);
    hash.insert(QStringLiteral("Locality"), mLocality);
    hash.insert(QStringLiteral("Reputation"), mReputation);
    hash.insert(QStringLiteral("Permission"), mPermission);
    int i = 0;
    for (const ZoUserFluency* fluency : mFluencies) {
        ++i;
        if (!fluency)
            continue;
        const QString n = QString::number(i);
        const QHash<QString, QString> f = fluency->toHash();
        hash.insert(QStringLiteral("FId") + n, f.value(QStringLiteral("Id")));
        hash.insert(QStringLiteral("FLanguage") + n, f.value(QStringLiteral("Language")));
        hash.insert(QStringLiteral("FLocaleDesc") + n, f.value(QStringLiteral("LocaleDesc")));
        hash.insert(QStringLiteral("FFluencyLevel") + n, f.value(QStringLiteral("FluencyLevel")));
        hash.insert(QStringLiteral("FCountry") + n, f.value(QStringLiteral("Country")));
        hash.insert(QStringLiteral("FStateProv") + n, f.value(QStringLiteral("StateProv")));
        hash.insert(QStringLiteral("FLocality") + n, f.value(QStringLiteral("Locality")));
        hash.insert(QStringLiteral("FIsStudying") + n, f.value(QStringLiteral("IsStudying")));
    }
    return hash;
}

QString ZoUser::type() const
{
    return QStringLiteral("User");
}
