#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>

#include "dialogs/settings_rules.h"
#include "files/address_file.h"
#include "files/config.h"
#include "files/scramble.h"
#include "gui/gui_environment.h"
#include "gui/gui_support.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "host/title.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/view_fonts.h"
#include "views/view_state.h"

namespace {

// Explorer-style file dialogs keep the file name in this combo box.
constexpr int fileNameCombo = 0x47c;

std::string statusText()
{
    return windowText(GetDlgItem(statusBar, IDC_STATUS_TEXT));
}

std::string tempFile(const std::string& name)
{
    return (std::filesystem::path(testProgramDirectory()) / name).string();
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        seenDialogs().clear();
        command(IDM_NEW);
        seenDialogs().clear();
    }
};

TEST_F(MainWindow, StartsBesideTheCalendarWithNoFile)
{
    EXPECT_EQ(windowText(mainWindow), " NO NAME");
    EXPECT_EQ(statusText(), "       1 Entries");

    HMENU menu = GetMenu(mainWindow);
    EXPECT_TRUE(menuItemGrayed(menu, IDM_UNDO));
    EXPECT_TRUE(menuItemGrayed(menu, IDM_CUT));
    EXPECT_TRUE(menuItemGrayed(menu, IDM_COPY));
    EXPECT_EQ(menuText(GetSystemMenu(mainWindow, FALSE), IDM_QUIT), "&Quit ORDANE-Lumo \tCtrl+Q");
}

