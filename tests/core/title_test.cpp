#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "files/config.h"
#include "files/new_file.h"
#include "shell/program_path.h"
#include "host/title.h"
#include "support/store_fixture.h"

namespace {

using Title = StoreTest;

std::string titleFor(const std::string& path)
{
    std::memset(currentFilePath, 0, sizeof currentFilePath);
    std::memcpy(currentFilePath, path.data(), path.size());
    setTitleFromPath();
    return titleText + 1;
}

TEST_F(Title, ShowsPathOrNoNameAndKeepsTheMarker)
{
    titleText[0] = '*';
    EXPECT_EQ(titleFor(""), "NO NAME");
    EXPECT_EQ(titleFor("\x03:\\ADR\\X.ADR"), "NO NAME");   // drive-number form
    EXPECT_EQ(titleFor("C:\\ADR\\HOME.ADR"), "C:\\ADR\\HOME.ADR");
    EXPECT_EQ(titleText[0], '*');

    recorder.hasMainWindow = true;
    setTitleMarker(' ');
    EXPECT_EQ(recorder.title, " C:\\ADR\\HOME.ADR");
}

TEST_F(Title, LongPathsKeepTheirTail)
{
    std::string seventy = "C:\\" + std::string(63, 'd') + "\\a.b";
    ASSERT_EQ(seventy.size(), 70u);
    EXPECT_EQ(titleFor(seventy), seventy);

    // 71 characters from drive C: the search for a separator starts at 7.
    std::string path = "C:\\abc\\" + std::string(10, 'e') + "\\" + std::string(47, 'f') + "\\x.adr";
    ASSERT_EQ(path.size(), 71u);
    EXPECT_EQ(titleFor(path), "C:\\..\\" + std::string(47, 'f') + "\\x.adr");

    // Without a drive the prefix is just "\..\".
    std::string unc = "\\\\server\\" + std::string(60, 'g') + "\\name.adr";
    EXPECT_EQ(titleFor(unc), "\\..\\name.adr");

    // No separator in reach: the file name alone, cut to 64 characters.
    std::string longName = "C:\\" + std::string(100, 'n');
    EXPECT_EQ(titleFor(longName), std::string(64, 'n'));

    for (size_t n = 60; n < 512; n += 7) {
        std::string p = "D:";
        while (p.size() < n)
            p += "\\seg";
        p.resize(n);
        ASSERT_LE(titleFor(p).size(), 70u) << n;
    }
}

TEST_F(Title, NoNameFormKeepsTheDriveAsANumber)
{
    // A lower-case drive letter is the same drive, not a real path.
    const std::pair<const char*, int> cases[] = {
        {"C:\\ADR\\HOME.ADR", 3}, {"c:\\ADR\\HOME.ADR", 3}, {"z:\\a.adr", 26},
        {"\\\\server\\share\\a.adr", 0}, {"_:\\a.adr", 0},
    };
    for (const auto& [path, drive] : cases) {
        std::strcpy(currentFilePath, path);
        makePathNoName();
        EXPECT_EQ(currentFilePath[0], drive) << path;
        if (drive != 0) {
            EXPECT_STREQ(currentFilePath + 1, path + 1);
            EXPECT_EQ(titleFor(currentFilePath), "NO NAME") << path;
        }
    }
}

TEST(ProgramPath, QuotedAndPlainCommandLines)
{
    setProgramPathFromCommandLine("\"C:\\Prog Files\\app.exe\" x");
    EXPECT_STREQ(programPath, "C:\\Prog Files\\app.exe");
    EXPECT_STREQ(configFilePath, "C:\\Prog Files\\O-LUMO.INF");
    EXPECT_STREQ(helpFilePath, "C:\\Prog Files\\DOC\\O_LUMO.HTM");

    setProgramPathFromCommandLine("C:\\LUMO\\LUMO.EXE extra args");
    EXPECT_STREQ(programPath, "C:\\LUMO\\LUMO.EXE");
    EXPECT_STREQ(configFilePath, "C:\\LUMO\\O-LUMO.INF");

    setProgramPathFromCommandLine("/opt/lumo/lumo");
    EXPECT_STREQ(configFilePath, "/opt/lumo/O-LUMO.INF");

    setProgramPathFromCommandLine("lumo.exe");
    EXPECT_STREQ(configFilePath, "O-LUMO.INF");

    std::string tooLong = "\"" + std::string(600, 'p') + "\\x.exe\"";
    setProgramPathFromCommandLine(tooLong.c_str());
    EXPECT_EQ(std::strlen(programPath), 511u);
    EXPECT_LT(std::strlen(configFilePath), 512u);
}

}  // namespace
