#pragma once
// Stand-in until the shared language-combo helper lands.
#include <QString>
#include <QStringList>
class IMainWindow;
class IUserResource;
class IDbManager;
class QWidget;
namespace PendingLanguage {
QStringList entries(IUserResource* users, const QString& first);
QString addLanguage(IMainWindow* host, QWidget* parent, IUserResource* users, IDbManager* store,
                    const QString& preset = QString());
}
