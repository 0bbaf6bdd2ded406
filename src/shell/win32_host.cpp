#include "shell/win32_host.h"

#include <commdlg.h>

#include <cstring>

#include "dialogs/password_dialogs.h"
#include "dialogs/shared_dialog.h"
#include "files/address_file.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "host/ui_busy.h"
#include "views/overview_window.h"
#include "views/view_state.h"

int lumoMessageBox(HWND owner, const char* text, const char* caption, UINT style)
{
    UiBusyScope busy;
    return MessageBoxA(owner, text, caption, style);
}

void redrawCaptionStrips()
{
    for (HWND view : {overviewWindow, dataViewWindow}) {
        if (view) {
            InvalidateRect(view, nullptr, FALSE);
            UpdateWindow(view);
        }
    }
}

bool Win32Host::mainWindowExists()
{
    return mainWindow != nullptr;
}

void Win32Host::beep()
{
    MessageBeep(0);
}

void Win32Host::showError(const char* caption, const char* text)
{
    lumoMessageBox(nullptr, text, caption, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND | MB_TOPMOST);
}

void Win32Host::showInfo(const char* caption, const char* text)
{
    lumoMessageBox(mainWindow, text, caption, MB_OK | MB_ICONINFORMATION);
}

bool Win32Host::askYesNo(const char* caption, const char* text, bool ownedTopmost)
{
    UINT style = MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND;
    if (ownedTopmost)
        style |= MB_TOPMOST;
    return lumoMessageBox(ownedTopmost ? mainWindow : nullptr, text, caption, style) == IDYES;
}

void Win32Host::askPassword(PasswordPrompt which, char* buffer20)
{
    if (which == PasswordPrompt::Open)
        openPasswordDialog(PasswordDialog::Open, buffer20);
    else
        openPasswordDialog(PasswordDialog::Add, buffer20);
}

Host::Answer Win32Host::askYesNoCancel(const char* caption, const char* text)
{
    switch (lumoMessageBox(nullptr, text, caption, MB_YESNOCANCEL | MB_ICONQUESTION | MB_SETFOREGROUND | MB_TOPMOST)) {
    case IDYES: return Answer::Yes;
    case IDNO:  return Answer::No;
    default:    return Answer::Cancel;
    }
}

void Win32Host::askNewPassword()
{
    openNewPasswordDialog(mainWindow);
}

void Win32Host::minimizeMainWindow()
{
    if (mainWindow)
        ShowWindow(mainWindow, SW_MINIMIZE);
}

void Win32Host::restoreMainWindow()
{
    if (mainWindow)
        ShowWindow(mainWindow, SW_RESTORE);
}

namespace {

// Whether the window already shows text.  Setting a window's text redraws
// it (under X a title also travels to the server), and every edit sets
// both texts although they rarely change.
bool showsText(HWND window, const char* text)
{
    char shown[600];
    const int length = GetWindowTextA(window, shown, sizeof shown);
    return length < static_cast<int>(sizeof shown) - 1 && std::strcmp(shown, text) == 0;
}

}  // namespace

void Win32Host::setTitle(const char* text)
{
    if (mainWindow && !showsText(mainWindow, text))
        SetWindowTextA(mainWindow, text);
}

// A new status text is painted at once: it announces work that keeps the
// message loop from painting it before the work is done.
void Win32Host::setStatusText(const char* text)
{
    HWND field = statusBar ? GetDlgItem(statusBar, IDC_STATUS_TEXT) : nullptr;
    if (!field || showsText(field, text))
        return;
    SetWindowTextA(field, text);
    UpdateWindow(field);
}

void Win32Host::enableMenuItem(int id, bool enabled)
{
    if (HMENU menu = currentMenu())
        EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32Host::makeViewActive(ViewId view)
{
    activeView = view == ViewId::Overview ? ActiveView::Overview : ActiveView::DataView;
    enableMenuItem(IDM_PASTE, view == ViewId::DataView);
    if (HWND window = activeViewWindow())
        BringWindowToTop(window);
    redrawCaptionStrips();
}

void Win32Host::repaint(ViewId view)
{
    HWND window = view == ViewId::Overview ? overviewWindow : dataViewWindow;
    if (window) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }
}

