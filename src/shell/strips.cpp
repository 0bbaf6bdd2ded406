#include "shell/strips.h"

#include "resources/resource.h"
#include "shell/app.h"
#include "shell/main_window.h"
#include "store/store.h"

namespace {

constexpr int bitmapIds[] = {IDB_CALENDAR1,     IDB_CALENDAR2,      IDB_CALENDAR3,    IDB_CALENDAR4,
                             IDB_ANALOGCLOCK,   IDB_ALARMWINDOW,    IDB_CALENDARENTRY, IDB_CALENDARSEARCH,
                             IDB_ADDRESSFIELD,  IDB_SEARCH_DOWNWRAP, IDB_SEARCH_UPWRAP, IDB_SEARCH_DOWN,
                             IDB_SEARCH_UP,     IDB_TOOLBAR_PATTERN};
constexpr int bitmapCount = sizeof bitmapIds / sizeof bitmapIds[0];
HBITMAP bitmaps[bitmapCount];
HBRUSH toolbarPattern;

struct ButtonPicture {
    int button;
    int bitmap;
};
constexpr ButtonPicture buttonPictures[] = {
    {IDM_CALENDAR1, IDB_CALENDAR1},         {IDM_CALENDAR2, IDB_CALENDAR2},
    {IDM_CALENDAR3, IDB_CALENDAR3},         {IDM_CALENDAR4, IDB_CALENDAR4},
    {IDM_ANALOGCLOCK, IDB_ANALOGCLOCK},     {IDM_ALARMWINDOW, IDB_ALARMWINDOW},
    {IDM_CALENDARENTRY, IDB_CALENDARENTRY}, {IDM_CALENDARSEARCH, IDB_CALENDARSEARCH},
    {IDM_ADDRESSFIELD, IDB_ADDRESSFIELD},
};

// The strips have no commands of their own: what they report is the main
// window's business.  Other messages get the dialog's default handling.
INT_PTR CALLBACK statusBarProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND) {
        mainWindowProc(dialog, message, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

// The same, but a click on the toolbar first activates the main window, and
// the toolbar paints its background with the pattern.  (The pattern goes
// through WM_CTLCOLORDLG rather than the window class: the toolbar's class
// is the class of every dialog.)
//
// The keyboard belongs to the main window.  The dialog manager would give
// the focus to the first button at creation, and a push button takes it
// when it is clicked; Space would then press that button and every other
// key would be lost.  So the toolbar sets no focus at creation and hands it
// back once a button's command has run.
INT_PTR CALLBACK toolbarProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;
    case WM_NCHITTEST:
        if (GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0)
            SetActiveWindow(mainWindow);
        return FALSE;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(toolbarPattern);
    case WM_COMMAND:
        mainWindowProc(dialog, message, wParam, lParam);
        if (HWND focus = GetFocus(); focus && IsChild(dialog, focus))
            SetFocus(mainWindow);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

HBITMAP loadedBitmap(int id)
{
    for (int i = 0; i < bitmapCount; ++i)
        if (bitmapIds[i] == id)
            return bitmaps[i];
    return nullptr;
}

void loadBitmaps()
{
    for (int i = 0; i < bitmapCount; ++i)
        // The pictures' greys become the system's button face, shadow and
        // light colours, so they sit on the buttons without a box.
        bitmaps[i] = static_cast<HBITMAP>(
            LoadImageA(appInstance, MAKEINTRESOURCEA(bitmapIds[i]), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    toolbarPattern = CreatePatternBrush(loadedBitmap(IDB_TOOLBAR_PATTERN));
}

void freeBitmaps()
{
    if (toolbarPattern)
        DeleteObject(toolbarPattern);
    toolbarPattern = nullptr;
    for (HBITMAP& bitmap : bitmaps) {
        if (bitmap)
            DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

void createStrips()
{
    toolbar = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_TOOLBAR), mainWindow, toolbarProc, 0);
    statusBar = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_STATUSBAR), mainWindow, statusBarProc, 0);
    SetDlgItemTextA(statusBar, IDC_STATUS_TEXT, entryCountText);

    RECT r;
    GetWindowRect(toolbar, &r);
    toolbarHeight = r.bottom - r.top + 1;
    toolbarWidth = r.right - r.left + 1;
    RECT client;
    GetClientRect(mainWindow, &client);
    MoveWindow(toolbar, 0, 0, client.right, toolbarHeight, TRUE);

    for (auto picture : buttonPictures)
        SendDlgItemMessageA(toolbar, picture.button, BM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(loadedBitmap(picture.bitmap)));
    InvalidateRect(toolbar, nullptr, TRUE);
}

void remakeToolbarPattern()
{
    if (toolbarPattern)
        DeleteObject(toolbarPattern);
    toolbarPattern = CreatePatternBrush(loadedBitmap(IDB_TOOLBAR_PATTERN));
    if (toolbar)
        InvalidateRect(toolbar, nullptr, TRUE);
}
