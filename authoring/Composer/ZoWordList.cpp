#include "ZoWordList.h"

#include "BoundedXml.h"
#include "ContentGate.h"
#include "ExerciseXml.h"
#include "UnicodeText.h"
#include "ZoDbHelper.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QStringEncoder>

namespace {

const QString kListFolder = QStringLiteral("Content/TemplateList");
const QString kDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");

// One marks record: the row and the byte count of the exercise's XML on one
// line, then that XML (UTF-8) and a line feed.
constexpr qsizetype kMaxMarkBytes = 1024 * 1024;

bool isLeaf(const QDomElement& element)
{
    return element.firstChildElement().isNull();
}

bool childrenAreLeaves(const QDomElement& parent)
{
    for (QDomElement child = parent.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        if (!isLeaf(child))
            return false;
    }
    return true;
}

// Values hold text only: a value holding elements would be flattened by reading.
bool exerciseHasShape(const QDomElement& exercise)
{
    if (!childrenAreLeaves(exercise.firstChildElement(QStringLiteral("General"))))
        return false;
    const QDomElement fields = exercise.firstChildElement(QStringLiteral("Fields"));
    for (QDomElement field = fields.firstChildElement(); !field.isNull(); field = field.nextSiblingElement()) {
        if (!childrenAreLeaves(field))
            return false;
    }
    return true;
}

bool hasListShape(const QDomElement& root)
{
    if (!childrenAreLeaves(root.firstChildElement(QStringLiteral("General"))))
        return false;
    const QDomElement exercises = root.firstChildElement(QStringLiteral("Exercises"));
    for (QDomElement exercise = exercises.firstChildElement(QStringLiteral("Exercise")); !exercise.isNull();
         exercise = exercise.nextSiblingElement(QStringLiteral("Exercise"))) {
        if (!exerciseHasShape(exercise))
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
        QDomDocument document;
        if (!BoundedXml::parse(QString::fromUtf8(bytes.constData(), size), &document, nullptr))
            continue;
        const QDomElement element = document.documentElement();
        if (row < 0 || row >= list->exerciseCount() || element.tagName() != QLatin1String("Exercise")
            || !exerciseHasShape(element))
            continue;
        ZoExercise marked;
        ExerciseXml::fromElement(marked, element, helper);
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

QString ZoWordList::toXml(QDomDocument* document) const
{
    QDomDocument own;
    QDomDocument& doc = document ? *document : own;
    QDomElement general = doc.createElement(QStringLiteral("General"));
    doc.appendChild(general);
    const QHash<QString, QString> hash = toHash();
    for (const QString& key :
         {QStringLiteral("Id"), QStringLiteral("Title"), QStringLiteral("Username"), QStringLiteral("Language")}) {
        QDomElement item = doc.createElement(key);
        item.appendChild(doc.createTextNode(hash.value(key)));
        general.appendChild(item);
    }
    QString exercisesText = QStringLiteral("<Exercises>");
    for (int i = 0; i < exerciseCount(); ++i)
        exercisesText += exerciseXml(&doc, i);
    exercisesText += QStringLiteral("</Exercises>");
    return kDeclaration + QStringLiteral("<WordList>") + doc.toString(1) + exercisesText
           + QStringLiteral("</WordList>");
}

QString ZoWordList::exerciseXml(QDomDocument* document, int i) const
{
    Q_UNUSED(document);
    return ExerciseXml::toXml(mExercises.at(i));
}

bool ZoWordList::fromXml(const QString& text, QString* problem)
{
    QString ignored;
    if (!problem)
        problem = &ignored;
    BoundedXml::Limits limits;
    limits.maxDepth = ContentGate::MaxListDepth;
    limits.maxElements = ContentGate::MaxListElements;
    limits.maxDocumentLength = ContentGate::MaxListFileBytes;
    // The decoder and the parser let lone surrogates through.
    if (!ContentGate::isXmlText(text)) {
        *problem = tr("It holds characters that are not valid Unicode text.");
        return false;
    }
    BoundedXml::Error error;
    QDomDocument document;
    if (!BoundedXml::parse(text, limits, &document, &error)) {
        *problem = tr("It is not a readable term list (%1, line %2).").arg(error.message).arg(error.line);
        return false;
    }
    QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("WordList"))
        root = root.firstChildElement(QStringLiteral("WordList"));
    if (root.isNull()) {
        *problem = tr("It does not hold a term list.");
        return false;
    }
    if (!hasListShape(root)) {
        *problem = tr("It is not a readable term list (a value holds other elements).");
        return false;
    }

    const QDomElement general = root.firstChildElement(QStringLiteral("General"));
    mId = general.firstChildElement(QStringLiteral("Id")).text();
    mTitle = general.firstChildElement(QStringLiteral("Title")).text();
    mUsername = general.firstChildElement(QStringLiteral("Username")).text();
    mLanguage = general.firstChildElement(QStringLiteral("Language")).text();

    ZoDbHelper helper;
    QPointer<ZoWordList> self(this);
    const QDomElement exercises = root.firstChildElement(QStringLiteral("Exercises"));
    for (QDomElement element = exercises.firstChildElement(QStringLiteral("Exercise")); !element.isNull();
         element = element.nextSiblingElement(QStringLiteral("Exercise"))) {
        ZoExercise exercise;
        ExerciseXml::fromElement(exercise, element, helper);
        mExercises.append(exercise);
        QCoreApplication::processEvents();
        if (!self)
            return false;
    }
    return true;
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

bool ZoWordList::writeFile(const QDir& listDir, const ZoWordList& list)
{
    if (!checkListName(list.title()).isEmpty())
        return false;
    if (!QDir().mkpath(listDir.absolutePath()))
        return false;
    QSaveFile file(fileName(listDir, list.title()));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // What XML cannot hold never reaches the file, so it always reads back.
    const QString text = ContentGate::toXmlText(list.toXml());
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || file.write(bytes) != bytes.size())
        return false;
    if (!file.commit())
        return false;
    // The marks are in the list file now.
    QFile::remove(marksFileName(listDir, list.title()));
    return true;
}

std::unique_ptr<ZoWordList> ZoWordList::readFile(const QDir& listDir, const QString& name, QString* problem)
{
    QString ignored;
    if (!problem)
        problem = &ignored;
    problem->clear();
    if (!checkListName(name).isEmpty())
        return nullptr;
    UnicodeText::Problem readProblem = UnicodeText::NoProblem;
    const QString text = UnicodeText::read(fileName(listDir, name), ContentGate::MaxListFileBytes, true, &readProblem);
    switch (readProblem) {
    case UnicodeText::NoProblem:
        break;
    case UnicodeText::CannotOpen:
        return nullptr;
    case UnicodeText::TooLarge:
        *problem = tr("It is larger than %1 MB.").arg(ContentGate::MaxListFileBytes / (1024 * 1024));
        return nullptr;
    case UnicodeText::BadEncoding:
        *problem = tr("It holds bytes that are not valid Unicode text.");
        return nullptr;
    }
    auto list = std::make_unique<ZoWordList>();
    if (!list->fromXml(text, problem))
        return nullptr;
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
