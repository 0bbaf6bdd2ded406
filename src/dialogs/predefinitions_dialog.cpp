#include "dialogs/predefinitions_dialog.h"

#include <cstring>

#include "dialogs/predefinitions.h"
#include "dialogs/shared_dialog.h"
#include "files/config.h"
#include "host/ui_busy.h"
#include "resources/resource.h"
#include "shell/app.h"

namespace {

constexpr int radioButtons[predefinitionCount] = {
    IDC_PREDEF_RADIO1, IDC_PREDEF_RADIO2, IDC_PREDEF_RADIO3, IDC_PREDEF_RADIO4, IDC_PREDEF_RADIO5,
    IDC_PREDEF_RADIO6, IDC_PREDEF_RADIO7, IDC_PREDEF_RADIO8, IDC_PREDEF_RADIO9, IDC_PREDEF_RADIO10};
constexpr int editFields[predefinitionCount] = {
    IDC_PREDEF_EDIT1, IDC_PREDEF_EDIT2, IDC_PREDEF_EDIT3, IDC_PREDEF_EDIT4, IDC_PREDEF_EDIT5,
    IDC_PREDEF_EDIT6, IDC_PREDEF_EDIT7, IDC_PREDEF_EDIT8, IDC_PREDEF_EDIT9, IDC_PREDEF_EDIT10};

// What runs once the dialog is closed: a pre-definition number for "Set",
// the file selector's number for "Fileselector", 0 for nothing.
int numberAfterDialog = 0;


}  // namespace

void fillPreDefinitionControls(HWND dialog)
{
    for (int i = 0; i < predefinitionCount; ++i) {
        SendDlgItemMessageA(dialog, editFields[i], EM_LIMITTEXT, predefinitionTextLimit, 0);
        SetDlgItemTextA(dialog, editFields[i], textPredefinitions[i]);
        CheckDlgButton(dialog, radioButtons[i], i + 1 == selectedPreDefinition ? BST_CHECKED : BST_UNCHECKED);
    }
}

void readPreDefinitionControls(HWND dialog)
{
    for (int i = 0; i < predefinitionCount; ++i) {
        if (IsDlgButtonChecked(dialog, radioButtons[i]) == BST_CHECKED) {
            selectedPreDefinition = i + 1;
            break;
        }
    }
    for (int i = 0; i < predefinitionCount; ++i) {
        char text[predefinitionTextLimit + 2] = "";
        GetDlgItemTextA(dialog, editFields[i], text, predefinitionTextLimit + 1);
        std::memset(textPredefinitions[i], 0, predefinitionSlot);
        std::memcpy(textPredefinitions[i], text, strnlen(text, predefinitionTextLimit));
    }
}

void fillPreDefinitionsDialog(HWND dialog)
{
    fillPreDefinitionControls(dialog);
}

void acceptPreDefinitionsDialog(HWND dialog, bool typeSelected)
{
    readPreDefinitionControls(dialog);
    numberAfterDialog = typeSelected ? selectedPreDefinition : 0;
    endSharedDialog(dialog, 0);
}

void leavePreDefinitionsForFileSelector(HWND dialog)
{
    numberAfterDialog = fileSelectorNumber;
    endSharedDialog(dialog, 0);
}

namespace {
void acceptPreDefinitionsOnly(HWND dialog) { acceptPreDefinitionsDialog(dialog, false); }
void acceptPreDefinitionsAndSet(HWND dialog) { acceptPreDefinitionsDialog(dialog, true); }
const SharedDialog preDefinitionsDialog{IDD_PREDEFINITIONS_DE, fillPreDefinitionsDialog,
                                        {{IDC_PREDEF_OK, acceptPreDefinitionsOnly},
                                         {IDC_PREDEF_SET, acceptPreDefinitionsAndSet},
                                         {IDC_PREDEF_FILESELECTOR, leavePreDefinitionsForFileSelector}}};
}  // namespace

void openPreDefinitionsDialog()
{
    numberAfterDialog = 0;
    runSharedDialog(preDefinitionsDialog, IDD_PREDEFINITIONS, mainWindow);
    // The Data view must be the active view again before anything is typed.
    SetFocus(mainWindow);
    const int number = numberAfterDialog;
    numberAfterDialog = 0;
    if (number != 0)
        typePreDefinition(number);
}

int preDefinitionNumberOf(int commandId)
{
    // The keys send the ids of the edit fields, which are not in order.
    constexpr int keyCommands[predefinitionCount] = {IDM_PREDEF1, IDM_PREDEF2, IDM_PREDEF3, IDM_PREDEF4,
                                                     IDM_PREDEF5, IDM_PREDEF6, IDM_PREDEF7, IDM_PREDEF8,
                                                     IDM_PREDEF9, IDM_PREDEF10};
    if (commandId == IDM_FILESELECTOR)
        return fileSelectorNumber;
    for (int i = 0; i < predefinitionCount; ++i)
        if (keyCommands[i] == commandId)
            return i + 1;
    return 0;
}
