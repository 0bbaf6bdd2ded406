// Character folding shared by search, replace, sort and the type-ahead.
#pragma once

#include <array>

enum FoldMode : int {
    foldExact = 0,
    foldUpper = 1,           // Windows-1252 upper case, accented letters included
    foldUpperUmlauts = 2,    // upper case with Ä/ä, Ö/ö, Ü/ü taken as A, O, U
};

// Upper case of each Windows-1252 byte, as the system's CharUpperA gives it.
inline constexpr std::array<unsigned char, 256> upperCase1252 = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<unsigned char>(c - 32);
    table[0x9A] = 0x8A;   // š
    table[0x9C] = 0x8C;   // œ
    table[0x9E] = 0x8E;   // ž
    table[0xFF] = 0x9F;   // ÿ
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7)    // ÷ has no case
            table[c] = static_cast<unsigned char>(c - 32);
    return table;
}();

// Folded bytes for mode 2, the sort's comparison.
inline constexpr std::array<unsigned char, 256> sortFold1252 = [] {
    std::array<unsigned char, 256> table = upperCase1252;
    table[196] = table[228] = 'A';
    table[214] = table[246] = 'O';
    table[220] = table[252] = 'U';
    return table;
}();

inline unsigned char foldChar(unsigned char c, int mode)
{
    switch (mode) {
    case foldUpper: return upperCase1252[c];
    case foldUpperUmlauts: return sortFold1252[c];
    default: return c;
    }
}
