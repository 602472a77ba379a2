#include "ZoLanguageResource.h"

#include "LanguageData.h"

ZoLanguageResource::ZoLanguageResource()
    : TableResource(LanguageData::LanguageContext, LanguageData::languageRows(), ResourceTable::NameOrder)
{
}
