#include <windows.h>

#include "files/config.h"
#include "shell/app.h"
#include "views/activation.h"
#include "views/view_state.h"
#include "views/view_windows.h"

// FIXME: the list of headings is not drawn yet; the Overview shows its
// caption strip over its background colour.

LRESULT CALLBACK overviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(overviewBackColour);
        RECT below = {0, captionHeight + 1, client.right, client.bottom};
        FillRect(dc, &below, brush);
        DeleteObject(brush);
        paintCaptionStrip(dc, window, "Overview");
        EndPaint(window, &ps);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        if (activeView != ActiveView::Overview)
            activateOverview();
        return MA_ACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void overviewKey(WPARAM)
{
}

void overviewCharacter(unsigned char)
{
}

void overviewWheel(int)
{
}
