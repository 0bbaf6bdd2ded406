// Figures for the store's whole-buffer operations: loading, the index
// rebuild, search, replace, sorting, the data-check and saving, on generated
// address books of 1,000, 10,000, 100,000 and 1,000,000 entries.  Prints a
// table and whether the speed targets are met; never run as a test.
//
//   build/native/lumo_bench            every size
//   build/native/lumo_bench 100000     one size
//   build/native/lumo_bench book N sorted|shuffled PATH
//                                      writes the book of N entries as an
//                                      address file, for the Wine benchmark
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <ctime>
#include <vector>

#include "book_generator.h"
#include "contacts/book_exchange.h"
#include "files/address_file.h"
#include "files/data_check.h"
#include "find/fold.h"
#include "find/replace.h"
#include "find/search.h"
#include "find/sort.h"
#include "host/host.h"
#include "store/store.h"
#include "views/view_state.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t bookSeed = 20240611;
constexpr int doublePercent = 10;

struct Figures {
    double minMs = 0;
    double medianMs = 0;
    int runs = 0;
};

struct Row {
    const char* operation;
    int order;          // position of the operation in the table
    int32_t size;       // N, the distinct entries of the book
    int32_t entries;    // entries actually in the store
    Figures figures;
    bool skipped = false;
    std::string note;
};

struct Target {
    std::string text;
    bool met;
};

