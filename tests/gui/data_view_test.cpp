// The Data view driven through the main window and its own messages: the
// wheel, the caret keys, clicks and double clicks, links, and what it
// paints on the screen.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "files/config.h"
#include "gui/gui_environment.h"
#include "gui/gui_support.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/main_window.h"
#include "shell/ui_busy.h"
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

void command(int id)
{
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pumpPending();
}

void key(WPARAM k)
{
    SendMessageA(mainWindow, WM_KEYDOWN, k, 0);
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

void mouse(UINT message, int x, int y, WPARAM flags = 0)
{
    SendMessageA(dataViewWindow, message, flags, MAKELPARAM(x, y));
}

void click(int x, int y, WPARAM flags = 0)
{
    mouse(WM_LBUTTONDOWN, x, y, flags);
    mouse(WM_LBUTTONUP, x, y, flags);
}

int h()
{
    return dataViewLineHeight;
}

int bandTop()
{
    return captionHeight + 1;
}

// Top of row j of the scrolling area (row j shows line firstVisibleLine + j).
int rowTop(int j)
{
    return bandTop() + (j + 1) * h();
}

int headTextTop()
{
    return bandTop() + h() / 2 - 1;
}

RECT client()
{
    RECT r;
    GetClientRect(dataViewWindow, &r);
    return r;
}

// Width of the first count characters of text in the view's font.
int textWidth(const char* text, int count, bool bold = false)
{
    LOGFONTA logFont;
    std::memcpy(&logFont, dataViewFont.bytes, sizeof logFont);
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    HFONT font = CreateFontIndirectA(&logFont);
    HDC dc = GetDC(dataViewWindow);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, count, &size);
    SelectObject(dc, previous);
    ReleaseDC(dataViewWindow, dc);
    DeleteObject(font);
    return size.cx;
}

// The Data view painted into a bitmap of its client size.
struct PaintedDataView {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;

    PaintedDataView()
    {
        RECT r = client();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = r.right;
        info.bmiHeader.biHeight = -r.bottom;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
        paintDataView(dc, 0);
    }
    ~PaintedDataView()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF pixel(int x, int y) const { return GetPixel(dc, x, y); }
    // Pixels other than the background in a band of the given height.
    int ink(int top, int height, COLORREF background, int fromX = 3) const
    {
        int n = 0;
        for (int y = top; y < top + height; ++y)
            for (int x = fromX; x < client().right; ++x)
                n += pixel(x, y) != background;
        return n;
    }
};

// Pixels as they are on the screen; CLR_INVALID when they cannot be read.
COLORREF screenPixel(int x, int y)
{
    HDC dc = GetDC(dataViewWindow);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(dataViewWindow, dc);
    return c;
}

COLORREF inverse(COLORREF c)
{
    return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c));
}

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

// "Name" and then "Line 1" to "Line <n-1>".
std::string numberedEntry(int n)
{
    std::string text = "Name\r\n";
    for (int i = 1; i < n; ++i)
        text += "Line " + std::to_string(i) + "\r\n";
    return text + "\r\nNext\r\n\r\n";
}

std::vector<std::string> openedLinks;

void recordLink(HWND, const char* text)
{
    openedLinks.push_back(text);
}

class DataViewWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        seenDialogs().clear();
        command(IDM_NEW);
        if (windowArrangement != 1)
            command(IDM_SIDEBYSIDE);
        layoutChildWindows();
        holdKeys(false, false);
        restoreColours();
        savedOpener = openLinkText;
        openLinkText = recordLink;
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

    void (*savedOpener)(HWND, const char*) = nullptr;
};

