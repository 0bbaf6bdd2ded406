#include <windows.h>

#include "shell/app.h"
#include "views/view_windows.h"

void paintCaptionStrip(HDC dc, HWND window, const char* text)
{
    if (!window)
        return;
    RECT client;
    GetClientRect(window, &client);
    if (client.right < 1 || client.bottom < 1)
        return;
    bool active = window == activeViewWindow();
    RECT strip = {0, 0, client.right, captionHeight};
    FillRect(dc, &strip, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfSmCaptionFont);
    HGDIOBJ previousFont = SelectObject(dc, font);
    int previousMode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    TextOutA(dc, 2, 0, text, lstrlenA(text));
    SetBkMode(dc, previousMode);
    SelectObject(dc, previousFont);
    DeleteObject(font);

    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DFACE));
    HGDIOBJ previousPen = SelectObject(dc, pen);
    MoveToEx(dc, 0, captionHeight, nullptr);
    LineTo(dc, client.right, captionHeight);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}
