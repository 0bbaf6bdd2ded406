#include "views/data_view_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "transfer/drag_drop.h"
#include "files/config.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "host/host.h"
#include "host/ui_busy.h"
#include "store/undo.h"
#include "views/activation.h"
#include "views/data_view_rules.h"
#include "views/line_table.h"
#include "views/overview_rules.h"
#include "views/record_editor.h"
#include "views/selection_edit.h"
#include "views/view_fonts.h"
#include "views/view_frame.h"
#include "views/view_state.h"
#include "views/view_windows.h"

namespace {

void shellOpen(HWND owner, const char* text)
{
    // The shell reports nothing it cannot open; neither does the view.
    ShellExecuteA(owner, "open", text, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

bool dataViewMoving = false;
void (*openLinkText)(HWND owner, const char* text) = shellOpen;

namespace {

constexpr COLORREF upperRuleColour = RGB(140, 140, 140);
constexpr COLORREF lowerRuleColour = RGB(70, 70, 70);

// Where the button went down, in client coordinates.
POINT grabPoint;

// ---- Geometry ----

int lineHeight()
{
    return dataViewLineHeight;
}

// Top of the first line's band, just below the caption strip's rule.
int bandTop()
{
    return captionHeight + 1;
}

RECT clientRect()
{
    RECT client{};
    if (dataViewWindow)
        GetClientRect(dataViewWindow, &client);
    return client;
}

int clientWidth()
{
    return clientRect().right;
}

// Top of the text of line l on screen; line 0 sits in the middle of its
// double band.
int textTop(int32_t line)
{
    const int h = lineHeight();
    if (line == 0)
        return bandTop() + h / 2 - 1;
    return bandTop() + (line - firstVisibleLine + 1) * h;
}

// Line 0 always shows; other lines while they fall in the rows below it.
bool lineShown(int32_t line, int32_t rows)
{
    int32_t slot = line - firstVisibleLine;
    return line == 0 || (slot >= 1 && slot <= rows);
}

// The display text of a shown line: from the table the last paint filled,
// or from the store for rows beyond it (a very tall window).
const char* shownText(int32_t line, char* scratch)
{
    int32_t slot = line == 0 ? 0 : line - firstVisibleLine;
    if (slot >= 0 && slot < viewLineSlots && slot <= dataViewRowCount)
        return viewLines[slot];
    lineText(line, scratch);
    return scratch;
}

// ---- Fonts and widths ----

HFONT createLineFont(LONG weight)
{
    LOGFONTA font;
    std::memcpy(&font, dataViewFont.bytes, sizeof font);
    font.lfWeight = weight;
    return CreateFontIndirectA(&font);
}

// The two weights of the view's font: bold for the first line, normal
// for the others.  Made for one paint or one measurement and deleted with it.
struct LineFonts {
    HFONT normal = createLineFont(FW_NORMAL);
    HFONT bold = createLineFont(FW_BOLD);

    LineFonts() = default;
    LineFonts(const LineFonts&) = delete;
    LineFonts& operator=(const LineFonts&) = delete;
    ~LineFonts()
    {
        DeleteObject(normal);
        DeleteObject(bold);
    }
    HFONT forLine(int32_t line) const { return line == 0 ? bold : normal; }
};

// Width of the first count characters of text in the font selected into dc.
int prefixWidth(HDC dc, const char* text, int32_t count)
{
    if (count <= 0)
        return 0;
    SIZE size{};
    GetTextExtentPoint32A(dc, text, count, &size);
    return size.cx;
}

// Text widths measured on the window outside a paint.
struct Measure {
    HDC dc = GetDC(dataViewWindow);
    LineFonts fonts;
    HGDIOBJ previous = SelectObject(dc, fonts.normal);

    Measure() = default;
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;
    ~Measure()
    {
        SelectObject(dc, previous);
        ReleaseDC(dataViewWindow, dc);
    }
    int width(int32_t line, const char* text, int32_t count)
    {
        SelectObject(dc, fonts.forLine(line));
        return prefixWidth(dc, text, count);
    }
};

// Width of the first column characters of line l, as the caret rules want it.
int caretWidth(int32_t line, int32_t column)
{
    char text[viewLineSize];
    int32_t length = lineText(line, text);
    Measure measure;
    return measure.width(line, text, std::min(column, length));
}

// The column of line l under client x.
int32_t columnAt(int32_t line, int x)
{
    char text[viewLineSize];
    int32_t length = lineText(line, text);
    // All prefix widths in one call rather than one call per column.
    int extents[viewLineSize] = {};
    Measure measure;
    SelectObject(measure.dc, measure.fonts.forLine(line));
    SIZE size{};
    if (length > 0)
        GetTextExtentExPointA(measure.dc, text, length, 0, nullptr, extents, &size);
    return pointerColumn(x, dataViewScrollX, length,
                         [&](int32_t count) { return count <= 0 ? 0 : extents[count - 1]; });
}

struct TextPosition {
    int32_t line, column;
};

TextPosition positionAt(POINT p)
{
    int32_t line = pointerLine(p.y, captionHeight, lineHeight(), firstVisibleLine, lineCount);
    return {line, columnAt(line, p.x)};
}

// ---- Painting ----

// Setting a scroll bar redraws it, which costs more than all the text: a
// bar is set only when the values asked for differ from the last ones.
// (Reading them back would not do: the system trims a page larger than
// the range, so a short entry would never compare equal.)
struct ScrollValues {
    HWND window;
    int maximum, page, position;
    bool operator==(const ScrollValues&) const = default;
};
ScrollValues lastScrollValues[2];

void setScrollBar(int bar, int maximum, int page, int position)
{
    ScrollValues wanted = {dataViewWindow, maximum, page, position};
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
    SetScrollInfo(dataViewWindow, bar, &info, TRUE);
}

void setScrollBars(int width)
{
    setScrollBar(SB_VERT, lineCount + 1, std::max(dataViewRowCount, 0), firstVisibleLine);
    setScrollBar(SB_HORZ, dataViewTextWidth, width, dataViewScrollX);
}

void fillBand(HDC dc, int top, int bottom, int width, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT band = {0, top, width, bottom};
    FillRect(dc, &band, brush);
    DeleteObject(brush);
}

// The first line in bold in its band, with the two rules below it.
void drawHeadLine(HDC dc, const LineFonts& fonts, int width)
{
    const int h = lineHeight();
    const int rule = bandTop() + 2 * h - 2;
    SetBkMode(dc, OPAQUE);
    fillBand(dc, bandTop(), rule, width, dataViewHeadBackColour);
    fillBand(dc, rule, rule + 1, width, upperRuleColour);
    fillBand(dc, rule + 1, rule + 2, width, lowerRuleColour);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, fonts.bold);
    SetTextColor(dc, dataViewHeadTextColour);
    TextOutA(dc, 1 - dataViewScrollX, textTop(0), viewLines[0], static_cast<int>(std::strlen(viewLines[0])));
}

// Row j of the scrolling area: its band, and its line while there is one.
void drawRow(HDC dc, const LineFonts& fonts, int width, int32_t j)
{
    const int h = lineHeight();
    const int32_t line = firstVisibleLine + j;
    const int top = bandTop() + (j + 1) * h;
    fillBand(dc, top, top + h, width, dataViewBackColour);
    if (lineStart(line) == -1)
        return;
    char scratch[viewLineSize];
    const char* text = shownText(line, scratch);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, fonts.normal);
    SetTextColor(dc, dataViewTextColour);
    TextOutA(dc, 1 - dataViewScrollX, top, text, static_cast<int>(std::strlen(text)));
}

void drawAllLines(HDC dc, const LineFonts& fonts, int width)
{
    drawHeadLine(dc, fonts, width);
    for (int32_t j = 1; j <= dataViewRowCount; ++j)
        drawRow(dc, fonts, width, j);
}

void drawCaretLine(HDC dc, const LineFonts& fonts, int width)
{
    if (caretLine == 0)
        drawHeadLine(dc, fonts, width);
    else if (lineShown(caretLine, dataViewRowCount))
        drawRow(dc, fonts, width, caretLine - firstVisibleLine);
}

// Inverts the rectangle of one text row between two x positions.
void invertSpan(HDC dc, int left, int right, int32_t line)
{
    const int top = textTop(line);
    Rectangle(dc, left, top, right, top + lineHeight() + 1);
}

void drawCaret(HDC dc, const LineFonts& fonts)
{
    if (caretLine != 0 && (caretLine - firstVisibleLine < 1 || caretLine - firstVisibleLine >= dataViewRowCount))
        return;
    char scratch[viewLineSize];
    const char* text = shownText(caretLine, scratch);
    caretColumn = std::min(caretColumn, static_cast<int32_t>(std::strlen(text)));
    SelectObject(dc, fonts.forLine(caretLine));
    const int x = 1 - dataViewScrollX + prefixWidth(dc, text, caretColumn);
    invertSpan(dc, x - 1, x + 2, caretLine);
}

void drawSelection(HDC dc, const LineFonts& fonts)
{
    if (!selectionActive)
        return;
    for (int32_t line = selStartLine; line <= selEndLine && line - firstVisibleLine < dataViewRowCount + 1; ++line) {
        if (!lineShown(line, dataViewRowCount))
            continue;
        char scratch[viewLineSize];
        const char* text = shownText(line, scratch);
        const int32_t length = static_cast<int32_t>(std::strlen(text));
        int32_t from = line == selStartLine ? selStartColumn : 0;
        int32_t to = line == selEndLine ? selEndColumn : length;
        from = std::max(std::min(from, length), 0);
        to = std::max(std::min(to, length), 0);
        SelectObject(dc, fonts.forLine(line));
        const int left = 1 - dataViewScrollX + prefixWidth(dc, text, from);
        const int right = 1 - dataViewScrollX + prefixWidth(dc, text, to);
        invertSpan(dc, left - 1, right + 2, line);
    }
}

// Paints one mode straight onto the window.
void paintOnWindow(int mode)
{
    if (!dataViewWindow)
        return;
    HDC dc = GetDC(dataViewWindow);
    paintDataView(dc, mode);
    ReleaseDC(dataViewWindow, dc);
}

// The link's underline, in the link colour just below its text.
void drawLinkUnderline()
{
    char scratch[viewLineSize];
    const char* text = shownText(linkLine, scratch);
    Measure measure;
    const int left = 1 + measure.width(linkLine, text, linkOpenColumn + 1) - dataViewScrollX;
    const int right = 1 + measure.width(linkLine, text, linkCloseColumn) - dataViewScrollX;
    const int h = lineHeight();
    const int y = linkLine == 0 ? bandTop() + h + h / 2 - 2 : bandTop() + (linkLine - firstVisibleLine + 2) * h - 2;
    HPEN pen = CreatePen(PS_SOLID, 1, linkColour);
    HGDIOBJ previous = SelectObject(measure.dc, pen);
    MoveToEx(measure.dc, left, y, nullptr);
    LineTo(measure.dc, right, y);
    SelectObject(measure.dc, previous);
    DeleteObject(pen);
}

// Redraws the hovered link's line without its underline.
void removeLinkUnderline()
{
    linkHover = false;
    const int32_t savedCaretLine = caretLine;
    caretLine = linkLine;
    paintOnWindow(4);
    caretLine = savedCaretLine;
    paintOnWindow(selectionActive ? 3 : 2);
}

void showIBeam()
{
    showCursor(nullptr, IDC_IBEAM);
}

void showHand()
{
    showCursor(appInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR));
}

// The pointer at p over the text: underline the link it rests on, or
// take the underline away when it left one.
// The link under the pointer at p, if there is one.
bool linkAt(POINT p, TextPosition& at, int32_t& open, int32_t& close)
{
    at = positionAt(p);
    char scratch[viewLineSize];
    return lineShown(at.line, dataViewRowCount) && findLink(shownText(at.line, scratch), at.column, open, close);
}

void trackLink(POINT p)
{
    TextPosition at{};
    int32_t open = 0, close = 0;
    if (!linkAt(p, at, open, close)) {
        if (linkHover)
            removeLinkUnderline();
        showIBeam();
        return;
    }
    if (linkHover && linkLine != at.line)
        removeLinkUnderline();
    linkHover = true;
    linkLine = at.line;
    linkOpenColumn = open;
    linkCloseColumn = close;
    drawLinkUnderline();
    showHand();
}

void openHoveredLink(HWND window)
{
    char scratch[viewLineSize];
    const char* text = shownText(linkLine, scratch);
    char target[513] = "";
    const int32_t count = std::min(linkCloseColumn - linkOpenColumn - 1, 512);
    if (count > 0)
        std::memcpy(target, text + linkOpenColumn + 1, static_cast<size_t>(count));
    target[std::max(count, 0)] = 0;
    openLinkText(window, target);
}

// ---- Telling a click from a held button ----

// The left button counts as down from its press message until its
// release waits in the queue.  The thread's key state turns to down when
// the press is taken from the queue and back to up only when the release
// is, so a release is looked for in the queue first.  The view holds the
// mouse capture meanwhile, so that the release comes here wherever the
// pointer is.  (The asynchronous key state would do without the capture,
// but Wine answers it from a stale copy right after a press.)
bool leftButtonDown()
{
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE))
        return false;
    return GetKeyState(VK_LBUTTON) < 0;
}

