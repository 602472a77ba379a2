#include "IResource.h"
#include "PluginLocator.h"
#include "TestTree.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

const QStringList TableFiles = {
    QStringLiteral("ZoLanguageResource.dll"),     QStringLiteral("ZoCountryResource.dll"),
    QStringLiteral("ZoFluencyLevelResource.dll"), QStringLiteral("ZoLearnerLevelResource.dll"),
    QStringLiteral("ZoTagResource.dll"),          QStringLiteral("ZoManifestResource.dll"),
    QStringLiteral("ZoPluginResource.dll"),
};

IResource* table(const QString& file)
{
    return PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/") + file);
}

// The names the fluency wizard's quick list passes on.
const QStringList QuickListNames = {
    "English",   "Chinese, Mandarin", "Arabic, Standard", "Bengali", "Chinese, Yue", "Dutch",  "German, Standard",
    "Hungarian", "Finnish",           "French",           "Italian", "Japanese",     "Korean", "Malay",
    "Polish",    "Portuguese",        "Russian",          "Spanish", "Swedish",      "Thai",
};

// Every message of a .ts file: context -> source -> translation.
QHash<QString, QHash<QString, QString>> readTs(const QString& path)
{
    QHash<QString, QHash<QString, QString>> result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    QXmlStreamReader xml(&file);
    QString context, source, translation;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            translation = xml.readElementText();
            result[context].insert(source, translation);
        }
    }
    return result;
}

} // namespace

