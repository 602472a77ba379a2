#pragma once

#include "FluencyFormWizard.h"
#include "FluencyFormWizard4.h"
#include "TopLangs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

// Drives the fluency wizard the way a user does: clicks in its lists and on
// its buttons. A step that cannot be done cancels the wizard and returns false.
class WizardDriver
{
public:
    static void clickIndex(QAbstractItemView* view, const QModelIndex& index)
    {
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }

    static bool chooseTopLanguage(FluencyFormWizard& wizard, const QString& shown)
    {
        QTableWidget* table = wizard.findChild<TopLangs*>()->tblTopLangs;
        // In another interface language the list shows the translated name.
        QList<QTableWidgetItem*> items = table->findItems(shown, Qt::MatchExactly);
        if (items.isEmpty())
            items = table->findItems(QCoreApplication::translate("Language", shown.toUtf8().constData()),
                                     Qt::MatchExactly);
        if (items.size() != 1)
            return false;
        clickIndex(table, table->indexFromItem(items.first()));
        return true;
    }

    // The quick route: a language of the short list, Next, then the level.
    static bool quickRoute(FluencyFormWizard& wizard, const QString& shown, const QString& level)
    {
        if (!chooseTopLanguage(wizard, shown) || !wizard.btnNext->isEnabled())
            return false;
        QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
        auto* details = wizard.findChild<FluencyFormWizard4*>();
        if (wizard.wizardStack->currentWidget() != details)
            return false;
        details->setFluencyLevel(level);
        return true;
    }

    // Answers the next modal wizard (opened by whatever runs after this call)
    // with the quick route and Finish; extra runs on the details page first.
    static void finishNextWizard(const QString& shown, const QString& level,
                                 std::function<void(FluencyFormWizard4*)> extra = {}, bool* done = nullptr)
    {
        QTimer::singleShot(0, [=] {
            auto* wizard = qobject_cast<FluencyFormWizard*>(QApplication::activeModalWidget());
            if (!wizard)
                return;
            const bool exposed = QTest::qWaitForWindowExposed(wizard);
            if (!exposed || !quickRoute(*wizard, shown, level)) {
                wizard->reject();
                return;
            }
            if (extra)
                extra(wizard->findChild<FluencyFormWizard4*>());
            QTest::mouseClick(wizard->btnFinish, Qt::LeftButton);
            if (done)
                *done = true;
        });
    }
};
