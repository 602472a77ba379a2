#include "ContentGate.h"

#include "WavReader.h"

#include <QBuffer>
#include <QChar>

namespace {

// XML 1.0: TAB, LF, CR, and everything from U+0020 on but the surrogate
// range, U+FFFE and U+FFFF.
bool isXmlChar(char32_t c)
{
    if (c < 0x20)
        return c == 0x09 || c == 0x0A || c == 0x0D;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

bool isNameChar(char32_t c)
{
    if (!isXmlChar(c) || c < 0x20 || (c >= 0x7F && c <= 0x9F))
        return false;
    if (c == '/' || c == '\\')
        return false;
    if ((c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE)
        return false;
    switch (QChar::category(c)) {
    case QChar::Other_Format: // direction marks and overrides, zero-width characters
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_NotAssigned:
        return false;
    default:
        return true;
    }
}

// Calls take(code point) for each character; a lone surrogate is passed as is.
template <typename F>
bool allCodePoints(const QString& text, F take)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        char32_t point = c.unicode();
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            point = QChar::surrogateToUcs4(c, text.at(i + 1));
            ++i;
        }
        if (!take(point))
            return false;
    }
    return true;
}

} // namespace

bool ContentGate::isPlainFileName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.startsWith(QLatin1Char(':')))
        return false;
    if (name.toUtf8().size() > MaxFileNameBytes)
        return false;
    return allCodePoints(name, isNameChar);
}

QString ContentGate::filePathIn(const QString& folder, const QString& name)
{
    QString path = folder.isEmpty() ? QStringLiteral(".") : folder;
    if (path.startsWith(QLatin1Char(':')))
        path.prepend(QLatin1String("./"));
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + name;
}

bool ContentGate::isXmlText(const QString& text)
{
    return allCodePoints(text, isXmlChar);
}

QString ContentGate::toXmlText(const QString& text)
{
    if (isXmlText(text))
        return text;
    QString kept;
    kept.reserve(text.size());
    allCodePoints(text, [&kept](char32_t c) {
        if (isXmlChar(c)) {
            if (QChar::requiresSurrogates(c)) {
                kept += QChar(QChar::highSurrogate(c));
                kept += QChar(QChar::lowSurrogate(c));
            } else {
                kept += QChar(char16_t(c));
            }
        }
        return true;
    });
    return kept;
}

bool ContentGate::isWavHeader(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    return buffer.open(QIODevice::ReadOnly) && WavReader::read(&buffer).isPlayable();
}

bool ContentGate::isWavFile(const QString& path, QString* reason)
{
    const WavReader::Sound sound = WavReader::readFile(path);
    if (reason)
        *reason = sound.reason;
    return sound.isPlayable();
}
