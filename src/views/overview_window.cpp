#include "views/overview_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "transfer/drag_drop.h"
#include "files/config.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "host/host.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "views/activation.h"
#include "views/overview_rules.h"
#include "views/paint_objects.h"
#include "views/selection_edit.h"
#include "views/type_ahead.h"
#include "views/view_fonts.h"
#include "views/view_frame.h"
#include "views/view_state.h"
#include "views/view_windows.h"

bool overviewMoving = false;

namespace {

// Where the left button last went down, in client coordinates: the point
// of the caption strip by which the window is dragged.
POINT grabPoint;
// Where the pointer was last seen over the window while nothing is dragged.
POINT lastPointer;

int rowPitch()
{
    return overviewRowPitch(overviewLineHeight);
}

int listTop()
{
    return captionHeight + 1;
}

int clientWidth()
{
    RECT client{};
    if (overviewWindow)
        GetClientRect(overviewWindow, &client);
    return client.right;
}

// ---- Painting ----

// The cursor bar is a frame of inverted lines around the text of its row.
void invertCursorBar(HDC dc, int width, int row)
{
    int top = listTop() + row * rowPitch();
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    SetROP2(dc, R2_NOT);
    Rectangle(dc, -1, top, width + 2, top + overviewLineHeight + 2);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
}

// A marked row is inverted over its whole band.
void invertMarkedRows(HDC dc, int width)
{
    if (!markActive)
        return;
    const int pitch = rowPitch();
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SetROP2(dc, R2_NOT);
    // Marked entries above the top row are not drawn; start at the top row.
    for (int32_t e = std::max(markFirst, firstVisibleEntry); e <= markLast; ++e) {
        int32_t row = e - firstVisibleEntry;
        if (row > overviewRowCount || e >= entryCount)
            break;
        int top = listTop() + row * pitch;
        Rectangle(dc, -1, top, width + 2, top + overviewLineHeight + overviewLineHeight / 2 + 1);
    }
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
}

void invertBarAndMarks(HDC dc, int width)
{
    invertCursorBar(dc, width, cursorRow);
    invertMarkedRows(dc, width);
    SetROP2(dc, R2_COPYPEN);
    SetBkMode(dc, TRANSPARENT);
}

// Setting a scroll bar redraws it, which costs more than the whole list:
// a bar whose values are already right is left alone.
// A bar is set only when the values asked for differ from the last ones:
// setting it redraws it, which costs more than the rows.  (Reading them
// back would not do: the system trims a page larger than the range, so a
// book shorter than the window would never compare equal.)
struct ScrollValues {
    HWND window;
    int maximum, page, position;
    bool operator==(const ScrollValues&) const = default;
};
ScrollValues lastScrollValues[2];

void setScrollBar(int bar, int maximum, int page, int position)
{
    const ScrollValues wanted = {overviewWindow, maximum, page, position};
    ScrollValues& last = lastScrollValues[bar == SB_VERT ? 1 : 0];
    if (last == wanted)
        return;
    last = wanted;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = maximum;
    info.nPage = static_cast<UINT>(page);
    info.nPos = position;
    SetScrollInfo(overviewWindow, bar, &info, TRUE);
}

void setScrollBars(int width)
{
    setScrollBar(SB_VERT, entryCount, std::max(overviewRowCount, 0), firstVisibleEntry);
    setScrollBar(SB_HORZ, overviewTextWidth, width, overviewScrollX);
}

void paintRows(HDC dc, int width)
{
    const int pitch = rowPitch();
    HBRUSH background = static_cast<HBRUSH>(keepPaintObject(CreateSolidBrush(overviewBackColour)));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previousFont = SelectObject(dc, overviewHFont);
    SetTextColor(dc, overviewTextColour);
    int32_t row = 0;
    char heading[rowTextSize];
    for (; row <= overviewRowCount; ++row) {
        if (firstVisibleEntry + row >= entryCount)
            break;
        RECT band = {0, listTop() + row * pitch, width, listTop() + (row + 1) * pitch};
        FillRect(dc, &band, background);
        // Rows beyond the table (a very tall window) are read from the store.
        const char* text = overviewRowText[row];
        if (row >= overviewRowSlots) {
            entryHeading(firstVisibleEntry + row, heading);
            text = heading;
        }
        TextOutA(dc, 1 - overviewScrollX, band.top, text, static_cast<int>(std::strlen(text)));
    }
    for (; row <= overviewRowCount; ++row) {
        RECT band = {0, listTop() + row * pitch, width, listTop() + (row + 1) * pitch};
        FillRect(dc, &band, background);
    }
    SelectObject(dc, previousFont);
}

// Width of the current entry's heading in the Overview's font.
int currentHeadingWidth()
{
    char heading[rowTextSize];
    entryHeading(currentEntry(), heading);
    HDC dc = GetDC(overviewWindow);
    HGDIOBJ previous = SelectObject(dc, overviewHFont);
    SIZE size{};
    GetTextExtentPoint32A(dc, heading, static_cast<int>(std::strlen(heading)), &size);
    SelectObject(dc, previous);
    ReleaseDC(overviewWindow, dc);
    return size.cx;
}

void repaintOverview()
{
    if (overviewWindow) {
        InvalidateRect(overviewWindow, nullptr, FALSE);
        UpdateWindow(overviewWindow);
    }
}

// After a navigation key: either the bar moves from oldRow to cursorRow,
// drawn straight onto the window, or the whole list is painted again.
void redraw(OverviewRedraw how, int32_t oldRow)
{
    if (how == OverviewRedraw::Full) {
        repaintOverview();
    } else if (how == OverviewRedraw::MoveBar && overviewWindow) {
        HDC dc = GetDC(overviewWindow);
        int width = clientWidth();
        invertCursorBar(dc, width, oldRow);
        invertCursorBar(dc, width, cursorRow);
        SetROP2(dc, R2_COPYPEN);
        ReleaseDC(overviewWindow, dc);
    }
}

void redrawIf(bool changed)
{
    if (changed)
        repaintOverview();
}

// ---- Window messages ----

LRESULT onCreate(HWND window)
{
    lastScrollValues[0] = lastScrollValues[1] = {};   // a new window may get an old one's handle
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = 100;
    info.nPage = 50;
    info.nPos = 0;
    SetScrollInfo(window, SB_HORZ, &info, TRUE);

    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, overviewHFont);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    overviewLineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    overviewTextWidth = metrics.tmMaxCharWidth * 254;
    return 0;
}

