#include "views/view_frame.h"

#include <algorithm>

#include "resources/resource.h"
#include "shell/app.h"

void trackViewPlacement(HWND window, HWND view, WindowRect& stored)
{
    HWND parent = GetParent(window);
    if (window != view || !parent || IsIconic(window))
        return;
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    stored = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    if (r.top < toolbarHeight) {
        MoveWindow(window, r.left, toolbarHeight, r.right - r.left, r.bottom - toolbarHeight, TRUE);
        ShowWindow(window, SW_SHOW);
    }
}

void setViewMinimumSize(HWND window, MINMAXINFO* info, int lineHeight)
{
    if (IsIconic(window))
        return;
    info->ptMinTrackSize.x = 100;
    info->ptMinTrackSize.y = 3 * captionHeight + 4 * lineHeight;
}

void moveViewWithPointer(HWND window, POINT grab, POINT pointer, const WindowRect& stored)
{
    HWND parent = GetParent(window);
    if (!parent)
        return;
    // The grab point is in client coordinates; the window's own origin lies
    // the frame's width further up and left.
    RECT frame;
    GetWindowRect(window, &frame);
    POINT clientOrigin = {0, 0};
    ClientToScreen(window, &clientOrigin);
    MapWindowPoints(window, parent, &pointer, 1);
    int left = pointer.x - grab.x - (clientOrigin.x - frame.left);
    int top = pointer.y - grab.y - (clientOrigin.y - frame.top);
    RECT mainClient;
    GetClientRect(parent, &mainClient);
    left = std::max(left, 0);
    top = std::max(top, toolbarHeight);
    left = std::min(left, static_cast<int>(mainClient.right) - captionHeight);
    top = std::min(top, static_cast<int>(mainClient.bottom) - captionHeight);
    MoveWindow(window, left, top, stored.width, stored.height, TRUE);
    showCursor(appInstance, MAKEINTRESOURCEA(IDC_MOVE_CURSOR));
}

bool waitWithPaints(DWORD ms, bool (*stillDown)())
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (stillDown && !stillDown())
            return false;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(10, ms - elapsed), QS_PAINT | QS_SENDMESSAGE);
        MSG message;
        for (int n = 0; n < 50 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE); ++n)
            DispatchMessageA(&message);
    }
}

void showCursor(HINSTANCE instance, const char* id)
{
    SetCursor(LoadCursorA(instance, id));
}

void paintBuffered(HWND window, COLORREF background, void (*paint)(HDC dc, HWND window))
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    if (client.right > 0 && client.bottom > 0) {
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ previousBitmap = SelectObject(memory, bitmap);
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(memory, &client, brush);
        DeleteObject(brush);
        paint(memory, window);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previousBitmap);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    EndPaint(window, &ps);
}

int trackPosition(HWND window, int bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(window, bar, &info);
    return info.nTrackPos;
}
