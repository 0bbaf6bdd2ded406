#include <gtest/gtest.h>

#include <cstring>

#include "files/address_file.h"
#include "files/charset.h"
#include "files/config.h"
#include "files/scramble.h"
#include "host/title.h"
#include "store/store.h"
#include "support/store_fixture.h"

namespace {

std::string protectedFile(const std::string& password, std::string text)
{
    std::string header = "quorvik";
    scrambleBytes(reinterpret_cast<unsigned char*>(header.data()), 7, password.c_str());
    scrambleBytes(reinterpret_cast<unsigned char*>(text.data()), static_cast<int32_t>(text.size()), password.c_str());
    return "P" + header + text;
}

std::string convert(void (*charset)(unsigned char*, int32_t), std::string text)
{
    charset(reinterpret_cast<unsigned char*>(text.data()), static_cast<int32_t>(text.size()));
    return text;
}

TEST(Charset, GermanLettersMoveBetweenAnsiAndDos)
{
    const std::string ansi = "\xE4\xF6\xFC\xC4\xD6\xDC\xDF" "abc", dos = "\x84\x94\x81\x8E\x99\x9A\x9E" "abc";
    EXPECT_EQ(convert(toFileCharset, ansi), dos);
    EXPECT_EQ(convert(toBufferCharset, dos), ansi);
    EXPECT_EQ(convert(toBufferCharset, "\xE1"), "\xDF");   // the DOS sharp s is read too

    std::string untouched;
    for (int c = 0; c < 256; ++c)
        if (!std::strchr("\xE4\xF6\xFC\xC4\xD6\xDC\xDF", c) || c == 0)
            untouched += static_cast<char>(c);
    EXPECT_EQ(convert(toFileCharset, untouched), untouched);

    // Runs of plain ASCII are passed over eight bytes at a time: a letter
    // at any place within or behind such a run is still converted.
    for (size_t at = 0; at < 20; ++at) {
        std::string text(21, 'x');
        text[at] = '\x84';
        std::string expected(21, 'x');
        expected[at] = '\xE4';
        EXPECT_EQ(convert(toBufferCharset, text), expected) << at;
        EXPECT_EQ(convert(toFileCharset, expected), text) << at;
    }
}

TEST(Scramble, KeyStreamCyclesAndWraps)
{
    EXPECT_EQ(scrambleByte(250, 10), 4);
    EXPECT_EQ(unscrambleByte(4, 10), 250);
    unsigned char zeros[8] = {};
    scrambleBytes(zeros, 8, "abc");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(zeros), 8), "abcabcab");
}

using AddressFile = StoreTest;

TEST_F(AddressFile, PlainFileLoadsAndWritesBackByteForByte)
{
    std::string file = "M\x81ller, J\x81rgen\r\nStra\x9E" "e 1\r\n\r\nOtto\r\n\r\nTail\r\n";
    writeFileBytes(tempPath("a.adr"), file);
    EXPECT_EQ(loadAddressFile(tempPath("a.adr").c_str(), LoadMode::Open), LoadResult::Loaded);
    EXPECT_EQ(storeText(), "M\xFCller, J\xFCrgen\r\nStra\xDF" "e 1\r\n\r\nOtto\r\n\r\nTail\r\n");
    EXPECT_EQ(entryCount, 2);
    ASSERT_TRUE(writeAddressFile(tempPath("b.adr").c_str()));
    EXPECT_EQ(readFileBytes(tempPath("b.adr")), file);
    EXPECT_EQ(textBuffer[1], 0xFC);   // back in ANSI after the write

    writeFileBytes(tempPath("empty.adr"), "");
    loadAddressFile(tempPath("empty.adr").c_str(), LoadMode::Open);
    EXPECT_EQ(usedBytes, 0);
    EXPECT_FALSE(storeUnavailable);
}

// A load that goes on longer than the delay says in the status line how
// far it has come, rising to 100%, and the entry count follows; a quick
// one shows nothing but the count.  The whole file is read either way.
TEST_F(AddressFile, LongLoadShowsHowMuchIsReadInTheStatusLine)
{
    std::string entry = "Name\r\n" + std::string(90, 'x') + "\r\n\r\n";   // 100 bytes
    std::string file;
    for (int i = 0; i < 26000; ++i)
        file += entry;   // 2.6 MB: two whole megabytes and a part
    writeFileBytes(tempPath("big.adr"), file);
    recorder.hasMainWindow = true;

    loadProgressAfterMs = 0;
    EXPECT_EQ(loadAddressFile(tempPath("big.adr").c_str(), LoadMode::Open), LoadResult::Loaded);
    loadProgressAfterMs = 500;
    EXPECT_EQ(usedBytes, static_cast<int32_t>(file.size()));
    EXPECT_EQ(entryCount, 26000);
    EXPECT_EQ(recorder.eventsStartingWith("status|"),
              (std::vector<std::string>{"status|Laden... 40%", "status|Laden... 80%", "status|Laden... 100%",
                                        "status|   26000 Entries"}));

    recorder.events.clear();
    EXPECT_EQ(loadAddressFile(tempPath("big.adr").c_str(), LoadMode::Add), LoadResult::Loaded);
    EXPECT_EQ(entryCount, 52000);
    EXPECT_EQ(recorder.eventsStartingWith("status|"), (std::vector<std::string>{"status|   52000 Entries"}));
}

