#pragma once

#include <QHash>
#include <QString>

class PeerReply;
class ZoDbHelper;

// Reads the peer's answers to the account requests (registration, sign-in,
// password reminder, fluency update, feedback) into the results the network
// manager returns.
class AccountReply
{
public:
    // passwordReminder: the network sends no reminders (it has no mail server).
    static constexpr int ReminderNotAvailable = 2;
    // passwordReminder: too many reminders were asked for; try later.
    static constexpr int ReminderTooMany = 3;

    struct Outcome
    {
        int result = 0;
        // The answer means the messaging service is to be taken as down.
        bool networkDown = false;
    };

    // 1 registered, -1 name taken, TooManyRequests, else the status (network down).
    static Outcome registration(const PeerReply& reply);
    // 1 sent, -1 refused, ReminderNotAvailable, ReminderTooMany, 0 no answer (network down).
    static Outcome passwordReminder(const PeerReply& reply);
    // 1 accepted, 0 refused, -1 no answer (network down).
    static Outcome fluencyUpdate(const PeerReply& reply);
    // 1 accepted, 0 refused, -1 no answer.
    static int feedback(const PeerReply& reply);

    struct Login
    {
        // 1 or 0 signed in (0: a newer program exists), 2 wrong name or password,
        // -2 program version refused, TooManyRequests, 3 network failure.
        int result = 3;
        bool networkDown = false;
        // The user is to be signed in under registeredName.
        bool signedIn = false;
        QString registeredName;
    };
    // The answer to the sign-in of username; only a reply naming that user
    // (in any letter case) signs in.
    static Login login(const PeerReply& reply, const QString& username);
    // The user field map of an accepted sign-in, names in place of ids.
    static QHash<QString, QString> userFields(const PeerReply& reply, const ZoDbHelper& lookup);
};
