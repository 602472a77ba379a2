#pragma once

#include <QHash>
#include <QString>

// What a search asks the network manager for, and what its reply means for
// the result pages; no widgets.
class SearchRequest
{
public:
    enum Kind { Exercises = 0, Lessons = 1 };
    // Why a search is not sent.
    enum Refusal { Accepted, NoTerms, NoLanguage };
    // What the tab does with a reply's status.
    enum Outcome { Shown, Offline, NoResults, PastLimit, ServiceDown };

    // An exercise search needs words; every search needs a language.
    static Refusal refusalOf(int kind, const QString& text, const QString& languageName);
    // The criteria of one page: exercises by term, lessons by title or description.
    static QHash<QString, QString> criteria(int kind, const QString& text, const QString& languageId, int pageSize,
                                            int page);
    // How many page buttons a reply of total results shows: none for one
    // page, else one per page begun, at most pageCount.
    static int pageButtons(int total, int pageSize, int pageCount);
    static Outcome outcomeOf(int status);
    // A full last page: the search found more than the pages show.
    static bool isCutOff(int page, int rows, int pageSize, int pageCount);
};
