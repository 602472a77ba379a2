#pragma once

#include "ColumnWidget.h"
#include "ImportForm.h"

#include <QApplication>
#include <QInputDialog>
#include <QPair>
#include <QStringList>
#include <QTimer>

// Runs the import dialog that the next step opens as a user does: each
// column gets its type and language (an empty type leaves a fixed study term
// column alone), Import is clicked and the name prompt answered with name.
namespace ImportSteps {

using Column = QPair<QString, QString>;

inline void answerNamePrompt(ImportForm* form, const QString& name)
{
    QTimer::singleShot(0, form, [form, name] {
        QInputDialog* prompt = form->namePrompt();
        if (!prompt)
            return;
        prompt->setTextValue(name);
        prompt->accept();
    });
}

inline void answerNextImport(const QList<Column>& columns, const QString& name)
{
    QTimer::singleShot(0, [columns, name] {
        auto* form = qobject_cast<ImportForm*>(QApplication::activeModalWidget());
        if (!form)
            return;
        const QList<ColumnWidget*> widgets = form->columns();
        for (int i = 0; i < columns.size() && i < widgets.size(); ++i) {
            ColumnWidget* column = widgets.at(i);
            if (!columns.at(i).first.isEmpty())
                column->cmbColumnType->setCurrentIndex(column->cmbColumnType->findText(columns.at(i).first));
            column->cmbLanguages->setCurrentIndex(column->cmbLanguages->findText(columns.at(i).second));
        }
        answerNamePrompt(form, name);
        form->btnImportClicked();
    });
}

} // namespace ImportSteps
