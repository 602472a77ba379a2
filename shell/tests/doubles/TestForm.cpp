#include "TestForm.h"

#include "CallLog.h"
#include "IMainWindow.h"

#include <QCloseEvent>

TestForm::TestForm()
{
    setObjectName(QStringLiteral("TestForm" TEST_FORM_NAME));
}

void TestForm::log(const char* operation)
{
    CallLog::append(QStringLiteral(TEST_FORM_NAME ":") + QLatin1String(operation));
}

void TestForm::init()
{
    log("init");
}

int TestForm::customRefresh()
{
    log("customRefresh");
    return property("refresh").isValid() ? property("refresh").toInt() : 1;
}

int TestForm::updateViewLists()
{
    log("updateViewLists");
    return 1;
}

void TestForm::retranslateView()
{
    log("retranslateView");
}

int TestForm::customLeave()
{
    log("customLeave");
    return property("leave").isValid() ? property("leave").toInt() : 1;
}

void TestForm::closeEvent(QCloseEvent* event)
{
    log("closeEvent");
    if (property("refuseClose").toBool())
        event->ignore();
}

QString TestForm::title()
{
    log("title");
    const QString title = property("title").toString();
    return title.isEmpty() ? QStringLiteral("Form " TEST_FORM_NAME) : title;
}

QString TestForm::translationFileName(QString language)
{
    log("translationFileName");
    return QStringLiteral("form" TEST_FORM_NAME "-") + language;
}

QWidget* TestForm::widget()
{
    log("widget");
    return this;
}

int TestForm::tabIndex()
{
    log("tabIndex");
    return 0;
}

void TestForm::setMainWindow(IMainWindow* mainWindow)
{
    log("setMainWindow");
    mMainWindow = mainWindow;
    if (mainWindow)
        connect(mainWindow, SIGNAL(fontChanged()), this, SLOT(redrawView()));
}

void TestForm::refreshData()
{
    log("refreshData");
}

int TestForm::redrawView()
{
    log("redrawView");
    return 1;
}
