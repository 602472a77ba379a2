#include "PluginDialog.h"

#include "DialogFit.h"
#include "IForm.h"
#include "PluginLocator.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>

PluginDialog::PluginDialog(const QString& pluginsDirectory, const QStringList& fileNames, QWidget* parent)
    : QDialog(parent)
{
    Q_UNUSED(pluginsDirectory)

    mLabel = new QLabel(this);
    mLabel->setWordWrap(true);

    mTreeWidget = new QTreeWidget(this);
    mTreeWidget->setColumnCount(1);
    mTreeWidget->setHeaderLabels({tr("Components")});
    mTreeWidget->header()->hide();
    mTreeWidget->setAlternatingRowColors(false);
    mTreeWidget->setSelectionMode(QAbstractItemView::NoSelection);

    mOkButton = new QPushButton(tr("OK"), this);
    mOkButton->setDefault(true);
    connect(mOkButton, &QPushButton::clicked, this, &PluginDialog::close);

    mInterfaceIcon.addPixmap(style()->standardPixmap(QStyle::SP_DirOpenIcon), QIcon::Normal, QIcon::On);
    mInterfaceIcon.addPixmap(style()->standardPixmap(QStyle::SP_DirClosedIcon), QIcon::Normal, QIcon::Off);

    auto* layout = new QGridLayout(this);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);
    layout->addWidget(mLabel, 0, 0, 1, 3);
    layout->addWidget(mTreeWidget, 1, 0, 1, 3);
    layout->addWidget(mOkButton, 2, 1);

    setWindowTitle(tr("Plugin Information"));
    listPlugins(fileNames);

    // Wide enough for the longest path, as far as the screen allows.
    mTreeWidget->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    mTreeWidget->expandAll();
    mTreeWidget->resizeColumnToContents(0);
    int width = mTreeWidget->columnWidth(0) + 2 * mTreeWidget->frameWidth()
                + mTreeWidget->verticalScrollBar()->sizeHint().width();
    if (const QScreen* screen = this->screen())
        width = qMin(width, screen->availableGeometry().width() - 80);
    mTreeWidget->setMinimumWidth(width);
    DialogFit::fit(this);
}

void PluginDialog::listPlugins(const QStringList& fileNames)
{
    if (fileNames.isEmpty()) {
        mLabel->setText(tr("Vireda couldn't load any plugins in the Plugins_dll/ directory."));
        mTreeWidget->hide();
        return;
    }

    mLabel->setText(tr("Vireda loaded the following plugins in the Plugins_dll/ directory:"));
    for (const QString& fileName : fileNames) {
        QObject* instance = PluginLocator::instance(fileName);

        auto* item = new QTreeWidgetItem(mTreeWidget);
        item->setText(0, fileName);
        item->setExpanded(true);
        QFont font = item->font(0);
        font.setWeight(QFont::Bold);
        item->setFont(0, font);

        if (IForm* form = qobject_cast<IForm*>(instance))
            addInterfaceItem(item, form->title() + QStringLiteral(" Exercise"));
    }
}

void PluginDialog::addInterfaceItem(QTreeWidgetItem* parent, const QString& text)
{
    auto* item = new QTreeWidgetItem(parent);
    item->setText(0, text);
    item->setIcon(0, mInterfaceIcon);
}
