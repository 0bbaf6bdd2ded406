// Typing into the Data view through the main window: characters, Backspace,
// Delete and Enter, selections replaced, Undo, the sort after a changed
// heading, and the saved file.  Ends with the time a keystroke takes in a
// long book.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
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

void command(int id)
{
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pumpPending();
}

void key(WPARAM k)
{
    SendMessageA(mainWindow, WM_KEYDOWN, k, 0);
}

// Characters as TranslateMessage makes them, one WM_CHAR each.
void type(const std::string& text)
{
    for (unsigned char c : text)
        SendMessageA(mainWindow, WM_CHAR, c, 0);
}

void holdKeys(bool shift, bool control)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::string tempFile(const std::string& name)
{
    return (std::filesystem::path(testProgramDirectory()) / name).string();
}

// Line l as the Data view's last paint laid it out.
std::string shownLine(int32_t l)
{
    return l == 0 ? viewLines[0] : viewLines[l - firstVisibleLine];
}

class Editing : public ::testing::Test {
protected:
    void SetUp() override
    {
        seenDialogs().clear();
        command(IDM_NEW);
        if (windowArrangement != 1)
            command(IDM_SIDEBYSIDE);
        layoutChildWindows();
        holdKeys(false, false);
        if (activeView != ActiveView::DataView)
            activateDataView();
        ASSERT_EQ(activeView, ActiveView::DataView);
    }

    void TearDown() override
    {
        holdKeys(false, false);
        currentFilePath[0] = 0;
        command(IDM_NEW);
    }

    // The book holds text; the Data view shows its first entry, caret at
    // the top, nothing changed yet.
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
    }
};

TEST_F(Editing, CharactersBackspaceDeleteAndEnterChangeTheEntry)
{
    useText("Name\r\nStreet\r\n\r\nZoe\r\n\r\n");
    key(VK_DOWN);
    key(VK_END);
    type(" 12");
    EXPECT_EQ(storeText(), "Name\r\nStreet 12\r\n\r\nZoe\r\n\r\n");
    EXPECT_EQ(caretColumn, 9);
    EXPECT_EQ(shownLine(1), "Street 12");   // painted at once
    EXPECT_TRUE(dataModified);
    EXPECT_EQ(windowText(mainWindow)[0], '*');

    key(VK_BACK);
    // TranslateMessage also makes characters of Backspace and Enter; they
    // must not count twice.
    SendMessageA(mainWindow, WM_CHAR, '\b', 0);
    EXPECT_EQ(storeText(), "Name\r\nStreet 1\r\n\r\nZoe\r\n\r\n");
    key(VK_HOME);
    key(VK_DELETE);
    EXPECT_EQ(storeText(), "Name\r\ntreet 1\r\n\r\nZoe\r\n\r\n");

    key(VK_RIGHT);
    key(VK_RETURN);
    SendMessageA(mainWindow, WM_CHAR, '\r', 0);
    EXPECT_EQ(storeText(), "Name\r\nt\r\nreet 1\r\n\r\nZoe\r\n\r\n");
    EXPECT_EQ(caretLine, 2);
    EXPECT_EQ(caretColumn, 0);
    EXPECT_EQ(lineCount, 3);

    // Enter at the end opens a blank line that the first character fills.
    key(VK_END);
    key(VK_RETURN);
    type("Town");
    EXPECT_EQ(storeText(), "Name\r\nt\r\nreet 1\r\nTown\r\n\r\nZoe\r\n\r\n");
    EXPECT_EQ(shownLine(3), "Town");
    EXPECT_FALSE(resortPending);
}

TEST_F(Editing, ShiftArrowsSelectAndTheNextKeyReplacesTheSelection)
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

    // Across a line end, removed by Backspace.
    holdKeys(true, false);
    key(VK_DOWN);
    holdKeys(false, false);
    key(VK_BACK);
    EXPECT_EQ(storeText(), "Name\r\nRoad\r\n\r\n");
    EXPECT_FALSE(selectionActive);

    // Undo takes back the last change only, and a second Undo redoes it.
    command(IDM_UNDO);
    EXPECT_EQ(storeText(), "Name\r\nRoad 1\r\nTown\r\n\r\n");
    command(IDM_UNDO);
    EXPECT_EQ(storeText(), "Name\r\nRoad\r\n\r\n");
}

