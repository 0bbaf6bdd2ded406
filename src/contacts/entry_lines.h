// Small text helpers shared by the contact mapping and the sync cards: an
// entry's lines, and the case-blind prefix test its pre-definition words
// ("PhoneNumber:", "http://") are found with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The lines of an entry without its separator, split at CR LF.
inline std::vector<std::string> linesOfEntry(std::string_view entry)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = entry.find("\r\n", start);
        lines.emplace_back(entry.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return lines;
        start = end + 2;
    }
}

inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

inline bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(text[i]) != lowerAscii(prefix[i]))
            return false;
    return true;
}
