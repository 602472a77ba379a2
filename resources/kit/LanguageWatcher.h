#pragma once

#include <QObject>

// Counts the application's language changes (installed or removed
// translators), so that tables notice when their names must be translated anew.
class LanguageWatcher : public QObject
{
    Q_OBJECT

public:
    // The number of language changes seen so far; starts watching on first call.
    static int generation();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LanguageWatcher() = default;
    int mGeneration = 0;
};
