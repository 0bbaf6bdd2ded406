#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "find/fold.h"
#include "find/replace.h"
#include "find/sort.h"
#include "resources/resource.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/line_table.h"
#include "views/view_state.h"

namespace {

// ---- Replace all over the whole data, the literal way ----
//
// Test every position from the start in turn; on a hit delete it, keep a
// blank on an emptied line, open a gap, count the rest of the line with the
// gap open, write the replacement with the line-limit breaks and go on
// behind it.  Index rebuilt after every replacement.  Quadratic, small
// books only.

struct Literal {
    std::string text;
    int32_t count = 0, entry = 0, caretLine = 0, caretColumn = 0;
    bool staleEntry = false;   // the hit lay outside the entry the run was in
};

std::vector<int32_t> entryStarts(const std::string& t)
{
    std::vector<int32_t> starts{0};
    for (size_t at = t.find("\r\n\r\n"); at != std::string::npos; at = t.find("\r\n\r\n", at + 4))
        starts.push_back(static_cast<int32_t>(at + 4));
    return starts;   // the last one is the end of the last entry
}

Literal literalReplaceAll(std::string t, const std::string& find, int fold, const std::string& with)
{
    Literal r;
    auto at = [&](size_t p) { return p < t.size() ? static_cast<unsigned char>(t[p]) : 0; };
    std::vector<int32_t> index = entryStarts(t);
    auto entries = [&] { return static_cast<int32_t>(index.size()) - 1; };
    int32_t e = 0;
    for (size_t p = 0;;) {
        bool hit = true;
        for (size_t i = 0; i < find.size() && hit; ++i) {
            const unsigned char b = at(p + i), s = static_cast<unsigned char>(find[i]);
            hit = b >= 32 && s >= 32 && foldChar(b, fold) == foldChar(s, fold);
        }
        if (hit) {
            r.staleEntry = static_cast<int32_t>(p) >= index[e + 1];
            int32_t line = 0, column = 0;
            for (size_t q = static_cast<size_t>(index[e]); q < p; ++q) {
                if (at(q) == '\r')
                    ++line, column = 0;
                else if (at(q) >= 32)
                    ++column;
            }
            t.erase(p, find.size());
            const bool blank = column == 0 && at(p) == '\r';
            if (blank)
                t.insert(p, " ");
            std::string gap;
            for (size_t i = 0; i < with.size(); ++i)
                gap += static_cast<char>(at(p + i));
            t.insert(p, gap);
            int32_t rest = 0;
            while (at(p + rest) != '\r' && at(p + rest) != 0)
                ++rest;
            size_t w = p;
            for (char ch : with) {
                if (static_cast<unsigned char>(ch) >= 32 && rest + ++column >= 255) {
                    t.insert(w, "\r\n");
                    w += 2;
                    ++line;
                    column = 0;
                }
                t[w++] = ch;
            }
            ++r.count;
            r.entry = e;
            r.caretLine = line;
            r.caretColumn = column;
            index = entryStarts(t);
            if (w >= t.size())
                break;
            p = blank && with.empty() ? w + 1 : w;
            continue;
        }
        if (p + 1 >= t.size())
            break;
        ++p;
        if (e < entries() - 1 && static_cast<int32_t>(p) == index[e + 1])
            ++e;
    }
    r.text = t;
    return r;
}

class Replace : public StoreTest {
protected:
    void settings(const char* find, const char* with, int direction, bool all)
    {
        std::strcpy(replaceSearchText, find);
        std::strcpy(replaceText, with);
        replaceDirection = direction;
        replaceFold = 1;
        replaceAll = all;
        recorder.events.clear();
    }
    void caretAt(int32_t e, int32_t line, int32_t column)
    {
        cursorRow = e;
        currentEntryOffset = entryIndex[e];
        lineTableOwner = -1;
        caretLine = line;
        caretColumn = column;
    }
};

// Random books of the kinds that trip a one-pass rewrite: occurrences in a
// row and at line ends, umlauts either way, lines close to the limit,
// replacements that are empty or hold the text searched for.
TEST_F(Replace, OnePassMatchesTheLiteralRun)
{
    std::mt19937 random(11);
    const char alphabet[] = "aAb\xE4\xC4 ";
    auto word = [&](size_t n) {
        std::string s(n, 'a');
        for (char& c : s)
            c = alphabet[random() % 6];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int e = 1 + random() % 4; e > 0; --e) {
            for (int l = 1 + random() % 3; l > 0; --l)
                text += word(random() % 8 == 0 ? 240 + random() % 14 : 1 + random() % 12) + "\r\n";
            text += "\r\n";
        }
        const std::string find = word(1 + random() % 3);
        std::string with = word(random() % 5);
        if (random() % 4 == 0)
            with = word(1) + find;
        const int fold = static_cast<int>(random() % 2);

        const Literal expected = literalReplaceAll(text, find, fold, with);
        setStoreText(text);
        const WholeDataRun run = replaceThroughData(makePattern(find.c_str(), fold), with.c_str());
        SCOPED_TRACE("round " + std::to_string(round) + " find '" + find + "' with '" + with + "'");
        ASSERT_EQ(run.count, expected.count);
        ASSERT_EQ(storeText(), expected.text);
        ASSERT_TRUE(std::all_of(textBuffer + usedBytes, textBuffer + bufferCapacity, [](auto b) { return b == 0; }));
        ASSERT_EQ(entryCount, static_cast<int32_t>(entryStarts(expected.text).size()) - 1);
        if (run.count > 0) {
            ASSERT_EQ(run.caretColumn, expected.caretColumn);
        }
        // A break in front of a line's first character makes an empty line,
        // a new entry, which the literal run never steps into: it counts
        // the caret's line from the entry it was in.  The closing puts the
        // caret on entry 0 anyway.
        if (run.count > 0 && !expected.staleEntry) {
            ASSERT_EQ(run.entry, expected.entry);
            ASSERT_EQ(run.caretLine, expected.caretLine);
        }
    }
}

