#pragma once

#include <string>
#include <vector>

// UTF-8 <-> UTF-16 conversion for text crossing into Java. Malformed input
// becomes U+FFFD rather than being dropped or passed on.
class Utf16Text
{
public:
    static std::vector<char16_t> fromUtf8(const char* text);
    static std::string toUtf8(const char16_t* text, std::size_t length);
};
