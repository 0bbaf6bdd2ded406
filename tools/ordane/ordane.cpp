// ORDANE: a stand-in for the calendar program that ORDANE-Lumo talks to.
//
// The real calendar program is not part of this project.  This small
// window program takes its place so that the address book can be started,
// shown and tested: it owns a top-level window of class "ORDANE", speaks the
// text protocol of calendar/calendar_protocol.h, lists every text it
// receives and sends, and keeps a simple open/closed model of its six
// windows (four calendars, the clock and the alarm window).  When the
// address book asks it to open one of them it marks it open and reports it
// open, as the real program does.
//
// Command line (all optional, for tests and demonstrations):
//   --log FILE     append every received text to FILE as one line (the raw
//                  bytes, then "\n"), flushed at once
//   --script FILE  send the lines of FILE to the address book, in order
//   --hidden       never show the window
//   --ready FILE   create FILE once the window exists, so that a test can
//                  wait for it before starting the address book
//
// Script lines:
//   @wait-window     wait until the address book's window exists
//   @wait-text TEXT  wait until TEXT arrives; each wait looks only at the
//                    texts after the one the previous wait matched
//   @wait-file PATH  wait until the file PATH exists (for scripts outside)
//   @quit            close the stand-in
//   @@TEXT           send "@TEXT"
//   (empty line)     skipped
//   anything else    sent as it stands, without its line end; a text line
//                    also waits for the address book's window
// A step that cannot go on within 20 seconds ends the stand-in with exit
// status 2.  The script runs from a timer, so the window stays responsive.
//
// Exit status: 0 normal close, 1 bad command line or script, 2 a script
// step timed out.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar_protocol.h"

