#pragma once

#include "SqlRunner.h"

#include <QHash>
#include <QList>
#include <QString>

// Writes the rows of manifests one at a time: m, tm, mm, k and crlt. The
// stores derive from it. Every value is bound; every write reports whether
// its statement ran, so a store can roll its transaction back.
class ZoDbBase : public SqlRunner
{
public:
    explicit ZoDbBase(QSqlDatabase database, StatementCache* cache = nullptr, ZoDbHelper* helper = nullptr);
    ~ZoDbBase() override;

    // New m row; its local id goes to (*out)["Id"]. 1, or 0 when nothing was written.
    virtual int insertManifest(QHash<QString, QString>* out, QString persistentId, int kind, QString supplierName,
                               QString supplierId);
    virtual int deleteManifest(QList<int> localIds);
    virtual int insertTextualManifest(int localId, int kind, QHash<QString, QString> data);
    // Textual manifests of kind "TYPE" in "Language" whose value contains "Value".
    virtual QList<QHash<QString, QString>> findTextualManifest(QHash<QString, QString> criteria);
    virtual int deleteTextualManifest(QList<int> localIds);
    virtual int insertKvp(int localId, int kind, QHash<QString, QString> data);
    virtual int insertMediaManifest(int localId, int kind, QString fileName, QString format, QString path,
                                    QString voice, QString country, QString stateProv, QString locality,
                                    QString language, QString localeDesc, QString fluencyLevel);
    virtual int deleteMediaManifest(QList<int> localIds);
    virtual int insertRelation(int parent, int child, int kind, int sequence);
    virtual int relinkRelation(int parent, int oldChild, int newChild);
    // Sets m.dnul of the listed manifests to the integer flag. 1, or 0 when
    // the flag is not an integer or the statement failed.
    virtual int setDoNotUpload(QString idList, QString flag);

protected:
    // Rows of (local id, title, language id) as items of the upload list;
    // type is the kind as the user reads it.
    QList<QHash<QString, QString>> uploadItems(const QList<QVariantList>& rows, const QString& type,
                                               const QString& kind) const;

private:
    int deleteEach(const QString& sql, const QList<int>& localIds);
};