bool buttonHeldFor(DWORD ms)
{
    return waitWithPaints(ms, leftButtonDown);
}

// ---- Mouse selection ----

bool before(TextPosition a, TextPosition b)
{
    return a.line < b.line || (a.line == b.line && a.column < b.column);
}

void selectBetween(TextPosition a, TextPosition b)
{
    if (before(b, a))
        std::swap(a, b);
    selStartLine = a.line;
    selStartColumn = a.column;
    selEndLine = b.line;
    selEndColumn = b.column;
}

// While the left button stays down the selection runs from the anchor to
// the pointer, and the view scrolls when the pointer leaves the text.
void dragSelect(HWND window)
{
    while (leftButtonDown()) {
        selectionActive = true;
        host().enableMenuItem(IDM_COPY, true);
        host().enableMenuItem(IDM_CUT, true);
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(window, &p);
        TextPosition at = positionAt(p);
        const int32_t lastRow = firstVisibleLine + dataViewRowCount - 2;
        if (at.line > lastRow && lastRow < lineCount) {
            waitWithPaints(50, nullptr);
            ++firstVisibleLine;
            repaintDataView();
        } else if (at.line < 1 && firstVisibleLine >= 1) {
            waitWithPaints(50, nullptr);
            --firstVisibleLine;
            repaintDataView();
        }
        const TextPosition oldStart = {selStartLine, selStartColumn}, oldEnd = {selEndLine, selEndColumn};
        selectBetween({selAnchorLine, selAnchorColumn}, at);
        const bool moved = at.line != caretLine || at.column != caretColumn || oldStart.line != selStartLine ||
                           oldStart.column != selStartColumn || oldEnd.line != selEndLine ||
                           oldEnd.column != selEndColumn;
        caretLine = at.line;
        caretColumn = at.column;
        if (moved)
            repaintDataView();
        const int x = caretWidth(caretLine, caretColumn);
        if (x - dataViewScrollX < 0) {
            waitWithPaints(2, nullptr);
            dataViewScrollX = std::max(dataViewScrollX - 2, 0);
            repaintDataView();
        } else if (x - dataViewScrollX > clientWidth()) {
            waitWithPaints(2, nullptr);
            dataViewScrollX += 2;
            repaintDataView();
        }
        waitWithPaints(10, leftButtonDown);
    }
    if (selectionActive && selStartLine == selEndLine && selStartColumn == selEndColumn)
        clearDataViewSelection();
    showIBeam();
}