namespace {

constexpr const char* standInClass = calendarWindowClass;   // "ORDANE"
constexpr const char* addressBookClass = "ORDANE-Lumo";
constexpr const char* windowTitle = "ORDANE (stand-in calendar for ORDANE-Lumo)";

constexpr int exitOk = 0;
constexpr int exitUsage = 1;
constexpr int exitScriptFailed = 2;

constexpr UINT_PTR scriptTimer = 1;
constexpr UINT scriptTickMs = 50;
constexpr ULONGLONG scriptStepTimeoutMs = 20000;

const char usageText[] =
    "usage: ORDANE [--log FILE] [--script FILE] [--hidden] [--ready FILE]\n"
    "\n"
    "  --log FILE     append every received text to FILE, one line each\n"
    "  --script FILE  send the lines of FILE to ORDANE-Lumo; lines\n"
    "                 @wait-window, @wait-text TEXT, @wait-file PATH, @quit are steps,\n"
    "                 @@TEXT sends @TEXT, empty lines are skipped\n"
    "  --hidden       do not show the window\n"
    "  --ready FILE   create FILE once the window exists\n";

// ---- Control ids ----------------------------------------------------------
enum : int {
    IDC_OPEN_KAL1 = 101,
    IDC_OPEN_KAL2,
    IDC_OPEN_KAL3,
    IDC_OPEN_KAL4,
    IDC_OPEN_GCLOCK,
    IDC_OPEN_ALARM,
    IDC_CLOSE_KAL1 = 111,
    IDC_CLOSE_KAL2,
    IDC_CLOSE_KAL3,
    IDC_CLOSE_KAL4,
    IDC_CLOSE_GCLOCK,
    IDC_CLOSE_ALARM,
    IDC_STATUS = 121,
    IDC_ORDANE_QUIT,
    IDC_SEARCH,
    IDC_SEARCH_LABEL = 131,
    IDC_SEARCH_TEXT,
    IDC_WINDOW_STATE,
    IDC_HISTORY_LABEL,
    IDC_HISTORY,
};

// The calendar program's six windows, in the order of the status text's
// flags; "Open" or "Close" in front gives the texts about them.
constexpr int windowCount = 6;
constexpr const char* windowNames[windowCount] = {"Kal1", "Kal2", "Kal3", "Kal4", "GClock", "Alarm"};

enum class StepKind { send, waitWindow, waitText, waitFile, quit };

struct ScriptStep {
    StepKind kind;
    std::string text;   // the text to send or to wait for
    int line;           // 1-based line in the script file
};

// ---- Process-wide state ---------------------------------------------------
struct Options {
    std::wstring logPath;
    std::wstring scriptPath;
    std::wstring readyPath;
    bool hidden = false;
};

Options options;
UINT transferMessage;
HWND mainWindow;
HWND searchEdit;
HWND windowStateLine;
HWND historyList;
HFONT guiFont;
int fontHeight;
std::FILE* logFile;
int exitCode = exitOk;

bool windowOpen[windowCount];
int historyNumber;
std::vector<std::string> receivedTexts;

std::vector<ScriptStep> script;
size_t nextStep;
ULONGLONG stepDeadline;       // 0 while the current step has not had to wait
size_t waitTextFrom;          // first entry of receivedTexts a @wait-text looks at

// ---- Layout ---------------------------------------------------------------
// Coordinates are in quarters of the GUI font's height, so the window grows
// with the font.
constexpr int margin = 3;
constexpr int gap = 2;
constexpr int buttonWidth = 24;
constexpr int buttonHeight = 7;
constexpr int lineHeight = 5;
constexpr int columns = 7;                        // six windows, then one more
constexpr int lastColumnGap = 2;                  // sets the seventh column apart
constexpr int searchLabelWidth = 22;
constexpr int contentWidth = columns * buttonWidth + (columns - 1) * gap + lastColumnGap;
constexpr int historyTop = margin + 3 * (buttonHeight + gap) + 2 * lineHeight;
constexpr int initialHistoryHeight = 56;
constexpr int minimumHistoryHeight = 20;

int scaled(int quarters)
{
    return MulDiv(quarters, fontHeight, 4);
}

int columnX(int column)
{
    return margin + column * (buttonWidth + gap) + (column == columns - 1 ? lastColumnGap : 0);
}

int rowY(int row)
{
    return margin + row * (buttonHeight + gap);
}

struct ButtonPlace {
    int id;
    const char* caption;
    int column;
    int row;
};

const ButtonPlace buttonPlaces[] = {
    {IDC_OPEN_KAL1,    "Open Kal1",    0, 0},
    {IDC_OPEN_KAL2,    "Open Kal2",    1, 0},
    {IDC_OPEN_KAL3,    "Open Kal3",    2, 0},
    {IDC_OPEN_KAL4,    "Open Kal4",    3, 0},
    {IDC_OPEN_GCLOCK,  "Open GClock",  4, 0},
    {IDC_OPEN_ALARM,   "Open Alarm",   5, 0},
    {IDC_STATUS,       "Status",       6, 0},
    {IDC_CLOSE_KAL1,   "Close Kal1",   0, 1},
    {IDC_CLOSE_KAL2,   "Close Kal2",   1, 1},
    {IDC_CLOSE_KAL3,   "Close Kal3",   2, 1},
    {IDC_CLOSE_KAL4,   "Close Kal4",   3, 1},
    {IDC_CLOSE_GCLOCK, "Close GClock", 4, 1},
    {IDC_CLOSE_ALARM,  "Close Alarm",  5, 1},
    {IDC_ORDANE_QUIT,  "OrdaneQuit",   6, 1},
    {IDC_SEARCH,       "Search",       6, 2},
};

// Creates one child control in quarter-height coordinates, with the GUI font.
HWND addControl(const char* className, const char* text, DWORD style, int id,
                int x, int y, int width, int height, DWORD exStyle = 0)
{
    HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style,
                                   scaled(x), scaled(y), scaled(width), scaled(height),
                                   mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
    return control;
}

void measureGuiFont()
{
    guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, guiFont);
    TEXTMETRICA metrics;
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    fontHeight = metrics.tmHeight;
}

// ---- History list and log -------------------------------------------------

// The text as the list shows it: control bytes as <hex>, the rest as ANSI.
std::string displayText(std::string_view text)
{
    std::string shown;
    for (unsigned char byte : text) {
        if (byte < 32) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "<%02X>", byte);
            shown += escape;
        } else {
            shown += static_cast<char>(byte);
        }
    }
    return shown;
}

