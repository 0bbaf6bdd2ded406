// Typing into the Data view through the main window: the keys reach the
// editor once each, and the Overview sorts a changed heading.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/config.h"
#include "find/sort.h"
#include "gui/gui_environment.h"
#include "gui/gui_support.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/main_window.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/activation.h"
#include "views/data_view_window.h"
#include "views/line_table.h"
#include "views/view_state.h"

namespace {

// Line l as the Data view's last paint laid it out.
std::string shownLine(int32_t l)
{
    return l == 0 ? viewLines[0] : viewLines[l - firstVisibleLine];
}

bool undoGrayed()
{
    return menuItemGrayed(GetMenu(mainWindow), IDM_UNDO);
}

class Editing : public ::testing::Test {
protected:
    void SetUp() override { startFresh(); }

    void TearDown() override
    {
        holdKeys(false, false);
        currentFilePath[0] = 0;
        command(IDM_NEW);
    }

    // The Data view shows the first entry of text, nothing changed yet.
    void useText(const std::string& text)
    {
        setStoreText(text);
        resetViewState();
        resortPending = false;
        dataModified = false;
        discardSnapshot();
        repaintDataView();
        if (activeView != ActiveView::DataView)
            activateDataView();
        ASSERT_EQ(activeView, ActiveView::DataView);
    }
};

TEST_F(Editing, KeysAndCharactersChangeTheEntryOnceEach)
{
    useText("Name\r\nStreet\r\n\r\nZoe\r\n\r\n");
    key(VK_DOWN);
    key(VK_END);
    EXPECT_TRUE(undoGrayed());
    type(" 12");
    EXPECT_EQ(storeText(), "Name\r\nStreet 12\r\n\r\nZoe\r\n\r\n");
    EXPECT_EQ(shownLine(1), "Street 12");   // painted at once
    EXPECT_EQ(windowText(mainWindow)[0], '*');
    EXPECT_FALSE(undoGrayed());

    // TranslateMessage makes characters of Backspace and Enter as well.
    key(VK_BACK);
    type("\b");
    EXPECT_EQ(storeText(), "Name\r\nStreet 1\r\n\r\nZoe\r\n\r\n");
    key(VK_HOME);
    key(VK_DELETE);
    key(VK_RIGHT);
    key(VK_RETURN);
    type("\r");
    EXPECT_EQ(storeText(), "Name\r\nt\r\nreet 1\r\n\r\nZoe\r\n\r\n");
    EXPECT_EQ(caretLine, 2);
    EXPECT_EQ(lineCount, 3);
    EXPECT_FALSE(resortPending);
}

TEST_F(Editing, ShiftSelectsButNotWhileTypingACapitalOrAnAltGrCharacter)
{
    useText("Name\r\nStreet 1\r\nTown\r\n\r\n");
    key(VK_DOWN);
    holdKeys(true, false);
    for (int i = 0; i < 6; ++i)
        key(VK_RIGHT);
    holdKeys(false, false);
    ASSERT_TRUE(selectionActive);
    type("Road");
    EXPECT_EQ(storeText(), "Name\r\nRoad 1\r\nTown\r\n\r\n");
    EXPECT_FALSE(selectionActive);
    EXPECT_EQ(caretColumn, 4);

    holdKeys(false, true);   // AltGr comes with Ctrl held
    type("@");
    holdKeys(true, false);
    type("X");
    EXPECT_EQ(caretColumn, 6);
    EXPECT_FALSE(selectionActive);
    holdKeys(false, false);
    key(VK_LEFT);
    key(VK_LEFT);
    holdKeys(true, false);
    key(VK_DOWN);   // across a line end, removed by Backspace
    holdKeys(false, false);
    key(VK_BACK);
    EXPECT_EQ(storeText(), "Name\r\nRoad\r\n\r\n");
}

// A changed heading is sorted on the way to the Overview, and the sort
// keeps the edited entry current; when it moves below the first
// screenful the Overview scrolls to it, and the Data view must still show
// that entry, not the one at the same row from the top.
TEST_F(Editing, AHeadingSortedFarDownStaysTheEntryBothViewsShow)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "E" + std::to_string(100 + i) + "\r\nWeg\r\n\r\n";
    useText(text);
    type("Z");
    EXPECT_TRUE(resortPending);
    key(VK_TAB);
    EXPECT_EQ(activeView, ActiveView::Overview);
    EXPECT_FALSE(resortPending);
    ASSERT_EQ(storeHeadings().back(), "ZE100");
    EXPECT_EQ(currentEntry(), 99);
    EXPECT_GT(firstVisibleEntry, 0);   // scrolled to it
    EXPECT_EQ(currentEntryOffset, entryIndex[99]);
    EXPECT_EQ(shownLine(0), "ZE100");
}

}  // namespace
