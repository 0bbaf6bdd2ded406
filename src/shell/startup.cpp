#include "shell/startup.h"

#include <fcntl.h>
#include <ole2.h>

#include <cstdio>
#include <cstring>

#include "calendar/calendar_protocol.h"
#include "files/address_file.h"
#include "files/config.h"
#include "files/file_commands.h"
#include "files/new_file.h"
#include "files/recent_files.h"
#include "transfer/drag_drop.h"
#include "find/sort.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/layout.h"
#include "shell/main_window.h"
#include "shell/program_path.h"
#include "shell/shutdown.h"
#include "shell/strips.h"
#include "host/texts.h"
#include "host/title.h"
#include "print/printing.h"
#include "shell/win32_host.h"
#include "store/store.h"
#include "views/view_fonts.h"
#include "views/view_state.h"
#include "views/view_windows.h"

namespace {

Win32Host win32Host;

// The size Windows 95 gave the structure; later fields are not needed.
constexpr UINT classicNonClientMetricsSize = 340;

void readSettings()
{
    FontRecord systemFont;
    systemFontRecord(systemFont.bytes);
    setDefaultSettings(systemFont);
    createViewFonts();
    std::memset(currentFilePath, 0, sizeof currentFilePath);
    if (std::FILE* file = std::fopen(configFilePath, "rb")) {
        readConfiguration(file);
        std::fclose(file);
        createViewFonts();
    }
}

void loadLastFile()
{
    setTitleFromPath();
    entryBlockPath[0] = textBlockPath[0] = 0;
    createEmptyStore();
    if (static_cast<unsigned char>(currentFilePath[0]) >= 'A') {
        loadAddressFile(currentFilePath, LoadMode::Open);
        sortEntries();
        // The sort kept the file's first entry current wherever it went;
        // both views start on the first entry of the sorted book.
        resetViewState();
    } else {
        resetViewState();
        resetToBlankEntry();
    }
}

bool refuseSecondInstance()
{
    HWND other = FindWindowA(mainWindowClass, nullptr);
    if (!other)
        return false;
    MessageBeep(0);
    lumoMessageBox(nullptr, "ORDANE-Lumo is already active!", captionMain,
                   MB_OK | MB_ICONQUESTION | MB_SETFOREGROUND | MB_TOPMOST);
    SetForegroundWindow(other);
    return true;
}

void registerClass(const char* name, WNDPROC procedure, UINT extraStyle, HCURSOR cursor, HBRUSH background)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | extraStyle;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = appInstance;
    windowClass.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_LARGE));
    windowClass.hIconSm = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_SMALL));
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
}

void createViews()
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL;
    overviewWindow = CreateWindowExA(0, overviewClass, "\xDC" "bersicht", style, overviewRect.x, overviewRect.y,
                                     overviewRect.width, overviewRect.height, mainWindow,
                                     reinterpret_cast<HMENU>(1), appInstance, nullptr);
    activeView = ActiveView::Overview;
    dataViewWindow = CreateWindowExA(0, dataViewClass, "Datensatz", style, dataViewRect.x, dataViewRect.y,
                                     dataViewRect.width, dataViewRect.height, mainWindow,
                                     reinterpret_cast<HMENU>(2), appInstance, nullptr);
    // The views did not exist when the main window was first sized.  A
    // first start has no stored places for them either: give them the
    // side-by-side places then rather than leaving them empty.
    if (windowArrangement == 0 && overviewRect.width == 0 && dataViewRect.width == 0) {
        RECT client;
        GetClientRect(mainWindow, &client);
        ChildLayout layout = layoutChildren(1, client.right, client.bottom, toolbarHeight);
        overviewRect = layout.overview;
        dataViewRect = layout.dataView;
        MoveWindow(overviewWindow, overviewRect.x, overviewRect.y, overviewRect.width, overviewRect.height, TRUE);
        MoveWindow(dataViewWindow, dataViewRect.x, dataViewRect.y, dataViewRect.width, dataViewRect.height, TRUE);
    } else {
        layoutChildWindows();
    }
    createViewFonts();
}

