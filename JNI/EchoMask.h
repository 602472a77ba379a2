#pragma once

#include <string>

// Hides secrets in a message before it is echoed to a log: the content of
// every "password" and "passwordAnswer" element becomes "********".
class EchoMask
{
public:
    static std::string mask(const std::string& xml);
};
