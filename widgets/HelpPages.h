#pragma once

#include <QString>
#include <QStringList>

// Help pages in the interface language: a language's pages sit in a folder named
// after it (as its translations do) inside each folder of English pages; a page
// without a translation is found in English.
class HelpPages
{
public:
    // The stored interface language when it can name a folder, else empty.
    static QString language();
    // Each path preceded by its folder of the language's pages.
    static QStringList searchPaths(const QStringList& paths, const QString& language);
    // The language's version of the page at path when there is one, else path.
    static QString localFile(const QString& path, const QString& language);
};