void extendSystemMenu()
{
    HMENU menu = GetSystemMenu(mainWindow, FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_CALENDAR1, "Calendar &1 \tCtrl+F1");
    AppendMenuA(menu, MF_STRING, IDM_CALENDAR2, "Calendar &2 \tCtrl+F2");
    AppendMenuA(menu, MF_STRING, IDM_CALENDAR3, "Calendar &3 \tCtrl+F3");
    AppendMenuA(menu, MF_STRING, IDM_CALENDAR4, "Calendar &4 \tCtrl+F4");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_QUIT, "&Quit ORDANE-Lumo \tCtrl+Q");
}

void measureCaptionHeight(const NONCLIENTMETRICSA& metrics)
{
    HDC dc = GetDC(mainWindow);
    HFONT font = CreateFontIndirectA(&metrics.lfSmCaptionFont);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA text;
    GetTextMetricsA(dc, &text);
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(mainWindow, dc);
    captionHeight = text.tmHeight + text.tmExternalLeading;
}

}  // namespace

int runMessageLoop()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (infoDialog && IsDialogMessageA(infoDialog, &message))
            continue;
        if (!TranslateAcceleratorA(mainWindow, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

bool startLumo(HINSTANCE instance, const char* commandLine, int showCommand)
{
    _fmode = _O_BINARY;
    setHost(&win32Host);
    appInstance = instance;
    accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    OleInitialize(nullptr);
    loadBitmaps();
    setUpPrintDialog(instance);

    setProgramPathFromCommandLine(commandLine);
    readSettings();
    loadLastFile();

    transferMessage = RegisterWindowMessageA(transferMessageName);
    if (refuseSecondInstance())
        return false;

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = classicNonClientMetricsSize;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, classicNonClientMetricsSize, &metrics, 0);
    mainWindowRect = usableMainWindowRect(mainWindowRect, GetSystemMetrics(SM_CXFULLSCREEN),
                                          GetSystemMetrics(SM_CYFULLSCREEN));

    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    registerClass(mainWindowClass, mainWindowProc, 0, arrow, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    registerClass(overviewClass, overviewProc, 0, arrow, nullptr);
    registerClass(dataViewClass, dataViewProc, CS_DBLCLKS, nullptr, nullptr);

    CreateWindowExA(0, mainWindowClass, titleText, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, mainWindowRect.x,
                    mainWindowRect.y, mainWindowRect.width, mainWindowRect.height, nullptr,
                    LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MENU)), instance, nullptr);
    createStrips();
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    measureCaptionHeight(metrics);   // before the views paint their caption strips
    createViews();
    extendSystemMenu();
    BringWindowToTop(overviewWindow);
    mainMenu = GetMenu(mainWindow);
    registerDataViewDropTarget(dataViewWindow);

    setTitleMarker(' ');
    dataModified = false;
    if (windowArrangement == 1)
        CheckMenuItem(mainMenu, IDM_SIDEBYSIDE, MF_BYCOMMAND | MF_CHECKED);
    else if (windowArrangement == 2)
        CheckMenuItem(mainMenu, IDM_ONEUPONOTHER, MF_BYCOMMAND | MF_CHECKED);
    showRecentFilesInMenu();
    return true;
}

void finishLumo()
{
    if (!shutdownDone)
        shutdown();
    shutdownDone = true;
}

int runLumo(HINSTANCE instance, const char* commandLine, int showCommand)
{
    if (!startLumo(instance, commandLine, showCommand))
        return 1;
    // A save at quit that did not happen may send the user back to work:
    // the main window is still there (closing it only ends the loop).
    int exitCode = runMessageLoop();
    while (!shutdownDone && !shutdown(mainWindow && IsWindow(mainWindow)))
        exitCode = runMessageLoop();
    shutdownDone = true;
    return exitCode;
}