TEST_F(DataViewWindow, WheelScrollsThreeLinesAndStopsAtBothEnds)
{
    useText(numberedEntry(200));
    EXPECT_EQ(lineCount, 200);
    const int rows = dataViewRowCount;
    const int last = 200 - rows + 2;   // the last line on the third row from the bottom
    wheel(-120);
    EXPECT_EQ(firstVisibleLine, 3);
    wheel(-120);
    EXPECT_EQ(firstVisibleLine, 6);
    wheel(120);
    wheel(120);
    EXPECT_EQ(firstVisibleLine, 0);
    wheel(120);
    EXPECT_EQ(firstVisibleLine, 0);

    for (int i = 0; i < 80; ++i)
        wheel(-120);
    EXPECT_EQ(firstVisibleLine, last);
    EXPECT_EQ(caretLine, 0);                      // scrolling never moves the caret

    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(dataViewWindow, SB_VERT, &info);
    EXPECT_EQ(info.nPos, firstVisibleLine);
    EXPECT_EQ(info.nMax, 201);
    EXPECT_EQ(static_cast<int>(info.nPage), rows);

    // The scroll bar's arrows and pages.
    SendMessageA(dataViewWindow, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(firstVisibleLine, last);
    SendMessageA(dataViewWindow, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(firstVisibleLine, last - (rows - 3));
    SendMessageA(dataViewWindow, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(firstVisibleLine, last - (rows - 3) - 1);
    SendMessageA(dataViewWindow, WM_VSCROLL, SB_PAGEDOWN, 0);
    SendMessageA(dataViewWindow, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(firstVisibleLine, last);
}

TEST_F(DataViewWindow, CaretKeysMoveTheCaretAndScrollItIntoView)
{
    useText(numberedEntry(200));
    const int rows = dataViewRowCount;
    key(VK_DOWN);
    key(VK_DOWN);
    key(VK_END);
    EXPECT_EQ(caretLine, 2);
    EXPECT_EQ(caretColumn, 6);
    key(VK_RIGHT);
    EXPECT_EQ(caretLine, 3);
    EXPECT_EQ(caretColumn, 0);

    for (int i = 0; i < rows; ++i)
        key(VK_DOWN);
    EXPECT_EQ(caretLine, 3 + rows);
    EXPECT_EQ(firstVisibleLine, caretLine - rows + 3);

    holdKeys(false, true);
    key(VK_HOME);
    EXPECT_EQ(caretLine, 0);
    EXPECT_EQ(firstVisibleLine, 0);

    // Shift selects; Copy and Cut follow the selection.
    HMENU menu = GetMenu(mainWindow);
    holdKeys(true, false);
    key(VK_DOWN);
    key(VK_RIGHT);
    EXPECT_TRUE(selectionActive);
    EXPECT_EQ(selStartLine, 0);
    EXPECT_EQ(selEndLine, 1);
    EXPECT_EQ(selEndColumn, 1);
    EXPECT_FALSE(menuItemGrayed(menu, IDM_COPY));
    holdKeys(false, false);
    key(VK_LEFT);
    EXPECT_FALSE(selectionActive);
    EXPECT_TRUE(menuItemGrayed(menu, IDM_COPY));

    // Input waits while a dialog or a change of the text is in progress.
    uiBusy = true;
    key(VK_DOWN);
    wheel(-120);
    uiBusy = false;
    EXPECT_EQ(caretLine, 1);
    EXPECT_EQ(firstVisibleLine, 0);
}

TEST_F(DataViewWindow, ClickSetsTheCaretWhereThePointerIs)
{
    useText("Name\r\nFirst line\r\nSecond line\r\n\r\n");
    const char* second = "Second line";
    // Three pixels into a character already count as behind it.
    click(textWidth(second, 4) + 3, rowTop(2) + 2);
    EXPECT_EQ(caretLine, 2);
    EXPECT_EQ(caretColumn, 4);
    click(textWidth(second, 4) + 4, rowTop(2) + 2);
    EXPECT_EQ(caretColumn, 5);

    click(textWidth("Name", 2, true) + 3, headTextTop() + 2);   // the first line, in bold
    EXPECT_EQ(caretLine, 0);
    EXPECT_EQ(caretColumn, 2);

    click(client().right - 5, client().bottom - 5);   // below the last line: its end
    EXPECT_EQ(caretLine, 2);
    EXPECT_EQ(caretColumn, 11);

    // The right button places the caret too.
    mouse(WM_RBUTTONDOWN, 2, rowTop(1) + 2);
    EXPECT_EQ(caretLine, 1);
    EXPECT_EQ(caretColumn, 0);

    // The caption strip is no text.
    click(20, captionHeight / 2);
    EXPECT_EQ(caretLine, 1);
    EXPECT_FALSE(dataViewMoving);

    // A click drops a selection.
    holdKeys(true, false);
    key(VK_RIGHT);
    holdKeys(false, false);
    ASSERT_TRUE(selectionActive);
    click(2, rowTop(2) + 2);
    EXPECT_FALSE(selectionActive);
    EXPECT_EQ(caretLine, 2);

    uiBusy = true;
    click(2, rowTop(1) + 2);
    uiBusy = false;
    EXPECT_EQ(caretLine, 2);
}

TEST_F(DataViewWindow, ClickActivatesTheDataView)
{
    useText("Name\r\n\r\n");
    activateOverview();
    HMENU menu = GetMenu(mainWindow);
    EXPECT_TRUE(menuItemGrayed(menu, IDM_PASTE));
    LRESULT answer = SendMessageA(dataViewWindow, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(mainWindow),
                                  MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(answer, MA_ACTIVATE);
    EXPECT_EQ(activeView, ActiveView::DataView);
    EXPECT_FALSE(menuItemGrayed(menu, IDM_PASTE));
}

TEST_F(DataViewWindow, DoubleClickSelectsAWord)
{
    useText("Name\r\nHello big world\r\n\r\n");
    const char* line = "Hello big world";
    const int x = textWidth(line, 7) + 3;   // on the 'g' of "big"
    click(x, rowTop(1) + 2);
    mouse(WM_LBUTTONDBLCLK, x, rowTop(1) + 2);
    EXPECT_TRUE(selectionActive);
    EXPECT_EQ(selStartLine, 1);
    EXPECT_EQ(selStartColumn, 6);
    EXPECT_EQ(selEndColumn, 9);
    EXPECT_EQ(caretColumn, 6);
    EXPECT_FALSE(menuItemGrayed(GetMenu(mainWindow), IDM_COPY));

    // On the blank between two words: nothing.
    const int blank = textWidth(line, 5) + 3;
    click(blank, rowTop(1) + 2);
    mouse(WM_LBUTTONDBLCLK, blank, rowTop(1) + 2);
    EXPECT_FALSE(selectionActive);
}

TEST_F(DataViewWindow, FirstLineBandHasItsColoursRulesAndBoldText)
{
    useText("MMMMMM\r\nMMMMMM\r\n\r\n");
    const int x = client().right - 5;
    const int rule = bandTop() + 2 * h() - 2;
    caretLine = 1;   // keep the caret out of the band
    {
        PaintedDataView painted;
        EXPECT_EQ(painted.pixel(x, bandTop()), RGB(200, 200, 200));
        EXPECT_EQ(painted.pixel(x, rule - 1), RGB(200, 200, 200));
        EXPECT_EQ(painted.pixel(x, rule), RGB(140, 140, 140));
        EXPECT_EQ(painted.pixel(x, rule + 1), RGB(70, 70, 70));
        EXPECT_EQ(painted.pixel(x, rule + 2), RGB(255, 255, 255));
        EXPECT_EQ(painted.pixel(x, client().bottom - 1), RGB(255, 255, 255));

        // The same text, bold in the first line and normal in the second.
        int boldInk = painted.ink(headTextTop(), h(), RGB(200, 200, 200), 4);
        int normalInk = painted.ink(rowTop(1), h(), RGB(255, 255, 255), 4);
        EXPECT_GT(normalInk, 0);
        EXPECT_GT(boldInk, normalInk) << "bold " << boldInk << ", normal " << normalInk;
        int blue = 0;
        for (int y = headTextTop(); y < headTextTop() + h(); ++y)
            for (int px = 4; px < x; ++px)
                blue += painted.pixel(px, y) == RGB(0, 0, 255);
        EXPECT_GT(blue, 0) << "the first line is drawn in its own text colour";
    }

    // And on the screen.
    repaintDataView();
    COLORREF band = screenPixel(x, bandTop());
    if (band == CLR_INVALID)
        GTEST_SKIP() << "the window's pixels cannot be read";
    EXPECT_EQ(band, RGB(200, 200, 200));
    EXPECT_EQ(screenPixel(x, rule), RGB(140, 140, 140));
    EXPECT_EQ(screenPixel(x, rule + 1), RGB(70, 70, 70));
    EXPECT_EQ(screenPixel(x, rule + 2), RGB(255, 255, 255));

    dataViewHeadBackColour = rgb(10, 200, 30);
    repaintDataView();
    EXPECT_EQ(screenPixel(x, bandTop()), RGB(10, 200, 30));
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
    const int selectedX = textWidth("Some text here", 2);
    const int selectedY = rowTop(1) + 1;
    const int outsideX = textWidth("Some text here", 14) + 20;

    PaintedDataView painted;
    const COLORREF caret = painted.pixel(0, caretY);
    const COLORREF selected = painted.pixel(selectedX, selectedY);
    const COLORREF outside = painted.pixel(outsideX, selectedY);
    EXPECT_EQ(caret, RGB(0, 0, 0));
    EXPECT_EQ(outside, RGB(255, 255, 255));

    paintDataView(painted.dc, 1);   // both drawn a second time: gone
    EXPECT_EQ(painted.pixel(0, caretY), RGB(255, 255, 255));
    EXPECT_EQ(painted.pixel(selectedX, selectedY), inverse(selected));
    EXPECT_EQ(painted.pixel(outsideX, selectedY), outside);
    paintDataView(painted.dc, 1);
    EXPECT_EQ(painted.pixel(0, caretY), caret);
    EXPECT_EQ(painted.pixel(selectedX, selectedY), selected);

    // Mode 4 redraws the caret's line without the caret.
    paintDataView(painted.dc, 4);
    EXPECT_EQ(painted.pixel(0, caretY), RGB(255, 255, 255));
    EXPECT_EQ(painted.pixel(selectedX, selectedY), inverse(selected));   // the selection inverted once more
    paintDataView(painted.dc, 9);   // not a mode: nothing
    EXPECT_EQ(painted.pixel(0, caretY), RGB(255, 255, 255));
}

TEST_F(DataViewWindow, LinkIsUnderlinedWhileThePointerRestsOnIt)
{
    useText("\"Home\" page\r\nWeb: \"http://example.org\"\r\n\r\n");
    const char* web = "Web: \"http://example.org\"";
    const int x = textWidth(web, 12);
    const int y = rowTop(1) + h() / 2;
    const int underline = bandTop() + 3 * h() - 2;
    mouse(WM_MOUSEMOVE, x, y);
    EXPECT_TRUE(linkHover);
    EXPECT_EQ(linkLine, 1);
    EXPECT_EQ(linkOpenColumn, 5);
    EXPECT_EQ(linkCloseColumn, 24);
    EXPECT_EQ(GetCursor(), LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR)));
    COLORREF red = screenPixel(x, underline);
    if (red != CLR_INVALID) {
        EXPECT_EQ(red, RGB(255, 0, 0));
        EXPECT_EQ(screenPixel(textWidth(web, 3), underline), RGB(255, 255, 255));   // not under "Web"
    }

    mouse(WM_MOUSEMOVE, textWidth(web, 2), y);   // onto "Web": no link
    EXPECT_FALSE(linkHover);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_IBEAM));
    if (red != CLR_INVALID) {
        EXPECT_EQ(screenPixel(x, underline), RGB(255, 255, 255));
    }

    // A link in the first line is underlined in its band.
    mouse(WM_MOUSEMOVE, textWidth("\"Home\"", 2, true), headTextTop() + h() / 2);
    EXPECT_TRUE(linkHover);
    EXPECT_EQ(linkLine, 0);
    if (red != CLR_INVALID) {
        EXPECT_EQ(screenPixel(textWidth("\"Home\"", 3, true), bandTop() + h() + h() / 2 - 2), RGB(255, 0, 0));
    }
    mouse(WM_MOUSEMOVE, 20, captionHeight / 2);   // the caption strip ends it
    EXPECT_FALSE(linkHover);
    if (red != CLR_INVALID) {
        EXPECT_EQ(screenPixel(textWidth("\"Home\"", 3, true), bandTop() + h() + h() / 2 - 2), RGB(200, 200, 200));
    }
}

TEST_F(DataViewWindow, ClickOnALinkOpensItUnlessCtrlIsHeld)
{
    useText("Name\r\nWeb: \"http://example.org\" and more\r\n\r\nOther\r\nWeb: none\r\n\r\n");
    const char* web = "Web: \"http://example.org\"";
    const int x = textWidth(web, 12);
    const int y = rowTop(1) + h() / 2;
    mouse(WM_MOUSEMOVE, x, y);
    click(x, y);
    EXPECT_EQ(openedLinks, std::vector<std::string>{"http://example.org"});
    EXPECT_EQ(caretLine, 0);   // nothing else happens

    mouse(WM_MOUSEMOVE, x, y);
    click(x, y, MK_CONTROL);   // with Ctrl the link can be edited
    EXPECT_EQ(openedLinks.size(), 1u);
    EXPECT_EQ(caretLine, 1);
    EXPECT_GT(caretColumn, 5);
    EXPECT_LT(caretColumn, 24);

    // Another entry shown under the resting pointer: no link is left there.
    mouse(WM_MOUSEMOVE, x, y);
    ASSERT_TRUE(linkHover);
    currentEntryOffset = entryIndex[1];
    repaintDataView();
    click(x, y);
    EXPECT_EQ(openedLinks.size(), 1u);
    EXPECT_EQ(caretLine, 1);
}

TEST_F(DataViewWindow, LinkClickReachesTheShell)
{
    openLinkText = savedOpener;   // the real shell
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::filesystem::path folder =
        std::filesystem::path(temp) / ("lumo-dv-link-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    std::filesystem::path script = folder / "mark.cmd";
    std::filesystem::path marker = folder / "marker.txt";
    std::filesystem::remove(marker);
    writeFileBytes(script, "@echo opened> \"" + marker.string() + "\"\r\n");

    const std::string line = "Run: \"" + script.string() + "\"";
    useText("Name\r\n" + line + "\r\n\r\n");
    const int x = textWidth(line.c_str(), 8);
    const int y = rowTop(1) + h() / 2;
    mouse(WM_MOUSEMOVE, x, y);
    ASSERT_TRUE(linkHover);
    click(x, y);
    EXPECT_TRUE(pumpUntil([&] { return std::filesystem::exists(marker); }, 30000))
        << "the shell did not run " << script.string();
    pumpUntil([&] { return readFileBytes(marker).find("opened") != std::string::npos; }, 5000);
    EXPECT_NE(readFileBytes(marker).find("opened"), std::string::npos);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

TEST_F(DataViewWindow, HorizontalScrollMovesAllLinesAndStaysInRange)
{
    useText(std::string(200, 'W') + "\r\n" + std::string(200, 'W') + "\r\n\r\n");
    const int width = client().right;
    SendMessageA(dataViewWindow, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(dataViewScrollX, width / 4);
    SendMessageA(dataViewWindow, WM_HSCROLL, SB_PAGELEFT, 0);
    EXPECT_EQ(dataViewScrollX, 0);
    for (int i = 0; i < 1000; ++i)
        SendMessageA(dataViewWindow, WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(dataViewScrollX, dataViewTextWidth - width);

    // The caret keys bring the caret back into sight.
    key(VK_HOME);
    EXPECT_EQ(dataViewScrollX, 0);
    key(VK_END);
    EXPECT_GT(dataViewScrollX, 0);
    const int caretX = textWidth(std::string(200, 'W').c_str(), 200, true);
    EXPECT_EQ(dataViewScrollX, std::min(caretX - width / 8, dataViewTextWidth - width));
}

// Real mouse input at a point of the Data view's client area.
void sendMouse(DWORD flags, POINT at)
{
    ClientToScreen(dataViewWindow, &at);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

TEST_F(DataViewWindow, HeldCaptionStripDragsTheWindow)
{
    useText("Name\r\n\r\n");
    SetForegroundWindow(mainWindow);
    pumpPending();
    POINT start = {30, captionHeight / 2};
    sendMouse(0, start);
    pumpPending();
    WindowRect placed = dataViewRect;
    sendMouse(MOUSEEVENTF_LEFTDOWN, start);
    if (!pumpUntil([] { return dataViewMoving; }, 2000)) {
        sendMouse(MOUSEEVENTF_LEFTUP, start);
        pumpPending();
        GTEST_SKIP() << "mouse input does not reach the window";
    }
    // The pointer is now given relative to the window's old place.
    sendMouse(0, {start.x - 40, start.y + 30});
    EXPECT_TRUE(pumpUntil([&] { return dataViewRect.x == placed.x - 40 && dataViewRect.y == placed.y + 30; }, 2000))
        << dataViewRect.x << "," << dataViewRect.y;
    EXPECT_EQ(dataViewRect.width, placed.width);
    sendMouse(MOUSEEVENTF_LEFTUP, {start.x - 40, start.y + 30});
    EXPECT_TRUE(pumpUntil([] { return !dataViewMoving; }, 2000));
    EXPECT_EQ(GetCapture(), nullptr);
}

// The button held in the text selects from where it went down to where
// the pointer is when it comes up.  The button is let go from another
// thread, because the selection runs inside the button's own message.
TEST_F(DataViewWindow, HeldButtonSelectsUpToThePointer)
{
    useText("Name\r\nFirst line\r\nSecond line\r\nThird line\r\n\r\n");
    SetForegroundWindow(mainWindow);
    pumpPending();
    const POINT from = {textWidth("First line", 2) + 3, rowTop(1) + h() / 2};
    const POINT to = {textWidth("Third line", 3) + 3, rowTop(3) + h() / 2};
    const POINT middle = {textWidth("Second line", 4), rowTop(2) + 1};
    const COLORREF unselected = screenPixel(middle.x, middle.y);
    sendMouse(0, from);
    pumpPending();

    std::atomic<bool> released = false;
    const HCURSOR heldCursor = LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    std::thread hand([&] {
        // Polls cond every 10 ms for at most three seconds.
        auto waitFor = [](auto cond) {
            const DWORD start = GetTickCount();
            while (!cond() && GetTickCount() - start < 3000)
                Sleep(10);
        };
        auto shownCursor = [] {
            CURSORINFO info{};
            info.cbSize = sizeof info;
            GetCursorInfo(&info);
            return info.hCursor;
        };
        sendMouse(MOUSEEVENTF_LEFTDOWN, from);
        // The view shows the held-button cursor once it took the press
        // for a held button; then the pointer moves.
        waitFor([&] { return shownCursor() == heldCursor; });
        sendMouse(0, to);
        // Let go once the middle line shows selected (or, when the screen
        // cannot be read, after the longest wait).
        waitFor([&] { return unselected != CLR_INVALID && screenPixel(middle.x, middle.y) == inverse(unselected); });
        sendMouse(MOUSEEVENTF_LEFTUP, to);
        released = true;
    });
    bool done = pumpUntil([&] { return released.load(); }, 10000);
    hand.join();
    pumpPending();
    ASSERT_TRUE(done);
    if (!selectionActive && caretLine == 0)
        GTEST_SKIP() << "mouse input does not reach the window";
    EXPECT_FALSE(mouseHeld);
    EXPECT_TRUE(selectionActive);
    EXPECT_EQ(selStartLine, 1);
    EXPECT_EQ(selStartColumn, 2);
    EXPECT_EQ(selEndLine, 3);
    EXPECT_EQ(selEndColumn, 3);
    EXPECT_EQ(caretLine, 3);
    EXPECT_EQ(caretColumn, 3);
    EXPECT_FALSE(menuItemGrayed(GetMenu(mainWindow), IDM_COPY));
}

TEST_F(DataViewWindow, PlacementIsTrackedAndKeptBelowTheToolbar)
{
    useText("Name\r\n\r\n");
    MoveWindow(dataViewWindow, 300, toolbarHeight + 5, 300, 250, TRUE);
    EXPECT_EQ(dataViewRect.x, 300);
    EXPECT_EQ(dataViewRect.y, toolbarHeight + 5);
    MoveWindow(dataViewWindow, 300, toolbarHeight - 10, 300, 250, TRUE);
    EXPECT_EQ(dataViewRect.y, toolbarHeight);
    EXPECT_EQ(dataViewRect.height, 240);

    MINMAXINFO info{};
    SendMessageA(dataViewWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 100);
    EXPECT_EQ(info.ptMinTrackSize.y, 3 * captionHeight + 4 * dataViewLineHeight);
}

TEST_F(DataViewWindow, PaintsDoNotLeakGdiObjects)
{
    useText(numberedEntry(40) + "Web: \"x\"\r\n\r\n");
    selectionActive = true;
    selStartLine = 1;
    selEndLine = 3;
    selEndColumn = 2;
    repaintDataView();
    long before = gdiObjectCount();
    if (before == 0)
        GTEST_SKIP() << "no count of GDI objects on this system";
    for (int i = 0; i < 200; ++i) {
        repaintDataView();
        PaintedDataView painted;
        for (int mode = 1; mode <= 4; ++mode)
            paintDataView(painted.dc, mode);
    }
    long after = gdiObjectCount();
    EXPECT_LE(std::labs(after - before), 3) << before << " -> " << after;
}

TEST_F(DataViewWindow, FullPaintTimeWith100000Entries)
{
    std::string text;
    text.reserve(100000 * 60);
    char entry[96];
    for (int i = 0; i < 100000; ++i) {
        std::snprintf(entry, sizeof entry, "Entry %05d\r\nStreet %d\r\nTown\r\nPhone: 0%d\r\n\r\n", i, i, i);
        text += entry;
    }
    setStoreText(text);
    resetViewState();
    currentEntryOffset = entryIndex[50000];
    repaintDataView();
    EXPECT_STREQ(viewLines[0], "Entry 50000");

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    auto msPer = [&](int n) {
        return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / n;
    };
    const int paints = 200;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < paints; ++i)
        repaintDataView();
    QueryPerformanceCounter(&end);
    double windowMs = msPer(paints);

    PaintedDataView painted;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < paints; ++i)
        paintDataView(painted.dc, 0);
    QueryPerformanceCounter(&end);
    double bitmapMs = msPer(paints);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < paints; ++i)
        paintDataView(painted.dc, 1);
    QueryPerformanceCounter(&end);
    double caretMs = msPer(paints);

    // A new entry each time: the layout is made again for every paint.
    QueryPerformanceCounter(&start);
    for (int i = 0; i < paints; ++i) {
        currentEntryOffset = entryIndex[i * 400];
        repaintDataView();
    }
    QueryPerformanceCounter(&end);
    double newEntryMs = msPer(paints);
    std::printf("[ figures  ] Data view full paint, 100000 entries, %d rows: %.3f ms per WM_PAINT, %.3f ms per "
                "paintDataView into a bitmap (%.3f ms of it for caret and selection), %.3f ms per WM_PAINT of "
                "a new entry\n",
                dataViewRowCount, windowMs, bitmapMs, caretMs, newEntryMs);
}

}  // namespace
