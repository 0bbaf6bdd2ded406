#include "files/new_file.h"

#include "files/config.h"
#include "host/host.h"
#include "host/title.h"
#include "store/store.h"
#include "views/type_ahead.h"
#include "views/view_state.h"

void makePathNoName()
{
    unsigned char first = static_cast<unsigned char>(currentFilePath[0]);
    if (first >= 'A' && currentFilePath[1] == ':')
        currentFilePath[0] = static_cast<char>(first - 64);
    else
        currentFilePath[0] = 0;
}

void resetStoreToNoName()
{
    makePathNoName();
    setTitleFromPath();
    resetViewState();
    resetToBlankEntry();
    endTypeAhead();
    host().makeViewActive(ViewId::DataView);
    setTitleMarker(' ');
    dataModified = false;
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}
