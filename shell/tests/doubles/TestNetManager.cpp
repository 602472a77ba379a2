#include "TestNetManager.h"

#include "CallLog.h"
#include "XmlPathMap.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoTranslation.h"

#include <QSettings>

TestNetManager::~TestNetManager()
{
    // Whether the window had stored its geometry before deleting this.
    const bool stored = QSettings().contains(QStringLiteral("software/size"));
    CallLog::append(QStringLiteral("net:deleted, geometry stored: ") + (stored ? "yes" : "no"));
}

QList<ZoExercise> TestNetManager::queryExercises(QHash<QString, QString>, int* status, int* total)
{
    if (status)
        *status = 0;
    if (total)
        *total = 0;
    return {};
}

QList<ZoLesson> TestNetManager::queryLessons(QHash<QString, QString>, int* status, int* total)
{
    if (status)
        *status = 0;
    if (total)
        *total = 0;
    return {};
}

ZoExercise TestNetManager::exerciseFromXml(XmlPathMap, ZoDbHelper*)
{
    return ZoExercise();
}

ZoLesson TestNetManager::lessonFromXml(XmlPathMap, ZoDbHelper*)
{
    return ZoLesson();
}

ZoTranslation TestNetManager::translationFromXml(XmlPathMap, ZoDbHelper*)
{
    return ZoTranslation();
}
