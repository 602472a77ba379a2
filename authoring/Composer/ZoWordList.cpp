#include "ZoWordList.h"

#include "ContentGate.h"
#include "ExerciseXml.h"
#include "UnicodeText.h"
#include "ZoDbHelper.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

const QString kListFolder = QStringLiteral("Content/TemplateList");
const QString kDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");

// One marks record: the row and the byte count of the exercise's XML on one
// line, then that XML (UTF-8) and a line feed.
constexpr qsizetype kMaxMarkBytes = 1024 * 1024;

// Pending events are processed this often while a list is read or written.
constexpr qint64 kEventEveryMs = 25;
// Bytes read and text written between two looks at the clock.
constexpr qint64 kFilePiece = 256 * 1024;
constexpr qsizetype kTextPiece = 64 * 1024;

int gMaxWordsForTests = 0;

// Reads a list file one token at a time, so it may come in pieces: only the
// first "General" and "Exercises" of "WordList" are read, and of each
// "Exercise" its first "General" and "Fields"; their values hold text only.
struct ListReading
{
    enum Place {
        Root,
        RootChild,
        List,
        ListGeneral,
        Exercises,
        Exercise,
        ExerciseGeneral,
        Fields,
        Field,
        Leaf,
        Skipped
    };

    ListReading(const ZoDbHelper& helper, int maxWords, QList<ZoExercise>* exercises)
        : helper(helper)
        , maxWords(maxWords)
        , exercises(exercises)
    {
    }

    const ZoDbHelper& helper;
    int maxWords;
    QList<ZoExercise>* exercises;
    QList<Place> open;
    bool listFound = false;
    bool listGeneralSeen = false;
    bool exercisesSeen = false;
    bool exerciseGeneralSeen = false;
    bool fieldsSeen = false;
    bool shapeError = false;
    bool tooManyWords = false;
    ExerciseXml::Values listGeneral;
    ExerciseXml::Values exerciseGeneral;
    ExerciseXml::Fields fields;
    QString fieldName;
    ExerciseXml::Values fieldValues;
    QString leafName;
    QString leafText;

    // False once the list cannot be read; the reader says why, or shapeError
    // or tooManyWords.
    bool take(QXmlStreamReader& reader)
    {
        switch (reader.tokenType()) {
        case QXmlStreamReader::DTD:
            reader.raiseError(QStringLiteral("document type declarations are not accepted"));
            return false;
        case QXmlStreamReader::StartElement:
            if (open.size() >= ContentGate::MaxListDepth) {
                reader.raiseError(QStringLiteral("elements nested deeper than %1").arg(ContentGate::MaxListDepth));
                return false;
            }
            return start(reader.name());
        case QXmlStreamReader::Characters:
            if (!open.isEmpty() && open.last() == Leaf)
                leafText += reader.text();
            return true;
        case QXmlStreamReader::EndElement:
            return end();
        default:
            return true;
        }
    }

    bool start(QStringView name)
    {
        const Place parent = open.isEmpty() ? Root : open.last();
        Place place = Skipped;
        switch (parent) {
        case Root:
        case RootChild:
            if (!listFound && name == QLatin1String("WordList")) {
                listFound = true;
                place = List;
            } else if (parent == Root) {
                place = RootChild;
            }
            break;
        case List:
            if (!listGeneralSeen && name == QLatin1String("General")) {
                listGeneralSeen = true;
                place = ListGeneral;
            } else if (!exercisesSeen && name == QLatin1String("Exercises")) {
                exercisesSeen = true;
                place = Exercises;
            }
            break;
        case Exercises:
            if (name == QLatin1String("Exercise")) {
                place = Exercise;
                exerciseGeneralSeen = false;
                fieldsSeen = false;
                exerciseGeneral.clear();
                fields.clear();
            }
            break;
        case Exercise:
            if (!exerciseGeneralSeen && name == QLatin1String("General")) {
                exerciseGeneralSeen = true;
                place = ExerciseGeneral;
            } else if (!fieldsSeen && name == QLatin1String("Fields")) {
                fieldsSeen = true;
                place = Fields;
            }
            break;
        case Fields:
            place = Field;
            fieldName = ExerciseXml::decodeName(name.toString());
            fieldValues.clear();
            break;
        case ListGeneral:
        case ExerciseGeneral:
        case Field:
            place = Leaf;
            leafName = parent == Field ? ExerciseXml::decodeName(name.toString()) : name.toString();
            leafText.clear();
            break;
        case Leaf:
            // A value holding elements would be flattened by reading.
            shapeError = true;
            return false;
        case Skipped:
            break;
        }
        open.append(place);
        return true;
    }

