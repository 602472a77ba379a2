#pragma once

#include "ISilResource.h"
#include "ResourceTable.h"

#include <QObject>

class QStandardItemModel;

// Language data of the fluency wizard, with the ids and names of the
// language and country tables. Every model returned is new and has no parent.
class ZoSILResource : public QObject, public ISilResource
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ISilResource_iid)
    Q_INTERFACES(ISilResource)

public:
    ZoSILResource();
    ~ZoSILResource() override;

    QString idOf(QString name) override;
    QString nameOf(QString id) override;
    QString countryIdOf(QString countryName) override;
    QString countryNameOf(QString countryId) override;
    int languageCount() override;
    int countryCount() override;
    QAbstractItemModel* languageModel() override;
    QAbstractItemModel* findLanguages(QString text) override;
    QAbstractItemModel* findCountries(QString languageId, QString languageName, QString text) override;
    QAbstractItemModel* findAlternateNames(QString languageId, QString languageName, QString countryId,
                                           QString countryName, QString text) override;

private:
    QString languageIdFor(const QString& id, const QString& name);
    QStringList matching(ResourceTable& table, const QStringList& ids, const QString& text, bool withAliases);
    QStandardItemModel* idNameModel(ResourceTable& table, const QStringList& ids);

    ResourceTable mLanguages;
    ResourceTable mCountries;
};
