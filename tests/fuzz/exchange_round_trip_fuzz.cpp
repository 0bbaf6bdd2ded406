// Any book, as a load leaves it, exported in each format and imported
// again: every entry comes back with all its lines (an empty line as one
// blank, the only line import cannot write).
//
// Input: the file's bytes.
#include <map>

#include "exchange_fuzz.h"

namespace {

std::vector<std::string> linesOf(const std::string& entry)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = entry.find("\r\n", start);
        std::string line = entry.substr(start, end == std::string::npos ? std::string::npos : end - start);
        lines.push_back(line.empty() ? " " : line);
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzHost fuzzHost;
    setHost(&fuzzHost);
    std::string text(reinterpret_cast<const char*>(data), size);
    toBufferCharset(reinterpret_cast<unsigned char*>(text.data()), static_cast<int32_t>(text.size()));
    FUZZ_CHECK(loadStoreFromText(text));
    sortEntries();
    std::vector<std::vector<std::string>> before;
    for (const std::string& entry : sortedStoreEntries())
        before.push_back(linesOf(entry));
    std::sort(before.begin(), before.end());
    const std::string original(reinterpret_cast<const char*>(textBuffer), static_cast<size_t>(usedBytes));

    for (ExportFormat format : {ExportFormat::VCard3, ExportFormat::VCard4, ExportFormat::Csv}) {
        FUZZ_CHECK(loadStoreFromText(original));
        const std::string exported = exportEntries(format);
        ImportedBook book;
        std::string why;
        if (!importContacts(exported, ImportFormat::Guess, book, why)) {
            FUZZ_CHECK(before.empty());
            continue;
        }
        checkImportedText(book);
        FUZZ_CHECK(book.replaced.count == 0);
        FUZZ_CHECK(loadStoreFromText(book.text));
        std::vector<std::vector<std::string>> after;
        for (const std::string& entry : sortedStoreEntries())
            after.push_back(linesOf(entry));
        std::sort(after.begin(), after.end());
        FUZZ_CHECK(after == before);
    }
    freeStore();
    setHost(nullptr);
    return 0;
}
