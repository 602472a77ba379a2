#pragma once

#include "IDbManager.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "TestDatabase.h"
#include "WizardTestTree.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoUser.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <memory>

// The tree of WizardTestTree with a fresh local database, the real store and
// user resource, and helpers that make a user's content and script the
// network's upload replies. Each test signs in a user of its own, so tests
// share the database without seeing each other's content.
class UploadFixture
{
public:
    UploadFixture()
    {
        mDatabaseOk = TestDatabase::createFile(mTree.tree().filePath(QStringLiteral("vireda.db")));
        mStore = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mUsers = PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
        ZoDbHelper helper;
        mLanguage = helper.languageName(QStringLiteral("fra"));
        mOtherLanguage = helper.languageName(QStringLiteral("eng"));
        mCountry = helper.countryName(QStringLiteral("FR"));
    }

    ~UploadFixture()
    {
        // The store closes its database while the application object lives.
        if (mUsers)
            mUsers->clearCurrentUser();
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    }

    bool isValid() const
    {
        return mTree.isValid() && mDatabaseOk && mStore && mUsers && !mLanguage.isEmpty() && !mOtherLanguage.isEmpty();
    }

    WizardTestTree& tree() { return mTree; }
    IDbManager* store() const { return mStore; }
    IUserResource* users() const { return mUsers; }

    // A new user becomes the current one; its name.
    QString signInNewUser()
    {
        const QString name = QStringLiteral("learner%1").arg(++mUserCount);
        auto* user = new ZoUser();
        user->setUsername(name);
        user->setId(QStringLiteral("uid-") + name);
        mUsers->setCurrentUser(user);
        return name;
    }
    QString userName() const
    {
        ZoUser* user = mUsers->currentUser();
        return user ? user->username() : QString();
    }

    // An exercise of the current user with a recording and, when given, a
    // translation into the other language; its local id.
    QString addExercise(const QString& term, const QString& translation = QString())
    {
        const QString user = userName();
        ZoExercise exercise(QHash<QString, QString>{{QStringLiteral("Term"), term},
                                                    {QStringLiteral("Language"), mLanguage},
                                                    {QStringLiteral("PId"), QStringLiteral("0")},
                                                    {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                                    {QStringLiteral("MediaName"), term + QStringLiteral(".ogg")},
                                                    {QStringLiteral("Country"), mCountry},
                                                    {QStringLiteral("Voice"), user},
                                                    {QStringLiteral("VoiceUid"), QStringLiteral("uid-") + user},
                                                    {QStringLiteral("Creator"), user},
                                                    {QStringLiteral("CreatorUid"), QStringLiteral("uid-") + user}});
        if (!translation.isEmpty())
            exercise.addField(QStringLiteral("Translation"),
                              {{QStringLiteral("Value"), translation}, {QStringLiteral("Language"), mOtherLanguage}});
        if (mStore->insertExercise(QStringLiteral("Exercise"), &exercise) != 1)
            return QString();
        return exercise.id();
    }

    // A lesson of the current user with these members in order; its local id.
    QString addLesson(const QString& title, const QStringList& members)
    {
        const QString user = userName();
        QHash<QString, QString> data{{QStringLiteral("PId"), QStringLiteral("0")},
                                     {QStringLiteral("Title"), title},
                                     {QStringLiteral("Description"), title},
                                     {QStringLiteral("Language"), mLanguage},
                                     {QStringLiteral("Username"), user},
                                     {QStringLiteral("UserId"), QStringLiteral("uid-") + user}};
        for (int i = 0; i < members.size(); ++i)
            data.insert(QStringLiteral("EId") + QString::number(i + 1), members.at(i));
        std::unique_ptr<QObject> lesson(mStore->insert(QStringLiteral("Lesson"), data));
        auto* stored = qobject_cast<ZoLesson*>(lesson.get());
        return stored ? stored->id() : QString();
    }

    // The translation group of an exercise and the group's other exercise.
    static QString translationOf(const QString& exerciseId)
    {
        const QStringList groups = ZoDbHelper().translationRelatives(exerciseId);
        return groups.isEmpty() ? QString() : groups.first().section(QLatin1Char(','), 0, 0);
    }
    static QString translatedExerciseOf(const QString& exerciseId)
    {
        const QStringList groups = ZoDbHelper().translationRelatives(exerciseId);
        return groups.isEmpty() ? QString() : groups.first().section(QLatin1Char(','), 1, 1);
    }

    // Every manifest an exercise upload names: the exercise, its term and its media.
    QStringList piecesOf(const QString& exerciseId) const
    {
        std::unique_ptr<ZoExercise> exercise(mStore->getExercise(QStringLiteral("Exercise"), exerciseId));
        if (!exercise)
            return {};
        QStringList pieces{exercise->id(), exercise->termId()};
        if (!exercise->mediaId().isEmpty() && exercise->mediaId() != QLatin1String("0"))
            pieces << exercise->mediaId();
        return pieces;
    }

    static QString persistentId(const QString& localId) { return ZoDbHelper().persistentIdOf(localId); }
    static QString uploadStamp(const QString& localId)
    {
        return ZoDbHelper().manifestRecord(localId).value(QStringLiteral("dul"));
    }
    static QString doNotUpload(const QString& localId)
    {
        return ZoDbHelper().manifestRecord(localId).value(QStringLiteral("dnul"));
    }

    QStringList uploadableIds() const
    {
        QStringList ids;
        for (const auto& item : mStore->uploadableItems(userName()))
            ids << item.value(QStringLiteral("Id"));
        return ids;
    }

    // Successful replies with persistent ids no other reply has.
    QString exerciseReply(bool withSound = true)
    {
        const int n = ++mReplyCount;
        QString reply = QStringLiteral("PId=pe%1;PersistentTermId=pt%1").arg(n);
        if (withSound)
            reply += QStringLiteral(";PersistentMediaId=pm%1").arg(n);
        return reply;
    }
    QString manifestReply() { return QStringLiteral("PId=pl%1").arg(++mReplyCount); }
    QString exerciseReplies(int count)
    {
        QStringList replies;
        for (int i = 0; i < count; ++i)
            replies << exerciseReply();
        return replies.join(QStringLiteral(" | "));
    }
    QString manifestReplies(int count)
    {
        QStringList replies;
        for (int i = 0; i < count; ++i)
            replies << manifestReply();
        return replies.join(QStringLiteral(" | "));
    }

    // The upload calls made since the last script, as "uploadExercise:<id>",
    // "uploadLesson:<id>" and "uploadTranslation:<id>".
    QStringList uploadCalls() const
    {
        QStringList calls;
        for (const ScriptedNet::Call& call : ScriptedNet::calls(mTree.callLogPath())) {
            if (call.op == QLatin1String("uploadExercise"))
                calls << call.op + QLatin1Char(':') + call.arg(0);
            else if (call.op == QLatin1String("uploadManifest"))
                calls << call.arg(1) + QLatin1Char(':') + call.arg(0);
        }
        return calls;
    }

    static bool exec(const QString& sql)
    {
        QSqlQuery query(QSqlDatabase::database());
        return query.exec(sql);
    }

    QString language() const { return mLanguage; }

private:
    WizardTestTree mTree;
    bool mDatabaseOk = false;
    IDbManager* mStore = nullptr;
    IUserResource* mUsers = nullptr;
    QString mLanguage;
    QString mOtherLanguage;
    QString mCountry;
    int mUserCount = 0;
    int mReplyCount = 0;
};
