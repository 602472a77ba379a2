#pragma once

#include <QDir>
#include <QStringList>

// The learner's own files (the database, its copies and journals, "Content"
// with recordings and term lists) are readable by their owner only.
class PrivateFiles
{
public:
    // Every file and folder this process makes from now on is owner-only.
    static void restrictNewFiles();

    // Takes group and other rights from the database files and from "Content"
    // and everything in it, below the folder "home". The names it changed.
    static QStringList tighten(const QDir& home);

    // Removes what an interrupted write of this program can leave: the copy of
    // a recording on its way into "Content" (".store-XXXXXX") and a term list
    // being replaced ("<list>.xml.XXXXXX"). The names it removed.
    static QStringList removeStaleTemporaries(const QDir& home);

    // True for the names the database and its copies and journals have.
    static bool isDatabaseFile(const QString& name);
};
