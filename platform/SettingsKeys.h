#pragma once

#include <QLatin1Char>
#include <QLatin1String>
#include <QString>

// The keys of SettingsStore that the program and its plug-ins share.
namespace SettingsKeys {

// The product name and version: the title of every message box.
inline constexpr QLatin1String Version{"software/version"};
inline constexpr QLatin1String InternalVersion{"software/internal_version"};
inline constexpr QLatin1String UiLanguage{"software/lastUILanguage"};
inline constexpr QLatin1String WindowSize{"software/size"};
inline constexpr QLatin1String WindowPos{"software/pos"};
inline constexpr QLatin1String JrePath{"software/jrePath"};
inline constexpr QLatin1String LastUser{"users/lastUser"};
inline constexpr QLatin1String LastPassword{"users/lastPassword"};
inline constexpr QLatin1String DatabaseVersion{"database/version"};
inline constexpr QLatin1String LocalIps{"network/localips"};
inline constexpr QLatin1String XmlVersion{"xml/version"};

// Keys of one user's own, under userKey.
inline constexpr QLatin1String LibrarySplash{"LibrarySplash"};
inline constexpr QLatin1String LibraryLanguage{"LibraryLanguage"};
// The language the search tab searches in.
inline constexpr QLatin1String SearchLanguage{"SearchLanguage"};
// The language the authoring tab shows and the term list chosen there last.
inline constexpr QLatin1String CreateLanguage{"CreateLanguage"};
inline constexpr QLatin1String TemplateList{"TemplateList"};

// "users/<name>/<key>": a key of one user's own, such as "FirstTime".
inline QString userKey(const QString& user, const QString& key)
{
    return QLatin1String("users/") + user + QLatin1Char('/') + key;
}

} // namespace SettingsKeys
