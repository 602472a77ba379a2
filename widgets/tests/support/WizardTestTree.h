#pragma once

#include "MessageBoxHelper.h"
#include "ScriptedNet.h"
#include "SettingsStore.h"
#include "TestTree.h"

#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTextStream>

// A ready-to-run tree with the real resource plug-ins and store, the scripted
// network manager in place of the real one, scripted message boxes and the
// title "software/version" = Title. Entered on construction.
class WizardTestTree
{
public:
    static QString title() { return QStringLiteral("Vireda Test"); }

    WizardTestTree()
    {
        SettingsStore::configure();
        mTree.removePlugin(QStringLiteral("Managers"), QStringLiteral("Courier.so"));
        mPluginInstalled = mTree.addPlugin(QStringLiteral("shell/ScriptedNetManager.so"), QStringLiteral("Managers"),
                                           QStringLiteral("Courier.so"));
        mTree.enter();
        qputenv("VIREDA_NET_SCRIPT", QFile::encodeName(scriptPath()));
        qputenv("VIREDA_NET_LOG", QFile::encodeName(callLogPath()));
        qputenv("VIREDA_MSGBOX_LOG", QFile::encodeName(boxLogPath()));
        answerBoxes({});
        QSettings().setValue(QStringLiteral("software/version"), title());
    }

    bool isValid() const { return mTree.isValid() && mPluginInstalled; }
    TestTree& tree() { return mTree; }

    QString scriptPath() const { return mTree.filePath(QStringLiteral("netscript.ini")); }
    QString callLogPath() const { return mTree.filePath(QStringLiteral("netcalls.log")); }
    QString boxLogPath() const { return mTree.filePath(QStringLiteral("boxes.log")); }

    // Results of the network manager from now on; also forgets earlier calls.
    bool scriptNet(const QHash<QString, QString>& results)
    {
        ScriptedNet::clearLog(callLogPath());
        return ScriptedNet::writeScript(scriptPath(), results);
    }
    QList<ScriptedNet::Call> netCalls(const QString& op) const { return ScriptedNet::calls(callLogPath(), op); }

    // Every box shown so far, one logged line each.
    QStringList boxes() const
    {
        QStringList lines;
        QFile file(boxLogPath());
        if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            QTextStream in(&file);
            in.setEncoding(QStringConverter::Utf8);
            while (!in.atEnd())
                lines.append(in.readLine());
        }
        return lines;
    }
    QStringList boxesSince(int mark) const { return boxes().mid(mark); }

    // The next boxes are answered with these button indexes, later ones as closed.
    void answerBoxes(const QList<int>& answers)
    {
        QStringList list;
        for (int a : answers)
            list << QString::number(a);
        qputenv("VIREDA_MSGBOX_ANSWERS", list.join(QLatin1Char(',')).toLatin1());
        MessageBoxHelper::resetScript();
    }

    // The line a box with this kind and text logs, with the tree's title and an OK button.
    static QString box(MessageBoxHelper::Kind kind, const QString& text,
                       const QStringList& buttons = {QStringLiteral("OK")})
    {
        return MessageBoxHelper::logLine(kind, title(), text, buttons);
    }
    static QString info(const QString& text) { return box(MessageBoxHelper::Information, text); }
    static QString warning(const QString& text, const QStringList& buttons = {QStringLiteral("OK")})
    {
        return box(MessageBoxHelper::Warning, text, buttons);
    }

private:
    TestTree mTree;
    bool mPluginInstalled = false;
};
