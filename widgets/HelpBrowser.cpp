#include "HelpBrowser.h"

#include <QUrl>

HelpBrowser::HelpBrowser(QWidget* parent, const QString& title, const QStringList& searchPaths, const QString& page)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setupUi(this);
    setWindowTitle(title);
    txtHelpBrowser->setSearchPaths(searchPaths);
    txtHelpBrowser->setSource(QUrl(page));
    setMinimumSize(646, 300);
}

HelpBrowser::~HelpBrowser() = default;
