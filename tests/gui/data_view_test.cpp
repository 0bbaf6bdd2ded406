// The Data view driven through the main window and its own messages: the
// wheel, the caret keys, clicks, links, and what it paints.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files/config.h"
#include "gui/gui_environment.h"
#include "gui/gui_support.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/main_window.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/activation.h"
#include "views/data_view_rules.h"
#include "views/data_view_window.h"
#include "views/line_table.h"
#include "views/overview_rules.h"
#include "views/view_fonts.h"
#include "views/view_state.h"

namespace {

// Width of the first count characters of text in the view's font.
int textWidth(const std::string& text, int count, bool bold = false)
{
    LOGFONTA logFont;
    std::memcpy(&logFont, dataViewFont.bytes, sizeof logFont);
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    HFONT font = CreateFontIndirectA(&logFont);
    HDC dc = GetDC(dataViewWindow);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), count, &size);
    SelectObject(dc, previous);
    ReleaseDC(dataViewWindow, dc);
    DeleteObject(font);
    return size.cx;
}

std::vector<std::string> openedLinks;

class DataViewWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        startFresh();
        restoreColours();
        savedOpener = openLinkText;
        openLinkText = [](HWND, const char* text) { openedLinks.push_back(text); };
        openedLinks.clear();
        linkHover = false;
        if (activeView != ActiveView::DataView)
            activateDataView();
        ASSERT_EQ(activeView, ActiveView::DataView);
    }

    void TearDown() override
    {
        holdKeys(false, false);
        uiBusy = false;
        openLinkText = savedOpener;
        restoreColours();
        layoutChildWindows();
        pumpPending();
    }

    static void restoreColours()
    {
        dataViewBackColour = rgb(255, 255, 255);
        dataViewTextColour = rgb(0, 0, 0);
        dataViewHeadBackColour = rgb(200, 200, 200);
        dataViewHeadTextColour = rgb(0, 0, 255);
        linkColour = rgb(255, 0, 0);
    }

    void useText(const std::string& text)
    {
        setStoreText(text);
        resetViewState();
        repaintDataView();
        ASSERT_GT(dataViewRowCount, 8) << "the Data view is too small for these tests";
    }

    static int h() { return dataViewLineHeight; }
    static int bandTop() { return captionHeight + 1; }
    static int rowTop(int j) { return bandTop() + (j + 1) * h(); }   // row j shows line firstVisibleLine + j
    static int headTextTop() { return bandTop() + h() / 2 - 1; }
    static COLORREF screen(int x, int y) { return screenPixel(dataViewWindow, {x, y}); }
    static COLORREF inverse(COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }
    static void mouse(UINT message, int x, int y, WPARAM flags = 0)
    {
        SendMessageA(dataViewWindow, message, flags, MAKELPARAM(x, y));
    }
    static void click(int x, int y, WPARAM flags = 0)
    {
        mouse(WM_LBUTTONDOWN, x, y, flags);
        mouse(WM_LBUTTONUP, x, y, flags);
    }

    void (*savedOpener)(HWND, const char*) = nullptr;
};

