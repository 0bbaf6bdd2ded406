#include "win/win_support.h"

#include <cstring>
#include <vector>

namespace {

constexpr UINT sendTimeoutMs = 5000;
constexpr UINT ansiCodePage = 1252;

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

void sendMouse(DWORD flags, LONG x = 0, LONG y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

bool openClipboard()
{
    for (int tries = 0; tries < 200; ++tries) {
        if (OpenClipboard(nullptr))
            return true;
        Sleep(10);
    }
    return false;
}

}  // namespace

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

RECT clientRect(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

void pumpPending()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void pressKey(WORD key, std::initializer_list<WORD> modifiers)
{
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers)
        inputs.push_back(keyInput(modifier, true));
    inputs.push_back(keyInput(key, true));
    inputs.push_back(keyInput(key, false));
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        inputs.push_back(keyInput(*m, false));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
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
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void moveMouseTo(HWND window, POINT clientPoint)
{
    POINT screen = clientPoint;
    ClientToScreen(window, &screen);
    // Absolute mouse coordinates run from 0 to 65535 across the screen.
    sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1,
              MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1);
}

void pressLeftButton()
{
    sendMouse(MOUSEEVENTF_LEFTDOWN);
}

void releaseLeftButton()
{
    sendMouse(MOUSEEVENTF_LEFTUP);
}

void clickAt(HWND window, POINT clientPoint)
{
    moveMouseTo(window, clientPoint);
    pressLeftButton();
    releaseLeftButton();
}

COLORREF screenPixel(HWND window, POINT clientPoint)
{
    // Wine keeps what a process draws in a surface of its own and shows it
    // on the screen a moment later: a window of this process is read where
    // it was drawn, another process's window from the screen.
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    HWND source = owner == GetCurrentProcessId() ? window : nullptr;
    POINT at = clientPoint;
    if (!source)
        ClientToScreen(window, &at);
    HDC dc = GetDC(source);
    COLORREF colour = GetPixel(dc, at.x, at.y);
    ReleaseDC(source, dc);
    return colour;
}

std::optional<std::string> clipboardText()
{
    if (!openClipboard())
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
    if (openClipboard()) {
        EmptyClipboard();
        CloseClipboard();
    }
}

void putOnClipboard(const std::string& text)
{
    if (!openClipboard())
        return;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}