void mouseSelect(HWND window, bool shift)
{
    if (selAnchorLine == -1 && selAnchorColumn == -1) {
        selAnchorLine = caretLine;
        selAnchorColumn = caretColumn;
    }
    if (selectionActive && !shift) {
        TextPosition at = positionAt(grabPoint);
        if (!before(at, {selStartLine, selStartColumn}) && !before({selEndLine, selEndColumn}, at)) {
            startDrag(DragOrigin::DataView);
            return;
        }
        selAnchorLine = caretLine = selStartLine = selEndLine = at.line;
        selAnchorColumn = caretColumn = selStartColumn = selEndColumn = at.column;
    } else if (!selectionActive) {
        selStartLine = selEndLine = caretLine;
        selStartColumn = selEndColumn = caretColumn;
    }
    dragSelect(window);
}

// ---- What the record editor asks of the window ----

// The caret's line laid out for the entry on show.
void ensureLayout()
{
    if (lineTableOwner != currentEntryOffset)
        buildLineTable(dataViewRowCount + 1, currentEntryOffset, firstVisibleLine);
}

// The editor moves the caret through the main window, as a key would.
void sendEditorKey(CaretKey key)
{
    static const WPARAM keys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_PRIOR, VK_NEXT};
    const WPARAM k = keys[static_cast<int>(key)];
    if (mainWindow)
        SendMessageA(mainWindow, WM_KEYDOWN, k, 0);
    else
        dataViewKey(k);
}

