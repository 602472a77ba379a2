#pragma once

#include <QString>
#include <QTemporaryDir>

// A temporary ready-to-run tree for tests: the program, libraries, icons,
// docs and translations of build/dist are linked in, the plug-in folders are
// fresh folders holding links to the real plug-ins (unless empty), and
// Content is a fresh folder; data a real run left there (database, peer
// data, logs) is not taken over. Its own config folder keeps the settings apart.
class TestTree
{
public:
    enum Plugins { RealPlugins, NoPlugins };

    explicit TestTree(Plugins plugins = RealPlugins);

    bool isValid() const;
    QString path() const;
    QString filePath(const QString& relative) const;
    // Folder to use as XDG_CONFIG_HOME for processes run in this tree.
    QString configPath() const;

    // Links a plug-in file (absolute, or relative to build/testplugins) into
    // Plugins_dll/<subdir>, optionally under another file name.
    bool addPlugin(const QString& file, const QString& subdir, const QString& asName = QString());
    bool removePlugin(const QString& subdir, const QString& fileName);

    // Makes the tree the working directory and its config folder this
    // process's config home; restored by restore() or the destructor.
    void enter();
    void restore();

    ~TestTree();

    // The built ready-to-run tree and the folder of test plug-ins.
    static QString distPath();
    static QString testPluginPath();

private:
    QTemporaryDir mDir;
    QString mOldCwd;
    QByteArray mOldConfig;
    bool mEntered = false;
};