TEST_F(Editing, HeldModifiersDoNotTurnTheCaretStepIntoAWordOrASelection)
{
    useText("Name\r\nab cd\r\n\r\n");
    key(VK_DOWN);
    // A character typed with AltGr comes with Ctrl held.
    holdKeys(false, true);
    type("@");
    EXPECT_EQ(caretColumn, 1);
    // A capital comes with Shift held.
    holdKeys(true, false);
    type("X");
    EXPECT_EQ(caretColumn, 2);
    EXPECT_FALSE(selectionActive);
    holdKeys(false, false);
    EXPECT_EQ(storeText(), "Name\r\n@Xab cd\r\n\r\n");
}

TEST_F(Editing, UndoTogglesAfterEachKindOfKey)
{
    const std::string original = "Name\r\nAb\r\ncd\r\n\r\n";
    struct Step {
        WPARAM key;   // 0: the character
        unsigned char character;
        const char* edited;
    };
    const Step steps[] = {
        {0, 'x', "Name\r\nAxb\r\ncd\r\n\r\n"},
        {VK_BACK, 0, "Name\r\nb\r\ncd\r\n\r\n"},
        {VK_DELETE, 0, "Name\r\nA\r\ncd\r\n\r\n"},
        {VK_RETURN, 0, "Name\r\nA\r\nb\r\ncd\r\n\r\n"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.edited);
        useText(original);
        key(VK_DOWN);
        key(VK_RIGHT);
        EXPECT_TRUE(menuItemGrayed(GetMenu(mainWindow), IDM_UNDO));
        if (step.key)
            key(step.key);
        else
            type(std::string(1, static_cast<char>(step.character)));
        EXPECT_EQ(storeText(), step.edited);
        EXPECT_FALSE(menuItemGrayed(GetMenu(mainWindow), IDM_UNDO));
        command(IDM_UNDO);
        EXPECT_EQ(storeText(), original);
        EXPECT_EQ(caretLine, 1);
        EXPECT_EQ(caretColumn, 1);
        command(IDM_UNDO);
        EXPECT_EQ(storeText(), step.edited);
    }
}

TEST_F(Editing, AFullLineRefusesTheCharacterWithAMessage)
{
    const std::string full = "Name\r\n" + std::string(255, 'a') + "\r\n\r\n";
    useText(full);
    key(VK_DOWN);
    answerNextDialog({IDOK, {}, {}});
    type("b");
    ASSERT_EQ(seenDialogs().size(), 1u);
    EXPECT_EQ(seenDialogs()[0].caption, "ORDANE-Lumo:");
    EXPECT_EQ(seenDialogs()[0].text, "Line would be longer than 255 characters!");
    EXPECT_EQ(storeText(), full);
}

TEST_F(Editing, DeletingTheOnlyLineAsksAndYesRemovesTheEntry)
{
    useText(" \r\n\r\nZoe\r\n\r\n");
    answerNextDialog({IDNO, {}, {}});
    key(VK_DELETE);
    ASSERT_EQ(seenDialogs().size(), 1u);
    EXPECT_EQ(seenDialogs()[0].text, "Really delete this entry?");
    EXPECT_EQ(storeText(), " \r\n\r\nZoe\r\n\r\n");

    answerNextDialog({IDYES, {}, {}});
    key(VK_BACK);
    EXPECT_EQ(storeText(), "Zoe\r\n\r\n");
    EXPECT_EQ(shownLine(0), "Zoe");
}

TEST_F(Editing, AChangedHeadingIsSortedWhenTheOverviewBecomesActive)
{
    useText("Anna\r\n\r\nBert\r\n\r\n");
    type("Z");
    EXPECT_EQ(storeHeadings(), (std::vector<std::string>{"ZAnna", "Bert"}));
    EXPECT_TRUE(resortPending);
    key(VK_TAB);
    EXPECT_EQ(activeView, ActiveView::Overview);
    EXPECT_EQ(storeHeadings(), (std::vector<std::string>{"Bert", "ZAnna"}));
    EXPECT_FALSE(resortPending);
    EXPECT_EQ(currentEntry(), 1);   // the edited entry stays current
}