// The horizontal rule alone: the caret's x inside the client area.
bool scrollCaretIntoSight()
{
    ensureLayout();
    const int32_t column = std::min(caretColumn, lineLength(caretLine));
    const int32_t x = scrollXForCaret(caretWidth(caretLine, column), dataViewScrollX, clientWidth());
    if (x == dataViewScrollX)
        return false;
    dataViewScrollX = x;
    return true;
}

void editorCaretIntoView()
{
    if (!dataViewWindow)
        return;
    ensureLayout();
    const int32_t first = firstVisibleLineForCaret(caretLine, firstVisibleLine, dataViewRowCount);
    bool scrolled = first != firstVisibleLine;
    firstVisibleLine = first;
    scrolled = scrollCaretIntoSight() || scrolled;
    if (scrolled)
        repaintDataView();
}

void editorPaint(int mode)
{
    if (mode == 0)
        repaintDataView();
    else
        paintOnWindow(mode);
}

// ---- Window messages ----

LRESULT onCreate(HWND window)
{
    editorScreen = {sendEditorKey, editorCaretIntoView, editorPaint};

    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = 100;
    info.nPage = 50;
    info.nPos = 0;
    SetScrollInfo(window, SB_HORZ, &info, TRUE);

    HDC dc = GetDC(window);
    HFONT font = createLineFont(FW_NORMAL);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(window, dc);
    dataViewLineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    dataViewTextWidth = metrics.tmMaxCharWidth * 254;
    return 0;
}

