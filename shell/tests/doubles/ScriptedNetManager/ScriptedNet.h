#pragma once

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QSaveFile>
#include <QString>
#include <QStringList>

// Test-side helpers for ScriptedNetManager: writing its script and reading its
// call log (see ScriptedNetManager.h for both formats).
class ScriptedNet
{
public:
    struct Call
    {
        QString op;
        QJsonArray args;

        QString arg(int i) const { return args.at(i).toVariant().toString(); }
        QHash<QString, QString> hashArg(int i) const
        {
            QHash<QString, QString> hash;
            const QJsonObject object = args.at(i).toObject();
            for (auto it = object.begin(); it != object.end(); ++it)
                hash.insert(it.key(), it.value().toString());
            return hash;
        }
    };

    // Writes op=value lines; each write differs from the last, so the
    // manager starts its sequences anew.
    static bool writeScript(const QString& path, const QHash<QString, QString>& results)
    {
        static int generation = 0;
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        QByteArray text = "# written " + QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + '.'
                          + QByteArray::number(++generation) + '\n';
        for (auto it = results.cbegin(); it != results.cend(); ++it)
            text += it.key().toUtf8() + " = " + it.value().toUtf8() + '\n';
        file.write(text);
        return file.commit();
    }

    // Every logged call, optionally only those of one operation.
    static QList<Call> calls(const QString& logPath, const QString& op = QString())
    {
        QList<Call> result;
        QFile file(logPath);
        if (!file.open(QIODevice::ReadOnly))
            return result;
        while (!file.atEnd()) {
            const QJsonObject entry = QJsonDocument::fromJson(file.readLine()).object();
            Call call{entry.value(QStringLiteral("op")).toString(), entry.value(QStringLiteral("args")).toArray()};
            if (!call.op.isEmpty() && (op.isEmpty() || call.op == op))
                result.append(call);
        }
        return result;
    }

    static void clearLog(const QString& logPath) { QFile::remove(logPath); }

    // A results file for "queryExercises.results" or "queryLessons.results":
    // one JSON object per row.
    static bool writeRows(const QString& path, const QList<QHash<QString, QString>>& rows)
    {
        QJsonArray array;
        for (const QHash<QString, QString>& row : rows) {
            QJsonObject object;
            for (auto it = row.cbegin(); it != row.cend(); ++it)
                object.insert(it.key(), it.value());
            array.append(object);
        }
        QSaveFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(array).toJson()) >= 0 && file.commit();
    }

    // A document for "@name" values (download and translation documents).
    static bool writeText(const QString& path, const QString& text)
    {
        QSaveFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
    }
};