void Win32Host::repaintCurrentRow()
{
    repaintOverviewRow(cursorRow);
}

void Win32Host::postQuit()
{
    PostQuitMessage(0);
}

void Win32Host::setMenuItemText(int id, const char* text)
{
    if (HMENU menu = currentMenu())
        ModifyMenuA(menu, static_cast<UINT>(id), MF_BYCOMMAND | MF_STRING, static_cast<UINT_PTR>(id), text);
}

void Win32Host::checkMenuItem(int id, bool checked)
{
    if (HMENU menu = currentMenu())
        CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

namespace {

struct FileDialogKind {
    const char* filter;   // display text and pattern, each NUL-ended, then a second NUL
    const char* title;
    const char* extension;
    DWORD flags;
};

constexpr const char* addressFilter = "ORDANE-Lumo-Files (*.ADR)\0*.adr\0";
constexpr DWORD mustExist = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
constexpr DWORD pathMustExist = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;

constexpr FileDialogKind fileDialogs[] = {
    {addressFilter, "Open ORDANE-Lumo-File", "adr", mustExist},
    {addressFilter, "Add ORDANE-Lumo-File", "adr", mustExist},
    {addressFilter, "Save ORDANE-Lumo-File", "adr", pathMustExist},
    {addressFilter, "Save ORDANE-Lumo-Block", "adr", pathMustExist},
    {"Text-Files (*.TXT)\0*.txt\0", "Save Block", "txt", pathMustExist},
    {"(*.*)\0*.*\0", "Choose File", "dry", OFN_HIDEREADONLY},
    {"vCard (*.vcf)\0*.vcf\0CSV (*.csv)\0*.csv\0All files (*.*)\0*.*\0", "Import contacts", "vcf", mustExist},
    {"vCard 3.0 (*.vcf)\0*.vcf\0vCard 4.0 (*.vcf)\0*.vcf\0CSV (*.csv)\0*.csv\0", "Export contacts", "vcf",
     pathMustExist | OFN_OVERWRITEPROMPT},
};

}  // namespace

bool Win32Host::chooseFile(FileDialog which, char* path512)
{
    int type = 0;
    return chooseFileOfType(which, path512, type);
}

bool Win32Host::chooseFileOfType(FileDialog which, char* path512, int& type)
{
    const FileDialogKind& kind = fileDialogs[static_cast<int>(which)];
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainWindow;
    dialog.hInstance = appInstance;
    dialog.lpstrFilter = kind.filter;
    dialog.nFilterIndex = static_cast<DWORD>(type);
    dialog.lpstrFile = path512;
    dialog.nMaxFile = 512;
    dialog.lpstrTitle = kind.title;
    dialog.lpstrDefExt = kind.extension;
    dialog.Flags = kind.flags;
    bool chosen;
    {
        UiBusyScope busy;
        bool saving = which == FileDialog::Save || which == FileDialog::SaveEntryBlock ||
                      which == FileDialog::SaveTextBlock || which == FileDialog::ExportContacts;
        chosen = (saving ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)) != 0;
    }
    type = static_cast<int>(dialog.nFilterIndex);
    // The keys belong to the main window again, whatever the dialog left.
    if (mainWindow)
        SetFocus(mainWindow);
    return chosen;
}

BlockChoice Win32Host::askBlockOrAll()
{
    // Either button ends the question with its own id.
    static const SharedDialog blockQuestion{0, nullptr, {{IDC_BLOCK_BLOCK}, {IDC_BLOCK_ALL}}};
    INT_PTR result = runSharedDialog(blockQuestion, IDD_BLOCKQUESTION, mainWindow);
    if (result == IDC_BLOCK_BLOCK)
        return BlockChoice::Block;
    if (result == IDC_BLOCK_ALL)
        return BlockChoice::All;
    return BlockChoice::Closed;
}

int64_t Win32Host::freeDiskSpace(const char* root)
{
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return -1;
    return static_cast<int64_t>(freeClusters) * sectorsPerCluster * bytesPerSector;
}

std::string Win32Host::currentDirectory()
{
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    return directory;
}
