#include "IResource.h"
#include "ISilResource.h"
#include "PluginLocator.h"
#include "TestTree.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDir>
#include <QTranslator>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

ISilResource* sil()
{
    return PluginLocator::load<ISilResource>(QStringLiteral("plugins_dll/Resources/ZoSILResource.dll"));
}

IResource* languages()
{
    return PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll"));
}

IResource* countries()
{
    return PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoCountryResource.dll"));
}

QStringList column(QAbstractItemModel* model, int col)
{
    QStringList values;
    for (int row = 0; row < model->rowCount(); ++row)
        values.append(model->index(row, col).data().toString());
    return values;
}

using ModelPtr = std::unique_ptr<QAbstractItemModel>;

} // namespace

class TestSilResource : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestTree> mTree;
    std::vector<std::unique_ptr<QTranslator>> mTranslators;

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<TestTree>();
        QVERIFY(mTree->isValid());
        mTree->enter();
        QVERIFY2(sil(), "ZoSILResource missing or not an ISilResource");
        QVERIFY(languages());
        QVERIFY(countries());
    }

    void cleanup()
    {
        for (auto& translator : mTranslators)
            QCoreApplication::removeTranslator(translator.get());
        mTranslators.clear();
    }

    // The wizard turns chosen names into ids through the language and country tables.
    void modelsMatchTheTables_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QString();
        QTest::newRow("Deutsch") << QStringLiteral("Deutsch");
    }

    void modelsMatchTheTables()
    {
        QFETCH(QString, language);
        if (!language.isEmpty()) {
            const QDir dir(TestTree::distPath() + QStringLiteral("/Translations/") + language);
            for (const QString& qm : dir.entryList({QStringLiteral("*.qm")}, QDir::Files)) {
                auto translator = std::make_unique<QTranslator>();
                QVERIFY(translator->load(dir.absoluteFilePath(qm)));
                QCoreApplication::installTranslator(translator.get());
                mTranslators.push_back(std::move(translator));
            }
            languages()->release();
            countries()->release();
        }
        ModelPtr langModel(sil()->languageModel());
        QVERIFY(langModel);
        QCOMPARE(langModel->columnCount(), 2);
        QCOMPARE(column(langModel.get(), 0), languages()->listIds());
        QCOMPARE(column(langModel.get(), 1), languages()->listAll());
        QCOMPARE(sil()->languageCount(), langModel->rowCount());

        // An unknown language offers every country.
        ModelPtr countryModel(sil()->findCountries(QString(), QString(), QString()));
        QCOMPARE(column(countryModel.get(), 0), countries()->listIds());
        QCOMPARE(column(countryModel.get(), 1), countries()->listAll());
        QCOMPARE(sil()->countryCount(), countryModel->rowCount());

        for (const QString& name : column(countryModel.get(), 1))
            QCOMPARE(sil()->countryIdOf(name), countries()->idOf(name));
        const QString german = languages()->nameOf(QStringLiteral("deu"));
        QCOMPARE(sil()->idOf(german), QStringLiteral("deu"));
        QCOMPARE(sil()->nameOf(QStringLiteral("deu")), german);
        QCOMPARE(sil()->countryNameOf(QStringLiteral("DE")), countries()->nameOf(QStringLiteral("DE")));
    }

    void findLanguages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("firstId");
        QTest::addColumn<QStringList>("including");
        QTest::addColumn<QStringList>("excluding");
        QTest::newRow("exact name first") << "English"
                                          << "eng" << QStringList{"ang", "enm"} << QStringList{"deu"};
        QTest::newRow("letter case ignored") << "gERMAN, sTANDARD"
                                             << "deu" << QStringList() << QStringList{"eng"};
        QTest::newRow("part of a name") << "mandarin"
                                        << "" << QStringList{"cmn"} << QStringList{"yue"};
        QTest::newRow("reference name") << "Yue Chinese"
                                        << "yue" << QStringList() << QStringList{"cmn"};
        QTest::newRow("surrounding blanks") << "  Chinese, Yue "
                                            << "yue" << QStringList() << QStringList();
        QTest::newRow("no match") << "qqxqq"
                                  << "" << QStringList() << QStringList{"eng"};
    }

    void findLanguages()
    {
        QFETCH(QString, text);
        QFETCH(QString, firstId);
        QFETCH(QStringList, including);
        QFETCH(QStringList, excluding);
        ModelPtr model(sil()->findLanguages(text));
        QVERIFY(model);
        QCOMPARE(model->columnCount(), 2);
        const QStringList ids = column(model.get(), 0);
        if (!firstId.isEmpty()) {
            QVERIFY(!ids.isEmpty());
            QCOMPARE(ids.first(), firstId);
        }
        for (const QString& id : including)
            QVERIFY2(ids.contains(id), qPrintable(id));
        for (const QString& id : excluding)
            QVERIFY2(!ids.contains(id), qPrintable(id));
        if (text == QLatin1String("qqxqq"))
            QCOMPARE(model->rowCount(), 0);
        for (int row = 0; row < model->rowCount(); ++row)
            QCOMPARE(languages()->nameOf(ids.at(row)), model->index(row, 1).data().toString());
    }

    void emptyTextListsEveryLanguage()
    {
        ModelPtr model(sil()->findLanguages(QString()));
        QCOMPARE(model->rowCount(), languages()->listAll().size());
    }

    void findCountries_data()
    {
        QTest::addColumn<QString>("languageId");
        QTest::addColumn<QString>("languageName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("including");
        QTest::addColumn<QStringList>("excluding");
        QTest::addColumn<int>("rows"); // -1: not checked
        QTest::newRow("by id") << "deu"
                               << ""
                               << "" << QStringList{"DE", "AT", "CH"} << QStringList{"JP"} << -1;
        QTest::newRow("by name") << ""
                                 << "German, Standard"
                                 << "" << QStringList{"DE", "AT"} << QStringList{"JP"} << -1;
        QTest::newRow("id wins over name") << "jpn"
                                           << "German, Standard"
                                           << "" << QStringList{"JP"} << QStringList{"DE"} << -1;
        QTest::newRow("filter, letter case ignored")
            << "deu"
            << ""
            << "gERMAN" << QStringList{"DE"} << QStringList{"AT", "NE", "NG"} << 1;
        QTest::newRow("country the data does not list") << "deu"
                                                        << ""
                                                        << "Japan" << QStringList{"JP"} << QStringList() << 1;
        QTest::newRow("language without country data") << "ang"
                                                       << ""
                                                       << "" << QStringList{"GB", "JP", "DE"} << QStringList() << 249;
        QTest::newRow("unknown language") << ""
                                          << "No Such Language"
                                          << "" << QStringList{"JP"} << QStringList() << 249;
        QTest::newRow("no match") << "deu"
                                  << ""
                                  << "qqxqq" << QStringList() << QStringList() << 0;
    }

    void findCountries()
    {
        QFETCH(QString, languageId);
        QFETCH(QString, languageName);
        QFETCH(QString, text);
        QFETCH(QStringList, including);
        QFETCH(QStringList, excluding);
        QFETCH(int, rows);
        ModelPtr model(sil()->findCountries(languageId, languageName, text));
        QVERIFY(model);
        QCOMPARE(model->columnCount(), 2);
        const QStringList ids = column(model.get(), 0);
        for (const QString& id : including)
            QVERIFY2(ids.contains(id), qPrintable(id));
        for (const QString& id : excluding)
            QVERIFY2(!ids.contains(id), qPrintable(id));
        if (rows >= 0)
            QCOMPARE(model->rowCount(), rows);
        for (int row = 0; row < model->rowCount(); ++row)
            QCOMPARE(countries()->idOf(model->index(row, 1).data().toString()), ids.at(row));
    }

    void findAlternateNames_data()
    {
        QTest::addColumn<QString>("languageId");
        QTest::addColumn<QString>("languageName");
        QTest::addColumn<QString>("countryId");
        QTest::addColumn<QString>("countryName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QStringList>("including");
        QTest::addColumn<QStringList>("excluding");
        QTest::newRow("regional name") << "deu"
                                       << "German, Standard"
                                       << "CH"
                                       << "Switzerland"
                                       << ""
                                       << "German, Standard" << QStringList{"Swiss High German", "Deutsch"}
                                       << QStringList{"Austrian German"};
        QTest::newRow("country by name") << ""
                                         << "German, Standard"
                                         << ""
                                         << "Austria"
                                         << ""
                                         << "German, Standard" << QStringList{"Austrian German"}
                                         << QStringList{"Swiss High German"};
        QTest::newRow("other scripts") << "yue"
                                       << "Chinese, Yue"
                                       << "HK"
                                       << "Hong Kong"
                                       << ""
                                       << "Chinese, Yue" << QStringList{"Cantonese", "粵語"} << QStringList();
        QTest::newRow("filter, letter case ignored")
            << "deu"
            << ""
            << "CH"
            << ""
            << "sWISS"
            << "Swiss High German" << QStringList() << QStringList{"German, Standard", "Deutsch"};
        QTest::newRow("unknown language keeps its name") << ""
                                                         << "Klingon, Old"
                                                         << ""
                                                         << ""
                                                         << ""
                                                         << "Klingon, Old" << QStringList() << QStringList();
        QTest::newRow("no match") << "deu"
                                  << ""
                                  << "DE"
                                  << ""
                                  << "qqxqq"
                                  << "" << QStringList() << QStringList{"German, Standard"};
    }

    void findAlternateNames()
    {
        QFETCH(QString, languageId);
        QFETCH(QString, languageName);
        QFETCH(QString, countryId);
        QFETCH(QString, countryName);
        QFETCH(QString, text);
        QFETCH(QString, first);
        QFETCH(QStringList, including);
        QFETCH(QStringList, excluding);
        ModelPtr model(sil()->findAlternateNames(languageId, languageName, countryId, countryName, text));
        QVERIFY(model);
        const QStringList names = column(model.get(), 0);
        if (first.isEmpty())
            QCOMPARE(names.size(), 0);
        else
            QCOMPARE(names.value(0), first);
        for (const QString& name : including)
            QVERIFY2(names.contains(name), qPrintable(name));
        for (const QString& name : excluding)
            QVERIFY2(!names.contains(name), qPrintable(name));
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    }

    void modelsBelongToTheCaller()
    {
        const std::vector<QAbstractItemModel*> models = {
            sil()->languageModel(), sil()->findLanguages(QStringLiteral("a")),
            sil()->findCountries(QStringLiteral("eng"), QString(), QString()),
            sil()->findAlternateNames(QStringLiteral("eng"), QString(), QStringLiteral("US"), QString(), QString())};
        for (QAbstractItemModel* model : models) {
            QVERIFY(model);
            QVERIFY(!model->parent());
        }
        for (QAbstractItemModel* model : models)
            delete model;
        // The resource keeps answering after the caller deleted its models.
        ModelPtr again(sil()->languageModel());
        QCOMPARE(again->rowCount(), sil()->languageCount());
    }
};

QTEST_MAIN(TestSilResource)
#include "tst_silresource.moc"