// The arithmetic of the arrangements has its own test; here the windows
// must really be where the arrangement puts them, and follow the main
// window's size only while an arrangement is chosen.
TEST_F(MainWindow, ArrangementsLayOutTheViews)
{
    auto placed = [](HWND view) {
        RECT r;
        GetWindowRect(view, &r);
        MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    auto expectArranged = [&](bool sideBySide) {
        RECT client = clientRect(mainWindow), o = placed(overviewWindow), d = placed(dataViewWindow);
        EXPECT_EQ(o.top, toolbarHeight);
        EXPECT_EQ(d.bottom, client.bottom);
        EXPECT_EQ(d.right, client.right);
        if (sideBySide) {
            EXPECT_EQ(o.right, d.left);
            EXPECT_EQ(d.top, toolbarHeight);
        } else {
            EXPECT_EQ(o.bottom, d.top);
            EXPECT_EQ(o.right, client.right);
        }
        EXPECT_EQ(d.left, dataViewRect.x);
        EXPECT_EQ(d.top, dataViewRect.y);
    };
    HMENU menu = GetMenu(mainWindow);
    RECT mainBefore;
    GetWindowRect(mainWindow, &mainBefore);

    if (windowArrangement != 1)
        command(IDM_SIDEBYSIDE);
    expectArranged(true);
    command(IDM_ONEUPONOTHER);
    EXPECT_EQ(windowArrangement, 2);
    expectArranged(false);
    EXPECT_TRUE(menuItemChecked(menu, IDM_ONEUPONOTHER));
    EXPECT_FALSE(menuItemChecked(menu, IDM_SIDEBYSIDE));
    SetWindowPos(mainWindow, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    expectArranged(false);

    // Choosing the checked arrangement again frees the windows.
    command(IDM_ONEUPONOTHER);
    EXPECT_EQ(windowArrangement, 0);
    EXPECT_FALSE(menuItemChecked(menu, IDM_ONEUPONOTHER));
    RECT before = placed(dataViewWindow);
    SetWindowPos(mainWindow, nullptr, 0, 0, mainBefore.right - mainBefore.left, mainBefore.bottom - mainBefore.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT after = placed(dataViewWindow);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);

    command(IDM_SIDEBYSIDE);
    expectArranged(true);
}

TEST_F(MainWindow, RotateAndTabMoveTheKeysAndPasteFollows)
{
    HMENU menu = GetMenu(mainWindow);
    EXPECT_EQ(activeView, ActiveView::DataView);   // New leaves the Data view active
    command(IDM_ROTATE);
    EXPECT_EQ(activeView, ActiveView::Overview);
    EXPECT_TRUE(menuItemGrayed(menu, IDM_PASTE));
    command(IDM_ROTATE);
    EXPECT_EQ(activeView, ActiveView::DataView);
    EXPECT_FALSE(menuItemGrayed(menu, IDM_PASTE));
    SendMessageA(mainWindow, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(activeView, ActiveView::Overview);
    EXPECT_TRUE(menuItemGrayed(menu, IDM_PASTE));
}

TEST_F(MainWindow, SaveAsOpenAndNewThroughTheirDialogsAndRecentFiles)
{
    setStoreText("Zoe\r\n\r\nAnna\r\nWeg 1\r\n\r\n");
    std::string path = tempFile("book.adr");
    answerNextDialog({IDOK, {{fileNameCombo, path}}, {}});
    command(IDM_SAVEAS);
    EXPECT_EQ(readFileBytes(path), "Zoe\r\n\r\nAnna\r\nWeg 1\r\n\r\n");
    EXPECT_EQ(windowText(mainWindow), " " + path);
    EXPECT_FALSE(dataModified);

    // A protected book: the password dialog opens and its text is used,
    // again when the book comes back from the recent files after New.
    std::string header = "quorvik", text = "Geheim\r\n\r\n";
    scrambleBytes(reinterpret_cast<unsigned char*>(header.data()), 7, "right");
    scrambleBytes(reinterpret_cast<unsigned char*>(text.data()), static_cast<int32_t>(text.size()), "right");
    writeFileBytes(tempFile("secret.adr"), "P" + header + text);
    answerNextDialog({IDOK, {{fileNameCombo, tempFile("secret.adr")}}, {}});
    answerNextDialog({IDC_OPENPW_OK, {{IDC_OPENPW_PASSWORD, "right"}}, {}});
    command(IDM_OPEN);
    EXPECT_EQ(storeText(), "Geheim\r\n\r\n");
    EXPECT_EQ(menuText(GetMenu(mainWindow), IDM_RECENT0), "&0: secret.adr \tStrg+0");
    EXPECT_EQ(activeView, ActiveView::Overview);

    command(IDM_NEW);
    EXPECT_EQ(windowText(mainWindow), " NO NAME");
    EXPECT_EQ(activeView, ActiveView::DataView);
    answerNextDialog({IDC_OPENPW_OK, {{IDC_OPENPW_PASSWORD, "right"}}, {}});
    command(IDM_RECENT0);
    EXPECT_EQ(storeText(), "Geheim\r\n\r\n");
    EXPECT_STREQ(currentPassword, "right");
}

TEST_F(MainWindow, GeneralConfigurationDialogStoresItsRules)
{
    answerNextDialog({IDC_GC_OK,
                      {{IDC_GC_SEPARATOR1, ""}, {IDC_GC_ORDER2, "0"}, {IDC_GC_ORDER4, "5"}},
                      {{IDC_GC_AUTOSAVEDATA, true}, {IDC_GC_SWAPNAMES, false}}});
    command(IDM_GENERALCONFIG);
    EXPECT_STREQ(nameSeparators[0], ",");
    EXPECT_STREQ(addressLineOrder[1], "");
    EXPECT_STREQ(addressLineOrder[3], "5");
    EXPECT_TRUE(autoSaveData);
    EXPECT_FALSE(swapFirstAndLastName);
    autoSaveData = false;
    swapFirstAndLastName = true;
    std::strcpy(addressLineOrder[1], "2");
    addressLineOrder[3][0] = 0;

    // Cancel changes nothing.
    answerNextDialog({IDCANCEL, {{IDC_GC_ORDER1, "9"}}, {}});
    command(IDM_GENERALCONFIG);
    EXPECT_STREQ(addressLineOrder[0], "1");
}

TEST_F(MainWindow, CancelledFontDialogKeepsTheFontButNotItsBoldOrItalic)
{
    const FontRecord original = dataViewFont;
    LOGFONTA font;
    std::memcpy(&font, dataViewFont.bytes, sizeof font);
    font.lfWeight = FW_BOLD;
    font.lfItalic = 1;
    std::memcpy(dataViewFont.bytes, &font, sizeof font);
    command(IDM_FONT_DATAVIEW);   // cancelled as soon as it shows
    ASSERT_EQ(seenDialogs().size(), 1u);
    LOGFONTA kept;
    std::memcpy(&kept, dataViewFont.bytes, sizeof kept);
    font.lfWeight = FW_NORMAL;
    font.lfItalic = 0;
    EXPECT_EQ(std::memcmp(&kept, &font, sizeof font), 0);
    dataViewFont = original;
    createViewFonts();
}

TEST_F(MainWindow, InfoBoxIsShownOnceAndCloses)
{
    answerNextDialog({0, {}, {}});   // a modeless box: leave it open
    command(IDM_INFO);
    ASSERT_TRUE(IsWindow(infoDialog));
    HWND box = infoDialog;
    command(IDM_INFO);   // shown again, not a second box
    EXPECT_EQ(infoDialog, box);
    SendMessageA(infoDialog, WM_COMMAND, MAKEWPARAM(1025, BN_CLICKED), 0);
    EXPECT_EQ(infoDialog, nullptr);
    EXPECT_FALSE(IsWindow(box));
}

TEST_F(MainWindow, SaveConfigurationWritesBesideTheProgram)
{
    command(IDM_SAVECONFIG);
    std::string bytes = readFileBytes(tempFile("O-LUMO.INF"));
    ASSERT_GE(bytes.size(), 7u);
    EXPECT_EQ(bytes.substr(0, 7), "O-Lumo ");
}

}  // namespace
