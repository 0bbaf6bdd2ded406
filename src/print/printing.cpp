#include "print/printing.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "dialogs/shared_dialog.h"
#include "files/config.h"
#include "host/host.h"
#include "host/ui_busy.h"
#include "print/print_layout.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "store/store.h"

PRINTDLGA printDialog;

namespace {

constexpr const char* documentName = "ORDANE-Lumo";
constexpr const char* printingStatus = "Printing ORDANE-Lumo-Data...";
constexpr COLORREF lightRuleColour = RGB(190, 190, 190);
constexpr COLORREF darkRuleColour = RGB(140, 140, 140);

// Everything one printout selects into the device, made together and
// deleted together.
class GdiPrintSurface final : public PrintSurface {
public:
    GdiPrintSurface(HDC dc, std::function<bool()> nextPage) : dc(dc), startNextPage(std::move(nextPage))
    {
        LOGFONTA font;
        std::memcpy(&font, dataViewFont.bytes, sizeof font);
        font.lfHeight = font.lfHeight * GetDeviceCaps(dc, LOGPIXELSY) / 100;
        font.lfWidth = 0;
        font.lfUnderline = FALSE;
        font.lfItalic = FALSE;
        font.lfWeight = weightNormal;
        normal = CreateFontIndirectA(&font);
        font.lfWeight = weightBold;
        bold = CreateFontIndirectA(&font);
        font.lfWeight = weightHeavy;
        heavy = CreateFontIndirectA(&font);
        font.lfWeight = weightNormal;
        font.lfItalic = TRUE;
        italic = CreateFontIndirectA(&font);
        lightPen = CreatePen(PS_SOLID, 1, lightRuleColour);
        darkPen = CreatePen(PS_SOLID, 1, darkRuleColour);
        whiteBrush = CreateSolidBrush(RGB(255, 255, 255));

        previousFont = SelectObject(dc, normal);
        previousPen = SelectObject(dc, lightPen);
        previousBrush = SelectObject(dc, whiteBrush);
        prepareDevice();
    }
    ~GdiPrintSurface() override
    {
        SelectObject(dc, GetStockObject(WHITE_PEN));
        SelectObject(dc, previousFont);
        SelectObject(dc, previousPen);
        SelectObject(dc, previousBrush);
        for (HGDIOBJ object : {static_cast<HGDIOBJ>(normal), static_cast<HGDIOBJ>(bold),
                               static_cast<HGDIOBJ>(heavy), static_cast<HGDIOBJ>(italic),
                               static_cast<HGDIOBJ>(lightPen), static_cast<HGDIOBJ>(darkPen),
                               static_cast<HGDIOBJ>(whiteBrush)})
            DeleteObject(object);
    }
    GdiPrintSurface(const GdiPrintSurface&) = delete;
    GdiPrintSurface& operator=(const GdiPrintSurface&) = delete;

    // H and W, measured at the normal weight.
    PrintMetrics metrics(int pageWidth, int pageHeight) const
    {
        HGDIOBJ was = SelectObject(dc, normal);
        TEXTMETRICA text{};
        GetTextMetricsA(dc, &text);
        int widest = 0;
        for (char digit = '0'; digit <= '9'; ++digit) {
            SIZE size{};
            GetTextExtentPoint32A(dc, &digit, 1, &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
        SelectObject(dc, was);
        return {text.tmHeight + text.tmExternalLeading, widest, pageWidth, pageHeight};
    }

    void text(int32_t x, int32_t y, const char* bytes, int32_t length, int weight, bool slanted) override
    {
        HFONT font = slanted ? italic : weight >= weightHeavy ? heavy : weight >= weightBold ? bold : normal;
        SelectObject(dc, font);
        if (length > 0)
            TextOutA(dc, x, y, bytes, length);
    }

    void rule(int32_t y, int32_t x0, int32_t x1, bool dark) override
    {
        SelectObject(dc, dark ? darkPen : lightPen);
        MoveToEx(dc, x0, y, nullptr);
        LineTo(dc, x1, y);
    }

    bool nextPage() override
    {
        if (!startNextPage())
            return false;
        // Some drivers reset the device's settings with every page.
        prepareDevice();
        return true;
    }

private:
    void prepareDevice()
    {
        SelectObject(dc, normal);
        SelectObject(dc, lightPen);
        SelectObject(dc, whiteBrush);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc, RGB(0, 0, 0));
        SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    }

    HDC dc;
    std::function<bool()> startNextPage;
    HFONT normal, bold, heavy, italic;
    HPEN lightPen, darkPen;
    HBRUSH whiteBrush;
    HGDIOBJ previousFont, previousPen, previousBrush;
};

void localFooter(char (&footer)[footerSize])
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    fillFooter(footer, now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute);
}

void restoreStatus()
{
    host().setStatusText(entryCountText);
}

}  // namespace

