#include "dialogs/info_box.h"

#include <windows.h>

#include <algorithm>

#include "dialogs/settings_rules.h"
#include "resources/resource.h"
#include "shell/app.h"

namespace {

constexpr int versionButton = 1025;

void closeInfoBox(HWND dialog)
{
    DestroyWindow(dialog);
    infoDialog = nullptr;
    if (mainWindow)
        SetForegroundWindow(mainWindow);
}

// Centred on the pointer, then pushed back inside the screen.
void placeAtPointer(HWND dialog)
{
    RECT r;
    GetWindowRect(dialog, &r);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    POINT pointer;
    GetCursorPos(&pointer);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int x = std::max(0, std::min(static_cast<int>(pointer.x) - width / 2, screenWidth - width));
    int y = std::max(0, std::min(static_cast<int>(pointer.y) - height / 2, screenHeight - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

INT_PTR CALLBACK infoBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        char line[32];
        makeVersionLine(line);
        SetDlgItemTextA(dialog, versionButton, line);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case versionButton:
        case IDOK:
        case IDCANCEL:
            closeInfoBox(dialog);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

void showInfoBox()
{
    if (infoDialog) {
        SetWindowPos(infoDialog, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        return;
    }
    infoDialog = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_INFO), nullptr, infoBoxProc, 0);
    if (infoDialog)
        placeAtPointer(infoDialog);
}
