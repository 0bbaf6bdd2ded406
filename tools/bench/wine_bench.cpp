// Figures of the real program taken from outside, as a user notices them:
// start-up with a given address book (from the start of the process until
// both views have painted), its peak memory and the time to quit; and the
// cost of typed characters, posted or sent to the program, against the same
// run without them.  Prints figures, asserts nothing.
//
// This process plays the calendar ORDANE: its (hidden) window of class
// "ORDANE" lets the program start, hears its greeting, and receives
// "OpenKal1" when a posted Calendar 1 command comes round after a run of
// posted characters, which tells when the program has worked them off.
//
//   lumo_wine_bench.exe startup BOOK [RUNS]
//   lumo_wine_bench.exe typing BOOK [CHARACTERS] [RUNS]
//
// BOOK may be "-" for no book at all (the program starts with a blank
// entry).  ORDANE-Lumo.exe is taken from beside this program.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "calendar/calendar_protocol.h"
#include "files/config.h"
#include "resources/resource.h"

namespace {

constexpr DWORD waitLimitMs = 120000;
constexpr const char* greeting = "HALLO, HIER IST LUMO!";

LARGE_INTEGER frequency;
UINT transferMessage;
HWND calendarWindow;
std::vector<std::string> receivedTexts;

double nowMs()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LRESULT CALLBACK calendarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (transferMessage && message == transferMessage) {
        if (receiveTransfer(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)))
            receivedTexts.emplace_back(receiveBuffer);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void createCalendarWindow()
{
    transferMessage = RegisterWindowMessageA(transferMessageName);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = calendarProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = calendarWindowClass;
    RegisterClassA(&windowClass);
    calendarWindow = CreateWindowExA(0, calendarWindowClass, "ORDANE (benchmark)", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                     nullptr, nullptr, windowClass.hInstance, nullptr);
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Pumps this thread's messages until condition holds; false at the limit
// or when the program has ended.
template <class Condition>
bool waitFor(Condition condition, HANDLE process, DWORD limitMs = waitLimitMs)
{
    const double deadline = nowMs() + limitMs;
    for (;;) {
        pumpMessages();
        if (condition())
            return true;
        if (nowMs() > deadline)
            return false;
        DWORD waited = MsgWaitForMultipleObjects(1, &process, FALSE, 1, QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0) {
            pumpMessages();
            return condition();
        }
    }
}

bool heard(const std::string& text, size_t from)
{
    return std::find(receivedTexts.begin() + static_cast<std::ptrdiff_t>(from), receivedTexts.end(), text) !=
           receivedTexts.end();
}

void sendToProgram(HWND mainWindow, const std::string& text)
{
    for (const TransferMessage& m : encodeCalendarText(text))
        PostMessageA(mainWindow, transferMessage, m.position, static_cast<LPARAM>(m.value));
}

struct Program {
    PROCESS_INFORMATION info{};
    HWND mainWindow = nullptr;
    HWND overview = nullptr;
    HWND dataView = nullptr;
    double startMs = 0;
    double windowMs = 0;    // the main window exists: load and sort are done
    double paintedMs = 0;   // both views shown and painted
};

std::string folder;

// A folder of its own with the program and a settings file that names the
// book (or none), as a user's program folder.
void prepareFolder(const std::string& book)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "lumo-wine-bench-" + std::to_string(GetCurrentProcessId());
    std::filesystem::create_directories(folder);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string program = (std::filesystem::path(self).parent_path() / "ORDANE-Lumo.exe").string();
    if (!CopyFileA(program.c_str(), (folder + "\\ORDANE-Lumo.exe").c_str(), FALSE)) {
        std::fprintf(stderr, "lumo_wine_bench: cannot copy %s\n", program.c_str());
        std::exit(1);
    }
    LOGFONTA systemFont{};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof systemFont, &systemFont);
    FontRecord record;
    std::memcpy(record.bytes, &systemFont, fontRecordSize);
    setDefaultSettings(record);
    std::memset(currentFilePath, 0, sizeof currentFilePath);
    if (book != "-") {
        std::string full = std::filesystem::absolute(book).string();
        std::strncpy(currentFilePath, full.c_str(), sizeof currentFilePath - 1);
    }
    if (!writeConfiguration((folder + "\\O-LUMO.INF").c_str())) {
        std::fprintf(stderr, "lumo_wine_bench: cannot write the settings\n");
        std::exit(1);
    }
}

bool paintedThrough(HWND view)
{
    return view && IsWindowVisible(view) && !GetUpdateRect(view, nullptr, FALSE);
}

