#include "find/replace.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "find/search.h"
#include "find/sort.h"
#include "host/host.h"
#include "host/texts.h"
#include "store/store.h"
#include "store/undo.h"
#include "views/activation.h"
#include "views/line_table.h"
#include "views/overview_rules.h"
#include "views/record_editor.h"
#include "views/selection_edit.h"
#include "views/view_state.h"

char replaceSearchText[51];
char replaceText[51];
int replaceDirection = 3;
int replaceFold = 1;
bool replaceAll = false;

namespace {

constexpr const char* textReplacingStatus = "Suchen/Ersetzen...";
constexpr const char* textReplacingAllStatus = "Alles ersetzen...";
constexpr const char* textSearchWholeData = "No adequate entry found!\nDo want to search in whole Data?";
constexpr int32_t lineLimit = 255;

bool downward(int direction)
{
    return direction == 1 || direction == 3;
}

int32_t rangeFirst(int32_t e)
{
    return entryIndex[e];
}

// The range of an entry takes in the empty line that closes it.
int32_t rangeLast(int32_t e)
{
    return entryIndex[e + 1] - 1;
}

void refreshRows(int32_t e)
{
    fillOverviewRows(std::min(overviewRowCount, static_cast<int32_t>(overviewRowSlots)), e);
}

// Text this run has put in, as [start, end) offsets kept up to date while
// the data moves.
using Spans = std::vector<std::pair<int32_t, int32_t>>;

void noteReplacement(Spans& spans, int32_t at, int32_t removed, int32_t inserted)
{
    const int32_t shift = inserted - removed;
    auto moved = [&](int32_t p) { return p <= at ? p : p < at + removed ? at : p + shift; };
    for (auto& span : spans)
        span = {moved(span.first), moved(span.second)};
    std::erase_if(spans, [](const auto& span) { return span.first >= span.second; });
    spans.emplace_back(at, at + inserted);
}

bool insideSpans(const Spans& spans, int32_t p)
{
    return std::any_of(spans.begin(), spans.end(), [p](const auto& s) { return p >= s.first && p < s.second; });
}

// One hit replaced: marked as the current entry's selection, deleted, and
// the replacement written at the caret.  Returns the offset behind the
// written text; `inserted` gets the bytes that went in (line breaks and a
// blank kept on an emptied line included).
int32_t replaceHit(int32_t e, int32_t hit, int32_t length, int direction, int32_t& inserted)
{
    makeCurrentEntry(e);
    refreshRows(e);
    int32_t line = 0, column = 0;
    lineAndColumnOf(e, hit, line, column);
    caretLine = selStartLine = selEndLine = line;
    selStartColumn = column;
    selEndColumn = column + length;
    caretColumn = downward(direction) ? column + length : column;
    selectionActive = true;

    const int32_t before = usedBytes;
    deleteSelection(true);
    const bool blankKept = usedBytes == before - length + 1;
    const auto m = static_cast<int32_t>(std::strlen(replaceText));
    int32_t pos = hit;
    // A line break in front of a line's first character adds an entry.
    if (m > 0 && growTextBufferFor(m) && growEntryIndexFor(1)) {
        std::memmove(textBuffer + hit + m, textBuffer + hit, static_cast<size_t>(usedBytes - hit + 1));
        usedBytes += m;
        int32_t rest = 0;
        while (textBuffer[hit + rest] != '\r' && textBuffer[hit + rest] != 0)
            ++rest;
        for (int32_t i = 0; i < m; ++i) {
            const auto c = static_cast<unsigned char>(replaceText[i]);
            if (c >= 32) {
                ++caretColumn;
                if (rest + caretColumn >= lineLimit) {
                    std::memmove(textBuffer + pos + 2, textBuffer + pos, static_cast<size_t>(usedBytes - pos + 1));
                    textBuffer[pos++] = '\r';
                    textBuffer[pos++] = '\n';
                    usedBytes += 2;
                    ++caretLine;
                    caretColumn = 0;
                }
            } else if (c == '\r') {
                ++caretLine;
                caretColumn = 0;
            }
            textBuffer[pos++] = c;
        }
    }
    entryCount = rebuildEntryIndex();
    resortPending = true;
    lineTableOwner = -1;
    if (!downward(direction)) {
        caretLine = line;
        caretColumn = column;
    }
    inserted = usedBytes - before + length;
    if (replaceAll) {
        refreshRows(e);
        buildLineTable(1, currentEntryOffset, 0);
    } else {
        host().repaint(ViewId::Overview);
        host().repaint(ViewId::DataView);
    }
    // With nothing written in front of it, the kept blank is stepped over,
    // or a blank searched for would be found there for ever.
    return blankKept && m == 0 ? pos + 1 : pos;
}

// The run inside the current entry, and single replacements in either
// scope, hit by hit.  Returns the number of replacements.
//
// Inside one entry the wrap-around directions end when the scan comes
// back to the caret, which every replacement moves on.  A replacement
// that holds the text it replaces would so feed the run for ever: the run
// therefore also ends at a hit that begins inside text it has put in
// itself, so each occurrence that was there when it started is replaced
// once.
int32_t replaceStepwise(int scope, int direction, const TextPattern& pattern)
{
    const int32_t e = std::clamp(currentEntry(), 0, std::max(entryCount - 1, 0));
    if (scope == 0) {
        const int32_t hit = findInData(pattern, direction, dataViewCaretOffset());
        if (hit < 0)
            return 0;
        int32_t inserted = 0;
        replaceHit(entryOfOffset(hit), hit, pattern.length, direction, inserted);
        return 1;
    }
    if (entryCount < 1)
        return 0;
    int32_t p = replaceAll ? rangeFirst(e) : dataViewCaretOffset();
    if (!downward(direction)) {
        if (p > rangeFirst(e))
            --p;
        else if (direction == 2)
            p = rangeLast(e);
        else
            return 0;
    }
    const bool wraps = direction == 2 || direction == 3;
    Spans ownText;
    int32_t count = 0;
    for (;;) {
        if (matchesAt(pattern, textBuffer, usedBytes, p)) {
            if (wraps && insideSpans(ownText, p))
                break;
            int32_t inserted = 0;
            const int32_t behind = replaceHit(e, p, pattern.length, direction, inserted);
            noteReplacement(ownText, p, pattern.length, inserted);
            ++count;
            if (!replaceAll)
                break;
            if (downward(direction)) {
                if (behind >= usedBytes)
                    break;
                p = behind;
                continue;
            }
        }
        const int32_t caret = dataViewCaretOffset();
        if (direction == 0) {
            if (p <= rangeFirst(e))
                break;
            --p;
        } else if (direction == 1) {
            if (p >= rangeLast(e))
                break;
            ++p;
        } else if (direction == 2) {
            if (p == caret)
                break;
            p = p > rangeFirst(e) ? p - 1 : rangeLast(e);
        } else {
            p = p < rangeLast(e) ? p + 1 : rangeFirst(e);
            if (p == caret)
                break;
        }
    }
    return count;
}

void closeWholeDataRun(int32_t count)
{
    // After the sort a marked block would name other entries.
    clearSelectionAndMarks();
    firstVisibleEntry = cursorRow = 0;
    currentEntryOffset = 0;
    entryCount = rebuildEntryIndex();
    sortEntries();
    firstVisibleEntry = cursorRow = 0;
    currentEntryOffset = entryCount > 0 ? entryIndex[0] : 0;
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
    char text[64];
    std::snprintf(text, sizeof text, "%i entries were replaced!", static_cast<int>(count));
    host().beep();
    host().showInfo(captionMain, text);
}

}  // namespace

