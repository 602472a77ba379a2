#pragma once

#include "TableResource.h"

// The countries (ISO 3166-1 two-letter ids), sorted by name.
class ZoCountryResource : public TableResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IResource_iid)

public:
    ZoCountryResource();
};
