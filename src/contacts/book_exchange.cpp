#include "contacts/entry_lines.h"
#include "contacts/book_exchange.h"

#include <algorithm>

#include <cstring>

#include "contacts/contact_from_entry.h"
#include "contacts/csv_reader.h"
#include "contacts/csv_writer.h"
#include "contacts/entry_from_contact.h"
#include "contacts/utf8.h"
#include "contacts/vcard_reader.h"
#include "contacts/vcard_writer.h"
#include "store/store.h"

std::vector<std::string> entryLines(int32_t k)
{
    // The entry without its separator, CR LF CR LF.
    const char* text = reinterpret_cast<const char*>(textBuffer + entryStart(k));
    return linesOfEntry(std::string_view(text, static_cast<size_t>(entryLength(k) - 4)));
}

std::string exportEntries(ExportFormat format)
{
    return exportEntries(format, 0, entryCount);
}

std::string exportEntries(ExportFormat format, int32_t first, int32_t end, const ExchangeProgress& progress)
{
    std::string out;
    // About what the entries take as cards; grows when that is too little.
    // Pages of it that stay unused are never touched and cost no memory.
    out.reserve(static_cast<size_t>(usedBytes) * (format == ExportFormat::Csv ? 2 : 3) + 4096);
    if (format == ExportFormat::Csv)
        appendCsvHeader(out);
    std::vector<std::string> lines;
    for (int32_t k = first; k < end; ++k) {
        if (progress && (k - first) % 1024 == 0)
            progress(k - first, end - first);
        // The entry's lines as UTF-8, without its separator, CR LF CR LF.
        const char* text = reinterpret_cast<const char*>(textBuffer + entryStart(k));
        const std::string_view entry(text, static_cast<size_t>(entryLength(k) - 4));
        size_t count = 0;
        for (size_t start = 0;; ++count) {
            const size_t lineEnd = entry.find("\r\n", start);
            if (count == lines.size())
                lines.emplace_back();
            lines[count].clear();
            appendExchangeTextFrom1252(lines[count], entry.substr(start, lineEnd == std::string_view::npos ? lineEnd : lineEnd - start));
            if (lineEnd == std::string_view::npos)
                break;
            start = lineEnd + 2;
        }
        lines.resize(count + 1);
        const Contact contact = contactFromEntry(lines);
        if (format == ExportFormat::Csv)
            appendCsvRecord(out, contact);
        else
            appendVCard(out, contact, format == ExportFormat::VCard4 ? VCardVersion::V4 : VCardVersion::V3);
    }
    return out;
}

bool importContacts(std::string_view bytes, ImportFormat format, ImportedBook& book, std::string& why,
                    const ImportOptions& options, const ExchangeProgress& progress)
{
    std::string storage;
    const std::string_view text = withoutByteOrderMark(bytes, storage);
    if (format == ImportFormat::Guess)
        format = looksLikeVCard(text) ? ImportFormat::VCard : ImportFormat::Csv;
    const size_t textStart = book.text.size();
    const int32_t entriesBefore = book.entries;
    // Rarely more than the file: the text is rid of the formats' markup.
    book.text.reserve(textStart + text.size() + 4096);
    // How many contacts to expect, for the progress only: the cards' BEGIN
    // lines, or the CSV's lines (a record may span several).
    int64_t expected = 0;
    if (progress) {
        const std::string_view marker = format == ImportFormat::VCard ? "BEGIN:VCARD" : "\n";
        for (size_t at = text.find(marker); at != std::string_view::npos; at = text.find(marker, at + 1))
            ++expected;
    }
    int64_t taken = 0;
    auto take = [&](Contact& contact) {
        if (progress && taken++ % 1024 == 0)
            progress(std::min(taken, expected), expected);
        std::vector<std::string> lines = entryFromContact(std::move(contact));
        if (lines.empty()) {
            ++book.skipped;
            return;
        }
        for (std::string& line : lines) {
            appendLineFromExchangeText(book.text, line, book.replaced, options.transliterate);
            book.text += "\r\n";
            std::string().swap(line);
        }
        book.text += "\r\n";
        ++book.entries;
    };
    bool read = true;
    if (format == ImportFormat::VCard) {
        readVCards(text, take);
    } else {
        std::string converted;
        const std::string_view csv = isValidUtf8(text) ? text : std::string_view(converted = utf8From1252(text));
        read = readCsvContacts(csv, options.lenient, take, why, book.warnings);
    }
    if (read && book.entries == entriesBefore) {
        read = false;
        why = book.skipped > 0 ? "no contact with a name, firm, nickname, mail address or telephone number"
              : format == ImportFormat::VCard ? "no vCard found"
                                              : "no record below the header row";
    }
    if (!read) {
        book.text.resize(textStart);
        book.entries = entriesBefore;
    }
    book.transliterated = book.replaced.transliterated;
    return read;
}

bool loadStoreFromText(std::string_view text)
{
    freeStore();
    if (!createEmptyStore())
        return false;
    const int32_t length = static_cast<int32_t>(text.size());
    if (!growTextBufferFor(length))
        return false;
    std::memcpy(textBuffer, text.data(), text.size());
    usedBytes = length;
    int32_t unused;
    const int32_t separators = scanEntrySeparators(textBuffer, usedBytes, &unused, 0);
    if (!growEntryIndexFor(separators))
        return false;
    entryCount = rebuildEntryIndex();
    return true;
}
