#include "dialogs/shared_dialog.h"

#include <cstring>

#include "dialogs/predefinitions_dialog.h"
#include "dialogs/search_dialog.h"
#include "dialogs/settings_rules.h"
#include "exchange/calendar_dialogs.h"
#include "files/address_file.h"
#include "files/config.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "host/host.h"
#include "host/texts.h"
#include "host/ui_busy.h"
#include "print/printing.h"
#include "shell/win32_host.h"

int dialogIdentity = 0;

namespace {

char* passwordTarget = nullptr;

constexpr int separatorControls[5] = {IDC_GC_SEPARATOR1, IDC_GC_SEPARATOR2, IDC_GC_SEPARATOR3, IDC_GC_SEPARATOR4,
                                      IDC_GC_SEPARATOR5};
constexpr int orderControls[5] = {IDC_GC_ORDER1, IDC_GC_ORDER2, IDC_GC_ORDER3, IDC_GC_ORDER4, IDC_GC_ORDER5};
constexpr int emptyLineControls[4] = {IDC_GC_EMPTYLINE1, IDC_GC_EMPTYLINE2, IDC_GC_EMPTYLINE3, IDC_GC_EMPTYLINE4};

void endDialog(HWND dialog, INT_PTR result)
{
    uiBusy = false;
    EndDialog(dialog, result);
}

// ---- General configuration ----

void fillGeneralConfig(HWND dialog)
{
    for (int i = 0; i < 5; ++i) {
        SendDlgItemMessageA(dialog, separatorControls[i], EM_LIMITTEXT, 1, 0);
        SetDlgItemTextA(dialog, separatorControls[i], nameSeparators[i]);
        SendDlgItemMessageA(dialog, orderControls[i], EM_LIMITTEXT, 1, 0);
        SetDlgItemTextA(dialog, orderControls[i], addressLineOrder[i]);
    }
    for (int i = 0; i < 4; ++i)
        CheckDlgButton(dialog, emptyLineControls[i], addressEmptyLines[i] ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_GC_SWAPNAMES, swapFirstAndLastName ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_GC_AUTOSAVEDATA, autoSaveData ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_GC_AUTOSAVECONFIG, autoSaveConfig ? BST_CHECKED : BST_UNCHECKED);
}

void readOneCharacter(HWND dialog, int control, char* setting)
{
    char text[4] = "";
    GetDlgItemTextA(dialog, control, text, 2);
    setting[0] = text[0];
    setting[1] = 0;
}

void acceptGeneralConfig(HWND dialog)
{
    for (int i = 0; i < 4; ++i)
        addressEmptyLines[i] = IsDlgButtonChecked(dialog, emptyLineControls[i]) == BST_CHECKED;
    swapFirstAndLastName = IsDlgButtonChecked(dialog, IDC_GC_SWAPNAMES) == BST_CHECKED;
    autoSaveData = IsDlgButtonChecked(dialog, IDC_GC_AUTOSAVEDATA) == BST_CHECKED;
    autoSaveConfig = IsDlgButtonChecked(dialog, IDC_GC_AUTOSAVECONFIG) == BST_CHECKED;
    for (int i = 0; i < 5; ++i) {
        readOneCharacter(dialog, separatorControls[i], nameSeparators[i]);
        readOneCharacter(dialog, orderControls[i], addressLineOrder[i]);
    }
    normaliseGeneralConfig();
    endDialog(dialog, 0);
}

// ---- Passwords ----

void acceptNewPassword(HWND dialog)
{
    char typed[32] = "";
    char repeated[32] = "";
    GetDlgItemTextA(dialog, IDC_SETPW_PASSWORD, typed, 20);
    GetDlgItemTextA(dialog, IDC_SETPW_REPEAT, repeated, 20);
    NewPasswordResult result = setNewPassword(typed, repeated);
    if (result == NewPasswordResult::Accepted) {
        endDialog(dialog, IDC_SETPW_OK);
        return;
    }
    endDialog(dialog, -1);
    MessageBeep(0);
    lumoMessageBox(nullptr, result == NewPasswordResult::NotProtected ? textNotProtected : textMistyped, captionMain,
                   MB_OK | MB_ICONSTOP);
}

void acceptTypedPasswordFrom(HWND dialog, int control, int okId)
{
    char typed[32] = "";
    GetDlgItemTextA(dialog, control, typed, 20);
    char scratch[20];
    char* target = passwordTarget ? passwordTarget : scratch;
    endDialog(dialog, acceptTypedPassword(target, typed) ? okId : -1);
}

void fillDialog(HWND dialog)
{
    switch (dialogIdentity) {
    case IDD_GENERALCONFIG_DE:
        fillGeneralConfig(dialog);
        break;
    case IDD_SEARCH_DE:
        fillSearchDialog(dialog);
        break;
    case IDD_REPLACE_DE:
        fillReplaceDialog(dialog);
        break;
    case IDD_PREDEFINITIONS_DE:
        fillPreDefinitionsDialog(dialog);
        break;
    case IDD_CALENDARENTRY_DE:
        fillCalendarEntryDialog(dialog);
        break;
    case IDD_CALENDARSEARCH_DE:
        fillCalendarSearchDialog(dialog);
        break;
    case IDD_SETPASSWORD_DE:
        SendDlgItemMessageA(dialog, IDC_SETPW_PASSWORD, EM_LIMITTEXT, 19, 0);
        SendDlgItemMessageA(dialog, IDC_SETPW_REPEAT, EM_LIMITTEXT, 19, 0);
        dialogIdentity = 0;
        break;
    case IDD_OPENPASSWORD_DE:
        SendDlgItemMessageA(dialog, IDC_OPENPW_PASSWORD, EM_LIMITTEXT, 19, 0);
        break;
    case IDD_ADDPASSWORD_DE:
        SendDlgItemMessageA(dialog, IDC_ADDPW_PASSWORD, EM_LIMITTEXT, 19, 0);
        break;
    case IDD_PRINT_DE:
        fillPrintSettings(dialog);
        break;
    default:
        break;
    }
}

}  // namespace

