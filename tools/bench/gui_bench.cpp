// Figures of the real windows under Wine: full paints of both views, typed
// characters in books of 100,000 and of 5 entries, and what a keystroke is
// made of.  The program is started in
// this process beside a stand-in calendar window, as the in-process GUI
// tests do; nothing is asserted, the figures are printed.
//
//   scripts/wine-run.sh build/windows/lumo_gui_bench.exe

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "gui/gui_environment.h"
#include "gui/gui_support.h"
#include "shell/app.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/activation.h"
#include "views/data_view_rules.h"
#include "views/data_view_window.h"
#include "views/record_editor.h"
#include "host/host.h"
#include "host/title.h"
#include "views/line_table.h"
#include "views/overview_rules.h"
#include "views/overview_window.h"
#include "views/paint_objects.h"
#include "resources/resource.h"
#include "views/view_state.h"

namespace {

std::filesystem::path programDirectory;

// Milliseconds per call of step, averaged over n calls.
double averageMs(int n, const std::function<void()>& step)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < n; ++i)
        step();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / n;
}

void repaint(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void useBook(const std::string& text)
{
    setStoreText(text);
    resetViewState();
}

// "Entry 00000" to "Entry 99999", each with three more lines.
std::string shortEntries()
{
    std::string text;
    text.reserve(100000 * 60);
    char entry[96];
    for (int i = 0; i < 100000; ++i) {
        std::snprintf(entry, sizeof entry, "Entry %05d\r\nStreet %d\r\nTown\r\nPhone: 0%d\r\n\r\n", i, i, i);
        text += entry;
    }
    return text;
}

void overviewPaints()
{
    if (activeView != ActiveView::Overview)
        activateOverview();
    useBook(shortEntries());
    firstVisibleEntry = entryCount - overviewRowCount;
    const double windowMs = averageMs(200, [] { repaint(overviewWindow); });
    PaintedWindow painted(overviewWindow, [](HDC dc, int mode) {
        paintOverview(dc, mode);
        releasePaintObjects();
    });
    const double listMs = averageMs(200, [&] { painted.paint(0); });
    int i = 0;
    const double scrollMs = averageMs(200, [&] {   // every paint also moves the scroll bar's thumb
        firstVisibleEntry = 50000 + i++;
        repaint(overviewWindow);
    });
    std::printf("Overview, 100000 entries, %d rows: %.3f ms per WM_PAINT, %.3f ms per paint into a bitmap, "
                "%.3f ms per WM_PAINT while scrolling\n",
                overviewRowCount, windowMs, listMs, scrollMs);
}

void dataViewPaints()
{
    activateDataView();
    useBook(shortEntries());
    currentEntryOffset = entryIndex[50000];
    const double windowMs = averageMs(200, [] { repaintDataView(); });
    PaintedWindow painted(dataViewWindow, paintDataView);
    const double bitmapMs = averageMs(200, [&] { painted.paint(0); });
    const double caretMs = averageMs(200, [&] { painted.paint(1); });
    int i = 0;
    const double newEntryMs = averageMs(200, [&] {   // the layout is made again for every paint
        currentEntryOffset = entryIndex[400 * i++];
        repaintDataView();
    });
    std::printf("Data view, 100000 entries, %d rows: %.3f ms per WM_PAINT, %.3f ms per paint into a bitmap "
                "(%.3f ms of it for caret and selection), %.3f ms per WM_PAINT of a new entry\n",
                dataViewRowCount, windowMs, bitmapMs, caretMs, newEntryMs);
}

// "Name 000000, Vorname" and five more lines: entries of about 120 bytes,
// sorted by name.
std::string namedEntries(int entries)
{
    std::string text;
    text.reserve(static_cast<size_t>(entries) * 125);
    char entry[160];
    for (int i = 0; i < entries; ++i) {
        std::snprintf(entry, sizeof entry,
                      "Name %06d, Vorname\r\nStrasse %d\r\n%05d Stadt\r\nTel. 0%09d\r\n"
                      "\"mail%06d@example.org\"\r\nNotiz: nichts\r\n\r\n",
                      i, i % 300, i % 99999, i * 7, i);
        text += entry;
    }
    return text;
}

struct StrokeFigures {
    double averageMs;
    double firstMs;   // the first change after opening also makes the undo block
    double worstLaterMs;
};

// Characters typed one by one, each followed by whatever the message loop
// would do before the next (the paints it left pending).
StrokeFigures typeAndTime(int strokes)
{
    double total = 0, first = 0, worst = 0;
    for (int i = 0; i < strokes; ++i) {
        double ms = averageMs(1, [i] {
            SendMessageA(mainWindow, WM_CHAR, 'a' + i % 26, 0);
            pumpPending();
        });
        total += ms;
        if (i == 0)
            first = ms;
        else
            worst = std::max(worst, ms);
    }
    return {total / strokes, first, worst};
}

void keystrokesIn(int entries, int strokes)
{
    activateDataView();
    useBook(namedEntries(entries));
    discardSnapshot();
    pumpPending();
    std::printf("Keystrokes, book of %d entries, %d bytes\n", entries, usedBytes);

    // The first entry, so every byte of the book moves: on its second line,
    // then in its heading, where the Overview shows the change as well.
    key(VK_DOWN);
    key(VK_END);
    StrokeFigures body = typeAndTime(strokes);
    key(VK_UP);
    key(VK_END);
    StrokeFigures heading = typeAndTime(strokes / 2);
    std::printf("  typed character to repainted Data view: %.2f ms average, first %.2f ms, worst of the others %.2f ms "
                "(%d keystrokes); in the heading %.2f ms average, worst %.2f ms (%d)\n",
                body.averageMs, body.firstMs, body.worstLaterMs, strokes, heading.averageMs,
                std::max(heading.firstMs, heading.worstLaterMs), strokes / 2);
}

void keystrokeParts()
{
    activateDataView();
    useBook(namedEntries(100000));
    pumpPending();
    key(VK_DOWN);
    key(VK_END);
    takeSnapshot();   // the block is made once; then it is only filled again
    const double snapshot = averageMs(20, [] { takeSnapshot(); });
    const double rebuild = averageMs(20, [] { entryCount = rebuildEntryIndex(); });
    const int32_t at = entryIndex[1] - 10;   // in the first entry: every other entry moves
    const double shift = averageMs(20, [at] { entryCount = reindexAfterEdit(at, 0); });
    const double move = averageMs(20, [] {
        std::memmove(textBuffer + 7, textBuffer + 6, static_cast<size_t>(usedBytes - 6));
        std::memmove(textBuffer + 6, textBuffer + 7, static_cast<size_t>(usedBytes - 6));
    }) / 2;
    const double line = averageMs(20, [] {
        lineTableOwner = -1;
        editorScreen.paint(2);
    });
    const double whole = averageMs(20, [] {
        lineTableOwner = -1;
        repaintDataView();
    });
    int i = 0;
    const double texts = averageMs(20, [&i] {   // a title and a status text that change every time
        titleText[0] = i % 2 ? '*' : ' ';
        host().setTitle(titleText);
        formatEntryCountText(entryCount + i++ % 2);
        host().setStatusText(entryCountText);
        pumpPending();
    });
    const double sameTexts = averageMs(20, [] {
        host().setTitle(titleText);
        host().setStatusText(entryCountText);
        pumpPending();
    });
    formatEntryCountText(entryCount);
    std::printf("  parts at 100000 entries: undo snapshot %.2f ms, index rebuild %.2f ms, index moved along %.3f ms, "
                "byte move %.2f ms, caret line paint %.2f ms, whole Data view paint %.2f ms, title and status set "
                "%.2f ms when they change, %.3f ms when they do not\n",
                snapshot, rebuild, shift, move, line, whole, texts, sameTexts);
}

}  // namespace

std::string testProgramDirectory()
{
    return programDirectory.string();
}

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    programDirectory = std::filesystem::path(temp) / ("lumo-bench-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(programDirectory);
    createTestCalendar();
    watchDialogs();
    std::string commandLine = "\"" + (programDirectory / "ORDANE-Lumo.exe").string() + "\"";
    if (!startLumo(GetModuleHandleA(nullptr), commandLine.c_str(), SW_SHOWNORMAL)) {
        std::fprintf(stderr, "the program did not start\n");
        return 1;
    }
    pumpPending();
    startFresh();

    overviewPaints();
    dataViewPaints();
    keystrokesIn(100000, 200);
    keystrokesIn(5, 200);
    keystrokeParts();

    command(IDM_NEW);
    finishLumo();
    DestroyWindow(mainWindow);
    pumpPending();
    destroyTestCalendar();
    std::error_code ignored;
    std::filesystem::remove_all(programDirectory, ignored);
    return 0;
}
