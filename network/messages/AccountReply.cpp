#include "AccountReply.h"

#include "INetManager.h"
#include "MessageEnvelope.h"
#include "NetworkLog.h"
#include "PeerReply.h"
#include "ZoDbHelper.h"

namespace {

// What an operation returns when the peer accepts, refuses or does not answer.
struct Answers
{
    int accepted;
    int refused;
    int noAnswer;
};

// header.status 1 accepts, -1 refuses (the reply's error description is logged);
// anything else means no answer came in time.
int answerOf(const PeerReply& reply, const QString& replyName, const char* awaited, const Answers& answers)
{
    const QString status = reply.status();
    if (status == QLatin1String("1"))
        return answers.accepted;
    if (status == QLatin1String("-1")) {
        qCDebug(lcNetwork).noquote() << "ERROR: " + reply.errorDescription(replyName);
        return answers.refused;
    }
    qCDebug(lcNetwork).noquote()
        << QStringLiteral("ERROR: network timeout waiting for %1 confirmation").arg(QLatin1String(awaited));
    return answers.noAnswer;
}

} // namespace

AccountReply::Outcome AccountReply::registration(const PeerReply& reply)
{
    const int status = reply.paths().intValueOf(PeerReply::StatusPath);
    qCDebug(lcNetwork).noquote() << QStringLiteral("mReturnValue is %1\n\n").arg(status);
    if (status == 1)
        return {1, false};
    if (status == -1) {
        qCDebug(lcNetwork).noquote() << "Username already taken.";
        return {-1, false};
    }
    if (status == INetManager::TooManyRequests) {
        qCDebug(lcNetwork).noquote() << "Too many registrations from this computer.";
        return {INetManager::TooManyRequests, false};
    }
    qCDebug(lcNetwork).noquote() << "Network is down.";
    qCDebug(lcNetwork).noquote() << "ERROR: " + reply.errorDescription(QStringLiteral("registerReply"));
    return {status, true};
}

AccountReply::Outcome AccountReply::passwordReminder(const PeerReply& reply)
{
    const QString replyName = QStringLiteral("passwordReminderReply");
    // The peer has no mail server to send reminders through.
    if (reply.status() == QLatin1String("-2")) {
        qCDebug(lcNetwork).noquote() << "ERROR: " + reply.errorDescription(replyName);
        return {ReminderNotAvailable, false};
    }
    if (reply.status() == QLatin1String("-4")) {
        qCDebug(lcNetwork).noquote() << "ERROR: " + reply.errorDescription(replyName);
        return {ReminderTooMany, false};
    }
    const int result = answerOf(reply, replyName, "password reminder", {1, -1, 0});
    return {result, result == 0};
}

AccountReply::Outcome AccountReply::fluencyUpdate(const PeerReply& reply)
{
    const int result = answerOf(reply, QStringLiteral("updatefluencyreply"), "fluency update", {1, 0, -1});
    return {result, result == -1};
}

int AccountReply::feedback(const PeerReply& reply)
{
    return answerOf(reply, QStringLiteral("feedbackreply"), "feedback", {1, 0, -1});
}

AccountReply::Login AccountReply::login(const PeerReply& reply, const QString& username)
{
    Login login;
    const QString status = reply.status();
    if (status == QLatin1String("1") || status == QLatin1String("0")) {
        // Only the user whose name was sent signs in, under the spelling it was registered with.
        const QString registered = reply.valueOf(QStringLiteral("body.loginreply.user.general.username"));
        if (registered.compare(username, Qt::CaseInsensitive) != 0 || !MessageEnvelope::isCredential(registered)) {
            qCDebug(lcNetwork).noquote() << "ERROR: the sign-in reply names another user: " + registered;
            return login;
        }
        login.result = status.toInt();
        login.signedIn = true;
        login.registeredName = registered;
        return login;
    }
    qCDebug(lcNetwork).noquote() << "\nheader.status is " + status;
    qCDebug(lcNetwork).noquote() << "message: " + reply.errorDescription(QStringLiteral("loginreply"));
    if (status == QLatin1String("-1"))
        login.result = 2;
    else if (status == QLatin1String("-2"))
        login.result = -2;
    else if (status.toInt() == INetManager::TooManyRequests)
        login.result = INetManager::TooManyRequests;
    else
        login.networkDown = true;
    return login;
}

QHash<QString, QString> AccountReply::userFields(const PeerReply& reply, const ZoDbHelper& lookup)
{
    const QString user = QStringLiteral("body.loginreply.user.");
    auto general = [&](const char* path) {
        return reply.valueOf(user + QStringLiteral("general.") + QLatin1String(path));
    };
    QHash<QString, QString> fields{
        {QStringLiteral("Id"), general("userid")},
        {QStringLiteral("Username"), general("username")},
        {QStringLiteral("Password"), general("password")},
        {QStringLiteral("FirstName"), general("given")},
        {QStringLiteral("LastName"), general("family")},
        {QStringLiteral("Email"), general("email")},
        {QStringLiteral("Country"), lookup.countryName(general("countryid"))},
        {QStringLiteral("StateProv"), general("provstate")},
        {QStringLiteral("Locality"), general("locality")},
        {QStringLiteral("passwordQuestion"), general("passwordquestion")},
        {QStringLiteral("passwordAnswer"), general("passwordanswer")},
    };
    const QString fluency = user + QStringLiteral("fluency.");
    const int count = reply.paths().occurrences(fluency + QStringLiteral("languageID"));
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i + 1);
        auto value = [&](const char* path) {
            return reply.valueOf(XmlPathMap::numberedPath(fluency + QLatin1String(path), i, count));
        };
        fields.insert(QStringLiteral("FLanguage") + n, lookup.languageNameOrCode(value("languageID")));
        fields.insert(QStringLiteral("FLocaleDesc") + n, value("localeDescriptor"));
        fields.insert(QStringLiteral("FFluencyLevel") + n, lookup.fluencyLevelName(value("fluencyID")));
        fields.insert(QStringLiteral("FCountry") + n, lookup.countryName(value("countryID")));
        fields.insert(QStringLiteral("FStateProv") + n, value("provState"));
        fields.insert(QStringLiteral("FLocality") + n, value("locality"));
        fields.insert(QStringLiteral("FNonSpeaking") + n, value("nonSpeaking"));
    }
    return fields;
}