    bool end()
    {
        const Place place = open.takeLast();
        const Place parent = open.isEmpty() ? Root : open.last();
        switch (place) {
        case Leaf: {
            ExerciseXml::Values& values = parent == ListGeneral
                                              ? listGeneral
                                              : (parent == ExerciseGeneral ? exerciseGeneral : fieldValues);
            if (!values.contains(leafName))
                values.insert(leafName, leafText);
            leafText.clear();
            break;
        }
        case Field:
            fields.append({fieldName, fieldValues});
            break;
        case Exercise: {
            if (exercises->size() >= maxWords) {
                tooManyWords = true;
                return false;
            }
            ZoExercise exercise;
            ExerciseXml::fromValues(exercise, exerciseGeneral, fields, helper);
            exercises->append(exercise);
            break;
        }
        default:
            break;
        }
        return true;
    }
};

// Feeds reader the pieces next gives until the document ends; next returns
// false when there are none left (or it refused one, *stopped then true).
// Pending events are processed every few milliseconds; false and *problem
// set when the text is not a readable list.
bool readList(QXmlStreamReader& reader, ListReading& reading, const std::function<bool(bool* stopped)>& next,
              QString* problem, bool* stopped)
{
    *stopped = false;
    bool more = true;
    QElapsedTimer clock;
    clock.start();
    while (true) {
        reader.readNext();
        if (reader.error() == QXmlStreamReader::PrematureEndOfDocumentError && more) {
            more = next(stopped);
            if (*stopped)
                return false;
            if (clock.elapsed() >= kEventEveryMs) {
                QCoreApplication::processEvents();
                clock.restart();
            }
            continue;
        }
        if (reader.hasError())
            break;
        if (reader.atEnd())
            break;
        if (!reading.take(reader))
            break;
    }
    if (reading.tooManyWords) {
        *problem = ZoWordList::tooManyWordsMessage();
        return false;
    }
    if (reading.shapeError) {
        *problem = ZoWordList::tr("It is not a readable term list (a value holds other elements).");
        return false;
    }
    if (reader.hasError()) {
        *problem = ZoWordList::tr("It is not a readable term list (%1, line %2).")
                       .arg(reader.errorString())
                       .arg(reader.lineNumber());
        return false;
    }
    if (!reading.listFound) {
        *problem = ZoWordList::tr("It does not hold a term list.");
        return false;
    }
    return true;
}

// Applies the marks recorded since the list file was last written; a record
// cut short (the program stopped while writing it) ends the reading.
void applyMarks(const QString& path, ZoWordList* list)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > ContentGate::MaxListFileBytes)
        return;
    ZoDbHelper helper;
    for (;;) {
        const QByteArray header = file.readLine(64);
        const QList<QByteArray> parts = header.trimmed().split(' ');
        if (parts.size() != 2)
            return;
        bool rowOk = false;
        bool sizeOk = false;
        const int row = parts.at(0).toInt(&rowOk);
        const qsizetype size = parts.at(1).toLongLong(&sizeOk);
        if (!rowOk || !sizeOk || size <= 0 || size > kMaxMarkBytes)
            return;
        const QByteArray bytes = file.read(size + 1);
        if (bytes.size() != size + 1 || !bytes.endsWith('\n'))
            return;
        if (row < 0 || row >= list->exerciseCount())
            continue;
        // The same reading as the list's own exercises.
        ZoExercise marked;
        if (!ExerciseXml::fromXml(marked, QString::fromUtf8(bytes.constData(), size), helper))
            continue;
        // A record for another term (the list changed since) is not applied.
        if (marked.term() == list->exerciseAt(row)->term())
            list->replaceExercise(row, marked);
    }
}

} // namespace

