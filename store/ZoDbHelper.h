#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

class IResource;
class ISilResource;
class QSqlQuery;

// Turns the names users see into the ids the database and the network carry
// and back, through the resource plug-ins, and runs a few fixed queries on
// the local database. Cheap to create: the resource plug-ins are loaded once
// for the process and shared by every helper. Built without a database it
// holds no connection and runs its queries on the default connection.
class ZoDbHelper
{
public:
    ZoDbHelper();
    explicit ZoDbHelper(QSqlDatabase database);
    ~ZoDbHelper();

    // Name to id; empty when the resource is missing.
    QString languageId(QString name) const;
    QString countryId(QString name) const;
    QString fluencyLevelId(QString name) const;
    QString learnerLevelId(QString name) const;
    QString tagId(QString name) const;
    // Id to name; empty when the resource is missing.
    QString languageName(QString id) const;
    QString countryName(QString id) const;
    QString fluencyLevelName(QString id) const;
    QString learnerLevelName(QString id) const;
    QString tagName(QString id) const;
    QString manifestName(QString id) const;
    // A language code the table lacks stands for itself: shown as the code, stored as it is.
    QString languageNameOrCode(QString id) const;
    QString languageIdOrCode(QString name) const;
    static bool isLanguageCode(const QString& text);
    // Every name of a table, in the resource's order.
    QStringList languageList() const;
    QStringList countryList() const;
    QStringList fluencyLevelList() const;
    QStringList learnerLevelList() const;
    QStringList tagList() const;
    // Drops the loaded names of languages, countries, fluency and learner levels.
    void releaseResources();

    // Local id of the term with that text in that language (by name), -1 when none.
    int findTermId(QString value, QString languageName) const;
    // "pragma user_version" as text, "0" without an answer.
    QString userVersion() const;
    // Path and file name of a media file in the layout before manifests; two
    // empty texts when there is none.
    void legacyMediaPath(QString out[2], QString manifestId) const;
    // Manifests holding that persistent id; "0" gives 0 without a query.
    int countByPersistentId(QString persistentId) const;
    // True when an exercise with that persistent id is stored with its sound;
    // a translation's row of the same id alone does not count.
    bool isExerciseStored(QString persistentId) const;
    // Local id of a manifest with that persistent id, 0 when none.
    int localIdOf(QString persistentId) const;
    // True when a stored exercise's sound has that file name, or when the
    // store cannot be asked.
    bool isSoundFileStored(QString fileName) const;
    // Persistent id of that manifest, "0" when none or empty.
    QString persistentIdOf(QString localId) const;
    // Gives the manifest its persistent id and stamps the download (or upload)
    // time: 1 done, also when the manifest holds that id already (a transfer
    // done again is stamped again); 0 when the id belongs to another manifest,
    // the manifest does not exist (nothing was given, so no success) or the
    // write fails; 2 when only the stamp failed.
    int assignPersistentId(QString localId, QString persistentId, bool downloaded);
    // Persistent id back to "0" and upload time to 0: 1 done, 0 otherwise.
    int clearPersistentId(QString localId);
    // One entry per translation group of the manifest: the group's id, then
    // ",<id>" for each other member.
    QStringList translationRelatives(QString localId) const;
    // Rows keyed by column names; empty when there is no row.
    QHash<QString, QString> manifestRecord(QString localId) const;
    QHash<QString, QString> textualManifestRecord(QString localId) const;
    QHash<QString, QString> mediaManifestRecord(QString localId) const;
    QList<QHash<QString, QString>> kvpRecords(QString localId) const;
    // Distinct language names of the textual manifests of those ids.
    QStringList languagesOf(QStringList localIds) const;
    // Local user id of that user name in any letter case (the exact spelling
    // first, else the one stored first), "-1" when none.
    QString userIdOf(QString userName) const;
    // User name of that user id, empty when none.
    QString userNameOf(QString userId) const;
    // Members of a lesson by sequence: "lmid", "pmid", "sn".
    QList<QHash<QString, QString>> lessonExercises(QString localId) const;
    // Members of a translation group: "lmid", "pmid".
    QList<QHash<QString, QString>> translationExercises(QString localId) const;

private:
    enum Table { Language, Sil, Country, FluencyLevel, LearnerLevel, Tag, Manifest, TableCount };

    IResource* resource(Table table) const;
    QSqlQuery newQuery() const;

    // Empty for the default connection, which is looked up at each query.
    std::optional<QSqlDatabase> mDatabase;
};
