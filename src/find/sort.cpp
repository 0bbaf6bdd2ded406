#include "find/sort.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
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

// Whether the two keys agree, folded, from byte 24 (behind the three packed
// words) to the end of a.
bool sameTail(const KeyedEntry& a, const KeyedEntry& b)
{
    const unsigned char* ka = textBuffer + entryIndex[a.entry];
    const unsigned char* kb = textBuffer + entryIndex[b.entry];
    for (int32_t i = 24; i < a.length; ++i)
        if (sortFold1252[ka[i]] != sortFold1252[kb[i]])
            return false;
    return true;
}

bool sameKey(const KeyedEntry& a, const KeyedEntry& b)
{
    if (a.length != b.length || a.word[0] != b.word[0] || a.word[1] != b.word[1] || a.word[2] != b.word[2])
        return false;
    return sameTail(a, b);
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
    return sameTail(a, b);
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
// Equal keys get equal ranks.  keyAt(i) is the i-th of the n keys in text
// order and entryAt(i) its entry.
template <class KeyAt, class EntryAt>
void rankKeys(int32_t n, KeyAt keyAt, EntryAt entryAt, std::vector<int32_t>& low, std::vector<int32_t>& high)
{
    // Keys still open: each begins the next one, so there are at most 256
    // of them (lengths 0 to 255); a group is a run [first, end) of equal keys.
    struct Group {
        KeyedEntry key;
        int32_t first, end;
    };
    Group open[maxKeyLength + 2];
    int32_t openCount = 0;
    int32_t rank = 0;
    auto close = [&](const Group& group) {
        for (int32_t m = group.first; m < group.end; ++m)
            high[entryAt(m)] = rank;
        ++rank;
    };
    KeyedEntry key = n > 0 ? keyAt(0) : KeyedEntry{};
    for (int32_t i = 0; i < n;) {
        int32_t end = i + 1;
        KeyedEntry next{};
        for (; end < n; ++end) {
            next = keyAt(end);
            if (!sameKey(key, next))
                break;
        }
        while (openCount > 0 && !beginsWith(key, open[openCount - 1].key))
            close(open[--openCount]);
        for (int32_t m = i; m < end; ++m)
            low[entryAt(m)] = rank;
        ++rank;
        open[openCount++] = {key, i, end};
        i = end;
        key = next;
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
        // Every leaf but the first and the last holds at least half a leaf,
        // and every split of a node above needs half a node's worth of new
        // children since it was made; new roots add one node per level.
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
        // A full leaf is split in halves, except near the ends of the target,
        // where data in order (or in reverse order) keeps adding: the last
        // leaf keeps what lies in front of the new slot, the first leaf what
        // lies up to it, and the rest goes to the new leaf.  Only the first
        // and the last leaf can then hold fewer than half a leaf.
        Position result = at;
        if (nodes_[at.node].count == nodeCapacity) {
            int32_t keep = nodeCapacity / 2;
            if (at.node == lastLeaf_ && at.at >= nodeCapacity / 2)
                keep = at.at;
            else if (at.node == 0 && at.at < nodeCapacity / 2)
                keep = at.at + 1;
            int32_t sibling = split(at.node, keep);
            if (result.at >= keep)
                result = {sibling, result.at - keep};
        }
        for (int32_t node = nodes_[at.node].parent; node >= 0 && nodes_[node].count == nodeCapacity;
             node = nodes_[node].parent)
            split(node, nodeCapacity / 2);
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

    // Moves all but the first `keep` entries of a full node into a new node
    // behind it under the same parent (a new root when it had none);
    // returns the new node.
    int32_t split(int32_t node, int32_t keep)
    {
        const int32_t sibling = static_cast<int32_t>(nodes_.size());
        nodes_.push_back(Node{nodeCapacity - keep, -1, 0, nodes_[node].level, {}, {}, {}});
        Node& lower = nodes_[node];
        Node& upper = nodes_[sibling];
        std::memcpy(upper.item, lower.item + keep, static_cast<size_t>(upper.count) * sizeof(int32_t));
        std::memcpy(upper.low, lower.low + keep, static_cast<size_t>(upper.count) * sizeof(int32_t));
        std::memcpy(upper.high, lower.high + keep, static_cast<size_t>(upper.count) * sizeof(int32_t));
        lower.count = keep;
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

// The walk's comparison of the keys of entries a and b, folded from the
// text: -1 when a decides up against b, +1 down, 0 when no decision falls.
int walkCompare(int32_t a, int32_t b)
{
    const unsigned char* ka = textBuffer + entryIndex[a];
    const unsigned char* kb = textBuffer + entryIndex[b];
    for (int32_t i = 0; i < maxKeyLength; ++i) {
        if (ka[i] < 32 || kb[i] < 32)
            return 0;
        const unsigned char fa = sortFold1252[ka[i]];
        const unsigned char fb = sortFold1252[kb[i]];
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    return 0;
}

// Data that is nearly in order (a book sorted before, a few entries edited
// or added) is placed by the walk itself in a plain array of slots: an
// entry then costs a comparison or two and a short move, and nothing but
// the array is needed.  The walk gives up, returning false, once its steps
// and moves exceed budget; placed must have room for every entry.
bool placeByWalking(std::vector<int32_t>& placed, int64_t budget)
{
    int64_t spent = 0;
    int32_t k = 0;
    for (int32_t s = 0; s < entryCount; ++s) {
        const int32_t filled = static_cast<int32_t>(placed.size());
        int direction = 0;
        for (;;) {
            ++spent;
            if (k >= filled)
                break;   // the empty slot behind the last entry
            const int c = walkCompare(s, placed[k]);
            if (c == 0)
                break;
            if (c > 0) {
                if (direction == -1) {
                    ++k;
                    break;
                }
                direction = 1;
                ++k;
            } else {
                if (direction == 1 || k == 0)
                    break;
                direction = -1;
                --k;
            }
        }
        spent += (filled - k) / 32;   // the slots moved along, a memmove being cheap per slot
        if (spent > budget)
            return false;
        placed.insert(placed.begin() + k, s);
    }
    return true;
}

// Places the entries through the key ranks and the slot tree.  Keys that
// are already in text order are ranked straight from the text; others are
// ordered first, in a copy of their leading bytes.
void placeByRanks(std::vector<int32_t>& placed)
{
    const int32_t n = entryCount;
    std::vector<int32_t> low(static_cast<size_t>(n));
    std::vector<int32_t> high(static_cast<size_t>(n));
    bool inOrder = true;
    KeyedEntry previous{};
    for (int32_t s = 0; s < n && inOrder; ++s) {
        KeyedEntry key = keyOf(s);
        inOrder = s == 0 || !textBefore(key, previous);
        previous = key;
    }
    if (inOrder) {
        rankKeys(n, keyOf, [](int32_t i) { return i; }, low, high);
    } else {
        std::vector<KeyedEntry> byKey(static_cast<size_t>(n));
        for (int32_t s = 0; s < n; ++s)
            byKey[s] = keyOf(s);
        {
            std::vector<KeyedEntry> scratch(static_cast<size_t>(n));
            std::vector<uint32_t> digitCounts(4 * 65536);
            sortByText(byKey, scratch, digitCounts);
        }
        rankKeys(n, [&byKey](int32_t i) { return byKey[i]; }, [&byKey](int32_t i) { return byKey[i].entry; }, low,
                 high);
    }

    SlotTree target;
    target.reserve(n);
    Position k = target.end();
    for (int32_t s = 0; s < n; ++s) {
        k = findSlot(target, k, low[s], high[s]);
        k = target.insert(k, s, low[s], high[s]);
    }
    placed.clear();
    target.collect(placed);
}

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

Placing sortPlacing = Placing::Automatic;

void sortEntries()
{
    resortPending = false;
    if (usedBytes < 1)
        return;

    std::vector<int32_t> placed;
    try {
        placed.reserve(static_cast<size_t>(entryCount));
    } catch (const std::bad_alloc&) {
        reportError(captionMain, textNoMemory);
        return;
    }

    countDisplaySuppressed = true;
    if (host().mainWindowExists())
        host().setStatusText(textSortingStatus);
    auto giveUp = [] {
        countDisplaySuppressed = false;
        if (host().mainWindowExists())
            host().setStatusText(entryCountText);
        reportError(captionMain, textNoMemory);
    };

    // The walk is tried first within a budget of a few steps per entry;
    // what it has done by then is thrown away if it gives up.
    const int64_t budget = sortPlacing == Placing::WalkOnly ? INT64_MAX : 8 * int64_t{entryCount} + 4096;
    if (sortPlacing == Placing::RankedOnly || !placeByWalking(placed, budget)) {
        try {
            placeByRanks(placed);
        } catch (const std::bad_alloc&) {
            giveUp();
            return;
        }
    }

    // The current entry keeps being current: its row is the slot it ended
    // up in (every later insertion in front of it moved it down by one).
    const int32_t current = currentEntry();
    int32_t currentRow = cursorRow;
    if (current >= 0 && current < entryCount)
        currentRow = static_cast<int32_t>(std::find(placed.begin(), placed.end(), current) - placed.begin());

    // Only stretches whose entries changed places are rewritten, through a
    // work area as large as the largest of them.  Text behind the last
    // entry is not an entry and stays where it is.
    std::vector<std::pair<int32_t, int32_t>> stretches;
    std::unique_ptr<unsigned char[]> work;
    std::vector<int32_t> offsets;   // of the entries of one stretch, from its start
    try {
        stretches = movedStretches(placed);
        int32_t largest = 0;
        int32_t mostSlots = 0;
        for (auto [first, last] : stretches) {
            largest = std::max(largest, entryIndex[last + 1] - entryIndex[first]);
            mostSlots = std::max(mostSlots, last - first + 1);
        }
        work.reset(new unsigned char[static_cast<size_t>(largest)]);   // no need to clear it
        offsets.resize(static_cast<size_t>(mostSlots) + 1);
    } catch (const std::bad_alloc&) {
        giveUp();
        return;
    }

    // The new index follows from the entry lengths; the text need not be
    // scanned again.  A stretch holds exactly the entries of its own slots,
    // so the index of one can be rewritten before the next is read.  The
    // entries come from all over the text: the offsets and bytes of those a
    // few slots ahead are fetched early.
    cursorRow = currentRow;
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
            offsets[slot - first] = at;
            at += length;
        }
        const int32_t start = entryIndex[first];
        std::memcpy(textBuffer + start, work.get(), static_cast<size_t>(at));
        for (int32_t slot = first + 1; slot <= last; ++slot)
            entryIndex[slot] = start + offsets[slot - first];
    }

    // Reordering is no change of the data: the modified flag and the title
    // marker stay as they were.
    countDisplaySuppressed = false;
    lineTableOwner = -1;

    if (host().mainWindowExists()) {
        host().setTitle(titleText);
        host().setStatusText(entryCountText);
    }

    firstVisibleEntry = 0;
    overviewScrollX = 0;
    host().repaint(ViewId::Overview);
    // The repaint may have scrolled the list to the cursor's entry, which
    // then sits at a smaller row: the current entry is the row counted from
    // the first visible entry.
    currentEntryOffset = entryIndex[std::clamp(currentEntry(), 0, entryCount)];
    caretLine = 0;
    caretColumn = 0;
    firstVisibleLine = 0;
    dataViewScrollX = 0;
    host().repaint(ViewId::DataView);
}
