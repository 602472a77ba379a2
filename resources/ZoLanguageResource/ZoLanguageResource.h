#pragma once

#include "TableResource.h"

// The languages (ISO 639-3 ids), sorted by name.
class ZoLanguageResource : public TableResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IResource_iid)

public:
    ZoLanguageResource();
};
