// The Overview window driven through the main window: keys, the wheel,
// the scroll bars, clicks and the type-ahead, and what it paints.  Also
// where both child windows may be placed.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "files/config.h"
#include "gui/gui_support.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/main_window.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/data_view_window.h"
#include "views/overview_rules.h"
#include "views/overview_window.h"
#include "views/paint_objects.h"
#include "views/type_ahead.h"
#include "views/view_fonts.h"
#include "views/view_state.h"

namespace {

const COLORREF grey = RGB(230, 230, 230), bar = RGB(25, 25, 25);

void character(char c)
{
    SendMessageA(mainWindow, WM_CHAR, static_cast<unsigned char>(c), 0);
}

void repaintOverview()
{
    InvalidateRect(overviewWindow, nullptr, FALSE);
    UpdateWindow(overviewWindow);
}

void paintIntoBitmap(HDC dc, int mode)
{
    paintOverview(dc, mode);
    releasePaintObjects();
}

class OverviewWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        startFresh();
        overviewBackColour = rgb(230, 230, 230);
        overviewTextColour = rgb(0, 0, 0);
        if (activeView != ActiveView::Overview)
            command(IDM_ROTATE);
        ASSERT_EQ(activeView, ActiveView::Overview);
    }

    void TearDown() override
    {
        holdKeys(false, false);
        if (typeAheadLength > 0)
            endTypeAhead();
        overviewBackColour = rgb(230, 230, 230);
        layoutChildWindows();
        pumpPending();
    }

    // "Entry 00000" to "Entry <n-1>", in order, each with a second line.
    void useBook(int n)
    {
        std::string text;
        text.reserve(static_cast<size_t>(n) * 24);
        char entry[40];
        for (int i = 0; i < n; ++i) {
            std::snprintf(entry, sizeof entry, "Entry %05d\r\nStreet 1\r\n\r\n", i);
            text += entry;
        }
        useText(text);
        ASSERT_GT(overviewRowCount, 6) << "the Overview is too small for these tests";
    }

    static int pitch() { return overviewRowPitch(overviewLineHeight); }
    static int rowTop(int row) { return captionHeight + 1 + row * pitch(); }

    void useText(const std::string& text)
    {
        setStoreText(text);
        resetViewState();
        repaintOverview();
    }
};

