#include "LikePattern.h"

QString LikePattern::contains(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped.append(QLatin1Char('%'));
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            escaped.append(QLatin1Char('\\'));
        escaped.append(c);
    }
    escaped.append(QLatin1Char('%'));
    return escaped;
}
