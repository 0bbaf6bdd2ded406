// Books exported and imported again: every entry comes back with all its
// lines, over the sample book and thousands of generated ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "book_generator.h"
#include "contacts/book_exchange.h"
#include "files/address_file.h"
#include "find/sort.h"
#include "store/store.h"
#include "support/store_fixture.h"

namespace {

using Lines = std::vector<std::string>;

struct Counts {
    long books = 0, entries = 0, identical = 0;
};

// The entries of the store, each as its lines; an empty line is the one
// blank that import puts in its place.
std::vector<Lines> storeEntries()
{
    std::vector<Lines> entries;
    for (int32_t k = 0; k < entryCount; ++k) {
        Lines lines = entryLines(k);
        for (std::string& line : lines)
            if (line.empty())
                line = " ";
        entries.push_back(lines);
    }
    return entries;
}

bool holdsAll(Lines held, Lines wanted)
{
    std::sort(held.begin(), held.end());
    std::sort(wanted.begin(), wanted.end());
    return std::includes(held.begin(), held.end(), wanted.begin(), wanted.end());
}

// Exports the store, imports the result as a new book sorted as on open,
// and checks that each entry of the store has its own entry there holding
// all its lines.  The store is left as it was.
void checkRoundTrip(ExportFormat format, Counts& counts)
{
    const std::string original = storeText();
    const std::vector<Lines> before = storeEntries();
    ImportedBook book;
    std::string why;
    ASSERT_TRUE(importContacts(exportEntries(format), ImportFormat::Guess, book, why)) << why;
    EXPECT_EQ(book.replaced.count, 0);
    EXPECT_EQ(book.entries, entryCount);
    ASSERT_TRUE(loadStoreFromText(book.text));
    sortEntries();
    const std::vector<Lines> after = storeEntries();
    loadStoreFromText(original);
    ASSERT_EQ(after.size(), before.size());

    std::multimap<std::string, size_t> byHeading;
    for (size_t i = 0; i < after.size(); ++i)
        byHeading.emplace(after[i][0], i);
    for (const Lines& entry : before) {
        auto [first, last] = byHeading.equal_range(entry[0]);
        auto match = std::find_if(first, last, [&](const auto& candidate) { return holdsAll(after[candidate.second], entry); });
        if (match == last) {
            ADD_FAILURE() << "format " << static_cast<int>(format) << ": no entry holds the lines of \"" << entry[0] << "\"";
            break;
        }
        counts.identical += after[match->second] == entry ? 1 : 0;
        byHeading.erase(match);
        ++counts.entries;
    }
}

class ExchangeRoundTrip : public StoreTest {};

TEST_F(ExchangeRoundTrip, SampleBookComesBackByteForByte)
{
    ASSERT_EQ(loadAddressFile(LUMO_SAMPLES_DIR "/sample.adr", LoadMode::Open), LoadResult::Loaded);
    sortEntries();
    const std::string original = storeText();
    for (ExportFormat format : {ExportFormat::VCard3, ExportFormat::VCard4, ExportFormat::Csv}) {
        SCOPED_TRACE(static_cast<int>(format));
        Counts counts;
        checkRoundTrip(format, counts);
        EXPECT_EQ(counts.entries, 38);
        EXPECT_EQ(counts.identical, 38);
        // Sorting the imported book as on open gives the same order.
        ImportedBook book;
        std::string why;
        ASSERT_TRUE(importContacts(exportEntries(format), ImportFormat::Guess, book, why));
        ASSERT_TRUE(loadStoreFromText(book.text));
        sortEntries();
        sortEntries();
        EXPECT_EQ(storeText(), original);
        loadStoreFromText(original);
    }
}

TEST_F(ExchangeRoundTrip, ThousandsOfGeneratedBooks)
{
    const uint32_t books = 3000;
    Counts counts[3];
    const ExportFormat formats[3] = {ExportFormat::VCard3, ExportFormat::VCard4, ExportFormat::Csv};
    for (uint32_t seed = 1; seed <= books && !HasFailure(); ++seed) {
        BookRecipe recipe;
        recipe.entries = 1 + static_cast<int32_t>(seed % 37);
        recipe.seed = seed;
        recipe.order = BookOrder::Shuffled;
        recipe.doublePercent = 5;
        recipe.exchangeLines = seed % 4 != 0;
        ASSERT_TRUE(loadStoreFromText(generateBook(recipe).text));
        sortEntries();
        for (int f = 0; f < 3; ++f) {
            checkRoundTrip(formats[f], counts[f]);
            ++counts[f].books;
        }
    }
    for (int f = 0; f < 3; ++f) {
        std::printf("round trip %-6s %ld books, %ld entries, every line kept in all, %ld entries byte for byte\n",
                    f == 0 ? "vCard3" : f == 1 ? "vCard4" : "CSV", counts[f].books, counts[f].entries,
                    counts[f].identical);
        EXPECT_EQ(counts[f].books, books);
        // Nothing the export reads from a line is written again beside it.
        EXPECT_EQ(counts[f].identical, counts[f].entries);
    }
}

// Entries no editor makes but a file can hold: an empty first line, a lone
// CR or LF, control bytes, a line of every byte, a heading of blanks.
TEST_F(ExchangeRoundTrip, OddEntriesKeepTheirBytes)
{
    std::string text = "\r\n\r\n";                               // an entry of one empty line
    text += "\r\nsecond line of an empty heading\r\n\r\n";
    text += "a\rb\r\n\nlone LF\r\nends in CR\r\r\n\r\n";
    text += "Tab\there\x01\x1f\x7f\r\n\r\n";
    text += "   \r\n\r\n";                                      // a heading of blanks only
    text += "Firma X\r\neMail: mailto:info@example.com\r\n\r\n";   // read back without its "mailto:"
    text += "Jan\r\neMail: a@x.nl ::: b@x.nl\r\n\r\n";             // not two addresses in the export's column
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 10 && b != 13 && b != 132 && b != 148 && b != 129 && b != 142 && b != 153 && b != 154 && b != 158 && b != 225)
            all += static_cast<char>(b);
    text += "Every byte\r\n" + all + "\r\n\r\n";
    setStoreText(text);
    sortEntries();
    for (ExportFormat format : {ExportFormat::VCard3, ExportFormat::VCard4, ExportFormat::Csv}) {
        Counts counts;
        checkRoundTrip(format, counts);
        EXPECT_EQ(counts.entries, 8);
        EXPECT_EQ(counts.identical, 8) << "a line added on the way";
    }
}

