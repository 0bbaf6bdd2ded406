// Search settings shared by the search dialog, Repeat search and the
// calendar program's search requests.
#pragma once

extern char searchText[52];
extern int searchDirection;   // 0 up, 1 down, 2 up and around, 3 down and around
extern int searchFold;        // folding mode: 1 ignores case, 0 exact

// One search from the Data view caret with the current settings.
void searchNext();
