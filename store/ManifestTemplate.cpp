#include "ManifestTemplate.h"

#include "ZoDbHelper.h"

#include <QDomCDATASection>
#include <QDomText>
#include <QStringList>

const QString ManifestTemplate::Manifest = QStringLiteral(
    "AlocalManifestID=lmid,ApersistentManifestID=pmid,AisPermanent=ip,AisDraft=id,AsuppliedByUserID=sbuid,"
    "Nrestrictions=r,AmanifestTypeID=mtmtid");
const QString ManifestTemplate::ManifestShort = QStringLiteral(
    "AlocalManifestID=lmid,ApersistentManifestID=pmid,AisPermanent=ip,AisDraft=id,AsuppliedByUserID=sbuid,"
    "Nrestrictions=r");
const QString ManifestTemplate::MemberReference = QStringLiteral("AlocalManifestID=lmid,ApersistentManifestID=pmid");
const QString ManifestTemplate::TextualManifest = QStringLiteral(
    "AtextualManifestTypeID=tmttmtid,AlearnerLevelID=llllid,AisTemplate=it,AisRequest=ir,NmanifestTitle=mt,"
    "CmanifestValue=mv,NmanifestDescription=md,NcountryID=cccid,NlangID=lclid,NsharingRestrictions=sr");
const QString ManifestTemplate::MediaManifest = QStringLiteral(
    "AmediaManifestTypeID=mmtmmtid,AfluencyLevelID=flflid,AspeakingSpeedID=ssssid,NmediaManifestFileName=mmfn,"
    "NmediaManifestFormat=mmf,NmediaManifestSize=mms,NmediaManifestDuration=mmd,Nvoice=v,NlangID=lclid,"
    "ClocaleDescriptor=ld,NcountryID=cccid,CstateProv=sp,Clocality=l,NmediaManifestBitrate=mmbr,"
    "NmediaManifestSamplingFrequency=mmsf,NnbChannels=nc");
const QString ManifestTemplate::KeyValuePair = QStringLiteral("AkvpTypeID=ktktid,CkvpValue=kv,NlangID=lclid");
const QString ManifestTemplate::LessonManifest = QStringLiteral(
    "AlocalManifestID=lmid,ApersistentManifestID=pmid,AisPermanent=ip,AisDraft=id,AsuppliedByUserID=sbuid,"
    "NdateCreated=dc,AmanifestTypeID=mtmtid");
const QString ManifestTemplate::LessonTextualManifest = QStringLiteral(
    "AtextualManifestTypeID=tmttmtid,AlearnerLevelID=llllid,AisTemplate=it,AisRequest=ir,CmanifestTitle=mt,"
    "CmanifestDescription=md,NlangID=lclid");
const QString ManifestTemplate::LessonMember = QStringLiteral("AsequenceNb=sn,ApersistentManifestID=pmid");
const QString ManifestTemplate::TranslationTextualManifest = QStringLiteral(
    "AtextualManifestTypeID=tmttmtid,AlearnerLevelID=llllid,AisTemplate=it,AisRequest=ir,NmanifestTitle=mt,"
    "NmanifestDescription=md,NlangID=lclid");
const QString ManifestTemplate::TranslationMember = QStringLiteral("ApersistentManifestID=pmid");

QDomElement ManifestTemplate::manifestElement(QDomDocument& document, QString elementName, QString manifestTemplate,
                                              QHash<QString, QString> row)
{
    QDomElement element = document.createElement(elementName);
    const QStringList items = manifestTemplate.split(QLatin1Char(','));
    for (const QString& item : items) {
        const QStringList parts = item.split(QLatin1Char('='));
        if (parts.size() < 2 || parts.at(0).isEmpty())
            continue;
        const QString value = row.value(parts.at(1));
        if (value.isEmpty())
            continue;
        const QChar kind = parts.at(0).at(0);
        const QString name = parts.at(0).mid(1);
        if (kind == QLatin1Char('A')) {
            element.setAttribute(name, value);
        } else if (kind == QLatin1Char('C')) {
            // A value holding the section's end marker cannot live in one
            // section; as escaped text it reads back the same.
            QDomElement child = document.createElement(name);
            if (value.contains(QLatin1String("]]>")))
                child.appendChild(document.createTextNode(value));
            else
                child.appendChild(document.createCDATASection(value));
            element.appendChild(child);
        } else if (kind == QLatin1Char('N')) {
            element.appendChild(textElement(document, name, value));
        }
    }
    return element;
}

QDomElement ManifestTemplate::textElement(QDomDocument& document, QString name, QString value)
{
    QDomElement element = document.createElement(name);
    element.appendChild(document.createTextNode(value));
    return element;
}

QDomElement ManifestTemplate::kvpsElement(QDomDocument& document, const ZoDbHelper& helper, QString localId)
{
    QDomElement kvps = document.createElement(QStringLiteral("kvps"));
    const QList<QHash<QString, QString>> rows = helper.kvpRecords(localId);
    for (const QHash<QString, QString>& row : rows)
        kvps.appendChild(manifestElement(document, QStringLiteral("kvp"), KeyValuePair, row));
    return kvps;
}

QString ManifestTemplate::documentText(const QDomDocument& document)
{
    return document.toString(1);
}
