#include "views/data_view_rules.h"

#include <algorithm>

#include "resources/resource.h"
#include "host/host.h"
#include "views/line_table.h"
#include "views/view_state.h"

int32_t dataViewRowCount = 0;

bool linkHover = false;
int32_t linkLine = 0, linkOpenColumn = 0, linkCloseColumn = 0;

namespace {

// Rows a page moves: the visible rows less the first line's double band
// and one row of overlap.  A window too small for that still moves by one.
int32_t pageStep(int32_t rows)
{
    return std::max(rows - 3, 1);
}

void enableCopyAndCut(bool enabled)
{
    host().enableMenuItem(IDM_COPY, enabled);
    host().enableMenuItem(IDM_CUT, enabled);
}

bool before(int32_t lineA, int32_t columnA, int32_t lineB, int32_t columnB)
{
    return lineA < lineB || (lineA == lineB && columnA < columnB);
}

void setSelection(int32_t startLine, int32_t startColumn, int32_t endLine, int32_t endColumn)
{
    selStartLine = startLine;
    selStartColumn = startColumn;
    selEndLine = endLine;
    selEndColumn = endColumn;
}

void clearIfEmpty()
{
    if (selectionActive && selStartLine == selEndLine && selStartColumn == selEndColumn)
        clearDataViewSelection();
}

// Ctrl+Left: back to the start of the word before the caret.
int32_t wordLeft(const char* t, int32_t c)
{
    if (c > 0 && t[c - 1] == ' ')
        --c;
    while (c > 0 && t[c] == ' ')
        --c;
    while (c > 0 && t[c] != ' ')
        --c;
    while (t[c] == ' ')
        ++c;
    return c;
}

// Ctrl+Right: on to the next blank or the line's end, then over blanks.
int32_t wordRight(const char* t, int32_t length, int32_t c)
{
    while (c < length && t[c] != ' ')
        ++c;
    while (c < length && t[c] == ' ')
        ++c;
    return c;
}

void moveCaret(CaretKey key, bool control)
{
    char text[viewLineSize];
    int32_t length = lineText(caretLine, text);
    caretColumn = std::min(caretColumn, length);
    const int32_t step = pageStep(dataViewRowCount);
    switch (key) {
    case CaretKey::Up:
        caretLine = std::max(caretLine - 1, 0);
        break;
    case CaretKey::Down:
        if (caretLine + 1 < lineCount)
            ++caretLine;
        break;
    case CaretKey::Left:
        // The window's key handler passes no Ctrl while the editor sends
        // its own keys (characters typed with AltGr arrive with Ctrl held).
        if (control) {
            caretColumn = wordLeft(text, caretColumn);
        } else if (caretColumn > 0) {
            --caretColumn;
        } else if (caretLine > 0) {
            --caretLine;
            caretColumn = lineLength(caretLine);
        }
        break;
    case CaretKey::Right:
        if (control) {
            caretColumn = wordRight(text, length, caretColumn);
        } else if (caretColumn < length) {
            ++caretColumn;
        } else if (caretLine + 1 < lineCount) {
            ++caretLine;
            caretColumn = 0;
        }
        break;
    case CaretKey::Home:
        caretColumn = 0;
        if (control) {
            caretLine = 0;
            firstVisibleLine = 0;
            dataViewScrollX = 0;
        }
        break;
    case CaretKey::End:
        if (control) {
            caretLine = std::max(lineCount - 1, 0);
            firstVisibleLine = std::max(lineCount - dataViewRowCount + 2, 0);
            dataViewScrollX = 0;
        }
        caretColumn = lineLength(caretLine);
        break;
    case CaretKey::PageUp:
        firstVisibleLine = std::max(firstVisibleLine - step, 0);
        if (caretLine > 0)
            caretLine = std::max(caretLine - step, 1);
        break;
    case CaretKey::PageDown:
        firstVisibleLine += step;
        if (caretLine > 0)
            caretLine += step;
        if (firstVisibleLine > lineCount - dataViewRowCount + 2)
            firstVisibleLine = std::max(lineCount - dataViewRowCount + 2, 0);
        caretLine = std::max(std::min(caretLine, lineCount - 1), 0);
        break;
    }
}

}  // namespace

int32_t clampedFirstVisibleLine(int32_t first, int32_t rows, int32_t lines)
{
    if (first + rows - 3 >= lines)
        first = std::max(lines - rows + 2, 0);
    return first;
}

int32_t maxScrollX(int32_t textWidth, int32_t clientWidth)
{
    return std::max(textWidth - clientWidth, 0);
}

int32_t clampedScrollX(int32_t x, int32_t textWidth, int32_t clientWidth)
{
    return std::max(std::min(x, textWidth - clientWidth), 0);
}

int32_t scrolledFirstVisibleLine(ScrollCode code, int32_t first, int32_t rows, int32_t lines, int32_t track)
{
    switch (code) {
    case ScrollCode::LineBack:
        return first >= 1 ? first - 1 : first;
    case ScrollCode::LineForward:
        return first + rows - 2 < lines ? first + 1 : first;
    case ScrollCode::PageBack:
        return std::max(first - pageStep(rows), 0);
    case ScrollCode::PageForward:
        return clampedFirstVisibleLine(first + pageStep(rows), rows, lines);
    case ScrollCode::Track:
        return track;
    case ScrollCode::Other:
        break;
    }
    return first;
}

