#pragma once

#include "TableResource.h"

// The form plug-ins in tab order, one row each: library file, icon file, offline flag, highest level.
class ZoPluginResource : public TableResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IResource_iid)

public:
    ZoPluginResource();
};
