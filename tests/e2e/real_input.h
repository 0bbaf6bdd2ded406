// The keyboard and the mouse as a user has them, for tests that drive the
// real program through SendInput: the sample book opened at start-up, the
// stand-in moved aside, and helpers that read back what the views hold.
#pragma once

#include "e2e/e2e_fixture.h"

constexpr const char* overviewClass = "Uebersicht";

class RealInput : public EndToEnd {
protected:
    ChildProcess lumo;
    HWND mainWindow = nullptr;
    HWND overview = nullptr;
    HWND dataView = nullptr;
    HWND toolbar = nullptr;
    std::string book;

    // The sample book (or the bytes given) opened at start-up, the stand-in
    // shown so that it can take the activation away.
    void startWithSampleBook(const std::vector<std::string>& calendarScript = {}, const std::string& bookBytes = {})
    {
        book = bookWithSettings(false);
        if (!bookBytes.empty()) {
            ASSERT_TRUE(writeWholeFile(book, bookBytes));
        }
        ASSERT_NO_FATAL_FAILURE(startCalendar(calendarScript, true));
        // The stand-in's window goes to the bottom right corner, clear of
        // the address book's centred window.
        for (HWND window : topLevelWindows(calendar.id, "ORDANE")) {
            int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
            SetWindowPos(window, nullptr, width - 80, height - 60, 80, 60, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        lumo = startLumo();
        mainWindow = waitForMainWindow(lumo);
        ASSERT_TRUE(mainWindow) << "no main window";
        overview = FindWindowExA(mainWindow, nullptr, overviewClass, nullptr);
        dataView = FindWindowExA(mainWindow, nullptr, dataViewClass, nullptr);
        toolbar = childDialogHolding(mainWindow, IDM_CALENDAR1);
        ASSERT_TRUE(overview && dataView && toolbar);
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == mainWindow; }, waitLimitMs, &lumo))
            << "the program did not come to the front at start-up";
        clearClipboard();
    }

    // Clicks a point of the window, which must be the window the user sees there.
    void click(HWND window, POINT point)
    {
        POINT screen = point;
        ClientToScreen(window, &screen);
        HWND hit = WindowFromPoint(screen);
        ASSERT_TRUE(hit == window || IsChild(window, hit)) << "something covers the point clicked";
        clickAt(window, point);
    }

    void clickCentre(HWND window)
    {
        RECT r;
        GetClientRect(window, &r);
        click(window, {r.right / 2, r.bottom / 2});
    }

    // The dialog of the program that holds a control, once it is open.
    HWND waitForDialog(int controlId)
    {
        HWND dialog = nullptr;
        waitUntil([&] { return (dialog = dialogHolding(lumo.id, controlId)) != nullptr; }, waitLimitMs, &lumo);
        return dialog;
    }
    // Whatever dialog of the program is in front, once there is one.
    HWND waitForFrontDialog()
    {
        HWND dialog = nullptr;
        const bool found = waitUntil(
            [&] {
                DWORD owner = 0;
                GetWindowThreadProcessId(dialog = GetForegroundWindow(), &owner);
                return owner == lumo.id && className(dialog) == "#32770";
            },
            waitLimitMs, &lumo);
        return found ? dialog : nullptr;
    }
    // The text that arrives on the (cleared) clipboard.
    std::string waitForClipboard()
    {
        std::string text;
        waitUntil([&] { return !(text = clipboardText().value_or("")).empty(); }, waitLimitMs, &lumo);
        return text;
    }

    // Ctrl+C, with Ctrl+A before it when whole; the text that results.
    std::string copy(bool whole = false)
    {
        clearClipboard();
        if (whole)
            pressKey('A', {VK_CONTROL});
        pressKey('C', {VK_CONTROL});
        return waitForClipboard();
    }
    std::string copyAll() { return copy(true); }

    // Types a heading's beginning into the Overview and opens the entry
    // found in the Data view: the entry's text as copied from there.
    std::string findAndOpen(const std::string& prefix)
    {
        typeText(prefix);
        pressKey(VK_RETURN);
        return copyAll();
    }

    void quitWithoutSaving()
    {
        pressKey('Q', {VK_CONTROL});
        SeenMessageBox box = waitForMessageBox(lumo);   // or the program's end
        if (box.window && box.text == saveQuestion)
            answer(box, IDNO, lumo);
        expectCleanExit(lumo);
    }
};