const std::string book = "Anna\r\nWeg 1\r\n\r\n"
                         "Bob\r\naa ba\r\n\r\n"
                         "Carl\r\nWeg 2\r\n\r\n";

TEST_F(Replace, WholeDataRunIsOneUndoAndReportsItsCount)
{
    setStoreText(book);
    settings("a", "", 3, true);
    markActive = true;   // a marked block would name other entries after the sort
    markLast = 1;
    replaceNext(0);
    EXPECT_EQ(storeText(), "Bob\r\n b\r\n\r\nCrl\r\nWeg 2\r\n\r\nnn\r\nWeg 1\r\n\r\n");
    EXPECT_FALSE(markActive);
    EXPECT_EQ(recorder.eventsStartingWith("menu|" + std::to_string(IDM_COPY)).back(), "menu|" + std::to_string(IDM_COPY) + "|off");
    EXPECT_EQ(recorder.eventsStartingWith("info").back(), "info|ORDANE-Lumo:|6 entries were replaced!");
    EXPECT_EQ(replaceDirection, 3);
    undo();
    EXPECT_EQ(storeText(), book);
}

TEST_F(Replace, InsideOneEntry)
{
    // All, around: only the current entry changes; "a" into "aa" doubles
    // each letter once instead of feeding itself.
    setStoreText(book);
    caretAt(1, 1, 1);
    settings("a", "aA", 3, true);
    replaceNext(1);
    EXPECT_EQ(storeText(), "Anna\r\nWeg 1\r\n\r\nBob\r\naAaA baA\r\n\r\nCarl\r\nWeg 2\r\n\r\n");
    // The next entry's first word lies outside the current entry, downward
    // and around; a cursor behind the last entry stands on the last one.
    for (int direction : {1, 3}) {
        setStoreText(book);
        caretAt(0, 1, 0);
        settings("Bob", "X", direction, false);
        replaceNext(1);
        EXPECT_EQ(storeText(), book);
    }
    caretAt(2, 1, 0);
    cursorRow = 3;
    settings("Weg", "X", 1, false);
    replaceNext(1);
    EXPECT_EQ(storeText(), "Anna\r\nWeg 1\r\n\r\nBob\r\naa ba\r\n\r\nCarl\r\nX 2\r\n\r\n");

    // Deleted, hits in a row are all found: the scan stays where the text closed up.
    setStoreText(book);
    caretAt(1, 1, 0);
    settings("a", "", 1, true);
    replaceNext(1);
    EXPECT_EQ(storeText(), "Anna\r\nWeg 1\r\n\r\nBob\r\n b\r\n\r\nCarl\r\nWeg 2\r\n\r\n");

    // Single, down: the next one behind the caret, the caret behind the
    // replacement and nothing sorted while the Data view holds the keys.
    setStoreText(book);
    caretAt(2, 1, 0);
    activeView = ActiveView::DataView;
    settings("weg", "Zaun", 1, false);
    replaceNext(1);
    EXPECT_EQ(storeText(), "Anna\r\nWeg 1\r\n\r\nBob\r\naa ba\r\n\r\nCarl\r\nZaun 2\r\n\r\n");
    EXPECT_EQ(std::make_pair(caretLine, caretColumn), std::make_pair(1, 4));
    EXPECT_TRUE(resortPending);

    // Direction 0 from the start of the entry finds nothing; Yes searches
    // the whole data once, upward from the caret, even with Replace all on.
    setStoreText(book);
    caretAt(2, 0, 0);
    settings("Weg", "X", 0, true);
    recorder.answers = {true};
    replaceNext(1);
    EXPECT_EQ(recorder.eventsStartingWith("ask").at(0),
              "ask|ORDANE-Lumo:|No adequate entry found!\nDo want to search in whole Data?|owned");
    EXPECT_FALSE(replaceAll);
    EXPECT_EQ(recorder.eventsStartingWith("active"), std::vector<std::string>{"active|overview"});
    EXPECT_EQ(storeText(), "Anna\r\nX 1\r\n\r\nBob\r\naa ba\r\n\r\nCarl\r\nWeg 2\r\n\r\n");
}

