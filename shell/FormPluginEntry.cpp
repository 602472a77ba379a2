#include "FormPluginEntry.h"

#include <QStringList>

FormPluginEntry FormPluginEntry::parse(const QString& row)
{
    const QStringList fields = row.split(QLatin1Char(','), Qt::KeepEmptyParts);
    FormPluginEntry entry;
    entry.dllFile = fields.value(0);
    entry.iconFile = fields.value(1);
    entry.offlineFlag = fields.value(2);
    entry.maxLevelText = fields.value(3);
    return entry;
}

int FormPluginEntry::maxLevel() const
{
    bool ok = false;
    const int value = maxLevelText.toInt(&ok, 10);
    return ok ? value : 0;
}

bool FormPluginEntry::isWanted(int level, int offline) const
{
    if (offline != 0 && offlineFlag == QLatin1String("0"))
        return false;
    return level <= maxLevel();
}
