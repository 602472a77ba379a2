#pragma once

#include "TableResource.h"

// Names of the manifest kinds of the local database. They stay untranslated: the store files translations under the name of id 7.
class ZoManifestResource : public TableResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IResource_iid)

public:
    ZoManifestResource();
};