void paintContent(HDC dc, HWND window)
{
    paintCaptionStrip(dc, window, "Data view");
    paintDataView(dc, 0);
}

void onPaint(HWND window)
{
    paintBuffered(window, dataViewBackColour, paintContent);
}

LRESULT onMouseActivate()
{
    if (activeView != ActiveView::DataView)
        activateDataView();
    return MA_ACTIVATE;
}

ScrollCode scrollCode(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case SB_LINEUP:     return ScrollCode::LineBack;
    case SB_LINEDOWN:   return ScrollCode::LineForward;
    case SB_PAGEUP:     return ScrollCode::PageBack;
    case SB_PAGEDOWN:   return ScrollCode::PageForward;
    case SB_THUMBTRACK: return ScrollCode::Track;
    default:            return ScrollCode::Other;
    }
}

void onVerticalScroll(HWND window, WPARAM wParam)
{
    ScrollCode code = scrollCode(wParam);
    if (uiBusy || code == ScrollCode::Other)
        return;
    int track = code == ScrollCode::Track ? trackPosition(window, SB_VERT) : 0;
    firstVisibleLine = scrolledFirstVisibleLine(code, firstVisibleLine, dataViewRowCount, lineCount, track);
    repaintDataView();
}

void onHorizontalScroll(HWND window, WPARAM wParam)
{
    ScrollCode code = scrollCode(wParam);
    if (uiBusy || code == ScrollCode::Other)
        return;
    int track = code == ScrollCode::Track ? trackPosition(window, SB_HORZ) : 0;
    int32_t x = scrolledX(code, dataViewScrollX, clientWidth(), dataViewTextWidth, track);
    if (x != dataViewScrollX) {
        dataViewScrollX = x;
        repaintDataView();
    }
}

// The capture taken at the press stays while the window is moved.
void onCaptionPressed()
{
    if (!buttonHeldFor(100)) {
        ReleaseCapture();
        showCursor(nullptr, IDC_ARROW);
        return;
    }
    showCursor(appInstance, MAKEINTRESOURCEA(IDC_MOVE_CURSOR));
    dataViewMoving = true;
}

void setCaretFromPointer(POINT p)
{
    TextPosition at = positionAt(p);
    caretLine = at.line;
    caretColumn = at.column;
}

void onTextPressed(HWND window, bool shift)
{
    mouseHeld = shift ? leftButtonDown() : buttonHeldFor(200);
    if (mouseHeld)
        showHand();
    else
        showIBeam();
    if (!shift && !(selectionActive && mouseHeld)) {
        // A plain click: the caret goes where the pointer is.
        clearDataViewSelection();
        setCaretFromPointer(grabPoint);
        repaintDataView();
    }
    if (mouseHeld)
        mouseSelect(window, shift);
}

