// Blanks and tabs cut off both ends of a field, as every reader of the
// exchange formats needs it.
#pragma once

#include <string>
#include <string_view>

inline std::string trimmed(std::string_view text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return std::string(text.substr(begin, end - begin));
}
