#include "find/sort.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <numeric>
#include <utility>
#include <vector>

#include "find/fold.h"
#include "host/host.h"
#include "host/texts.h"
#include "host/title.h"
#include "store/store.h"
#include "views/view_state.h"

bool resortPending = false;

// How the placing is made fast without changing where any entry lands.
//
// The probe walk compares keys in a way in which a key that begins another
// counts as equal to it, so "A" = "AB" and "A" = "AC" while "AB" < "AC": the
// comparison is not transitive and the target is not in any order a binary
// search could use.  But each key stands for the set of all texts that begin
// with it, and two such sets are either nested (the walk's "equal") or lie
// one wholly before the other.  Written as two marks in one line, the
// key's low end (the key itself) and its high end (the key followed by a
// byte above every byte), every comparison of the walk becomes a comparison
// of two numbers:
//   s goes behind t  exactly when  high(t) < low(s),
//   s goes before t  exactly when  high(s) < low(t),
//   otherwise the walk finds them equal.
// The ranks of all these marks are found once by ordering the keys.  The
// walk moving down stops at the first slot whose high rank is above low(s);
// moving up it stops at the last slot whose low rank is below high(s).  A
// B-tree over the target's slots that keeps, for every subtree, the least
// low and the greatest high rank in it finds those slots by skipping whole
// subtrees, and takes each insertion in logarithmic time.

