#include "EchoMask.h"

#include <cctype>

namespace {

const char* const kSecretElements[] = {"password", "passwordAnswer"};
const char* const kMasked = "********";

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == ':';
}

// Masks the content of every <name ...>...</name> in text.
std::string maskElement(const std::string& text, const std::string& name)
{
    std::string out;
    out.reserve(text.size());
    const std::string close = "</" + name;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find("<" + name, pos);
        if (open == std::string::npos) {
            break;
        }
        const std::size_t afterName = open + 1 + name.size();
        if (afterName >= text.size() || isNameChar(text[afterName])) {
            // Another element whose name merely starts with this one.
            out.append(text, pos, afterName - pos);
            pos = afterName;
            continue;
        }
        const std::size_t tagEnd = text.find('>', afterName);
        if (tagEnd == std::string::npos) {
            break;
        }
        out.append(text, pos, tagEnd + 1 - pos);
        pos = tagEnd + 1;
        if (text[tagEnd - 1] == '/') {
            continue; // empty element, nothing to hide
        }
        // The content may hold a CDATA section, which may itself hold "</".
        std::size_t scan = pos;
        std::size_t end = std::string::npos;
        while (scan < text.size()) {
            if (text.compare(scan, 9, "<![CDATA[") == 0) {
                const std::size_t cdataEnd = text.find("]]>", scan + 9);
                if (cdataEnd == std::string::npos) {
                    break;
                }
                scan = cdataEnd + 3;
                continue;
            }
            if (text.compare(scan, close.size(), close) == 0
                && (scan + close.size() >= text.size() || !isNameChar(text[scan + close.size()]))) {
                end = scan;
                break;
            }
            ++scan;
        }
        out.append(kMasked);
        if (end == std::string::npos) {
            return out; // unterminated: hide everything after the opening tag
        }
        pos = end;
    }
    if (pos < text.size()) {
        out.append(text, pos, std::string::npos);
    }
    return out;
}

} // namespace

std::string EchoMask::mask(const std::string& xml)
{
    std::string out = xml;
    for (const char* name : kSecretElements) {
        out = maskElement(out, name);
    }
    return out;
}