TEST_F(OverviewWindow, KeysWheelAndScrollBarsMoveTheCursorAndShiftMarks)
{
    useBook(50);
    HMENU menu = GetMenu(mainWindow);
    key(VK_DOWN);
    holdKeys(true, false);
    key(VK_DOWN);
    key(VK_DOWN);
    holdKeys(false, false);
    EXPECT_EQ(cursorRow, 3);
    EXPECT_EQ(currentEntryOffset, entryIndex[3]);   // the Data view follows
    EXPECT_TRUE(markActive);
    EXPECT_EQ(markFirst, 1);
    EXPECT_FALSE(menuItemGrayed(menu, IDM_COPY));
    EXPECT_FALSE(menuItemGrayed(menu, IDM_CUT));
    {
        PaintedWindow painted(overviewWindow, paintIntoBitmap);   // marked rows inverted over their whole band
        const int x = clientRect(overviewWindow).right - 3;
        EXPECT_EQ(painted.pixel(x, rowTop(2) + pitch() / 2 + 1), bar);
        EXPECT_EQ(painted.pixel(x, rowTop(5) + pitch() / 2 + 1), grey);
    }
    key(VK_UP);
    EXPECT_FALSE(markActive);
    EXPECT_TRUE(menuItemGrayed(menu, IDM_COPY));

    wheel(-120);
    EXPECT_EQ(currentEntry(), 3);
    wheel(240);   // one step whatever the size of the delta
    EXPECT_EQ(currentEntry(), 2);
    holdKeys(false, true);
    key(VK_END);
    EXPECT_EQ(currentEntry(), 49);
    holdKeys(false, false);
    SendMessageA(overviewWindow, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(currentEntry(), 48);

    // A click is no held button; on the caption strip it does not move the window.
    SendMessageA(overviewWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(20, rowTop(4) + 3));
    SendMessageA(overviewWindow, WM_LBUTTONUP, 0, MAKELPARAM(20, rowTop(4) + 3));
    EXPECT_EQ(cursorRow, 4);
    EXPECT_FALSE(mouseHeld);
    RECT before, after;
    GetWindowRect(overviewWindow, &before);
    SendMessageA(overviewWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(20, captionHeight / 2));
    EXPECT_FALSE(overviewMoving);
    SendMessageA(overviewWindow, WM_MOUSEMOVE, 0, MAKELPARAM(80, 60));
    SendMessageA(overviewWindow, WM_LBUTTONUP, 0, MAKELPARAM(80, 60));
    GetWindowRect(overviewWindow, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    SendMessageA(overviewWindow, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_GT(overviewScrollX, 0);
}

TEST_F(OverviewWindow, TypingSearchesAndShowsTheTextInTheCaption)
{
    useText("Maier\r\n\r\nMeyer\r\n\r\nMoser\r\n\r\nOtto\r\n\r\nZander\r\n\r\n");
    HDC screen = GetDC(overviewWindow);
    auto captionPixels = [&] {
        std::vector<COLORREF> pixels;
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < captionHeight; ++y)
                pixels.push_back(GetPixel(screen, x, y));
        return pixels;
    };
    const auto before = captionPixels();
    character('m');
    character('i');
    const auto typed = captionPixels();
    EXPECT_STREQ(overviewCaption, "mi");
    EXPECT_EQ(currentEntryOffset, entryIndex[2]);
    character('\r');   // Enter comes as a key too; as a character it is not text
    EXPECT_STREQ(overviewCaption, "mi");
    key(VK_ESCAPE);
    EXPECT_STREQ(overviewCaption, "Overview");
    EXPECT_EQ(captionPixels(), before);
    ReleaseDC(overviewWindow, screen);
    if (before.front() != CLR_INVALID) {
        EXPECT_NE(typed, before);
    }
}

TEST_F(OverviewWindow, CursorBarIsAnInvertedFrameOverTheBackgroundColour)
{
    useBook(20);
    key(VK_DOWN);
    key(VK_DOWN);
    const int x = clientRect(overviewWindow).right - 3;
    {
        PaintedWindow painted(overviewWindow, paintIntoBitmap);
        EXPECT_EQ(painted.pixel(x, rowTop(2)), bar);                            // top line of the bar
        EXPECT_EQ(painted.pixel(x, rowTop(2) + overviewLineHeight + 1), bar);   // bottom line
        EXPECT_EQ(painted.pixel(x, rowTop(2) + 2), grey);                       // inside: only a frame
        EXPECT_EQ(painted.pixel(x, rowTop(1)), grey);
        EXPECT_EQ(painted.pixel(x, clientRect(overviewWindow).bottom - 1), grey);   // below the entries
        painted.paint(1);   // inverting once more removes the bar, and again brings it back
        EXPECT_EQ(painted.pixel(x, rowTop(2)), grey);
        painted.paint(1);
        EXPECT_EQ(painted.pixel(x, rowTop(2)), bar);
        painted.paint(7);   // not a mode: nothing
        EXPECT_EQ(painted.pixel(x, rowTop(2)), bar);
    }
    // On the screen a key moves the bar by inversion only.
    repaintOverview();
    key(VK_DOWN);
    if (screenPixel(overviewWindow, {x, rowTop(3)}) != CLR_INVALID) {
        EXPECT_EQ(screenPixel(overviewWindow, {x, rowTop(3)}), bar);
        EXPECT_EQ(screenPixel(overviewWindow, {x, rowTop(2)}), grey);
    }

    overviewBackColour = rgb(200, 220, 240);
    PaintedWindow painted(overviewWindow, paintIntoBitmap);
    EXPECT_EQ(painted.pixel(x, rowTop(3) + 3), RGB(200, 220, 240));
    EXPECT_EQ(painted.pixel(x, rowTop(3)), RGB(55, 35, 15));   // the bar inverts whatever is there
}

TEST_F(OverviewWindow, HeldCaptionStripsDragBothViewsButNotOverTheToolbar)
{
    useBook(5);
    const struct {
        HWND window;
        const WindowRect& rect;
        const bool& moving;
    } views[] = {{overviewWindow, overviewRect, overviewMoving}, {dataViewWindow, dataViewRect, dataViewMoving}};
    for (const auto& view : views) {
        SetForegroundWindow(mainWindow);
        const POINT start = {30, captionHeight / 2};
        moveMouseTo(view.window, start);
        pumpPending();
        POINT grabbed;   // where the pointer really is, after the scaling of absolute input
        GetCursorPos(&grabbed);
        const WindowRect placed = view.rect;
        pressLeftButton();
        if (!pumpUntil([&] { return view.moving; }, 2000)) {
            releaseLeftButton();
            pumpPending();
            GTEST_SKIP() << "mouse input does not reach the window";
        }
        moveMouseTo(view.window, {start.x + 40, start.y + 30});
        POINT moved;
        EXPECT_TRUE(pumpUntil([&] {
            GetCursorPos(&moved);
            return moved.x != grabbed.x && view.rect.x == placed.x + (moved.x - grabbed.x) &&
                   view.rect.y == placed.y + (moved.y - grabbed.y);
        }, 2000)) << view.rect.x << "," << view.rect.y;
        EXPECT_EQ(view.rect.width, placed.width);
        EXPECT_EQ(view.rect.height, placed.height);
        const POINT away = {start.x - 2000, start.y - 500};
        moveMouseTo(view.window, away);
        EXPECT_TRUE(pumpUntil([&] { return view.rect.y == toolbarHeight && view.rect.x == 0; }, 2000))
            << view.rect.x << "," << view.rect.y;
        releaseLeftButton();
        EXPECT_TRUE(pumpUntil([&] { return !view.moving; }, 2000));
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(OverviewWindow, BothViewsTrackTheirPlaceAndStayBelowTheToolbar)
{
    useBook(3);
    const struct {
        HWND window;
        const WindowRect& rect;
    } views[] = {{overviewWindow, overviewRect}, {dataViewWindow, dataViewRect}};
    for (const auto& view : views) {
        MoveWindow(view.window, 10, toolbarHeight + 5, 300, 250, TRUE);
        EXPECT_EQ(view.rect.x, 10);
        EXPECT_EQ(view.rect.y, toolbarHeight + 5);
        EXPECT_EQ(view.rect.height, 250);
        MoveWindow(view.window, 10, toolbarHeight - 10, 300, 250, TRUE);
        EXPECT_EQ(view.rect.y, toolbarHeight);
        EXPECT_EQ(view.rect.height, 240);   // the bottom edge stays
    }
}

TEST_F(OverviewWindow, PaintsOfBothViewsDoNotLeakGdiObjects)
{
    useBook(200);
    useText("Name\r\nLine 1\r\nLine 2\r\nWeb: \"x\"\r\n\r\n" + storeText());
    markActive = true;
    markFirst = 2;
    markLast = 5;
    selectionActive = true;
    selStartLine = 1;
    selEndLine = 3;
    selEndColumn = 2;
    repaintOverview();
    repaintDataView();
    long before = gdiObjectCount();
    if (before == 0)
        GTEST_SKIP() << "no count of GDI objects on this system";
    for (int i = 0; i < 200; ++i) {
        repaintOverview();
        repaintDataView();
        PaintedWindow overview(overviewWindow, paintIntoBitmap), dataView(dataViewWindow, paintDataView);
        overview.paint(1);
        for (int mode = 1; mode <= 4; ++mode)
            dataView.paint(mode);
    }
    long after = gdiObjectCount();
    EXPECT_LE(std::labs(after - before), 3) << before << " -> " << after;
}

}  // namespace
