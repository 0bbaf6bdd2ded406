// Resource and command ids.  Plain #defines so the resource compiler and
// the portable core can both include this header.
#pragma once

// ---- Edit commands --------------------------------------------------------
#define IDM_COPY    40078
#define IDM_PASTE   40079
#define IDM_CUT     40080
#define IDM_UNDO    40089
