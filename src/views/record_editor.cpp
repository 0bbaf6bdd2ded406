#include "views/record_editor.h"

#include <algorithm>
#include <cstring>

#include "find/sort.h"
#include "host/host.h"
#include "host/texts.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "store/undo.h"
#include "views/line_table.h"
#include "views/overview_rules.h"
#include "views/type_ahead.h"
#include "views/view_state.h"

bool cursorRightInternal = false;

namespace {

constexpr const char* textLineTooLong = "Line would be longer than 255 characters!";
constexpr const char* textReallyDeleteEntry = "Really delete this entry?";
constexpr int32_t lineLimit = 255;

// ---- Defaults of the screen hooks ----

// The line table must describe the shown entry before lines are measured.
void ensureLayout()
{
    if (lineTableOwner != currentEntryOffset || !lineStarts)
        buildLineTable(std::max(dataViewRowCount + 1, 1), currentEntryOffset, firstVisibleLine);
}

void plainCaretKey(CaretKey key)
{
    ensureLayout();
    // Wide enough that no column ever lies outside it.
    dataViewCaretKey(key, false, false, 1 << 30, [](int32_t, int32_t) { return 0; });
}

void plainCaretIntoView()
{
    firstVisibleLine = firstVisibleLineForCaret(caretLine, firstVisibleLine, dataViewRowCount);
}

void hostPaint(int)
{
    host().repaint(ViewId::DataView);
}

}  // namespace

EditorScreen editorScreen = {plainCaretKey, plainCaretIntoView, hostPaint};

