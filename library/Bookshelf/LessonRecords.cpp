#include "LessonRecords.h"

QStringList LessonRecords::memberIds(const Record& lesson)
{
    const int count = lesson.value(QStringLiteral("ExerciseCount")).toInt();
    QStringList ids;
    ids.reserve(qMax(count, 0));
    for (int i = 1; i <= count; ++i) {
        const QString member = lesson.value(QStringLiteral("EId%1").arg(i));
        if (!member.isEmpty())
            ids << member;
    }
    return ids;
}

QSet<QString> LessonRecords::allMembers(const QList<Record>& lessons)
{
    QSet<QString> ids;
    for (const Record& lesson : lessons) {
        for (auto it = lesson.cbegin(); it != lesson.cend(); ++it) {
            if (it.key().startsWith(QLatin1String("EId")) && !it.value().isEmpty())
                ids.insert(it.value());
        }
    }
    return ids;
}