int32_t scrolledX(ScrollCode code, int32_t x, int32_t clientWidth, int32_t textWidth, int32_t track)
{
    const int32_t maximum = maxScrollX(textWidth, clientWidth);
    switch (code) {
    case ScrollCode::LineBack:
        return std::max(x - clientWidth / 4, 0);
    case ScrollCode::LineForward:
        return x < maximum ? std::min(x + clientWidth / 4, maximum) : x;
    case ScrollCode::PageBack:
        return std::max(x - clientWidth, 0);
    case ScrollCode::PageForward:
        return std::min(x + clientWidth, maximum);
    case ScrollCode::Track:
        return std::max(std::min(track, maximum), 0);
    case ScrollCode::Other:
        break;
    }
    return x;
}

int32_t wheelStep(int delta, int32_t first, int32_t rows, int32_t lines)
{
    if (delta > 0 && first > 0)
        return first - 1;
    if (delta < 0 && first + rows - 2 < lines)
        return first + 1;
    return first;
}

int32_t pointerLine(int32_t y, int32_t captionHeight, int32_t lineHeight, int32_t first, int32_t lines)
{
    if (lineHeight < 1 || y - captionHeight < 2 * lineHeight)
        return 0;
    int32_t line = (y - captionHeight - 2 * lineHeight) / lineHeight + first + 1;
    return std::max(std::min(line, lines - 1), 0);
}

int32_t pointerColumn(int32_t x, int32_t scrollX, int32_t length, const PrefixWidth& widthOf)
{
    for (int32_t c = 0; c < length; ++c) {
        if (widthOf(c) - scrollX >= x - 3)
            return c;
    }
    return length;
}

bool findLink(const char* text, int32_t column, int32_t& open, int32_t& close)
{
    if (column < 0 || column >= viewLineSize)
        return false;
    int32_t left = column;
    while (left > 0 && text[left] != '"' && static_cast<unsigned char>(text[left]) >= 32)
        --left;
    if (text[left] != '"')
        return false;
    int32_t right = column;
    while (right < viewLineSize - 1 && text[right] != '"' && static_cast<unsigned char>(text[right]) >= 32)
        ++right;
    if (text[right] != '"' || right == left)
        return false;
    open = left;
    close = right;
    return true;
}

int32_t firstVisibleLineForCaret(int32_t caretLine, int32_t first, int32_t rows)
{
    if (caretLine <= 0)
        return first;
    if (caretLine - first > rows - 3)
        first = caretLine - rows + 3;
    else if (caretLine - first < 1)
        first = caretLine - 1;
    return std::max(first, 0);
}

int32_t scrollXForCaret(int32_t x, int32_t scrollX, int32_t clientWidth)
{
    if (x - scrollX < 0 || x - scrollX > clientWidth)
        return std::max(x - clientWidth / 8, 0);
    return scrollX;
}

void clearDataViewSelection()
{
    selectionActive = false;
    selAnchorLine = selAnchorColumn = -1;
    if (!markActive)
        enableCopyAndCut(false);
}

DataViewRedraw dataViewCaretKey(CaretKey key, bool shift, bool control, int32_t clientWidth, const CaretWidth& caretX)
{
    const int32_t oldLine = caretLine, oldColumn = caretColumn;
    const int32_t oldFirst = firstVisibleLine, oldScrollX = dataViewScrollX;
    bool full = false;
    if (shift) {
        if (!selectionActive || selAnchorLine < 0) {
            selectionActive = true;
            enableCopyAndCut(true);
            selAnchorLine = caretLine;
            selAnchorColumn = caretColumn;
        }
    } else {
        selAnchorLine = selAnchorColumn = -1;
        if (selectionActive) {
            clearDataViewSelection();
            full = true;
        }
    }

    moveCaret(key, control);

    if (shift && selectionActive) {
        if (!before(selAnchorLine, selAnchorColumn, caretLine, caretColumn))
            setSelection(caretLine, caretColumn, selAnchorLine, selAnchorColumn);
        else
            setSelection(selAnchorLine, selAnchorColumn, caretLine, caretColumn);
    }
    clearIfEmpty();

    firstVisibleLine = firstVisibleLineForCaret(caretLine, firstVisibleLine, dataViewRowCount);
    int32_t column = std::min(caretColumn, lineLength(caretLine));
    dataViewScrollX = scrollXForCaret(caretX(caretLine, column), dataViewScrollX, clientWidth);

    if (full || shift || firstVisibleLine != oldFirst || dataViewScrollX != oldScrollX)
        return DataViewRedraw::Full;
    if (caretLine != oldLine || caretColumn != oldColumn)
        return DataViewRedraw::MoveCaret;
    return DataViewRedraw::None;
}

bool selectWordAtCaret(const char* text, bool shift)
{
    const auto at = [&](int32_t c) { return static_cast<unsigned char>(text[c]); };
    if (caretColumn < 0 || caretColumn >= viewLineSize || at(caretColumn) <= 32)
        return false;
    int32_t start = caretColumn;
    while (start > 0 && at(start - 1) > 32)
        --start;
    int32_t end = caretColumn;
    while (end < viewLineSize - 1 && at(end) > 32)
        ++end;

    if (!shift || !selectionActive) {
        setSelection(caretLine, start, caretLine, end);
        caretColumn = start;
        selAnchorLine = caretLine;
        selAnchorColumn = start;
    } else if (before(caretLine, start, selAnchorLine, selAnchorColumn)) {
        setSelection(caretLine, start, selAnchorLine, selAnchorColumn);
    } else {
        setSelection(selAnchorLine, selAnchorColumn, caretLine, end);
    }
    selectionActive = true;
    enableCopyAndCut(true);
    clearIfEmpty();
    return true;
}
