#include "gui/gui_support.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <thread>

#include "calendar/calendar_protocol.h"
#include "files/config.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/main_window.h"

bool pumpUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        pumpPending();
        if (cond())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(50, timeoutMs - elapsed), QS_ALLINPUT);
    }
}

// ---- Dialogs ----

namespace {

HHOOK dialogHook;
std::deque<DialogAnswer> answers;
std::vector<SeenDialog> seen;

constexpr int messageBoxTextId = 0xFFFF;

bool isDialog(HWND window)
{
    return className(window) == "#32770";
}

LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (isDialog(window) && !GetPropA(window, "lumo-test-seen")) {
            SetPropA(window, "lumo-test-seen", reinterpret_cast<HANDLE>(1));
            bool messageBox = GetDlgItem(window, messageBoxTextId) != nullptr;
            seen.push_back({windowText(window), messageBox ? windowText(GetDlgItem(window, messageBoxTextId)) : ""});
            DialogAnswer answer{messageBox ? IDNO : IDCANCEL, {}, {}};
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
            for (const auto& [id, text] : answer.fields)
                SetDlgItemTextA(window, id, text.c_str());
            for (const auto& [id, on] : answer.checks)
                CheckDlgButton(window, id, on ? BST_CHECKED : BST_UNCHECKED);
            if (answer.button != 0)
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(dialogHook, code, wParam, lParam);
}

}  // namespace

void watchDialogs()
{
    if (!dialogHook)
        dialogHook = SetWindowsHookExA(WH_CBT, cbtHook, nullptr, GetCurrentThreadId());
}

void answerNextDialog(DialogAnswer answer)
{
    answers.push_back(std::move(answer));
}

std::vector<SeenDialog>& seenDialogs()
{
    return seen;
}

// ---- Calendar ----

namespace {

HWND calendar;

}  // namespace

HWND createTestCalendar()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = calendarWindowClass;
    RegisterClassA(&windowClass);
    calendar = CreateWindowExA(0, calendarWindowClass, "test calendar", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    return calendar;
}

void destroyTestCalendar()
{
    if (calendar)
        DestroyWindow(calendar);
    calendar = nullptr;
}

// ---- Reading menus ----

std::string menuText(HMENU menu, UINT id)
{
    char text[600] = "";
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

bool menuItemGrayed(HMENU menu, UINT id)
{
    return (GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) != 0;
}

bool menuItemChecked(HMENU menu, UINT id)
{
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// ---- Driving the main window ----

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

void type(const std::string& text)
{
    for (unsigned char c : text)
        SendMessageA(mainWindow, WM_CHAR, c, 0);
}

void wheel(int delta)
{
    SendMessageA(mainWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<SHORT>(delta))), 0);
}

void holdKeys(bool shift, bool control)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
}

void startFresh()
{
    holdKeys(false, false);
    command(IDM_NEW);
    if (windowArrangement != 1)
        command(IDM_SIDEBYSIDE);
    layoutChildWindows();
    seenDialogs().clear();
}

bool dragWithButtonHeld(HWND window, POINT from, POINT to, std::function<bool()> letGo)
{
    SetForegroundWindow(mainWindow);
    moveMouseTo(window, from);
    pumpPending();
    std::atomic<bool> released = false;
    const HCURSOR heldCursor = LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    std::thread hand([&] {
        auto waitFor = [](const std::function<bool()>& cond) {
            const DWORD start = GetTickCount();
            while (!cond() && GetTickCount() - start < 3000)
                Sleep(10);
        };
        pressLeftButton();
        waitFor([&] {
            CURSORINFO info{};
            info.cbSize = sizeof info;
            GetCursorInfo(&info);
            return info.hCursor == heldCursor;
        });
        moveMouseTo(window, to);
        waitFor(letGo);
        releaseLeftButton();
        released = true;
    });
    bool done = pumpUntil([&] { return released.load(); }, 10000);
    hand.join();
    pumpPending();
    return done;
}

// ---- Pixels and GDI objects ----

PaintedWindow::PaintedWindow(HWND window, std::function<void(HDC, int)> paintMode)
    : PaintedWindow(clientRect(window).right, clientRect(window).bottom)
{
    this->paintMode = std::move(paintMode);
    paint(0);
}

PaintedWindow::PaintedWindow(int width, int height) : width(width), height(height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous = SelectObject(dc, bitmap);
    clear();
}

void PaintedWindow::clear()
{
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

PaintedWindow::~PaintedWindow()
{
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// Wine answers GetGuiResources with 0; its handle table accepts a handle
// made of the bare slot number, so there the slots in use are counted.
long gdiObjectCount()
{
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0)
        return static_cast<long>(counted);
    long n = 0;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
        n += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    return n;
}
