#include "TestPluginResource.h"

#include <QCoreApplication>
#include <QVariant>

QString TestPluginResource::idOf(QString name)
{
    return QString::number(listAll().indexOf(name));
}

QString TestPluginResource::nameOf(QString id)
{
    return listAll().value(id.toInt());
}

QStringList TestPluginResource::listAll()
{
    const QVariant rows = qApp->property("shellTestFormRows");
    if (rows.isValid())
        return rows.toStringList();
    return qEnvironmentVariable("VIREDA_TEST_FORM_ROWS").split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

QStringList TestPluginResource::listIds()
{
    QStringList ids;
    for (int i = 0; i < listAll().size(); ++i)
        ids.append(QString::number(i));
    return ids;
}

void TestPluginResource::release() {}
