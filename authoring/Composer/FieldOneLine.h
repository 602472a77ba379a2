#pragma once

#include "IFieldInfo.h"
#include "ui_FieldOneLine.h"

#include <QHash>
#include <QSettings>
#include <QString>

class IDbManager;
class IMainWindow;
class IResource;
class IUserResource;
class LanguageComboHelper;

// A field of one line of text and its language; every field type without a
// widget of its own.
class FieldOneLine : public IFieldInfo, public Ui::FieldOneLine
{
    Q_OBJECT
    Q_INTERFACES(IFieldInfo)

public:
    FieldOneLine(QString type, QHash<QString, QString> values);
    ~FieldOneLine() override;

    int init() override;
    int redrawView() override;
    void refreshData() override;
    int updateViewLists() override;
    void retranslateView() override;
    int customLeave() override;
    void setMainWindow(IMainWindow* mainWindow) override;
    QString fieldType() override;
    QString fieldKey() override;
    QHash<QString, QString> values() override;
    void clear() override;
    void setValueFocus() override;

signals:
    void removeField(IFieldInfo* field);
    void fieldModified();

public slots:
    void remove() override;
    void hasModified();
    void cmbLanguagesChanged(QString text) override;
    void lEditFieldValueChanged(QString text);

private:
    QSettings mSettings;
    IMainWindow* mHost = nullptr;
    IDbManager* mStore = nullptr;
    IResource* mLanguages = nullptr;
    IUserResource* mUsers = nullptr;
    QString mType;
    LanguageComboHelper* mLanguageHelper = nullptr;
};
