#include "DialogFixture.h"
#include "INetManager.h"
#include "LoginForm.h"
#include "MessageBoxHelper.h"
#include "ProductInfo.h"
#include "RegistrationForm.h"
#include "ScreenTexts.h"
#include "SettingsKeys.h"
#include "SplashTexts.h"
#include "SuggestionForm.h"
#include "UploadForm.h"
#include "WelcomeForm.h"

#include <QAbstractButton>
#include <QDomDocument>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <functional>

namespace {

struct Message
{
    QString translation;
    bool finished = false;
};

// context -> source -> message of a Qt Linguist file.
using Catalogue = QMap<QString, QMap<QString, Message>>;

Catalogue readCatalogue(const QString& path, QString* error)
{
    Catalogue catalogue;
    QFile file(path);
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file, error))
        return catalogue;
    const QDomNodeList contexts = document.elementsByTagName(QStringLiteral("context"));
    for (int i = 0; i < contexts.size(); ++i) {
        const QDomElement context = contexts.item(i).toElement();
        const QString name = context.firstChildElement(QStringLiteral("name")).text();
        for (QDomElement m = context.firstChildElement(QStringLiteral("message")); !m.isNull();
             m = m.nextSiblingElement(QStringLiteral("message"))) {
            const QDomElement translation = m.firstChildElement(QStringLiteral("translation"));
            Message message;
            message.translation = translation.text();
            message.finished = translation.attribute(QStringLiteral("type")).isEmpty();
            catalogue[name].insert(m.firstChildElement(QStringLiteral("source")).text(), message);
        }
    }
    return catalogue;
}

QStringList placeholders(const QString& text)
{
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%\\d")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

QString shippedFile()
{
    return QStringLiteral(VIREDA_SOURCE_DIR "/shell/translations/dravel-Deutsch.ts");
}

// The texts a user reads in a dialog, by the object name of their widget.
QMap<QString, QString> shownTexts(QWidget* dialog)
{
    QMap<QString, QString> texts;
    texts.insert(QStringLiteral("(title)"), dialog->windowTitle());
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name.isEmpty())
            continue;
        if (auto* label = qobject_cast<QLabel*>(w))
            texts.insert(name, label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts.insert(name, button->text());
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            texts.insert(name, box->title());
        if (!w->toolTip().isEmpty())
            texts.insert(name + QStringLiteral("(tip)"), w->toolTip());
    }
    return texts;
}

} // namespace

class TestShellTranslations : public QObject
{
    Q_OBJECT

private:
    DialogFixture<> f;

    // The shell's dialog of that translation context, made with the translators installed now.
    QDialog* makeDialog(const QString& context)
    {
        const std::map<QString, std::function<QDialog*()>> makers{
            {"LoginForm", [&] { return new LoginForm(f.host()); }},
            {"RegistrationForm", [&] { return new RegistrationForm(f.host(), nullptr); }},
            {"SuggestionForm", [&] { return new SuggestionForm(f.host()); }},
            {"UploadForm", [&] { return new UploadForm(f.host()); }},
            {"WelcomeForm", [&] { return new WelcomeForm(nullptr, "docs", "%1/html/welcome.html", 1); }},
        };
        return makers.at(context)();
    }

private slots:
    void initTestCase() { QVERIFY(f.setUp()); }
    void init() { QVERIFY(f.reset()); }
    void cleanupTestCase() { f.tearDown(); }

