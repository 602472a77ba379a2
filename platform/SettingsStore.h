#pragma once

#include <QString>

// The per-user settings every deliverable opens with a default-constructed
// QSettings: organisation "Quorvantel", application "Vireda", an INI file under
// the user's config directory.
class SettingsStore
{
public:
    static constexpr const char* Organisation = "Quorvantel";

    // Sets the names on the application object; call before the first QSettings.
    static void configure();

    // The settings file of this user.
    static QString fileName();

    // Makes the settings file readable and writable by its owner only, creating
    // it when absent. Later writes keep the permissions.
    static bool protectFile();

    // The "software/version" text used as the title of message boxes.
    static QString versionTitle();
};
