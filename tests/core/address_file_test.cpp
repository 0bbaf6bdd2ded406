#include <gtest/gtest.h>

#include <cstring>

#include "files/address_file.h"
#include "files/charset.h"
#include "files/config.h"
#include "files/scramble.h"
#include "shell/title.h"
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

TEST(Charset, GermanLettersMoveBetweenAnsiAndDos)
{
    std::string ansi = "\xE4\xF6\xFC\xC4\xD6\xDC\xDF" "abc";
    std::string bytes = ansi;
    toFileCharset(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(bytes, "\x84\x94\x81\x8E\x99\x9A\x9E" "abc");
    toBufferCharset(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(bytes, ansi);

    // The DOS sharp s 225 is read as ß; the ANSI bytes that share the DOS
    // positions (the low double quote 132, for one) come back as umlauts.
    std::string file = "\xE1\x84\x8E\x94\x99\x9A\x9E\x81";
    toBufferCharset(reinterpret_cast<unsigned char*>(file.data()), static_cast<int32_t>(file.size()));
    EXPECT_EQ(file, "\xDF\xE4\xC4\xF6\xD6\xDC\xDF\xFC");

    std::string untouched;
    for (int c = 0; c < 256; ++c)
        if (!std::strchr("\xE4\xF6\xFC\xC4\xD6\xDC\xDF", c) || c == 0)
            untouched += static_cast<char>(c);
    std::string copy = untouched;
    toFileCharset(reinterpret_cast<unsigned char*>(copy.data()), static_cast<int32_t>(copy.size()));
    EXPECT_EQ(copy, untouched);
}

TEST(Scramble, KeyStreamCyclesAndWraps)
{
    EXPECT_EQ(scrambleByte(250, 10), 4);
    EXPECT_EQ(unscrambleByte(4, 10), 250);
    for (int b = 0; b < 256; ++b)
        for (int k = 0; k < 256; k += 17)
            ASSERT_EQ(unscrambleByte(scrambleByte(static_cast<unsigned char>(b), static_cast<unsigned char>(k)),
                                     static_cast<unsigned char>(k)),
                      b);

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
    EXPECT_GE(bufferCapacity, static_cast<int32_t>(file.size()) + 2000);
    EXPECT_GE(indexCapacity, entryCount + 100);
    EXPECT_TRUE(recorder.eventsStartingWith("error").empty());

    ASSERT_TRUE(writeAddressFile(tempPath("b.adr").c_str()));
    EXPECT_EQ(readFileBytes(tempPath("b.adr")), file);
    // The buffer is back in ANSI after the write.
    EXPECT_EQ(textBuffer[1], 0xFC);
}

TEST_F(AddressFile, EmptyFileGivesEmptyStore)
{
    writeFileBytes(tempPath("empty.adr"), "");
    loadAddressFile(tempPath("empty.adr").c_str(), LoadMode::Open);
    EXPECT_EQ(usedBytes, 0);
    EXPECT_EQ(entryCount, 0);
    EXPECT_FALSE(storeUnavailable);
}

TEST_F(AddressFile, ProtectedFileRoundTripsWithThePassword)
{
    setStoreText("\xC4rger, \xD6" "di\r\nWeg 3\r\n\r\n");
    std::strcpy(currentPassword, "abc");
    ASSERT_TRUE(writeAddressFile(tempPath("p.adr").c_str()));
    std::string bytes = readFileBytes(tempPath("p.adr"));
    EXPECT_EQ(bytes, protectedFile("abc", "\x8Erger, \x99" "di\r\nWeg 3\r\n\r\n"));

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
    EXPECT_EQ(recorder.events[0], "minimize");
    EXPECT_EQ(recorder.events[1], "password|open");
    EXPECT_EQ(recorder.events[2], "restore");
    EXPECT_STREQ(currentPassword, "abc");
    EXPECT_EQ(entryCount, 1);
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
    // The typed password stays in force until New or Open.
    EXPECT_STREQ(currentPassword, "wrong");
}

TEST_F(AddressFile, PlainFileStartingWithCapitalPIsTakenAsProtected)
{
    writeFileBytes(tempPath("p.adr"), "Peter\r\n\r\n");
    EXPECT_EQ(loadAddressFile(tempPath("p.adr").c_str(), LoadMode::Open), LoadResult::WrongPassword);
    EXPECT_EQ(recorder.eventsStartingWith("password").size(), 1u);
}

TEST_F(AddressFile, CannotOpenKeepsStoreAndForgetsTheCurrentPath)
{
    setStoreText("Anna\r\n\r\n");
    std::string missing = tempPath("missing.adr");
    std::strcpy(currentFilePath, missing.c_str());
    EXPECT_EQ(loadAddressFile(missing.c_str(), LoadMode::Open), LoadResult::CannotOpen);
    EXPECT_EQ(recorder.events[0], "beep");
    EXPECT_EQ(recorder.events[1], "error|ORDANE-Lumo (laden):|Cannot open file!");
    EXPECT_EQ(storeText(), "Anna\r\n\r\n");
    EXPECT_EQ(currentFilePath[0], 0);

    // Adding a missing file names nothing and forgets nothing.
    std::strcpy(currentFilePath, missing.c_str());
    loadAddressFile(missing.c_str(), LoadMode::Add);
    EXPECT_STREQ(currentFilePath, missing.c_str());
    EXPECT_EQ(storeText(), "Anna\r\n\r\n");
}

TEST_F(AddressFile, AddAppendsBehindTheOldText)
{
    setStoreText("Anna\r\n\r\n");
    writeFileBytes(tempPath("more.adr"), "Bert\r\n\r\n");
    loadAddressFile(tempPath("more.adr").c_str(), LoadMode::Add);
    EXPECT_EQ(storeText(), "Anna\r\n\r\nBert\r\n\r\n");
    EXPECT_EQ(entryCount, 2);

    // Old trailing text runs into the first added entry.
    setStoreText("Anna\r\n\r\nTail\r\n");
    loadAddressFile(tempPath("more.adr").c_str(), LoadMode::Add);
    EXPECT_EQ(entryCount, 2);
    EXPECT_EQ(storeHeadings(), (std::vector<std::string>{"Anna", "Tail"}));
}

TEST_F(AddressFile, AddOfProtectedFileAsksEveryTimeAndUndoesOnMismatch)
{
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

TEST_F(AddressFile, WriteFailsCleanlyWhenFileCannotBeCreated)
{
    setStoreText("\xE4\r\n\r\n");
    EXPECT_FALSE(writeAddressFile(tempPath("no/such/dir/x.adr").c_str()));
    EXPECT_EQ(storeText(), "\xE4\r\n\r\n");
}

}  // namespace
