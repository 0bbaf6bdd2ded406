// The windows and Windows objects of the running program, owned by the
// start-up code and used by the window procedures.
#pragma once

#include <windows.h>

extern HINSTANCE appInstance;
extern HWND mainWindow;
extern HWND toolbar;
extern HWND statusBar;
extern HWND overviewWindow;
extern HWND dataViewWindow;
extern HWND infoDialog;
extern HMENU mainMenu;
extern HACCEL accelerators;
extern UINT transferMessage;
extern int toolbarHeight;
extern int toolbarWidth;
extern int captionHeight;
extern bool shutdownDone;

inline constexpr const char* mainWindowClass = "ORDANE-Lumo";
inline constexpr const char* overviewClass = "Uebersicht";
inline constexpr const char* dataViewClass = "Datensatz";

// The window of the active view, or nullptr while the main window has lost
// the focus to another program.
HWND activeViewWindow();

// The menu of the main window (also before mainMenu is kept).
HMENU currentMenu();
