#include "ZoStudyResource.h"

ZoStudyResource::ZoStudyResource() = default;

ZoStudyResource::~ZoStudyResource() = default;

void ZoStudyResource::appendExercise(QHash<QString, QString> fields)
{
    mEntries.append(fields);
    mChanged = true;
}

void ZoStudyResource::removeAt(int row)
{
    if (row < 0 || row >= mEntries.size())
        return;
    mEntries.removeAt(row);
    mChanged = true;
}

int ZoStudyResource::removeById(QString exerciseId)
{
    const qsizetype before = mEntries.size();
    mEntries.removeIf([&exerciseId](const QHash<QString, QString>& entry) {
        return entry.value(QStringLiteral("Id")) == exerciseId;
    });
    const int removed = int(before - mEntries.size());
    if (removed > 0)
        mChanged = true;
    return removed;
}

void ZoStudyResource::clearList()
{
    mEntries.clear();
    mChanged = true;
}

QHash<QString, QString> ZoStudyResource::exerciseAt(int row)
{
    return mEntries.value(row);
}

int ZoStudyResource::count()
{
    return int(mEntries.size());
}

QString ZoStudyResource::valueAt(int row, const QString& key) const
{
    if (row < 0 || row >= mEntries.size())
        return QString();
    return mEntries.at(row).value(key);
}

QString ZoStudyResource::idAt(int row)
{
    return valueAt(row, QStringLiteral("Id"));
}

QString ZoStudyResource::termAt(int row)
{
    return valueAt(row, QStringLiteral("Term"));
}

QString ZoStudyResource::languageAt(int row)
{
    return valueAt(row, QStringLiteral("Language"));
}

QString ZoStudyResource::countryAt(int row)
{
    return valueAt(row, QStringLiteral("Country"));
}

QString ZoStudyResource::stateProvAt(int row)
{
    return valueAt(row, QStringLiteral("StateProv"));
}

QString ZoStudyResource::localityAt(int row)
{
    return valueAt(row, QStringLiteral("Locality"));
}

QString ZoStudyResource::voiceAt(int row)
{
    return valueAt(row, QStringLiteral("Voice"));
}

QString ZoStudyResource::mediaPathAt(int row)
{
    return valueAt(row, QStringLiteral("MediaPath"));
}

QString ZoStudyResource::mediaNameAt(int row)
{
    return valueAt(row, QStringLiteral("MediaName"));
}

int ZoStudyResource::indexOf(QString exerciseId)
{
    for (int i = 0; i < mEntries.size(); ++i) {
        if (mEntries.at(i).value(QStringLiteral("Id")) == exerciseId)
            return i;
    }
    return -1;
}

QStringList ZoStudyResource::ids()
{
    QStringList list;
    list.reserve(mEntries.size());
    for (const auto& entry : std::as_const(mEntries))
        list.append(entry.value(QStringLiteral("Id")));
    return list;
}

bool ZoStudyResource::isChanged()
{
    return mChanged;
}

void ZoStudyResource::setChanged(bool changed)
{
    mChanged = changed;
}
