// The Overview window driven through the main window: keys, the wheel,
// the scroll bars, clicks and the type-ahead, and what it paints.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "files/config.h"
#include "gui/gui_support.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/main_window.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/overview_rules.h"
#include "views/overview_window.h"
#include "views/paint_objects.h"
#include "views/type_ahead.h"
#include "views/view_fonts.h"
#include "views/view_state.h"

namespace {

void command(int id)
{
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pumpPending();
}

void key(WPARAM k)
{
    SendMessageA(mainWindow, WM_KEYDOWN, k, 0);
}

void character(char c)
{
    SendMessageA(mainWindow, WM_CHAR, static_cast<unsigned char>(c), 0);
}

void wheel(int delta)
{
    SendMessageA(mainWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<SHORT>(delta))), 0);
}

// The thread's key state, which GetKeyState reads.
void holdKeys(bool shift, bool control)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
}

void repaintOverview()
{
    InvalidateRect(overviewWindow, nullptr, FALSE);
    UpdateWindow(overviewWindow);
}

// "Entry 00000" to "Entry <n-1>", in order, each with a second line.
void setNumberedBook(int n)
{
    std::string text;
    text.reserve(static_cast<size_t>(n) * 24);
    char heading[32];
    for (int i = 0; i < n; ++i) {
        std::snprintf(heading, sizeof heading, "Entry %05d\r\n", i);
        text += heading;
        text += "Street 1\r\n\r\n";
    }
    setStoreText(text);
}

int pitch()
{
    return overviewRowPitch(overviewLineHeight);
}

int rowTop(int row)
{
    return captionHeight + 1 + row * pitch();
}

RECT overviewClient()
{
    RECT client;
    GetClientRect(overviewWindow, &client);
    return client;
}

// The Overview painted (mode 0) into a bitmap of its client size.
struct PaintedOverview {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;

    PaintedOverview()
    {
        RECT client = overviewClient();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = client.right;
        info.bmiHeader.biHeight = -client.bottom;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
        paint(0);
    }
    ~PaintedOverview()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    void paint(int mode)
    {
        paintOverview(dc, mode);
        releasePaintObjects();
    }
    COLORREF pixel(int x, int y) const { return GetPixel(dc, x, y); }
};

// Live GDI objects of this process.  Wine answers GetGuiResources with 0;
// its handle table accepts a handle made of the bare slot number, so
// there the slots in use are counted instead.
long gdiObjectCount()
{
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0)
        return static_cast<long>(counted);
    long n = 0;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
        n += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    return n;
}

class OverviewWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        seenDialogs().clear();
        command(IDM_NEW);
        if (windowArrangement != 1)
            command(IDM_SIDEBYSIDE);
        layoutChildWindows();
        holdKeys(false, false);
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

    void useBook(int n)
    {
        setNumberedBook(n);
        resetViewState();
        repaintOverview();
        ASSERT_GT(overviewRowCount, 6) << "the Overview is too small for these tests";
    }
};

