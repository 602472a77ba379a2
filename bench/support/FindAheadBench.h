#pragma once

#include "IResource.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "QueryTableFixture.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QList>
#include <QSignalBlocker>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <functional>

// What the find-ahead benchmarks share: 100,000 stored exercises, a user who
// studies German, and the timed rounds from the find-ahead timer firing to the
// first screen painted (median of 5 rounds per text).
namespace FindAheadBench {

constexpr int kExercises = 100000;
constexpr double kGoalMs = 50.0;

struct Case
{
    const char* name;
    const char* text;
    bool filtered;
};

inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// Stores the exercises and signs in a user with German as the one fluency;
// the German language name, or an empty text after a message.
inline QString prepare(QueryTableFixture& fixture, QTextStream& out)
{
    if (!fixture.isValid()) {
        out << "no store: " << fixture.error() << "\n";
        return QString();
    }
    QElapsedTimer fill;
    fill.start();
    if (!fixture.addManyExercises(kExercises)) {
        out << "cannot store the exercises\n";
        return QString();
    }
    out << "(stored " << kExercises << " exercises in " << fill.elapsed() << " ms)\n";
    auto* users = PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
    auto* languages = PluginLocator::load<IResource>(QStringLiteral("plugins_dll/Resources/ZoLanguageResource.dll"));
    if (!users || !languages) {
        out << "the resources do not load\n";
        return QString();
    }
    // The fixture cycles through these ids; the user studies the third.
    const QString german = languages->nameOf(QStringLiteral("deu"));
    users->setCurrentUser(new ZoUser(QStringLiteral("1"), QStringLiteral("bench"), QStringLiteral("pw"), {}, {}, {}, {},
                                     {}, {}, {}, {},
                                     {new ZoUserFluency(QStringLiteral("1"), german, {}, QStringLiteral("Native"), {},
                                                        {}, {}, QStringLiteral("0"))}));
    return german;
}

// Times every case: choose(filtered) sets the language filter (not timed),
// fire() runs the find-ahead and paints its first screen, found() says what
// was found. True when every median is under goalMs.
inline bool run(QTextStream& out, QLineEdit* field, const std::function<void(bool)>& choose,
                const std::function<void()>& fire, const std::function<QString()>& found, double goalMs = kGoalMs)
{
    const Case cases[] = {
        {"1 character", "t", false},
        {"4 characters", "term", false},
        {"6 characters", "term05", false},
        {"8 characters", "term0500", false},
        {"no match", "xyz", false},
        {"empty text (Show All)", "", false},
        {"6 characters, one language", "term05", true},
    };
    bool ok = true;
    for (const Case& c : cases) {
        choose(c.filtered);
        QList<double> times;
        for (int round = 0; round < 5; ++round) {
            {
                // The bench fires the find-ahead itself, as the timer would.
                const QSignalBlocker blocker(field);
                field->setText(QString::fromLatin1(c.text));
            }
            QElapsedTimer timer;
            timer.start();
            fire();
            times << timer.nsecsElapsed() / 1.0e6;
        }
        const double ms = median(times);
        const bool met = ms < goalMs;
        ok = ok && met;
        out << QStringLiteral("  %1 \"%2\": %3 ms (%4)%5\n")
                   .arg(QLatin1String(c.name), QLatin1String(c.text))
                   .arg(ms, 0, 'f', 1)
                   .arg(found(), met ? QString() : QStringLiteral(" MISSED"));
        out.flush();
    }
    out << "goal: under " << goalMs << " ms each: " << (ok ? "held" : "MISSED") << "\n";
    return ok;
}

} // namespace FindAheadBench
