#include "views/activation.h"

#include "find/sort.h"
#include "host/host.h"
#include "views/type_ahead.h"

void activateOverview()
{
    host().makeViewActive(ViewId::Overview);
    if (resortPending)
        sortEntries();
}

void activateDataView()
{
    if (typeAheadLength > 0)
        endTypeAhead();
    host().makeViewActive(ViewId::DataView);
}
