#include "INetManager.h"
#include "SearchRequest.h"

#include <QtTest>

using Hash = QHash<QString, QString>;

// What a search sends and what its reply means, without the tab.
class TestSearchRequest : public QObject
{
    Q_OBJECT

private slots:
    void refusal_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("refusal");
        QTest::newRow("exercise") << int(SearchRequest::Exercises) << "chat"
                                  << "French" << int(SearchRequest::Accepted);
        QTest::newRow("exercise without words") << int(SearchRequest::Exercises) << ""
                                                << "French" << int(SearchRequest::NoTerms);
        QTest::newRow("words come before the language") << int(SearchRequest::Exercises) << ""
                                                        << "" << int(SearchRequest::NoTerms);
        QTest::newRow("lesson without words") << int(SearchRequest::Lessons) << ""
                                              << "French" << int(SearchRequest::Accepted);
        QTest::newRow("lesson without a language") << int(SearchRequest::Lessons) << "mots"
                                                   << "" << int(SearchRequest::NoLanguage);
    }

    void refusal()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, language);
        QFETCH(int, refusal);
        QCOMPARE(int(SearchRequest::refusalOf(kind, text, language)), refusal);
    }

    void criteria_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Hash>("expected");
        QTest::newRow("exercises by term") << int(SearchRequest::Exercises)
                                           << Hash{{"LanguageID", "fra"},
                                                   {"ResultsLanguageID", "fra"},
                                                   {"MaxResults", "20"},
                                                   {"PageNum", "3"},
                                                   {"Term", "le chat"}};
        QTest::newRow("lessons by title or description")
            << int(SearchRequest::Lessons)
            << Hash{{"LanguageID", "fra"}, {"ResultsLanguageID", "fra"}, {"MaxResults", "20"},
                    {"PageNum", "3"},      {"Title", "le chat"},         {"Description", "le chat"}};
    }

    void criteria()
    {
        QFETCH(int, kind);
        QFETCH(Hash, expected);
        QCOMPARE(SearchRequest::criteria(kind, QStringLiteral("le chat"), QStringLiteral("fra"), 20, 3), expected);
    }

    void pageButtons_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("buttons");
        QTest::newRow("none found") << 0 << 0;
        QTest::newRow("one page") << 20 << 0;
        QTest::newRow("one more than a page") << 21 << 2;
        QTest::newRow("two full pages") << 40 << 2;
        QTest::newRow("a third page begun") << 41 << 3;
        QTest::newRow("a fourth page begun") << 61 << 4;
        QTest::newRow("more than four pages") << 500 << 4;
        QTest::newRow("a failed search") << -1 << 0;
    }

    void pageButtons()
    {
        QFETCH(int, total);
        QFETCH(int, buttons);
        QCOMPARE(SearchRequest::pageButtons(total, 20, 4), buttons);
    }

    void outcome_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("outcome");
        QTest::newRow("found") << 1 << int(SearchRequest::Shown);
        QTest::newRow("no reply") << 0 << int(SearchRequest::Offline);
        QTest::newRow("nothing found") << 2 << int(SearchRequest::NoResults);
        QTest::newRow("past a limit") << INetManager::ReplyPastLimit << int(SearchRequest::PastLimit);
        QTest::newRow("service down") << -1 << int(SearchRequest::ServiceDown);
    }

    void outcome()
    {
        QFETCH(int, status);
        QFETCH(int, outcome);
        QCOMPARE(int(SearchRequest::outcomeOf(status)), outcome);
    }
};

QTEST_GUILESS_MAIN(TestSearchRequest)
#include "tst_searchrequest.moc"
