// File > Synchronise against a real CardDAV server, used as a user does:
// the settings typed into their dialog, the password typed when asked, the
// commands taken from the menu with the keyboard.  tests/e2e/sync_e2e.py
// starts the server with one card on it, as a phone would have left it,
// and says where it is through LUMO_SYNC_URL, LUMO_SYNC_USER,
// LUMO_SYNC_PASSWORD and LUMO_SYNC_STORAGE; without them the test is skipped.

#include <cstdlib>
#include <filesystem>

#include "e2e/real_input.h"

#include <wincred.h>

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The cards the server keeps: one file each in the collection's folder.
size_t cardsOnServer(const std::string& storage, const std::string& url)
{
    // http://host:port/USER/BOOK/ is kept as collection-root/USER/BOOK.
    std::string path = url.substr(url.find('/', url.find("//") + 2));
    std::filesystem::path folder = windowsPathOf(storage + "/collection-root" + path);
    size_t cards = 0;
    std::error_code ignored;
    for (const auto& file : std::filesystem::directory_iterator(folder, ignored))
        cards += file.path().extension() == ".vcf";
    return cards;
}

std::string summary(size_t up, size_t down)
{
    return "sync: " + std::to_string(up) + " up, " + std::to_string(down) +
           " down, 0 deleted here, 0 deleted there, 0 conflicts";
}

class SyncInput : public RealInput {
protected:
    // A File menu command by its underlined letter.
    void fileMenu(const char* letter)
    {
        pressKey('I', {VK_MENU});
        typeText(letter);
    }

    // The message that ends a sync, confirmed.
    std::string syncMessage()
    {
        SeenMessageBox box = waitForMessageBox(lumo);
        if (!box.window)
            return "(no message)";
        EXPECT_EQ(box.caption, caption);
        answer(box, IDOK, lumo);
        return box.text;
    }
};

TEST_F(SyncInput, SettingsAndPasswordTypedThenSynchronise)
{
    const std::string url = environment("LUMO_SYNC_URL");
    const std::string user = environment("LUMO_SYNC_USER");
    const std::string password = environment("LUMO_SYNC_PASSWORD");
    const std::string storage = environment("LUMO_SYNC_STORAGE");
    if (url.empty())
        GTEST_SKIP() << "no CardDAV server: run tests/e2e/sync_e2e.py";
    // The password this test has the program remember goes again at the end.
    struct ForgetPassword {
        std::string target;
        ~ForgetPassword() { CredDeleteA(target.c_str(), CRED_TYPE_GENERIC, 0); }
    } forget{"ORDANE-Lumo sync " + url + " " + user};
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    const size_t entries = entriesOf(readWholeFile(book).value_or("")).size();

    fileMenu("g");
    HWND dialog = waitForDialog(IDC_SYNC_OK);
    ASSERT_TRUE(dialog) << "the synchronisation settings did not open";
    typeText(url);
    pressKey(VK_TAB);
    typeText(user);
    pressKey(VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, waitLimitMs, &lumo));

    // A wrong password: the sync fails, nothing is kept, and the password
    // is asked again.
    fileMenu("y");
    dialog = waitForDialog(IDC_SYNCPW_OK);
    ASSERT_TRUE(dialog) << "the password was not asked";
    typeText("wrong");
    pressKey('R', {VK_MENU});
    pressKey(VK_RETURN);
    EXPECT_TRUE(syncMessage().starts_with("Synchronisation failed:\n"));
    EXPECT_FALSE(windowText(mainWindow).starts_with("*"));

    // The right one, to be remembered; the book and the server then hold
    // the same contacts, the server's card a new entry of the book.
    fileMenu("y");
    dialog = waitForDialog(IDC_SYNCPW_OK);
    ASSERT_TRUE(dialog) << "the password was not asked";
    typeText(password);
    pressKey('R', {VK_MENU});
    pressKey(VK_RETURN);
    EXPECT_EQ(syncMessage(), summary(entries, 1));
    EXPECT_EQ(cardsOnServer(storage, url), entries + 1);
    EXPECT_TRUE(windowText(mainWindow).starts_with("*"));
    EXPECT_TRUE(findAndOpen("Quast").starts_with("Quast, Xaver"));

    quitWithoutSaving();

    // The next run of the program finds the password in the credential
    // store; the book was not saved, so the card comes down once more.
    lumo = startLumo();
    mainWindow = waitForMainWindow(lumo);
    ASSERT_TRUE(mainWindow);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == mainWindow; }, waitLimitMs, &lumo));
    fileMenu("y");
    EXPECT_EQ(syncMessage(), summary(0, 1));
    quitWithoutSaving();
    PCREDENTIALA stored = nullptr;
    ASSERT_TRUE(CredReadA(forget.target.c_str(), CRED_TYPE_GENERIC, 0, &stored));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored->CredentialBlob), stored->CredentialBlobSize), password);
    CredFree(stored);
}

}  // namespace