TEST_F(DataViewWindow, WheelScrollBarsAndCaretKeysReachTheView)
{
    useText(numberedEntry(200));
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(firstVisibleLine, 6);
    EXPECT_EQ(caretLine, 0);   // scrolling never moves the caret
    SendMessageA(dataViewWindow, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(firstVisibleLine, 5);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(dataViewWindow, SB_VERT, &info);
    EXPECT_EQ(info.nPos, 5);
    EXPECT_EQ(info.nMax, 201);
    EXPECT_EQ(static_cast<int>(info.nPage), dataViewRowCount);

    key(VK_DOWN);   // the caret is brought back into view
    EXPECT_LE(firstVisibleLine, 1);

    // Input waits while a dialog or a change of the text is in progress.
    const int shown = firstVisibleLine;
    uiBusy = true;
    key(VK_DOWN);
    wheel(-120);
    click(2, rowTop(3) + 2);
    uiBusy = false;
    EXPECT_EQ(caretLine, 1);
    EXPECT_EQ(firstVisibleLine, shown);
}

TEST_F(DataViewWindow, HorizontalScrollStaysInRangeAndFollowsTheCaret)
{
    const std::string wide(200, 'W');
    useText(wide + "\r\n" + wide + "\r\n\r\n");
    const int width = clientRect(dataViewWindow).right;
    SendMessageA(dataViewWindow, WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(dataViewScrollX, std::min(width, dataViewTextWidth - width));
    key(VK_HOME);
    EXPECT_EQ(dataViewScrollX, 0);
    key(VK_END);
    EXPECT_EQ(dataViewScrollX, std::min(textWidth(wide, 200, true) - width / 8, dataViewTextWidth - width));
}

TEST_F(DataViewWindow, ClicksPlaceTheCaretByTheFontsWidths)
{
    useText("Name\r\nFirst line\r\nHello big world\r\n\r\n");
    activateOverview();
    EXPECT_EQ(SendMessageA(dataViewWindow, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(mainWindow),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_ACTIVATE);
    EXPECT_EQ(activeView, ActiveView::DataView);

    const std::string line = "Hello big world";
    click(textWidth(line, 4) + 4, rowTop(2) + 2);   // past three pixels into a character: behind it
    EXPECT_EQ(caretLine, 2);
    EXPECT_EQ(caretColumn, 5);
    click(textWidth("Name", 2, true) + 3, headTextTop() + 2);   // the first line, in bold
    EXPECT_EQ(caretLine, 0);
    EXPECT_EQ(caretColumn, 2);
    mouse(WM_RBUTTONDOWN, 2, rowTop(1) + 2);
    EXPECT_EQ(caretLine, 1);
    click(20, captionHeight / 2);   // the caption strip is no text
    EXPECT_EQ(caretLine, 1);
    EXPECT_FALSE(dataViewMoving);

    const int word = textWidth(line, 7) + 3;   // on the 'g' of "big"
    click(word, rowTop(2) + 2);
    mouse(WM_LBUTTONDBLCLK, word, rowTop(2) + 2);
    EXPECT_TRUE(selectionActive);
    EXPECT_EQ(selStartColumn, 6);
    EXPECT_FALSE(menuItemGrayed(GetMenu(mainWindow), IDM_COPY));
}

TEST_F(DataViewWindow, FirstLineBandHasItsColoursRulesAndBoldText)
{
    useText("MMMMMM\r\nMMMMMM\r\n\r\n");
    const int x = clientRect(dataViewWindow).right - 5;
    const int rule = bandTop() + 2 * h() - 2;
    caretLine = 1;   // keep the caret out of the band
    {
        PaintedWindow painted(dataViewWindow, paintDataView);
        EXPECT_EQ(painted.pixel(x, rule - 1), RGB(200, 200, 200));
        EXPECT_EQ(painted.pixel(x, rule), RGB(140, 140, 140));
        EXPECT_EQ(painted.pixel(x, rule + 1), RGB(70, 70, 70));
        EXPECT_EQ(painted.pixel(x, rule + 2), RGB(255, 255, 255));
        // The same text, bold and blue in the first line, normal in the second.
        int boldInk = 0, normalInk = 0, blue = 0;
        for (int y = 0; y < h(); ++y)
            for (int px = 4; px < x; ++px) {
                COLORREF head = painted.pixel(px, headTextTop() + y);
                boldInk += head != RGB(200, 200, 200);
                blue += head == RGB(0, 0, 255);
                normalInk += painted.pixel(px, rowTop(1) + y) != RGB(255, 255, 255);
            }
        EXPECT_GT(normalInk, 0);
        EXPECT_GT(boldInk, normalInk);
        EXPECT_GT(blue, 0);
    }
    dataViewHeadBackColour = rgb(10, 200, 30);   // read at every paint
    EXPECT_EQ(PaintedWindow(dataViewWindow, paintDataView).pixel(x, bandTop()), RGB(10, 200, 30));
}

TEST_F(DataViewWindow, CaretAndSelectionAreDrawnByInversion)
{
    useText("Name\r\nSome text here\r\nMore\r\n\r\n");
    caretLine = 2;
    caretColumn = 0;
    selectionActive = true;
    selStartLine = selEndLine = 1;
    selStartColumn = 0;
    selEndColumn = 4;
    const int caretY = rowTop(2) + h() / 2;
    const int selectedX = textWidth("Some", 2);
    const int selectedY = rowTop(1) + 1;
    const int outsideX = textWidth("Some text here", 14) + 20;
    const COLORREF white = RGB(255, 255, 255);

    PaintedWindow painted(dataViewWindow, paintDataView);
    const COLORREF selected = painted.pixel(selectedX, selectedY);
    EXPECT_EQ(painted.pixel(0, caretY), RGB(0, 0, 0));
    EXPECT_EQ(painted.pixel(outsideX, selectedY), white);
    painted.paint(1);   // both drawn a second time: gone
    EXPECT_EQ(painted.pixel(0, caretY), white);
    EXPECT_EQ(painted.pixel(selectedX, selectedY), inverse(selected));
    EXPECT_EQ(painted.pixel(outsideX, selectedY), white);
    painted.paint(1);
    EXPECT_EQ(painted.pixel(0, caretY), RGB(0, 0, 0));
    painted.paint(4);   // the caret's line redrawn without the caret
    EXPECT_EQ(painted.pixel(0, caretY), white);
    EXPECT_EQ(painted.pixel(selectedX, selectedY), inverse(selected));
    painted.paint(9);   // not a mode: nothing
    EXPECT_EQ(painted.pixel(0, caretY), white);
}

TEST_F(DataViewWindow, LinkUnderThePointerIsUnderlinedAndAClickOpensIt)
{
    useText("\"Home\" page\r\nWeb: \"http://example.org\" and more\r\n\r\nOther\r\n\r\n");
    const std::string web = "Web: \"http://example.org\"";
    const int x = textWidth(web, 12);
    const int y = rowTop(1) + h() / 2;
    const int underline = bandTop() + 3 * h() - 2;
    const bool readable = screen(x, underline) != CLR_INVALID;
    mouse(WM_MOUSEMOVE, x, y);
    EXPECT_TRUE(linkHover);
    EXPECT_EQ(GetCursor(), LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR)));
    if (readable) {
        EXPECT_EQ(screen(x, underline), RGB(255, 0, 0));
        EXPECT_EQ(screen(textWidth(web, 3), underline), RGB(255, 255, 255));   // not under "Web"
    }
    mouse(WM_MOUSEMOVE, textWidth(web, 2), y);
    EXPECT_FALSE(linkHover);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_IBEAM));
    if (readable) {
        EXPECT_EQ(screen(x, underline), RGB(255, 255, 255));
    }

    const int headX = textWidth("\"Home\"", 3, true);
    const int headUnderline = bandTop() + h() + h() / 2 - 2;
    mouse(WM_MOUSEMOVE, textWidth("\"Home\"", 2, true), headTextTop() + h() / 2);
    EXPECT_EQ(linkLine, 0);
    if (readable) {
        EXPECT_EQ(screen(headX, headUnderline), RGB(255, 0, 0));
    }
    mouse(WM_MOUSEMOVE, 20, captionHeight / 2);   // the caption strip ends it
    EXPECT_FALSE(linkHover);
    if (readable) {
        EXPECT_EQ(screen(headX, headUnderline), RGB(200, 200, 200));
    }

    mouse(WM_MOUSEMOVE, x, y);
    click(x, y);
    EXPECT_EQ(openedLinks, std::vector<std::string>{"http://example.org"});
    EXPECT_EQ(caretLine, 0);   // nothing else happens
    mouse(WM_MOUSEMOVE, x, y);
    click(x, y, MK_CONTROL);   // with Ctrl the link can be edited
    EXPECT_EQ(openedLinks.size(), 1u);
    EXPECT_EQ(caretLine, 1);
    // Another entry shown under the resting pointer: no link is left there.
    mouse(WM_MOUSEMOVE, x, y);
    currentEntryOffset = entryIndex[1];
    repaintDataView();
    click(x, y);
    EXPECT_EQ(openedLinks.size(), 1u);
}