void paintContent(HDC dc, HWND window)
{
    paintCaptionStrip(dc, window, overviewCaption);
    paintOverview(dc, 0);
}

void onPaint(HWND window)
{
    paintBuffered(window, overviewBackColour, paintContent);
    releasePaintObjects();
}

LRESULT onMouseActivate()
{
    if (activeView != ActiveView::Overview)
        activateOverview();
    return MA_ACTIVATE;
}

void sendKey(WPARAM key)
{
    if (mainWindow)
        SendMessageA(mainWindow, WM_KEYDOWN, key, 0);
}

void onVerticalScroll(HWND window, WPARAM wParam)
{
    if (uiBusy)
        return;
    switch (LOWORD(wParam)) {
    case SB_LINEUP:   sendKey(VK_UP); break;
    case SB_LINEDOWN: sendKey(VK_DOWN); break;
    case SB_PAGEUP:   sendKey(VK_PRIOR); break;
    case SB_PAGEDOWN: sendKey(VK_NEXT); break;
    case SB_THUMBTRACK: {
        if (typeAheadLength > 0)
            endTypeAhead();
        firstVisibleEntry = trackPosition(window, SB_VERT);
        repaintOverview();
        showCurrentEntry();
        break;
    }
    default: break;
    }
}

void onHorizontalScroll(HWND window, WPARAM wParam)
{
    if (uiBusy)
        return;
    switch (LOWORD(wParam)) {
    case SB_LINELEFT:  sendKey(VK_LEFT); break;
    case SB_LINERIGHT: sendKey(VK_RIGHT); break;
    case SB_PAGELEFT:  sendKey(VK_HOME); break;
    case SB_PAGERIGHT: sendKey(VK_END); break;
    case SB_THUMBTRACK: {
        if (typeAheadLength > 0)
            endTypeAhead();
        overviewScrollX = std::max(std::min(trackPosition(window, SB_HORZ), overviewTextWidth - clientWidth()), 0);
        repaintOverview();
        break;
    }
    default: break;
    }
}

// ---- Telling a click from a held button ----

bool leftButtonDown()
{
    // A release already queued counts even if the button is down again.
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE))
        return false;
    int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return GetAsyncKeyState(button) < 0;
}

bool buttonHeldFor(DWORD ms)
{
    return waitWithPaints(ms, leftButtonDown);
}

// ---- Marking with the held button ----

// The entry under client height y.  Above the list it is the top row's,
// below it the last row's, so that a block dragged past the edge grows
// with the scrolling and never beyond the first or the last entry.
int32_t entryAtHeight(int y)
{
    int32_t row = (y - captionHeight) / rowPitch();
    row = std::min(std::max(row, 0), std::max(overviewRowCount - 1, 0));
    return std::min(std::max(row + firstVisibleEntry, 0), std::max(entryCount - 1, 0));
}

