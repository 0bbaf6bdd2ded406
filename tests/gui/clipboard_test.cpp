// Copy, Cut and Paste against the real clipboard, Select all, new entries
// with Insert and deleting entries from the Overview, each undone again.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "gui/gui_support.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/overview_rules.h"
#include "views/view_fonts.h"
#include "views/view_state.h"

namespace {

using Strings = std::vector<std::string>;

const std::string book = "Anna\r\nWeg 1\r\nBerlin\r\n\r\n"
                         "Bob\r\n\r\n"
                         "Carl\r\nHof 2\r\n\r\n"
                         "Dora\r\n\r\n"
                         "Emil\r\n\r\n";

void command(int id)
{
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pumpPending();
}

void key(WPARAM k)
{
    SendMessageA(mainWindow, WM_KEYDOWN, k, 0);
    pumpPending();
}

void holdShift(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

bool grayed(int id)
{
    return menuItemGrayed(GetMenu(mainWindow), id);
}

// Another program (the X clipboard bridge under Wine) may hold the
// clipboard for a moment.
bool openClipboard()
{
    return pumpUntil([] { return OpenClipboard(nullptr) != 0; }, 2000);
}

// The clipboard's text and the size of its memory block.
std::string clipboardText(SIZE_T* blockSize = nullptr)
{
    std::string text = "<no clipboard>";
    if (!openClipboard())
        return text;
    text = "<no text>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            if (blockSize)
                *blockSize = GlobalSize(data);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void putOnClipboard(const std::string& text)
{
    ASSERT_TRUE(openClipboard());
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

class ClipboardCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        holdShift(false);
        seenDialogs().clear();
        command(IDM_NEW);
        seenDialogs().clear();
        setStoreText(book);
        resetViewState();
        command(IDM_ROTATE);   // New leaves the Data view active
        ASSERT_EQ(activeView, ActiveView::Overview);
    }
    void TearDown() override
    {
        holdShift(false);
        pumpPending();
    }

    void useDataView()
    {
        if (activeView != ActiveView::DataView)
            command(IDM_ROTATE);
        ASSERT_EQ(activeView, ActiveView::DataView);
    }
};

TEST_F(ClipboardCommands, CopyAndCutAreEnabledExactlyWhileEntriesAreMarked)
{
    EXPECT_TRUE(grayed(IDM_COPY));
    EXPECT_TRUE(grayed(IDM_CUT));
    key(VK_DOWN);
    holdShift(true);
    key(VK_DOWN);   // entries 2 and 3 marked
    holdShift(false);
    ASSERT_TRUE(markActive);
    EXPECT_FALSE(grayed(IDM_COPY));
    EXPECT_FALSE(grayed(IDM_CUT));

    command(IDM_COPY);
    SIZE_T size = 0;
    EXPECT_EQ(clipboardText(&size), "Bob\r\n\r\nCarl\r\nHof 2\r\n\r\n");
    EXPECT_GE(size, 23u);
    EXPECT_EQ(storeText(), book);

    key(VK_DOWN);
    EXPECT_FALSE(markActive);
    EXPECT_TRUE(grayed(IDM_COPY));
    EXPECT_TRUE(grayed(IDM_CUT));

    // Nothing marked: Copy leaves the clipboard alone.
    putOnClipboard("kept");
    command(IDM_COPY);
    EXPECT_EQ(clipboardText(), "kept");
}

TEST_F(ClipboardCommands, CutTakesMarkedEntriesAwayAndUndoToggles)
{
    key(VK_DOWN);
    holdShift(true);
    key(VK_DOWN);
    holdShift(false);
    command(IDM_CUT);
    EXPECT_EQ(clipboardText(), "Bob\r\n\r\nCarl\r\nHof 2\r\n\r\n");
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Dora", "Emil"}));
    EXPECT_EQ(currentEntryOffset, entryIndex[1]);
    EXPECT_TRUE(grayed(IDM_CUT));
    EXPECT_FALSE(grayed(IDM_UNDO));

    command(IDM_UNDO);
    EXPECT_EQ(storeText(), book);
    EXPECT_TRUE(markActive);
    command(IDM_UNDO);
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Dora", "Emil"}));
}

TEST_F(ClipboardCommands, SelectAllCopyCutAndPasteInTheDataView)
{
    useDataView();
    EXPECT_TRUE(grayed(IDM_COPY));
    command(IDM_SELECTALL);
    EXPECT_TRUE(selectionActive);
    EXPECT_FALSE(grayed(IDM_COPY));
    EXPECT_FALSE(grayed(IDM_CUT));
    command(IDM_COPY);
    EXPECT_EQ(clipboardText(), "Anna\r\nWeg 1\r\nBerlin");

    command(IDM_CUT);
    EXPECT_EQ(clipboardText(), "Anna\r\nWeg 1\r\nBerlin");
    EXPECT_EQ(storeHeadings(), (Strings{" ", "Bob", "Carl", "Dora", "Emil"}));
    EXPECT_FALSE(selectionActive);
    EXPECT_TRUE(grayed(IDM_COPY));

    putOnClipboard("Zoe\r\n\r\nTown\t1");
    command(IDM_PASTE);
    EXPECT_EQ(storeText().substr(0, 22), "Zoe\r\n \r\nTown 1 \r\n\r\nBob");
    EXPECT_EQ(entryCount, 5);

    command(IDM_UNDO);
    EXPECT_EQ(storeText().substr(0, 8), " \r\n\r\nBob");
    command(IDM_UNDO);
    EXPECT_EQ(storeText().substr(0, 22), "Zoe\r\n \r\nTown 1 \r\n\r\nBob");
}

TEST_F(ClipboardCommands, PasteReplacesTheSelectionAndOnlyInTheDataView)
{
    putOnClipboard("Xaver");
    command(IDM_PASTE);
    EXPECT_EQ(storeText(), book);
    EXPECT_TRUE(grayed(IDM_PASTE));
    EXPECT_TRUE(grayed(IDM_UNDO));

    useDataView();
    EXPECT_FALSE(grayed(IDM_PASTE));
    holdShift(true);
    key(VK_END);   // "Anna" selected
    holdShift(false);
    ASSERT_TRUE(selectionActive);
    command(IDM_PASTE);
    EXPECT_EQ(storeHeadings()[0], "Xaver ");   // the emptied first line kept its blank
    EXPECT_FALSE(selectionActive);
    EXPECT_EQ(caretLine, 0);
    EXPECT_EQ(caretColumn, 5);
    command(IDM_UNDO);
    EXPECT_EQ(storeText(), book);
}

TEST_F(ClipboardCommands, InsertMakesANewEntryInFrontOfTheCurrentOne)
{
    key(VK_DOWN);
    key(VK_DOWN);
    key(VK_INSERT);
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Bob", " ", "Carl", "Dora", "Emil"}));
    EXPECT_EQ(currentEntryOffset, entryIndex[2]);
    EXPECT_EQ(activeView, ActiveView::DataView);
    EXPECT_FALSE(grayed(IDM_PASTE));

    key(VK_INSERT);   // from the Data view as well
    EXPECT_EQ(entryCount, 7);
    command(IDM_UNDO);
    EXPECT_EQ(entryCount, 6);
    command(IDM_NEWENTRY);
    EXPECT_EQ(entryCount, 7);
}

TEST_F(ClipboardCommands, DeleteInTheOverviewAsksFirst)
{
    key(VK_DOWN);
    answerNextDialog({IDNO, {}, {}});
    key(VK_DELETE);
    ASSERT_EQ(seenDialogs().size(), 1u);
    EXPECT_EQ(seenDialogs()[0].caption, "ORDANE-Lumo:");
    EXPECT_EQ(seenDialogs()[0].text, "Really delete this entry?");
    EXPECT_EQ(storeText(), book);

    answerNextDialog({IDYES, {}, {}});
    key(VK_BACK);
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Carl", "Dora", "Emil"}));
    EXPECT_EQ(currentEntryOffset, entryIndex[1]);

    command(IDM_SELECTALL);
    EXPECT_EQ(markLast, 3);
    answerNextDialog({IDYES, {}, {}});
    key(VK_DELETE);
    ASSERT_EQ(seenDialogs().size(), 3u);
    EXPECT_EQ(seenDialogs()[2].text, "Really delete these entries?");
    EXPECT_EQ(storeText(), " \r\n\r\n");
    EXPECT_EQ(entryCount, 1);

    command(IDM_UNDO);
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Carl", "Dora", "Emil"}));
    EXPECT_TRUE(markActive);
}

// Real mouse input at a point of the Overview's client area.
void sendMouse(DWORD flags, POINT at)
{
    ClientToScreen(overviewWindow, &at);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

// The held button marks from the pressed entry to the one under the
// pointer; at the bottom row the list scrolls on its own.  The button is
// driven from another thread, because the marking runs inside the
// button's own message; that thread follows the scrolling by the
// Overview's scroll bar.
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
    SetForegroundWindow(mainWindow);
    pumpPending();

    const int pitch = overviewRowPitch(overviewLineHeight);
    auto rowPoint = [&](int row) { return POINT{20, captionHeight + 1 + row * pitch + pitch / 2}; };
    RECT client;
    GetClientRect(overviewWindow, &client);
    const POINT bottom = {20, client.bottom - 2};
    sendMouse(0, rowPoint(2));
    pumpPending();

    std::atomic<bool> released = false;
    const HCURSOR heldCursor = LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    std::thread hand([&] {
        // Polls cond every 10 ms for at most three seconds.
        auto waitFor = [](auto cond) {
            const DWORD start = GetTickCount();
            while (!cond() && GetTickCount() - start < 3000)
                Sleep(10);
        };
        auto scrolledTo = [] {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_POS;
            GetScrollInfo(overviewWindow, SB_VERT, &info);
            return info.nPos;
        };
        auto shownCursor = [] {
            CURSORINFO info{};
            info.cbSize = sizeof info;
            GetCursorInfo(&info);
            return info.hCursor;
        };
        sendMouse(MOUSEEVENTF_LEFTDOWN, rowPoint(2));
        waitFor([&] { return shownCursor() == heldCursor; });
        sendMouse(0, bottom);
        waitFor([&] { return scrolledTo() >= 3; });
        sendMouse(MOUSEEVENTF_LEFTUP, bottom);
        released = true;
    });
    bool done = pumpUntil([&] { return released.load(); }, 10000);
    hand.join();
    pumpPending();
    ASSERT_TRUE(done);
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
