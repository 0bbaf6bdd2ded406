// Copy, Cut and Paste against the real clipboard, new entries with Insert
// and deleting entries from the Overview, each undone again.

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "gui/gui_support.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "store/store.h"
#include "store/undo.h"
#include "transfer/drag_drop.h"
#include "support/store_fixture.h"
#include "views/overview_rules.h"
#include "views/view_fonts.h"
#include "views/view_state.h"

namespace {

using Strings = std::vector<std::string>;

const std::string book = "Anna\r\nWeg 1\r\nBerlin\r\n\r\nBob\r\n\r\nCarl\r\nHof 2\r\n\r\nDora\r\n\r\nEmil\r\n\r\n";

bool grayed(int id)
{
    return menuItemGrayed(GetMenu(mainWindow), id);
}

class ClipboardCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        startFresh();
        setStoreText(book);
        resetViewState();
        command(IDM_ROTATE);   // New leaves the Data view active
        ASSERT_EQ(activeView, ActiveView::Overview);
    }
    void TearDown() override
    {
        holdKeys(false, false);
        pumpPending();
    }
};

TEST_F(ClipboardCommands, MarkedEntriesAreCopiedAndCutOnlyWhileMarked)
{
    EXPECT_TRUE(grayed(IDM_COPY));
    putOnClipboard("kept");
    command(IDM_COPY);   // nothing marked: the clipboard is left alone
    EXPECT_EQ(clipboardText().value_or("<no text>"), "kept");

    key(VK_DOWN);
    holdKeys(true, false);
    key(VK_DOWN);   // entries 2 and 3 marked
    holdKeys(false, false);
    ASSERT_TRUE(markActive);
    EXPECT_FALSE(grayed(IDM_COPY));
    EXPECT_FALSE(grayed(IDM_CUT));
    command(IDM_COPY);
    EXPECT_EQ(clipboardText().value_or("<no text>"), "Bob\r\n\r\nCarl\r\nHof 2\r\n\r\n");
    EXPECT_EQ(storeText(), book);

    putOnClipboard("");
    command(IDM_CUT);
    EXPECT_EQ(clipboardText().value_or("<no text>"), "Bob\r\n\r\nCarl\r\nHof 2\r\n\r\n");
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Dora", "Emil"}));
    EXPECT_EQ(currentEntryOffset, entryIndex[1]);
    EXPECT_TRUE(grayed(IDM_CUT));
}

TEST_F(ClipboardCommands, DataViewCopiesCutsAndPastesOnlyThere)
{
    putOnClipboard("Xaver");
    EXPECT_TRUE(grayed(IDM_PASTE));
    command(IDM_PASTE);   // the Overview pastes nothing
    EXPECT_EQ(storeText(), book);

    command(IDM_ROTATE);
    ASSERT_EQ(activeView, ActiveView::DataView);
    EXPECT_FALSE(grayed(IDM_PASTE));
    holdKeys(true, false);
    key(VK_END);   // "Anna" selected
    holdKeys(false, false);
    command(IDM_PASTE);
    EXPECT_EQ(storeHeadings()[0], "Xaver");   // the blank the emptied line kept gives way
    EXPECT_FALSE(selectionActive);
    EXPECT_EQ(caretColumn, 5);
    command(IDM_UNDO);
    EXPECT_EQ(storeText(), book);

    command(IDM_SELECTALL);
    EXPECT_FALSE(grayed(IDM_COPY));
    command(IDM_COPY);
    EXPECT_EQ(clipboardText().value_or("<no text>"), "Anna\r\nWeg 1\r\nBerlin");
    putOnClipboard("");
    command(IDM_CUT);
    EXPECT_EQ(clipboardText().value_or("<no text>"), "Anna\r\nWeg 1\r\nBerlin");
    EXPECT_EQ(storeHeadings(), (Strings{" ", "Bob", "Carl", "Dora", "Emil"}));
    EXPECT_TRUE(grayed(IDM_COPY));
}

