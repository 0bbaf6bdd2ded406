#include "views/view_windows.h"

#include "files/config.h"
#include "shell/app.h"
#include "views/activation.h"
#include "views/view_state.h"

// FIXME: the Overview's list and the Data view's entry are not drawn yet;
// both views show their caption strip over their background colour.

namespace {

void paintView(HWND window, const char* caption, bool active, COLORREF background)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(background);
    RECT below = {0, captionHeight, client.right, client.bottom};
    FillRect(dc, &below, brush);
    DeleteObject(brush);
    paintCaptionStrip(dc, client.right, caption, active);
    EndPaint(window, &ps);
}

// The views never keep the keyboard: every key goes to the main window.
LRESULT commonViewMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool isOverview)
{
    switch (message) {
    case WM_SETFOCUS:
        if (mainWindow)
            SetFocus(mainWindow);
        return 0;
    case WM_LBUTTONDOWN:
        if (isOverview && activeView != ActiveView::Overview)
            activateOverview();
        else if (!isOverview && activeView != ActiveView::DataView)
            activateDataView();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

void paintCaptionStrip(HDC dc, int width, const char* text, bool active)
{
    RECT strip = {0, 0, width, captionHeight};
    HBRUSH brush = CreateSolidBrush(GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    FillRect(dc, &strip, brush);
    DeleteObject(brush);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT textRect = {4, 0, width, captionHeight};
    DrawTextA(dc, text, -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);
}

void overviewKey(WPARAM)
{
}

void dataViewKey(WPARAM)
{
}

LRESULT CALLBACK overviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        paintView(window, "Overview", activeView == ActiveView::Overview, overviewBackColour);
        return 0;
    }
    return commonViewMessage(window, message, wParam, lParam, true);
}

LRESULT CALLBACK dataViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        paintView(window, "Data view", activeView == ActiveView::DataView, dataViewBackColour);
        return 0;
    }
    return commonViewMessage(window, message, wParam, lParam, false);
}
