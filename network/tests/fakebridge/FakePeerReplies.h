#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Replies as the peer sends them through the bridge, for scripting the fake
// bridge (FakeBridge::queue("sendQuery", ...), "getDownloadXml", ...).
namespace FakePeerReplies {

// A reply with a status, its reply element and what goes inside it.
inline QString statusReply(const QString& status, const QString& replyElement = QStringLiteral("reply"),
                           const QString& inner = QString())
{
    return QStringLiteral("<message><header><status>%1</status></header><body><%2>"
                          "<error_description>refused: %1</error_description>%3</%2></body></message>")
        .arg(status, replyElement, inner);
}

// One exercise element as the peer sends it in search replies and downloads:
// persistent id "E-<n>", term "chien <n>" in French, voice "voice_<n>".
inline QString exerciseElement(const QString& n, const QString& kvps = QString())
{
    return QStringLiteral(
               "<exercise><manifest persistentManifestID=\"E-%1\" suppliedByUserID=\"u9\">"
               "<suppliedByUserName>bert_c</suppliedByUserName></manifest>"
               "<term><manifest persistentManifestID=\"TERM-%1\"/><textual_manifest>"
               "<manifestValue><![CDATA[chien %1]]></manifestValue><langID>fra</langID></textual_manifest></term>"
               "<media><manifest persistentManifestID=\"MEDIA-%1\" suppliedByUserID=\"u7\">"
               "<suppliedByUserName>voice_%1</suppliedByUserName></manifest>"
               "<media_manifest fluencyLevelID=\"3\"><mediaManifestFileName>chien%1.ogg</mediaManifestFileName>"
               "<voice>speaker_%1</voice><localeDescriptor>Parisian</localeDescriptor><countryID>FR</countryID>"
               "<stateProv>IDF</stateProv><locality>Paris</locality></media_manifest></media>"
               "<kvps>%2</kvps></exercise>")
        .arg(n, kvps);
}

inline QString kvpElement(const QString& type, const QString& value, const QString& language)
{
    return QStringLiteral("<kvp kvpTypeID=\"%1\"><kvpValue><![CDATA[%2]]></kvpValue><langID>%3</langID></kvp>")
        .arg(type, value, language);
}

inline QString translationElement(const QString& n)
{
    return QStringLiteral("<translation><manifest persistentManifestID=\"TR-%1\" suppliedByUserID=\"u9\"/>"
                          "<textual_manifest><langID>eng</langID></textual_manifest><exercises>"
                          "<exercise persistentManifestID=\"E-1\"/><exercise persistentManifestID=\"E-%1\"/>"
                          "</exercises></translation>")
        .arg(n);
}

// A lesson element: members as (sequence number, persistent id).
inline QString lessonElement(const QString& pid, const QList<QPair<QString, QString>>& members)
{
    QString exercises;
    for (const auto& member : members)
        exercises += QStringLiteral("<exercise sequenceNb=\"%1\" persistentManifestID=\"%2\"/>")
                         .arg(member.first, member.second);
    return QStringLiteral("<lesson numChildren=\"%1\"><manifest persistentManifestID=\"%2\" suppliedByUserID=\"u9\">"
                          "<suppliedByUserName>bert_c</suppliedByUserName></manifest><textual_manifest "
                          "learnerLevelID=\"2\"><manifestTitle>Title %2</manifestTitle><manifestDescription>About %2"
                          "</manifestDescription><langID>fra</langID></textual_manifest><exercises>%3</exercises>"
                          "<kvps/></lesson>")
        .arg(QString::number(members.size()), pid, exercises);
}

// Search replies with a status, the total the peer reports and the elements.
inline QString exerciseQueryReply(const QString& elements, int total, const QString& status = QStringLiteral("1"))
{
    return statusReply(status, QStringLiteral("exerciseQueryReply"),
                       QStringLiteral("<total_result_available>%1</total_result_available>").arg(total) + elements);
}

inline QString lessonQueryReply(const QString& elements, int total, const QString& status = QStringLiteral("1"))
{
    return statusReply(status, QStringLiteral("lessonQueryReply"),
                       QStringLiteral("<total_result_available>%1</total_result_available>").arg(total) + elements);
}

} // namespace FakePeerReplies
