#include "contacts/exchange_text.h"

#include <algorithm>
#include <cstdio>

#include "contacts/utf8.h"
#include "files/charset.h"

namespace {

constexpr char32_t controlPictures = 0x2400;    // U+2400 stands for byte 0
constexpr char32_t deletePicture = 0x2421;

}  // namespace

std::string exchangeTextFrom1252(std::string_view line)
{
    std::string out;
    out.reserve(line.size() + line.size() / 8);
    for (char byte : line) {
        const unsigned char b = static_cast<unsigned char>(byte);
        char32_t c = unicodeFrom1252(b);
        if (b < 32)
            c = controlPictures + b;
        else if (b == 127)
            c = deletePicture;
        appendUtf8(out, c);
    }
    return out;
}

void ReplacementLog::add(char32_t c)
{
    ++count;
    if (std::find(characters.begin(), characters.end(), c) == characters.end())
        characters.push_back(c);
}

std::string lineFromExchangeText(std::string_view utf8, ReplacementLog& log)
{
    std::string out;
    std::vector<char32_t> source;   // the character each byte of out came from
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
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
            log.add(c == invalidUtf8 ? 0xFFFD : c);
            byte = replacementCharacter;
        }
        out += static_cast<char>(byte);
        source.push_back(c);
    }
    // A CR LF would end the line inside the entry.
    for (size_t i = 0; i + 1 < out.size(); ++i) {
        if (out[i] == '\r' && out[i + 1] == '\n') {
            log.add(source[i]);
            log.add(source[i + 1]);
            out[i] = out[i + 1] = replacementCharacter;
        }
    }
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
