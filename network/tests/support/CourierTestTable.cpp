#include "CourierTestTable.h"

namespace {

struct Row
{
    const char* id;
    const char* name;
};

#define TABLE_LANGUAGE 1
#define TABLE_COUNTRY 2
#define TABLE_FLUENCY 3
#define TABLE_LEARNER 4
#define TABLE_TAG 5

#if TABLE_KIND == TABLE_LANGUAGE
const Row kRows[] = {{"eng", "English"}, {"fra", "French"}, {"deu", "German"}, {"spa", "Spanish"}};
#elif TABLE_KIND == TABLE_COUNTRY
const Row kRows[] = {{"GB", "United Kingdom"}, {"FR", "France"}, {"DE", "Germany"}};
#elif TABLE_KIND == TABLE_FLUENCY
const Row kRows[] = {{"1", "Beginner"}, {"2", "Intermediate"}, {"3", "Native"}};
#elif TABLE_KIND == TABLE_LEARNER
const Row kRows[] = {{"1", "Novice"}, {"2", "Advanced"}};
#elif TABLE_KIND == TABLE_TAG
const Row kRows[] = {{"1", "Part of Speech"}, {"2", "Context"}, {"3", "Gender"}};
#else
#error "TABLE_KIND names no table"
#endif

} // namespace

CourierTestTable::CourierTestTable()
{
    for (const Row& row : kRows) {
        mIds.append(QString::fromUtf8(row.id));
        mNames.append(QString::fromUtf8(row.name));
    }
}

QString CourierTestTable::idOf(QString name)
{
    const int index = int(mNames.indexOf(name));
    return index < 0 ? QString() : mIds.at(index);
}

QString CourierTestTable::nameOf(QString id)
{
    const int index = int(mIds.indexOf(id));
    return index < 0 ? QString() : mNames.at(index);
}

QStringList CourierTestTable::listAll()
{
    return mNames;
}

QStringList CourierTestTable::listIds()
{
    return mIds;
}

void CourierTestTable::release()
{
}
