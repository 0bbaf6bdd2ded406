#include <gtest/gtest.h>

#include <string_view>

#include "find/fold.h"

namespace {

TEST(FoldChar, ModesDifferOnlyWhereTheyShould)
{
    EXPECT_EQ(foldChar('a', foldExact), 'a');
    EXPECT_EQ(foldChar('a', foldUpper), 'A');
    EXPECT_EQ(foldChar(0xE4, foldUpper), 0xC4);          // ä -> Ä
    EXPECT_EQ(foldChar(0xE4, foldUpperUmlauts), 'A');    // ä -> A
    EXPECT_EQ(foldChar(0xC4, foldUpperUmlauts), 'A');
    EXPECT_EQ(foldChar(0xF6, foldUpperUmlauts), 'O');
    EXPECT_EQ(foldChar(0xD6, foldUpperUmlauts), 'O');
    EXPECT_EQ(foldChar(0xFC, foldUpperUmlauts), 'U');
    EXPECT_EQ(foldChar(0xDC, foldUpperUmlauts), 'U');
    EXPECT_EQ(foldChar(0xDF, foldUpperUmlauts), 0xDF);   // ß has no capital here
    EXPECT_EQ(foldChar(0xE9, foldUpperUmlauts), 0xC9);   // é -> É, which sorts after Z
    EXPECT_EQ(foldChar(0xE9, 7), 0xE9);                  // unknown modes are exact

    for (int c = 0; c < 256; ++c) {
        auto b = static_cast<unsigned char>(c);
        ASSERT_EQ(foldChar(b, foldExact), b);
        // Upper-casing is the table's (held to the system's on Windows);
        // the umlaut mode differs from it in the six umlauts only.
        ASSERT_EQ(foldChar(b, foldUpper), upperCase1252[c]) << c;
        if (std::string_view("\xC4\xE4\xD6\xF6\xDC\xFC").find(static_cast<char>(b)) == std::string_view::npos) {
            ASSERT_EQ(foldChar(b, foldUpperUmlauts), foldChar(b, foldUpper)) << c;
        }
        // Folding never turns text into a line end or the reverse.
        ASSERT_EQ(foldChar(b, foldUpperUmlauts) < 32, c < 32) << c;
        // Upper-casing is idempotent.
        ASSERT_EQ(foldChar(foldChar(b, foldUpper), foldUpper), foldChar(b, foldUpper)) << c;
    }
}

}  // namespace