TEST_F(DataViewWindow, LinkClickReachesTheShell)
{
    openLinkText = savedOpener;
    auto folder = std::filesystem::path(testProgramDirectory()) / "link";
    std::filesystem::create_directories(folder);
    auto script = folder / "mark.cmd";
    auto marker = folder / "marker.txt";
    writeFileBytes(script, "@echo opened> \"" + marker.string() + "\"\r\n");
    const std::string line = "Run: \"" + script.string() + "\"";
    useText("Name\r\n" + line + "\r\n\r\n");
    mouse(WM_MOUSEMOVE, textWidth(line, 8), rowTop(1) + h() / 2);
    ASSERT_TRUE(linkHover);
    click(textWidth(line, 8), rowTop(1) + h() / 2);
    EXPECT_TRUE(pumpUntil([&] { return readFileBytes(marker).find("opened") != std::string::npos; }, 30000))
        << "the shell did not run " << script.string();
}

TEST_F(DataViewWindow, HeldButtonSelectsUpToThePointer)
{
    useText("Name\r\nFirst line\r\nSecond line\r\nThird line\r\n\r\n");
    const POINT middle = {textWidth("Second line", 4), rowTop(2) + 1};
    const COLORREF unselected = screen(middle.x, middle.y);
    // Let go once the middle line shows selected.
    ASSERT_TRUE(dragWithButtonHeld(dataViewWindow, {textWidth("First line", 2) + 3, rowTop(1) + h() / 2},
                                   {textWidth("Third line", 3) + 3, rowTop(3) + h() / 2}, [&] {
                                       return unselected != CLR_INVALID &&
                                              screen(middle.x, middle.y) == inverse(unselected);
                                   }));
    if (!selectionActive && caretLine == 0)
        GTEST_SKIP() << "mouse input does not reach the window";
    EXPECT_FALSE(mouseHeld);
    EXPECT_TRUE(selectionActive);
    EXPECT_EQ(selStartLine, 1);
    EXPECT_EQ(selStartColumn, 2);
    EXPECT_EQ(selEndLine, 3);
    EXPECT_EQ(selEndColumn, 3);
    EXPECT_EQ(caretLine, 3);
    EXPECT_FALSE(menuItemGrayed(GetMenu(mainWindow), IDM_COPY));
}

}  // namespace
