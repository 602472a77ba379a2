#pragma once

#include "IFieldInfo.h"
#include "ui_FieldChoice.h"

#include <QHash>
#include <QSettings>
#include <QString>

class IMainWindow;

// A Yes/No field ("Idiom").
class FieldChoice : public IFieldInfo, public Ui::FieldChoice
{
    Q_OBJECT
    Q_INTERFACES(IFieldInfo)

public:
    FieldChoice(QString type, QHash<QString, QString> values);
    ~FieldChoice() override;

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

private:
    QSettings mSettings;
    IMainWindow* mHost = nullptr;
    QString mType;
};
