#include "FieldInfoFactory.h"

#include "FieldChoice.h"
#include "FieldOneLine.h"
#include "FieldTranslation.h"

QString FieldInfoFactory::storedType(const QString& type)
{
    if (type == tr("Translation"))
        return QStringLiteral("Translation");
    if (type == tr("Idiom"))
        return QStringLiteral("Idiom");
    return type;
}

IFieldInfo* FieldInfoFactory::create(QString type, QHash<QString, QString> values)
{
    const QString stored = storedType(type);
    if (stored == QLatin1String("Translation"))
        return new FieldTranslation(stored, values);
    if (stored == QLatin1String("Idiom"))
        return new FieldChoice(stored, values);
    return new FieldOneLine(type, values);
}
