#pragma once

#include "TableResource.h"

// Names of the exercise fields stored as key-value pairs. Id 2 is the context of a translation and "Translation" is no tag: both are filed by the store itself.
class ZoTagResource : public TableResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IResource_iid)

public:
    ZoTagResource();
};
