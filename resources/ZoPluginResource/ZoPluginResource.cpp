#include "ZoPluginResource.h"

// Tabs switch to the study and authoring forms by their positions 1 and 2,
// so the first three rows never depend on the network.
ZoPluginResource::ZoPluginResource()
    : TableResource(nullptr,
                    {
                        {QStringLiteral("Bookshelf"), QStringLiteral("Bookshelf.dll,tabLibrary.png,1,0"), {}},
                        {QStringLiteral("Tutor"), QStringLiteral("Tutor.dll,tabStudy.png,1,0"), {}},
                        {QStringLiteral("Composer"), QStringLiteral("Composer.dll,tabCreate.png,1,0"), {}},
                        {QStringLiteral("Finder"), QStringLiteral("Finder.dll,tabSearch.png,0,0"), {}},
                        {QStringLiteral("Preferences"), QStringLiteral("Preferences.dll,tabProfile.png,1,0"), {}},
                    },
                    ResourceTable::RowOrder)
{
}
