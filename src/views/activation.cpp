#include "views/activation.h"

#include "find/sort.h"
#include "shell/host.h"

void activateOverview()
{
    host().makeViewActive(ViewId::Overview);
    if (resortPending)
        sortEntries();
}

void activateDataView()
{
    host().makeViewActive(ViewId::DataView);
}
