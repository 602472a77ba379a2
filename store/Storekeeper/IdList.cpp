#include "IdList.h"

#include "StoreLog.h"

bool IdList::toId(const QString& text, qint64* id)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (ok && id)
        *id = value;
    return ok;
}

QList<qint64> IdList::parse(const QString& commaSeparated)
{
    return parse(commaSeparated.split(QLatin1Char(','), Qt::SkipEmptyParts));
}

QList<qint64> IdList::parse(const QStringList& items)
{
    QList<qint64> ids;
    for (const QString& item : items) {
        if (item.trimmed().isEmpty())
            continue;
        qint64 id = 0;
        if (toId(item, &id))
            ids.append(id);
        else
            qCDebug(lcStore) << "ignoring local id" << item;
    }
    return ids;
}

QString IdList::placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks.append(QStringLiteral("?"));
    return marks.join(QLatin1String(", "));
}

QString IdList::inBound()
{
    return QStringLiteral("SELECT value FROM json_each(?)");
}

QString IdList::bound(const QList<qint64>& ids)
{
    QString text;
    text.reserve(ids.size() * 8 + 2);
    text += QLatin1Char('[');
    for (int i = 0; i < ids.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += QString::number(ids.at(i));
    }
    text += QLatin1Char(']');
    return text;
}