void replaceNext(int scope)
{
    if (replaceSearchText[0] == 0) {
        host().beep();
        host().showInfo(captionMain, textNoSearchText);
        host().setStatusText(entryCountText);
        return;
    }
    takeSnapshot();
    if (host().mainWindowExists())
        host().setStatusText(replaceAll ? textReplacingAllStatus : textReplacingStatus);
    const TextPattern pattern = makePattern(replaceSearchText, replaceFold);
    int32_t count = 0;
    if (replaceAll && scope == 0) {
        // Always downward from the start, whatever direction is set.
        countDisplaySuppressed = true;
        count = replaceThroughData(pattern, replaceText).count;
        countDisplaySuppressed = false;
    } else {
        count = replaceStepwise(scope, replaceDirection, pattern);
        if (count > 0 && !replaceAll)
            editorScreen.caretIntoView();
    }

    if (count == 0) {
        host().beep();
        if (scope == 0) {
            host().showInfo(captionMain, textNothingFound);
        } else if (host().askYesNo(captionMain, textSearchWholeData, true)) {
            replaceAll = false;
            activateOverview();
            replaceNext(0);
        }
    } else if (replaceAll) {
        closeWholeDataRun(count);
    } else if (activeView == ActiveView::Overview && firstVisibleLine == 0 && caretLine == 0) {
        // The line the entries are sorted by has changed.
        const int32_t column = caretColumn;
        sortEntries();
        caretColumn = column;
        host().repaint(ViewId::Overview);
        host().repaint(ViewId::DataView);
    }
    host().setStatusText(entryCountText);
}
