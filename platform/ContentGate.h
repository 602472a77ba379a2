#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The one check for what comes from outside the program: a peer's reply, a
// download, a file the learner picks. Names stay plain, text stays what XML
// can hold, and sizes stay far above real use but far below harm.
class ContentGate
{
public:
    // One sound file; the peer refuses larger uploads too.
    static constexpr qint64 MaxSoundBytes = 32LL * 1024 * 1024;
    // One file name, in UTF-8 bytes (what file systems allow).
    static constexpr int MaxFileNameBytes = 255;
    // A text file the learner imports as a term list.
    static constexpr qint64 MaxImportBytes = 64LL * 1024 * 1024;
    // One line of such a file, and one term or field value in it, in characters.
    static constexpr int MaxImportLineLength = 16 * 1024;
    static constexpr int MaxTermLength = 2 * 1024;
    // Terms of one term list: a whole dictionary (some 360,000 words) fits.
    // The import refuses a file of more terms, so its list file is always
    // within MaxListFileBytes, which the reader and the writer keep to.
    static constexpr int MaxListWords = 400 * 1000;
    static constexpr qint64 MaxListFileBytes = 1024LL * 1024 * 1024;
    // How deep a term-list file's elements may nest.
    static constexpr int MaxListDepth = 16;
    // One reply of a peer, in bytes; the Java client stops reading past it.
    static constexpr qint64 MaxReplyBytes = 32LL * 1024 * 1024;
    // Rows of one page of search results.
    static constexpr int MaxResultRows = 1000;
    // Members of one lesson.
    static constexpr int MaxLessonMembers = 1000;
    // Key-value records (fields) of one exercise.
    static constexpr int MaxFieldsPerExercise = 1000;

    // A name of a file right inside one folder: not "." or "..", no folder
    // separator, no control, formatting or direction character, nothing that
    // XML cannot hold, not beginning with ':' (Qt's resource paths), and
    // short enough for a file system.
    static bool isPlainFileName(const QString& name);
    // The path of name inside folder, as a file path whatever the name: never
    // one of Qt's resource paths (":name").
    static QString filePathIn(const QString& folder, const QString& name);

    // True when bytes, a whole file, are a sound WavReader plays.
    static bool isWavHeader(const QByteArray& bytes);
    // True when path names a regular file of at most MaxSoundBytes that
    // WavReader plays; reads only its chunk headers. reason, when given, says
    // why it is refused.
    static bool isWavFile(const QString& path, QString* reason = nullptr);

    // True when every character of text may stand in an XML 1.0 document.
    static bool isXmlText(const QString& text);
    // text without the characters that XML 1.0 cannot hold.
    static QString toXmlText(const QString& text);
};
