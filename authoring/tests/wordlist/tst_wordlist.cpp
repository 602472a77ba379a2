#include "AuthoringTree.h"
#include "ExerciseXml.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoWordList.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

using Hash = QHash<QString, QString>;

namespace {

const QString kGerman = QStringLiteral("German, Standard");

ZoExercise exercise(const QString& term, const QString& language, const QString& mediaName = QString())
{
    ZoExercise e;
    e.setTerm(term);
    e.setLanguage(language);
    e.setMediaName(mediaName);
    return e;
}

Hash field(const QString& value, const QString& language)
{
    ZoDbHelper helper;
    return {{"Value", value}, {"Language", language}, {"LanguageID", helper.languageId(language)}};
}

// The values a field keeps through a file: the non-empty ones of the six keys.
QList<Hash> comparable(const QList<Hash>& entries)
{
    QList<Hash> result;
    for (const Hash& entry : entries) {
        Hash kept;
        for (auto it = entry.cbegin(); it != entry.cend(); ++it) {
            if (!it.value().isEmpty())
                kept.insert(it.key(), it.value());
        }
        result << kept;
    }
    return result;
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray encoded(const QString& text, QStringConverter::Encoding encoding, bool bom)
{
    QStringEncoder encoder(encoding, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

const QString kOneTermList = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><WordList><General><Title>Other</Title></General>"
    "<Exercises><Exercise><General><Term>Haus</Term></General></Exercise></Exercises></WordList>");

QStringList ids(ZoWordList& list)
{
    QStringList result;
    for (int i = 0; i < list.exerciseCount(); ++i)
        result << list.exerciseAt(i)->id();
    return result;
}

} // namespace

class TestWordList : public QObject
{
    Q_OBJECT

    AuthoringTree mFixture;
    std::unique_ptr<QTemporaryDir> mDir;

    QDir listDir() const { return QDir(mDir->filePath(QStringLiteral("Content/TemplateList"))); }

private slots:
    void initTestCase() { QVERIFY(mFixture.setUp()); }
    void cleanupTestCase() { mFixture.tearDown(); }
    void init()
    {
        mDir = std::make_unique<QTemporaryDir>();
        QVERIFY(mDir->isValid());
    }

    void writtenFileReadsBackTheSameList()
    {
        ZoWordList list;
        list.setTitle(QStringLiteral("Küche & Haus"));
        ZoExercise first = exercise(QStringLiteral("  das Haus "), kGerman, QStringLiteral("haus.wav"));
        first.addField(QStringLiteral("Translation"), field(QStringLiteral("house"), QStringLiteral("French")));
        first.addField(QStringLiteral("Translation"), field(QStringLiteral("maison"), QStringLiteral("French")));
        first.addField(QStringLiteral("International Symbols"), {{"Value", "haʊs"}});
        first.addField(QStringLiteral("Part of speech"), {{"Value", "noun"}});
        first.addField(QStringLiteral("My notes: <1>"), {{"Value", "a & b"}, {"Language", kGerman}});
        list.appendExercise(first);
        list.appendExercise(exercise(QStringLiteral("la cuisine"), QStringLiteral("French")));

        QVERIFY(!listDir().exists());
        QVERIFY(ZoWordList::writeFile(listDir(), list));
        QFile file(ZoWordList::fileName(listDir(), list.title()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(2), QByteArray("\xFF\xFE"));
        file.close();

        std::unique_ptr<ZoWordList> read = ZoWordList::readFile(listDir(), list.title());
        QVERIFY(read);
        QCOMPARE(read->title(), list.title());
        QCOMPARE(read->exerciseCount(), 2);
        const ZoExercise* back = read->exerciseAt(0);
        QCOMPARE(back->term(), QStringLiteral("das Haus"));
        QCOMPARE(back->language(), kGerman);
        QCOMPARE(back->mediaName(), QStringLiteral("haus.wav"));
        QCOMPARE(back->mediaPath(), QStringLiteral("Content"));
        const ZoExercise::FieldMap written = first.fields();
        const ZoExercise::FieldMap fields = back->fields();
        // A hash's keys come in no fixed order.
        QStringList names = fields.uniqueKeys();
        QStringList writtenNames = written.uniqueKeys();
        names.sort();
        writtenNames.sort();
        QCOMPARE(names, writtenNames);
        for (const QString& name : written.uniqueKeys())
            QCOMPARE(comparable(fields.values(name)), comparable(written.values(name)));
        QCOMPARE(read->exerciseAt(1)->term(), QStringLiteral("la cuisine"));
        QCOMPARE(read->exerciseAt(1)->language(), QStringLiteral("French"));
        QVERIFY(read->exerciseAt(1)->fields().isEmpty());

        // Written again, the file is the same.
        QVERIFY(ZoWordList::writeFile(listDir(), *read));
        QCOMPARE(ZoWordList::readFile(listDir(), list.title())->toXml(), read->toXml());
    }

    void emptyListText()
    {
        ZoWordList list;
        list.setTitle(QStringLiteral("empty"));
        const QString text = list.toXml();
        QVERIFY(text.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>")));
        QDomDocument document;
        QVERIFY(document.setContent(text));
        const QDomElement root = document.documentElement();
        QCOMPARE(root.tagName(), QStringLiteral("WordList"));
        QCOMPARE(root.firstChildElement(QStringLiteral("General")).firstChildElement(QStringLiteral("Title")).text(),
                 QStringLiteral("empty"));
        QVERIFY(root.firstChildElement(QStringLiteral("Exercises")).firstChildElement().isNull());
        ZoWordList read;
        QVERIFY(read.fromXml(text));
        QCOMPARE(read.title(), QStringLiteral("empty"));
        QCOMPARE(read.exerciseCount(), 0);
    }

    void fieldNamesAreXmlNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("plain") << "Translation"
                               << "Translation"
                               << "Translation";
        QTest::newRow("symbols") << "International Symbols"
                                 << "InternationalSymbols"
                                 << "International Symbols";
        QTest::newRow("part of speech") << "Part of speech"
                                        << "Partofspeech"
                                        << "Part of speech";
        QTest::newRow("blank") << "Word family"
                               << "Word_x0020_family"
                               << "Word family";
        QTest::newRow("digit first") << "2nd meaning"
                                     << "_x0032_nd_x0020_meaning"
                                     << "2nd meaning";
        QTest::newRow("markup characters") << "a<b>&\"c"
                                           << "a_x003C_b_x003E__x0026__x0022_c"
                                           << "a<b>&\"c";
        QTest::newRow("underscore itself") << "a_x0041_"
                                           << "a_x005F_x0041_x005F_"
                                           << "a_x0041_";
        QTest::newRow("non-Latin") << "Ëtymology"
                                   << "_x00CB_tymology"
                                   << "Ëtymology";
    }

    void fieldNamesAreXmlNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, element);
        QFETCH(QString, readBack);
        QCOMPARE(ExerciseXml::encodeName(name), element);
        QDomDocument document;
        QVERIFY(document.setContent(QStringLiteral("<%1/>").arg(element)));
        QCOMPARE(ExerciseXml::decodeName(element), readBack);

        ZoExercise written = exercise(QStringLiteral("Haus"), kGerman);
        written.addField(name, {{"Value", "x"}});
        ZoExercise read;
        ZoDbHelper helper;
        QVERIFY(ExerciseXml::fromXml(read, ExerciseXml::toXml(written), helper));
        QCOMPARE(read.fields().uniqueKeys(), QStringList{readBack});
    }

    void fieldReading_data()
    {
        QTest::addColumn<QString>("fieldsXml");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("empty value is not restored") << "<Translation><Value> </Value></Translation>" << QStringList{};
        QTest::newRow("value trimmed") << "<Translation><Value> house </Value></Translation>" << QStringList{"house"};
        QTest::newRow("two of one name in order")
            << "<Translation><Value>a</Value></Translation><Translation><Value>b</Value></Translation>"
            << QStringList{"b", "a"};
        QTest::newRow("missing Value child") << "<Notes><Language>x</Language></Notes>" << QStringList{};
    }

    void fieldReading()
    {
        QFETCH(QString, fieldsXml);
        QFETCH(QStringList, values);
        ZoExercise read;
        ZoDbHelper helper;
        QVERIFY(ExerciseXml::fromXml(
            read,
            QStringLiteral("<Exercise><General><Term>t</Term></General><Fields>%1</Fields></Exercise>").arg(fieldsXml),
            helper));
        QStringList got;
        const ZoExercise::FieldMap fields = read.fields();
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            got << it.value().value("Value");
        QCOMPARE(got, values);
    }

    void fieldWritesOnlyNonEmptyValues()
    {
        ZoExercise written = exercise(QStringLiteral("Haus"), kGerman);
        written.addField(QStringLiteral("Translation"), {{"Value", "house"}, {"Context", ""}, {"Language", "French"}});
        QDomDocument document;
        QVERIFY(document.setContent(ExerciseXml::toXml(written)));
        const QDomElement element = document.documentElement()
                                        .firstChildElement(QStringLiteral("Fields"))
                                        .firstChildElement(QStringLiteral("Translation"));
        QStringList children;
        for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
            children << child.tagName();
        QCOMPARE(children, (QStringList{"Language", "Value"}));
    }

    void unreadableFileReadsAsNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing file") << "gone" << QByteArray();
        QTest::newRow("empty file") << "empty" << QByteArray("");
        QTest::newRow("not well-formed") << "broken" << encoded("<WordList><General>", QStringConverter::Utf16LE, true);
        QTest::newRow("no word list") << "other" << QByteArray("<Lesson><General/></Lesson>");
        QTest::newRow("name leaves the folder") << "../outside" << kOneTermList.toUtf8();
        QTest::newRow("empty name") << "" << kOneTermList.toUtf8();
    }

