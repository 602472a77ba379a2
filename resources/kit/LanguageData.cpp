#include "LanguageData.h"

#include "ResourcesLog.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace {

struct Snapshot
{
    QList<ResourceRow> languages;
    QList<ResourceRow> countries;
    QHash<QString, QStringList> speakers;
    QHash<QString, QStringList> altNames; // key: language id + '\t' + country id
    QString version;
};

QList<QStringList> readTable(const QString& name, QString* version)
{
    QList<QStringList> rows;
    QFile file(QStringLiteral(":/vireda/languagedata/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcResources, "LanguageData: snapshot %s missing", qPrintable(name));
        return rows;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('#'))) {
            if (version && version->isEmpty())
                *version = line.section(QLatin1Char('\t'), 1).replace(QLatin1Char('\t'), QStringLiteral(", "));
            continue;
        }
        rows.append(line.split(QLatin1Char('\t')));
    }
    return rows;
}

const Snapshot& snapshot()
{
    static const Snapshot data = [] {
        Snapshot s;
        for (const QStringList& r : readTable(QStringLiteral("languages.tsv"), &s.version)) {
            if (r.size() < 2)
                continue;
            ResourceRow row{r.at(0), r.at(1), {}};
            if (r.size() > 2 && !r.at(2).isEmpty())
                row.aliases.append(r.at(2));
            s.languages.append(row);
        }
        for (const QStringList& r : readTable(QStringLiteral("countries.tsv"), nullptr)) {
            if (r.size() >= 2)
                s.countries.append(ResourceRow{r.at(0), r.at(1), {}});
        }
        for (const QStringList& r : readTable(QStringLiteral("speakers.tsv"), nullptr)) {
            if (r.size() >= 2)
                s.speakers.insert(r.at(0), r.at(1).split(QLatin1Char(','), Qt::SkipEmptyParts));
        }
        for (const QStringList& r : readTable(QStringLiteral("altnames.tsv"), nullptr)) {
            if (r.size() >= 3)
                s.altNames[r.at(0) + QLatin1Char('\t') + r.at(1)].append(r.at(2));
        }
        return s;
    }();
    return data;
}

} // namespace

QList<ResourceRow> LanguageData::languageRows()
{
    return snapshot().languages;
}

QList<ResourceRow> LanguageData::countryRows()
{
    return snapshot().countries;
}

QStringList LanguageData::countriesOf(const QString& languageId)
{
    return snapshot().speakers.value(languageId);
}

QStringList LanguageData::alternateNames(const QString& languageId, const QString& countryId)
{
    const Snapshot& s = snapshot();
    QStringList names;
    if (!countryId.isEmpty())
        names += s.altNames.value(languageId + QLatin1Char('\t') + countryId);
    names += s.altNames.value(languageId + QLatin1Char('\t'));
    names.removeDuplicates();
    return names;
}

QString LanguageData::sourceVersion()
{
    return snapshot().version;
}