TEST_F(Replace, SingleInTheFirstLineSortsWhileTheOverviewIsActive)
{
    setStoreText(book);
    caretAt(0, 0, 0);
    activeView = ActiveView::Overview;
    settings("Anna", "Zora", 1, false);
    replaceNext(0);
    // The emptied heading kept its blank behind the replacement.
    EXPECT_EQ(storeHeadings(), (std::vector<std::string>{"Bob", "Carl", "Zora "}));
    EXPECT_EQ(currentEntry(), 2);
    EXPECT_EQ(caretColumn, 4);
}

TEST_F(Replace, LineReachingTheLimitIsBroken)
{
    setStoreText("Head\r\n" + std::string(250, 'x') + "Q\r\n\r\n");
    resizeTextBuffer(usedBytes + 1);   // full: the longer text needs a larger buffer
    caretAt(0, 0, 0);
    settings("Q", "123456789", 1, false);
    replaceNext(1);
    EXPECT_EQ(storeText(), "Head\r\n" + std::string(250, 'x') + "1234\r\n56789\r\n\r\n");
    EXPECT_GT(bufferCapacity, usedBytes);
    // No memory to grow it: the hit goes, nothing is written past the end.
    setStoreText("Head\r\nxQ\r\n\r\n");
    resizeTextBuffer(usedBytes + 1);
    caretAt(0, 0, 0);
    settings("Q", "123456789", 1, false);
    auto* const kept = reallocateBlock;
    reallocateBlock = [](void*, size_t) -> void* { return nullptr; };
    replaceNext(1);
    reallocateBlock = kept;
    EXPECT_EQ(storeText(), "Head\r\nx\r\n\r\n");

    // A control byte takes no column.
    setStoreText("Head\r\n" + std::string(250, 'x') + "Q\r\n\r\n");
    caretAt(0, 0, 0);
    settings("Q", "1\t23456789", 1, false);
    replaceNext(1);
    EXPECT_EQ(storeText(), "Head\r\n" + std::string(250, 'x') + "1\t234\r\n56789\r\n\r\n");
}

}  // namespace
