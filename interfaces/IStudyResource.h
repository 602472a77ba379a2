#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QtPlugin>

// The study list shared by the library, study and search tabs.
class IStudyResource
{
public:
    virtual ~IStudyResource() = default;
    virtual void appendExercise(QHash<QString, QString> fields) = 0;
    virtual void removeAt(int row) = 0;
    virtual int removeById(QString exerciseId) = 0;
    virtual void clearList() = 0;
    virtual QHash<QString, QString> exerciseAt(int row) = 0;
    virtual int count() = 0;
    virtual QString idAt(int row) = 0;
    virtual QString termAt(int row) = 0;
    virtual QString languageAt(int row) = 0;
    virtual QString countryAt(int row) = 0;
    virtual QString stateProvAt(int row) = 0;
    virtual QString localityAt(int row) = 0;
    virtual QString voiceAt(int row) = 0;
    virtual QString mediaPathAt(int row) = 0;
    virtual QString mediaNameAt(int row) = 0;
    // Row of the first entry with that id, -1 when none.
    virtual int indexOf(QString exerciseId) = 0;
    // The ids of every entry, in list order.
    virtual QStringList ids() = 0;
    virtual bool isChanged() = 0;
    virtual void setChanged(bool changed) = 0;
};

#define IStudyResource_iid "StudyResourceInterface/1.0"
Q_DECLARE_INTERFACE(IStudyResource, IStudyResource_iid)
