// Printing in the test's process: the page drawn into a memory device
// context and read back pixel by pixel (the fonts, the rule's place), and
// every way of cancelling a printout.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/config.h"
#include "gui/gui_support.h"
#include "host/ui_busy.h"
#include "print/print_layout.h"
#include "print/printing.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "store/store.h"
#include "support/store_fixture.h"

namespace {

constexpr COLORREF light = RGB(190, 190, 190);
constexpr COLORREF dark = RGB(140, 140, 140);
constexpr char footer[] = "(Stand: 01/02/2003 04:05, ORDANE-Lumo)";

bool ink(const PaintedWindow& page, int x, int y)
{
    return page.pixel(x, y) == RGB(0, 0, 0);
}

// The rows holding ink, as runs from top to bottom (both included).
std::vector<std::pair<int, int>> inkBands(const PaintedWindow& page)
{
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < page.height; ++y) {
        bool any = false;
        for (int x = 0; x < page.width && !any; ++x)
            any = ink(page, x, y);
        if (!any)
            continue;
        if (bands.empty() || bands.back().second < y - 1)
            bands.push_back({y, y});
        else
            bands.back().second = y;
    }
    return bands;
}

int inkIn(const PaintedWindow& page, std::pair<int, int> band)
{
    int count = 0;
    for (int y = band.first; y <= band.second; ++y)
        for (int x = 0; x < page.width; ++x)
            count += ink(page, x, y);
    return count;
}

// The Data view's font made for dc's resolution, as a printout makes it.
HFONT printFont(HDC dc, bool italic)
{
    LOGFONTA font;
    std::memcpy(&font, dataViewFont.bytes, sizeof font);
    font.lfHeight = font.lfHeight * GetDeviceCaps(dc, LOGPIXELSY) / 100;
    font.lfWidth = 0;
    font.lfWeight = FW_NORMAL;
    font.lfItalic = italic;
    return CreateFontIndirectA(&font);
}

// The widest digit of that font.
int widestDigit(HDC dc)
{
    HFONT made = printFont(dc, false);
    HGDIOBJ was = SelectObject(dc, made);
    int widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        SIZE size{};
        GetTextExtentPoint32A(dc, &digit, 1, &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    SelectObject(dc, was);
    DeleteObject(made);
    return widest;
}

class PrintPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        startFresh();
        std::strcpy(printHeadline, "Liste");
        printLeftBorder = 3;
        printTopBorder = 1;
    }
    void TearDown() override
    {
        printHeadline[0] = 0;
        printLeftBorder = printTopBorder = 0;
    }
};

// The headline is heavy, the footer under it slanted, each entry's first
// line bold: the same word in each weight, against its plain line.
TEST_F(PrintPage, HeadlineFooterAndFirstLinesHaveTheirOwnFonts)
{
    // A font with a bold face of its own; the slant is made by the system.
    const FontRecord kept = dataViewFont;
    LOGFONTA tahoma{};
    tahoma.lfHeight = -40;
    std::strcpy(tahoma.lfFaceName, "Tahoma");
    std::memcpy(dataViewFont.bytes, &tahoma, sizeof tahoma);
    PaintedWindow page(900, 400), upright(900, 400);
    std::strcpy(printHeadline, "Anna");
    const std::string text = "Anna\r\nAnna\r\n\r\n";
    drawPrintout(page.dc, text.data(), text.size(), page.width, page.height, footer, [] { return true; });
    const auto bands = inkBands(page);
    ASSERT_EQ(bands.size(), 4u);
    const int plain = inkIn(page, bands[3]);
    EXPECT_GT(inkIn(page, bands[0]), plain * 11 / 10) << "the headline is not heavy";
    EXPECT_GT(inkIn(page, bands[2]), plain * 11 / 10) << "the first line is not bold";
    // The rule after the entry: light over dark, from the border of three
    // widest digits on.
    const int left = 3 * widestDigit(page.dc);
    int rule = bands[3].second + 1;
    while (rule + 1 < page.height && page.pixel(left, rule) != light)
        ++rule;
    ASSERT_LT(rule + 1, page.height) << "no rule";
    EXPECT_EQ(page.pixel(left, rule + 1), dark);
    EXPECT_NE(page.pixel(left - 1, rule), light) << "the rule starts left of the border";

    // The footer drawn upright where the printout drew it: the same ink,
    // in other places.
    HFONT font = printFont(upright.dc, false);
    HGDIOBJ was = SelectObject(upright.dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(upright.dc, &metrics);
    const int h = metrics.tmHeight + metrics.tmExternalLeading;
    TextOutA(upright.dc, 3 * widestDigit(upright.dc), 2 * h, footer, static_cast<int>(std::strlen(footer)));
    SelectObject(upright.dc, was);
    DeleteObject(font);
    const int footerInk = inkIn(page, bands[1]), uprightInk = inkIn(upright, bands[1]);
    EXPECT_NEAR(footerInk, uprightInk, uprightInk / 4) << "the footer is not in the plain weight";
    int differing = 0;
    for (int y = bands[1].first; y <= bands[1].second; ++y)
        for (int x = 0; x < page.width; ++x)
            differing += ink(page, x, y) != ink(upright, x, y);
    EXPECT_GT(differing, uprightInk / 4) << "the footer is not slanted";
    dataViewFont = kept;
}

// The print dialog needs a printer: scripts/printer.sh makes one.
class PrintCancel : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("LUMO_PRINTOUTS"))
            GTEST_SKIP() << "no printer: run scripts/printer.sh and set LUMO_PRINTOUTS";
        startFresh();
        setStoreText("Anna\r\n\r\nBob\r\n\r\n");
        printLeftBorder = 5;
        printTopBorder = 6;
    }
    void TearDown() override { printLeftBorder = printTopBorder = 0; }

    std::string statusText()
    {
        return windowText(GetDlgItem(statusBar, IDC_STATUS_TEXT));
    }
};

TEST_F(PrintCancel, EitherDialogCancelledPrintsNothingAndChangesNoMargin)
{
    answerNextDialog({IDCANCEL, {}, {}});
    EXPECT_EQ(printEntries(), -1);
    EXPECT_FALSE(uiBusy);
    ASSERT_EQ(seenDialogs().size(), 1u);

    // The printer chosen, then the settings typed and cancelled.
    SetDlgItemTextA(statusBar, IDC_STATUS_TEXT, "something else");
    answerNextDialog({IDOK, {}, {}});
    answerNextDialog({IDCANCEL, {{IDC_PRINT_LEFTBORDER, "9"}, {IDC_PRINT_HEADLINE, "Neu"}}, {}});
    EXPECT_EQ(printEntries(), -2);
    ASSERT_EQ(seenDialogs().size(), 3u);
    EXPECT_EQ(seenDialogs()[2].caption, "Drucken");
    EXPECT_FALSE(uiBusy);
    EXPECT_EQ(printLeftBorder, 5);
    EXPECT_EQ(printTopBorder, 6);
    EXPECT_STREQ(printHeadline, "");
    EXPECT_EQ(statusText(), entryCountText);
}

}  // namespace
