#include "ZoFluencyLevelResource.h"

#include <QtGlobal>

ZoFluencyLevelResource::ZoFluencyLevelResource()
    : TableResource("FluencyLevel",
                    {
                        {QStringLiteral("1"), QT_TRANSLATE_NOOP("FluencyLevel", "Beginner"), {}},
                        {QStringLiteral("2"), QT_TRANSLATE_NOOP("FluencyLevel", "Intermediate"), {}},
                        {QStringLiteral("3"), QT_TRANSLATE_NOOP("FluencyLevel", "Advanced"), {}},
                        {QStringLiteral("4"), QT_TRANSLATE_NOOP("FluencyLevel", "Fluent"), {}},
                        {QStringLiteral("5"), QT_TRANSLATE_NOOP("FluencyLevel", "Native"), {}},
                    },
                    ResourceTable::RowOrder)
{
}
