// Contacts in and out through the File menu: the menu opened by its
// letters, the common file dialog answered by typing the name and Enter.

#include <cstdlib>
#include <ranges>

#include "e2e/real_input.h"

namespace {

class ContactsInput : public RealInput {
protected:
    int entryCountShown()
    {
        return std::atoi(windowText(GetDlgItem(childDialogHolding(mainWindow, IDC_STATUS_TEXT), IDC_STATUS_TEXT)).c_str());
    }

    // File > letter, the name typed into the dialog, further keys, Enter;
    // the text of the message that follows, answered.
    std::string throughMenu(char letter, const std::string& path, std::initializer_list<WORD> keysAfterName = {})
    {
        pressKey('I', {VK_MENU});
        pressKey(static_cast<WORD>(letter));
        EXPECT_TRUE(waitForFrontDialog()) << "no file dialog came up";
        typeText(path);
        for (WORD key : keysAfterName)
            pressKey(key);
        pressKey(VK_RETURN);
        SeenMessageBox box = waitForMessageBox(lumo);
        EXPECT_EQ(box.caption, caption);
        if (box.window)
            answer(box, IDOK, lumo);
        return box.text;
    }

    size_t cardsIn(const std::string& path, const std::string& version)
    {
        const std::string text = readWholeFile(path).value_or("");
        return static_cast<size_t>(std::ranges::distance(std::views::split(text, "VERSION:" + version + "\r\n"))) - 1;
    }
};

TEST_F(ContactsInput, ImportedContactsAreSortedIntoTheOverviewAndOneUndoTakesThemOut)
{
    const std::string path = inFolder("phone.vcf");
    ASSERT_TRUE(writeWholeFile(path, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Zuse;Konrad;;;\r\nTEL:030 123456\r\nEND:VCARD\r\n"
                                     "BEGIN:VCARD\r\nVERSION:3.0\r\nN:\xC5\x9E" "ahin;Ali;;;\r\nEND:VCARD\r\n"));
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    const int before = entryCountShown();

    EXPECT_EQ(throughMenu('I', path), "2 contacts were imported!\n1 characters had to be replaced or transliterated.");
    EXPECT_EQ(entryCountShown(), before + 2);
    EXPECT_TRUE(windowText(mainWindow).starts_with("*")) << windowText(mainWindow);
    EXPECT_EQ(findAndOpen("Zus"), "Zuse, Konrad, 030 123456");   // the Overview has the keys

    pressKey('Z', {VK_CONTROL});
    EXPECT_TRUE(waitUntil([&] { return entryCountShown() == before; }, waitLimitMs, &lumo)) << "Undo";

    ASSERT_TRUE(writeWholeFile(inFolder("other.csv"), "Colour,Size\r\nred,2\r\n"));
    EXPECT_EQ(throughMenu('I', inFolder("other.csv")), "No contacts found in this file!");
    EXPECT_EQ(entryCountShown(), before);
    quitWithoutSaving();
}

TEST_F(ContactsInput, MarkedEntriesOrTheWholeBookGoOutInTheTypeNamedOrChosen)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    const int all = entryCountShown();

    pressKey(VK_DOWN, {VK_SHIFT});
    pressKey(VK_DOWN, {VK_SHIFT});
    const std::string message = throughMenu('X', inFolder("marked.vcf"));
    const size_t marked = cardsIn(inFolder("marked.vcf"), "3.0");
    EXPECT_GE(marked, 2u);
    EXPECT_LT(marked, static_cast<size_t>(all));
    EXPECT_EQ(message, std::to_string(marked) + " entries were exported!");

    // Nothing marked: the whole book, as CSV since the name says so.
    pressKey(VK_DOWN);
    EXPECT_EQ(throughMenu('X', inFolder("all.csv")), std::to_string(all) + " entries were exported!");
    EXPECT_TRUE(readWholeFile(inFolder("all.csv")).value_or("").starts_with("Name,Phone,Fax,Email,URL,Birthday,Notes\r\n"));

    // The second file type, chosen below the name.
    EXPECT_EQ(throughMenu('X', inFolder("v4.vcf"), {VK_TAB, VK_DOWN}), std::to_string(all) + " entries were exported!");
    EXPECT_EQ(cardsIn(inFolder("v4.vcf"), "4.0"), static_cast<size_t>(all));
    EXPECT_FALSE(windowText(mainWindow).starts_with("*")) << "an export is no change of the data";
    quitWithoutSaving();
}

}  // namespace
