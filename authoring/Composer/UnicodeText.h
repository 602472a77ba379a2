#pragma once

#include <QString>

// Text files that may start with a byte-order mark.
class UnicodeText
{
public:
    enum Problem { NoProblem, CannotOpen, TooLarge, BadEncoding };
    enum Mark { Unreadable = -1, NoMark = 0, Utf8Mark = 1, Utf16BigEndianMark = 2, Utf16LittleEndianMark = 3 };

    // The mark the file starts with; Unreadable when it cannot be opened.
    static Mark detect(const QString& path);
    // The whole file decoded by its mark (UTF-16 in either order or UTF-8),
    // as UTF-8 without one; the mark is not part of the text. Null when the
    // file cannot be read.
    static QString read(const QString& path);
    // read, but null with *problem set when the file cannot be opened, is
    // larger than maxBytes, or (when strict) holds bytes its encoding forbids.
    static QString read(const QString& path, qint64 maxBytes, bool strict, Problem* problem);
};
