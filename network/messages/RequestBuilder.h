#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QHash>
#include <QString>

class IResource;

// Builds the request messages Courier hands to the peer client: each body
// element, and each whole message text ready for the bridge.
class RequestBuilder
{
public:
    // The tables that turn shown names into the ids a message carries; any may be null.
    struct Lookups
    {
        IResource* languages = nullptr;
        IResource* countries = nullptr;
        IResource* fluencyLevels = nullptr;
    };

    RequestBuilder();
    explicit RequestBuilder(const Lookups& lookups);

    // Body elements, not yet attached. A missing field gives an empty element.
    QDomElement registerBody(QDomDocument& document, const QHash<QString, QString>& fields) const;
    QDomElement updateFluencyBody(QDomDocument& document, const QHash<QString, QString>& fields) const;
    static QDomElement loginBody(QDomDocument& document, const QString& username, const QString& password);
    static QDomElement passwordReminderBody(QDomDocument& document, const QString& username);
    static QDomElement feedbackBody(QDomDocument& document, const QString& comment, const QString& type);
    static QDomElement exerciseQueryBody(QDomDocument& document, const QHash<QString, QString>& criteria);
    static QDomElement lessonQueryBody(QDomDocument& document, const QHash<QString, QString>& criteria);

    // Whole messages, declaration line first.
    QString registerMessage(const QHash<QString, QString>& fields) const;
    QString updateFluencyMessage(const QHash<QString, QString>& fields) const;
    static QString loginMessage(const QString& username, const QString& password);
    static QString passwordReminderMessage(const QString& username);
    static QString feedbackMessage(const QString& comment, const QString& type);
    static QString exerciseQueryMessage(const QHash<QString, QString>& criteria);
    // The lesson search goes out without the declaration line.
    static QString lessonQueryMessage(const QHash<QString, QString>& criteria);
    // An upload of kind ("uploadLesson", "uploadTranslation", "uploadExercise")
    // holding the manifest document; one that does not parse leaves it empty.
    static QString uploadMessage(const QString& manifestXml, const QString& kind);

private:
    // The code of a shown language; a code the table lacks is its own name.
    QString languageCode(const QString& language) const;
    QString idOf(IResource* table, const QString& name) const;
    void appendFluencies(QDomDocument& document, QDomElement& parent, const QHash<QString, QString>& fields,
                         const QString& studyingKey, bool logValues) const;

    Lookups mLookups;
};