TEST_F(AddressFile, ProtectedFileRoundTripsWithThePassword)
{
    setStoreText("\xC4rger, \xD6" "di\r\nWeg 3\r\n\r\n");
    std::strcpy(currentPassword, "abc");
    ASSERT_TRUE(writeAddressFile(tempPath("p.adr").c_str()));
    EXPECT_EQ(readFileBytes(tempPath("p.adr")), protectedFile("abc", "\x8Erger, \x99" "di\r\nWeg 3\r\n\r\n"));

    // The password of the running program answers without a prompt.
    setStoreText("");
    EXPECT_EQ(loadAddressFile(tempPath("p.adr").c_str(), LoadMode::Open), LoadResult::Loaded);
    EXPECT_EQ(storeText(), "\xC4rger, \xD6" "di\r\nWeg 3\r\n\r\n");
    EXPECT_TRUE(recorder.eventsStartingWith("password").empty());

    // With no password set, the user is asked while the window is minimised.
    currentPassword[0] = 0;
    recorder.passwords = {"abc"};
    recorder.events.clear();
    EXPECT_EQ(loadAddressFile(tempPath("p.adr").c_str(), LoadMode::Open), LoadResult::Loaded);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"minimize", "password|open", "restore"}));
    EXPECT_STREQ(currentPassword, "abc");

    // A book larger than any write chunk: the key runs on across chunks
    // (70,001 is no multiple of the password's three characters).
    std::string big;
    for (int i = 0; big.size() < 70001; ++i)
        big += "Name " + std::to_string(i) + "\r\nLine\r\n\r\n";
    big.resize(70001 - 4);
    big += "\r\n\r\n";
    setStoreText(big);
    std::strcpy(currentPassword, "xyz");
    ASSERT_TRUE(writeAddressFile(tempPath("big.adr").c_str()));
    EXPECT_TRUE(readFileBytes(tempPath("big.adr")) == protectedFile("xyz", big));
    setStoreText("");
    EXPECT_EQ(loadAddressFile(tempPath("big.adr").c_str(), LoadMode::Open), LoadResult::Loaded);
    EXPECT_TRUE(storeText() == big);
}

TEST_F(AddressFile, WrongPasswordOnOpenLeavesBlankStoreWithoutName)
{
    writeFileBytes(tempPath("p.adr"), protectedFile("secret", "Anna\r\n\r\n"));
    std::strcpy(currentFilePath, "C:\\ADR\\P.ADR");
    recorder.passwords = {"wrong"};
    EXPECT_EQ(loadAddressFile(tempPath("p.adr").c_str(), LoadMode::Open), LoadResult::WrongPassword);
    EXPECT_EQ(recorder.eventsStartingWith("error"), (std::vector<std::string>{"error|ORDANE-Lumo:|Wrong password!"}));
    EXPECT_EQ(storeText(), " \r\n\r\n");
    EXPECT_EQ(currentFilePath[0], 3);   // drive C kept as a number
    EXPECT_STREQ(titleText + 1, "NO NAME");
    EXPECT_FALSE(dataModified);
    EXPECT_STREQ(currentPassword, "wrong");   // in force until New or Open

    // A plain file starting with a capital P is taken as protected.
    writeFileBytes(tempPath("p.adr"), "Peter\r\n\r\n");
    currentPassword[0] = 0;
    EXPECT_EQ(loadAddressFile(tempPath("p.adr").c_str(), LoadMode::Open), LoadResult::WrongPassword);
    EXPECT_EQ(recorder.eventsStartingWith("password").size(), 2u);
}

TEST_F(AddressFile, FailuresKeepTheStore)
{
    setStoreText("Anna\r\n\r\n");
    std::string missing = tempPath("missing.adr");
    std::strcpy(currentFilePath, missing.c_str());
    EXPECT_EQ(loadAddressFile(missing.c_str(), LoadMode::Open), LoadResult::CannotOpen);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"beep", "error|ORDANE-Lumo (laden):|Cannot open file!"}));
    EXPECT_EQ(storeText(), "Anna\r\n\r\n");
    EXPECT_EQ(currentFilePath[0], 0);

    // Adding a missing file names nothing and forgets nothing.
    std::strcpy(currentFilePath, missing.c_str());
    loadAddressFile(missing.c_str(), LoadMode::Add);
    EXPECT_STREQ(currentFilePath, missing.c_str());
    EXPECT_EQ(storeText(), "Anna\r\n\r\n");

    setStoreText("\xE4\r\n\r\n");
    EXPECT_FALSE(writeAddressFile(tempPath("no/such/dir/x.adr").c_str()));
    EXPECT_EQ(storeText(), "\xE4\r\n\r\n");
}

TEST_F(AddressFile, AddAppendsAndAsksForThePasswordEveryTime)
{
    // Old trailing text runs into the first added entry.
    setStoreText("Anna\r\n\r\nTail\r\n");
    writeFileBytes(tempPath("more.adr"), "Bert\r\n\r\n");
    loadAddressFile(tempPath("more.adr").c_str(), LoadMode::Add);
    EXPECT_EQ(storeText(), "Anna\r\n\r\nTail\r\nBert\r\n\r\n");
    EXPECT_EQ(entryCount, 2);

    writeFileBytes(tempPath("p.adr"), protectedFile("xy", "Bert\r\n\r\n"));
    setStoreText("Anna\r\n\r\n");
    std::strcpy(currentPassword, "xy");   // not used for an add
    recorder.passwords = {"no"};
    EXPECT_EQ(loadAddressFile(tempPath("p.adr").c_str(), LoadMode::Add), LoadResult::WrongPassword);
    EXPECT_EQ(storeText(), "Anna\r\n\r\n");
    EXPECT_EQ(entryCount, 1);
    recorder.passwords = {"xy"};
    EXPECT_EQ(loadAddressFile(tempPath("p.adr").c_str(), LoadMode::Add), LoadResult::Loaded);
    EXPECT_EQ(storeText(), "Anna\r\n\r\nBert\r\n\r\n");
    EXPECT_EQ(recorder.eventsStartingWith("password").size(), 2u);
}

}  // namespace