namespace {

constexpr int32_t maxKeyLength = 255;

// A key's first 24 folded bytes (zero-padded) as three big-endian numbers,
// beside its entry and its length: comparing these needs the text only for
// the rare keys that agree in all 24 bytes.
struct KeyedEntry {
    uint64_t word[3];
    int32_t entry;
    int32_t length;
};

KeyedEntry keyOf(int32_t s)
{
    KeyedEntry k{{0, 0, 0}, s, 0};
    const unsigned char* p = textBuffer + entryIndex[s];
    int32_t n = 0;
    while (n < maxKeyLength && p[n] >= 32) {
        if (n < 24)
            k.word[n / 8] |= static_cast<uint64_t>(sortFold1252[p[n]]) << (56 - 8 * (n % 8));
        ++n;
    }
    k.length = n;
    return k;
}

// The order of the keys as texts, a key before every longer key it begins.
bool textBefore(const KeyedEntry& a, const KeyedEntry& b)
{
    for (int w = 0; w < 3; ++w)
        if (a.word[w] != b.word[w])
            return a.word[w] < b.word[w];
    const int32_t common = std::min(a.length, b.length);
    if (common > 24) {
        const unsigned char* ka = textBuffer + entryIndex[a.entry];
        const unsigned char* kb = textBuffer + entryIndex[b.entry];
        for (int32_t i = 24; i < common; ++i) {
            unsigned char fa = sortFold1252[ka[i]];
            unsigned char fb = sortFold1252[kb[i]];
            if (fa != fb)
                return fa < fb;
        }
    }
    return a.length < b.length;
}

bool sameKey(const KeyedEntry& a, const KeyedEntry& b)
{
    if (a.length != b.length || a.word[0] != b.word[0] || a.word[1] != b.word[1] || a.word[2] != b.word[2])
        return false;
    const unsigned char* ka = textBuffer + entryIndex[a.entry];
    const unsigned char* kb = textBuffer + entryIndex[b.entry];
    for (int32_t i = 24; i < a.length; ++i)
        if (sortFold1252[ka[i]] != sortFold1252[kb[i]])
            return false;
    return true;
}

// Whether key b begins with key a.
bool beginsWith(const KeyedEntry& b, const KeyedEntry& a)
{
    if (a.length > b.length)
        return false;
    for (int w = 0; w < 3; ++w) {
        const int32_t bytes = std::clamp(a.length - 8 * w, 0, 8);
        if (bytes == 0)
            return true;
        const uint64_t mask = ~uint64_t{0} << (64 - 8 * bytes);
        if ((b.word[w] & mask) != a.word[w])
            return false;
    }
    const unsigned char* ka = textBuffer + entryIndex[a.entry];
    const unsigned char* kb = textBuffer + entryIndex[b.entry];
    for (int32_t i = 24; i < a.length; ++i)
        if (sortFold1252[ka[i]] != sortFold1252[kb[i]])
            return false;
    return true;
}

// Puts byKey in text order: a radix sort on the first eight bytes, sixteen
// bits at a time, then every run that agrees in them sorted in full.
// scratch holds as many elements as byKey, digitCounts 4 * 65536.
void sortByText(std::vector<KeyedEntry>& byKey, std::vector<KeyedEntry>& scratch, std::vector<uint32_t>& digitCounts)
{
    const size_t n = byKey.size();
    std::fill(digitCounts.begin(), digitCounts.end(), 0);
    for (const KeyedEntry& k : byKey)
        for (int pass = 0; pass < 4; ++pass)
            ++digitCounts[pass * 65536 + ((k.word[0] >> (16 * pass)) & 0xFFFF)];
    for (int pass = 0; pass < 4; ++pass) {
        uint32_t* counts = digitCounts.data() + pass * 65536;
        if (counts[(byKey[0].word[0] >> (16 * pass)) & 0xFFFF] == n)
            continue;   // every key has the same digit here
        uint32_t at = 0;
        for (int d = 0; d < 65536; ++d)
            at += std::exchange(counts[d], at);
        for (const KeyedEntry& k : byKey)
            scratch[counts[(k.word[0] >> (16 * pass)) & 0xFFFF]++] = k;
        byKey.swap(scratch);
    }
    for (size_t i = 0; i < n;) {
        size_t end = i + 1;
        while (end < n && byKey[end].word[0] == byKey[i].word[0])
            ++end;
        if (end - i > 1)
            std::sort(byKey.begin() + static_cast<ptrdiff_t>(i), byKey.begin() + static_cast<ptrdiff_t>(end), textBefore);
        i = end;
    }
}

// Numbers the low and high ends of all keys in one order: the keys in text
// order, each key's high end placed behind every key that begins with it.
// Equal keys get equal ranks.  byKey must hold entryCount elements.
void rankKeys(std::vector<KeyedEntry>& byKey, std::vector<KeyedEntry>& scratch,
              std::vector<uint32_t>& digitCounts, std::vector<int32_t>& low, std::vector<int32_t>& high)
{
    const int32_t n = entryCount;
    bool inOrder = true;
    for (int32_t s = 0; s < n; ++s) {
        byKey[s] = keyOf(s);
        if (s > 0 && inOrder && textBefore(byKey[s], byKey[s - 1]))
            inOrder = false;
    }
    if (!inOrder)
        sortByText(byKey, scratch, digitCounts);

    // Keys still open: each begins the next one, so there are at most 256
    // of them (lengths 0 to 255); a group is a run of equal keys in byKey.
    struct Group {
        int32_t first, end;
    };
    Group open[maxKeyLength + 2];
    int32_t openCount = 0;
    int32_t rank = 0;
    auto close = [&](const Group& group) {
        for (int32_t m = group.first; m < group.end; ++m)
            high[byKey[m].entry] = rank;
        ++rank;
    };
    for (int32_t i = 0; i < n;) {
        int32_t end = i + 1;
        while (end < n && sameKey(byKey[i], byKey[end]))
            ++end;
        while (openCount > 0 && !beginsWith(byKey[i], byKey[open[openCount - 1].first]))
            close(open[--openCount]);
        for (int32_t m = i; m < end; ++m)
            low[byKey[m].entry] = rank;
        ++rank;
        open[openCount++] = {i, end};
        i = end;
    }
    while (openCount > 0)
        close(open[--openCount]);
}

// The target's slots as a B-tree ordered by position.  In a leaf, item is
// the entry in the slot and low/high are its key's ranks; above, item is a
// child node and low/high the least low and greatest high rank below it.
constexpr int32_t nodeCapacity = 64;

struct Node {
    int32_t count;
    int32_t parent;        // -1 at the root
    int32_t slotInParent;
    int32_t level;         // 0 for a leaf
    int32_t item[nodeCapacity];
    int32_t low[nodeCapacity];
    int32_t high[nodeCapacity];
};

// A slot, or a place between slots: position at in node (a leaf).
struct Position {
    int32_t node;
    int32_t at;
};

class SlotTree {
public:
    // All nodes are allocated here, so that placing cannot run out of memory.
    void reserve(int32_t entries)
    {
        // Every split of a node needs half a node's worth of insertions
        // into it since it was made; new roots add one node per level.
        nodes_.reserve(static_cast<size_t>(entries / (nodeCapacity / 2 - 1) + 16));
        nodes_.clear();
        nodes_.push_back(Node{0, -1, 0, 0, {}, {}, {}});
        root_ = 0;
        lastLeaf_ = 0;
    }