ZoWordList::ZoWordList() = default;
ZoWordList::~ZoWordList() = default;

QString ZoWordList::id() const
{
    return mId;
}
void ZoWordList::setId(QString id)
{
    mId = id;
}
QString ZoWordList::title() const
{
    return mTitle;
}
void ZoWordList::setTitle(QString title)
{
    mTitle = title;
}
QString ZoWordList::username() const
{
    return mUsername;
}
void ZoWordList::setUsername(QString username)
{
    mUsername = username;
}
QString ZoWordList::language() const
{
    return mLanguage;
}
void ZoWordList::setLanguage(QString language)
{
    mLanguage = language;
}
QList<ZoExercise> ZoWordList::exercises() const
{
    return mExercises;
}
void ZoWordList::setExercises(const QList<ZoExercise>& exercises)
{
    mExercises = exercises;
}

int ZoWordList::appendExercise(const ZoExercise& exercise)
{
    mExercises.append(exercise);
    return 1;
}

int ZoWordList::clearExercises()
{
    mExercises.clear();
    return 1;
}

int ZoWordList::exerciseCount() const
{
    return int(mExercises.size());
}

ZoExercise* ZoWordList::exerciseAt(int i)
{
    return &mExercises[i];
}

void ZoWordList::replaceExercise(int i, const ZoExercise& exercise)
{
    mExercises[i].assign(exercise);
}

void ZoWordList::removeExercise(int i)
{
    if (i >= 0 && i < mExercises.size())
        mExercises.removeAt(i);
}

QHash<QString, QString> ZoWordList::toHash() const
{
    return {{QStringLiteral("Id"), mId},
            {QStringLiteral("Title"), mTitle},
            {QStringLiteral("Username"), mUsername},
            {QStringLiteral("Language"), mLanguage}};
}

QString ZoWordList::type() const
{
    return QStringLiteral("Word List");
}

QString ZoWordList::toXml() const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!write(&buffer, {}))
        return QString();
    QStringDecoder decoder(QStringConverter::Utf16LE);
    return decoder.decode(buffer.data());
}

QString ZoWordList::exerciseXml(int i) const
{
    return ExerciseXml::toXml(mExercises.at(i));
}

bool ZoWordList::write(QIODevice* device, const Progress& progress) const
{
    if (exerciseCount() > maxWords())
        return false;
    QString text = kDeclaration;
    QXmlStreamWriter writer(&text);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(1);
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    qint64 written = 0;
    // What XML cannot hold never reaches the file, so it always reads back.
    auto flush = [&]() {
        const QByteArray bytes = encoder.encode(ContentGate::toXmlText(text));
        text.clear();
        written += bytes.size();
        return !encoder.hasError() && written <= ContentGate::MaxListFileBytes && device->write(bytes) == bytes.size();
    };
    writer.writeStartElement(QStringLiteral("WordList"));
    writer.writeStartElement(QStringLiteral("General"));
    const QHash<QString, QString> hash = toHash();
    for (const QString& key :
         {QStringLiteral("Id"), QStringLiteral("Title"), QStringLiteral("Username"), QStringLiteral("Language")})
        writer.writeTextElement(key, hash.value(key));
    writer.writeEndElement();
    writer.writeStartElement(QStringLiteral("Exercises"));
    QElapsedTimer clock;
    clock.start();
    const int count = exerciseCount();
    for (int i = 0; i < count; ++i) {
        ExerciseXml::write(writer, mExercises.at(i));
        if (text.size() >= kTextPiece) {
            if (!flush())
                return false;
            if (progress && clock.elapsed() >= kEventEveryMs) {
                clock.restart();
                if (!progress(i + 1, count))
                    return false;
            }
        }
    }
    writer.writeEndElement();
    writer.writeEndElement();
    return flush();
}

