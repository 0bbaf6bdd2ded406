// Entry text (Windows-1252 bytes) and the UTF-8 of the exchange formats.
//
// Control bytes cannot stand in vCard text, so export writes each of them
// (0 to 31 and 127, the tab too) as its Unicode control picture (U+2400 to
// U+241F, U+2421), and import turns the pictures back into the bytes: a
// book goes out and comes back byte for byte.  On import, other control
// characters become blanks, as they do when text is pasted, and every
// character that an address file cannot hold becomes "?": characters
// outside Windows-1252 and the eight that the file would read back as
// German letters (see keptByAddressFile).  Asked to, import first writes
// such a character as the nearest letters the file can hold (Ş as S, ő as
// ö, Ĳ as IJ), and only what has none becomes "?".
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One line of entry text as UTF-8.
std::string exchangeTextFrom1252(std::string_view line);
void appendExchangeTextFrom1252(std::string& out, std::string_view line);

struct ReplacementLog {
    long count = 0;                      // characters replaced by "?"
    std::vector<char32_t> characters;    // the different ones, in order of appearance
    long transliterated = 0;             // characters written as their nearest letters

    void add(char32_t c);
};

inline constexpr char replacementCharacter = '?';

// One line of UTF-8 (without line breaks) as entry text.  The result never
// holds CR LF: a CR and LF made from control pictures side by side are
// replaced too.
std::string lineFromExchangeText(std::string_view utf8, ReplacementLog& log);
void appendLineFromExchangeText(std::string& out, std::string_view utf8, ReplacementLog& log, bool transliterate);

// The Windows-1252 letters an address file keeps that stand nearest to c,
// or nullptr when there are none.
const char* transliteration(char32_t c);

// "U+201E „" for the report of what was replaced.
std::string describeCharacter(char32_t c);
