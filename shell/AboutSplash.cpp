#include "AboutSplash.h"

#include "SplashTexts.h"

AboutSplash::AboutSplash(const QPixmap& pixmap)
    : QSplashScreen(SplashTexts::onAbout(pixmap))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // An open about picture does not keep the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void AboutSplash::mousePressEvent(QMouseEvent*)
{
    close();
}
