#include "transfer/paste_text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "find/sort.h"
#include "host/host.h"
#include "host/texts.h"
#include "store/store.h"
#include "views/line_table.h"
#include "views/record_editor.h"
#include "views/view_state.h"

namespace {

void noCursorKeys()
{
}

// Lines are broken before the byte that would make a line this long.
constexpr int32_t lineLimit = 255;

// Bytes past the used text read as 0.
unsigned char byteAt(int32_t p)
{
    return p >= 0 && p < usedBytes ? textBuffer[p] : 0;
}

bool lineEndAt(const char* text, size_t length, size_t i)
{
    return i + 1 < length && text[i] == '\r' && text[i + 1] == '\n';
}

}  // namespace

void (*pasteCursorKeys)() = noCursorKeys;

std::string preparePasteText(const char* text, size_t length)
{
    std::string prepared;
    prepared.reserve(2 * length);
    for (size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (lineEndAt(text, length, i) && (i + 2 == length || lineEndAt(text, length, i + 2))) {
            prepared += "\r\n ";
            ++i;
        } else if (c >= 32 || c == '\r' || c == '\n') {
            prepared += static_cast<char>(c);
        } else {
            prepared += ' ';
        }
    }
    return prepared;
}

bool insertPasteText(const std::string& prepared)
{
    if (lineTableOwner != currentEntryOffset)
        buildLineTable(1, currentEntryOffset, firstVisibleLine);
    int32_t lineOffset = lineStart(caretLine);
    if (lineOffset < 0) {
        caretLine = 0;
        lineOffset = lineStart(0) >= 0 ? lineStart(0) : currentEntryOffset;
    }
    if (caretColumn > lineLength(caretLine))
        caretColumn = lineLength(caretLine);
    const int32_t at = std::min(lineOffset + caretColumn, usedBytes);

    // A line of one blank stands for an empty one.  Pasted at column 0 of
    // such a line, the text takes the blank's place, as a typed character
    // does.
    const int32_t replaced = caretColumn == 0 && byteAt(at) == ' ' && byteAt(at + 1) < 32 ? 1 : 0;

    // What is left of the caret's line ends up behind the pasted text and
    // counts towards the length of its last line.
    int32_t rest = 0;
    while (byteAt(at + replaced + rest) != '\r' && byteAt(at + replaced + rest) != 0)
        ++rest;

    // The blank line that closes text ending in a line break is not needed
    // where the caret's line goes on behind it: that text fills the line.
    size_t length = prepared.size();
    if (rest > 0 && length >= 3 && prepared.compare(length - 3, 3, "\r\n ") == 0)
        --length;
    // Text that begins with a line break, pasted at the start of a line,
    // would leave an empty line there and so end the entry: a blank holds
    // the line open, as inside the pasted text.
    const bool openingBlank = caretColumn == 0 && length >= 2 && prepared[0] == '\r' && prepared[1] == '\n';

    // The pasted bytes with the line breaks they need; a byte that would
    // reach the limit begins the next line but is not counted in its column.
    // No break goes where a line has only begun: it would stay empty.
    std::string inserted;
    int32_t line = caretLine, column = caretColumn;
    auto lineBegun = [&] { return inserted.empty() ? caretColumn == 0 : inserted.back() == '\n'; };
    auto add = [&](char c) {
        if (static_cast<unsigned char>(c) >= 32) {
            ++column;
            if (rest + column >= lineLimit && !lineBegun()) {
                inserted += "\r\n";
                column = 0;
                ++line;
            }
        } else if (c == '\r') {
            column = 0;
            ++line;
        }
        inserted += c;
    };
    try {
        inserted.reserve(length + length / 64 + 3);
        if (openingBlank)
            add(' ');
        for (size_t i = 0; i < length; ++i)
            add(prepared[i]);
    } catch (const std::bad_alloc&) {
        return false;
    }

    const auto m = static_cast<int32_t>(inserted.size());
    if (!growTextBufferFor(m - replaced))
        return false;
    std::memmove(textBuffer + at + m, textBuffer + at + replaced, static_cast<size_t>(usedBytes - at - replaced));
    std::memcpy(textBuffer + at, inserted.data(), static_cast<size_t>(m));
    usedBytes += m - replaced;
    // The separator scan reads a few bytes past the text.
    std::memset(textBuffer + usedBytes, 0, static_cast<size_t>(bufferCapacity - usedBytes));
    caretLine = line;
    caretColumn = column;
    return true;
}

void pasteText(const char* clipboardText)
{
    if (clipboardText) {
        std::string prepared;
        try {
            prepared = preparePasteText(clipboardText, std::strlen(clipboardText));
        } catch (const std::bad_alloc&) {
            prepared.clear();
        }
        if (!prepared.empty())
            insertPasteText(prepared);
    }
    finishPaste();
}

void finishPaste()
{
    entryCount = rebuildEntryIndex();
    resortPending = true;
    lineTableOwner = -1;
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
    cursorRightInternal = true;
    pasteCursorKeys();
    cursorRightInternal = false;
}
