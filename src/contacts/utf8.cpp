#include "contacts/utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "files/charset.h"

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t nextUtf8(std::string_view text, size_t& pos)
{
    const unsigned char first = static_cast<unsigned char>(text[pos]);
    ++pos;
    if (first < 0x80)
        return first;
    int more;
    char32_t c, least;
    if (first >= 0xC2 && first <= 0xDF) {
        more = 1, c = first & 0x1F, least = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        more = 2, c = first & 0x0F, least = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        more = 3, c = first & 0x07, least = 0x10000;
    } else {
        return invalidUtf8;
    }
    if (pos + static_cast<size_t>(more) > text.size())
        return invalidUtf8;
    for (int i = 0; i < more; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[pos + static_cast<size_t>(i)]);
        if ((next & 0xC0) != 0x80)
            return invalidUtf8;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return invalidUtf8;
    pos += static_cast<size_t>(more);
    return c;
}

bool isValidUtf8(std::string_view text)
{
    for (size_t pos = 0; pos < text.size();) {
        // Runs of ASCII eight bytes at a time.
        while (pos + 8 <= text.size()) {
            uint64_t word;
            std::memcpy(&word, text.data() + pos, 8);
            if (word & 0x8080808080808080ull)
                break;
            pos += 8;
        }
        if (pos < text.size() && nextUtf8(text, pos) == invalidUtf8)
            return false;
    }
    return true;
}

std::string utf8From1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char byte : text)
        appendUtf8(out, unicodeFrom1252(static_cast<unsigned char>(byte)));
    return out;
}

namespace {

std::string utf8From16(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size() / 2 + bytes.size() / 8);
    auto unit = [&](size_t i) -> char32_t {
        const unsigned char a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        // A lone surrogate has no UTF-8 form.
        appendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c);
    }
    return out;
}

// 0 for no UTF-16, 1 for little-endian, 2 for big-endian, by the zero
// bytes of the first kilobyte: text in UTF-16 has one in most pairs, and on
// the same side of each.
int utf16ByZeroBytes(std::string_view bytes)
{
    const size_t pairs = std::min<size_t>(bytes.size(), 1024) / 2;
    size_t evenZeros = 0, oddZeros = 0;
    for (size_t i = 0; i < pairs; ++i) {
        evenZeros += bytes[2 * i] == 0;
        oddZeros += bytes[2 * i + 1] == 0;
    }
    if (pairs == 0)
        return 0;
    if (oddZeros * 2 > pairs && evenZeros * 8 < oddZeros)
        return 1;
    if (evenZeros * 2 > pairs && oddZeros * 8 < evenZeros)
        return 2;
    return 0;
}

}  // namespace

std::string_view withoutByteOrderMark(std::string_view bytes, std::string& storage)
{
    if (bytes.starts_with("\xFF\xFE"))
        return storage = utf8From16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return storage = utf8From16(bytes.substr(2), true);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return bytes.substr(3);
    if (const int order = utf16ByZeroBytes(bytes))
        return storage = utf8From16(bytes, order == 2);
    return bytes;
}

std::string withoutByteOrderMark(std::string_view bytes)
{
    std::string storage;
    const std::string_view text = withoutByteOrderMark(bytes, storage);
    return text.data() == storage.data() ? storage : std::string(text);
}

std::string utf8OrWindows1252(std::string_view bytes)
{
    return isValidUtf8(bytes) ? std::string(bytes) : utf8From1252(bytes);
}

std::string decodeOutsideText(std::string_view bytes)
{
    std::string storage;
    return std::string(decodeOutsideText(bytes, storage));
}

std::string_view decodeOutsideText(std::string_view bytes, std::string& storage)
{
    const std::string_view text = withoutByteOrderMark(bytes, storage);
    if (isValidUtf8(text))
        return text;
    return storage = utf8From1252(text);
}