    void unreadableFileReadsAsNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QVERIFY(QDir().mkpath(listDir().absolutePath()));
        if (!bytes.isNull())
            QVERIFY(writeBytes(ZoWordList::fileName(listDir(), name), bytes));
        QVERIFY(!ZoWordList::readFile(listDir(), name));
    }

    void fileIsReadByItsMark_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("UTF-16 little-endian") << encoded(kOneTermList, QStringConverter::Utf16LE, true);
        QTest::newRow("UTF-16 big-endian") << encoded(kOneTermList, QStringConverter::Utf16BE, true);
        QTest::newRow("UTF-8 with mark") << encoded(kOneTermList, QStringConverter::Utf8, true);
        QTest::newRow("UTF-8 without mark") << encoded(kOneTermList, QStringConverter::Utf8, false);
    }

    void fileIsReadByItsMark()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(QDir().mkpath(listDir().absolutePath()));
        QVERIFY(writeBytes(ZoWordList::fileName(listDir(), QStringLiteral("kitchen")), bytes));
        std::unique_ptr<ZoWordList> list = ZoWordList::readFile(listDir(), QStringLiteral("kitchen"));
        QVERIFY(list);
        // The title is the file's name, whatever the text says.
        QCOMPARE(list->title(), QStringLiteral("kitchen"));
        QCOMPARE(list->exerciseCount(), 1);
        QCOMPARE(list->exerciseAt(0)->term(), QStringLiteral("Haus"));
    }

    void listNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString chars = QStringLiteral(
            "Please enter a name that does not contain any of the following characters: \\ / : * ? \" < > |");
        const QString tooLong = QStringLiteral("Name is too long.  Please enter a name less than 32 characters.");
        QTest::newRow("plain") << "Kitchen words"
                               << "";
        QTest::newRow("non-Latin") << "Кухня"
                                   << "";
        QTest::newRow("placeholder text is a name") << "Select List"
                                                    << "";
        QTest::newRow("31 characters") << QString(31, QLatin1Char('a')) << "";
        QTest::newRow("32 characters") << QString(32, QLatin1Char('a')) << tooLong;
        QTest::newRow("empty") << ""
                               << "Please enter a name for the List.";
        QTest::newRow("parent folder") << "../up" << chars;
        for (const QChar c : QStringLiteral("\\/:*?\"<>|"))
            QTest::newRow(qPrintable(QStringLiteral("character %1").arg(c))) << QStringLiteral("a%1b").arg(c) << chars;
        QTest::newRow("line break") << "a\nb" << chars;
        QTest::newRow("bad character wins over length") << QString(40, QLatin1Char('/')) << chars;
    }

    void listNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QCOMPARE(ZoWordList::checkListName(name), message);
    }

    void refusedTitleWritesNothing_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("empty") << "";
        QTest::newRow("parent folder") << "../escaped";
        QTest::newRow("sub folder") << "sub/list";
    }

    void refusedTitleWritesNothing()
    {
        QFETCH(QString, title);
        ZoWordList list;
        list.setTitle(title);
        list.appendExercise(exercise(QStringLiteral("Haus"), kGerman));
        QVERIFY(!ZoWordList::writeFile(listDir(), list));
        QDir root(mDir->path());
        QStringList everything;
        QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            everything << it.next();
        QCOMPARE(everything, QStringList{});
    }

    void writeReplacesTheWholeFile()
    {
        ZoWordList list;
        list.setTitle(QStringLiteral("kitchen"));
        for (int i = 0; i < 3; ++i)
            list.appendExercise(exercise(QStringLiteral("term %1").arg(i), kGerman));
        QVERIFY(ZoWordList::writeFile(listDir(), list));
        list.removeExercise(0);
        list.removeExercise(1);
        QVERIFY(ZoWordList::writeFile(listDir(), list));
        std::unique_ptr<ZoWordList> read = ZoWordList::readFile(listDir(), QStringLiteral("kitchen"));
        QVERIFY(read);
        QCOMPARE(read->exerciseCount(), 1);
        QCOMPARE(read->exerciseAt(0)->term(), QStringLiteral("term 1"));
    }

    void writeFailsWhereNoFileCanBe()
    {
        // The list folder is taken by a file.
        QVERIFY(writeBytes(mDir->filePath(QStringLiteral("Content")), "x"));
        ZoWordList list;
        list.setTitle(QStringLiteral("kitchen"));
        QVERIFY(!ZoWordList::writeFile(listDir(), list));
    }

    void removeOutsideTheListChangesNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("terms");
        QTest::newRow("-1") << -1 << QStringList{"a", "b"};
        QTest::newRow("count") << 2 << QStringList{"a", "b"};
        QTest::newRow("first") << 0 << QStringList{"b"};
        QTest::newRow("last") << 1 << QStringList{"a"};
    }

    void removeOutsideTheListChangesNothing()
    {
        QFETCH(int, index);
        QFETCH(QStringList, terms);
        ZoWordList list;
        list.appendExercise(exercise(QStringLiteral("a"), kGerman));
        list.appendExercise(exercise(QStringLiteral("b"), kGerman));
        list.removeExercise(index);
        QStringList got;
        for (int i = 0; i < list.exerciseCount(); ++i)
            got << list.exerciseAt(i)->term();
        QCOMPARE(got, terms);
    }

    void replaceTakesOverPropertiesAndFields()
    {
        ZoWordList list;
        ZoExercise old = exercise(QStringLiteral("a"), kGerman);
        old.addField(QStringLiteral("Translation"), field(QStringLiteral("old"), QStringLiteral("French")));
        list.appendExercise(old);
        ZoExercise recorded = exercise(QStringLiteral("a"), kGerman, QStringLiteral("a.wav"));
        recorded.setId(QStringLiteral("7"));
        recorded.addField(QStringLiteral("Notes"), {{"Value", "new"}});
        list.replaceExercise(0, recorded);
        QCOMPARE(list.exerciseAt(0)->id(), QStringLiteral("7"));
        QCOMPARE(list.exerciseAt(0)->mediaName(), QStringLiteral("a.wav"));
        QCOMPARE(list.exerciseAt(0)->fields().uniqueKeys(), QStringList{"Notes"});
        // Changes through exerciseAt change the list.
        list.exerciseAt(0)->setStatus(QStringLiteral("done"));
        QCOMPARE(list.exercises().at(0).status(), QStringLiteral("done"));
    }

    // Characters XML cannot hold never reach the file, which so always reads back.
    void writtenTextAlwaysReadsBack()
    {
        ZoWordList list;
        list.setTitle(QStringLiteral("Steuer"));
        ZoExercise first = exercise(QStringLiteral("Ha") + QChar(0) + QStringLiteral("us\f\x1a"), kGerman);
        first.addField(QStringLiteral("Translation"),
                       field(QStringLiteral("ho") + QChar(0xFFFE) + QStringLiteral("use\x01"),
                             QStringLiteral("French")));
        list.appendExercise(first);
        QVERIFY(ZoWordList::writeFile(listDir(), list));
        QString problem;
        std::unique_ptr<ZoWordList> read = ZoWordList::readFile(listDir(), list.title(), &problem);
        QVERIFY2(read, qPrintable(problem));
        QCOMPARE(read->exerciseAt(0)->term(), QStringLiteral("Haus"));
        QCOMPARE(read->exerciseAt(0)->fields().value(QStringLiteral("Translation")).value(QStringLiteral("Value")),
                 QStringLiteral("house"));
    }

    // A recorded term is kept in the marks file beside the list; the list file
    // is not written until the list is, and then the marks are in it.
    void marksAreKeptBesideTheList()
    {
        ZoWordList list;
        list.setTitle(QStringLiteral("Farben"));
        for (const char* term : {"rot", "gelb", "blau"})
            list.appendExercise(exercise(QString::fromLatin1(term), kGerman));
        QVERIFY(ZoWordList::writeFile(listDir(), list));
        QFile file(ZoWordList::fileName(listDir(), list.title()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        for (int row : {1, 2, 1}) {
            ZoExercise recorded = exercise(list.exerciseAt(row)->term(), kGerman, QStringLiteral("r%1.wav").arg(row));
            recorded.setId(QString::number(10 * row + list.exerciseAt(row)->id().size()));
            list.replaceExercise(row, recorded);
            QVERIFY(ZoWordList::appendMark(listDir(), list, row));
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();
        QVERIFY(QFileInfo::exists(ZoWordList::marksFileName(listDir(), list.title())));

        std::unique_ptr<ZoWordList> read = ZoWordList::readFile(listDir(), list.title());
        QVERIFY(read);
        // The last record of a row holds.
        const QStringList marked{"", "12", "20"};
        QCOMPARE(ids(*read), marked);
        QCOMPARE(read->exerciseAt(2)->mediaName(), QStringLiteral("r2.wav"));

        QVERIFY(ZoWordList::writeFile(listDir(), *read));
        QVERIFY(!QFileInfo::exists(ZoWordList::marksFileName(listDir(), list.title())));
        std::unique_ptr<ZoWordList> again = ZoWordList::readFile(listDir(), list.title());
        QVERIFY(again);
        QCOMPARE(ids(*again), marked);
        QCOMPARE(again->toXml(), read->toXml());
    }

    // A record cut short (the program stopped while writing it), one for a
    // term the list no longer holds there, or for no row, is not applied.
    void marksThatDoNotFitAreLeftOut_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::newRow("cut short") << QByteArray("2 500\n<Exercise><General><Term>blau</Term>");
        QTest::newRow("another term") << QByteArray(
            "2 67\n<Exercise><General><Term>lila</Term><Id>9</Id></General></Exercise>\n");
        QTest::newRow("no such row") << QByteArray(
            "7 67\n<Exercise><General><Term>blau</Term><Id>9</Id></General></Exercise>\n");
        QTest::newRow("not a record") << QByteArray("junk\n");
        QTest::newRow("value holding elements")
            << QByteArray("2 71\n<Exercise><General><Term>blau</Term><Id>9<b/></Id></General></Exercise>\n");
    }

    void marksThatDoNotFitAreLeftOut()
    {
        QFETCH(QByteArray, tail);
        ZoWordList list;
        list.setTitle(QStringLiteral("Farben"));
        for (const char* term : {"rot", "gelb", "blau"})
            list.appendExercise(exercise(QString::fromLatin1(term), kGerman));
        QVERIFY(ZoWordList::writeFile(listDir(), list));
        ZoExercise recorded = exercise(QStringLiteral("rot"), kGerman, QStringLiteral("rot.wav"));
        recorded.setId(QStringLiteral("5"));
        list.replaceExercise(0, recorded);
        QVERIFY(ZoWordList::appendMark(listDir(), list, 0));
        QFile marks(ZoWordList::marksFileName(listDir(), list.title()));
        QVERIFY(marks.open(QIODevice::Append));
        QCOMPARE(marks.write(tail), tail.size());
        marks.close();

        std::unique_ptr<ZoWordList> read = ZoWordList::readFile(listDir(), list.title());
        QVERIFY(read);
        QCOMPARE(ids(*read), (QStringList{"5", "", ""}));
    }

    // Every field and every key of its values reads back as written, from
    // the list file and from the marks file alike.
    void fieldsReadBackAsWritten_data()
    {
        ZoDbHelper helper;
        const QString french = QStringLiteral("French");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Hash>("values");
        QTest::newRow("translation with context")
            << "Translation" << Hash{{"Value", "house"},
                                     {"Language", french},
                                     {"LanguageID", helper.languageId(french)},
                                     {"Context", "das Haus"},
                                     {"Context_Language", kGerman},
                                     {"Context_LanguageID", helper.languageId(kGerman)}};
        QTest::newRow("translation, context without id")
            << "Translation" << Hash{{"Value", "house"}, {"Context", "Bau"}, {"Context_Language", "Klingon"}};
        QTest::newRow("one line with a language name only") << "Notes" << Hash{{"Value", "a & b"}, {"Language", "x"}};
        QTest::newRow("symbols") << "International Symbols" << Hash{{"Value", "haʊs"}};
        QTest::newRow("part of speech") << "Part of speech" << Hash{{"Value", "noun"}};
        QTest::newRow("name that needs encoding")
            << "2nd <meaning> & more" << Hash{{"Value", "x"}, {"Context_Language", "Klingon"}};
        QTest::newRow("keys that need encoding")
            << "Word family" << Hash{{"Value", "y"}, {"my key", "1"}, {"a_x0041_", "2"}, {"Ünder_score", "3"}};
        QTest::newRow("markup and line breaks in values")
            << "Notes" << Hash{{"Value", "<b>\"x\"</b>\n]]> 'y'"}, {"Context", "&amp;\n\tz"}};
    }

    void fieldsReadBackAsWritten()
    {
        QFETCH(QString, name);
        QFETCH(Hash, values);
        ZoExercise written = exercise(QStringLiteral("Haus"), kGerman);
        written.addField(name, values);
        ZoWordList list;
        list.setTitle(QStringLiteral("Felder"));
        list.appendExercise(exercise(QStringLiteral("Baum"), kGerman));
        list.appendExercise(written);
        QVERIFY(ZoWordList::writeFile(listDir(), list));
        // The second term again, through the marks file.
        list.exerciseAt(0)->addField(name, values);
        QVERIFY(ZoWordList::appendMark(listDir(), list, 0));

        std::unique_ptr<ZoWordList> read = ZoWordList::readFile(listDir(), list.title());
        QVERIFY(read);
        for (int row : {0, 1}) {
            const ZoExercise::FieldMap fields = read->exerciseAt(row)->fields();
            QCOMPARE(fields.uniqueKeys(), QStringList{name});
            QCOMPARE(comparable(fields.values(name)), comparable({values}));
        }
    }

    // A list of as many terms as a list holds reads back; one more is
    // refused with a message naming the limit, and is never written.
    void termLimitAtReadingAndWriting_data()
    {
        QTest::addColumn<int>("terms");
        QTest::newRow("as many as a List holds") << 3;
        QTest::newRow("one more") << 4;
    }

    void termLimitAtReadingAndWriting()
    {
        QFETCH(int, terms);
        const int limit = 3;
        ZoWordList list;
        list.setTitle(QStringLiteral("Vorrat"));
        for (int i = 0; i < terms; ++i)
            list.appendExercise(exercise(QStringLiteral("Wort %1").arg(i), kGerman));
        QVERIFY(ZoWordList::writeFile(listDir(), list));
        QFile file(ZoWordList::fileName(listDir(), list.title()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();
        const QString text = list.toXml();

        ZoWordList::setMaxWordsForTests(limit);
        const auto restore = qScopeGuard([] { ZoWordList::setMaxWordsForTests(0); });
        QCOMPARE(ZoWordList::maxWords(), limit);
        QString problem;
        std::unique_ptr<ZoWordList> read = ZoWordList::readFile(listDir(), list.title(), &problem);
        ZoWordList fromText;
        QString textProblem;
        const bool textRead = fromText.fromXml(text, &textProblem);
        if (terms <= limit) {
            QVERIFY2(read, qPrintable(problem));
            QCOMPARE(read->exerciseCount(), terms);
            QVERIFY(textRead);
            QVERIFY(ZoWordList::writeFile(listDir(), *read));
            return;
        }
        QVERIFY(!read);
        QCOMPARE(problem, QStringLiteral("A List holds at most 3 study terms."));
        QVERIFY(!textRead);
        QCOMPARE(textProblem, problem);
        QCOMPARE(fromText.exerciseCount(), 0);
        // The file stays as it was.
        QVERIFY(!ZoWordList::writeFile(listDir(), list));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
    }

    // The file is read in pieces that end anywhere: a pair of surrogates
    // split between two of them is still one character (one of the two
    // shifts splits one).
    void longValuesReadBackWhole_data()
    {
        QTest::addColumn<QString>("shift");
        QTest::newRow("even") << "";
        QTest::newRow("odd") << "x";
    }

    void longValuesReadBackWhole()
    {
        QFETCH(QString, shift);
        QString value = shift;
        for (int i = 0; i < 200 * 1000; ++i)
            value += QStringLiteral("𝄞");
        ZoExercise written = exercise(QStringLiteral("Noten"), kGerman);
        written.addField(QStringLiteral("Notes"), {{"Value", value}});
        ZoWordList list;
        list.setTitle(QStringLiteral("Lang"));
        list.appendExercise(written);
        list.appendExercise(exercise(QStringLiteral("Wort äöü"), kGerman));
        QVERIFY(ZoWordList::writeFile(listDir(), list));
        QString problem;
        std::unique_ptr<ZoWordList> read = ZoWordList::readFile(listDir(), list.title(), &problem);
        QVERIFY2(read, qPrintable(problem));
        QCOMPARE(read->exerciseCount(), 2);
        QVERIFY(read->exerciseAt(0)->fields().value(QStringLiteral("Notes")).value(QStringLiteral("Value")) == value);
        QCOMPARE(read->exerciseAt(1)->term(), QStringLiteral("Wort äöü"));
        ZoWordList fromText;
        QVERIFY(fromText.fromXml(list.toXml()));
        QVERIFY(fromText.exerciseAt(0)->fields().value(QStringLiteral("Notes")).value(QStringLiteral("Value"))
                == value);
    }

    void readingAddsToTheList()
    {
        ZoWordList list;
        list.appendExercise(exercise(QStringLiteral("first"), kGerman));
        QVERIFY(list.fromXml(kOneTermList));
        QCOMPARE(list.exerciseCount(), 2);
        QVERIFY(!list.fromXml(QStringLiteral("<WordList>")));
        QCOMPARE(list.exerciseCount(), 2);
        QCOMPARE(list.title(), QStringLiteral("Other"));
    }
};

QTEST_MAIN(TestWordList)
#include "tst_wordlist.moc"
