#include "MessageBoxHelper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void logLine_data();
    void logLine();
    void scriptedAnswers();
    void interactiveIndex_data();
    void interactiveIndex();
    void textIsPlain();
    void centredOverItsWindow_data();
    void centredOverItsWindow();
};

void TestMessageBox::logLine_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << int(MessageBoxHelper::Information) << "Vireda"
                           << "Hello." << QStringList{"OK"} << "information\tVireda\tHello.\tOK";
    QTest::newRow("newlines and tabs") << int(MessageBoxHelper::Warning) << "T"
                                       << "a\nb\tc\\d" << QStringList{"Yes", "No"}
                                       << "warning\tT\ta\\nb\\tc\\\\d\tYes|No";
    QTest::newRow("no buttons") << int(MessageBoxHelper::Critical) << ""
                                << "x" << QStringList{} << "critical\t\tx\t";
    QTest::newRow("question") << int(MessageBoxHelper::Question) << "Q"
                              << "Sure?" << QStringList{"OK", "Review"} << "question\tQ\tSure?\tOK|Review";
}

void TestMessageBox::logLine()
{
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QStringList, buttons);
    QFETCH(QString, expected);
    QCOMPARE(MessageBoxHelper::logLine(MessageBoxHelper::Kind(kind), title, text, buttons), expected);
}

void TestMessageBox::scriptedAnswers()
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("boxes.log"));
    qputenv("VIREDA_MSGBOX_LOG", QFile::encodeName(log));
    // 1 is valid, 5 is out of range (closed), "x" is not a number (closed), then they run out.
    qputenv("VIREDA_MSGBOX_ANSWERS", "1,5,x");

    const QStringList two{QStringLiteral("OK"), QStringLiteral("Review")};
    QCOMPARE(MessageBoxHelper::question(nullptr, QStringLiteral("Vireda"), QStringLiteral("First"), two), 1);
    QCOMPARE(MessageBoxHelper::question(nullptr, QStringLiteral("Vireda"), QStringLiteral("Second"), two), -1);
    QCOMPARE(MessageBoxHelper::information(nullptr, QStringLiteral("Vireda"), QStringLiteral("Third")), -1);
    QCOMPARE(MessageBoxHelper::critical(nullptr, QStringLiteral("Vireda"), QStringLiteral("Fourth\nline")), -1);

    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines, (QStringList{
                        QStringLiteral("question\tVireda\tFirst\tOK|Review"),
                        QStringLiteral("question\tVireda\tSecond\tOK|Review"),
                        QStringLiteral("information\tVireda\tThird\tOK"),
                        QStringLiteral("critical\tVireda\tFourth\\nline\tOK"),
                    }));
    qunsetenv("VIREDA_MSGBOX_LOG");
    qunsetenv("VIREDA_MSGBOX_ANSWERS");
}

void TestMessageBox::interactiveIndex_data()
{
    QTest::addColumn<int>("press"); // -1: escape key
    QTest::addColumn<int>("escapeButton");
    QTest::addColumn<int>("expected");

    QTest::newRow("first") << 0 << -1 << 0;
    QTest::newRow("third") << 2 << -1 << 2;
    QTest::newRow("escape to button 1") << -1 << 1 << 1;
}

void TestMessageBox::interactiveIndex()
{
    QFETCH(int, press);
    QFETCH(int, escapeButton);
    QFETCH(int, expected);
    QVERIFY(!MessageBoxHelper::isScripted());

    QTimer::singleShot(0, [press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (press < 0) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        const QList<QAbstractButton*> buttons = box->buttons();
        // Find the button by its text, as a user would.
        const QString label = QStringLiteral("B%1").arg(press);
        for (QAbstractButton* b : buttons) {
            if (b->text() == label) {
                b->click();
                return;
            }
        }
        QFAIL("button not found");
    });
    const int result = MessageBoxHelper::show(MessageBoxHelper::Question, nullptr, QStringLiteral("T"),
                                              QStringLiteral("?"),
                                              {QStringLiteral("B0"), QStringLiteral("B1"), QStringLiteral("B2")}, 0,
                                              escapeButton);
    QCOMPARE(result, expected);
}

