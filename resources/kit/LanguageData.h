#pragma once

#include "ResourceTable.h"

#include <QList>
#include <QString>
#include <QStringList>

// The language and country snapshot built into this library: ISO 639-3
// languages, ISO 3166-1 countries, where each language is spoken and its
// other names. Loaded once, never changed.
class LanguageData
{
public:
    static constexpr const char* LanguageContext = "Language";
    static constexpr const char* CountryContext = "Country";

    // Rows for the language table (aliases: the reference name) and the country table.
    static QList<ResourceRow> languageRows();
    static QList<ResourceRow> countryRows();

    // Ids of the countries where the language is spoken; empty when unknown.
    static QStringList countriesOf(const QString& languageId);

    // Other names of a language: those tied to the country first, then the general ones.
    static QStringList alternateNames(const QString& languageId, const QString& countryId);

    // The line naming the package versions the snapshot was made from.
    static QString sourceVersion();
};
