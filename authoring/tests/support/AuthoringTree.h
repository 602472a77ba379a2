#pragma once

#include "CreateExerciseView.h"
#include "IAudio.h"
#include "IDbManager.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "SignedInUser.h"
#include "TestDatabase.h"
#include "TestHost.h"
#include "WizardTestTree.h"
#include "ZoExercise.h"
#include "ZoUser.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>

#include <memory>

// A ready-to-run tree for the authoring tests: the real store on a fresh
// database, the real resource plug-ins, the scripted network manager and
// message boxes (WizardTestTree) and the scripted or the real sound plug-in; a user
// "maria" stored with the fluencies a test asks for and signed in.
class AuthoringTree
{
public:
    static QString userName() { return QStringLiteral("maria"); }

    enum Sound { ScriptedSound, RealSound };

    bool setUp(Sound sound = ScriptedSound)
    {
        mTree = std::make_unique<WizardTestTree>();
        if (!mTree->isValid())
            return false;
        TestTree& tree = mTree->tree();
        if (sound == ScriptedSound) {
            tree.removePlugin(QStringLiteral("Managers"), QStringLiteral("ZoAudio.so"));
            if (!tree.addPlugin(QStringLiteral("Managers/ZoAudio.so"), QStringLiteral("Managers")))
                return false;
        }
        if (!TestDatabase::createFile(tree.filePath(QStringLiteral("vireda.db"))))
            return false;
        mHost = std::make_unique<TestHost>();
        return store() && users() && audio();
    }

    void tearDown()
    {
        // The store closes its database while the application object lives.
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mHost.reset();
        mTree.reset();
    }

    WizardTestTree& tree() const { return *mTree; }
    TestHost* host() const { return mHost.get(); }
    QString contentPath(const QString& file) const { return mTree->tree().filePath(QStringLiteral("Content/") + file); }

    static IDbManager* store()
    {
        return PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    }
    static IUserResource* users()
    {
        return PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    }
    static IAudio* audio() { return PluginLocator::load<IAudio>(QStringLiteral("plugins_dll/Managers/ZoAudio.dll")); }
    static QObject* audioObject()
    {
        return PluginLocator::instance(QStringLiteral("plugins_dll/Managers/ZoAudio.dll"));
    }

    // Before each test: a network manager without a script, boxes answered as
    // closed with an empty log, "maria" signed in with German and French.
    bool reset()
    {
        if (!mTree->scriptNet({}))
            return false;
        mTree->answerBoxes({});
        QFile::remove(mTree->boxLogPath());
        return signIn({QStringLiteral("German, Standard"), QStringLiteral("French")});
    }

    // A new exercise editor on the test main window, cleared and shown.
    std::unique_ptr<CreateExerciseView> newEditor() const
    {
        auto view = std::make_unique<CreateExerciseView>(nullptr);
        view->setMainWindow(mHost.get());
        view->newSession();
        view->customRefresh();
        view->resize(700, 600);
        view->show();
        return view;
    }

    // Stores an exercise of "maria" with a sound file in Content; its local id.
    QString storeExercise(const QString& term, const QString& language) const
    {
        static int n = 0;
        const QString file = QStringLiteral("kept%1.wav").arg(++n);
        QFile sound(contentPath(file));
        if (!sound.open(QIODevice::WriteOnly) || sound.write("RIFF") != 4)
            return {};
        sound.close();
        ZoExercise exercise({{"Term", term},
                             {"Language", language},
                             {"MediaPath", "Content"},
                             {"MediaName", file},
                             {"MediaId", "0"},
                             {"Voice", userName()},
                             {"PId", "0"},
                             {"PersistentTermId", "0"},
                             {"PersistentMediaId", "0"}});
        exercise.setCreator(userName());
        if (!store()->insertExercise(QStringLiteral("Exercise"), &exercise))
            return {};
        return exercise.id();
    }

    // Stores "maria" with these fluency languages (replacing what was stored)
    // and signs her in; the authoring language preference is removed.
    bool signIn(const QStringList& languages)
    {
        QSettings().remove(QStringLiteral("users/%1/CreateLanguage").arg(userName()));
        return SignedInUser::signIn(userName(), languages) != nullptr;
    }

private:
    std::unique_ptr<WizardTestTree> mTree;
    std::unique_ptr<TestHost> mHost;
};
