#include "ILogResource.h"
#include "PluginLocator.h"
#include "TestTree.h"

#include <QFile>
#include <QtTest>

#include <memory>

namespace {

ILogResource* usageLog()
{
    return PluginLocator::load<ILogResource>(QStringLiteral("plugins_dll/Resources/ZoLogResource.dll"));
}

} // namespace

class TestLogResource : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestTree> mTree;

    QStringList logLines() const
    {
        QFile file(mTree->filePath(QStringLiteral("Content/usage.log")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

private slots:
    void init()
    {
        mTree = std::make_unique<TestTree>(TestTree::NoPlugins);
        QVERIFY(mTree->isValid());
        QVERIFY(mTree->addPlugin(TestTree::distPath() + QStringLiteral("/Plugins_dll/Resources/ZoLogResource.so"),
                                 QStringLiteral("Resources")));
        mTree->enter();
        QVERIFY2(usageLog(), "ZoLogResource missing");
    }

    void cleanup()
    {
        usageLog()->closeLog();
        mTree.reset();
    }

    void linesAreAppendedAndFlushed_data()
    {
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one") << QStringList{"search eng 120 ms"} << QStringList{"search eng 120 ms"};
        QTest::newRow("in order") << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"};
        QTest::newRow("line breaks stay in one line") << QStringList{"x\ny", "p\r\nq"} << QStringList{"x y", "p q"};
        QTest::newRow("text beyond ASCII") << QStringList{"Übung 日本"} << QStringList{"Übung 日本"};
        QTest::newRow("empty line") << QStringList{""} << QStringList{""};
    }

    void linesAreAppendedAndFlushed()
    {
        QFETCH(QStringList, written);
        QFETCH(QStringList, expected);
        for (const QString& line : written)
            usageLog()->writeLine(line);
        // Read while the log is still open: every line is on disk already.
        const QStringList lines = logLines();
        QCOMPARE(lines.size(), expected.size());
        for (int i = 0; i < lines.size(); ++i) {
            const int tab = lines.at(i).indexOf(QLatin1Char('\t'));
            QVERIFY2(tab > 0, qPrintable(lines.at(i)));
            QVERIFY(QDateTime::fromString(lines.at(i).left(tab), Qt::ISODate).isValid());
            QCOMPARE(lines.at(i).mid(tab + 1), expected.at(i));
        }
    }

    void closeKeepsWhatWasWritten()
    {
        usageLog()->writeLine(QStringLiteral("before"));
        usageLog()->closeLog();
        usageLog()->closeLog(); // closing twice is harmless
        QCOMPARE(logLines().size(), 1);
        usageLog()->writeLine(QStringLiteral("after"));
        const QStringList lines = logLines();
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).endsWith(QLatin1String("\tbefore")));
        QVERIFY(lines.at(1).endsWith(QLatin1String("\tafter")));
    }

    void existingLogIsExtended()
    {
        QFile file(mTree->filePath(QStringLiteral("Content/usage.log")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("older line\n");
        file.close();
        usageLog()->writeLine(QStringLiteral("newer"));
        const QStringList lines = logLines();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0), QStringLiteral("older line"));
    }
};

QTEST_MAIN(TestLogResource)
#include "tst_logresource.moc"
