#include "files/charset.h"

#include <array>

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

void translate(unsigned char* bytes, int32_t length, const ByteMap& map)
{
    for (int32_t i = 0; i < length; ++i)
        bytes[i] = map[bytes[i]];
}

}  // namespace

void toFileCharset(unsigned char* bytes, int32_t length)
{
    translate(bytes, length, fileMap);
}

void toBufferCharset(unsigned char* bytes, int32_t length)
{
    translate(bytes, length, bufferMap);
}
