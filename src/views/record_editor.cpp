#include "views/record_editor.h"

bool cursorRightInternal = false;

// FIXME: being written.
int32_t editEntry(int32_t)
{
    return 0;
}
