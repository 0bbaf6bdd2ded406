#include "dialogs/password_dialogs.h"

#include "dialogs/shared_dialog.h"
#include "dialogs/settings_rules.h"
#include "host/texts.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/win32_host.h"

namespace {

char* passwordTarget = nullptr;

void fillNewPassword(HWND dialog)
{
    SendDlgItemMessageA(dialog, IDC_SETPW_PASSWORD, EM_LIMITTEXT, 19, 0);
    SendDlgItemMessageA(dialog, IDC_SETPW_REPEAT, EM_LIMITTEXT, 19, 0);
    dialogIdentity = 0;
}

void acceptNewPassword(HWND dialog)
{
    char typed[32] = "";
    char repeated[32] = "";
    GetDlgItemTextA(dialog, IDC_SETPW_PASSWORD, typed, 20);
    GetDlgItemTextA(dialog, IDC_SETPW_REPEAT, repeated, 20);
    NewPasswordResult result = setNewPassword(typed, repeated);
    if (result == NewPasswordResult::Accepted) {
        endSharedDialog(dialog, IDC_SETPW_OK);
        return;
    }
    endSharedDialog(dialog, -1);
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
    endSharedDialog(dialog, acceptTypedPassword(target, typed) ? okId : -1);
}

void fillOpenPassword(HWND dialog) { SendDlgItemMessageA(dialog, IDC_OPENPW_PASSWORD, EM_LIMITTEXT, 19, 0); }
void fillAddPassword(HWND dialog) { SendDlgItemMessageA(dialog, IDC_ADDPW_PASSWORD, EM_LIMITTEXT, 19, 0); }
void acceptOpenPassword(HWND dialog) { acceptTypedPasswordFrom(dialog, IDC_OPENPW_PASSWORD, IDC_OPENPW_OK); }
void acceptAddPassword(HWND dialog) { acceptTypedPasswordFrom(dialog, IDC_ADDPW_PASSWORD, IDC_ADDPW_OK); }

const SharedDialog newPasswordDialog{IDD_SETPASSWORD_DE, fillNewPassword, {{IDC_SETPW_OK, acceptNewPassword}}};
const SharedDialog openPasswordDialogEntry{IDD_OPENPASSWORD_DE, fillOpenPassword, {{IDC_OPENPW_OK, acceptOpenPassword}}};
const SharedDialog addPasswordDialogEntry{IDD_ADDPASSWORD_DE, fillAddPassword, {{IDC_ADDPW_OK, acceptAddPassword}}};

}  // namespace

INT_PTR openNewPasswordDialog(HWND owner)
{
    return runSharedDialog(newPasswordDialog, IDD_SETPASSWORD, owner);
}

INT_PTR openPasswordDialog(PasswordDialog which, char* target20)
{
    passwordTarget = target20;
    const INT_PTR result = which == PasswordDialog::Open
                               ? runSharedDialog(openPasswordDialogEntry, IDD_OPENPASSWORD, mainWindow)
                               : runSharedDialog(addPasswordDialogEntry, IDD_ADDPASSWORD, mainWindow);
    passwordTarget = nullptr;
    return result;
}
