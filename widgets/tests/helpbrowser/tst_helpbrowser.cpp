#include "HelpBrowser.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

// Pages in a temporary folder: one in the folder itself, two under Docs/html
// that link to each other.
class HelpBrowserTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mDir;
    QString mOldCwd;

    void writePage(const QString& relative, const QString& body)
    {
        QFile file(mDir.filePath(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("<html><body>" + body + "</body></html>").toUtf8());
    }

    static QStringList searchPaths() { return {QStringLiteral("."), QStringLiteral("Docs/html")}; }

private slots:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        QVERIFY(QDir(mDir.path()).mkpath("Docs/html"));
        writePage("toplevel.html", "Top level page");
        writePage("Docs/html/first.html", "First page <a href=\"second.html\">next</a>");
        writePage("Docs/html/second.html", "Second page");
        mOldCwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(mDir.path()));
    }

    void cleanupTestCase() { QDir::setCurrent(mOldCwd); }

    void findsPageThroughSearchPaths_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("expected");
        QTest::newRow("working folder") << "toplevel.html"
                                        << "Top level page";
        QTest::newRow("Docs/html") << "first.html"
                                   << "First page";
        QTest::newRow("missing") << "nowhere.html"
                                 << "";
    }

    void findsPageThroughSearchPaths()
    {
        QFETCH(QString, page);
        QFETCH(QString, expected);
        HelpBrowser browser(nullptr, "Title", searchPaths(), page);
        browser.show();
        QVERIFY(browser.isVisible());
        const QString text = browser.txtHelpBrowser->toPlainText();
        if (expected.isEmpty())
            QVERIFY(text.trimmed().isEmpty());
        else
            QVERIFY2(text.startsWith(expected), qPrintable(text));
    }

    void setsTitleAndMinimumSize()
    {
        HelpBrowser browser(nullptr, "Vireda", searchPaths(), "first.html");
        QCOMPARE(browser.windowTitle(), QString("Vireda"));
        QCOMPARE(browser.minimumSize(), QSize(646, 300));
        QVERIFY(!(browser.windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(browser.windowFlags() & Qt::WindowSystemMenuHint);
    }

    void navigationFollowsHistory()
    {
        HelpBrowser browser(nullptr, "Title", searchPaths(), "first.html");
        browser.show();
        QVERIFY(!browser.btnBack->isEnabled());
        QVERIFY(!browser.btnForward->isEnabled());

        browser.txtHelpBrowser->setSource(QUrl("second.html"));
        QVERIFY(browser.txtHelpBrowser->toPlainText().startsWith("Second page"));
        QVERIFY(browser.btnBack->isEnabled());
        QVERIFY(!browser.btnForward->isEnabled());

        QTest::mouseClick(browser.btnBack, Qt::LeftButton);
        QVERIFY(browser.txtHelpBrowser->toPlainText().startsWith("First page"));
        QVERIFY(!browser.btnBack->isEnabled());
        QVERIFY(browser.btnForward->isEnabled());

        QTest::mouseClick(browser.btnForward, Qt::LeftButton);
        QVERIFY(browser.txtHelpBrowser->toPlainText().startsWith("Second page"));
    }

    void closeButtonHidesWindow()
    {
        HelpBrowser browser(nullptr, "Title", searchPaths(), "first.html");
        browser.show();
        QTest::mouseClick(browser.btnClose, Qt::LeftButton);
        QVERIFY(!browser.isVisible());
    }
};

QTEST_MAIN(HelpBrowserTest)
#include "tst_helpbrowser.moc"
