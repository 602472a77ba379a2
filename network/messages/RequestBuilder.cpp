#include "RequestBuilder.h"

#include "ContentGate.h"
#include "IResource.h"
#include "MessageEnvelope.h"
#include "NetworkLog.h"
#include "ZoDbHelper.h"

namespace {

struct QueryElement
{
    const char* element;
    const char* key;
    bool cdata;
};

// Shared tail of both query bodies.
const QueryElement kQueryElements[] = {
    {"query_langID", "LanguageID", false},
    {"results_langID", "ResultsLanguageID", false},
    {"results_voice", "ResultsVoice", true},
    {"results_speakingSpeedID", "ResultsSpeakingSpeedID", false},
    {"results_countryLangID", "ResultsCountryLangID", true},
    {"results_stateProv", "ResultsStateProv", true},
    {"results_locality", "ResultsLocality", true},
    {"results_localeDescriptor", "ResultsLocaleDescriptor", true},
    {"results_fluencyLevelID", "ResultsFluencyLevelID", false},
    {"results_learnerLevelID", "ResultsLearnerLevelID", false},
    {"max_results", "MaxResults", false},
    {"page_num", "PageNum", false},
};

void appendQueryTail(QDomDocument& document, QDomElement& request, const QHash<QString, QString>& criteria)
{
    for (const QueryElement& item : kQueryElements)
        request.appendChild(MessageEnvelope::textElement(document, QLatin1String(item.element),
                                                         criteria.value(QLatin1String(item.key)), item.cdata));
}

QDomElement credentials(QDomDocument& document, const QHash<QString, QString>& fields)
{
    QDomElement general = document.createElement(QStringLiteral("general"));
    general.appendChild(MessageEnvelope::credentialElement(document, QStringLiteral("username"),
                                                           fields.value(QStringLiteral("Username"))));
    general.appendChild(MessageEnvelope::credentialElement(document, QStringLiteral("password"),
                                                           fields.value(QStringLiteral("Password"))));
    return general;
}

// A message of that type whose body holds what build makes in its document.
template <typename Build>
QDomDocument composed(const QString& type, Build build)
{
    QDomDocument document = MessageEnvelope::create(type);
    MessageEnvelope::finish(document, build(document));
    return document;
}

} // namespace

RequestBuilder::RequestBuilder() = default;

RequestBuilder::RequestBuilder(const Lookups& lookups)
    : mLookups(lookups)
{
}

QString RequestBuilder::idOf(IResource* table, const QString& name) const
{
    return table ? table->idOf(name) : QString();
}

QString RequestBuilder::languageCode(const QString& language) const
{
    const QString id = idOf(mLookups.languages, language);
    return id.isEmpty() && ZoDbHelper::isLanguageCode(language) ? language : id;
}

void RequestBuilder::appendFluencies(QDomDocument& document, QDomElement& parent, const QHash<QString, QString>& fields,
                                     const QString& studyingKey, bool logValues) const
{
    for (int i = 1; !fields.value(QStringLiteral("FLanguage%1").arg(i)).isEmpty(); ++i) {
        const QString n = QString::number(i);
        auto field = [&](const QString& key) { return fields.value(key + n); };
        const QString language = field(QStringLiteral("FLanguage"));
        const QString level = field(QStringLiteral("FFluencyLevel"));
        QDomElement fluency = document.createElement(QStringLiteral("fluency"));
        auto add = [&](const char* name, const QString& value, bool asCdata) {
            fluency.appendChild(MessageEnvelope::textElement(document, QLatin1String(name), value, asCdata));
        };
        add("languageID", languageCode(language), false);
        add("fluencyID", idOf(mLookups.fluencyLevels, level), false);
        add("countryID", idOf(mLookups.countries, field(QStringLiteral("FCountry"))), false);
        add("provState", field(QStringLiteral("FStateProv")), true);
        add("locality", field(QStringLiteral("FLocality")), true);
        add("localeDescriptor", field(QStringLiteral("FLocaleDesc")), true);
        add("nonSpeaking", field(studyingKey), false);
        parent.appendChild(fluency);
        if (logValues) {
            qCDebug(lcNetwork).noquote() << "Language is " + language;
            qCDebug(lcNetwork).noquote() << "Fluency is " + level;
            qCDebug(lcNetwork).noquote() << "Non speaking is " + field(studyingKey);
        }
    }
}

QDomElement RequestBuilder::registerBody(QDomDocument& document, const QHash<QString, QString>& fields) const
{
    QDomElement request = document.createElement(QStringLiteral("register"));
    QDomElement general = credentials(document, fields);
    auto add = [&](const char* name, const QString& value, bool asCdata) {
        general.appendChild(MessageEnvelope::textElement(document, QLatin1String(name), value, asCdata));
    };
    add("given", fields.value(QStringLiteral("FirstName")), true);
    add("family", fields.value(QStringLiteral("LastName")), true);
    add("email", fields.value(QStringLiteral("Email")), true);
    add("countryID", idOf(mLookups.countries, fields.value(QStringLiteral("Country"))), false);
    add("provState", fields.value(QStringLiteral("StateProv")), true);
    add("passwordQuestion", fields.value(QStringLiteral("passwordQuestion")), true);
    add("passwordAnswer", fields.value(QStringLiteral("passwordAnswer")), true);
    request.appendChild(general);
    appendFluencies(document, request, fields, QStringLiteral("FNonSpeaking"), false);
    return request;
}

