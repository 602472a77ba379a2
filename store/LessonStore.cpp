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
    MessageBoxHelper::information(parent, title,
                                  StoreWriteError::message(tr("Unknown error.  Lesson could not be saved."),
                                                           StoreWriteError::explain(QDir::currentPath())));
}