    void release() { std::vector<Node>().swap(nodes_); }

    Position end() const { return {lastLeaf_, nodes_[lastLeaf_].count}; }
    bool isEnd(Position p) const { return p.node == lastLeaf_ && p.at == nodes_[lastLeaf_].count; }
    bool isFirst(Position p) const { return p.node == 0 && p.at == 0; }
    int32_t lowAt(Position p) const { return nodes_[p.node].low[p.at]; }
    int32_t highAt(Position p) const { return nodes_[p.node].high[p.at]; }

    // The first slot behind `from` whose high rank is above rank; the end
    // when there is none.
    Position firstHighAbove(Position from, int32_t rank) const
    {
        int32_t node = from.node;
        int32_t i = from.at + 1;
        for (;;) {
            const Node& n = nodes_[node];
            while (i < n.count && n.high[i] <= rank)
                ++i;
            if (i < n.count) {
                if (n.level == 0)
                    return {node, i};
                node = n.item[i];   // the hit lies below
                i = 0;
                continue;
            }
            if (n.parent < 0)
                return end();
            i = n.slotInParent + 1;
            node = n.parent;
        }
    }

    // The last slot before `from` whose low rank is below rank; false when
    // there is none.
    bool lastLowBelow(Position from, int32_t rank, Position& found) const
    {
        int32_t node = from.node;
        int32_t i = from.at - 1;
        for (;;) {
            const Node& n = nodes_[node];
            while (i >= 0 && n.low[i] >= rank)
                --i;
            if (i >= 0) {
                if (n.level == 0) {
                    found = {node, i};
                    return true;
                }
                node = n.item[i];
                i = nodes_[node].count - 1;
                continue;
            }
            if (n.parent < 0)
                return false;
            i = n.slotInParent - 1;
            node = n.parent;
        }
    }

    // Puts entry into the slot at `at`, moving the slots from there on by
    // one; returns the new slot's position.
    Position insert(Position at, int32_t entry, int32_t low, int32_t high)
    {
        Node& leaf = nodes_[at.node];
        putAt(leaf, at.at, entry, low, high);
        for (int32_t node = at.node; nodes_[node].parent >= 0; node = nodes_[node].parent) {
            Node& parent = nodes_[nodes_[node].parent];
            int32_t slot = nodes_[node].slotInParent;
            parent.low[slot] = std::min(parent.low[slot], low);
            parent.high[slot] = std::max(parent.high[slot], high);
        }
        Position result = at;
        for (int32_t node = at.node; node >= 0 && nodes_[node].count == nodeCapacity; node = nodes_[node].parent) {
            int32_t sibling = split(node);
            if (result.node == node && result.at >= nodeCapacity / 2)
                result = {sibling, result.at - nodeCapacity / 2};
        }
        return result;
    }

    // The entries in slot order.
    void collect(std::vector<int32_t>& placed) const { collectBelow(root_, placed); }

private:
    static void putAt(Node& n, int32_t at, int32_t item, int32_t low, int32_t high)
    {
        const size_t moved = static_cast<size_t>(n.count - at) * sizeof(int32_t);
        std::memmove(n.item + at + 1, n.item + at, moved);
        std::memmove(n.low + at + 1, n.low + at, moved);
        std::memmove(n.high + at + 1, n.high + at, moved);
        n.item[at] = item;
        n.low[at] = low;
        n.high[at] = high;
        ++n.count;
    }

    void summarize(int32_t node, int32_t& low, int32_t& high) const
    {
        const Node& n = nodes_[node];
        low = *std::min_element(n.low, n.low + n.count);
        high = *std::max_element(n.high, n.high + n.count);
    }