// Another learner's title such as "<b>x</b>" is logged and shown as typed.
void TestMessageBox::textIsPlain()
{
    const QString text = QStringLiteral("<b>x</b>");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString log = dir.filePath(QStringLiteral("boxes.log"));
    qputenv("VIREDA_MSGBOX_LOG", QFile::encodeName(log));
    MessageBoxHelper::resetScript();
    MessageBoxHelper::information(nullptr, QStringLiteral("T"), text);
    qunsetenv("VIREDA_MSGBOX_LOG");
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()).trimmed(),
             MessageBoxHelper::logLine(MessageBoxHelper::Information, QStringLiteral("T"), text,
                                       {QStringLiteral("OK")}));

    QVERIFY(!MessageBoxHelper::isScripted());
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = box->text();
        format = box->textFormat();
        // What the box displays: its label's text and format.
        for (QLabel* label : box->findChildren<QLabel*>()) {
            if (label->text() == text && label->textFormat() != Qt::PlainText)
                format = label->textFormat();
        }
        box->buttons().first()->click();
    });
    MessageBoxHelper::information(nullptr, QStringLiteral("T"), text);
    QCOMPARE(shown, text);
    QCOMPARE(format, Qt::PlainText);
}

void TestMessageBox::centredOverItsWindow_data()
{
    // How the box's parent stands: 0 a shown dialog, 1 a widget inside a shown
    // window, 2 a dialog of that window not shown yet, 3 a dialog that hid itself.
    QTest::addColumn<int>("parentKind");
    QTest::addColumn<QRect>("window");
    QTest::newRow("shown dialog") << 0 << QRect(420, 280, 320, 220);
    QTest::newRow("widget inside a window") << 1 << QRect(60, 60, 360, 240);
    QTest::newRow("dialog not shown yet") << 2 << QRect(400, 300, 360, 240);
    QTest::newRow("dialog that hid itself") << 3 << QRect(80, 260, 360, 240);
}

// A box appears centred over the window that raised it, or over the shown
// window a hidden dialog belongs to, never at the screen's corner.
void TestMessageBox::centredOverItsWindow()
{
    QFETCH(int, parentKind);
    QFETCH(QRect, window);
    QVERIFY(!MessageBoxHelper::isScripted());
    QWidget main;
    main.setWindowTitle(QStringLiteral("main"));
    main.setGeometry(parentKind == 0 ? QRect(0, 0, 200, 150) : window);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QDialog dialog(&main);
    auto* inside = new QPushButton(QStringLiteral("inside"), &main);
    QWidget* parent = &dialog;
    QWidget* expected = &main;
    if (parentKind == 0) {
        dialog.setGeometry(window);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        expected = &dialog;
    } else if (parentKind == 1) {
        inside->show();
        parent = inside;
    } else if (parentKind == 3) {
        dialog.setGeometry(QRect(0, 0, 300, 200));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.hide();
    }

    QRect shownAt;
    QPointer<QWidget> boxParent;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shownAt = box->frameGeometry();
        boxParent = box->parentWidget();
        box->buttons().first()->click();
    });
    MessageBoxHelper::information(parent, QStringLiteral("T"), QStringLiteral("A box of a few words."));
    QVERIFY(shownAt.isValid());
    const QPoint offset = shownAt.center() - expected->frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QStringLiteral("box at %1,%2 %3x%4, window centre %5,%6")
                                                           .arg(shownAt.x())
                                                           .arg(shownAt.y())
                                                           .arg(shownAt.width())
                                                           .arg(shownAt.height())
                                                           .arg(expected->frameGeometry().center().x())
                                                           .arg(expected->frameGeometry().center().y())));
    QVERIFY(boxParent && boxParent->window() == expected);
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
