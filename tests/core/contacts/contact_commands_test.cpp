// File > Import contacts and File > Export contacts on the store.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "contacts/contact_commands.h"
#include "files/address_file.h"
#include "files/safe_write.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/view_state.h"

// The allocation hook of this test program (sort_test.cpp).
extern long largeAllocationsBeforeFailure;

namespace {

using Strings = std::vector<std::string>;

TEST(ContactCommands, ExportFormatFromTypedNameAndChosenType)
{
    const struct {
        const char* path;
        int type;
        ExportFormat format;
    } cases[] = {
        {"a.vcf", 1, ExportFormat::VCard3}, {"a.vcf", 2, ExportFormat::VCard4}, {"a.vcf", 3, ExportFormat::Csv},
        {"a.csv", 1, ExportFormat::Csv},    {"B.CsV", 2, ExportFormat::Csv},    {"a.csv.vcf", 1, ExportFormat::VCard3},
        {"csv", 2, ExportFormat::VCard4},   {"xcsv", 1, ExportFormat::VCard3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exportFormatFor(c.path, c.type), c.format) << c.path << " type " << c.type;
}

TEST(ContactCommands, ImportMessageSaysWhatWasChangedOrSkipped)
{
    ImportedBook book;
    book.entries = 12;
    EXPECT_EQ(importedMessage(book), "12 contacts were imported!");
    book.replaced.count = 2;
    book.transliterated = 3;
    book.skipped = 1;
    EXPECT_EQ(importedMessage(book), "12 contacts were imported!\n"
                                     "5 characters had to be replaced or transliterated.\n"
                                     "1 contacts without a name, e-mail address or number were skipped.");
    EXPECT_EQ(exportedMessage(7), "7 entries were exported!");
}

class ContactFiles : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        importContactsPath[0] = exportContactsPath[0] = 0;
        exportFileType = 1;
        discardSnapshot();
        setStoreText("Zoe\r\nold\r\n\r\n");
        dataModified = false;
        recorder.events.clear();
    }
};

TEST_F(ContactFiles, ImportAddsSortedEntriesThatOneUndoTakesOut)
{
    const std::string path = tempPath("two.vcf");
    writeFileBytes(path, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Muller;Anna;;;\r\nEND:VCARD\r\n"
                         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bert Ames\r\nEND:VCARD\r\n");
    recorder.chosenFiles = {path};
    recorder.hasMainWindow = true;
    loadProgressAfterMs = 0;
    importContactsFile();
    loadProgressAfterMs = 500;
    EXPECT_EQ(recorder.eventsStartingWith("file"), Strings{"file|import|C:\\WORK\\*.vcf"});
    // The progress shown, and the count back at the end.
    const Strings statuses = recorder.eventsStartingWith("status|");
    ASSERT_GE(statuses.size(), 2u);
    EXPECT_TRUE(statuses.front().starts_with("status|Importieren... ")) << statuses.front();
    EXPECT_EQ(statuses.back(), "status|       3 Entries");
    EXPECT_EQ(recorder.eventsStartingWith("info"), Strings{"info|ORDANE-Lumo:|2 contacts were imported!"});
    EXPECT_EQ(storeHeadings(), (Strings{"Bert Ames", "Muller, Anna", "Zoe"}));
    EXPECT_TRUE(dataModified);
    undo();
    EXPECT_EQ(storeText(), "Zoe\r\nold\r\n\r\n");
}

// Whatever goes wrong, the store, the undo step and the modified flag stay
// as they were.
TEST_F(ContactFiles, FailedImportsChangeNothing)
{
    const std::string empty = tempPath("empty.csv"), unknown = tempPath("unknown.csv");
    writeFileBytes(empty, "");
    writeFileBytes(unknown, "Colour,Size\r\nred,2\r\n");
    const struct {
        std::string path;
        const char* message;
    } cases[] = {{tempPath("missing.vcf"), "Cannot open file!"},
                 {tempDir.string(), "Cannot open file!"},
                 {empty, "No contacts found in this file!"},
                 {unknown, "No contacts found in this file!"}};
    for (const auto& c : cases) {
        recorder.events.clear();
        recorder.chosenFiles = {c.path};
        importContactsFile();
        EXPECT_EQ(recorder.eventsStartingWith("error"), Strings{std::string("error|ORDANE-Lumo:|") + c.message}) << c.path;
    }

    // Every large allocation of an import failing in turn.
    std::string cards;
    for (int i = 0; i < 40; ++i)
        cards += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Person " + std::to_string(i) + "\r\nEND:VCARD\r\n";
    writeFileBytes(tempPath("many.vcf"), cards);
    for (long failing = 0;; ++failing) {
        recorder.events.clear();
        recorder.chosenFiles = {tempPath("many.vcf")};
        largeAllocationsBeforeFailure = failing;
        importContactsFile();
        largeAllocationsBeforeFailure = -1;
        if (!recorder.eventsStartingWith("info").empty())
            break;
        ASSERT_EQ(recorder.eventsStartingWith("error"), Strings{"error|ORDANE-Lumo:|Not enough memory free!"});
        ASSERT_LT(failing, 100);
    }
    ASSERT_EQ(storeHeadings().size(), 41u);
    undo();
    EXPECT_EQ(storeText(), "Zoe\r\nold\r\n\r\n");
    EXPECT_TRUE(snapshotValid);   // the failures took no snapshot of their own
}

TEST_F(ContactFiles, ExportWritesTheMarkedEntriesOrAllAndLeavesTheStore)
{
    const std::string book = "Anna\r\n\r\nBert\r\n\r\nCarl\r\n\r\n";
    setStoreText(book);
    dataModified = false;
    activeView = ActiveView::Overview;
    markActive = true;
    markFirst = 1;
    markLast = 2;
    recorder.chosenFiles = {tempPath("marked.csv")};
    recorder.hasMainWindow = true;
    loadProgressAfterMs = 0;
    exportContactsFile();
    loadProgressAfterMs = 500;
    EXPECT_EQ(recorder.eventsStartingWith("status|"), (Strings{"status|Exportieren... 0%", "status|       3 Entries"}));
    EXPECT_EQ(readFileBytes(tempPath("marked.csv")), "Name,Phone,Fax,Email,URL,Birthday,Notes\r\nBert,,,,,,Bert\r\nCarl,,,,,,Carl\r\n");
    EXPECT_EQ(recorder.eventsStartingWith("info"), Strings{"info|ORDANE-Lumo:|2 entries were exported!"});

    markActive = false;
    recorder.chosenFiles = {tempPath("all.vcf")};
    exportContactsFile();
    const std::string cards = readFileBytes(tempPath("all.vcf"));
    EXPECT_EQ(cards.rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0), 0u);
    EXPECT_NE(cards.find("FN:Anna"), std::string::npos);
    EXPECT_NE(cards.find("FN:Carl"), std::string::npos);

    // A disk that fills up keeps the old file.
    recorder.events.clear();
    recorder.chosenFiles = {tempPath("all.vcf")};
    setWriteFaultAfter(10);
    exportContactsFile();
    setWriteFaultAfter(-1);
    EXPECT_EQ(recorder.eventsStartingWith("error"), Strings{"error|ORDANE-Lumo:|Cannot save file!"});
    EXPECT_EQ(readFileBytes(tempPath("all.vcf")), cards);
    EXPECT_EQ(storeText(), book);
    EXPECT_FALSE(dataModified);
}

}  // namespace
