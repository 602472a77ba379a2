#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

class IDbManager;
class INetManager;
class IResource;
class IUserResource;

// What an agent of an end-to-end test works with inside the tree it runs in:
// the settings of a current tree, the real store, user and look-up resources
// and the real network manager, with steps that register and sign in a user
// and make content of the current user. A step that goes wrong fails the
// running test function; callers check QTest::currentTestFailed() after it.
class AgentSession
{
public:
    using Table = QHash<QString, QString>;

    AgentSession() = default;
    ~AgentSession();

    AgentSession(const AgentSession&) = delete;
    AgentSession& operator=(const AgentSession&) = delete;

    // The settings of a tree whose database and manifest texts are current.
    static void writeSettings();

    // Writes the settings, loads the store, the resources and the network
    // manager and records this host's addresses.
    void open();
    // Forgets the current user and unloads the network manager and the store.
    void close();

    INetManager* net() const { return mNet; }
    IDbManager* db() const { return mDb; }
    IUserResource* users() const { return mUsers; }
    QString languageName(const QString& code) const;
    QString countryName(const QString& code) const;
    // The name of the highest fluency level.
    QString topLevelName() const;

    // A registration: the name, the password, a first and last name, an
    // e-mail address, France, and French spoken at the highest level; extra
    // adds fields or replaces these.
    Table accountFields(const QString& name, const QString& password, const Table& extra = {}) const;
    // Signs in online; the user becomes the current one.
    void signIn(const QString& name, const QString& password);
    void registerAndSignIn(const QString& name, const QString& password, const Table& extra = {});

    // The bytes of a recording, the same for the same seed.
    static QByteArray soundBytes(int seed);
    // Writes the recording Content/<soundName> and stores a French exercise
    // of the current user with it and, when given, a translation into
    // English; its local id, empty on failure.
    QString addRecordedExercise(const QString& term, const QString& soundName, int seed,
                                const QString& translation = QString());
    // A French lesson of the current user with these members in order; its
    // local id, empty on failure.
    QString addLesson(const QString& title, const QString& description, const QStringList& members);

private:
    INetManager* mNet = nullptr;
    IDbManager* mDb = nullptr;
    IUserResource* mUsers = nullptr;
    IResource* mLanguages = nullptr;
    IResource* mCountries = nullptr;
    IResource* mLevels = nullptr;
};
