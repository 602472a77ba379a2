#pragma once

#include <QString>

// One row of the form plug-in list: "file,icon,offline flag,highest level".
// Missing fields read as empty; a level that is not a number reads as 0.
class FormPluginEntry
{
public:
    QString dllFile;
    QString iconFile;
    QString offlineFlag;
    QString maxLevelText;

    static FormPluginEntry parse(const QString& row);

    int maxLevel() const;
    // False when the row is to be skipped for this sign-in.
    bool isWanted(int level, int offline) const;
};
