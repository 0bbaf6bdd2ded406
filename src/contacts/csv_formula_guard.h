// A spreadsheet takes a cell that begins with =, +, -, @, a tab or a CR for
// a formula, and a contact received from anyone can hold such a text.
// Export puts an apostrophe in front of it, which spreadsheets show as
// text, and import takes exactly that apostrophe off again.  A value that
// itself begins with an apostrophe before one of those characters (or
// before another apostrophe) gets one more, so every value comes back as
// it went out.
#pragma once

#include <string_view>

inline bool startsFormula(std::string_view text)
{
    if (text.empty())
        return false;
    const char c = text[0];
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

// True for the apostrophe that export adds.
inline bool isFormulaGuarded(std::string_view field)
{
    return field.size() >= 2 && field[0] == '\'' && (field[1] == '\'' || startsFormula(field.substr(1)));
}

inline bool needsFormulaGuard(std::string_view value)
{
    return startsFormula(value) || isFormulaGuarded(value);
}