class TestResourceTables : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestTree> mTree;
    std::vector<std::unique_ptr<QTranslator>> mTranslators;

    void installLanguage(const QString& language)
    {
        const QDir dir(TestTree::distPath() + QStringLiteral("/Translations/") + language);
        for (const QString& qm : dir.entryList({QStringLiteral("*.qm")}, QDir::Files)) {
            auto translator = std::make_unique<QTranslator>();
            QVERIFY2(translator->load(dir.absoluteFilePath(qm)), qPrintable(qm));
            QCoreApplication::installTranslator(translator.get());
            mTranslators.push_back(std::move(translator));
        }
        QVERIFY(!mTranslators.empty());
    }

    void removeLanguage()
    {
        for (auto& translator : mTranslators)
            QCoreApplication::removeTranslator(translator.get());
        mTranslators.clear();
    }

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<TestTree>();
        QVERIFY(mTree->isValid());
        mTree->enter();
    }

    void cleanup()
    {
        removeLanguage();
        for (const QString& file : TableFiles) {
            if (IResource* r = table(file))
                r->release();
        }
    }

    void everyTableLoadsAsOneInstance_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString& file : TableFiles)
            QTest::newRow(qPrintable(file)) << file;
    }

    void everyTableLoadsAsOneInstance()
    {
        QFETCH(QString, file);
        IResource* first = table(file);
        QVERIFY2(first, "plug-in missing or not an IResource");
        QCOMPARE(table(file.toLower()), first);
        QVERIFY(!first->listAll().isEmpty());
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::newRow("English") << "ZoLanguageResource.dll"
                                 << "English"
                                 << "eng";
        QTest::newRow("German, Standard") << "ZoLanguageResource.dll"
                                          << "German, Standard"
                                          << "deu";
        QTest::newRow("German, Swiss") << "ZoLanguageResource.dll"
                                       << "German, Swiss"
                                       << "gsw";
        QTest::newRow("Chinese, Mandarin") << "ZoLanguageResource.dll"
                                           << "Chinese, Mandarin"
                                           << "cmn";
        QTest::newRow("Chinese, Yue") << "ZoLanguageResource.dll"
                                      << "Chinese, Yue"
                                      << "yue";
        QTest::newRow("Arabic, Standard") << "ZoLanguageResource.dll"
                                          << "Arabic, Standard"
                                          << "arb";
        QTest::newRow("Malay") << "ZoLanguageResource.dll"
                               << "Malay"
                               << "zlm";
        QTest::newRow("Germany") << "ZoCountryResource.dll"
                                 << "Germany"
                                 << "DE";
        QTest::newRow("South Korea") << "ZoCountryResource.dll"
                                     << "South Korea"
                                     << "KR";
        QTest::newRow("Bonaire") << "ZoCountryResource.dll"
                                 << "Bonaire, Sint Eustatius and Saba"
                                 << "BQ";
        QTest::newRow("Native") << "ZoFluencyLevelResource.dll"
                                << "Native"
                                << "5";
        QTest::newRow("Beginner level") << "ZoLearnerLevelResource.dll"
                                        << "Beginner"
                                        << "1";
        QTest::newRow("Idiom") << "ZoTagResource.dll"
                               << "Idiom"
                               << "3";
        QTest::newRow("Translation kind") << "ZoManifestResource.dll"
                                          << "Translation"
                                          << "7";
    }

    void roundTrip()
    {
        QFETCH(QString, file);
        QFETCH(QString, name);
        QFETCH(QString, id);
        IResource* r = table(file);
        QVERIFY(r);
        QCOMPARE(r->idOf(name), id);
        QCOMPARE(r->nameOf(id), name);
    }

    void unknownAnswersEmpty_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString& file : TableFiles)
            QTest::newRow(qPrintable(file)) << file;
    }

    void unknownAnswersEmpty()
    {
        QFETCH(QString, file);
        IResource* r = table(file);
        QVERIFY(r);
        for (const QString& name : {QStringLiteral("All Languages"), QStringLiteral("Select"), QString(),
                                    QStringLiteral("english"), QStringLiteral("nosuchname")}) {
            const QString id = r->idOf(name);
            QVERIFY2(id.isEmpty() && !id.isNull(), qPrintable(file + ": " + name));
        }
        for (const QString& id : {QStringLiteral("zzz"), QString(), QStringLiteral("0"), QStringLiteral("99")}) {
            const QString name = r->nameOf(id);
            QVERIFY2(name.isEmpty() && !name.isNull(), qPrintable(file + ": " + id));
        }
    }

    // Every name and id of every table, in both directions, in both shipped languages.
    void wholeTablesRoundTrip_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("language");
        for (const QString& language : {QString(), QStringLiteral("Deutsch")})
            for (const QString& file : TableFiles)
                QTest::newRow(qPrintable(file + " " + (language.isEmpty() ? "English" : language))) << file << language;
    }

    void wholeTablesRoundTrip()
    {
        QFETCH(QString, file);
        QFETCH(QString, language);
        if (!language.isEmpty())
            installLanguage(language);
        IResource* r = table(file);
        QVERIFY(r);
        const QStringList names = r->listAll();
        const QStringList ids = r->listIds();
        QCOMPARE(ids.size(), names.size());
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
        for (int i = 0; i < names.size(); ++i) {
            QVERIFY2(!names.at(i).isEmpty(), qPrintable(ids.at(i)));
            QCOMPARE(r->idOf(names.at(i)), ids.at(i));
            QCOMPARE(r->nameOf(ids.at(i)), names.at(i));
        }
    }

    void idsFitTheirColumns_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("minimum");
        QTest::newRow("languages") << "ZoLanguageResource.dll"
                                   << "[a-z]{3}" << 7000;
        QTest::newRow("countries") << "ZoCountryResource.dll"
                                   << "[A-Z]{2}" << 240;
        QTest::newRow("fluency levels") << "ZoFluencyLevelResource.dll"
                                        << "[1-9][0-9]*" << 2;
        QTest::newRow("learner levels") << "ZoLearnerLevelResource.dll"
                                        << "[1-9][0-9]*" << 2;
        QTest::newRow("tags") << "ZoTagResource.dll"
                              << "[1-9][0-9]*" << 3;
        QTest::newRow("manifest kinds") << "ZoManifestResource.dll"
                                        << "[1-9][0-9]*" << 4;
    }

    void idsFitTheirColumns()
    {
        QFETCH(QString, file);
        QFETCH(QString, pattern);
        QFETCH(int, minimum);
        IResource* r = table(file);
        QVERIFY(r);
        const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
        const QStringList ids = r->listIds();
        QVERIFY(ids.size() >= minimum);
        for (const QString& id : ids)
            QVERIFY2(re.match(id).hasMatch(), qPrintable(id));
    }

    void quickListNamesExist_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : QuickListNames)
            QTest::newRow(qPrintable(name)) << name;
    }

    void quickListNamesExist()
    {
        QFETCH(QString, name);
        IResource* r = table(QStringLiteral("ZoLanguageResource.dll"));
        QVERIFY(r);
        const QString id = r->idOf(name);
        QVERIFY2(!id.isEmpty(), qPrintable(name));
        QCOMPARE(r->nameOf(id), name);
        QVERIFY(r->listAll().contains(name));
    }

    void namesAreSortedForChoosers_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("languages") << "ZoLanguageResource.dll";
        QTest::newRow("countries") << "ZoCountryResource.dll";
    }

    void namesAreSortedForChoosers()
    {
        QFETCH(QString, file);
        IResource* r = table(file);
        QVERIFY(r);
        const QStringList names = r->listAll();
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        for (int i = 1; i < names.size(); ++i)
            QVERIFY2(collator.compare(names.at(i - 1), names.at(i)) <= 0,
                     qPrintable(names.at(i - 1) + " > " + names.at(i)));
    }

    void fluencyLevels()
    {
        IResource* r = table(QStringLiteral("ZoFluencyLevelResource.dll"));
        QVERIFY(r);
        QCOMPARE(r->idOf(QStringLiteral("Native")), QStringLiteral("5"));
        // The conversion of old databases reads id 5 as "not studying": no other level may reach it.
        for (const QString& id : r->listIds()) {
            if (id != QLatin1String("5"))
                QVERIFY2(id.toInt() < 5, qPrintable(id));
        }
        QCOMPARE(r->listAll().size(), 5);
    }

    void tagsLeaveTranslationToTheStore()
    {
        IResource* r = table(QStringLiteral("ZoTagResource.dll"));
        QVERIFY(r);
        QVERIFY(r->listAll().contains(QStringLiteral("Idiom")));
        QVERIFY(!r->listAll().contains(QStringLiteral("Translation")));
        QCOMPARE(r->idOf(QStringLiteral("Translation")), QString(""));
        QVERIFY(!r->listIds().contains(QStringLiteral("2")));
        QCOMPARE(r->nameOf(QStringLiteral("2")), QString(""));
    }

    void formPluginRows()
    {
        IResource* r = table(QStringLiteral("ZoPluginResource.dll"));
        QVERIFY(r);
        const QStringList rows = r->listAll();
        const QStringList expected = {"Bookshelf.dll", "Tutor.dll", "Composer.dll", "Finder.dll", "Preferences.dll"};
        QCOMPARE(rows.size(), expected.size());
        for (int i = 0; i < rows.size(); ++i) {
            const QStringList fields = rows.at(i).split(QLatin1Char(','));
            QCOMPARE(fields.size(), 4);
            QCOMPARE(fields.at(0), expected.at(i));
            QVERIFY(fields.at(1).endsWith(QLatin1String(".png")));
            bool ok = false;
            QVERIFY(fields.at(3).toInt(&ok) >= 0 && ok);
            // The tabs switch to positions 1 and 2: the first three rows load offline too.
            if (i <= 2)
                QVERIFY2(fields.at(2) != QLatin1String("0"), qPrintable(rows.at(i)));
        }
    }

    void translatedNamesAfterRelease_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        QTest::newRow("language") << "ZoLanguageResource.dll"
                                  << "deu"
                                  << "German, Standard"
                                  << "Deutsch";
        QTest::newRow("language, menu form") << "ZoLanguageResource.dll"
                                             << "cmn"
                                             << "Chinese, Mandarin"
                                             << "Chinesisch (Mandarin)";
        QTest::newRow("country") << "ZoCountryResource.dll"
                                 << "DE"
                                 << "Germany"
                                 << "Deutschland";
        QTest::newRow("fluency level") << "ZoFluencyLevelResource.dll"
                                       << "5"
                                       << "Native"
                                       << "Muttersprache";
        QTest::newRow("learner level") << "ZoLearnerLevelResource.dll"
                                       << "1"
                                       << "Beginner"
                                       << "Anfänger";
        QTest::newRow("manifest kind stays") << "ZoManifestResource.dll"
                                             << "7"
                                             << "Translation"
                                             << "Translation";
    }

    void translatedNamesAfterRelease()
    {
        QFETCH(QString, file);
        QFETCH(QString, id);
        QFETCH(QString, english);
        QFETCH(QString, german);
        IResource* r = table(file);
        QVERIFY(r);
        QCOMPARE(r->nameOf(id), english);

        installLanguage(QStringLiteral("Deutsch"));
        r->release();
        QCOMPARE(r->nameOf(id), german);
        QCOMPARE(r->idOf(german), id);
        // Names passed on untranslated (the wizard's quick list) still resolve.
        QCOMPARE(r->idOf(english), id);
        QVERIFY(r->listAll().contains(german));

        removeLanguage();
        r->release();
        QCOMPARE(r->nameOf(id), english);
    }

    // The wizard compares the chosen level with its own translation of "Native".
    void nativeAgreesInEveryShippedLanguage()
    {
        const QDir translations(TestTree::distPath() + QStringLiteral("/Translations"));
        const QStringList languages = translations.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        int shipped = 0;
        for (const QString& language : languages) {
            if (!QFileInfo::exists(translations.filePath(language + "/FluencyLevel-" + language + ".qm")))
                continue;
            ++shipped;
            installLanguage(language);
            IResource* r = table(QStringLiteral("ZoFluencyLevelResource.dll"));
            QVERIFY(r);
            const QString native = r->nameOf(QStringLiteral("5"));
            QVERIFY2(native != QLatin1String("Native"), qPrintable(language + ": \"Native\" untranslated"));

            // Every other translation of "Native" shipped for this language must agree.
            QDirIterator it(QStringLiteral(VIREDA_SOURCE_DIR), {QStringLiteral("*-") + language + ".ts"}, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString ts = it.next();
                const auto contexts = readTs(ts);
                for (auto c = contexts.cbegin(); c != contexts.cend(); ++c) {
                    const auto m = c.value().constFind(QStringLiteral("Native"));
                    if (m != c.value().cend() && !m.value().isEmpty())
                        QVERIFY2(m.value() == native,
                                 qPrintable(QStringLiteral("%1 [%2]: \"%3\" but the fluency levels say \"%4\"")
                                                .arg(ts, c.key(), m.value(), native)));
                }
            }
            removeLanguage();
        }
        QVERIFY2(shipped >= 1, "no translation of the fluency levels shipped");
    }
};

QTEST_MAIN(TestResourceTables)
#include "tst_resourcetables.moc"
