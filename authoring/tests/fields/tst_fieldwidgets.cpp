#include "AuthoringTree.h"
#include "ComboSteps.h"
#include "ComboText.h"
#include "FieldChoice.h"
#include "FieldInfoFactory.h"
#include "FieldOneLine.h"
#include "FieldTranslation.h"
#include "IResource.h"
#include "LanguageComboHelper.h"
#include "ScreenTexts.h"
#include "WizardDriver.h"
#include "ZoDbHelper.h"

#include <QApplication>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>

#include <memory>

using Hash = QHash<QString, QString>;
using namespace ComboSteps;

namespace {

// A main window whose list refresh reaches the field under test, as the form's does.
class RefillingHost : public TestHost
{
public:
    explicit RefillingHost(std::function<void()> refill)
        : mRefill(std::move(refill))
    {
    }
    void updateAllViewLists() override
    {
        TestHost::updateAllViewLists();
        mRefill();
    }

private:
    std::function<void()> mRefill;
};

} // namespace

class TestFieldWidgets : public QObject
{
    Q_OBJECT

    AuthoringTree mFixture;

private slots:
    void initTestCase() { QVERIFY(mFixture.setUp()); }
    void cleanupTestCase() { mFixture.tearDown(); }

    void init() { QVERIFY(mFixture.reset()); }