// Appends one numbered, time-stamped row and scrolls it into view.
void addHistoryRow(const char* direction, std::string_view text)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%d\t%02d:%02d:%02d.%03d\t%s\t", ++historyNumber, now.wHour,
                  now.wMinute, now.wSecond, now.wMilliseconds, direction);
    std::string row = stamp + displayText(text);
    LRESULT index = SendMessageA(historyList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    if (index >= 0)
        SendMessageA(historyList, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

void logReceived(std::string_view text)
{
    if (!logFile)
        return;
    std::fwrite(text.data(), 1, text.size(), logFile);
    std::fputc('\n', logFile);
    std::fflush(logFile);
}

// ---- Talking to the address book ------------------------------------------

// Posts a text to the address book's window; false when it is not running.
// The receiving counters are left alone: a text the address book is
// sending at the same moment must not be dropped.
bool sendToAddressBook(std::string_view text)
{
    HWND addressBook = FindWindowA(addressBookClass, nullptr);
    if (!addressBook) {
        addHistoryRow("not sent", text);
        return false;
    }
    for (const TransferMessage& message : encodeCalendarText(text))
        PostMessageA(addressBook, transferMessage, message.position, message.value);
    addHistoryRow("to Lumo", text);
    return true;
}

void showWindowState()
{
    std::string line = "Windows open here:";
    bool any = false;
    for (int i = 0; i < windowCount; ++i) {
        if (windowOpen[i]) {
            line += any ? ", " : " ";
            line += windowNames[i];
            any = true;
        }
    }
    if (!any)
        line += " none";
    SetWindowTextA(windowStateLine, line.c_str());
}

void setWindowOpen(int window, bool open)
{
    windowOpen[window] = open;
    showWindowState();
}

// ---- Script runner --------------------------------------------------------

void runScript();

// The index of the first received text equal to text, from waitTextFrom on.
int findReceived(const std::string& text)
{
    for (size_t i = waitTextFrom; i < receivedTexts.size(); ++i)
        if (receivedTexts[i] == text)
            return static_cast<int>(i);
    return -1;
}

bool addressBookRunning()
{
    return FindWindowA(addressBookClass, nullptr) != nullptr;
}

// Whether the step can run now.
bool stepReady(const ScriptStep& step)
{
    switch (step.kind) {
    case StepKind::send:       return addressBookRunning();
    case StepKind::waitWindow: return addressBookRunning();
    case StepKind::waitText:   return findReceived(step.text) >= 0;
    case StepKind::waitFile:   return GetFileAttributesA(step.text.c_str()) != INVALID_FILE_ATTRIBUTES;
    case StepKind::quit:       return true;
    }
    return true;
}

void failScript(const ScriptStep& step)
{
    const char* what = step.kind == StepKind::waitText   ? "the text "
                       : step.kind == StepKind::waitFile ? "the file "
                                                         : "the ORDANE-Lumo window";
    std::string report = "script line " + std::to_string(step.line) + ": timed out waiting for " + what;
    if (step.kind == StepKind::waitText || step.kind == StepKind::waitFile)
        report += "\"" + step.text + "\"";
    addHistoryRow("script", report);
    std::fprintf(stderr, "ORDANE: %s\n", report.c_str());
    exitCode = exitScriptFailed;
    DestroyWindow(mainWindow);
}

// Runs script steps until one has to wait or the script is done.  Called by
// the timer and after every received text.
void runScript()
{
    while (nextStep < script.size()) {
        const ScriptStep& step = script[nextStep];
        if (!stepReady(step)) {
            ULONGLONG now = GetTickCount64();
            if (stepDeadline == 0)
                stepDeadline = now + scriptStepTimeoutMs;
            else if (now >= stepDeadline)
                failScript(step);
            return;
        }
        stepDeadline = 0;
        ++nextStep;
        switch (step.kind) {
        case StepKind::send:
            sendToAddressBook(step.text);
            break;
        case StepKind::waitWindow:
        case StepKind::waitFile:
            break;
        case StepKind::waitText:
            waitTextFrom = static_cast<size_t>(findReceived(step.text)) + 1;
            break;
        case StepKind::quit:
            DestroyWindow(mainWindow);
            return;
        }
    }
    KillTimer(mainWindow, scriptTimer);
}

// Reads the script file into steps.  Returns an error text, empty when the
// script is good.
std::string loadScript(const std::wstring& path)
{
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return "cannot read the script file";
    std::string content;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        content.append(chunk, got);
    std::fclose(file);

    int lineNumber = 0;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::string where = "script line " + std::to_string(lineNumber) + ": ";
        if (line.find('\0') != std::string::npos)
            return where + "a text cannot hold a zero byte";
        if (line.starts_with("@@"))
            script.push_back({StepKind::send, line.substr(1), lineNumber});
        else if (line == "@wait-window")
            script.push_back({StepKind::waitWindow, "", lineNumber});
        else if (line.starts_with("@wait-text "))
            script.push_back({StepKind::waitText, line.substr(11), lineNumber});
        else if (line.starts_with("@wait-file "))
            script.push_back({StepKind::waitFile, line.substr(11), lineNumber});
        else if (line == "@quit")
            script.push_back({StepKind::quit, "", lineNumber});
        else if (line.starts_with("@"))
            return where + "unknown step " + line;
        else
            script.push_back({StepKind::send, line, lineNumber});
    }
    return "";
}

// ---- Commands -------------------------------------------------------------

void openCalendarWindow(int window)
{
    setWindowOpen(window, true);
    sendToAddressBook(std::string("Open") + windowNames[window]);
}

void closeCalendarWindow(int window)
{
    setWindowOpen(window, false);
    sendToAddressBook(std::string("Close") + windowNames[window]);
}

// "ORDANE" and one flag per window, "1" open, "0" closed.
void sendStatus(int)
{
    std::string text = "ORDANE";
    for (bool open : windowOpen)
        text += open ? '1' : '0';
    sendToAddressBook(text);
}

void sendSearch(int)
{
    char typed[1024];
    GetWindowTextA(searchEdit, typed, sizeof typed);
    sendToAddressBook(std::string("AS") + typed);
}

void sendOrdaneQuit(int)
{
    sendToAddressBook("OrdaneQuit");
}

struct Command {
    int id;
    void (*run)(int);
    int argument;
};

const Command commands[] = {
    {IDC_OPEN_KAL1,    openCalendarWindow,  0},
    {IDC_OPEN_KAL2,    openCalendarWindow,  1},
    {IDC_OPEN_KAL3,    openCalendarWindow,  2},
    {IDC_OPEN_KAL4,    openCalendarWindow,  3},
    {IDC_OPEN_GCLOCK,  openCalendarWindow,  4},
    {IDC_OPEN_ALARM,   openCalendarWindow,  5},
    {IDC_CLOSE_KAL1,   closeCalendarWindow, 0},
    {IDC_CLOSE_KAL2,   closeCalendarWindow, 1},
    {IDC_CLOSE_KAL3,   closeCalendarWindow, 2},
    {IDC_CLOSE_KAL4,   closeCalendarWindow, 3},
    {IDC_CLOSE_GCLOCK, closeCalendarWindow, 4},
    {IDC_CLOSE_ALARM,  closeCalendarWindow, 5},
    {IDC_STATUS,       sendStatus,          0},
    {IDC_ORDANE_QUIT,  sendOrdaneQuit,      0},
    {IDC_SEARCH,       sendSearch,          0},
    {IDOK,             sendSearch,          0},   // Enter in the search field
};

// ---- Message handlers -----------------------------------------------------

// One transfer message from the address book.  A complete text is listed,
// logged, answered when it asks to open a window, and may let the script on.
LRESULT onTransfer(WPARAM wParam, LPARAM lParam)
{
    if (!receiveTransfer(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)))
        return 0;
    std::string text = receiveBuffer;
    receivedTexts.push_back(text);
    addHistoryRow("from Lumo", text);
    logReceived(text);
    for (int i = 0; i < windowCount; ++i)
        if (text == std::string("Open") + windowNames[i])
            openCalendarWindow(i);
    runScript();
    return 0;
}

