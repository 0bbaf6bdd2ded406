// Placing the two child windows and the main window.
#pragma once

#include "files/config.h"

struct ChildLayout {
    WindowRect overview;
    WindowRect dataView;
};

// Side by side (1): the Data view takes 70 % of the width on the right.
// One upon the other (2): the Data view takes the lower part.  Width and
// height are the main window's client size, toolbarHeight the band at the
// top.  Only arrangements 1 and 2 have a layout.
ChildLayout layoutChildren(int arrangement, int width, int height, int toolbarHeight);

// The stored main window rectangle when it is usable on a screen of the
// given size, else a centred window of 80 % of the screen.
WindowRect usableMainWindowRect(const WindowRect& stored, int screenWidth, int screenHeight);