    void factoryPicksWidgetByType_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("fieldType");
        QTest::newRow("translation") << "Translation"
                                     << "FieldTranslation"
                                     << "Translation";
        QTest::newRow("idiom") << "Idiom"
                               << "FieldChoice"
                               << "Idiom";
        QTest::newRow("other") << "Note"
                               << "FieldOneLine"
                               << "Note";
        QTest::newRow("empty") << ""
                               << "FieldOneLine"
                               << "";
        QTest::newRow("lower case is another type") << "translation"
                                                    << "FieldOneLine"
                                                    << "translation";
    }

    void factoryPicksWidgetByType()
    {
        QFETCH(QString, type);
        QFETCH(QString, className);
        QFETCH(QString, fieldType);
        std::unique_ptr<IFieldInfo> field(FieldInfoFactory::create(type, {}));
        QVERIFY(field);
        QCOMPARE(QString::fromLatin1(field->metaObject()->className()), className);
        QCOMPARE(field->fieldType(), fieldType);
        QVERIFY(qobject_cast<IFieldInfo*>(static_cast<QObject*>(field.get())));
        QVERIFY(!field->parent());
    }

    void fieldKeys_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("key");
        QTest::newRow("symbols") << "International Symbols"
                                 << "InternationalSymbols";
        QTest::newRow("part of speech") << "Part of speech"
                                        << "Partofspeech";
        QTest::newRow("other one-line") << "Note"
                                        << "Note";
        QTest::newRow("choice keeps its type") << "Idiom"
                                               << "Idiom";
        QTest::newRow("translation keeps its type") << "Translation"
                                                    << "Translation";
    }

    void fieldKeys()
    {
        QFETCH(QString, type);
        QFETCH(QString, key);
        std::unique_ptr<IFieldInfo> field(FieldInfoFactory::create(type, {}));
        QCOMPARE(field->fieldKey(), key);
    }

    void choiceValues_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("no");
        QTest::addColumn<QString>("value");
        QTest::newRow("empty: neither, reads No") << "" << false << false << "No";
        QTest::newRow("Yes") << "Yes" << true << false << "Yes";
        QTest::newRow("No") << "No" << false << true << "No";
        QTest::newRow("anything else is No") << "maybe" << false << true << "No";
    }

    void choiceValues()
    {
        QFETCH(QString, given);
        QFETCH(bool, yes);
        QFETCH(bool, no);
        QFETCH(QString, value);
        FieldChoice field(QStringLiteral("Idiom"), given.isEmpty() ? Hash() : Hash{{"Value", given}});
        QCOMPARE(field.rbtnYes->isChecked(), yes);
        QCOMPARE(field.rbtnNo->isChecked(), no);
        QCOMPARE(field.values(), (Hash{{"Value", value}}));
    }

    void choiceClickIsAChange()
    {
        FieldChoice field(QStringLiteral("Idiom"), {});
        field.show();
        QSignalSpy changed(&field, SIGNAL(fieldModified()));
        QTest::mouseClick(field.rbtnYes, Qt::LeftButton);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(field.values().value("Value"), QStringLiteral("Yes"));
    }

    void translationValues_data()
    {
        QTest::addColumn<QString>("text1");
        QTest::addColumn<int>("language1");
        QTest::addColumn<QString>("text2");
        QTest::addColumn<int>("language2");
        QTest::addColumn<Hash>("expected");
        const QString german = QStringLiteral("German, Standard");
        const QString deu = languages()->idOf(german);
        const QString fra = languages()->idOf(QStringLiteral("French"));
        QTest::newRow("both with languages")
            << "Haus" << 1 << "Bau" << 2
            << Hash{{"Value", "Haus"},  {"Language", german},           {"LanguageID", deu},
                    {"Context", "Bau"}, {"Context_Language", "French"}, {"Context_LanguageID", fra}};
        QTest::newRow("text without language")
            << "Haus" << 0 << "" << 0 << Hash{{"TranslationFieldError", "No Language Selected"}};
        QTest::newRow("language without text") << "" << 1 << "" << 2 << Hash{};
        QTest::newRow("subject area judged on its own") << "Haus" << 1 << "Bau" << 0
                                                        << Hash{{"Value", "Haus"},
                                                                {"Language", german},
                                                                {"LanguageID", deu},
                                                                {"ContextFieldError", "No Language Selected"}};
        QTest::newRow("markup stays text")
            << "<b>x</b>" << 2 << "" << 0 << Hash{{"Value", "<b>x</b>"}, {"Language", "French"}, {"LanguageID", fra}};
    }

    void translationValues()
    {
        QFETCH(QString, text1);
        QFETCH(int, language1);
        QFETCH(QString, text2);
        QFETCH(int, language2);
        QFETCH(Hash, expected);
        FieldTranslation field(QStringLiteral("Translation"), {});
        field.tEditFieldValue1->setPlainText(text1);
        field.cmbLanguages1->setCurrentIndex(language1);
        field.tEditFieldValue2->setPlainText(text2);
        field.cmbLanguages2->setCurrentIndex(language2);
        QCOMPARE(field.values(), expected);
    }

    void translationShowsStoredValuesAsText()
    {
        FieldTranslation field(QStringLiteral("Translation"), {{"Value", "<i>house</i>"},
                                                               {"Language", "French"},
                                                               {"Context", "building"},
                                                               {"Context_Language", "German, Standard"}});
        QCOMPARE(field.tEditFieldValue1->toPlainText(), QStringLiteral("<i>house</i>"));
        QCOMPARE(field.cmbLanguages1->currentText(), QStringLiteral("French"));
        QCOMPARE(field.tEditFieldValue2->toPlainText(), QStringLiteral("building"));
        QCOMPARE(field.cmbLanguages2->currentText(), QStringLiteral("German, Standard"));
        const Hash values = field.values();
        QCOMPARE(values.value("Value"), QStringLiteral("<i>house</i>"));
        QCOMPARE(values.value("Context_Language"), QStringLiteral("German, Standard"));
    }

    // A stored value in a language the learner lacks keeps it through every refill of the lists.
    void storedLanguageOutsideFluenciesStays_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::newRow("translation") << "FieldTranslation";
        QTest::newRow("one line") << "FieldOneLine";
    }

    void storedLanguageOutsideFluenciesStays()
    {
        QFETCH(QString, widget);
        QVERIFY(mFixture.signIn({QStringLiteral("French"), QStringLiteral("German, Standard")}));
        const Hash stored{{"Value", "casa"}, {"Language", "Italian"}};
        std::unique_ptr<IFieldInfo> field;
        QComboBox* combo = nullptr;
        if (widget == QLatin1String("FieldTranslation")) {
            auto* translation = new FieldTranslation(QStringLiteral("Translation"), stored);
            combo = translation->cmbLanguages1;
            field.reset(translation);
        } else {
            auto* line = new FieldOneLine(QStringLiteral("Note"), stored);
            combo = line->cmbLanguages;
            field.reset(line);
        }
        QCOMPARE(combo->currentText(), QStringLiteral("Italian"));
        QCOMPARE(items(combo),
                 (QStringList{"Select Language", "French", "German, Standard", "Italian", "Add Language..."}));
        QCOMPARE(field->updateViewLists(), 1);
        QCOMPARE(field->updateViewLists(), 1);
        QCOMPARE(combo->currentText(), QStringLiteral("Italian"));
        QCOMPARE(combo->itemText(0), QStringLiteral("Select Language"));
        const Hash values = field->values();
        QCOMPARE(values.value(QStringLiteral("Language")), QStringLiteral("Italian"));
        QVERIFY(!values.contains(QStringLiteral("TranslationFieldError")));
    }

    void languageListFollowsUser_data()
    {
        QTest::addColumn<QStringList>("fluencies");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no fluency") << QStringList{} << QStringList{"Select Language", "Add Language..."};
        QTest::newRow("two fluencies in stored order")
            << QStringList{"French", "German, Standard"}
            << QStringList{"Select Language", "French", "German, Standard", "Add Language..."};
    }

    void languageListFollowsUser()
    {
        QFETCH(QStringList, fluencies);
        QFETCH(QStringList, expected);
        QVERIFY(mFixture.signIn(fluencies));
        FieldOneLine line(QStringLiteral("Note"), {});
        FieldTranslation translation(QStringLiteral("Translation"), {});
        QCOMPARE(items(line.cmbLanguages), expected);
        QCOMPARE(items(translation.cmbLanguages1), expected);
        QCOMPARE(items(translation.cmbLanguages2), expected);
        QCOMPARE(line.cmbLanguages->currentIndex(), 0);
    }

    void noSignedInUserLeavesCombosEmpty()
    {
        AuthoringTree::users()->clearCurrentUser();
        FieldOneLine line(QStringLiteral("Note"), {});
        FieldTranslation translation(QStringLiteral("Translation"), {});
        QCOMPARE(line.updateViewLists(), 0);
        QCOMPARE(translation.updateViewLists(), 0);
        QCOMPARE(line.cmbLanguages->count(), 0);
        QCOMPARE(translation.cmbLanguages1->count(), 0);
        line.lEditFieldValue->setText(QStringLiteral("n"));
        QCOMPARE(line.values(), (Hash{{"Value", "n"}, {"Language", ""}}));
    }

    void oneLineKeepsItsLanguageOnRefill()
    {
        const QString key = QStringLiteral("users/maria/CreateLanguage");
        QSettings().setValue(key, languages()->idOf(QStringLiteral("French")));
        FieldOneLine fresh(QStringLiteral("Note"), {});
        QCOMPARE(fresh.cmbLanguages->currentText(), QStringLiteral("French"));

        FieldOneLine chosen(QStringLiteral("Note"), {});
        chosen.cmbLanguages->setCurrentIndex(1);
        QCOMPARE(chosen.cmbLanguages->currentText(), QStringLiteral("German, Standard"));
        QCOMPARE(chosen.updateViewLists(), 1);
        QCOMPARE(chosen.cmbLanguages->currentText(), QStringLiteral("German, Standard"));
    }

    void oneLineKeepsStoredLanguageOutsideFluencies()
    {
        FieldOneLine field(QStringLiteral("Note"), {{"Value", "a note"}, {"Language", "Spanish"}});
        QCOMPARE(field.lEditFieldValue->text(), QStringLiteral("a note"));
        QCOMPARE(field.values(), (Hash{{"Value", "a note"}, {"Language", "Spanish"}}));
        // Offered beside the user's languages; the first entry keeps its text.
        QCOMPARE(field.cmbLanguages->count(), 5);
        QCOMPARE(field.cmbLanguages->itemText(0), QStringLiteral("Select Language"));
    }

    void comboTextSetter_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("current");
        QTest::newRow("listed text is selected") << false << "b" << QStringList{"a", "b", "c"} << "b";
        QTest::newRow("missing text renames current") << false << "x" << QStringList{"x", "b", "c"} << "x";
        QTest::newRow("editable takes edit text") << true << "x" << QStringList{"a", "b", "c"} << "x";
    }

    void comboTextSetter()
    {
        QFETCH(bool, editable);
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QFETCH(QString, current);
        QComboBox combo;
        combo.setEditable(editable);
        combo.addItems({"a", "b", "c"});
        ComboText::setCurrentText(&combo, text);
        QCOMPARE(ComboSteps::items(&combo), items);
        QCOMPARE(combo.currentText(), current);
    }

    void addLanguageCancelledRestoresChoice()
    {
        FieldOneLine field(QStringLiteral("Note"), {});
        field.setMainWindow(mFixture.host());
        activate(field.cmbLanguages, 2);
        QSignalSpy changed(&field, SIGNAL(fieldModified()));
        activate(field.cmbLanguages, field.cmbLanguages->count() - 1);
        cancelNextWizard();
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(field.cmbLanguages->currentText(), QStringLiteral("French"));
        QVERIFY(mFixture.tree().netCalls(QStringLiteral("updateFluency")).isEmpty());
    }

    void addLanguageAcceptedSelectsIt()
    {
        FieldTranslation field(QStringLiteral("Translation"), {});
        RefillingHost host([&field] { field.updateViewLists(); });
        field.setMainWindow(&host);
        bool done = false;
        activate(field.cmbLanguages1, field.cmbLanguages1->count() - 1);
        WizardDriver::finishNextWizard(QStringLiteral("Italian"), QStringLiteral("Beginner"), {}, &done);
        QTRY_VERIFY(done);
        QTRY_COMPARE(field.cmbLanguages1->currentText(), QStringLiteral("Italian"));
        QCOMPARE(host.viewListUpdates, 1);
        QCOMPARE(field.cmbLanguages1->currentText(), QStringLiteral("Italian"));
        QCOMPARE(field.cmbLanguages2->currentText(), QStringLiteral("Italian"));
        QCOMPARE(mFixture.tree().netCalls(QStringLiteral("updateFluency")).size(), 1);
        // The signed-in user is still there after the reload.
        QVERIFY(AuthoringTree::users()->currentUser());
    }

    void textsOnScreen_data() { ScreenTexts::addLanguageAndFontRows(); }

    // The field widgets made in English show every text in full at the
    // smallest and largest font, also after a switch to German, where none
    // stays English.
    void textsOnScreen()
    {
        QFETCH(bool, german);
        QFETCH(int, pointSize);
        ScreenTexts::PointSize size(pointSize);
        mFixture.host()->changeFont(pointSize);
        QWidget page;
        auto* layout = new QVBoxLayout(&page);
        QList<IFieldInfo*> fields;
        for (const QString& type : {QStringLiteral("Translation"), QStringLiteral("Note"), QStringLiteral("Idiom")}) {
            IFieldInfo* field = FieldInfoFactory::create(type, {});
            field->setMainWindow(mFixture.host());
            field->redrawView();
            layout->addWidget(dynamic_cast<QWidget*>(field));
            fields << field;
        }
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const QList<ScreenTexts::Shown> english = ScreenTexts::shown(&page, true);

        std::unique_ptr<ScreenTexts::German> de;
        if (german) {
            de = std::make_unique<ScreenTexts::German>([] {
                ZoDbHelper().releaseResources();
                LanguageComboHelper::reloadCurrentUser();
            });
            for (IFieldInfo* field : std::as_const(fields)) {
                field->retranslateView();
                field->updateViewLists();
            }
            const QStringList untranslated = ScreenTexts::untranslated(english, ScreenTexts::shown(&page, true),
                                                                       ScreenTexts::sameWords(), {"Note"});
            QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral("; "))));
        }
        QTRY_VERIFY2(ScreenTexts::cut(&page).isEmpty(), qPrintable(ScreenTexts::cut(&page).join("; ")));
    }
};

QTEST_MAIN(TestFieldWidgets)
#include "tst_fieldwidgets.moc"