LRESULT onCreate(HWND window)
{
    mainWindow = window;
    for (const ButtonPlace& place : buttonPlaces)
        addControl("BUTTON", place.caption, WS_TABSTOP | BS_PUSHBUTTON, place.id,
                   columnX(place.column), rowY(place.row), buttonWidth, buttonHeight);

    int searchRow = rowY(2);
    addControl("STATIC", "Search text:", SS_LEFT | SS_CENTERIMAGE, IDC_SEARCH_LABEL, margin, searchRow,
               searchLabelWidth, buttonHeight);
    int editLeft = margin + searchLabelWidth;
    searchEdit = addControl("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, IDC_SEARCH_TEXT, editLeft, searchRow,
                            columnX(5) + buttonWidth - editLeft, buttonHeight, WS_EX_CLIENTEDGE);
    SendMessageA(searchEdit, EM_LIMITTEXT, 1000, 0);

    int stateTop = rowY(3);
    windowStateLine = addControl("STATIC", "", SS_LEFT | SS_CENTERIMAGE, IDC_WINDOW_STATE, margin, stateTop,
                                 contentWidth, lineHeight);
    addControl("STATIC", "Texts received from and sent to ORDANE-Lumo:", SS_LEFT | SS_CENTERIMAGE,
               IDC_HISTORY_LABEL, margin, stateTop + lineHeight, contentWidth, lineHeight);
    historyList = addControl("LISTBOX", "",
                             WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS | LBS_NOSEL,
                             IDC_HISTORY, margin, historyTop, contentWidth, initialHistoryHeight,
                             WS_EX_CLIENTEDGE);
    // Columns: number, time, direction, text (in dialog units).
    INT tabStops[] = {20, 70, 115};
    SendMessageA(historyList, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(tabStops));
    showWindowState();
    return 0;
}

// The history list takes whatever height the window has below the controls.
LRESULT onSize(int clientWidth, int clientHeight)
{
    int width = clientWidth - 2 * scaled(margin);
    int height = clientHeight - scaled(historyTop) - scaled(margin);
    MoveWindow(historyList, scaled(margin), scaled(historyTop), width > 0 ? width : 0,
               height > 0 ? height : 0, TRUE);
    return 0;
}

