#include "SingleInstanceLock.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    // A refused lock tells a running copy from a folder the lock cannot be made in.
    void refusal_data()
    {
        QTest::addColumn<bool>("heldElsewhere"); // another holder in the folder
        QTest::addColumn<bool>("folderMissing"); // no folder to write the lock into
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("heldByAnother");
        QTest::newRow("free") << false << false << true << false;
        QTest::newRow("held") << true << false << false << true;
        QTest::newRow("folder missing") << false << true << false << false;
    }

    void refusal()
    {
        QFETCH(bool, heldElsewhere);
        QFETCH(bool, folderMissing);
        QTemporaryDir dir;
        const QString folder = folderMissing ? dir.filePath(QStringLiteral("gone")) : dir.path();
        SingleInstanceLock first(folder);
        if (heldElsewhere)
            QVERIFY(first.tryLock());
        SingleInstanceLock second(folder);
        QTEST(second.tryLock(), "locked");
        if (!second.tryLock())
            QTEST(second.heldByAnother(), "heldByAnother");
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
