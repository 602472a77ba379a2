#include "ILogResource.h"
#include "PluginLocator.h"
#include "TestTree.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

class TestPluginLocator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void resolve_data();
    void resolve();
    void treeName_data();
    void treeName();
    void missingPluginIsNull();
    void oneInstanceForEverySpelling();
    void wrongInterfaceIsNull();

private:
    TestTree* mTree = nullptr;
};

void TestPluginLocator::initTestCase()
{
    mTree = new TestTree(TestTree::NoPlugins);
    QVERIFY(mTree->isValid());
    QVERIFY(mTree->addPlugin(QStringLiteral("Managers/LocatorProbe.so"), QStringLiteral("Managers")));
    mTree->enter();
}

void TestPluginLocator::resolve_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // relative to the tree

    QTest::newRow("lower-case dir, .dll") << "plugins_dll/Managers/LocatorProbe.dll"
                                          << "plugins_dll/Managers/LocatorProbe.so";
    QTest::newRow("upper-case dir, .dll") << "Plugins_dll/Managers/LocatorProbe.dll"
                                          << "Plugins_dll/Managers/LocatorProbe.so";
    QTest::newRow("sub-dir in other case") << "PLUGINS_DLL/managers/LocatorProbe.DLL"
                                           << "Plugins_dll/Managers/LocatorProbe.so";
    QTest::newRow("backslashes") << "plugins_dll\\Managers\\LocatorProbe.dll"
                                 << "plugins_dll/Managers/LocatorProbe.so";
    QTest::newRow("already .so") << "Plugins_dll/Managers/LocatorProbe.so"
                                 << "Plugins_dll/Managers/LocatorProbe.so";
    QTest::newRow("missing file keeps mapped name") << "plugins_dll/Managers/Nothing.dll"
                                                    << "plugins_dll/Managers/Nothing.so";
}

void TestPluginLocator::resolve()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const QString result = PluginLocator::resolve(name);
    QVERIFY2(QDir::isAbsolutePath(result), qPrintable(result));
    QCOMPARE(result, QDir::cleanPath(QDir::current().absoluteFilePath(expected)));
}

void TestPluginLocator::treeName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lower-case folder") << "plugins_dll/Managers/Courier.dll"
                                       << "Plugins_dll/Managers/Courier.so";
    QTest::newRow("other case, backslashes") << "PLUGINS_DLL\\Forms\\Finder.DLL"
                                             << "Plugins_dll/Forms/Finder.so";
    QTest::newRow("tree spelling kept") << "Plugins_dll/Resources/ZoLogResource.so"
                                        << "Plugins_dll/Resources/ZoLogResource.so";
    QTest::newRow("longer folder name untouched") << "plugins_dllx/A.dll"
                                                  << "plugins_dllx/A.so";
    QTest::newRow("other folder untouched") << "Icons/plugins_dll/A.dll"
                                            << "Icons/plugins_dll/A.so";
}

void TestPluginLocator::treeName()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(PluginLocator::treeName(name), expected);
}

void TestPluginLocator::missingPluginIsNull()
{
    QCOMPARE(PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Nothing.dll")), nullptr);
    QCOMPARE(PluginLocator::load<ILogResource>(QStringLiteral("plugins_dll/Resources/LocatorProbe.dll")), nullptr);
}

void TestPluginLocator::oneInstanceForEverySpelling()
{
    ILogResource* a = PluginLocator::load<ILogResource>(QStringLiteral("plugins_dll/Managers/LocatorProbe.dll"));
    ILogResource* b = PluginLocator::load<ILogResource>(QStringLiteral("Plugins_dll/Managers/LocatorProbe.dll"));
    ILogResource* c = PluginLocator::load<ILogResource>(
        PluginLocator::resolve(QStringLiteral("plugins_dll/managers/LocatorProbe.so")));
    QVERIFY(a);
    QCOMPARE(b, a);
    QCOMPARE(c, a);
}

void TestPluginLocator::wrongInterfaceIsNull()
{
    QObject* object = PluginLocator::instance(QStringLiteral("plugins_dll/Managers/LocatorProbe.dll"));
    QVERIFY(object);
    QCOMPARE(qobject_cast<QAbstractItemModel*>(object), nullptr);
}

QTEST_GUILESS_MAIN(TestPluginLocator)
#include "tst_pluginlocator.moc"
