#include "e2e/e2e_support.h"

#include <fstream>

namespace {

// Message boxes keep their text in a static control with this id.
constexpr int messageBoxTextId = 0xFFFF;
constexpr UINT sendTimeoutMs = 5000;
constexpr DWORD pollIntervalMs = 10;
constexpr UINT ansiCodePage = 1252;

struct WindowSearch {
    DWORD processId;
    const char* windowClass;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && (!search->windowClass || className(window) == search->windowClass))
        search->found.push_back(window);
    return TRUE;
}

bool holdsEdit(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (className(child) == "Edit")
            return true;
    return false;
}

// The text of a message box: the control made for it, or else the longest
// static text (some systems number it differently).
std::string messageBoxText(HWND box)
{
    if (HWND text = GetDlgItem(box, messageBoxTextId); text && className(text) == "Static")
        return windowText(text);
    std::string longest;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (className(child) != "Static")
            continue;
        std::string text = windowText(child);
        if (text.size() > longest.size())
            longest = text;
    }
    return longest;
}

}  // namespace

// ---- Files and paths ----

std::string windowsPathOf(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::optional<std::string> readWholeFile(const std::string& path)
{
    // Shared access: the calendar stand-in keeps its log file open.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool writeWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

ULONGLONG lastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// ---- Processes ----

ChildProcess startProcess(const std::string& commandLine, const std::string& directory)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;   // CreateProcess may write into it
    ChildProcess process;
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &startup,
                       &info)) {
        CloseHandle(info.hThread);
        process.handle = info.hProcess;
        process.id = info.dwProcessId;
    }
    return process;
}

bool isRunning(const ChildProcess& process)
{
    return process.handle && WaitForSingleObject(process.handle, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> waitForExit(const ChildProcess& process, DWORD timeoutMs)
{
    if (!process.handle || WaitForSingleObject(process.handle, timeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process.handle, &code);
    return code;
}

void endProcess(ChildProcess& process)
{
    if (!process.handle)
        return;
    if (isRunning(process)) {
        TerminateProcess(process.handle, 99);
        WaitForSingleObject(process.handle, waitLimitMs);
    }
    CloseHandle(process.handle);
    process = {};
}

// ---- Waiting ----

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs, const ChildProcess* watched)
{
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        // The poll interval doubles as the wait for the watched process.
        if (watched && watched->handle) {
            if (WaitForSingleObject(watched->handle, pollIntervalMs) == WAIT_OBJECT_0)
                return condition();
        } else {
            Sleep(pollIntervalMs);
        }
    }
}

// ---- Windows of other processes ----

std::string className(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string windowText(HWND window)
{
    // Read as UTF-16 and convert with the fixed code page, so the bytes
    // compared do not depend on the locale the test runs in.
    wchar_t wide[2048] = L"";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, sizeof wide / sizeof wide[0], reinterpret_cast<LPARAM>(wide),
                             SMTO_ABORTIFHUNG, sendTimeoutMs, &length))
        return "";
    char narrow[4096] = "";
    int bytes = WideCharToMultiByte(ansiCodePage, 0, wide, static_cast<int>(length), narrow, sizeof narrow,
                                    nullptr, nullptr);
    return std::string(narrow, bytes > 0 ? static_cast<size_t>(bytes) : 0);
}

bool setWindowText(HWND window, const std::string& text)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               sendTimeoutMs, &result) != 0 &&
           result == TRUE;
}

std::vector<HWND> topLevelWindows(DWORD processId, const char* windowClass)
{
    WindowSearch search{processId, windowClass, {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND childDialogHolding(HWND parent, int controlId)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (className(child) == "#32770" && GetDlgItem(child, controlId))
            return child;
    return nullptr;
}

HWND dialogHolding(DWORD processId, int controlId)
{
    for (HWND dialog : topLevelWindows(processId, "#32770"))
        if (IsWindowVisible(dialog) && GetDlgItem(dialog, controlId))
            return dialog;
    return nullptr;
}

void pressButton(HWND dialog, int buttonId)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

std::vector<SeenMessageBox> messageBoxes(DWORD processId)
{
    std::vector<SeenMessageBox> boxes;
    for (HWND dialog : topLevelWindows(processId, "#32770")) {
        // Invisible until its text is in place.
        if (!IsWindowVisible(dialog) || holdsEdit(dialog) || !GetDlgItem(dialog, messageBoxTextId))
            continue;
        boxes.push_back({dialog, windowText(dialog), messageBoxText(dialog)});
    }
    return boxes;
}

// ---- Real input ----

namespace {

INPUT keyInput(WORD key, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return input;
}

INPUT unicodeInput(wchar_t character, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (down ? 0 : KEYEVENTF_KEYUP);
    return input;
}

void send(std::vector<INPUT>& inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT mouseInput(DWORD flags, LONG x = 0, LONG y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

void pressKey(WORD key, std::initializer_list<WORD> modifiers)
{
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers)
        inputs.push_back(keyInput(modifier, true));
    inputs.push_back(keyInput(key, true));
    inputs.push_back(keyInput(key, false));
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        inputs.push_back(keyInput(*m, false));
    send(inputs);
}

void typeText(const std::string& text)
{
    std::vector<INPUT> inputs;
    for (char c : text) {
        wchar_t wide = 0;
        MultiByteToWideChar(ansiCodePage, 0, &c, 1, &wide, 1);
        SHORT scan = VkKeyScanW(wide);
        // Low byte: the key; high byte: 1 Shift, 2 Ctrl, 4 Alt.  A letter
        // that needs Ctrl or Alt (AltGr) is typed as Unicode instead.
        if (scan == -1 || (HIBYTE(scan) & ~1) != 0) {
            inputs.push_back(unicodeInput(wide, true));
            inputs.push_back(unicodeInput(wide, false));
            continue;
        }
        bool shift = HIBYTE(scan) & 1;
        if (shift)
            inputs.push_back(keyInput(VK_SHIFT, true));
        inputs.push_back(keyInput(LOBYTE(scan), true));
        inputs.push_back(keyInput(LOBYTE(scan), false));
        if (shift)
            inputs.push_back(keyInput(VK_SHIFT, false));
    }
    send(inputs);
}

void clickAt(HWND window, POINT clientPoint)
{
    POINT screen = clientPoint;
    ClientToScreen(window, &screen);
    // Absolute mouse coordinates run from 0 to 65535 across the screen.
    LONG x = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    LONG y = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    std::vector<INPUT> inputs = {mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y),
                                 mouseInput(MOUSEEVENTF_LEFTDOWN), mouseInput(MOUSEEVENTF_LEFTUP)};
    send(inputs);
}

void moveMouseTo(HWND window, POINT clientPoint)
{
    POINT screen = clientPoint;
    ClientToScreen(window, &screen);
    LONG x = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    LONG y = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    std::vector<INPUT> inputs = {mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y)};
    send(inputs);
}

void pressLeftButton()
{
    std::vector<INPUT> inputs = {mouseInput(MOUSEEVENTF_LEFTDOWN)};
    send(inputs);
}

void releaseLeftButton()
{
    std::vector<INPUT> inputs = {mouseInput(MOUSEEVENTF_LEFTUP)};
    send(inputs);
}

COLORREF screenPixel(HWND window, POINT clientPoint)
{
    POINT screen = clientPoint;
    ClientToScreen(window, &screen);
    HDC dc = GetDC(nullptr);
    COLORREF colour = GetPixel(dc, screen.x, screen.y);
    ReleaseDC(nullptr, dc);
    return colour;
}

std::optional<std::string> clipboardText()
{
    if (!OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void clearClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}
