#pragma once

#include "IFieldInfo.h"
#include "ui_FieldTranslation.h"

#include <QHash>
#include <QSettings>
#include <QString>

class IDbManager;
class IMainWindow;
class IResource;
class IUserResource;
class LanguageComboHelper;
class QComboBox;

// A translation of the study term with its language, and a subject area with
// its own language.
class FieldTranslation : public IFieldInfo, public Ui::FieldTranslation
{
    Q_OBJECT
    Q_INTERFACES(IFieldInfo)

public:
    FieldTranslation(QString type, QHash<QString, QString> values);
    ~FieldTranslation() override;

    int init() override;
    int redrawView() override;
    void refreshData() override;
    int updateViewLists() override;
    void retranslateView() override;
    int customLeave() override;
    void setMainWindow(IMainWindow* mainWindow) override;
    QString fieldType() override;
    QString fieldKey() override;
    // "Value", "Language", "LanguageID", "Context", "Context_Language",
    // "Context_LanguageID"; "TranslationFieldError" or "ContextFieldError" =
    // "No Language Selected" for a text without a language.
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
    void cmbLanguagesChanged1(QString text);
    void cmbLanguagesChanged2(QString text);

private:
    // One text and its language into values under the given keys.
    void addPair(QHash<QString, QString>* values, QComboBox* combo, const QString& text, const QString& valueKey,
                 const QString& languageKey, const QString& idKey, const QString& errorKey) const;

    QSettings mSettings;
    IMainWindow* mHost = nullptr;
    IDbManager* mStore = nullptr;
    IResource* mLanguages = nullptr;
    IUserResource* mUsers = nullptr;
    QString mType;
    LanguageComboHelper* mLanguageHelper1 = nullptr;
    LanguageComboHelper* mLanguageHelper2 = nullptr;
};