// The window is never narrower than its buttons nor too low for a few rows.
LRESULT onGetMinMaxInfo(MINMAXINFO* limits)
{
    RECT frame = {0, 0, scaled(contentWidth + 2 * margin),
                  scaled(historyTop + minimumHistoryHeight + margin)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    limits->ptMinTrackSize.x = frame.right - frame.left;
    limits->ptMinTrackSize.y = frame.bottom - frame.top;
    return 0;
}

LRESULT onCommand(int id, int notification)
{
    if (notification != BN_CLICKED)
        return 0;
    for (const Command& command : commands) {
        if (command.id == id) {
            command.run(command.argument);
            break;
        }
    }
    return 0;
}

LRESULT onTimer(WPARAM timer)
{
    if (timer == scriptTimer)
        runScript();
    return 0;
}

LRESULT CALLBACK standInWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Registered messages are not constants, so they are tested before the switch.
    if (message == transferMessage && transferMessage != 0)
        return onTransfer(wParam, lParam);
    switch (message) {
    case WM_CREATE:        return onCreate(window);
    case WM_SIZE:          return onSize(LOWORD(lParam), HIWORD(lParam));
    case WM_GETMINMAXINFO: return onGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_COMMAND:       return onCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_TIMER:         return onTimer(wParam);
    case WM_DESTROY:       PostQuitMessage(exitCode); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// ---- Start-up -------------------------------------------------------------

std::string narrowText(const wchar_t* text)
{
    char narrow[512];
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return length > 0 ? narrow : "";
}

// Reads the options into `options`.  Returns an error text, empty when the
// command line is good.
std::string parseCommandLine()
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return "cannot read the command line";
    std::string error;
    for (int i = 1; i < count && error.empty(); ++i) {
        std::wstring option = arguments[i];
        std::wstring* path = option == L"--log"      ? &options.logPath
                             : option == L"--script" ? &options.scriptPath
                             : option == L"--ready"  ? &options.readyPath
                                                     : nullptr;
        if (option == L"--hidden")
            options.hidden = true;
        else if (!path)
            error = "unknown option " + narrowText(arguments[i]);
        else if (i + 1 >= count)
            error = "an option lacks its FILE";
        else
            *path = arguments[++i];
    }
    LocalFree(arguments);
    return error;
}

void reportUsageError(const std::string& error)
{
    std::string text = "ORDANE: " + error + "\n\n" + usageText;
    std::fputs(text.c_str(), stderr);
    if (!options.hidden)
        MessageBoxA(nullptr, text.c_str(), windowTitle, MB_OK | MB_ICONSTOP);
}

bool createReadyFile()
{
    std::FILE* file = _wfopen(options.readyPath.c_str(), L"wb");
    if (!file)
        return false;
    std::fputs("ready\n", file);
    std::fclose(file);
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    std::string error = parseCommandLine();
    if (error.empty() && !options.scriptPath.empty())
        error = loadScript(options.scriptPath);
    if (error.empty() && !options.logPath.empty() && !(logFile = _wfopen(options.logPath.c_str(), L"ab")))
        error = "cannot open the log file";
    if (!error.empty()) {
        reportUsageError(error);
        return exitUsage;
    }

    transferMessage = RegisterWindowMessageA(transferMessageName);
    measureGuiFont();

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = standInWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = standInClass;
    RegisterClassA(&windowClass);

    RECT frame = {0, 0, scaled(contentWidth + 2 * margin),
                  scaled(historyTop + initialHistoryHeight + margin)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    CreateWindowExA(0, standInClass, windowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                    CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                    instance, nullptr);
    if (!mainWindow || transferMessage == 0) {
        std::fputs("ORDANE: cannot create the window\n", stderr);
        return exitUsage;
    }
    if (!options.hidden) {
        ShowWindow(mainWindow, showCommand);
        UpdateWindow(mainWindow);
    }
    if (!options.readyPath.empty() && !createReadyFile()) {
        reportUsageError("cannot create the ready file");
        DestroyWindow(mainWindow);
        return exitUsage;
    }
    if (!script.empty()) {
        SetTimer(mainWindow, scriptTimer, scriptTickMs, nullptr);
        runScript();
    }

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Gives Tab between the controls and Enter in the search field.
        if (IsWindow(mainWindow) && IsDialogMessageA(mainWindow, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (logFile)
        std::fclose(logFile);
    return static_cast<int>(message.wParam);
}
