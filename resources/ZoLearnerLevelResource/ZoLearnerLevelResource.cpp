#include "ZoLearnerLevelResource.h"

#include <QtGlobal>

ZoLearnerLevelResource::ZoLearnerLevelResource()
    : TableResource("LearnerLevel",
                    {
                        {QStringLiteral("1"), QT_TRANSLATE_NOOP("LearnerLevel", "Beginner"), {}},
                        {QStringLiteral("2"), QT_TRANSLATE_NOOP("LearnerLevel", "Elementary"), {}},
                        {QStringLiteral("3"), QT_TRANSLATE_NOOP("LearnerLevel", "Intermediate"), {}},
                        {QStringLiteral("4"), QT_TRANSLATE_NOOP("LearnerLevel", "Advanced"), {}},
                    },
                    ResourceTable::RowOrder)
{
}
