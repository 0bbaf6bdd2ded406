#include "shell/main_window.h"

#include "calendar/calendar_link.h"
#include "calendar/calendar_protocol.h"
#include "files/config.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/layout.h"
#include "shell/shutdown.h"
#include "shell/strips.h"
#include "host/ui_busy.h"
#include "shell/win32_host.h"
#include "store/store.h"
#include "views/activation.h"
#include "views/view_fonts.h"
#include "views/view_state.h"
#include "views/view_windows.h"

namespace {

bool isMainUnminimized(HWND window)
{
    return window == mainWindow && !IsIconic(window);
}

void rememberMainWindowRect(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    mainWindowRect = {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void moveView(HWND view, const WindowRect& r)
{
    if (view)
        MoveWindow(view, r.x, r.y, r.width, r.height, TRUE);
}

LRESULT onCreate(HWND window)
{
    mainWindow = window;
    greetCalendar();
    return 0;
}

LRESULT onSize(HWND window, LPARAM lParam)
{
    if (!isMainUnminimized(window))
        return 0;
    rememberMainWindowRect(window);
    if (toolbar)
        MoveWindow(toolbar, 0, 0, LOWORD(lParam), toolbarHeight, TRUE);
    layoutChildWindows();
    return 0;
}

void onSetFocus(HWND window)
{
    if (window != mainWindow)
        return;
    if (activeView == ActiveView::LostOverview) {
        activeView = ActiveView::Overview;
        EnableMenuItem(currentMenu(), IDM_PASTE, MF_BYCOMMAND | MF_GRAYED);
    } else if (activeView == ActiveView::LostDataView) {
        activeView = ActiveView::DataView;
        EnableMenuItem(currentMenu(), IDM_PASTE, MF_BYCOMMAND | MF_ENABLED);
    }
    if (HWND view = activeViewWindow())
        BringWindowToTop(view);
    redrawCaptionStrips();
}

void onKillFocus(HWND window, HWND gainingFocus)
{
    if (window != mainWindow || gainingFocus == mainWindow || IsChild(mainWindow, gainingFocus))
        return;
    if (activeView == ActiveView::Overview)
        activeView = ActiveView::LostOverview;
    else if (activeView == ActiveView::DataView)
        activeView = ActiveView::LostDataView;
    redrawCaptionStrips();
}

LRESULT onQueryEndSession()
{
    if (!shutdownDone && !shutdown(true))
        return FALSE;   // the user keeps working: the session does not end
    shutdownDone = true;
    PostQuitMessage(0);
    return 1;
}

void onGetMinMaxInfo(HWND window, MINMAXINFO* info)
{
    if (!isMainUnminimized(window))
        return;
    info->ptMinTrackSize.x = toolbarWidth + GetSystemMetrics(SM_CXHTHUMB) +
                             2 * (GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXBORDER));
    info->ptMinTrackSize.y = toolbarHeight + 3 * captionHeight + 4 * overviewLineHeight;
}

bool isRoutedKey(WPARAM key)
{
    switch (key) {
    case VK_BACK: case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_PRIOR: case VK_NEXT:
    case VK_END: case VK_HOME: case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_INSERT: case VK_DELETE:
        return true;
    default:
        return false;
    }
}

// Enter and Tab in the Overview, Tab and Esc in the Data view switch
// between the views; Insert makes a new entry; everything else is the
// active view's.
void onKeyDown(WPARAM key)
{
    if (uiBusy || !isRoutedKey(key))
        return;
    bool overviewActive = activeView == ActiveView::Overview;
    bool dataViewActive = activeView == ActiveView::DataView;
    if (key == VK_INSERT) {
        runCommand(IDM_NEWENTRY);
    } else if (overviewActive && (key == VK_RETURN || key == VK_TAB)) {
        activateDataView();
    } else if (dataViewActive && (key == VK_TAB || key == VK_ESCAPE)) {
        activateOverview();
    } else if (overviewActive) {
        overviewKey(key);
    } else if (dataViewActive) {
        dataViewKey(key);
    }
}

void onCharacter(HWND window, WPARAM code)
{
    if (window != mainWindow || uiBusy)
        return;
    auto c = static_cast<unsigned char>(code);
    if (activeView == ActiveView::Overview)
        overviewCharacter(c);
    else if (activeView == ActiveView::DataView)
        dataViewCharacter(c);
}

void onMouseWheel(WPARAM wParam)
{
    if (uiBusy)
        return;
    int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    if (activeView == ActiveView::Overview)
        overviewWheel(delta);
    else if (activeView == ActiveView::DataView)
        dataViewWheel(delta);
}

LRESULT onSysCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    static const char* openTexts[] = {"OpenKal1", "OpenKal2", "OpenKal3", "OpenKal4"};
    if (wParam >= IDM_CALENDAR1 && wParam <= IDM_CALENDAR4) {
        openCalendarWindow(openTexts[wParam - IDM_CALENDAR1], false);
        return 0;
    }
    if (wParam == IDM_QUIT) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
}

}  // namespace

void layoutChildWindows()
{
    if (windowArrangement != 1 && windowArrangement != 2)
        return;
    RECT client;
    GetClientRect(mainWindow, &client);
    ChildLayout layout = layoutChildren(windowArrangement, client.right, client.bottom, toolbarHeight);
    overviewRect = layout.overview;
    dataViewRect = layout.dataView;
    moveView(overviewWindow, overviewRect);
    moveView(dataViewWindow, dataViewRect);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (shutdownDone)
        return DefWindowProcA(window, message, wParam, lParam);
    ensureStoreCapacity();
    if (message == transferMessage && transferMessage != 0) {
        onTransferMessage(wParam, lParam);
        return 0;
    }

    switch (message) {
    case WM_CREATE:          return onCreate(window);
    // Closing ends the message loop but keeps the window, so that a failed
    // save at quit can still return to it.
    case WM_CLOSE:           PostQuitMessage(0); return 0;
    case WM_DESTROY:         PostQuitMessage(0); return 0;
    case WM_MOVE:            if (isMainUnminimized(window)) rememberMainWindowRect(window); return 0;
    case WM_SIZE:            return onSize(window, lParam);
    case WM_SETFOCUS:        onSetFocus(window); return 0;
    case WM_KILLFOCUS:       onKillFocus(window, reinterpret_cast<HWND>(wParam)); return 0;
    case WM_QUERYENDSESSION: return onQueryEndSession();
    case WM_GETMINMAXINFO:   onGetMinMaxInfo(window, reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_DISPLAYCHANGE:   remakeToolbarPattern(); return 0;
    case WM_KEYDOWN:         onKeyDown(wParam); return 0;
    case WM_CHAR:            onCharacter(window, wParam); return 0;
    case WM_MOUSEWHEEL:      onMouseWheel(wParam); return 0;
    case WM_COMMAND:
        if (runCommand(LOWORD(wParam)))
            return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_SYSCOMMAND:      return onSysCommand(window, wParam, lParam);
    case WM_PAINT:
        if (window == mainWindow) {
            PAINTSTRUCT ps;
            BeginPaint(window, &ps);
            EndPaint(window, &ps);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
