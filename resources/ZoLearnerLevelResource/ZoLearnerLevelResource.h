#pragma once

#include "TableResource.h"

// Learner levels of lessons, lowest first.
class ZoLearnerLevelResource : public TableResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IResource_iid)

public:
    ZoLearnerLevelResource();
};