void setUpPrintDialog(HINSTANCE instance)
{
    std::memset(&printDialog, 0, sizeof printDialog);
    // 66 bytes in a 32-bit build; the system checks the size of its own build.
    printDialog.lStructSize = sizeof printDialog;
    printDialog.hDevMode = nullptr;
    printDialog.hDevNames = nullptr;
    printDialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    printDialog.nCopies = 1;
    printDialog.hInstance = instance;
}

void fillPrintSettings(HWND dialog)
{
    dialogIdentity = 0;
    SetDlgItemInt(dialog, IDC_PRINT_LEFTBORDER, printLeftBorder, FALSE);
    SetDlgItemInt(dialog, IDC_PRINT_TOPBORDER, printTopBorder, FALSE);
    SendDlgItemMessageA(dialog, IDC_PRINT_HEADLINE, EM_LIMITTEXT, headlineLimit, 0);
    SetDlgItemTextA(dialog, IDC_PRINT_HEADLINE, printHeadline);
}

void acceptPrintSettings(HWND dialog)
{
    BOOL read = FALSE;
    printLeftBorder = marginFromTyped(GetDlgItemInt(dialog, IDC_PRINT_LEFTBORDER, &read, FALSE));
    printTopBorder = marginFromTyped(GetDlgItemInt(dialog, IDC_PRINT_TOPBORDER, &read, FALSE));
    char headline[headlineLimit + 1] = "";
    GetDlgItemTextA(dialog, IDC_PRINT_HEADLINE, headline, sizeof headline);
    std::memcpy(printHeadline, headline, sizeof printHeadline);
    uiBusy = false;
    EndDialog(dialog, IDC_PRINT_OK);
}

int drawPrintout(HDC dc, const char* text, size_t length, int pageWidth, int pageHeight, const char* footer,
                 const std::function<bool()>& nextPage)
{
    GdiPrintSurface surface(dc, nextPage);
    const PrintMetrics metrics = surface.metrics(pageWidth, pageHeight);
    return layoutPrintout(text, length, metrics, printLeftBorder, printTopBorder, printHeadline, footer, surface);
}

namespace {
const SharedDialog printSettingsDialog{IDD_PRINT_DE, fillPrintSettings, {{IDC_PRINT_OK, acceptPrintSettings}}};
}  // namespace

int printEntries()
{
    char footer[footerSize];
    localFooter(footer);

    std::string text;
    try {
        text = printText();
    } catch (const std::bad_alloc&) {
        return -2;
    }

    uiBusy = true;
    printDialog.hwndOwner = mainWindow;
    const BOOL chosen = PrintDlgA(&printDialog);
    uiBusy = false;
    if (!chosen)
        return -1;
    HDC dc = printDialog.hDC;
    printDialog.hDC = nullptr;

    if (runSharedDialog(printSettingsDialog, IDD_PRINT_DE, GetActiveWindow()) != IDC_PRINT_OK) {
        DeleteDC(dc);
        restoreStatus();
        return -2;
    }

    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName;
    if (StartDocA(dc, &document) <= 0) {
        DeleteDC(dc);
        restoreStatus();
        return 0;
    }
    host().setStatusText(printingStatus);
    if (StartPage(dc) > 0) {
        const int width = GetDeviceCaps(dc, HORZRES);
        const int height = GetDeviceCaps(dc, VERTRES);
        drawPrintout(dc, text.data(), text.size(), width, height, footer,
                     [dc] { return EndPage(dc) > 0 && StartPage(dc) > 0; });
        EndPage(dc);
    }
    EndDoc(dc);
    DeleteDC(dc);
    restoreStatus();
    return 0;
}
