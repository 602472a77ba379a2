#include "TableResource.h"

#include <QVariant>

namespace {

struct Row
{
    const char* id;
    const char* name;
};

#if VIREDA_TEST_TABLE == 1
const Row kRows[] = {{"eng", "English"}, {"fra", "French"}, {"deu", "German"}, {"ita", "Italian"}, {"spa", "Spanish"}};
#elif VIREDA_TEST_TABLE == 2
const Row kRows[] = {{"US", "United States"}, {"FR", "France"}, {"DE", "Germany"}, {"IT", "Italy"}};
#elif VIREDA_TEST_TABLE == 3
const Row kRows[] = {{"1", "Beginner"}, {"2", "Intermediate"}, {"3", "Fluent"}, {"4", "Native"}};
#elif VIREDA_TEST_TABLE == 4
const Row kRows[] = {{"1", "Novice"}, {"2", "Middle"}, {"3", "Advanced"}};
#elif VIREDA_TEST_TABLE == 5
const Row kRows[] = {{"1", "Translation"}, {"2", "Context"}, {"3", "Note"}};
#elif VIREDA_TEST_TABLE == 6
const Row kRows[] = {{"1", "Textual"}, {"2", "Media"}, {"7", "Translation"}};
// The network manager's tests: languages, countries, fluency levels, learner levels, tags.
#elif VIREDA_TEST_TABLE == 11
const Row kRows[] = {{"eng", "English"}, {"fra", "French"}, {"deu", "German"}, {"spa", "Spanish"}};
#elif VIREDA_TEST_TABLE == 12
const Row kRows[] = {{"GB", "United Kingdom"}, {"FR", "France"}, {"DE", "Germany"}};
#elif VIREDA_TEST_TABLE == 13
const Row kRows[] = {{"1", "Beginner"}, {"2", "Intermediate"}, {"3", "Native"}};
#elif VIREDA_TEST_TABLE == 14
const Row kRows[] = {{"1", "Novice"}, {"2", "Advanced"}};
#elif VIREDA_TEST_TABLE == 15
const Row kRows[] = {{"1", "Part of Speech"}, {"2", "Context"}, {"3", "Gender"}};
#else
#error "VIREDA_TEST_TABLE must name a table (1 to 6, 11 to 15)"
#endif

} // namespace

TableResource::TableResource()
{
    for (const Row& row : kRows)
        mRows.append({QString::fromLatin1(row.id), QString::fromLatin1(row.name)});
    setProperty("releaseCount", 0);
}

QString TableResource::idOf(QString name)
{
    for (const auto& row : mRows) {
        if (row.second == name)
            return row.first;
    }
    return QString();
}

QString TableResource::nameOf(QString id)
{
    for (const auto& row : mRows) {
        if (row.first == id)
            return row.second;
    }
    return QString();
}

QStringList TableResource::listAll()
{
    QStringList names;
    for (const auto& row : mRows)
        names.append(row.second);
    return names;
}

QStringList TableResource::listIds()
{
    QStringList ids;
    for (const auto& row : mRows)
        ids.append(row.first);
    return ids;
}

void TableResource::release()
{
    setProperty("releaseCount", property("releaseCount").toInt() + 1);
}
