#pragma once

#include "IStudyResource.h"

#include <QHash>
#include <QList>
#include <QObject>

// The study list: entries in order, the same exercise possibly several times.
// Every change sets the changed flag.
class ZoStudyResource : public QObject, public IStudyResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IStudyResource_iid)
    Q_INTERFACES(IStudyResource)

public:
    ZoStudyResource();
    ~ZoStudyResource() override;

    void appendExercise(QHash<QString, QString> fields) override;
    void removeAt(int row) override;
    int removeById(QString exerciseId) override;
    void clearList() override;
    QHash<QString, QString> exerciseAt(int row) override;
    int count() override;
    QString idAt(int row) override;
    QString termAt(int row) override;
    QString languageAt(int row) override;
    QString countryAt(int row) override;
    QString stateProvAt(int row) override;
    QString localityAt(int row) override;
    QString voiceAt(int row) override;
    QString mediaPathAt(int row) override;
    QString mediaNameAt(int row) override;
    int indexOf(QString exerciseId) override;
    QStringList ids() override;
    bool isChanged() override;
    void setChanged(bool changed) override;

private:
    QString valueAt(int row, const QString& key) const;

    QList<QHash<QString, QString>> mEntries;
    bool mChanged = false;
};
