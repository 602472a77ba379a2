#include "LessonStore.h"

#include "IDbManager.h"
#include "MessageBoxHelper.h"
#include "StoreWriteError.h"
#include "ZoLesson.h"

#include <QDir>

#include <memory>

bool LessonStore::write(IDbManager* store, const ZoLesson& lesson)
{
    StoreWriteError::clear();
    if (!store)
        return false;
    return std::unique_ptr<QObject>(store->insert(QStringLiteral("Lesson"), lesson.toHash())) != nullptr;
}

void LessonStore::sayWhyNot(QWidget* parent, const QString& title)
{
    const StoreWriteError::Cause cause = StoreWriteError::explain(QDir::currentPath());
    const bool known = cause != StoreWriteError::None && cause != StoreWriteError::Other;
    MessageBoxHelper::information(parent, title,
                                  known ? StoreWriteError::message(tr("Lesson could not be saved."), cause)
                                        : tr("Unknown error.  Lesson could not be saved."));
}
