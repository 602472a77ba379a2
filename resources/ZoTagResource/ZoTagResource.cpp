#include "ZoTagResource.h"

ZoTagResource::ZoTagResource()
    : TableResource(nullptr,
                    {
                        {QStringLiteral("1"), QStringLiteral("Part of speech"), {}},
                        {QStringLiteral("3"), QStringLiteral("Idiom"), {}},
                        {QStringLiteral("4"), QStringLiteral("International Symbols"), {}},
                        {QStringLiteral("5"), QStringLiteral("Definition"), {}},
                        {QStringLiteral("6"), QStringLiteral("Example"), {}},
                        {QStringLiteral("7"), QStringLiteral("Notes"), {}},
                    },
                    ResourceTable::RowOrder)
{
}
