#pragma once

#include <QDialog>
#include <QDir>
#include <QString>
#include <QStringList>

class QListWidget;

// Picks the interface language among the folders of the translations directory.
class LanguageChooser : public QDialog
{
    Q_OBJECT

public:
    LanguageChooser(const QDir& translations, const QString& current, QWidget* parent = nullptr);

    // "English" (built in) followed by the language folders, sorted.
    static QStringList availableLanguages(const QDir& translations);

    QString language() const;
    QListWidget* listWidget() const { return mList; }

private:
    QListWidget* mList = nullptr;
};
