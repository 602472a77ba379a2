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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QString();
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
    if (text.isNull())
        text = QLatin1String("");
    return text;
}
