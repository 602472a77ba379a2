#pragma once

#include "IResource.h"
#include "PluginLocator.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QStringList>
#include <QTimer>

// What the authoring tests do with language combos and the fluency wizard.
namespace ComboSteps {

inline QStringList items(QComboBox* combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

inline IResource* languages()
{
    return PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll"));
}

// Rejects the next modal dialog (the wizard opened by what runs after this call).
inline void cancelNextWizard()
{
    QTimer::singleShot(0, [] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            modal->reject();
    });
}

// Chooses the entry at index as a user does; "Add Language..." opens the
// wizard once the event loop runs.
inline void activate(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
}

} // namespace ComboSteps
