#pragma once

#include <QList>

#include <algorithm>

// The middle value of a benchmark's rounds.
inline double benchMedian(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}
