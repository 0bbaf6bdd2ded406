#include "files/new_file.h"

#include "files/config.h"
#include "host/host.h"
#include "host/title.h"
#include "store/store.h"
#include "views/type_ahead.h"
#include "views/view_state.h"

void makePathNoName()
{
    // "c:" and "C:" name the same drive; any other byte before the colon
    // names none, and a number above 31 would pass for a real path.
    const char first = currentFilePath[0];
    if (first >= 'a' && first <= 'z' && currentFilePath[1] == ':')
        currentFilePath[0] = static_cast<char>(first - 'a' + 1);
    else if (first >= 'A' && first <= 'Z' && currentFilePath[1] == ':')
        currentFilePath[0] = static_cast<char>(first - 'A' + 1);
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
