#include "UnicodeText.h"

#include <QFile>
#include <QStringDecoder>

namespace {

UnicodeText::Mark markOf(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return UnicodeText::Utf8Mark;
    if (bytes.startsWith("\xFE\xFF"))
        return UnicodeText::Utf16BigEndianMark;
    if (bytes.startsWith("\xFF\xFE"))
        return UnicodeText::Utf16LittleEndianMark;
    return UnicodeText::NoMark;
}

} // namespace

UnicodeText::Mark UnicodeText::detect(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Unreadable;
    return markOf(file.read(4));
}

QString UnicodeText::read(const QString& path)
{
    Problem ignored;
    return read(path, -1, false, &ignored);
}

QString UnicodeText::read(const QString& path, qint64 maxBytes, bool strict, Problem* problem)
{
    *problem = NoProblem;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = CannotOpen;
        return QString();
    }
    if (maxBytes >= 0 && file.size() > maxBytes) {
        *problem = TooLarge;
        return QString();
    }
    // A file growing while it is read stops at the limit.
    const QByteArray bytes = maxBytes >= 0 ? file.read(maxBytes + 1) : file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *problem = CannotOpen;
        return QString();
    }
    if (maxBytes >= 0 && bytes.size() > maxBytes) {
        *problem = TooLarge;
        return QString();
    }
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    switch (markOf(bytes)) {
    case Utf16BigEndianMark:
        encoding = QStringConverter::Utf16BE;
        break;
    case Utf16LittleEndianMark:
        encoding = QStringConverter::Utf16LE;
        break;
    default:
        break;
    }
    // The decoder drops a leading mark.
    QStringDecoder decoder(encoding);
    QString text = decoder.decode(bytes);
    if (strict && decoder.hasError()) {
        *problem = BadEncoding;
        return QString();
    }
    if (text.isNull())
        text = QLatin1String("");
    return text;
}
