#include "shell/app.h"

#include "views/view_state.h"

HINSTANCE appInstance;
HWND mainWindow;
HWND toolbar;
HWND statusBar;
HWND overviewWindow;
HWND dataViewWindow;
HWND infoDialog;
HMENU mainMenu;
HACCEL accelerators;
UINT transferMessage;
int toolbarHeight;
int toolbarWidth;
int captionHeight;
bool shutdownDone;

HWND activeViewWindow()
{
    switch (activeView) {
    case ActiveView::Overview: return overviewWindow;
    case ActiveView::DataView: return dataViewWindow;
    default: return nullptr;
    }
}

HMENU currentMenu()
{
    if (mainMenu)
        return mainMenu;
    return mainWindow ? GetMenu(mainWindow) : nullptr;
}
