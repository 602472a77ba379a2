#pragma once

#include <QLatin1String>
#include <QString>

// The plug-in files, named the way every loader passes them to PluginLocator:
// relative to the working directory, with the ".dll" that PluginLocator maps
// to this platform's name.
namespace PluginFiles {

inline constexpr QLatin1String Folder{"plugins_dll"};
// The same folder as the program's tree spells it.
inline constexpr QLatin1String TreeFolder{"Plugins_dll"};

inline constexpr QLatin1String Storekeeper{"plugins_dll/Managers/Storekeeper.dll"};
inline constexpr QLatin1String Courier{"plugins_dll/Managers/Courier.dll"};
inline constexpr QLatin1String ZoAudio{"plugins_dll/Managers/ZoAudio.dll"};

inline constexpr QLatin1String ZoSILResource{"plugins_dll/Resources/ZoSILResource.dll"};
inline constexpr QLatin1String ZoLanguageResource{"plugins_dll/Resources/ZoLanguageResource.dll"};
inline constexpr QLatin1String ZoCountryResource{"plugins_dll/Resources/ZoCountryResource.dll"};
inline constexpr QLatin1String ZoFluencyLevelResource{"plugins_dll/Resources/ZoFluencyLevelResource.dll"};
inline constexpr QLatin1String ZoLearnerLevelResource{"plugins_dll/Resources/ZoLearnerLevelResource.dll"};
inline constexpr QLatin1String ZoTagResource{"plugins_dll/Resources/ZoTagResource.dll"};
inline constexpr QLatin1String ZoManifestResource{"plugins_dll/Resources/ZoManifestResource.dll"};
inline constexpr QLatin1String ZoUserResource{"plugins_dll/Resources/ZoUserResource.dll"};
inline constexpr QLatin1String ZoStudyResource{"plugins_dll/Resources/ZoStudyResource.dll"};
inline constexpr QLatin1String ZoPluginResource{"plugins_dll/Resources/ZoPluginResource.dll"};
inline constexpr QLatin1String ZoLogResource{"plugins_dll/Resources/ZoLogResource.dll"};

// A form plug-in named by a row of the plug-in list ("Bookshelf.dll").
inline QString form(const QString& file)
{
    return Folder + QLatin1String("/Forms/") + file;
}

} // namespace PluginFiles