    // Moves the upper half of a full node into a new node behind it under
    // the same parent (a new root when it had none); returns the new node.
    int32_t split(int32_t node)
    {
        const int32_t half = nodeCapacity / 2;
        const int32_t sibling = static_cast<int32_t>(nodes_.size());
        nodes_.push_back(Node{nodeCapacity - half, -1, 0, nodes_[node].level, {}, {}, {}});
        Node& lower = nodes_[node];
        Node& upper = nodes_[sibling];
        std::memcpy(upper.item, lower.item + half, static_cast<size_t>(upper.count) * sizeof(int32_t));
        std::memcpy(upper.low, lower.low + half, static_cast<size_t>(upper.count) * sizeof(int32_t));
        std::memcpy(upper.high, lower.high + half, static_cast<size_t>(upper.count) * sizeof(int32_t));
        lower.count = half;
        if (upper.level > 0) {
            for (int32_t i = 0; i < upper.count; ++i) {
                nodes_[upper.item[i]].parent = sibling;
                nodes_[upper.item[i]].slotInParent = i;
            }
        } else if (lastLeaf_ == node) {
            lastLeaf_ = sibling;
        }

        if (lower.parent < 0) {
            root_ = static_cast<int32_t>(nodes_.size());
            nodes_.push_back(Node{1, -1, 0, lower.level + 1, {node}, {}, {}});
            nodes_[node].parent = root_;
            nodes_[node].slotInParent = 0;
        }
        const int32_t parentIndex = nodes_[node].parent;
        const int32_t slot = nodes_[node].slotInParent;
        Node& parent = nodes_[parentIndex];
        int32_t low, high;
        summarize(sibling, low, high);
        putAt(parent, slot + 1, sibling, low, high);
        for (int32_t i = slot + 1; i < parent.count; ++i) {
            nodes_[parent.item[i]].parent = parentIndex;
            nodes_[parent.item[i]].slotInParent = i;
        }
        summarize(node, parent.low[slot], parent.high[slot]);
        return sibling;
    }

    void collectBelow(int32_t node, std::vector<int32_t>& placed) const
    {
        const Node& n = nodes_[node];
        if (n.level == 0) {
            placed.insert(placed.end(), n.item, n.item + n.count);
            return;
        }
        for (int32_t i = 0; i < n.count; ++i)
            collectBelow(n.item[i], placed);
    }

    std::vector<Node> nodes_;
    int32_t root_ = 0;
    int32_t lastLeaf_ = 0;
};

// The probe walk for entry s from the slot k where the entry before it
// went in: returns the place at which s goes in.
Position findSlot(const SlotTree& target, Position k, int32_t low, int32_t high)
{
    if (target.isEnd(k))
        return k;                                  // the empty slot behind the last entry
    if (target.highAt(k) < low)                    // s decides down ...
        return target.firstHighAbove(k, low);      // ... up to the first slot where it does not
    if (high >= target.lowAt(k) || target.isFirst(k))
        return k;                                  // equal, or up from slot 0
    Position stop;                                 // up to the first slot where s does not decide up
    if (!target.lastLowBelow(k, high, stop))
        return {0, 0};
    if (target.highAt(stop) < low)
        return {stop.node, stop.at + 1};           // decides down there: in behind it
    return stop;                                   // equal there: in front of it
}

// Everything the placing needs, allocated before anything is changed.
struct SortWork {
    std::vector<KeyedEntry> byKey;
    std::vector<KeyedEntry> scratch;
    std::vector<uint32_t> digitCounts;
    std::vector<int32_t> low;
    std::vector<int32_t> high;
    SlotTree target;
    std::vector<int32_t> placed;

    void allocate(int32_t count)
    {
        const size_t n = static_cast<size_t>(count);
        byKey.resize(n);
        scratch.resize(n);
        digitCounts.resize(4 * 65536);
        low.resize(n);
        high.resize(n);
        target.reserve(count);
        placed.reserve(n);
    }
};

// Splits the new order into the shortest runs of slots that hold exactly
// their own entries, so an entry that keeps its place is not copied at all;
// returns [first, last] slot pairs of the runs that do move.
std::vector<std::pair<int32_t, int32_t>> movedStretches(const std::vector<int32_t>& placed)
{
    std::vector<std::pair<int32_t, int32_t>> stretches;
    const int32_t n = static_cast<int32_t>(placed.size());
    for (int32_t i = 0; i < n;) {
        if (placed[i] == i) {
            ++i;
            continue;
        }
        int32_t last = placed[i];
        int32_t j = i;
        while (j < last) {
            ++j;
            last = std::max(last, placed[j]);
        }
        stretches.emplace_back(i, j);
        i = j + 1;
    }
    return stretches;
}

}  // namespace

