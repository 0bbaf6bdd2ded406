#include "find/search.h"

char searchText[52];
int searchDirection = 3;
int searchFold = 1;

void searchNext()
{
    // FIXME: the search itself is not written yet; the settings above are
    // already filled by the dialog and the calendar link.
}