TEST_F(ClipboardCommands, InsertAndDeleteReachTheOverviewAndDeleteAsksFirst)
{
    // Backspace deletes as Delete does, after the question.
    key(VK_DOWN);
    answerNextDialog({IDYES, {}, {}});
    key(VK_BACK);
    ASSERT_EQ(seenDialogs().size(), 1u);
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Carl", "Dora", "Emil"}));

    key(VK_INSERT);   // in front of the current entry, into the Data view
    EXPECT_EQ(entryCount, 5);
    EXPECT_EQ(storeHeadings()[currentEntry()], " ");
    EXPECT_EQ(activeView, ActiveView::DataView);
    key(VK_INSERT);   // from the Data view as well
    EXPECT_EQ(entryCount, 6);
}

// Another program's drop, offered through the clipboard's data object: text
// goes where the point is, a file as its name in quotes.
TEST_F(ClipboardCommands, TextAndAFileFromAnotherProgramAreDroppedAtThePoint)
{
    command(IDM_ROTATE);
    POINT end = {clientRect(dataViewWindow).right - 4, captionHeight + 1 + 2 * dataViewLineHeight + dataViewLineHeight / 2};
    ClientToScreen(dataViewWindow, &end);   // behind the text of "Weg 1"
    auto drop = [&] {
        IDataObject* data = nullptr;
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        IDropTarget* target = dataViewDropTarget();
        if (OleGetClipboard(&data) != S_OK || target->DragEnter(data, MK_LBUTTON, {end.x, end.y}, &effect) != S_OK ||
            target->Drop(data, 0, {end.x, end.y}, &effect) != S_OK)
            effect = 99;
        if (data)
            data->Release();
        pumpPending();
        return effect;
    };
    putOnClipboard("eins\r\n\r\nzwei");
    EXPECT_EQ(drop(), static_cast<DWORD>(DROPEFFECT_COPY));
    const std::string text = "Anna\r\nWeg 1eins\r\n \r\nzwei\r\nBerlin\r\n\r\n";
    EXPECT_EQ(storeText().substr(0, text.size()), text);

    const std::string name = "C:\\Briefe\\Brief 1.txt";
    HGLOBAL list = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + name.size() + 2);
    auto* files = static_cast<DROPFILES*>(GlobalLock(list));
    files->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), name.c_str(), name.size());
    GlobalUnlock(list);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_HDROP, list);
    CloseClipboard();
    EXPECT_EQ(drop(), static_cast<DWORD>(DROPEFFECT_COPY));
    const std::string withFile = "Anna\r\nWeg 1eins\"" + name + "\"\r\n";
    EXPECT_EQ(storeText().substr(0, withFile.size()), withFile);
}

TEST_F(ClipboardCommands, HeldButtonMarksEntriesAndScrollsAtTheBottom)
{
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "Entry " + std::to_string(100 + i) + "\r\n\r\n";
    setStoreText(text);
    resetViewState();
    InvalidateRect(overviewWindow, nullptr, FALSE);
    UpdateWindow(overviewWindow);
    ASSERT_GT(overviewRowCount, 6);

    const int pitch = overviewRowPitch(overviewLineHeight);
    // Let go once the Overview's scroll bar shows the list scrolled on its own.
    ASSERT_TRUE(dragWithButtonHeld(overviewWindow, {20, captionHeight + 1 + 2 * pitch + pitch / 2},
                                   {20, clientRect(overviewWindow).bottom - 2}, [] {
                                       SCROLLINFO info{};
                                       info.cbSize = sizeof info;
                                       info.fMask = SIF_POS;
                                       GetScrollInfo(overviewWindow, SB_VERT, &info);
                                       return info.nPos >= 3;
                                   }));
    if (!markActive)
        GTEST_SKIP() << "mouse input does not reach the window";
    EXPECT_FALSE(mouseHeld);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_GE(firstVisibleEntry, 3);
    EXPECT_EQ(markFirst, 2);
    EXPECT_GT(markLast, firstVisibleEntry);   // the block grew with the list
    EXPECT_LT(markLast - firstVisibleEntry, overviewRowCount);
    EXPECT_EQ(currentEntry(), markLast);
    EXPECT_EQ(currentEntryOffset, entryIndex[2]);   // the Data view stays where it was
    EXPECT_FALSE(grayed(IDM_COPY));
}

}  // namespace
