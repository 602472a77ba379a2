#include "CreateNew.h"
#include "IDbManager.h"
#include "PluginLocator.h"
#include "SignedInUser.h"
#include "TestDatabase.h"
#include "TestHost.h"
#include "WizardTestTree.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QtTest>

#include <memory>

class TestCreateNew : public QObject
{
    Q_OBJECT

    std::unique_ptr<WizardTestTree> mTree;
    std::unique_ptr<TestHost> mHost;
    QHash<QString, QString> mIds; // term -> local id

    IDbManager* store() const { return SignedInUser::store(); }

    QString storeExercise(const QString& term, const QString& language)
    {
        std::unique_ptr<QObject> created(
            store()->create(QStringLiteral("Exercise"), {{QStringLiteral("Term"), term},
                                                         {QStringLiteral("Language"), language},
                                                         {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                                         {QStringLiteral("MediaName"), term + QStringLiteral(".wav")},
                                                         {QStringLiteral("Creator"), QStringLiteral("maria")}}));
        auto* exercise = qobject_cast<ZoExercise*>(created.get());
        if (!exercise || store()->insertExercise(QStringLiteral("Exercise"), exercise) != 1)
            return QString();
        return exercise->id();
    }

    // A new lesson, as the tabs make it: the local ids of the named exercises.
    std::unique_ptr<ZoLesson> lessonOf(const QStringList& terms)
    {
        auto lesson = std::make_unique<ZoLesson>();
        for (const QString& term : terms)
            lesson->addExercise(mIds.value(term), QStringLiteral("0"));
        return lesson;
    }

    static QStringList entries(const QComboBox* combo)
    {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    }

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<WizardTestTree>();
        QVERIFY(mTree->isValid());
        QVERIFY(TestDatabase::createFile(mTree->tree().filePath(QStringLiteral("vireda.db"))));
        QVERIFY(store());
        mHost = std::make_unique<TestHost>(13);
        for (const auto& [term, language] :
             {std::pair{"chien", "French"}, std::pair{"chat", "French"}, std::pair{"perro", "Spanish"}}) {
            const QString id = storeExercise(QLatin1String(term), QLatin1String(language));
            QVERIFY2(!id.isEmpty(), term);
            mIds.insert(QLatin1String(term), id);
        }
        QVERIFY(!store()->learnerLevelList().isEmpty());
    }

    void init()
    {
        QVERIFY(SignedInUser::signIn(QStringLiteral("maria"), {QStringLiteral("French")}));
        mTree->answerBoxes({});
        QFile::remove(mTree->boxLogPath());
    }

    void cleanupTestCase()
    {
        SignedInUser::signOut();
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mHost.reset();
        mTree.reset();
    }

    void opensOnTheLessonsLanguages_data()
    {
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("current");
        QTest::newRow("one language") << QStringList{"chien", "chat"} << QStringList{"French"} << "French";
        QTest::newRow("two languages") << QStringList{"chien", "perro"}
                                       << QStringList{"Select Language", "French", "Spanish"} << "Select Language";
        QTest::newRow("no exercises") << QStringList{} << QStringList{"Select Language"} << "Select Language";
    }

    void opensOnTheLessonsLanguages()
    {
        QFETCH(QStringList, terms);
        QFETCH(QStringList, languages);
        QFETCH(QString, current);
        auto lesson = lessonOf(terms);
        CreateNew dialog(mHost.get(), lesson.get());
        QCOMPARE(entries(dialog.cmbLanguages), languages);
        QCOMPARE(dialog.cmbLanguages->currentText(), current);
        QCOMPARE(entries(dialog.cmbLearnerLevels), store()->learnerLevelList());
        QCOMPARE(dialog.cmbLearnerLevels->currentIndex(), 0);
        QCOMPARE(dialog.font().pointSize(), 13);
        QCOMPARE(dialog.parentWidget(), mHost.get());
        QVERIFY(dialog.width() >= 404 && dialog.height() >= 281);
    }

