// Small text helpers shared by the contact mapping and the sync cards and
// state: text split at a separator, an entry's lines, and the case-blind
// prefix test its pre-definition words ("PhoneNumber:", "http://") are
// found with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The pieces of text between separators; one piece when there is none.
inline std::vector<std::string_view> splitAt(std::string_view text, std::string_view separator)
{
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return pieces;
        start = end + separator.size();
    }
}

// The lines of an entry without its separator, split at CR LF.
inline std::vector<std::string> linesOfEntry(std::string_view entry)
{
    const std::vector<std::string_view> pieces = splitAt(entry, "\r\n");
    return std::vector<std::string>(pieces.begin(), pieces.end());
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
