#include "e2e/e2e_support.h"

#include <fstream>

namespace {

// Message boxes keep their text in a static control with this id.
constexpr int messageBoxTextId = 0xFFFF;
constexpr UINT sendTimeoutMs = 5000;
constexpr DWORD pollIntervalMs = 10;

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
        boxes.push_back({dialog, windowText(dialog), windowText(GetDlgItem(dialog, messageBoxTextId))});
    }
    return boxes;
}