void sortEntries()
{
    resortPending = false;
    if (usedBytes < 1)
        return;

    SortWork sortWork;
    std::vector<int32_t> newIndex;
    try {
        sortWork.allocate(entryCount);
        newIndex.resize(static_cast<size_t>(entryCount) + 1);
    } catch (const std::bad_alloc&) {
        reportError(captionMain, textNoMemory);
        return;
    }

    countDisplaySuppressed = true;
    if (host().mainWindowExists())
        host().setStatusText(textSortingStatus);

    rankKeys(sortWork.byKey, sortWork.scratch, sortWork.digitCounts, sortWork.low, sortWork.high);
    std::vector<KeyedEntry>().swap(sortWork.byKey);
    std::vector<KeyedEntry>().swap(sortWork.scratch);
    SlotTree& target = sortWork.target;
    Position k = target.end();
    const int32_t current = currentEntry();
    for (int32_t s = 0; s < entryCount; ++s) {
        k = findSlot(target, k, sortWork.low[s], sortWork.high[s]);
        k = target.insert(k, s, sortWork.low[s], sortWork.high[s]);
    }
    std::vector<int32_t>& placed = sortWork.placed;
    target.collect(placed);
    target.release();
    std::vector<int32_t>().swap(sortWork.low);
    std::vector<int32_t>().swap(sortWork.high);

    // The current entry keeps being current: its row is the slot it ended
    // up in (every later insertion in front of it moved it down by one).
    int32_t currentRow = cursorRow;
    if (current >= 0 && current < entryCount)
        currentRow = static_cast<int32_t>(std::find(placed.begin(), placed.end(), current) - placed.begin());

    // Only stretches whose entries changed places are rewritten, through a
    // work area as large as the largest of them.  Text behind the last
    // entry is not an entry and stays where it is.
    std::vector<std::pair<int32_t, int32_t>> stretches;
    std::unique_ptr<unsigned char[]> work;
    try {
        stretches = movedStretches(placed);
        int32_t largest = 0;
        for (auto [first, last] : stretches)
            largest = std::max(largest, entryIndex[last + 1] - entryIndex[first]);
        work.reset(new unsigned char[static_cast<size_t>(largest)]);   // no need to clear it
    } catch (const std::bad_alloc&) {
        countDisplaySuppressed = false;
        if (host().mainWindowExists())
            host().setStatusText(entryCountText);
        reportError(captionMain, textNoMemory);
        return;
    }
    // The new index follows from the entry lengths; the text need not be
    // scanned again.  The entries come from all over the text, so the
    // offsets and bytes of those a few slots ahead are fetched early.
    cursorRow = currentRow;
    std::copy(entryIndex, entryIndex + entryCount + 1, newIndex.begin());
    for (auto [first, last] : stretches) {
        int32_t at = 0;
        for (int32_t slot = first; slot <= last; ++slot) {
            if (slot + 16 <= last)
                __builtin_prefetch(entryIndex + placed[slot + 16]);
            if (slot + 8 <= last)
                __builtin_prefetch(textBuffer + entryIndex[placed[slot + 8]]);
            const int32_t s = placed[slot];
            const int32_t length = entryLength(s);
            std::memcpy(work.get() + at, textBuffer + entryIndex[s], static_cast<size_t>(length));
            at += length;
            newIndex[slot + 1] = newIndex[slot] + length;
        }
        std::memcpy(textBuffer + entryIndex[first], work.get(), static_cast<size_t>(at));
    }

    // Reordering is no change of the data: the modified flag and the title
    // marker stay as they were.
    std::copy(newIndex.begin(), newIndex.end(), entryIndex);
    countDisplaySuppressed = false;
    lineTableOwner = -1;

    if (host().mainWindowExists()) {
        host().setTitle(titleText);
        host().setStatusText(entryCountText);
    }

    firstVisibleEntry = 0;
    overviewScrollX = 0;
    host().repaint(ViewId::Overview);
    currentEntryOffset = entryIndex[std::clamp(cursorRow, 0, entryCount)];
    caretLine = 0;
    caretColumn = 0;
    firstVisibleLine = 0;
    dataViewScrollX = 0;
    host().repaint(ViewId::DataView);
}