// The button counts as down until its release waits in the queue.  The
// list holds the mouse capture meanwhile, so that the release comes here
// wherever the pointer is let go; losing the capture ends the marking too.
bool stillMarking(HWND window)
{
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE))
        return false;
    return GetCapture() == window && GetKeyState(VK_LBUTTON) < 0;
}

bool overviewStillMarking()
{
    return stillMarking(overviewWindow);
}

void waitWhileMarking(DWORD ms)
{
    waitWithPaints(ms, overviewStillMarking);
}

// While the button stays down the block runs from the anchor to the entry
// under the pointer; at the top or the bottom row the list scrolls by one
// entry every 50 ms.  The Data view keeps the entry it showed.
void dragMark(HWND window)
{
    int32_t lastEntry = -1;
    while (stillMarking(window)) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(window, &p);
        const int32_t e = entryAtHeight(p.y);
        const bool wasActive = markActive;
        markActive = true;
        host().enableMenuItem(IDM_COPY, true);
        host().enableMenuItem(IDM_CUT, true);
        if (e - firstVisibleEntry >= overviewRowCount - 1 && firstVisibleEntry < entryCount) {
            waitWhileMarking(50);
            if (firstVisibleEntry + overviewRowCount - 2 < entryCount)
                ++firstVisibleEntry;
            repaintOverview();
        } else if (e - firstVisibleEntry < 1 && firstVisibleEntry >= 1) {
            waitWhileMarking(50);
            --firstVisibleEntry;
            repaintOverview();
        }
        markFirst = std::min(e, markAnchor);
        markLast = std::max(e, markAnchor);
        cursorRow = e - firstVisibleEntry;
        if (e != lastEntry || !wasActive)
            repaintOverview();
        lastEntry = e;
        waitWhileMarking(10);
    }
    showCursor(nullptr, IDC_IBEAM);
}

void markWithHeldButton(HWND window, int y, bool shift)
{
    if (entryCount < 1)
        return;
    if (markAnchor == -1)
        markAnchor = currentEntry();
    if (markActive && !shift) {
        const int32_t e = entryAtHeight(y);
        if (e >= markFirst && e <= markLast) {
            startDrag(DragOrigin::Overview);
            return;
        }
        markFirst = markLast = markAnchor = e;
        cursorRow = e - firstVisibleEntry;
    } else if (!markActive) {
        markFirst = markLast = currentEntry();
    }
    SetCapture(window);
    dragMark(window);
    if (GetCapture() == window)
        ReleaseCapture();
}

void onCaptionPressed(HWND window)
{
    if (!buttonHeldFor(100)) {
        showCursor(nullptr, IDC_ARROW);
        return;
    }
    showCursor(appInstance, MAKEINTRESOURCEA(IDC_MOVE_CURSOR));
    SetCapture(window);
    overviewMoving = true;
}

void onListPressed(HWND window, int y, bool shift)
{
    if (typeAheadLength > 0) {
        if (activeView != ActiveView::Overview)
            activateOverview();
        endTypeAhead();
    }
    mouseHeld = shift ? leftButtonDown() : buttonHeldFor(200);
    if (mouseHeld)
        showCursor(appInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    else
        showCursor(nullptr, IDC_ARROW);

    if (!shift && (!markActive || !mouseHeld)) {
        // A plain click: the entry under the pointer becomes current.  The
        // full paint that follows replaces the old cursor bar as well.
        markActive = false;
        markAnchor = -1;
        host().enableMenuItem(IDM_COPY, false);
        host().enableMenuItem(IDM_CUT, false);
        cursorRow = rowFromPointer(y, captionHeight, rowPitch());
        repaintOverview();
        showCurrentEntry();
    }
    if (mouseHeld)
        markWithHeldButton(window, y, shift);
}

void onLeftButtonDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (uiBusy)
        return;
    grabPoint = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    mouseHeld = true;
    BringWindowToTop(window);
    if (grabPoint.y < captionHeight)
        onCaptionPressed(window);
    else
        onListPressed(window, grabPoint.y, (wParam & MK_SHIFT) != 0);
}

void onMouseMove(HWND window, LPARAM lParam)
{
    POINT pointer = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!overviewMoving) {
        lastPointer = pointer;
        return;
    }
    moveViewWithPointer(window, grabPoint, pointer, overviewRect);
}

