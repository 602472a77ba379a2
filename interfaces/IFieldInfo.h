#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <QtPlugin>

class IMainWindow;

// One typed field of an exercise (a translation, an idiom flag, ...) as a
// widget of the exercise editor. Each field declares the signals
// removeField(IFieldInfo*) and fieldModified().
class IFieldInfo : public QWidget
{
public:
    explicit IFieldInfo(QWidget* parent = nullptr)
        : QWidget(parent)
    {
    }
    ~IFieldInfo() override = default;

    // Loads the plug-ins it needs and fills its lists; the result of updateViewLists().
    virtual int init() = 0;
    virtual int redrawView() = 0;
    virtual void refreshData() = 0;
    // Refills the language lists; 0 when there is no signed-in user.
    virtual int updateViewLists() = 0;
    virtual void retranslateView() = 0;
    virtual int customLeave() = 0;
    virtual void setMainWindow(IMainWindow* mainWindow) = 0;
    // The name the field is stored under, such as "Translation".
    virtual QString fieldType() = 0;
    virtual QString fieldKey() = 0;
    // "Value", "Language", ... or the error keys of a translation.
    virtual QHash<QString, QString> values() = 0;
    virtual void clear() = 0;
    virtual void setValueFocus() = 0;
    // Announces removeField(this); the editor deletes the field.
    virtual void remove() = 0;
    virtual void cmbLanguagesChanged(QString text) = 0;
};

#define IFieldInfo_iid "FieldInfoInterface/1.0"
Q_DECLARE_INTERFACE(IFieldInfo, IFieldInfo_iid)
