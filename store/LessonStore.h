#pragma once

#include <QCoreApplication>
#include <QString>

class IDbManager;
class QWidget;
class ZoLesson;

// Stores a lesson the learner made and, when that fails, tells them why.
class LessonStore
{
    Q_DECLARE_TR_FUNCTIONS(LessonStore)

public:
    // Writes the lesson and its members through the store in one
    // transaction; false when nothing was stored (or there is no store).
    static bool write(IDbManager* store, const ZoLesson& lesson);

    // Tells the learner that the last write failed, with the cause when it is
    // known (a full disk, a read-only database).
    static void sayWhyNot(QWidget* parent, const QString& title);
};
