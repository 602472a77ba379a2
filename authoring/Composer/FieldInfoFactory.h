#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class IFieldInfo;

// Makes the widget for a field type.
class FieldInfoFactory : public QObject
{
    Q_OBJECT

public:
    // A new widget without parent, owned by the caller: FieldTranslation for
    // "Translation", FieldChoice for "Idiom" (each also by its translated
    // name), FieldOneLine for any other type.
    static IFieldInfo* create(QString type, QHash<QString, QString> values);

    // The name a field type is stored under: the untranslated name for the
    // translated name of "Translation" or "Idiom", else the type itself.
    static QString storedType(const QString& type);
};