    // Every text of the shell's sources and forms has a finished German text
    // with the same placeholders, and the built file carries it.
    void everyMessageTranslated()
    {
        QTemporaryDir dir;
        QDir source(QStringLiteral(VIREDA_SOURCE_DIR "/shell"));
        QStringList arguments{QStringLiteral("-silent"), QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                              QStringLiteral("none")};
        for (const QString& name : source.entryList({"*.cpp", "*.h", "*.ui"}, QDir::Files))
            arguments << source.filePath(name);
        const QString extracted = dir.filePath(QStringLiteral("extracted.ts"));
        arguments << QStringLiteral("-ts") << extracted;
        QProcess lupdate;
        lupdate.start(QStringLiteral(LUPDATE_EXECUTABLE), arguments);
        QVERIFY(lupdate.waitForFinished(60000));
        QCOMPARE(lupdate.exitCode(), 0);

        QString error;
        const Catalogue wanted = readCatalogue(extracted, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const Catalogue shipped = readCatalogue(shippedFile(), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        for (const char* form : {"LoginForm", "RegistrationForm", "SuggestionForm", "UploadForm", "WelcomeForm",
                                 "MainWindow", "QObject", "ZoDbFileManager"})
            QVERIFY2(wanted.contains(QLatin1String(form)), form);

        QTranslator built;
        QVERIFY(built.load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/dravel-Deutsch.qm")));
        QStringList faults;
        int count = 0;
        for (auto context = wanted.cbegin(); context != wanted.cend(); ++context) {
            for (auto it = context.value().cbegin(); it != context.value().cend(); ++it) {
                ++count;
                const QString where = context.key() + QStringLiteral(": ") + it.key();
                const Message german = shipped.value(context.key()).value(it.key());
                if (!german.finished || german.translation.isEmpty()) {
                    faults << QStringLiteral("no German text: ") + where;
                    continue;
                }
                if (placeholders(german.translation) != placeholders(it.key()))
                    faults << QStringLiteral("placeholders differ: ") + where;
                const QString fromFile = built.translate(context.key().toUtf8().constData(),
                                                         it.key().toUtf8().constData());
                if (fromFile != german.translation)
                    faults << QStringLiteral("built file differs: ") + where;
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY(count > 150);
    }

    // With German chosen the dialogs show the German text of every text
    // they show that has one.
    void dialogsInGerman_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<int>("least"); // texts that must be checked, at least
        QTest::newRow("sign-in") << "LoginForm" << 9;
        QTest::newRow("registration") << "RegistrationForm" << 20;
        QTest::newRow("suggestion") << "SuggestionForm" << 6;
        QTest::newRow("upload") << "UploadForm" << 5;
        QTest::newRow("welcome") << "WelcomeForm" << 2;
    }

    void dialogsInGerman()
    {
        QFETCH(QString, context);
        QFETCH(int, least);
        QString error;
        const QMap<QString, Message> german = readCatalogue(shippedFile(), &error).value(context);
        QVERIFY(!german.isEmpty());

        std::unique_ptr<QDialog> english(makeDialog(context));
        const QMap<QString, QString> before = shownTexts(english.get());
        QTranslator translator;
        QVERIFY(translator.load(TestTree::distPath() + QStringLiteral("/Translations/Deutsch/dravel-Deutsch.qm")));
        QCoreApplication::installTranslator(&translator);
        std::unique_ptr<QDialog> translated(makeDialog(context));
        const QMap<QString, QString> after = shownTexts(translated.get());
        QCoreApplication::removeTranslator(&translator);

        int checked = 0;
        QStringList faults;
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (!german.contains(it.value()))
                continue;
            ++checked;
            if (after.value(it.key()) != german.value(it.value()).translation)
                faults << it.key() + QStringLiteral(": ") + after.value(it.key());
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY2(checked >= least, qPrintable(QString::number(checked)));
    }

    // In a German run no English is left: the dialogs' texts, tool tips and
    // pages (the getting-started page is chosen by the interface language).
    void noEnglishLeft_data()
    {
        QTest::addColumn<QString>("context");
        for (const char* context : {"LoginForm", "RegistrationForm", "SuggestionForm", "UploadForm", "WelcomeForm"})
            QTest::newRow(context) << context;
    }

    void noEnglishLeft()
    {
        QFETCH(QString, context);
        std::unique_ptr<QDialog> english(makeDialog(context));
        const QList<ScreenTexts::Shown> before = ScreenTexts::shown(english.get());
        QList<ScreenTexts::Shown> after;
        {
            ScreenTexts::German de;
            QVERIFY(de.files() > 0);
            std::unique_ptr<QDialog> german(makeDialog(context));
            after = ScreenTexts::shown(german.get());
        }
        // The program's name and version title the dialogs.
        const QString name = QSettings().value(SettingsKeys::Version).toString();
        const QStringList left = ScreenTexts::untranslated(before, after, ScreenTexts::sameWords(), {name});
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
    }

    // The boxes of the sign-in dialog, their titles included.
    void boxesInGerman_data()
    {
        QTest::addColumn<QVariant>("lastUser");
        QTest::addColumn<QString>("ready");
        QTest::addColumn<QString>("failure");
        QTest::newRow("first start") << QVariant() << "1"
                                     << "0";
        QTest::newRow("first start, no network") << QVariant() << "0"
                                                 << "0";
        QTest::newRow("known user, no network") << QVariant("tester") << "0"
                                                << "0";
        const QString refused = QString::number(INetManager::PeerCertificateRefused);
        QTest::newRow("first start, certificate refused") << QVariant() << "0" << refused;
        QTest::newRow("known user, certificate refused") << QVariant("tester") << "0" << refused;
    }

    void boxesInGerman()
    {
        QFETCH(QVariant, lastUser);
        QFETCH(QString, ready);
        QFETCH(QString, failure);
        QSettings settings;
        if (lastUser.isValid())
            settings.setValue(SettingsKeys::LastUser, lastUser);
        else
            settings.remove(SettingsKeys::LastUser);
        QVERIFY(f.tree().scriptNet({{"isNetworkReady", ready}, {"networkFailure", failure}}));
        auto boxesOf = [&] {
            QFile::remove(f.tree().boxLogPath());
            LoginForm login(f.host());
            return f.tree().boxes();
        };
        const QStringList english = boxesOf();
        QStringList german;
        {
            ScreenTexts::German de;
            german = boxesOf();
        }
        QCOMPARE(german.size(), english.size());
        QVERIFY(!english.isEmpty());
        const QSet<QString> same = ScreenTexts::sameWords();
        QStringList left;
        for (int i = 0; i < english.size(); ++i) {
            // kind, title, text and buttons, TAB apart
            const QStringList en = english.at(i).split(QLatin1Char('\t'));
            const QStringList de = german.at(i).split(QLatin1Char('\t'));
            QCOMPARE(de.size(), en.size());
            for (int part = 1; part < en.size(); ++part) {
                if (en.at(part) == de.at(part) && !same.contains(en.at(part)) && en.at(part) != QLatin1String("OK")
                    && en.at(part) != settings.value(SettingsKeys::Version).toString())
                    left << en.at(part);
            }
        }
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
    }

    // The about and start-up pictures carry their words in German.
    void picturesInGerman()
    {
        const QStringList english = SplashTexts::aboutLines() << SplashTexts::startupLine();
        QStringList german;
        {
            ScreenTexts::German de;
            german = SplashTexts::aboutLines() << SplashTexts::startupLine();
        }
        QCOMPARE(german.size(), english.size());
        const QString version = QStringLiteral("Version %1").arg(QLatin1String(ProductInfo::InternalVersion));
        for (int i = 0; i < english.size(); ++i) {
            if (english.at(i) != version)
                QVERIFY2(german.at(i) != english.at(i), qPrintable(english.at(i)));
        }
        // The pictures themselves hold no words: those are drawn.
        for (const char* picture : {"splash", "splashabout"}) {
            QFile svg(QStringLiteral(VIREDA_SOURCE_DIR "/shell/Icons/src/%1.svg").arg(QLatin1String(picture)));
            QVERIFY(svg.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(svg.readAll());
            QVERIFY2(!text.contains(QLatin1String("Community")) && !text.contains(QLatin1String("Click")), picture);
        }
    }

    // Every help page, the getting-started page among them, has its German page.
    void everyHelpPageInGerman()
    {
        const QDir pages(TestTree::distPath() + QStringLiteral("/docs/html"));
        const QStringList english = pages.entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(english.contains(QStringLiteral("welcome.html")));
        QVERIFY(english.size() >= 7);
        for (const QString& name : english) {
            QFile en(pages.filePath(name));
            QFile de(pages.filePath(QStringLiteral("Deutsch/") + name));
            QVERIFY2(de.open(QIODevice::ReadOnly), qPrintable(name));
            QVERIFY(en.open(QIODevice::ReadOnly));
            const QString german = QString::fromUtf8(de.readAll());
            const QString englishText = QString::fromUtf8(en.readAll());
            QVERIFY2(german != englishText, qPrintable(name));
            // The same links, so that a German page leads to German pages.
            static const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
            QStringList enLinks, deLinks;
            for (auto it = link.globalMatch(englishText); it.hasNext();)
                enLinks << it.next().captured(1);
            for (auto it = link.globalMatch(german); it.hasNext();)
                deLinks << it.next().captured(1);
            QCOMPARE(deLinks, enLinks);
        }
    }
};

QTEST_MAIN(TestShellTranslations)
#include "tst_shelltranslations.moc"