void onLeftButtonUp()
{
    mouseHeld = false;
    if (overviewMoving) {
        overviewMoving = false;
        ReleaseCapture();
    }
}

}  // namespace

void repaintOverviewRow(int32_t row)
{
    if (!overviewWindow)
        return;
    const int top = listTop() + row * rowPitch();
    RECT band = {0, top - 1, clientWidth(), top + rowPitch() + 2};   // the bar reaches a pixel beyond
    InvalidateRect(overviewWindow, &band, FALSE);
    UpdateWindow(overviewWindow);
}

void paintOverview(HDC dc, int mode)
{
    if ((mode != 0 && mode != 1) || !overviewWindow)
        return;
    const int pitch = rowPitch();
    if (pitch < 1)
        return;
    RECT client;
    GetClientRect(overviewWindow, &client);
    if (mode == 0)
        overviewRowCount = client.bottom / pitch;
    if (client.right < 1 || client.bottom < 1)
        return;
    if (mode == 0) {
        if (clampOverviewState(client.right, overviewTextWidth))
            showCurrentEntry();
        fillOverviewRows(overviewRowCount + 1, firstVisibleEntry);
        setScrollBars(client.right);
        paintRows(dc, client.right);
    }
    invertBarAndMarks(dc, client.right);
}

LRESULT CALLBACK overviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:        return onCreate(window);
    case WM_PAINT:         onPaint(window); return 0;
    case WM_ERASEBKGND:    return 1;
    case WM_MOVE:
    case WM_SIZE:          trackViewPlacement(window, overviewWindow, overviewRect); return 0;
    case WM_GETMINMAXINFO: setViewMinimumSize(window, reinterpret_cast<MINMAXINFO*>(lParam), overviewLineHeight); return 0;
    case WM_MOUSEACTIVATE: return onMouseActivate();
    case WM_VSCROLL:       onVerticalScroll(window, wParam); return 0;
    case WM_HSCROLL:       onHorizontalScroll(window, wParam); return 0;
    case WM_LBUTTONDOWN:   onLeftButtonDown(window, wParam, lParam); return 0;
    case WM_MOUSEMOVE:     if (!uiBusy) onMouseMove(window, lParam); return 0;
    case WM_LBUTTONUP:     onLeftButtonUp(); return 0;
    case WM_CAPTURECHANGED: overviewMoving = false; return 0;
    default:               return DefWindowProcA(window, message, wParam, lParam);
    }
}

void overviewKey(WPARAM key)
{
    if (uiBusy || !overviewWindow)
        return;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const int32_t oldRow = cursorRow;
    switch (key) {
    case VK_UP:    redraw(overviewUp(shift), oldRow); break;
    case VK_DOWN:  redraw(overviewDown(shift), oldRow); break;
    case VK_PRIOR: redraw(overviewPageUp(shift), oldRow); break;
    case VK_NEXT:  redraw(overviewPageDown(shift), oldRow); break;
    case VK_HOME:
        if (control)
            redraw(overviewFirstEntry(shift), oldRow);
        else
            redrawIf(overviewScrollHome());
        break;
    case VK_END:
        if (control)
            redraw(overviewLastEntry(shift), oldRow);
        else
            redrawIf(overviewScrollEnd(clientWidth(), overviewTextWidth, currentHeadingWidth()));
        break;
    case VK_LEFT:  redrawIf(overviewScrollLeft(shift, clientWidth())); break;
    case VK_RIGHT: redrawIf(overviewScrollRight(shift, clientWidth(), overviewTextWidth, currentHeadingWidth())); break;
    case VK_ESCAPE:
        if (typeAheadLength > 0)
            endTypeAhead();
        break;
    case VK_BACK:
    case VK_DELETE:
        if (typeAheadLength > 0) {
            typeAheadBackspace();
        } else {
            deleteEntriesAfterQuestion();
        }
        break;
    default: break;
    }
}

void overviewCharacter(unsigned char c)
{
    // Enter, Tab, Esc and Backspace also come as characters; they are keys here.
    if (uiBusy || c < 32)
        return;
    // Typing into the Overview drops a text selection of the Data view.
    if (selectionActive) {
        selectionActive = false;
        selAnchorLine = selAnchorColumn = -1;
        host().enableMenuItem(IDM_COPY, false);
        host().enableMenuItem(IDM_CUT, false);
        host().repaint(ViewId::DataView);
    }
    typeAheadCharacter(c);
}

void overviewWheel(int delta)
{
    if (uiBusy)
        return;
    if (delta > 0)
        overviewKey(VK_UP);
    else if (delta < 0)
        overviewKey(VK_DOWN);
}
