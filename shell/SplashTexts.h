#pragma once

#include <QCoreApplication>
#include <QPixmap>
#include <QStringList>

// The words of the start-up and about pictures, drawn over them in the
// interface language (the pictures themselves hold none).
class SplashTexts
{
    Q_DECLARE_TR_FUNCTIONS(SplashTexts)

public:
    // The about picture's lines, top to bottom.
    static QStringList aboutLines();
    // The line below the name on the start-up picture.
    static QString startupLine();

    static QPixmap onAbout(const QPixmap& picture);
    static QPixmap onStartup(const QPixmap& picture);
};