std::vector<Row> rows;
std::vector<Target> targets;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs setup (untimed) and work (timed) `runs` times.
template <class Setup, class Work>
Figures measure(int runs, Setup setup, Work work)
{
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        setup();
        Clock::time_point start = Clock::now();
        work();
        times.push_back(millisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    Figures figures;
    figures.runs = runs;
    figures.minMs = times.front();
    size_t middle = times.size() / 2;
    figures.medianMs = times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    return figures;
}

void noSetup() {}

int32_t countSeparators(const std::string& text)
{
    int32_t count = 0;
    for (size_t at = text.find("\r\n\r\n"); at != std::string::npos; at = text.find("\r\n\r\n", at + 4))
        ++count;
    return count;
}

// Replaces the store with text, sized the way a load sizes it, and puts the
// views on the first entry.
void putTextIntoStore(const std::string& text)
{
    freeStore();
    if (!createEmptyStore()) {
        std::fprintf(stderr, "lumo_bench: cannot create the store\n");
        std::exit(1);
    }
    int32_t length = static_cast<int32_t>(text.size());
    bufferCapacity = length + bufferHeadroom;
    textBuffer = static_cast<unsigned char*>(std::realloc(textBuffer, static_cast<size_t>(bufferCapacity)));
    indexCapacity = countSeparators(text) + indexHeadroom;
    entryIndex = static_cast<int32_t*>(std::realloc(entryIndex, static_cast<size_t>(indexCapacity) * sizeof(int32_t)));
    if (!textBuffer || !entryIndex) {
        std::fprintf(stderr, "lumo_bench: out of memory\n");
        std::exit(1);
    }
    std::memset(textBuffer, 0, static_cast<size_t>(bufferCapacity));
    std::memcpy(textBuffer, text.data(), text.size());
    usedBytes = length;
    entryCount = rebuildEntryIndex();
    resetViewState();
}

// An occurrence of "~q" at the end of every n-th entry.
std::string withMarks(const std::string& text, int n)
{
    std::string out;
    int k = 0;
    size_t from = 0;
    for (size_t at = text.find("\r\n\r\n"); at != std::string::npos; from = at + 4, at = text.find("\r\n\r\n", from)) {
        out.append(text, from, at - from);
        if (k++ % n == 0)
            out += "~q";
        out += "\r\n\r\n";
    }
    out.append(text, from, std::string::npos);
    return out;
}

std::string storeBytes()
{
    return std::string(reinterpret_cast<const char*>(textBuffer), static_cast<size_t>(usedBytes));
}

int64_t countOf(const std::string& text, const std::string& what)
{
    int64_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++count;
    return count;
}

// The least any index rebuild has to do: find every CR in the buffer.
int64_t countCarriageReturns(const unsigned char* bytes, int32_t length)
{
    int64_t count = 0;
    const unsigned char* end = bytes + length;
    for (const unsigned char* p = bytes; p < end; ++p) {
        p = static_cast<const unsigned char*>(std::memchr(p, 13, static_cast<size_t>(end - p)));
        if (!p)
            break;
        ++count;
    }
    return count;
}

// Adjacent headings that are strictly out of order (neither key a prefix of
// the other after folding, the sort's own notion of equal).
int32_t headingsOutOfOrder()
{
    int32_t wrong = 0;
    auto keyLength = [](int32_t k) {
        const unsigned char* p = textBuffer + entryIndex[k];
        int32_t n = 0;
        while (n < 255 && p[n] >= 32)
            ++n;
        return n;
    };
    for (int32_t k = 0; k + 1 < entryCount; ++k) {
        const unsigned char* a = textBuffer + entryIndex[k];
        const unsigned char* b = textBuffer + entryIndex[k + 1];
        int32_t common = std::min(keyLength(k), keyLength(k + 1));
        for (int32_t i = 0; i < common; ++i) {
            unsigned char fa = sortFold1252[a[i]];
            unsigned char fb = sortFold1252[b[i]];
            if (fa != fb) {
                wrong += fa > fb;
                break;
            }
        }
    }
    return wrong;
}

std::string grouped(int64_t n)
{
    std::string digits = std::to_string(n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

// The insertion walk takes keys of which one is a prefix of the other as
// equal ("Albrecht, Hans" and "Albrecht, Hans, 0211 5022"); since that is
// not transitive, such a pair can leave two neighbours that are strictly out
// of order.  Counted here so a change in the sort's result shows up.
std::string orderNote()
{
    int32_t wrong = headingsOutOfOrder();
    if (wrong == 0)
        return "in order";
    return grouped(wrong) + " neighbours out of order (prefix-equal keys)";
}

std::string format(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

int64_t fileSize(const std::string& path)
{
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<int64_t>(size);
}

int runsFor(int32_t size)
{
    return size <= 1000 ? 21 : size <= 10000 ? 11 : size <= 100000 ? 5 : 3;
}

// N entries that are nothing but their closing empty line: every key is
// empty, so every key counts as equal to every other.
std::string emptyEntries(int32_t n)
{
    std::string text;
    text.reserve(static_cast<size_t>(n) * 4);
    for (int32_t i = 0; i < n; ++i)
        text += "\r\n\r\n";
    return text;
}

std::string withTarget(std::string note, const char* what, double ms, double limit)
{
    bool met = ms < limit;
    targets.push_back({what + (": " + format("%.1f", ms) + " ms"), met});
    return note + "; target < " + format("%.0f", limit) + (met ? " ms met" : " ms MISSED");
}

void benchmarkExchange(int32_t size, const Book& book);

void benchmarkSize(int32_t size, const std::string& path)
{
    std::fprintf(stderr, "lumo_bench: %s entries...\n", grouped(size).c_str());
    const Book sorted = generateBook({size, bookSeed, BookOrder::Sorted, 0});
    const Book shuffled = generateBook({size, bookSeed, BookOrder::Shuffled, 0});
    const Book doubled = generateBook({size, bookSeed, BookOrder::Sorted, doublePercent});
    const int runs = runsFor(size);
    std::memset(currentPassword, 0, sizeof currentPassword);

    // 1. Load a plain file.
    putTextIntoStore(sorted.text);
    if (!writeAddressFile(path.c_str())) {
        std::fprintf(stderr, "lumo_bench: cannot write %s\n", path.c_str());
        std::exit(1);
    }
    Figures load = measure(runs, noSetup, [&] { loadAddressFile(path.c_str(), LoadMode::Open); });
    std::string loadNote = grouped(usedBytes) + " bytes";
    if (entryCount != sorted.entryCount)
        loadNote += "; WRONG COUNT " + grouped(entryCount);
    rows.push_back({"load (open, plain)", 1, size, entryCount, load, false, loadNote});

    // 2. and 3. The index rebuild against the bare memchr pass over the same buffer.
    Figures rebuild = measure(runs, noSetup, [] { entryCount = rebuildEntryIndex(); });
    volatile int64_t crSink = 0;
    Figures memchrFloor = measure(runs, noSetup, [&] { crSink = countCarriageReturns(textBuffer, usedBytes); });
    double ratio = memchrFloor.minMs > 0 ? rebuild.minMs / memchrFloor.minMs : 0;
    std::string ratioText = "rebuild/floor " + format("%.2f", ratio) + "x (min/min)";
    rows.push_back({"rebuildEntryIndex", 2, size, entryCount, rebuild, false, ratioText});
    rows.push_back({"floor: memchr CR pass", 3, size, entryCount, memchrFloor, false, grouped(crSink) + " CRs"});
    const void* volatile absentSink = nullptr;
    Figures scanFloor = measure(runs, noSetup, [&] { absentSink = std::memchr(textBuffer, '~', static_cast<size_t>(usedBytes)); });
    rows.push_back({"floor: memchr, byte absent", 3, size, entryCount, scanFloor, false, "one memchr over the whole text"});
    if (size == 100000)
        targets.push_back({"rebuild within 2x of the memchr floor at 100,000: " + format("%.2f", ratio) + "x", ratio <= 2.0});

    // 3a. A search for a text that is not there, downward over the whole data.
    Figures absent = measure(runs, [] { resetViewState(); }, [] {
        std::strcpy(searchText, "~absent~");
        searchDirection = 1;
        searchNext();
    });
    double searchRatio = memchrFloor.minMs > 0 ? absent.minMs / memchrFloor.minMs : 0;
    double scanRatio = scanFloor.minMs > 0 ? absent.minMs / scanFloor.minMs : 0;
    rows.push_back({"searchNext, no hit", 3, size, entryCount, absent, false,
                    "search/floor " + format("%.2f", searchRatio) + "x (min/min); against one memchr " + format("%.2f", scanRatio) + "x"});
    if (size == 100000)
        targets.push_back({"search without a hit within 4x of the memchr floor at 100,000: " + format("%.2f", searchRatio) + "x",
                           searchRatio <= 4.0});
    if (size == 1000000)
        targets.push_back({"search without a hit within 4x of the memchr floor at 1,000,000: " + format("%.2f", searchRatio) + "x",
                           searchRatio <= 4.0});

    // 3b. Replace all of an occurrence in every tenth entry, the replacement
    // one character longer; hit by hit (moving the data and rebuilding the
    // index each time) only where that ends in reasonable time.
    const std::string marked = withMarks(sorted.text, 10);
    Figures all = measure(runs, [&] { putTextIntoStore(marked); }, [] {
        replaceThroughData(makePattern("~q", 1), "~qq");
    });
    std::string allNote = grouped(countOf(storeBytes(), "~qq")) + " replaced";
    if (size == 100000)
        targets.push_back({"Replace all of 10,000 occurrences at 100,000 under 100 ms: " + format("%.1f", all.minMs) + " ms",
                           all.minMs < 100.0});
    rows.push_back({"Replace all, one pass", 3, size, entryCount, all, false, allNote});
    if (size <= 10000) {
        Figures stepwise = measure(size <= 1000 ? runs : 1, [&] { putTextIntoStore(marked); }, [] {
            std::strcpy(replaceSearchText, "~q");
            std::strcpy(replaceText, "~qq");
            replaceDirection = 1;
            replaceAll = false;
            activeView = ActiveView::DataView;
            // Single replacements downward from the caret until none is left.
            for (int32_t before = -1; before != usedBytes;) {
                before = usedBytes;
                replaceNext(0);
            }
        });
        rows.push_back({"Replace all, hit by hit", 3, size, entryCount, stepwise, false,
                        grouped(countOf(storeBytes(), "~qq")) + " replaced"});
    }

    // 4. Sort data that is already in order: once as a re-sort of a store
    // that has been sorted before, once as the first sort after opening the
    // file (what Open does), where the work areas land on fresh pages.
    Figures sortSorted = measure(runs, [&] { putTextIntoStore(sorted.text); }, [] { sortEntries(); });
    std::string sortedNote = orderNote();
    Figures sortAfterLoad = measure(runs, [&] {
        loadAddressFile(path.c_str(), LoadMode::Open);
        resetViewState();
    }, [] { sortEntries(); });
    std::string afterLoadNote = orderNote();
    if (size == 100000) {
        sortedNote = withTarget(sortedNote, "sort of sorted data under 50 ms at 100,000 (re-sort)", sortSorted.minMs, 50.0);
        afterLoadNote = withTarget(afterLoadNote, "sort of sorted data under 50 ms at 100,000 (first sort after load)",
                                   sortAfterLoad.minMs, 50.0);
    }
    if (size == 1000000) {
        sortedNote = withTarget(sortedNote, "sort of sorted data under 300 ms at 1,000,000 (re-sort)", sortSorted.minMs, 300.0);
        afterLoadNote = withTarget(afterLoadNote, "sort of sorted data under 300 ms at 1,000,000 (first sort after load)",
                                   sortAfterLoad.minMs, 300.0);
    }
    rows.push_back({"sortEntries, sorted", 4, size, entryCount, sortSorted, false, sortedNote});
    rows.push_back({"sortEntries, sorted, on load", 4, size, entryCount, sortAfterLoad, false, afterLoadNote});

    // 5. Sort shuffled data, and a book of empty entries, whose keys all
    // count as equal, so that every entry goes in at the front.
    Figures sortShuffled = measure(runs, [&] { putTextIntoStore(shuffled.text); }, [] { sortEntries(); });
    std::string shuffledNote = orderNote();
    if (size == 100000)
        shuffledNote = withTarget(shuffledNote, "sort of shuffled data under 150 ms at 100,000", sortShuffled.minMs, 150.0);
    if (size == 1000000)
        shuffledNote = withTarget(shuffledNote, "sort of shuffled data under 3 s at 1,000,000", sortShuffled.minMs, 3000.0);
    rows.push_back({"sortEntries, shuffled", 5, size, entryCount, sortShuffled, false, shuffledNote});

    const std::string empty = emptyEntries(size);
    Figures sortEqual = measure(runs, [&] { putTextIntoStore(empty); }, [] { sortEntries(); });
    std::string equalNote = grouped(static_cast<int64_t>(empty.size())) + " bytes";
    if (size == 1000000)
        equalNote = withTarget(equalNote, "sort of 1,000,000 equal keys under 300 ms", sortEqual.minMs, 300.0);
    rows.push_back({"sortEntries, equal keys", 5, size, entryCount, sortEqual, false, equalNote});

    // 6. The data-check on a sorted book with about one entry in ten doubled.
    putTextIntoStore(doubled.text);
    Figures doubledFloor = measure(runs, noSetup, [&] { crSink = countCarriageReturns(textBuffer, usedBytes); });
    Figures check = measure(runs, [&] { putTextIntoStore(doubled.text); }, [] { removeDuplicateEntries(); });
    int32_t removed = doubled.entryCount - entryCount;
    double checkRatio = doubledFloor.minMs > 0 ? check.minMs / doubledFloor.minMs : 0;
    rows.push_back({"removeDuplicateEntries", 6, size, doubled.entryCount, check, false,
                    "removed " + grouped(removed) + " of " + grouped(doubled.doubles) + " doubles; check/floor " +
                        format("%.2f", checkRatio) + "x (floor " + format("%.3f", doubledFloor.minMs) + " ms)"});

    // 7. Save, plain and protected.
    putTextIntoStore(sorted.text);
    Figures writePlain = measure(runs, noSetup, [&] { writeAddressFile(path.c_str()); });
    std::string plainNote = grouped(fileSize(path)) + " bytes written";
    rows.push_back({"writeAddressFile, plain", 7, size, entryCount, writePlain, false, plainNote});

    std::strcpy(currentPassword, "Geheim42");
    Figures writeProtected = measure(runs, noSetup, [&] { writeAddressFile(path.c_str()); });
    std::string protectedNote = grouped(fileSize(path)) + " bytes written";
    if (fileSize(path) != usedBytes + 8)
        protectedNote += "; WRONG SIZE";
    rows.push_back({"writeAddressFile, protected", 8, size, entryCount, writeProtected, false, protectedNote});
    std::memset(currentPassword, 0, sizeof currentPassword);

    // 9. Contacts out and in.
    benchmarkExchange(size, sorted);
}

void printTable()
{
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.order < b.order; });
    std::printf("%-28s %9s %9s %4s %11s %11s  %s\n", "operation", "N", "entries", "runs", "min ms", "median ms", "note");
    std::printf("%s\n", std::string(110, '-').c_str());
    int lastOrder = 0;
    for (const Row& row : rows) {
        if (lastOrder && row.order != lastOrder)
            std::printf("\n");
        lastOrder = row.order;
        if (row.skipped) {
            std::printf("%-28s %9s %9s %4s %11s %11s  %s\n", row.operation, grouped(row.size).c_str(),
                        grouped(row.entries).c_str(), "-", "-", "-", row.note.c_str());
        } else {
            std::printf("%-28s %9s %9s %4d %11.3f %11.3f  %s\n", row.operation, grouped(row.size).c_str(),
                        grouped(row.entries).c_str(), row.figures.runs, row.figures.minMs, row.figures.medianMs,
                        row.note.c_str());
        }
    }
}

// Bytes held through operator new now and at most since the last reset:
// the strings and vectors of the exchange formats, counted as allocated
// (capacity that is never touched included).
size_t heapNow = 0, heapPeak = 0;

template <class Work, class Done>
long extraPeakBytes(Work work, Done done)
{
    const size_t before = heapNow;
    heapPeak = heapNow;
    work();
    const size_t peak = heapPeak;
    done();
    return static_cast<long>(peak - before);
}

// Export of the store and import of the result, in vCard and CSV: time,
// throughput of the exchange text, and peak memory, with the input held
// counted in as a program reading a file holds it.
void benchmarkExchange(int32_t size, const Book& book)
{
    const int runs = std::min(runsFor(size), 5);
    struct Kind {
        const char* exportName;
        const char* importName;
        ExportFormat format;
    };
    for (const Kind& kind : {Kind{"export vCard 3.0", "import vCard 3.0", ExportFormat::VCard3},
                             Kind{"export CSV", "import CSV", ExportFormat::Csv}}) {
        putTextIntoStore(book.text);
        const double bookMb = usedBytes / 1e6;
        std::string exported;
        Figures out = measure(runs, [&] { exported = std::string(); }, [&] { exported = exportEntries(kind.format); });
        exported = std::string();
        size_t textBytes = 0;
        const long outPeak = extraPeakBytes([&] { textBytes = exportEntries(kind.format).size(); }, [] {});
        exported = exportEntries(kind.format);
        const double textMb = textBytes / 1e6;
        // Processor time of one more run: on a machine shared with other
        // work the clock on the wall says more about the others.  (The
        // Windows C library's clock() counts wall time.)
        auto cpuMs = [](auto work) {
            const std::clock_t start = std::clock();
            work();
            return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        };
        auto note = [&](const Figures& f, long peak, double inMb, double cpu) {
            std::string text = format("%.1f MB", textMb) + format(", %.0f MB/s", textMb / (f.minMs / 1000)) +
                               format(", cpu %.0f ms", cpu);
            if (peak >= 0) {
                const double total = inMb + peak / 1e6;
                text += format("; heap peak %.1f MB", total) + format(" = %.2fx the larger of input and output",
                                                                 total / std::max(bookMb, textMb));
            }
            return text;
        };
        std::string outNote = note(out, outPeak, bookMb, cpuMs([&] { exportEntries(kind.format); }));
        if (size == 100000)
            outNote = withTarget(outNote, (std::string(kind.exportName) + " of 100,000 under 500 ms").c_str(),
                                 out.minMs, 500.0);
        rows.push_back({kind.exportName, 9, size, entryCount, out, false, outNote});

        freeStore();
        ImportedBook imported;
        std::string why;
        // Swapped out, not assigned: assigning an empty string keeps the old buffer.
        auto fresh = [&] {
            ImportedBook empty;
            std::swap(imported, empty);
        };
        Figures in = measure(runs, fresh, [&] {
            importContacts(exported, ImportFormat::Guess, imported, why);
        });
        const int32_t entries = imported.entries;
        fresh();
        const long inPeak = extraPeakBytes([&] { importContacts(exported, ImportFormat::Guess, imported, why); }, fresh);
        std::string inNote = note(in, inPeak, textMb, cpuMs([&] {
            importContacts(exported, ImportFormat::Guess, imported, why);
            fresh();
        }));
        if (entries != book.entryCount)
            inNote += "; WRONG COUNT " + grouped(entries);
        if (size == 100000)
            inNote = withTarget(inNote, (std::string(kind.importName) + " of 100,000 under 500 ms").c_str(), in.minMs,
                                500.0);
        rows.push_back({kind.importName, 9, size, entries, in, false, inNote});
        fresh();
    }
}

}  // namespace

// Every allocation of the benchmark counted, with its size in a header
// that keeps the alignment malloc gives.
namespace {
constexpr size_t heapHeader = 16;
}

void* operator new(size_t size)
{
    unsigned char* block = static_cast<unsigned char*>(std::malloc(size + heapHeader));
    if (!block)
        throw std::bad_alloc();
    std::memcpy(block, &size, sizeof size);
    heapNow += size;
    heapPeak = std::max(heapPeak, heapNow);
    return block + heapHeader;
}

void* operator new[](size_t size) { return operator new(size); }

void operator delete(void* pointer) noexcept
{
    if (!pointer)
        return;
    unsigned char* block = static_cast<unsigned char*>(pointer) - heapHeader;
    size_t size;
    std::memcpy(&size, block, sizeof size);
    heapNow -= size;
    std::free(block);
}

void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete(void* pointer, size_t) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, size_t) noexcept { operator delete(pointer); }

