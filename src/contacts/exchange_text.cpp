#include "contacts/exchange_text.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "contacts/utf8.h"
#include "files/charset.h"

namespace {

constexpr char32_t controlPictures = 0x2400;    // U+2400 stands for byte 0
constexpr char32_t deletePicture = 0x2421;

}  // namespace

void appendExchangeTextFrom1252(std::string& out, std::string_view line)
{
    for (char byte : line) {
        const unsigned char b = static_cast<unsigned char>(byte);
        if (b >= 32 && b < 127) {
            out += byte;
            continue;
        }
        char32_t c = unicodeFrom1252(b);
        if (b < 32)
            c = controlPictures + b;
        else if (b == 127)
            c = deletePicture;
        appendUtf8(out, c);
    }
}

std::string exchangeTextFrom1252(std::string_view line)
{
    std::string out;
    out.reserve(line.size() + line.size() / 8);
    appendExchangeTextFrom1252(out, line);
    return out;
}

void ReplacementLog::add(char32_t c)
{
    ++count;
    if (std::find(characters.begin(), characters.end(), c) == characters.end())
        characters.push_back(c);
}

namespace {

struct Nearest {
    char32_t c;
    const char* letters;   // Windows-1252 bytes an address file keeps
};

// Sorted by code point.  Letters of the Latin alphabets lose the marks that
// Windows-1252 has no letter for; the double acute becomes the umlaut.
constexpr Nearest nearestLetters[] = {
    {0x00E1, "a"},  {0x0100, "A"},  {0x0101, "a"},  {0x0102, "A"},  {0x0103, "a"},  {0x0104, "A"},
    {0x0105, "a"},  {0x0106, "C"},  {0x0107, "c"},  {0x0108, "C"},  {0x0109, "c"},  {0x010A, "C"},
    {0x010B, "c"},  {0x010C, "C"},  {0x010D, "c"},  {0x010E, "D"},  {0x010F, "d"},  {0x0110, "D"},
    {0x0111, "d"},  {0x0112, "E"},  {0x0113, "e"},  {0x0114, "E"},  {0x0115, "e"},  {0x0116, "E"},
    {0x0117, "e"},  {0x0118, "E"},  {0x0119, "e"},  {0x011A, "E"},  {0x011B, "e"},  {0x011C, "G"},
    {0x011D, "g"},  {0x011E, "G"},  {0x011F, "g"},  {0x0120, "G"},  {0x0121, "g"},  {0x0122, "G"},
    {0x0123, "g"},  {0x0124, "H"},  {0x0125, "h"},  {0x0126, "H"},  {0x0127, "h"},  {0x0128, "I"},
    {0x0129, "i"},  {0x012A, "I"},  {0x012B, "i"},  {0x012C, "I"},  {0x012D, "i"},  {0x012E, "I"},
    {0x012F, "i"},  {0x0130, "I"},  {0x0131, "i"},  {0x0132, "IJ"}, {0x0133, "ij"}, {0x0134, "J"},
    {0x0135, "j"},  {0x0136, "K"},  {0x0137, "k"},  {0x0138, "k"},  {0x0139, "L"},  {0x013A, "l"},
    {0x013B, "L"},  {0x013C, "l"},  {0x013D, "L"},  {0x013E, "l"},  {0x013F, "L"},  {0x0140, "l"},
    {0x0141, "L"},  {0x0142, "l"},  {0x0143, "N"},  {0x0144, "n"},  {0x0145, "N"},  {0x0146, "n"},
    {0x0147, "N"},  {0x0148, "n"},  {0x0149, "'n"}, {0x014A, "N"},  {0x014B, "n"},  {0x014C, "O"},
    {0x014D, "o"},  {0x014E, "O"},  {0x014F, "o"},  {0x0150, "\xD6"}, {0x0151, "\xF6"}, {0x0154, "R"},
    {0x0155, "r"},  {0x0156, "R"},  {0x0157, "r"},  {0x0158, "R"},  {0x0159, "r"},  {0x015A, "S"},
    {0x015B, "s"},  {0x015C, "S"},  {0x015D, "s"},  {0x015E, "S"},  {0x015F, "s"},  {0x0161, "s"},
    {0x0162, "T"},  {0x0163, "t"},  {0x0164, "T"},  {0x0165, "t"},  {0x0166, "T"},  {0x0167, "t"},
    {0x0168, "U"},  {0x0169, "u"},  {0x016A, "U"},  {0x016B, "u"},  {0x016C, "U"},  {0x016D, "u"},
    {0x016E, "U"},  {0x016F, "u"},  {0x0170, "\xDC"}, {0x0171, "\xFC"}, {0x0172, "U"},  {0x0173, "u"},
    {0x0174, "W"},  {0x0175, "w"},  {0x0176, "Y"},  {0x0177, "y"},  {0x0179, "Z"},  {0x017A, "z"},
    {0x017B, "Z"},  {0x017C, "z"},  {0x017D, "Z"},  {0x017E, "z"},  {0x017F, "s"},  {0x01CD, "A"},
    {0x01CE, "a"},  {0x01CF, "I"},  {0x01D0, "i"},  {0x01D1, "O"},  {0x01D2, "o"},  {0x01D3, "U"},
    {0x01D4, "u"},  {0x0218, "S"},  {0x0219, "s"},  {0x021A, "T"},  {0x021B, "t"},  {0x1E9E, "SS"},
    {0x2002, " "},  {0x2003, " "},  {0x2004, " "},  {0x2005, " "},  {0x2006, " "},  {0x2007, " "},
    {0x2008, " "},  {0x2009, " "},  {0x200A, " "},  {0x2010, "-"},  {0x2011, "-"},  {0x2012, "-"},
    {0x2015, "\x97"}, {0x201B, "'"}, {0x201D, "\""}, {0x201E, "\""}, {0x201F, "\""}, {0x2024, "."},
    {0x202F, " "},  {0x2032, "'"},  {0x2033, "\""}, {0x2044, "/"},  {0x2122, "TM"}, {0x2212, "-"},
};

constexpr bool sortedByCodePoint()
{
    for (size_t i = 1; i < std::size(nearestLetters); ++i)
        if (nearestLetters[i - 1].c >= nearestLetters[i].c)
            return false;
    return true;
}
static_assert(sortedByCodePoint());

// A CR and LF made from control pictures side by side would end the line
// inside the entry.
void breakLineEnd(std::string& out, ReplacementLog& log)
{
    if (out.size() >= 2 && out[out.size() - 2] == '\r' && out.back() == '\n') {
        out[out.size() - 2] = out.back() = replacementCharacter;
        log.add(controlPictures + '\r');
        log.add(controlPictures + '\n');
    }
}

}  // namespace

