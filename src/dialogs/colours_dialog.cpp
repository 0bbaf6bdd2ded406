#include "dialogs/colours_dialog.h"

#include <commdlg.h>

#include <cstdint>

#include "dialogs/shared_dialog.h"
#include "files/config.h"
#include "host/ui_busy.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "views/data_view_window.h"

namespace {

enum class Repaints { DataView, Link, Overview };

struct Swatch {
    int control;
    uint32_t* colour;
    Repaints repaints;
};

const Swatch swatches[] = {
    {IDC_COLOUR_DATABACK,     &dataViewBackColour,     Repaints::DataView},
    {IDC_COLOUR_DATAHEADBACK, &dataViewHeadBackColour, Repaints::DataView},
    {IDC_COLOUR_DATATEXT,     &dataViewTextColour,     Repaints::DataView},
    {IDC_COLOUR_DATAHEADTEXT, &dataViewHeadTextColour, Repaints::DataView},
    {IDC_COLOUR_LINK,         &linkColour,             Repaints::Link},
    {IDC_COLOUR_OVERVIEWBACK, &overviewBackColour,     Repaints::Overview},
    {IDC_COLOUR_OVERVIEWTEXT, &overviewTextColour,     Repaints::Overview},
};
constexpr int swatchCount = sizeof swatches / sizeof swatches[0];

// The colours as the dialog found them, for Cancel.
uint32_t coloursAtOpening[swatchCount];
// The system colour dialog's sixteen custom colours, kept for the run.
COLORREF customColours[16];
CHOOSECOLORA colourChoice;

const Swatch* swatchFor(int control)
{
    for (const Swatch& swatch : swatches)
        if (swatch.control == control)
            return &swatch;
    return nullptr;
}

void repaintWindow(HWND window)
{
    if (window) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }
}

void repaintViewsFor(Repaints repaints)
{
    if (repaints == Repaints::Overview) {
        repaintWindow(overviewWindow);
        return;
    }
    repaintWindow(dataViewWindow);
    if (repaints == Repaints::Link)
        redrawLinkUnderline();
}

void onInitDialog(HWND dialog)
{
    for (int i = 0; i < swatchCount; ++i)
        coloursAtOpening[i] = *swatches[i].colour;
    colourChoice = {};
    colourChoice.lStructSize = sizeof colourChoice;
    colourChoice.hwndOwner = dialog;
    colourChoice.lpCustColors = customColours;
    colourChoice.Flags = CC_RGBINIT | CC_FULLOPEN;
    uiBusy = true;
}

// The whole swatch in its colour; a dotted frame inside while it has the
// keyboard, so that the keyboard user sees where Space goes.
void drawSwatch(const DRAWITEMSTRUCT* item)
{
    const Swatch* swatch = swatchFor(static_cast<int>(item->CtlID));
    if (!swatch)
        return;
    HBRUSH brush = CreateSolidBrush(*swatch->colour);
    FillRect(item->hDC, &item->rcItem, brush);
    DeleteObject(brush);
    if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT)) {
        RECT inside = item->rcItem;
        InflateRect(&inside, -2, -2);
        DrawFocusRect(item->hDC, &inside);
    }
}

// The system colour dialog for one swatch; whatever way it is closed, a
// result that differs from the setting becomes the setting.
void pickColour(HWND dialog, const Swatch& swatch)
{
    colourChoice.rgbResult = *swatch.colour;
    ChooseColorA(&colourChoice);
    if (colourChoice.rgbResult == *swatch.colour)
        return;
    *swatch.colour = colourChoice.rgbResult;
    repaintWindow(GetDlgItem(dialog, swatch.control));
    repaintViewsFor(swatch.repaints);
}

void cancelColours(HWND dialog)
{
    for (int i = 0; i < swatchCount; ++i)
        *swatches[i].colour = coloursAtOpening[i];
    repaintWindow(overviewWindow);
    repaintWindow(dataViewWindow);
    uiBusy = false;
    EndDialog(dialog, -1);
}

}  // namespace

INT_PTR CALLBACK coloursDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog);
        return TRUE;
    case WM_DRAWITEM:
        drawSwatch(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND: {
        const int control = LOWORD(wParam);
        if (control == IDC_COLOUR_OK) {
            uiBusy = false;
            EndDialog(dialog, 0);
        } else if (control == IDCANCEL) {
            cancelColours(dialog);
        } else if (const Swatch* swatch = swatchFor(control); swatch && HIWORD(wParam) == BN_CLICKED) {
            pickColour(dialog, *swatch);
        } else {
            return FALSE;
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void openColoursDialog()
{
    dialogIdentity = IDD_COLOURS_DE;
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_COLOURS), GetActiveWindow(), coloursDialogProc, 0);
    dialogIdentity = 0;
    SetFocus(mainWindow);
}