bool ZoWordList::fromXml(const QString& text, QString* problem)
{
    QString ignored;
    if (!problem)
        problem = &ignored;
    // The decoder and the parser let lone surrogates through.
    if (!ContentGate::isXmlText(text)) {
        *problem = tr("It holds characters that are not valid Unicode text.");
        return false;
    }
    if (text.size() > ContentGate::MaxListFileBytes) {
        *problem = tr("It is larger than %1 MB.").arg(ContentGate::MaxListFileBytes / (1024 * 1024));
        return false;
    }
    ZoDbHelper helper;
    QList<ZoExercise> exercises;
    ListReading reading(helper, maxWords() - exerciseCount(), &exercises);
    QXmlStreamReader reader;
    reader.setNamespaceProcessing(false);
    qsizetype fed = 0;
    QPointer<ZoWordList> self(this);
    auto next = [&](bool* stopped) {
        if (!self) {
            *stopped = true;
            return false;
        }
        qsizetype piece = qMin<qsizetype>(kTextPiece, text.size() - fed);
        // A pair of surrogates stays in one piece.
        if (fed + piece < text.size() && text.at(fed + piece - 1).isHighSurrogate())
            ++piece;
        reader.addData(text.mid(fed, piece));
        fed += piece;
        return fed < text.size();
    };
    bool stopped = false;
    if (!readList(reader, reading, next, problem, &stopped) || !self)
        return false;
    mId = reading.listGeneral.value(QStringLiteral("Id"));
    mTitle = reading.listGeneral.value(QStringLiteral("Title"));
    mUsername = reading.listGeneral.value(QStringLiteral("Username"));
    mLanguage = reading.listGeneral.value(QStringLiteral("Language"));
    mExercises.append(exercises);
    return true;
}

int ZoWordList::maxWords()
{
    return gMaxWordsForTests > 0 ? gMaxWordsForTests : ContentGate::MaxListWords;
}

void ZoWordList::setMaxWordsForTests(int words)
{
    gMaxWordsForTests = words;
}

QString ZoWordList::tooManyWordsMessage()
{
    return tr("A List holds at most %L1 study terms.").arg(maxWords());
}

QDir ZoWordList::listDirectory()
{
    return QDir(QDir::current().filePath(kListFolder));
}

QString ZoWordList::checkListName(const QString& name)
{
    if (name.isEmpty())
        return tr("Please enter a name for the List.");
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : name) {
        if (forbidden.contains(c) || c.category() == QChar::Other_Control)
            return tr("Please enter a name that does not contain any of the following characters: \\ / : * ? \" < > |");
    }
    if (name.size() >= 32)
        return tr("Name is too long.  Please enter a name less than 32 characters.");
    return QString();
}

QString ZoWordList::fileName(const QDir& listDir, const QString& title)
{
    return listDir.filePath(title + QStringLiteral(".xml"));
}

bool ZoWordList::writeFile(const QDir& listDir, const ZoWordList& list, const Progress& progress)
{
    if (!checkListName(list.title()).isEmpty())
        return false;
    if (!QDir().mkpath(listDir.absolutePath()))
        return false;
    QSaveFile file(fileName(listDir, list.title()));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!list.write(&file, progress)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    // The marks are in the list file now.
    QFile::remove(marksFileName(listDir, list.title()));
    return true;
}

