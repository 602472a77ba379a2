#include "ZoWordList.h"

#include "ExerciseXml.h"
#include "UnicodeText.h"
#include "ZoDbHelper.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QPointer>
#include <QSaveFile>
#include <QStringEncoder>

namespace {

const QString kListFolder = QStringLiteral("Content/TemplateList");
const QString kDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");

QString tr(const char* text)
{
    return QCoreApplication::translate("ZoWordList", text);
}

} // namespace

ZoWordList::ZoWordList() = default;
ZoWordList::~ZoWordList() = default;

QString ZoWordList::id() const { return mId; }
void ZoWordList::setId(QString id) { mId = id; }
QString ZoWordList::title() const { return mTitle; }
void ZoWordList::setTitle(QString title) { mTitle = title; }
QString ZoWordList::username() const { return mUsername; }
void ZoWordList::setUsername(QString username) { mUsername = username; }
QString ZoWordList::language() const { return mLanguage; }
void ZoWordList::setLanguage(QString language) { mLanguage = language; }
QList<ZoExercise> ZoWordList::exercises() const { return mExercises; }
void ZoWordList::setExercises(const QList<ZoExercise>& exercises) { mExercises = exercises; }

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

int ZoWordList::exerciseCount() const { return int(mExercises.size()); }

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

QString ZoWordList::type() const { return QStringLiteral("Word List"); }

QString ZoWordList::toXml(QDomDocument* document) const
{
    QDomDocument own;
    QDomDocument& doc = document ? *document : own;
    QDomElement general = doc.createElement(QStringLiteral("General"));
    doc.appendChild(general);
    const QHash<QString, QString> hash = toHash();
    for (const QString& key : {QStringLiteral("Id"), QStringLiteral("Title"), QStringLiteral("Username"),
                               QStringLiteral("Language")}) {
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

bool ZoWordList::fromXml(const QString& text)
{
    QDomDocument document;
    if (!document.setContent(text))
        return false;
    QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("WordList"))
        root = root.firstChildElement(QStringLiteral("WordList"));
    if (root.isNull())
        return false;

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
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray bytes = encoder.encode(list.toXml());
    if (encoder.hasError() || file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

std::unique_ptr<ZoWordList> ZoWordList::readFile(const QDir& listDir, const QString& name)
{
    if (!checkListName(name).isEmpty())
        return nullptr;
    const QString text = UnicodeText::read(fileName(listDir, name));
    if (text.isNull())
        return nullptr;
    auto list = std::make_unique<ZoWordList>();
    if (!list->fromXml(text))
        return nullptr;
    list->setTitle(name);
    return list;
}