// Left and right button alike: the hold test looks at the left button.
void onButtonDown(HWND window, WPARAM wParam, LPARAM lParam, bool left)
{
    if (uiBusy)
        return;
    if (left && linkHover && !(wParam & MK_CONTROL)) {
        // The entry may have changed under a resting pointer since the
        // link was found: only the link still there is opened.
        TextPosition at{};
        int32_t open = 0, close = 0;
        POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (linkAt(p, at, open, close) && at.line == linkLine && open == linkOpenColumn && close == linkCloseColumn) {
            openHoveredLink(window);
            return;
        }
        linkHover = false;
    }
    grabPoint = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    mouseHeld = true;
    BringWindowToTop(window);
    SetCapture(window);
    if (grabPoint.y < captionHeight) {
        onCaptionPressed();
    } else {
        onTextPressed(window, (wParam & MK_SHIFT) != 0);
        ReleaseCapture();
    }
}

void onDoubleClick(WPARAM wParam, LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (uiBusy || p.y < captionHeight)
        return;
    setCaretFromPointer(p);
    char text[viewLineSize];
    lineText(caretLine, text);
    selectWordAtCaret(text, (wParam & MK_SHIFT) != 0);
    repaintDataView();
}

void onMouseMove(HWND window, LPARAM lParam)
{
    POINT pointer = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (dataViewMoving) {
        moveViewWithPointer(window, grabPoint, pointer, dataViewRect);
        return;
    }
    if (uiBusy)
        return;
    if (pointer.y > captionHeight) {
        trackLink(pointer);
        return;
    }
    // Leaving the text for the caption strip leaves the link too.
    if (linkHover)
        removeLinkUnderline();
    if (pointer.y < captionHeight)
        showCursor(nullptr, IDC_ARROW);
    else
        showIBeam();
}

void onLeftButtonUp()
{
    mouseHeld = false;
    if (dataViewMoving) {
        dataViewMoving = false;
        ReleaseCapture();
    }
}

CaretKey caretKey(WPARAM key, bool& known)
{
    known = true;
    switch (key) {
    case VK_UP:    return CaretKey::Up;
    case VK_DOWN:  return CaretKey::Down;
    case VK_LEFT:  return CaretKey::Left;
    case VK_RIGHT: return CaretKey::Right;
    case VK_HOME:  return CaretKey::Home;
    case VK_END:   return CaretKey::End;
    case VK_PRIOR: return CaretKey::PageUp;
    case VK_NEXT:  return CaretKey::PageDown;
    default:       known = false; return CaretKey::Up;
    }
}

// After a caret key: either the caret moves by inversion (erased at its
// old place, drawn at the new), or the whole view is painted again.
void redrawAfterCaretKey(DataViewRedraw how, int32_t oldLine, int32_t oldColumn)
{
    if (how == DataViewRedraw::Full) {
        repaintDataView();
    } else if (how == DataViewRedraw::MoveCaret) {
        const int32_t newLine = caretLine, newColumn = caretColumn;
        caretLine = oldLine;
        caretColumn = oldColumn;
        paintOnWindow(1);
        caretLine = newLine;
        caretColumn = newColumn;
        paintOnWindow(1);
    }
}

}  // namespace

void paintDataView(HDC dc, int mode)
{
    if (mode < 0 || mode > 4 || !dataViewWindow || lineHeight() < 1)
        return;
    RECT client;
    GetClientRect(dataViewWindow, &client);
    dataViewRowCount = client.bottom / lineHeight();
    if (client.right < 1 || client.bottom < 1)
        return;
    if (mode != 1)
        dataViewScrollX = clampedScrollX(dataViewScrollX, dataViewTextWidth, client.right);
    if (mode == 0 || mode == 2)
        buildLineTable(dataViewRowCount + 1, currentEntryOffset, firstVisibleLine);
    if (mode == 0) {
        // Clamped after the layout, so that an entry that lost lines since
        // the last paint shows no empty rows either.
        int32_t first = clampedFirstVisibleLine(firstVisibleLine, dataViewRowCount, lineCount);
        if (first != firstVisibleLine) {
            firstVisibleLine = first;
            buildLineTable(dataViewRowCount + 1, currentEntryOffset, firstVisibleLine);
        }
    }
    if (mode != 1)
        setScrollBars(client.right);

    LineFonts fonts;
    HGDIOBJ previousFont = SelectObject(dc, fonts.normal);
    if (mode == 0 || mode == 3)
        drawAllLines(dc, fonts, client.right);
    else if (mode == 2 || mode == 4)
        drawCaretLine(dc, fonts, client.right);

    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SetROP2(dc, R2_NOT);
    if (mode != 4)
        drawCaret(dc, fonts);
    drawSelection(dc, fonts);
    SetROP2(dc, R2_COPYPEN);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousFont);
}

