#include <gtest/gtest.h>

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
        // Folding never turns text into a line end or the reverse.
        ASSERT_EQ(foldChar(b, foldUpperUmlauts) < 32, c < 32) << c;
        // Upper-casing is idempotent.
        ASSERT_EQ(foldChar(foldChar(b, foldUpper), foldUpper), foldChar(b, foldUpper)) << c;
    }
}

}  // namespace
