#include "ZoLogResource.h"

#include "ResourcesLog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

ZoLogResource::ZoLogResource() = default;

ZoLogResource::~ZoLogResource()
{
    closeLog();
}

void ZoLogResource::writeLine(QString line)
{
    if (!mFile.isOpen()) {
        const QString path = QDir::current().absoluteFilePath(QString::fromLatin1(FileName));
        QDir().mkpath(QFileInfo(path).absolutePath());
        mFile.setFileName(path);
        if (!mFile.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            qCWarning(lcResources, "ZoLogResource: cannot open %s", qPrintable(path));
            return;
        }
    }
    // One entry stays one line.
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    const QString stamped = QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char('\t') + line
                            + QLatin1Char('\n');
    mFile.write(stamped.toUtf8());
    mFile.flush();
}

void ZoLogResource::closeLog()
{
    if (mFile.isOpen())
        mFile.close();
}
