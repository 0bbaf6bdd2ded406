// Resource and command ids.  Plain #defines so the resource compiler and
// the portable core can both include this header.
#pragma once

// ---- Edit commands --------------------------------------------------------
#define IDM_COPY    40078
#define IDM_PASTE   40079
#define IDM_CUT     40080
#define IDM_UNDO    40089

// ---- Calendar buttons (toolbar, menu "Window", system menu) -------------
#define IDM_CALENDAR1     1216
#define IDM_CALENDAR2     1217
#define IDM_CALENDAR3     1218
#define IDM_CALENDAR4     1219
#define IDM_QUIT          1220
#define IDM_ANALOGCLOCK   40006
#define IDM_ALARMWINDOW   40041

// ---- Recent files --------------------------------------------------------
#define IDM_RECENT0       40101