QDomElement RequestBuilder::updateFluencyBody(QDomDocument& document, const QHash<QString, QString>& fields) const
{
    QDomElement request = document.createElement(QStringLiteral("updateFluency"));
    request.appendChild(credentials(document, fields));
    appendFluencies(document, request, fields, QStringLiteral("FIsStudying"), true);
    return request;
}

QDomElement RequestBuilder::loginBody(QDomDocument& document, const QString& username, const QString& password)
{
    QDomElement request = document.createElement(QStringLiteral("login"));
    request.appendChild(MessageEnvelope::credentialElement(document, QStringLiteral("username"), username));
    request.appendChild(MessageEnvelope::credentialElement(document, QStringLiteral("password"), password));
    return request;
}

QDomElement RequestBuilder::passwordReminderBody(QDomDocument& document, const QString& username)
{
    QDomElement request = document.createElement(QStringLiteral("passwordReminder"));
    request.appendChild(MessageEnvelope::credentialElement(document, QStringLiteral("username"), username));
    return request;
}

QDomElement RequestBuilder::feedbackBody(QDomDocument& document, const QString& comment, const QString& type)
{
    QDomElement request = document.createElement(QStringLiteral("feedback"));
    request.setAttribute(QStringLiteral("type"), type);
    request.appendChild(MessageEnvelope::textElement(document, QStringLiteral("comment"), comment, true));
    return request;
}

QDomElement RequestBuilder::exerciseQueryBody(QDomDocument& document, const QHash<QString, QString>& criteria)
{
    const QString term = criteria.value(QStringLiteral("Term"));
    qCDebug(lcNetwork).noquote() << "Term is |" + term + "|.";
    QDomElement request = document.createElement(QStringLiteral("exerciseQuery"));
    request.appendChild(MessageEnvelope::verbatimElement(document, QStringLiteral("term"), term, true, true));
    appendQueryTail(document, request, criteria);
    return request;
}

QDomElement RequestBuilder::lessonQueryBody(QDomDocument& document, const QHash<QString, QString>& criteria)
{
    QDomElement request = document.createElement(QStringLiteral("lessonQuery"));
    request.appendChild(
        MessageEnvelope::textElement(document, QStringLiteral("title"), criteria.value(QStringLiteral("Title")), true));
    request.appendChild(MessageEnvelope::textElement(document, QStringLiteral("description"),
                                                     criteria.value(QStringLiteral("Description")), true));
    appendQueryTail(document, request, criteria);
    return request;
}

QString RequestBuilder::registerMessage(const QHash<QString, QString>& fields) const
{
    return MessageEnvelope::declared(
        composed(QStringLiteral("register"), [&](QDomDocument& d) { return registerBody(d, fields); }));
}

QString RequestBuilder::updateFluencyMessage(const QHash<QString, QString>& fields) const
{
    return MessageEnvelope::declared(
        composed(QStringLiteral("updateFluency"), [&](QDomDocument& d) { return updateFluencyBody(d, fields); }));
}

QString RequestBuilder::loginMessage(const QString& username, const QString& password)
{
    return MessageEnvelope::declared(
        composed(QStringLiteral("login"), [&](QDomDocument& d) { return loginBody(d, username, password); }));
}

QString RequestBuilder::passwordReminderMessage(const QString& username)
{
    return MessageEnvelope::declared(composed(QStringLiteral("passwordReminder"),
                                              [&](QDomDocument& d) { return passwordReminderBody(d, username); }));
}

QString RequestBuilder::feedbackMessage(const QString& comment, const QString& type)
{
    return MessageEnvelope::declared(
        composed(QStringLiteral("feedback"), [&](QDomDocument& d) { return feedbackBody(d, comment, type); }));
}

QString RequestBuilder::exerciseQueryMessage(const QHash<QString, QString>& criteria)
{
    const QString text = MessageEnvelope::declared(
        composed(QStringLiteral("exerciseQuery"), [&](QDomDocument& d) { return exerciseQueryBody(d, criteria); }));
    qCDebug(lcNetwork).noquote() << text;
    return text;
}

QString RequestBuilder::lessonQueryMessage(const QHash<QString, QString>& criteria)
{
    const QDomDocument document = composed(QStringLiteral("lessonQuery"),
                                           [&](QDomDocument& d) { return lessonQueryBody(d, criteria); });
    qCDebug(lcNetwork).noquote() << "message:\n" + MessageEnvelope::declared(document);
    return document.toString(1);
}

QString RequestBuilder::uploadMessage(const QString& manifestXml, const QString& kind)
{
    QDomDocument document = MessageEnvelope::create(kind);
    QDomElement request = document.createElement(kind);
    QDomDocument manifest;
    if (manifest.setContent(ContentGate::toXmlText(manifestXml).toUtf8()))
        request.appendChild(document.importNode(manifest.documentElement(), true));
    MessageEnvelope::finish(document, request);
    const QString text = MessageEnvelope::declared(document);
    qCDebug(lcNetwork).noquote() << text;
    return text;
}