namespace {

// ---- Bytes ----

unsigned char byteAt(int32_t p)
{
    return p >= 0 && p < usedBytes ? textBuffer[p] : 0;
}

// A line of exactly one blank starts at s.
bool blankLineAt(int32_t s)
{
    return byteAt(s) == ' ' && byteAt(s + 1) < 32;
}

// Makes room at p and writes n bytes there.  The main window keeps at
// least 500 bytes free; should a caller come without, the store grows here.
bool insertBytes(int32_t p, const char* bytes, int32_t n)
{
    if (usedBytes + n + 4 > bufferCapacity)
        ensureStoreCapacity();
    if (usedBytes + n + 4 > bufferCapacity)
        return false;
    std::memmove(textBuffer + p + n, textBuffer + p, static_cast<size_t>(usedBytes - p));
    std::memcpy(textBuffer + p, bytes, static_cast<size_t>(n));
    usedBytes += n;
    return true;
}

// Removes n bytes at p.  The bytes freed behind the text are zeroed: the
// separator scan looks up to three bytes past the end.
void removeBytes(int32_t p, int32_t n)
{
    std::memmove(textBuffer + p, textBuffer + p + n, static_cast<size_t>(usedBytes - p - n));
    usedBytes -= n;
    std::memset(textBuffer + usedBytes, 0, static_cast<size_t>(n));
}

bool isLineBreakByte(unsigned char c)
{
    return c == '\r' || c == '\n';
}

// ---- Common steps ----

// After the bytes changed: index, line table, and the sort when the
// heading may have changed.
void textChanged()
{
    entryCount = rebuildEntryIndex();
    if (caretLine == 0)
        resortPending = true;
    lineTableOwner = -1;
}

// After delta bytes went in at p (or -delta came out there), none of them
// CR or LF: the index mostly needs only to move along behind p.
void textChangedAt(int32_t p, int32_t delta)
{
    entryCount = reindexAfterEdit(p, delta);
    if (caretLine == 0)
        resortPending = true;
    lineTableOwner = -1;
}

// The byte at p goes; a line that starts at s and so becomes empty keeps
// a blank, because an empty line would end the entry.  The index follows.
void removeCharacter(int32_t p, int32_t s)
{
    const bool lineBreak = isLineBreakByte(byteAt(p));
    removeBytes(p, 1);
    int32_t delta = -1;
    if (p == s && byteAt(s) < 32) {
        insertBytes(s, " ", 1);
        delta = 0;
    }
    if (lineBreak)
        textChanged();
    else
        textChangedAt(p, delta);
}

void repaintAfterChange()
{
    editorScreen.paint(0);
    if (caretLine == 0)
        host().repaintCurrentRow();
}

// The editor's own caret keys: Ctrl and Shift of the keystroke that is
// being handled must not turn them into word steps or a selection.
void sendCaretKey(CaretKey key)
{
    const bool previous = cursorRightInternal;
    cursorRightInternal = true;
    editorScreen.caretKey(key);
    cursorRightInternal = previous;
}

int32_t refuseLongLine()
{
    UiBusyScope busy;
    reportError(captionMain, textLineTooLong);
    return -1;
}

// The last entry was deleted and nothing is left: the store starts again
// with one blank entry, as after New; the file name stays.
void resetIfEmpty()
{
    if (entryCount != 0 || usedBytes != 0)
        return;
    discardSnapshot();
    resetViewState();
    resetToBlankEntry();
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}

// An entry has gone from under the Overview's cursor: the cursor stays on
// its row unless that was the last entry, and the Data view shows the
// entry that is now current.
void followRemovedEntry()
{
    if (entryCount > 0 && currentEntry() >= entryCount) {
        if (cursorRow > 0)
            --cursorRow;
        else if (firstVisibleEntry > 0)
            --firstVisibleEntry;
    }
    showCurrentEntry();
    host().repaint(ViewId::Overview);
}

enum class BlankLineRemoval { Kept, LineRemoved, EntryRemoved };

// The blank line at the caret goes.  When it is the entry's only line the
// whole entry would go, which the user must confirm.
BlankLineRemoval removeBlankLine()
{
    const int32_t s = lineStart(caretLine);
    const bool onlyLine = (s == 0 || byteAt(s - 3) == '\n') && byteAt(s + 3) == '\r';
    UiBusyScope busy;
    if (onlyLine) {
        if (!host().askYesNo(captionMain, textReallyDeleteEntry, false))
            return BlankLineRemoval::Kept;
        removeBytes(s, 5);   // blank, CR LF CR LF
    } else {
        removeBytes(s, 3);   // blank, CR LF
    }
    textChanged();
    return onlyLine ? BlankLineRemoval::EntryRemoved : BlankLineRemoval::LineRemoved;
}

// ---- The edits ----

int32_t insertCharacter(unsigned char c)
{
    const int32_t s = lineStart(caretLine);
    if (s < 0)
        return 0;
    const int32_t length = lineLength(caretLine);
    if (caretColumn >= lineLimit || length >= lineLimit)
        return refuseLongLine();
    caretColumn = std::min(caretColumn, length);
    {
        UiBusyScope busy;
        const int32_t p = s + caretColumn;
        int32_t delta = 0;
        if (caretColumn == 0 && blankLineAt(s))
            textBuffer[p] = c;
        else if (insertBytes(p, reinterpret_cast<const char*>(&c), 1))
            delta = 1;
        else
            return 0;
        textChangedAt(p, delta);
    }
    sendCaretKey(CaretKey::Right);
    editorScreen.paint(2);
    if (caretLine == 0)
        host().repaintCurrentRow();
    return 0;
}

int32_t splitLine()
{
    const int32_t s = lineStart(caretLine);
    if (s < 0)
        return 0;
    caretColumn = std::min(caretColumn, lineLength(caretLine));
    {
        UiBusyScope busy;
        const int32_t p = s + caretColumn;
        bool done;
        if (caretColumn > 0 && byteAt(p) != '\r')
            done = insertBytes(p, "\r\n", 2);     // the rest of the line moves down
        else if (caretColumn > 0)
            done = insertBytes(p, "\r\n ", 3);    // a blank line below
        else
            done = insertBytes(s, " \r\n", 3);    // a blank line above
        if (!done)
            return 0;
        caretColumn = 0;
        textChanged();
    }
    repaintAfterChange();
    sendCaretKey(CaretKey::Down);
    return 0;
}

int32_t deleteForward()
{
    const int32_t s = lineStart(caretLine);
    if (s < 0)
        return 0;
    const int32_t length = lineLength(caretLine);
    caretColumn = std::min(caretColumn, length);
    const bool blank = blankLineAt(s);

    if (blank && caretColumn == 0) {
        BlankLineRemoval removal = removeBlankLine();
        if (removal == BlankLineRemoval::EntryRemoved) {
            followRemovedEntry();
        } else if (removal == BlankLineRemoval::LineRemoved) {
            repaintAfterChange();
            ensureLayout();
            if (caretColumn >= lineLength(caretLine)) {
                sendCaretKey(CaretKey::Up);
                sendCaretKey(CaretKey::End);
            }
        }
        resetIfEmpty();
        return 0;
    }

    if (caretColumn < length) {
        {
            UiBusyScope busy;
            removeCharacter(s + caretColumn, s);
        }
        repaintAfterChange();
        return 0;
    }

    // At the end of the line: the next line joins it.
    const int32_t next = lineStart(caretLine + 1);
    const int32_t p = s + length;
    if (caretLine >= lineCount - 1 || next < 0 || byteAt(p) != '\r' || byteAt(p + 1) != '\n')
        return 0;
    const int32_t nextLength = lineLength(caretLine + 1);
    if (nextLength == 0)
        return 0;
    if (length + nextLength > lineLimit)
        return refuseLongLine();
    // Joining with a blank line drops the blank, whichever side it is on.
    const bool blankFirst = blank && !blankLineAt(next);
    {
        UiBusyScope busy;
        if (blankFirst)
            removeBytes(s, 3);   // blank, CR LF: the next line moves up
        else
            removeBytes(p, blankLineAt(next) ? 3 : 2);
        textChanged();
    }
    repaintAfterChange();
    if (blankFirst)
        sendCaretKey(CaretKey::Home);
    return 0;
}

int32_t deleteBackward()
{
    const int32_t s = lineStart(caretLine);
    if (s < 0)
        return 0;
    const int32_t length = lineLength(caretLine);
    caretColumn = std::min(caretColumn, length);
    const bool blank = blankLineAt(s);

    if (blank && caretColumn == 1) {
        // The blank stays: it holds the line open.
        sendCaretKey(CaretKey::Left);
        return 0;
    }

    if (caretColumn > 0) {
        --caretColumn;
        {
            UiBusyScope busy;
            removeCharacter(s + caretColumn, s);
        }
        repaintAfterChange();
        return 0;
    }

    if (blank) {
        BlankLineRemoval removal = removeBlankLine();
        if (removal == BlankLineRemoval::EntryRemoved) {
            followRemovedEntry();
        } else if (removal == BlankLineRemoval::LineRemoved) {
            editorScreen.paint(0);
            sendCaretKey(CaretKey::Up);
            sendCaretKey(CaretKey::End);
            if (caretLine == 0)
                host().repaint(ViewId::Overview);
        }
        resetIfEmpty();
        return 0;
    }

    if (caretLine == 0)
        return 0;

    // At the start of a line: it joins the line above, the caret at the joint.
    const int32_t previousStart = lineStart(caretLine - 1);
    const int32_t previousLength = lineLength(caretLine - 1);
    const int32_t p = previousStart + previousLength;
    if (previousStart < 0 || byteAt(p) != '\r' || byteAt(p + 1) != '\n')
        return 0;
    if (previousLength + length > lineLimit)
        return refuseLongLine();
    // A blank line above goes with the join: this line takes its place.
    const bool blankAbove = blankLineAt(previousStart);
    --caretLine;
    caretColumn = blankAbove ? 0 : previousLength;
    sendCaretKey(blankAbove ? CaretKey::Home : CaretKey::End);
    {
        UiBusyScope busy;
        if (blankAbove)
            removeBytes(previousStart, 3);   // blank, CR LF
        else
            removeBytes(p, 2);
        textChanged();
    }
    repaintAfterChange();
    return 0;
}

int32_t overviewEdit(int32_t code)
{
    if (code >= 32 && code <= 255)
        typeAheadCharacter(static_cast<unsigned char>(code));
    else if ((code == 1 || code == 2) && typeAheadLength > 0)
        typeAheadBackspace();
    else if (code == 4)
        endTypeAhead();
    // Deleting the current entry (1 and 2 without a type-ahead) is the
    // Overview's key handler's: it asks first.
    return 0;
}

}  // namespace

int32_t editEntry(int32_t code)
{
    if (activeView == ActiveView::Overview)
        return overviewEdit(code);
    if (activeView != ActiveView::DataView || !textBuffer)
        return 0;
    if (!(code >= 1 && code <= 3) && !(code >= 32 && code <= 255))
        return 0;
    ensureLayout();
    editorScreen.caretIntoView();
    ensureLayout();
    switch (code) {
    case 1:  return deleteForward();
    case 2:  return deleteBackward();
    case 3:  return splitLine();
    default: return insertCharacter(static_cast<unsigned char>(code));
    }
}
