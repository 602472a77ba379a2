#pragma once

#include "PluginLocator.h"
#include "TestHost.h"
#include "WizardTestTree.h"

#include <QFile>

#include <memory>
#include <utility>

// What the shell's dialog tests share: a tree with the scripted network
// manager (WizardTestTree or one made from it) and a test main window the
// dialogs are opened on.
template <class Tree = WizardTestTree>
class DialogFixture
{
public:
    // Makes the tree and the main window; false when the tree is not usable.
    bool setUp()
    {
        mTree = std::make_unique<Tree>();
        mHost = std::make_unique<TestHost>();
        return mTree->isValid();
    }

    // Before each test: a network manager without a script, boxes answered as
    // closed and their log empty, no move to offline mode counted.
    bool reset()
    {
        if (!mTree->scriptNet({}))
            return false;
        mTree->answerBoxes({});
        QFile::remove(mTree->boxLogPath());
        mHost->offlineMoves = 0;
        return true;
    }

    void tearDown()
    {
        // The store closes its database while the application object lives.
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mHost.reset();
        mTree.reset();
    }

    Tree& tree() const { return *mTree; }
    TestHost* host() const { return mHost.get(); }

    // A dialog of the test main window, shown; args follow the main window.
    template <class Form, class... Args>
    std::unique_ptr<Form> show(Args&&... args) const
    {
        auto form = std::make_unique<Form>(mHost.get(), std::forward<Args>(args)...);
        form->show();
        return form;
    }

private:
    std::unique_ptr<Tree> mTree;
    std::unique_ptr<TestHost> mHost;
};
