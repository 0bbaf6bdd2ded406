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
        moveCalendarOutOfTheWay();
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

    // The stand-in's window goes to the bottom right corner, clear of the
    // address book's centred window.
    void moveCalendarOutOfTheWay()
    {
        for (HWND window : topLevelWindows(calendar.id, "ORDANE")) {
            int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
            SetWindowPos(window, nullptr, width - 80, height - 60, 80, 60, SWP_NOZORDER | SWP_NOACTIVATE);
        }
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

    // Select all and copy in the active view; the clipboard text that results.
    std::string copyAll()
    {
        clearClipboard();
        pressKey('A', {VK_CONTROL});
        pressKey('C', {VK_CONTROL});
        std::string text;
        waitUntil(
            [&] {
                text = clipboardText().value_or("");
                return !text.empty();
            },
            waitLimitMs, &lumo);
        return text;
    }

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
        SeenMessageBox box;
        waitUntil([&] {
            auto boxes = messageBoxes(lumo.id);
            if (!boxes.empty())
                box = boxes.front();
            return box.window || !isRunning(lumo);
        });
        if (box.window && box.text == saveQuestion)
            answer(box, IDNO, lumo);
        expectCleanExit(lumo);
    }
};
