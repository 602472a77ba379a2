#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Lists the plug-in files the program loaded, naming the form of each form plug-in.
class PluginDialog : public QDialog
{
    Q_OBJECT

public:
    PluginDialog(const QString& pluginsDirectory, const QStringList& fileNames, QWidget* parent = nullptr);

    QLabel* label() const { return mLabel; }
    QTreeWidget* treeWidget() const { return mTreeWidget; }
    QPushButton* okButton() const { return mOkButton; }

private:
    void listPlugins(const QStringList& fileNames);
    void addInterfaceItem(QTreeWidgetItem* parent, const QString& text);

    QLabel* mLabel = nullptr;
    QTreeWidget* mTreeWidget = nullptr;
    QPushButton* mOkButton = nullptr;
    QIcon mInterfaceIcon;
};
