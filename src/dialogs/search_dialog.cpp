#include "dialogs/search_dialog.h"

#include <cstring>

#include "dialogs/shared_dialog.h"
#include "find/replace.h"
#include "find/search.h"
#include "host/ui_busy.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "views/view_state.h"

namespace {

constexpr int directionButtons[4] = {IDC_FIND_UP, IDC_FIND_DOWN, IDC_FIND_UPWRAP, IDC_FIND_DOWNWRAP};
constexpr int directionBitmaps[4] = {IDB_SEARCH_UP, IDB_SEARCH_DOWN, IDB_SEARCH_UPWRAP, IDB_SEARCH_DOWNWRAP};
constexpr int textLimit = 50;

// Loaded once and kept for the whole run, like the other bitmaps.
HBITMAP directionBitmap(int k)
{
    static HBITMAP bitmaps[4];
    if (!bitmaps[k])
        bitmaps[k] = LoadBitmapA(appInstance, MAKEINTRESOURCEA(directionBitmaps[k]));
    return bitmaps[k];
}

void fillCommon(HWND dialog, const char* text, int direction, int fold)
{
    for (int k = 0; k < 4; ++k) {
        SendDlgItemMessageA(dialog, directionButtons[k], BM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(directionBitmap(k)));
        CheckDlgButton(dialog, directionButtons[k], k == direction ? BST_CHECKED : BST_UNCHECKED);
    }
    SendDlgItemMessageA(dialog, IDC_FIND_TEXT, EM_LIMITTEXT, textLimit, 0);
    SetDlgItemTextA(dialog, IDC_FIND_TEXT, text);
    CheckDlgButton(dialog, IDC_FIND_MATCHCASE, fold == 0 ? BST_CHECKED : BST_UNCHECKED);
}

// The first checked direction button, tested in order; the old direction
// when none is.
int checkedDirection(HWND dialog, int direction)
{
    for (int k = 0; k < 4; ++k)
        if (IsDlgButtonChecked(dialog, directionButtons[k]) == BST_CHECKED)
            return k;
    return direction;
}

void readText(HWND dialog, int control, char* target51)
{
    char text[textLimit + 2] = "";
    GetDlgItemTextA(dialog, control, text, textLimit + 1);
    std::strncpy(target51, text, textLimit);
    target51[textLimit] = 0;
}


// The active view chooses the scope: 0 the whole data, 1 the current entry.
void replaceInActiveView()
{
    if (activeView == ActiveView::Overview)
        replaceNext(0);
    else if (activeView == ActiveView::DataView)
        replaceNext(1);
}

}  // namespace

void fillSearchDialog(HWND dialog)
{
    fillCommon(dialog, searchText, searchDirection, searchFold);
    dialogIdentity = 0;
}

void acceptSearchDialog(HWND dialog)
{
    searchDirection = checkedDirection(dialog, searchDirection);
    searchFold = IsDlgButtonChecked(dialog, IDC_FIND_MATCHCASE) == BST_CHECKED ? 0 : 1;
    std::memset(searchText, 0, sizeof searchText);
    readText(dialog, IDC_FIND_TEXT, searchText);
    endSharedDialog(dialog, 0);
}

void fillReplaceDialog(HWND dialog)
{
    fillCommon(dialog, replaceSearchText, replaceDirection, replaceFold);
    SendDlgItemMessageA(dialog, IDC_FIND_REPLACEWITH, EM_LIMITTEXT, textLimit, 0);
    SetDlgItemTextA(dialog, IDC_FIND_REPLACEWITH, replaceText);
    CheckDlgButton(dialog, IDC_REPLACE_ALL, BST_UNCHECKED);
}

void acceptReplaceDialog(HWND dialog)
{
    replaceDirection = checkedDirection(dialog, replaceDirection);
    replaceFold = IsDlgButtonChecked(dialog, IDC_FIND_MATCHCASE) == BST_CHECKED ? 0 : 1;
    replaceAll = IsDlgButtonChecked(dialog, IDC_REPLACE_ALL) == BST_CHECKED;
    readText(dialog, IDC_FIND_TEXT, replaceSearchText);
    readText(dialog, IDC_FIND_REPLACEWITH, replaceText);
    endSharedDialog(dialog, 0);
}

namespace {
const SharedDialog searchDialog{IDD_SEARCH_DE, fillSearchDialog, {{IDC_FIND_OK, acceptSearchDialog}}};
const SharedDialog replaceDialog{IDD_REPLACE_DE, fillReplaceDialog, {{IDC_REPLACE_OK, acceptReplaceDialog}}};
}  // namespace

void openSearchDialog()
{
    if (runSharedDialog(searchDialog, IDD_SEARCH, mainWindow) == 0)
        searchNext();
}

void openReplaceDialog()
{
    if (runSharedDialog(replaceDialog, IDD_REPLACE, mainWindow) == 0)
        replaceInActiveView();
}

void repeatSearch()
{
    if (searchText[0] != 0)
        searchNext();
    else
        openSearchDialog();
}

void repeatReplace()
{
    if (replaceSearchText[0] != 0)
        replaceInActiveView();
    else
        openReplaceDialog();
}
