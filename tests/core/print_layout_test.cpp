#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print/print_layout.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/view_state.h"

namespace {

// What a printout drew, one item per call, in order.
struct Drawn {
    char kind;   // 't' text, 'r' rule, 'p' new page
    int32_t x, y, x1;
    std::string text;
    int weight;
    bool italic;
    bool dark;
    bool operator==(const Drawn&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Drawn& d)
{
    return out << d.kind << " (" << d.x << "," << d.y << ".." << d.x1 << ") \"" << d.text << "\" w" << d.weight
               << (d.italic ? " italic" : "") << (d.dark ? " dark" : "");
}

struct RecordingSurface : PrintSurface {
    std::vector<Drawn> drawn;
    int pagesAllowed = 1000;

    void text(int32_t x, int32_t y, const char* bytes, int32_t length, int weight, bool italic) override
    {
        drawn.push_back({'t', x, y, 0, std::string(bytes, static_cast<size_t>(length)), weight, italic, false});
    }
    void rule(int32_t y, int32_t x0, int32_t x1, bool dark) override
    {
        drawn.push_back({'r', x0, y, x1, "", 0, false, dark});
    }
    bool nextPage() override
    {
        drawn.push_back({'p', 0, 0, 0, "", 0, false, false});
        return --pagesAllowed > 0;
    }
};

Drawn text(int32_t x, int32_t y, std::string s, int weight, bool italic = false)
{
    return {'t', x, y, 0, std::move(s), weight, italic, false};
}
Drawn rule(int32_t x0, int32_t y, int32_t x1, bool dark)
{
    return {'r', x0, y, x1, "", 0, false, dark};
}
Drawn page()
{
    return {'p', 0, 0, 0, "", 0, false, false};
}

constexpr PrintMetrics metrics = {10, 7, 500, 1000};   // H = 10, W = 7
const std::string twoEntries = "Adler, Jan\r\nBonn\r\n\r\nBeck, Eva\r\n\r\n";

TEST(PrintFooter, CarriesTheDateWithSlashesAndTheTimeWithAColon)
{
    char footer[footerSize];
    fillFooter(footer, 6, 12, 2026, 8, 5);
    EXPECT_STREQ(footer, "(Stand: 06/12/2026 08:05, ORDANE-Lumo)");
    fillFooter(footer, 31, 1, 1999, 23, 59);
    EXPECT_STREQ(footer, "(Stand: 31/01/1999 23:59, ORDANE-Lumo)");
}

TEST(PrintMargins, AreKeptModulo256)
{
    EXPECT_EQ(marginFromTyped(300), 44);
    EXPECT_EQ(marginFromTyped(255), 255);
    EXPECT_EQ(marginFromTyped(256), 0);
}

TEST(PrintLayout, HeadlineFooterAndEntriesWithTheirRules)
{
    RecordingSurface surface;
    const int pages = layoutPrintout(twoEntries.data(), twoEntries.size(), metrics, 3, 2, "Kunden",
                                     "(Stand: x)", surface);
    EXPECT_EQ(pages, 1);
    // T = 2 is raised to 3 by the headline: the body starts at row 2 + 3.
    // The empty row after each entry has the light rule just above the
    // dark one at its middle; the next entry's first line is bold again.
    const std::vector<Drawn> expected = {
        text(21, 20, "Kunden", weightHeavy),
        text(21, 30, "(Stand: x)", weightNormal, true),
        text(21, 50, "Adler, Jan", weightBold),
        text(21, 60, "Bonn", weightNormal),
        rule(21, 74, 499, false),
        rule(21, 75, 499, true),
        text(21, 80, "Beck, Eva", weightBold),
        rule(21, 94, 499, false),
        rule(21, 95, 499, true),
    };
    EXPECT_EQ(surface.drawn, expected);
}

TEST(PrintLayout, WithoutHeadlineTheFooterIsHeavyUprightAndTheBodyOneRowHigher)
{
    RecordingSurface surface;
    layoutPrintout(twoEntries.data(), twoEntries.size(), metrics, 0, 0, "", "(Stand: x)", surface);
    ASSERT_GE(surface.drawn.size(), 3u);
    EXPECT_EQ(surface.drawn[0], text(0, 0, "(Stand: x)", weightHeavy));
    EXPECT_EQ(surface.drawn[1], text(0, 20, "Adler, Jan", weightBold));
    EXPECT_EQ(surface.drawn[2], text(0, 30, "Bonn", weightNormal));
}

TEST(PrintLayout, PagesBreakBeforeTheLastLineHeightAndLaterPagesHaveNoHead)
{
    // Rows of 10 pixels on a page of 100: a row whose top lies below
    // 100 - 10 goes to the next page, which starts at row T.
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    text += "\r\n";
    RecordingSurface surface;
    const int pages = layoutPrintout(text.data(), text.size(), {10, 7, 300, 100}, 0, 1, "", "f", surface);
    EXPECT_EQ(pages, 2);
    std::vector<int32_t> firstPage, secondPage;
    bool broken = false;
    for (const Drawn& d : surface.drawn) {
        if (d.kind == 'p')
            broken = true;
        else if (d.kind == 't' && d.text.starts_with("line"))
            (broken ? secondPage : firstPage).push_back(d.y);
    }
    // Rows 3 to 9 (y 30..90) on the first page: row 9 ends at the page's
    // bottom; the next row would start at 100 > 90.
    EXPECT_EQ(firstPage, (std::vector<int32_t>{30, 40, 50, 60, 70, 80, 90}));
    EXPECT_EQ(secondPage, (std::vector<int32_t>{10, 20, 30, 40, 50}));
}

TEST(PrintLayout, NoEmptyPageAfterTheLastLineAndAFailedPageStops)
{
    // Exactly one page full: the break would come after the last line.
    std::string text = "a\r\nb\r\nc\r\n\r\n";
    RecordingSurface surface;
    EXPECT_EQ(layoutPrintout(text.data(), text.size(), {10, 7, 300, 60}, 0, 0, "", "f", surface), 1);
    for (const Drawn& d : surface.drawn)
        EXPECT_NE(d.kind, 'p');

    std::string many;
    for (int i = 0; i < 50; ++i)
        many += "x\r\n";
    many += "\r\n";
    RecordingSurface refusing;
    refusing.pagesAllowed = 1;
    EXPECT_EQ(layoutPrintout(many.data(), many.size(), {10, 7, 300, 60}, 0, 0, "", "f", refusing), 1);
    EXPECT_EQ(refusing.drawn.back(), page());
}

class PrintText : public StoreTest {};

TEST_F(PrintText, IsTheCurrentEntryWithoutAMarkAndTheMarkedEntriesWithOne)
{
    setStoreText("A\r\n\r\nB\r\nb\r\n\r\nC\r\n\r\nD\r\n\r\n");
    firstVisibleEntry = 1;
    cursorRow = 1;   // entry 2, "C"
    markActive = false;
    markFirst = 0;
    markLast = 3;   // a stale range from an earlier marking
    EXPECT_EQ(printText(), "C\r\n\r\n");
    EXPECT_EQ(markFirst, 2);
    EXPECT_EQ(markLast, 2);

    markActive = true;
    markFirst = 1;
    markLast = 2;
    EXPECT_EQ(printText(), "B\r\nb\r\n\r\nC\r\n\r\n");
    markFirst = 5;   // behind the last entry: the last one alone
    markLast = 7;
    EXPECT_EQ(printText(), "D\r\n\r\n");
}

}  // namespace
