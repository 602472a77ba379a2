#include "SearchRequest.h"

#include "INetManager.h"

SearchRequest::Refusal SearchRequest::refusalOf(int kind, const QString& text, const QString& languageName)
{
    if (kind == Exercises && text.isEmpty())
        return NoTerms;
    if (languageName.isEmpty())
        return NoLanguage;
    return Accepted;
}

QHash<QString, QString> SearchRequest::criteria(int kind, const QString& text, const QString& languageId, int pageSize,
                                                int page)
{
    QHash<QString, QString> criteria{{QStringLiteral("LanguageID"), languageId},
                                     {QStringLiteral("ResultsLanguageID"), languageId},
                                     {QStringLiteral("MaxResults"), QString::number(pageSize)},
                                     {QStringLiteral("PageNum"), QString::number(page)}};
    if (kind == Lessons) {
        criteria.insert(QStringLiteral("Title"), text);
        criteria.insert(QStringLiteral("Description"), text);
    } else {
        criteria.insert(QStringLiteral("Term"), text);
    }
    return criteria;
}

int SearchRequest::pageButtons(int total, int pageSize, int pageCount)
{
    if (pageSize <= 0 || total <= pageSize)
        return 0;
    const int pages = (total - 1) / pageSize + 1;
    return qMin(pageCount, pages);
}

SearchRequest::Outcome SearchRequest::outcomeOf(int status)
{
    switch (status) {
    case 0:
        return Offline;
    case 2:
        return NoResults;
    case INetManager::ReplyPastLimit:
        return PastLimit;
    case -1:
        return ServiceDown;
    default:
        return Shown;
    }
}

bool SearchRequest::isCutOff(int page, int rows, int pageSize, int pageCount)
{
    return page == pageCount && rows == pageSize;
}
