#pragma once

#include <QSplashScreen>

// The about picture with its words in the interface language: a splash window
// that closes and deletes itself on a click.
class AboutSplash : public QSplashScreen
{
    Q_OBJECT

public:
    explicit AboutSplash(const QPixmap& pixmap);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
