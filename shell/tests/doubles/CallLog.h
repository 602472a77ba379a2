#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVariant>

// The doubles record their calls in a property of the application object,
// which the tests read and clear.
namespace CallLog {

inline void append(const QString& entry)
{
    QStringList calls = qApp->property("shellTestCalls").toStringList();
    calls.append(entry);
    qApp->setProperty("shellTestCalls", calls);
}

} // namespace CallLog
