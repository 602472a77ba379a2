#pragma once

#include <QString>
#include <QtPlugin>

class QAbstractItemModel;

// Language data of the fluency wizard. Cast with the same id as IResource;
// only the file name tells the two apart. Models returned belong to the caller.
class ISilResource
{
public:
    virtual ~ISilResource() = default;
    virtual QString idOf(QString name) = 0;
    virtual QString nameOf(QString id) = 0;
    virtual QString countryIdOf(QString countryName) = 0;
    virtual QString countryNameOf(QString countryId) = 0;
    virtual int languageCount() = 0;
    virtual int countryCount() = 0;
    virtual QAbstractItemModel* languageModel() = 0;
    virtual QAbstractItemModel* findLanguages(QString text) = 0;
    virtual QAbstractItemModel* findCountries(QString languageId, QString languageName, QString text) = 0;
    virtual QAbstractItemModel* findAlternateNames(QString languageId, QString languageName, QString countryId,
                                                   QString countryName, QString text) = 0;
};

#define ISilResource_iid "ResourceInterface/1.0"
Q_DECLARE_INTERFACE(ISilResource, ISilResource_iid)
