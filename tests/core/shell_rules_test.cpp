#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "dialogs/settings_rules.h"
#include "files/address_file.h"
#include "files/config.h"
#include "files/file_commands.h"
#include "files/safe_write.h"
#include "resources/resource.h"
#include "shell/layout.h"
#include "shell/program_path.h"
#include "shell/shutdown_store.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/view_state.h"

namespace {

bool operator==(const WindowRect& a, const WindowRect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(Layout, ChildrenShareTheClientAreaAndTheMainWindowStaysUsable)
{
    ChildLayout side = layoutChildren(1, 1000, 600, 40);
    EXPECT_TRUE((side.overview == WindowRect{0, 40, 300, 560}));
    EXPECT_TRUE((side.dataView == WindowRect{300, 40, 700, 560}));
    ChildLayout stacked = layoutChildren(2, 1000, 600, 40);
    EXPECT_TRUE((stacked.overview == WindowRect{0, 40, 1000, 180}));
    EXPECT_TRUE((stacked.dataView == WindowRect{0, 220, 1000, 380}));

    // An unusable main window becomes a centred 80 per cent.
    EXPECT_TRUE((usableMainWindowRect({0, 0, 0, 0}, 1024, 738) == WindowRect{102, 74, 819, 590}));
    EXPECT_TRUE((usableMainWindowRect({-20, -20, 1064, 778}, 1024, 738) == WindowRect{-20, -20, 1064, 778}));
    EXPECT_FALSE((usableMainWindowRect({-21, 0, 500, 400}, 1024, 738) == WindowRect{-21, 0, 500, 400}));
    EXPECT_FALSE((usableMainWindowRect({0, 0, 1065, 400}, 1024, 738) == WindowRect{0, 0, 1065, 400}));
    EXPECT_TRUE((usableMainWindowRect({10, 10, 0, 300}, 1024, 738) == WindowRect{10, 10, 0, 300}));
}

using SettingsRules = StoreTest;

TEST_F(SettingsRules, SeparatorsOrdersPasswordsAndVersion)
{
    // One name separator is kept; zero address orders are dropped.
    std::memset(nameSeparators, 0, sizeof nameSeparators);
    std::strcpy(addressLineOrder[1], "0");
    normaliseGeneralConfig();
    EXPECT_STREQ(nameSeparators[0], ",");
    EXPECT_STREQ(addressLineOrder[1], "");

    std::memset(nameSeparators, 0, sizeof nameSeparators);
    std::strcpy(nameSeparators[3], ";");
    normaliseGeneralConfig();
    EXPECT_STREQ(nameSeparators[0], "");

    // A new password needs two equal texts of at least four characters.
    EXPECT_EQ(setNewPassword("", ""), NewPasswordResult::NotProtected);
    std::strcpy(currentPassword, "old1");
    EXPECT_EQ(setNewPassword("abc", "abc"), NewPasswordResult::Mistyped);
    EXPECT_EQ(currentPassword[0], 0);
    EXPECT_EQ(setNewPassword("abcd", "abce"), NewPasswordResult::Mistyped);
    EXPECT_EQ(setNewPassword("0123456789012345678XYZ", "0123456789012345678"), NewPasswordResult::Accepted);
    EXPECT_EQ(std::strlen(currentPassword), 19u);

    char field[20];
    EXPECT_FALSE(acceptTypedPassword(field, "abc"));
    EXPECT_EQ(field[0], 0);
    EXPECT_TRUE(acceptTypedPassword(field, "abcd"));
    EXPECT_STREQ(field, "abcd");

    char line[32];
    makeVersionLine(line);
    EXPECT_STREQ(line, "ORDANE-Lumo V1.12  (03.02.2003)");
}

using Shutdown = StoreTest;

TEST_F(Shutdown, SavesOrAsksAccordingToTheSettings)
{
    std::string path = tempPath("data.adr");
    setProgramPathFromCommandLine(tempPath("lumo.exe").c_str());
    std::strcpy(currentFilePath, path.c_str());
    autoSaveData = true;
    setStoreText("Anna\r\n\r\n");
    saveLocked = false;
    shutdownStore();
    EXPECT_TRUE(recorder.eventsStartingWith("ask").empty());
    EXPECT_EQ(readFileBytes(path), "Anna\r\n\r\n");
    EXPECT_TRUE(saveLocked && storeUnavailable && uiBusy);
    EXPECT_EQ(readFileBytes(tempPath("O-LUMO.INF")).substr(0, 7), "O-Lumo ");

    // Without auto-save the user is asked; No discards the changes.
    uiBusy = saveLocked = autoSaveData = false;
    setStoreText("Bert\r\n\r\n");
    recorder.answers = {false};
    shutdownStore();
    EXPECT_EQ(recorder.eventsStartingWith("ask"), (std::vector<std::string>{"ask|ORDANE-Lumo:|Save Data now?"}));
    EXPECT_EQ(readFileBytes(path), "Anna\r\n\r\n");

    // Unchanged data is not asked about; the configuration is written only
    // when it saves itself.
    uiBusy = saveLocked = autoSaveConfig = false;
    setStoreText("Carl\r\n\r\n");
    dataModified = false;
    recorder.events.clear();
    std::filesystem::remove(tempPath("O-LUMO.INF"));
    shutdownStore();
    EXPECT_TRUE(recorder.eventsStartingWith("ask").empty());
    EXPECT_FALSE(std::filesystem::exists(tempPath("O-LUMO.INF")));

    // A save that fails must not be followed by freeing the edits: the user
    // is asked, and No keeps the program running with the store as it was.
    uiBusy = saveLocked = false;
    autoSaveData = true;
    setStoreText("Dora\r\n\r\n");
    setWriteFaultAfter(0);
    recorder.events.clear();
    recorder.answers = {false, true};
    EXPECT_FALSE(shutdownStore());
    EXPECT_EQ(recorder.eventsStartingWith("ask"),
              (std::vector<std::string>{"ask|ORDANE-Lumo:|The data has not been saved.\nQuit ORDANE-Lumo without saving?"}));
    EXPECT_TRUE(!saveLocked && !uiBusy && dataModified && storeText() == "Dora\r\n\r\n");
    EXPECT_TRUE(shutdownStore());
    EXPECT_TRUE(saveLocked && storeUnavailable);
    EXPECT_EQ(readFileBytes(path), "Anna\r\n\r\n");
    uiBusy = saveLocked = false;
}

using Undo = StoreTest;

TEST_F(Undo, ExchangesTextAndViewStateBackAndForth)
{
    const std::string undoMenu = "menu|" + std::to_string(IDM_UNDO);
    setStoreText("Anna\r\n\r\nBert\r\n\r\n");
    cursorRow = 1;
    caretColumn = 2;
    activeView = ActiveView::DataView;
    takeSnapshot();
    EXPECT_EQ(recorder.eventsStartingWith("menu").back(), undoMenu + "|on");

    setStoreText("Anna\r\n\r\nBert\r\n\r\nCarl\r\n\r\n");
    cursorRow = 2;
    caretColumn = 0;
    activeView = ActiveView::Overview;
    dataModified = false;
    undo();
    EXPECT_EQ(storeText(), "Anna\r\n\r\nBert\r\n\r\n");
    EXPECT_EQ(entryCount, 2);
    EXPECT_EQ(caretColumn, 2);
    EXPECT_EQ(activeView, ActiveView::DataView);
    EXPECT_TRUE(dataModified);
    EXPECT_EQ(lineTableOwner, -1);
    undo();
    EXPECT_EQ(entryCount, 3);
    EXPECT_EQ(cursorRow, 2);

    // The capacities moved along with the buffers.
    usedBytes = bufferCapacity - 400;
    ensureStoreCapacity();
    EXPECT_GE(bufferCapacity, usedBytes + 2000);

    discardSnapshot();
    EXPECT_EQ(recorder.eventsStartingWith("menu").back(), undoMenu + "|off");
    undo();   // nothing to exchange
    EXPECT_EQ(entryCount, 3);
}

}  // namespace