TEST_F(OverviewWindow, KeysAndWheelMoveTheCurrentEntryAndTheDataViewFollows)
{
    useBook(50);
    const int rows = overviewRowCount;
    for (int i = 0; i < 3; ++i)
        key(VK_DOWN);
    EXPECT_EQ(cursorRow, 3);
    EXPECT_EQ(currentEntryOffset, entryIndex[3]);

    wheel(-120);
    EXPECT_EQ(currentEntry(), 4);
    wheel(240);   // one step whatever the size of the delta
    EXPECT_EQ(currentEntry(), 3);

    key(VK_NEXT);
    EXPECT_EQ(firstVisibleEntry, rows - 2);
    EXPECT_EQ(cursorRow, 3);
    EXPECT_EQ(currentEntryOffset, entryIndex[rows + 1]);
    key(VK_PRIOR);
    EXPECT_EQ(firstVisibleEntry, 0);

    holdKeys(false, true);
    key(VK_END);
    EXPECT_EQ(currentEntry(), 49);
    EXPECT_EQ(cursorRow, rows - 2);
    EXPECT_EQ(currentEntryOffset, entryIndex[49]);
    key(VK_HOME);
    EXPECT_EQ(currentEntry(), 0);
    holdKeys(false, false);

    for (int i = 0; i < rows - 1; ++i)
        key(VK_DOWN);
    EXPECT_EQ(cursorRow, rows - 2);   // the last whole row stays free
    EXPECT_EQ(firstVisibleEntry, 1);

    // The scroll bar's arrows and pages work as the keys.
    SendMessageA(overviewWindow, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(cursorRow, rows - 3);
    SendMessageA(overviewWindow, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(firstVisibleEntry, 1 + rows - 2);
}

TEST_F(OverviewWindow, ShiftMarksEntriesAndEnablesCopyAndCut)
{
    useBook(30);
    HMENU menu = GetMenu(mainWindow);
    key(VK_DOWN);
    holdKeys(true, false);
    key(VK_DOWN);
    key(VK_DOWN);
    holdKeys(false, false);
    EXPECT_TRUE(markActive);
    EXPECT_EQ(markFirst, 1);
    EXPECT_EQ(markLast, 3);
    EXPECT_FALSE(menuItemGrayed(menu, IDM_COPY));
    EXPECT_FALSE(menuItemGrayed(menu, IDM_CUT));

    {
        // Marked rows are inverted over their whole band.
        PaintedOverview painted;
        int x = overviewClient().right - 3;
        int middle = pitch() / 2 + 1;
        EXPECT_EQ(painted.pixel(x, rowTop(2) + middle), RGB(25, 25, 25));
        EXPECT_EQ(painted.pixel(x, rowTop(5) + middle), RGB(230, 230, 230));
    }

    key(VK_UP);
    EXPECT_FALSE(markActive);
    EXPECT_TRUE(menuItemGrayed(menu, IDM_COPY));
    EXPECT_EQ(currentEntry(), 2);
}

TEST_F(OverviewWindow, TypingSearchesAndShowsTheTextInTheCaption)
{
    setStoreText("Maier\r\n\r\nMeyer\r\n\r\nMoser\r\n\r\nOtto\r\n\r\nZander\r\n\r\n");
    resetViewState();
    repaintOverview();

    character('m');
    character('i');
    EXPECT_STREQ(overviewCaption, "mi");
    EXPECT_EQ(currentEntry(), 2);
    EXPECT_EQ(currentEntryOffset, entryIndex[2]);
    character('\r');   // Enter comes as a key too; as a character it is not text
    EXPECT_STREQ(overviewCaption, "mi");

    key(VK_BACK);
    EXPECT_STREQ(overviewCaption, "m");
    EXPECT_EQ(currentEntry(), 0);
    key(VK_ESCAPE);
    EXPECT_STREQ(overviewCaption, "Overview");
    EXPECT_EQ(typeAheadLength, 0);

    character('z');
    EXPECT_EQ(currentEntry(), 4);
    key(VK_RETURN);   // to the Data view: the type-ahead ends
    EXPECT_EQ(activeView, ActiveView::DataView);
    EXPECT_STREQ(overviewCaption, "Overview");
}

TEST_F(OverviewWindow, CaptionStripShowsTheTypedText)
{
    useBook(10);
    HDC screen = GetDC(overviewWindow);
    auto captionPixels = [&] {
        std::vector<COLORREF> pixels;
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < captionHeight; ++y)
                pixels.push_back(GetPixel(screen, x, y));
        return pixels;
    };
    repaintOverview();
    auto before = captionPixels();
    if (before.front() == CLR_INVALID) {
        ReleaseDC(overviewWindow, screen);
        GTEST_SKIP() << "the window's pixels cannot be read";
    }
    character('W');
    auto typed = captionPixels();
    key(VK_ESCAPE);
    auto after = captionPixels();
    ReleaseDC(overviewWindow, screen);
    EXPECT_NE(typed, before);
    EXPECT_EQ(after, before);
}

TEST_F(OverviewWindow, CursorBarIsDrawnByInversion)
{
    useBook(20);
    key(VK_DOWN);
    key(VK_DOWN);
    const int x = overviewClient().right - 3;

    PaintedOverview painted;
    EXPECT_EQ(painted.pixel(x, rowTop(2)), RGB(25, 25, 25));                           // top line of the bar
    EXPECT_EQ(painted.pixel(x, rowTop(2) + overviewLineHeight + 1), RGB(25, 25, 25));  // bottom line
    EXPECT_EQ(painted.pixel(x, rowTop(2) + 2), RGB(230, 230, 230));                    // inside: only a frame
    EXPECT_EQ(painted.pixel(x, rowTop(1)), RGB(230, 230, 230));
    EXPECT_EQ(painted.pixel(x, overviewClient().bottom - 1), RGB(230, 230, 230));      // rows below the entries

    // Inverting once more removes the bar, and again brings it back.
    painted.paint(1);
    EXPECT_EQ(painted.pixel(x, rowTop(2)), RGB(230, 230, 230));
    painted.paint(1);
    EXPECT_EQ(painted.pixel(x, rowTop(2)), RGB(25, 25, 25));
    painted.paint(7);   // not a mode: nothing
    EXPECT_EQ(painted.pixel(x, rowTop(2)), RGB(25, 25, 25));

    // The same on the screen after a key moved the bar by inversion only.
    repaintOverview();
    key(VK_DOWN);
    HDC screen = GetDC(overviewWindow);
    COLORREF bar = GetPixel(screen, x, rowTop(3));
    COLORREF oldBar = GetPixel(screen, x, rowTop(2));
    ReleaseDC(overviewWindow, screen);
    if (bar != CLR_INVALID) {
        EXPECT_EQ(bar, RGB(25, 25, 25));
        EXPECT_EQ(oldBar, RGB(230, 230, 230));
    }
}

TEST_F(OverviewWindow, BackgroundFollowsTheColourSetting)
{
    useBook(3);
    const int x = overviewClient().right - 3;
    const int y = rowTop(6) + 3;
    {
        PaintedOverview painted;
        EXPECT_EQ(painted.pixel(x, y), RGB(230, 230, 230));
    }
    overviewBackColour = rgb(200, 220, 240);
    repaintOverview();
    PaintedOverview painted;
    EXPECT_EQ(painted.pixel(x, y), RGB(200, 220, 240));
    EXPECT_EQ(painted.pixel(x, rowTop(0)), RGB(55, 35, 15));   // the bar inverts whatever is there

    HDC screen = GetDC(overviewWindow);
    COLORREF shown = GetPixel(screen, x, y);
    ReleaseDC(overviewWindow, screen);
    if (shown != CLR_INVALID) {
        EXPECT_EQ(shown, RGB(200, 220, 240));
    }
}

TEST_F(OverviewWindow, ClicksMoveTheCursorAndTheCaptionStripStaysPut)
{
    useBook(30);
    // The button is not really down: a short click.
    SendMessageA(overviewWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(20, rowTop(4) + 3));
    SendMessageA(overviewWindow, WM_LBUTTONUP, 0, MAKELPARAM(20, rowTop(4) + 3));
    EXPECT_EQ(cursorRow, 4);
    EXPECT_EQ(currentEntryOffset, entryIndex[4]);
    EXPECT_FALSE(mouseHeld);

    useBook(3);
    SendMessageA(overviewWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(20, rowTop(6) + 3));
    SendMessageA(overviewWindow, WM_LBUTTONUP, 0, MAKELPARAM(20, rowTop(6) + 3));
    EXPECT_EQ(cursorRow, 2);   // below the last entry: the last entry

    RECT before;
    GetWindowRect(overviewWindow, &before);
    SendMessageA(overviewWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(20, captionHeight / 2));
    EXPECT_FALSE(overviewMoving);
    SendMessageA(overviewWindow, WM_MOUSEMOVE, 0, MAKELPARAM(80, 60));
    SendMessageA(overviewWindow, WM_LBUTTONUP, 0, MAKELPARAM(80, 60));
    RECT after;
    GetWindowRect(overviewWindow, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(OverviewWindow, HeldCaptionStripDragsTheWindowButNotOverTheToolbar)
{
    useBook(5);
    SetForegroundWindow(mainWindow);
    pumpPending();
    POINT start = {30, captionHeight / 2};
    ClientToScreen(overviewWindow, &start);
    auto mouse = [](DWORD flags, POINT at) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof input);
    };
    mouse(0, start);
    pumpPending();
    POINT grabbed;   // where the pointer really is, after the scaling of absolute input
    GetCursorPos(&grabbed);
    WindowRect placed = overviewRect;
    mouse(MOUSEEVENTF_LEFTDOWN, start);
    if (!pumpUntil([] { return overviewMoving; }, 2000)) {
        mouse(MOUSEEVENTF_LEFTUP, start);
        pumpPending();
        GTEST_SKIP() << "mouse input does not reach the window";
    }
    mouse(0, {start.x + 40, start.y + 30});
    POINT moved;
    EXPECT_TRUE(pumpUntil([&] {
        GetCursorPos(&moved);
        return moved.x != grabbed.x && overviewRect.x == placed.x + (moved.x - grabbed.x) &&
               overviewRect.y == placed.y + (moved.y - grabbed.y);
    }, 2000)) << overviewRect.x << "," << overviewRect.y;
    EXPECT_EQ(overviewRect.width, placed.width);
    EXPECT_EQ(overviewRect.height, placed.height);
    mouse(0, {start.x - 500, start.y - 500});
    EXPECT_TRUE(pumpUntil([] { return overviewRect.y == toolbarHeight && overviewRect.x == 0; }, 2000))
        << overviewRect.x << "," << overviewRect.y;
    mouse(MOUSEEVENTF_LEFTUP, {start.x - 500, start.y - 500});
    EXPECT_TRUE(pumpUntil([] { return !overviewMoving; }, 2000));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(OverviewWindow, PlacementIsTrackedAndKeptBelowTheToolbar)
{
    useBook(3);
    MoveWindow(overviewWindow, 10, toolbarHeight + 5, 300, 250, TRUE);
    EXPECT_EQ(overviewRect.x, 10);
    EXPECT_EQ(overviewRect.y, toolbarHeight + 5);
    EXPECT_EQ(overviewRect.height, 250);
    MoveWindow(overviewWindow, 10, toolbarHeight - 10, 300, 250, TRUE);
    EXPECT_EQ(overviewRect.y, toolbarHeight);
    EXPECT_EQ(overviewRect.height, 240);   // the bottom edge stays

    MINMAXINFO info{};
    SendMessageA(overviewWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 100);
    EXPECT_EQ(info.ptMinTrackSize.y, 3 * captionHeight + 4 * overviewLineHeight);
}

TEST_F(OverviewWindow, HorizontalKeysScrollTheHeadings)
{
    setStoreText(std::string(200, 'W') + "\r\n\r\nB\r\n\r\n");
    resetViewState();
    repaintOverview();
    SendMessageA(overviewWindow, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(overviewScrollX, overviewClient().right / 4);
    key(VK_HOME);
    EXPECT_EQ(overviewScrollX, 0);
    // End brings the end of the long heading to the right edge.
    key(VK_END);
    EXPECT_GT(overviewScrollX, 0);
    EXPECT_LE(overviewScrollX, overviewTextWidth - overviewClient().right);
}

TEST_F(OverviewWindow, PaintsDoNotLeakGdiObjects)
{
    useBook(200);
    markActive = true;
    markFirst = 2;
    markLast = 5;
    repaintOverview();
    long before = gdiObjectCount();
    if (before == 0)
        GTEST_SKIP() << "no count of GDI objects on this system";
    for (int i = 0; i < 200; ++i) {
        repaintOverview();
        PaintedOverview painted;
        painted.paint(1);
    }
    long after = gdiObjectCount();
    EXPECT_LE(std::labs(after - before), 3) << before << " -> " << after;
}

TEST_F(OverviewWindow, FullPaintTimeWith100000Entries)
{
    useBook(100000);
    holdKeys(false, true);
    key(VK_END);
    holdKeys(false, false);
    EXPECT_EQ(currentEntry(), 99999);

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    const int paints = 200;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < paints; ++i)
        repaintOverview();
    QueryPerformanceCounter(&end);
    double windowMs = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / paints;

    PaintedOverview painted;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < paints; ++i)
        painted.paint(0);
    QueryPerformanceCounter(&end);
    double listMs = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / paints;
    // Scrolling: every paint also moves the scroll bar's thumb.
    QueryPerformanceCounter(&start);
    for (int i = 0; i < paints; ++i) {
        firstVisibleEntry = 50000 + i;
        repaintOverview();
    }
    QueryPerformanceCounter(&end);
    double scrollMs = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / paints;
    std::printf("[ figures  ] Overview full paint, 100000 entries, %d rows: %.3f ms per WM_PAINT, %.3f ms per "
                "paintOverview into a bitmap, %.3f ms per WM_PAINT while scrolling\n",
                overviewRowCount, windowMs, listMs, scrollMs);
}

}  // namespace
