#include "MessageEnvelope.h"

#include "ContentGate.h"
#include "SettingsKeys.h"

#include <QDateTime>
#include <QDomCDATASection>
#include <QRegularExpression>
#include <QSettings>

namespace {

QString folded(const QString& value)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return ContentGate::toXmlText(value).trimmed().replace(blanks, QStringLiteral(" "));
}

// Also without what XML cannot hold: the peer refuses such a message whole.
QString withoutBrackets(QString value)
{
    value = ContentGate::toXmlText(value);
    return value.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
}

} // namespace

QDomDocument MessageEnvelope::create(const QString& type)
{
    QDomDocument document;
    QDomElement message = document.createElement(QStringLiteral("message"));
    document.appendChild(message);
    message.appendChild(header(document, type, true));
    return document;
}

void MessageEnvelope::finish(QDomDocument& document, const QDomElement& request)
{
    QDomElement body = document.createElement(QStringLiteral("body"));
    body.appendChild(request);
    document.documentElement().appendChild(body);
}

QString MessageEnvelope::declared(const QDomDocument& document)
{
    return Declaration + document.toString(1);
}

QDomElement MessageEnvelope::header(QDomDocument& document, const QString& type, bool withVersions)
{
    QSettings settings;
    const QString from = settings.value(SettingsKeys::LocalIps).toString() + QLatin1Char('|')
                         + QDateTime::currentDateTime().toString(QStringLiteral("MM.dd.yyyy|hh:mm"));
    QDomElement header = document.createElement(QStringLiteral("header"));
    header.appendChild(textElement(document, QStringLiteral("from"), from, false));
    header.appendChild(textElement(document, QStringLiteral("to"), QStringLiteral("not-impelented"), false));
    header.appendChild(textElement(document, QStringLiteral("type"), type, false));
    if (withVersions) {
        header.appendChild(textElement(document, QStringLiteral("xmlVersion"),
                                       settings.value(SettingsKeys::XmlVersion).toString(), false));
        header.appendChild(textElement(document, QStringLiteral("uiVersion"),
                                       settings.value(SettingsKeys::InternalVersion).toString(), false));
        header.appendChild(textElement(document, QStringLiteral("dbVersion"),
                                       settings.value(SettingsKeys::DatabaseVersion).toString(), false));
    }
    return header;
}

QDomElement MessageEnvelope::textElement(QDomDocument& document, const QString& name, const QString& value,
                                         bool asCdata)
{
    QDomElement element = document.createElement(name);
    if (asCdata)
        element.appendChild(document.createCDATASection(folded(withoutBrackets(value))));
    else
        element.appendChild(document.createTextNode(folded(value)));
    return element;
}

QDomElement MessageEnvelope::verbatimElement(QDomDocument& document, const QString& name, const QString& value,
                                             bool asCdata, bool verbatim)
{
    if (!(asCdata && verbatim))
        return textElement(document, name, value, asCdata);
    QDomElement element = document.createElement(name);
    element.appendChild(document.createCDATASection(withoutBrackets(value)));
    return element;
}

QDomElement MessageEnvelope::credentialElement(QDomDocument& document, const QString& name, const QString& value)
{
    QDomElement element = document.createElement(name);
    element.appendChild(document.createCDATASection(ContentGate::toXmlText(value)));
    return element;
}

bool MessageEnvelope::isCredential(const QString& text)
{
    static const QRegularExpression allowed(QStringLiteral("^[a-zA-Z0-9._]*$"));
    return allowed.match(text).hasMatch();
}
