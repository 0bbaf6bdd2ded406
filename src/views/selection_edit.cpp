#include "views/selection_edit.h"

// FIXME: being written.
void deleteSelection(bool)
{
}

void deleteMarkedEntries()
{
}

void newEntry()
{
}

void selectAll()
{
}
