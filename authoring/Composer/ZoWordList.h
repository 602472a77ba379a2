#pragma once

#include "ZoExercise.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QDir;
class QIODevice;

// A named list of exercises recorded one after the other on the term-list
// page. On disk it is "Content/TemplateList/<title>.xml", UTF-16 with a
// byte-order mark; the file name always follows the title.
class ZoWordList : public QObject
{
    Q_OBJECT

public:
    ZoWordList();
    ~ZoWordList() override;

    virtual QString id() const;
    virtual void setId(QString id);
    virtual QString title() const;
    virtual void setTitle(QString title);
    virtual QString username() const;
    virtual void setUsername(QString username);
    virtual QString language() const;
    virtual void setLanguage(QString language);
    virtual QList<ZoExercise> exercises() const;
    virtual void setExercises(const QList<ZoExercise>& exercises);
    virtual int appendExercise(const ZoExercise& exercise);
    virtual int clearExercises();
    virtual int exerciseCount() const;
    // The i-th exercise itself; i must be valid.
    virtual ZoExercise* exerciseAt(int i);
    // The i-th exercise takes over every property and field of exercise.
    virtual void replaceExercise(int i, const ZoExercise& exercise);
    // Does nothing for an index outside the list.
    virtual void removeExercise(int i);
    // "Id", "Title", "Username", "Language".
    virtual QHash<QString, QString> toHash() const;
    // "Word List".
    virtual QString type() const;
    // The whole file text.
    virtual QString toXml() const;
    virtual QString exerciseXml(int i) const;

    // How far long work has come (done of total); false asks it to stop.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // Adds the title, id, user and exercises the text holds; false and nothing
    // added when it is not well-formed, past the list limits, shaped unlike a
    // list (a value holding elements) or holds no "WordList"; *problem then
    // says why. Pending events are processed every few milliseconds.
    bool fromXml(const QString& text, QString* problem = nullptr);

    // The most terms a list holds: the import refuses a file with more, the
    // reader a list file with more, and the list file of that many terms is
    // within ContentGate::MaxListFileBytes.
    static int maxWords();
    // A smaller limit, for tests only; 0 restores ContentGate::MaxListWords.
    static void setMaxWordsForTests(int words);
    // The message that names the limit.
    static QString tooManyWordsMessage();

    // "Content/TemplateList" below the working directory.
    static QDir listDirectory();
    // "" when name may be a list's name (and so its file's base name), else the
    // message that tells the user why not.
    static QString checkListName(const QString& name);
    // <dir>/<title>.xml
    static QString fileName(const QDir& listDir, const QString& title);
    // Writes the list to the file its title names, atomically, creating the
    // directory when needed; false on a title checkListName refuses or when
    // the file cannot be written.
    // progress gets the terms written of all.
    static bool writeFile(const QDir& listDir, const ZoWordList& list, const Progress& progress = {});
    // The list in <dir>/<name>.xml, titled name, with the marks recorded
    // since it was last written; null when the name is refused, the file
    // cannot be read or does not hold a word list whole and valid. *problem
    // says why when the file is there but refused.
    // progress gets the bytes read of all; when it returns false the reading
    // stops, null and no problem.
    static std::unique_ptr<ZoWordList> readFile(const QDir& listDir, const QString& name, QString* problem = nullptr,
                                                const Progress& progress = {});
    // Renames the file of the list name to "<file>.damaged" (or .damaged2,
    // ...) beside it; the new path, empty when it could not be renamed.
    static QString setAside(const QDir& listDir, const QString& name);

    // Keeps the i-th exercise of list in the small marks file beside the
    // list file, at a cost that does not depend on the list's length; the
    // next writeFile folds it in, the next readFile applies it.
    static bool appendMark(const QDir& listDir, const ZoWordList& list, int i);
    // <dir>/<title>.marks
    static QString marksFileName(const QDir& listDir, const QString& title);

private:
    // Writes the file text to device as UTF-16 with a byte-order mark; false
    // when it cannot be written whole or is past the limits.
    bool write(QIODevice* device, const Progress& progress) const;

    QString mId;
    QString mTitle;
    QString mUsername;
    QString mLanguage;
    QList<ZoExercise> mExercises;
};
