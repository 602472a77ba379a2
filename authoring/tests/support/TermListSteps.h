#pragma once

#include "CreateTemplate.h"
#include "ZoExercise.h"
#include "ZoWordList.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// What the authoring tests do with term lists on the list page.
namespace TermListSteps {

// A list file of these terms in one language; false when it could not be written.
inline bool writeList(const QString& name, const QStringList& terms, const QString& language)
{
    ZoWordList list;
    list.setTitle(name);
    for (const QString& term : terms) {
        ZoExercise exercise;
        exercise.setTerm(term);
        exercise.setLanguage(language);
        list.appendExercise(exercise);
    }
    return ZoWordList::writeFile(ZoWordList::listDirectory(), list);
}

// The page chooses the list named name as a user does; false when it is not offered.
inline bool choose(CreateTemplate* page, const QString& name)
{
    page->fillListCombo();
    const int index = page->cmbTemplateList->findText(name, Qt::MatchExactly);
    if (index <= 0)
        return false;
    page->cmbTemplateList->setCurrentIndex(index);
    emit page->cmbTemplateList->activated(index);
    return true;
}

// The ids a list file holds, one per term, in order.
inline QStringList idsInFile(const QString& name)
{
    QStringList ids;
    const std::unique_ptr<ZoWordList> list = ZoWordList::readFile(ZoWordList::listDirectory(), name);
    for (int i = 0; list && i < list->exerciseCount(); ++i)
        ids << list->exerciseAt(i)->id();
    return ids;
}

// Accepts the lesson dialog with this title once a later step opens it (boxes
// answered before it come first). Gives up after about five seconds.
inline void acceptLessonDialogWhenShown(const QString& title, int tries = 500)
{
    QTimer::singleShot(10, [title, tries] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* edit = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("lEditTitle")) : nullptr;
        if (!edit) {
            if (tries > 0)
                acceptLessonDialogWhenShown(title, tries - 1);
            return;
        }
        edit->setText(title);
        QMetaObject::invokeMethod(dialog, "btnOkClicked");
    });
}

} // namespace TermListSteps
