#pragma once

#include <QString>

// LIKE patterns for "contains this text": the text's own '%', '_' and '\'
// match themselves. Statements use them with ESCAPE '\'.
class LikePattern
{
public:
    static QString contains(const QString& text);
};
