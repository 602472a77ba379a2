#include "ZoManifestResource.h"

ZoManifestResource::ZoManifestResource()
    : TableResource(nullptr,
                    {
                        {QStringLiteral("1"), QStringLiteral("Term"), {}},
                        {QStringLiteral("2"), QStringLiteral("Exercise"), {}},
                        {QStringLiteral("3"), QStringLiteral("Lesson"), {}},
                        {QStringLiteral("7"), QStringLiteral("Translation"), {}},
                    },
                    ResourceTable::RowOrder)
{
}