TEST_F(Editing, SavedFileHoldsTheEditedText)
{
    useText("Bert\r\nWeg 1\r\n\r\nZoe\r\n\r\n");
    key(VK_DOWN);
    key(VK_END);
    key(VK_RETURN);
    type("Stadt");
    key(VK_UP);
    key(VK_UP);
    key(VK_HOME);
    key(VK_DELETE);
    type("Ch");   // "Bert" becomes "Chert": still in front of "Zoe"
    const std::string path = tempFile("edited.adr");
    std::strcpy(currentFilePath, path.c_str());
    command(IDM_SAVE);
    EXPECT_EQ(readFileBytes(path), "Chert\r\nWeg 1\r\nStadt\r\n\r\nZoe\r\n\r\n");
    EXPECT_FALSE(dataModified);
    EXPECT_TRUE(menuItemGrayed(GetMenu(mainWindow), IDM_UNDO));
}

// ---- Latency ----

// A book of count entries of about 120 bytes each, sorted by name.
std::string longBook(int count)
{
    std::string text;
    text.reserve(static_cast<size_t>(count) * 125);
    char entry[160];
    for (int i = 0; i < count; ++i) {
        std::snprintf(entry, sizeof entry,
                      "Name %06d, Vorname\r\nStrasse %d\r\n%05d Stadt\r\nTel. 0%09d\r\n"
                      "\"mail%06d@example.org\"\r\nNotiz: nichts\r\n\r\n",
                      i, i % 300, i % 99999, i * 7, i);
        text += entry;
    }
    return text;
}

double milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

TEST_F(Editing, KeystrokeLatencyInALongBook)
{
    const int entries = 100000;
    useText(longBook(entries));
    ASSERT_EQ(entryCount, entries);
    std::printf("[ latency  ] book of %d entries, %d bytes\n", entries, usedBytes);

    // Worst place: the first entry, so every byte of the book moves.
    key(VK_DOWN);
    key(VK_END);
    const int strokes = 50;
    double total = 0, worst = 0;
    for (int i = 0; i < strokes; ++i) {
        LARGE_INTEGER start = now();
        SendMessageA(mainWindow, WM_CHAR, 'a' + i % 26, 0);
        UpdateWindow(dataViewWindow);
        double ms = milliseconds(start, now());
        total += ms;
        worst = std::max(worst, ms);
    }
    EXPECT_EQ(caretColumn, 9 + strokes);   // behind "Strasse 0"
    std::printf("[ latency  ] typed character to repainted Data view: %.2f ms average, %.2f ms worst, %d keystrokes\n",
                total / strokes, worst, strokes);

    // Where the time goes.
    auto average = [](int n, auto step) {
        LARGE_INTEGER start = now();
        for (int i = 0; i < n; ++i)
            step();
        return milliseconds(start, now()) / n;
    };
    const double snapshot = average(20, [] { takeSnapshot(); });
    const double index = average(20, [] { entryCount = rebuildEntryIndex(); });
    const double move = average(20, [] {
        std::memmove(textBuffer + 7, textBuffer + 6, static_cast<size_t>(usedBytes - 6));
        std::memmove(textBuffer + 6, textBuffer + 7, static_cast<size_t>(usedBytes - 6));
    }) / 2;
    const double paint = average(20, [] {
        lineTableOwner = -1;
        repaintDataView();
    });
    // The snapshot's copy itself, into memory that is already mapped.
    std::vector<unsigned char> reused(static_cast<size_t>(usedBytes) + bufferHeadroom, 1);
    const double copy = average(20, [&] { std::memcpy(reused.data(), textBuffer, static_cast<size_t>(usedBytes)); });
    std::printf("[ latency  ] undo snapshot %.2f ms (the copy alone into a reused block %.2f ms), index rebuild %.2f ms, "
                "byte move %.2f ms, Data view paint %.2f ms\n",
                snapshot, copy, index, move, paint);
}

}  // namespace
