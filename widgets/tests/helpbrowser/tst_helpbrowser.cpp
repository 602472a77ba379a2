#include "HelpBrowser.h"
#include "HelpPages.h"
#include "SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
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
        // German has the first page only.
        QVERIFY(QDir(mDir.path()).mkpath("Docs/html/Deutsch"));
        writePage("Docs/html/Deutsch/first.html", "Erste Seite <a href=\"second.html\">weiter</a>");
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("ViredaHelpBrowserTest"));
        mOldCwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(mDir.path()));
    }

    void cleanupTestCase()
    {
        QSettings().remove(SettingsKeys::UiLanguage);
        QDir::setCurrent(mOldCwd);
    }
    void cleanup() { QSettings().remove(SettingsKeys::UiLanguage); }

    // The interface language's page when it has one, else the English page;
    // a stored name that cannot name a folder is not used.
    void pageInInterfaceLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("German") << "Deutsch"
                                << "Erste Seite"
                                << "Second page";
        QTest::newRow("English") << "English"
                                 << "First page"
                                 << "Second page";
        QTest::newRow("none stored") << ""
                                     << "First page"
                                     << "Second page";
        QTest::newRow("path stored") << "../html"
                                     << "First page"
                                     << "Second page";
    }

    void pageInInterfaceLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, first);
        QFETCH(QString, second);
        if (!language.isEmpty())
            QSettings().setValue(SettingsKeys::UiLanguage, language);
        HelpBrowser browser(nullptr, "Title", searchPaths(), "first.html");
        QVERIFY2(browser.txtHelpBrowser->toPlainText().startsWith(first),
                 qPrintable(browser.txtHelpBrowser->toPlainText()));
        browser.txtHelpBrowser->setSource(QUrl("second.html"));
        QVERIFY(browser.txtHelpBrowser->toPlainText().startsWith(second));
        const QString local = HelpPages::localFile(mDir.filePath("Docs/html/first.html"), HelpPages::language());
        QFile page(local);
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(page.readAll()).contains(first));
    }

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