std::unique_ptr<ZoWordList> ZoWordList::readFile(const QDir& listDir, const QString& name, QString* problem,
                                                 const Progress& progress)
{
    QString ignored;
    if (!problem)
        problem = &ignored;
    problem->clear();
    if (!checkListName(name).isEmpty())
        return nullptr;
    QFile file(fileName(listDir, name));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const qint64 size = file.size();
    if (size > ContentGate::MaxListFileBytes) {
        *problem = tr("It is larger than %1 MB.").arg(ContentGate::MaxListFileBytes / (1024 * 1024));
        return nullptr;
    }
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    switch (UnicodeText::detect(file.fileName())) {
    case UnicodeText::Utf16BigEndianMark:
        encoding = QStringConverter::Utf16BE;
        break;
    case UnicodeText::Utf16LittleEndianMark:
        encoding = QStringConverter::Utf16LE;
        break;
    default:
        break;
    }
    // The decoder drops a leading mark.
    QStringDecoder decoder(encoding);
    QString held;
    qint64 done = 0;
    QXmlStreamReader reader;
    reader.setNamespaceProcessing(false);
    auto next = [&](bool* stopped) {
        const QByteArray bytes = file.read(kFilePiece);
        done += bytes.size();
        const bool last = bytes.isEmpty() || done >= size;
        if (file.error() != QFileDevice::NoError || done > ContentGate::MaxListFileBytes) {
            // Unreadable or growing: refused without a reason given.
            *stopped = true;
            return false;
        }
        QString text = held + decoder.decode(bytes);
        held.clear();
        // A pair split between two pieces is checked whole.
        if (!last && !text.isEmpty() && text.back().isHighSurrogate()) {
            held = text.back();
            text.chop(1);
        }
        if (decoder.hasError()) {
            *problem = tr("It holds bytes that are not valid Unicode text.");
            *stopped = true;
            return false;
        }
        // The decoder and the parser let lone surrogates through.
        if (!ContentGate::isXmlText(text)) {
            *problem = tr("It holds characters that are not valid Unicode text.");
            *stopped = true;
            return false;
        }
        reader.addData(text);
        if (progress && !progress(done, size)) {
            *stopped = true;
            return false;
        }
        return !last;
    };
    ZoDbHelper helper;
    auto list = std::make_unique<ZoWordList>();
    QList<ZoExercise> exercises;
    ListReading reading(helper, maxWords(), &exercises);
    bool stopped = false;
    if (!readList(reader, reading, next, problem, &stopped))
        return nullptr;
    list->mId = reading.listGeneral.value(QStringLiteral("Id"));
    list->mUsername = reading.listGeneral.value(QStringLiteral("Username"));
    list->mLanguage = reading.listGeneral.value(QStringLiteral("Language"));
    list->mExercises = std::move(exercises);
    list->setTitle(name);
    applyMarks(marksFileName(listDir, name), list.get());
    return list;
}

QString ZoWordList::setAside(const QDir& listDir, const QString& name)
{
    const QString path = fileName(listDir, name);
    QString aside = path + QLatin1String(".damaged");
    for (int n = 1; QFileInfo::exists(aside);)
        aside = path + QLatin1String(".damaged") + QString::number(++n);
    if (!QFile::rename(path, aside))
        return QString();
    QFile::remove(marksFileName(listDir, name));
    return aside;
}

QString ZoWordList::marksFileName(const QDir& listDir, const QString& title)
{
    return listDir.filePath(title + QStringLiteral(".marks"));
}

bool ZoWordList::appendMark(const QDir& listDir, const ZoWordList& list, int i)
{
    if (i < 0 || i >= list.exerciseCount() || !checkListName(list.title()).isEmpty())
        return false;
    const QByteArray xml = ContentGate::toXmlText(ExerciseXml::toXml(list.mExercises.at(i))).toUtf8();
    if (xml.size() > kMaxMarkBytes)
        return false;
    QFile file(marksFileName(listDir, list.title()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    const QByteArray record = QByteArray::number(i) + ' ' + QByteArray::number(xml.size()) + '\n' + xml + '\n';
    return file.write(record) == record.size() && file.flush();
}
