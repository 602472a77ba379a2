#pragma once

#include <QString>

// An installed program keeps its tree in a folder the learner may not write
// to. Its first start makes the learner's own tree under the user's data
// folder, owner-only: the read-only parts are links to the installed tree and
// "Content" is a folder of the learner's own. The program then runs in it as
// it runs in a ready-to-run build tree.
class InstalledTree
{
public:
    // The file whose presence marks the program's folder as an installed tree.
    static constexpr const char* MarkerFile = "vireda-installed";

    static bool isInstalled(const QString& programDir);

    // Makes or brings up to date the learner's tree in dataDir for the
    // installed tree programDir: a link for each of its entries (re-pointed
    // where it names another place, never replacing a file or folder of the
    // learner's), and the learner's own "Content". False, with error set,
    // when the folder cannot be made or linked.
    static bool prepare(const QString& programDir, const QString& dataDir, QString* error);
};
