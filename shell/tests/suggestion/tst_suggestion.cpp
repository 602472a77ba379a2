#include "DialogFixture.h"
#include "SuggestionForm.h"

#include <QPalette>
#include <QtTest>

#include <memory>

namespace {

const QString kLength = QStringLiteral("Your message is blank or exceeds the maximum length of 8000 characters.");
const QString kNoNetwork = QStringLiteral("Unable to find working internet connection.  Sending of message failed.");
const QString kNotSent = QStringLiteral("Message could not be sent.");

QString info(const QString& text)
{
    return WizardTestTree::info(text);
}

} // namespace

class TestSuggestion : public QObject
{
    Q_OBJECT

    DialogFixture<> f;

    std::unique_ptr<SuggestionForm> open() { return f.show<SuggestionForm>(); }

private slots:
    void initTestCase() { QVERIFY(f.setUp()); }
    void init() { QVERIFY(f.reset()); }
    void cleanupTestCase() { f.tearDown(); }

    void startsEmpty()
    {
        auto form = open();
        QCOMPARE(form->windowTitle(), QString("Send us your comments."));
        QCOMPARE(form->cmbMessageType->count(), 2);
        QCOMPARE(form->cmbMessageType->itemText(0), QString("Suggestion"));
        QCOMPARE(form->cmbMessageType->itemText(1), QString("Bug"));
        QCOMPARE(form->cmbMessageType->currentIndex(), 0);
        QCOMPARE(form->lblCharacters->text(), QString("0 Characters"));
        QVERIFY(!form->tEditSuggestion->acceptRichText());
        QCOMPARE(form->font(), *f.host()->mFont);
    }

    void lengths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ready");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("sent");

        const QColor black(0, 0, 0);
        const QColor red(255, 0, 0);
        QTest::newRow("0") << QString() << "1"
                           << "0 characters typed." << black << QStringList{info(kLength)} << false;
        QTest::newRow("0, no network") << QString() << "0"
                                       << "0 characters typed." << black << QStringList{info(kLength)} << false;
        QTest::newRow("7999") << QString(7999, 'a') << "1"
                              << "7999 characters typed." << black << QStringList{} << true;
        QTest::newRow("8000") << QString(8000, 'a') << "1"
                              << "8000 characters typed." << black << QStringList{info(kLength)} << false;
        QTest::newRow("8001") << QString(8001, 'a') << "1"
                              << "8001 characters typed." << red << QStringList{info(kLength)} << false;
        QTest::newRow("blanks only") << QString(" \n \n") << "1"
                                     << "4 characters typed." << black << QStringList{} << true;
        QTest::newRow("no network") << QString("Nice") << "0"
                                    << "4 characters typed." << black << QStringList{info(kNoNetwork)} << false;
    }

    void lengths()
    {
        QFETCH(QString, text);
        QFETCH(QString, ready);
        QFETCH(QString, counter);
        QFETCH(QColor, colour);
        QFETCH(QStringList, boxes);
        QFETCH(bool, sent);

        QVERIFY(f.tree().scriptNet({{"isNetworkReady", ready}}));
        auto form = open();
        // An empty text is still a change of the text: the counter runs.
        form->tEditSuggestion->setPlainText(text.isEmpty() ? QStringLiteral("x") : text);
        if (text.isEmpty())
            form->tEditSuggestion->clear();
        QCOMPARE(form->lblCharacters->text(), counter);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE(form->lblCharacters->palette().color(group, QPalette::WindowText), colour);

        QTest::mouseClick(form->btnOk, Qt::LeftButton);
        QCOMPARE(f.tree().boxes(), boxes);
        const auto calls = f.tree().netCalls("sendFeedback");
        QCOMPARE(calls.size(), sent ? 1 : 0);
        if (sent) {
            QCOMPARE(calls.first().arg(0), text);
            QVERIFY(!form->isVisible());
            QCOMPARE(form->result(), int(QDialog::Accepted));
        } else {
            QVERIFY(form->isVisible());
            QCOMPARE(form->tEditSuggestion->toPlainText(), text);
        }
    }

    void results_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("outcome"); // 1 accepted, 0 rejected, -1 still open
        QTest::addColumn<int>("offlineMoves");

        QTest::newRow("1 sent") << "1" << QStringList{} << 1 << 0;
        QTest::newRow("0 refused") << "0" << QStringList{info(kNotSent)} << -1 << 0;
        // Offline now, but the text is kept for a later try.
        QTest::newRow("-1 timed out") << "-1" << QStringList{} << -1 << 1;
        QTest::newRow("other") << "5" << QStringList{} << -1 << 0;
    }

    void results()
    {
        QFETCH(QString, result);
        QFETCH(QStringList, boxes);
        QFETCH(int, outcome);
        QFETCH(int, offlineMoves);

        QVERIFY(f.tree().scriptNet({{"sendFeedback", result}}));
        auto form = open();
        QTest::keyClicks(form->tEditSuggestion, "More lessons");
        QTest::mouseClick(form->btnOk, Qt::LeftButton);
        QCOMPARE(f.tree().boxes(), boxes);
        QCOMPARE(f.tree().netCalls("sendFeedback").size(), 1);
        QCOMPARE(f.host()->offlineMoves, offlineMoves);
        if (outcome < 0) {
            QVERIFY(form->isVisible());
            QCOMPARE(form->tEditSuggestion->toPlainText(), QString("More lessons"));
            QCOMPARE(form->lblCharacters->text(), QString("12 characters typed."));
        } else {
            QVERIFY(!form->isVisible());
            QCOMPARE(form->result(), outcome);
        }
    }

    void messageType_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("type");
        QTest::newRow("Suggestion") << 0 << "2";
        QTest::newRow("Bug") << 1 << "1";
    }

    void messageType()
    {
        QFETCH(int, index);
        QFETCH(QString, type);
        auto form = open();
        form->cmbMessageType->setCurrentIndex(index);
        form->tEditSuggestion->setPlainText("It crashed");
        QTest::mouseClick(form->btnOk, Qt::LeftButton);
        const auto calls = f.tree().netCalls("sendFeedback");
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().arg(0), QString("It crashed"));
        QCOMPARE(calls.first().arg(1), type);
    }

    void cancel()
    {
        auto form = open();
        form->tEditSuggestion->setPlainText("Never mind");
        QTest::mouseClick(form->btnCancelSuggestion, Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QVERIFY(f.tree().netCalls("sendFeedback").isEmpty());
    }

    void withoutNetworkManager()
    {
        QVERIFY(f.tree().tree().removePlugin("Managers", "Courier.so"));
        auto form = open();
        QVERIFY(f.tree().tree().addPlugin("shell/ScriptedNetManager.so", "Managers", "Courier.so"));
        form->tEditSuggestion->setPlainText("Hello");
        QTest::mouseClick(form->btnOk, Qt::LeftButton);
        QCOMPARE(f.tree().boxes(), QStringList{info(kNoNetwork)});
        QVERIFY(form->isVisible());
    }
};

QTEST_MAIN(TestSuggestion)
#include "tst_suggestion.moc"
