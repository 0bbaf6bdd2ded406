// Replace all over the whole data in one pass.
//
// Replacing each hit in place would move the rest of the data and rebuild
// the entry index once per hit, which is quadratic in the size of the book.
// Since the downward run never looks back at what it has written, the new
// text can be built front to back in a second buffer instead: the bytes
// between hits are copied in blocks, and only the little that each hit
// needs (its column, the length of the rest of its line) is worked out
// from the bytes around it.
#include "find/replace.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "find/sort.h"
#include "host/texts.h"
#include "store/store.h"
#include "views/view_state.h"

namespace {

constexpr int32_t lineLimit = 255;

struct Output {
    unsigned char* bytes = nullptr;
    int64_t size = 0;
    int64_t capacity = 0;
    bool ok = true;

    bool reserve(int64_t extra)
    {
        if (size + extra <= capacity)
            return ok;
        const int64_t wanted = std::max(capacity + capacity / 2, size + extra);
        if (wanted > INT32_MAX - bufferHeadroom) {
            ok = false;
            return false;
        }
        auto* grown = static_cast<unsigned char*>(reallocateBlock(bytes, static_cast<size_t>(wanted)));
        if (!grown) {
            ok = false;
            return false;
        }
        bytes = grown;
        capacity = wanted;
        return true;
    }
    void append(const unsigned char* p, int64_t n)
    {
        if (n > 0 && reserve(n)) {
            std::memcpy(bytes + size, p, static_cast<size_t>(n));
            size += n;
        }
    }
    void put(unsigned char c)
    {
        if (reserve(1))
            bytes[size++] = c;
    }
};

struct Run {
    const unsigned char* in;
    int32_t used;
    const unsigned char* replacement;
    int32_t m;
    Output out;
    int32_t column = 0;        // the real column at the end of out
    int32_t stop = -1;         // the next CR or NUL at or behind the last query
    int32_t caretColumn = 0;   // the caret's column as the insertion leaves it
    int32_t breaks = 0;        // lines the last insertion added in front of the caret

    // The column at input offset h, the bytes from `from` on not yet written.
    int32_t columnAt(int32_t from, int32_t h) const
    {
        int32_t p = h;
        int32_t count = 0;
        while (p > from && in[p - 1] != '\r') {
            count += in[p - 1] >= 32;
            --p;
        }
        return p > from ? count : column + count;
    }

    // Bytes from q to the next CR or NUL of the input.
    int32_t restOfLine(int32_t q)
    {
        if (stop < q) {
            stop = q;
            while (stop < used && in[stop] != '\r' && in[stop] != 0)
                ++stop;
        }
        return stop - q;
    }

    void put(unsigned char c)
    {
        out.put(c);
        column = c == '\r' ? 0 : column + (c >= 32);
    }

    // The replacement written with the caret starting at hitColumn.  rest
    // is the length of the line behind the caret as counted once the gap
    // for the replacement is open; a character that brings rest + caret
    // column to the line limit gets a line break in front of it.
    void insert(int32_t hitColumn, int32_t rest)
    {
        caretColumn = hitColumn;
        breaks = 0;
        for (int32_t i = 0; i < m; ++i) {
            const unsigned char c = replacement[i];
            if (c >= 32) {
                ++caretColumn;
                if (rest + caretColumn >= lineLimit) {
                    put('\r');
                    put('\n');
                    ++breaks;
                    caretColumn = 0;
                }
            } else if (c == '\r') {
                ++breaks;
                caretColumn = 0;
            }
            put(c);
        }
    }
};

}  // namespace

WholeDataRun replaceThroughData(const TextPattern& pattern, const char* replacement)
{
    WholeDataRun result;
    Run run{textBuffer, usedBytes, reinterpret_cast<const unsigned char*>(replacement),
            static_cast<int32_t>(std::strlen(replacement)), {}};
    const int32_t n = pattern.length;
    // A blank that a deletion leaves on an emptied line is tested next; only
    // a one-character text that is itself a blank can stand there.
    const unsigned char blank = ' ';
    const bool blankMatches = matchesAt(pattern, &blank, 1, 0);
    // Room for a little growth up front, so that most runs never copy the
    // new text once more.
    run.out.reserve(static_cast<int64_t>(usedBytes) + usedBytes / 8 + bufferHeadroom);

    int32_t copied = 0;        // input bytes before this are written
    int64_t lastHit = -1;      // where the last replacement starts in out
    for (int32_t scan = 0; run.out.ok;) {
        const int32_t h = findFirst(pattern, run.in, run.used, scan, run.used);
        if (h < 0)
            break;
        const int32_t hitColumn = run.columnAt(copied, h);
        run.out.append(run.in + copied, h - copied);
        run.column = hitColumn;
        lastHit = run.out.size;
        copied = h + n;
        // An emptied line keeps a blank, and the replacement goes in front of it.
        const bool blankLine = hitColumn == 0 && copied < run.used && run.in[copied] == '\r';
        const int32_t r = run.restOfLine(copied) + (blankLine ? 1 : 0);
        // Counted with the gap open: the gap holds a copy of the line's
        // first bytes, so it adds to the count only when the line is at
        // least as long as the gap.
        run.insert(hitColumn, r < run.m ? r : run.m + r);
        ++result.count;
        if (blankLine) {
            if (blankMatches && run.m > 0) {
                // The scan goes on at the blank and replaces it as well; the
                // line is no longer empty then, so no blank comes back.
                lastHit = run.out.size;
                run.insert(run.column, 0);
                ++result.count;
            } else {
                // Behind the blank when nothing went in front of it, or the
                // same blank would be found for ever.
                run.put(' ');
            }
        }
        scan = copied;
    }
    // A line break in front of the first character of a line makes an
    // empty line, so each replacement may add an entry.
    if (!run.out.ok || result.count == 0 || !run.out.reserve(run.used - copied + bufferHeadroom + 4) ||
        !growEntryIndexFor(result.count)) {
        std::free(run.out.bytes);
        if (!run.out.ok)
            reportError(captionMain, textNoMemory);
        return {};
    }
    run.out.append(run.in + copied, run.used - copied);
    const auto newUsed = static_cast<int32_t>(run.out.size);
    // Nothing but zeros behind the text: the separator scan reads past it.
    std::memset(run.out.bytes + newUsed, 0, static_cast<size_t>(run.out.capacity - newUsed));
    std::free(textBuffer);
    textBuffer = run.out.bytes;
    bufferCapacity = static_cast<int32_t>(run.out.capacity);
    usedBytes = newUsed;
    entryCount = rebuildEntryIndex();
    resortPending = true;
    lineTableOwner = -1;

    const auto hitAt = static_cast<int32_t>(lastHit);
    result.entry = std::max(static_cast<int32_t>(std::upper_bound(entryIndex, entryIndex + entryCount, hitAt) - entryIndex) - 1, 0);
    result.caretLine = static_cast<int32_t>(std::count(textBuffer + entryIndex[result.entry], textBuffer + hitAt, '\r')) + run.breaks;
    result.caretColumn = run.caretColumn;
    return result;
}
