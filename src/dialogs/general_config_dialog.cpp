#include "dialogs/general_config_dialog.h"

#include "dialogs/settings_rules.h"
#include "dialogs/shared_dialog.h"
#include "files/config.h"
#include "resources/resource.h"

namespace {

constexpr int separatorControls[5] = {IDC_GC_SEPARATOR1, IDC_GC_SEPARATOR2, IDC_GC_SEPARATOR3, IDC_GC_SEPARATOR4,
                                      IDC_GC_SEPARATOR5};
constexpr int orderControls[5] = {IDC_GC_ORDER1, IDC_GC_ORDER2, IDC_GC_ORDER3, IDC_GC_ORDER4, IDC_GC_ORDER5};
constexpr int emptyLineControls[4] = {IDC_GC_EMPTYLINE1, IDC_GC_EMPTYLINE2, IDC_GC_EMPTYLINE3, IDC_GC_EMPTYLINE4};

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
    endSharedDialog(dialog, 0);
}

const SharedDialog generalConfigDialog{IDD_GENERALCONFIG_DE, fillGeneralConfig, {{IDC_GC_OK, acceptGeneralConfig}}};

}  // namespace

void openGeneralConfigDialog(HWND owner)
{
    runSharedDialog(generalConfigDialog, IDD_GENERALCONFIG, owner);
}
