#pragma once

#include "TableResource.h"

// Fluency levels, lowest first; "Native" (id 5) is the only level at which a language is not studied.
class ZoFluencyLevelResource : public TableResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IResource_iid)

public:
    ZoFluencyLevelResource();
};
