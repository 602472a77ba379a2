#include "HelpBrowser.h"

#include "HelpPages.h"

#include <QUrl>

HelpBrowser::HelpBrowser(QWidget* parent, const QString& title, const QStringList& searchPaths, const QString& page)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setupUi(this);
    setWindowTitle(title);
    // The interface language's pages first; a page it lacks is found in English.
    txtHelpBrowser->setSearchPaths(HelpPages::searchPaths(searchPaths, HelpPages::language()));
    txtHelpBrowser->setSource(QUrl(page));
    setMinimumSize(646, 300);
}

HelpBrowser::~HelpBrowser() = default;
