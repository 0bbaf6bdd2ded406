#include "sync/sync_dialogs.h"

#include <windows.h>

#include <string>

#include "dialogs/shared_dialog.h"
#include "host/texts.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/win32_host.h"
#include "sync/sync_command.h"
#include "sync/sync_passwords.h"
#include "sync/winhttp_send.h"

namespace {

// The account the open dialog is about, and what the password dialog got.
std::string dialogUrl;
std::string dialogUser;
std::string typedPassword;
bool rememberTicked = false;
// "Remember password" was ticked in the settings of this run before any
// password was known: the password dialog offers it ticked.
bool rememberWanted = false;

std::string fieldText(HWND dialog, int control)
{
    HWND field = GetDlgItem(dialog, control);
    const int length = GetWindowTextLengthW(field);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(field, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

void setFieldText(HWND dialog, int control, const std::string& utf8)
{
    std::wstring text(utf8.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                                           static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length));
    SetWindowTextW(GetDlgItem(dialog, control), text.c_str());
}

void showStop(const char* text)
{
    MessageBeep(0);
    lumoMessageBox(nullptr, text, captionMain, MB_OK | MB_ICONSTOP);
}

// ---- Settings ----

void fillSettings(HWND dialog)
{
    setFieldText(dialog, IDC_SYNC_URL, dialogUrl);
    setFieldText(dialog, IDC_SYNC_USER, dialogUser);
    const bool stored = !dialogUrl.empty() && storedSyncPasswordExists(dialogUrl, dialogUser);
    CheckDlgButton(dialog, IDC_SYNC_REMEMBER, stored ? BST_CHECKED : BST_UNCHECKED);
}

// Keeps the settings in the book's state; the password for the run, and in
// the credential store when "Remember password" is ticked (unticked, a
// stored one is deleted).  A bad address keeps the dialog open.
void acceptSettings(HWND dialog)
{
    const std::string url = normalisedCollectionUrl(fieldText(dialog, IDC_SYNC_URL));
    if (url.empty()) {
        showStop(textSyncBadUrl);
        SetFocus(GetDlgItem(dialog, IDC_SYNC_URL));
        return;
    }
    const std::string user = fieldText(dialog, IDC_SYNC_USER);
    const std::string password = fieldText(dialog, IDC_SYNC_PASSWORD);
    const bool remember = IsDlgButtonChecked(dialog, IDC_SYNC_REMEMBER) == BST_CHECKED;
    if (!storeSyncSettings(url, user)) {
        endSharedDialog(dialog, -1);
        return;
    }
    if (!password.empty())
        keepSyncPasswordForRun(url, user, password);
    std::string known = password;
    rememberWanted = remember;
    if (!remember)
        deleteStoredSyncPassword(url, user);
    else if (!known.empty() || knownSyncPassword(url, user, known))
        storeSyncPassword(url, user, known);
    dialogUrl = url;
    dialogUser = user;
    endSharedDialog(dialog, IDC_SYNC_OK);
}

const SharedDialog settingsDialog{IDD_SYNCSETTINGS_DE, fillSettings, {{IDC_SYNC_OK, acceptSettings}}};

// ---- Password ----

void fillPassword(HWND dialog)
{
    std::string account = dialogUser + "\n" + dialogUrl;
    setFieldText(dialog, IDC_SYNCPW_ACCOUNT, account);
    CheckDlgButton(dialog, IDC_SYNCPW_REMEMBER, rememberWanted ? BST_CHECKED : BST_UNCHECKED);
}

void acceptPassword(HWND dialog)
{
    typedPassword = fieldText(dialog, IDC_SYNCPW_PASSWORD);
    rememberTicked = IsDlgButtonChecked(dialog, IDC_SYNCPW_REMEMBER) == BST_CHECKED;
    endSharedDialog(dialog, IDC_SYNCPW_OK);
}

const SharedDialog passwordDialog{IDD_SYNCPASSWORD_DE, fillPassword, {{IDC_SYNCPW_OK, acceptPassword}}};

}  // namespace

bool syncSettingsCommand()
{
    if (syncStart(dialogUrl, dialogUser) == SyncStart::NoFileName) {
        showStop(textSyncNeedsName);
        return false;
    }
    return runSharedDialog(settingsDialog, IDD_SYNCSETTINGS, mainWindow) == IDC_SYNC_OK;
}

// The password comes from the run or the credential store; else it is
// asked, and kept for the run (and stored, when ticked) only once a sync
// with it has worked.  A failed sync forgets the run's copy, so that a
// mistyped password is asked again.
void synchroniseCommand()
{
    std::string url, user;
    switch (syncStart(url, user)) {
    case SyncStart::NoFileName:
        showStop(textSyncNeedsName);
        return;
    case SyncStart::NoSettings:
        if (!syncSettingsCommand() || syncStart(url, user) != SyncStart::Ready)
            return;
        break;
    case SyncStart::Ready:
        break;
    }
    SyncSettings settings;
    settings.collectionUrl = url;
    settings.user = user;
    const bool asked = !knownSyncPassword(url, user, settings.password);
    if (asked) {
        dialogUrl = url;
        dialogUser = user;
        typedPassword.clear();
        rememberTicked = false;
        if (runSharedDialog(passwordDialog, IDD_SYNCPASSWORD, mainWindow) != IDC_SYNCPW_OK)
            return;
        settings.password = typedPassword;
        typedPassword.clear();
    }
    const bool worked = synchroniseStore(settings, winHttpTransport());
    if (!worked) {
        forgetSyncPasswordForRun(url, user);
    } else if (asked) {
        keepSyncPasswordForRun(url, user, settings.password);
        if (rememberTicked)
            storeSyncPassword(url, user, settings.password);
    }
}
