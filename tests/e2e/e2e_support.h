// Helpers for the end-to-end tests: starting the real programs as child
// processes, waiting on what they do with a deadline, and reading and
// driving the windows of another process from outside.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win/win_support.h"

// Every wait of the suite gives up after this long.
inline constexpr DWORD waitLimitMs = 20000;

// ---- Files and paths ----

// Wine shows the Unix root as drive Z:, so "/x/y" is "Z:\x\y" inside.
std::string windowsPathOf(const std::string& unixPath);

std::optional<std::string> readWholeFile(const std::string& path);
bool writeWholeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
// The last-write time, 0 when the file is missing.
ULONGLONG lastWriteTime(const std::string& path);

// ---- Processes ----

struct ChildProcess {
    HANDLE handle = nullptr;
    DWORD id = 0;
};

// Starts commandLine in directory; the handle is empty when it failed.
ChildProcess startProcess(const std::string& commandLine, const std::string& directory);
bool isRunning(const ChildProcess& process);
// The exit code, or nothing when the process is still running at the deadline.
std::optional<DWORD> waitForExit(const ChildProcess& process, DWORD timeoutMs = waitLimitMs);
// Kills the process when it still runs and closes its handle.
void endProcess(ChildProcess& process);

// ---- Waiting ----

// Polls condition until it holds or timeoutMs passes.  When watched is
// given, the wait also ends as soon as that process has exited.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs = waitLimitMs,
               const ChildProcess* watched = nullptr);

// ---- Windows of other processes ----

bool setWindowText(HWND window, const std::string& text);
// The top-level windows of a process, optionally only those of one class.
std::vector<HWND> topLevelWindows(DWORD processId, const char* windowClass = nullptr);
// The direct child dialog of parent that holds a control with controlId.
HWND childDialogHolding(HWND parent, int controlId);
// A visible top-level dialog of the process that holds a control with controlId.
HWND dialogHolding(DWORD processId, int controlId);
// Clicks the button the way the dialog manager reports it: WM_COMMAND with
// BN_CLICKED, posted.
void pressButton(HWND dialog, int buttonId);

struct SeenMessageBox {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

// The message boxes the process has open now.
std::vector<SeenMessageBox> messageBoxes(DWORD processId);
