#include "gui/gui_support.h"

#include <algorithm>
#include <deque>
#include <map>

#include "exchange/calendar_protocol.h"

bool pumpUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (cond())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(50, timeoutMs - elapsed), QS_ALLINPUT);
    }
}

void pumpPending()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
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
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
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
UINT calendarMessage;
std::vector<std::string> received;
std::map<uint32_t, char> pending;
int32_t pendingExpected = -1;
int32_t pendingCount = 0;

// A decoder of its own: the address book's receiver state lives in the
// same process and must not be shared.
void receive(uint32_t position, uint32_t value)
{
    if (position == countMarker) {
        pendingExpected = static_cast<int32_t>(value);
    } else {
        ++pendingCount;
        if (value != 0)
            pending[position] = static_cast<char>(value);
    }
    if (pendingCount != pendingExpected)
        return;
    std::string text;
    for (uint32_t i = 0; pending.count(i); ++i)
        text += pending[i];
    received.push_back(text);
    pending.clear();
    pendingExpected = -1;
    pendingCount = 0;
}

LRESULT CALLBACK calendarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == calendarMessage && calendarMessage != 0) {
        receive(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND createTestCalendar()
{
    calendarMessage = RegisterWindowMessageA(transferMessageName);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = calendarProc;
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

std::vector<std::string>& calendarTexts()
{
    return received;
}

void sendFromCalendar(const std::string& text)
{
    HWND lumo = FindWindowA("ORDANE-Lumo", nullptr);
    for (auto m : encodeCalendarText(text))
        PostMessageA(lumo, calendarMessage, m.position, static_cast<LPARAM>(m.value));
}

bool waitForCalendarText(const std::string& text, DWORD timeoutMs)
{
    return pumpUntil(
        [&] {
            for (const auto& t : received)
                if (t == text)
                    return true;
            return false;
        },
        timeoutMs);
}

// ---- Reading windows and menus ----

std::string windowText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

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
