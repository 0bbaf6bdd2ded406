#include "views/view_fonts.h"

#include <commdlg.h>

#include <cstring>

#include "files/config.h"
#include "shell/app.h"
#include "host/ui_busy.h"

static_assert(sizeof(LOGFONTA) == fontRecordSize, "the settings keep LOGFONTA records");

HFONT dataViewHFont;
HFONT overviewHFont;
int dataViewLineHeight;
int dataViewTextWidth;
int overviewLineHeight;
int overviewTextWidth;

namespace {

LOGFONTA toLogFont(const FontRecord& record)
{
    LOGFONTA font;
    std::memcpy(&font, record.bytes, sizeof font);
    return font;
}

HFONT remake(HFONT old, const FontRecord& record)
{
    if (old)
        DeleteObject(old);
    LOGFONTA font = toLogFont(record);
    return CreateFontIndirectA(&font);
}

void measure(HWND view, HFONT font, int& lineHeight, int& textWidth)
{
    HDC dc = GetDC(view);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(view, dc);
    lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    textWidth = 254 * metrics.tmMaxCharWidth;
}

void createAndMeasure(bool dataView)
{
    if (dataView) {
        dataViewHFont = remake(dataViewHFont, dataViewFont);
        if (dataViewWindow)
            measure(dataViewWindow, dataViewHFont, dataViewLineHeight, dataViewTextWidth);
    } else {
        overviewHFont = remake(overviewHFont, overviewFont);
        if (overviewWindow)
            measure(overviewWindow, overviewHFont, overviewLineHeight, overviewTextWidth);
    }
}

}  // namespace

void systemFontRecord(unsigned char* record60)
{
    LOGFONTA font{};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    std::memcpy(record60, &font, sizeof font);
}

void createViewFonts()
{
    createAndMeasure(true);
    createAndMeasure(false);
}

void chooseViewFont(bool dataView)
{
    UiBusyScope busy;
    FontRecord& record = dataView ? dataViewFont : overviewFont;
    LOGFONTA font = toLogFont(record);
    // The dialog works on a copy: it writes into its font record while it
    // runs (Wine does so at once), and only OK may keep what it wrote.
    LOGFONTA chosen = font;
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpLogFont = &chosen;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (ChooseFontA(&dialog))
        font = chosen;
    // Whatever the outcome, the views paint in normal weight, upright and
    // without underline.
    font.lfWeight = FW_NORMAL;
    font.lfItalic = 0;
    font.lfUnderline = 0;
    std::memcpy(record.bytes, &font, sizeof font);
    createAndMeasure(dataView);
    HWND view = dataView ? dataViewWindow : overviewWindow;
    if (view) {
        InvalidateRect(view, nullptr, FALSE);
        UpdateWindow(view);
    }
}
