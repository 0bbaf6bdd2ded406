#include "contacts/book_exchange.h"

#include <cstring>

#include "contacts/contact_from_entry.h"
#include "contacts/csv_reader.h"
#include "contacts/csv_writer.h"
#include "contacts/entry_from_contact.h"
#include "contacts/vcard_reader.h"
#include "contacts/vcard_writer.h"
#include "store/store.h"

std::vector<std::string> entryLines(int32_t k)
{
    // The entry without its separator, CR LF CR LF.
    const char* text = reinterpret_cast<const char*>(textBuffer + entryStart(k));
    const std::string_view entry(text, static_cast<size_t>(entryLength(k) - 4));
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = entry.find("\r\n", start);
        lines.emplace_back(entry.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return lines;
        start = end + 2;
    }
}

std::string exportEntries(ExportFormat format)
{
    return exportEntries(format, 0, entryCount);
}

std::string exportEntries(ExportFormat format, int32_t first, int32_t end, const ExchangeProgress& progress)
{
    std::string out;
    if (format == ExportFormat::Csv)
        appendCsvHeader(out);
    for (int32_t k = first; k < end; ++k) {
        if (progress && (k - first) % 1024 == 0)
            progress(k - first, end - first);
        std::vector<std::string> lines = entryLines(k);
        for (std::string& line : lines)
            line = exchangeTextFrom1252(line);
        const Contact contact = contactFromEntry(lines);
        if (format == ExportFormat::Csv)
            appendCsvRecord(out, contact);
        else
            appendVCard(out, contact, format == ExportFormat::VCard4 ? VCardVersion::V4 : VCardVersion::V3);
    }
    return out;
}

bool importContacts(std::string_view bytes, ImportFormat format, ImportedBook& book, std::string& why,
                    const ExchangeProgress& progress)
{
    if (format == ImportFormat::Guess)
        format = looksLikeVCard(bytes) ? ImportFormat::VCard : ImportFormat::Csv;
    std::vector<Contact> contacts;
    if (format == ImportFormat::VCard) {
        contacts = readVCards(bytes);
    } else if (!readCsvContacts(bytes, contacts, why)) {
        return false;
    }
    if (contacts.empty()) {
        why = format == ImportFormat::VCard ? "no vCard found" : "no record below the header row";
        return false;
    }
    for (const Contact& contact : contacts) {
        if (progress && book.entries % 1024 == 0)
            progress(book.entries, static_cast<int64_t>(contacts.size()));
        for (const std::string& line : entryFromContact(contact)) {
            book.text += lineFromExchangeText(line, book.replaced);
            book.text += "\r\n";
        }
        book.text += "\r\n";
        ++book.entries;
    }
    return true;
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
