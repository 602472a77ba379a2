#include "TestForm.h"

#include "CallLog.h"
#include "IMainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>

TestForm::TestForm()
{
    setObjectName(QStringLiteral("TestForm" TEST_FORM_NAME));
}

TestForm::~TestForm()
{
    if (property("logDestroyed").toBool())
        log("destroyed");
}

void TestForm::runLoop(int ms)
{
    log("loop started");
    const QPointer<TestForm> self(this);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!self) {
            CallLog::append(QStringLiteral(TEST_FORM_NAME ":loop stopped"));
            return;
        }
        ++mLoopRounds;
    }
    log("loop ended");
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
    if (property("refuseClose").toBool()) {
        event->ignore();
        return;
    }
    const QString saveFile = property("saveFile").toString();
    if (!saveFile.isEmpty()) {
        QFile file(saveFile);
        if (file.open(QIODevice::WriteOnly))
            file.write("saved");
    }
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
    // A form as wide as the application's "shellTestFormWidth" asks, its
    // button at the right end.
    const int wide = qApp->property("shellTestFormWidth").toInt();
    if (wide > 0 && !layout()) {
        auto* row = new QHBoxLayout(this);
        auto* button = new QPushButton(QStringLiteral("Far right"), this);
        button->setObjectName(QStringLiteral("btnFarRight"));
        row->addSpacing(wide);
        row->addWidget(button);
    }
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
