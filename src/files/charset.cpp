#include "files/charset.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

using ByteMap = std::array<unsigned char, 256>;

constexpr ByteMap identity()
{
    ByteMap map{};
    for (int c = 0; c < 256; ++c)
        map[c] = static_cast<unsigned char>(c);
    return map;
}

constexpr ByteMap fileMap = [] {
    ByteMap map = identity();
    map[228] = 132;   // ä
    map[246] = 148;   // ö
    map[252] = 129;   // ü
    map[196] = 142;   // Ä
    map[214] = 153;   // Ö
    map[220] = 154;   // Ü
    map[223] = 158;   // ß
    return map;
}();

constexpr ByteMap bufferMap = [] {
    ByteMap map = identity();
    map[132] = 228;
    map[148] = 246;
    map[129] = 252;
    map[142] = 196;
    map[153] = 214;
    map[154] = 220;
    map[158] = 223;
    map[225] = 223;   // the DOS sharp s of older files
    return map;
}();

// Code points of the bytes 128 to 159.
constexpr char32_t high1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Both maps change only bytes from 128 up, and most text is ASCII: eight
// bytes at a time are passed over when none of them has the top bit set.
void translate(unsigned char* bytes, int32_t length, const ByteMap& map)
{
    int32_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        if ((word & 0x8080808080808080ull) == 0)
            continue;
        for (int32_t j = i; j < i + 8; ++j)
            bytes[j] = map[bytes[j]];
    }
    for (; i < length; ++i)
        bytes[i] = map[bytes[i]];
}

static_assert([] {
    for (int c = 0; c < 128; ++c)
        if (fileMap[c] != c || bufferMap[c] != c)
            return false;
    return true;
}());

}  // namespace

void toFileCharset(unsigned char* bytes, int32_t length)
{
    translate(bytes, length, fileMap);
}

void toBufferCharset(unsigned char* bytes, int32_t length)
{
    translate(bytes, length, bufferMap);
}

char32_t unicodeFrom1252(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? high1252[byte - 0x80] : byte;
}

int byteFrom1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (high1252[i] == c)
            return 0x80 + i;
    return -1;
}

bool keptByAddressFile(unsigned char byte)
{
    return bufferMap[byte] == byte;
}
