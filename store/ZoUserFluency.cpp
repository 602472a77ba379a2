#include "ZoUserFluency.h"

ZoUserFluency::ZoUserFluency(QString id, QString language, QString localeDesc, QString fluencyLevel, QString country,
                             QString stateProv, QString locality, QString isStudying)
    : QObject(nullptr)
    , mId(id)
    , mLanguage(language)
    , mLocaleDesc(localeDesc)
    , mFluencyLevel(fluencyLevel)
    , mCountry(country)
    , mStateProv(stateProv)
    , mLocality(locality)
    , mIsStudying(isStudying)
{
}

ZoUserFluency::~ZoUserFluency() = default;

QString ZoUserFluency::id() const
{
    return mId;
}
void ZoUserFluency::setId(QString id)
{
    mId = id;
}
QString ZoUserFluency::language() const
{
    return mLanguage;
}
void ZoUserFluency::setLanguage(QString language)
{
    mLanguage = language;
}
QString ZoUserFluency::localeDesc() const
{
    return mLocaleDesc;
}
void ZoUserFluency::setLocaleDesc(QString localeDesc)
{
    mLocaleDesc = localeDesc;
}
QString ZoUserFluency::fluencyLevel() const
{
    return mFluencyLevel;
}
void ZoUserFluency::setFluencyLevel(QString fluencyLevel)
{
    mFluencyLevel = fluencyLevel;
}
QString ZoUserFluency::country() const
{
    return mCountry;
}
void ZoUserFluency::setCountry(QString country)
{
    mCountry = country;
}
QString ZoUserFluency::stateProv() const
{
    return mStateProv;
}
void ZoUserFluency::setStateProv(QString stateProv)
{
    mStateProv = stateProv;
}
QString ZoUserFluency::locality() const
{
    return mLocality;
}
void ZoUserFluency::setLocality(QString locality)
{
    mLocality = locality;
}
QString ZoUserFluency::isStudying() const
{
    return mIsStudying;
}
void ZoUserFluency::setIsStudying(QString isStudying)
{
    mIsStudying = isStudying;
}

QHash<QString, QString> ZoUserFluency::toHash() const
{
    QHash<QString, QString> hash;
    hash.insert(QStringLiteral("Id"), mId);
    hash.insert(QStringLiteral("Language"), mLanguage);
    hash.insert(QStringLiteral("LocaleDesc"), mLocaleDesc);
    hash.insert(QStringLiteral("FluencyLevel"), mFluencyLevel);
    hash.insert(QStringLiteral("Country"), mCountry);
    hash.insert(QStringLiteral("StateProv"), mStateProv);
    hash.insert(QStringLiteral("Locality"), mLocality);
    hash.insert(QStringLiteral("IsStudying"), mIsStudying);
    return hash;
}

QString ZoUserFluency::type() const
{
    return QStringLiteral("UserFluency");
}
