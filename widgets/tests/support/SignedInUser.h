#pragma once

#include "IDbManager.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QHash>
#include <QString>
#include <QStringList>

// A user stored through the real store with one fluency per language (level
// "Advanced", country "Austria", studying) and signed in as the current user
// of the user resource, as a sign-in leaves it. Needs a tree with the real
// store and user resource (WizardTestTree, TestTree). Forms read the user
// through IUserResource::currentUser() and never keep it.
class SignedInUser
{
public:
    static IDbManager* store()
    {
        return PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    }
    static IUserResource* users()
    {
        return PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    }

    // The stored properties of a user: "Id" is "uid-" + name, password "secret1".
    static QHash<QString, QString> properties(const QString& name, const QStringList& languages)
    {
        QHash<QString, QString> data{{QStringLiteral("Id"), QStringLiteral("uid-") + name},
                                     {QStringLiteral("Username"), name},
                                     {QStringLiteral("Password"), QStringLiteral("secret1")},
                                     {QStringLiteral("FirstName"), QStringLiteral("Maria")},
                                     {QStringLiteral("LastName"), QStringLiteral("Huber")},
                                     {QStringLiteral("Email"), name + QStringLiteral("@example.org")},
                                     {QStringLiteral("Country"), QStringLiteral("Austria")},
                                     {QStringLiteral("StateProv"), QStringLiteral("Tyrol")},
                                     {QStringLiteral("Locality"), QStringLiteral("Innsbruck")}};
        for (int i = 0; i < languages.size(); ++i) {
            const QString n = QString::number(i + 1);
            data.insert(QStringLiteral("FLanguage") + n, languages.at(i));
            data.insert(QStringLiteral("FLocaleDesc") + n, QStringLiteral("accent ") + n);
            data.insert(QStringLiteral("FFluencyLevel") + n, QStringLiteral("Advanced"));
            data.insert(QStringLiteral("FCountry") + n, QStringLiteral("Austria"));
            data.insert(QStringLiteral("FStateProv") + n, QStringLiteral("Tyrol"));
            data.insert(QStringLiteral("FLocality") + n, QStringLiteral("Innsbruck"));
            // Inserting reads the first key, updating the second.
            data.insert(QStringLiteral("FNonSpeaking") + n, QStringLiteral("1"));
            data.insert(QStringLiteral("FIsStudying") + n, QStringLiteral("1"));
        }
        return data;
    }

    // Stores the user (a stored user of that name gets these languages
    // instead) and makes the stored copy the current user. The languages
    // are display names of the language table, such as "French".
    static ZoUser* signIn(const QString& name, const QStringList& languages)
    {
        IDbManager* db = store();
        IUserResource* resource = users();
        if (!db || !resource)
            return nullptr;
        QHash<QString, QString> data = properties(name, languages);
        QList<ZoUser*> existing = db->select(QStringLiteral("User"), {{QStringLiteral("Username"), name}});
        const bool stored = !existing.isEmpty();
        if (stored)
            data.insert(QStringLiteral("Id"), existing.first()->id());
        qDeleteAll(existing);
        if (stored) {
            if (!db->update(QStringLiteral("User"), data.value(QStringLiteral("Id")), data))
                return nullptr;
        } else {
            delete db->insert(QStringLiteral("User"), data);
        }
        QList<ZoUser*> found = db->select(QStringLiteral("User"), {{QStringLiteral("Username"), name}});
        ZoUser* user = found.isEmpty() ? nullptr : found.takeFirst();
        qDeleteAll(found);
        if (!user || user->username() != name || user->fluencyCount() != languages.size()) {
            delete user;
            return nullptr;
        }
        resource->clearCurrentUser();
        resource->setCurrentUser(user);
        return user;
    }

    // Nobody signed in.
    static void signOut()
    {
        if (IUserResource* resource = users())
            resource->clearCurrentUser();
    }

    static ZoUser* current()
    {
        IUserResource* resource = users();
        return resource ? resource->currentUser() : nullptr;
    }

    // The languages of the current user's fluencies, in order.
    static QStringList currentLanguages()
    {
        QStringList languages;
        if (ZoUser* user = current()) {
            for (const ZoUserFluency* fluency : user->fluencies())
                languages.append(fluency->language());
        }
        return languages;
    }
};
