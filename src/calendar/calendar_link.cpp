#include "calendar/calendar_link.h"

#include "calendar/calendar_protocol.h"
#include "find/search.h"
#include "shell/app.h"
#include "host/texts.h"
#include "shell/win32_host.h"

#include <cstring>

namespace {

HWND findCalendar()
{
    return FindWindowA(calendarWindowClass, nullptr);
}

void setButtonPressed(int id, bool pressed)
{
    if (toolbar)
        SendDlgItemMessageA(toolbar, id, BM_SETSTATE, pressed ? 1 : 0, 0);
}

void actOnCalendarText(const char* text)
{
    CalendarRequest request = interpretCalendarText(text);
    for (auto change : request.buttons)
        setButtonPressed(change.buttonId, change.pressed);
    if (request.quit)
        PostQuitMessage(0);
    if (request.search) {
        std::memset(searchText, 0, sizeof searchText);
        std::memcpy(searchText, request.searchText.data(), request.searchText.size());
        searchNext();
    }
}

}  // namespace

int32_t sendToCalendar(const char* text)
{
    HWND calendarWindow = findCalendar();
    if (!calendarWindow)
        return -1;
    resetCalendarReceiver();
    for (auto m : encodeCalendarText(text))
        PostMessageA(calendarWindow, transferMessage, m.position, static_cast<LPARAM>(m.value));
    return 0;
}

void onTransferMessage(WPARAM position, LPARAM value)
{
    if (receiveTransfer(static_cast<uint32_t>(position), static_cast<uint32_t>(value)))
        actOnCalendarText(receiveBuffer);
}

void greetCalendar()
{
    if (sendToCalendar(greetingText) != -1)
        return;
    MessageBeep(0);
    lumoMessageBox(nullptr, "You\x92ve not started a ORDANE!", captionMain,
                   MB_OK | MB_ICONSTOP | MB_SETFOREGROUND | MB_TOPMOST);
    PostQuitMessage(0);
}

void openCalendarWindow(const char* text, bool bringCalendarToFront)
{
    SetFocus(mainWindow);
    if (bringCalendarToFront) {
        if (HWND calendarWindow = findCalendar())
            SetForegroundWindow(calendarWindow);
    }
    sendToCalendar(text);
}