INT_PTR CALLBACK sharedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        uiBusy = true;
        fillDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:                endDialog(dialog, 1); return TRUE;
        case IDCANCEL:            endDialog(dialog, -1); return TRUE;
        case IDC_FIND_OK:         acceptSearchDialog(dialog); return TRUE;
        case IDC_REPLACE_OK:      acceptReplaceDialog(dialog); return TRUE;
        case IDC_GC_OK:           acceptGeneralConfig(dialog); return TRUE;
        case IDC_SETPW_OK:        acceptNewPassword(dialog); return TRUE;
        case IDC_OPENPW_OK:       acceptTypedPasswordFrom(dialog, IDC_OPENPW_PASSWORD, IDC_OPENPW_OK); return TRUE;
        case IDC_ADDPW_OK:        acceptTypedPasswordFrom(dialog, IDC_ADDPW_PASSWORD, IDC_ADDPW_OK); return TRUE;
        case IDC_BLOCK_BLOCK:     endDialog(dialog, IDC_BLOCK_BLOCK); return TRUE;
        case IDC_BLOCK_ALL:       endDialog(dialog, IDC_BLOCK_ALL); return TRUE;
        case IDC_PREDEF_OK:       acceptPreDefinitionsDialog(dialog, false); return TRUE;
        case IDC_PREDEF_SET:      acceptPreDefinitionsDialog(dialog, true); return TRUE;
        case IDC_PREDEF_FILESELECTOR: leavePreDefinitionsForFileSelector(dialog); return TRUE;
        case IDC_CALENTRY_OK:     acceptCalendarEntryDialog(dialog); return TRUE;
        case IDC_CALSEARCH_OK:    acceptCalendarSearchDialog(dialog); return TRUE;
        case IDC_PRINT_OK:        acceptPrintSettings(dialog); return TRUE;
        default:                  return FALSE;
        }
    default:
        return FALSE;
    }
}

INT_PTR runSharedDialog(int identity, int templateId, HWND owner)
{
    dialogIdentity = identity;
    INT_PTR result = DialogBoxParamA(appInstance, MAKEINTRESOURCEA(templateId), owner, sharedDialogProc, 0);
    dialogIdentity = 0;
    return result;
}

INT_PTR runPasswordDialog(int identity, int templateId, char* target20)
{
    passwordTarget = target20;
    INT_PTR result = runSharedDialog(identity, templateId, mainWindow);
    passwordTarget = nullptr;
    return result;
}