// The processor and today's date, for the table's heading.
std::string machine()
{
    std::string model = "unknown processor";
    if (FILE* cpuinfo = std::fopen("/proc/cpuinfo", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, cpuinfo)) {
            if (std::strncmp(line, "model name", 10) == 0) {
                if (const char* colon = std::strchr(line, ':')) {
                    model = colon + 2;
                    model.erase(model.find_last_not_of("\r\n") + 1);
                }
                break;
            }
        }
        std::fclose(cpuinfo);
    }
    char date[32];
    std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
    return model + ", " + std::to_string(std::thread::hardware_concurrency()) + " threads; " + date;
}

int main(int argc, char** argv)
{
    Clock::time_point start = Clock::now();
    setHost(nullptr);   // the silent default: no message boxes, every question answered No
    if (argc == 5 && std::strcmp(argv[1], "book") == 0) {
        const bool shuffle = std::strcmp(argv[3], "shuffled") == 0;
        const Book book = generateBook({static_cast<int32_t>(std::atol(argv[2])), bookSeed,
                                        shuffle ? BookOrder::Shuffled : BookOrder::Sorted, 0});
        putTextIntoStore(book.text);
        std::memset(currentPassword, 0, sizeof currentPassword);
        if (!writeAddressFile(argv[4])) {
            std::fprintf(stderr, "lumo_bench: cannot write %s\n", argv[4]);
            return 1;
        }
        std::printf("%s: %s entries, %s bytes\n", argv[4], grouped(book.entryCount).c_str(), grouped(usedBytes).c_str());
        freeStore();
        return 0;
    }
    std::vector<int32_t> sizes = {1000, 10000, 100000, 1000000};
    if (argc > 1)
        sizes = {static_cast<int32_t>(std::atol(argv[1]))};
    std::string path = (std::filesystem::temp_directory_path() / "lumo_bench.adr").string();

    for (int32_t size : sizes)
        benchmarkSize(size, path);
    freeStore();
    std::error_code ignored;
    std::filesystem::remove(path, ignored);

    std::printf("lumo_bench on %s\n", machine().c_str());
    std::printf("lumo_bench: times in milliseconds, steady_clock; \"min\" is the best run, \"median\" the middle one.\n");
    std::printf("Books: N distinct entries, seed %u; the data-check book has about %d%% of them doubled in place.\n\n",
                bookSeed, doublePercent);
    printTable();

    int met = 0;
    std::printf("\n");
    for (const Target& target : targets) {
        met += target.met;
        std::printf("  %-6s %s\n", target.met ? "met" : "MISSED", target.text.c_str());
    }
    std::printf("targets: %d of %zu met, %zu missed\n", met, targets.size(), targets.size() - static_cast<size_t>(met));
    std::printf("total run time %.1f s\n", millisecondsSince(start) / 1000.0);
    return 0;
}