const char* transliteration(char32_t c)
{
    const Nearest* end = std::end(nearestLetters);
    const Nearest* at = std::lower_bound(std::begin(nearestLetters), end, c,
                                         [](const Nearest& n, char32_t value) { return n.c < value; });
    return at != end && at->c == c ? at->letters : nullptr;
}

void appendLineFromExchangeText(std::string& out, std::string_view utf8, ReplacementLog& log, bool transliterate)
{
    for (size_t pos = 0; pos < utf8.size();) {
        const unsigned char first = static_cast<unsigned char>(utf8[pos]);
        if (first >= 32 && first < 127) {
            out += static_cast<char>(first);
            ++pos;
            continue;
        }
        const char32_t c = nextUtf8(utf8, pos);
        int byte;
        if (c >= controlPictures && c < controlPictures + 32)
            byte = static_cast<int>(c - controlPictures);
        else if (c == deletePicture)
            byte = 127;
        else if (c < 32 || c == 127)
            byte = ' ';
        else if (c == invalidUtf8)
            byte = -1;
        else
            byte = byteFrom1252(c);
        if (byte < 0 || !keptByAddressFile(static_cast<unsigned char>(byte))) {
            if (const char* letters = transliterate && c != invalidUtf8 ? transliteration(c) : nullptr) {
                out += letters;
                ++log.transliterated;
                continue;
            }
            log.add(c == invalidUtf8 ? 0xFFFD : c);
            byte = replacementCharacter;
        }
        out += static_cast<char>(byte);
        if (byte == '\n')
            breakLineEnd(out, log);
    }
}

std::string lineFromExchangeText(std::string_view utf8, ReplacementLog& log)
{
    std::string out;
    out.reserve(utf8.size());
    appendLineFromExchangeText(out, utf8, log, false);
    return out;
}

std::string describeCharacter(char32_t c)
{
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    std::string out = code;
    // Controls and the like are shown by their number only.
    if (c >= 0xA0 && !(c >= 0xD800 && c <= 0xDFFF)) {
        out += ' ';
        appendUtf8(out, c);
    }
    return out;
}
