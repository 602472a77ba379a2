#include "WelcomeForm.h"

#include "HelpPages.h"

#include <QDir>
#include <QFile>

WelcomeForm::WelcomeForm(QWidget* parent, const QString& directory, const QString& page, int showDontShow)
    : QDialog(parent, Qt::WindowSystemMenuHint)
{
    setupUi(this);
    const QString path = HelpPages::localFile(page.arg(QDir(directory).absolutePath()), HelpPages::language());
    btnDontShow->setVisible(showDontShow != 0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // One HTML document, so that markup spanning lines stays intact.
    tEditWelcome->setHtml(QString::fromUtf8(file.readAll()));
}
