#include "dialogs/shared_dialog.h"

#include "host/ui_busy.h"
#include "shell/app.h"

int dialogIdentity = 0;

namespace {

const SharedDialog* runningDialog = nullptr;

bool runCommand(HWND dialog, int control)
{
    switch (control) {
    case IDOK:     endSharedDialog(dialog, 1); return true;
    case IDCANCEL: endSharedDialog(dialog, -1); return true;
    default:       break;
    }
    if (!runningDialog)
        return false;
    for (const DialogCommand& command : runningDialog->commands) {
        if (command.control == 0 || command.control != control)
            continue;
        if (command.accept)
            command.accept(dialog);
        else
            endSharedDialog(dialog, control);
        return true;
    }
    return false;
}

}  // namespace

void endSharedDialog(HWND dialog, INT_PTR result)
{
    uiBusy = false;
    EndDialog(dialog, result);
}

INT_PTR CALLBACK sharedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        uiBusy = true;
        if (runningDialog && runningDialog->fill)
            runningDialog->fill(dialog);
        return TRUE;
    case WM_COMMAND:
        return runCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

INT_PTR runSharedDialog(const SharedDialog& dialog, int templateId, HWND owner)
{
    // A dialog may open another (a password asked while a file is read):
    // the outer one gets its entry back when the inner one closes.
    const SharedDialog* outer = runningDialog;
    runningDialog = &dialog;
    dialogIdentity = dialog.identity;
    INT_PTR result = DialogBoxParamA(appInstance, MAKEINTRESOURCEA(templateId), owner, sharedDialogProc, 0);
    dialogIdentity = 0;
    runningDialog = outer;
    return result;
}