DropPosition dataViewPositionAt(POINT clientPoint)
{
    if (lineTableOwner != currentEntryOffset)
        buildLineTable(dataViewRowCount + 1, currentEntryOffset, firstVisibleLine);
    TextPosition at = positionAt(clientPoint);
    return {at.line, at.column};
}

int dataViewTextX(int32_t line, int32_t column)
{
    return dataViewWindow ? caretWidth(line, column) : 0;
}

void repaintDataView()
{
    if (dataViewWindow) {
        InvalidateRect(dataViewWindow, nullptr, FALSE);
        UpdateWindow(dataViewWindow);
    }
}

void redrawLinkUnderline()
{
    if (dataViewWindow && linkHover)
        drawLinkUnderline();
}

LRESULT CALLBACK dataViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:         return onCreate(window);
    case WM_PAINT:          onPaint(window); return 0;
    case WM_ERASEBKGND:     return 1;
    case WM_MOVE:
    case WM_SIZE:           trackViewPlacement(window, dataViewWindow, dataViewRect); return 0;
    case WM_GETMINMAXINFO:  setViewMinimumSize(window, reinterpret_cast<MINMAXINFO*>(lParam), dataViewLineHeight); return 0;
    case WM_MOUSEACTIVATE:  return onMouseActivate();
    case WM_VSCROLL:        onVerticalScroll(window, wParam); return 0;
    case WM_HSCROLL:        onHorizontalScroll(window, wParam); return 0;
    case WM_MOUSEMOVE:      onMouseMove(window, lParam); return 0;
    case WM_LBUTTONDOWN:    onButtonDown(window, wParam, lParam, true); return 0;
    case WM_RBUTTONDOWN:    onButtonDown(window, wParam, lParam, false); return 0;
    case WM_LBUTTONUP:      onLeftButtonUp(); return 0;
    case WM_LBUTTONDBLCLK:  onDoubleClick(wParam, lParam); return 0;
    case WM_CAPTURECHANGED: dataViewMoving = false; return 0;
    default:                return DefWindowProcA(window, message, wParam, lParam);
    }
}

void dataViewKey(WPARAM key)
{
    if (uiBusy || !dataViewWindow)
        return;
    if (key == VK_BACK || key == VK_DELETE) {
        takeSnapshot();
        if (selectionActive) {
            deleteSelection(false);
            if (scrollCaretIntoSight())
                repaintDataView();
        } else {
            editEntry(key == VK_BACK ? 2 : 1);
        }
        return;
    }
    if (key == VK_RETURN) {
        takeSnapshot();
        if (selectionActive)
            deleteSelection(false);
        editEntry(3);
        return;
    }
    bool known = false;
    CaretKey caret = caretKey(key, known);
    if (!known)
        return;
    // The caret rules read the layout; a paint may not have made it yet.
    ensureLayout();
    // The editor's own keys move by one, whatever is held: a character
    // typed with AltGr comes with Ctrl down, a capital with Shift.
    const bool shift = !cursorRightInternal && GetKeyState(VK_SHIFT) < 0;
    const bool control = !cursorRightInternal && GetKeyState(VK_CONTROL) < 0;
    const int32_t oldLine = caretLine, oldColumn = caretColumn;
    DataViewRedraw how = dataViewCaretKey(caret, shift, control, clientWidth(), caretWidth);
    redrawAfterCaretKey(how, oldLine, oldColumn);
}

void dataViewCharacter(unsigned char c)
{
    // Enter, Backspace and the rest below 32 come as keys as well; they
    // are handled there.
    if (uiBusy || !dataViewWindow || c < 32)
        return;
    takeSnapshot();
    if (selectionActive)
        deleteSelection(false);
    editEntry(c);
}

void dataViewWheel(int delta)
{
    if (uiBusy || !dataViewWindow)
        return;
    for (int step = 0; step < 3; ++step) {
        int32_t first = wheelStep(delta, firstVisibleLine, dataViewRowCount, lineCount);
        if (first != firstVisibleLine) {
            firstVisibleLine = first;
            repaintDataView();
        }
    }
}
