#include "PluginDialog.h"
#include "TestTree.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

// Lists are given as the main window records them, relative to the tree.
class PluginDialogTest : public QObject
{
    Q_OBJECT

private:
    TestTree mTree{TestTree::NoPlugins};

private slots:
    void initTestCase()
    {
        QVERIFY(mTree.isValid());
        QVERIFY(mTree.addPlugin("shell/ShellTestFormA.so", "Forms"));
        QVERIFY(mTree.addPlugin("shell/ShellTestAudio.so", "Managers", "ZoAudio.so"));
        mTree.enter();
    }

    void cleanupTestCase() { mTree.restore(); }

    void emptyList()
    {
        PluginDialog dialog(mTree.filePath("Plugins_dll"), {});
        QCOMPARE(dialog.windowTitle(), QString("Plugin Information"));
        QCOMPARE(dialog.label()->text(), QString("Vireda couldn't load any plugins in the Plugins_dll/ directory."));
        QVERIFY(dialog.treeWidget()->isHidden());
        QCOMPARE(dialog.treeWidget()->topLevelItemCount(), 0);
    }

    void listsEveryFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("children");
        QTest::newRow("form") << "Plugins_dll/Forms/ShellTestFormA.so" << QStringList{"Form A Exercise"};
        QTest::newRow("form named the old way")
            << "Plugins_dll/Forms/ShellTestFormA.dll" << QStringList{"Form A Exercise"};
        QTest::newRow("manager") << "Plugins_dll/Managers/ZoAudio.so" << QStringList{};
        QTest::newRow("no longer loads") << "Plugins_dll/Managers/Storekeeper.so" << QStringList{};
    }

    void listsEveryFile()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, children);
        PluginDialog dialog(mTree.filePath("Plugins_dll"), {"Plugins_dll/Resources/First.so", file});
        QCOMPARE(dialog.label()->text(), QString("Vireda loaded the following plugins in the Plugins_dll/ directory:"));
        QVERIFY(!dialog.treeWidget()->isHidden());
        QCOMPARE(dialog.treeWidget()->topLevelItemCount(), 2);

        QTreeWidgetItem* item = dialog.treeWidget()->topLevelItem(1);
        QCOMPARE(item->text(0), file);
        QVERIFY(item->font(0).bold());
        QVERIFY(item->isExpanded());
        QStringList shown;
        for (int i = 0; i < item->childCount(); ++i) {
            shown.append(item->child(i)->text(0));
            QVERIFY(!item->child(i)->icon(0).isNull());
        }
        QCOMPARE(shown, children);
        QCOMPARE(dialog.treeWidget()->topLevelItem(0)->childCount(), 0);
    }

    void okCloses()
    {
        PluginDialog dialog(mTree.filePath("Plugins_dll"), {"Plugins_dll/Managers/ZoAudio.so"});
        dialog.show();
        QVERIFY(dialog.okButton()->isDefault());
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(PluginDialogTest)
#include "tst_plugindialog.moc"