TEST(Import, ReplacesAndCountsWhatAnAddressFileCannotHold)
{
    ImportedBook book;
    std::string why;
    // „ and á are Windows-1252 but come back from a file as ä and ß; ✓ and
    // Ω are not Windows-1252 at all; “ and € are kept.
    ASSERT_TRUE(importContacts("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ana Sánchez\r\nN:Sánchez;Ana;;;\r\n"
                               "NOTE:„ok“ ✓ € Ω ✓\r\nEND:VCARD\r\n",
                               ImportFormat::Guess, book, why, {.transliterate = false}));
    EXPECT_EQ(book.text, "S?nchez, Ana\r\n?ok\x93 ? \x80 ? ?\r\n\r\n");
    EXPECT_EQ(book.replaced.count, 5);
    EXPECT_EQ(book.replaced.characters, (std::vector<char32_t>{0xE1, 0x201E, 0x2713, 0x3A9}));

    // Control pictures come back as their bytes, but never as a CR LF
    // that would end the line inside the entry.
    ImportedBook controls;
    ASSERT_TRUE(importContacts("Name,Notes\r\nx,\"a\xE2\x90\x89" "b\xE2\x90\x8D\xE2\x90\x8A" "c\tz\"\r\n", ImportFormat::Csv,
                               controls, why));
    EXPECT_EQ(controls.text, "x\r\na\tb??c z\r\n\r\n");
    EXPECT_EQ(controls.replaced.count, 2);

    EXPECT_FALSE(importContacts("BEGIN:VCARDS\r\n", ImportFormat::VCard, book, why));
    EXPECT_EQ(book.entries, 1) << "a failed import adds nothing";
    EXPECT_FALSE(importContacts("Name,Notes\r\n", ImportFormat::Guess, book, why));
}

// Characters the file cannot hold become their nearest letters, counted,
// unless asked not to; what has none stays "?".
TEST(Import, NearestLettersForWhatTheFileCannotHold)
{
    struct Case {
        const char* utf8;
        const char* transliterated;
        long count;
    };
    const Case cases[] = {
        {"Şahin Łukasz Čapek Ğ ı", "Sahin Lukasz Capek G i", 5},
        {"Erdős Győző Ű", "Erd\xF6s Gy\xF6z\xF6 \xDC", 4},    // the double acute as umlaut
        {"Ĳssel ŉ ẞ ™", "IJssel 'n SS TM", 4},
        {"Sánchez „x” š Ž", "Sanchez \"x\" s Z", 5},            // in Windows-1252 but not kept by the file
        {"… – € Œ ß", "\x85 \x96 \x80 \x8C \xDF", 0},             // kept as they are
        {"Ω ✓", "? ?", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        ReplacementLog log, plain;
        std::string out;
        appendLineFromExchangeText(out, c.utf8, log, true);
        EXPECT_EQ(out, c.transliterated);
        EXPECT_EQ(log.transliterated, c.count);
        lineFromExchangeText(c.utf8, plain);
        EXPECT_EQ(plain.transliterated, 0);
        EXPECT_EQ(plain.count, log.count + c.count) << "without transliteration each is a \"?\"";
    }
}

}  // namespace
