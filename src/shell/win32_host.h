// The host of the running program: the core's screen effects on real
// windows, message boxes and common dialogs.
#pragma once

#include <windows.h>

#include "host/host.h"

struct Win32Host : Host {
    bool mainWindowExists() override;
    void beep() override;
    void showError(const char* caption, const char* text) override;
    void showInfo(const char* caption, const char* text) override;
    bool askYesNo(const char* caption, const char* text, bool ownedTopmost) override;
    void askPassword(PasswordPrompt which, char* buffer20) override;
    void minimizeMainWindow() override;
    void restoreMainWindow() override;
    void setTitle(const char* text) override;
    void setStatusText(const char* text) override;
    void enableMenuItem(int id, bool enabled) override;
    void makeViewActive(ViewId view) override;
    void repaint(ViewId view) override;
    void repaintCurrentRow() override;
    void postQuit() override;
    void setMenuItemText(int id, const char* text) override;
    void checkMenuItem(int id, bool checked) override;
    bool chooseFile(FileDialog which, char* path512) override;
    bool chooseFileOfType(FileDialog which, char* path512, int& type) override;
    BlockChoice askBlockOrAll() override;
    int64_t freeDiskSpace(const char* root) override;
    std::string currentDirectory() override;
    Answer askYesNoCancel(const char* caption, const char* text) override;
    void askNewPassword() override;
};

// A message box with uiBusy raised while it is open.
int lumoMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// Redraws the caption strips of both views.
void redrawCaptionStrips();
