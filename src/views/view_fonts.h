// The fonts of the two views, made from the logical fonts in the settings.
#pragma once

#include <windows.h>

extern HFONT dataViewHFont;
extern HFONT overviewHFont;
extern int dataViewLineHeight;
extern int dataViewTextWidth;
extern int overviewLineHeight;
extern int overviewTextWidth;

// The system font's logical font, for the settings' defaults.
void systemFontRecord(unsigned char* record60);

// Creates both fonts again from dataViewFont and overviewFont and, where the
// view exists, measures line height and text width on it.
void createViewFonts();

// The font dialog for one view (commands 40064 and 40065); whatever it
// returns, the font ends up normal weight, upright and not underlined.
void chooseViewFont(bool dataView);
