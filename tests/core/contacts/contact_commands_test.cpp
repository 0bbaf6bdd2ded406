// Import and export of contacts on the store: the decisions, and the ways
// of failing that the end-to-end tests cannot reach.
#include <gtest/gtest.h>

#include "contacts/contact_commands.h"
#include "files/address_file.h"
#include "files/safe_write.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"

extern long largeAllocationsBeforeFailure;   // the allocation hook, sort_test.cpp

namespace {

using Strings = std::vector<std::string>;
using ContactFiles = StoreTest;

TEST(ContactCommands, ExportFormatAndMessages)
{
    EXPECT_EQ(exportFormatFor("a.vcf", 3), ExportFormat::Csv);
    EXPECT_EQ(exportFormatFor("B.CsV", 2), ExportFormat::Csv);
    EXPECT_EQ(exportFormatFor("xcsv", 2), ExportFormat::VCard4);
    ImportedBook book;
    book.entries = 12;
    EXPECT_EQ(importedMessage(book), "12 contacts were imported!");
    book.skipped = 1;
    EXPECT_EQ(importedMessage(book), "12 contacts were imported!\n1 contacts without a name, e-mail address or number were skipped.");
}

// Every failure leaves the store, the undo step and the file as they were,
// and the progress in the status line ends with the entry count.
TEST_F(ContactFiles, FailuresChangeNothing)
{
    discardSnapshot();
    setStoreText("Zoe\r\n\r\n");
    recorder.hasMainWindow = true;
    loadProgressAfterMs = 0;
    std::string cards;
    for (int i = 0; i < 40; ++i)
        cards += "BEGIN:VCARD\r\nFN:P" + std::to_string(i) + "\r\nEND:VCARD\r\n";
    writeFileBytes(tempPath("many.vcf"), cards);
    recorder.chosenFiles = {tempPath("missing.vcf"), tempDir.string()};
    importContactsFile();
    importContactsFile();
    EXPECT_EQ(recorder.eventsStartingWith("error"), Strings(2, "error|ORDANE-Lumo:|Cannot open file!"));

    for (long failing = 0;; ++failing) {
        recorder.events.clear();
        recorder.chosenFiles = {tempPath("many.vcf")};
        largeAllocationsBeforeFailure = failing;
        importContactsFile();
        largeAllocationsBeforeFailure = -1;
        if (recorder.eventsStartingWith("error").empty())
            break;
        ASSERT_EQ(recorder.eventsStartingWith("error"), Strings{"error|ORDANE-Lumo:|Not enough memory free!"});
        ASSERT_EQ(recorder.status, "       1 Entries");
    }
    EXPECT_TRUE(recorder.eventsStartingWith("status|").front().starts_with("status|Importieren... "));
    EXPECT_EQ(recorder.status, "      41 Entries");
    undo();
    EXPECT_EQ(storeText(), "Zoe\r\n\r\n");

    recorder.events.clear();
    recorder.chosenFiles = {tempPath("many.vcf")};
    setWriteFaultAfter(10);
    exportContactsFile();
    setWriteFaultAfter(-1);
    loadProgressAfterMs = 500;
    EXPECT_EQ(recorder.eventsStartingWith("error"), Strings{"error|ORDANE-Lumo:|Cannot save file!"});
    EXPECT_EQ(recorder.eventsStartingWith("status|"), (Strings{"status|Exportieren... 0%", "status|       1 Entries"}));
    EXPECT_EQ(readFileBytes(tempPath("many.vcf")), cards);
}

}  // namespace