    void okFillsTheLesson()
    {
        auto lesson = lessonOf({"chien", "chat"});
        lesson->setTitle(QStringLiteral("Animals"));
        CreateNew dialog(mHost.get(), lesson.get());
        QCOMPARE(dialog.lEditTitle->text(), QStringLiteral("Animals"));
        dialog.lEditTitle->setText(QStringLiteral("Pets"));
        dialog.tEditDescription->setHtml(QStringLiteral("<b>cats</b> &amp; dogs"));
        dialog.cmbLearnerLevels->setCurrentIndex(dialog.cmbLearnerLevels->count() - 1);
        QCOMPARE(dialog.btnOkClicked(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(lesson->pId(), QStringLiteral("0"));
        QCOMPARE(lesson->title(), QStringLiteral("Pets"));
        QCOMPARE(lesson->description(), QStringLiteral("cats & dogs"));
        QCOMPARE(lesson->language(), QStringLiteral("French"));
        QCOMPARE(lesson->learnerLevel(), store()->learnerLevelList().constLast());
        QCOMPARE(lesson->username(), QStringLiteral("maria"));
        QCOMPARE(lesson->userId(), SignedInUser::current()->id());
        QCOMPARE(lesson->exerciseCount(), 2);
        QVERIFY(mTree->boxes().isEmpty());
    }

    // Stored texts are never null, also when nothing was typed.
    void emptyDescriptionIsAnEmptyText()
    {
        auto lesson = lessonOf({"chien"});
        CreateNew dialog(mHost.get(), lesson.get());
        dialog.lEditTitle->setText(QStringLiteral("x"));
        QCOMPARE(dialog.btnOkClicked(), 1);
        QVERIFY(!lesson->description().isNull());
        QVERIFY(lesson->description().isEmpty());
        QVERIFY(!lesson->learnerLevel().isNull());
    }

    void persistentIdKept()
    {
        auto lesson = lessonOf({"chien"});
        lesson->setPId(QStringLiteral("L-77"));
        lesson->setTitle(QStringLiteral("t"));
        CreateNew dialog(mHost.get(), lesson.get());
        QCOMPARE(dialog.btnOkClicked(), 1);
        QCOMPARE(lesson->pId(), QStringLiteral("L-77"));
    }

    // A null language or level leaves the combos as they open; a given one is selected.
    void givenLanguageAndLevel_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("levelIndex");
        QTest::addColumn<QString>("shown");
        QTest::newRow("null") << QString() << -1 << "Select Language";
        QTest::newRow("empty") << QStringLiteral("") << -1 << "Select Language";
        QTest::newRow("Spanish") << QStringLiteral("Spanish") << 1 << "Spanish";
    }

    void givenLanguageAndLevel()
    {
        QFETCH(QString, language);
        QFETCH(int, levelIndex);
        QFETCH(QString, shown);
        auto lesson = lessonOf({"chien", "perro"});
        lesson->setLanguage(language);
        const QStringList levels = store()->learnerLevelList();
        QVERIFY(levels.size() > 1);
        lesson->setLearnerLevel(levelIndex < 0 ? QString() : levels.at(levelIndex));
        CreateNew dialog(mHost.get(), lesson.get());
        QCOMPARE(dialog.cmbLanguages->currentText(), shown);
        QCOMPARE(dialog.cmbLearnerLevels->currentIndex(), qMax(levelIndex, 0));
    }

    void refusedInput_data()
    {
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("no title") << QStringList{"chien"} << ""
                                  << "Please enter a title for the Lesson.";
        QTest::newRow("no language") << QStringList{"chien", "perro"} << "Words"
                                     << "Please select a language for the Lesson.";
        QTest::newRow("blank title passes, no language") << QStringList{"chien", "perro"} << "   "
                                                         << "Please select a language for the Lesson.";
    }

    void refusedInput()
    {
        QFETCH(QStringList, terms);
        QFETCH(QString, title);
        QFETCH(QString, message);
        auto lesson = lessonOf(terms);
        lesson->setTitle(QStringLiteral("before"));
        CreateNew dialog(mHost.get(), lesson.get());
        dialog.show();
        dialog.lEditTitle->setText(title);
        QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        QCOMPARE(mTree->boxes(), QStringList{WizardTestTree::info(message)});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(lesson->title(), QStringLiteral("before"));
        QVERIFY(lesson->pId().isEmpty());
    }

    void noCurrentUserRefuses()
    {
        auto lesson = lessonOf({"chien"});
        CreateNew dialog(mHost.get(), lesson.get());
        dialog.show();
        dialog.lEditTitle->setText(QStringLiteral("Words"));
        SignedInUser::signOut();
        QCOMPARE(dialog.btnOkClicked(), 0);
        QCOMPARE(mTree->boxes(), QStringList{WizardTestTree::info(
                                     QStringLiteral("Nobody is signed in. Sign in again to save the lesson."))});
        QVERIFY(dialog.isVisible());
        QVERIFY(lesson->title().isEmpty());
        QVERIFY(lesson->username().isNull());
    }

    void cancelLeavesTheLesson()
    {
        auto lesson = lessonOf({"chien"});
        lesson->setTitle(QStringLiteral("Animals"));
        CreateNew dialog(mHost.get(), lesson.get());
        dialog.show();
        dialog.lEditTitle->setText(QStringLiteral("Pets"));
        QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(lesson->title(), QStringLiteral("Animals"));
        QVERIFY(lesson->pId().isEmpty());
        QVERIFY(lesson->language().isNull());
    }
};

QTEST_MAIN(TestCreateNew)
#include "tst_createnew.moc"
