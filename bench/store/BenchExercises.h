#pragma once

#include "ZoExercise.h"

#include <QHash>
#include <QRandomGenerator>
#include <QString>

// The exercises the store benchmarks fill the file with: made-up words of two
// to five syllables, each with a recording.
namespace BenchExercises {

inline QString word(QRandomGenerator& random)
{
    static const char* const syllables[] = {"ka", "lo", "mi", "ne", "ru", "ta", "be", "so", "di", "fa",
                                            "gu", "ho", "ji", "pe", "va", "zu", "en", "ar", "ol", "is"};
    QString text;
    const int parts = 2 + random.bounded(4);
    for (int i = 0; i < parts; ++i)
        text += QString::fromLatin1(syllables[random.bounded(20)]);
    return text;
}

inline ZoExercise exercise(const QString& term, const QString& language, int i)
{
    return ZoExercise(QHash<QString, QString>{{QStringLiteral("Term"), term},
                                              {QStringLiteral("Language"), language},
                                              {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                              {QStringLiteral("MediaName"), QStringLiteral("s%1.wav").arg(i)},
                                              {QStringLiteral("Voice"), QStringLiteral("bench")},
                                              {QStringLiteral("Creator"), QStringLiteral("bench")},
                                              {QStringLiteral("CreatorUid"), QStringLiteral("u-bench")}});
}

} // namespace BenchExercises
