#include "SplashTexts.h"

#include "ProductInfo.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace {

struct Line
{
    int y;         // baseline
    int pixelSize; // largest size; smaller when the text is wider than the room
    QRgb colour;
};

// The places of the about picture's lines, as the picture was drawn for them.
const Line kAboutLines[] = {
    {160, 16, 0x1f2a33}, {186, 13, 0x46525c}, {222, 11, 0x46525c}, {246, 10, 0x6b7780}, {280, 10, 0x6b7780}};

void drawLine(QPainter& painter, const QString& text, int x, int baseline, int pixelSize, QRgb colour, int room,
              bool centred)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    while (font.pixelSize() > 6 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPixelSize(font.pixelSize() - 1);
    painter.setFont(font);
    painter.setPen(QColor(colour));
    const int width = QFontMetrics(font).horizontalAdvance(text);
    painter.drawText(centred ? x - width / 2 : x, baseline, text);
}

} // namespace

QStringList SplashTexts::aboutLines()
{
    return {tr("A Language Community"), tr("Version %1").arg(QLatin1String(ProductInfo::InternalVersion)),
            tr("Record, share and study the languages you speak."),
            tr("Icons: GNOME Project (Adwaita icon theme), CC-BY-SA 3.0 / LGPL 3."), tr("Click to close.")};
}

QString SplashTexts::startupLine()
{
    return tr("A Language Community");
}

QPixmap SplashTexts::onAbout(const QPixmap& picture)
{
    if (picture.isNull())
        return picture;
    QPixmap drawn = picture;
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QStringList lines = aboutLines();
    const int room = drawn.width() - 60;
    for (int i = 0; i < lines.size(); ++i)
        drawLine(painter, lines.at(i), 30, kAboutLines[i].y, kAboutLines[i].pixelSize, kAboutLines[i].colour, room,
                 false);
    return drawn;
}

QPixmap SplashTexts::onStartup(const QPixmap& picture)
{
    if (picture.isNull())
        return picture;
    QPixmap drawn = picture;
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawLine(painter, startupLine(), drawn.width() / 2, 258, 15, 0x46525c, drawn.width() - 40, true);
    return drawn;
}
