#include "shell/shutdown.h"

#include <ole2.h>

#include "calendar/calendar_link.h"
#include "transfer/drag_drop.h"
#include "calendar/calendar_protocol.h"
#include "shell/app.h"
#include "shell/shutdown_store.h"
#include "shell/strips.h"

bool shutdown(bool canStay)
{
    if (!shutdownStore(canStay))
        return false;
    revokeDataViewDropTarget(dataViewWindow);
    OleUninitialize();
    sendToCalendar(goodbyeText);
    freeBitmaps();
    return true;
}
