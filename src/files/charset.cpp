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