// Starts the program and waits until both views have painted.
bool start(Program& p)
{
    std::string commandLine = "\"" + folder + "\\ORDANE-Lumo.exe\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    size_t before = receivedTexts.size();
    p.startMs = nowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &p.info)) {
        std::fprintf(stderr, "lumo_wine_bench: cannot start the program\n");
        return false;
    }
    if (!waitFor([&] { return heard(greeting, before); }, p.info.hProcess)) {
        std::fprintf(stderr, "lumo_wine_bench: no greeting from the program\n");
        return false;
    }
    p.windowMs = nowMs();
    bool painted = waitFor([&] {
        if (!p.mainWindow)
            p.mainWindow = FindWindowA("ORDANE-Lumo", nullptr);
        if (p.mainWindow) {
            p.overview = FindWindowExA(p.mainWindow, nullptr, "Uebersicht", nullptr);
            p.dataView = FindWindowExA(p.mainWindow, nullptr, "Datensatz", nullptr);
        }
        return paintedThrough(p.overview) && paintedThrough(p.dataView);
    }, p.info.hProcess);
    p.paintedMs = nowMs();
    if (!painted)
        std::fprintf(stderr, "lumo_wine_bench: the views did not paint\n");
    return painted;
}

void endProgram(Program& p)
{
    if (WaitForSingleObject(p.info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(p.info.hProcess, 99);
        WaitForSingleObject(p.info.hProcess, waitLimitMs);
    }
    CloseHandle(p.info.hProcess);
    CloseHandle(p.info.hThread);
    p = {};
}

// Posts a Calendar 1 command and waits until its text comes back: every
// message posted before it has then been handled.
double roundTrip(const Program& p)
{
    size_t before = receivedTexts.size();
    PostMessageA(p.mainWindow, WM_SYSCOMMAND, IDM_CALENDAR1, 0);
    waitFor([&] { return heard("OpenKal1", before); }, p.info.hProcess);
    return nowMs();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double best(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

int startupBenchmark(const std::string& book, int runs)
{
    prepareFolder(book);
    std::vector<double> window, painted, quit, peakWorkingSet, peakCommit;
    for (int run = 0; run < runs; ++run) {
        Program p;
        if (!start(p)) {
            endProgram(p);
            return 1;
        }
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(p.info.hProcess, &memory, sizeof memory)) {
            peakWorkingSet.push_back(static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0);
            peakCommit.push_back(static_cast<double>(memory.PeakPagefileUsage) / 1048576.0);
        }
        window.push_back(p.windowMs - p.startMs);
        painted.push_back(p.paintedMs - p.startMs);
        // The calendar's quit: the program saves its settings and ends.
        double quitFrom = nowMs();
        sendToProgram(p.mainWindow, "OrdaneQuit");
        waitFor([&] { return WaitForSingleObject(p.info.hProcess, 0) == WAIT_OBJECT_0; }, p.info.hProcess);
        quit.push_back(nowMs() - quitFrom);
        endProgram(p);
    }
    std::error_code ignored;
    const auto bookBytes = book == "-" ? 0 : std::filesystem::file_size(book, ignored);
    // Floors for the book: reading the file into a fresh block, and a
    // second fresh block of its size touched page by page (what a sort
    // that moves every entry needs as its work area).
    std::vector<double> readFloor, touchFloor;
    for (int run = 0; run < runs && bookBytes > 0; ++run) {
        double from = nowMs();
        auto* block = static_cast<char*>(std::malloc(bookBytes + 1));
        if (std::FILE* file = std::fopen(book.c_str(), "rb")) {
            (void)std::fread(block, 1, bookBytes + 1, file);
            std::fclose(file);
        }
        readFloor.push_back(nowMs() - from);
        from = nowMs();
        auto* other = static_cast<volatile char*>(std::malloc(bookBytes));
        for (size_t at = 0; at < bookBytes; at += 4096)
            other[at] = 1;
        touchFloor.push_back(nowMs() - from);
        std::free(const_cast<char*>(other));
        std::free(block);
    }
    std::printf("startup %s (%.1f MB), %d runs: main window %.0f ms (median %.0f), both views painted %.0f ms "
                "(median %.0f), quit %.0f ms (median %.0f)",
                book.c_str(), static_cast<double>(bookBytes) / 1048576.0, runs, best(window), median(window),
                best(painted), median(painted), best(quit), median(quit));
    if (!peakWorkingSet.empty())
        std::printf(", peak working set %.0f MB, peak commit %.0f MB", best(peakWorkingSet), best(peakCommit));
    if (!readFloor.empty())
        std::printf("; floors: file read into a fresh block %.0f ms, a fresh block of its size touched %.0f ms",
                    best(readFloor), best(touchFloor));
    std::printf("\n");
    return 0;
}

// Puts the caret at the end of the second line of the current entry, as
// the in-process benchmark does: the typing changes no heading.
void enterDataView(const Program& p)
{
    PostMessageA(p.mainWindow, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(p.mainWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(p.mainWindow, WM_KEYDOWN, VK_END, 0);
    roundTrip(p);
}

// A fresh line for the next run, so no line reaches its limit.
void newLine(const Program& p)
{
    PostMessageA(p.mainWindow, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(p.mainWindow, WM_KEYDOWN, VK_END, 0);
    roundTrip(p);
}

int typingBenchmark(const std::string& book, int characters, int runs)
{
    prepareFolder(book);
    Program p;
    if (!start(p)) {
        endProgram(p);
        return 1;
    }
    enterDataView(p);

    // Posted: the characters and the Calendar 1 command behind them, against
    // the command alone.  Caret moves (Left and Right in turn) for comparison.
    std::vector<double> posted, none, moves;
    for (int run = 0; run < runs; ++run) {
        double from = nowMs();
        double to = roundTrip(p);
        none.push_back(to - from);

        from = nowMs();
        for (int i = 0; i < characters; ++i)
            PostMessageA(p.mainWindow, WM_CHAR, 'a' + i % 26, 0);
        to = roundTrip(p);
        posted.push_back(to - from);

        from = nowMs();
        for (int i = 0; i < characters; ++i)
            PostMessageA(p.mainWindow, WM_KEYDOWN, i % 2 ? VK_RIGHT : VK_LEFT, 0);
        to = roundTrip(p);
        moves.push_back(to - from);
        newLine(p);
    }

    // Sent: each character waits for its own handling, paint included;
    // WM_NULL is the same round trip without the work.
    std::vector<double> sentEach, nullEach;
    for (int run = 0; run < runs; ++run) {
        for (int i = 0; i < characters; ++i) {
            DWORD_PTR result;
            double from = nowMs();
            SendMessageTimeoutA(p.mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, waitLimitMs, &result);
            nullEach.push_back(nowMs() - from);
            from = nowMs();
            SendMessageTimeoutA(p.mainWindow, WM_CHAR, 'a' + i % 26, 0, SMTO_NORMAL, waitLimitMs, &result);
            sentEach.push_back(nowMs() - from);
        }
        newLine(p);
    }

    char title[300] = "";
    GetWindowTextA(p.mainWindow, title, sizeof title);
    const bool typed = title[0] == '*';
    const double perPosted = (best(posted) - best(none)) / characters;
    const double perMove = (best(moves) - best(none)) / characters;
    double sentTotal = 0, nullTotal = 0;
    for (double ms : sentEach)
        sentTotal += ms;
    for (double ms : nullEach)
        nullTotal += ms;
    const double sentAverage = sentTotal / static_cast<double>(sentEach.size());
    const double nullAverage = nullTotal / static_cast<double>(nullEach.size());
    std::printf("typing into %s, %d characters, %d runs%s:\n", book.c_str(), characters, runs,
                typed ? "" : " (THE TITLE SHOWS NO CHANGE: were the characters typed?)");
    std::printf("  posted: %.0f ms with them, %.0f ms without (best runs): %.2f ms per character; "
                "caret moves %.2f ms each\n",
                best(posted), best(none), perPosted, perMove);
    std::printf("  sent one by one: %.2f ms average, %.2f ms worst per character; the bare round trip %.2f ms "
                "average, %.2f ms worst: %.2f ms per character beyond it\n",
                sentAverage, *std::max_element(sentEach.begin(), sentEach.end()), nullAverage,
                *std::max_element(nullEach.begin(), nullEach.end()), sentAverage - nullAverage);
    endProgram(p);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QueryPerformanceFrequency(&frequency);
    if (argc < 3) {
        std::fprintf(stderr, "usage: lumo_wine_bench startup BOOK [RUNS] | typing BOOK [CHARACTERS] [RUNS]\n");
        return 2;
    }
    createCalendarWindow();
    const std::string mode = argv[1];
    const std::string book = argv[2];
    int result = 2;
    if (mode == "startup")
        result = startupBenchmark(book, argc > 3 ? std::atoi(argv[3]) : 3);
    else if (mode == "typing")
        result = typingBenchmark(book, argc > 3 ? std::atoi(argv[3]) : 200, argc > 4 ? std::atoi(argv[4]) : 3);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    DestroyWindow(calendarWindow);
    return result;
}
