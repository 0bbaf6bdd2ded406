// The folding table against the system it copies: every Windows-1252 byte
// must upper-case exactly as CharUpperA does it to one character.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "find/fold.h"

namespace {

unsigned char systemUpperCase(unsigned char c)
{
    // With a pointer whose high word is zero, CharUpperA converts the one
    // character in its low byte and returns it in place of a pointer.
    return static_cast<unsigned char>(reinterpret_cast<ULONG_PTR>(
        CharUpperA(reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(c)))));
}

std::string hexByte(int c)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", c);
    return text;
}

TEST(FoldWin, UpperCaseTableIsCharUpperA)
{
    std::string differences;
    for (int c = 0; c < 256; ++c) {
        unsigned char system = systemUpperCase(static_cast<unsigned char>(c));
        if (upperCase1252[c] != system)
            differences += "  " + hexByte(c) + ": table " + hexByte(upperCase1252[c]) +
                           ", CharUpperA " + hexByte(system) + "\n";
    }
    EXPECT_TRUE(differences.empty()) << "bytes upper-cased differently:\n" << differences;
}

}  // namespace
