#include "ZoCountryResource.h"

#include "LanguageData.h"

ZoCountryResource::ZoCountryResource()
    : TableResource(LanguageData::CountryContext, LanguageData::countryRows(), ResourceTable::NameOrder)
{
}
